#include "client/ScreenLayout.h"

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const LayoutBox& b, std::ostream* os) {
    *os << "(" << b.Left << ", " << b.Top << ", " << b.Width << " x " << b.Height << ")";
}

namespace {

constexpr int NTSC = 1, PAL = 2;

ScreenLayoutInput Input(int standard, int count, int camera = 0, int lastWidth = 704) {
    ScreenLayoutInput in;
    in.videoStandard = standard;
    in.screenCount = count;
    in.camera = camera;
    in.lastWidth = lastWidth;
    return in;
}

TEST(ScreenLayout, SingleScreenInTheSkin) {
    struct Case {
        const char* name;
        int standard, camera, lastWidth;
        LayoutBox panelScreen, panel, screen;
    };
    const Case cases[] = {
        {"NTSC 704", NTSC, 0, 704, {22, 24, 691, 473}, {1, 1, 689, 471}, {-16, -6, 720, 480}},
        {"NTSC 352", NTSC, 2, 352, {22, 24, 691, 473}, {1, 1, 689, 471}, {-8, -6, 704, 480}},
        {"PAL 720", PAL, 3, 720, {22, 24, 691, 569}, {1, 1, 689, 567}, {-16, -6, 720, 576}},
        {"PAL 352", PAL, 1, 352, {22, 24, 691, 569}, {1, 1, 689, 567}, {-8, -6, 704, 576}},
        {"standard 0 is PAL", 0, 1, 0, {22, 24, 691, 569}, {1, 1, 689, 567}, {-16, -6, 720, 576}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ScreenLayout l = ComputeScreenLayout(Input(c.standard, 1, c.camera, c.lastWidth));
        EXPECT_FALSE(l.window);
        EXPECT_EQ(l.panelScreen, c.panelScreen);
        EXPECT_EQ(l.checkCamera, c.camera);
        EXPECT_FALSE(l.checkQuad);
        EXPECT_TRUE(l.hideMarks);
        for (int k = 0; k < 4; ++k) {
            const bool on = k == c.camera;
            EXPECT_EQ(l.panelVisible[k], on) << k;
            EXPECT_EQ(l.screenVisible[k], on) << k;
            if (on) {
                EXPECT_EQ(l.panels[k], c.panel);
                EXPECT_EQ(l.screens[k], c.screen);
            } else {
                EXPECT_FALSE(l.panels[k]);
            }
            EXPECT_EQ(l.markALeft[k], on ? 524 : -1);
            EXPECT_EQ(l.markMLeft[k], on ? 556 : -1);
        }
        EXPECT_EQ(l.markS1Left, c.camera == 0 ? 492 : -1);
    }
}

TEST(ScreenLayout, FourScreensInTheSkin) {
    struct Case {
        const char* name;
        int standard, lastWidth;
        int panelHeight, lowerTop;
        LayoutBox screen;
    };
    const Case cases[] = {
        {"NTSC", NTSC, 704, 235, 237, {-8, -3, 360, 240}},
        {"NTSC 352", NTSC, 352, 235, 237, {-4, -3, 352, 240}},
        {"PAL", PAL, 704, 283, 285, {-8, -3, 360, 288}},
        {"PAL 352", PAL, 352, 283, 285, {-4, -3, 352, 288}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ScreenLayout l = ComputeScreenLayout(Input(c.standard, 4, 0, c.lastWidth));
        EXPECT_TRUE(l.checkQuad);
        EXPECT_EQ(l.checkCamera, -1);
        EXPECT_EQ(l.panelScreen, (LayoutBox{22, 24, 691, c.standard == NTSC ? 473 : 569}));
        const LayoutBox panels[4] = {{1, 1, 344, c.panelHeight},
                                     {346, 1, 344, c.panelHeight},
                                     {1, c.lowerTop, 344, c.panelHeight},
                                     {346, c.lowerTop, 344, c.panelHeight}};
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(l.panels[k], panels[k]) << k;
            EXPECT_EQ(l.screens[k], c.screen) << k;
            EXPECT_TRUE(l.panelVisible[k] && l.screenVisible[k]) << k;
            // The marks sit at the same places in both standards.
            EXPECT_EQ(l.markALeft[k], 219);
            EXPECT_EQ(l.markMLeft[k], 251);
        }
        EXPECT_EQ(l.markS1Left, 187);
    }
}

TEST(ScreenLayout, CovertCamerasStayHidden) {
    struct Case {
        const char* name;
        bool fullMode;
        int count, camera;
    };
    const Case cases[] = {
        {"skin quad", false, 4, 0},
        {"full quad", true, 4, 0},
        {"skin single", false, 1, 2},
        {"full single", true, 1, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScreenLayoutInput in = Input(NTSC, c.count, c.camera);
        in.fullMode = c.fullMode;
        in.displayWidth = 1024;
        in.displayHeight = 768;
        in.covert = {false, false, true, false};
        const ScreenLayout l = ComputeScreenLayout(in);
        // Camera 3 keeps its old bounds and shows nothing.
        EXPECT_FALSE(l.panels[2]);
        EXPECT_FALSE(l.panelVisible[2]);
        EXPECT_FALSE(l.screenVisible[2]);
        EXPECT_EQ(l.markALeft[2], -1);
        if (c.count == 4) {
            for (int k : {0, 1, 3})
                EXPECT_TRUE(l.panels[k] && l.panelVisible[k] && l.screenVisible[k]) << k;
        } else {
            for (int k = 0; k < 4; ++k)
                EXPECT_FALSE(l.panelVisible[k] || l.screenVisible[k]) << k;
            EXPECT_FALSE(l.timeLabelShown[2]);
        }
    }
}

TEST(ScreenLayout, FullModeFillsTheDisplay) {
    ScreenLayoutInput in = Input(PAL, 4);
    in.fullMode = true;
    in.displayWidth = 1024;
    in.displayHeight = 768;
    ScreenLayout l = ComputeScreenLayout(in);
    EXPECT_EQ(l.window, (LayoutBox{0, 0, 1024, 768}));
    EXPECT_EQ(l.panelScreen, (LayoutBox{0, 0, 1024, 768}));
    EXPECT_TRUE(l.checkQuad);
    EXPECT_EQ(l.quarters[0], (LayoutBox{0, 0, 512, 384}));
    EXPECT_EQ(l.quarters[1], (LayoutBox{512, 0, 512, 384}));
    EXPECT_EQ(l.quarters[2], (LayoutBox{0, 384, 512, 384}));
    EXPECT_EQ(l.quarters[3], (LayoutBox{512, 384, 512, 384}));
    EXPECT_EQ(l.panels[0], (LayoutBox{1, 1, 510, 382}));
    EXPECT_EQ(l.panels[3], (LayoutBox{513, 385, 510, 382}));
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(l.screens[k], (LayoutBox{-15, -10, 542, 404})) << k;
    EXPECT_EQ(l.timeLabelShown[2]->Y, 314);
    EXPECT_EQ(l.timeLabelShown[2]->X, 20);
    EXPECT_EQ(l.timeLabelHidden, (std::array<bool, 4>{true, true, false, true}));

    // Odd sizes halve downwards.
    in.displayWidth = 1367;
    in.displayHeight = 769;
    l = ComputeScreenLayout(in);
    EXPECT_EQ(l.quarters[3], (LayoutBox{683, 384, 683, 384}));
    EXPECT_EQ(l.panels[1], (LayoutBox{684, 1, 681, 382}));

    // One camera: the whole display.
    in = Input(NTSC, 1, 1);
    in.fullMode = true;
    in.displayWidth = 1920;
    in.displayHeight = 1080;
    l = ComputeScreenLayout(in);
    EXPECT_EQ(l.quarters[3], (LayoutBox{0, 0, 1920, 1080}));
    EXPECT_EQ(l.panels[1], (LayoutBox{1, 1, 1918, 1078}));
    EXPECT_EQ(l.screens[1], (LayoutBox{-15, -10, 1950, 1100}));
    EXPECT_EQ(l.checkCamera, 1);
    EXPECT_EQ(l.markS1Left, -1);
    EXPECT_EQ(l.markALeft[1], 524);
    EXPECT_EQ(l.timeLabelShown[1]->Y, 1010);
    for (int k : {0, 2, 3})
        EXPECT_FALSE(l.panelVisible[k] || l.screenVisible[k]) << k;
}

} // namespace
