#include "tests/platform/win/LoopbackPeer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace peer {

namespace {

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return sa;
}

bool WaitReadable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0;
}

} // namespace

int Listen(std::uint16_t& port, int backlog) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa = Loopback(0);
    socklen_t len = sizeof sa;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) < 0 || ::listen(fd, backlog) < 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) < 0) {
        if (fd >= 0) ::close(fd);
        return -1;
    }
    port = ntohs(sa.sin_port);
    return fd;
}

int Accept(int listener, int timeoutMs) {
    if (!WaitReadable(listener, timeoutMs)) return -1;
    return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}

int Connect(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in sa = Loopback(port);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) < 0) {
        if (fd >= 0) ::close(fd);
        return -1;
    }
    return fd;
}

std::uint16_t ClosedPort() {
    // A port merely closed again may be handed to another program's listener at once.
    static const std::uint16_t port = [] {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in sa = Loopback(0);
        socklen_t len = sizeof sa;
        if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) < 0 ||
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) < 0) {
            if (fd >= 0) ::close(fd);
            return std::uint16_t{0};
        }
        return static_cast<std::uint16_t>(ntohs(sa.sin_port));
    }();
    return port;
}

bool SendAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string Receive(int fd, std::size_t atLeast, int timeoutMs) {
    std::string out;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (out.size() < atLeast) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(limit - std::chrono::steady_clock::now())
                .count();
        if (left <= 0 || !WaitReadable(fd, static_cast<int>(left))) break;
        char buffer[4096];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

std::size_t Drain(int fd, int quietMs) {
    std::size_t total = 0;
    char buffer[65536];
    while (WaitReadable(fd, quietMs)) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        total += static_cast<std::size_t>(n);
    }
    return total;
}

void Close(int fd) {
    if (fd >= 0) ::close(fd);
}

void Reset(int fd) {
    const linger l{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    ::close(fd);
}

void SetReceiveBuffer(int fd, int bytes) {
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

int UdpSocket(std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa = Loopback(0);
    socklen_t len = sizeof sa;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) < 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) < 0) {
        if (fd >= 0) ::close(fd);
        return -1;
    }
    port = ntohs(sa.sin_port);
    return fd;
}

bool SendUdp(int fd, std::uint32_t hostAddress, std::uint16_t port, const std::string& data) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(hostAddress);
    return ::sendto(fd, data.data(), data.size(), 0, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) ==
           static_cast<ssize_t>(data.size());
}

bool SendMulticast(std::uint32_t group, std::uint16_t port, const std::string& data) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const unsigned char loop = 1;
    ::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_LOOP, &loop, sizeof loop);
    const bool ok = SendUdp(fd, group, port, data);
    ::close(fd);
    return ok;
}

} // namespace peer
