// Strip frames, animations and the gauge: geometry, ranges, load order, runs and level arithmetic.
#include "controls/BmAni.h"
#include "controls/BmFrame.h"
#include "controls/BmGauge.h"
#include "controls/ImgAnimation.h"
#include "controls/imgframe.h"
#include "tests/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;

class StripControls : public ControlsTest {};

// Gives a picture strip control a horizontal strip of `frames` frames through a picture.
void GiveStrip(TImgFrame* control, int frameWidth, int frameHeight, int frames) {
    auto strip = Strip(frameWidth, frameHeight, frames, true);
    TPicture picture;
    picture.SetGraphic(strip.get());
    control->SetPicture(&picture);
}

TEST_F(StripControls, BmFrameFitsAndShowsFramesByOffset) {
    auto* frame = Place<TBmFrame>(10, 10);
    EXPECT_EQ(At(20, 20), clAqua); // empty: the placeholder
    frame->SetTotalFrames(4);
    frame->SetDirection(Bmframe::_Horizontal);
    auto strip = Strip(40, 40, 4, true);
    frame->SetBitmap(strip.get());
    EXPECT_EQ(frame->Width(), 40);
    EXPECT_EQ(frame->Height(), 40);
    frame->SetCurrentFrame(2);
    EXPECT_EQ(At(10, 10), clBlue);
    EXPECT_EQ(At(49, 49), clBlue);
    // Unchecked frames draw past the strip: nothing of it shows, and a huge index does not overflow.
    frame->SetCurrentFrame(0x7FFFFFFF);
    frame->SetCurrentFrame(-1);
    EXPECT_EQ(frame->CurrentFrame(), -1);
}

TEST_F(StripControls, BmFrameOfZeroFramesKeepsItsSize) {
    auto* frame = Place<TBmFrame>(0, 0);
    frame->SetBounds(0, 0, 33, 22);
    frame->SetTotalFrames(0);
    auto strip = Strip(10, 10, 2, false);
    frame->SetBitmap(strip.get());
    EXPECT_EQ(frame->Width(), 33);
    EXPECT_EQ(frame->Height(), 22);
}

TEST_F(StripControls, ImgFrameTakesPictureThenCountThenDirection) {
    auto* img = Place<Counting<TImgFrame>>(100, 10);
    EXPECT_EQ(img->TotalFrames(), 0);
    EXPECT_EQ(img->Width(), 40);
    GiveStrip(img, 18, 20, 6);
    EXPECT_EQ(img->TotalFrames(), 1);
    EXPECT_EQ(img->Width(), 108); // one frame: the whole picture
    img->SetTotalFrames(6);
    EXPECT_EQ(img->Width(), 108); // still vertical: 108 x (20 div 6)
    EXPECT_EQ(img->Height(), 3);
    img->SetDirection(Imgframe::HORIZONTAL);
    EXPECT_EQ(img->Width(), 18);
    EXPECT_EQ(img->Height(), 20);

    struct Step {
        int set;
        int shown;
        bool painted;
    };
    const Step steps[] = {{3, 3, true},   {3, 3, false}, {6, 3, false},
                          {-1, 3, false}, {5, 5, true},  {0, 0, true}};
    for (const Step& s : steps) {
        const int before = img->paints;
        img->SetCurrentFrame(s.set);
        EXPECT_EQ(img->CurrentFrame(), s.shown) << s.set;
        EXPECT_EQ(img->paints - before, s.painted ? 1 : 0) << s.set;
    }
    img->SetCurrentFrame(4);
    EXPECT_EQ(At(100, 10), clFuchsia);
    // Painted straight on the screen, the frame drawn outside a paint reaches it with the next one.
    img->SetCurrentFrame(2);
    EXPECT_EQ(form_testing::TakeScreenPicture(form).At(100, 10), clBlue);
}

TEST_F(StripControls, ImgFrameRefusesCountsAndEmptiesOnNull) {
    auto* img = Place<TImgFrame>(0, 0);
    img->SetTotalFrames(0);
    EXPECT_EQ(img->TotalFrames(), 0);
    img->SetTotalFrames(4); // an empty picture still takes a count: fitted to nothing
    EXPECT_EQ(img->TotalFrames(), 4);
    EXPECT_EQ(img->Width(), 0);
    img->SetPicture(nullptr);
    EXPECT_EQ(img->TotalFrames(), 0);
    EXPECT_EQ(img->Width(), 40);
    EXPECT_EQ(img->Height(), 40);
    EXPECT_EQ(At(20, 20), clAqua);
}

TEST_F(StripControls, ImgAnimationRangeFollowsTheCount) {
    auto* ani = Place<TImgAnimation>(0, 0);
    GiveStrip(ani, 10, 10, 8);
    EXPECT_EQ(ani->StopFrame(), 0);
    ani->SetTotalFrames(8);
    EXPECT_EQ(ani->StartFrame(), 0);
    EXPECT_EQ(ani->StopFrame(), 7);
    ani->SetStopFrame(8);
    ani->SetStartFrame(-1);
    EXPECT_EQ(ani->StopFrame(), 7);
    EXPECT_EQ(ani->StartFrame(), 0);
    ani->SetStopFrame(3);
    ani->SetTotalFrames(8); // same count: the range stays
    EXPECT_EQ(ani->StopFrame(), 3);
    ani->SetTotalFrames(0); // refused, but it differed: the range follows the count held
    EXPECT_EQ(ani->StopFrame(), 7);
}

struct RunCase {
    const char* name;
    int start, stop;
    bool repeated;
    std::vector<int> frames; // shown at play start, then after each tick
    int stops;               // OnStopFrame calls
};

TEST_F(StripControls, AnimationRunsFromStartToStop) {
    const RunCase cases[] = {
        {"forward", 0, 3, false, {0, 1, 2, 3, 3, 3}, 1},
        {"repeated", 0, 3, true, {0, 1, 2, 3, 0, 1, 2, 3, 0}, 0},
        {"reverse", 3, 0, false, {3, 2, 1, 0, 0}, 1},
        {"single", 2, 2, false, {2, 2}, 1},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto* ani = Place<TImgAnimation>(0, 0);
        GiveStrip(ani, 10, 10, 4);
        ani->SetTotalFrames(4);
        ani->SetStartFrame(c.start);
        ani->SetStopFrame(c.stop);
        ani->SetRepeated(c.repeated);
        ani->SetInterval(250);
        int stops = 0;
        bool playInside = false;
        ani->OnStopFrame = [&](TObject*) {
            ++stops;
            playInside = ani->Play();
        };
        ani->SetPlay(true);
        EXPECT_EQ(ani->Timer()->Interval(), 250u);
        ani->SetInterval(50); // read only when play starts
        std::vector<int> shown = {ani->CurrentFrame()};
        for (std::size_t i = 1; i < c.frames.size(); ++i) {
            if (ani->Timer()->Enabled()) ani->OnTimer(ani->Timer());
            shown.push_back(ani->CurrentFrame());
        }
        EXPECT_EQ(shown, c.frames);
        EXPECT_EQ(stops, c.stops);
        EXPECT_EQ(ani->Timer()->Interval(), 250u);
        if (c.stops) {
            EXPECT_TRUE(playInside);
            EXPECT_FALSE(ani->Play());
            EXPECT_FALSE(ani->Timer()->Enabled());
        }
        delete ani;
    }
}

TEST_F(StripControls, BmAnimationRunsTheSameWayOverABitmap) {
    auto* ani = Place<TBmAnimation>(0, 0);
    auto strip = Strip(10, 10, 4, false);
    ani->SetBitmap(strip.get());
    ani->SetTotalFrames(4);
    ani->SetStopFrame(3);
    int stops = 0;
    ani->OnStopFrame = [&](TObject*) { ++stops; };
    ani->SetPlay(true);
    std::vector<int> shown = {ani->CurrentFrame()};
    for (int i = 0; i < 5; ++i) {
        if (ani->Timer()->Enabled()) ani->OnTimer(ani->Timer());
        shown.push_back(ani->CurrentFrame());
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 3, 3}));
    EXPECT_EQ(stops, 1);
    ani->SetPlay(false);
    EXPECT_FALSE(ani->Timer()->Enabled());
}

TEST_F(StripControls, AnimationTimerDrivesItWithoutHelp) {
    auto* ani = Place<TImgAnimation>(0, 0);
    GiveStrip(ani, 10, 10, 4);
    ani->SetTotalFrames(4);
    ani->SetInterval(10);
    bool stopped = false;
    ani->OnStopFrame = [&](TObject*) { stopped = true; };
    ani->SetPlay(true);
    EXPECT_TRUE(form_testing::WaitUntil([&] { return stopped; }, 5000));
    EXPECT_EQ(ani->CurrentFrame(), 3);
}

// A gauge strip: the empty half black, the full half white.
std::unique_ptr<TBitmap> GaugeStrip(int w, int h, bool horizontal) {
    auto b = std::make_unique<TBitmap>(horizontal ? w : 2 * w, horizontal ? 2 * h : h);
    b->SetPixelFormat(pf24bit);
    b->Canvas()->Brush()->SetColor(clBlack);
    b->Canvas()->FillRect(Rect(0, 0, b->Width(), b->Height()));
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(horizontal ? Rect(0, h, w, 2 * h) : Rect(w, 0, 2 * w, h));
    return b;
}

TEST_F(StripControls, GaugeLevelsInPixels) {
    struct Case {
        int level, maximum, filled;
    };
    const Case cases[] = {
        {50, 200, 113},                // 455 * 50 div 200
        {0, 200, 0},                   // empty half only
        {200, 200, 455},               // full
        {-5, 200, 0},                  // below the range: nothing
        {100, 0, 0},                   // no maximum: no level, no crash
        {100, -10, 0},                 //
        {2000000000, 2100000000, 433}, // byte counts of a large file: no 32-bit overflow
        {0x7FFFFFFF, 0x7FFFFFFF, 455}, //
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TBmGauge::LevelLength(c.level, c.maximum, 455), c.filled) << c.level << "/" << c.maximum;
    }
    auto* gauge = Place<TBmGauge>(0, 100);
    auto strip = GaugeStrip(455, 20, true);
    gauge->SetBitmap(strip.get());
    EXPECT_EQ(gauge->Width(), 455);
    EXPECT_EQ(gauge->Height(), 20);
    gauge->SetMaximumLevel(200);
    gauge->SetCurrentLevel(50);
    EXPECT_EQ(At(112, 110), clWhite);
    EXPECT_EQ(At(113, 110), clBlack);
    gauge->SetCurrentLevel(201); // above the maximum: ignored
    EXPECT_EQ(gauge->CurrentLevel(), 50);
    gauge->SetMaximumLevel(0); // drawn at once: only the empty half
    EXPECT_EQ(At(5, 110), clBlack);
    gauge->SetMaximumLevel(100); // the level is not adjusted
    EXPECT_EQ(gauge->CurrentLevel(), 50);
    EXPECT_EQ(At(226, 110), clWhite);
    EXPECT_EQ(At(228, 110), clBlack);
}

TEST_F(StripControls, VerticalGaugeGrowsUpward) {
    auto* gauge = Place<TBmGauge>(20, 20);
    gauge->SetDirection(Bmframe::_Vertical);
    auto strip = GaugeStrip(10, 100, false);
    gauge->SetBitmap(strip.get());
    EXPECT_EQ(gauge->Width(), 10);
    EXPECT_EQ(gauge->Height(), 100);
    gauge->SetCurrentLevel(25);
    EXPECT_EQ(At(25, 20 + 99), clWhite);
    EXPECT_EQ(At(25, 20 + 75), clWhite);
    EXPECT_EQ(At(25, 20 + 74), clBlack);
}

TEST_F(StripControls, EmptyGaugeIsGreyWithAnAquaLevel) {
    auto* gauge = Place<TBmGauge>(0, 0);
    gauge->SetCurrentLevel(50);
    EXPECT_EQ(At(10, 10), clAqua);
    EXPECT_EQ(At(50, 10), clGray);
}

} // namespace
