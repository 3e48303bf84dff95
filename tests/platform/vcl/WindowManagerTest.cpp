// Window frames, the window-manager calls on handles and the item lists of list controls.
#include "tests/platform/vcl/VclTestSupport.h"

#include <fstream>

namespace {

using namespace vcl_test;

class WindowManagerTest : public VclTest {};

TEST_F(WindowManagerTest, FramesSurroundTheClientAreaByBorderStyle) {
    const struct {
        TFormBorderStyle style;
        int extraWidth;
        int extraHeight;
    } cases[] = {
        {bsNone, 0, 0},      {bsSingle, 6, 25},     {bsDialog, 6, 25},
        {bsSizeable, 8, 27}, {bsToolWindow, 6, 21}, {bsSizeToolWin, 8, 23},
    };
    for (const auto& c : cases) {
        auto* form = new TForm(Application);
        form->SetBorderStyle(c.style);
        form->SetClientWidth(401);
        form->SetClientHeight(254);
        EXPECT_EQ(form->Width(), 401 + c.extraWidth) << c.style;
        EXPECT_EQ(form->Height(), 254 + c.extraHeight) << c.style;
        // Another style keeps the client area as it is.
        form->SetBorderStyle(c.style == bsNone ? bsSingle : bsNone);
        EXPECT_EQ(form->ClientWidth(), 401);
        EXPECT_EQ(form->ClientHeight(), 254);
        delete form;
    }
}

TEST_F(WindowManagerTest, HandlesOfFormsAndControlsAnswerTheWindowCalls) {
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsSingle);
    form->SetBounds(50, 40, 306, 225);
    auto* panel = new TPanel(form);
    panel->SetBounds(10, 20, 30, 40);
    panel->SetParent(form);
    TRect r;
    ASSERT_TRUE(GetWindowRect(form->Handle(), &r));
    EXPECT_EQ(r, Rect(50, 40, 356, 265));
    ASSERT_TRUE(GetClientRect(form->Handle(), &r));
    EXPECT_EQ(r, Rect(0, 0, 300, 200));
    ASSERT_TRUE(GetWindowRect(panel->Handle(), &r));
    EXPECT_EQ(r, Rect(50 + 3 + 10, 40 + 22 + 20, 50 + 3 + 40, 40 + 22 + 60));
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    ShowWindow(form->Handle(), SW_SHOW);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(IsWindowVisible(panel->Handle()));
    EXPECT_TRUE(EnableWindow(form->Handle(), FALSE) == FALSE); // it was enabled
    EXPECT_FALSE(form->Enabled());
    EXPECT_FALSE(IsWindowEnabled(form->Handle()));
    EnableWindow(form->Handle(), TRUE);
    ASSERT_TRUE(MoveWindow(form->Handle(), 0, 0, 200, 100, TRUE));
    EXPECT_EQ(form->BoundsRect(), Rect(0, 0, 200, 100));
    ShowWindow(form->Handle(), SW_HIDE);
    EXPECT_FALSE(form->Visible());

    // Handles that are not windows fail without harm.
    const HWND stale = panel->Handle();
    delete panel;
    EXPECT_FALSE(GetWindowRect(stale, &r));
    EXPECT_FALSE(SetWindowPos(stale, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE));
    EXPECT_FALSE(GetWindowRect(nullptr, &r));
    EXPECT_FALSE(GetWindowRect(form->Handle(), nullptr));
}

TEST_F(WindowManagerTest, CaptureByHandleAndCursorPosition) {
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 100, 100);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    form->Show();
    EXPECT_EQ(SetCapture(panel->Handle()), nullptr);
    EXPECT_EQ(GetCapture(), panel->Handle());
    EXPECT_TRUE(panel->MouseCapture());
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    form_testing::MouseMove(panel, Point(7, 9));
    TPoint at;
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ(at, panel->ClientToScreen(Point(7, 9)));
    EXPECT_FALSE(GetCursorPos(nullptr));
    EXPECT_EQ(GetAsyncKeyState(VK_F5), 0);
    const int beeps = BeepCount();
    MessageBeep(MB_OK);
    EXPECT_EQ(BeepCount(), beeps + 1);
}

TEST_F(WindowManagerTest, AnOpenDialogIsTheForegroundWindowAndClosesByMessage) {
    auto* form = new TForm(Application);
    form->Show();
    EXPECT_EQ(GetForegroundWindow(), form->Handle());
    // The file dialog's handle exists only while it is open; a WM_CLOSE posted to it cancels it.
    auto* dialog = new TOpenDialog(form);
    HWND seen = nullptr;
    const TFileDialogHook previous = SetFileDialogHook([&](const TFileDialogRequest&, std::string& name) {
        seen = dialog->Handle();
        name = "/tmp/x";
        return true;
    });
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(seen, nullptr); // answered by the hook: no window was opened
    SetFileDialogHook(previous);
    dialog->CloseDialog(); // nothing open: nothing happens
}

TEST_F(WindowManagerTest, ListItemsLoadAndSaveLikeStringLists) {
    testing_support::TempDir dir;
    auto* form = new TForm(Application);
    auto* list = new TListBox(form);
    list->SetParent(form);
    testing_support::WriteFileBytes(dir.File("ipaddress.lst"),
                                    "10.1.2.3:5000\r\nrecorder.local:5010\n\nlast:1");
    list->Items()->LoadFromFile(dir.File("ipaddress.lst"));
    ASSERT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Items()->Get(1), "recorder.local:5010");
    EXPECT_EQ(list->Items()->Get(2), "");
    EXPECT_EQ(list->Items()->IndexOf("RECORDER.LOCAL:5010"), 1);
    list->Items()->Insert(0, "192.168.0.9:5000");
    list->SetItemIndex(1);
    list->Items()->Insert(0, "top:1");
    EXPECT_EQ(list->ItemIndex(), 2); // the selection stays on its line
    EXPECT_EQ(list->Items()->Get(list->ItemIndex()), "10.1.2.3:5000");
    list->Items()->Delete(list->ItemIndex());
    EXPECT_EQ(list->ItemIndex(), -1);
    list->Items()->SaveToFile(dir.File("saved.lst"));
    EXPECT_EQ(testing_support::ReadFileBytes(dir.File("saved.lst")),
              "top:1\r\n192.168.0.9:5000\r\nrecorder.local:5010\r\n\r\nlast:1\r\n");
    EXPECT_THROW(list->Items()->LoadFromFile(dir.File("missing.lst")), EFOpenError);
    EXPECT_EQ(list->Count(), 5);

    // A sorted list puts a changed line where it belongs.
    list->SetSorted(true);
    EXPECT_EQ(list->Items()->Get(0), "");
    list->Items()->Put(0, "zzz");
    EXPECT_EQ(list->Items()->Get(4), "zzz");
}

TEST_F(WindowManagerTest, MemoLinesAndTextFollowEachOther) {
    auto* form = new TForm(Application);
    auto* memo = new TMemo(form);
    memo->SetParent(form);
    int changes = 0;
    memo->OnChange = [&changes](TObject*) { ++changes; };
    memo->Lines()->Add("one");
    memo->Lines()->Add("two");
    EXPECT_EQ(memo->Text(), "one\r\ntwo\r\n");
    memo->SetText("a\r\nb\nc");
    ASSERT_EQ(memo->Lines()->Count(), 3);
    EXPECT_EQ(memo->Lines()->Get(2), "c");
    form->Show();
    memo->SetFocus();
    form_testing::PressKey(memo, VK_END, TShiftState(ssCtrl));
    form_testing::TypeText(memo, "\rd");
    ASSERT_EQ(memo->Lines()->Count(), 4);
    EXPECT_EQ(memo->Lines()->Get(3), "d");
    EXPECT_EQ(changes, 2);
    memo->Clear();
    EXPECT_EQ(memo->Lines()->Count(), 0);
}

TEST_F(WindowManagerTest, HintsShowByTheNearestParentThatDecides) {
    auto* form = new TForm(Application);
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    auto* button = new TButton(form);
    button->SetParent(panel);
    button->SetHint("Connect|Connects to the recorder");
    EXPECT_EQ(button->ShortHint(), "Connect");
    EXPECT_FALSE(button->ShowsHint());
    form->SetShowHint(true);
    EXPECT_TRUE(button->ShowsHint()); // through the panel, which follows the form too
    panel->SetShowHint(false);
    EXPECT_FALSE(button->ShowsHint());
    button->SetShowHint(true);
    EXPECT_TRUE(button->ShowsHint());
    EXPECT_FALSE(button->ParentShowHint());
}

TEST_F(WindowManagerTest, TimersOfADefinitionStartOnceItIsRead) {
    ExampleResources resources;
    const std::string text =
        testing_support::ReadFileBytes(testing_support::FixturePath("forms/Example.dfm"));
    std::string enabled = text;
    const std::string from = "    Enabled = False\n    Interval = 1\n";
    enabled.replace(enabled.find(from), from.size(), "    Interval = 1\n");
    const std::string file = resources.Dir().File("Timer.dfm");
    testing_support::WriteFileBytes(file, enabled);
    auto* form = new TExampleForm(Application, file);
    EXPECT_TRUE(form->TimerDialogPosition->Enabled());
    ASSERT_TRUE(form_testing::WaitUntil([&] { return form->timerTicks == 1; }, 2000));
    EXPECT_FALSE(form->TimerDialogPosition->Enabled());
}

} // namespace
