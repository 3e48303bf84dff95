// Damaged and hostile files: every fault the reader follows is reported as an error with a clear text,
// never a crash, a hang or a huge allocation.
#include "DumpReplay.h"

#include "sqlite2/Dump.h"
#include "sqlite2/Sqlite2Database.h"
#include "sqlite2/Sqlite2Writer.h"
#include "tests/sqlite2/QueryRows.h"
#include "tests/sqlite2/SchemaImage.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <sstream>

namespace {

using sqlite2_test::SchemaRow;
using testing_support::FixturePath;

std::string Fixture(const char* name) {
    return sqlite2_test::ReadText(FixturePath(std::string("sqlite2/") + name));
}

std::size_t At(int page, int offset) {
    return std::size_t(page - 1) * 1024 + offset;
}

void Put16(std::string& image, int page, int offset, unsigned v) {
    image[At(page, offset)] = static_cast<char>(v & 0xFF);
    image[At(page, offset) + 1] = static_cast<char>(v >> 8);
}

void Put32(std::string& image, int page, int offset, unsigned v) {
    for (int i = 0; i < 4; ++i)
        image[At(page, offset) + i] = static_cast<char>(v >> (8 * i));
}

void Replace(std::string& image, const std::string& from, const std::string& to) {
    const std::size_t at = image.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    image.replace(at, from.size(), to);
}

// Opens the image and reads every table; returns the error, or nothing when all went through.
std::optional<ESqlite2Error> ReadAll(const std::string& image) {
    try {
        auto db = sqlite2::Sqlite2Database::FromImage(image);
        for (const sqlite2::MasterRow& row : db->GetSchema().Rows())
            if (row.type && *row.type == "table" && row.name)
                db->Exec("SELECT * FROM \"" + *row.name + "\"", [](int, char**, char**) { return true; });
        std::ostringstream dump;
        sqlite2::DumpDatabase(db->File(), dump);
    } catch (const ESqlite2Error& e) {
        return e;
    }
    return std::nullopt;
}

// A table of one row whose 2000-byte value runs over two overflow pages: page 2 is the schema, page 3
// the table, pages 4 and 5 the chain.
std::string LongRowImage() {
    sqlite2::Sqlite2Writer w;
    w.CreateTable("CREATE TABLE t (v TEXT)");
    w.Insert("t", {std::string(2000, 'x')});
    return w.Image();
}

struct Damage {
    const char* what;
    std::function<void(std::string&)> apply;
    int code;
    const char* text;
};

TEST(HostileFile, EachDamageIsReported) {
    const std::string hdd = Fixture("qeldbfile_hdd.db");
    const std::string log = Fixture("loglist.db");
    const std::string longRow = LongRowImage();
    // In qeldbfile_hdd.db page 5 is the root of avfile: right child 51, first cell at 8 (left child 24,
    // next cell 196, 169 data bytes), first free block at 756.
    const std::vector<std::pair<const std::string*, Damage>> cases = {
        {&hdd, {"magic text", [](std::string& f) { f[3] = 'X'; }, sqlite2::ErrNotADb, "not a database"}},
        {&hdd,
         {"magic number", [](std::string& f) { Put32(f, 1, 48, 0x12345678); }, sqlite2::ErrNotADb,
          "not a database"}},
        {&hdd,
         {"format number", [](std::string& f) { Put32(f, 1, 64, 3); }, sqlite2::ErrFormat, "file format"}},
        {&hdd,
         {"shorter than a page", [](std::string& f) { f.resize(500); }, sqlite2::ErrNotADb,
          "not a database"}},
        {&hdd,
         {"truncated", [](std::string& f) { f.resize(40 * 1024 + 100); }, sqlite2::ErrCorrupt,
          "outside the file"}},
        {&hdd,
         {"right child loops", [](std::string& f) { Put32(f, 5, 0, 5); }, sqlite2::ErrCorrupt,
          "reached twice"}},
        {&hdd,
         {"left child loops", [](std::string& f) { Put32(f, 5, 8, 5); }, sqlite2::ErrCorrupt,
          "reached twice"}},
        {&hdd,
         {"child beyond the file", [](std::string& f) { Put32(f, 5, 8, 70000); }, sqlite2::ErrCorrupt,
          "outside the file"}},
        {&hdd,
         {"child is page 1", [](std::string& f) { Put32(f, 5, 8, 1); }, sqlite2::ErrCorrupt,
          "outside the file"}},
        {&hdd,
         {"cell offset not aligned", [](std::string& f) { Put16(f, 5, 4, 6); }, sqlite2::ErrCorrupt,
          "bad cell offset"}},
        {&hdd,
         {"cell offset at the page end", [](std::string& f) { Put16(f, 5, 4, 1020); }, sqlite2::ErrCorrupt,
          "bad cell offset"}},
        {&hdd,
         {"cell chain loops", [](std::string& f) { Put16(f, 5, 8 + 6, 8); }, sqlite2::ErrCorrupt, "overlap"}},
        {&hdd, {"key of five bytes", [](std::string& f) { Put16(f, 5, 8 + 4, 5); }, sqlite2::ErrCorrupt, ""}},
        {&hdd, {"huge data size", [](std::string& f) { f[At(5, 8 + 9)] = '\xFF'; }, sqlite2::ErrCorrupt, ""}},
        {&hdd,
         {"leaf cell on an interior page", [](std::string& f) { Put32(f, 5, 8, 0); }, sqlite2::ErrCorrupt,
          "mixed leaf and interior"}},
        {&hdd,
         {"free space miscounted", [](std::string& f) { Put16(f, 5, 756, 4); }, sqlite2::ErrCorrupt,
          "do not fill the page"}},
        {&hdd,
         {"free block offset backwards", [](std::string& f) { Put16(f, 5, 6, 7); }, sqlite2::ErrCorrupt,
          "free block"}},
        {&hdd,
         {"record has too few offsets", [](std::string& f) { f[At(5, 8 + 16)] = 0x14; }, sqlite2::ErrCorrupt,
          "record"}},
        {&hdd,
         {"field without its zero", [](std::string& f) { f[At(5, 8 + 16 + 0x34 - 1)] = 'x'; },
          sqlite2::ErrCorrupt, "terminating zero"}},
        {&hdd,
         {"schema text broken",
          [](std::string& f) { Replace(f, "CREATE TABLE avfile", "CREATE TABLX avfile"); },
          sqlite2::ErrCorrupt, "malformed database schema"}},
        {&hdd,
         {"schema root page zero",
          [](std::string& f) {
              Replace(f,
                      std::string("avfile\0avfile\0"
                                  "5",
                                  15),
                      std::string("avfile\0avfile\0"
                                  "0",
                                  15));
          },
          sqlite2::ErrCorrupt, "root page"}},
        {&log,
         {"rowids out of order", [](std::string& f) { f[At(3, 8 + 12 + 3)] = '\x7F'; }, sqlite2::ErrCorrupt,
          "rowids out of order"}},
        {&longRow,
         {"overflow chain loops", [](std::string& f) { Put32(f, 4, 0, 4); }, sqlite2::ErrCorrupt,
          "reached twice"}},
        {&longRow,
         {"overflow chain too short", [](std::string& f) { Put32(f, 4, 0, 0); }, sqlite2::ErrCorrupt,
          "outside the file"}},
        {&longRow,
         {"overflow chain too long", [](std::string& f) { Put32(f, 5, 0, 3); }, sqlite2::ErrCorrupt,
          "longer than its payload"}},
    };
    ASSERT_FALSE(ReadAll(hdd)) << "the intact file reads";
    ASSERT_FALSE(ReadAll(log));
    ASSERT_FALSE(ReadAll(longRow));
    for (const auto& [original, d] : cases) {
        SCOPED_TRACE(d.what);
        std::string image = *original;
        d.apply(image);
        const std::optional<ESqlite2Error> error = ReadAll(image);
        ASSERT_TRUE(error.has_value()) << "no error reported";
        EXPECT_EQ(error->Code, d.code) << error->Message;
        EXPECT_NE(error->Message.find(d.text), std::string::npos) << error->Message;
    }
}

// Random damage to every small real file: errors are fine, crashes and hangs are not (the sanitizer build
// checks memory too).
TEST(HostileFile, RandomDamageNeverCrashes) {
    std::mt19937 random(20240611);
    for (const char* name :
         {"qeldbfile_hdd.db", "qeldbfile_hdd_be.db", "loglist.db", "typeless.db", "qeldbfile_empty.db"}) {
        const std::string original = Fixture(name);
        int errors = 0;
        for (int round = 0; round < 150; ++round) {
            std::string image = original;
            const int edits = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < edits; ++i)
                image[random() % image.size()] = static_cast<char>(random());
            if (round % 10 == 0) image.resize(random() % image.size());
            errors += ReadAll(image).has_value();
        }
        EXPECT_GT(errors, 0) << name << ": damage was never noticed";
    }
}

TEST(HostileFile, MissingFileIsNotCreated) {
    testing_support::TempDir dir;
    const std::string path = dir.File("absent.db");
    try {
        sqlite2::Sqlite2Database::Open(path);
        FAIL() << "opened a missing file";
    } catch (const ESqlite2Error& e) {
        EXPECT_EQ(e.Code, sqlite2::ErrCantOpen);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

std::string ErrorOf(const std::string& image, const std::string& sql) {
    try {
        auto db = sqlite2::Sqlite2Database::FromImage(image);
        db->Exec(sql, [](int, char**, char**) { return true; });
    } catch (const ESqlite2Error& e) {
        return e.Message;
    }
    return "no error";
}

// `text` wrapped in n levels of "(... + 1)".
std::string Nested(std::string text, int levels) {
    for (int i = 0; i < levels; ++i)
        text = "(" + text + " + 1)";
    return text;
}

std::string Repeated(const std::string& item, const char* separator, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += (i ? separator : "") + item + std::to_string(i);
    return out;
}

// Views nested through deep expressions: each wraps a subquery of the one before in `levels` levels.
std::vector<SchemaRow> DeepViews(int views, int levels) {
    std::vector<SchemaRow> rows = {{"table", "t", "3", "CREATE TABLE t (x)"},
                                   {"view", "v0", "0", "CREATE VIEW v0 AS SELECT x FROM t"}};
    for (int i = 1; i <= views; ++i) {
        const std::string name = "v" + std::to_string(i);
        rows.push_back({"view", name, "0",
                        "CREATE VIEW " + name + " AS SELECT " +
                            Nested("(SELECT x FROM v" + std::to_string(i - 1) + ")", levels) +
                            " AS x FROM t"});
    }
    return rows;
}

// Views whose compiled text doubles at every level: v0 holds a long literal, each next one joins eight
// copies of the one before.
std::vector<SchemaRow> WideTextViews() {
    std::vector<SchemaRow> rows = {
        {"table", "t", "3", "CREATE TABLE t (x)"},
        {"view", "v0", "0", "CREATE VIEW v0 AS SELECT '" + std::string(20000, 'z') + "' AS x FROM t"}};
    for (int i = 1; i <= 3; ++i) {
        const std::string name = "v" + std::to_string(i);
        rows.push_back({"view", name, "0",
                        "CREATE VIEW " + name + " AS SELECT c0.x AS x FROM " +
                            Repeated("v" + std::to_string(i - 1) + " c", ", ", 8)});
    }
    return rows;
}

// Hostile schema texts and statements end in an error naming the limit, within the reader's budgets
// (view nesting, compile recursion, compile work, expression height), while nesting of sensible depth
// still answers.
TEST(HostileFile, HostileSchemaTextsFailCleanly) {
    struct Case {
        const char* what;
        std::vector<SchemaRow> rows;
        std::string sql;
        std::string error; // "" for a statement that answers
    };
    const std::vector<SchemaRow> table = {{"table", "t", "3", "CREATE TABLE t (x)"}};
    const std::vector<Case> cases = {
        {"view of itself",
         {{"view", "v", "0", "CREATE VIEW v AS SELECT * FROM v"}},
         "SELECT * FROM v",
         "nested too deeply"},
        {"two views of each other",
         {{"view", "a", "0", "CREATE VIEW a AS SELECT * FROM b"},
          {"view", "b", "0", "CREATE VIEW b AS SELECT * FROM a"}},
         "SELECT * FROM a",
         "nested too deeply"},
        {"duplicate column",
         {{"table", "t", "3", "CREATE TABLE t (a, a)"}},
         "SELECT * FROM t",
         "duplicate column name"},
        {"duplicate column in other letter case",
         {{"table", "t", "3", "CREATE TABLE t (a, B, b)"}},
         "SELECT * FROM t",
         "duplicate column name: b"},
        {"root page outside", {{"table", "t", "99", "CREATE TABLE t (a)"}}, "SELECT * FROM t", "root page"},
        {"not a CREATE",
         {{"table", "t", "3", "DROP TABLE t"}},
         "SELECT * FROM t",
         "malformed database schema"},
        {"view of a DELETE",
         {{"view", "v", "0", "CREATE VIEW v AS DELETE FROM t"}},
         "SELECT * FROM v",
         "malformed database schema"},
        {"self-joining views 5 deep", sqlite2_test::ViewChainRows(5), "SELECT count(*) FROM v5", ""},
        {"self-joining views 14 deep: 16,384 copies", sqlite2_test::ViewChainRows(14),
         "SELECT count(*) FROM v14", "statement too complex"},
        {"compiled text of views doubling", WideTextViews(), "SELECT count(*) FROM v3",
         "statement too complex"},
        {"views through deep expressions", DeepViews(5, 60), "SELECT x FROM v5",
         "nested too deeply (maximum depth"},
        {"views through shallow expressions", DeepViews(3, 3), "SELECT x FROM v3", ""},
        {"expression chain of 300 terms", table, "SELECT 1 FROM t WHERE " + Repeated("x = ", " OR ", 300),
         "expression tree is too large"},
        {"view of such a chain",
         {{"view", "v", "0", "CREATE VIEW v AS SELECT " + Repeated("", " + ", 300) + " AS x"}},
         "SELECT x FROM v",
         "malformed database schema - view v: expression tree is too large"},
        {"IN list of 100,000 items", table, "SELECT 1 FROM t WHERE x IN (" + Repeated("", ", ", 100000) + ")",
         "statement too complex"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string error = ErrorOf(sqlite2_test::SchemaImage(c.rows), c.sql);
        if (c.error.empty())
            EXPECT_EQ(error, "no error");
        else
            EXPECT_NE(error.find(c.error), std::string::npos) << "got: " << error;
    }
}

// Tables and views are found by name, ASCII letters without case, the first row of a name winning, in
// a schema of thousands.
TEST(HostileFile, ManyTablesAreFoundByName) {
    std::vector<SchemaRow> rows;
    for (int i = 0; i < 3000; ++i)
        rows.push_back(
            {"table", "t" + std::to_string(i), "3", "CREATE TABLE t" + std::to_string(i) + " (a, b)"});
    rows.push_back({"table", "T7", "3", "CREATE TABLE T7 (c)"});
    rows.push_back({"view", "V", "0", "CREATE VIEW V AS SELECT 1 AS one"});
    rows.push_back({"view", "v", "0", "CREATE VIEW v AS SELECT 2 AS two"});
    auto db = sqlite2::Sqlite2Database::FromImage(sqlite2_test::SchemaImage(rows));
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"SELECT count(*) FROM T2999", {"count(*)", "0"}},
        {"SELECT a, b FROM t7", {}},
        {"SELECT * FROM v", {"one", "1"}},
        {"SELECT count(*) FROM sqlite_master", {"count(*)", "3003"}},
    };
    for (const auto& [sql, want] : cases)
        EXPECT_EQ(sqlite2_test::Rows(*db, sql), want) << sql;
    EXPECT_NE(ErrorOf(sqlite2_test::SchemaImage(rows), "SELECT c FROM T7").find("no such column"),
              std::string::npos);
}

} // namespace
