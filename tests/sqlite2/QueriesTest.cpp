// Every query of queries.txt against what the real SQLite 2 printed for it (expected.txt).
#include "sqlite2/Sqlite2Database.h"
#include "tests/sqlite2/ExpectedQueries.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using sqlite2_test::Expected;

class Queries : public ::testing::TestWithParam<bool> {};

TEST_P(Queries, AllMatchTheRealLibrary) {
    const bool bigEndian = GetParam();
    const std::vector<Expected> expected = sqlite2_test::ReadExpected();
    ASSERT_EQ(expected.size(), 173u);
    int matching = 0;
    for (const Expected& e : expected) {
        std::string file = e.db;
        if (bigEndian && file == "qeldbfile_hdd.db") file = "qeldbfile_hdd_be.db";
        auto db = sqlite2::Sqlite2Database::Open(testing_support::FixturePath("sqlite2/" + file));
        matching += sqlite2_test::Matches(*db, e);
    }
    EXPECT_EQ(matching, 173);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, Queries, ::testing::Values(false, true));

} // namespace
