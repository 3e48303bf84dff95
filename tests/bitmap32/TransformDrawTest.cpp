#include "bitmap32/Bmp32_Rasterizers.h"
#include "bitmap32/Bmp32_Resamplers.h"
#include "bitmap32/Bmp32_Transforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr TColor32 Marker = 0x5A5A5A5A;
constexpr TColor32 Outer = 0x00ABCDEF;

void Random(TBitmap32& b, int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    b.SetSize(w, h);
    for (int i = 0; i < w * h; ++i)
        b.Bits()[i] = rng() | 0xFF000000u;
    b.SetOuterColor(Outer);
}

struct Known {
    const char* what;
    std::function<void(TAffineTransformation&)> build;
    std::function<TPoint(int X, int Y)> reverse; // destination pixel to source pixel
};

TEST(TransformDraw, NearestAffineGivesExactlyTheKnownPixels) {
    const int sw = 5, sh = 3;
    const Known cases[] = {
        {"identity", [](auto&) {},
         [](int X, int Y) {
             return TPoint{X, Y};
         }},
        {"translate", [](auto& t) { t.Translate(2, 1); },
         [](int X, int Y) {
             return TPoint{X - 2, Y - 1};
         }},
        // Exact halves round down, so doubling repeats each source pixel twice.
        {"scale 2", [](auto& t) { t.Scale(2, 2); },
         [](int X, int Y) {
             return TPoint{X / 2, Y / 2};
         }},
        {"rotate 90", [](auto& t) { t.Rotate(0, 0, 90), t.Translate(0, 5); },
         [](int X, int Y) {
             return TPoint{5 - Y, X};
         }},
        {"rotate 180 about a pixel", [](auto& t) { t.Rotate(2, 1, 180); },
         [](int X, int Y) {
             return TPoint{4 - X, 2 - Y};
         }},
        {"mirror", [](auto& t) { t.Scale(-1, 1), t.Translate(4, 0); },
         [](int X, int Y) {
             return TPoint{4 - X, Y};
         }},
    };
    for (const Known& c : cases) {
        TBitmap32 src, dst;
        Random(src, sw, sh, 7);
        dst.SetSize(12, 8);
        dst.Clear(Marker);
        std::vector<TRect> reports;
        dst.OnAreaChanged = [&](TObject*, const TRect& a, std::uint32_t) { reports.push_back(a); };
        TAffineTransformation t;
        c.build(t);
        t.SetSrcRect(FloatRect(src.BoundsRect()));
        Transform(&dst, &src, &t);
        // The bounds rules have their own table; here they only say where pixels may change.
        TRect drawn;
        IntersectRect(drawn, t.GetTransformedBounds(), dst.BoundsRect());
        int fromSource = 0;
        for (int y = 0; y < dst.Height(); ++y)
            for (int x = 0; x < dst.Width(); ++x) {
                TColor32 want = Marker;
                if (PtInRect(drawn, TPoint{x, y})) {
                    const TPoint s = c.reverse(x, y);
                    want = PtInRect(src.BoundsRect(), s) ? src.GetPixel(s.X, s.Y) : Outer;
                    fromSource += want != Outer;
                }
                ASSERT_EQ(dst.GetPixel(x, y), want) << c.what << " at " << x << "," << y;
            }
        // Every source pixel shows up: the bounds do not cut the picture.
        EXPECT_GE(fromSource, sw * sh) << c.what;
        ASSERT_FALSE(reports.empty()) << c.what;
        EXPECT_EQ(reports.back(), drawn) << c.what;
    }
}

TEST(TransformDraw, EveryRasterizerDrawsTheSamePicture) {
    TBitmap32 src;
    Random(src, 20, 14, 3);
    new TLinearResampler(&src);
    TAffineTransformation t;
    t.SetSrcRect(FloatRect(src.BoundsRect()));
    t.Rotate(10, 7, 30);
    t.Translate(3.5f, 2);
    TBitmap32 reference;
    reference.SetSize(30, 26);
    reference.Clear(Marker);
    Transform(&reference, &src, &t);
    const std::function<TRasterizer*()> kinds[] = {
        [] { return new TSwizzlingRasterizer; }, [] { return new TProgressiveRasterizer; },
        [] { return new TTesseralRasterizer; }, [] { return new TContourRasterizer; }};
    for (std::size_t k = 0; k < std::size(kinds); ++k) {
        TBitmap32 dst;
        dst.SetSize(30, 26);
        dst.Clear(Marker);
        std::unique_ptr<TRasterizer> r(kinds[k]());
        Transform(&dst, &src, &t, r.get());
        EXPECT_EQ(r->Sampler(), nullptr) << "the rasterizer keeps no pointer to the finished sampler";
        for (int i = 0; i < 30 * 26; ++i)
            ASSERT_EQ(dst.Bits()[i], reference.Bits()[i]) << k << " pixel " << i;
    }
    // The picture is there: a pixel near the rotation centre comes from the source.
    int drawn = 0;
    for (int i = 0; i < 30 * 26; ++i)
        drawn += reference.Bits()[i] != Marker;
    EXPECT_GT(drawn, 200);
}

TEST(TransformDraw, LinearResamplerMixesNeighbours) {
    TBitmap32 src, dst;
    src.SetSize(2, 2);
    for (int y = 0; y < 2; ++y) {
        src.SetPixel(0, y, 0xFF000000);
        src.SetPixel(1, y, 0xFFFFFFFF);
    }
    new TLinearResampler(&src);
    dst.SetSize(3, 2);
    dst.Clear(Marker);
    TAffineTransformation t;
    t.SetSrcRect(FloatRect(src.BoundsRect()));
    t.Translate(0.5f, 0);
    Transform(&dst, &src, &t);
    // Destination x = 1 reads the source at 0.5 through the resampler's 16.16 path: a mix.
    src.Resampler()->PrepareSampling();
    const TColor32 half = src.Resampler()->GetSampleFixed(FixedHalf, 0);
    src.Resampler()->FinalizeSampling();
    EXPECT_EQ(dst.GetPixel(1, 0), half);
    EXPECT_GT(half & 0xFF, 0u);
    EXPECT_LT(half & 0xFF, 0xFFu);
}

TEST(TransformDraw, ClipThatMissesWritesNothingAndReportsTheZeroRectangle) {
    TBitmap32 src, dst;
    Random(src, 6, 6, 9);
    dst.SetSize(10, 10);
    dst.Clear(Marker);
    std::vector<TRect> reports;
    dst.OnAreaChanged = [&](TObject*, const TRect& a, std::uint32_t info) {
        EXPECT_EQ(info, AREAINFO_RECT);
        reports.push_back(a);
    };
    TAffineTransformation t;
    t.SetSrcRect(FloatRect(src.BoundsRect()));
    Transform(&dst, &src, &t, TRect{8, 8, 10, 10});
    EXPECT_EQ(reports, (std::vector<TRect>{{0, 0, 0, 0}}));
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(dst.Bits()[i], Marker);

    // The destination's clip rectangle cuts too.
    reports.clear();
    dst.SetClipRect(TRect{2, 2, 4, 4});
    Transform(&dst, &src, &t);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), (TRect{2, 2, 4, 4}));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(dst.GetPixel(x, y), x >= 2 && x < 4 && y >= 2 && y < 4 ? src.GetPixel(x, y) : Marker);
}

TEST(TransformDraw, MeasuringReportsWithoutDrawing) {
    TBitmap32 src, dst;
    Random(src, 4, 4, 1);
    dst.SetSize(8, 8);
    dst.Clear(Marker);
    std::vector<TRect> measured;
    dst.BeginMeasuring([&](TObject*, const TRect& a, std::uint32_t) { measured.push_back(a); });
    TAffineTransformation t;
    t.SetSrcRect(FloatRect(src.BoundsRect()));
    t.Translate(1, 1);
    Transform(&dst, &src, &t);
    dst.EndMeasuring();
    EXPECT_EQ(measured, (std::vector<TRect>{{1, 1, 6, 6}}));
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(dst.Bits()[i], Marker);
}

TEST(TransformDraw, DegenerateMappingsDrawSafely) {
    TBitmap32 src;
    Random(src, 8, 8, 4);
    // A quadrilateral with three corners on a line has no inverse: the mapping falls back to the
    // identity instead of NaN positions.
    TProjectiveTransformation p;
    p.SetSrcRect(FloatRect(src.BoundsRect()));
    p.SetX1(4), p.SetX2(8), p.SetX3(12);
    p.SetY1(4), p.SetY2(8), p.SetY3(12);
    TBitmap32 dst;
    dst.SetSize(10, 10);
    dst.Clear(Marker);
    Transform(&dst, &src, &p);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(dst.GetPixel(x, y), x < 8 && y < 8 ? src.GetPixel(x, y) : Outer) << x << "," << y;

    // A zero scale collapses the picture onto the origin's pixel, which the identity fallback reads.
    TAffineTransformation a;
    a.SetSrcRect(FloatRect(src.BoundsRect()));
    a.Scale(0, 0);
    dst.Clear(Marker);
    Transform(&dst, &src, &a);
    EXPECT_EQ(dst.GetPixel(0, 0), src.GetPixel(0, 0));
    for (int i = 1; i < 100; ++i)
        ASSERT_EQ(dst.Bits()[i], Marker);

    // Reverse-only kinds draw through the same routine.
    TTwirlTransformation twirl;
    twirl.SetSrcRect(FloatRect(src.BoundsRect()));
    dst.Clear(Marker);
    Transform(&dst, &src, &twirl);
    EXPECT_EQ(dst.GetPixel(4, 4), src.GetPixel(4, 4)) << "the twirl's centre stays";
}

TEST(TransformDraw, WildQuadrilateralsStayInsideTheClip) {
    // Random, huge, degenerate and non-finite corners: whatever the mapping, pixels change only inside
    // the clip rectangle and every read stays inside the source.
    const float specials[] = {0, 1e30f, -1e30f, std::nanf(""), INFINITY, 3, 3};
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> coord(-40, 60);
    TBitmap32 src;
    Random(src, 9, 7, 2);
    const std::function<TRasterizer*()> kinds[] = {
        [] { return new TRegularRasterizer; }, [] { return new TSwizzlingRasterizer; },
        [] { return new TProgressiveRasterizer; }, [] { return new TTesseralRasterizer; },
        [] { return new TContourRasterizer; }};
    for (int round = 0; round < 60; ++round) {
        TProjectiveTransformation p;
        p.SetSrcRect(FloatRect(src.BoundsRect()));
        float c[8];
        for (float& v : c)
            v = rng() % 5 == 0 ? specials[rng() % std::size(specials)] : coord(rng);
        p.SetX0(c[0]), p.SetX1(c[1]), p.SetX2(c[2]), p.SetX3(c[3]);
        p.SetY0(c[4]), p.SetY1(c[5]), p.SetY2(c[6]), p.SetY3(c[7]);
        TBitmap32 dst;
        dst.SetSize(16, 12);
        dst.Clear(Marker);
        const TRect clip{2, 1, 13, 10};
        dst.SetClipRect(clip);
        std::unique_ptr<TRasterizer> r(kinds[round % std::size(kinds)]());
        Transform(&dst, &src, &p, r.get());
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x)
                if (!PtInRect(clip, TPoint{x, y})) ASSERT_EQ(dst.GetPixel(x, y), Marker) << round;
    }
}

TEST(TransformDraw, MissingArgumentsRaise) {
    TBitmap32 src, dst;
    src.SetSize(2, 2);
    dst.SetSize(2, 2);
    TAffineTransformation t;
    TRegularRasterizer r;
    EXPECT_THROW(Transform(nullptr, &src, &t), EBitmapException);
    EXPECT_THROW(Transform(&dst, nullptr, &t), EBitmapException);
    EXPECT_THROW(Transform(&dst, &src, nullptr), ETransformError);
    EXPECT_THROW(Transform(&dst, &src, &t, static_cast<TRasterizer*>(nullptr)), ETransformError);
    EXPECT_NO_THROW(Transform(&dst, &src, &t, &r));
}

TEST(TransformDraw, SetBorderTransparentClearsTheFrameOnly) {
    struct {
        const char* what;
        TRect r;
        TRect frame; // right and bottom inclusive; Left > Right means nothing
    } const cases[] = {
        {"inner", {1, 1, 4, 4}, {1, 1, 3, 3}},       {"cut to the bitmap", {-2, -2, 3, 10}, {0, 0, 2, 3}},
        {"one pixel", {2, 2, 3, 3}, {2, 2, 2, 2}},   {"empty", {2, 2, 2, 4}, {1, 0, 0, 0}},
        {"outside", {10, 10, 12, 12}, {1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        TBitmap32 b;
        b.SetSize(5, 4);
        b.Clear(0xFF808080);
        SetBorderTransparent(&b, c.r);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) {
                const bool inFrame =
                    c.frame.Left <= c.frame.Right && x >= c.frame.Left && x <= c.frame.Right &&
                    y >= c.frame.Top && y <= c.frame.Bottom &&
                    (x == c.frame.Left || x == c.frame.Right || y == c.frame.Top || y == c.frame.Bottom);
                ASSERT_EQ(b.GetPixel(x, y), inFrame ? 0x00808080u : 0xFF808080u)
                    << c.what << " " << x << "," << y;
            }
    }
    // A rectangle outside the clip rectangle is left alone.
    TBitmap32 b;
    b.SetSize(5, 4);
    b.Clear(0xFF808080);
    b.SetClipRect(TRect{3, 0, 5, 4});
    SetBorderTransparent(&b, TRect{0, 0, 3, 4});
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(b.Bits()[i], 0xFF808080u);
}

} // namespace
