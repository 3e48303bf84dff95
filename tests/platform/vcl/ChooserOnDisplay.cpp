// The file and folder choosers as a user meets them: a real X server, no test hook, keys typed through
// the server. Each chooser is first placed the way the program's windows place theirs (SetWindowPos
// HWND_TOPMOST on the foreground window); then it must stay up until it is answered, and afterwards a
// click on another window must reach that window.
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FormTesting.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/WinUser.h"
#include "tests/platform/vcl/HandOnDisplay.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

using namespace testing_support;
using std::chrono::milliseconds;

class ChooserOnDisplay : public ::testing::Test {
protected:
    static void SetUpTestSuite() { skip_ = hand_on_display::StartServer(); }

    void SetUp() override {
        if (skip_) GTEST_SKIP() << *skip_;
        form_ = new TForm(Application);
        form_->SetBorderStyle(bsNone);
        form_->SetBounds(600, 500, 200, 100);
        other_ = new TButton(form_);
        other_->SetParent(form_);
        other_->SetBounds(20, 20, 120, 30);
        other_->OnClick = [this](TObject*) { ++clicks_; };
        form_->Show();
        Pump(milliseconds(300));
    }

    void TearDown() override { form_testing::ResetApplication(); }

    static void Pump(milliseconds span) { hand_on_display::Pump(static_cast<int>(span.count())); }
    static void Xdotool(const std::vector<std::string>& args) { hand_on_display::Xdotool(args); }

    // Runs `execute` (which opens one chooser); once the chooser shows it is placed, checked still up,
    // and answered by `answer`. Returns what `execute` returned.
    bool Drive(const std::function<bool()>& execute, const std::function<void(HWND)>& answer) {
        TTimer timer(nullptr);
        timer.SetInterval(50);
        int step = 0;
        HWND dialog = nullptr;
        const DWORD giveUp = GetTickCount() + 15000;
        timer.OnTimer = [&](TObject*) {
            const HWND shown = GetForegroundWindow();
            if (step == 0) {
                if (shown == nullptr || shown == form_->Handle() || !IsWindowVisible(shown)) {
                    if (static_cast<int>(giveUp - GetTickCount()) < 0) {
                        ADD_FAILURE() << "no chooser came up";
                        timer.SetEnabled(false);
                    }
                    return;
                }
                dialog = shown;
                SetWindowPos(dialog, HWND_TOPMOST, 100, 80, 0, 0, SWP_NOSIZE);
                step = 1;
            } else if (step < 4) {
                ++step; // a few turns of the loop for whatever the placement set off
            } else {
                timer.SetEnabled(false);
                stillUp_ = GetForegroundWindow() == dialog && IsWindowVisible(dialog);
                answer(dialog);
            }
        };
        timer.SetEnabled(true);
        const bool result = execute();
        timer.SetEnabled(false);
        return result;
    }

    // A click on the other window after the chooser closed.
    bool OtherWindowTakesAClick() {
        const TPoint at = other_->ClientToScreen(Point(60, 15));
        const int before = clicks_;
        Xdotool({"mousemove", std::to_string(at.X), std::to_string(at.Y), "click", "1"});
        const DWORD end = GetTickCount() + 5000;
        while (clicks_ == before && static_cast<int>(end - GetTickCount()) > 0)
            Application->ProcessMessages();
        return clicks_ > before;
    }

    static inline const std::string* skip_ = nullptr;
    TForm* form_ = nullptr;
    TButton* other_ = nullptr;
    int clicks_ = 0;
    bool stillUp_ = false;
};

TEST_F(ChooserOnDisplay, StaysUpUntilAnsweredAndGivesTheOtherWindowsBack) {
    TempDir dir;
    WriteFileBytes(dir.File("clip.bin"), "x");
    std::filesystem::create_directory(dir.Path() / "saved");
    const auto type = [](const std::string& text) {
        return [text](HWND) {
            Xdotool({"type", "--delay", "10", text});
            Pump(milliseconds(200));
            Xdotool({"key", "Return"});
        };
    };
    const auto key = [](const std::string& name) { return [name](HWND) { Xdotool({"key", name}); }; };
    const auto closeMessage = [](HWND dialog) { PostMessage(dialog, WM_CLOSE, 0, 0); };

    std::string chosen;
    const auto open = [&] {
        TOpenDialog d(nullptr);
        d.SetInitialDir(dir.Path().string());
        const bool ok = d.Execute();
        chosen = d.FileName();
        return ok;
    };
    const auto save = [&] {
        TSaveDialog d(nullptr);
        d.SetInitialDir(dir.Path().string());
        d.SetFilter("Text files (*.txt)|*.txt");
        d.SetDefaultExt("txt");
        const bool ok = d.Execute();
        chosen = d.FileName();
        return ok;
    };
    const auto folder = [&] {
        chosen = dir.Path().string();
        return SelectDirectory("Select a folder", "", chosen);
    };
    const struct {
        const char* name;
        std::function<bool()> execute;
        std::function<void(HWND)> answer;
        bool accepted;
        std::string result;
    } roads[] = {
        {"open, a typed name", open, type(dir.File("clip.bin")), true, dir.File("clip.bin")},
        {"open, Escape", open, key("Escape"), false, ""},
        {"open, WM_CLOSE", open, closeMessage, false, ""},
        {"save, the default extension", save, type("log"), true, dir.File("log.txt")},
        {"save, Escape", save, key("Escape"), false, ""},
        {"folder, a typed path", folder, type(dir.File("saved")), true, dir.File("saved")},
        {"folder, Escape", folder, key("Escape"), false, dir.Path().string()},
    };
    for (const auto& road : roads) {
        SCOPED_TRACE(road.name);
        stillUp_ = false;
        chosen.clear();
        EXPECT_EQ(Drive(road.execute, road.answer), road.accepted);
        EXPECT_TRUE(stillUp_) << "the chooser went away before it was answered";
        EXPECT_EQ(chosen, road.result);
        EXPECT_TRUE(OtherWindowTakesAClick());
    }
}

} // namespace
