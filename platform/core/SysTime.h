// Time sources and calendar arithmetic.
//
// GetTickCount is the one millisecond tick that every timed wait of the system reads. Tests replace its
// source to run 20 s or 300 s limits in milliseconds.
//
// Recorder times are seconds since 1970 holding the recorder's wall clock; they are broken down and
// built with UTC rules only (days-from-civil arithmetic), never through mktime and a zone offset.
#pragma once

#include "platform/core/Types.h"

#include <cstdint>
#include <string>

DWORD GetTickCount();
using TickSource = DWORD (*)();
// Installs a replacement tick source (nullptr restores the real one); returns the previous one.
TickSource SetTickSource(TickSource source);

BOOL QueryPerformanceCounter(std::int64_t* count);
BOOL QueryPerformanceFrequency(std::int64_t* frequency);

// A broken-down calendar time. Month 1..12, DayOfWeek 0 = Sunday, Milliseconds 0..999.
struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;
    WORD wDayOfWeek = 0;
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

// Seconds since 1970-01-01 00:00:00 UTC <-> broken-down UTC. Valid for years 1 to 9999.
SYSTEMTIME UnixToUtc(std::int64_t seconds);
std::int64_t UtcToUnix(int year, int month, int day, int hour, int minute, int second);
// The same as UtcToUnix, but fields outside their ranges are carried over (month 13 is January of the
// next year, day 0 the last day of the month before), as the C runtime's normalisation does.
std::int64_t UtcToUnixNormalized(long long year, long long month, long long day, long long hour,
                                 long long minute, long long second);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// 0 = Sunday.
int DayOfWeek(int year, int month, int day);

// The C runtime's asctime text of a UTC time: "Tue Jan 01 12:00:00 2008\n".
std::string AscTimeText(std::int64_t seconds);

// Local wall-clock time now (for clocks and log stamps), and the current Unix time.
SYSTEMTIME GetLocalTime();
std::int64_t UnixNow();

// The class library's date/time value: days since 1899-12-30, time of day as the fraction.
using TDateTime = double;
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int milliseconds);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& milliseconds);
TDateTime UnixToDateTime(std::int64_t seconds);
std::int64_t DateTimeToUnix(TDateTime value);
TDateTime Now();
