#include "platform/core/SysTime.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"

#include <atomic>
#include <cmath>
#include <ctime>

namespace {

std::atomic<TickSource> gTickSource{nullptr};

DWORD RealTickCount() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const std::uint64_t ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<DWORD>(ms);
}

// Howard Hinnant's days-from-civil and its inverse: exact for the proleptic Gregorian calendar.
long long DaysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, long long& y, long long& m, long long& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = yoe + era * 400;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y += m <= 2;
}

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

constexpr double kUnixEpochAsDateTime = 25569.0; // 1970-01-01 in days since 1899-12-30

} // namespace

DWORD GetTickCount() {
    const TickSource source = gTickSource.load();
    return source != nullptr ? source() : RealTickCount();
}

TickSource SetTickSource(TickSource source) { return gTickSource.exchange(source); }

BOOL QueryPerformanceCounter(std::int64_t* count) {
    if (count == nullptr)
        return FALSE;
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    *count = static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
    return TRUE;
}

BOOL QueryPerformanceFrequency(std::int64_t* frequency) {
    if (frequency == nullptr)
        return FALSE;
    *frequency = 1000000000;
    return TRUE;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

int DayOfWeek(int year, int month, int day) {
    const long long days = DaysFromCivil(year, month, day);
    return static_cast<int>(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday (4)
}

SYSTEMTIME UnixToUtc(std::int64_t seconds) {
    const long long days = FloorDiv(seconds, 86400);
    const long long rest = seconds - days * 86400;
    long long y, m, d;
    CivilFromDays(days, y, m, d);
    SYSTEMTIME t;
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(m);
    t.wDay = static_cast<WORD>(d);
    t.wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7);
    t.wHour = static_cast<WORD>(rest / 3600);
    t.wMinute = static_cast<WORD>(rest % 3600 / 60);
    t.wSecond = static_cast<WORD>(rest % 60);
    return t;
}

std::int64_t UtcToUnix(int year, int month, int day, int hour, int minute, int second) {
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600LL + minute * 60LL + second;
}

std::int64_t UtcToUnixNormalized(long long year, long long month, long long day, long long hour,
                                 long long minute, long long second) {
    // Carry whole months into the year first; the remaining fields add up as plain seconds.
    const long long m0 = month - 1;
    year += FloorDiv(m0, 12);
    month = m0 - FloorDiv(m0, 12) * 12 + 1;
    return DaysFromCivil(year, month, 1) * 86400 + (day - 1) * 86400 + hour * 3600 + minute * 60 + second;
}

std::string AscTimeText(std::int64_t seconds) {
    static const char* const days[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const SYSTEMTIME t = UnixToUtc(seconds);
    return Format("%s %s %02d %02d:%02d:%02d %4d\n", days[t.wDayOfWeek], months[t.wMonth - 1], t.wDay, t.wHour,
                  t.wMinute, t.wSecond, t.wYear);
}

SYSTEMTIME GetLocalTime() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    const time_t now = ts.tv_sec;
    localtime_r(&now, &local);
    SYSTEMTIME t;
    t.wYear = static_cast<WORD>(local.tm_year + 1900);
    t.wMonth = static_cast<WORD>(local.tm_mon + 1);
    t.wDay = static_cast<WORD>(local.tm_mday);
    t.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    t.wHour = static_cast<WORD>(local.tm_hour);
    t.wMinute = static_cast<WORD>(local.tm_min);
    t.wSecond = static_cast<WORD>(local.tm_sec);
    t.wMilliseconds = static_cast<WORD>(ts.tv_nsec / 1000000);
    return t;
}

std::int64_t UnixNow() { return static_cast<std::int64_t>(std::time(nullptr)); }

TDateTime EncodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        throw EConvertError("Invalid argument to date encode");
    return static_cast<double>(DaysFromCivil(year, month, day)) + kUnixEpochAsDateTime;
}

TDateTime EncodeTime(int hour, int minute, int second, int milliseconds) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || milliseconds < 0 ||
        milliseconds > 999)
        throw EConvertError("Invalid argument to time encode");
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + milliseconds) / 86400000.0;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    long long y, m, d;
    CivilFromDays(static_cast<long long>(std::floor(value)) - static_cast<long long>(kUnixEpochAsDateTime), y, m, d);
    year = static_cast<int>(y);
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& milliseconds) {
    const double fraction = std::fabs(value - std::trunc(value));
    long long ms = std::llround(fraction * 86400000.0);
    if (ms >= 86400000)
        ms = 86399999;
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    milliseconds = static_cast<int>(ms % 1000);
}

TDateTime UnixToDateTime(std::int64_t seconds) {
    return static_cast<double>(seconds) / 86400.0 + kUnixEpochAsDateTime;
}

std::int64_t DateTimeToUnix(TDateTime value) {
    return std::llround((value - kUnixEpochAsDateTime) * 86400.0);
}

TDateTime Now() {
    const SYSTEMTIME t = GetLocalTime();
    return EncodeDate(t.wYear, t.wMonth, t.wDay) + EncodeTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}
