#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Rasterizers.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// A colour that names its position, opaque.
TColor32 At(int X, int Y) {
    return 0xFF000000u | (static_cast<TColor32>(Y & 0xFFF) << 12) | static_cast<TColor32>(X & 0xFFF);
}

// Samples At(X, Y), records every request, and can be given bounds or made to fail.
class PositionSampler : public TCustomSampler {
public:
    TColor32 GetSampleInt(int X, int Y) override {
        if (failAfter >= 0 && static_cast<int>(requests.size()) >= failAfter)
            throw Exception("sampler broke");
        requests.push_back(TPoint{X, Y});
        return colour ? colour(X, Y) : At(X, Y);
    }
    TColor32 GetSampleFixed(TFixed X, TFixed Y) override {
        return GetSampleInt(FixedRound(X), FixedRound(Y));
    }
    void PrepareSampling() override { ++prepared; }
    void FinalizeSampling() override { ++finalized; }
    bool HasBounds() override { return bounded; }
    TRect GetSampleBounds() override { return bounds; }

    std::vector<TPoint> requests;
    std::function<TColor32(int, int)> colour;
    int prepared = 0, finalized = 0, failAfter = -1;
    bool bounded = false;
    TRect bounds;
};

struct Kind {
    const char* name;
    std::function<TRasterizer*()> make;
};

const Kind kinds[] = {
    {"regular", [] { return new TRegularRasterizer; }},
    {"regular, report every 2 rows",
     [] {
         auto* r = new TRegularRasterizer;
         r->SetUpdateRowCount(2);
         return r;
     }},
    {"swizzling", [] { return new TSwizzlingRasterizer; }},
    {"swizzling, block 0",
     [] {
         auto* r = new TSwizzlingRasterizer;
         r->SetBlockSize(0);
         return r;
     }},
    {"tesseral", [] { return new TTesseralRasterizer; }},
    {"contour", [] { return new TContourRasterizer; }},
};

// Rectangles against a 23 x 17 destination; `want` is the part that gets written.
struct Area {
    const char* what;
    TRect rect, want;
};
const Area areas[] = {
    {"whole", {0, 0, 23, 17}, {0, 0, 23, 17}},
    {"inner odd", {3, 2, 16, 11}, {3, 2, 16, 11}},
    {"one pixel", {5, 5, 6, 6}, {5, 5, 6, 6}},
    {"one row", {2, 7, 20, 8}, {2, 7, 20, 8}},
    {"one column", {9, 1, 10, 16}, {9, 1, 10, 16}},
    {"wider than tall", {0, 0, 23, 3}, {0, 0, 23, 3}},
    {"power of two", {0, 0, 16, 16}, {0, 0, 16, 16}},
    {"partly outside", {-5, -3, 10, 8}, {0, 0, 10, 8}},
    {"hanging over the far edges", {18, 12, 40, 30}, {18, 12, 23, 17}},
    {"empty", {4, 4, 4, 9}, {0, 0, 0, 0}},
    {"wholly outside", {30, 30, 40, 40}, {0, 0, 0, 0}},
};

TEST(Rasterizers, EveryPixelOfTheClippedAreaWrittenOnceWithItsSample) {
    for (const Kind& kind : kinds) {
        for (const Area& area : areas) {
            TBitmap32 dst;
            dst.SetSize(23, 17);
            dst.Clear(0);
            std::vector<int> writes(23 * 17, 0);
            // Custom combining counts the writes to each pixel.
            const TPixelCombineEvent count = [&](TColor32 F, TColor32& B, TColor32) {
                ++writes[&B - dst.Bits()];
                B = F;
            };
            PositionSampler sampler;
            std::unique_ptr<TRasterizer> r(kind.make());
            r->SetSampler(&sampler);
            r->Rasterize(&dst, area.rect, 255, dmCustom, cmBlend, count);
            const std::string what = std::string(kind.name) + " / " + area.what;
            for (int y = 0; y < 17; ++y)
                for (int x = 0; x < 23; ++x) {
                    const bool inside = PtInRect(area.want, TPoint{x, y});
                    ASSERT_EQ(writes[y * 23 + x], inside ? 1 : 0) << what << " at " << x << "," << y;
                    ASSERT_EQ(dst.GetPixel(x, y), inside ? At(x, y) : 0u) << what << " at " << x << "," << y;
                }
            EXPECT_EQ(sampler.prepared, 1) << what;
            EXPECT_EQ(sampler.finalized, 1) << what;
            // No sample is asked for outside the written area.
            for (const TPoint& p : sampler.requests)
                ASSERT_TRUE(PtInRect(area.want, p)) << what << " asked for " << p.X << "," << p.Y;
        }
    }
}

TEST(Rasterizers, ProgressiveEndsWithEveryPixelsOwnSample) {
    for (int steps : {0, 1, 2, 4}) {
        for (const Area& area : areas) {
            TBitmap32 dst;
            dst.SetSize(23, 17);
            dst.Clear(0);
            PositionSampler sampler;
            TProgressiveRasterizer r;
            r.SetSteps(steps);
            r.SetSampler(&sampler);
            r.Rasterize(&dst, area.rect);
            const std::string what = std::to_string(steps) + " steps / " + area.what;
            for (int y = 0; y < 17; ++y)
                for (int x = 0; x < 23; ++x)
                    ASSERT_EQ(dst.GetPixel(x, y), PtInRect(area.want, TPoint{x, y}) ? At(x, y) : 0u)
                        << what << " at " << x << "," << y;
            for (const TPoint& p : sampler.requests)
                ASSERT_TRUE(PtInRect(area.want, p)) << what << " asked for " << p.X << "," << p.Y;
            EXPECT_EQ(dst.UpdateCount(), 0) << what;
        }
    }
}

TEST(Rasterizers, ProgressiveReportsRowsOrWholePasses) {
    struct {
        bool updateRows;
        std::vector<TRect> want;
    } const cases[] = {
        // 2 steps over 6 x 5: blocks of 4 (two rows of blocks), then of 2 (three), then of 1 (five).
        {true,
         {{0, 0, 6, 4},
          {0, 4, 6, 5},
          {0, 0, 6, 2},
          {0, 2, 6, 4},
          {0, 4, 6, 5},
          {0, 0, 6, 1},
          {0, 1, 6, 2},
          {0, 2, 6, 3},
          {0, 3, 6, 4},
          {0, 4, 6, 5}}},
        {false, {{0, 0, 6, 5}, {0, 0, 6, 5}, {0, 0, 6, 5}}},
    };
    for (const auto& c : cases) {
        TBitmap32 dst;
        dst.SetSize(6, 5);
        std::vector<TRect> reports;
        dst.OnAreaChanged = [&](TObject*, const TRect& a, std::uint32_t info) {
            EXPECT_EQ(info, AREAINFO_RECT);
            reports.push_back(a);
        };
        PositionSampler sampler;
        TProgressiveRasterizer r;
        r.SetSteps(2);
        r.SetUpdateRows(c.updateRows);
        r.SetSampler(&sampler);
        r.Rasterize(&dst);
        EXPECT_EQ(reports, c.want) << c.updateRows;
    }
    // Inside an update nothing is reported.
    TBitmap32 dst;
    dst.SetSize(6, 5);
    int reports = 0;
    dst.OnAreaChanged = [&](TObject*, const TRect&, std::uint32_t) { ++reports; };
    dst.BeginUpdate();
    PositionSampler sampler;
    TProgressiveRasterizer r;
    r.SetSampler(&sampler);
    r.Rasterize(&dst);
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(dst.UpdateCount(), 1);
}

std::vector<TPoint> Order(TRasterizer& r, const TRect& rect) {
    TBitmap32 dst;
    dst.SetSize(rect.Right, rect.Bottom);
    PositionSampler sampler;
    r.SetSampler(&sampler);
    r.Rasterize(&dst, rect);
    return sampler.requests;
}

TEST(Rasterizers, VisitingOrders) {
    TSwizzlingRasterizer swz;
    EXPECT_EQ(Order(swz, TRect{0, 0, 4, 4}), (std::vector<TPoint>{{0, 0},
                                                                  {1, 0},
                                                                  {0, 1},
                                                                  {1, 1},
                                                                  {2, 0},
                                                                  {3, 0},
                                                                  {2, 1},
                                                                  {3, 1},
                                                                  {0, 2},
                                                                  {1, 2},
                                                                  {0, 3},
                                                                  {1, 3},
                                                                  {2, 2},
                                                                  {3, 2},
                                                                  {2, 3},
                                                                  {3, 3}}));
    EXPECT_EQ(Order(swz, TRect{0, 0, 3, 2}),
              (std::vector<TPoint>{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 0}, {2, 1}}));
    // Offsets are absolute positions.
    EXPECT_EQ(Order(swz, TRect{5, 7, 7, 8}), (std::vector<TPoint>{{5, 7}, {6, 7}}));

    TRegularRasterizer reg;
    EXPECT_EQ(Order(reg, TRect{1, 1, 3, 3}), (std::vector<TPoint>{{1, 1}, {2, 1}, {1, 2}, {2, 2}}));

    TTesseralRasterizer tess;
    // Top row, left column, then the halving lines.
    EXPECT_EQ(Order(tess, TRect{0, 0, 4, 1}), (std::vector<TPoint>{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    EXPECT_EQ(Order(tess, TRect{0, 0, 3, 3}),
              (std::vector<TPoint>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2}, {1, 1}, {2, 1}, {1, 2}, {2, 2}}));

    TContourRasterizer contour;
    // A flat picture: the walk goes straight on until it meets the edge, then turns.
    const std::vector<TPoint> walk = Order(contour, TRect{0, 0, 3, 2});
    ASSERT_EQ(walk.size(), 6u);
    EXPECT_EQ(walk[0], (TPoint{0, 0}));
}

TEST(Rasterizers, ContourFollowsTheLeastChange) {
    // A bright column at x = 2: from (0, 0) the walk heads right, and at (1, 0) it prefers turning
    // down (same dark colour) over entering the bright column straight ahead.
    TBitmap32 dst;
    dst.SetSize(4, 3);
    PositionSampler sampler;
    sampler.colour = [](int X, int) { return X == 2 ? clWhite32 : clBlack32; };
    TContourRasterizer r;
    r.SetSampler(&sampler);
    r.Rasterize(&dst);
    ASSERT_GE(sampler.requests.size(), 5u);
    // (0,0), then candidates of (0,0): right (1,0), down (0,1); then from (1,0): right (2,0), down (1,1).
    EXPECT_EQ(sampler.requests[1], (TPoint{1, 0}));
    EXPECT_EQ(sampler.requests[2], (TPoint{0, 1}));
    EXPECT_EQ(sampler.requests[3], (TPoint{2, 0}));
    EXPECT_EQ(sampler.requests[4], (TPoint{1, 1}));
    // Next from (1,1) facing down: (1,2) straight, (2,1) left turn (bright), (0,1) visited.
    EXPECT_EQ(sampler.requests[5], (TPoint{1, 2}));
    EXPECT_EQ(sampler.requests[6], (TPoint{2, 1}));
}

TEST(Rasterizers, DrawModes) {
    struct {
        const char* what;
        TDrawMode mode;
        bool callback;
        TColor32 sample, before, after;
    } const cases[] = {
        {"opaque", dmOpaque, false, 0x80FF0000, 0xFF0000FF, 0x80FF0000},
        {"blend", dmBlend, false, 0x00FF0000, 0xFF0000FF, 0xFF0000FF},
        {"custom without a callback blends", dmCustom, false, 0x00FF0000, 0xFF0000FF, 0xFF0000FF},
        {"custom with a callback", dmCustom, true, 0xFF123456, 0xFF0000FF, 0xFF123456 ^ 0xFF0000FF},
        {"transparent colour skipped", dmTransparent, false, 0xFF000000, 0xFF0000FF, 0xFF0000FF},
        {"other colours copied", dmTransparent, false, 0x11000000, 0xFF0000FF, 0x11000000},
    };
    for (const auto& c : cases) {
        for (const Kind& kind : kinds) {
            TBitmap32 dst;
            dst.SetSize(3, 2);
            dst.Clear(c.before);
            PositionSampler sampler;
            sampler.colour = [&](int, int) { return c.sample; };
            std::unique_ptr<TRasterizer> r(kind.make());
            r->SetSampler(&sampler);
            TCombineInfo info;
            info.DrawMode = c.mode;
            if (c.callback) info.CombineCallBack = [](TColor32 F, TColor32& B, TColor32) { B ^= F; };
            r->Rasterize(&dst, dst.BoundsRect(), info);
            for (int i = 0; i < 6; ++i)
                ASSERT_EQ(dst.Bits()[i], c.after) << c.what << " / " << kind.name << " pixel " << i;
        }
    }
}

TEST(Rasterizers, CombineInfoFromASourceBitmap) {
    TBitmap32 src;
    src.SetMasterAlpha(128);
    src.SetDrawMode(dmCustom);
    src.SetCombineMode(cmMerge);
    src.SetOuterColor(0x01020304);
    TCombineInfo info = CombineInfo(&src);
    EXPECT_EQ(info.SrcAlpha, 128);
    EXPECT_EQ(info.DrawMode, dmOpaque) << "custom without a handler";
    EXPECT_EQ(info.CombineMode, cmMerge);
    EXPECT_EQ(info.TransparentColor, 0x01020304u);
    src.OnPixelCombine = [](TColor32, TColor32&, TColor32) {};
    EXPECT_EQ(CombineInfo(&src).DrawMode, dmCustom);
    const TCombineInfo defaults;
    EXPECT_EQ(defaults.SrcAlpha, 255);
    EXPECT_EQ(defaults.DrawMode, dmOpaque);
    EXPECT_EQ(defaults.TransparentColor, 0xFF000000u);
}

TEST(Rasterizers, WithoutASamplerNothingChanges) {
    for (const Kind& kind : kinds) {
        TBitmap32 dst;
        dst.SetSize(4, 4);
        dst.Clear(0x12345678);
        int reports = 0;
        dst.OnAreaChanged = [&](TObject*, const TRect&, std::uint32_t) { ++reports; };
        std::unique_ptr<TRasterizer> r(kind.make());
        r->Rasterize(&dst);
        EXPECT_EQ(reports, 0) << kind.name;
        for (int i = 0; i < 16; ++i)
            ASSERT_EQ(dst.Bits()[i], 0x12345678u) << kind.name;
        EXPECT_THROW(r->Rasterize(nullptr), EBitmapException) << kind.name;
    }
}

TEST(Rasterizers, SamplerBoundsCutTheArea) {
    for (const Kind& kind : kinds) {
        TBitmap32 dst;
        dst.SetSize(10, 10);
        dst.Clear(0);
        PositionSampler sampler;
        sampler.bounded = true;
        sampler.bounds = TRect{-4, 6, 3, 40};
        std::unique_ptr<TRasterizer> r(kind.make());
        r->SetSampler(&sampler);
        r->Rasterize(&dst);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(dst.GetPixel(x, y), x < 3 && y >= 6 ? At(x, y) : 0u)
                    << kind.name << " " << x << "," << y;
    }
}

TEST(Rasterizers, AFailingSamplerLeavesTheDestinationUsable) {
    const Kind progressive{"progressive", [] { return new TProgressiveRasterizer; }};
    std::vector<Kind> all(std::begin(kinds), std::end(kinds));
    all.push_back(progressive);
    for (const Kind& kind : all) {
        TBitmap32 dst;
        dst.SetSize(8, 8);
        dst.BeginUpdate();
        PositionSampler sampler;
        sampler.failAfter = 5;
        std::unique_ptr<TRasterizer> r(kind.make());
        r->SetSampler(&sampler);
        EXPECT_THROW(r->Rasterize(&dst), Exception) << kind.name;
        EXPECT_EQ(dst.UpdateCount(), 1) << kind.name;
        EXPECT_EQ(sampler.finalized, 1) << kind.name;
    }
}

TEST(Rasterizers, RegularReportsExactlyTheRowsWritten) {
    struct {
        int every;
        TRect rect;
        std::vector<TRect> want;
    } const cases[] = {
        {0, {1, 2, 5, 7}, {{1, 2, 5, 7}}},
        {2, {1, 2, 5, 7}, {{1, 2, 5, 4}, {1, 4, 5, 6}, {1, 6, 5, 7}}},
        {5, {1, 2, 5, 7}, {{1, 2, 5, 7}}},
        {1, {0, 0, 2, 2}, {{0, 0, 2, 1}, {0, 1, 2, 2}}},
        {3, {0, 3, 3, 3}, {}},
    };
    for (const auto& c : cases) {
        TBitmap32 dst;
        dst.SetSize(8, 8);
        std::vector<TRect> reports;
        dst.OnAreaChanged = [&](TObject*, const TRect& a, std::uint32_t) { reports.push_back(a); };
        PositionSampler sampler;
        TRegularRasterizer r;
        r.SetUpdateRowCount(c.every);
        r.SetSampler(&sampler);
        r.Rasterize(&dst, c.rect);
        EXPECT_EQ(reports, c.want) << c.every;
    }
}

TEST(Rasterizers, SettersNotifyOnlyOnChangeAndAssignCopies) {
    TSwizzlingRasterizer swz;
    int changes = 0;
    swz.OnChange = [&](TObject*) { ++changes; };
    swz.SetBlockSize(3);
    PositionSampler sampler;
    swz.SetSampler(&sampler);
    swz.SetSampler(&sampler);
    swz.SetBlockSize(5);
    EXPECT_EQ(changes, 2);

    TSwizzlingRasterizer copy;
    copy.Assign(&swz);
    EXPECT_EQ(copy.BlockSize(), 5);
    EXPECT_EQ(copy.Sampler(), &sampler);

    TProgressiveRasterizer prog;
    prog.SetSteps(2);
    prog.SetUpdateRows(false);
    TProgressiveRasterizer prog2;
    prog2.Assign(&prog);
    EXPECT_EQ(prog2.Steps(), 2);
    EXPECT_FALSE(prog2.UpdateRows());
    // Across kinds only the sampler travels.
    TRegularRasterizer reg;
    reg.Assign(&swz);
    EXPECT_EQ(reg.Sampler(), &sampler);
    EXPECT_EQ(reg.UpdateRowCount(), 0);

    std::unique_ptr<TRasterizer> made(DefaultRasterizerClass->Create());
    EXPECT_NE(dynamic_cast<TRegularRasterizer*>(made.get()), nullptr);
    EXPECT_STREQ(DefaultRasterizerClass->ClassName(), "TRegularRasterizer");
}

TEST(Rasterizers, SwizzlingCoversOddShapesOnce) {
    // Z-order with skipped cells over many sizes, beyond the table above.
    for (int w = 1; w <= 33; w += 4)
        for (int h = 1; h <= 33; h += 3) {
            TBitmap32 dst;
            dst.SetSize(w, h);
            PositionSampler sampler;
            TSwizzlingRasterizer r;
            r.SetSampler(&sampler);
            r.Rasterize(&dst);
            std::vector<int> seen(w * h, 0);
            for (const TPoint& p : sampler.requests) {
                ASSERT_TRUE(PtInRect(dst.BoundsRect(), p)) << w << "x" << h;
                ++seen[p.Y * w + p.X];
            }
            for (int i = 0; i < w * h; ++i)
                ASSERT_EQ(seen[i], 1) << w << "x" << h << " cell " << i;
        }
}

} // namespace
