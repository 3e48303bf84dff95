#include "platform/core/StrUtils.h"

#include "platform/core/Exceptions.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <locale.h>
#include <vector>

namespace {

locale_t CLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// Switches the calling thread to the C locale for the lifetime of the guard.
class CLocaleGuard {
public:
    CLocaleGuard() : previous_(uselocale(CLocale())) {}
    ~CLocaleGuard() { uselocale(previous_); }
    CLocaleGuard(const CLocaleGuard&) = delete;
    CLocaleGuard& operator=(const CLocaleGuard&) = delete;

private:
    locale_t previous_;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

[[noreturn]] void ThrowNotInteger(std::string_view text) {
    throw EConvertError(
        Format("'%.*s' is not a valid integer value", static_cast<int>(text.size()), text.data()));
}

// Parses the strict integer grammar into a value bounded by [minimum, maximum].
bool ParseStrict(std::string_view text, std::int64_t minimum, std::int64_t maximum, std::int64_t& out) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return false;
    // Accumulate as a negative magnitude so that the minimum of the type is reachable.
    const std::uint64_t limit =
        negative ? static_cast<std::uint64_t>(-(minimum + 1)) + 1 : static_cast<std::uint64_t>(maximum);
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        if (magnitude > (limit - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(base))
            return false;
        magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    if (negative)
        out = magnitude == 0 ? 0 : -static_cast<std::int64_t>(magnitude - 1) - 1;
    else
        out = static_cast<std::int64_t>(magnitude);
    return true;
}

long long ParseLenient(std::string_view text, long long minimum, long long maximum) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (negative) {
            if (value < (minimum + digit) / 10) return minimum;
            value = value * 10 - digit;
        } else {
            if (value > (maximum - digit) / 10) return maximum;
            value = value * 10 + digit;
        }
    }
    return value;
}

} // namespace

std::string FormatV(const char* format, va_list args) {
    CLocaleGuard guard;
    va_list copy;
    va_copy(copy, args);
    char small[256];
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0)
        throw EConvertError(std::string("Format '") + format + "' invalid or incompatible with argument");
    if (static_cast<std::size_t>(needed) < sizeof small)
        return std::string(small, static_cast<std::size_t>(needed));
    std::vector<char> big(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(big.data(), big.size(), format, args);
    return std::string(big.data(), static_cast<std::size_t>(needed));
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return text;
}

std::string IntToStr(std::int64_t value) {
    return std::to_string(value);
}

std::string IntToHex(std::uint64_t value, int digits) {
    return Format("%0*llX", digits < 0 ? 0 : digits, static_cast<unsigned long long>(value));
}

std::string FloatToStr(double value) {
    // The class library's general format: up to 15 significant digits, no trailing zeros.
    std::string text = Format("%.15G", value);
    return text;
}

int StrToInt(std::string_view text) {
    std::int64_t value = 0;
    if (!ParseStrict(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), value))
        ThrowNotInteger(text);
    return static_cast<int>(value);
}

std::int64_t StrToInt64(std::string_view text) {
    std::int64_t value = 0;
    if (!ParseStrict(text, std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(),
                     value))
        ThrowNotInteger(text);
    return value;
}

bool TryStrToInt(std::string_view text, int& value) {
    std::int64_t parsed = 0;
    if (!ParseStrict(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), parsed))
        return false;
    value = static_cast<int>(parsed);
    return true;
}

int StrToIntDef(std::string_view text, int fallback) {
    int value = 0;
    return TryStrToInt(text, value) ? value : fallback;
}

double StrToFloat(std::string_view text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty())
        throw EConvertError(
            Format("'%.*s' is not a valid floating point value", static_cast<int>(text.size()), text.data()));
    CLocaleGuard guard;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size() || errno == ERANGE || !std::isfinite(value))
        throw EConvertError(
            Format("'%.*s' is not a valid floating point value", static_cast<int>(text.size()), text.data()));
    return value;
}

int StrToIntLenient(std::string_view text) {
    return static_cast<int>(
        ParseLenient(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

long long StrToInt64Lenient(std::string_view text) {
    return ParseLenient(text, std::numeric_limits<long long>::min(), std::numeric_limits<long long>::max());
}

std::string TrimLeft(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    return std::string(text.substr(i));
}

std::string TrimRight(std::string_view text) {
    std::size_t n = text.size();
    while (n > 0 && static_cast<unsigned char>(text[n - 1]) <= ' ')
        --n;
    return std::string(text.substr(0, n));
}

std::string Trim(std::string_view text) {
    return TrimLeft(TrimRight(text));
}

std::string UpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = AsciiUpper(c);
    return out;
}

std::string LowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

int CompareText(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = static_cast<unsigned char>(AsciiUpper(a[i]));
        const int cb = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (ca != cb) return ca - cb;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    // Names mostly differ in their case or not at all: equal bytes need no folding.
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    return true;
}

int CompareStr(std::string_view a, std::string_view b) {
    const int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

bool StartsText(std::string_view prefix, std::string_view text) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool EndsText(std::string_view suffix, std::string_view text) {
    return text.size() >= suffix.size() && SameText(text.substr(text.size() - suffix.size()), suffix);
}

void StrLCopy(char* dest, std::string_view text, std::size_t size) {
    if (size == 0) return;
    const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(dest, text.data(), n);
    dest[n] = '\0';
}
