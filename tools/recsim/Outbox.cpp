#include "tools/recsim/Outbox.h"

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>

namespace recsim {

Outbox::Clock::time_point Outbox::NextStart(int delayMs) {
    const auto now = Clock::now();
    // Pieces queued while earlier ones still wait keep their order and their spacing.
    const auto base = queue_.empty() ? now : std::max(now, last_);
    return base + std::chrono::milliseconds(std::max(0, delayMs));
}

void Outbox::Send(std::vector<BYTE> unit, int delayMs, const std::vector<std::size_t>& splitAt, int gapMs) {
    std::lock_guard lock(mutex_);
    auto due = NextStart(delayMs);
    std::vector<std::size_t> cuts;
    for (std::size_t c : splitAt)
        if (c > 0 && c < unit.size()) cuts.push_back(c);
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    cuts.push_back(unit.size());
    std::size_t from = 0;
    for (std::size_t to : cuts) {
        Segment s;
        s.bytes.assign(unit.begin() + from, unit.begin() + to);
        s.due = due;
        queue_.push_back(std::move(s));
        last_ = due;
        due += std::chrono::milliseconds(std::max(0, gapMs));
        from = to;
    }
}

void Outbox::Close(int delayMs) {
    std::lock_guard lock(mutex_);
    Segment s;
    s.due = NextStart(delayMs);
    s.close = true;
    last_ = s.due;
    queue_.push_back(std::move(s));
}

void Outbox::Clear() {
    std::lock_guard lock(mutex_);
    queue_.clear();
}

bool Outbox::Empty() const {
    std::lock_guard lock(mutex_);
    return queue_.empty();
}

Outbox::FlushResult Outbox::Flush(int fd) {
    std::lock_guard lock(mutex_);
    FlushResult r;
    while (!queue_.empty()) {
        Segment& s = queue_.front();
        const auto now = Clock::now();
        if (s.due > now) {
            r.nextDueMs = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(s.due - now).count() + 1);
            return r;
        }
        if (s.close) {
            queue_.pop_front();
            r.close = true;
            return r;
        }
        while (s.sent < s.bytes.size()) {
            const ssize_t n = ::send(fd, s.bytes.data() + s.sent, s.bytes.size() - s.sent, MSG_NOSIGNAL);
            if (n > 0) {
                s.sent += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                r.blocked = true;
                return r;
            }
            if (n < 0 && errno == EINTR) continue;
            r.failed = true;
            return r;
        }
        queue_.pop_front();
    }
    return r;
}

} // namespace recsim
