// What skinned controls build on: message maps, painting without erasing, enter and leave, the order
// of mouse events and clicks.
#include "tests/platform/vcl/VclTestSupport.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace vcl_test;

class TProbe : public TCustomControl {
public:
    explicit TProbe(TComponent* owner) : TCustomControl(owner) {
        SetColor(clWhite);
        SetBounds(10, 10, 40, 30);
    }
    bool keepBackground = false;
    bool fullPaint = true;
    TColor colour = clRed;
    std::vector<std::string> log;

    void Dispatch(TMessage& m) override {
        switch (m.Msg) {
        case WM_ERASEBKGND:
            if (keepBackground) {
                m.Result = 1;
                return;
            }
            break;
        case CM_MOUSEENTER:
            log.push_back("enter");
            break;
        case CM_MOUSELEAVE:
            log.push_back("leave");
            break;
        default:
            break;
        }
        TCustomControl::Dispatch(m);
    }

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(colour);
        Canvas()->FillRect(fullPaint ? Rect(0, 0, Width(), Height()) : Rect(0, 0, 10, 10));
    }
    void Click() override {
        log.push_back("Click");
        TCustomControl::Click();
    }
    void DblClick() override {
        log.push_back("DblClick");
        TCustomControl::DblClick();
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        log.push_back(std::string("Down") + (s.Contains(ssDouble) ? " double" : "") +
                      (b == mbRight ? " right" : ""));
        TCustomControl::MouseDown(b, s, x, y);
    }
    void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
        log.push_back("Up");
        TCustomControl::MouseUp(b, s, x, y);
    }
};

class CustomControlTest : public VclTest {
protected:
    TForm* form = nullptr;
    TProbe* probe = nullptr;
    void SetUp() override {
        form = new TForm(Application);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 100, 80);
        probe = new TProbe(form);
        probe->SetParent(form);
        form->Show();
    }
    TColor At(int x, int y) { return form_testing::TakeSnapshot(form).At(x, y); }
};

TEST_F(CustomControlTest, AControlThatAnswersEraseKeepsItsLastPicture) {
    EXPECT_EQ(At(40, 30), clRed);
    // Erasing (the default): a partial paint leaves the background colour around it.
    probe->fullPaint = false;
    probe->colour = clLime;
    probe->Invalidate();
    EXPECT_EQ(At(12, 12), clLime);
    EXPECT_EQ(At(40, 30), clWhite);
    // Answering WM_ERASEBKGND: the rest of the last picture stays.
    probe->fullPaint = true;
    probe->colour = clBlue;
    probe->Invalidate();
    EXPECT_EQ(At(40, 30), clBlue);
    probe->keepBackground = true;
    probe->fullPaint = false;
    probe->colour = clYellow;
    probe->Invalidate();
    EXPECT_EQ(At(12, 12), clYellow);
    EXPECT_EQ(At(40, 30), clBlue);
    // The form's background is outside the control.
    EXPECT_EQ(At(80, 70), ColorToRGB(clBtnFace));
}

// Threads of the toolkit's pool, which it starts to split large pixel work between.
int PoolThreads() {
    int threads = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        if (name.starts_with("Thread (pooled")) ++threads;
    }
    return threads;
}

TEST_F(CustomControlTest, ATallPictureReachesTheScreenWhole) {
    // Large pictures reach the screen in bands, which start no threads: no row at a band's edge may be
    // lost or doubled.
    class TStripes : public TCustomControl {
    public:
        using TCustomControl::TCustomControl;

    protected:
        void Paint() override {
            const std::pair<TRect, TColor> parts[] = {{Rect(0, 0, 300, 200), clRed},
                                                      {Rect(0, 64, 300, 128), clBlue},
                                                      {Rect(0, 199, 300, 200), clLime},
                                                      {Rect(0, 0, 300, 1), clYellow}};
            for (const auto& [r, c] : parts) {
                Canvas()->Brush()->SetColor(c);
                Canvas()->FillRect(r);
            }
        }
    };
    form->SetBounds(0, 0, 320, 220);
    auto* stripes = new TStripes(form);
    stripes->SetBounds(0, 0, 300, 200);
    stripes->SetParent(form);
    probe->SetVisible(false);
    const int pool = PoolThreads();
    const form_testing::TSnapshot screen = form_testing::TakeScreenPicture(form);
    EXPECT_EQ(PoolThreads(), pool);
    const struct {
        int x, y;
        TColor colour;
    } points[] = {{5, 0, clYellow},
                  {299, 1, clRed},
                  {5, 63, clRed},
                  {5, 64, clBlue},
                  {150, 127, clBlue},
                  {5, 128, clRed},
                  {299, 198, clRed},
                  {5, 199, clLime},
                  {5, 205, ColorToRGB(clBtnFace)},
                  {310, 100, ColorToRGB(clBtnFace)}};
    for (const auto& p : points)
        EXPECT_EQ(screen.At(p.x, p.y), p.colour) << p.x << "," << p.y;
}

TEST_F(CustomControlTest, EnterAndLeaveReachTheMessageMap) {
    int baseEnters = 0;
    probe->OnMouseEnter = [&baseEnters](TObject*) { ++baseEnters; };
    form_testing::MouseMove(form, Point(80, 70));
    form_testing::MouseMove(probe, Point(5, 5));
    form_testing::MouseMove(probe, Point(6, 6));
    form_testing::MouseMove(form, Point(90, 70));
    EXPECT_EQ(probe->log, (std::vector<std::string>{"enter", "leave"}));
    EXPECT_EQ(baseEnters, 1); // the base handling fires the event
    EXPECT_EQ(probe->Perform(CM_MOUSEENTER, 0, 0), 0);
    EXPECT_EQ(probe->Perform(WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(CustomControlTest, MouseEventsComeInTheClassLibrarysOrder) {
    form_testing::DoubleClick(probe);
    EXPECT_EQ(probe->log,
              (std::vector<std::string>{"enter", "Down", "Click", "Up", "DblClick", "Down double", "Up"}));
    probe->log.clear();
    // Released outside: no click. The right button never clicks.
    form_testing::MouseDown(probe, mbLeft, Point(5, 5));
    form_testing::MouseUp(probe, mbLeft, Point(60, 50));
    form_testing::Click(probe, Point(5, 5), mbRight);
    for (const std::string& entry : probe->log)
        EXPECT_NE(entry, "Click");
    EXPECT_NE(std::find(probe->log.begin(), probe->log.end(), "Down right"), probe->log.end());
}

TEST_F(CustomControlTest, AControlDeletedByItsOwnHandlerLeavesTheFormWorking) {
    auto* victim = new TPanel(form);
    victim->SetBounds(60, 10, 30, 30);
    victim->SetParent(form);
    victim->OnMouseDown = [victim](TObject*, TMouseButton, TShiftState, int, int) { delete victim; };
    // Through the form: the victim is gone by the time the button comes up.
    form_testing::MouseDown(form, mbLeft, Point(75, 25));
    form_testing::MouseUp(form, mbLeft, Point(75, 25));
    form_testing::ProcessEvents();
    EXPECT_EQ(form->ControlCount(), 1);
    form_testing::Click(probe);
    EXPECT_NE(std::find(probe->log.begin(), probe->log.end(), "Click"), probe->log.end());
}

TEST_F(CustomControlTest, PanelFrameMovesItsClientArea) {
    auto* panel = new TPanel(form);
    panel->SetBounds(50, 0, 50, 50);
    panel->SetParent(form);
    auto* inner = new TPanel(form);
    inner->SetBounds(0, 0, 10, 10);
    inner->SetParent(panel);
    int seenX = -1, seenY = -1;
    panel->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        seenX = x;
        seenY = y;
    };
    panel->SetBorderStyle(bsSingle);
    EXPECT_EQ(panel->ClientRect(), Rect(0, 0, 46, 46));
    EXPECT_EQ(inner->ClientToScreen(Point(0, 0)).X - panel->ClientToScreen(Point(0, 0)).X, 0);
    EXPECT_EQ(panel->ClientToScreen(Point(0, 0)).X, form->ClientOrigin().X + 52);
    form_testing::Click(panel, Point(20, 30));
    EXPECT_EQ(seenX, 20);
    EXPECT_EQ(seenY, 30);
}

TEST_F(CustomControlTest, LabelAutoSizeKeepsTheEdgeItsAlignmentNames) {
    const struct {
        TAlignment alignment;
        bool keepsLeft;
        bool keepsRight;
    } cases[] = {{taLeftJustify, true, false}, {taRightJustify, false, true}, {taCenter, false, false}};
    for (const auto& c : cases) {
        auto* label = new TLabel(form);
        label->SetParent(form);
        label->SetAlignment(c.alignment);
        label->SetBounds(100, 0, 200, 13);
        label->SetCaption("short");
        const int width = label->Width();
        EXPECT_LT(width, 200);
        EXPECT_GT(width, 10);
        if (c.keepsLeft) {
            EXPECT_EQ(label->Left(), 100);
        } else if (c.keepsRight) {
            EXPECT_EQ(label->Left() + width, 300);
        } else {
            EXPECT_EQ(label->Left(), 100 + (200 - width) / 2);
        }
        label->SetCaption("a much longer caption than before");
        EXPECT_GT(label->Width(), width);
        label->SetCaption("");
        EXPECT_GT(label->Height(), 0); // an empty label keeps the height of a line
    }
}

TEST_F(CustomControlTest, BitButtonKindsSetCaptionResultAndRole) {
    const struct {
        TBitBtnKind kind;
        const char* caption;
        int result;
        bool isDefault;
        bool isCancel;
    } cases[] = {
        {bkOK, "OK", mrOk, true, false},           {bkCancel, "Cancel", mrCancel, false, true},
        {bkYes, "&Yes", mrYes, true, false},       {bkNo, "&No", mrNo, false, true},
        {bkAbort, "Abort", mrAbort, false, false},
    };
    for (const auto& c : cases) {
        auto* button = new TBitBtn(form);
        button->SetKind(c.kind);
        EXPECT_EQ(button->Caption(), c.caption);
        EXPECT_EQ(button->ModalResult(), c.result);
        EXPECT_EQ(button->Default(), c.isDefault);
        EXPECT_EQ(button->Cancel(), c.isCancel);
    }
    auto* close = new TBitBtn(form);
    close->SetParent(form);
    close->SetKind(bkClose);
    close->Click();
    EXPECT_FALSE(form->Visible());
    TBitmap glyph(32, 16);
    close->SetGlyph(&glyph);
    close->SetNumGlyphs(2);
    EXPECT_EQ(close->Glyph()->Width(), 32);
}

TEST_F(CustomControlTest, KeysReachTheFocusedControlUnlessSwallowed) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(0, 50, 80, 20);
    std::vector<WORD> downs, ups;
    edit->OnKeyDown = [&downs](TObject*, WORD& key, TShiftState shift) {
        downs.push_back(key);
        if (key == VK_DELETE && shift.Contains(ssCtrl)) key = 0;
    };
    edit->OnKeyUp = [&ups](TObject*, WORD& key, TShiftState) { ups.push_back(key); };
    edit->SetText("abc");
    edit->SetFocus();
    edit->SetSelStart(0);
    form_testing::PressKey(edit, VK_DELETE, TShiftState(ssCtrl));
    EXPECT_EQ(edit->Text(), "abc");
    form_testing::PressKey(edit, VK_DELETE);
    EXPECT_EQ(edit->Text(), "bc");
    EXPECT_EQ(downs, (std::vector<WORD>{VK_DELETE, VK_DELETE}));
    EXPECT_EQ(ups, (std::vector<WORD>{VK_DELETE, VK_DELETE}));
    form_testing::PressKey(edit, VK_BACK, TShiftState(), "\b");
    EXPECT_EQ(edit->Text(), "bc"); // the cursor is at the start: nothing to delete
}

} // namespace
