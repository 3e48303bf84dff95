// The millisecond timer: starting and stopping, clamping, merged ticks per timer, failures in the
// handler, and two timers at the frame rates keeping their own rates.
#include "controls/MMTimer.h"
#include "tests/controls/ControlsTestSupport.h"

#include <chrono>
#include <thread>

namespace {

using namespace controls_test;
using Mmtimer::TMMTimer;

void Pump(int ms) {
    form_testing::WaitUntil([] { return false; }, ms);
}

class MMTimerTest : public ::testing::Test {
protected:
    // The application object comes first, as in the client.
    void SetUp() override { Application->ProcessMessages(); }
    void TearDown() override { form_testing::ResetApplication(); }
};

TEST_F(MMTimerTest, StartsAtConstructionAndStopsOnRequest) {
    TMMTimer timer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_NE(timer.TimerId(), 0u);
    timer.SetEnabled(false);
    EXPECT_EQ(timer.TimerId(), 0u);
    timer.SetEnabled(false); // twice: nothing more
    EXPECT_FALSE(timer.Enabled());
}

TEST_F(MMTimerTest, IntervalZeroNeverFires) {
    TMMTimer timer(nullptr);
    timer.SetEnabled(false);
    timer.SetInterval(0);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) { ++ticks; };
    timer.SetEnabled(true);
    EXPECT_EQ(timer.TimerId(), 0u);
    EXPECT_EQ(timer.Interval(), 0u);
    Pump(50);
    EXPECT_EQ(ticks, 0);
}

TEST_F(MMTimerTest, IntervalChangesRestartOnlyARunningTimer) {
    TMMTimer timer(nullptr);
    const UINT id = timer.TimerId();
    timer.SetInterval(1000); // same value: no restart
    EXPECT_EQ(timer.TimerId(), id);
    timer.SetInterval(500);
    EXPECT_NE(timer.TimerId(), id);
    EXPECT_EQ(timer.Interval(), 500u);
    timer.SetEnabled(false);
    timer.SetInterval(40); // disabled: only stored
    EXPECT_EQ(timer.TimerId(), 0u);
    EXPECT_EQ(timer.Interval(), 40u);
    timer.SetEnabled(true);
    EXPECT_NE(timer.TimerId(), 0u);
}

TEST_F(MMTimerTest, PeriodsAreClampedToTheDeviceRange) {
    TIMECAPS caps;
    ASSERT_EQ(timeGetDevCaps(&caps, sizeof(caps)), TIMERR_NOERROR);
    TMMTimer timer(nullptr);
    timer.SetInterval(caps.wPeriodMax + 1000u);
    EXPECT_EQ(timer.Interval(), caps.wPeriodMax);
    timer.SetEnabled(false);
}

TEST_F(MMTimerTest, ABlockedLoopGetsOneTickNotTen) {
    TMMTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) { ++ticks; };
    timer.SetInterval(50);
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // ten periods without the loop
    Application->ProcessMessages();
    // The ten merge into one; a loaded machine may let the next period's tick in while the loop runs.
    EXPECT_GE(ticks, 1);
    EXPECT_LE(ticks, 2);
    timer.SetEnabled(false);
}

// Waits, without handling anything, until the timer's tick message stands in the queue.
bool TickQueued(const TMMTimer& timer) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    MSG msg;
    while (
        !PeekMessage(&msg, timer.Handle(), Mmtimer::WM_MMTIMER_TICK, Mmtimer::WM_MMTIMER_TICK, PM_NOREMOVE)) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

TEST_F(MMTimerTest, NoTickAfterStopEvenWhenOneIsQueued) {
    TMMTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) { ++ticks; };
    timer.SetInterval(5);
    ASSERT_TRUE(TickQueued(timer));
    ASSERT_EQ(ticks, 0);
    timer.SetEnabled(false);
    Pump(50);
    EXPECT_EQ(ticks, 0);
}

TEST_F(MMTimerTest, AFailingHandlerReachesTheApplicationAndTheTimerGoesOn) {
    form_testing::ScopedMessageAnswer answer(IDOK);
    TMMTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
        ++ticks;
        throw Exception("handler failed");
    };
    timer.SetInterval(10);
    form_testing::WaitUntil([&] { return ticks >= 3; }, 3000);
    timer.SetEnabled(false);
    EXPECT_GE(ticks, 3);
    ASSERT_EQ(static_cast<int>(answer.Asked().size()), ticks);
    EXPECT_NE(answer.Asked()[0].Text.find("handler failed"), std::string::npos);
}

TEST_F(MMTimerTest, DestroyingARunningTimerStopsIt) {
    int ticks = 0;
    auto* timer = new TMMTimer(nullptr);
    timer->OnTimer = [&](TObject*) { ++ticks; };
    timer->SetInterval(5);
    ASSERT_TRUE(TickQueued(*timer));
    delete timer;
    Pump(40);
    EXPECT_EQ(ticks, 0);
}

TEST_F(MMTimerTest, TwoTimersKeepTheirOwnRates) {
    // The frame clocks of the two video standards running together.
    TMMTimer ntsc(nullptr), pal(nullptr);
    int a = 0, b = 0;
    ntsc.OnTimer = [&](TObject*) { ++a; };
    pal.OnTimer = [&](TObject*) { ++b; };
    ntsc.SetInterval(33);
    pal.SetInterval(40);
    const auto start = std::chrono::steady_clock::now();
    Pump(1000);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    ntsc.SetEnabled(false);
    pal.SetEnabled(false);
    // Generous bounds: a busy machine may merge some ticks, but neither timer starves the other.
    EXPECT_GE(a, static_cast<int>(ms / 33 * 0.6)) << ms;
    EXPECT_GE(b, static_cast<int>(ms / 40 * 0.6)) << ms;
    EXPECT_LE(a, static_cast<int>(ms / 33) + 2);
    EXPECT_LE(b, static_cast<int>(ms / 40) + 2);
}

TEST_F(MMTimerTest, OneTimersMergedTicksDoNotTakeAnothers) {
    // A slow handler on one timer: the other still gets every tick it is due.
    TMMTimer slow(nullptr), fast(nullptr);
    int slowTicks = 0, fastTicks = 0;
    slow.OnTimer = [&](TObject*) {
        ++slowTicks;
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    };
    fast.OnTimer = [&](TObject*) { ++fastTicks; };
    slow.SetInterval(10);
    fast.SetInterval(50);
    Pump(600);
    slow.SetEnabled(false);
    fast.SetEnabled(false);
    EXPECT_GE(fastTicks, 8);
    EXPECT_GE(slowTicks, 10);
}

TEST_F(MMTimerTest, ReadsItsPropertiesInTheDefinitionsOrder) {
    TMMTimer timer(nullptr);
    timer.SetEnabled(false); // as streamed: Enabled = False, then Interval = 33
    timer.SetInterval(33);
    EXPECT_EQ(timer.TimerId(), 0u);
    EXPECT_EQ(timer.Interval(), 33u);
}

} // namespace
