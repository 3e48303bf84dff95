#include "TestClient.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace recsim_test {

namespace {

using Clock = std::chrono::steady_clock;

int Remaining(Clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

} // namespace

TestConnection::~TestConnection() {
    Close();
}

void TestConnection::Connect(int port) {
    Close();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        Close();
        throw std::runtime_error("connect to " + std::to_string(port) + " failed");
    }
    const int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

void TestConnection::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    peerClosed_ = false;
}

void TestConnection::Send(const std::vector<BYTE>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) throw std::runtime_error("send failed");
        sent += static_cast<std::size_t>(n);
    }
}

void TestConnection::Send(const NetMsgPacket& packet) {
    Send(std::vector<BYTE>(packet.bytes.begin(), packet.bytes.end()));
}

void TestConnection::Send(const std::string& bytes) {
    Send(std::vector<BYTE>(bytes.begin(), bytes.end()));
}

std::size_t TestConnection::SendUntilStalled(const std::string& bytes, int stallMs) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            throw std::runtime_error("send failed");
        pollfd p{fd_, POLLOUT, 0};
        if (::poll(&p, 1, stallMs) == 0) break;
    }
    return sent;
}

std::optional<std::vector<BYTE>> TestConnection::Read(std::size_t n, int timeoutMs) {
    std::vector<BYTE> out(n);
    std::size_t got = 0;
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (got < n) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, Remaining(end)) <= 0) return std::nullopt;
        const ssize_t r = ::recv(fd_, out.data() + got, n - got, 0);
        if (r <= 0) return std::nullopt;
        got += static_cast<std::size_t>(r);
    }
    return out;
}

std::optional<NetMsgPacket> TestConnection::ReadPacket(int timeoutMs) {
    const auto bytes = Read(kNetMsgPacketSize, timeoutMs);
    if (!bytes) return std::nullopt;
    return NetMsgPacket::FromBytes(bytes->data(), bytes->size());
}

std::vector<BYTE> TestConnection::ReadSome(std::size_t max, int timeoutMs) {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return {};
    std::vector<BYTE> out(max);
    const ssize_t r = ::recv(fd_, out.data(), max, 0);
    if (r == 0 || (r < 0 && errno == ECONNRESET)) peerClosed_ = true;
    out.resize(r > 0 ? static_cast<std::size_t>(r) : 0);
    return out;
}

bool TestConnection::WaitClosed(int timeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    BYTE sink[65536];
    for (;;) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, Remaining(end)) <= 0) return false;
        const ssize_t r = ::recv(fd_, sink, sizeof sink, 0);
        if (r == 0 || (r < 0 && errno == ECONNRESET)) return true;
        if (r < 0) return false;
    }
}

namespace {

// The numbers in one file of /proc/sys/net, the last of them first.
std::size_t LastNumber(const char* path) {
    std::ifstream in(path);
    std::size_t number = 0, last = 0;
    while (in >> number)
        last = number;
    if (last == 0) throw std::runtime_error(std::string("cannot read ") + path);
    return last;
}

// A buffer autotuned up to the third number of tcp_*mem, or set by its owner: the kernel doubles what is
// asked, up to the core maximum.
std::size_t LargestBuffer(const char* tcpMem, const char* coreMax) {
    return std::max(LastNumber(tcpMem), 2 * LastNumber(coreMax));
}

} // namespace

std::size_t LargestSendBuffer() {
    return LargestBuffer("/proc/sys/net/ipv4/tcp_wmem", "/proc/sys/net/core/wmem_max");
}

std::size_t LoopbackBufferCeiling() {
    return LargestSendBuffer() + LargestBuffer("/proc/sys/net/ipv4/tcp_rmem", "/proc/sys/net/core/rmem_max");
}

std::optional<NetMsgPacket> Request(TestConnection& c, const NetMsgPacket& request, int timeoutMs,
                                    std::vector<NetMsgPacket>* others) {
    c.Send(request);
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto p = c.ReadPacket(Remaining(end));
        if (!p) return std::nullopt;
        if (p->Type() == NETMSG && p->Command() == NETCMD_REPLY && p->RetCommand() == request.Command())
            return p;
        if (others) others->push_back(*p);
    }
}

} // namespace recsim_test
