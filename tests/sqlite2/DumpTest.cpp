// Each real file's dump, reproduced from what the reader decoded.
#include "DumpReplay.h"

#include "sqlite2/Dump.h"
#include "sqlite2/Sqlite2File.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class FixtureDump : public ::testing::TestWithParam<const char*> {};

TEST_P(FixtureDump, MatchesTheShellDump) {
    const std::string base = std::string("sqlite2/") + GetParam();
    std::ostringstream out;
    sqlite2::DumpDatabase(sqlite2::Sqlite2File::Load(testing_support::FixturePath(base + ".db")), out);
    EXPECT_TRUE(out.str() == sqlite2_test::ReadText(testing_support::FixturePath(base + ".dump.sql")))
        << "dump of " << GetParam() << " differs";
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureDump,
                         ::testing::Values("qeldbfile_hdd", "qeldbfile_hdd_be", "loglist", "qeldbfile_empty",
                                           "pyrdb_large", "freelist", "typeless"));

TEST(Dump, EmptyFileIsAnEmptyDatabase) {
    std::ostringstream out;
    sqlite2::DumpDatabase(sqlite2::Sqlite2File::FromImage(""), out);
    EXPECT_EQ(out.str(), "BEGIN TRANSACTION;\nCOMMIT;\n");
}

} // namespace
