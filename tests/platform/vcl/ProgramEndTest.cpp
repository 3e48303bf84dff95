// A program that ends right after its start finds the platform's start-up threads still at work (the
// font configuration takes some milliseconds to read): it ends cleanly all the same, every time.
#include "tests/support/Display.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(ProgramEnd, AProgramEndingRightAfterItsStartEndsCleanly) {
    const std::string program =
        std::string(std::getenv("HARBEK_BINARY")) + "/tests/platform/vcl/platform_start_and_end";
    for (int run = 0; run < 20; ++run) {
        std::string output;
        ASSERT_EQ(testing_support::RunProgram({program}, {}, &output, std::chrono::seconds(20)), 0)
            << "run " << run << ": " << output;
    }
}

} // namespace
