#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Kernels.h"
#include "bitmap32/Bmp32_Resamplers.h"
#include "bitmap32/Bmp32_Transforms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<TColor32> Pixels(const TBitmap32& b) {
    return std::vector<TColor32>(b.Bits(), b.Bits() + b.Width() * b.Height());
}

void Random(TBitmap32& b, int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    b.SetSize(w, h);
    for (int i = 0; i < w * h; ++i)
        b.Bits()[i] = rng();
}

std::unique_ptr<TCustomKernel> Make(const std::string& name) {
    auto* cls = dynamic_cast<const TKernelClass*>(KernelList()->Find(name));
    return std::unique_ptr<TCustomKernel>(cls->Create());
}

// Restores the stretch convention a test changes.
struct FullEdgeScope {
    explicit FullEdgeScope(bool v) { FullEdge = v; }
    ~FullEdgeScope() { FullEdge = true; }
};

// Plain blending arithmetic for the tests that compare with CombineReg.
struct PlainBlend {
    PlainBlend() { SelectBlendSet(false); }
    ~PlainBlend() { SetupBlendFunctions(); }
};

TCluster C(std::initializer_list<TPointRec> e) {
    return TCluster(e);
}

TEST(MappingTable, HandWorkedClusters) {
    TLinearKernel linear;
    TBoxKernel box;
    // Enlarging 2 -> 4: centres -0.25, 0.25, 0.75, 1.25; weights 256 x Filter(centre - J), clamped positions.
    EXPECT_EQ(BuildMappingTable(0, 4, 0, 4, 0, 2, &linear),
              (TMappingTable{C({{0, 64}, {0, 192}}), C({{0, 192}, {1, 64}}), C({{0, 64}, {1, 192}}),
                             C({{1, 192}, {1, 64}})}));
    // Shrinking 4 -> 2: the kernel is twice as wide, weights 128 x Filter((centre - J) / 2).
    EXPECT_EQ(
        BuildMappingTable(0, 2, 0, 2, 0, 4, &linear),
        (TMappingTable{C({{0, 32}, {0, 96}, {1, 96}, {2, 32}}), C({{1, 32}, {2, 96}, {3, 96}, {3, 32}})}));
    // Box: enlarging duplicates, shrinking averages pairs.
    EXPECT_EQ(BuildMappingTable(0, 4, 0, 4, 0, 2, &box),
              (TMappingTable{C({{0, 256}}), C({{0, 256}}), C({{1, 256}}), C({{1, 256}})}));
    EXPECT_EQ(BuildMappingTable(0, 2, 0, 2, 0, 4, &box),
              (TMappingTable{C({{0, 128}, {1, 128}}), C({{2, 128}, {3, 128}})}));
    // A clipped range is the same part of the whole table; source offsets move the positions.
    const TMappingTable whole = BuildMappingTable(0, 4, 0, 4, 0, 2, &linear);
    EXPECT_EQ(BuildMappingTable(0, 4, 1, 3, 0, 2, &linear), (TMappingTable{whole[1], whole[2]}));
    EXPECT_EQ(BuildMappingTable(-10, -6, -10, -6, 5, 7, &box),
              (TMappingTable{C({{5, 256}}), C({{5, 256}}), C({{6, 256}}), C({{6, 256}})}));
    // One source pixel; no source pixels; one destination pixel without the full edge.
    EXPECT_EQ(BuildMappingTable(0, 3, 0, 3, 4, 5, &linear),
              (TMappingTable{C({{4, 256}}), C({{4, 256}}), C({{4, 256}})}));
    EXPECT_TRUE(BuildMappingTable(0, 3, 0, 3, 4, 4, &linear).empty());
    {
        FullEdgeScope scope(false);
        EXPECT_EQ(BuildMappingTable(0, 1, 0, 1, 2, 7, &linear), (TMappingTable{C({{4, 256}})}));
        // Centres 0, 1/3, 2/3, 1 over the pixel centres.
        EXPECT_EQ(
            BuildMappingTable(0, 4, 0, 4, 0, 2, &linear),
            (TMappingTable{C({{0, 256}}), C({{0, 171}, {1, 85}}), C({{0, 85}, {1, 171}}), C({{1, 256}})}));
    }
}

// A rounding shortfall goes to the middle entry of the cluster.
TEST(MappingTable, ShortfallGoesToTheMiddleEntry) {
    TCosineKernel cosine;
    // 3 -> 1 shrinks by 3: centre 1, kernel width 3, weights Round(Filter(d / 3) * 256 / 3).
    const TMappingTable t = BuildMappingTable(0, 1, 0, 1, 0, 3, &cosine);
    ASSERT_EQ(t.size(), 1u);
    std::vector<int> raw;
    for (int j = -2; j <= 4; ++j) {
        const double w = std::nearbyint(cosine.Filter(static_cast<float>((1.0 - j) / 3.0)) * 256.0 / 3.0);
        if (w != 0) raw.push_back(static_cast<int>(w));
    }
    ASSERT_EQ(raw.size(), t[0].size());
    int sum = 0;
    for (int w : raw)
        sum += w;
    raw[(raw.size() - 1) / 2] += 256 - sum;
    for (std::size_t i = 0; i < raw.size(); ++i)
        EXPECT_EQ(t[0][i].Weight, raw[i]) << i;
}

// Every cluster of every kernel, up and down, sums to 256 and stays inside the source. (The middle entry
// may absorb its own weight down to 0.)
TEST(MappingTable, WeightsSumTo256InsideTheSource) {
    for (int i = 0; i < KernelList()->Count(); ++i) {
        auto k = Make(KernelList()->Items(i)->ClassName());
        for (bool full : {true, false}) {
            FullEdgeScope scope(full);
            for (auto [src, dst] : {std::pair{3, 17}, {17, 3}, {5, 5}, {2, 9}, {9, 2}, {64, 7}}) {
                const TMappingTable t = BuildMappingTable(0, dst, 0, dst, 10, 10 + src, k.get());
                ASSERT_EQ(t.size(), static_cast<std::size_t>(dst));
                for (const TCluster& c : t) {
                    int sum = 0;
                    for (const TPointRec& e : c) {
                        EXPECT_GE(e.Pos, 10);
                        EXPECT_LT(e.Pos, 10 + src);
                        sum += e.Weight;
                    }
                    EXPECT_EQ(sum, 256) << k->ClassName() << " " << src << "->" << dst;
                }
            }
        }
    }
}

// A straightforward reference: each destination pixel is the full two-dimensional sum over its row and
// column clusters, computed in doubles from the kernel, then cut to bits 16..23 as the resampler does.
std::vector<TColor32> ReferenceKernelStretch(const TBitmap32& src, int dstW, int dstH,
                                             const TCustomKernel& k) {
    auto clusters = [&](int srcN, int dstN) {
        std::vector<std::vector<std::pair<int, int>>> out(static_cast<std::size_t>(dstN));
        const float scale = static_cast<float>(static_cast<double>(dstN) / srcN);
        const float s = 1.0f / scale;
        const bool shrink = scale < 1;
        const double width = shrink ? static_cast<double>(k.GetWidth() * s) : k.GetWidth();
        for (int i = 0; i < dstN; ++i) {
            const float centre = static_cast<float>((i + 0.5) * s - 0.5);
            int sum = 0;
            auto& c = out[static_cast<std::size_t>(i)];
            for (int j = static_cast<int>(std::floor(centre - width)); j <= std::ceil(centre + width); ++j) {
                const double d = static_cast<double>(centre) - j;
                const double w = shrink ? k.Filter(static_cast<float>(d * scale)) * 256.0 * scale
                                        : k.Filter(static_cast<float>(d)) * 256.0;
                const int wi = static_cast<int>(std::nearbyint(w));
                if (wi == 0) continue;
                c.emplace_back(std::clamp(j, 0, srcN - 1), wi);
                sum += wi;
            }
            c[(c.size() - 1) / 2].second += 256 - sum;
        }
        return out;
    };
    const auto cx = clusters(src.Width(), dstW), cy = clusters(src.Height(), dstH);
    std::vector<TColor32> out;
    for (int y = 0; y < dstH; ++y)
        for (int x = 0; x < dstW; ++x) {
            TColor32 pixel = 0;
            for (int ch = 0; ch < 4; ++ch) {
                double sum = 0;
                for (auto [py, wy] : cy[static_cast<std::size_t>(y)])
                    for (auto [px, wx] : cx[static_cast<std::size_t>(x)])
                        sum += static_cast<double>((src.GetPixel(px, py) >> (8 * ch)) & 0xFF) * wx * wy;
                double v = std::floor(sum / 65536.0);
                if (k.RangeCheck()) v = std::clamp(v, 0.0, 255.0);
                pixel |= static_cast<TColor32>(static_cast<std::int64_t>(v) & 0xFF) << (8 * ch);
            }
            out.push_back(pixel);
        }
    return out;
}

TEST(KernelResample, MatchesTheReferenceForEveryKernelUpAndDown) {
    TBitmap32 src;
    Random(src, 7, 5, 11);
    for (int i = 0; i < KernelList()->Count(); ++i) {
        auto k = Make(KernelList()->Items(i)->ClassName());
        for (auto [w, h] : {std::pair{13, 11}, {3, 2}, {7, 12}, {2, 5}}) {
            TBitmap32 dst;
            dst.SetSize(w, h);
            KernelResample(&dst, dst.BoundsRect(), dst.BoundsRect(), &src, src.BoundsRect(), k.get(),
                           dmOpaque, nullptr);
            ASSERT_EQ(Pixels(dst), ReferenceKernelStretch(src, w, h, *k))
                << k->ClassName() << " " << w << "x" << h;
        }
    }
}

TEST(KernelResample, BoxByHalvesAveragesBlocksAndByTwoDuplicates) {
    TBitmap32 src, dst;
    src.SetSize(4, 2);
    const TColor32 px[8] = {0x00000000, 0x04040404, 0xFF102030, 0x01FFFFFF,
                            0x02020202, 0x07070707, 0x80000000, 0x00000001};
    std::copy(px, px + 8, src.Bits());
    dst.SetSize(2, 1);
    TBoxKernel box;
    KernelResample(&dst, dst.BoundsRect(), dst.BoundsRect(), &src, src.BoundsRect(), &box, dmOpaque, nullptr);
    // Truncated channel averages: (0 + 4 + 2 + 7) / 4 = 3; alpha (255 + 1 + 128 + 0) / 4 = 96.
    EXPECT_EQ(dst.GetPixel(0, 0), 0x03030303u);
    EXPECT_EQ(dst.GetPixel(1, 0), 0x6043474Cu);
    dst.SetSize(8, 4);
    KernelResample(&dst, dst.BoundsRect(), dst.BoundsRect(), &src, src.BoundsRect(), &box, dmOpaque, nullptr);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(dst.GetPixel(x, y), src.GetPixel(x / 2, y / 2)) << x << "," << y;
}

TEST(KernelResample, RangeCheckClampsOvershoot) {
    // A hard edge through a cubic kernel overshoots on both sides.
    TBitmap32 src, dst;
    src.SetSize(4, 1);
    const TColor32 px[4] = {0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF};
    std::copy(px, px + 4, src.Bits());
    dst.SetSize(16, 1);
    TCubicKernel cubic;
    KernelResample(&dst, dst.BoundsRect(), dst.BoundsRect(), &src, src.BoundsRect(), &cubic, dmOpaque,
                   nullptr);
    EXPECT_EQ(Pixels(dst), ReferenceKernelStretch(src, 16, 1, cubic));
    // Near the edge the dark side dips below 0 and the light side rises above 255: held at the ends.
    EXPECT_EQ(dst.GetPixel(4, 0), 0xFF000000u);
    EXPECT_EQ(dst.GetPixel(5, 0), 0xFF000000u);
    EXPECT_EQ(dst.GetPixel(10, 0), 0xFFFFFFFFu);
    EXPECT_EQ(dst.GetPixel(11, 0), 0xFFFFFFFFu);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(dst.GetPixel(x, 0) >> 24, 0xFFu) << x;
}

TEST(KernelResample, ClipDrawsTheSamePixelsAsTheWhole) {
    TBitmap32 src, whole, part;
    Random(src, 6, 6, 12);
    whole.SetSize(10, 9);
    part.SetSize(10, 9);
    part.Clear(0x11223344);
    TLanczosKernel lanczos;
    KernelResample(&whole, TRect{0, 0, 10, 9}, TRect{0, 0, 10, 9}, &src, src.BoundsRect(), &lanczos, dmOpaque,
                   nullptr);
    const TRect clip{2, 3, 7, 8};
    KernelResample(&part, TRect{0, 0, 10, 9}, clip, &src, src.BoundsRect(), &lanczos, dmOpaque, nullptr);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(part.GetPixel(x, y), PtInRect(clip, TPoint{x, y}) ? whole.GetPixel(x, y) : 0x11223344u)
                << x << "," << y;
}

TEST(KernelResample, DrawModes) {
    TBitmap32 src, dst;
    src.SetSize(1, 1);
    src.SetPixel(0, 0, 0x80FF0000);
    dst.SetSize(2, 2);
    TBoxKernel box;
    auto run = [&](TDrawMode mode, const TPixelCombineEvent& cb = nullptr) {
        dst.Clear(0xFF0000FF);
        KernelResample(&dst, dst.BoundsRect(), dst.BoundsRect(), &src, src.BoundsRect(), &box, mode, cb);
    };
    run(dmOpaque);
    EXPECT_EQ(Pixels(dst), std::vector<TColor32>(4, 0x80FF0000));
    src.SetMasterAlpha(100);
    run(dmBlend);
    TColor32 want = 0xFF0000FF;
    BlendMemEx(0x80FF0000, want, 100);
    EXPECT_EQ(Pixels(dst), std::vector<TColor32>(4, want));
    src.SetMasterAlpha(0);
    run(dmBlend);
    EXPECT_EQ(Pixels(dst), std::vector<TColor32>(4, 0xFF0000FF));
    src.SetMasterAlpha(255);
    src.SetOuterColor(0x80FF0000);
    run(dmTransparent);
    EXPECT_EQ(Pixels(dst), std::vector<TColor32>(4, 0xFF0000FF));
    int calls = 0;
    run(dmCustom, [&](TColor32 f, TColor32& b, TColor32 m) {
        ++calls;
        b = f + m;
    });
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(dst.GetPixel(1, 1), 0x80FF0000u + 255);
    run(dmCustom);
    EXPECT_EQ(dst.GetPixel(1, 1), 0x80FF0000u);
}

// Called directly, the stretches check and cut their rectangles as the stretch transfer does.
TEST(KernelResample, DirectCallsCheckTheirRectangles) {
    TBitmap32 src, dst, expected;
    Random(src, 4, 4, 20);
    dst.SetSize(6, 5);
    dst.Clear(0xFF000000);
    expected.Assign(&dst);
    TCubicKernel cubic;
    const TRect dstRect{-3, -2, 9, 8};
    using Stretch = std::function<void(TBitmap32*, const TRect&, TRect, TBitmap32*, TRect)>;
    const Stretch stretches[] = {
        [&](TBitmap32* d, const TRect& r, TRect c, TBitmap32* s, TRect sr) {
            KernelResample(d, r, c, s, sr, &cubic, dmOpaque, nullptr);
        },
        [](TBitmap32* d, const TRect& r, TRect c, TBitmap32* s, TRect sr) {
            StretchLinear(d, r, c, s, sr, dmOpaque, nullptr);
        },
        [](TBitmap32* d, const TRect& r, TRect c, TBitmap32* s, TRect sr) {
            StretchDraft(d, r, c, s, sr, dmOpaque, nullptr);
        },
    };
    for (const Stretch& stretch : stretches) {
        // A clip far larger than the destination draws only inside it, as the clipped call does.
        TRect clip = dstRect;
        IntersectRect(clip, clip, dst.BoundsRect());
        stretch(&expected, dstRect, clip, &src, src.BoundsRect());
        stretch(&dst, dstRect, TRect{-100, -100, 100, 100}, &src, src.BoundsRect());
        EXPECT_EQ(Pixels(dst), Pixels(expected));
        EXPECT_THROW(stretch(&dst, dstRect, dst.BoundsRect(), &src, TRect{0, 0, 5, 4}), ESrcInvalidException);
        EXPECT_THROW(stretch(&dst, dstRect, dst.BoundsRect(), nullptr, TRect{0, 0, 1, 1}), EBitmapException);
        // Nothing to draw: a clip beside the destination rectangle, an empty source rectangle.
        const auto before = Pixels(dst);
        stretch(&dst, TRect{0, 0, 2, 2}, TRect{3, 3, 6, 5}, &src, src.BoundsRect());
        stretch(&dst, dstRect, dst.BoundsRect(), &src, TRect{1, 1, 1, 4});
        EXPECT_EQ(Pixels(dst), before);
    }
}

// ---- bilinear stretch ----

TEST(StretchLinear, TwoByTwoToFourByFourByHand) {
    PlainBlend plain;
    TBitmap32 src, dst;
    src.SetSize(2, 2);
    const TColor32 a = 0xFF000000, b = 0xFFFFFFFF, c = 0x00000000, d = 0x80808080;
    src.SetPixel(0, 0, a);
    src.SetPixel(1, 0, b);
    src.SetPixel(0, 1, c);
    src.SetPixel(1, 1, d);
    dst.SetSize(4, 4);
    StretchLinear(&dst, dst.BoundsRect(), dst.BoundsRect(), &src, src.BoundsRect(), dmOpaque, nullptr);
    // Positions -0.25, 0.25, 0.75, 1.25 clamp to 0, 0.25, 0.75, 1: left weights 256 (held at 255), 192,
    // 64, and for the last column the pair (0, 1) with weight 0.
    const unsigned w[4] = {255, 192, 64, 0};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const TColor32 want = CombineReg(CombineReg(a, b, w[x]), CombineReg(c, d, w[x]), w[y]);
            ASSERT_EQ(dst.GetPixel(x, y), want) << x << "," << y;
        }
    EXPECT_EQ(dst.GetPixel(0, 0), a);
    EXPECT_EQ(dst.GetPixel(3, 0), b);
    EXPECT_EQ(dst.GetPixel(3, 3), d);
    // S(255, 192) + S(255, 63) = 191 + 63 in alpha, S(255, 63) = 63 in the colours.
    EXPECT_EQ(dst.GetPixel(1, 0), 0xFE3F3F3Fu);
}

TEST(StretchLinear, WithoutFullEdgeTheCornersAreTheSourceCorners) {
    PlainBlend plain;
    FullEdgeScope scope(false);
    TBitmap32 src, dst;
    Random(src, 3, 3, 13);
    dst.SetSize(5, 5);
    StretchLinear(&dst, dst.BoundsRect(), dst.BoundsRect(), &src, src.BoundsRect(), dmOpaque, nullptr);
    // Scale 2/4: every other destination pixel sits on a source pixel.
    for (int y = 0; y < 5; y += 2)
        for (int x = 0; x < 5; x += 2)
            EXPECT_EQ(dst.GetPixel(x, y), src.GetPixel(x / 2, y / 2)) << x << "," << y;
    // The middle of a pair: weight 256 - 128.
    EXPECT_EQ(dst.GetPixel(1, 0), CombineReg(src.GetPixel(0, 0), src.GetPixel(1, 0), 128));
}

TColor32 InterpolatorThroughTheVariable(unsigned WX, unsigned WY, const TColor32* P, const TColor32* Q) {
    return LinearInterpolator_Pas(WX, WY, P, Q);
}

// Rows mixed once and reused give what the interpolator gives pixel by pixel, in both blend sets.
TEST(StretchLinear, ReusedRowsEqualThePerPixelInterpolator) {
    for (bool packed : {false, true}) {
        SelectBlendSet(packed);
        for (TDrawMode mode : {dmOpaque, dmBlend}) {
            TBitmap32 src, a, b;
            Random(src, 5, 4, 18);
            src.SetMasterAlpha(170);
            Random(a, 13, 11, 19);
            b.Assign(&a);
            const TRect clip{1, 2, 12, 10};
            StretchLinear(&a, a.BoundsRect(), clip, &src, TRect{1, 0, 5, 4}, mode, nullptr);
            LinearInterpolator = InterpolatorThroughTheVariable;
            StretchLinear(&b, b.BoundsRect(), clip, &src, TRect{1, 0, 5, 4}, mode, nullptr);
            LinearInterpolator = LinearInterpolator_Pas;
            ASSERT_EQ(Pixels(a), Pixels(b)) << packed << " " << int(mode);
        }
    }
    SetupBlendFunctions();
    // A one-pixel-wide source has no pair to mix: it is stretched through the linear kernel instead.
    TBitmap32 one, dst;
    one.SetSize(1, 3);
    for (int y = 0; y < 3; ++y)
        one.SetPixel(0, y, Gray32(static_cast<std::uint8_t>(100 * y), 255));
    dst.SetSize(4, 6);
    StretchLinear(&dst, dst.BoundsRect(), dst.BoundsRect(), &one, one.BoundsRect(), dmOpaque, nullptr);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(dst.GetPixel(x, 0), one.GetPixel(0, 0));
}

// ---- draft reduction ----

TEST(StretchDraft, BlockAveragesOfUnevenBlocks) {
    TBitmap32 src, dst;
    src.SetSize(6, 2);
    for (int x = 0; x < 6; ++x) {
        src.SetPixel(x, 0, Gray32(static_cast<std::uint8_t>(x * 40), 255));
        src.SetPixel(x, 1, Gray32(static_cast<std::uint8_t>(x * 40 + 20), 255));
    }
    dst.SetSize(4, 1);
    StretchDraft(&dst, dst.BoundsRect(), dst.BoundsRect(), &src, src.BoundsRect(), dmOpaque, nullptr);
    // Scale 1.5, step 98304: columns 0, 1-2, 3, 4-5; both rows.
    const int blocks[4][2] = {{0, 1}, {1, 3}, {3, 4}, {4, 6}};
    for (int i = 0; i < 4; ++i) {
        unsigned sum = 0, n = 0;
        for (int x = blocks[i][0]; x < blocks[i][1]; ++x)
            for (int y = 0; y < 2; ++y, ++n)
                sum += src.GetPixel(x, y) & 0xFF;
        const unsigned avg = static_cast<unsigned>((std::uint64_t{sum} * (16777216 / n)) >> 24);
        EXPECT_EQ(dst.GetPixel(i, 0), Gray32(static_cast<std::uint8_t>(avg), 255)) << i;
    }
    // A clipped part starts its blocks from the clip's own origin.
    dst.Clear(0);
    StretchDraft(&dst, dst.BoundsRect(), TRect{2, 0, 4, 1}, &src, src.BoundsRect(), dmOpaque, nullptr);
    EXPECT_EQ(dst.GetPixel(0, 0), 0u);
    EXPECT_EQ(dst.GetPixel(2, 0), BlockAverage(1, 2, src.GetPixelPtr(3, 0), 24));
    EXPECT_EQ(dst.GetPixel(3, 0), BlockAverage(2, 2, src.GetPixelPtr(4, 0), 24));
}

// ---- the resamplers' choices ----

struct Case {
    const char* resampler;
    int srcW, srcH, dstW, dstH;
    // 0 kernel stretch with a linear kernel, 1 bilinear, 2 draft blocks
    int path;
};

TEST(Resamplers, EachResamplerPicksItsStretch) {
    const Case cases[] = {
        {"TLinearResampler", 2, 2, 4, 4, 1}, {"TLinearResampler", 4, 4, 2, 2, 0},
        {"TLinearResampler", 4, 3, 8, 3, 0}, {"TLinearResampler", 1, 3, 5, 7, 0},
        {"TDraftResampler", 2, 2, 4, 4, 1},  {"TDraftResampler", 4, 4, 2, 2, 2},
        {"TDraftResampler", 4, 3, 8, 2, 1},  {"TDraftResampler", 1, 3, 5, 7, 0},
        {"TDraftResampler", 7, 5, 3, 5, 2},
    };
    TLinearKernel linear;
    for (const Case& c : cases) {
        TBitmap32 src, viaResampler, direct;
        Random(src, c.srcW, c.srcH, 14);
        src.SetResamplerClassName(c.resampler);
        viaResampler.SetSize(c.dstW, c.dstH);
        direct.SetSize(c.dstW, c.dstH);
        src.DrawTo(&viaResampler, viaResampler.BoundsRect());
        const TRect r = direct.BoundsRect();
        if (c.path == 0)
            KernelResample(&direct, r, r, &src, src.BoundsRect(), &linear, dmOpaque, nullptr);
        else if (c.path == 1)
            StretchLinear(&direct, r, r, &src, src.BoundsRect(), dmOpaque, nullptr);
        else
            StretchDraft(&direct, r, r, &src, src.BoundsRect(), dmOpaque, nullptr);
        EXPECT_EQ(Pixels(viaResampler), Pixels(direct))
            << c.resampler << " " << c.srcW << "x" << c.srcH << " -> " << c.dstW << "x" << c.dstH;
    }
}

TEST(Resamplers, IdentityAndOnePixelSources) {
    for (const char* name :
         {"TNearestResampler", "TLinearResampler", "TDraftResampler", "TKernelResampler"}) {
        TBitmap32 src, dst;
        Random(src, 5, 4, 15);
        src.SetResamplerClassName(name);
        if (auto* k = dynamic_cast<TKernelResampler*>(src.Resampler()))
            k->SetKernelClassName("TLanczosKernel");
        dst.SetSize(5, 4);
        src.DrawTo(&dst, dst.BoundsRect());
        EXPECT_EQ(Pixels(dst), Pixels(src)) << name;

        // One source pixel fills any destination with itself.
        TBitmap32 one;
        one.SetSize(1, 1);
        one.SetPixel(0, 0, 0x7F123456);
        one.SetResamplerClassName(name);
        if (auto* k = dynamic_cast<TKernelResampler*>(one.Resampler())) k->SetKernelClassName("TCubicKernel");
        for (auto [w, h] : {std::pair{3, 3}, {1, 4}, {6, 1}}) {
            dst.SetSize(w, h);
            one.DrawTo(&dst, dst.BoundsRect());
            EXPECT_EQ(Pixels(dst), std::vector<TColor32>(static_cast<std::size_t>(w * h), 0x7F123456u))
                << name << " " << w << "x" << h;
        }
    }
}

TEST(Resamplers, StretchOfABitmapOntoItselfReadsTheOriginal) {
    for (const char* name : {"TLinearResampler", "TDraftResampler", "TKernelResampler"}) {
        TBitmap32 self, copy, expected;
        Random(self, 8, 8, 16);
        self.SetResamplerClassName(name);
        copy.Assign(&self);
        expected.Assign(&self);
        for (TRect dstRect : {TRect{0, 0, 8, 8}, TRect{1, 1, 4, 4}}) {
            const TRect srcRect = dstRect.Right == 8 ? TRect{2, 2, 6, 6} : TRect{0, 0, 8, 8};
            StretchTransfer(&expected, dstRect, expected.ClipRect(), &copy, srcRect, copy.Resampler(),
                            dmOpaque);
            StretchTransfer(&self, dstRect, self.ClipRect(), &self, srcRect, self.Resampler(), dmOpaque);
            ASSERT_EQ(Pixels(self), Pixels(expected)) << name;
            copy.Assign(&self);
        }
    }
}

// ---- sampling ----

TEST(KernelResampler, SamplesAtWholeAndHalfPositions) {
    TBitmap32 bmp;
    bmp.SetSize(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            bmp.SetPixel(x, y, Gray32(static_cast<std::uint8_t>(16 * (y * 4 + x)), 255));
    bmp.SetOuterColor(0x12345678);
    bmp.SetResamplerClassName("TKernelResampler");
    auto* r = static_cast<TKernelResampler*>(bmp.Resampler());
    r->SetKernelClassName("TLinearKernel");
    for (TKernelMode mode : {kmDynamic, kmTableNearest, kmTableLinear}) {
        r->SetKernelMode(mode);
        r->SetTableSize(5); // rows at fractions 0, 0.25, 0.5, 0.75, 1
        r->PrepareSampling();
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                ASSERT_EQ(r->GetSampleFloat(static_cast<float>(x), static_cast<float>(y)), bmp.GetPixel(x, y))
                    << mode << " " << x << "," << y;
        // (1.25, 1): pixel 1 weighs 192, pixel 2 64; channels (80 x 192 + 96 x 64) x 256 >> 16 = 84.
        EXPECT_EQ(r->GetSampleFloat(1.25f, 1), Gray32(84, 255)) << mode;
        // Outside the clip rectangle: the outer colour; the last row and column are still read.
        EXPECT_EQ(r->GetSampleFloat(-1.5f, 1), 0x12345678u) << mode;
        EXPECT_EQ(r->GetSampleFloat(1, 4.5f), 0x12345678u) << mode;
        EXPECT_EQ(r->GetSampleFloat(3, 2), bmp.GetPixel(3, 2)) << mode;
        r->FinalizeSampling();
    }
    // Between table rows the nearest row and the interpolated rows differ from the exact weights.
    r->SetKernelMode(kmDynamic);
    r->PrepareSampling();
    EXPECT_EQ(r->GetSampleFloat(1.125f, 0), Gray32(18, 255)); // (16 x 224 + 32 x 32) x 256 >> 16
    r->SetKernelMode(kmTableNearest);
    r->PrepareSampling();
    // 0.875 x 4 = 3.5 rounds to row 4 (fraction 1): all on pixel 1.
    EXPECT_EQ(r->GetSampleFloat(1.125f, 0), Gray32(16, 255));
    r->SetKernelMode(kmTableLinear);
    r->PrepareSampling();
    EXPECT_EQ(r->GetSampleFloat(1.125f, 0), Gray32(18, 255));
}

TEST(KernelResampler, PositionsBeyondAnyBitmapGiveTheOuterColour) {
    TBitmap32 bmp;
    bmp.SetSize(3, 3);
    bmp.Clear(0xFF112233);
    bmp.SetOuterColor(0x0000FF00);
    bmp.SetResamplerClassName("TKernelResampler");
    auto* r = static_cast<TKernelResampler*>(bmp.Resampler());
    for (TPixelAccessMode mode : {pamSafe, pamWrap}) {
        r->SetPixelAccessMode(mode);
        r->SetKernelMode(kmTableNearest);
        r->PrepareSampling();
        for (float v : {3e9f, -3e9f, std::nanf(""), INFINITY})
            EXPECT_EQ(r->GetSampleFloat(v, 1), 0x0000FF00u) << int(mode) << " " << v;
        EXPECT_EQ(r->GetSampleFloat(1, 1), 0xFF112233u);
    }
}

TEST(KernelResampler, WrappedAndMirroredEdges) {
    TBitmap32 bmp;
    bmp.SetSize(4, 1);
    for (int x = 0; x < 4; ++x)
        bmp.SetPixel(x, 0, static_cast<TColor32>(0xFF000000 | (x * 10)));
    bmp.SetResamplerClassName("TKernelResampler");
    auto* r = static_cast<TKernelResampler*>(bmp.Resampler());
    r->SetPixelAccessMode(pamWrap);
    struct Row {
        TWrapMode mode;
        float x;
        int want;
    };
    const Row rows[] = {{wmRepeat, -1, 3}, {wmRepeat, 4, 0},  {wmRepeat, 9, 1}, {wmClamp, -5, 0},
                        {wmClamp, 7, 3},   {wmMirror, -1, 1}, {wmMirror, 4, 2}, {wmMirror, 2, 2}};
    for (const Row& row : rows) {
        bmp.SetWrapMode(row.mode);
        r->PrepareSampling();
        EXPECT_EQ(r->GetSampleFloat(row.x, 0), static_cast<TColor32>(0xFF000000 | (row.want * 10)))
            << int(row.mode) << " " << row.x;
    }
    // A one-pixel bitmap wraps and mirrors onto its only pixel.
    TBitmap32 one;
    one.SetSize(1, 1);
    one.SetPixel(0, 0, 0xFFABCDEF);
    one.SetResamplerClassName("TKernelResampler");
    auto* o = static_cast<TKernelResampler*>(one.Resampler());
    o->SetPixelAccessMode(pamWrap);
    o->SetKernelClassName("TCubicKernel");
    for (TWrapMode mode : {wmClamp, wmRepeat, wmMirror}) {
        one.SetWrapMode(mode);
        o->PrepareSampling();
        EXPECT_EQ(o->GetSampleFloat(-3, 2), 0xFFABCDEFu) << int(mode);
    }
}

TEST(LinearResampler, SamplesBilinearlyInEveryAccessMode) {
    TBitmap32 bmp;
    Random(bmp, 4, 4, 17);
    bmp.SetResamplerClassName("TLinearResampler");
    auto* r = static_cast<TBitmap32Resampler*>(bmp.Resampler());
    r->PrepareSampling();
    EXPECT_EQ(r->GetSampleFixed(Fixed(1) + 0x4000, Fixed(2) + 0x8000),
              bmp.GetPixelXS(Fixed(1) + 0x4000, Fixed(2) + 0x8000));
    EXPECT_EQ(r->GetSampleFloat(1.25f, 2.5f), bmp.GetPixelXS(Fixed(1) + 0x4000, Fixed(2) + 0x8000));
    EXPECT_EQ(r->GetSampleInt(2, 3), bmp.GetPixelXS(Fixed(2), Fixed(3)));
    r->SetPixelAccessMode(pamWrap);
    bmp.SetWrapMode(wmRepeat);
    r->PrepareSampling();
    EXPECT_EQ(r->GetSampleFloat(-0.5f, 1), bmp.GetPixelXW(-0x8000, Fixed(1)));
}

} // namespace
