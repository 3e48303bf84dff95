// Damaged and hostile files: every fault the reader follows is reported as an error with a clear text,
// never a crash, a hang or a huge allocation.
#include "DumpReplay.h"

#include "sqlite2/BTreeImage.h"
#include "sqlite2/Dump.h"
#include "sqlite2/Sqlite2Database.h"
#include "sqlite2/Sqlite2Writer.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>

namespace {

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

// A file whose schema rows are given as they are, valid or not (type, name, root page, sql).
std::string RawImage(const std::vector<std::array<std::string, 4>>& rows) {
    sqlite2::BTreeImage image(false);
    const std::uint32_t master = image.AllocatePage();
    std::vector<std::string> records;
    for (const auto& r : rows) {
        const std::string fields[5] = {r[0], r[1], r[1], r[2], r[3]};
        std::string body;
        std::string header(6, '\0');
        std::size_t offset = 6;
        for (int i = 0; i < 5; ++i) {
            header[i] = static_cast<char>(offset);
            body += fields[i] + '\0';
            offset += fields[i].size() + 1;
        }
        header[5] = static_cast<char>(offset);
        records.push_back(header + body);
        EXPECT_LT(offset, 256u) << "keep these rows short";
    }
    std::vector<sqlite2::BTreeImage::Entry> entries;
    for (std::size_t i = 0; i < records.size(); ++i)
        entries.push_back({static_cast<std::int32_t>(i + 1), &records[i]});
    image.WriteTable(master, entries);
    return image.Finish(1);
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

TEST(HostileFile, HostileSchemaTextsFailCleanly) {
    struct Case {
        std::vector<std::array<std::string, 4>> rows;
        std::string sql;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{{"view", "v", "0", "CREATE VIEW v AS SELECT * FROM v"}}, "SELECT * FROM v", "nested too deeply"},
        {{{"view", "a", "0", "CREATE VIEW a AS SELECT * FROM b"},
          {"view", "b", "0", "CREATE VIEW b AS SELECT * FROM a"}},
         "SELECT * FROM a",
         "nested too deeply"},
        {{{"table", "t", "3", "CREATE TABLE t (a, a)"}}, "SELECT * FROM t", "duplicate column name"},
        {{{"table", "t", "99", "CREATE TABLE t (a)"}}, "SELECT * FROM t", "root page"},
        {{{"table", "t", "3", "DROP TABLE t"}}, "SELECT * FROM t", "malformed database schema"},
        {{{"view", "v", "0", "CREATE VIEW v AS DELETE FROM t"}},
         "SELECT * FROM v",
         "malformed database schema"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows[0][3]);
        EXPECT_NE(ErrorOf(RawImage(c.rows), c.sql).find(c.error), std::string::npos)
            << ErrorOf(RawImage(c.rows), c.sql);
    }
}

} // namespace
