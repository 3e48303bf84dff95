#include "formats/QelNames.h"

#include "platform/core/StrUtils.h"
#include "platform/core/SysTime.h"

std::string QelHourFolderName(DWORD time) {
    const SYSTEMTIME t = UnixToUtc(time);
    return Format("%d%02d%02d%02d", t.wYear, t.wMonth, t.wDay, t.wHour);
}

std::string QelRecordingName(DWORD time) {
    const SYSTEMTIME t = UnixToUtc(time);
    return Format("%d%02d%02d%02d%02d%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

std::string QelRecordingPath(const std::string& folder, DWORD time) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path += '/';
    return path + QelHourFolderName(time) + "/" + QelRecordingName(time);
}

bool TryParseQelRecordingName(std::string_view name, DWORD& time) {
    if (name.size() != 14) return false;
    for (char c : name)
        if (c < '0' || c > '9') return false;
    auto num = [&](std::size_t pos, std::size_t len) {
        int v = 0;
        for (std::size_t i = pos; i < pos + len; ++i)
            v = v * 10 + (name[i] - '0');
        return v;
    };
    const int year = num(0, 4), month = num(4, 2), day = num(6, 2);
    const int hour = num(8, 2), minute = num(10, 2), second = num(12, 2);
    if (year < 1970 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
        minute > 59 || second > 59)
        return false;
    const std::int64_t t = UtcToUnix(year, month, day, hour, minute, second);
    if (t < 0 || t > 0xFFFFFFFFLL) return false;
    time = static_cast<DWORD>(t);
    return true;
}
