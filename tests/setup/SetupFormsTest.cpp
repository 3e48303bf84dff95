// What every setup window must hold to: it loads, it is hidden until shown, its controls lie where the
// user can reach them and do not cover each other.
#include "tests/setup/SetupWindows.h"

#include "controls/imgframe.h"
#include "platform/vcl/ComCtrls.h"

#include <set>

namespace setup_test {
namespace {

class SetupFormsTest : public SetupWindowTest {};

// Controls placed below the client area on purpose: the user never reaches them.
bool OutOfReach(const std::string& unit, const std::string& name) {
    static const std::set<std::pair<std::string, std::string>> outside = {
        {"Menu", "btnSave"},      {"Menu", "btnNetwork"},     {"Network", "btnMulticast"},
        {"Schedule", "ListBox1"}, {"SaveFolder", "ListBox1"},
    };
    return outside.count({unit, name}) > 0;
}

// The skin picture a borderless window is drawn on and dragged by: everything lies on it.
bool Backdrop(TControl* control) {
    TWinControl* parent = control->Parent();
    return dynamic_cast<TImgFrame*>(control) && dynamic_cast<TForm*>(parent) && control->Left() == 0 &&
           control->Top() == 0 && control->Width() == parent->ClientWidth() &&
           control->Height() == parent->ClientHeight();
}

// Sibling pairs that cover each other on purpose.
bool MayOverlap(const std::string& unit, const std::string& a, const std::string& b) {
    // The manual and event boxes lie over the channel pages: one set of controls serves every tab.
    if (unit != "Record2") return false;
    return (a == "PageControl1" && (b == "GroupBox1" || b == "GroupBox2")) ||
           (b == "PageControl1" && (a == "GroupBox1" || a == "GroupBox2"));
}

bool Intersect(const TRect& a, const TRect& b) {
    return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TEST_F(SetupFormsTest, EachWindowLoadsHiddenAndCanBeShown) {
    for (const SetupWindow& w : SetupWindows()) {
        SCOPED_TRACE(w.unit);
        TForm* form = w.create(Application);
        EXPECT_FALSE(form->Visible());
        EXPECT_FALSE(form->Showing());
        EXPECT_FALSE(form->Caption().empty());
        EXPECT_GT(ControlsOf(form).size(), 0u);
        form->Show();
        EXPECT_TRUE(form->Showing());
        form->Hide();
        EXPECT_FALSE(form->Showing());
    }
}

TEST_F(SetupFormsTest, AllWindowsLiveSideBySideInOneApplication) {
    std::vector<TForm*> forms;
    for (const SetupWindow& w : SetupWindows())
        forms.push_back(w.create(Application));
    std::set<std::string> names;
    for (TForm* form : forms) {
        EXPECT_FALSE(form->Visible()) << form->Name();
        EXPECT_TRUE(names.insert(form->Name()).second) << form->Name();
    }
    EXPECT_EQ(Screen->FormCount(), static_cast<int>(forms.size()));
}

TEST_F(SetupFormsTest, ControlsLieInsideTheirParents) {
    for (const SetupWindow& w : SetupWindows()) {
        SCOPED_TRACE(w.unit);
        TForm* form = w.create(Application);
        for (TControl* control : ControlsOf(form)) {
            if (dynamic_cast<TTabSheet*>(control)) continue; // placed by their page control
            const TRect inside = control->Parent()->ClientRect();
            const TRect r = control->BoundsRect();
            const bool within =
                r.Left >= 0 && r.Top >= 0 && r.Right <= inside.Right && r.Bottom <= inside.Bottom;
            if (OutOfReach(w.unit, control->Name()))
                EXPECT_GE(r.Top, inside.Bottom) << control->Name() << " should lie below the client area";
            else
                EXPECT_TRUE(within) << control->Name() << " (" << r.Left << ", " << r.Top << ", " << r.Right
                                    << ", " << r.Bottom << ") leaves " << control->Parent()->Name();
            EXPECT_GT(control->Width(), 0) << control->Name();
            EXPECT_GT(control->Height(), 0) << control->Name();
        }
    }
}

TEST_F(SetupFormsTest, SiblingsDoNotCoverEachOther) {
    for (const SetupWindow& w : SetupWindows()) {
        SCOPED_TRACE(w.unit);
        TForm* form = w.create(Application);
        std::vector<TWinControl*> parents{form};
        for (TControl* control : ControlsOf(form))
            if (auto* win = dynamic_cast<TWinControl*>(control)) parents.push_back(win);
        for (TWinControl* parent : parents) {
            if (dynamic_cast<TPageControl*>(parent)) continue; // its sheets share one place
            for (int i = 0; i < parent->ControlCount(); ++i)
                for (int j = i + 1; j < parent->ControlCount(); ++j) {
                    TControl* a = parent->Controls(i);
                    TControl* b = parent->Controls(j);
                    if (a->Owner() != form || b->Owner() != form) continue;
                    if (Backdrop(a) || Backdrop(b) || MayOverlap(w.unit, a->Name(), b->Name())) continue;
                    EXPECT_FALSE(Intersect(a->BoundsRect(), b->BoundsRect()))
                        << a->Name() << " and " << b->Name() << " overlap";
                }
        }
    }
}

} // namespace
} // namespace setup_test
