#include "DumpReplay.h"

#include "sqlite2/Dump.h"
#include "sqlite2/Record.h"
#include "sqlite2/Sqlite2File.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>

namespace {

using sqlite2::ByteOrder;
using sqlite2::Field;
using sqlite2::Sqlite2File;
using sqlite2::Sqlite2Writer;
using testing_support::FixturePath;

std::string DumpOf(const std::string& image) {
    std::ostringstream out;
    sqlite2::DumpDatabase(Sqlite2File::FromImage(image), out);
    return out.str();
}

struct RoundTrip {
    const char* fixture;
    ByteOrder order;
};

class WriterRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

// The rows of each real file, written again by the writer, read back to the same dump.
TEST_P(WriterRoundTrip, RewrittenFixtureDumpsAlike) {
    const RoundTrip c = GetParam();
    Sqlite2Writer writer(c.order);
    const std::string dump =
        sqlite2_test::ReadText(FixturePath(std::string("sqlite2/") + c.fixture + ".dump.sql"));
    const std::string expected = sqlite2_test::ReplayDump(dump, writer);
    const std::string image = writer.Image();
    EXPECT_EQ(image.size() % 1024, 0u);
    EXPECT_EQ(DumpOf(image), expected);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, WriterRoundTrip,
                         ::testing::Values(RoundTrip{"qeldbfile_hdd", ByteOrder::Little},
                                           RoundTrip{"qeldbfile_hdd", ByteOrder::Big},
                                           RoundTrip{"loglist", ByteOrder::Little},
                                           RoundTrip{"qeldbfile_empty", ByteOrder::Little},
                                           RoundTrip{"freelist", ByteOrder::Little},
                                           RoundTrip{"pyrdb_large", ByteOrder::Little},
                                           RoundTrip{"pyrdb_large", ByteOrder::Big}));

} // namespace

namespace {

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const ESqlite2Error& e) {
        return e.Message;
    }
    return "no error";
}

TEST(Writer, Refusals) {
    Sqlite2Writer w;
    w.CreateTable("CREATE TABLE log (seq INTEGER, desc TEXT, update_time INTEGER);");
    w.CreateTable(sqlite2::recorder_schema::AvfileSql());
    const std::pair<std::function<void()>, const char*> cases[] = {
        {[&] { w.CreateTable("CREATE TABLE LOG (x)"); }, "already exists"},
        {[&] { w.CreateTable("CREATE TABLE u (a TEXT UNIQUE)"); }, "index rows"},
        {[&] { w.CreateTable("CREATE TABLE u (a INT PRIMARY KEY)"); }, "index rows"},
        {[&] { w.CreateTable("CREATE TABLE u (a, b, PRIMARY KEY(a, b))"); }, "index rows"},
        {[&] { w.CreateTable("CREATE TABLE sqlite_x (a)"); }, "reserved"},
        {[&] { w.CreateTable("CREATE TEMP TABLE u (a)"); }, "temporary"},
        {[&] { w.CreateTable("CREATE VIEW v AS SELECT 1"); }, "syntax error"},
        {[&] { w.Insert("nosuch", {1}); }, "no such table: nosuch"},
        {[&] {
             w.Insert("log", {1, "x"});
         },
         "has 3 columns but 2 values"},
        {[&] {
             w.Insert("log", {1, std::string("a\0b", 3), 2});
         },
         "zero byte"},
        {[&] {
             w.Insert("log", {1, std::string(1048577, 'x'), 2});
         },
         "too large"},
        {[&] {
             w.InsertWithRowid("log", 5, {1, "x", 2}), w.InsertWithRowid("log", 5, {1, "y", 2});
         },
         "must be unique"},
        {[&] {
             sqlite2::Row row(sqlite2::recorder_schema::AvColumnCount);
             row[0] = "seven";
             w.Insert("avfile", row);
         },
         "datatype mismatch"},
        {[&] {
             sqlite2::Row row(sqlite2::recorder_schema::AvColumnCount);
             row[0] = "4294967296";
             w.Insert("avfile", row);
         },
         "datatype mismatch"},
    };
    for (const auto& [action, text] : cases) {
        const std::string message = ErrorOf(action);
        EXPECT_NE(message.find(text), std::string::npos) << text << " / " << message;
    }
    EXPECT_EQ(w.ColumnNames("log"), (std::vector<std::string>{"seq", "desc", "update_time"}));
}

TEST(Writer, RowidsAndRecordSizes) {
    Sqlite2Writer w(ByteOrder::Big);
    w.CreateTable("CREATE TABLE t (id INTEGER PRIMARY KEY, body TEXT)");
    EXPECT_EQ(w.Insert("t", {nullptr, "a"}), 1);
    EXPECT_EQ(w.Insert("t", {"-7", "negative rowid"}), -7);
    EXPECT_EQ(w.Insert("t", {nullptr, std::string(300, 'b')}), 2);   // 2-byte record header
    EXPECT_EQ(w.Insert("t", {"100", std::string(70000, 'c')}), 100); // 3-byte header, 69 overflow pages
    EXPECT_EQ(w.Insert("t", {nullptr, ""}), 101);
    EXPECT_EQ(w.Insert("t", {nullptr, nullptr}), 102);
    EXPECT_EQ(w.RowCount("t"), 6u);
    const std::string dump = DumpOf(w.Image());
    EXPECT_NE(dump.find("INSERT INTO t VALUES(-7,'negative rowid');\nINSERT INTO t VALUES(1,'a');\n"),
              std::string::npos);
    EXPECT_NE(dump.find("INSERT INTO t VALUES(2,'" + std::string(300, 'b') + "');"), std::string::npos);
    EXPECT_NE(dump.find("INSERT INTO t VALUES(100,'" + std::string(70000, 'c') + "');"), std::string::npos);
    EXPECT_NE(dump.find("INSERT INTO t VALUES(101,'');\nINSERT INTO t VALUES(102,NULL);\n"),
              std::string::npos);
    // Big-endian page integers, byte-order independent keys.
    const std::string image = w.Image();
    EXPECT_EQ(image.substr(48, 4), std::string("\xDA\xE3\x75\x28", 4));
}

TEST(Writer, DeepTreesAndEmptyFiles) {
    Sqlite2Writer w;
    EXPECT_EQ(w.Image().size(), 2048u) << "page 1 and an empty schema page";
    EXPECT_EQ(DumpOf(w.Image()), "BEGIN TRANSACTION;\nCOMMIT;\n");
    w.CreateTable(sqlite2::recorder_schema::DaylistSql());
    for (int i = 0; i < 30000; ++i)
        w.Insert("daylist", {2000 + i / 372, i / 31 % 12 + 1, i % 31 + 1, i % 2});
    const Sqlite2File file = Sqlite2File::FromImage(w.Image());
    int rows = 0;
    std::int32_t last = 0;
    std::vector<sqlite2::FieldView> fields;
    file.WalkTable(3, [&](std::int32_t rowid, std::string_view record) {
        sqlite2::DecodeRecord(record, 4, fields);
        EXPECT_EQ(rowid, last + 1);
        last = rowid;
        ++rows;
        return true;
    });
    EXPECT_EQ(rows, 30000);
}

TEST(Writer, WriteFileReplacesWholeFiles) {
    testing_support::TempDir dir;
    const std::string path = dir.File("qeldbfile_hdd.db");
    testing_support::WriteFileBytes(path, "old contents");
    Sqlite2Writer w;
    w.CreateTable(sqlite2::recorder_schema::LogSql());
    w.Insert("log", {1, "Power on", 1199260860});
    w.WriteFile(path);
    EXPECT_EQ(testing_support::ReadFileBytes(path), w.Image());
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
        1)
        << "no temporary file left behind";
    EXPECT_THROW(w.WriteFile(dir.File("no/such/folder/db")), ESqlite2Error);
}

} // namespace
