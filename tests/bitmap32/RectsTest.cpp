#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Blend.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> Rows(const TBitmap32& b) {
    std::vector<std::string> rows;
    for (int y = 0; y < b.Height(); ++y) {
        std::string s;
        for (int x = 0; x < b.Width(); ++x) {
            const TColor32 c = b.GetPixel(x, y);
            s += c == 0 ? '.' : (c == 0xFFFFFFFF ? '#' : '+');
        }
        rows.push_back(s);
    }
    return rows;
}

struct AreaLog {
    std::vector<std::pair<TRect, std::uint32_t>> areas;
    void Attach(TBitmap32& b) {
        b.OnAreaChanged = [this](TObject*, const TRect& r, std::uint32_t i) { areas.emplace_back(r, i); };
    }
};

TEST(Rects, FillsClipAndIgnoreInvertedRectangles) {
    TBitmap32 b;
    b.SetSize(6, 4);
    AreaLog log;
    log.Attach(b);
    b.FillRect(4, 0, 2, 2, 0xFFFFFFFF); // inverted: no pixel, though the unchecked form still reports
    EXPECT_EQ(Rows(b), (std::vector<std::string>{"......", "......", "......", "......"}));
    b.SetClipRect(TRect{1, 1, 5, 3});
    log.areas.clear();
    b.FillRectS(-3, -3, 3, 9, 0xFFFFFFFF);
    EXPECT_EQ(Rows(b), (std::vector<std::string>{"......", ".##...", ".##...", "......"}));
    ASSERT_EQ(log.areas.size(), 1u);
    EXPECT_EQ(log.areas[0].first, (TRect{-3, -3, 3, 9}));
    b.FillRectS(TRect{5, 0, 9, 9}, 0xFFFFFFFF); // no overlap
    b.FillRectS(3, 3, 3, 3, 0xFFFFFFFF);
    EXPECT_EQ(log.areas.size(), 1u);
}

TEST(Rects, TransparentFills) {
    for (bool packed : {false, true}) {
        SelectBlendSet(packed);
        TBitmap32 b;
        b.SetSize(3, 2);
        b.Clear(0xFF0000FF);
        AreaLog log;
        log.Attach(b);
        b.FillRectT(0, 0, 3, 2, 0x00FFFFFF);
        EXPECT_TRUE(log.areas.empty());
        EXPECT_EQ(b.GetPixel(0, 0), 0xFF0000FFu);
        b.FillRectT(0, 0, 1, 1, 0x80FF0000);
        TColor32 want = 0xFF0000FF;
        CombineMem(0x80FF0000, want, 0x80);
        EXPECT_EQ(b.GetPixel(0, 0), want);
        b.SetCombineMode(cmMerge);
        b.FillRectTS(1, 0, 9, 1, 0x80FF0000);
        EXPECT_EQ(b.GetPixel(2, 0), MergeReg(0x80FF0000, 0xFF0000FF));
        EXPECT_EQ(b.GetPixel(2, 1), 0xFF0000FFu);
        b.FillRectT(0, 1, 3, 2, 0xFF123456);
        EXPECT_EQ(b.GetPixel(1, 1), 0xFF123456u);
        ASSERT_EQ(log.areas.size(), 4u); // the mode change reports the whole bitmap
        EXPECT_EQ(log.areas[1].first, (TRect{0, 0, 3, 2}));
        EXPECT_EQ(log.areas[2].first, (TRect{1, 0, 9, 1}));
    }
    SetupBlendFunctions();
}

TEST(Rects, FramesDrawEachPixelOnce) {
    struct {
        TRect r;
        std::vector<std::string> rows;
    } const cases[] = {
        {{1, 1, 5, 2}, {"......", ".####.", "......", "......", "......"}},
        {{1, 1, 2, 4}, {"......", ".#....", ".#....", ".#....", "......"}},
        {{1, 0, 5, 4}, {".####.", ".#..#.", ".#..#.", ".####.", "......"}},
        {{1, 1, 3, 3}, {"......", ".##...", ".##...", "......", "......"}},
        {{2, 2, 2, 5}, {"......", "......", "......", "......", "......"}},
        {{-2, -2, 3, 9}, {"..#...", "..#...", "..#...", "..#...", "..#..."}},
    };
    for (const auto& c : cases) {
        TBitmap32 b;
        b.SetSize(6, 5);
        b.FrameRectS(c.r, 0xFFFFFFFF);
        EXPECT_EQ(Rows(b), c.rows) << c.r.Left << "," << c.r.Top << "," << c.r.Right << "," << c.r.Bottom;
        // Blended once per pixel: corners are not blended twice.
        TBitmap32 t;
        t.SetSize(6, 5);
        t.FrameRectTS(c.r, 0x80FFFFFF);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x)
                ASSERT_EQ(t.GetPixel(x, y) != 0, b.GetPixel(x, y) != 0);
        std::vector<TColor32> seen;
        for (int i = 0; i < 30; ++i)
            if (t.Bits()[i] != 0) seen.push_back(t.Bits()[i]);
        for (TColor32 c2 : seen)
            EXPECT_EQ(c2, seen.front());
    }
}

TEST(Rects, StippledFrameRunsClockwise) {
    TBitmap32 b;
    b.SetSize(4, 3);
    const TArrayOfColor32 pattern{0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005,
                                  0xFF000006, 0xFF000007, 0xFF000008, 0xFF000009, 0xFF00000A};
    b.SetStipple(pattern);
    b.FrameRectTSP(0, 0, 4, 3);
    const TColor32 want[3][4] = {{1, 2, 3, 4}, {0xA, 0, 0, 5}, {9, 8, 7, 6}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(b.GetPixel(x, y) & 0xFF, want[y][x]) << x << "," << y;
    EXPECT_FLOAT_EQ(b.StippleCounter(), 10.0f); // wrapped on the next read
}

TEST(Rects, RaisedFrameAlphas) {
    SelectBlendSet(false);
    TBitmap32 b;
    b.SetSize(4, 4);
    b.Clear(0xFF808080);
    b.RaiseRectTS(0, 0, 4, 4, 50);
    EXPECT_EQ(b.GetPixel(1, 0), 0xFFFFFFFFu);                      // white at alpha 255 (Clamp(256))
    EXPECT_EQ(b.GetPixel(0, 2), 0xFFFFFFFFu);                      // left column
    EXPECT_EQ(b.GetPixel(1, 3), BlendReg(0x7F000000, 0xFF808080)); // black at alpha 127
    EXPECT_EQ(b.GetPixel(3, 1), BlendReg(0x7F000000, 0xFF808080));
    EXPECT_EQ(b.GetPixel(1, 1), 0xFF808080u);
    b.Clear(0xFF808080);
    b.RaiseRectTS(TRect{0, 0, 4, 4}, -50);
    EXPECT_EQ(b.GetPixel(1, 0), BlendReg(0x7F000000, 0xFF808080));
    EXPECT_EQ(b.GetPixel(1, 3), 0xFFFFFFFFu);
    b.Clear(0xFF808080);
    b.RaiseRectTS(0, 0, 4, 4, 0);
    b.RaiseRectTS(0, 0, 4, 4, INT32_MIN);
    EXPECT_EQ(b.GetPixel(0, 3), 0xFFFFFFFFu);
    SetupBlendFunctions();
}

// 4 x 2 with pixels 1..8.
void Eight(TBitmap32& b) {
    b.SetSize(4, 2);
    for (int i = 0; i < 8; ++i)
        b.Bits()[i] = static_cast<TColor32>(i + 1);
}

std::vector<TColor32> Pixels(const TBitmap32& b) {
    return std::vector<TColor32>(b.Bits(), b.Bits() + b.Width() * b.Height());
}

TEST(Moves, RollTable) {
    struct {
        int dx, dy;
        bool fillBack;
        std::vector<TColor32> want;
    } const cases[] = {
        {1, 0, false, {1, 1, 2, 3, 4, 5, 6, 7}},  {1, 0, true, {9, 1, 2, 3, 9, 5, 6, 7}},
        {-1, 0, true, {2, 3, 4, 9, 6, 7, 8, 9}},  {0, 1, true, {9, 9, 9, 9, 1, 2, 3, 4}},
        {0, -1, false, {5, 6, 7, 8, 5, 6, 7, 8}}, {4, 0, true, {9, 9, 9, 9, 9, 9, 9, 9}},
        {4, 0, false, {1, 2, 3, 4, 5, 6, 7, 8}},  {0, 0, true, {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const auto& c : cases) {
        TBitmap32 b;
        Eight(b);
        b.Roll(c.dx, c.dy, c.fillBack, 9);
        EXPECT_EQ(Pixels(b), c.want) << c.dx << "," << c.dy << " " << c.fillBack;
    }
}

TEST(Moves, FlipsAndTurns) {
    TBitmap32 src, dst;
    Eight(src); // 1 2 3 4 / 5 6 7 8
    src.FlipHorz(&dst);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{4, 3, 2, 1, 8, 7, 6, 5}));
    src.FlipVert(&dst);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{5, 6, 7, 8, 1, 2, 3, 4}));
    src.Rotate90(&dst);
    EXPECT_EQ(dst.Width(), 2);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{5, 1, 6, 2, 7, 3, 8, 4}));
    src.Rotate270(&dst);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{4, 8, 3, 7, 2, 6, 1, 5}));
    src.Rotate180(&dst);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{8, 7, 6, 5, 4, 3, 2, 1}));

    TBitmap32 b;
    b.SetSize(3, 2); // 3 x 2: the top-left pixel ends top-right of the 2 x 3 result
    b.SetPixel(0, 0, 0xAA);
    b.Rotate90();
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Height(), 3);
    EXPECT_EQ(b.GetPixel(1, 0), 0xAAu);
    Eight(b);
    b.Rotate270();
    b.Rotate90();
    EXPECT_EQ(Pixels(b), (std::vector<TColor32>{1, 2, 3, 4, 5, 6, 7, 8}));
    b.Rotate180();
    b.FlipHorz();
    b.FlipVert();
    EXPECT_EQ(Pixels(b), (std::vector<TColor32>{1, 2, 3, 4, 5, 6, 7, 8}));
    Eight(b);
    b.FlipVert(&b);
    EXPECT_EQ(Pixels(b), (std::vector<TColor32>{5, 6, 7, 8, 1, 2, 3, 4}));
    TBitmap32 empty;
    empty.Rotate90();
    empty.Rotate180(&dst);
    EXPECT_TRUE(dst.Empty());
}

} // namespace
