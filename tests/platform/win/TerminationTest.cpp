// Termination signals become messages posted to a window and read by the thread's loop, whichever
// thread the signal hits; the handling from before comes back when the forwarding stops.
#include "tests/platform/win/WinTestSupport.h"

#include "platform/win/Termination.h"

#include <gtest/gtest.h>

#include <csignal>
#include <thread>
#include <utility>
#include <vector>

namespace {

using wintest::PumpUntil;

TEST(TerminationSignals, EachBecomesAPostedMessageOnTheLoopsThread) {
    // The loop of this thread exists before the forwarding watches its pipe.
    CurrentApplication().ProcessMessages();
    std::vector<std::pair<WPARAM, LPARAM>> got;
    bool otherThread = false;
    const std::thread::id loop = std::this_thread::get_id();
    const HWND window = AllocateHWnd([&](TMessage& m) {
        if (m.Msg != WM_ENDSESSION) return;
        got.emplace_back(m.WParam, m.LParam);
        otherThread |= std::this_thread::get_id() != loop;
    });
    ::signal(SIGHUP, SIG_IGN);
    ForwardTerminationSignals(window, WM_ENDSESSION);
    ::raise(SIGTERM);
    std::thread([] { ::kill(::getpid(), SIGHUP); }).join();
    ::raise(SIGINT);
    EXPECT_TRUE(PumpUntil([&] { return got.size() == 3; }));
    const std::vector<std::pair<WPARAM, LPARAM>> expected{{1, SIGTERM}, {1, SIGHUP}, {1, SIGINT}};
    EXPECT_EQ(got, expected);
    EXPECT_FALSE(otherThread);

    StopTerminationSignals();
    // Ignored again, as before: the program lives on and nothing more is posted.
    ::raise(SIGHUP);
    wintest::PumpFor(100);
    EXPECT_EQ(got.size(), 3u);
    struct sigaction now {};
    ::sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    ::signal(SIGHUP, SIG_DFL);
    DeallocateHWnd(window);
}

} // namespace
