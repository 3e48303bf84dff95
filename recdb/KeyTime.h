// Date keys of the search windows (yyyymmdd, yyyymmddhh, yyyymmddhhmi) and the recorder's time scale:
// seconds since 1970 of the key read as UTC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The key's time as UTC seconds; an hour or minute left out counts as 00. Empty when the key is not
// 8, 10 or 12 digits or names no valid date and time.
std::optional<std::int64_t> KeyToUtcSeconds(const std::string& key);

// Breaks recorder seconds down as UTC and formats them (strftime-free, printf-style fields: year,
// month, day, hour, minute, second).
struct UtcFields {
    int year, month, day, hour, minute, second;
};
UtcFields BreakDownUtc(std::int64_t seconds);
