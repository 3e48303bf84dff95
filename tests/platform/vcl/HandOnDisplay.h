// The tests that work controls by hand: a real X server of the test program's own (Xvfb), and xdotool
// as the hand, so that the window system routes the moves and the release as it does for a user.
#pragma once

#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"
#include "tests/support/Display.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace hand_on_display {

// Starts the program's one server (the toolkit stays connected to it until the program ends); returns
// why it could not, or nullptr.
inline const std::string* StartServer() {
    static testing_support::XvfbServer server;
    static std::string why;
    static const bool up = [] {
        if (!testing_support::HaveProgram("xdotool")) {
            why = "xdotool is not installed (make deps installs it)";
            return false;
        }
        if (!server.Start(1024, 768, why)) return false;
        setenv("DISPLAY", server.Display().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        return true;
    }();
    return up ? nullptr : &why;
}

// The program's events taken in for `ms` milliseconds.
inline void Pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (static_cast<int>(end - GetTickCount()) > 0)
        Application->ProcessMessages();
}

inline void Xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string output;
    ASSERT_EQ(testing_support::RunProgram(argv, {}, &output), 0) << output;
}

// A test whose hand works a control: the pointer moved to a point of the control, the button pressed
// and let go, the program's events taken in after each step. Skipped where there is no server.
class HandTest : public ::testing::Test {
public:
    static void SetUpTestSuite() { skip_ = StartServer(); }

protected:
    void SetUp() override {
        if (skip_) GTEST_SKIP() << *skip_;
    }
    void TearDown() override { form_testing::ResetApplication(); }

    static void Pump(int ms) { hand_on_display::Pump(ms); }
    static void Xdotool(const std::vector<std::string>& args) {
        hand_on_display::Xdotool(args);
        Pump(30);
    }
    static void MoveTo(TControl* c, int x, int y) {
        const TPoint p = c->ClientToScreen(Point(x, y));
        Xdotool({"mousemove", std::to_string(p.X), std::to_string(p.Y)});
    }
    static void Press(TControl* c, int x, int y) {
        MoveTo(c, x, y);
        Pump(100);
        Xdotool({"mousedown", "1"});
    }
    static void Release() { Xdotool({"mouseup", "1"}); }

    static inline const std::string* skip_ = nullptr;
};

} // namespace hand_on_display
