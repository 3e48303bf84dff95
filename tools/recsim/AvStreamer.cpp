#include "tools/recsim/AvStreamer.h"

#include "formats/ByteOrder.h"
#include "formats/NetPacket.h"
#include "platform/core/Exceptions.h"
#include "tools/recsim/StoreCursor.h"

#include <cerrno>
#include <ctime>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace recsim {

namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kOversizedAnnounced = kQelAvMaxFrameSize + 1;
// Sent after an oversized header: the info block and filler up to the next 32-byte step after it, so a
// receiver that drops the frame after its info block finds the next header by 32-byte steps.
constexpr std::size_t kOversizedBody = kQelAvMaxFrameSize + 32;

} // namespace

DWORD RecorderNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<DWORD>(now + local.tm_gmtoff);
}

AvStreamer::AvStreamer(Config config, Outbox& commandOutbox, std::function<SimFaults()> faults)
    : config_(std::move(config)), outbox_(commandOutbox), faults_(std::move(faults)) {}

AvStreamer::~AvStreamer() {
    Stop();
}

void AvStreamer::Start() {
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
}

void AvStreamer::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    std::lock_guard lock(mutex_);
    connected_ = false;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    CloseRetired();
}

void AvStreamer::Adopt(int fd) {
    // Small pieces leave as their own segments, so a client sees the reads they make.
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    std::lock_guard lock(mutex_);
    if (fd_ >= 0) {
        ::shutdown(fd_, SHUT_RDWR);
        retired_.push_back(fd_);
    }
    fd_ = fd;
    closeRequested_ = false;
    connected_ = true;
    newConnection_ = true;
    // A new client starts without a stream.
    pending_ = Request{};
}

void AvStreamer::CloseConnection() {
    std::lock_guard lock(mutex_);
    closeRequested_ = true;
}

void AvStreamer::StartLive() {
    std::lock_guard lock(mutex_);
    pending_ = Request{Mode::Live};
    paused_ = false;
}

void AvStreamer::StartSearch(DWORD time) {
    std::lock_guard lock(mutex_);
    pending_ = Request{Mode::Search, time};
    paused_ = false;
}

void AvStreamer::StartBackup(DWORD start, DWORD end, DWORD type, DWORD seq) {
    std::lock_guard lock(mutex_);
    pending_ = Request{Mode::Backup, start, end, type, seq};
    paused_ = false;
}

void AvStreamer::StopStream() {
    std::lock_guard lock(mutex_);
    pending_ = Request{};
    paused_ = false;
}

void AvStreamer::Pause() {
    afterPause_ = faults_().framesAfterPause;
    paused_ = true;
}
void AvStreamer::Play() {
    paused_ = false;
}

void AvStreamer::Apply(const Request& r) {
    mode_ = r.mode;
    streamFrames_ = 0;
    paceSet_ = false;
    synth_.reset();
    cursor_.reset();
    backupEnd_ = 0;
    switch (r.mode) {
    case Mode::Idle:
        break;
    case Mode::Live:
        synth_ = std::make_unique<recgen::SynthStream>(
            config_.live, config_.liveStart != 0 ? config_.liveStart : RecorderNow());
        break;
    case Mode::Search:
    case Mode::Backup: {
        const bool backup = r.mode == Mode::Backup;
        if (!config_.store.empty()) {
            cursor_ = std::make_unique<StoreCursor>(config_.store, config_.recordings);
            if (!cursor_->Seek(r.start, backup && r.type == 1, backup ? r.seq : 0)) cursor_.reset();
        }
        if (backup) backupEnd_ = r.end != 0 ? r.end : (cursor_ ? 0xFFFFFFFF : r.start + 30);
        // Without a store the recorder makes its recordings up; with one, a time it has nothing for
        // streams nothing.
        if (config_.store.empty()) synth_ = std::make_unique<recgen::SynthStream>(config_.live, r.start);
        break;
    }
    }
    modeShown_ = mode_;
}

bool AvStreamer::Produce(QelAvFrame& frame, bool& ended) {
    ended = false;
    if (cursor_) {
        if (!cursor_->Next(frame)) {
            ended = true;
            return false;
        }
    } else if (synth_) {
        frame = synth_->Next();
    } else {
        ended = true;
        return false;
    }
    if (mode_ == Mode::Backup && frame.info.frameTime > backupEnd_) {
        ended = true;
        return false;
    }
    return true;
}

bool AvStreamer::CheckPeer(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return true;
    if (p.revents & (POLLERR | POLLNVAL)) return false;
    if (p.revents & (POLLIN | POLLHUP)) {
        BYTE sink[512];
        const ssize_t n = ::recv(fd, sink, sizeof sink, MSG_DONTWAIT);
        if (n == 0) return false;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
    }
    return true;
}

void AvStreamer::CloseRetired() {
    for (int old : retired_)
        ::close(old);
    retired_.clear();
}

void AvStreamer::DropConnection(int fd) {
    std::lock_guard lock(mutex_);
    // Replaced meanwhile: the new client's connection is not this one's to end.
    if (fd != fd_) return;
    // Marked closed before the peer can see the close: whoever reacts to it must find it closed here.
    connected_ = false;
    fd_ = -1;
    if (fd >= 0) ::close(fd);
    closeRequested_ = false;
    mode_ = Mode::Idle;
    modeShown_ = Mode::Idle;
    synth_.reset();
    cursor_.reset();
}

bool AvStreamer::WaitUntilDue(int fd, const QelAvFrame& frame) {
    if (!config_.realtime || mode_ == Mode::Backup) return true;
    const DWORD t = frame.info.frameTime;
    // Searched recordings jump over the gaps between them.
    if (!paceSet_ || t < paceTime_ || t > paceTime_ + 2) {
        paceSet_ = true;
        paceBase_ = Clock::now();
        paceTime_ = t;
    }
    auto due = paceBase_ + std::chrono::seconds(t - paceTime_);
    if (synth_ && frame.info.IsVideo())
        due += std::chrono::milliseconds(1000 * frame.info.subSecond / static_cast<DWORD>(synth_->Rate()));
    while (!stop_) {
        const auto now = Clock::now();
        if (now >= due) return true;
        {
            std::lock_guard lock(mutex_);
            if (pending_ || closeRequested_) return false;
        }
        const int ms =
            static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(due - now).count());
        if (!CheckPeer(fd, std::min(ms + 1, 20))) return false;
    }
    return false;
}

namespace {

// Payload 2 with its second typed block (its first when it has one only) reaching past the end;
// nothing when it has no typed block.
std::optional<std::vector<BYTE>> SideDataPastItsEnd(std::span<const BYTE> side) {
    std::vector<BYTE> out(side.begin(), side.end());
    std::size_t target = out.size();
    try {
        QelFrameSideData walker(side);
        QelSideBlock block;
        if (walker.Next(block) && block.kind != QELSIDE_TEXT) {
            const std::size_t next = walker.Cursor();
            target = next + 12 <= out.size() && GetU32(out.data() + next) == kQelSideTypedCode ? next : 0;
        }
    } catch (const Exception&) {
        return std::nullopt;
    }
    if (target + 12 > out.size()) return std::nullopt;
    PutU32(out.data() + target + 8, static_cast<DWORD>(12 + out.size()));
    return out;
}

} // namespace

std::vector<BYTE> AvStreamer::WithFaults(const QelAvFrame& frame, const SimFaults& f, SentAvFrame& sent) {
    const std::uint64_t n = connectionFrames_ + 1;
    auto every = [n](DWORD k) { return k != 0 && n % k == 0; };
    sent.kind = frame.info.kind;
    sent.channel = frame.info.channel;
    sent.frameTime = frame.info.frameTime;
    sent.subSecond = frame.info.subSecond;
    std::vector<BYTE> out;
    if (every(f.garbageEvery)) {
        sent.garbageBefore = true;
        for (std::size_t i = 0; i < f.garbageBytes; ++i)
            out.push_back(static_cast<BYTE>(0x5A ^ (i * 7)));
    }
    if (every(f.zeroSizeFrameEvery)) {
        sent.zeroHeaderBefore = true;
        BYTE h[kQelAvHeaderSize];
        QelAvFrameHeader{0, 1}.Encode(h);
        out.insert(out.end(), h, h + sizeof h);
    }
    if (every(f.oversizedFrameEvery)) {
        sent.fault = AvFrameFault::Oversized;
        BYTE h[kQelAvHeaderSize];
        QelAvFrameHeader{0, 1}.Encode(h);
        PutU32(h + 12, kOversizedAnnounced);
        out.insert(out.end(), h, h + sizeof h);
        std::vector<BYTE> body(kOversizedBody, 0);
        frame.info.Encode(body.data());
        out.insert(out.end(), body.begin(), body.end());
        return out;
    }
    std::vector<BYTE> bytes;
    if (every(f.badHeaderEvery)) {
        sent.fault = AvFrameFault::BadHeader;
        bytes = frame.Encode();
        PutU32(bytes.data() + 20, 1);
    } else if (frame.info.IsVideo() && every(f.truncatedJpegEvery)) {
        sent.fault = AvFrameFault::TruncatedJpeg;
        const auto picture = frame.Payload1();
        bytes = QelAvFrame::Make(frame.info, picture.first(picture.size() / 2), frame.Payload2()).Encode();
    } else if (const auto side = frame.info.IsVideo() && every(f.badSideDataEvery)
                                     ? SideDataPastItsEnd(frame.Payload2())
                                     : std::nullopt) {
        sent.fault = AvFrameFault::BadSideData;
        bytes = QelAvFrame::Make(frame.info, frame.Payload1(), *side).Encode();
    } else {
        bytes = frame.Encode();
    }
    out.insert(out.end(), bytes.begin(), bytes.end());
    return out;
}

std::vector<SentAvFrame> AvStreamer::SentFrames() const {
    std::lock_guard lock(sentMutex_);
    return sent_;
}

bool AvStreamer::SendPieces(int fd, const std::vector<BYTE>& bytes, const SimFaults& f) {
    if (f.avWriteSizes.empty()) return SendAll(fd, bytes.data(), bytes.size());
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t n =
            std::min(f.avWriteSizes[writePiece_++ % f.avWriteSizes.size()], bytes.size() - at);
        if (!SendAll(fd, bytes.data() + at, n)) return false;
        at += n;
        if (f.avWriteGapUs > 0) std::this_thread::sleep_for(std::chrono::microseconds(f.avWriteGapUs));
    }
    return true;
}

bool AvStreamer::SendAll(int fd, const BYTE* bytes, std::size_t size) {
    std::size_t sent = 0;
    while (sent < size) {
        if (stop_) return false;
        {
            std::lock_guard lock(mutex_);
            if (closeRequested_) return false;
        }
        pollfd p{fd, POLLOUT, 0};
        const int r = ::poll(&p, 1, 50);
        if (r < 0 && errno != EINTR) return false;
        if (r <= 0) continue;
        if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) return false;
        const ssize_t n = ::send(fd, bytes + sent, size - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0)
            sent += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return false;
    }
    return true;
}

void AvStreamer::Run() {
    while (!stop_) {
        int fd;
        std::optional<Request> request;
        bool close;
        bool fresh;
        {
            std::lock_guard lock(mutex_);
            CloseRetired();
            fd = fd_;
            request.swap(pending_);
            close = closeRequested_;
            fresh = newConnection_;
            newConnection_ = false;
        }
        if (fresh) connectionFrames_ = 0;
        if (fd < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        if (close) {
            DropConnection(fd);
            continue;
        }
        if (request) {
            try {
                Apply(*request);
            } catch (const Exception&) {
                mode_ = Mode::Idle;
                modeShown_ = mode_;
            }
        }
        const SimFaults f = faults_();
        // A hung recorder and a stalled stream keep the stream started and send nothing.
        const bool held = f.mute || (f.holdStreamAfterFrames && streamFrames_ >= *f.holdStreamAfterFrames);
        if (mode_ == Mode::Idle || (paused_ && afterPause_ == 0) || held) {
            if (!CheckPeer(fd, 20)) DropConnection(fd);
            continue;
        }
        if (!CheckPeer(fd, 0)) {
            DropConnection(fd);
            continue;
        }
        QelAvFrame frame;
        bool ended = false;
        bool produced = false;
        try {
            produced = Produce(frame, ended);
        } catch (const Exception&) {
            ended = true;
        }
        if (!produced) {
            if (ended && mode_ == Mode::Backup) {
                const NetMsgPacket end = MakeDeviceEvent(DEVEVENT_BACKUP, kBackupStreamEnd);
                outbox_.Send(std::vector<BYTE>(end.bytes.begin(), end.bytes.end()));
            }
            mode_ = Mode::Idle;
            modeShown_ = mode_;
            continue;
        }
        if (!WaitUntilDue(fd, frame)) continue;
        SentAvFrame sent;
        if (!SendPieces(fd, WithFaults(frame, f, sent), f)) {
            DropConnection(fd);
            continue;
        }
        ++connectionFrames_;
        ++streamFrames_;
        if (paused_ && afterPause_ > 0) --afterPause_;
        ++framesSent_;
        if (config_.recordSent) {
            std::lock_guard lock(sentMutex_);
            sent_.push_back(sent);
        }
        if (f.dropLinkAfterFrames && streamFrames_ >= *f.dropLinkAfterFrames) {
            // The command connection closes behind what is queued on it; the A/V one at once.
            outbox_.Close();
            DropConnection(fd);
            continue;
        }
        if (f.closeAvAfterFrames && connectionFrames_ >= *f.closeAvAfterFrames) DropConnection(fd);
    }
}

} // namespace recsim
