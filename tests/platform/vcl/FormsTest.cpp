#include "tests/platform/vcl/VclTestSupport.h"

namespace {

using namespace vcl_test;

class FormsTest : public VclTest {
protected:
    ExampleResources resources;
};

// A small borderless window with a background picture that drags it, and a button.
class TSkinForm : public TForm {
public:
    explicit TSkinForm(TComponent* owner) : TForm(owner) {
        SetBorderStyle(bsNone);
        SetBounds(100, 100, 200, 120);
        Background = new TPanel(this);
        Background->SetName("Background");
        Background->SetAlign(alClient);
        Background->SetParent(this);
        Background->OnMouseDown = TMouseEvent(this, &TSkinForm::BackgroundMouseDown);
        Ok = new TButton(this);
        Ok->SetName("Ok");
        Ok->SetBounds(60, 80, 75, 25);
        Ok->SetParent(Background);
        Ok->SetCaption("OK");
        Ok->SetModalResult(mrOk);
        Ok->OnClick = [this](TObject*) { ++clicks; };
    }
    void BackgroundMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
        if (button != mbLeft) return;
        ReleaseCapture();
        SendMessage(Handle(), WM_SYSCOMMAND, SC_DRAGMOVE, 0);
        ++dragsEnded;
    }
    TPanel* Background;
    TButton* Ok;
    int clicks = 0;
    int dragsEnded = 0;
};

TEST_F(FormsTest, ABorderlessFormDragsByItsBackground) {
    auto* form = new TSkinForm(Application);
    form->Show();
    form_testing::Drag(form->Background, Point(20, 20), Point(70, 55));
    EXPECT_EQ(form->Left(), 150);
    EXPECT_EQ(form->Top(), 135);
    EXPECT_EQ(form->dragsEnded, 1); // the drag ran to its end inside the handler
    EXPECT_FALSE(form->Moving());
    // The right button moves nothing.
    form_testing::MouseDown(form->Background, mbRight, Point(20, 20));
    form_testing::MouseMove(form->Background, Point(90, 90), TShiftState(ssRight));
    form_testing::MouseUp(form->Background, mbRight, Point(90, 90));
    EXPECT_EQ(form->Left(), 150);
    // Clicks work again after the drag.
    form_testing::Click(form->Ok);
    EXPECT_EQ(form->clicks, 1);
}

TEST_F(FormsTest, APressOnTheCornerSizesTheFormWithTheMouse) {
    auto* form = new TSkinForm(Application);
    // What a size grip does: the form's bottom-right corner follows the mouse from the press.
    form->Background->OnMouseDown = [form](TObject*, TMouseButton, TShiftState, int x, int y) {
        const TPoint at = form->Background->ClientToScreen(Point(x, y));
        ReleaseCapture();
        form->Perform(WM_NCLBUTTONDOWN, HTBOTTOMRIGHT,
                      static_cast<LPARAM>(MAKELONG(static_cast<WORD>(at.X), static_cast<WORD>(at.Y))));
        ++form->dragsEnded;
    };
    form->Show();
    form_testing::Drag(form->Background, Point(190, 110), Point(250, 100));
    EXPECT_EQ(form->BoundsRect(), Rect(100, 100, 360, 210));
    EXPECT_EQ(form->Background->BoundsRect(), Rect(0, 0, 260, 110)); // aligned to the new client area
    EXPECT_EQ(form->dragsEnded, 1);
    EXPECT_FALSE(form->Sizing());
    // Other hit-test codes size nothing.
    form->Perform(WM_NCLBUTTONDOWN, HTCAPTION, 0);
    EXPECT_EQ(form->BoundsRect(), Rect(100, 100, 360, 210));
    form_testing::Click(form->Ok);
    EXPECT_EQ(form->clicks, 1);
}

TEST_F(FormsTest, ADisabledFormIgnoresClicksAndKeys) {
    auto* form = new TSkinForm(Application);
    form->Show();
    form->SetEnabled(false);
    form_testing::Click(form->Ok);
    form_testing::Drag(form->Background, Point(20, 20), Point(70, 55));
    form_testing::PressKey(form->Ok, VK_SPACE, TShiftState(), " ");
    EXPECT_EQ(form->clicks, 0);
    EXPECT_EQ(form->Left(), 100);
    // Its controls keep their own Enabled, and the form takes input again once enabled.
    EXPECT_TRUE(form->Ok->Enabled());
    form->SetEnabled(true);
    form_testing::Click(form->Ok);
    EXPECT_EQ(form->clicks, 1);
    // A control kept live takes the mouse while its form is disabled, but not behind a modal form.
    form->KeepInputWhileDisabled(form->Ok);
    form->SetEnabled(false);
    form_testing::Click(form->Ok);
    form_testing::Drag(form->Background, Point(20, 20), Point(70, 55));
    EXPECT_EQ(form->clicks, 2);
    EXPECT_EQ(form->Left(), 100);
    form->BlockInput(true);
    form_testing::Click(form->Ok);
    form->BlockInput(false);
    EXPECT_EQ(form->clicks, 2);
}

TEST_F(FormsTest, ModalResultThroughTheTestHook) {
    auto* form = new TSkinForm(Application);
    {
        form_testing::ScopedModalAnswer answer([](TForm& f) {
            static_cast<TSkinForm&>(f).Ok->Click(); // the button's ModalResult ends the form
            return mrNone;
        });
        EXPECT_EQ(form->ShowModal(), mrOk);
        EXPECT_EQ(form->clicks, 1);
        EXPECT_FALSE(form->Visible());
        EXPECT_FALSE(form->Modal());
    }
    {
        form_testing::ScopedModalAnswer answer([](TForm&) { return mrNo; });
        EXPECT_EQ(form->ShowModal(), mrNo);
    }
    form->Show();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

TEST_F(FormsTest, AModalLoopEndsWhenModalResultIsSetAndBlocksOtherForms) {
    auto* owner = new TSkinForm(Application);
    owner->Show();
    auto* dialog = new TSkinForm(Application);
    bool ownerBlocked = false;
    // While the loop runs: the other form takes no input; then a click on OK ends the loop.
    form_testing::RunLater([&] {
        form_testing::Click(owner->Ok);
        ownerBlocked = owner->clicks == 0;
        form_testing::Click(dialog->Ok);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(ownerBlocked);
    EXPECT_FALSE(dialog->Visible());
    form_testing::Click(owner->Ok);
    EXPECT_EQ(owner->clicks, 1);
}

TEST_F(FormsTest, CloseHidesByDefaultAndAsksFirst) {
    auto* form = new TExampleForm(Application);
    auto* main = new TSkinForm(Application);
    Application->FormCreated(main);
    EXPECT_EQ(Application->MainForm(), main);
    form->Show();
    const struct {
        bool allow;
        TCloseAction action;
        bool visibleAfter;
        bool deleted;
    } cases[] = {
        {false, caHide, true, false},
        {true, caNone, true, false},
        {true, caMinimize, true, false},
        {true, caHide, false, false},
    };
    for (const auto& c : cases) {
        form->Show();
        form->SetWindowState(wsNormal);
        form->calls.clear();
        form->allowClose = c.allow;
        form->closeAction = c.action;
        form->Close();
        EXPECT_EQ(form->Visible(), c.visibleAfter);
        EXPECT_EQ(form->calls.front(), "FormCloseQuery");
        EXPECT_EQ(Count(form->calls, "FormClose"), c.allow ? 1 : 0);
    }
    EXPECT_EQ(form->WindowState(), wsNormal);
    EXPECT_FALSE(Application->Terminated());

    // caFree deletes the form once the current messages are done.
    form->Show();
    form->closeAction = caFree;
    form->Close();
    EXPECT_NE(Application->FindComponent("ExampleForm"), nullptr);
    form_testing::ProcessEvents();
    EXPECT_EQ(Application->FindComponent("ExampleForm"), nullptr);
}

TEST_F(FormsTest, RunShowsTheFirstFormAndEndsWhenItCloses) {
    TSkinForm* first = nullptr;
    TSkinForm* second = nullptr;
    Application->CreateForm(first);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), first);
    EXPECT_FALSE(first->Visible());
    EXPECT_FALSE(second->Visible());
    bool shownDuringRun = false;
    form_testing::RunLater([&] {
        shownDuringRun = first->Visible() && !second->Visible();
        second->Close(); // a secondary form only hides
        first->Close();
    });
    Application->Run();
    EXPECT_TRUE(shownDuringRun);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(Application->ComponentCount(), 2);
}

TEST_F(FormsTest, ADestroyedFormClearsTheVariableCreateFormFilled) {
    static TSkinForm* global = nullptr;
    TSkinForm* other = nullptr;
    Application->CreateForm(global);
    Application->CreateForm(other);
    ASSERT_NE(global, nullptr);
    TSkinForm* created = global;
    global = other; // the variable was given another form meanwhile: leave it alone
    delete created;
    EXPECT_EQ(global, other);
    global = nullptr;
    Application->CreateForm(global);
    delete global;
    EXPECT_EQ(global, nullptr);
    delete other;
    EXPECT_EQ(other, nullptr);
}

// Deferred forms: built at the first use of their variable, the others by Run once the main form is
// shown, in the order deferred; settings given before they exist arrive at creation.
TEST_F(FormsTest, DeferredFormsAreBuiltAtFirstUseOrWhenRunHasShownTheMainForm) {
    static TFormVar<TSkinForm> early, late, unused;
    TSkinForm* main = nullptr;
    Application->CreateForm(main);
    Application->DeferForm(early);
    Application->DeferForm(late);
    Application->DeferForm(unused);
    unused = nullptr; // given up before it was built
    std::vector<std::string> seen;
    late.WhenCreated([&](TSkinForm* f) { seen.push_back("late " + std::to_string(f->Ok->Left())); });
    EXPECT_EQ(Application->ComponentCount(), 1);
    EXPECT_EQ(early->Ok->Caption(), "OK"); // the use builds it
    EXPECT_EQ(Application->ComponentCount(), 2);
    EXPECT_EQ(Application->MainForm(), main);
    bool mainShownFirst = false;
    form_testing::RunLater([&] {
        mainShownFirst = main->Visible();
        main->Close();
    });
    Application->Run();
    EXPECT_TRUE(mainShownFirst);
    EXPECT_EQ(seen, std::vector<std::string>{"late 60"});
    ASSERT_EQ(Application->ComponentCount(), 3);
    EXPECT_EQ(Application->Components(1), early.Get());
    EXPECT_EQ(Application->Components(2), late.Get());
    EXPECT_EQ(unused, nullptr);
    late.WhenCreated([&](TSkinForm*) { seen.push_back("now"); });
    EXPECT_EQ(seen.back(), "now");
    delete late;
    EXPECT_EQ(late, nullptr); // not built again
    delete early;
    delete main;
}

TEST_F(FormsTest, AOneMillisecondOneShotTimerFiresOnce) {
    auto* form = new TExampleForm(Application);
    TTimer* timer = form->TimerDialogPosition;
    EXPECT_TRUE(form_testing::WaitUntil([] { return false; }, 20) == false);
    EXPECT_EQ(form->timerTicks, 0); // off in the definition
    timer->SetEnabled(true);
    ASSERT_TRUE(form_testing::WaitUntil([&] { return form->timerTicks > 0; }, 2000));
    EXPECT_FALSE(timer->Enabled());
    form_testing::WaitUntil([] { return false; }, 30);
    EXPECT_EQ(form->timerTicks, 1);
}

TEST_F(FormsTest, TimerStopsWithItsOwnerAndIntervalZeroNeverFires) {
    int ticks = 0;
    auto* timer = new TTimer(nullptr);
    timer->OnTimer = [&ticks](TObject*) { ++ticks; };
    timer->SetInterval(0);
    form_testing::WaitUntil([] { return false; }, 20);
    EXPECT_EQ(ticks, 0);
    timer->SetInterval(1);
    ASSERT_TRUE(form_testing::WaitUntil([&] { return ticks >= 3; }, 2000));
    delete timer;
    const int seen = ticks;
    form_testing::WaitUntil([] { return false; }, 20);
    EXPECT_EQ(ticks, seen);
}

TEST_F(FormsTest, ExceptionsInHandlersReachTheErrorBoxWithAFullStop) {
    form_testing::ScopedMessageAnswer boxes(mrOk);
    auto* form = new TSkinForm(Application);
    form->Show();
    form->Ok->OnClick = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
    form_testing::Click(form->Ok);
    form->Ok->OnClick = [](TObject*) { throw EAbort("silent"); };
    form_testing::Click(form->Ok);
    form->Ok->OnClick = [](TObject*) { throw Exception("Ends with a full stop."); };
    form_testing::Click(form->Ok);
    ASSERT_EQ(boxes.Asked().size(), 2u);
    EXPECT_EQ(boxes.Asked()[0].Text, "'x' is not a valid integer value.");
    EXPECT_EQ(boxes.Asked()[0].Type, mtError);
    EXPECT_EQ(boxes.Asked()[0].Caption, Application->Title());
    EXPECT_EQ(boxes.Asked()[1].Text, "Ends with a full stop.");
}

TEST_F(FormsTest, MessageBoxesAnswerThroughTheHook) {
    const struct {
        TMsgDlgButtons buttons;
        int answer;
        std::vector<std::string> names;
    } cases[] = {
        {TMsgDlgButtons{mbOK}, mrOk, {"OK"}},
        {mbOKCancel, mrCancel, {"OK", "Cancel"}},
        {TMsgDlgButtons{mbYes, mbNo}, mrYes, {"Yes", "No"}},
        {TMsgDlgButtons{mbYes, mbNo}, mrNo, {"Yes", "No"}},
    };
    for (const auto& c : cases) {
        std::unique_ptr<TForm> box(CreateMessageDialog("Delete the file?", mtCustom, c.buttons));
        box->SetCaption("Confirm");
        for (const std::string& name : c.names)
            EXPECT_NE(dynamic_cast<TButton*>(box->FindComponent(name)), nullptr) << name;
        EXPECT_EQ(box->ComponentCount(), static_cast<int>(c.names.size()) + 1); // + the text
        form_testing::ScopedModalAnswer answer([&](TForm& f) {
            // The buttons carry the results the system expects: OK 1, Cancel 2, Yes 6, No 7.
            for (int i = 0; i < f.ComponentCount(); ++i)
                if (auto* b = dynamic_cast<TButton*>(f.Components(i)); b && b->ModalResult() == c.answer)
                    b->Click();
            return mrNone;
        });
        EXPECT_EQ(box->ShowModal(), c.answer);
    }
    form_testing::ScopedMessageAnswer boxes(mrYes);
    EXPECT_EQ(Application->MessageBox("Go on?", "Question", MB_YESNO | MB_ICONQUESTION), IDYES);
    ASSERT_EQ(boxes.Asked().size(), 1u);
    EXPECT_EQ(boxes.Asked()[0].Caption, "Question");
    EXPECT_EQ(boxes.Asked()[0].Buttons, (TMsgDlgButtons{mbYes, mbNo}));
    EXPECT_EQ(boxes.Asked()[0].Type, mtConfirmation);
}

TEST_F(FormsTest, WithoutAnAnswerABoxTakesItsCancellingButtonAndNeverWaits) {
    const struct {
        TMsgDlgButtons buttons;
        int result;
    } cases[] = {
        {TMsgDlgButtons{mbOK}, mrOk},
        {mbOKCancel, mrCancel},
        {TMsgDlgButtons{mbYes, mbNo}, mrNo},
        {mbAbortRetryIgnore, mrAbort},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MessageDlg("Nobody answers", mtWarning, c.buttons, 0), c.result);
}

TEST_F(FormsTest, ShortCutsAndKeyPreviewComeBeforeTheControl) {
    auto* form = new TExampleForm(Application);
    form->Show();
    form->Edit1->SetFocus();
    form->Edit1->SetText("");
    form_testing::PressKey(form->Edit1, '7', TShiftState(), "7");
    EXPECT_EQ(form->shortCuts, std::vector<WORD>{'7'});
    EXPECT_EQ(form->previewKeys, std::vector<WORD>{'7'});
    EXPECT_EQ(form->Edit1->Text(), "7");
    // The handler may ask for the modifiers as the system's short-cut handler does.
    form_testing::PressKey(form->Edit1, VK_RIGHT, TShiftState{ssCtrl, ssShift});
    EXPECT_NE(GetAsyncKeyState(VK_CONTROL) & 0x8000, 0);
    EXPECT_NE(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);
    EXPECT_EQ(GetAsyncKeyState(VK_MENU) & 0x8000, 0);
    form_testing::PressKey(form->Edit1, VK_RIGHT);
    EXPECT_EQ(GetAsyncKeyState(VK_CONTROL) & 0x8000, 0);
    form->shortCuts.clear();
    form->previewKeys.clear();
    form->swallowShortCuts = true;
    form_testing::PressKey(form->Edit1, '8', TShiftState(), "8");
    EXPECT_EQ(form->Edit1->Text(), "7"); // handled as a short cut: the edit never sees it
    EXPECT_EQ(form->shortCuts, std::vector<WORD>{'8'});
    EXPECT_TRUE(form->previewKeys.empty());
    form->swallowShortCuts = false;
    // Enter clicks the default button, which closes nothing on a form that is not modal.
    form->calls.clear();
    form_testing::PressKey(form->Edit1, VK_RETURN, TShiftState(), "\r");
    EXPECT_EQ(form->calls, std::vector<std::string>{"Button1Click"});
    EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(FormsTest, AKeyInAnyFormIsTheMainFormsShortCutFirst) {
    auto* main = new TExampleForm(Application);
    Application->FormCreated(main);
    main->Show();
    auto* other = new TForm(Application);
    other->SetBounds(400, 100, 200, 200);
    auto* list = new TListBox(other);
    list->SetBounds(10, 10, 150, 150);
    list->SetParent(other);
    for (const char* item : {"first", "middle", "last"})
        list->Items()->Add(item);
    other->Show();
    // A key the main form handles never reaches the list; one it leaves, or any key while the main form
    // takes no input, moves the list's selection as usual.
    const struct {
        bool mainEnabled;
        bool handled;
        std::vector<WORD> shortCuts;
        int selectedAfter;
    } cases[] = {
        {true, true, {VK_END}, 1},
        {true, false, {VK_END}, 2},
        {false, true, {}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mainEnabled << c.handled);
        main->SetEnabled(c.mainEnabled);
        main->swallowShortCuts = c.handled;
        main->shortCuts.clear();
        list->SetItemIndex(1);
        list->SetFocus();
        form_testing::PressKey(list, VK_END);
        EXPECT_EQ(main->shortCuts, c.shortCuts);
        EXPECT_EQ(list->ItemIndex(), c.selectedAfter);
    }
}

TEST_F(FormsTest, ShownFormIsActiveAndPlacesItself) {
    Screen->SetTestGeometry(Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 740));
    auto* first = new TSkinForm(Application);
    auto* second = new TSkinForm(Application);
    int activations = 0;
    first->OnActivate = [&activations](TObject*) { ++activations; };
    second->SetPosition(poScreenCenter);
    first->Show();
    EXPECT_TRUE(first->Active());
    second->Show();
    EXPECT_EQ(Screen->ActiveForm(), second);
    EXPECT_EQ(second->Left(), (1024 - 200) / 2);
    EXPECT_EQ(second->Top(), (740 - 120) / 2);
    second->Hide();
    EXPECT_EQ(Screen->ActiveForm(), first);
    EXPECT_EQ(activations, 2);
    TRect area;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area, Rect(0, 0, 1024, 740));
    EXPECT_EQ(GetForegroundWindow(), first->Handle());
    ASSERT_TRUE(SetWindowPos(first->Handle(), HWND_TOPMOST, 10, 20, 0, 0, SWP_NOSIZE));
    EXPECT_TRUE(first->Topmost());
    TRect r;
    ASSERT_TRUE(GetWindowRect(first->Handle(), &r));
    EXPECT_EQ(r, Rect(10, 20, 210, 140));
}

TEST_F(FormsTest, PostedMessagesReachTheFormsDispatch) {
    class TListening : public TSkinForm {
    public:
        using TSkinForm::TSkinForm;
        std::vector<WPARAM> seen;
        void Dispatch(TMessage& m) override {
            if (m.Msg == WM_USER + 4)
                seen.push_back(m.WParam);
            else
                TSkinForm::Dispatch(m);
        }
    };
    auto* form = new TListening(Application);
    PostMessage(form->Handle(), WM_USER + 4, 7, 0);
    PostMessage(form->Handle(), WM_USER + 4, 8, 0);
    form_testing::WaitUntil([&] { return form->seen.size() == 2; }, 1000);
    EXPECT_EQ(form->seen, (std::vector<WPARAM>{7, 8}));
    const HWND handle = form->Handle();
    delete form;
    EXPECT_EQ(FindControl(handle), nullptr);
    EXPECT_FALSE(PostMessage(handle, WM_USER + 4, 9, 0));
}

TEST_F(FormsTest, ThePictureOfTheExampleForm) {
    auto* form = new TExampleForm(Application);
    form->StringGrid1->SetCells(0, 0, "1");
    form->StringGrid1->SetCells(3, 1, "5");
    form->Show();
    const std::string file = resources.Dir().File("example.png");
    form_testing::SaveFormSnapshot(form, file);
    const std::string png = testing_support::ReadFileBytes(file);
    ASSERT_GT(png.size(), 1000u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    const form_testing::TSnapshot picture = form_testing::TakeSnapshot(form);
    EXPECT_EQ(picture.Width, form->Width());
    EXPECT_EQ(picture.Height, form->Height());
    const TPoint client = Point(form->ClientOrigin().X - form->Left(), form->ClientOrigin().Y - form->Top());
    // The stretched strip: red on the left, blue on the right.
    EXPECT_EQ(picture.At(client.X + 10, client.Y + 10), clRed);
    EXPECT_EQ(picture.At(client.X + 600, client.Y + 10), clBlue);
    // The paint box's yellow and the panel's own colour.
    EXPECT_EQ(picture.At(client.X + 630, client.Y + 170), clYellow);
    EXPECT_EQ(picture.At(client.X + 470, client.Y + 170), static_cast<TColor>(0x00E0FFFF));
    // Owner-drawn grid cells: (0, 0) is aqua.
    EXPECT_EQ(picture.At(client.X + 8 + 20, client.Y + 184 + 20), clAqua);
    // A copy for people to look at, when the build asks for one.
    if (const char* out = std::getenv("HARBEK_SNAPSHOTS"))
        form_testing::SaveFormSnapshot(form, std::string(out) + "/Example.png");
}

} // namespace
