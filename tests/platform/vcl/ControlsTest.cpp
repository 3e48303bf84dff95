#include "tests/platform/vcl/VclTestSupport.h"

namespace {

using namespace vcl_test;

class ControlsTest : public VclTest {
protected:
    ExampleResources resources;
    TExampleForm* form = nullptr;
    void SetUp() override { form = new TExampleForm(Application); }
};

TEST_F(ControlsTest, RadioButtonsOfOneParentAreExclusiveAndCheckingFromCodeClicks) {
    // Each row: which radio is checked from code, what each then shows, and the clicks that fired.
    const struct {
        bool admin;
        bool value;
        bool adminChecked;
        bool userChecked;
        std::vector<std::string> clicks;
    } steps[] = {
        {true, true, true, false, {"rbtAdminClick"}},
        {true, true, true, false, {}}, // already checked: no click
        {false, true, false, true, {"rbtUserClick"}},
        {false, false, false, false, {}}, // unchecking fires nothing and checks nobody
        {true, true, true, false, {"rbtAdminClick"}},
    };
    for (const auto& s : steps) {
        form->calls.clear();
        (s.admin ? form->rbtAdmin : form->rbtUser)->SetChecked(s.value);
        EXPECT_EQ(form->rbtAdmin->Checked(), s.adminChecked);
        EXPECT_EQ(form->rbtUser->Checked(), s.userChecked);
        EXPECT_EQ(form->calls, s.clicks);
    }
    // A radio button of another parent is left alone.
    auto* outside = new TRadioButton(form);
    outside->SetParent(form);
    outside->SetChecked(true);
    EXPECT_TRUE(form->rbtAdmin->Checked());
}

TEST_F(ControlsTest, ClickingARadioButtonChecksItOnceAndAgainClicksNothing) {
    form->Show();
    form->calls.clear();
    form_testing::Click(form->rbtAdmin);
    EXPECT_TRUE(form->rbtAdmin->Checked());
    EXPECT_FALSE(form->rbtUser->Checked());
    form_testing::Click(form->rbtAdmin);
    EXPECT_TRUE(form->rbtAdmin->Checked());
    EXPECT_EQ(form->calls, std::vector<std::string>{"rbtAdminClick"});
    // Anywhere on the control, past the end of its caption too.
    form_testing::Click(form->rbtUser, Point(form->rbtUser->Width() - 2, form->rbtUser->Height() / 2));
    EXPECT_TRUE(form->rbtUser->Checked());
    EXPECT_FALSE(form->rbtAdmin->Checked());
}

TEST_F(ControlsTest, CheckBoxClicksOnEveryChangeFromCodeOrMouse) {
    form->Show();
    form->calls.clear();
    form->CheckBox1->SetChecked(true); // unchanged
    form->CheckBox1->SetChecked(false);
    form_testing::Click(form->CheckBox1);
    EXPECT_TRUE(form->CheckBox1->Checked());
    EXPECT_EQ(Count(form->calls, "CheckBox1Click"), 2);
    form_testing::Click(form->CheckBox1, Point(form->CheckBox1->Width() - 2, form->CheckBox1->Height() / 2));
    EXPECT_FALSE(form->CheckBox1->Checked());
    EXPECT_EQ(Count(form->calls, "CheckBox1Click"), 3);
}

TEST_F(ControlsTest, ComboBoxItemIndexMinusOneMeansNoSelection) {
    TComboBox* combo = form->ComboBox1;
    form->calls.clear();
    const struct {
        int set;
        int expectIndex;
        const char* expectText;
    } cases[] = {
        {2, 2, "NONE"}, {-1, -1, ""}, {0, 0, "ALL"}, {3, -1, ""}, {-7, -1, ""}, {1, 1, "EVENT"},
    };
    for (const auto& c : cases) {
        combo->SetItemIndex(c.set);
        EXPECT_EQ(combo->ItemIndex(), c.expectIndex) << c.set;
        EXPECT_EQ(combo->Text(), c.expectText) << c.set;
    }
    // Changes from code fire nothing; emptying the list drops the selection.
    EXPECT_TRUE(form->calls.empty());
    combo->Items()->Delete(0); // another item goes: EVENT stays selected
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), "EVENT");
    combo->Items()->Delete(0); // the selected item goes
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetItemIndex(0);
    combo->Items()->Clear();
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
    combo->Items()->Add("LATER");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_THROW(combo->Items()->Get(5), EStringListError);
}

TEST_F(ControlsTest, ComboBoxSelectionByTheUserFiresOnChange) {
    form->Show();
    form->calls.clear();
    form->ComboBox1->SetFocus();
    form_testing::PressKey(form->ComboBox1, VK_DOWN);
    EXPECT_EQ(form->ComboBox1->ItemIndex(), 2);
    EXPECT_EQ(form->calls, std::vector<std::string>{"ComboBox1Change"});
}

TEST_F(ControlsTest, ComboBoxListOpenedByAPressKeepsNoCapture) {
    form->Show();
    TComboBox* box = form->ComboBox1;
    int dropped = 0;
    box->OnDropDown = [&](TObject*) { ++dropped; };
    // The press on the arrow opens the list, which takes the mouse: the next click goes where it is made.
    form_testing::MouseDown(box, mbLeft, Point(box->Width() - 6, box->Height() / 2));
    EXPECT_EQ(dropped, 1);
    EXPECT_FALSE(box->MouseCapture());
}

TEST_F(ControlsTest, SortedListBoxKeepsItsOrderAndReportsClicks) {
    TListBox* list = form->ListBox1;
    list->Items()->Add("beta:1");
    list->Items()->Add("Alpha:0");
    // Sorted ignoring case: "alpha:0" before "alpha:5001".
    EXPECT_EQ(list->Items()->Get(0), "Alpha:0");
    EXPECT_EQ(list->Items()->Get(1), "alpha:5001");
    EXPECT_EQ(list->Items()->Get(2), "beta:1");
    EXPECT_THROW(list->Items()->Insert(0, "x"), EStringListError);
    list->SetItemIndex(4);
    EXPECT_EQ(list->ItemIndex(), 4);
    list->Items()->Delete(4);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetItemIndex(99);
    EXPECT_EQ(list->ItemIndex(), -1);

    form->Show();
    form->calls.clear();
    list->SetItemIndex(0);
    EXPECT_TRUE(form->calls.empty());
    const int row = list->ItemAtPos(Point(5, 20), true);
    ASSERT_GE(row, 0);
    form_testing::Click(list, Point(5, 20));
    EXPECT_EQ(list->ItemIndex(), row);
    form_testing::Click(list, Point(5, 20));
    EXPECT_EQ(Count(form->calls, "ListBox1Click"), 2);
}

TEST_F(ControlsTest, StringGridMouseToCellAtCellBorders) {
    TStringGrid* grid = form->StringGrid1; // 25 x 26 cells, 1-pixel lines, no fixed cells, no border
    const struct {
        int x, y, col, row;
    } cases[] = {
        {0, 0, 0, 0},    {24, 25, 0, 0},  {25, 26, 0, 0}, // the line after a cell is that cell's
        {26, 27, 1, 1},  {51, 53, 1, 1},  {52, 54, 2, 2}, {-1, 5, -1, 0},  {5, -1, 0, -1},
        {311, 5, 11, 0}, {312, 5, -1, 0}, {5, 107, 0, 3}, {5, 108, 0, -1}, {400, 400, -1, -1},
    };
    for (const auto& c : cases) {
        int col = 99, row = 99;
        grid->MouseToCell(c.x, c.y, col, row);
        EXPECT_EQ(col, c.col) << c.x << "," << c.y;
        EXPECT_EQ(row, c.row) << c.x << "," << c.y;
    }
    EXPECT_EQ(grid->CellRect(1, 2), Rect(26, 54, 51, 80));
    EXPECT_EQ(grid->CellRect(12, 0), TRect{});
    grid->SetCells(3, 2, "5");
    EXPECT_EQ(grid->Cells(3, 2), "5");
    EXPECT_EQ(grid->Cells(12, 0), "");
    EXPECT_THROW(grid->SetCells(12, 0, "x"), EInvalidGridOperation);
    EXPECT_THROW(grid->SetRow(4), EInvalidGridOperation);
    EXPECT_THROW(grid->SetColCount(0), EInvalidGridOperation);
    grid->SetRowCount(8);
    EXPECT_EQ(grid->Cells(3, 2), "5");
}

TEST_F(ControlsTest, StringGridPressMovesTheCurrentCellBeforeTheMouseEvent) {
    form->Show();
    form->calls.clear();
    TStringGrid* grid = form->StringGrid1;
    int selects = 0;
    grid->OnSelectCell = [&selects](TObject*, int col, int, bool& can) {
        ++selects;
        can = col != 5;
    };
    form_testing::Click(grid, Point(26 * 3 + 4, 26 * 2 + 4));
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 2);
    form_testing::Click(grid, Point(26 * 5 + 4, 4)); // refused by OnSelectCell
    EXPECT_EQ(grid->Col(), 3);
    form_testing::Click(grid, Point(26 * 3 + 4, 26 * 2 + 4), mbRight);
    EXPECT_EQ(form->calls, (std::vector<std::string>{"Grid 3,2", "Grid 5,0", "Grid 3,2"}));
    EXPECT_EQ(selects, 2);
}

TEST_F(ControlsTest, AlignedControlsShareTheClientAreaInOrder) {
    auto* host = new TPanel(form);
    host->SetParent(form);
    host->SetBounds(0, 0, 200, 100);
    auto make = [&](TAlign align, int w, int h) {
        auto* p = new TPanel(form);
        p->SetBounds(0, 0, w, h);
        p->SetAlign(align);
        p->SetParent(host);
        return p;
    };
    TPanel* top = make(alTop, 10, 20);
    TPanel* bottom = make(alBottom, 10, 15);
    TPanel* left = make(alLeft, 30, 10);
    TPanel* right = make(alRight, 40, 10);
    TPanel* client = make(alClient, 1, 1);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 20));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 85, 200, 100));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 20, 30, 85));
    EXPECT_EQ(right->BoundsRect(), Rect(160, 20, 200, 85));
    EXPECT_EQ(client->BoundsRect(), Rect(30, 20, 160, 85));
    host->SetBounds(0, 0, 300, 120);
    EXPECT_EQ(client->BoundsRect(), Rect(30, 20, 260, 105));
    top->SetVisible(false);
    EXPECT_EQ(client->BoundsRect(), Rect(30, 0, 260, 105));
}

TEST_F(ControlsTest, FontAndColourFollowTheParentUntilSetOwn) {
    form->Font()->SetName("Arial");
    form->Font()->SetHeight(-15);
    EXPECT_EQ(form->Edit1->Font()->Name(), "Arial");
    EXPECT_EQ(form->rbtAdmin->Font()->Height(), -15); // through the group box
    EXPECT_EQ(form->Label1->Font()->Name(), "Arial"); // its own: ParentFont is off in the definition
    EXPECT_EQ(form->Label1->Font()->Height(), -11);
    form->Edit1->Font()->SetName("Courier New");
    form->Font()->SetName("Tahoma");
    EXPECT_EQ(form->Edit1->Font()->Name(), "Courier New");
    EXPECT_FALSE(form->Edit1->ParentFont());
    form->Edit1->SetParentFont(true);
    EXPECT_EQ(form->Edit1->Font()->Name(), "Tahoma");

    EXPECT_TRUE(form->Label2->ParentColor());
    form->SetColor(clWhite);
    EXPECT_EQ(form->Label2->Color(), clWhite);
    EXPECT_EQ(form->Panel1->Color(), static_cast<TColor>(0x00E0FFFF));
}

int RedPixels(const form_testing::TSnapshot& s) {
    int count = 0;
    for (int y = 0; y < s.Height; ++y)
        for (int x = 0; x < s.Width; ++x) {
            const TColor c = s.At(x, y);
            count += (c & 0xFF) > 180 && ((c >> 8) & 0xFF) < 90 && ((c >> 16) & 0xFF) < 90;
        }
    return count;
}

TEST_F(ControlsTest, AFontSetWhileTheFormWasNeverShownDrawsAtItsFirstShow) {
    form->Edit1->SetText("WWWW");
    const int others = RedPixels(form_testing::TakeSnapshot(form)); // the form's own red parts
    form->Edit1->Font()->SetColor(clRed);
    form->Edit1->Font()->SetHeight(-20);
    form->Show();
    form_testing::ProcessEvents();
    EXPECT_GT(RedPixels(form_testing::TakeScreenPicture(form)), others + 20); // as the screen shows it
    form->Edit1->Font()->SetColor(clBlack);                                   // once shown, at once
    EXPECT_EQ(RedPixels(form_testing::TakeSnapshot(form)), others);
}

TEST_F(ControlsTest, VisibleAndShowingAndCoordinates) {
    EXPECT_TRUE(form->Edit1->Visible());
    EXPECT_FALSE(form->Edit1->Showing());
    form->Show();
    EXPECT_TRUE(form->Edit1->Showing());
    form->GroupBox1->Hide();
    EXPECT_TRUE(form->rbtUser->Visible());
    EXPECT_FALSE(form->rbtUser->Showing());
    const TPoint origin = form->ClientOrigin();
    EXPECT_EQ(form->Edit1->ClientToScreen(Point(1, 2)), Point(origin.X + 216 + 1, origin.Y + 28 + 2));
    EXPECT_EQ(form->rbtUser->ScreenToClient(form->rbtUser->ClientToScreen(Point(7, 9))), Point(7, 9));
    EXPECT_THROW(form->GroupBox1->SetParent(form->GroupBox1), EInvalidOperation);
    EXPECT_THROW(form->rbtUser->SetFocus(), EInvalidOperation);
}

TEST_F(ControlsTest, EditKeyPressMayReplaceOrSwallowCharacters) {
    form->Show();
    form->Edit1->SetText("");
    form->calls.clear();
    form_testing::TypeText(form->Edit1, "10,2x");
    EXPECT_EQ(form->Edit1->Text(), "10.2");
    EXPECT_EQ(Count(form->calls, "Edit1Change"), 4);
    form->Edit1->SetText("abc");
    EXPECT_EQ(Count(form->calls, "Edit1Change"), 5);
    form->Edit1->SetSelStart(1);
    form->Edit1->SetSelLength(5);
    EXPECT_EQ(form->Edit1->SelLength(), 2);
    EXPECT_EQ(form->Edit1->SelText(), "bc");
}

TEST_F(ControlsTest, EditPasteGoesThroughTheKeyFilterWhicheverWayItComes) {
    // The edit's own menu, not the form's.
    form->SetPopupMenu(nullptr);
    form->Show();
    using form_testing::TPasteRoad;
    const struct {
        TPasteRoad road;
        const char* after;
    } cases[] = {// The filter refuses the Ctrl+V key itself, as any key but digits, dots and Backspace.
                 {TPasteRoad::CtrlV, "9"},
                 {TPasteRoad::ShiftInsert, "91.578"},
                 {TPasteRoad::ContextMenu, "91.578"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.road));
        form->Edit1->SetText("9");
        form->Edit1->SetSelStart(1);
        form->calls.clear();
        // Digits and dots only, a comma made a dot: the letters, the accented letter and the line break
        // never arrive.
        form_testing::PasteText(form->Edit1, c.road,
                                "1,5a\xC3\xA9"
                                "7\n8");
        EXPECT_EQ(form->Edit1->Text(), c.after);
        const int changes = Count(form->calls, "Edit1Change");
        EXPECT_LE(changes, 1);
        // Nothing the filter lets in leaves the text as it was.
        form_testing::PasteText(form->Edit1, c.road, "xyz");
        EXPECT_EQ(form->Edit1->Text(), c.after);
        EXPECT_EQ(Count(form->calls, "Edit1Change"), changes);
    }
}

TEST_F(ControlsTest, GraphicControlPaintOutsideThePaintCycleShowsAtOnce) {
    // A control that paints its frame index directly, as the skin controls do.
    class TFrameShow : public TGraphicControl {
    public:
        using TGraphicControl::TGraphicControl;
        TColor colour = clRed;
        int paints = 0;
        void Paint() override {
            ++paints;
            Canvas()->Brush()->SetColor(colour);
            Canvas()->FillRect(Rect(0, 0, Width(), Height()));
        }
        void SetColourNow(TColor c) {
            colour = c;
            Paint();
        }
    };
    auto* frame = new TFrameShow(form);
    frame->SetBounds(600, 400, 20, 20);
    frame->SetParent(form);
    form->Show();
    const TPoint at =
        Point(form->ClientOrigin().X - form->Left() + 610, form->ClientOrigin().Y - form->Top() + 410);
    EXPECT_EQ(form_testing::TakeSnapshot(form).At(at.X, at.Y), clRed);
    const int paintsBefore = frame->paints;
    frame->SetColourNow(clLime);
    EXPECT_EQ(form_testing::TakeSnapshot(form).At(at.X, at.Y), clLime);
    EXPECT_EQ(frame->paints, paintsBefore + 1); // shown without another paint cycle
    frame->Invalidate();
    frame->colour = clBlue;
    EXPECT_EQ(form_testing::TakeSnapshot(form).At(at.X, at.Y), clBlue);
}

TEST_F(ControlsTest, MouseCaptureFollowsPressAndRelease) {
    form->Show();
    TControl* seen = nullptr;
    int moves = 0;
    form->Panel1->OnMouseDown = [&](TObject* s, TMouseButton, TShiftState, int, int) {
        seen = static_cast<TControl*>(s);
        EXPECT_EQ(GetCaptureControl(), form->Panel1);
    };
    form->Panel1->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++moves; };
    form_testing::Drag(form->Panel1, Point(5, 5), Point(300, 200));
    EXPECT_EQ(seen, form->Panel1);
    EXPECT_GE(moves, 4); // also the moves far outside the panel
    EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(ControlsTest, PageControlChangesPagesAndKeepsHiddenTabsOut) {
    TPageControl* pages = form->PageControl1;
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_TRUE(form->TabSheet2->Visible());
    EXPECT_FALSE(form->TabSheet1->Visible());
    EXPECT_THROW(pages->SetActivePage(form->TabSheet3), EInvalidOperation);
    form->calls.clear();
    pages->SetActivePageIndex(0); // from code: no event
    EXPECT_EQ(pages->ActivePage(), form->TabSheet1);
    EXPECT_TRUE(form->calls.empty());
    pages->SelectNextPage(true); // as the user would: the hidden tab is skipped
    EXPECT_EQ(pages->ActivePage(), form->TabSheet2);
    pages->SelectNextPage(true);
    EXPECT_EQ(pages->ActivePage(), form->TabSheet1);
    EXPECT_EQ(Count(form->calls, "PageControl1Change"), 2);
    form->TabSheet1->SetTabVisible(false);
    EXPECT_EQ(pages->ActivePage(), form->TabSheet2);
    EXPECT_EQ(form->TabSheet2->TabIndex(), 0);
    form->TabSheet3->SetTabVisible(true);
    pages->SetTabIndex(1);
    EXPECT_EQ(pages->ActivePage(), form->TabSheet3);
    pages->SetActivePageIndex(9);
    EXPECT_EQ(pages->ActivePage(), nullptr);
}

TEST_F(ControlsTest, ScrollBarKeepsItsPositionInRange) {
    TScrollBar* bar = form->ScrollBar1;
    form->calls.clear();
    bar->SetPosition(120);
    EXPECT_EQ(bar->Position(), 100);
    bar->SetPosition(100);
    bar->SetPosition(-3);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(Count(form->calls, "ScrollBar1Change"), 2);
    EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
    EXPECT_EQ(bar->Max(), 100);
}

TEST_F(ControlsTest, MaskTranslation) {
    const struct {
        const char* mask;
        const char* qt;
    } cases[] = {
        {"", ""},
        {"!999.999;1;_", "000.000;_"},
        {"00:00;0; ", "99:99; "},
        {"LLL-aa;1;*", "AAA-nn;*"},
        {">ccc", ">xxx;_"},
        {"\\A0;1;_", "\\A9;_"},
        {"HH;1;_", "\\H\\H;_"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TranslateEditMask(c.mask), c.qt) << c.mask;
    EXPECT_THROW(TranslateEditMask("99\\"), EInvalidArgument);
    EXPECT_THROW(TranslateEditMask("99;1;ab"), EInvalidArgument);
}

} // namespace
