// The CREATE TABLE texts of the recorder's databases (qeldbfile_*.db, the disk's pyrdb, loglist.db),
// with the declared types the client's queries need: numbers in numeric-typed columns, so that
// `(month ==05)` and `seq <= 119` compare as numbers.
#pragma once

#include <string>

namespace sqlite2::recorder_schema {

// daylist (year, month, day, event_type): one or more rows per recorded day.
std::string DaylistSql();
// avfile: one row per recording file; seq is the INTEGER PRIMARY KEY.
std::string AvfileSql();
// "H_" + yyyymmdd (hour, event_type1..4, count1..4): one row per recorded hour of that day.
std::string DayTableSql(const std::string& yyyymmdd);
std::string DayTableName(int year, int month, int day);
// log (seq, desc, update_time) of loglist.db.
std::string LogSql();

// Column order of avfile, for building rows.
enum AvfileColumn {
    AvSeq,
    AvFileName,
    AvYear,
    AvMonth,
    AvDay,
    AvHour,
    AvStartDate,
    AvEndDate,
    AvStartTime,
    AvEndTime,
    AvUpdateTime,
    AvSystemId,
    AvEventType1,
    AvEventType2,
    AvEventType3,
    AvEventType4,
    AvCount1,
    AvCount2,
    AvCount3,
    AvCount4,
    AvColumnCount
};

} // namespace sqlite2::recorder_schema
