#include "platform/core/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long ElapsedMs(Clock::time_point since) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

TEST(Event, TimeLimitRunsOut) {
    HANDLE e = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    const auto t0 = Clock::now();
    EXPECT_EQ(WaitForSingleObject(e, 50), WAIT_TIMEOUT);
    EXPECT_GE(ElapsedMs(t0), 45);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    CloseHandle(e);
}

TEST(Event, AutoResetWakesOnce) {
    HANDLE e = CreateEvent(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    SetEvent(e);
    EXPECT_EQ(WaitForSingleObject(e, 10), WAIT_OBJECT_0);
    CloseHandle(e);
}

TEST(Event, ManualResetStaysUntilReset) {
    HANDLE e = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    SetEvent(e);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_OBJECT_0);
    ResetEvent(e);
    EXPECT_EQ(WaitForSingleObject(e, 0), WAIT_TIMEOUT);
    CloseHandle(e);
}

TEST(Event, SetFromAnotherThreadWakesTheWaiter) {
    HANDLE e = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    std::thread setter([e] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        SetEvent(e);
    });
    const auto t0 = Clock::now();
    EXPECT_EQ(WaitForSingleObject(e, 5000), WAIT_OBJECT_0);
    EXPECT_LT(ElapsedMs(t0), 4000);
    setter.join();
    CloseHandle(e);
}

// Two threads hand a signal back and forth: a set that lands while the other side is just going to
// sleep must still wake it.
TEST(Event, NoSignalIsLostBetweenTwoThreads) {
    HANDLE ping = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    HANDLE pong = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    constexpr int kRounds = 2000;
    std::atomic<int> lost{0};
    std::thread other([&] {
        for (int i = 0; i < kRounds && lost.load() == 0; ++i) {
            if (WaitForSingleObject(ping, 5000) != WAIT_OBJECT_0) ++lost;
            SetEvent(pong);
        }
    });
    for (int i = 0; i < kRounds && lost.load() == 0; ++i) {
        SetEvent(ping);
        if (WaitForSingleObject(pong, 5000) != WAIT_OBJECT_0) ++lost;
    }
    other.join();
    EXPECT_EQ(lost.load(), 0);
    CloseHandle(ping);
    CloseHandle(pong);
}

TEST(Handles, BadHandlesFail) {
    EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
    EXPECT_EQ(SetEvent(nullptr), FALSE);
    EXPECT_EQ(CloseHandle(INVALID_HANDLE_VALUE), FALSE);
    DWORD code = 0;
    EXPECT_EQ(GetExitCodeThread(nullptr, &code), FALSE);
}

DWORD StopWhenAsked(LPVOID p) {
    auto* stop = static_cast<std::atomic<bool>*>(p);
    while (!stop->load())
        Sleep(1);
    return 7;
}

TEST(Thread, CooperativeStopJoinAndExitCode) {
    std::atomic<bool> stop{false};
    DWORD id = 0;
    HANDLE t = CreateThread(nullptr, 0, &StopWhenAsked, &stop, 0, &id);
    ASSERT_NE(t, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_NE(id, GetCurrentThreadId());
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(t, 20), WAIT_TIMEOUT);
    stop = true;
    EXPECT_EQ(WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(GetExitCodeThread(t, &code));
    EXPECT_EQ(code, 7u);
    CloseHandle(t);
}

TEST(Thread, HandleMayCloseWhileRunning) {
    std::atomic<bool> stop{false};
    HANDLE t = CreateThread(nullptr, 0, &StopWhenAsked, &stop, 0, nullptr);
    CloseHandle(t);
    stop = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    SUCCEED() << "the thread released its own reference without touching freed memory (ASan)";
}

TEST(Thread, SuspendedStartsOnResume) {
    std::atomic<bool> stop{true};
    HANDLE t = CreateThread(nullptr, 0, &StopWhenAsked, &stop, CREATE_SUSPENDED, nullptr);
    EXPECT_EQ(WaitForSingleObject(t, 20), WAIT_TIMEOUT);
    ResumeThread(t);
    EXPECT_EQ(WaitForSingleObject(t, 5000), WAIT_OBJECT_0);
    CloseHandle(t);
}

TEST(LastError, IsPerThread) {
    SetLastError(10061);
    std::thread other([] {
        EXPECT_EQ(GetLastError(), 0u);
        SetLastError(5);
    });
    other.join();
    EXPECT_EQ(GetLastError(), 10061u);
}

TEST(CriticalSection, IsRecursiveAndExcludes) {
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EnterCriticalSection(&cs);
    std::atomic<bool> got{true};
    std::thread other([&] { got = TryEnterCriticalSection(&cs) != FALSE; });
    other.join();
    EXPECT_FALSE(got.load());
    LeaveCriticalSection(&cs);
    LeaveCriticalSection(&cs);
    std::thread again([&] {
        got = TryEnterCriticalSection(&cs) != FALSE;
        if (got) LeaveCriticalSection(&cs);
    });
    again.join();
    EXPECT_TRUE(got.load());
    DeleteCriticalSection(&cs);
}

int gIdleCalls = 0;
void CountingWaiter(DWORD) {
    ++gIdleCalls;
}

TEST(Sleep, IdleWaiterIsPerThread) {
    gIdleCalls = 0;
    SetThreadIdleWaiter(&CountingWaiter);
    Sleep(0);
    std::thread other([] { Sleep(0); });
    other.join();
    SetThreadIdleWaiter(nullptr);
    Sleep(0);
    EXPECT_EQ(gIdleCalls, 1);
}

} // namespace
