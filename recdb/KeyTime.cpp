#include "recdb/KeyTime.h"

#include <ctime>

namespace {

bool Digits(const std::string& text, std::size_t from, std::size_t count, int& value) {
    value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

} // namespace

std::optional<std::int64_t> KeyToUtcSeconds(const std::string& key) {
    if (key.size() != 8 && key.size() != 10 && key.size() != 12) return std::nullopt;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    if (!Digits(key, 0, 4, year) || !Digits(key, 4, 2, month) || !Digits(key, 6, 2, day)) return std::nullopt;
    if (key.size() >= 10 && !Digits(key, 8, 2, hour)) return std::nullopt;
    if (key.size() == 12 && !Digits(key, 10, 2, minute)) return std::nullopt;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || hour > 23 || minute > 59) return std::nullopt;
    const int days = kDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
    if (day < 1 || day > days) return std::nullopt;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    // UTC directly: local time minus the zone offset is wrong where a zone's offset changed over time.
    return static_cast<std::int64_t>(::timegm(&tm));
}

UtcFields BreakDownUtc(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!::gmtime_r(&t, &tm)) return UtcFields{1970, 1, 1, 0, 0, 0};
    return UtcFields{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}
