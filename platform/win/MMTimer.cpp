#include "platform/win/MMSystem.h"

#include "platform/core/Debug.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kPeriodMin = 1;
constexpr UINT kPeriodMax = 1000000;

struct TimerEvent {
    UINT Id = 0;
    std::chrono::milliseconds Period{0};
    bool Periodic = false;
    LPTIMECALLBACK Callback = nullptr;
    DWORD_PTR User = 0;
    Clock::time_point Due;
};

class TimerService {
public:
    UINT Add(UINT delay, LPTIMECALLBACK callback, DWORD_PTR user, bool periodic) {
        std::lock_guard lock(mutex_);
        if (!started_) {
            started_ = true;
            std::thread([this] { Run(); }).detach();
        }
        TimerEvent e;
        e.Id = nextId_++;
        if (nextId_ == 0) nextId_ = 1;
        e.Period = std::chrono::milliseconds(delay);
        e.Periodic = periodic;
        e.Callback = callback;
        e.User = user;
        e.Due = Clock::now() + e.Period;
        events_[e.Id] = e;
        changed_.notify_all();
        return e.Id;
    }

    bool Kill(UINT id) {
        std::unique_lock lock(mutex_);
        const bool known = events_.erase(id) != 0;
        if (known) changed_.notify_all();
        // From the callback itself nothing can be waited for; the erase already stops the next tick.
        if (std::this_thread::get_id() != timerThread_) idle_.wait(lock, [&] { return running_ != id; });
        return known;
    }

private:
    void Run() {
        std::unique_lock lock(mutex_);
        timerThread_ = std::this_thread::get_id();
        for (;;) {
            if (events_.empty()) {
                changed_.wait(lock);
                continue;
            }
            auto next = events_.begin();
            for (auto it = events_.begin(); it != events_.end(); ++it)
                if (it->second.Due < next->second.Due) next = it;
            const Clock::time_point due = next->second.Due;
            if (Clock::now() < due) {
                changed_.wait_until(lock, due);
                continue;
            }
            TimerEvent fired = next->second;
            if (fired.Periodic) {
                // Keep the phase; after a long stall skip the missed ticks instead of bursting.
                next->second.Due += fired.Period;
                const auto now = Clock::now();
                if (next->second.Due + fired.Period < now) next->second.Due = now + fired.Period;
            } else {
                events_.erase(next);
            }
            running_ = fired.Id;
            lock.unlock();
            try {
                fired.Callback(fired.Id, 0, fired.User, 0, 0);
            } catch (const std::exception& e) {
                DebugTrace("timeSetEvent", std::string("callback raised: ") + e.what());
            } catch (...) {
                DebugTrace("timeSetEvent", "callback raised");
            }
            lock.lock();
            running_ = 0;
            idle_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::condition_variable idle_;
    std::map<UINT, TimerEvent> events_;
    UINT nextId_ = 1;
    UINT running_ = 0;
    bool started_ = false;
    std::thread::id timerThread_;
};

TimerService& Service() {
    // Never destroyed: its thread may still be waiting while the program ends.
    static auto* service = new TimerService();
    return *service;
}

bool InRange(UINT period) {
    return period >= kPeriodMin && period <= kPeriodMax;
}

} // namespace

MMRESULT timeGetDevCaps(TIMECAPS* caps, UINT size) {
    if (caps == nullptr || size < sizeof(TIMECAPS)) return TIMERR_NOCANDO;
    caps->wPeriodMin = kPeriodMin;
    caps->wPeriodMax = kPeriodMax;
    return TIMERR_NOERROR;
}

MMRESULT timeBeginPeriod(UINT period) {
    return InRange(period) ? TIMERR_NOERROR : TIMERR_NOCANDO;
}

MMRESULT timeEndPeriod(UINT period) {
    return InRange(period) ? TIMERR_NOERROR : TIMERR_NOCANDO;
}

MMRESULT timeSetEvent(UINT delay, UINT, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags) {
    if (!InRange(delay) || callback == nullptr) return 0;
    return Service().Add(delay, callback, user, (flags & TIME_PERIODIC) != 0);
}

MMRESULT timeKillEvent(UINT timerId) {
    return Service().Kill(timerId) ? TIMERR_NOERROR : MMSYSERR_INVALPARAM;
}

DWORD timeGetTime() {
    return static_cast<DWORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count());
}
