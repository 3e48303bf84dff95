#include "platform/win/Messages.h"
#include "platform/win/Application.h"

#include "platform/core/Threads.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Pumps until the condition holds or the time runs out.
template <typename Pred>
bool PumpUntil(Pred done, int milliseconds = 2000) {
    const auto limit = Clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (Clock::now() > limit) return false;
        CurrentApplication().ProcessMessages();
        Sleep(0);
    }
    return true;
}

struct Recorder {
    std::vector<TMessage> seen;
    HWND window = nullptr;
    Recorder() {
        window = AllocateHWnd([this](TMessage& m) {
            seen.push_back(m);
            m.Result = static_cast<LRESULT>(m.Msg) + 1;
        });
    }
    ~Recorder() { DeallocateHWnd(window); }
};

TEST(Messages, PostedMessagesArriveInOrder) {
    Recorder r;
    ASSERT_NE(r.window, nullptr);
    EXPECT_TRUE(PostMessage(r.window, WM_USER + 1, 10, 20));
    EXPECT_TRUE(PostMessage(r.window, WM_APP + 2, 30, -40));
    EXPECT_TRUE(r.seen.empty()) << "posting never calls the procedure";
    CurrentApplication().ProcessMessages();
    ASSERT_EQ(r.seen.size(), 2u);
    EXPECT_EQ(r.seen[0].Msg, WM_USER + 1);
    EXPECT_EQ(r.seen[0].WParam, 10u);
    EXPECT_EQ(r.seen[0].LParam, 20);
    EXPECT_EQ(r.seen[1].Msg, WM_APP + 2);
    EXPECT_EQ(r.seen[1].LParam, -40);
}

TEST(Messages, SendIsADirectCallWithResult) {
    Recorder r;
    EXPECT_EQ(SendMessage(r.window, WM_USER + 7, 1, 2), static_cast<LRESULT>(WM_USER + 8));
    EXPECT_EQ(r.seen.size(), 1u);
}

TEST(Messages, SendFromAnotherThreadIsAnsweredByTheOwner) {
    Recorder r;
    LRESULT result = 0;
    std::thread other([&] { result = SendMessage(r.window, WM_USER + 3, 0, 0); });
    EXPECT_TRUE(PumpUntil([&] { return !r.seen.empty(); }));
    other.join();
    EXPECT_EQ(result, static_cast<LRESULT>(WM_USER + 4));
}

TEST(Messages, DestroyedWindowLosesItsMessagesAndHandleIsNotReused) {
    int calls = 0;
    HWND first = AllocateHWnd([&](TMessage&) { ++calls; });
    ASSERT_TRUE(PostMessage(first, WM_USER, 0, 0));
    DeallocateHWnd(first);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(PostMessage(first, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    HWND second = AllocateHWnd([&](TMessage&) { ++calls; });
    EXPECT_NE(second, first);
    CurrentApplication().ProcessMessages();
    EXPECT_EQ(calls, 0);
    DeallocateHWnd(second);
}

TEST(Messages, HandlerMayDestroyItsOwnWindowAndPumpInside) {
    Recorder other;
    int calls = 0;
    HWND self = nullptr;
    self = AllocateHWnd([&](TMessage& m) {
        ++calls;
        if (m.Msg == WM_USER) {
            DeallocateHWnd(self);
            PostMessage(other.window, WM_USER + 50, 0, 0);
            CurrentApplication().ProcessMessages(); // re-entrant pump
        }
    });
    PostMessage(self, WM_USER, 0, 0);
    PostMessage(self, WM_USER + 1, 0, 0);
    CurrentApplication().ProcessMessages();
    CurrentApplication().ProcessMessages();
    EXPECT_EQ(calls, 1) << "the second message went with the window";
    ASSERT_EQ(other.seen.size(), 1u);
    EXPECT_EQ(other.seen[0].Msg, WM_USER + 50);
}

class CountingApplication : public TCustomApplication {
public:
    std::vector<std::string> errors;
    void HandleException(const std::exception& e) override { errors.push_back(e.what()); }
};

TEST(Messages, ExceptionFromAProcedureGoesToTheApplication) {
    CountingApplication app;
    SetCurrentApplication(&app);
    HWND w = AllocateHWnd([](TMessage& m) {
        if (m.Msg == WM_USER) throw std::runtime_error("boom");
        if (m.Msg == WM_USER + 1) throw 42;
    });
    PostMessage(w, WM_USER, 0, 0);
    PostMessage(w, WM_USER + 1, 0, 0);
    CurrentApplication().ProcessMessages();
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 0);
    DeallocateHWnd(w);
    SetCurrentApplication(nullptr);
    ASSERT_EQ(app.errors.size(), 3u);
    EXPECT_EQ(app.errors[0], "boom");
    EXPECT_EQ(app.errors[1], "Unknown exception");
}

TEST(Messages, RegisteredApplicationUnregistersWhenDestroyed) {
    {
        CountingApplication app;
        SetCurrentApplication(&app);
        EXPECT_EQ(&CurrentApplication(), &app);
    }
    EXPECT_EQ(dynamic_cast<CountingApplication*>(&CurrentApplication()), nullptr);
}

TEST(Messages, PostFromAnotherThreadWakesABlockedLoop) {
    Recorder r;
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        PostMessage(r.window, WM_USER + 9, 0, 0);
    });
    const auto t0 = Clock::now();
    // HandleMessage blocks in Qt's wait until something arrives.
    while (r.seen.empty() && Clock::now() - t0 < std::chrono::seconds(3))
        CurrentApplication().HandleMessage();
    poster.join();
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_LT(Clock::now() - t0, std::chrono::seconds(2));
}

} // namespace
