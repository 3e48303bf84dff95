#include "client/LinkWait.h"

#include "platform/core/SysTime.h"
#include "platform/core/Threads.h"
#include "platform/win/Application.h"

DWORD TickDistance(DWORD from, DWORD to) {
    const DWORD forward = to - from;
    const DWORD backward = from - to;
    return forward < backward ? forward : backward;
}

TWaitEnd PumpUntil(TActivity serves, CActivities& record, const std::function<bool()>& done, DWORD limitMs) {
    const DWORD start = GetTickCount();
    TCustomApplication& app = CurrentApplication();
    const CActivities::TWaiting waiting(record, serves);
    for (bool pumped = false;; pumped = true) {
        if (!record.Running(serves)) return TWaitEnd::Ended;
        if (done && done()) return TWaitEnd::Done;
        if (TickDistance(start, GetTickCount()) > limitMs || (limitMs == 0 && pumped))
            return TWaitEnd::TimedOut;
        app.ProcessMessages();
        // Waits for the next event (about a millisecond at most) instead of spinning.
        Sleep(0);
        if (app.Terminated()) return TWaitEnd::Terminated;
    }
}

TWaitEnd PumpFor(TActivity serves, CActivities& record, DWORD ms) {
    return PumpUntil(serves, record, nullptr, ms);
}
