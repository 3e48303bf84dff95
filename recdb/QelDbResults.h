// What the search windows take from the rows of their queries, without any window: day marks, hour and
// minute cells, file-table captions, log lines, play and backup starts. Values are read by column name.
#pragma once

#include "recdb/QelDbTypes.h"
#include "recdb/SqliteDb.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The value of a column, "" when the row has no such column.
const std::string& FieldOf(const sqlite_fields& row, const std::string& name);

// Newest-year query: true when its last value is not empty (MAX over no rows is NULL).
bool HasRecordings(const sqlite_result& rows);

struct YearMonth {
    int year = 0;
    int month = 0;
};
// Newest month and month stepping: the last row's year and month; empty when there is no row, a value is
// empty or the month is outside 1..12.
std::optional<YearMonth> MonthOf(const sqlite_result& rows);

// Days of a month: per day the highest state of all its rows (2 when event_type is not 0, else 1), so that
// a later plain row never hides an event day. Days outside 1..daysInMonth are left out.
std::map<int, DayMarkState> DayMarks(const sqlite_result& rows, int daysInMonth);

struct CellMark {
    int channel = 0; // 0..3
    int index = 0;   // hour 0..23
    DayMarkState state = dmsNone;
};
// Hours of a day, in delivery order (a later row for the same hour overwrites). State per channel: 2 with
// an event, 1 without, 0 when the channel's count is 0. searchChannel -1 gives all four channels, 1..4
// only that one. Hours outside 0..23 are left out.
std::vector<CellMark> HourMarks(const sqlite_result& rows, int searchChannel);

struct MinuteRange {
    int channel = 0;
    int first = 0; // minutes 0..59, first <= last
    int last = 0;
    DayMarkState state = dmsNone;
};
// Minute groups of an hour (hourKey yyyymmddhh). A group whose last file ends after the hour runs to
// minute 59. Groups whose minutes cannot be read are left out.
std::vector<MinuteRange> MinuteRanges(const sqlite_result& rows, const std::string& hourKey,
                                      int searchChannel);

struct FileTableRow {
    std::string caption;
    int seq = 0;
};
// Newest files of a CF or SD card: "! " or two blanks, update time, start time, last six characters of the
// system id.
std::vector<FileTableRow> FileTableRows(const sqlite_result& rows);

// Log list lines; an update_time that is NULL or not a number shows as time 0.
std::vector<std::string> LogLines(const sqlite_result& rows);

struct PlayStart {
    std::string fileName;   // empty for the backup's first-recording query, which has none
    std::int64_t start = 0; // the later of the asked time and the file's start
    std::int64_t seq = 0;
};
// The first row of a play or backup start query; empty when there is no row or its numbers are not
// integers.
std::optional<PlayStart> PlayStartOf(const sqlite_result& rows);

struct SeqRange {
    std::int64_t min = 0; // NULL reads as 0
    std::int64_t max = 0;
};
SeqRange SeqRangeOf(const sqlite_result& rows);

struct BackupSpanNode {
    std::uint32_t start_time = 0;
    std::uint32_t end_time = 0;
    std::uint32_t seq = 0;
};
// One node per row in delivery order (the all-zero terminating node is the caller's).
std::vector<BackupSpanNode> BackupSpan(const sqlite_result& rows);
