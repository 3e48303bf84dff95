// The scroll bar as a hand moves it, on a real X server of the test's own (Xvfb) through xdotool: the
// button held and let go with a pause between, drags in steps. Only there does the window system route
// the moves and the release to whoever holds the mouse.
#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "tests/platform/vcl/HandOnDisplay.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace testing_support;

class ScrollBarOnDisplay : public hand_on_display::HandTest {
public:
    void SetUp() override {
        HandTest::SetUp();
        if (IsSkipped()) return;
        form_ = new TForm(Application);
        form_->SetBorderStyle(bsNone);
        form_->SetBounds(300, 300, 240, 60);
        bar_ = new TScrollBar(form_);
        bar_->SetParent(form_);
        // As the camera page has its brightness and contrast.
        bar_->SetBounds(20, 20, 152, 17);
        bar_->SetMax(100);
        bar_->SetLargeChange(10);
        bar_->SetPosition(50);
        form_->Show();
        Pump(300);
    }

    // Pressed at `x` from the bar's left edge (at mid height, as everywhere here), held `ms`, let go.
    void Hold(int x, int ms) {
        Press(bar_, x, 8);
        Pump(ms);
        Release();
    }

    // Pressed at `from`, moved to `to` in steps of about 8 pixels, let go. The position halfway.
    int Drag(int from, int to) {
        Press(bar_, from, 8);
        const int steps = std::max(1, std::abs(to - from) / 8);
        int halfway = -1;
        for (int k = 1; k <= steps; ++k) {
            MoveTo(bar_, from + (to - from) * k / steps, 8);
            Pump(40);
            if (k == steps / 2) halfway = bar_->Position();
        }
        Release();
        return halfway;
    }

    TForm* form_ = nullptr;
    TScrollBar* bar_ = nullptr;
};

// The bar is 152 wide: its arrows are the 17 pixels at each end, its thumb sits in the middle at 50.
TEST_F(ScrollBarOnDisplay, MovesAsTheHandDoesAndStopsWhenLetGo) {
    const struct {
        const char* name;
        std::function<void(ScrollBarOnDisplay&)> hand;
        int lo, hi; // where it ends
    } rows[] = {
        {"a click on the right arrow moves one step", [](auto& t) { t.Hold(146, 150); }, 51, 51},
        {"a click on the left arrow moves one step back", [](auto& t) { t.Hold(6, 150); }, 49, 49},
        {"a click in the track right of the thumb moves a page", [](auto& t) { t.Hold(125, 150); }, 60, 60},
        {"a click in the track left of the thumb moves a page back", [](auto& t) { t.Hold(27, 150); }, 40,
         40},
        // After half a second the arrow repeats, every 50 ms or so while it is held.
        {"a held arrow repeats while held", [](auto& t) { t.Hold(146, 1200); }, 55, 80},
        {"the thumb dragged past the right end", [](auto& t) { t.Drag(76, 200); }, 100, 100},
        {"the thumb dragged past the left end", [](auto& t) { t.Drag(76, -40); }, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        bar_->SetPosition(50);
        Pump(100);
        row.hand(*this);
        Pump(100);
        const int released = bar_->Position();
        EXPECT_GE(released, row.lo);
        EXPECT_LE(released, row.hi);
        // Nothing moves it once the hand is off: no repeat left running.
        Pump(1000);
        EXPECT_EQ(bar_->Position(), released) << "it went on moving after the release";
    }
}

TEST_F(ScrollBarOnDisplay, TheThumbFollowsTheDrag) {
    std::vector<int> seen;
    bar_->OnChange = [&](TObject*) { seen.push_back(bar_->Position()); };
    const int halfway = Drag(76, 136);
    EXPECT_GT(halfway, 50) << "the thumb stood still under the mouse";
    EXPECT_LT(halfway, bar_->Position());
    EXPECT_GT(seen.size(), 2u) << "every step of the drag is a change";
}

} // namespace
