// What the windows take from query rows: marks, cells, captions, lines, start times.
#include "recdb/QelDbResults.h"
#include "recdb/KeyTime.h"
#include "recdb/QelDbSql.h"
#include "sqlite2/Sqlite2Writer.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

using testing_support::FixturePath;

sqlite_result Query(const std::string& file, const std::string& sql) {
    sqlite_db db;
    db.open(FixturePath("sqlite2/" + file));
    return db.query(sql);
}

TEST(Results, NewestYearAndMonth) {
    EXPECT_TRUE(HasRecordings(Query("qeldbfile_hdd.db", QelDbSql::NewestYear())));
    EXPECT_FALSE(HasRecordings(Query("qeldbfile_empty.db", QelDbSql::NewestYear())));
    EXPECT_FALSE(HasRecordings({}));
    const std::optional<YearMonth> month = MonthOf(Query("qeldbfile_hdd.db", QelDbSql::NewestMonth(smAll)));
    ASSERT_TRUE(month.has_value());
    EXPECT_EQ(month->year, 2008);
    EXPECT_EQ(month->month, 1);
    EXPECT_FALSE(MonthOf(Query("qeldbfile_empty.db", QelDbSql::NewestMonth(smEvent))));
    EXPECT_FALSE(MonthOf({{{"year", "2008"}, {"month", ""}}}));
    EXPECT_FALSE(MonthOf({{{"year", "2008"}, {"month", "13"}}}));
    EXPECT_EQ(MonthOf({{{"year", "2007"}, {"month", "3"}}, {{"year", "2008"}, {"month", "4"}}})->month, 4);
}

TEST(Results, DayKeepsItsHighestState) {
    // qeldbfile_hdd.db holds day 2008-01-01 twice: event_type 0, then 1.
    const std::map<int, DayMarkState> january =
        DayMarks(Query("qeldbfile_hdd.db", QelDbSql::DaysOfMonth(smAll, 2008, 1)), 31);
    EXPECT_EQ(january, (std::map<int, DayMarkState>{{1, dmsEvent}, {2, dmsEvent}}));
    // The same rows the other way round must not turn the event day into a plain one.
    const sqlite_result reversed = {{{"day", "1"}, {"event_type", "1"}},
                                    {{"day", "1"}, {"event_type", "0"}},
                                    {{"day", "32"}, {"event_type", "0"}},
                                    {{"day", "0"}, {"event_type", "1"}},
                                    {{"day", "2"}, {"event_type", "0"}}};
    EXPECT_EQ(DayMarks(reversed, 31), (std::map<int, DayMarkState>{{1, dmsEvent}, {2, dmsRecording}}));
    EXPECT_EQ(DayMarks(reversed, 1), (std::map<int, DayMarkState>{{1, dmsEvent}}));
}

TEST(Results, HourCells) {
    const sqlite_result rows = {{{"hour", "9"},
                                 {"count1", "0"},
                                 {"count2", "3"},
                                 {"count3", "0"},
                                 {"count4", "5"},
                                 {"event_type1", "1"},
                                 {"event_type2", "0"},
                                 {"event_type3", "1"},
                                 {"event_type4", "2"}},
                                {{"hour", "24"}, {"count1", "1"}},
                                {{"hour", "-1"}, {"count1", "1"}}};
    const std::vector<CellMark> all = HourMarks(rows, -1);
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].state, dmsNone) << "nothing recorded even with an event";
    EXPECT_EQ(all[1].state, dmsRecording);
    EXPECT_EQ(all[2].state, dmsNone);
    EXPECT_EQ(all[3].state, dmsEvent);
    for (const CellMark& m : all)
        EXPECT_EQ(m.index, 9);
    const std::vector<CellMark> third = HourMarks(rows, 3);
    ASSERT_EQ(third.size(), 1u);
    EXPECT_EQ(third[0].channel, 2);
    EXPECT_TRUE(HourMarks(rows, 7).empty());
    // Real day: 2007-12-31 07:00 has the event of seq 74 on channel 2.
    bool event = false;
    for (const CellMark& m :
         HourMarks(Query("qeldbfile_hdd.db", QelDbSql::DayHours(smAll, 2007, 12, 31)), -1))
        event = event || (m.index == 7 && m.channel == 1 && m.state == dmsEvent);
    EXPECT_TRUE(event);
}

TEST(Results, MinuteGroupsRunIntoTheNextHour) {
    struct Case {
        const char* start;
        const char* end;
        int first, last; // -1: no range
    };
    const Case cases[] = {
        {"20071001170510", "20071001170755", 5, 7},
        {"20071001175800", "20071001180200", 58, 59}, // ends in the next hour
        {"20071001235819", "20071002000215", 58, 59}, // ends the next day
        {"20071001170710", "20071001170500", -1, -1}, // backwards within the hour
        {"2007100117", "20071001170755", -1, -1},     // minute missing
        {"2007100117x0", "20071001170755", -1, -1},   // minute not a number
        {"20071001176000", "20071001176100", -1, -1}, // minute out of range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        const sqlite_result rows = {{{"min(start_date)", c.start},
                                     {"max(end_date)", c.end},
                                     {"max(count2)", "1"},
                                     {"max(event_type2)", "0"}}};
        const std::vector<MinuteRange> ranges = MinuteRanges(rows, "2007100117", 2);
        if (c.first < 0) {
            EXPECT_TRUE(ranges.empty());
            continue;
        }
        ASSERT_EQ(ranges.size(), 1u);
        EXPECT_EQ(ranges[0].channel, 1);
        EXPECT_EQ(ranges[0].first, c.first);
        EXPECT_EQ(ranges[0].last, c.last);
        EXPECT_EQ(ranges[0].state, dmsRecording);
    }
}

TEST(Results, MinuteGroupsOfTheRealFile) {
    // 2007-12-31 07:59:45 to 08:03:41 is the last group of hour 07.
    bool minute59 = false;
    for (const MinuteRange& r : MinuteRanges(
             Query("qeldbfile_hdd.db", QelDbSql::HourMinutes(smAll, 2007, 12, 31, 7)), "2007123107", -1))
        minute59 = minute59 || (r.first == 59 && r.last == 59 && r.state == dmsRecording);
    EXPECT_TRUE(minute59);
    // The event file 23:58:19 to 00:02:15 on channel 3 shows at 23:58 and 23:59.
    const std::vector<MinuteRange> event = MinuteRanges(
        Query("qeldbfile_hdd.db", QelDbSql::HourMinutes(smEvent, 2007, 12, 31, 23)), "2007123123", 3);
    ASSERT_EQ(event.size(), 1u);
    EXPECT_EQ(event[0].first, 58);
    EXPECT_EQ(event[0].last, 59);
    EXPECT_EQ(event[0].state, dmsEvent);
}

TEST(Results, FileTableCaptions) {
    const sqlite_result rows = {
        {{"event_type1", "0"},
         {"event_type2", "0"},
         {"event_type3", "2"},
         {"event_type4", "0"},
         {"seq", "152"},
         {"start_time", "0"},
         {"system_id", "QV4CH-0012A7F3"},
         {"update_time", "0"}},
        {{"event_type1", "0"},
         {"event_type2", "0"},
         {"event_type3", "0"},
         {"event_type4", "0"},
         {"seq", "7"},
         {"start_time", "1191258300"},
         {"system_id", "AB"},
         {"update_time", "1191258302"}},
    };
    const std::vector<FileTableRow> out = FileTableRows(rows);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].caption, "!  01/01 00:00:00  1970/01/01 00:00:00  12A7F3");
    EXPECT_EQ(out[0].seq, 152);
    EXPECT_EQ(out[1].caption, "   10/01 17:05:02  2007/10/01 17:05:00  AB");
    EXPECT_EQ(FileTableRows(Query("qeldbfile_hdd.db", QelDbSql::NewestFiles(smAll))).front().seq, 151);
}

TEST(Results, LogLines) {
    const sqlite_result rows = {{{"desc", "Power on"}, {"seq", "1"}, {"update_time", "0"}},
                                {{"desc", "no time"}, {"seq", "2"}, {"update_time", ""}},
                                {{"desc", "bad time"}, {"seq", "3"}, {"update_time", "12x"}}};
    EXPECT_EQ(LogLines(rows), (std::vector<std::string>{"   1970/01/01    00:00:00       Power on",
                                                        "   1970/01/01    00:00:00       no time",
                                                        "   1970/01/01    00:00:00       bad time"}));
    const std::vector<std::string> real = LogLines(Query("loglist.db", QelDbSql::LogList()));
    ASSERT_EQ(real.size(), 40u);
    EXPECT_EQ(real[4].substr(0, 32), "   1970/01/01    00:00:00       ");
    EXPECT_NE(real[3].find("Kamera 4: Signal verloren"), std::string::npos);
}

TEST(KeyTime, ReadAsUtcInAnyZone) {
    const char* saved = std::getenv("TZ");
    const std::string old = saved ? saved : "";
    for (const char* zone : {"UTC", "Pacific/Apia", "Europe/Minsk", "America/Los_Angeles"}) {
        ::setenv("TZ", zone, 1);
        ::tzset();
        EXPECT_EQ(KeyToUtcSeconds("200710011705"), 1191258300) << zone;
        EXPECT_EQ(KeyToUtcSeconds("2007100117"), 1191258000) << zone;
        EXPECT_EQ(KeyToUtcSeconds("20071001"), 1191196800) << zone;
    }
    if (saved)
        ::setenv("TZ", old.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(KeyToUtcSeconds("200802291200"), 1204286400);
    for (const char* bad : {"", "2007", "20071301", "20070230", "20071001x7", "200710012400", "200710011760",
                            "2007100117051", "20071000"})
        EXPECT_FALSE(KeyToUtcSeconds(bad)) << bad;
    const UtcFields f = BreakDownUtc(1191258302);
    EXPECT_EQ(f.year * 10000 + f.month * 100 + f.day, 20071001);
    EXPECT_EQ(f.hour * 10000 + f.minute * 100 + f.second, 170502);
}

TEST(Results, PlayAndBackupStarts) {
    testing_support::TempDir dir;
    sqlite2::Sqlite2Writer w;
    w.CreateTable(sqlite2::recorder_schema::AvfileSql());
    const long long t = 1191258300; // 2007-10-01 17:05
    auto file = [&](long long seq, long long start, long long end, int event) {
        sqlite2::Row row(sqlite2::recorder_schema::AvColumnCount);
        row[sqlite2::recorder_schema::AvSeq] = seq;
        row[sqlite2::recorder_schema::AvFileName] = "f" + std::to_string(seq) + ".avr";
        row[sqlite2::recorder_schema::AvStartTime] = start;
        row[sqlite2::recorder_schema::AvEndTime] = end;
        row[sqlite2::recorder_schema::AvEventType1] = event;
        w.Insert("avfile", row);
    };
    file(3, t - 30, t + 70, 0); // 17:04:30 to 17:06:10
    file(5, t - 30, t + 70, 1); // overlaps too, higher seq
    w.WriteFile(dir.File("db"));
    sqlite_db db;
    db.open(dir.File("db"));
    const std::optional<PlayStart> at1705 = PlayStartOf(db.query(QelDbSql::PlayFromMinute(smAll, t)));
    ASSERT_TRUE(at1705.has_value());
    EXPECT_EQ(at1705->start, t);
    EXPECT_EQ(at1705->seq, 3);
    EXPECT_EQ(at1705->fileName, "f3.avr");
    const std::optional<PlayStart> at1704 = PlayStartOf(db.query(QelDbSql::PlayFromMinute(smAll, t - 60)));
    ASSERT_TRUE(at1704.has_value());
    EXPECT_EQ(at1704->start, t - 30);
    EXPECT_EQ(PlayStartOf(db.query(QelDbSql::PlayFromMinute(smEvent, t)))->seq, 5);
    EXPECT_FALSE(PlayStartOf(db.query(QelDbSql::PlayFromMinute(smAll, t + 3600))));
    const std::optional<PlayStart> backup = PlayStartOf(db.query(QelDbSql::BackupFirst(0, t - 100, t + 100)));
    ASSERT_TRUE(backup.has_value());
    EXPECT_EQ(backup->start, t - 30);
    EXPECT_EQ(backup->fileName, "");

    const SeqRange none =
        SeqRangeOf(Query("qeldbfile_hdd.db", QelDbSql::BackupRange(1, 1199095200, 1199098800)));
    EXPECT_EQ(none.min, 0);
    EXPECT_EQ(none.max, 0);
    const SeqRange range =
        SeqRangeOf(Query("qeldbfile_hdd.db", QelDbSql::BackupRange(0, 1199086200, 1199087100)));
    EXPECT_EQ(range.min, 73);
    EXPECT_EQ(range.max, 77);
    const std::vector<BackupSpanNode> span =
        BackupSpan(Query("qeldbfile_hdd.db", QelDbSql::BackupList(0, 73, 77)));
    ASSERT_EQ(span.size(), 5u);
    EXPECT_EQ(span.front().seq, 73u);
    EXPECT_EQ(span.back().seq, 77u);
    EXPECT_LT(span.front().start_time, span.front().end_time);
    EXPECT_TRUE(BackupSpan(Query("qeldbfile_hdd.db", QelDbSql::BackupList(1, 73, 73))).empty());
}

} // namespace
