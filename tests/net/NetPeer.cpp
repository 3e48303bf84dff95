#include "tests/net/NetPeer.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace netpeer {

namespace {

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return sa;
}

std::uint16_t BoundPort(int fd) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    return ntohs(sa.sin_port);
}

bool WaitReadable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) > 0;
}

} // namespace

int Listen(std::uint16_t& port, int backlog) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in sa = Loopback(0);
    if (bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || listen(fd, backlog) != 0) {
        close(fd);
        return -1;
    }
    port = BoundPort(fd);
    return fd;
}

int Accept(int listener, int timeoutMs) {
    if (!WaitReadable(listener, timeoutMs)) return -1;
    return accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}

int Connect(std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa = Loopback(port);
    if (connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

std::uint16_t ClosedPort() {
    // A port merely closed again may be handed to another program's listener at once.
    static const std::uint16_t port = [] {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in sa = Loopback(0);
        if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
            if (fd >= 0) close(fd);
            return std::uint16_t{0};
        }
        return BoundPort(fd);
    }();
    return port;
}

bool SendAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string Receive(int fd, std::size_t atLeast, int timeoutMs) {
    std::string out;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[65536];
    while (out.size() < atLeast) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(limit - std::chrono::steady_clock::now())
                .count();
        if (left <= 0 || !WaitReadable(fd, static_cast<int>(left))) break;
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

bool SeesClose(int fd, int timeoutMs) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    char buffer[4096];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(limit - std::chrono::steady_clock::now())
                .count();
        if (left <= 0 || !WaitReadable(fd, static_cast<int>(left))) return false;
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return true;
    }
}

void Close(int fd) {
    if (fd >= 0) close(fd);
}

void Reset(int fd) {
    const linger l{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    close(fd);
}

void SetReceiveBuffer(int fd, int bytes) {
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

std::uint16_t LocalPort(int fd) {
    return BoundPort(fd);
}

std::string ReceiveUdp(int fd, std::uint16_t& fromPort, int timeoutMs) {
    fromPort = 0;
    if (!WaitReadable(fd, timeoutMs)) return {};
    char buffer[65536];
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    const ssize_t n = recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&sa), &len);
    if (n < 0) return {};
    fromPort = ntohs(sa.sin_port);
    return std::string(buffer, static_cast<std::size_t>(n));
}

int UdpSocket(std::uint16_t& port) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa = Loopback(0);
    bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    port = BoundPort(fd);
    return fd;
}

bool SendUdp(int fd, std::uint16_t port, const std::string& data) {
    sockaddr_in sa = Loopback(port);
    return sendto(fd, data.data(), data.size(), 0, reinterpret_cast<sockaddr*>(&sa), sizeof sa) ==
           static_cast<ssize_t>(data.size());
}

std::uint16_t FreeUdpPort() {
    std::uint16_t port = 0;
    close(UdpSocket(port));
    return port;
}

bool SendMulticast(const std::string& group, std::uint16_t port, const std::string& data) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const unsigned char loop = 1;
    setsockopt(fd, IPPROTO_IP, IP_MULTICAST_LOOP, &loop, sizeof loop);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    inet_pton(AF_INET, group.c_str(), &sa.sin_addr);
    const bool ok = sendto(fd, data.data(), data.size(), 0, reinterpret_cast<sockaddr*>(&sa), sizeof sa) ==
                    static_cast<ssize_t>(data.size());
    close(fd);
    return ok;
}

int FillBacklog(std::uint16_t port, int fds[], int max) {
    int count = 0;
    for (; count < max; ++count) {
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        sockaddr_in sa = Loopback(port);
        connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
        pollfd p{fd, POLLOUT, 0};
        fds[count] = fd;
        if (poll(&p, 1, 200) <= 0) {
            ++count;
            break;
        }
    }
    return count;
}

int OpenDescriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (dirent* entry = readdir(dir))
            count += entry->d_name[0] != '.' ? 1 : 0;
        closedir(dir);
    }
    return count;
}

struct SlowReader::State {
    std::thread Thread;
    std::string Data;
};

SlowReader::SlowReader(int fd, std::size_t total, std::size_t chunk, int pauseMs, int timeoutMs)
    : state_(new State) {
    state_->Thread = std::thread([this, fd, total, chunk, pauseMs, timeoutMs] {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        std::string buffer(chunk, '\0');
        while (state_->Data.size() < total && std::chrono::steady_clock::now() < limit) {
            if (!WaitReadable(fd, 100)) continue;
            const ssize_t n = recv(fd, buffer.data(), chunk, 0);
            if (n <= 0) break;
            state_->Data.append(buffer.data(), static_cast<std::size_t>(n));
            std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        }
    });
}

SlowReader::~SlowReader() {
    if (state_->Thread.joinable()) state_->Thread.join();
    delete state_;
}

std::string SlowReader::Join() {
    if (state_->Thread.joinable()) state_->Thread.join();
    return state_->Data;
}

} // namespace netpeer
