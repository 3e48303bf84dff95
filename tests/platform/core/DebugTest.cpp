#include "platform/core/Debug.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(DebugTrace, LineShapeAndCapture) {
    testing_support::DebugCapture capture;
    DebugTrace("TFrmMain::SendNetPacketCommand", "Entering SendNetPacketCommand msg:101 arg:3");
    OutputDebugString(std::string("plain"));
    OutputDebugString(static_cast<const char*>(nullptr));
    const auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "( TFrmMain::SendNetPacketCommand ) ]Entering SendNetPacketCommand msg:101 arg:3");
    EXPECT_EQ(lines[1], "plain");
}

TEST(DebugTrace, CaptureEndsWithItsScope) {
    std::vector<std::string> outer;
    {
        testing_support::DebugCapture capture;
        OutputDebugString("inside");
        outer = capture.Lines();
    }
    testing_support::DebugCapture later;
    EXPECT_EQ(outer.size(), 1u);
    EXPECT_TRUE(later.Lines().empty());
}

} // namespace
