#include "client/LinkWait.h"

#include "platform/core/SysTime.h"
#include "platform/core/Threads.h"
#include "platform/win/Application.h"

DWORD TickDistance(DWORD from, DWORD to) {
    const DWORD forward = to - from;
    const DWORD backward = from - to;
    return forward < backward ? forward : backward;
}

TWaitEnd PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
    const DWORD start = GetTickCount();
    TCustomApplication& app = CurrentApplication();
    for (;;) {
        if (done && done()) return TWaitEnd::Done;
        if (TickDistance(start, GetTickCount()) > limitMs) return TWaitEnd::TimedOut;
        app.ProcessMessages();
        // Waits for the next event (about a millisecond at most) instead of spinning.
        Sleep(0);
        if (app.Terminated()) return TWaitEnd::Terminated;
    }
}

bool PumpFor(DWORD ms) {
    return PumpUntil(nullptr, ms) != TWaitEnd::Terminated;
}
