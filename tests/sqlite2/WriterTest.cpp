#include "DumpReplay.h"

#include "sqlite2/Dump.h"
#include "sqlite2/Record.h"
#include "sqlite2/Sqlite2File.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

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
