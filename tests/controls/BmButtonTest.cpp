// The bitmap button's looks and clicks through hover, press, drag out and back, release and leave.
#include "controls/BmButton.h"
#include "tests/controls/ControlsTestSupport.h"

#include "platform/vcl/WinUser.h"

namespace {

using namespace controls_test;
using form_testing::MouseDown;
using form_testing::MouseMove;
using form_testing::MouseUp;

class BmButtonTest : public ControlsTest {
protected:
    TBmButton* button = nullptr;
    int clicks = 0;
    std::vector<std::string> events;
    void Make(int frames, int base = 0, bool horizontal = true) {
        button = Place<TBmButton>(100, 50);
        auto strip = Strip(40, 20, frames, horizontal);
        button->SetDirection(horizontal ? Bmframe::_Horizontal : Bmframe::_Vertical);
        button->SetTotalFrames(frames);
        button->SetBitmap(strip.get());
        button->SetCurrentFrame(base);
        button->OnClick = [this](TObject*) { ++clicks; };
        button->OnMouseEnter = [this](TObject*) { events.push_back("enter"); };
        button->OnMouseLeave = [this](TObject*) { events.push_back("leave"); };
        MouseMove(form, Point(5, 5));
    }
    // The colour the button shows, and the frame it stands for.
    int Shown() {
        const TColor c = At(120, 60);
        for (int k = 0; k < 8; ++k)
            if (FrameColour(k) == c) return k;
        return -1;
    }
};

TEST_F(BmButtonTest, PressAndReleaseInsideClicksOnceAtTheRelease) {
    Make(4);
    EXPECT_EQ(button->Width(), 40);
    EXPECT_EQ(button->Height(), 20);
    MouseMove(button, Point(10, 10));
    EXPECT_EQ(Shown(), 1);
    MouseDown(button, mbLeft, Point(10, 10));
    EXPECT_EQ(Shown(), 2);
    EXPECT_EQ(clicks, 0);
    MouseUp(button, mbLeft, Point(10, 10));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Shown(), 0);
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(events, (std::vector<std::string>{"enter"}));
}

TEST_F(BmButtonTest, DraggedOutAndReleasedOutsideGivesNoClick) {
    Make(4);
    MouseMove(button, Point(10, 10));
    MouseDown(button, mbLeft, Point(10, 10));
    std::vector<int> shown = {Shown()};
    MouseMove(button, Point(60, 10), TShiftState{ssLeft});
    shown.push_back(Shown());
    EXPECT_FALSE(button->ClickArmed());
    EXPECT_TRUE(button->Pressed());
    MouseUp(button, mbLeft, Point(60, 10));
    shown.push_back(Shown());
    EXPECT_EQ(shown, (std::vector<int>{2, 0, 0}));
    EXPECT_EQ(clicks, 0);
}

TEST_F(BmButtonTest, DraggedOutAndBackShowsHoverAndClicks) {
    Make(4);
    MouseMove(button, Point(10, 10));
    MouseDown(button, mbLeft, Point(10, 10));
    MouseMove(button, Point(-20, 10), TShiftState{ssLeft});
    EXPECT_EQ(Shown(), 0);
    MouseMove(button, Point(12, 10), TShiftState{ssLeft});
    EXPECT_EQ(Shown(), 1); // hover, not pressed
    EXPECT_TRUE(button->ClickArmed());
    MouseUp(button, mbLeft, Point(12, 10));
    EXPECT_EQ(clicks, 1);
}

TEST_F(BmButtonTest, TheLeftAndTopEdgesAreOutside) {
    Make(4);
    MouseMove(button, Point(10, 10));
    MouseDown(button, mbLeft, Point(10, 10));
    struct Case {
        int x, y;
        bool inside;
    };
    const Case cases[] = {{0, 10, false}, {1, 10, true},   {10, 0, false},
                          {39, 19, true}, {40, 10, false}, {10, 20, false}};
    for (const Case& c : cases) {
        MouseMove(button, Point(c.x, c.y), TShiftState{ssLeft});
        EXPECT_EQ(button->ClickArmed(), c.inside) << c.x << "," << c.y;
    }
    MouseUp(button, mbLeft, Point(10, 20));
    EXPECT_EQ(clicks, 0);
}

TEST_F(BmButtonTest, LooksAreCappedAtTheLastFrame) {
    struct Case {
        int frames, base, hover, pressed;
        bool horizontal;
    };
    const Case cases[] = {
        {6, 3, 4, 5, true},                      // the inactive mode tab
        {6, 0, 1, 2, true},                      // the active one
        {4, 3, 3, 3, true}, {2, 0, 1, 1, false}, // the small arrows: stacked frames
        {1, 0, 0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frames << " frames, base " << c.base);
        Make(c.frames, c.base, c.horizontal);
        EXPECT_EQ(button->ShownFrame(), c.base);
        MouseMove(button, Point(10, 10));
        EXPECT_EQ(button->ShownFrame(), c.hover);
        MouseDown(button, mbLeft, Point(10, 10));
        EXPECT_EQ(button->ShownFrame(), c.pressed);
        EXPECT_EQ(Shown(), c.pressed);
        MouseUp(button, mbLeft, Point(10, 10));
        MouseMove(form, Point(5, 5));
        delete button;
    }
}

TEST_F(BmButtonTest, RefusesAFrameCountOfZero) {
    Make(4);
    button->SetTotalFrames(0);
    EXPECT_EQ(button->TotalFrames(), 4);
    MouseMove(button, Point(10, 10));
    EXPECT_EQ(button->ShownFrame(), 1);
}

TEST_F(BmButtonTest, CurrentFrameIsTheBaseOfTheLooks) {
    Make(4);
    button->SetCurrentFrame(2);
    EXPECT_EQ(Shown(), 2);
    MouseMove(button, Point(10, 10));
    EXPECT_EQ(Shown(), 3);
}

TEST_F(BmButtonTest, TheRightButtonNeverClicks) {
    Make(4);
    int downs = 0;
    button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    MouseMove(button, Point(10, 10));
    MouseDown(button, mbRight, Point(10, 10));
    EXPECT_FALSE(button->Pressed());
    MouseUp(button, mbRight, Point(10, 10));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(downs, 1);
}

TEST_F(BmButtonTest, CheckMouseRestoresTheLookWhenThePointerIsGone) {
    Make(4);
    MouseMove(button, Point(10, 10));
    EXPECT_TRUE(button->CheckTimer()->Enabled());
    EXPECT_EQ(button->CheckTimer()->Interval(), 200u);
    button->CheckMouse(nullptr); // the pointer is still on it
    EXPECT_EQ(button->ShownFrame(), 1);
    // The pointer is elsewhere but the button got no leave message (another program's window).
    MouseMove(form, Point(5, 5));
    events.clear();
    button->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(button->ShownFrame(), 1);
    button->CheckMouse(nullptr);
    EXPECT_EQ(button->ShownFrame(), 0);
    EXPECT_FALSE(button->CheckTimer()->Enabled());
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(BmButtonTest, CheckTimerFiresWithinItsPeriod) {
    Make(4);
    events.clear();
    button->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(button->ShownFrame(), 1);
    EXPECT_TRUE(form_testing::WaitUntil([&] { return button->ShownFrame() == 0; }, 2000));
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(BmButtonTest, AutoRepeatWaits400ThenRepeatsEveryInterval) {
    Make(4);
    button->SetRepeated(true);
    button->SetRepeatInterval(100);
    MouseMove(button, Point(10, 10));
    MouseDown(button, mbLeft, Point(10, 10));
    ASSERT_NE(button->RepeatTimer(), nullptr);
    EXPECT_EQ(button->RepeatTimer()->Interval(), 400u);
    EXPECT_TRUE(button->RepeatTimer()->Enabled());
    button->OnTimer(button->RepeatTimer());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->RepeatTimer()->Interval(), 100u);
    button->OnTimer(button->RepeatTimer());
    EXPECT_EQ(clicks, 2);
    // Outside the repeat clock stops; back inside it runs again.
    MouseMove(button, Point(60, 10), TShiftState{ssLeft});
    EXPECT_FALSE(button->RepeatTimer()->Enabled());
    MouseMove(button, Point(10, 10), TShiftState{ssLeft});
    EXPECT_TRUE(button->RepeatTimer()->Enabled());
    MouseUp(button, mbLeft, Point(10, 10));
    EXPECT_EQ(clicks, 3); // and one at the release
    EXPECT_EQ(button->RepeatTimer(), nullptr);
}

TEST_F(BmButtonTest, AutoRepeatOnTheMessageLoop) {
    Make(4);
    button->SetRepeated(true);
    button->SetRepeatInterval(20);
    MouseMove(button, Point(10, 10));
    MouseDown(button, mbLeft, Point(10, 10));
    const DWORD start = GetTickCount();
    ASSERT_TRUE(form_testing::WaitUntil([&] { return clicks >= 1; }, 5000));
    EXPECT_GE(GetTickCount() - start, 350u); // not before the first-repeat delay
    EXPECT_TRUE(form_testing::WaitUntil([&] { return clicks >= 4; }, 5000));
    MouseUp(button, mbLeft, Point(10, 10));
    const int held = clicks;
    form_testing::WaitUntil([] { return false; }, 100);
    EXPECT_EQ(clicks, held);
}

TEST_F(BmButtonTest, EmptyButtonIsYellow) {
    auto* empty = Place<TBmButton>(300, 100);
    (void)empty;
    EXPECT_EQ(At(320, 120), clYellow);
    EXPECT_EQ(empty->Cursor(), crHandPoint);
}

TEST_F(BmButtonTest, EraseIsAnsweredAndNothingErased) {
    // A button wider than its strip: its picture covers only the left part, so what the paint cycle
    // leaves on the right shows whether the background was filled first.
    Make(4, 0, false);
    button->SetColor(clNavy);
    button->SetWidth(60);
    form_testing::ProcessEvents();
    EXPECT_EQ(button->Perform(WM_ERASEBKGND, 0, 0), 1);
    EXPECT_EQ(At(120, 60), FrameColour(0));
    EXPECT_NE(At(150, 60), clNavy);
    EXPECT_EQ(At(150, 60), At(95, 45)) << "the form shows through";
}

} // namespace
