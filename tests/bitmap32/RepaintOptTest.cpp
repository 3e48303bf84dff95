// The micro-tiles repaint optimizer: the area it hands the paint box after a series of reported
// areas and layer changes, what enabling, resizing and disabling do, and how its adaptive levels
// coarsen and relax with the measured paint times.
#include "bitmap32/Bmp32_RepaintOpt.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

constexpr int kW = 250, kH = 120;

// The pixels a list of rectangles covers, inside kW x kH.
std::vector<bool> Cover(const std::vector<TRect>& rects) {
    std::vector<bool> mask(kW * kH, false);
    for (const TRect& r : rects)
        for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, kH); ++y)
            for (int x = std::max(r.Left, 0); x < std::min(r.Right, kW); ++x)
                mask[y * kW + x] = true;
    return mask;
}

std::string Describe(const std::vector<TRect>& rects) {
    std::string s;
    for (const TRect& r : rects)
        s += "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
             "," + std::to_string(r.Bottom) + ") ";
    return s;
}

class RepaintOpt : public ::testing::Test {
protected:
    void SetUp() override {
        buffer.SetSize(200, 100);
        optimizer.RegisterLayerCollection(&layers);
        optimizer.SetAdaptiveMode(false);
        optimizer.SetEnabled(true);
    }
    void TearDown() override { optimizer.UnregisterLayerCollection(&layers); }

    // What one paint of the paint box would repaint: nothing when no update is pending.
    std::vector<TRect> Paint() {
        std::vector<TRect> result;
        if (optimizer.UpdatesAvailable()) {
            optimizer.PerformOptimization();
            for (int i = 0; i < rects.Count(); ++i)
                result.push_back(*rects.Items(i));
        }
        optimizer.BeginPaintBuffer();
        optimizer.EndPaintBuffer();
        rects.Clear();
        return result;
    }

    TBitmapLayer* AddBitmapLayer(const TFloatRect& location) {
        auto* layer = layers.Add<TBitmapLayer>();
        layer->SetLocation(location);
        layer->Bitmap()->SetSize(static_cast<int>(location.Right - location.Left),
                                 static_cast<int>(location.Bottom - location.Top));
        layer->Bitmap()->Clear(0xFF808080);
        return layer;
    }

    TBitmap32 buffer;
    TRectList rects;
    TLayerCollection layers{nullptr};
    TMicroTilesRepaintOptimizer optimizer{&buffer, &rects};
};

TEST_F(RepaintOpt, CombinedAreaAfterASeriesOfChanges) {
    TBitmapLayer* a = nullptr;
    TBitmapLayer *b = nullptr, *c = nullptr;
    const struct {
        const char* what;
        std::function<void()> change;
        std::vector<TRect> want;
    } steps[] = {
        {"enabling repaints everything", [] {}, {{0, 0, 200, 100}}},
        {"nothing changed", [] {}, {}},
        // Two areas in one tile give their bounding box there.
        {"reported areas",
         [&] {
             optimizer.AreaUpdateHandler(nullptr, Rect(10, 10, 20, 20), AREAINFO_RECT);
             optimizer.AreaUpdateHandler(nullptr, Rect(15, 15, 40, 30), AREAINFO_RECT);
         },
         {{10, 10, 32, 30}, {32, 15, 40, 30}}},
        // Its pixels, grown by the resampler's reach, and its place.
        {"a new bitmap layer", [&] { a = AddBitmapLayer(FloatRect(50, 40, 70, 60)); }, {{48, 38, 72, 62}}},
        {"the layer moves: old and new place",
         [&] { a->SetLocation(FloatRect(120, 40, 140, 60)); },
         {{50, 40, 70, 60}, {120, 40, 140, 60}}},
        {"hidden: the place it leaves", [&] { a->SetVisible(false); }, {{120, 40, 140, 60}}},
        {"shown again", [&] { a->SetVisible(true); }, {{120, 40, 140, 60}}},
        {"a change of the layer's pixels",
         [&] { a->Bitmap()->FillRectS(0, 0, 4, 4, 0xFFFFFFFF); },
         {{118, 38, 126, 46}}},
        {"deleted: its last place", [&] { layers.Delete(a->Index()); }, {{120, 40, 140, 60}}},
        {"two more layers",
         [&] {
             b = AddBitmapLayer(FloatRect(10, 70, 30, 90));
             c = AddBitmapLayer(FloatRect(150, 10, 170, 30));
         },
         {{8, 68, 32, 92}, {148, 8, 172, 32}}},
        {"cleared: every layer's place", [&] { layers.Clear(); }, {{10, 70, 30, 90}, {150, 10, 170, 30}}},
        {"a line",
         [&] { optimizer.AreaUpdateHandler(nullptr, Rect(100, 50, 100, 80), 0x40000001u); },
         {{97, 47, 103, 83}}},
        {"the buffer resized", [&] { optimizer.BufferResizedHandler(kW, kH); }, {{0, 0, kW, kH}}},
        {"an area past the buffer is clipped",
         [&] { optimizer.AreaUpdateHandler(nullptr, Rect(240, 110, 400, 300), AREAINFO_RECT); },
         {{240, 110, kW, kH}}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        const std::vector<TRect> got = Paint();
        EXPECT_TRUE(Cover(got) == Cover(step.want))
            << "got " << Describe(got) << "want " << Describe(step.want);
        for (const TRect& r : got) {
            EXPECT_LT(r.Left, r.Right);
            EXPECT_LT(r.Top, r.Bottom);
        }
    }
    (void)b;
    (void)c;
}

TEST_F(RepaintOpt, DisabledOptimizerHoldsNothingAndHearsNothing) {
    Paint();
    TBitmapLayer* layer = AddBitmapLayer(FloatRect(10, 10, 30, 30));
    Paint();
    ASSERT_NE(optimizer.OldInvalidTiles(layer), nullptr);
    optimizer.SetEnabled(false);
    EXPECT_FALSE(optimizer.Enabled());
    EXPECT_EQ(optimizer.OldInvalidTiles(layer), nullptr);
    EXPECT_EQ(optimizer.InvalidTiles().Count, 0);
    EXPECT_EQ(layers.OnLayerUpdated, nullptr);
    EXPECT_EQ(layers.OnAreaUpdated, nullptr);
    layer->SetLocation(FloatRect(50, 50, 70, 70));
    layers.Delete(0);
    EXPECT_FALSE(optimizer.UpdatesPending());
    EXPECT_EQ(optimizer.InvalidTiles().Count, 0) << "a disabled optimizer keeps no tiles";

    // Enabling again sizes everything to the buffer and repaints it whole.
    buffer.SetSize(64, 33);
    optimizer.SetEnabled(true);
    EXPECT_EQ(optimizer.BufferBounds(), Rect(0, 0, 64, 33));
    const auto got = Paint();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], Rect(0, 0, 64, 33));
}

TEST_F(RepaintOpt, CollectionsRegisterOnceAndUnregisterCleanly) {
    TLayerCollection other(nullptr);
    optimizer.RegisterLayerCollection(&other);
    optimizer.RegisterLayerCollection(&other);
    EXPECT_EQ(optimizer.LayerCollections().size(), 2u);
    EXPECT_NE(other.OnListNotify, nullptr);
    EXPECT_NE(other.OnAreaUpdated, nullptr);
    optimizer.UnregisterLayerCollection(&other);
    EXPECT_EQ(optimizer.LayerCollections().size(), 1u);
    EXPECT_EQ(other.OnListNotify, nullptr);
    EXPECT_EQ(other.OnLayerUpdated, nullptr);
    EXPECT_EQ(other.OnAreaUpdated, nullptr);
    {
        // Destroyed first, the optimizer leaves the collection without handlers into it.
        TMicroTilesRepaintOptimizer shortLived(&buffer, &rects);
        shortLived.RegisterLayerCollection(&other);
    }
    EXPECT_EQ(other.OnListNotify, nullptr);
    other.Add<TPositionedLayer>();
    EXPECT_EQ(other.Count(), 1);
}

// A performance counter the test moves by hand: one count a microsecond.
std::int64_t gCounter = 0;
void FakeCounter(std::int64_t& count, std::int64_t& frequency) {
    count = gCounter;
    frequency = 1000000;
}

TEST_F(RepaintOpt, AdaptiveLevelsCoarsenAndRelax) {
    testing_support::FakeTick tick(5000);
    auto previous = Bmp32_System::SetPerfCounterSource(&FakeCounter);
    optimizer.SetAdaptiveMode(true);
    Paint(); // the reset's full repaint

    // A full repaint (no rectangles) takes 100 us.
    const auto fullPaint = [&](int micros) {
        optimizer.BeginPaintBuffer();
        gCounter += micros;
        optimizer.EndPaintBuffer();
    };
    // One reported area painted in `micros`; the rectangles the optimizer gave.
    const auto areaPaint = [&](int micros) {
        optimizer.AreaUpdateHandler(nullptr, Rect(10, 10, 20, 20), AREAINFO_RECT);
        std::vector<TRect> got;
        if (optimizer.UpdatesAvailable()) optimizer.PerformOptimization();
        for (int i = 0; i < rects.Count(); ++i)
            got.push_back(*rects.Items(i));
        optimizer.BeginPaintBuffer();
        gCounter += micros;
        optimizer.EndPaintBuffer();
        rects.Clear();
        return got;
    };
    fullPaint(100);
    EXPECT_EQ(optimizer.PerformanceLevel(), 0);
    EXPECT_EQ(areaPaint(50), (std::vector<TRect>{Rect(10, 10, 20, 20)}));
    EXPECT_EQ(optimizer.PerformanceLevel(), 0) << "faster than a full repaint";
    EXPECT_EQ(areaPaint(150), (std::vector<TRect>{Rect(10, 10, 20, 20)}));
    EXPECT_EQ(optimizer.PerformanceLevel(), 1) << "slower than a full repaint: whole tiles";
    // Whole tiles now; the first timed check is due at once and finds the paint still slow.
    EXPECT_EQ(areaPaint(150), (std::vector<TRect>{Rect(0, 0, 32, 32)}));
    EXPECT_EQ(optimizer.PerformanceLevel(), 1);
    EXPECT_EQ(areaPaint(150), (std::vector<TRect>{Rect(0, 0, 32, 32)}));
    EXPECT_EQ(optimizer.PerformanceLevel(), 2) << "still slow: full repaints";
    EXPECT_TRUE(areaPaint(80).empty()) << "level 2 repaints everything";
    EXPECT_EQ(optimizer.PerformanceLevel(), 2);

    // Once the next check is due (1250 ms later) the level drops, and a fast paint keeps it there.
    tick.Advance(1200);
    EXPECT_TRUE(areaPaint(80).empty());
    EXPECT_EQ(optimizer.PerformanceLevel(), 2);
    tick.Advance(100);
    EXPECT_EQ(areaPaint(20), (std::vector<TRect>{Rect(0, 0, 32, 32)}));
    EXPECT_EQ(optimizer.PerformanceLevel(), 1);
    EXPECT_EQ(areaPaint(20), (std::vector<TRect>{Rect(0, 0, 32, 32)}));
    EXPECT_EQ(optimizer.PerformanceLevel(), 1);
    Bmp32_System::SetPerfCounterSource(previous);

    // Turning adaptivity off returns to exact rectangles.
    optimizer.SetAdaptiveMode(false);
    EXPECT_EQ(optimizer.PerformanceLevel(), 0);
}

} // namespace
