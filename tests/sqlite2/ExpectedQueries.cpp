#include "ExpectedQueries.h"

#include "DumpReplay.h"
#include "tests/sqlite2/QueryRows.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

namespace sqlite2_test {

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
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

} // namespace

std::vector<Expected> ReadExpected() {
    const std::vector<std::string> lines =
        Lines(ReadText(testing_support::FixturePath("sqlite2/expected.txt")));
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

bool Matches(sqlite2::Sqlite2Database& db, const Expected& e) {
    std::vector<std::string> got;
    try {
        got = Rows(db, e.sql);
    } catch (const std::exception& ex) {
        ADD_FAILURE() << e.id << ": " << ex.what();
        return false;
    }
    if (Same(e, got)) return true;
    ADD_FAILURE() << e.id << " " << e.sql << "\nwant: " << ::testing::PrintToString(e.lines)
                  << "\ngot:  " << ::testing::PrintToString(got);
    return false;
}

} // namespace sqlite2_test
