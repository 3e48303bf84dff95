#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Resamplers.h"
#include "bitmap32/Bmp32_Samplers.h"
#include "bitmap32/Bmp32_Transforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

// A sampler that records where it is asked and answers from a function of the 16.16 position.
struct Probe : TCustomSampler {
    std::function<TColor32(TFixed, TFixed)> colour = [](TFixed, TFixed) { return 0xFF102030u; };
    std::vector<std::pair<TFixed, TFixed>> fixedAt;
    std::vector<std::pair<int, int>> intAt;
    std::vector<std::pair<float, float>> floatAt;
    int prepared = 0, finalized = 0;

    TColor32 GetSampleFixed(TFixed X, TFixed Y) override {
        fixedAt.emplace_back(X, Y);
        return colour(X, Y);
    }
    TColor32 GetSampleInt(int X, int Y) override {
        intAt.emplace_back(X, Y);
        return colour(Fixed(X), Fixed(Y));
    }
    TColor32 GetSampleFloat(float X, float Y) override {
        floatAt.emplace_back(X, Y);
        return colour(Fixed(X), Fixed(Y));
    }
    void PrepareSampling() override { ++prepared; }
    void FinalizeSampling() override { ++finalized; }
    bool HasBounds() override { return true; }
    TRect GetSampleBounds() override { return TRect{1, 2, 5, 7}; }
};

// A shift by (Dx, Dy) that counts its preparations.
struct Shift : TTransformation {
    TFixed dx, dy;
    int prepares = 0;
    bool bounded = true;
    Shift(TFixed x, TFixed y) : dx(x), dy(y) {}
    void PrepareTransform() override {
        ++prepares;
        Prepared();
    }
    void ReverseTransformFixed(TFixed X, TFixed Y, TFixed& U, TFixed& V) override {
        U = X - dx;
        V = Y - dy;
    }
    void ReverseTransformFloat(float X, float Y, float& U, float& V) override {
        U = X - dx / 65536.0f;
        V = Y - dy / 65536.0f;
    }
    bool HasTransformedBounds() const override { return bounded; }
    TRect GetTransformedBounds(const TFloatRect& R) override {
        return MakeRect(FloatRect(R.Left + dx / 65536.0f, R.Top + dy / 65536.0f, R.Right + dx / 65536.0f,
                                  R.Bottom + dy / 65536.0f));
    }
};

TEST(NestedSampler, EveryForwardWithoutANestedSamplerRaises) {
    TSuperSampler super;
    const std::function<void()> calls[] = {
        [&] { super.PrepareSampling(); },
        [&] { super.FinalizeSampling(); },
        [&] { super.HasBounds(); },
        [&] { super.GetSampleBounds(); },
        [&] { super.GetSampleFixed(0, 0); },
        [&] { TAdaptiveSuperSampler().GetSampleFixed(0, 0); },
        [&] { TPatternSampler().GetSampleFixed(0, 0); },
        [&] { TTransformer(nullptr, nullptr).GetSampleInt(0, 0); },
    };
    for (const auto& call : calls) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const ENestedException& e) {
            EXPECT_STREQ(e.what(), "Nested sampler is nil");
        }
    }
    Probe probe;
    super.SetSampler(&probe);
    super.PrepareSampling();
    super.FinalizeSampling();
    EXPECT_EQ(probe.prepared, 1);
    EXPECT_EQ(probe.finalized, 1);
    EXPECT_TRUE(super.HasBounds());
    EXPECT_EQ(super.GetSampleBounds(), (TRect{1, 2, 5, 7}));
    // Assigning copies the nested sampler and the settings.
    super.SetSamplingX(2);
    TSuperSampler other;
    other.Assign(&super);
    EXPECT_EQ(other.Sampler(), &probe);
    EXPECT_EQ(other.SamplingX(), 2);
    EXPECT_EQ(other.SamplingY(), 4);
}

TEST(SuperSampler, SubSamplePositionsAndAverages) {
    Probe probe;
    TSuperSampler super(&probe);
    super.SetSamplingX(1);
    super.SetSamplingY(1);
    EXPECT_EQ(super.GetSampleFixed(Fixed(3) + 100, Fixed(4)), 0xFF102030u);
    EXPECT_EQ(probe.fixedAt, (std::vector<std::pair<TFixed, TFixed>>{{Fixed(3) + 100, Fixed(4)}}));

    // 2 x 2: a quarter pixel either side; the scale 1/4 makes a truncated average.
    probe.fixedAt.clear();
    probe.colour = [](TFixed x, TFixed y) {
        return x < Fixed(3) ? (y < Fixed(4) ? 0x04080C10u : 0x00000001u) : 0xFF000003u;
    };
    super.SetSamplingX(2);
    super.SetSamplingY(2);
    const TColor32 c = super.GetSampleFixed(Fixed(3), Fixed(4));
    const std::vector<std::pair<TFixed, TFixed>> at = {{Fixed(3) - 16384, Fixed(4) - 16384},
                                                       {Fixed(3) + 16384, Fixed(4) - 16384},
                                                       {Fixed(3) - 16384, Fixed(4) + 16384},
                                                       {Fixed(3) + 16384, Fixed(4) + 16384}};
    EXPECT_EQ(probe.fixedAt, at);
    // Channels: alpha (4 + 255 + 0 + 255) / 4 = 128; red 8 / 4; green 12 / 4; blue (16 + 3 + 1 + 3) / 4.
    EXPECT_EQ(c, 0x80020305u);

    // Thirds: 9 white sub-samples scaled by Fixed(1/9) stay white.
    probe.colour = [](TFixed, TFixed) { return 0xFFFFFFFFu; };
    super.SetSamplingX(3);
    super.SetSamplingY(3);
    EXPECT_EQ(super.GetSampleFixed(0, 0), 0xFFFFFFFFu);
    // No sub-samples: the empty colour, nothing asked.
    probe.fixedAt.clear();
    super.SetSamplingX(0);
    EXPECT_EQ(super.GetSampleFixed(0, 0), 0u);
    EXPECT_TRUE(probe.fixedAt.empty());
    // The integer and float entries reach the same fixed sampling.
    super.SetSamplingX(1);
    super.SetSamplingY(1);
    probe.colour = [](TFixed x, TFixed y) { return static_cast<TColor32>(x ^ y); };
    EXPECT_EQ(super.GetSampleInt(2, 5), static_cast<TColor32>(Fixed(2) ^ Fixed(5)));
    EXPECT_EQ(super.GetSampleFloat(2.5f, 5), static_cast<TColor32>((Fixed(2) + 32768) ^ Fixed(5)));
}

TEST(SuperSampler, LargeCountsAverageAsDoublesDo) {
    // Blue and green follow the sub-sample's position inside its pixel, red is white, alpha falls
    // with blue; each channel of the result is the truncated mean, taken in doubles, of what the
    // nested sampler answered.
    Probe probe;
    std::vector<TColor32> answered;
    probe.colour = [&](TFixed x, TFixed y) {
        const TColor32 b = (static_cast<TColor32>(x) & 0xFFFF) >> 8,
                       g = (static_cast<TColor32>(y) & 0xFFFF) >> 8;
        answered.push_back((255 - b) << 24 | 0xFF0000u | g << 8 | b);
        return answered.back();
    };
    TSuperSampler super(&probe);
    for (const auto& [sx, sy] : {std::pair{28, 28}, {100, 100}, {3, 1}, {255, 7}, {1, 1000}, {766, 1}}) {
        super.SetSamplingX(sx);
        super.SetSamplingY(sy);
        answered.clear();
        const TColor32 c = super.GetSampleFixed(Fixed(5) + 0x3000, Fixed(-2) + 0x9000);
        ASSERT_EQ(answered.size(), static_cast<std::size_t>(sx * sy));
        for (int k = 0; k < 4; ++k) {
            double sum = 0;
            for (const TColor32 a : answered)
                sum += (a >> (8 * k)) & 0xFF;
            EXPECT_EQ((c >> (8 * k)) & 0xFF, static_cast<TColor32>(std::floor(sum / answered.size())))
                << sx << " x " << sy << " channel " << k;
        }
    }
}

TEST(AdaptiveSuperSampler, RefinesOnlyWhereCornersDiffer) {
    Probe probe;
    TAdaptiveSuperSampler adaptive(&probe);
    // Red, green and blue differences summed; alpha does not count.
    EXPECT_TRUE(adaptive.CompareColors(0xFF808080, 0x00000000));  // 384 > 256
    EXPECT_FALSE(adaptive.CompareColors(0xFF555555, 0x00000000)); // 255
    EXPECT_TRUE(adaptive.CompareColors(0xFFFF0000, 0xFF00FFFF));
    EXPECT_FALSE(adaptive.CompareColors(0xFF556677, 0xFF556677));
    adaptive.SetTolerance(100);
    EXPECT_TRUE(adaptive.CompareColors(0, 0x00222222)); // 102 > 100
    EXPECT_FALSE(adaptive.CompareColors(0, 0x00212121));
    adaptive.SetTolerance(256);

    // A flat colour: the four corners and the centre, nothing more.
    probe.colour = [](TFixed, TFixed) { return 0xFF336699u; };
    EXPECT_EQ(adaptive.GetSampleFixed(Fixed(5), Fixed(5)), 0xFF336699u);
    EXPECT_EQ(probe.fixedAt.size(), 5u);

    // Small differences stay under the tolerance: pairwise averages of corner and centre.
    probe.fixedAt.clear();
    probe.colour = [](TFixed x, TFixed y) {
        return x == Fixed(5) && y == Fixed(5) ? 0xFF202020u : (x < Fixed(5) ? 0xFF000000u : 0xFF404040u);
    };
    const TColor32 a = 0xFF000000, b = 0xFF404040, e = 0xFF202020;
    const TColor32 want = ColorAverage(ColorAverage(ColorAverage(a, e), ColorAverage(b, e)),
                                       ColorAverage(ColorAverage(b, e), ColorAverage(a, e)));
    EXPECT_EQ(adaptive.GetSampleFixed(Fixed(5), Fixed(5)), want);
    EXPECT_EQ(probe.fixedAt.size(), 5u);

    // A hard black-white edge through the pixel: refined down to Level, never further. Level 1 allows
    // no quadrant offset (1/4 pixel is below 1/2).
    probe.fixedAt.clear();
    probe.colour = [](TFixed x, TFixed) { return x < Fixed(5) + 100 ? 0xFF000000u : 0xFFFFFFFFu; };
    adaptive.SetLevel(1);
    adaptive.GetSampleFixed(Fixed(5), Fixed(5));
    EXPECT_EQ(probe.fixedAt.size(), 5u);
    for (int level : {2, 4}) {
        probe.fixedAt.clear();
        probe.colour = [](TFixed x, TFixed) { return x < Fixed(5) + 100 ? 0xFF000000u : 0xFFFFFFFFu; };
        adaptive.SetLevel(level);
        const TColor32 c = adaptive.GetSampleFixed(Fixed(5), Fixed(5));
        EXPECT_GT(probe.fixedAt.size(), 5u) << level;
        const TFixed minOffset = Fixed(1.0f / static_cast<float>(1 << level));
        for (auto [x, y] : probe.fixedAt) {
            // Every position lies on the grid of the finest offset the level allows.
            EXPECT_EQ((x - Fixed(5)) % minOffset, 0) << level;
            EXPECT_EQ((y - Fixed(5)) % minOffset, 0) << level;
        }
        const unsigned grey = c & 0xFF;
        EXPECT_GT(grey, 64u);
        EXPECT_LT(grey, 192u);
    }
}

TEST(PatternSampler, AveragesTheOffsetsOfTheCell) {
    Probe probe;
    TPatternSampler pattern(&probe);
    // Empty pattern: the plain sample.
    EXPECT_EQ(pattern.GetSampleFixed(Fixed(1), Fixed(1)), 0xFF102030u);
    // One row of two cells.
    pattern.SetPattern({{{{0, 0}, {32768, 0}}, {{0, -32768}}}});
    probe.fixedAt.clear();
    probe.colour = [](TFixed x, TFixed) { return x >= Fixed(2) + 32768 ? 0x02020202u : 0x04040404u; };
    EXPECT_EQ(pattern.GetSampleFixed(Fixed(2), Fixed(7)), 0x03030303u);
    EXPECT_EQ(probe.fixedAt,
              (std::vector<std::pair<TFixed, TFixed>>{{Fixed(2), Fixed(7)}, {Fixed(2) + 32768, Fixed(7)}}));
    // Odd columns use the second cell, also left of 0.
    for (TFixed x : {Fixed(3), Fixed(-1), Fixed(-3) + 5}) {
        probe.fixedAt.clear();
        pattern.GetSampleFixed(x, Fixed(-4));
        ASSERT_EQ(probe.fixedAt.size(), 1u) << x;
        EXPECT_EQ(probe.fixedAt[0], (std::pair<TFixed, TFixed>{x, Fixed(-4) - 32768}));
    }
}

TEST(PatternSampler, JitteredPatternShapeAndRanges) {
    const TFixedSamplePattern p = CreateJitteredPattern(2, 3, 2, 4);
    ASSERT_EQ(p.size(), 3u);
    for (const auto& row : p) {
        ASSERT_EQ(row.size(), 2u);
        for (const TArrayOfFixedPoint& cell : row) {
            ASSERT_EQ(cell.size(), 8u);
            for (int i = 0; i < 2; ++i)
                for (int j = 0; j < 4; ++j) {
                    const TFixedPoint o = cell[static_cast<std::size_t>(i * 4 + j)];
                    // Sub-sample (i, j) stays in its own share of the pixel.
                    EXPECT_GE(o.X, (i << 16) / 2 - 32768);
                    EXPECT_LT(o.X, ((i + 1) << 16) / 2 - 32768);
                    EXPECT_GE(o.Y, (j << 16) / 4 - 32768);
                    EXPECT_LT(o.Y, ((j + 1) << 16) / 4 - 32768);
                }
        }
    }
    EXPECT_TRUE(CreateJitteredPattern(0, 3, 2, 2).empty());
    EXPECT_TRUE(CreateJitteredPattern(2, 3, 0, 2).empty());
}

TEST(Transformer, ReverseMapsEachCoordinateForm) {
    Probe probe;
    Shift shift(Fixed(2), -Fixed(1) / 2);
    TTransformer t(&probe, &shift);
    t.PrepareSampling();
    t.PrepareSampling();
    EXPECT_EQ(shift.prepares, 1); // prepared once, then valid
    EXPECT_EQ(probe.prepared, 2);
    t.GetSampleInt(5, 6);
    EXPECT_EQ(probe.fixedAt.back(), (std::pair<TFixed, TFixed>{Fixed(3), Fixed(6) + 32768}));
    t.GetSampleFixed(Fixed(5) + 7, 0);
    EXPECT_EQ(probe.fixedAt.back(), (std::pair<TFixed, TFixed>{Fixed(3) + 7, 32768}));
    t.GetSampleFloat(5.25f, 1);
    EXPECT_EQ(probe.floatAt.back(), (std::pair<float, float>{3.25f, 1.5f}));
    // Bounds: the transformed bounds of the nested sampler's, when both have them.
    EXPECT_TRUE(t.HasBounds());
    EXPECT_EQ(t.GetSampleBounds(), MakeRect(FloatRect(3, 1.5f, 7, 6.5f)));
    shift.bounded = false;
    EXPECT_FALSE(t.HasBounds());
    EXPECT_THROW(TTransformer(&probe, nullptr).GetSampleInt(0, 0), ENestedException);
}

TEST(Transformer, NearestTransformerReadsWholePixels) {
    Probe probe;
    Shift shift(Fixed(2) + 16384, 0);
    TNearestTransformer t(&probe, &shift);
    shift.PrepareTransform();
    // 1 - 2.25 = -1.25 lies in pixel -2, left of 0.
    t.GetSampleFixed(Fixed(1), Fixed(3) + 40000);
    EXPECT_EQ(probe.intAt.back(), (std::pair<int, int>{-2, 3}));
    t.GetSampleFixed(Fixed(5), 0);
    EXPECT_EQ(probe.intAt.back(), (std::pair<int, int>{2, 0}));
    // Floats round half to even: 4.75 - 2.25 = 2.5 gives 2; 5.75 - 2.25 = 3.5 gives 4.
    t.GetSampleFloat(4.75f, 0.5f);
    EXPECT_EQ(probe.intAt.back(), (std::pair<int, int>{2, 0}));
    t.GetSampleFloat(5.75f, 1.5f);
    EXPECT_EQ(probe.intAt.back(), (std::pair<int, int>{4, 2}));
    // The integer form goes through the transformation's integer mapping (fixed, then rounded).
    t.GetSampleInt(4, 1);
    EXPECT_EQ(probe.intAt.back(), (std::pair<int, int>{2, 1}));
}

TEST(Transformer, ResamplersNameTheirTransformerClass) {
    TBitmap32 bmp;
    bmp.SetSize(4, 4);
    for (int i = 0; i < 16; ++i)
        bmp.Bits()[i] = static_cast<TColor32>(0xFF000000 | i);
    Shift shift(Fixed(1), Fixed(1));
    for (auto [name, transformer] : {std::pair{"TNearestResampler", "TNearestTransformer"},
                                     {"TLinearResampler", "TTransformer"},
                                     {"TDraftResampler", "TTransformer"},
                                     {"TKernelResampler", "TTransformer"}}) {
        bmp.SetResamplerClassName(name);
        auto* r = static_cast<TBitmap32Resampler*>(bmp.Resampler());
        ASSERT_NE(r->TransformerClass(), nullptr) << name;
        EXPECT_STREQ(r->TransformerClass()->ClassName(), transformer);
        std::unique_ptr<TTransformer> t(r->TransformerClass()->Create(r, &shift));
        EXPECT_EQ(t->ClassName(), transformer);
        t->PrepareSampling();
        // Destination (2, 3) reads source pixel (1, 2) through every resampler.
        EXPECT_EQ(t->GetSampleInt(2, 3), bmp.GetPixel(1, 2)) << name;
        t->FinalizeSampling();
    }
}

} // namespace
