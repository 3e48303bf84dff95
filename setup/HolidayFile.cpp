#include "setup/HolidayFile.h"

#include "platform/core/Classes.h"
#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"

#include <cctype>

namespace {

// One or two decimal digits.
bool SmallNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 2) return false;
    value = 0;
    for (char ch : text) {
        if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
        value = value * 10 + (ch - '0');
    }
    return true;
}

} // namespace

std::string HolidayKey(int month, int day) {
    return Format("54_%d_%d", month, day);
}

bool ParseHolidayKey(const std::string& key, int& month, int& day) {
    if (key.rfind("54_", 0) != 0) return false;
    const std::size_t sep = key.find('_', 3);
    if (sep == std::string::npos) return false;
    return SmallNumber(key.substr(3, sep - 3), month) && SmallNumber(key.substr(sep + 1), day) &&
           month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

std::vector<std::pair<int, int>> HolidayMarks(const TStrings& sections, const TStrings& keys,
                                              const TStrings& values, int year, int month) {
    std::vector<std::pair<int, int>> marks;
    bool hasHoliday = false;
    for (int i = 0; i < sections.Count() && !hasHoliday; ++i)
        hasHoliday = sections.Strings(i) == "holiday";
    if (!hasHoliday) return marks;
    for (int i = 0; i < keys.Count() && i < values.Count(); ++i) {
        int m = 0;
        int d = 0;
        if (!ParseHolidayKey(keys.Strings(i), m, d) || m != month || d > DaysInMonth(year, month)) continue;
        const std::string line = values.Strings(i);
        const std::size_t eq = line.find('=');
        int state = 0;
        if (eq == std::string::npos || !TryStrToInt(std::string_view(line).substr(eq + 1), state)) continue;
        marks.emplace_back(d, state);
    }
    return marks;
}
