#include "sqlite2/RecorderSchema.h"

#include <cstdio>

namespace sqlite2::recorder_schema {

std::string DaylistSql() {
    return "CREATE TABLE daylist (year INTEGER, month INTEGER, day INTEGER, event_type INTEGER)";
}

std::string AvfileSql() {
    return "CREATE TABLE avfile (seq INTEGER PRIMARY KEY, file_name VARCHAR(128), year INTEGER, month "
           "INTEGER, "
           "day INTEGER, hour INTEGER, start_date VARCHAR(14), end_date VARCHAR(14), start_time INTEGER, "
           "end_time INTEGER, update_time INTEGER, system_id VARCHAR(32), event_type1 INTEGER, "
           "event_type2 INTEGER, event_type3 INTEGER, event_type4 INTEGER, count1 INTEGER, count2 INTEGER, "
           "count3 INTEGER, count4 INTEGER)";
}

std::string DayTableSql(const std::string& yyyymmdd) {
    return "CREATE TABLE H_" + yyyymmdd +
           " (hour INTEGER, event_type1 INTEGER, event_type2 INTEGER, event_type3 INTEGER, event_type4 "
           "INTEGER, "
           "count1 INTEGER, count2 INTEGER, count3 INTEGER, count4 INTEGER)";
}

std::string DayTableName(int year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "H_%04d%02d%02d", year, month, day);
    return text;
}

std::string LogSql() {
    return "CREATE TABLE log (seq INTEGER, desc TEXT, update_time INTEGER)";
}

} // namespace sqlite2::recorder_schema
