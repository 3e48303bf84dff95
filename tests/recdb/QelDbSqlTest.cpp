// The client's SQL texts, character for character: against the texts the recorder's own queries were
// run with (queries.txt), and against the texts the windows are described with.
#include "recdb/QelDbSql.h"
#include "recdb/QelDbTypes.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

// id -> SQL of queries.txt
std::map<std::string, std::string> QueriesTxt() {
    std::istringstream in(
        testing_support::ReadFileBytes(testing_support::FixturePath("sqlite2/queries.txt")));
    std::map<std::string, std::string> out;
    std::string line, id;
    while (std::getline(in, line)) {
        if (line.rfind("@id ", 0) == 0) {
            id = line.substr(4, 3);
            std::getline(in, line);
            out[id] = line;
        }
    }
    return out;
}

TEST(QelDbSql, SameTextsAsTheRecorderQueries) {
    using namespace QelDbSql;
    const std::map<std::string, std::string> q = QueriesTxt();
    const std::pair<const char*, std::string> cases[] = {
        {"001", NewestYear()},
        {"002", NewestMonth(smAll)},
        {"003", NewestMonth(smEvent)},
        {"004", DaysOfMonth(smAll, 2008, 1)},
        {"005", DaysOfMonth(smEvent, 2008, 1)},
        {"006", DaysOfMonth(smAll, 2007, 12)},
        {"010", FileCount(smAll)},
        {"011", FileCount(smEvent)},
        {"012", NewestFiles(smAll)},
        {"013", NewestFiles(smEvent)},
        {"014", StepMonth(false, smAll, 200801)},
        {"015", StepMonth(false, smEvent, 200801)},
        {"018", StepMonth(true, smAll, 200712)},
        {"019", StepMonth(true, smEvent, 200712)},
        {"026", DayHours(smAll, 2007, 12, 31)},
        {"027", DayHours(smEvent, 2007, 12, 31)},
        {"032", HourMinutes(smAll, 2007, 12, 31, 7)},
        {"033", HourMinutes(smEvent, 2007, 12, 31, 7)},
        {"036", HourMinutes(smAll, 2008, 1, 1, 0)},
        {"040", PlayFromMinute(smAll, 1199145540)},
        {"041", PlayFromMinute(smEvent, 1199145540)},
        {"046", FileNameOfSeq(108)},
        {"048", AdjacentFile(true, smAll, 117, 4)},
        {"050", AdjacentFile(true, smAll, 60, 3)},
        {"051", AdjacentFile(false, smAll, 110, 3)},
        {"052", AdjacentFile(true, smEvent, 49, 4)},
        {"053", AdjacentFile(true, smEvent, 50, 0)},
        {"055", AdjacentFile(false, smEvent, 74, 1)},
        {"058", BackupRange(0, 1199086200, 1199087100)},
        {"059", BackupRange(1, 1199086200, 1199087100)},
        {"060", BackupList(0, 73, 77)},
        {"061", BackupList(1, 73, 77)},
        {"062", BackupFirst(0, 1199086200, 1199087100)},
        {"063", BackupFirst(1, 1199086200, 1199087100)},
        {"100", LogList()},
        {"128", AdjacentFile(true, smEvent, 100, 2)},
    };
    for (const auto& [id, sql] : cases) {
        ASSERT_TRUE(q.count(id)) << id;
        EXPECT_EQ(sql, q.at(id)) << "query " << id;
    }
}

TEST(QelDbSql, TextsOfTheWindows) {
    using namespace QelDbSql;
    // Next after 120, ALL, all channels; previous before 120, EVENT, channel index 0.
    EXPECT_EQ(
        AdjacentFile(true, smAll, 120, 4),
        "SELECT min(seq) FROM avfile WHERE ((seq >= 121) AND (count1 > 0  OR count2 > 0 OR count3 > 0 OR "
        "count4 > 0))");
    EXPECT_EQ(AdjacentFile(false, smEvent, 120, 0),
              "SELECT max(seq) FROM avfile WHERE ((event_type1!=0) AND (seq <= 119) AND (count1 > 0))");
    EXPECT_EQ(AdjacentFile(true, smAll, 17, 4), "SELECT min(seq) FROM avfile WHERE ((seq >= 18) AND (count1 "
                                                "> 0  OR count2 > 0 OR count3 > 0 OR count4 > 0))");
    EXPECT_EQ(AdjacentFile(false, smEvent, 17, 1),
              "SELECT max(seq) FROM avfile WHERE ((event_type2!=0) AND (seq <= 16) AND (count2 > 0))");
    EXPECT_EQ(DaysOfMonth(smAll, 2024, 5),
              "SELECT day, event_type FROM daylist WHERE (year == 2024) AND (month ==5)");
    EXPECT_NE(
        HourMinutes(smAll, 2007, 5, 1, 9)
            .find(" FROM avfile WHERE (year == 2007) AND (month ==05) AND (day == 01) AND (hour == 09) AND "
                  "start_date IS NOT NULL"),
        std::string::npos);
    EXPECT_EQ(StepMonth(false, smAll, 200701),
              "SELECT year, month FROM daylist WHERE (year*100+month)=(SELECT MAX(year*100+month) FROM "
              "(SELECT year, "
              "month FROM daylist WHERE (year*100+month) < 200701)) GROUP BY year, month");
    const std::string page3 = NewestFiles(smAll, 16);
    EXPECT_EQ(page3, NewestFiles(smAll).substr(0, NewestFiles(smAll).size() - 1) + "16");
    EXPECT_EQ(FiveSecondsBack(smAll, 1000, 1005), "SELECT file_name, max(1000, start_time), seq FROM avfile "
                                                  "WHERE end_time > 1000 AND start_time < 1005 "
                                                  "ORDER BY seq LIMIT 1");
    EXPECT_EQ(FiveSecondsBack(smEvent, 1000, 1005), "SELECT file_name, max(1000, start_time), seq FROM "
                                                    "avfile WHERE end_time > 1000 AND start_time < 1005 "
                                                    "AND (event_type1 > 0 OR event_type2 > 0 OR event_type3 "
                                                    "> 0 OR event_type4 > 0) ORDER BY seq LIMIT 1");
    EXPECT_EQ(
        PlayFromMinute(smAll, 1191258300),
        "SELECT file_name, max(1191258300, start_time), seq FROM avfile WHERE end_time >= 1191258300 AND "
        "start_time < 1191258360 ORDER BY seq LIMIT 1");
}

TEST(QelDbSql, BackModeAndOddChannels) {
    using namespace QelDbSql;
    for (int mode : {static_cast<int>(smBack), 0, 7}) {
        EXPECT_EQ(NewestMonth(mode), "");
        EXPECT_EQ(DaysOfMonth(mode, 2008, 1), "");
        EXPECT_EQ(FileCount(mode), "");
        EXPECT_EQ(NewestFiles(mode), "");
        EXPECT_EQ(AdjacentFile(true, mode, 5, 4), "");
        EXPECT_EQ(StepMonth(true, mode, 200801), "");
        EXPECT_EQ(DayHours(mode, 2008, 1, 1), "");
        EXPECT_EQ(HourMinutes(mode, 2008, 1, 1, 1), "");
        EXPECT_EQ(PlayFromMinute(mode, 5), "");
    }
    // A camera index outside 0..4 filters as all channels instead of building "AND ()".
    for (int index : {-1, 5, 99}) {
        EXPECT_EQ(ChannelCountFilter(index), ChannelCountFilter(4));
        EXPECT_EQ(ChannelEventFilter(index), ChannelEventFilter(4));
    }
    EXPECT_EQ(ChannelCountFilter(3), "count4 > 0");
    EXPECT_EQ(ChannelEventFilter(2), "event_type3!=0");
    EXPECT_EQ(FileNameOfSeq(-5), "SELECT file_name FROM avfile WHERE seq = -5");
}

} // namespace
