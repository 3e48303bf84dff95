#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Resamplers.h"
#include "bitmap32/Bmp32_Transforms.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

std::vector<TColor32> Pixels(const TBitmap32& b) {
    return std::vector<TColor32>(b.Bits(), b.Bits() + b.Width() * b.Height());
}

void Random(TBitmap32& b, int w, int h, unsigned seed, bool opaque = false) {
    std::mt19937 rng(seed);
    b.SetSize(w, h);
    for (int i = 0; i < w * h; ++i)
        b.Bits()[i] = opaque ? rng() | 0xFF000000u : rng();
}

struct AreaLog {
    std::vector<TRect> areas;
    void Attach(TBitmap32& b) {
        b.OnAreaChanged = [this](TObject*, const TRect& r, std::uint32_t) { areas.push_back(r); };
    }
};

TEST(Transfer, OpaqueBlockCopyOfTheMapPicture) {
    TBitmap32 src, dst;
    Random(src, 336, 315, 1);
    dst.SetSize(336, 315);
    AreaLog log;
    log.Attach(dst);
    src.DrawTo(&dst);
    EXPECT_EQ(Pixels(dst), Pixels(src));
    EXPECT_EQ(log.areas, (std::vector<TRect>{{0, 0, 336, 315}}));
    // The same through the stretch entry with equal sizes.
    dst.Clear(0);
    log.areas.clear();
    src.DrawTo(&dst, TRect{0, 0, 336, 315});
    EXPECT_EQ(Pixels(dst), Pixels(src));
    EXPECT_EQ(log.areas, (std::vector<TRect>{{0, 0, 336, 315}}));
}

TEST(Transfer, NegativePositionsCopyTheVisiblePartAndReportTheWhole) {
    TBitmap32 src, dst;
    Random(src, 5, 4, 2);
    dst.SetSize(6, 6);
    AreaLog log;
    log.Attach(dst);
    BlockTransfer(&dst, -2, -1, dst.ClipRect(), &src, src.BoundsRect(), dmOpaque);
    EXPECT_EQ(log.areas, (std::vector<TRect>{{-2, -1, 3, 3}}));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(dst.GetPixel(x, y), x < 3 && y < 3 ? src.GetPixel(x + 2, y + 1) : 0u) << x << "," << y;
    // A source rectangle partly outside the source is cut to it, still reporting the unclipped area.
    dst.Clear(0);
    log.areas.clear();
    BlockTransfer(&dst, 1, 1, dst.ClipRect(), &src, TRect{-1, 0, 2, 2}, dmOpaque);
    EXPECT_EQ(dst.GetPixel(2, 1), src.GetPixel(0, 0));
    EXPECT_EQ(dst.GetPixel(1, 1), 0u);
    EXPECT_EQ(log.areas, (std::vector<TRect>{{1, 1, 4, 3}}));
    // Measuring reports without drawing.
    dst.Clear(0);
    log.areas.clear();
    std::vector<TRect> measured;
    dst.BeginMeasuring([&](TObject*, const TRect& r, std::uint32_t) { measured.push_back(r); });
    BlockTransfer(&dst, 0, 0, dst.ClipRect(), &src, src.BoundsRect(), dmOpaque);
    dst.EndMeasuring();
    EXPECT_EQ(measured, (std::vector<TRect>{{0, 0, 5, 4}}));
    EXPECT_EQ(dst.GetPixel(0, 0), 0u);
}

TEST(Transfer, ModesAndQuietReturns) {
    TBitmap32 src, dst;
    src.SetSize(3, 1);
    src.SetPixel(0, 0, 0x80FF0000);
    src.SetPixel(1, 0, 0x12345678);
    src.SetPixel(2, 0, 0xFF00FF00);
    src.SetOuterColor(0x12345678);
    dst.SetSize(3, 1);
    auto reset = [&] { dst.Clear(0xFF0000FF); };

    reset();
    BlockTransfer(&dst, 0, 0, dst.ClipRect(), &src, src.BoundsRect(), dmTransparent);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{0x80FF0000, 0xFF0000FF, 0xFF00FF00}));

    reset();
    int calls = 0;
    BlockTransfer(&dst, 0, 0, dst.ClipRect(), &src, src.BoundsRect(), dmCustom,
                  [&](TColor32 f, TColor32& b, TColor32 m) {
                      ++calls;
                      b = f ^ m;
                  });
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(dst.GetPixel(0, 0), 0x80FF0000u ^ 255);

    reset();
    BlockTransfer(&dst, 0, 0, dst.ClipRect(), &src, src.BoundsRect(), dmCustom); // no callback: opaque
    EXPECT_EQ(Pixels(dst), Pixels(src));

    reset();
    src.SetMasterAlpha(0);
    AreaLog log;
    log.Attach(dst);
    BlockTransfer(&dst, 0, 0, dst.ClipRect(), &src, src.BoundsRect(), dmBlend);
    StretchTransfer(&dst, TRect{0, 0, 3, 3}, dst.ClipRect(), &src, src.BoundsRect(), src.Resampler(),
                    dmBlend);
    EXPECT_TRUE(log.areas.empty());
    EXPECT_EQ(dst.GetPixel(0, 0), 0xFF0000FFu);

    src.SetMasterAlpha(100);
    BlockTransfer(&dst, 0, 0, dst.ClipRect(), &src, src.BoundsRect(), dmBlend);
    TColor32 want = 0xFF0000FF;
    BlendLineEx(&src.Bits()[0], &want, 1, 100);
    EXPECT_EQ(dst.GetPixel(0, 0), want);

    TBitmap32 empty;
    BlockTransfer(&dst, 0, 0, dst.ClipRect(), &empty, TRect{0, 0, 1, 1}, dmOpaque);
    EXPECT_EQ(log.areas.size(), 1u);
    try {
        BlockTransfer(nullptr, 0, 0, TRect{}, &src, TRect{}, dmOpaque);
        FAIL();
    } catch (const EBitmapException& e) {
        EXPECT_STREQ(e.what(), "Destination bitmap is nil");
    }
    try {
        StretchTransfer(&dst, TRect{}, TRect{}, nullptr, TRect{}, nullptr, dmOpaque);
        FAIL();
    } catch (const EBitmapException& e) {
        EXPECT_STREQ(e.what(), "Source bitmap is nil");
    }
    EXPECT_THROW(BlockTransferX(&dst, 0, 0, nullptr, TRect{}, dmBlend), EBitmapException);
}

TEST(Transfer, StretchRectangleChecks) {
    TBitmap32 src, dst;
    Random(src, 4, 4, 3);
    dst.SetSize(8, 8);
    AreaLog log;
    log.Attach(dst);
    StretchTransfer(&dst, TRect{0, 0, 8, 8}, dst.ClipRect(), &src, TRect{2, 2, 2, 4}, src.Resampler(),
                    dmOpaque);
    EXPECT_TRUE(log.areas.empty());
    try {
        StretchTransfer(&dst, TRect{0, 0, 8, 8}, dst.ClipRect(), &src, TRect{0, 0, 5, 4}, src.Resampler(),
                        dmOpaque);
        FAIL();
    } catch (const ESrcInvalidException& e) {
        EXPECT_STREQ(e.what(), "Source rectangle is invalid");
    }
    try {
        StretchNearest(&dst, TRect{0, 0, 8, 8}, dst.ClipRect(), &src, TRect{-1, 0, 4, 4}, dmOpaque);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Invalid SrcRect");
    }
    // A destination clip outside the destination draws and reports nothing.
    StretchTransfer(&dst, TRect{20, 20, 30, 30}, dst.ClipRect(), &src, src.BoundsRect(), src.Resampler(),
                    dmOpaque);
    EXPECT_TRUE(log.areas.empty());
    EXPECT_EQ(dst.GetPixel(0, 0), 0u);
}

std::vector<int> ColumnMap(int srcW, int dstW, TRect dstRect) {
    TBitmap32 src, dst;
    src.SetSize(srcW, 1);
    for (int x = 0; x < srcW; ++x)
        src.SetPixel(x, 0, static_cast<TColor32>(x));
    dst.SetSize(std::max(dstW, 1), 1);
    dst.Clear(0xFFFFFFFF);
    StretchNearest(&dst, dstRect, dst.ClipRect(), &src, src.BoundsRect(), dmOpaque);
    std::vector<int> map;
    for (int x = 0; x < dst.Width(); ++x)
        map.push_back(static_cast<int>(dst.GetPixel(x, 0)));
    return map;
}

TEST(Transfer, StretchNearestColumnMaps) {
    FullEdge = true;
    EXPECT_EQ(ColumnMap(4, 8, TRect{0, 0, 8, 1}), (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(ColumnMap(8, 4, TRect{0, 0, 4, 1}), (std::vector<int>{0, 2, 4, 6}));
    EXPECT_EQ(ColumnMap(3, 7, TRect{0, 0, 7, 1}), (std::vector<int>{0, 0, 0, 1, 1, 2, 2}));
    EXPECT_EQ(ColumnMap(5, 1, TRect{0, 0, 1, 1}), (std::vector<int>{2}));
    EXPECT_EQ(ColumnMap(4, 1, TRect{0, 0, 1, 1}), (std::vector<int>{1}));
    // A destination rectangle starting left of the bitmap keeps the mapping of the whole rectangle.
    EXPECT_EQ(ColumnMap(4, 6, TRect{-2, 0, 6, 1}), (std::vector<int>{1, 1, 2, 2, 3, 3}));
    // The scale is a 32-bit float: 14 / 20 is held as 0.69999999, so column 10 maps to 6, not 7.
    EXPECT_EQ(ColumnMap(14, 20, TRect{0, 0, 20, 1})[10], 6);
    FullEdge = false;
    EXPECT_EQ(ColumnMap(4, 8, TRect{0, 0, 8, 1}), (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(ColumnMap(3, 5, TRect{0, 0, 5, 1}), (std::vector<int>{0, 0, 1, 2, 2}));
    EXPECT_EQ(ColumnMap(5, 3, TRect{0, 0, 3, 1}), (std::vector<int>{0, 2, 4}));
    FullEdge = true;
}

TEST(Transfer, StretchNearestRowsAndModes) {
    TBitmap32 src, dst;
    Random(src, 3, 2, 4);
    src.SetPixel(1, 1, 0x00000000);
    src.SetOuterColor(0);
    dst.SetSize(6, 4);
    dst.Clear(0xFF0000FF);
    StretchNearest(&dst, TRect{0, 0, 6, 4}, dst.ClipRect(), &src, src.BoundsRect(), dmTransparent);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const TColor32 s = src.GetPixel(x / 2, y / 2);
            ASSERT_EQ(dst.GetPixel(x, y), s == 0 ? 0xFF0000FFu : s) << x << "," << y;
        }
    dst.Clear(0xFF0000FF);
    src.SetMasterAlpha(77);
    StretchNearest(&dst, TRect{0, 0, 6, 4}, TRect{1, 1, 5, 3}, &src, src.BoundsRect(), dmBlend);
    TColor32 want = 0xFF0000FF;
    BlendLineEx(&src.Bits()[0], &want, 1, 77);
    EXPECT_EQ(dst.GetPixel(1, 1), want);
    EXPECT_EQ(dst.GetPixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(dst.GetPixel(5, 3), 0xFF0000FFu);
}

// Copying within one bitmap gives what copying from a duplicate gives, in every direction and mode.
TEST(Transfer, OverlappingSelfCopiesMatchACopyFromADuplicate) {
    const TPoint offsets[] = {{2, 1}, {-2, -1}, {3, 0}, {0, -2}, {-1, 2}, {0, 0}};
    for (TDrawMode mode : {dmOpaque, dmBlend, dmTransparent}) {
        for (TPoint o : offsets) {
            TBitmap32 self, dup, expected;
            Random(self, 9, 7, 5);
            self.SetMasterAlpha(mode == dmBlend ? 180 : 255);
            self.SetOuterColor(self.GetPixel(3, 3));
            dup.Assign(&self);
            expected.Assign(&self);
            const TRect srcRect{2, 2, 7, 6};
            BlockTransfer(&expected, 2 + o.X, 2 + o.Y, expected.ClipRect(), &dup, srcRect, mode);
            BlockTransfer(&self, 2 + o.X, 2 + o.Y, self.ClipRect(), &self, srcRect, mode);
            ASSERT_EQ(Pixels(self), Pixels(expected))
                << "mode " << int(mode) << " offset " << o.X << "," << o.Y;
        }
    }
    // Whole rows of one bitmap moved down and up by one row.
    for (int dy : {1, -1}) {
        TBitmap32 rows, rowsDup, rowsExpected;
        Random(rows, 9, 7, 9);
        rowsDup.Assign(&rows);
        rowsExpected.Assign(&rows);
        BlockTransfer(&rowsExpected, 0, 1 + dy, rowsExpected.ClipRect(), &rowsDup, TRect{0, 1, 9, 6},
                      dmOpaque);
        BlockTransfer(&rows, 0, 1 + dy, rows.ClipRect(), &rows, TRect{0, 1, 9, 6}, dmOpaque);
        ASSERT_EQ(Pixels(rows), Pixels(rowsExpected)) << dy;
    }
    // A stretch within one bitmap reads the source as it was.
    TBitmap32 self, dup, expected;
    Random(self, 8, 8, 6);
    dup.Assign(&self);
    expected.Assign(&self);
    StretchNearest(&expected, TRect{0, 0, 8, 8}, expected.ClipRect(), &dup, TRect{0, 0, 4, 4}, dmOpaque);
    StretchNearest(&self, TRect{0, 0, 8, 8}, self.ClipRect(), &self, TRect{0, 0, 4, 4}, dmOpaque);
    EXPECT_EQ(Pixels(self), Pixels(expected));
}

TEST(Transfer, SubPixelBlockAtWholePositionsEqualsTheBlockBlend) {
    for (bool packed : {false, true}) {
        SelectBlendSet(packed);
        for (std::uint32_t master : {255u, 140u}) {
            TBitmap32 src, a, b;
            Random(src, 7, 5, 7);
            src.SetMasterAlpha(master);
            Random(a, 12, 10, 8, true);
            b.Assign(&a);
            AreaLog log;
            log.Attach(b);
            BlockTransfer(&a, 3, 2, a.ClipRect(), &src, src.BoundsRect(), dmBlend);
            BlockTransferX(&b, Fixed(3), Fixed(2), &src, src.BoundsRect(), dmBlend);
            ASSERT_EQ(Pixels(b), Pixels(a)) << packed << " " << master;
            EXPECT_EQ(log.areas, (std::vector<TRect>{{3, 2, 11, 8}}));
            // Partly outside on every side.
            a.Clear(0xFF102030);
            b.Clear(0xFF102030);
            BlockTransfer(&a, -2, 7, a.ClipRect(), &src, src.BoundsRect(), dmBlend);
            BlockTransferX(&b, Fixed(-2), Fixed(7), &src, src.BoundsRect(), dmBlend);
            ASSERT_EQ(Pixels(b), Pixels(a)) << packed << " " << master;
        }
    }
    SetupBlendFunctions();
}

TEST(Transfer, SubPixelBlockShiftsByTheFraction) {
    SelectBlendSet(false);
    TBitmap32 src, dst;
    src.SetSize(4, 4);
    src.Clear(0xFFFFFFFF);
    dst.SetSize(8, 8);
    dst.Clear(0xFF000000);
    // Half a pixel right and down of (2, 2): the interior is covered, the edges half, the corners a quarter.
    BlockTransferX(&dst, Fixed(2) + 32768, Fixed(2) + 32768, &src, src.BoundsRect(), dmBlend);
    EXPECT_EQ(dst.GetPixel(4, 4), 0xFFFFFFFFu);
    EXPECT_EQ(dst.GetPixel(1, 4), 0xFF000000u);
    const int edge = dst.GetPixel(2, 4) & 0xFF, corner = dst.GetPixel(2, 2) & 0xFF;
    EXPECT_NEAR(edge, 127, 2);
    EXPECT_NEAR(corner, 64, 3);
    EXPECT_NEAR(static_cast<int>(dst.GetPixel(6, 4) & 0xFF), 127, 2);
    EXPECT_NEAR(static_cast<int>(dst.GetPixel(6, 6) & 0xFF), 64, 3);
    // A negative fractional position lies left of zero, not right of it.
    dst.Clear(0xFF000000);
    BlockTransferX(&dst, -32768, 0, &src, src.BoundsRect(), dmBlend);
    EXPECT_EQ(dst.GetPixel(0, 1), 0xFFFFFFFFu);
    EXPECT_NEAR(static_cast<int>(dst.GetPixel(3, 1) & 0xFF), 127, 2);
    EXPECT_EQ(dst.GetPixel(4, 1), 0xFF000000u);
    SetupBlendFunctions();
}

TEST(Transfer, BlockAverageAndLinearInterpolator) {
    const TColor32 block[2][3] = {{0x10203040, 0x30405060, 0xFFFFFFFF}, {0x50607080, 0x70809000, 0xFFFFFFFF}};
    // Sums times 2^24 div (W * H), bits 24..31: a 2 x 2 block averages exactly.
    EXPECT_EQ(BlockAverage(2, 2, &block[0][0], sizeof block[0]), 0x40506048u);
    const TColor32 white[9] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF,
                               0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    EXPECT_EQ(BlockAverage(3, 3, white, 12), 0xFEFEFEFEu); // 2^24 div 9 loses a little
    EXPECT_EQ(BlockAverage(0, 3, white, 12), 0u);
    EXPECT_EQ(BlockAverage(3, 0, white, 12), 0u);
    const TColor32 p[2] = {0xFF000000, 0xFFFFFFFF}, q[2] = {0xFF0000FF, 0xFF0000FF};
    EXPECT_EQ(LinearInterpolator(255u << 16, 255u << 16, p, q),
              CombineReg(CombineReg(p[0], p[1], 255), CombineReg(q[0], q[1], 255), 255));
    EXPECT_EQ(LinearInterpolator(0x7FFFFFFF, 128u << 16, p, q),
              CombineReg(CombineReg(p[0], p[1], 255), CombineReg(q[0], q[1], 255), 128));
    EXPECT_EQ(LinearInterpolator(0, 0, p, q), CombineReg(CombineReg(p[0], p[1], 0), q[1], 0));
}

// Stretches go through the resampler the bitmap names, with its draw mode, and report DstRect.
TEST(Transfer, StretchGoesThroughTheBitmapsResampler) {
    TBitmap32 src, viaDraw, direct;
    Random(src, 6, 6, 21);
    src.SetDrawMode(dmBlend);
    src.SetMasterAlpha(200);
    viaDraw.SetSize(9, 4);
    viaDraw.Clear(0xFF204060);
    direct.Assign(&viaDraw);
    AreaLog log;
    log.Attach(viaDraw);
    const TRect dstRect{-1, 1, 8, 3};
    // Shrinking vertically: the draft resampler averages blocks there and interpolates across.
    src.SetResamplerClassName("TDraftResampler");
    src.DrawTo(&viaDraw, dstRect, TRect{1, 0, 5, 6});
    TRect clip = dstRect;
    IntersectRect(clip, clip, direct.BoundsRect());
    StretchLinear(&direct, dstRect, clip, &src, TRect{1, 0, 5, 6}, dmBlend, nullptr);
    EXPECT_EQ(Pixels(viaDraw), Pixels(direct));
    EXPECT_EQ(log.areas, (std::vector<TRect>{dstRect}));
    EXPECT_NE(Pixels(viaDraw)[9 + 1], 0xFF204060u);

    // The kernel resampler with its own kernel; without a resampler the stretch is the nearest one.
    src.SetResamplerClassName("TKernelResampler");
    static_cast<TKernelResampler*>(src.Resampler())->SetKernelClassName("TMitchellKernel");
    src.SetDrawMode(dmOpaque);
    src.DrawTo(&viaDraw, viaDraw.BoundsRect());
    TMitchellKernel mitchell;
    KernelResample(&direct, direct.BoundsRect(), direct.BoundsRect(), &src, src.BoundsRect(), &mitchell,
                   dmOpaque, nullptr);
    EXPECT_EQ(Pixels(viaDraw), Pixels(direct));
    StretchTransfer(&viaDraw, viaDraw.BoundsRect(), viaDraw.ClipRect(), &src, src.BoundsRect(), nullptr,
                    dmOpaque);
    StretchNearest(&direct, direct.BoundsRect(), direct.ClipRect(), &src, src.BoundsRect(), dmOpaque);
    EXPECT_EQ(Pixels(viaDraw), Pixels(direct));
}

TColor32 AddBlend(TColor32 f, TColor32 b) {
    return f + b;
}
TColor32 AddBlendEx(TColor32 f, TColor32 b, TColor32 m) {
    return f + b + m;
}

TEST(Transfer, BlendTransferAlignsBothSourcesOnThePosition) {
    TBitmap32 f, b, dst;
    f.SetSize(4, 4);
    b.SetSize(4, 4);
    for (int i = 0; i < 16; ++i) {
        f.Bits()[i] = static_cast<TColor32>(i * 100);
        b.Bits()[i] = static_cast<TColor32>(i);
    }
    dst.SetSize(5, 5);
    AreaLog log;
    log.Attach(dst);
    BlendTransfer(&dst, 1, 2, dst.ClipRect(), &f, TRect{1, 1, 3, 3}, &b, TRect{2, 0, 4, 2}, AddBlend);
    EXPECT_EQ(dst.GetPixel(1, 2), f.GetPixel(1, 1) + b.GetPixel(2, 0));
    EXPECT_EQ(dst.GetPixel(2, 3), f.GetPixel(2, 2) + b.GetPixel(3, 1));
    EXPECT_EQ(dst.GetPixel(3, 2), 0u);
    EXPECT_EQ(log.areas, (std::vector<TRect>{{1, 2, 3, 4}}));
    BlendTransfer(&dst, 0, 0, dst.ClipRect(), &f, f.BoundsRect(), &b, b.BoundsRect(), AddBlendEx, 1000);
    EXPECT_EQ(dst.GetPixel(3, 3), f.GetPixel(3, 3) + b.GetPixel(3, 3) + 1000);
    EXPECT_THROW(BlendTransfer(&dst, 0, 0, TRect{}, &f, TRect{}, nullptr, TRect{}, AddBlend),
                 EBitmapException);
    BlendTransfer(&dst, 0, 0, dst.ClipRect(), &f, f.BoundsRect(), &b, b.BoundsRect(), TBlendReg(nullptr));
}

} // namespace
