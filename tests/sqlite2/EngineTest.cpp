// Statements on databases made by the writer: SQLite 2's rules where the real files have no example,
// errors, and the cache of imported files.
#include "sqlite2/RecorderSchema.h"
#include "sqlite2/Sqlite2Api.h"
#include "sqlite2/Sqlite2Database.h"
#include "sqlite2/Sqlite2Writer.h"
#include "tests/sqlite2/QueryRows.h"
#include "tests/sqlite2/SchemaImage.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace {

using sqlite2::Sqlite2Database;
using sqlite2::Sqlite2Writer;
using sqlite2_test::Rows;

std::string ErrorOf(Sqlite2Database& db, const std::string& sql, int* code = nullptr) {
    try {
        Rows(db, sql);
    } catch (const ESqlite2Error& e) {
        if (code) *code = e.Code;
        return e.Message;
    }
    return "no error";
}

std::shared_ptr<Sqlite2Database> Sample() {
    Sqlite2Writer w;
    w.CreateTable("CREATE TABLE t (id INTEGER PRIMARY KEY, n INTEGER, s VARCHAR(10), u)");
    w.Insert("t", {nullptr, "9", "b", "10"});
    w.Insert("t", {nullptr, "10", "a", "9"});
    w.Insert("t", {nullptr, "007", "c", nullptr});
    w.Insert("t", {nullptr, nullptr, "a", "x"});
    w.CreateTable("CREATE TABLE u (id INTEGER PRIMARY KEY, label TEXT)");
    w.Insert("u", {nullptr, "one"});
    w.Insert("u", {nullptr, "two"});
    return Sqlite2Database::FromImage(w.Image());
}

struct Case {
    const char* sql;
    std::vector<std::string> rows;
};

TEST(Engine, Sq2RulesBeyondTheFixtures) {
    auto db = Sample();
    const Case cases[] = {
        {"SELECT id FROM t WHERE n < 10 ORDER BY n", {"id", "3", "1"}},
        {"SELECT id FROM t WHERE n IN (7)", {}},
        {"SELECT id FROM t WHERE n = 7", {"id", "3"}},
        {"SELECT max(n), min(n), max(s), min(u) FROM t", {"max(n)|min(n)|max(s)|min(u)", "10|007|c|9"}},
        {"SELECT s, count(*) FROM t GROUP BY s ORDER BY s", {"s|count(*)", "a|2", "b|1", "c|1"}},
        {"SELECT n * 2, n / 4, 7 / 2, 7.0 / 2, 5 % 3, 1 / 0, -n FROM t WHERE id = 1",
         {"n * 2|n / 4|7 / 2|7.0 / 2|5 % 3|1 / 0|-n", "18|2.25|3|3.5|2|<NULL>|-9"}},
        {"SELECT 2147483647 * 2, -2147483647 - 2, 6 & 3, 6 | 3, 1 << 4, ~0",
         {"2147483647 * 2|-2147483647 - 2|6 & 3|6 | 3|1 << 4|~0", "-2|2147483647|2|7|16|-1"}},
        {"SELECT s || n FROM t WHERE id = 3", {"s || n", "c007"}},
        {"SELECT id FROM t WHERE s LIKE 'A%' ORDER BY id", {"id", "2", "4"}},
        {"SELECT id FROM t WHERE n BETWEEN 8 AND 10 ORDER BY id", {"id", "1", "2"}},
        {"SELECT id FROM t WHERE n NOT BETWEEN 8 AND 10", {"id", "3"}},
        {"SELECT CASE WHEN n > 9 THEN 'big' ELSE 'small' END FROM t WHERE id <= 2",
         {"CASE WHEN n > 9 THEN 'big' ELSE 'small' END", "small", "big"}},
        {"SELECT id FROM t WHERE id IN (SELECT id FROM u)", {"id", "1", "2"}},
        {"SELECT t.id, label FROM t, u WHERE t.id = u.id", {"t.id|label", "1|one", "2|two"}},
        {"SELECT t.id, label FROM t LEFT JOIN u ON t.id = u.id WHERE t.id > 1",
         {"t.id|label", "2|two", "3|<NULL>", "4|<NULL>"}},
        {"SELECT id FROM t UNION SELECT id FROM u ORDER BY 1 DESC LIMIT 2", {"id", "4", "3"}},
        {"SELECT label AS l FROM u ORDER BY l DESC", {"l", "two", "one"}},
        {"SELECT (SELECT max(label) FROM u), rowid, oid FROM t WHERE id = 2",
         {"(SELECT max(label) FROM u)|rowid|oid", "two|2|2"}},
        {"SELECT \"no such\" FROM u WHERE id = 1", {"\"no such\"", "no such"}},
        {"SELECT count(*) FROM t WHERE u IS NULL OR n ISNULL", {"count(*)", "2"}},
        {"SELECT length(s), substr('abcdef', -3, 2), upper(s), abs(-n), round(2.5), coalesce(u, 'none') FROM "
         "t WHERE id = 3",
         {"length(s)|substr('abcdef', -3, 2)|upper(s)|abs(-n)|round(2.5)|coalesce(u, 'none')",
          "1|de|C|7|3|none"}},
        {"SELECT DISTINCT s FROM t ORDER BY s", {"s", "a", "b", "c"}},
        {"SELECT sum(n), avg(n) FROM t", {"sum(n)|avg(n)", "26|8.66666666666667"}},
        {"SELECT * FROM (SELECT s AS k, n FROM t) WHERE k = 'a' ORDER BY n DESC",
         {"k|n", "a|10", "a|<NULL>"}},
        {"", {}},
        {"BEGIN; SELECT 1; COMMIT", {"1", "1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        try {
            EXPECT_EQ(Rows(*db, c.sql), c.rows);
        } catch (const ESqlite2Error& e) {
            ADD_FAILURE() << e.Message;
        }
    }
}

// A recorder that declared its numbers as text columns: comparisons with numbers stay numeric, sorting
// and grouping of the column itself are by text, as in SQLite 2.
TEST(Engine, TextTypedNumbers) {
    Sqlite2Writer w;
    w.CreateTable(
        "CREATE TABLE daylist (year VARCHAR(4), month VARCHAR(2), day VARCHAR(2), event_type CHAR)");
    w.Insert("daylist", {"2008", "9", "1", "0"});
    w.Insert("daylist", {"2008", "10", "2", "1"});
    w.Insert("daylist", {"2008", "09", "3", "0"});
    auto db = Sqlite2Database::FromImage(w.Image());
    const Case cases[] = {
        {"SELECT day FROM daylist WHERE (year == 2008) AND (month ==9)", {"day", "1", "3"}},
        {"SELECT day FROM daylist WHERE month = '9'", {"day", "1"}},
        {"SELECT month FROM daylist ORDER BY month", {"month", "09", "10", "9"}},
        {"SELECT max(month), count(*) FROM daylist GROUP BY month ORDER BY 1",
         {"max(month)|count(*)", "09|1", "10|1", "9|1"}},
        {"SELECT year, month FROM daylist WHERE (year*100+month)=(SELECT MAX(year*100+month) FROM daylist) "
         "GROUP BY year, month",
         {"year|month", "2008|10"}},
        {"SELECT day FROM daylist WHERE event_type != 0", {"day", "2"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Rows(*db, c.sql), c.rows) << c.sql;
}

TEST(Engine, ErrorsWithSqlite2Texts) {
    auto db = Sample();
    const std::tuple<const char*, int, const char*> cases[] = {
        {"SELECT * FROM H_20080103", sqlite2::ErrGeneric, "no such table: H_20080103"},
        {"SELECT x FROM t", sqlite2::ErrGeneric, "no such column: x"},
        {"SELECT t.x FROM t", sqlite2::ErrGeneric, "no such column: t.x"},
        {"SELECT id FROM t, u", sqlite2::ErrGeneric, "ambiguous column name: id"},
        {"SELECT nosuch(1)", sqlite2::ErrGeneric, "no such function: nosuch"},
        {"SELECT substr(1)", sqlite2::ErrGeneric, "wrong number of arguments to function substr()"},
        // Found by fuzzing: aggregates without their argument read past the argument list.
        {"SELECT avg() FROM t", sqlite2::ErrGeneric, "wrong number of arguments to function avg()"},
        {"SELECT sum(id, n) FROM t", sqlite2::ErrGeneric, "wrong number of arguments to function sum()"},
        {"SELECT id FROM t WHERE count(*) > 1", sqlite2::ErrGeneric, "misuse of aggregate function count()"},
        {"SELECT (SELECT id, n FROM t)", sqlite2::ErrGeneric, "only a single result allowed"},
        {"SELECT id FROM t UNION SELECT id, n FROM t", sqlite2::ErrGeneric, "do not have the same number"},
        {"SELECT id FROM t ORDER BY 3", sqlite2::ErrGeneric, "out of range"},
        {"INSERT INTO t VALUES(1, 2, 3, 4)", sqlite2::ErrReadOnly, "attempt to write a readonly database"},
        {"SELECT 1; DROP TABLE t", sqlite2::ErrReadOnly, "readonly"},
        {"PRAGMA integrity_check", sqlite2::ErrGeneric, "not supported"},
    };
    for (const auto& [sql, code, text] : cases) {
        int got = 0;
        const std::string message = ErrorOf(*db, sql, &got);
        EXPECT_NE(message.find(text), std::string::npos) << sql << ": " << message;
        EXPECT_EQ(got, code) << sql;
    }
}

TEST(Engine, CallbackCanStop) {
    auto db = Sample();
    int rows = 0;
    try {
        db->Exec("SELECT id FROM t", [&](int, char**, char**) { return ++rows < 2; });
        FAIL() << "no abort";
    } catch (const ESqlite2Error& e) {
        EXPECT_EQ(e.Code, sqlite2::ErrAbort);
    }
    EXPECT_EQ(rows, 2);
}

TEST(Engine, RunawayStatementStopsAtItsLimit) {
    Sqlite2Writer w;
    w.CreateTable("CREATE TABLE t (a)");
    for (int i = 0; i < 100; ++i)
        w.Insert("t", {i});
    auto db = Sqlite2Database::FromImage(w.Image());
    db->SetStepLimit(1000000);
    int code = 0;
    EXPECT_NE(ErrorOf(*db, "SELECT count(*) FROM t a, t b, t c, t d", &code).find("interrupted"),
              std::string::npos);
    EXPECT_EQ(code, sqlite2::ErrInterrupt);
    EXPECT_EQ(Rows(*db, "SELECT count(*) FROM t a, t b"), (std::vector<std::string>{"count(*)", "10000"}));
}

// Without a limit of its own: a view over nine copies of the schema table (10^9 rows) is refused long
// before it would end, and far above the work of the recorder's heaviest query on 50,000 recordings.
TEST(Engine, TheDefaultLimitRefusesARunawayViewWellAboveTheRecordersQueries) {
    namespace schema = sqlite2::recorder_schema;
    Sqlite2Writer w;
    w.CreateTable(schema::AvfileSql());
    for (int seq = 1; seq <= 50000; ++seq) {
        sqlite2::Row row(schema::AvColumnCount);
        row[schema::AvSeq] = seq;
        row[schema::AvStartDate] = "20080101000000";
        row[schema::AvEndDate] = "20080101000359";
        row[schema::AvStartTime] = 1199145600 + 240 * seq;
        row[schema::AvUpdateTime] = 1199145841 + 240 * seq;
        row[schema::AvSystemId] = "QV4CH-0012A7F3";
        for (int c = 0; c < 4; ++c)
            row[schema::AvEventType1 + c] = seq % 37 == c ? 1 : 0;
        w.Insert("avfile", row);
    }
    auto recorder = Sqlite2Database::FromImage(w.Image());
    // The file table's last page of all files: every row grouped and sorted.
    const auto page =
        Rows(*recorder, "SELECT event_type1, event_type2, event_type3, event_type4, update_time, "
                        "start_time, system_id, seq FROM avfile where start_date IS NOT NULL AND "
                        "end_date IS NOT NULL GROUP BY seq ORDER BY seq DESC LIMIT 8 OFFSET 49992");
    ASSERT_EQ(page.size(), 9u);
    const std::uint64_t real = recorder->LastStatementSteps();

    std::vector<sqlite2_test::SchemaRow> rows;
    for (int i = 0; i < 9; ++i)
        rows.push_back(
            {"table", "f" + std::to_string(i), "3", "CREATE TABLE f" + std::to_string(i) + " (x)"});
    rows.push_back({"view", "daylist", "0",
                    "CREATE VIEW daylist AS SELECT a.name AS year, b.name AS month, c.name AS day, d.name AS "
                    "event_type FROM sqlite_master a, sqlite_master b, sqlite_master c, sqlite_master d, "
                    "sqlite_master e, sqlite_master f, sqlite_master g, sqlite_master h, sqlite_master i"});
    auto hostile = Sqlite2Database::FromImage(sqlite2_test::SchemaImage(rows));
    int code = 0;
    EXPECT_NE(ErrorOf(*hostile, "SELECT MAX(year) FROM daylist", &code).find("interrupted"),
              std::string::npos);
    EXPECT_EQ(code, sqlite2::ErrInterrupt);
    const std::uint64_t refusedAt = hostile->LastStatementSteps();
    // About two seconds of work at most, and room for twenty times the heaviest real query.
    EXPECT_LE(refusedAt, 100000000u);
    EXPECT_GT(refusedAt, 20 * real) << real;
}

TEST(Engine, LaterStatementsMayReadMoreColumns) {
    auto db = Sample();
    EXPECT_EQ(Rows(*db, "SELECT id FROM t WHERE id = 2"), (std::vector<std::string>{"id", "2"}));
    EXPECT_EQ(Rows(*db, "SELECT s, u FROM t WHERE id = 2"), (std::vector<std::string>{"s|u", "a|9"}));
    EXPECT_EQ(Rows(*db, "SELECT n FROM t WHERE id = 2"), (std::vector<std::string>{"n", "10"}));
}

TEST(Engine, ReopenSeesARewrittenFile) {
    testing_support::TempDir dir;
    const std::string path = dir.File("qeldbfile_hdd.db");
    Sqlite2Writer w;
    w.CreateTable(sqlite2::recorder_schema::DaylistSql());
    w.Insert("daylist", {2008, 1, 2, 0});
    w.WriteFile(path);
    auto first = Sqlite2Database::Open(path);
    EXPECT_EQ(Sqlite2Database::Open(path), first) << "an unchanged file is not read again";
    EXPECT_EQ(Rows(*first, "SELECT MAX(year) FROM daylist"), (std::vector<std::string>{"MAX(year)", "2008"}));
    w.Insert("daylist", {2009, 3, 4, 1});
    w.WriteFile(path);
    auto second = Sqlite2Database::Open(path);
    EXPECT_NE(second, first);
    EXPECT_EQ(Rows(*second, "SELECT MAX(year) FROM daylist"),
              (std::vector<std::string>{"MAX(year)", "2009"}));
    std::filesystem::remove(path);
    EXPECT_THROW(Sqlite2Database::Open(path), ESqlite2Error) << "a deleted file is not served from memory";
}

TEST(Engine, ThreadsShareOneFile) {
    const std::string path = testing_support::FixturePath("sqlite2/pyrdb_large.db");
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 20; ++i) {
                auto db = Sqlite2Database::Open(path);
                const int seq = 100 + t * 50 + i;
                const auto rows =
                    Rows(*db, "SELECT min(seq) FROM avfile WHERE ((seq >= " + std::to_string(seq) +
                                  ") AND (count1 > 0  OR count2 > 0 OR count3 > 0 OR count4 > 0))");
                if (rows.size() != 2 || rows[1] != std::to_string(seq)) ++wrong;
            }
        });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST(CCalls, OpenExecClose) {
    testing_support::TempDir dir;
    char* error = nullptr;
    EXPECT_EQ(sqlite_open(dir.File("missing.db").c_str(), 0, &error), nullptr);
    ASSERT_NE(error, nullptr);
    EXPECT_NE(std::string(error).find("unable to open database file"), std::string::npos);
    sqlite_freemem(error);
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing.db")));

    sqlite* db = sqlite_open(testing_support::FixturePath("sqlite2/loglist.db").c_str(), 0, &error);
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(error, nullptr);
    int calls = 0;
    auto count = [](void* arg, int, char**, char**) {
        ++*static_cast<int*>(arg);
        return 0;
    };
    EXPECT_EQ(sqlite_exec(db, "SELECT seq FROM log", count, &calls, &error), SQLITE_OK);
    EXPECT_EQ(calls, 40);
    EXPECT_EQ(sqlite_exec(db, "SELECT seq FROM log", nullptr, nullptr, nullptr), SQLITE_OK);
    auto stop = [](void*, int, char**, char**) { return 1; };
    EXPECT_EQ(sqlite_exec(db, "SELECT seq FROM log", stop, nullptr, &error), SQLITE_ABORT);
    sqlite_freemem(error);
    EXPECT_EQ(sqlite_exec(db, "SELECT nothing FROM log", count, &calls, &error), SQLITE_ERROR);
    EXPECT_STREQ(error, "no such column: nothing");
    sqlite_freemem(error);
    sqlite_close(db);
    EXPECT_EQ(sqlite_exec(nullptr, "SELECT 1", nullptr, nullptr, &error), SQLITE_MISUSE);
    sqlite_freemem(error);
    EXPECT_STREQ(sqlite_error_string(SQLITE_CORRUPT), "database disk image is malformed");
    EXPECT_STREQ(sqlite_error_string(SQLITE_NOTADB), "file is encrypted or is not a database");
}

} // namespace
