// Every SQL text the client sends to a recorder database, built from checked numbers only. Modes other
// than ALL and EVENT give the empty text, which runs and yields no rows.
#pragma once

#include <cstdint>
#include <string>

namespace QelDbSql {

// Search start.
std::string NewestYear();                               // MAX(year)
std::string NewestMonth(int mode);                      // year, month of the newest month
std::string DaysOfMonth(int mode, int year, int month); // day, event_type
std::string FileCount(int mode);                        // count(seq) of complete files
std::string NewestFiles(int mode, int offset = 0);      // eight files, newest first

// Log list of loglist.db.
std::string LogList();

// Disk lookups and file chaining. A channel index outside 0..4 counts as 4 (all channels).
std::string ChannelCountFilter(int channelIndex);
std::string ChannelEventFilter(int channelIndex);
std::string FileNameOfSeq(std::int64_t seq);
// max(seq) before (next = false) or min(seq) after `current`, among files with the channel.
std::string AdjacentFile(bool next, int mode, std::int64_t current, int channelIndex);

// Calendar, hour table and minute table.
std::string StepMonth(bool next, int mode, int shownYyyymm);
std::string DayHours(int mode, int year, int month, int day); // from table H_yyyymmdd
std::string HourMinutes(int mode, int year, int month, int day, int hour);
std::string PlayFromMinute(int mode, std::int64_t keyTime);

// Backup; type 0 ALL, 1 EVENT.
std::string BackupRange(int type, std::uint32_t start, std::uint32_t end);
std::string BackupList(int type, std::int64_t minSeq, std::int64_t maxSeq);
std::string BackupFirst(int type, std::uint32_t start, std::uint32_t end);
// Playback five seconds back: the first file covering (t, e).
std::string FiveSecondsBack(int mode, std::int64_t t, std::int64_t e);

} // namespace QelDbSql
