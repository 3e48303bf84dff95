#include "client/Placement.h"
#include "client/VersionInfo.h"

#include <gtest/gtest.h>

namespace {

struct PlacementCase {
    const char* what;
    int areaLeft, areaTop, areaWidth, areaHeight, width, height;
    TRect workArea;
    TPoint expected;
};

TEST(Placement, CentredOnTheAreaAndKeptInsideTheWorkArea) {
    const TRect desktop = Rect(0, 0, 1920, 1040);
    const TRect small = Rect(0, 0, 800, 600);
    const PlacementCase cases[] = {
        {"centred", 100, 50, 912, 722, 300, 120, desktop, Point(406, 351)},
        {"odd sizes round toward zero", 0, 0, 101, 51, 10, 10, desktop, Point(45, 20)},
        {"right edge", 1500, 50, 912, 722, 300, 120, desktop, Point(1620, 351)},
        {"bottom edge", 100, 900, 912, 722, 300, 120, desktop, Point(406, 920)},
        {"small screen", 500, 400, 912, 722, 300, 120, small, Point(500, 480)},
        {"left of the screen", -900, 50, 912, 722, 300, 120, desktop, Point(0, 351)},
        {"above the screen", 100, -700, 912, 722, 300, 120, desktop, Point(406, 0)},
        {"bigger than the area", 10, 10, 100, 100, 300, 200, desktop, Point(0, 0)},
        {"box as large as the work area", 0, 0, 912, 722, 800, 600, small, Point(0, 0)},
        {"work area not at the origin", 1400, 50, 912, 722, 300, 120, Rect(1280, 0, 2560, 1000),
         Point(1706, 351)},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(
            CentredPlacement(c.areaLeft, c.areaTop, c.areaWidth, c.areaHeight, c.width, c.height, c.workArea),
            c.expected);
    }
}

TEST(VersionLine, FromTheFileVersion) {
    const std::pair<const char*, const char*> cases[] = {
        {"2.2.4.454", "Version 2.2.4.B1 (Build 454)"},
        {"1.0.0.1", "Version 1.0.0.B1 (Build 1)"},
        {"3.1.7.1234567890123456789", "Version 3.1.7.B1 (Build 123456789012345)"},
        {"2.2.4", "Version 2.2.4.B1 (Build )"},
        {"", "Version .B1 (Build )"},
    };
    for (const auto& [version, line] : cases)
        EXPECT_EQ(FormatVersionLine(version), line) << version;
    EXPECT_EQ(ReadVersionValue("FileVersion"), "2.2.4.454");
    EXPECT_EQ(ReadVersionValue("ProductName"), "");
    EXPECT_EQ(FormatVersionLine(ReadVersionValue("FileVersion")), "Version 2.2.4.B1 (Build 454)");
}

} // namespace
