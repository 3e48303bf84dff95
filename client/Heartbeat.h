// The heartbeat's pace: one beat every 30 ticks of the 1-second timer while armed, and the link given
// up after three beats in a row went unanswered.
#pragma once

inline constexpr int kHeartbeatTicks = 30;
inline constexpr int kHeartbeatMissLimit = 3;

class CHeartbeatTicks {
public:
    // One timer tick. True when a beat is due now. Unarmed ticks still count, so the first tick after
    // arming beats at once once 30 have passed.
    bool Due(bool armed) {
        ++ticks_;
        if (ticks_ < kHeartbeatTicks || !armed) return false;
        ticks_ = 0;
        return true;
    }
    int Ticks() const { return ticks_; }

private:
    int ticks_ = 0;
};

// Counts one unanswered beat; true when it was the last one allowed (the count starts again at 0).
inline bool HeartbeatMissed(int& misses) {
    if (++misses < kHeartbeatMissLimit) return false;
    misses = 0;
    return true;
}
