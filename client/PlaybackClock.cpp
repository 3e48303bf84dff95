#include "client/PlaybackClock.h"

#include "formats/QelAvFrame.h"

#include <algorithm>

int NextPlaySpeed(int speed) {
    switch (speed) {
    case 1:
        return 2;
    case 2:
        return 4;
    case 4:
        return 8;
    case 8:
        return 1;
    default:
        return speed;
    }
}

int FramesPerSecondOf(DWORD standard) {
    return standard == QELSTD_PAL ? 25 : 30;
}

unsigned TickIntervalOf(DWORD standard) {
    return standard == QELSTD_PAL ? 40u : 33u;
}

bool ForwardSecondChange(ClockPosition& clock, int& latch, int framesPerSecond, int playSpeed) {
    if (latch == 1) {
        if (clock.slot <= framesPerSecond) return false;
        clock.slot = 1;
    } else if (latch == 4 && framesPerSecond == 25) {
        if (clock.slot <= 29) return false;
        clock.slot = 0;
    } else {
        if (clock.slot <= framesPerSecond) return false;
        clock.slot = 0;
    }
    clock.second += 1;
    latch = playSpeed;
    return true;
}

bool ReverseSecondChange(ClockPosition& clock, int& latch, int framesPerSecond, int playSpeed) {
    if (latch == 1) {
        if (clock.slot >= 1) return false;
        clock.slot = framesPerSecond;
    } else if (latch == 4 && framesPerSecond == 25) {
        if (clock.slot >= 0) return false;
        clock.slot = 29;
    } else {
        if (clock.slot >= 0) return false;
        clock.slot = framesPerSecond;
    }
    clock.second -= 1;
    latch = playSpeed;
    return true;
}

int KnobOfIndex(int pos, int count) {
    if (count <= 0 || pos <= 0) return 0;
    const long long knob = static_cast<long long>(pos) * 1000 / count;
    return static_cast<int>(std::min<long long>(knob, 1000));
}

int IndexOfKnob(int knob, int count) {
    if (count <= 1) return 0;
    const double pos = std::clamp(knob, 0, 1000) * 0.001 * (count - 1);
    return static_cast<int>(pos);
}
