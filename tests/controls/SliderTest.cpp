// The slider: knob position from the value and value from the mouse at both ends, the user's hold
// over the application's value, disabled state, marks, and tracks of no length.
#include "controls/Slider.h"
#include "tests/controls/ControlsTestSupport.h"

namespace {

using namespace controls_test;
using form_testing::MouseDown;
using form_testing::MouseMove;
using form_testing::MouseUp;

std::unique_ptr<TBitmap> Solid(int w, int h, TColor c) {
    auto b = std::make_unique<TBitmap>(w, h);
    b->SetPixelFormat(pf24bit);
    b->Canvas()->Brush()->SetColor(c);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

class SliderTest : public ControlsTest {
protected:
    TBitSlider* slider = nullptr;
    void Make(int w, int h, int kw, int kh, Slider::TDirection direction = Slider::HORIZONTAL) {
        slider = Place<TBitSlider>(10, 10);
        slider->SetDirection(direction);
        auto bk = Solid(w, h, clGray), pass = Solid(w, h, clGreen), knob = Solid(kw, kh, clRed);
        slider->SetBitmapBk(bk.get());
        slider->SetBitmapBkPass(pass.get());
        slider->SetBitmapKnob(knob.get());
        form_testing::ProcessEvents();
    }
};

TEST_F(SliderTest, KnobCentreAndValuesAtBothEnds) {
    Make(599, 22, 10, 10);
    EXPECT_EQ(slider->Width(), 599);
    EXPECT_EQ(slider->RangeStart().X, 5);
    EXPECT_EQ(slider->RangeEnd().X, 594);
    slider->SetVal(500);
    slider->GetKnobCenterPos();
    EXPECT_EQ(slider->KnobCenter().X, 299);
    slider->SetVal(1000);
    slider->GetKnobCenterPos();
    EXPECT_EQ(slider->KnobCenter().X, 594);

    struct Case {
        int x, value;
    };
    const Case cases[] = {{2, 0}, {5, 0}, {598, 1000}, {594, 1000}, {299, 499}};
    for (const Case& c : cases) {
        // A press away from the knob pages straight to the point; the release sets the value there.
        slider->SetVal(c.value == 500 ? 0 : 500);
        MouseDown(slider, mbLeft, Point(c.x, 11));
        MouseUp(slider, mbLeft, Point(c.x, 11));
        EXPECT_EQ(slider->KnobPos(), c.value) << c.x;
        EXPECT_EQ(slider->NewPos(), c.value) << c.x;
    }
}

TEST_F(SliderTest, ReleasedBeyondTheEndsGivesTheEndValues) {
    Make(599, 22, 10, 10);
    MouseDown(slider, mbLeft, Point(5, 11)); // on the knob at 0
    ASSERT_TRUE(slider->Dragging());
    MouseMove(slider, Point(800, 11), TShiftState{ssLeft});
    EXPECT_EQ(slider->KnobPos(), 1000);
    MouseUp(slider, mbLeft, Point(-50, 11));
    EXPECT_EQ(slider->KnobPos(), 0);
}

TEST_F(SliderTest, SetValRefusesOutOfRangeAndEqualValues) {
    Make(200, 20, 10, 10);
    slider->SetVal(300);
    form_testing::ProcessEvents();
    const int values[] = {1001, -1, 300};
    for (int v : values) {
        slider->SetVal(v);
        EXPECT_EQ(slider->KnobPos(), 300) << v;
    }
}

TEST_F(SliderTest, TheUserHoldsTheKnobAgainstTheApplication) {
    Make(599, 22, 10, 10);
    slider->SetKnobPos(500);
    MouseDown(slider, mbLeft, Point(299, 11)); // on the knob
    EXPECT_TRUE(slider->Dragging());
    MouseMove(slider, Point(400, 11), TShiftState{ssLeft});
    const int dragged = slider->KnobPos();
    EXPECT_GT(dragged, 500);
    slider->SetKnobPos(100); // playback advancing: ignored while held
    EXPECT_EQ(slider->KnobPos(), dragged);
    MouseUp(slider, mbLeft, Point(400, 11));
    EXPECT_FALSE(slider->Dragging());
    EXPECT_EQ(slider->NewPos(), slider->KnobPos());
    slider->SetKnobPos(100);
    EXPECT_EQ(slider->KnobPos(), 100);
}

TEST_F(SliderTest, AnyButtonsReleaseSetsTheValue) {
    Make(599, 22, 10, 10);
    MouseDown(slider, mbRight, Point(100, 11));
    EXPECT_FALSE(slider->Dragging());
    EXPECT_EQ(slider->PageDir(), 0);
    EXPECT_EQ(slider->KnobPos(), 0);
    MouseUp(slider, mbRight, Point(299, 11));
    EXPECT_EQ(slider->KnobPos(), 499);
}

TEST_F(SliderTest, ADisabledSliderHidesItsKnobAndRefuses) {
    Make(200, 20, 10, 10);
    slider->SetVal(500);
    form_testing::ProcessEvents();
    const int knobX = 10 + slider->KnobCenter().X;
    EXPECT_EQ(At(knobX, 20), clRed);
    slider->SetEnabled(false);
    EXPECT_FALSE(slider->Enabled());
    EXPECT_TRUE(slider->TControl::Enabled()); // the window itself still takes the mouse
    form_testing::ProcessEvents();
    EXPECT_NE(At(knobX, 20), clRed);
    slider->SetVal(700);
    MouseDown(slider, mbLeft, Point(20, 10));
    MouseUp(slider, mbLeft, Point(20, 10));
    EXPECT_EQ(slider->KnobPos(), 500);
    EXPECT_FALSE(slider->Dragging());
    slider->SetEnable(true);
    form_testing::ProcessEvents();
    EXPECT_EQ(At(knobX, 20), clRed);
}

TEST_F(SliderTest, PassedPartRunsToTheKnob) {
    Make(200, 20, 10, 10);
    slider->SetVal(500);
    form_testing::ProcessEvents();
    EXPECT_EQ(At(10 + 20, 12), clGreen);
    EXPECT_EQ(At(10 + 190, 12), clGray);
}

TEST_F(SliderTest, StartMarkSitsAtTheKnobBoxLeftEdge) {
    Make(599, 22, 10, 10);
    slider->SetMarkColor(clBlue);
    slider->SetMark(Slider::mtStart, 250);
    slider->SetMark(Slider::mtEnd, 750);
    slider->SetVal(1000);
    form_testing::ProcessEvents();
    // Value 250: centre 5 + 589 * 250 div 1000 = 152, box from 147.
    EXPECT_EQ(At(10 + 147, 10 + 1), clBlue);
    EXPECT_EQ(At(10 + 148, 10 + 19), clBlue);
    EXPECT_NE(At(10 + 146, 10 + 10), clBlue);
    EXPECT_NE(At(10 + 149, 10 + 10), clBlue);
    // Value 750: centre 446, box to 451, bar 449..450.
    EXPECT_EQ(At(10 + 450, 10 + 10), clBlue);
    slider->ClearMark(Slider::mtStart);
    form_testing::ProcessEvents();
    EXPECT_NE(At(10 + 147, 10 + 10), clBlue);
    EXPECT_EQ(slider->Mark(Slider::mtStart), -1);
}

TEST_F(SliderTest, VerticalSliderHasZeroAtTheTop) {
    Make(20, 200, 10, 10, Slider::VERTICAL);
    MouseDown(slider, mbLeft, Point(10, 1));
    MouseUp(slider, mbLeft, Point(10, 1));
    EXPECT_EQ(slider->KnobPos(), 0);
    MouseDown(slider, mbLeft, Point(10, 199));
    MouseUp(slider, mbLeft, Point(10, 199));
    EXPECT_EQ(slider->KnobPos(), 1000);
}

TEST_F(SliderTest, ATrackOfNoLengthDoesNotDivideByZero) {
    Make(10, 10, 10, 10); // the knob fills the track
    EXPECT_EQ(slider->RangeStart().X, slider->RangeEnd().X);
    MouseDown(slider, mbLeft, Point(5, 5));
    MouseMove(slider, Point(6, 5), TShiftState{ssLeft});
    MouseUp(slider, mbLeft, Point(5, 5));
    EXPECT_EQ(slider->Pos2Value(), 0);
}

TEST_F(SliderTest, MarginIsKeptOnlyWhileTheKnobStillTravels) {
    Make(100, 20, 10, 10);
    struct Case {
        int margin, kept;
    };
    const Case cases[] = {{20, 20}, {44, 44}, {45, 44}, {-1, 44}, {0, 0}};
    for (const Case& c : cases) {
        slider->SetMargin(c.margin);
        EXPECT_EQ(slider->Margin(), c.kept) << c.margin;
    }
    slider->SetMargin(20);
    slider->SetVal(0);
    form_testing::ProcessEvents();
    EXPECT_EQ(slider->RangeStart().X, 25);
    EXPECT_EQ(slider->RangeEnd().X, 75);
}

TEST_F(SliderTest, AnEmptyBackgroundIsAFrame) {
    auto* bare = Place<TBitSlider>(300, 100);
    EXPECT_EQ(bare->Width(), 50);
    EXPECT_EQ(bare->Height(), 30);
    EXPECT_EQ(bare->Perform(WM_ERASEBKGND, 0, 0), 1);
    EXPECT_EQ(bare->Perform(WM_TIMER, 7, 0), 0); // foreign timer ids are dropped
}

} // namespace
