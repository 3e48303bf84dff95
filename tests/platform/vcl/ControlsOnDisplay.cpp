// The class library's standard controls as a hand uses them, on a real X server of the test's own (Xvfb)
// through xdotool: the button held and let go with a pause between, drags in steps, keys typed through
// the server. Only there does the window system route the moves and the release to whoever holds the
// mouse, so only there does a control that takes the mouse from its own toolkit widget show it: a drag
// that selects nothing, a box that never ticks.
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/Mask.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/platform/vcl/HandOnDisplay.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace testing_support;

class ControlsOnDisplay : public hand_on_display::HandTest {
public:
    void SetUp() override {
        HandTest::SetUp();
        if (IsSkipped()) return;
        form_ = new TForm(Application);
        form_->SetBorderStyle(bsNone);
        form_->SetBounds(300, 200, 320, 200);
        form_->Show();
        Pump(300);
    }

    // Pressed, held 150 ms, let go.
    static void ClickAt(TControl* c, int x, int y) {
        Press(c, x, y);
        Pump(150);
        Release();
        Pump(100);
    }
    // Pressed at one point, moved to the other in steps of about 8 pixels, let go.
    static void DragOver(TControl* c, TPoint from, TPoint to) {
        Press(c, from.X, from.Y);
        const int steps = std::max(1, std::max(std::abs(to.X - from.X), std::abs(to.Y - from.Y)) / 8);
        for (int k = 1; k <= steps; ++k) {
            MoveTo(c, from.X + (to.X - from.X) * k / steps, from.Y + (to.Y - from.Y) * k / steps);
            Pump(40);
        }
        Release();
        Pump(100);
    }
    static void Type(const std::string& text) {
        Xdotool({"type", "--delay", "30", text});
        Pump(100);
    }
    // Dragged from one point to the other, then Z typed: the control's text after.
    template <class T>
    static std::string DragThenZ(T* control, TPoint from, TPoint to) {
        DragOver(control, from, to);
        Type("Z");
        return control->Text();
    }

    // <build>/snapshots/platform/controls-<n>.png, for a person to look at.
    static std::string ShotPath(int n) {
        const std::filesystem::path folder =
            std::filesystem::path(std::getenv("HARBEK_BINARY")) / "snapshots/platform";
        std::filesystem::create_directories(folder);
        return (folder / ("controls-" + std::to_string(n) + ".png")).string();
    }

    template <class T>
    T* Make(int left, int top, int width, int height) {
        auto* control = new T(form_);
        control->SetParent(form_);
        control->SetBounds(left, top, width, height);
        return control;
    }

    // A list box of four lines, shown.
    TListBox* FourLines() {
        auto* list = Make<TListBox>(20, 20, 160, 120);
        for (const char* item : {"one", "two", "three", "four"})
            list->Items()->Add(item);
        Pump(100);
        return list;
    }
    // Where the line `index` of a list box begins.
    static int LineTop(TListBox* list, int index) {
        int y = 0;
        while (y < list->Height() && list->ItemAtPos(Point(20, y), true) != index)
            ++y;
        return y;
    }

    // A one-line text control holding `text`, shown.
    template <class T>
    T* Holding(const std::string& text) {
        T* control = Make<T>(20, 20, 160, 24);
        control->SetText(text);
        Pump(100);
        return control;
    }

    TForm* form_ = nullptr;
};

// Each row makes its control, works it by hand and says what came of it, as the user sees it.
TEST_F(ControlsOnDisplay, EachControlDoesWhatTheHandDoes) {
    int clicks = 0;
    const struct {
        const char* name;
        std::function<std::string(ControlsOnDisplay&)> use;
        const char* outcome;
    } rows[] = {
        {"a drag over an edit's text selects it, and a key replaces it",
         [](ControlsOnDisplay& t) {
             return DragThenZ(t.Holding<TEdit>("abcdefghij"), Point(3, 12), Point(200, 12));
         },
         "Z"},
        {"a click after an edit's text puts the caret there",
         [](ControlsOnDisplay& t) {
             auto* edit = t.Holding<TEdit>("abcdefghij");
             ClickAt(edit, 150, 12);
             Type("Z");
             return edit->Text();
         },
         "abcdefghijZ"},
        {"a drag back over part of an edit's text selects that part",
         [](ControlsOnDisplay& t) {
             auto* edit = t.Holding<TEdit>("abcdefghij");
             ClickAt(edit, 150, 12);
             return DragThenZ(edit, Point(150, 12), Point(-30, 12));
         },
         "Z"},
        {"a drag over a mask edit's text selects it",
         [](ControlsOnDisplay& t) {
             return DragThenZ(t.Holding<TMaskEdit>("abcdefghij"), Point(3, 12), Point(200, 12));
         },
         "Z"},
        {"a drag over a memo's lines selects them",
         [](ControlsOnDisplay& t) {
             auto* memo = t.Make<TMemo>(20, 20, 200, 80);
             memo->Lines()->Add("first line");
             memo->Lines()->Add("second line");
             t.Pump(100);
             return DragThenZ(memo, Point(4, 6), Point(260, 70));
         },
         // A memo's text is its lines, each ended by a line break.
         "Z\r\n"},
        {"a drag over an editable combo box's text selects it",
         [](ControlsOnDisplay& t) {
             auto* combo = t.Make<TComboBox>(20, 20, 160, 24);
             combo->Items()->Add("abcdefghij");
             combo->SetText("abcdefghij");
             t.Pump(100);
             return DragThenZ(combo, Point(4, 12), Point(125, 12));
         },
         "Z"},
        {"a click on a list box's third line selects it",
         [](ControlsOnDisplay& t) {
             auto* list = t.FourLines();
             ClickAt(list, 20, LineTop(list, 2) + 4);
             return std::to_string(list->ItemIndex());
         },
         "2"},
        {"a drag down a list box ends on the line it was let go on",
         [](ControlsOnDisplay& t) {
             auto* list = t.FourLines();
             DragOver(list, Point(20, 4), Point(20, LineTop(list, 3) + 4));
             return std::to_string(list->ItemIndex());
         },
         "3"},
        {"a click ticks a check box, a second one clears it",
         [](ControlsOnDisplay& t) {
             auto* box = t.Make<TCheckBox>(20, 20, 160, 24);
             box->SetCaption("tick");
             t.Pump(100);
             ClickAt(box, 8, 12);
             const std::string first = box->Checked() ? "ticked" : "clear";
             ClickAt(box, 8, 12);
             return first + " " + (box->Checked() ? "ticked" : "clear");
         },
         "ticked clear"},
        {"a click checks a radio button",
         [](ControlsOnDisplay& t) {
             auto* radio = t.Make<TRadioButton>(20, 20, 160, 24);
             radio->SetCaption("choose");
             t.Pump(100);
             ClickAt(radio, 8, 12);
             return std::string(radio->Checked() ? "checked" : "not checked");
         },
         "checked"},
        {"a button clicks once; pressed and left before the release, not at all",
         [&clicks](ControlsOnDisplay& t) {
             auto* button = t.Make<TButton>(20, 20, 120, 30);
             button->SetCaption("press");
             button->OnClick = [&clicks](TObject*) { ++clicks; };
             t.Pump(100);
             ClickAt(button, 60, 15);
             DragOver(button, Point(60, 15), Point(60, 90));
             return std::to_string(clicks);
         },
         "1"},
        {"a click on a page control's second tab shows that page, one on the first goes back",
         [](ControlsOnDisplay& t) {
             auto* pages = t.Make<TPageControl>(20, 20, 260, 150);
             for (const char* caption : {"First", "Second"}) {
                 auto* page = new TTabSheet(pages);
                 page->SetPageControl(pages);
                 page->SetCaption(caption);
             }
             pages->SetActivePageIndex(0);
             t.Pump(100);
             // The tabs lie along the top edge, each about as wide as its caption and a margin.
             ClickAt(pages, 70, pages->DisplayRect().Top / 2);
             const std::string second = std::to_string(pages->ActivePageIndex());
             ClickAt(pages, 15, pages->DisplayRect().Top / 2);
             return second + " " + std::to_string(pages->ActivePageIndex());
         },
         "1 0"},
        {"a click on a grid's cell makes it the current one",
         [](ControlsOnDisplay& t) {
             auto* grid = t.Make<TStringGrid>(20, 20, 280, 160);
             grid->SetColCount(4);
             grid->SetRowCount(5);
             t.Pump(100);
             const TRect cell = grid->CellRect(2, 3);
             ClickAt(grid, (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
             return std::to_string(grid->Col()) + "," + std::to_string(grid->Row());
         },
         "2,3"},
    };
    int shot = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string outcome = row.use(*this);
        EXPECT_EQ(outcome, row.outcome);
        form_testing::SaveFormSnapshot(form_, ShotPath(++shot));
        // Nothing goes on once the hand is off, and the next row starts on a clean form.
        while (form_->ControlCount() > 0)
            delete form_->Controls(0);
        Pump(100);
    }
}

} // namespace
