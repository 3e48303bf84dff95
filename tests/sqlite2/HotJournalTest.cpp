// A database with the rollback journal of an unfinished transaction beside it reads as it was before
// that transaction; neither file is ever written. The hot/ fixtures were left by the real SQLite 2.8.17
// writer killed inside its transaction; the real library's own rollback of each gives back, byte for
// byte, the fixture it was made from.
#include "DumpReplay.h"

#include "sqlite2/Dump.h"
#include "sqlite2/Sqlite2Database.h"
#include "tests/sqlite2/ExpectedQueries.h"
#include "tests/sqlite2/QueryRows.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

using testing_support::FixturePath;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

std::string Fixture(const std::string& name) {
    return ReadFileBytes(FixturePath("sqlite2/" + name));
}

std::string DumpOf(const sqlite2::Sqlite2File& file) {
    std::ostringstream out;
    sqlite2::DumpDatabase(file, out);
    return out.str();
}

TEST(HotJournal, EachPairReadsAsTheFileItWasMadeFrom) {
    struct Pair {
        const char* name;
        const char* original;
        const char* queries; // whose answers in expected.txt hold for the original
        bool malformedAlone;
    };
    const Pair pairs[] = {
        {"hot_append", "pyrdb_large", "pyrdb_large.db", true},        // synced: 127 of 132 records count
        {"hot_append_nosync", "pyrdb_large", "pyrdb_large.db", true}, // not synced: count from the size
        {"hot_be", "qeldbfile_hdd_be", "qeldbfile_hdd.db", true},     // big-endian database
        {"hot_header", "qeldbfile_hdd", "qeldbfile_hdd.db", false},   // nothing written to the file yet
    };
    const std::vector<sqlite2_test::Expected> expected = sqlite2_test::ReadExpected();
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.name);
        const std::string image = Fixture(std::string("hot/") + pair.name + ".db");
        const std::string journal = Fixture(std::string("hot/") + pair.name + ".db-journal");
        const std::string dump = Fixture(std::string(pair.original) + ".dump.sql");
        if (pair.malformedAlone) {
            EXPECT_THROW(DumpOf(sqlite2::Sqlite2File::FromImage(image)), ESqlite2Error) << "read alone";
        }

        // On the recorder disk: the database and the journal SQLite 2 names beside it.
        testing_support::TempDir dir;
        const std::string path = dir.File("pyrdb");
        WriteFileBytes(path, image);
        WriteFileBytes(path + "-journal", journal);
        const auto before = std::filesystem::last_write_time(path);
        const auto journalBefore = std::filesystem::last_write_time(path + "-journal");

        EXPECT_TRUE(DumpOf(sqlite2::Sqlite2File::Load(path)) == dump) << "dump differs from the original's";
        auto db = sqlite2::Sqlite2Database::Open(path);
        int queries = 0;
        for (const sqlite2_test::Expected& e : expected)
            if (e.db == pair.queries) {
                sqlite2_test::Matches(*db, e);
                ++queries;
            }
        EXPECT_GT(queries, 20);

        EXPECT_TRUE(ReadFileBytes(path) == image) << "the database was written";
        EXPECT_TRUE(ReadFileBytes(path + "-journal") == journal) << "the journal was written";
        EXPECT_EQ(std::filesystem::last_write_time(path), before);
        EXPECT_EQ(std::filesystem::last_write_time(path + "-journal"), journalBefore);
    }
}

// Journals written here in each format, over a copy of qeldbfile_hdd.db whose page 5 (the root of
// avfile) an unfinished transaction overwrote and which it grew by two pages.
class JournalBuilder {
public:
    explicit JournalBuilder(int format) : format_(format) {}
    struct Record {
        std::uint32_t page;
        std::string bytes;
        bool torn = false; // a checksum that does not match
    };

    std::string Build(std::uint32_t pageCount, const std::vector<Record>& records,
                      std::uint32_t synced = kCountRecords) const {
        std::string out = std::string("\xD9\xD5\x05\xF9\x20\xA1\x63", 7) + static_cast<char>(0xD3 + format_);
        if (format_ == 3) {
            Put(out, synced == kCountRecords ? static_cast<std::uint32_t>(records.size()) : synced);
            Put(out, kSeed);
        }
        Put(out, pageCount);
        for (const Record& r : records) {
            Put(out, r.page);
            out += r.bytes;
            if (format_ == 3) Put(out, kSeed + r.page + (r.torn ? 1 : 0));
        }
        return out;
    }

    static constexpr std::uint32_t kCountRecords = 0xFFFFFFFEu;
    static constexpr std::uint32_t kNotSynced = 0xFFFFFFFFu;

private:
    // Format 1 in the database's (little-endian) order, the others big-endian.
    void Put(std::string& out, std::uint32_t v) const {
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>(v >> (format_ == 1 ? 8 * i : 24 - 8 * i));
    }
    static constexpr std::uint32_t kSeed = 0xFFFFFFF0u; // checksums wrap around 2^32
    int format_;
};

std::string PageOf(const std::string& image, std::uint32_t page) {
    return image.substr(std::size_t(page - 1) * 1024, 1024);
}

TEST(HotJournal, PlayedBackAsTheWriterWould) {
    const std::string original = Fixture("qeldbfile_hdd.db");
    const std::string dump = Fixture("qeldbfile_hdd.dump.sql");
    const std::string garbage(1024, '\xEE');
    std::string damaged = original;
    damaged.replace(4 * 1024, 1024, garbage);
    damaged += garbage + garbage;
    const std::string page5 = PageOf(original, 5);
    const std::string cutShort = original.substr(0, 40 * 1024);
    std::vector<JournalBuilder::Record> tail;
    for (std::uint32_t p = 41; p <= 52; ++p)
        tail.push_back({p, PageOf(original, p)});
    const JournalBuilder f1(1), f2(2), f3(3);
    const std::string good = f3.Build(52, {{5, page5}});

    struct Case {
        const char* what;
        const std::string& file;
        std::string journal;
        int code; // 0: reads as `want`, else the error and a part of its text in `want`
        std::string want;
    };
    const std::string empty = "BEGIN TRANSACTION;\nCOMMIT;\n";
    const Case cases[] = {
        {"no journal", damaged, "", sqlite2::ErrCorrupt, "malformed"},
        {"format 3", damaged, good, 0, dump},
        {"format 3, not synced", damaged, f3.Build(52, {{5, page5}}, JournalBuilder::kNotSynced), 0, dump},
        {"format 2", damaged, f2.Build(52, {{5, page5}}), 0, dump},
        {"format 1, the database's byte order", damaged, f1.Build(52, {{5, page5}}), 0, dump},
        {"unknown format", original, "an unfinished transaction", sqlite2::ErrCorrupt, "unknown format"},
        {"cut inside its header: ignored", original, good.substr(0, 19), 0, dump},
        {"cut inside its header, over a changed file", damaged, good.substr(0, 19), sqlite2::ErrCorrupt,
         "malformed"},
        {"no synced records", damaged, f3.Build(52, {{5, page5}}, 0), sqlite2::ErrCorrupt, "malformed"},
        {"records past the synced count", damaged, f3.Build(52, {{5, page5}, {1, garbage}}, 1), 0, dump},
        {"torn record ends the playback", damaged, f3.Build(52, {{5, page5, true}}), sqlite2::ErrCorrupt,
         "malformed"},
        {"torn record after a good one", damaged, f3.Build(52, {{5, page5}, {1, garbage, true}}), 0, dump},
        {"page 0 ends the playback", damaged, f3.Build(52, {{0, garbage}, {5, page5}}), sqlite2::ErrCorrupt,
         "malformed"},
        {"record past the old size is skipped", damaged, f3.Build(52, {{53, garbage}, {5, page5}}), 0, dump},
        {"record cut by the end of the file", damaged,
         f3.Build(52, {{5, page5}}, 2) + f3.Build(52, {{1, garbage}}).substr(20, 600), 0, dump},
        {"later record of a page wins", damaged, f3.Build(52, {{5, garbage}, {5, page5}}), 0, dump},
        {"a garbage page 1 is played", damaged, f3.Build(52, {{5, page5}, {1, garbage}}), sqlite2::ErrNotADb,
         "not a database"},
        {"pages past the file's end given back", cutShort, f3.Build(52, tail), 0, dump},
        {"pages neither in the file nor the journal read as zeros", original, f3.Build(60, {}), 0, dump},
        {"database empty before the transaction", damaged, f3.Build(0, {}), 0, empty},
        {"names a database too large to load", original, f3.Build(0x7FFFFFFF, {}), sqlite2::ErrCorrupt,
         "names a database of"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            const std::string got = DumpOf(sqlite2::Sqlite2File::FromImage(c.file, c.journal));
            EXPECT_EQ(c.code, 0) << "read without error";
            EXPECT_TRUE(got == c.want) << got.substr(0, 200);
        } catch (const ESqlite2Error& e) {
            EXPECT_EQ(e.Code, c.code) << e.Message;
            EXPECT_NE(e.Message.find(c.want), std::string::npos) << e.Message;
        }
    }
}

// The journal is looked for beside the file each time it is opened: one that appears or goes away is
// never answered from what was read before.
TEST(HotJournal, FoundBesideTheFileOnEveryOpen) {
    testing_support::TempDir dir;
    const std::string path = dir.File("pyrdb");
    WriteFileBytes(path, Fixture("qeldbfile_hdd.db"));
    const auto count = [&] {
        return sqlite2_test::Rows(*sqlite2::Sqlite2Database::Open(path), "SELECT count(*) FROM avfile");
    };
    const std::vector<std::string> rows = {"count(*)", "152"};
    EXPECT_EQ(count(), rows);
    // A journal of a transaction that began on an empty file.
    WriteFileBytes(path + "-journal", JournalBuilder(3).Build(0, {}));
    EXPECT_THROW(count(), ESqlite2Error) << "the empty database has no avfile";
    std::filesystem::remove(path + "-journal");
    EXPECT_EQ(count(), rows);

    std::filesystem::create_directory(path + "-journal");
    try {
        sqlite2::Sqlite2Database::Open(path);
        FAIL() << "a journal that cannot be read was ignored";
    } catch (const ESqlite2Error& e) {
        EXPECT_EQ(e.Code, sqlite2::ErrCantOpen) << e.Message;
        EXPECT_NE(e.Message.find("rollback journal"), std::string::npos) << e.Message;
    }
}

} // namespace
