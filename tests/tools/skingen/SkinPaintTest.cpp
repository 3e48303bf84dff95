// What the drawn bitmaps look like where it matters: strip geometry, frames told apart by their
// state, elements only in their frames, icons inside their box.
#include "tools/skingen/SkinIcons.h"
#include "tools/skingen/SkinPainter.h"
#include "tools/skingen/SkinParser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

const bool kOffscreen = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return true;
}();

SkinBitmap One(const std::string& text) {
    auto bitmaps = ParseSkinText(text, "t.skin");
    EXPECT_EQ(bitmaps.size(), 1u);
    return bitmaps.at(0);
}

// $RRGGBB of a pixel.
SkinRgb At(const TBitmap& b, int x, int y) {
    return static_cast<const std::uint32_t*>(b.ScanLine(y))[x] & 0xFFFFFF;
}

int Luma(SkinRgb c) {
    return (((c >> 16) & 0xFF) * 3 + ((c >> 8) & 0xFF) * 6 + (c & 0xFF)) / 10;
}

// Mean brightness of a rectangle.
double Brightness(const TBitmap& b, int x0, int y0, int w, int h) {
    double sum = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            sum += Luma(At(b, x, y));
    return sum / (w * h);
}

TEST(SkinPaint, StripsHaveTheirFramesSideBySideOrStacked) {
    struct Case {
        const char* frames;
        int width, height;
    };
    const Case cases[] = {
        {"1", 10, 12}, {"4 horizontal", 40, 12}, {"2 vertical", 10, 24}, {"6 vertical", 10, 72}};
    for (const Case& c : cases) {
        TBitmap out;
        PaintSkin(One(std::string("bitmap a\n size 10 12\n frames ") + c.frames + "\n style button\nend\n"),
                  out);
        EXPECT_EQ(out.Width(), c.width) << c.frames;
        EXPECT_EQ(out.Height(), c.height) << c.frames;
    }
}

TEST(SkinPaint, ElementsAppearOnlyInTheirFrames) {
    TBitmap out;
    PaintSkin(
        One("bitmap a\n size 20 10\n frames 3 vertical\n style background\n @1 fill 5 2 4 4 #FF00FF\nend\n"),
        out);
    EXPECT_NE(At(out, 6, 3), 0xFF00FFu);
    EXPECT_EQ(At(out, 6, 13), 0xFF00FFu);
    EXPECT_NE(At(out, 6, 23), 0xFF00FFu);
    // Clipped to its own frame: a fill running past the bottom does not reach the next frame.
    PaintSkin(One("bitmap a\n size 20 10\n frames 2 vertical\n style background\n @0 fill 0 8 20 30 "
                  "#FF00FF\nend\n"),
              out);
    EXPECT_EQ(At(out, 10, 9), 0xFF00FFu);
    EXPECT_NE(At(out, 10, 10), 0xFF00FFu);
}

TEST(SkinPaint, ButtonLooksAreToldApart) {
    TBitmap out;
    PaintSkin(One("bitmap b\n size 60 24\n frames 4\n style button\n label \"OK\"\nend\n"), out);
    const double normal = Brightness(out, 0, 0, 60, 24), hover = Brightness(out, 60, 0, 60, 24);
    const double pressed = Brightness(out, 120, 0, 60, 24), disabled = Brightness(out, 180, 0, 60, 24);
    EXPECT_GT(hover, normal + 3);
    EXPECT_LT(pressed, normal - 3);
    EXPECT_LT(disabled, normal - 3);
    // The hover rim takes the accent colour: more blue than red.
    const SkinRgb rim = At(out, 60 + 30, 0);
    EXPECT_GT(rim & 0xFF, (rim >> 16) & 0xFF);
}

TEST(SkinPaint, LampsCellsAndGaugesShowTheirState) {
    TBitmap lamp;
    PaintSkin(One("bitmap l\n size 12 12\n frames 2\n style lamp\n accent red\nend\n"), lamp);
    const SkinRgb off = At(lamp, 6, 7), on = At(lamp, 18, 7);
    EXPECT_GT(Luma(on), Luma(off) + 40);
    EXPECT_GT((on >> 16) & 0xFF, (on >> 8) & 0xFF); // red

    TBitmap cell;
    PaintSkin(One("bitmap c\n size 10 10\n frames 6\n style cell\nend\n"), cell);
    const SkinRgb record = At(cell, 15, 5), event = At(cell, 25, 5);
    EXPECT_GT((record >> 16) & 0xFF, (record & 0xFF) + 60);
    EXPECT_GT((event >> 8) & 0xFF, (event & 0xFF) + 60);
    // Selected: a bright rim around the same fill.
    EXPECT_GT(Luma(At(cell, 40, 0)), Luma(At(cell, 10, 0)) + 60);

    TBitmap gauge;
    PaintSkin(One("bitmap g\n size 100 10\n frames 2 vertical\n style gauge\nend\n"), gauge);
    EXPECT_GT(Brightness(gauge, 2, 12, 96, 6), Brightness(gauge, 2, 2, 96, 6) + 50);
}

TEST(SkinPaint, TheActivitySegmentRunsToTheRight) {
    TBitmap out;
    PaintSkin(One("bitmap w\n size 80 10\n frames 4\n style activity\nend\n"), out);
    int previous = -1;
    for (int frame = 0; frame < 4; ++frame) {
        int brightest = 0;
        for (int x = 1; x < 79; ++x)
            if (Luma(At(out, frame * 80 + x, 5)) > Luma(At(out, frame * 80 + brightest, 5))) brightest = x;
        EXPECT_GT(brightest, previous) << frame;
        previous = brightest;
    }
}

TEST(SkinPaint, EveryIconDrawsInsideItsBox) {
    const char* const names[] = {
        "play",     "reverse", "pause", "stop",   "step",   "stepback", "fast",       "fastback", "first",
        "last",     "back5",   "live",  "search", "setup",  "connect",  "disconnect", "power",    "close",
        "minimise", "record",  "quad",  "cam1",   "cam2",   "cam3",     "cam4",       "about",    "upgrade",
        "usb",      "backup",  "print", "map",    "volume", "mute",     "up",         "down",     "left",
        "right",    "check",   "add",   "remove", "folder", "save",     "fullscreen"};
    for (const char* name : names) {
        ASSERT_TRUE(IsKnownIcon(name)) << name;
        const SkinShape shape = IconShape(name);
        int inside = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (shape.Contains((x + 0.5) / 2, (y + 0.5) / 2)) ++inside;
        EXPECT_GT(inside, 32 * 32 / 50) << name;
        EXPECT_LT(inside, 32 * 32 * 9 / 10) << name;
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        ASSERT_TRUE(shape.Bounds(x0, y0, x1, y1)) << name;
        EXPECT_GE(x0, 0) << name;
        EXPECT_GE(y0, 0) << name;
        EXPECT_LE(x1, 16) << name;
        EXPECT_LE(y1, 16) << name;
    }
    EXPECT_FALSE(IsKnownIcon("rocket"));
}

TEST(SkinPaint, TheShowcaseAndTheTreesDescriptionsAllDraw) {
    std::vector<std::string> files = {std::string(SKINGEN_TESTS) + "/every_style.skin"};
    for (const auto& entry : std::filesystem::directory_iterator(SKINS_SOURCE))
        if (entry.path().extension() == ".skin") files.push_back(entry.path().string());
    std::vector<SkinBitmap> all;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        std::vector<SkinBitmap> some;
        ASSERT_NO_THROW(some = ParseSkinFile(file));
        all.insert(all.end(), some.begin(), some.end());
    }
    EXPECT_NO_THROW(CheckUniqueNames(all));
    for (const SkinBitmap& b : all) {
        TBitmap out;
        PaintSkin(b, out);
        EXPECT_EQ(out.Width(), b.StripWidth()) << b.name;
        EXPECT_EQ(out.Height(), b.StripHeight()) << b.name;
    }
}

} // namespace
