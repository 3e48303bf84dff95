#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Blend.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr int kSize = 40;

std::vector<TColor32> Pixels(const TBitmap32& b) {
    return std::vector<TColor32>(b.Bits(), b.Bits() + b.Width() * b.Height());
}

// The pixels of `drawn` inside clip over the pixels of `base` outside it.
std::vector<TColor32> InsideOnly(const TBitmap32& drawn, const TBitmap32& base, const TRect& clip) {
    std::vector<TColor32> v = Pixels(base);
    for (int y = clip.Top; y < clip.Bottom; ++y)
        for (int x = clip.Left; x < clip.Right; ++x)
            v[static_cast<std::size_t>(y * kSize + x)] = drawn.GetPixel(x, y);
    return v;
}

void Background(TBitmap32& b) {
    b.SetSize(kSize, kSize);
    for (int i = 0; i < kSize * kSize; ++i)
        b.Bits()[i] = 0xFF000000u | static_cast<TColor32>(i * 2654435761u >> 8);
}

TRect RandomClip(std::mt19937& rng) {
    int l = static_cast<int>(rng() % kSize), r = static_cast<int>(rng() % kSize);
    int t = static_cast<int>(rng() % kSize), b = static_cast<int>(rng() % kSize);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    return TRect{l, t, r + 1, b + 1};
}

// For random lines and clip rectangles the clipped lines draw exactly the unclipped lines' pixels that
// fall inside the clip rectangle.
TEST(Lines, ClippedLinesDrawTheUnclippedPixelsInsideTheClip) {
    std::mt19937 rng(42);
    for (int round = 0; round < 3000; ++round) {
        const TRect clip = RandomClip(rng);
        // Antialiased lines also touch the neighbour across the line: keep the ends one pixel in.
        const int margin = round % 3 == 2 ? 1 : 0;
        auto coord = [&] { return margin + static_cast<int>(rng() % (kSize - 2 * margin)); };
        const int x1 = coord(), y1 = coord(), x2 = coord(), y2 = coord();
        const bool last = rng() & 1;
        const TColor32 colour = round % 2 ? 0x80FF8040u : 0xFF3366CCu;
        TBitmap32 base, full, clipped;
        Background(base);
        full.Assign(&base);
        clipped.Assign(&base);
        clipped.SetClipRect(clip);
        switch (round % 3) {
        case 0:
            full.Line(x1, y1, x2, y2, colour, last);
            clipped.LineS(x1, y1, x2, y2, colour, last);
            break;
        case 1:
            full.LineT(x1, y1, x2, y2, colour, last);
            clipped.LineTS(x1, y1, x2, y2, colour, last);
            break;
        default:
            full.LineA(x1, y1, x2, y2, colour, last);
            clipped.LineAS(x1, y1, x2, y2, colour, last);
            break;
        }
        ASSERT_EQ(Pixels(clipped), InsideOnly(full, base, clip))
            << "kind " << round % 3 << " line " << x1 << "," << y1 << "-" << x2 << "," << y2 << " L " << last
            << " clip " << clip.Left << "," << clip.Top << "," << clip.Right << "," << clip.Bottom;
    }
}

// Far-away ends are clipped exactly too (no overflow on the way).
TEST(Lines, ClippedLinesWithRemoteEnds) {
    TBitmap32 b;
    b.SetSize(8, 8);
    b.Clear(0);
    b.LineS(-2000000000, 4, 2000000000, 4, 0xFFFFFFFF, true);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(b.GetPixel(x, 4), 0xFFFFFFFFu);
    b.Clear(0);
    b.LineS(-1000000, -1000000, 1000000, 1000000, 0xFFFFFFFF);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(b.GetPixel(i, i), 0xFFFFFFFFu);
    b.LineAS(-1000000, 3, 1000000, 5, 0xFFFFFFFF);
    b.LineS(100, 100, 200, 300, 0xFF0000FF, true);
    EXPECT_EQ(b.GetPixel(7, 0), 0u);
}

TEST(Lines, EdgeTable) {
    TBitmap32 b;
    b.SetSize(12, 8);
    std::vector<std::pair<TRect, std::uint32_t>> areas;
    b.OnAreaChanged = [&](TObject*, const TRect& r, std::uint32_t info) { areas.emplace_back(r, info); };
    auto row = [&](int y) {
        std::string s;
        for (int x = 0; x < b.Width(); ++x)
            s += b.GetPixel(x, y) ? '#' : '.';
        return s;
    };
    b.Clear(0);
    b.Line(0, 0, 3, 0, 1);
    EXPECT_EQ(row(0), "###.........");
    b.Line(0, 1, 3, 1, 1, true);
    EXPECT_EQ(row(1), "####........");
    b.Line(5, 2, 1, 2, 1);
    EXPECT_EQ(row(2), "..####......");
    b.Line(0, 3, 6, 5, 1, true);
    EXPECT_EQ(row(3), "##..........");
    EXPECT_EQ(row(4), "..###.......");
    EXPECT_EQ(row(5), ".....##.....");
    areas.clear();
    b.HorzLineS(10, 6, 2, 1);
    EXPECT_EQ(row(6), "..#########.");
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0], std::make_pair(TRect{2, 6, 10, 7}, AREAINFO_RECT));
    b.HorzLineS(-5, 7, 20, 1);
    EXPECT_EQ(row(7), "############");
    areas.clear();
    b.Clear(0);
    b.HorzLine(5, 0, 2, 1); // ends out of order: nothing, not a huge fill
    b.VertLine(0, 5, 2, 1);
    b.HorzLineT(5, 0, 2, 0xFFFFFFFF);
    EXPECT_EQ(row(0), "............");
    b.Line(2, 2, 8, 5, 1);
    ASSERT_EQ(areas.size(), 2u);
    EXPECT_EQ(areas[1], std::make_pair(TRect{2, 2, 8, 5}, AREAINFO_LINE));
}

TEST(Lines, AntialiasedStraightAndDiagonalLinesFallOnWholePixels) {
    for (auto [x2, y2] : {std::pair{6, 6}, std::pair{6, 0}, std::pair{0, 6}, std::pair{-6, 6}}) {
        TBitmap32 a, t;
        a.SetSize(20, 20);
        a.Clear(0xFF000000);
        t.Assign(&a);
        a.LineA(8, 8, 8 + x2, 8 + y2, 0x80FFFFFF, true);
        t.LineT(8, 8, 8 + x2, 8 + y2, 0x80FFFFFF, true);
        EXPECT_EQ(Pixels(a), Pixels(t)) << x2 << "," << y2;
    }
    // A shallow line puts complementary weights on the two pixels it straddles.
    SelectBlendSet(false);
    TBitmap32 b;
    b.SetSize(9, 3);
    b.Clear(0);
    b.LineA(0, 0, 8, 1, 0xFFFFFFFF, true);
    const TColor32 mid = b.GetPixel(4, 0), below = b.GetPixel(4, 1);
    EXPECT_EQ((mid & 0xFF) + (below & 0xFF), 255u);
    EXPECT_EQ(mid & 0xFF, 127u);
    SetupBlendFunctions();
}

TEST(Lines, FixedPointLinesClipLikeTheUnclippedOnes) {
    std::mt19937 rng(9);
    for (int round = 0; round < 400; ++round) {
        auto coord = [&] { return static_cast<int>(rng() % ((kSize - 4) * 65536)) + 65536; };
        const TFixed x1 = coord(), y1 = coord(), x2 = coord(), y2 = coord();
        TBitmap32 full, clipped;
        Background(full);
        clipped.Assign(&full);
        const TArrayOfColor32 pattern{0xFFFF0000, 0x80FFFFFF, 0xFF00FF00};
        full.SetStipple(pattern);
        clipped.SetStipple(pattern);
        if (round % 2) {
            full.LineX(x1, y1, x2, y2, 0xC0FFFF00, true);
            clipped.LineXS(x1, y1, x2, y2, 0xC0FFFF00, true);
        } else {
            full.LineXP(x1, y1, x2, y2, true);
            clipped.LineXSP(x1, y1, x2, y2, true);
        }
        // Both ends lie well inside the bitmap: nothing is cut, everything is drawn alike.
        ASSERT_EQ(Pixels(clipped), Pixels(full)) << round;
        ASSERT_FLOAT_EQ(clipped.StippleCounter(), full.StippleCounter());
    }
}

TEST(Lines, StippledLinesAdvanceThePatternOverTheCutOffParts) {
    TBitmap32 full, clipped;
    full.SetSize(64, 8);
    clipped.SetSize(64, 8);
    const TArrayOfColor32 pattern{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF000000};
    full.SetStipple(pattern);
    clipped.SetStipple(pattern);
    clipped.SetClipRect(TRect{10, 0, 50, 8});
    full.LineXP(Fixed(2), Fixed(4), Fixed(60), Fixed(4), true);
    clipped.LineXSP(Fixed(2), Fixed(4), Fixed(60), Fixed(4), true);
    // The counter ends within a pixel of where the unclipped line left it.
    float diff = std::fabs(clipped.StippleCounter() - full.StippleCounter());
    diff = std::min(diff, 5.0f - diff);
    EXPECT_LE(diff, 1.01f);
    for (int x = 0; x < 64; ++x)
        if (x < 10 || x >= 50) {
            ASSERT_EQ(clipped.GetPixel(x, 4), 0u) << x;
        }
    // A line wholly outside advances the counter by its whole length.
    clipped.SetStippleCounter(0);
    clipped.LineXSP(Fixed(0), Fixed(100), Fixed(3), Fixed(104));
    EXPECT_FLOAT_EQ(clipped.StippleCounter(), 0.0f);
    clipped.SetStippleStep(0.5f);
    clipped.LineXSP(Fixed(0), Fixed(100), Fixed(3), Fixed(104));
    EXPECT_FLOAT_EQ(clipped.StippleCounter(), 2.5f);

    // Integer stippled lines skip the cut-off pixels the same way.
    TBitmap32 h;
    h.SetSize(10, 2);
    h.SetStipple(pattern);
    h.SetClipRect(TRect{3, 0, 6, 2});
    h.HorzLineTSP(0, 0, 9);
    EXPECT_EQ(h.GetPixel(3, 0), pattern[3]);
    EXPECT_EQ(h.GetPixel(5, 0), pattern[0]);
    EXPECT_FLOAT_EQ(h.StippleCounter(), 0.0f); // ten pixels: two turns of five
    h.VertLineTSP(4, 5, 0);
    EXPECT_EQ(h.GetPixel(4, 1), pattern[4]);
    EXPECT_EQ(h.GetPixel(4, 0), pattern[0]);
}

TEST(Lines, PenPositions) {
    TBitmap32 b;
    b.SetSize(6, 6);
    b.SetPenColor(0xFFFFFFFF);
    b.MoveTo(0, 0);
    b.LineToS(3, 0);
    b.LineToS(3, 3);
    EXPECT_EQ(b.PenPos(), (TPoint{3, 3}));
    EXPECT_EQ(b.GetPixel(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(3, 0), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(3, 3), 0u); // the last point is left out
    b.MoveToF(1.5f, 4.0f);
    b.LineToFS(4.5f, 4.0f);
    EXPECT_EQ(b.PenPosF(), (TFixedPoint{Fixed(4.5f), Fixed(4.0f)}));
    EXPECT_NE(b.GetPixel(2, 4), 0u);
}

} // namespace
