#include "tools/recsim/RecSim.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StrUtils.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace recsim {

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// A blocking connect to this computer's port; -1 when it failed.
int ConnectLoopback(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const sockaddr_in a = Loopback(port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) return fd;
    ::close(fd);
    return -1;
}

// `receiveBuffer` (0: the system's) is set before the listen, so that accepted connections are made
// with it from their first byte.
int Listen(int port, int receiveBuffer = 0) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (receiveBuffer > 0) ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    const sockaddr_in a = Loopback(port);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

int BoundPort(int fd) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    return ntohs(a.sin_port);
}

int AcceptOne(int listenFd) {
    const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return -1;
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

std::vector<BYTE> Bytes(const NetMsgPacket& p) {
    return {p.bytes.begin(), p.bytes.end()};
}

} // namespace

RecSim::RecSim(RecSimOptions options) : options_(std::move(options)), faults_(options_.faults) {}

RecSim::~RecSim() {
    Stop();
}

SimFaults RecSim::Faults() const {
    std::lock_guard lock(faultsMutex_);
    return faults_;
}

void RecSim::SetFaults(const SimFaults& faults) {
    std::lock_guard lock(faultsMutex_);
    faults_ = faults;
}

void RecSim::SetReplyFault(DWORD command, const ReplyFault& fault) {
    std::lock_guard lock(faultsMutex_);
    faults_.replies[command] = fault;
}

void RecSim::ClearFaults() {
    SetFaults(SimFaults{});
}

void RecSim::HoldReplies(DWORD command, bool hold, std::size_t passFirst) {
    // The count first: a reply answered meanwhile must not be held before its pass.
    if (handler_) handler_->PassBeforeHold(command, hold ? passFirst : 0);
    std::lock_guard lock(faultsMutex_);
    if (hold)
        faults_.holdReplies.insert(command);
    else
        faults_.holdReplies.erase(command);
}

std::size_t RecSim::ReleaseReplies(DWORD command) {
    {
        std::lock_guard lock(faultsMutex_);
        if (command == 0)
            faults_.holdReplies.clear();
        else
            faults_.holdReplies.erase(command);
    }
    return handler_->ReleaseReplies(command);
}

void RecSim::Start() {
    if (thread_.joinable()) return;
    if (!options_.store.empty()) recordings_ = recgen::ScanRecordings(options_.store);
    recgen::RecorderIdentity id;
    id.cameras = options_.cameras;
    files_ = std::make_unique<SimFiles>(options_.store, id);

    AvStreamer::Config config;
    config.live.cameras = options_.cameras;
    config.live.standard = options_.standard;
    config.live.large = options_.large;
    config.live.framesPerSecond = options_.liveFps;
    config.liveStart = options_.liveStart;
    config.live.quality = options_.quality;
    config.live.sideData = options_.sideData;
    // Live cameras show event marks coming and going all the time.
    config.live.events.push_back({0, 0xFFFFFFFF});
    config.realtime = options_.realtime;
    config.recordSent = options_.recordAvFrames;
    config.store = recordings_.empty() ? std::string() : options_.store;
    config.recordings = recordings_;
    streamer_ = std::make_unique<AvStreamer>(config, outbox_, [this] { return Faults(); });
    handler_ = std::make_unique<CommandHandler>(
        options_, [this] { return Faults(); }, outbox_, *files_, log_, static_cast<StreamControl&>(*this),
        recordings_);

    const bool av = !Faults().noAvPort;
    for (int attempt = 0; attempt < 100 && commandListen_ < 0; ++attempt) {
        const int cmd = Listen(options_.port, options_.commandReceiveBuffer);
        if (cmd < 0) break;
        const int port = BoundPort(cmd);
        const int avFd = av && port < 65535 ? Listen(port + 1) : -1;
        if (av && avFd < 0) {
            ::close(cmd);
            if (options_.port != 0) break;
            continue;
        }
        commandListen_ = cmd;
        avListen_ = avFd;
        commandPort_ = port;
    }
    if (commandListen_ < 0)
        throw EOSError(Format("recsim: cannot listen on 127.0.0.1:%d and the port after it", options_.port));
    if (!options_.logFile.empty()) {
        logText_ = std::fopen(options_.logFile.c_str(), "a");
        if (!logText_)
            throw EOSError(Format("recsim: cannot open the log file %s", options_.logFile.c_str()));
        log_.SetTextFile(logText_);
    }
    stop_ = false;
    streamer_->Start();
    thread_ = std::thread([this] { Run(); });
}

void RecSim::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    HoldAccepts(false, false);
    HoldAccepts(true, false);
    if (streamer_) streamer_->Stop();
    if (commandFd_ >= 0) ::close(commandFd_);
    commandFd_ = -1;
    if (commandListen_ >= 0) ::close(commandListen_);
    if (avListen_ >= 0) ::close(avListen_);
    if (backFd_ >= 0) ::close(backFd_);
    backFd_ = -1;
    commandListen_ = avListen_ = -1;
    log_.SetTextFile(nullptr);
    if (logText_) std::fclose(logText_);
    logText_ = nullptr;
}

void RecSim::DropCommand() {
    // The connection's state goes before the connection is seen gone: whoever waits for that finds none.
    outbox_.Clear();
    handler_->Reset();
    const int fd = commandFd_.exchange(-1);
    if (fd >= 0) ::close(fd);
    // A recorder drops the whole client.
    streamer_->StopStream();
    streamer_->CloseConnection();
}

void RecSim::HoldAccepts(bool av, bool hold) {
    const std::lock_guard<std::mutex> lock(acceptMutex_);
    const int listenFd = av ? avListen_ : commandListen_;
    if (listenFd < 0 || acceptHeld_[av] == hold) return;
    if (hold) {
        // A queue of no places, filled by a connection of our own: the kernel drops the caller's first
        // packet, and the caller's connect waits to send it again.
        ::listen(listenFd, 0);
        acceptFiller_[av] = ConnectLoopback(av ? AvPort() : CommandPort());
    } else {
        const int filled = AcceptOne(listenFd);
        if (filled >= 0) ::close(filled);
        if (acceptFiller_[av] >= 0) ::close(acceptFiller_[av]);
        acceptFiller_[av] = -1;
        ::listen(listenFd, 4);
    }
    acceptHeld_[av] = hold;
}

void RecSim::AcceptCommand() {
    const std::lock_guard<std::mutex> lock(acceptMutex_);
    if (acceptHeld_[0]) return;
    const int fd = AcceptOne(commandListen_);
    if (fd < 0) return;
    if (Faults().commandAccept == AcceptMode::Refuse || commandFd_ >= 0) {
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    outbox_.Clear();
    handler_->Reset();
    commandFd_ = fd;
}

void RecSim::AcceptAv() {
    const std::lock_guard<std::mutex> lock(acceptMutex_);
    if (acceptHeld_[1]) return;
    const int fd = AcceptOne(avListen_);
    if (fd >= 0) streamer_->Adopt(fd);
}

bool RecSim::ConnectBack(int port) {
    if (backFd_ >= 0) ::close(backFd_);
    backFd_ = ConnectLoopback(port);
    return backFd_ >= 0;
}

void RecSim::CloseCommandConnection() {
    closeCommand_ = true;
}

void RecSim::DropLink() {
    streamer_->CloseConnection();
    closeCommand_ = true;
}

void RecSim::EndRemoteWork(DWORD detail) {
    streamer_->StopStream();
    SendDeviceEvent(DEVEVENT_REMOTE_WORK, detail);
}

void RecSim::SetStatus(DWORD status, bool report) {
    handler_->SetStatus(status);
    if (status == 2 || status == 3) streamer_->StopStream();
    if (report) SendPacket(MakeReply(NETCMD_STATUS, 1, status, handler_->RecordStateNow()));
}

void RecSim::SetMute(bool mute) {
    std::lock_guard lock(faultsMutex_);
    faults_.mute = mute;
}

void RecSim::SetStopReading(bool stop) {
    std::lock_guard lock(faultsMutex_);
    faults_.stopReading = stop;
}

void RecSim::SendPacket(const NetMsgPacket& packet, int delayMs) {
    SendRaw(Bytes(packet), delayMs);
}

void RecSim::SendRaw(const std::vector<BYTE>& bytes, int delayMs) {
    const SimFaults f = Faults();
    outbox_.Send(bytes, delayMs, f.splitAt, f.splitGapMs);
}

void RecSim::SendDeviceEvent(DWORD kind, DWORD detail) {
    SendPacket(MakeDeviceEvent(kind, detail));
}

void RecSim::SendMulticastGroup(DWORD group, DWORD port) {
    SendPacket(MakeQelMsg(MSG_REPLY, MSG_MULTICAST_GROUP, 1, {group, port}));
}

bool RecSim::WaitForAvConnection(bool connected, int timeoutMs) const {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (streamer_->Connected() != connected) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

bool RecSim::WaitForCommandConnection(bool connected, int timeoutMs) const {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while ((commandFd_ >= 0) != connected) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void RecSim::Unsolicited() {
    // Every kind of packet a client must cope with unasked.
    static const std::pair<DWORD, DWORD> kEvents[] = {{0, 0}, {1, 0}, {2, 1}, {2, 0}, {3, 2},
                                                      {3, 0}, {5, 1}, {4, 3}, {4, 1}, {5, 2}};
    const std::size_t events = std::size(kEvents);
    const std::size_t step = unsolicitedStep_++ % (events + 6);
    if (step < events) {
        SendDeviceEvent(kEvents[step].first, kEvents[step].second);
    } else if (step == events) {
        SendMulticastGroup(MulticastGroupParam(239, 255, 1, 1), 6000);
    } else if (step <= events + 4) {
        static const DWORD kStray[] = {126, 100, 116, 117};
        SendPacket(MakeReply(kStray[step - events - 1], 1));
    } else {
        NetMsgPacket odd = MakeNetCommand(NETCMD_STATUS, 0);
        odd.bytes[0] = 99; // an unknown packet type
        SendPacket(odd);
    }
}

void RecSim::Run() {
    auto nextUnsolicited = Clock::now() + std::chrono::seconds(std::max(1, options_.unsolicitedEverySec));
    BYTE buffer[4096];
    while (!stop_) {
        if (closeCommand_.exchange(false)) DropCommand();
        const int cmd = commandFd_;
        const SimFaults faults = Faults();
        const bool ignore = faults.commandAccept == AcceptMode::Ignore || faults.mute;
        Outbox::FlushResult flushed;
        if (cmd >= 0 && !ignore) {
            flushed = outbox_.Flush(cmd);
            if (flushed.close || flushed.failed) {
                DropCommand();
                continue;
            }
        }
        pollfd fds[3];
        int n = 0;
        // A held port's queue stays full: not polled, or the loop would spin on it.
        fds[n++] = {acceptHeld_[0] ? -1 : commandListen_, POLLIN, 0};
        if (avListen_ >= 0) fds[n++] = {acceptHeld_[1] ? -1 : avListen_, POLLIN, 0};
        const int cmdIndex = cmd >= 0 && !ignore ? n : -1;
        // Not reading, the connection is still polled for its end (a reset comes with no POLLIN asked).
        const short readEvent = faults.stopReading ? 0 : POLLIN;
        if (cmdIndex >= 0)
            fds[n++] = {cmd, static_cast<short>(readEvent | (flushed.blocked ? POLLOUT : 0)), 0};
        int timeout = 10;
        if (flushed.nextDueMs >= 0) timeout = std::min(timeout, flushed.nextDueMs);
        const int r = ::poll(fds, static_cast<nfds_t>(n), timeout);
        if (r < 0 && errno != EINTR) break;
        // Told meanwhile counts: the poll may have begun before.
        const SimFaults now = Faults();
        if (cmdIndex >= 0 && now.stopReading && (fds[cmdIndex].revents & (POLLHUP | POLLERR))) {
            DropCommand();
            continue;
        }
        if (cmdIndex >= 0 && !now.stopReading && (fds[cmdIndex].revents & (POLLIN | POLLHUP | POLLERR))) {
            const ssize_t got = ::recv(cmd, buffer, sizeof buffer, 0);
            if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
                DropCommand();
                continue;
            }
            if (got > 0) {
                const DWORD stopOn = now.stopReadingOn.value_or(0);
                const std::size_t before = stopOn != 0 ? log_.Commands(stopOn).size() : 0;
                handler_->Input(buffer, static_cast<std::size_t>(got));
                if (stopOn != 0 && log_.Commands(stopOn).size() > before) SetStopReading(true);
            }
        }
        if (fds[0].revents & POLLIN) AcceptCommand();
        if (avListen_ >= 0 && (fds[1].revents & POLLIN)) AcceptAv();
        if (commandFd_ >= 0) handler_->Tick();
        if (options_.unsolicitedEverySec > 0 && Clock::now() >= nextUnsolicited) {
            nextUnsolicited = Clock::now() + std::chrono::seconds(options_.unsolicitedEverySec);
            if (commandFd_ >= 0 && handler_->LoggedIn()) Unsolicited();
        }
    }
}

} // namespace recsim
