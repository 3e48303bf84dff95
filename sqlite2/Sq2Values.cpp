#include "sqlite2/Sq2Values.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace sqlite2 {

namespace {

bool Digit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the number at the start of `text` by the number-test grammar; 0 when none.
std::size_t NumberPrefix(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t digits = i;
    while (i < n && Digit(text[i]))
        ++i;
    if (i == digits) return 0;
    if (i + 1 < n && text[i] == '.' && Digit(text[i + 1])) {
        i += 2;
        while (i < n && Digit(text[i]))
            ++i;
    }
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < n && Digit(text[j])) {
            while (j < n && Digit(text[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

double ParseDouble(std::string_view text) {
    const std::string copy(text);
    return std::strtod(copy.c_str(), nullptr);
}

} // namespace

bool LooksLikeNumber(std::string_view text) {
    const std::size_t len = NumberPrefix(text);
    return len != 0 && len == text.size();
}

double NumberValue(std::string_view text) {
    return ParseDouble(text);
}

double LeadingNumber(std::string_view text) {
    // A leading '.5' counts too, as the C library reads it.
    std::size_t len = NumberPrefix(text);
    if (len == 0) {
        std::size_t i = 0;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (i + 1 < text.size() && text[i] == '.' && Digit(text[i + 1])) {
            const std::string rest = "0" + std::string(text.substr(i));
            const double v = ParseDouble(rest.substr(0, NumberPrefix(rest)));
            return text[0] == '-' ? -v : v;
        }
        return 0.0;
    }
    return ParseDouble(text.substr(0, len));
}

std::string FormatReal(double value) {
    if (value == 0.0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}

bool CanonicalInteger(std::string_view text, std::int64_t& value) {
    const std::size_t n = text.size();
    if (n == 0 || n > 20) return false;
    const bool negative = text[0] == '-';
    std::size_t i = negative ? 1 : 0;
    if (i == n || (text[i] == '0' && (n > i + 1 || negative))) return false;
    if (n - i <= 18) {
        std::int64_t v = 0;
        for (; i < n; ++i) {
            const unsigned d = static_cast<unsigned>(text[i] - '0');
            if (d > 9) return false;
            v = v * 10 + d;
        }
        value = negative ? -v : v;
        return true;
    }
    unsigned long long v = 0;
    for (; i < n; ++i) {
        const unsigned d = static_cast<unsigned>(text[i] - '0');
        if (d > 9 || v > (18446744073709551615ull - d) / 10) return false;
        v = v * 10 + d;
    }
    if (negative) {
        if (v > 9223372036854775808ull) return false;
        value = static_cast<std::int64_t>(0 - v);
    } else {
        if (v > 9223372036854775807ull) return false;
        value = static_cast<std::int64_t>(v);
    }
    return true;
}

bool CanonicalReal(std::string_view text, double& value) {
    if (!LooksLikeNumber(text)) return false;
    value = ParseDouble(text);
    return FormatReal(value) == text;
}

} // namespace sqlite2
