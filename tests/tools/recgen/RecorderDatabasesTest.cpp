#include "tools/recgen/RecorderDatabases.h"
#include "platform/core/SysTime.h"
#include "sqlite2/Sqlite2Api.h"
#include "tools/recgen/StoreGenerator.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Runs a query through the C-style calls the client's database wrapper uses.
Rows Query(const std::string& path, const std::string& sql) {
    char* err = nullptr;
    sqlite* db = sqlite_open(path.c_str(), 0, &err);
    if (!db) {
        ADD_FAILURE() << path << ": " << (err ? err : "?");
        sqlite_freemem(err);
        return {};
    }
    Rows rows;
    const int rc = sqlite_exec(
        db, sql.c_str(),
        [](void* arg, int n, char** values, char**) {
            auto* out = static_cast<Rows*>(arg);
            out->emplace_back();
            for (int i = 0; i < n; ++i)
                out->back().push_back(values[i] ? values[i] : "NULL");
            return 0;
        },
        &rows, &err);
    EXPECT_EQ(rc, SQLITE_OK) << sql << ": " << (err ? err : "");
    sqlite_freemem(err);
    sqlite_close(db);
    return rows;
}

struct Store {
    testing_support::TempDir dir;
    std::vector<recgen::StoreRecording> recs;
    Store() {
        recgen::StoreOptions s;
        s.year = 2024;
        s.month = 4;
        s.day = 30; // April into May
        s.days = 3;
        s.hours = {9, 13, 18};
        s.secondsPerRecording = 6;
        s.stream.framesPerSecond = 1;
        recs = recgen::GenerateStore(dir.Path().string(), s, recgen::RecorderIdentity{});
    }
    std::string Db(const char* name) const { return dir.File(name); }
};

const Store& Shared() {
    static Store store;
    return store;
}

TEST(RecorderDatabases, CalendarQueriesFindTheNewestMonthAndItsDays) {
    const Store& s = Shared();
    ASSERT_EQ(s.recs.size(), 9u);
    const std::string hdd = s.Db("qeldbfile_hdd.db");
    EXPECT_EQ(Query(hdd, "SELECT MAX(year) FROM daylist"), (Rows{{"2024"}}));
    EXPECT_EQ(Query(hdd,
                    "SELECT year, month FROM daylist WHERE (year*100+month)=(SELECT MAX(year*100+month) FROM "
                    "daylist) GROUP BY year, month"),
              (Rows{{"2024", "5"}}));
    EXPECT_EQ(Query(hdd, "SELECT day, event_type FROM daylist WHERE (year == 2024) AND (month ==5)"),
              (Rows{{"1", "1"}, {"2", "1"}}));
    EXPECT_EQ(
        Query(hdd,
              "SELECT day, event_type FROM daylist WHERE (year == 2024) AND (month ==4) AND event_type != 0"),
        (Rows{{"30", "1"}}));
    // One row per recorded hour; the 13:00 recording carries the events.
    const Rows hours =
        Query(hdd, "SELECT hour, event_type1, event_type2, event_type3, event_type4, count1, count2, "
                   "count3, count4 FROM H_20240501");
    ASSERT_EQ(hours.size(), 3u);
    EXPECT_EQ(hours[0], (std::vector<std::string>{"9", "0", "0", "0", "0", "6", "6", "6", "6"}));
    EXPECT_EQ(hours[1][0], "13");
    EXPECT_EQ(hours[1][1], "1");
    EXPECT_EQ(hours[2][0], "18");
}

TEST(RecorderDatabases, AvfileRowsDescribeTheRecordings) {
    const Store& s = Shared();
    const Rows rows =
        Query(s.Db("qeldbfile_hdd.db"),
              "SELECT seq, file_name, year, month, day, hour, start_date, end_date, start_time, "
              "end_time, system_id, event_type1, count1 FROM avfile ORDER BY seq");
    ASSERT_EQ(rows.size(), s.recs.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& r = s.recs[i];
        const SYSTEMTIME t = UnixToUtc(r.startTime);
        EXPECT_EQ(rows[i][0], std::to_string(r.seq));
        EXPECT_EQ(rows[i][1], r.fileName);
        EXPECT_EQ(rows[i][2], std::to_string(t.wYear));
        EXPECT_EQ(rows[i][5], std::to_string(t.wHour));
        EXPECT_EQ(rows[i][6].substr(0, 12), r.fileName.substr(11, 12));
        EXPECT_EQ(rows[i][8], std::to_string(r.startTime));
        EXPECT_EQ(rows[i][9], std::to_string(r.endTime));
        EXPECT_EQ(rows[i][10], "HARBEK-SIM-000123");
        EXPECT_EQ(rows[i][11], r.eventTypes[0] ? "1" : "0");
        EXPECT_EQ(rows[i][12], std::to_string(r.counts[0]));
    }
    // The disk database is the same as the hard disk's.
    EXPECT_EQ(testing_support::ReadFileBytes(s.Db("infofiles/pyrdb")),
              testing_support::ReadFileBytes(s.Db("qeldbfile_hdd.db")));
}

TEST(RecorderDatabases, SearchChainingAndBackupQueries) {
    const Store& s = Shared();
    const std::string db = s.Db("qeldbfile_hdd.db");
    EXPECT_EQ(
        Query(db, "SELECT count(seq) FROM avfile where start_date IS NOT NULL AND end_date IS NOT NULL"),
        (Rows{{"9"}}));
    EXPECT_EQ(
        Query(db,
              "SELECT min(seq) FROM avfile WHERE ((seq >= 3) AND (count1 > 0  OR count2 > 0 OR count3 > 0 "
              "OR count4 > 0))"),
        (Rows{{"3"}}));
    EXPECT_EQ(
        Query(db, "SELECT min(seq) FROM avfile WHERE ((event_type2!=0) AND (seq >= 3) AND (count2 > 0))"),
        (Rows{{"5"}}));
    EXPECT_EQ(
        Query(db, "SELECT max(seq) FROM avfile WHERE ((event_type1!=0) AND (seq <= 1) AND (count1 > 0))"),
        (Rows{{"NULL"}}));
    const DWORD start = s.recs[1].startTime, end = s.recs[4].endTime;
    EXPECT_EQ(Query(db, "SELECT MIN(seq), MAX(seq) FROM avfile WHERE (start_time <= " + std::to_string(end) +
                            " and " + std::to_string(start) + " <= end_time)"),
              (Rows{{"2", "5"}}));
    EXPECT_EQ(Query(db, "SELECT MIN(seq), MAX(seq) FROM avfile WHERE (start_time <= " + std::to_string(end) +
                            " and " + std::to_string(start) +
                            " <= end_time) AND (event_type1 != 0 or event_type2 != 0 or event_type3 != 0 or "
                            "event_type4 != 0)"),
              (Rows{{"2", "5"}}));
}

TEST(RecorderDatabases, RemovableMediaAndLog) {
    const Store& s = Shared();
    // CF holds the last day, SD the first.
    EXPECT_EQ(Query(s.Db("qeldbfile_cf.db"),
                    "SELECT seq FROM avfile GROUP BY seq ORDER BY seq DESC LIMIT 8 OFFSET 0"),
              (Rows{{"9"}, {"8"}, {"7"}}));
    EXPECT_EQ(Query(s.Db("qeldbfile_sd.db"), "SELECT day FROM daylist"), (Rows{{"30"}}));
    const Rows log = Query(s.Db("loglist.db"), "SELECT seq, desc, update_time FROM log ORDER BY seq desc");
    // A start line, then start and stop per recording and an event line for each of the three with events.
    ASSERT_EQ(log.size(), 1u + 9 * 2 + 3);
    EXPECT_EQ(log.front()[1], "RECORD STOP");
    EXPECT_EQ(log.front()[2], std::to_string(s.recs.back().endTime));
    EXPECT_EQ(log.back()[1], "SYSTEM START");
}

TEST(RecorderDatabases, EmptyRecordingListGivesEmptyTables) {
    testing_support::TempDir dir;
    const std::string path = dir.File("empty.db");
    testing_support::WriteFileBytes(path, recgen::RecordingsDatabaseImage({}, "X"));
    EXPECT_EQ(Query(path, "SELECT MAX(year) FROM daylist"), (Rows{{"NULL"}}));
    EXPECT_TRUE(Query(path, "SELECT seq FROM avfile").empty());
}

} // namespace
