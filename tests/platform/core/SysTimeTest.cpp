#include "platform/core/Exceptions.h"
#include "platform/core/SysTime.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

struct UtcCase {
    std::int64_t seconds;
    int year, month, day, hour, minute, second, weekday;
    const char* asctime;
};

// Dates where arithmetic with mktime and a zone offset goes wrong: leap days, century years, the
// ends of years and of the 32-bit range.
const UtcCase kUtcCases[] = {
    {0, 1970, 1, 1, 0, 0, 0, 4, "Thu Jan 01 00:00:00 1970\n"},
    {1199188800, 2008, 1, 1, 12, 0, 0, 2, "Tue Jan 01 12:00:00 2008\n"},
    {951782400, 2000, 2, 29, 0, 0, 0, 2, "Tue Feb 29 00:00:00 2000\n"},
    {4107542399, 2100, 2, 28, 23, 59, 59, 0, "Sun Feb 28 23:59:59 2100\n"},
    {4107542400, 2100, 3, 1, 0, 0, 0, 1, "Mon Mar 01 00:00:00 2100\n"},
    {2147483647, 2038, 1, 19, 3, 14, 7, 2, "Tue Jan 19 03:14:07 2038\n"},
    {4294967295, 2106, 2, 7, 6, 28, 15, 0, "Sun Feb 07 06:28:15 2106\n"},
    {1206838800, 2008, 3, 30, 1, 0, 0, 0, "Sun Mar 30 01:00:00 2008\n"},
    {1225587600, 2008, 11, 2, 1, 0, 0, 0, "Sun Nov 02 01:00:00 2008\n"},
    {1230767999, 2008, 12, 31, 23, 59, 59, 3, "Wed Dec 31 23:59:59 2008\n"},
    {-1, 1969, 12, 31, 23, 59, 59, 3, "Wed Dec 31 23:59:59 1969\n"},
};

TEST(Utc, BreakdownBuildAndAscTime) {
    for (const auto& c : kUtcCases) {
        SCOPED_TRACE(c.seconds);
        const SYSTEMTIME t = UnixToUtc(c.seconds);
        EXPECT_EQ(t.wYear, c.year);
        EXPECT_EQ(t.wMonth, c.month);
        EXPECT_EQ(t.wDay, c.day);
        EXPECT_EQ(t.wHour, c.hour);
        EXPECT_EQ(t.wMinute, c.minute);
        EXPECT_EQ(t.wSecond, c.second);
        EXPECT_EQ(t.wDayOfWeek, c.weekday);
        EXPECT_EQ(UtcToUnix(c.year, c.month, c.day, c.hour, c.minute, c.second), c.seconds);
        EXPECT_EQ(AscTimeText(c.seconds), c.asctime);
        EXPECT_EQ(DayOfWeek(c.year, c.month, c.day), c.weekday);
    }
}

TEST(Utc, AgreesWithTimegmOverManyDays) {
    for (std::int64_t s = -86400LL * 400; s < 86400LL * 365 * 140; s += 86400 * 7 + 3601) {
        const SYSTEMTIME t = UnixToUtc(s);
        std::tm tm{};
        const time_t tt = static_cast<time_t>(s);
        gmtime_r(&tt, &tm);
        ASSERT_EQ(t.wYear, tm.tm_year + 1900) << s;
        ASSERT_EQ(t.wMonth, tm.tm_mon + 1) << s;
        ASSERT_EQ(t.wDay, tm.tm_mday) << s;
        ASSERT_EQ(t.wHour, tm.tm_hour) << s;
        ASSERT_EQ(t.wDayOfWeek, tm.tm_wday) << s;
        ASSERT_EQ(UtcToUnix(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond), s);
    }
}

TEST(Utc, NormalizationCarriesFields) {
    EXPECT_EQ(UtcToUnixNormalized(2007, 13, 1, 0, 0, 0), UtcToUnix(2008, 1, 1, 0, 0, 0));
    EXPECT_EQ(UtcToUnixNormalized(2008, 3, 0, 0, 0, 0), UtcToUnix(2008, 2, 29, 0, 0, 0));
    EXPECT_EQ(UtcToUnixNormalized(2008, 0, 1, 0, 0, 0), UtcToUnix(2007, 12, 1, 0, 0, 0));
    EXPECT_EQ(UtcToUnixNormalized(2008, 1, 1, 25, 61, 0), UtcToUnix(2008, 1, 2, 2, 1, 0));
}

TEST(Calendar, MonthLengths) {
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2008, 2), 29);
    EXPECT_EQ(DaysInMonth(2007, 12), 31);
    EXPECT_EQ(DaysInMonth(2007, 13), 0);
}

TEST(DateTime, RoundTrips) {
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(UnixToDateTime(0), 25569.0);
    EXPECT_EQ(DateTimeToUnix(UnixToDateTime(1199188800)), 1199188800);
    int y, m, d, h, mi, s, ms;
    DecodeDate(EncodeDate(2008, 2, 29) + EncodeTime(13, 45, 30, 250), y, m, d);
    DecodeTime(EncodeDate(2008, 2, 29) + EncodeTime(13, 45, 30, 250), h, mi, s, ms);
    EXPECT_EQ((std::vector<int>{y, m, d, h, mi, s, ms}), (std::vector<int>{2008, 2, 29, 13, 45, 30, 250}));
    EXPECT_THROW(EncodeDate(2007, 2, 29), Exception);
}

TEST(TickCount, HookReplacesTheSourceAndRestores) {
    const DWORD real = GetTickCount();
    {
        testing_support::FakeTick fake(5000, 0);
        EXPECT_EQ(GetTickCount(), 5000u);
        fake.Advance(300000);
        EXPECT_EQ(GetTickCount(), 305000u);
        fake.SetStep(100);
        EXPECT_EQ(GetTickCount(), 305000u);
        EXPECT_EQ(GetTickCount(), 305100u);
    }
    const DWORD after = GetTickCount();
    EXPECT_LT(static_cast<DWORD>(after - real), 60000u);
}

TEST(TickCount, UnsignedDifferencesSurviveTheWrap) {
    testing_support::FakeTick fake(0xFFFFFF00u, 0);
    const DWORD start = GetTickCount();
    fake.Advance(0x200);
    EXPECT_EQ(static_cast<DWORD>(GetTickCount() - start), 0x200u);
}

TEST(PerformanceCounter, Advances) {
    std::int64_t a = 0, b = 0, f = 0;
    ASSERT_TRUE(QueryPerformanceFrequency(&f));
    ASSERT_TRUE(QueryPerformanceCounter(&a));
    ASSERT_TRUE(QueryPerformanceCounter(&b));
    EXPECT_GT(f, 0);
    EXPECT_GE(b, a);
}

} // namespace
