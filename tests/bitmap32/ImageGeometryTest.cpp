// The image control's geometry: the bitmap's size by scale mode, its place by alignment, the cached
// transform and the conversions between control and bitmap coordinates; the back buffer's sizing;
// the paint stage list and the bounds of the scale and update properties.
#include "bitmap32/Bmp32_Image.h"
#include "platform/vcl/FormTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace {

class ImageGeometry : public ::testing::Test {
protected:
    void SetUp() override { image = std::make_unique<TImage32>(nullptr); }
    void TearDown() override {
        image.reset();
        form_testing::ResetApplication();
    }
    void Setup(int controlW, int controlH, int bitmapW, int bitmapH) {
        image->SetBounds(0, 0, controlW, controlH);
        image->Bitmap()->SetSize(bitmapW, bitmapH);
    }
    std::unique_ptr<TImage32> image;
};

struct SizeRow {
    const char* what;
    TScaleMode mode;
    int controlW, controlH, bitmapW, bitmapH;
    float scale;
    int wantW, wantH;
};

const SizeRow kSizes[] = {
    {"empty bitmap", smNormal, 100, 80, 0, 0, 1, 0, 0},
    {"zero-width bitmap", smStretch, 100, 80, 0, 5, 1, 0, 0},
    {"zero-size control", smStretch, 0, 80, 33, 7, 1, 0, 0},
    {"normal 1x1", smNormal, 100, 80, 1, 1, 1, 1, 1},
    {"normal larger than the control", smNormal, 100, 80, 151, 121, 1, 151, 121},
    {"stretch 1x1", smStretch, 100, 80, 1, 1, 1, 100, 80},
    {"stretch odd", smStretch, 101, 79, 33, 7, 1, 101, 79},
    {"scale halves round to even", smScale, 100, 80, 33, 7, 1.5f, 50, 10},
    {"scale below one pixel", smScale, 100, 80, 3, 3, 0.1f, 0, 0},
    {"scale larger than the control", smScale, 100, 80, 60, 50, 3, 180, 150},
    {"resize wide", smResize, 100, 80, 200, 50, 1, 100, 25},
    {"resize tall", smResize, 100, 80, 10, 40, 1, 20, 80},
    {"resize 1x1", smResize, 100, 80, 1, 1, 1, 80, 80},
    {"resize odd", smResize, 100, 80, 33, 7, 1, 100, 21},
    {"optimal larger shrinks", smOptimal, 100, 80, 300, 60, 1, 100, 20},
    {"optimal smaller stays", smOptimal, 100, 80, 33, 7, 1, 33, 7},
    {"optimal exact fit", smOptimal, 100, 80, 100, 80, 1, 100, 80},
    {"optimal one pixel too tall", smOptimal, 100, 80, 100, 81, 1, 99, 80},
    {"optimal scaled fits", smOptimalScaled, 100, 80, 40, 30, 2, 80, 60},
    {"optimal scaled too large", smOptimalScaled, 100, 80, 40, 30, 3, 100, 75},
};

TEST_F(ImageGeometry, BitmapSizeByScaleMode) {
    for (const SizeRow& row : kSizes) {
        SCOPED_TRACE(row.what);
        Setup(row.controlW, row.controlH, row.bitmapW, row.bitmapH);
        image->SetScaleMode(row.mode);
        image->SetScale(row.scale);
        EXPECT_EQ(image->GetBitmapSize(), (TSize{row.wantW, row.wantH}));
        const TRect r = image->GetBitmapRect();
        if (image->Bitmap()->Empty())
            EXPECT_EQ(r, TRect{});
        else
            EXPECT_EQ(r, Rect(0, 0, row.wantW, row.wantH));
    }
}

struct AlignRow {
    const char* what;
    TBitmapAlign align;
    int controlW, controlH, bitmapW, bitmapH;
    float offsetX, offsetY;
    TRect want;
};

const AlignRow kAligns[] = {
    {"top left", baTopLeft, 100, 80, 33, 7, 0, 0, {0, 0, 33, 7}},
    {"tile stays at the origin", baTile, 100, 80, 33, 7, 0, 0, {0, 0, 33, 7}},
    {"centre, odd differences truncate", baCenter, 100, 80, 33, 7, 0, 0, {33, 36, 66, 43}},
    {"centre of a larger bitmap truncates toward zero",
     baCenter,
     100,
     80,
     151,
     121,
     0,
     0,
     {-25, -20, 126, 101}},
    {"centre 1x1 in 2x2", baCenter, 2, 2, 1, 1, 0, 0, {0, 0, 1, 1}},
    {"centre 1x1 in 3x3", baCenter, 3, 3, 1, 1, 0, 0, {1, 1, 2, 2}},
    {"custom offsets round half to even", baCustom, 100, 80, 10, 10, 2.5f, 3.5f, {2, 4, 12, 14}},
    {"custom negative offsets", baCustom, 100, 80, 10, 10, -1.5f, -0.4f, {-2, 0, 8, 10}},
    {"empty bitmap has no place", baCenter, 100, 80, 0, 0, 0, 0, {0, 0, 0, 0}},
};

TEST_F(ImageGeometry, BitmapRectByAlignment) {
    for (const AlignRow& row : kAligns) {
        SCOPED_TRACE(row.what);
        Setup(row.controlW, row.controlH, row.bitmapW, row.bitmapH);
        image->SetBitmapAlign(row.align);
        image->SetOffsetHorz(row.offsetX);
        image->SetOffsetVert(row.offsetY);
        EXPECT_EQ(image->GetBitmapRect(), row.want);
        image->UpdateCache();
        EXPECT_EQ(image->CachedBitmapRect(), row.want);
    }
}

TEST_F(ImageGeometry, CachedTransformAndConversions) {
    struct Row {
        const char* what;
        TScaleMode mode;
        TBitmapAlign align;
        int controlW, controlH, bitmapW, bitmapH;
        TImage32::TXForm want;
        TPoint bitmapPoint, controlPoint; // BitmapToControl(bitmapPoint) = controlPoint
        TPoint controlProbe, bitmapProbe; // ControlToBitmap(controlProbe) = bitmapProbe
    } const rows[] = {
        {"empty bitmap: unit transform",
         smStretch,
         baCenter,
         100,
         80,
         0,
         0,
         {},
         {7, 9},
         {7, 9},
         {-3, 4},
         {-3, 4}},
        {"unit scale, centred",
         smNormal,
         baCenter,
         100,
         80,
         33,
         7,
         {0x10000, 0x10000, 33, 36, 0x10000, 0x10000},
         {0, 0},
         {33, 36},
         {-1, -1},
         {-34, -37}},
        {"stretch 33x7 onto 100x80",
         smStretch,
         baTopLeft,
         100,
         80,
         33,
         7,
         {198594, 748983, 0, 0, 21627, 5734},
         {10, 3},
         {30, 34},
         {30, 34},
         {9, 2}},
        // A point left of the bitmap maps toward zero, not down.
        {"stretch, negative control point",
         smStretch,
         baTopLeft,
         100,
         80,
         33,
         7,
         {198594, 748983, 0, 0, 21627, 5734},
         {1, 1},
         {3, 11},
         {-1, -1},
         {0, 0}},
        {"1x1 stretched over 2x3",
         smStretch,
         baTopLeft,
         2,
         3,
         1,
         1,
         {0x20000, 0x30000, 0, 0, 0x8000, 0x5555},
         {1, 1},
         {2, 3},
         {1, 2},
         {0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Setup(row.controlW, row.controlH, row.bitmapW, row.bitmapH);
        image->SetScaleMode(row.mode);
        image->SetBitmapAlign(row.align);
        image->UpdateCache();
        EXPECT_EQ(image->CachedXForm(), row.want);
        EXPECT_EQ(image->BitmapToControl(row.bitmapPoint), row.controlPoint);
        EXPECT_EQ(image->ControlToBitmap(row.controlProbe), row.bitmapProbe);
    }
}

TEST_F(ImageGeometry, UnitScaleRoundTripsAndLargeCoordinatesDoNotOverflow) {
    Setup(100, 80, 33, 7);
    image->SetBitmapAlign(baCenter);
    for (const TPoint p : {Point(0, 0), Point(-5, 17), Point(32, 6), Point(1000, -1000)})
        EXPECT_EQ(image->ControlToBitmap(image->BitmapToControl(p)), p);
    // 40000 * 65536 does not fit in 32 bits.
    EXPECT_EQ(image->BitmapToControl(Point(40000, -40000)), Point(40033, -39964));
    EXPECT_EQ(image->ControlToBitmap(Point(40033, -39964)), Point(40000, -40000));
}

TEST_F(ImageGeometry, CacheFollowsEveryChange) {
    Setup(100, 80, 20, 10);
    image->UpdateCache();
    ASSERT_TRUE(image->CacheValid());
    const struct {
        const char* what;
        std::function<void()> change;
        TRect want;
    } steps[] = {
        {"alignment", [&] { image->SetBitmapAlign(baCenter); }, {40, 35, 60, 45}},
        {"bitmap size", [&] { image->Bitmap()->SetSize(30, 10); }, {35, 35, 65, 45}},
        {"control size", [&] { image->SetBounds(0, 0, 50, 20); }, {10, 5, 40, 15}},
        {"scale mode", [&] { image->SetScaleMode(smStretch); }, {0, 0, 50, 20}},
        {"scale",
         [&] {
             image->SetScaleMode(smScale);
             image->SetScale(0.5f);
         },
         {17, 7, 32, 12}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        EXPECT_FALSE(image->CacheValid());
        image->UpdateCache();
        EXPECT_EQ(image->CachedBitmapRect(), step.want);
    }
}

TEST_F(ImageGeometry, BackBufferGrowsWithOversizeAndShrinksLate) {
    // A fresh control is 192 x 192.
    EXPECT_EQ(image->Width(), 192);
    EXPECT_EQ(image->Buffer()->Width(), 232);
    const struct {
        int w, h, oversize;
        int wantW, wantH;
    } steps[] = {
        {336, 315, 40, 376, 355}, // the map window's picture
        {350, 330, 40, 376, 355}, // within the oversize: nothing reallocated
        {300, 340, 40, 300, 355}, // more than 40 too wide: shrinks to fit
        {310, 10, 40, 350, 10},   // grows with the oversize again
        {0, 0, 40, 1, 10},        // never below 1; 10 is within the oversize of 0
        {5, 5, -7, 5, 5},         // a negative oversize is taken as 0
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << step.w << "x" << step.h);
        image->SetBufferOversize(step.oversize);
        image->SetBounds(0, 0, step.w, step.h);
        EXPECT_EQ(image->Buffer()->Width(), step.wantW);
        EXPECT_EQ(image->Buffer()->Height(), step.wantH);
    }
    EXPECT_EQ(image->BufferOversize(), 0);
}

TEST_F(ImageGeometry, FreshImageHasTheFiveDefaultStages) {
    const TPaintStage want[] = {{true, true, PST_CLEAR_BACKGND, 0},
                                {true, false, PST_CONTROL_FRAME, 0},
                                {true, true, PST_DRAW_BITMAP, 0},
                                {true, false, PST_BITMAP_FRAME, 0},
                                {true, true, PST_DRAW_LAYERS, 0x80000000u}};
    TPaintStages* stages = image->PaintStages();
    ASSERT_EQ(stages->Count(), 5);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(stages->Items(i).DsgnTime, want[i].DsgnTime);
        EXPECT_EQ(stages->Items(i).RunTime, want[i].RunTime);
        EXPECT_EQ(stages->Items(i).Stage, want[i].Stage);
        EXPECT_EQ(stages->Items(i).Parameter, want[i].Parameter);
    }
}

TEST_F(ImageGeometry, StageInsertClampsAndDeleteChecksItsIndex) {
    TPaintStages stages;
    stages.Add()->Stage = 10;
    stages.Add()->Stage = 11;
    TPaintStage* first = stages.Insert(-5);
    EXPECT_FALSE(first->DsgnTime);
    EXPECT_TRUE(first->RunTime);
    first->Stage = 12;
    stages.Insert(stages.Count() + 3)->Stage = 13;
    stages.Insert(2)->Stage = 14;
    const std::uint32_t order[] = {12, 10, 14, 11, 13};
    ASSERT_EQ(stages.Count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(stages.Items(i).Stage, order[i]);
    for (int bad : {-1, 5, 1000}) {
        SCOPED_TRACE(bad);
        try {
            stages.Delete(bad);
            ADD_FAILURE() << "no error";
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message, "Invalid stage index");
        }
    }
    stages.Delete(4);
    stages.Delete(0);
    EXPECT_EQ(stages.Count(), 3);
    EXPECT_EQ(stages.Items(0).Stage, 10u);
}

TEST_F(ImageGeometry, ScalesHaveAFloorAndUpdatesMustPair) {
    const float inputs[] = {0.0f, -3.0f, 0.0005f, std::numeric_limits<float>::quiet_NaN()};
    for (float value : inputs) {
        image->SetScale(2);
        image->SetScale(value);
        EXPECT_EQ(image->ScaleX(), 0.001f);
        EXPECT_EQ(image->ScaleY(), 0.001f);
    }
    image->SetScaleX(0);
    image->SetScaleY(7);
    EXPECT_EQ(image->ScaleX(), 0.001f);
    EXPECT_EQ(image->ScaleY(), 7.0f);

    int scaleChanges = 0, changes = 0;
    image->OnScaleChange = [&](TObject*) { ++scaleChanges; };
    image->OnChange = [&](TObject*) { ++changes; };
    image->SetScale(1);
    image->SetScale(1); // unchanged: nothing happens
    EXPECT_EQ(scaleChanges, 1);
    EXPECT_EQ(changes, 1);
    image->BeginUpdate();
    image->SetBitmapAlign(baCenter);
    EXPECT_EQ(changes, 1) << "no change event inside an update";
    image->EndUpdate();
    try {
        image->EndUpdate();
        ADD_FAILURE() << "unpaired EndUpdate accepted";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message, "Unpaired EndUpdate call");
    }
    EXPECT_EQ(image->UpdateCount(), 0);
}

TEST_F(ImageGeometry, AutoSizeFollowsTheBitmapAndItsScale) {
    image->SetAutoSize(true);
    image->Bitmap()->SetSize(33, 7);
    EXPECT_EQ(image->BoundsRect(), Rect(0, 0, 33, 7));
    image->SetScaleMode(smScale);
    image->SetScale(1.5f);
    EXPECT_EQ(image->BoundsRect(), Rect(0, 0, 50, 10));
    // An empty bitmap leaves the size as it is.
    image->Bitmap()->SetSize(0, 0);
    EXPECT_EQ(image->BoundsRect(), Rect(0, 0, 50, 10));
}

} // namespace
