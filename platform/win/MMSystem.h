// The multimedia timer: periodic and one-shot timer events whose callback runs on a timer thread.
//
// Each event keeps its phase on the monotonic clock (the next tick is due one period after the previous
// due time, not after the callback), so a 33 ms or 40 ms period does not drift. One timer thread serves
// every event, as on the platform; callbacks should only post a message and return.
#pragma once

#include "platform/core/Types.h"

using MMRESULT = UINT;

inline constexpr MMRESULT MMSYSERR_NOERROR = 0;
inline constexpr MMRESULT MMSYSERR_ERROR = 1;
inline constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
inline constexpr MMRESULT TIMERR_NOERROR = 0;
inline constexpr MMRESULT TIMERR_BASE = 96;
inline constexpr MMRESULT TIMERR_NOCANDO = TIMERR_BASE + 1;

inline constexpr UINT TIME_ONESHOT = 0x0000;
inline constexpr UINT TIME_PERIODIC = 0x0001;
inline constexpr UINT TIME_CALLBACK_FUNCTION = 0x0000;
inline constexpr UINT TIME_KILL_SYNCHRONOUS = 0x0100;

// The device's period range: 1 to 1,000,000 ms.
struct TIMECAPS {
    UINT wPeriodMin = 0;
    UINT wPeriodMax = 0;
};

// Timer id, message (always 0), the user data given to timeSetEvent, two reserved words.
using LPTIMECALLBACK = void (*)(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR reserved1,
                                DWORD_PTR reserved2);

MMRESULT timeGetDevCaps(TIMECAPS* caps, UINT size);
// Periods outside the device range answer TIMERR_NOCANDO. Otherwise they change nothing: the timer
// thread always sleeps to absolute due times.
MMRESULT timeBeginPeriod(UINT period);
MMRESULT timeEndPeriod(UINT period);
// Returns the event id (never 0, never reused), or 0 for a delay outside the range or no callback.
MMRESULT timeSetEvent(UINT delay, UINT resolution, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags);
// After it returns no callback of the event runs any more: a callback in progress on the timer thread
// is waited for (also that of a one-shot event that has already fired), unless the call comes from that
// callback itself. Unknown or finished ids answer MMSYSERR_INVALPARAM.
MMRESULT timeKillEvent(UINT timerId);
// Milliseconds on the monotonic clock.
DWORD timeGetTime();
