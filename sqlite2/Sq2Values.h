// How SQLite 2 sees a stored text as a number: the number test, the leading-number conversion of its
// arithmetic, and the texts it prints for computed numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sqlite2 {

// Optional sign, digits, optionally '.' and digits, optionally e/E, sign and digits; nothing else.
bool LooksLikeNumber(std::string_view text);
// The longest leading number of the text (no blanks skipped); 0 when there is none.
double LeadingNumber(std::string_view text);
// "%.15g", with negative zero printed as 0.
std::string FormatReal(double value);
// The text is exactly what the integer prints as (no sign '+', no leading zeros) and fits 64 bits.
bool CanonicalInteger(std::string_view text, std::int64_t& value);
// The text passes the number test and FormatReal gives it back unchanged.
bool CanonicalReal(std::string_view text, double& value);
// The number a text that passes the number test stands for.
double NumberValue(std::string_view text);

} // namespace sqlite2
