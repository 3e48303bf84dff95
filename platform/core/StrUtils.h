// Text helpers of the class library: formatting, conversions, trimming and comparisons.
// Formatting always uses the C locale, whatever the user's locale: "%.6f" never prints a comma.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);

std::string IntToStr(std::int64_t value);
std::string IntToHex(std::uint64_t value, int digits);
std::string FloatToStr(double value);

// Strict conversions: optional blanks before, optional sign, decimal or hex ("$1F", "0x1F"), nothing
// after. Anything else, or a value out of range, raises EConvertError.
int StrToInt(std::string_view text);
std::int64_t StrToInt64(std::string_view text);
int StrToIntDef(std::string_view text, int fallback);
bool TryStrToInt(std::string_view text, int& value);
double StrToFloat(std::string_view text);

// C-runtime style: leading blanks and sign, then as many decimal digits as there are; 0 when none.
// Saturates instead of overflowing.
int StrToIntLenient(std::string_view text);
long long StrToInt64Lenient(std::string_view text);

std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);

// ASCII case-insensitive comparisons, as the class library's text comparisons.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
int CompareStr(std::string_view a, std::string_view b);

bool StartsText(std::string_view prefix, std::string_view text);
bool EndsText(std::string_view suffix, std::string_view text);

// Copies at most size - 1 bytes of text into a fixed buffer and always terminates it.
void StrLCopy(char* dest, std::string_view text, std::size_t size);
