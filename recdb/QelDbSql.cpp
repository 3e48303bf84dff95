#include "recdb/QelDbSql.h"

#include "recdb/QelDbTypes.h"

#include <cstdio>

namespace QelDbSql {

namespace {

std::string Int(std::int64_t v) {
    return std::to_string(v);
}

std::string Two(int v) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", v);
    return text;
}

bool AllOrEvent(int mode) {
    return mode == smAll || mode == smEvent;
}

const char kEventGreater[] = "(event_type1 > 0 OR event_type2 > 0 OR event_type3 > 0 OR event_type4 > 0)";
const char kEventNotZero[] = "(event_type1 != 0 OR event_type2 != 0 OR event_type3 != 0 OR event_type4 != 0)";
const char kBackupEvent[] =
    " AND (event_type1 != 0 or event_type2 != 0 or event_type3 != 0 or event_type4 != 0)";

} // namespace

std::string NewestYear() {
    return "SELECT MAX(year) FROM daylist";
}

std::string NewestMonth(int mode) {
    if (mode == smAll)
        return "SELECT year, month FROM daylist WHERE (year*100+month)=(SELECT MAX(year*100+month) FROM "
               "daylist) "
               "GROUP BY year, month";
    if (mode == smEvent)
        return "SELECT year, month FROM daylist WHERE (year*100+month)=(SELECT MAX(year*100+month) FROM "
               "(SELECT "
               "year, month FROM daylist WHERE event_type!=0)) GROUP BY year, month";
    return {};
}

std::string DaysOfMonth(int mode, int year, int month) {
    if (!AllOrEvent(mode)) return {};
    std::string sql = "SELECT day, event_type FROM daylist WHERE (year == " + Int(year) +
                      ") AND (month ==" + Int(month) + ")";
    if (mode == smEvent) sql += " AND event_type != 0";
    return sql;
}

std::string FileCount(int mode) {
    if (!AllOrEvent(mode)) return {};
    std::string sql = "SELECT count(seq) FROM avfile where start_date IS NOT NULL AND end_date IS NOT NULL";
    if (mode == smEvent) sql += std::string(" AND ") + kEventGreater;
    return sql;
}

std::string NewestFiles(int mode, int offset) {
    if (!AllOrEvent(mode)) return {};
    std::string sql =
        "SELECT event_type1, event_type2, event_type3, event_type4, update_time, start_time, system_id, "
        "seq FROM avfile where start_date IS NOT NULL AND end_date IS NOT NULL";
    if (mode == smEvent) sql += std::string(" AND ") + kEventNotZero;
    return sql + " GROUP BY seq ORDER BY seq DESC LIMIT 8 OFFSET " + Int(offset);
}

std::string LogList() {
    return "SELECT seq, desc, update_time FROM log ORDER BY seq desc";
}

std::string ChannelCountFilter(int channelIndex) {
    if (channelIndex >= 0 && channelIndex <= 3) return "count" + Int(channelIndex + 1) + " > 0";
    return "count1 > 0  OR count2 > 0 OR count3 > 0 OR count4 > 0";
}

std::string ChannelEventFilter(int channelIndex) {
    if (channelIndex >= 0 && channelIndex <= 3) return "event_type" + Int(channelIndex + 1) + "!=0";
    return "event_type1!=0 OR event_type2!=0 OR event_type3!=0 OR event_type4!=0";
}

std::string FileNameOfSeq(std::int64_t seq) {
    return "SELECT file_name FROM avfile WHERE seq = " + Int(seq);
}

std::string AdjacentFile(bool next, int mode, std::int64_t current, int channelIndex) {
    if (!AllOrEvent(mode)) return {};
    const std::string n = Int(next ? current + 1 : current - 1);
    const std::string c = ChannelCountFilter(channelIndex);
    const std::string head =
        next ? "SELECT min(seq) FROM avfile WHERE (" : "SELECT max(seq) FROM avfile WHERE (";
    const std::string seq = next ? "(seq >= " + n + ")" : "(seq <= " + n + ")";
    if (mode == smAll) return head + seq + " AND (" + c + "))";
    return head + "(" + ChannelEventFilter(channelIndex) + ") AND " + seq + " AND (" + c + "))";
}

std::string StepMonth(bool next, int mode, int shownYyyymm) {
    if (!AllOrEvent(mode)) return {};
    const std::string k = Int(shownYyyymm);
    const std::string agg = next ? "MIN" : "MAX";
    const std::string op = next ? " > " : " < ";
    const std::string inner =
        mode == smAll ? "(year*100+month)" + op + k : "((year*100+month)" + op + k + ") AND (event_type!=0)";
    return "SELECT year, month FROM daylist WHERE (year*100+month)=(SELECT " + agg +
           "(year*100+month) FROM (SELECT year, month FROM daylist WHERE " + inner +
           ")) GROUP BY year, month";
}

std::string DayHours(int mode, int year, int month, int day) {
    if (!AllOrEvent(mode)) return {};
    char key[32];
    std::snprintf(key, sizeof key, "%04d%02d%02d", year, month, day);
    std::string sql =
        "SELECT hour, event_type1, event_type2, event_type3, event_type4, count1, count2, count3, count4 "
        "FROM H_" +
        std::string(key);
    if (mode == smEvent) sql += std::string(" WHERE ") + kEventGreater;
    return sql;
}

std::string HourMinutes(int mode, int year, int month, int day, int hour) {
    if (!AllOrEvent(mode)) return {};
    char y[16];
    std::snprintf(y, sizeof y, "%04d", year);
    std::string sql =
        "SELECT min(start_date), max(end_date), max(event_type1), max(event_type2), max(event_type3), "
        "max(event_type4), max(count1), max(count2), max(count3), max(count4), min(seq), max(seq) "
        "FROM avfile WHERE (year == " +
        std::string(y) + ") AND (month ==" + Two(month) + ") AND (day == " + Two(day) +
        ") AND (hour == " + Two(hour) + ")";
    if (mode == smEvent) sql += std::string(" AND ") + kEventGreater;
    return sql + " AND start_date IS NOT NULL AND end_date IS NOT NULL GROUP BY substr(start_date, 1, 12)";
}

std::string PlayFromMinute(int mode, std::int64_t keyTime) {
    if (!AllOrEvent(mode)) return {};
    const std::string t = Int(keyTime);
    std::string sql = "SELECT file_name, max(" + t + ", start_time), seq FROM avfile WHERE end_time >= " + t +
                      " AND start_time < " + Int(keyTime + 60);
    if (mode == smEvent) sql += std::string(" AND ") + kEventGreater;
    return sql + " ORDER BY seq LIMIT 1";
}

std::string BackupRange(int type, std::uint32_t start, std::uint32_t end) {
    std::string sql = "SELECT MIN(seq), MAX(seq) FROM avfile WHERE (start_time <= " + Int(end) + " and " +
                      Int(start) + " <= end_time)";
    if (type == 1) sql += kBackupEvent;
    return sql;
}

std::string BackupList(int type, std::int64_t minSeq, std::int64_t maxSeq) {
    std::string sql = "SELECT seq, start_time, end_time FROM avfile WHERE (seq >= " + Int(minSeq) +
                      " and seq <= " + Int(maxSeq) + ")";
    if (type == 1) sql += kBackupEvent;
    return sql;
}

std::string BackupFirst(int type, std::uint32_t start, std::uint32_t end) {
    const std::string s = Int(start);
    std::string sql = "SELECT max(" + s + ", start_time), seq FROM avfile WHERE end_time > " + s +
                      " AND start_time < " + Int(end);
    if (type == 1) sql += std::string(" AND ") + kEventGreater;
    return sql + " ORDER BY seq LIMIT 1";
}

std::string FiveSecondsBack(int mode, std::int64_t t, std::int64_t e) {
    const std::string ts = Int(t);
    std::string sql = "SELECT file_name, max(" + ts + ", start_time), seq FROM avfile WHERE end_time > " +
                      ts + " AND start_time < " + Int(e);
    if (mode == smEvent) sql += std::string(" AND ") + kEventGreater;
    return sql + " ORDER BY seq LIMIT 1";
}

} // namespace QelDbSql
