// The frame clock of local playback without the window: the state each of the two clocks keeps between
// ticks, the speeds of the fast buttons and the rules by which the clock's frame slot turns into the
// next (or previous) second.
#pragma once

#include "platform/core/Types.h"

// Play states of the transport.
inline constexpr int kPlayStopped = 1;
inline constexpr int kPlayForward = 2;
inline constexpr int kPlayReverse = 3;
inline constexpr int kPlayFastForward = 4;
inline constexpr int kPlayFastReverse = 5;

// Codes of the last transport action that took effect.
inline constexpr int kKeyFirst = 1;
inline constexpr int kKeyPrev = 2;
inline constexpr int kKeyFastReverse = 3;
inline constexpr int kKeyReverse = 4;
inline constexpr int kKeyPlay = 5;
inline constexpr int kKeyPause = 6;
inline constexpr int kKeyStop = 7;
inline constexpr int kKeyFastPlay = 8;
inline constexpr int kKeyNext = 9;
inline constexpr int kKeyLast = 10;

// What one clock keeps from tick to tick.
struct PlaybackClockState {
    bool started = false; // the speed latch has been taken once
    int speedLatch = 0;   // the speed in force for the current second
    BYTE resync = 0;
    BYTE endOfFile = 0;
    BYTE timeJump = 0;
};

// 1 -> 2 -> 4 -> 8 -> 1; any other speed stays.
int NextPlaySpeed(int speed);

// Frame slots per clock second, and the tick of the standard: 25 and 40 ms for 2, else 30 and 33 ms.
int FramesPerSecondOf(DWORD standard);
unsigned TickIntervalOf(DWORD standard);

// The clock's second and frame slot.
struct ClockPosition {
    int second = 0;
    int slot = 0;
};

// After the slot moved on by the latch: turns an overflowing slot into the next second (forward) or an
// underflowing one into the previous second (reverse). The latch takes `playSpeed` at each change.
// Returns whether the second changed.
bool ForwardSecondChange(ClockPosition& clock, int& latch, int framesPerSecond, int playSpeed);
bool ReverseSecondChange(ClockPosition& clock, int& latch, int framesPerSecond, int playSpeed);

// The slider's knob for an index position: pos * 1000 / count, 0 without an index, at most 1000.
int KnobOfIndex(int pos, int count);
// The index position a knob stands for: knob * 0.001 * (count - 1), truncated; 0 without an index.
int IndexOfKnob(int knob, int count);
