// Every query of queries.txt against what the real SQLite 2 printed for it (expected.txt).
#include "DumpReplay.h"

#include "sqlite2/Sqlite2Database.h"
#include "tests/sqlite2/QueryRows.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

namespace {

struct Expected {
    std::string id;
    std::string db;
    std::string sql;
    std::vector<std::string> lines; // header (when there are rows) and rows
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

std::vector<Expected> ReadExpected() {
    const std::vector<std::string> lines =
        Lines(sqlite2_test::ReadText(testing_support::FixturePath("sqlite2/expected.txt")));
    std::vector<Expected> out;
    std::string db;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("@db ", 0) == 0) db = lines[i].substr(4);
        if (lines[i].rfind("@id ", 0) != 0) continue;
        Expected e;
        e.id = lines[i].substr(4, 3);
        e.db = db;
        e.sql = lines[i + 1].substr(5);
        for (i += 3; lines[i] != "@end"; ++i)
            e.lines.push_back(lines[i]);
        out.push_back(std::move(e));
    }
    return out;
}

// Groups without ORDER BY come in an order that means nothing: compare those as sets.
const std::set<std::string> kUnordered = {"032", "033", "034", "035", "036", "037", "038",
                                          "039", "089", "090", "117", "118", "119", "166"};

bool Same(const Expected& e, std::vector<std::string> got) {
    if (!kUnordered.count(e.id)) return got == e.lines;
    std::vector<std::string> want = e.lines;
    if (got.empty() || want.empty()) return got == want;
    if (got[0] != want[0]) return false;
    std::sort(got.begin() + 1, got.end());
    std::sort(want.begin() + 1, want.end());
    return got == want;
}

class Queries : public ::testing::TestWithParam<bool> {};

TEST_P(Queries, AllMatchTheRealLibrary) {
    const bool bigEndian = GetParam();
    const std::vector<Expected> expected = ReadExpected();
    ASSERT_EQ(expected.size(), 173u);
    int matching = 0;
    for (const Expected& e : expected) {
        std::string file = e.db;
        if (bigEndian && file == "qeldbfile_hdd.db") file = "qeldbfile_hdd_be.db";
        auto db = sqlite2::Sqlite2Database::Open(testing_support::FixturePath("sqlite2/" + file));
        std::vector<std::string> got;
        try {
            got = sqlite2_test::Rows(*db, e.sql);
        } catch (const std::exception& ex) {
            ADD_FAILURE() << e.id << ": " << ex.what();
            continue;
        }
        if (Same(e, got))
            ++matching;
        else
            ADD_FAILURE() << e.id << " " << e.sql << "\nwant: " << ::testing::PrintToString(e.lines)
                          << "\ngot:  " << ::testing::PrintToString(got);
    }
    EXPECT_EQ(matching, 173);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, Queries, ::testing::Values(false, true));

} // namespace
