#include "bitmap32/Bmp32_Rasterizers.h"
#include "bitmap32/Bmp32_Transforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

// A remap over equal source and mapping rectangles of Size x Size, with a map of one vector per pixel.
void Square(TRemapTransformation& t, int Size) {
    t.VectorMap()->SetSize(Size + 1, Size + 1);
    t.VectorMap()->Clear();
    t.SetSrcRect(FloatRect(0, 0, float(Size), float(Size)));
    t.SetMappingRect(FloatRect(0, 0, float(Size), float(Size)));
}

void Fill(TVectorMap& m, const TFixedPoint& v) {
    for (int i = 0; i < m.Width() * m.Height(); ++i)
        m.Vectors()[i] = v;
}

TEST(RemapTransformation, EmptyRectanglesRaiseInOrder) {
    struct {
        const char* what;
        TFloatRect src, mapping;
        const char* message;
    } const cases[] = {
        {"both empty", {}, {}, "SrcRect is empty!"},
        {"source empty", {0, 0, 0, 5}, {0, 0, 5, 5}, "SrcRect is empty!"},
        {"mapping empty", {0, 0, 5, 5}, {3, 3, 2, 8}, "MappingRect is empty!"},
    };
    for (const auto& c : cases) {
        TRemapTransformation t;
        t.SetSrcRect(c.src);
        t.SetMappingRect(c.mapping);
        try {
            t.ReverseTransform(TPoint{1, 1});
            ADD_FAILURE() << c.what;
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.what()), c.message) << c.what;
        }
    }
}

TEST(RemapTransformation, ZeroVectorsAreTheRectangleMapping) {
    struct {
        const char* what;
        TFloatRect src, mapping;
        TFloatPoint dst, want;
    } const cases[] = {
        {"same rectangles", {0, 0, 10, 10}, {0, 0, 10, 10}, {3, 4}, {3, 4}},
        {"source twice as large", {0, 0, 20, 20}, {0, 0, 10, 10}, {3, 4}, {6, 8}},
        {"moved rectangles", {100, 50, 110, 60}, {10, 10, 20, 20}, {12, 15}, {102, 55}},
    };
    for (const auto& c : cases) {
        TRemapTransformation t;
        t.VectorMap()->SetSize(11, 11);
        t.VectorMap()->Clear();
        t.SetSrcRect(c.src);
        t.SetMappingRect(c.mapping);
        const TFloatPoint f = t.ReverseTransform(c.dst);
        EXPECT_NEAR(f.X, c.want.X, 1e-4) << c.what;
        EXPECT_NEAR(f.Y, c.want.Y, 1e-4) << c.what;
        const TFixedPoint x = t.ReverseTransform(FixedPoint(c.dst));
        EXPECT_NEAR(x.X / 65536.0, c.want.X, 1e-3) << c.what;
        EXPECT_NEAR(x.Y / 65536.0, c.want.Y, 1e-3) << c.what;
        EXPECT_EQ(t.ReverseTransform(Point(c.dst)), Point(c.want)) << c.what;
        EXPECT_FALSE(t.TransformValid()) << "preparing does not keep";
    }
}

TEST(RemapTransformation, OneCellMapStaysFinite) {
    TRemapTransformation t;
    t.SetSrcRect(FloatRect(0, 0, 10, 10));
    t.SetMappingRect(FloatRect(0, 0, 5, 5));
    ASSERT_EQ(t.VectorMap()->Width(), 1);
    const TFloatPoint f = t.ReverseTransform(TFloatPoint{3, 4});
    EXPECT_NEAR(f.X, 6, 1e-4);
    EXPECT_NEAR(f.Y, 8, 1e-4);
    EXPECT_EQ(t.ReverseTransform(TPoint{3, 4}), (TPoint{6, 8}));
}

TEST(RemapTransformation, VectorsScaledAndOffset) {
    TRemapTransformation t;
    Square(t, 10);
    Fill(*t.VectorMap(), FixedPoint(2, -1));
    EXPECT_EQ(t.ReverseTransform(TPoint{3, 3}), (TPoint{5, 2}));
    t.Scale(0.5f, 2);
    EXPECT_EQ(t.ReverseTransform(TPoint{3, 3}), (TPoint{4, 1}));
    const TFloatPoint f = t.ReverseTransform(TFloatPoint{3, 3});
    EXPECT_NEAR(f.X, 4, 1e-4);
    EXPECT_NEAR(f.Y, 1, 1e-4);

    // Only cell (0, 0) moves; the offset puts it under destination (5, 5).
    TRemapTransformation o;
    Square(o, 10);
    o.VectorMap()->SetFixedVector(0, 0, FixedPoint(4, 0));
    o.SetOffset(TFloatPoint{5, 5});
    EXPECT_EQ(o.ReverseTransform(TPoint{5, 5}), (TPoint{9, 5}));
    EXPECT_EQ(o.ReverseTransform(FixedPoint(5, 5)), FixedPoint(9, 5));
    // Positions whose map cell lies off the map have no displacement.
    EXPECT_EQ(o.ReverseTransform(TPoint{0, 0}), (TPoint{0, 0}));
    EXPECT_EQ(o.ReverseTransform(TPoint{1000, -1000}), (TPoint{1000, -1000}));
    EXPECT_EQ(o.ReverseTransform(FixedPoint(-300, 2)), FixedPoint(-300, 2));
}

TEST(RemapTransformation, NoBoundsAndNoForwardMapping) {
    TRemapTransformation t;
    Square(t, 4);
    EXPECT_FALSE(t.HasTransformedBounds());
    EXPECT_EQ(t.GetTransformedBounds(), (TRect{-2147483647, -2147483647, 2147483647, 2147483647}));
    EXPECT_THROW(t.Transform(TFloatPoint{1, 1}), ETransformNotImplemented);
}

TEST(RemapTransformation, DrawsThroughTheVectors) {
    TBitmap32 src, dst;
    src.SetSize(8, 8);
    std::mt19937 rng(5);
    for (int i = 0; i < 64; ++i)
        src.Bits()[i] = rng() | 0xFF000000u;
    dst.SetSize(8, 8);
    TRemapTransformation t;
    Square(t, 8);
    Fill(*t.VectorMap(), FixedPoint(1, 0));
    Transform(&dst, &src, &t);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(dst.GetPixel(x, y), x + 1 < 8 ? src.GetPixel(x + 1, y) : src.OuterColor())
                << x << "," << y;
}

TEST(RasterizeTransformation, CombineModes) {
    TAffineTransformation shift;
    shift.Translate(2, 3);
    const TFixedPoint d = FixedPoint(-2, -3);
    const TFixedPoint old = FixedPoint(10, 10);
    struct {
        const char* what;
        TVectorCombineMode mode;
        TFixedPoint inside;
    } const cases[] = {
        {"replace", vcmReplace, d},
        {"add", vcmAdd, FixedPoint(8, 7)},
    };
    for (const auto& c : cases) {
        TVectorMap m;
        m.SetSize(4, 3);
        Fill(m, old);
        RasterizeTransformation(&m, &shift, TRect{1, 1, 6, 3}, c.mode);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                ASSERT_EQ(m.FixedVector(x, y), x >= 1 && y >= 1 ? c.inside : old)
                    << c.what << " " << x << "," << y;
    }
}

TEST(RasterizeTransformation, CustomGetsProgressAcrossTheRectangle) {
    TAffineTransformation identity;
    TVectorMap m;
    m.SetSize(5, 5);
    m.Clear();
    std::vector<TFixedPoint> progress;
    RasterizeTransformation(&m, &identity, TRect{1, 2, 4, 4}, vcmCustom,
                            [&](const TFixedPoint& F, const TFixedPoint& P, TFixedPoint& B) {
                                EXPECT_EQ(F, (TFixedPoint{0, 0}));
                                progress.push_back(P);
                                B = TFixedPoint{1, 1};
                            });
    EXPECT_EQ(progress, (std::vector<TFixedPoint>{
                            {0, 0}, {32768, 0}, {65536, 0}, {0, 65536}, {32768, 65536}, {65536, 65536}}));
    EXPECT_EQ(m.FixedVector(1, 2), (TFixedPoint{1, 1}));
    EXPECT_EQ(m.FixedVector(0, 2), (TFixedPoint{0, 0}));
    // One column: no division by zero, progress stays 0.
    progress.clear();
    RasterizeTransformation(
        &m, &identity, TRect{0, 0, 1, 2}, vcmCustom,
        [&](const TFixedPoint&, const TFixedPoint& P, TFixedPoint&) { progress.push_back(P); });
    EXPECT_EQ(progress, (std::vector<TFixedPoint>{{0, 0}, {0, 65536}}));
}

TEST(RasterizeTransformation, NothingOutsideTheMapAndNilArguments) {
    TAffineTransformation shift;
    shift.Translate(1, 1);
    TVectorMap m;
    m.SetSize(3, 3);
    m.Clear();
    RasterizeTransformation(&m, &shift, TRect{3, 0, 9, 9}, vcmReplace);
    RasterizeTransformation(&m, &shift, TRect{-5, -5, 0, 0}, vcmReplace);
    for (int i = 0; i < 9; ++i)
        ASSERT_EQ(m.Vectors()[i], (TFixedPoint{0, 0}));
    TVectorMap empty;
    EXPECT_NO_THROW(RasterizeTransformation(&empty, &shift, TRect{0, 0, 5, 5}));
    EXPECT_THROW(RasterizeTransformation(nullptr, &shift, TRect{0, 0, 5, 5}), ETransformError);
    EXPECT_THROW(RasterizeTransformation(&m, nullptr, TRect{0, 0, 5, 5}), ETransformError);
}

TEST(RasterizeTransformation, BakedMapReplaysTheMapping) {
    // A rotation baked into vectors and replayed through a remap over the same area.
    TAffineTransformation rot;
    rot.Rotate(8, 8, 20);
    const int n = 17;
    TRemapTransformation remap;
    remap.VectorMap()->SetSize(n, n);
    remap.VectorMap()->Clear();
    RasterizeTransformation(remap.VectorMap(), &rot, TRect{0, 0, n, n}, vcmReplace);
    remap.SetSrcRect(FloatRect(0, 0, n - 1, n - 1));
    remap.SetMappingRect(FloatRect(0, 0, n - 1, n - 1));
    for (int y = 0; y < n; y += 3)
        for (int x = 0; x < n; x += 2) {
            const TFloatPoint want = rot.ReverseTransform(TFloatPoint{float(x), float(y)});
            const TFloatPoint got = remap.ReverseTransform(TFloatPoint{float(x), float(y)});
            ASSERT_NEAR(got.X, want.X, 1e-3) << x << "," << y;
            ASSERT_NEAR(got.Y, want.Y, 1e-3) << x << "," << y;
        }
}

} // namespace
