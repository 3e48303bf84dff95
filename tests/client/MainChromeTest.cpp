// The main window's chrome: message boxes, placement on small screens, dragging, the dialog placement
// timer and activation.
#include "tests/client/ClientWindowsSupport.h"

#include "platform/vcl/WinUser.h"

namespace client_tests {
namespace {

class MainChrome : public ClientWindows {
protected:
    void SetUp() override {
        ClientWindows::SetUp();
        CreateClientWindows();
        StartMain();
    }
};

TEST_F(MainChrome, MessageBoxTypesGiveTheirButtonsAndResults) {
    struct Case {
        int type;
        TMsgDlgButtons buttons;
        int answer;
    };
    const Case cases[] = {
        {0, TMsgDlgButtons{mbOK}, mrOk},
        {1, TMsgDlgButtons{mbOK, mbCancel}, mrOk},
        {1, TMsgDlgButtons{mbOK, mbCancel}, mrCancel},
        {4, TMsgDlgButtons{mbYes, mbNo}, mrYes},
        {4, TMsgDlgButtons{mbYes, mbNo}, mrNo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        form_testing::ScopedMessageAnswer answer(c.answer);
        const int beeps = BeepCount();
        EXPECT_EQ(FrmMain->ShowMessageBox("text", "caption", c.type), c.answer);
        ASSERT_EQ(answer.Asked().size(), 1u);
        EXPECT_EQ(answer.Asked()[0].Caption, "caption");
        EXPECT_EQ(answer.Asked()[0].Text, "text");
        EXPECT_EQ(answer.Asked()[0].Type, mtCustom);
        EXPECT_EQ(answer.Asked()[0].Buttons, c.buttons);
        EXPECT_EQ(BeepCount(), beeps + 1);
    }
}

TEST_F(MainChrome, AnInvalidTypeShowsNothing) {
    for (int type : {2, 3, 5, -1, 16}) {
        SCOPED_TRACE(type);
        form_testing::ScopedMessageAnswer answer(mrOk);
        const int beeps = BeepCount();
        EXPECT_EQ(FrmMain->ShowMessageBox("text", "caption", type), -1);
        EXPECT_EQ(FrmMain->ShowMessageBoxEx("text", "caption", type, 300, 200, 10, 10), -1);
        EXPECT_TRUE(answer.Asked().empty());
        EXPECT_EQ(BeepCount(), beeps);
    }
}

TEST_F(MainChrome, BoxesStayInsideTheWorkAreaOfASmallScreen) {
    Screen->SetTestGeometry(Rect(0, 0, 800, 600), Rect(0, 0, 800, 560));
    FrmMain->SetBounds(500, 400, FrmMain->Width(), FrmMain->Height());
    FrmMain->FormActivate(FrmMain);
    form_testing::ScopedMessageAnswer answer(mrOk);
    FrmMain->ShowMessageBox("A message near the corner of a small screen", "Corner", 0);
    // A window left of the screen: the box starts at 0.
    FrmMain->ShowMessageBoxEx("left", "Left", 0, 100, 80, -600, 100);
    Screen->SetTestGeometry(Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1040));
    ASSERT_EQ(answer.Asked().size(), 2u);
    const TRect corner = answer.Asked()[0].Bounds;
    EXPECT_EQ(corner.Right, 800);
    EXPECT_EQ(corner.Bottom, 560);
    EXPECT_EQ(answer.Asked()[1].Bounds.Left, 0);
    EXPECT_TRUE(corner.Width() > 0 && corner.Height() > 0);
}

TEST_F(MainChrome, BoxesAreCentredOnTheMainWindow) {
    FrmMain->SetBounds(100, 60, FrmMain->Width(), FrmMain->Height());
    FrmMain->FormActivate(FrmMain);
    TRect main{};
    FrmMain->GetWorkArea(main);
    EXPECT_EQ(main, FrmMain->BoundsRect());
    form_testing::ScopedMessageAnswer answer(mrOk);
    FrmMain->ShowMessageBox("centred", "Centre", 0);
    ASSERT_EQ(answer.Asked().size(), 1u);
    const TRect box = answer.Asked()[0].Bounds;
    EXPECT_EQ(box.Left, 100 + (FrmMain->ClientWidth() - box.Width()) / 2);
    EXPECT_EQ(box.Top, 60 + (FrmMain->ClientHeight() - box.Height()) / 2);
}

TEST_F(MainChrome, DraggingTheSkinMovesTheWindowWithTheLeftButtonOnly) {
    FrmMain->SetBounds(100, 100, FrmMain->Width(), FrmMain->Height());
    form_testing::ProcessEvents();
    form_testing::Drag(FrmMain->ImgFrame1, Point(300, 10), Point(340, 40));
    form_testing::ProcessEvents();
    EXPECT_EQ(FrmMain->Left(), 140);
    EXPECT_EQ(FrmMain->Top(), 130);
    EXPECT_EQ(FrmMain->MainWindowRect.Left, 140);
    EXPECT_EQ(FrmMain->MainWindowRect.Top, 130);

    form_testing::MouseDown(FrmMain->ImgFrame1, mbRight, Point(300, 10));
    form_testing::MouseMove(FrmMain->ImgFrame1, Point(360, 60), TShiftState{ssRight});
    form_testing::MouseUp(FrmMain->ImgFrame1, mbRight, Point(360, 60));
    form_testing::ProcessEvents();
    EXPECT_EQ(FrmMain->Left(), 140);
    EXPECT_EQ(FrmMain->Top(), 130);
}

TEST_F(MainChrome, TheDialogTimerPlacesOurDialogAndStops) {
    FrmMain->SetBounds(200, 100, FrmMain->Width(), FrmMain->Height());
    FrmMain->FormActivate(FrmMain);
    FrmLog->SetBounds(0, 0, FrmLog->Width(), FrmLog->Height());
    FrmLog->Show();
    form_testing::ProcessEvents();
    ASSERT_EQ(GetForegroundWindow(), FrmLog->Handle());
    FrmMain->TimerDialogPosition->SetEnabled(true);
    FrmMain->TimerDialogPositionTimer(FrmMain->TimerDialogPosition);
    EXPECT_FALSE(FrmMain->TimerDialogPosition->Enabled());
    EXPECT_EQ(FrmLog->Left(), 200 + (FrmMain->ClientWidth() - FrmLog->Width()) / 2);
    EXPECT_EQ(FrmLog->Top(), 100 + (FrmMain->ClientHeight() - FrmLog->Height()) / 2);
    EXPECT_TRUE(FrmLog->Topmost());
}

TEST_F(MainChrome, TheDialogTimerNeverMovesTheMainWindowItself) {
    FrmMain->BringToFront();
    form_testing::ProcessEvents();
    ASSERT_EQ(GetForegroundWindow(), FrmMain->Handle());
    const TRect before = FrmMain->BoundsRect();
    FrmMain->TimerDialogPosition->SetEnabled(true);
    FrmMain->TimerDialogPositionTimer(FrmMain->TimerDialogPosition);
    // Still waiting for a dialog to come up.
    EXPECT_TRUE(FrmMain->TimerDialogPosition->Enabled());
    EXPECT_EQ(FrmMain->BoundsRect(), before);
    // It gives up after a while instead of running for ever.
    for (int i = 0; i < 500 && FrmMain->TimerDialogPosition->Enabled(); ++i)
        FrmMain->TimerDialogPositionTimer(FrmMain->TimerDialogPosition);
    EXPECT_FALSE(FrmMain->TimerDialogPosition->Enabled());
    EXPECT_EQ(FrmMain->BoundsRect(), before);
}

TEST_F(MainChrome, ActivationBringsTheVisibleDialogsForwardAndKeepsTheRectangle) {
    FrmWait->Show();
    FrmMain->SetBounds(50, 40, FrmMain->Width(), FrmMain->Height());
    FrmMain->BringToFront();
    FrmMain->FormActivate(FrmMain);
    form_testing::ProcessEvents();
    EXPECT_EQ(GetForegroundWindow(), FrmWait->Handle());
    EXPECT_EQ(FrmMain->MainWindowRect, FrmMain->BoundsRect());
}

} // namespace
} // namespace client_tests
