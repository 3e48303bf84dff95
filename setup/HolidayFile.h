// holiday.ini: section "holiday", one key "54_<month>_<day>" per marked day, its value the day's mark
// (1 when the editor sets it); a day without a key is no holiday.
#pragma once

#include <string>
#include <utility>
#include <vector>

class TStrings;

std::string HolidayKey(int month, int day);

// Month and day of a key as the recorder writes them: "54_" then one or two month digits, "_", one or
// two day digits. False for anything else.
bool ParseHolidayKey(const std::string& key, int& month, int& day);

// The marks of one month from the lists read from holiday.ini (section names, key names, "key=value"
// lines): (day, state) for each key of section "holiday" in that month, in key order. Days the month does
// not have and values that are not numbers are left out.
std::vector<std::pair<int, int>> HolidayMarks(const TStrings& sections, const TStrings& keys,
                                              const TStrings& values, int year, int month);
