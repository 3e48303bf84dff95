// The polling waits of the recorder link: they pump the GUI thread's messages and yield between turns,
// so socket events, timers and repaints keep running while a caller waits. Every wait reads the one
// millisecond tick (GetTickCount), which tests replace to run long limits at once.
#pragma once

#include "platform/core/Types.h"

#include <functional>

enum class TWaitEnd {
    Done,       // the condition held
    TimedOut,   // more than the limit passed
    Terminated, // the application is ending
};

// Milliseconds between two tick readings, either way round and across the counter's wrap.
DWORD TickDistance(DWORD from, DWORD to);

// Checks `done` first, then the limit, then pumps once, yields and checks for the application's end;
// again until one of them ends the wait. A condition that holds on entry ends it at once.
TWaitEnd PumpUntil(const std::function<bool()>& done, DWORD limitMs);

// Pumps for the whole time; false when the application ended meanwhile.
bool PumpFor(DWORD ms);
