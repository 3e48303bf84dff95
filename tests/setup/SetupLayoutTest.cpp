// The places and settings the windows are known by: positions and sizes fixed for the setup windows,
// the time table's grid with its row and column buttons, the recording page's tabs and boxes, and the
// controls that start disabled, limited or filled in.
#include "tests/setup/SetupWindows.h"

#include "controls/IPEdit.h"
#include "controls/imgframe.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/StdCtrls.h"

namespace setup_test {
namespace {

class SetupLayoutTest : public SetupWindowTest {
protected:
    template <class T = TControl>
    T* Find(TForm* form, const std::string& name) {
        auto* control = dynamic_cast<T*>(form_testing::FindControlByName(form, name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
};

// Where the control's client area lies on the screen.
TRect ScreenRect(TControl* control) {
    const TPoint origin = control->ClientOrigin();
    return Rect(origin.X, origin.Y, origin.X + control->ClientWidth(), origin.Y + control->ClientHeight());
}

bool Contains(const TRect& outer, const TRect& inner) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

struct Place {
    const char* unit;
    const char* control;          // "" for the form's client area
    int left, top, width, height; // -1: not fixed
};

const Place kPlaces[] = {
    {"Menu", "", -1, -1, 397, 384},          {"Menu", "btnDevice", -1, 24, -1, -1},
    {"Menu", "btnRecord", -1, 88, -1, -1},   {"Menu", "btnSystem", -1, 152, -1, -1},
    {"Menu", "btnLoglist", -1, 216, -1, -1}, {"Menu", "btnInfo", -1, 280, -1, -1},
    {"Menu", "btnSave", -1, 408, -1, -1},    {"Menu", "btnNetwork", -1, 440, -1, -1},
    {"Upload", "", -1, -1, 417, 554},        {"Config", "", -1, -1, 320, 208},
    {"Syslog", "", -1, -1, 280, 599},
};

TEST_F(SetupLayoutTest, FixedPlacesAndSizes) {
    for (const Place& p : kPlaces) {
        SCOPED_TRACE(std::string(p.unit) + " " + p.control);
        TForm* form = Create(p.unit);
        const bool client = !*p.control;
        TControl* c = client ? form : Find(form, p.control);
        if (p.left >= 0) {
            EXPECT_EQ(c->Left(), p.left);
        }
        if (p.top >= 0) {
            EXPECT_EQ(c->Top(), p.top);
        }
        if (p.width >= 0) {
            EXPECT_EQ(client ? c->ClientWidth() : c->Width(), p.width);
        }
        if (p.height >= 0) {
            EXPECT_EQ(client ? c->ClientHeight() : c->Height(), p.height);
        }
        delete form;
    }
}

TEST_F(SetupLayoutTest, MenuButtonsFormOneColumnWithApplyAndCancelBelowRight) {
    TForm* form = Create("Menu");
    TControl* first = Find(form, "btnDevice");
    for (const char* name : {"btnRecord", "btnSystem", "btnLoglist", "btnInfo"}) {
        TControl* b = Find(form, name);
        EXPECT_EQ(b->Left(), first->Left()) << name;
        EXPECT_EQ(b->Width(), first->Width()) << name;
        EXPECT_EQ(b->Height(), first->Height()) << name;
    }
    TControl* info = Find(form, "btnInfo");
    for (const char* name : {"btnOk", "btnCancel"}) {
        TControl* b = Find(form, name);
        EXPECT_GE(b->Top(), info->Top() + info->Height()) << name;
        EXPECT_GT(b->Left(), form->ClientWidth() / 2 - b->Width()) << name;
        EXPECT_LT(b->Height(), first->Height()) << name;
    }
    EXPECT_LT(Find(form, "btnOk")->Left(), Find(form, "btnCancel")->Left());
}

TEST_F(SetupLayoutTest, UploadLogListLiesUnderEverythingElse) {
    TForm* form = Create("Upload");
    TControl* log = Find(form, "ListBox1");
    for (TControl* c : ControlsOf(form))
        if (c != log) {
            EXPECT_LE(c->Top() + c->Height(), log->Top()) << c->Name();
        }
}

TEST_F(SetupLayoutTest, TimeTableGridHasAnHourAColumnAndADayARow) {
    TForm* form = Create("TimeTable");
    auto* grid = Find<TStringGrid>(form, "StringGrid");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->ColCount(), 24);
    EXPECT_EQ(grid->RowCount(), 8);
    EXPECT_EQ(grid->FixedCols(), 0);
    EXPECT_EQ(grid->FixedRows(), 0);
    for (int c = 0; c < 24; ++c)
        EXPECT_EQ(grid->ColWidths(c), 25) << c;
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(grid->RowHeights(r), 30) << r;
    // The whole grid shows: no cell is cut off by the control's edge.
    const TRect last = grid->CellRect(23, 7);
    EXPECT_LE(last.Right, grid->ClientWidth());
    EXPECT_LE(last.Bottom, grid->ClientHeight());
}

// The cell's span on the form, horizontally (columns) or vertically (rows).
std::pair<int, int> CellSpan(TStringGrid* grid, int col, int row, bool horizontal) {
    const TRect cell = grid->CellRect(col, row);
    const TPoint origin = grid->ClientOffset();
    if (horizontal) return {grid->Left() + origin.X + cell.Left, grid->Left() + origin.X + cell.Right};
    return {grid->Top() + origin.Y + cell.Top, grid->Top() + origin.Y + cell.Bottom};
}

TEST_F(SetupLayoutTest, TimeTableButtonsAndLabelsLineUpWithTheirRowsAndColumns) {
    TForm* form = Create("TimeTable");
    auto* grid = Find<TStringGrid>(form, "StringGrid");
    ASSERT_NE(grid, nullptr);
    const char* rowButtons[] = {"btnMon", "btnTue", "btnWed", "btnThu",
                                "btnFri", "btnSat", "BbtSun", "btnHol"};
    const char* rowLabels[] = {"lbMon", "lbTue", "lbWed", "lbThu", "lbFri", "lbSat", "lbSun", "lbHol"};
    for (int r = 0; r < 8; ++r) {
        const auto [top, bottom] = CellSpan(grid, 0, r, false);
        for (TControl* c : {Find(form, rowButtons[r]), Find(form, rowLabels[r])}) {
            const int middle = c->Top() + c->Height() / 2;
            EXPECT_GE(middle, top) << c->Name();
            EXPECT_LT(middle, bottom) << c->Name();
        }
        EXPECT_GE(Find(form, rowButtons[r])->Left(), grid->Left() + grid->Width()) << rowButtons[r];
        EXPECT_LE(Find(form, rowLabels[r])->Left() + Find(form, rowLabels[r])->Width(), grid->Left());
    }
    for (int col = 0; col < 24; ++col) {
        const auto [left, right] = CellSpan(grid, col, 0, true);
        TControl* b = Find(form, "Button" + std::to_string(col));
        EXPECT_GE(b->Left(), left) << col;
        EXPECT_LE(b->Left() + b->Width(), right) << col;
        EXPECT_GE(b->Top(), grid->Top() + grid->Height()) << col;
        if (col % 3 == 0) {
            auto* hour = Find<TLabel>(form, "lbHour" + std::to_string(col));
            ASSERT_NE(hour, nullptr);
            EXPECT_EQ(hour->Caption(), std::to_string(col));
            EXPECT_EQ(hour->Alignment(), taCenter);
            EXPECT_EQ(hour->Left(), left);
            EXPECT_LE(hour->Top() + hour->Height(), grid->Top());
        }
    }
}

TEST_F(SetupLayoutTest, RecordBoxesLieOnTheChannelPageOfEveryGroup) {
    TForm* form = Create("Record2");
    form->Show();
    auto* groups = Find<TPageControl>(form, "PageControl1");
    ASSERT_NE(groups, nullptr);
    for (int g = 0; g < 5; ++g) {
        SCOPED_TRACE(g);
        groups->SetActivePageIndex(g);
        auto* channels = Find<TPageControl>(form, "PageControl" + std::to_string(g + 2));
        ASSERT_NE(channels, nullptr);
        ASSERT_NE(channels->ActivePage(), nullptr);
        EXPECT_TRUE(channels->Showing());
        const TRect page = ScreenRect(channels->ActivePage());
        for (const char* box : {"GroupBox1", "GroupBox2"}) {
            TControl* c = Find(form, box);
            const TPoint at = c->ClientToScreen(Point(0, 0));
            EXPECT_TRUE(Contains(page, Rect(at.X, at.Y, at.X + c->Width(), at.Y + c->Height()))) << box;
        }
    }
}

// Radio buttons of one choice share a container and no other choice shares it: checking one never
// unchecks another choice's.
TEST_F(SetupLayoutTest, EachRadioChoiceIsAGroupOfItsOwn) {
    struct Choice {
        const char* unit;
        std::vector<const char*> radios;
    };
    const Choice choices[] = {
        {"Record2", {"rbt320", "rbt720"}},
        {"Record2", {"rbtLow", "rbtMed", "rbtHigh", "rbtSuper"}},
        {"Record2", {"rbtRecordOn", "rbtRecordOff"}},
        {"Record2", {"rbtNetworkOn", "rbtNetworkOff"}},
        {"Record2", {"rbtVoiceOn", "rbtVoiceOff"}},
        {"Record2", {"rbt320_e", "rbt720_e"}},
        {"Record2", {"rbtLow_e", "rbtMed_e", "rbtHigh_e", "rbtSuper_e"}},
        {"Record2", {"rbtRecordOn_e", "rbtRecordOff_e"}},
        {"Record2", {"rbtNetworkOn_e", "rbtNetworkOff_e"}},
        {"Record2", {"rbtVoiceOn_e", "rbtVoiceOff_e"}},
        {"Record2", {"rbtMotionOn_e", "rbtMotionOff_e"}},
        {"Record2", {"rbtM_AlarmOutOn_e", "rbtM_AlarmOutOff_e"}},
        {"Record2", {"rbtAlarmInOn_e", "rbtAlarmInOff_e"}},
        {"Record2", {"rbtAlarmOutOn_e", "rbtAlarmOutOff_e"}},
        {"Record2", {"rbtOverOn", "rbtOverOff"}},
        {"Record2", {"rbtHdd", "rbtCf"}},
        {"Record2", {"rbtBackupOn", "rbtBackupOff", "rbtBackupEvent"}},
        {"Multicast", {"rdtLine", "rdtSite", "rdtOrgan", "rdtGlobal"}},
        {"Multicast", {"rdtFull", "rdt384", "rdt768", "rdt1_5"}},
    };
    for (const char* unit : {"Record2", "Multicast"}) {
        TForm* form = Create(unit);
        std::vector<std::vector<TRadioButton*>> groups;
        for (const Choice& c : choices) {
            if (std::string(c.unit) != unit) continue;
            groups.emplace_back();
            for (const char* name : c.radios)
                groups.back().push_back(Find<TRadioButton>(form, name));
        }
        // Check the last radio of every choice, then each radio in turn: exactly one per choice stays on.
        for (auto& group : groups)
            group.back()->SetChecked(true);
        for (std::size_t g = 0; g < groups.size(); ++g)
            for (TRadioButton* radio : groups[g]) {
                radio->SetChecked(true);
                for (std::size_t h = 0; h < groups.size(); ++h) {
                    int on = 0;
                    for (TRadioButton* other : groups[h])
                        on += other->Checked() ? 1 : 0;
                    EXPECT_EQ(on, 1) << unit << " after " << radio->Name() << ", choice of "
                                     << groups[h].front()->Name();
                }
            }
        delete form;
    }
}

TEST_F(SetupLayoutTest, ControlsThatStartDisabledOrLimited) {
    struct Expect {
        const char* unit;
        const char* control;
        bool enabled;
    };
    const Expect disabled[] = {
        {"Record2", "cmbImage_cf", false},  {"Record2", "cmbImage_e_cf", false},
        {"Record2", "rbt320_e", false},     {"Record2", "rbt720_e", false},
        {"Record2", "cmbImage", true},      {"Record2", "rbt320", true},
        {"Network", "btnMulticast", false}, {"Network", "btnOk", true},
    };
    for (const Expect& e : disabled) {
        TForm* form = Create(e.unit);
        EXPECT_EQ(Find(form, e.control)->Enabled(), e.enabled) << e.unit << "." << e.control;
        delete form;
    }
    for (const char* unit : {"System", "Camera"}) {
        TForm* form = Create(unit);
        auto* title = Find<TEdit>(form, "edtTitle");
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->MaxLength(), 9) << unit;
        delete form;
    }
}

TEST_F(SetupLayoutTest, SkinnedWindowsAreTheSizeOfTheirBackground) {
    for (const auto& [unit, background] :
         {std::pair{"Config", "ImgBackground"}, std::pair{"Syslog", "ImgFrame1"}}) {
        SCOPED_TRACE(unit);
        TForm* form = Create(unit);
        EXPECT_EQ(form->BorderStyle(), bsNone);
        auto* picture = Find<TImgFrame>(form, background);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->TotalFrames(), 1);
        EXPECT_EQ(picture->Picture()->Width(), form->ClientWidth());
        EXPECT_EQ(picture->Picture()->Height(), form->ClientHeight());
        EXPECT_EQ(picture->Width(), form->ClientWidth());
        EXPECT_EQ(picture->Height(), form->ClientHeight());
        delete form;
    }
}

TEST_F(SetupLayoutTest, TextsTheWindowsStartWith) {
    TForm* config = Create("Config");
    auto* address = Find<jIPEdit>(config, "ebIPAD");
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->GetText(), "0.0.0.0");
    EXPECT_EQ(Find(config, "ebPort")->Text(), "5001");
    TForm* log = Create("Syslog");
    EXPECT_EQ(log->Caption(), "Harbek Log");
    ASSERT_NE(Find<TListBox>(log, "lbLog"), nullptr);
    TForm* info = Create("Info");
    EXPECT_EQ(Find(info, "Label7")->Caption(), "HDD");
    TForm* network = Create("Network");
    EXPECT_EQ(Find(network, "lbDhcp")->Caption(), "OFF");
}

} // namespace
} // namespace setup_test
