// The database wrapper: rows as name-ordered maps, NULL as "", errors as sqlite_exception.
#include "recdb/SqliteDb.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testing_support::FixturePath;

std::string Hdd() {
    return FixturePath("sqlite2/qeldbfile_hdd.db");
}

std::vector<std::string> Keys(const sqlite_fields& row) {
    std::vector<std::string> keys;
    for (const auto& [name, value] : row)
        keys.push_back(name);
    return keys;
}

TEST(SqliteDb, AggregateOverAnEmptyTableGivesOneEmptyValue) {
    sqlite_db db;
    db.open(FixturePath("sqlite2/qeldbfile_empty.db"));
    const sqlite_result rows = db.query("SELECT MAX(year) FROM daylist");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (sqlite_fields{{"MAX(year)", ""}}));
    EXPECT_TRUE(db.query("SELECT day FROM daylist").empty());
    EXPECT_TRUE(db.query("").empty());
}

TEST(SqliteDb, RowsAreMapsInNameOrder) {
    sqlite_db db;
    db.open(Hdd());
    struct Case {
        const char* sql;
        std::vector<std::string> keys;
    };
    const Case cases[] = {
        {"SELECT year, month FROM daylist", {"month", "year"}},
        {"SELECT MIN(seq), MAX(seq) FROM avfile", {"MAX(seq)", "MIN(seq)"}},
        {"SELECT max(5, start_time) FROM avfile WHERE seq = 1", {"max(5, start_time)"}},
        {"SELECT seq, desc, update_time FROM (SELECT seq, file_name AS desc, update_time FROM avfile) WHERE "
         "seq = 1",
         {"desc", "seq", "update_time"}},
        {"SELECT year, year FROM daylist", {"year"}},
    };
    for (const Case& c : cases) {
        const sqlite_result rows = db.query(c.sql);
        ASSERT_FALSE(rows.empty()) << c.sql;
        EXPECT_EQ(Keys(rows[0]), c.keys) << c.sql;
    }
    const sqlite_result newest = db.query("SELECT end_date, end_time, seq FROM avfile WHERE seq = 152");
    ASSERT_EQ(newest.size(), 1u);
    EXPECT_EQ(newest[0], (sqlite_fields{{"end_date", ""}, {"end_time", ""}, {"seq", "152"}}))
        << "NULL reads as empty";
}

TEST(SqliteDb, ErrorsKeepTheHandleOpen) {
    sqlite_db db;
    db.open(Hdd());
    try {
        db.query("SELECT * FROM H_20080103");
        FAIL() << "no exception";
    } catch (const sqlite_exception& e) {
        EXPECT_STREQ(e.what(), "no such table: H_20080103");
        const Exception& base = e;
        EXPECT_EQ(base.Message, "no such table: H_20080103");
    }
    EXPECT_TRUE(db.is_open());
    EXPECT_EQ(db.query("SELECT count(*) FROM daylist")[0].at("count(*)"), "6");
}

TEST(SqliteDb, ClosedWrapper) {
    sqlite_db db;
    try {
        db.query("SELECT 1");
        FAIL() << "no exception";
    } catch (const sqlite_exception& e) {
        EXPECT_STREQ(e.what(), "No opened database");
    }
    db.close();
    db.close();
    db.open(Hdd());
    db.close();
    db.close();
    EXPECT_FALSE(db.is_open());
    EXPECT_THROW(db.query("SELECT 1"), sqlite_exception);
}

TEST(SqliteDb, MissingFileIsNeitherOpenedNorCreated) {
    testing_support::TempDir dir;
    const std::string path = dir.File("qeldbfile_hdd.db");
    sqlite_db db;
    EXPECT_THROW(db.open(path), sqlite_exception);
    EXPECT_FALSE(db.is_open());
    EXPECT_EQ(db.try_open(path), -1);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(db.try_open(Hdd()), 1);
    EXPECT_TRUE(db.is_open());
    // A failed open closes what was open before.
    EXPECT_THROW(db.open(path), sqlite_exception);
    EXPECT_FALSE(db.is_open());
}

TEST(SqliteDb, DamagedFileThrows) {
    testing_support::TempDir dir;
    const std::string path = dir.File("loglist.db");
    std::string image = testing_support::ReadFileBytes(FixturePath("sqlite2/loglist.db"));
    image[2 * 1024 + 4] = 3; // first cell offset of the log table's root, not a multiple of 4
    testing_support::WriteFileBytes(path, image);
    sqlite_db db;
    db.open(path);
    try {
        db.query("SELECT seq, desc, update_time FROM log ORDER BY seq desc");
        FAIL() << "no exception";
    } catch (const sqlite_exception& e) {
        EXPECT_NE(std::string(e.what()).find("malformed"), std::string::npos) << e.what();
    }
    testing_support::WriteFileBytes(path, "not a database at all, but long enough to look at");
    EXPECT_THROW(db.open(path), sqlite_exception);
}

TEST(SqliteDb, ReopeningSwitchesFiles) {
    sqlite_db db;
    db.open(Hdd());
    db.open(FixturePath("sqlite2/loglist.db"));
    EXPECT_EQ(db.query("SELECT count(*) FROM log")[0].at("count(*)"), "40");
    EXPECT_THROW(db.query("SELECT * FROM daylist"), sqlite_exception);
}

TEST(SqliteDb, TwoWrappersOnOneFile) {
    sqlite_db a, b;
    a.open(Hdd());
    b.open(Hdd());
    EXPECT_EQ(a.query("SELECT MAX(year) FROM daylist"), b.query("SELECT MAX(year) FROM daylist"));
    a.close();
    EXPECT_EQ(b.query("SELECT count(seq) FROM avfile")[0].at("count(seq)"), "152");
}

TEST(SqliteException, MessageIsCutTo255Bytes) {
    const std::string ascii(300, 'a');
    sqlite_exception e(ascii);
    EXPECT_EQ(std::string(e.what()), ascii.substr(0, 255));
    EXPECT_EQ(e.Message, ascii.substr(0, 255));
    const sqlite_exception copy = e;
    EXPECT_STREQ(copy.what(), e.what());
    // Three-byte characters: 85 of them fill exactly 255 bytes, the 86th would be cut in half.
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "\xE2\x80\x93";
    EXPECT_EQ(std::string(sqlite_exception(text).what()), text.substr(0, 255));
    EXPECT_EQ(std::string(sqlite_exception("x" + text).what()), ("x" + text).substr(0, 253));
    EXPECT_STREQ(sqlite_exception("short").what(), "short");
}

} // namespace
