// The polling waits of the client: they pump the GUI thread's messages and yield between turns, so
// socket events, timers and repaints keep running while a caller waits. Every wait names the activity
// it serves and ends as soon as that activity no longer runs (a way out was taken, or another handler
// ended it); its caller then stops quietly, since whoever ended the activity has told the user and
// restored the windows. Every wait reads the one millisecond tick (GetTickCount), which tests replace
// to run long limits at once.
#pragma once

#include "client/Activities.h"
#include "platform/core/Types.h"

#include <functional>

enum class TWaitEnd {
    Done,       // the condition held
    TimedOut,   // more than the limit passed
    Terminated, // the application is ending
    Ended,      // the activity served no longer runs
};

// A limit never passed: no distance between two readings exceeds half the counter.
inline constexpr DWORD kNoLimitMs = 0xFFFFFFFFu;

// Milliseconds between two tick readings, either way round and across the counter's wrap.
DWORD TickDistance(DWORD from, DWORD to);

// Checks that `serves` still runs in the record, then `done`, then the limit; then pumps once, yields
// and checks for the application's end; again until one of them ends the wait. While it pumps, the
// record counts the wait (CActivities::Waited, RefusesPresses). A limit of 0 pumps once.
TWaitEnd PumpUntil(TActivity serves, CActivities& record, const std::function<bool()>& done, DWORD limitMs);

// Pumps for the whole time (TimedOut) unless the activity or the application ends first.
TWaitEnd PumpFor(TActivity serves, CActivities& record, DWORD ms);
