// Range and gauge bars: button and handle geometry at the ends, with a zero range and with a handle
// larger than the track; position <-> pixel arithmetic; dragging, repeat and paging through the mouse.
#include "bitmap32/Bmp32_RangeBars.h"

#include "platform/vcl/FormTesting.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using form_testing::MouseDown;
using form_testing::MouseMove;
using form_testing::MouseUp;

class RangeBarsTest : public ::testing::Test {
protected:
    TForm* form = nullptr;
    void SetUp() override {
        form = new TForm(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 400, 300);
        form->Show();
    }
    void TearDown() override { form_testing::ResetApplication(); }
    template <class T>
    T* Place(int w, int h, TBorderStyle border = bsNone) {
        auto* bar = new T(form);
        bar->SetParent(form);
        bar->SetBorderStyle(border);
        bar->SetBounds(10, 10, w, h);
        form_testing::ProcessEvents();
        return bar;
    }
    // Moves the cursor to a client point of the bar, the button held, as a person paging would.
    void CursorAt(TControl* bar, int x, int y) { MouseMove(bar, Point(x, y), TShiftState{ssLeft}); }
};

TEST_F(RangeBarsTest, ButtonSizeFollowsThicknessLengthAndStyle) {
    struct Case {
        int w, h, buttonSize;
        TRBStyle style;
        bool arrows;
        TBorderStyle border;
        int expected;
    };
    const Case cases[] = {
        {100, 16, 0, rbsDefault, true, bsNone, 16},   {100, 16, 0, rbsMac, true, bsNone, 15},
        {100, 16, 0, rbsDefault, true, bsSingle, 14}, {100, 60, 0, rbsDefault, true, bsNone, 32},
        {100, 16, 20, rbsDefault, true, bsNone, 20},  {20, 16, 0, rbsDefault, true, bsNone, 10},
        {3, 16, 0, rbsDefault, true, bsNone, 0},      {4, 16, 0, rbsMac, true, bsNone, 0},
        {100, 16, 0, rbsDefault, false, bsNone, 0},
    };
    for (const Case& c : cases) {
        auto* bar = Place<TRangeBar>(c.w, c.h, c.border);
        bar->SetButtonSize(c.buttonSize);
        bar->SetStyle(c.style);
        bar->SetShowArrows(c.arrows);
        EXPECT_EQ(bar->GetButtonSize(), c.expected) << c.w << "x" << c.h << " size " << c.buttonSize;
    }
}

TEST_F(RangeBarsTest, FreshBarDefaults) {
    auto* bar = new TRangeBar(form);
    EXPECT_EQ(bar->Width(), 100);
    EXPECT_EQ(bar->Height(), 16);
    EXPECT_EQ(bar->Color(), clScrollBar);
    EXPECT_EQ(bar->BorderStyle(), bsSingle);
    EXPECT_EQ(bar->ClientRect(), Rect(0, 0, 98, 14));
    EXPECT_EQ(bar->ClientOffset(), Point(1, 1));
    EXPECT_EQ(bar->Increment(), 8);
    EXPECT_EQ(bar->EffectiveWindow(), 100);
    auto* gauge = new TGaugeBar(form);
    EXPECT_EQ(gauge->Max(), 100);
    EXPECT_EQ(gauge->LargeChange(), 1);
    bar->SetKind(sbVertical); // only the designer turns the shape with the bar
    EXPECT_EQ(bar->Width(), 100);
    EXPECT_EQ(bar->Height(), 16);
    EXPECT_EQ(bar->GetButtonSize(), 7); // min(98, 32), then half of the 14 along the bar
}

TEST_F(RangeBarsTest, RangeBarHandleAtTheEndsAndInBetween) {
    // 100 x 16 without border: buttons of 16, a track of 68 from 16 to 84.
    struct Case {
        int range, window;
        float position;
        TRect handle;
    };
    const Case cases[] = {
        // The window (the bar's own 100) is a tenth of the range: the handle keeps its least 17.
        {1000, 0, 0, Rect(16, 0, 33, 16)},
        {1000, 0, 900, Rect(67, 0, 84, 16)},
        {1000, 0, 450, Rect(42, 0, 59, 16)}, // 25.5 rounds to even
        // Half of the range: a handle of half the track.
        {200, 100, 0, Rect(16, 0, 50, 16)},
        {200, 100, 100, Rect(50, 0, 84, 16)},
        // A range within the window, and no range at all: the whole track.
        {100, 0, 0, Rect(16, 0, 84, 16)},
        {0, 0, 0, Rect(16, 0, 84, 16)},
    };
    for (const Case& c : cases) {
        auto* bar = Place<TRangeBar>(100, 16);
        bar->SetParams(c.range, c.window);
        bar->SetPosition(c.position);
        EXPECT_EQ(bar->GetHandleRect(), c.handle) << c.range << "/" << c.window << " at " << c.position;
        EXPECT_EQ(bar->DrawEnabled(), c.range > bar->EffectiveWindow());
    }
}

TEST_F(RangeBarsTest, ShortTrackHasNoHandle) {
    auto* bar = Place<TRangeBar>(49, 16); // a track of 17
    bar->SetRange(1000);
    EXPECT_TRUE(IsRectEmpty(bar->GetHandleRect()));
    // Pressed, each half of the track pages its own way, as it is drawn pushed.
    EXPECT_EQ(bar->GetZoneRect(zTrackPrev), Rect(16, 0, 24, 16));
    EXPECT_EQ(bar->GetZone(20, 5), zTrackPrev);
    EXPECT_EQ(bar->GetZone(24, 5), zTrackNext);
    bar->SetBounds(10, 10, 50, 16); // 18: a handle again
    EXPECT_EQ(bar->GetHandleRect(), Rect(16, 0, 33, 16));
}

TEST_F(RangeBarsTest, ZonesAndZoneRects) {
    auto* bar = Place<TRangeBar>(100, 16);
    bar->SetParams(200, 100);
    bar->SetPosition(50); // handle 33..67
    struct Case {
        int x;
        TRBZone zone;
    };
    const Case cases[] = {{-1, zNone},      {0, zBtnPrev},  {15, zBtnPrev}, {16, zTrackPrev},
                          {32, zTrackPrev}, {33, zHandle},  {66, zHandle},  {67, zTrackNext},
                          {83, zTrackNext}, {84, zBtnNext}, {99, zBtnNext}, {100, zNone}};
    for (const Case& c : cases)
        EXPECT_EQ(bar->GetZone(c.x, 8), c.zone) << c.x;
    EXPECT_EQ(bar->GetZone(50, 16), zNone);
    EXPECT_EQ(bar->GetZoneRect(zBtnPrev), Rect(0, 0, 16, 16));
    EXPECT_EQ(bar->GetZoneRect(zBtnNext), Rect(84, 0, 100, 16));
    EXPECT_EQ(bar->GetZoneRect(zTrackPrev), Rect(16, 0, 33, 16));
    EXPECT_EQ(bar->GetZoneRect(zHandle), Rect(33, 0, 67, 16));
    EXPECT_EQ(bar->GetZoneRect(zTrackNext), Rect(67, 0, 84, 16));
    EXPECT_TRUE(IsRectEmpty(bar->GetZoneRect(zNone)));
    // Not drawn enabled: the handle shrinks to the track's centre.
    bar->SetEnabled(false);
    EXPECT_EQ(bar->GetZoneRect(zHandle), Rect(50, 8, 50, 8));
    EXPECT_EQ(bar->GetZoneRect(zTrackPrev), Rect(16, 0, 50, 16));
}

TEST_F(RangeBarsTest, PositionClampsAndReportsOnlyRealChanges) {
    auto* bar = Place<TRangeBar>(100, 16);
    int changes = 0, userChanges = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    bar->OnUserChange = [&](TObject*) { ++userChanges; };
    bar->SetRange(300);
    EXPECT_EQ(changes, 0); // range writes do not report
    struct Case {
        float set, expected;
        int changes;
    };
    const Case cases[] = {{-5, 0, 0}, {50, 50, 1}, {50, 50, 1}, {1e9f, 200, 2}, {199.5f, 199.5f, 3}};
    for (const Case& c : cases) {
        bar->SetPosition(c.set);
        EXPECT_EQ(bar->Position(), c.expected) << c.set;
        EXPECT_EQ(changes, c.changes) << c.set;
    }
    EXPECT_EQ(userChanges, 0);
    bar->SetRange(150); // a smaller range pulls the position back
    EXPECT_EQ(bar->Position(), 50);
    bar->SetParams(-4, -9);
    EXPECT_EQ(bar->Range(), 0);
    EXPECT_EQ(bar->Window(), 0);
    EXPECT_EQ(bar->Position(), 0);
}

TEST_F(RangeBarsTest, CenteredBarKeepsItsCentreAcrossRangeAndSize) {
    auto* bar = Place<TRangeBar>(100, 16);
    bar->SetCentered(true);
    bar->SetRange(400); // from no range: the middle
    EXPECT_EQ(bar->Position(), 150);
    bar->SetRange(800); // the centre 200 of 400 becomes 400 of 800
    EXPECT_EQ(bar->Position(), 350);
    bar->SetBounds(10, 10, 200, 16); // a wider window round the same centre
    EXPECT_EQ(bar->EffectiveWindow(), 200);
    EXPECT_EQ(bar->Position(), 300);
    bar->SetCentered(false);
    bar->SetBounds(10, 10, 100, 16);
    EXPECT_EQ(bar->EffectiveWindow(), 100);
    EXPECT_EQ(bar->Position(), 300);
}

TEST_F(RangeBarsTest, DraggingTheHandleMapsPixelsToPositionAndClamps) {
    auto* bar = Place<TRangeBar>(100, 16);
    bar->SetRange(1000); // handle of 17 over a free track of 51: 900 positions
    int userChanges = 0;
    bar->OnUserChange = [&](TObject*) { ++userChanges; };
    MouseDown(bar, mbLeft, Point(20, 8));
    EXPECT_EQ(bar->DragZone(), zHandle);
    struct Case {
        int x;
        float position;
    };
    // Round(900 * d / 51).
    const Case cases[] = {{37, 300}, {71, 900}, {200, 900}, {-50, 0}, {21, 18}};
    for (const Case& c : cases) {
        MouseMove(bar, Point(c.x, 8), TShiftState{ssLeft});
        EXPECT_EQ(bar->Position(), c.position) << c.x;
    }
    EXPECT_GE(userChanges, 4);
    MouseUp(bar, mbLeft, Point(21, 8));
    EXPECT_EQ(bar->DragZone(), zNone);
    EXPECT_FALSE(bar->ChangeByUser());
    // With a large handle the change is linear: Range * d / S.
    bar->SetParams(136, 100); // handle Round(68 * 100 / 136) = 50
    bar->SetPosition(0);
    MouseDown(bar, mbLeft, Point(30, 8));
    MouseMove(bar, Point(47, 8), TShiftState{ssLeft});
    EXPECT_EQ(bar->Position(), 34);
    MouseUp(bar, mbLeft, Point(47, 8));
}

TEST_F(RangeBarsTest, BarWithoutRoomIgnoresPresses) {
    auto* bar = Place<TRangeBar>(100, 16);
    bar->SetRange(100);
    int downs = 0;
    bar->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    MouseDown(bar, mbLeft, Point(5, 8));
    EXPECT_EQ(bar->DragZone(), zNone);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_FALSE(bar->Timer()->Enabled());
    MouseUp(bar, mbLeft, Point(5, 8));
}

TEST_F(RangeBarsTest, HoldingAButtonRepeatsUntilThePositionStops) {
    auto* bar = Place<TRangeBar>(100, 16);
    bar->SetRange(120); // 20 positions: 8, 16, 20
    int userChanges = 0;
    bar->OnUserChange = [&](TObject*) { ++userChanges; };
    MouseDown(bar, mbLeft, Point(90, 8));
    EXPECT_EQ(bar->Position(), 8); // one step at once
    EXPECT_EQ(bar->TimerMode(), tmInitialDelay);
    EXPECT_EQ(bar->Timer()->Interval(), 600u);
    EXPECT_TRUE(bar->Timer()->Enabled());
    // The steps below are the timer's, taken by hand: the real one stays out of the count.
    bar->Timer()->SetEnabled(false);
    bar->TimerHandler(bar->Timer()); // the first 600 ms are over
    EXPECT_EQ(bar->TimerMode(), tmRepeat);
    EXPECT_EQ(bar->Timer()->Interval(), 100u);
    EXPECT_EQ(bar->Position(), 16);
    bar->TimerHandler(bar->Timer());
    EXPECT_EQ(bar->Position(), 20);
    EXPECT_EQ(bar->TimerMode(), tmRepeat);
    bar->TimerHandler(bar->Timer()); // no further: the repeat stops
    EXPECT_EQ(bar->Position(), 20);
    EXPECT_EQ(bar->TimerMode(), tmHotTrack);
    EXPECT_EQ(bar->Timer()->Interval(), 150u);
    EXPECT_EQ(userChanges, 3);
    MouseUp(bar, mbLeft, Point(90, 8));
}

TEST_F(RangeBarsTest, HoldingTheTrackPagesWhileTheCursorStaysOverIt) {
    auto* bar = Place<TRangeBar>(100, 16);
    bar->SetRange(1000); // handle at 16..33, window 100
    MouseDown(bar, mbLeft, Point(70, 8));
    EXPECT_EQ(bar->DragZone(), zTrackNext);
    EXPECT_EQ(bar->Position(), 100);
    bar->Timer()->SetEnabled(false); // the steps are taken by hand
    bar->TimerHandler(bar->Timer());
    EXPECT_EQ(bar->Position(), 200);
    CursorAt(bar, 95, 40); // below the bar, clamped onto the next button: still pages
    bar->TimerHandler(bar->Timer());
    EXPECT_EQ(bar->Position(), 300);
    CursorAt(bar, 18, 8); // now over the previous track: no more paging
    bar->TimerHandler(bar->Timer());
    EXPECT_EQ(bar->Position(), 300);
    MouseUp(bar, mbLeft, Point(18, 8));
}

TEST_F(RangeBarsTest, HotTrackingFollowsTheCursorAndEndsWhenItLeaves) {
    auto* bar = Place<TRangeBar>(100, 16);
    bar->SetRange(1000);
    MouseMove(bar, Point(25, 8));
    EXPECT_EQ(bar->HotZone(), zHandle);
    EXPECT_EQ(bar->TimerMode(), tmHotTrack);
    EXPECT_TRUE(bar->Timer()->Enabled());
    MouseMove(bar, Point(5, 8));
    EXPECT_EQ(bar->HotZone(), zBtnPrev);
    MouseMove(bar, Point(50, 100));
    bar->TimerHandler(bar->Timer());
    EXPECT_EQ(bar->HotZone(), zNone);
    EXPECT_FALSE(bar->Timer()->Enabled());
    MouseMove(bar, Point(5, 8));
    bar->MouseLeft();
    EXPECT_EQ(bar->HotZone(), zNone);
}

TEST_F(RangeBarsTest, WheelMovesByIncrement) {
    auto* bar = Place<TRangeBar>(100, 16);
    bar->SetRange(1000);
    bar->SetIncrement(10);
    EXPECT_TRUE(bar->DoMouseWheel(TShiftState(), 240, Point(0, 0)));
    EXPECT_EQ(bar->Position(), 20);
    bar->DoMouseWheel(TShiftState(), -60, Point(0, 0));
    EXPECT_EQ(bar->Position(), 15);
    auto* gauge = Place<TGaugeBar>(100, 16);
    gauge->SetSmallChange(3);
    gauge->DoMouseWheel(TShiftState(), 240, Point(0, 0));
    EXPECT_EQ(gauge->Position(), 6);
    gauge->DoMouseWheel(TShiftState(), -60, Point(0, 0)); // 3 * -60 div 120
    EXPECT_EQ(gauge->Position(), 5);
    gauge->DoMouseWheel(TShiftState(), 20, Point(0, 0)); // 60 div 120: nothing
    EXPECT_EQ(gauge->Position(), 5);
}

TEST_F(RangeBarsTest, WheelTurnsReachTheBarThroughTheWindow) {
    auto* bar = Place<TRangeBar>(100, 16);
    bar->SetRange(1000);
    int changes = 0, userChanges = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    bar->OnUserChange = [&](TObject*) { ++userChanges; };
    form_testing::MouseWheel(bar, Point(50, 8), 360);
    EXPECT_EQ(bar->Position(), 24);
    form_testing::MouseWheel(bar, Point(50, 8), -120, TShiftState{ssShift});
    EXPECT_EQ(bar->Position(), 16);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(userChanges, 0); // a wheel step is not a drag or a timer step
    // The message itself, as a window would send it.
    EXPECT_EQ(bar->Perform(WM_MOUSEWHEEL, MAKELONG(0, static_cast<WORD>(-240)), 0), 1);
    EXPECT_EQ(bar->Position(), 0);
}

TEST_F(RangeBarsTest, GaugeLimitsAndSteps) {
    auto* gauge = Place<TGaugeBar>(100, 16);
    gauge->SetMax(-5); // below Min: Min + 1
    EXPECT_EQ(gauge->Max(), 1);
    gauge->SetMax(10);
    gauge->SetMin(10); // at Max: Max - 1
    EXPECT_EQ(gauge->Min(), 9);
    gauge->SetMin(0);
    gauge->SetLargeChange(0);
    gauge->SetSmallChange(-3);
    EXPECT_EQ(gauge->LargeChange(), 1);
    EXPECT_EQ(gauge->SmallChange(), 1);
    int changes = 0;
    gauge->OnChange = [&](TObject*) { ++changes; };
    gauge->SetPosition(50);
    EXPECT_EQ(gauge->Position(), 10);
    gauge->SetPosition(-50);
    EXPECT_EQ(gauge->Position(), 0);
    EXPECT_EQ(changes, 2);
    gauge->SetPosition(8);
    gauge->SetMax(5); // the position follows a lower Max
    EXPECT_EQ(gauge->Position(), 5);
    // Steps at the ends of the integer range do not wrap.
    gauge->SetMax(INT32_MAX);
    gauge->SetPosition(INT32_MAX);
    gauge->SetLargeChange(100);
    gauge->SetMin(INT32_MAX - 1000);
    MouseDown(gauge, mbLeft, Point(90, 8));
    EXPECT_EQ(gauge->Position(), INT32_MAX);
    MouseUp(gauge, mbLeft, Point(90, 8));
}

TEST_F(RangeBarsTest, GaugeHandleGeometry) {
    // 100 x 16: track 16..84 (68).
    struct Case {
        int handleSize, min, max, position;
        TRect handle;
    };
    const Case cases[] = {
        {0, 0, 100, 0, Rect(16, 0, 32, 16)},   // the thickness, at the start
        {0, 0, 100, 100, Rect(68, 0, 84, 16)}, // at the end
        {0, 0, 100, 50, Rect(42, 0, 58, 16)},  // 26 of 52
        {10, -50, 50, 0, Rect(45, 0, 55, 16)}, // 29 of 58
        {500, 0, 100, 0, Rect(16, 0, 83, 16)}, // larger than the track: 67
        {500, 0, 100, 100, Rect(17, 0, 84, 16)},
    };
    for (const Case& c : cases) {
        auto* gauge = Place<TGaugeBar>(100, 16);
        gauge->SetHandleSize(c.handleSize);
        gauge->SetMin(c.min);
        gauge->SetMax(c.max);
        gauge->SetPosition(c.position);
        EXPECT_EQ(gauge->GetHandleRect(), c.handle) << c.handleSize << " " << c.position;
    }
}

TEST_F(RangeBarsTest, GaugeDragMapsPixelsAndClamps) {
    auto* gauge = Place<TGaugeBar>(100, 16);
    gauge->SetMax(52); // one position per free pixel
    gauge->SetPosition(10);
    MouseDown(gauge, mbLeft, Point(30, 8)); // handle at 26..42
    EXPECT_EQ(gauge->DragZone(), zHandle);
    struct Case {
        int x, position;
    };
    const Case cases[] = {{35, 15}, {300, 52}, {0, 0}, {31, 11}};
    for (const Case& c : cases) {
        MouseMove(gauge, Point(c.x, 8), TShiftState{ssLeft});
        EXPECT_EQ(gauge->Position(), c.position) << c.x;
    }
    MouseUp(gauge, mbLeft, Point(31, 8));
    // A handle larger than the track leaves one free pixel: the whole range per pixel.
    gauge->SetHandleSize(500);
    gauge->SetPosition(0);
    MouseDown(gauge, mbLeft, Point(40, 8));
    MouseMove(gauge, Point(41, 8), TShiftState{ssLeft});
    EXPECT_EQ(gauge->Position(), 52);
    MouseUp(gauge, mbLeft, Point(41, 8));
}

TEST_F(RangeBarsTest, BorderedBarTakesPointsInsideItsFrame) {
    auto* bar = Place<TRangeBar>(100, 16, bsSingle); // client 98 x 14: buttons of 14
    bar->SetRange(1000);
    EXPECT_EQ(bar->GetButtonSize(), 14);
    EXPECT_EQ(bar->GetHandleRect(), Rect(14, 0, 31, 14));
    MouseDown(bar, mbLeft, Point(20, 7));
    EXPECT_EQ(bar->DragZone(), zHandle);
    // Free track 70 - 17 = 53.
    MouseMove(bar, Point(73, 7), TShiftState{ssLeft});
    EXPECT_EQ(bar->Position(), 900);
    MouseUp(bar, mbLeft, Point(73, 7));
}

TEST_F(RangeBarsTest, AccessWritesBothBarsAndReadsTheMaster) {
    auto* a = Place<TRangeBar>(100, 16);
    auto* b = Place<TRangeBar>(100, 16);
    TArrowBarAccess access(a, b);
    access.SetButtonSize(9);
    access.SetStyle(rbsMac);
    access.SetColor(clRed);
    access.SetShowArrows(false);
    access.SetBorderColor(clBlue);
    EXPECT_EQ(b->ButtonSize(), 9);
    EXPECT_EQ(b->Style(), rbsMac);
    EXPECT_EQ(b->Color(), clRed);
    EXPECT_FALSE(b->ShowArrows());
    EXPECT_EQ(b->BorderColor(), clBlue);
    b->SetButtonSize(3);
    EXPECT_EQ(access.ButtonSize(), 9);
    TArrowBarAccess single(a);
    single.SetHandleColor(clLime);
    EXPECT_EQ(a->HandleColor(), clLime);
    EXPECT_EQ(b->HandleColor(), clBtnShadow);
}

} // namespace
