// What the simulated recorder has to say on the command connection, in order, each piece with the time
// it may leave. Any thread queues; the I/O thread flushes without blocking.
#pragma once

#include "platform/core/Types.h"

#include <chrono>
#include <deque>
#include <mutex>
#include <vector>

namespace recsim {

class Outbox {
public:
    using Clock = std::chrono::steady_clock;

    // Queues one unit. It leaves `delayMs` after the unit before it (so a held reply holds everything
    // behind it, as on one TCP stream), cut at the offsets of `splitAt` that fall inside it into pieces
    // `gapMs` apart.
    void Send(std::vector<BYTE> unit, int delayMs = 0, const std::vector<std::size_t>& splitAt = {},
              int gapMs = 0);
    // Queues closing the connection after everything before it.
    void Close(int delayMs = 0);
    void Clear();
    bool Empty() const;

    struct FlushResult {
        bool close = false;   // a queued close was reached
        bool failed = false;  // the peer is gone
        bool blocked = false; // the socket buffer is full
        int nextDueMs = -1;   // time until the next piece may leave, -1 when nothing waits
    };
    // Sends what is due on a non-blocking socket.
    FlushResult Flush(int fd);

private:
    struct Segment {
        std::vector<BYTE> bytes;
        std::size_t sent = 0;
        Clock::time_point due;
        bool close = false;
    };
    Clock::time_point NextStart(int delayMs);

    mutable std::mutex mutex_;
    std::deque<Segment> queue_;
    Clock::time_point last_{};
};

} // namespace recsim
