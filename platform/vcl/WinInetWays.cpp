#include "platform/vcl/WinInetWays.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <string>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

class TSocket {
public:
    explicit TSocket(int fd) : fd_(fd) {}
    ~TSocket() {
        if (fd_ >= 0) ::close(fd_);
    }
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;
    int Fd() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

int MsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

bool Ready(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, MsLeft(deadline));
        if (rc > 0) return true;
        if (rc == 0 || errno != EINTR) return false;
    }
}

bool SendAll(int fd, const std::string& bytes, Clock::time_point deadline) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        if (!Ready(fd, POLLOUT, deadline)) return false;
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        if (n > 0) sent += static_cast<std::size_t>(n);
    }
    return true;
}

// Exactly `count` bytes, or false.
bool ReceiveAll(int fd, unsigned char* into, std::size_t count, Clock::time_point deadline) {
    std::size_t got = 0;
    while (got < count) {
        if (!Ready(fd, POLLIN, deadline)) return false;
        const ssize_t n = ::recv(fd, into + got, count - got, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return false;
        if (n > 0) got += static_cast<std::size_t>(n);
    }
    return true;
}

// A connection to one of the host's addresses, or -1.
int Connect(const std::string& host, int port, Clock::time_point deadline) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return -1;
    int connected = -1;
    for (const addrinfo* a = found; a != nullptr && connected < 0 && MsLeft(deadline) > 0; a = a->ai_next) {
        TSocket s(::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol));
        if (s.Fd() < 0) continue;
        if (::connect(s.Fd(), a->ai_addr, a->ai_addrlen) != 0) {
            if (errno != EINPROGRESS || !Ready(s.Fd(), POLLOUT, deadline)) continue;
            int error = 0;
            socklen_t length = sizeof error;
            if (::getsockopt(s.Fd(), SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) continue;
        }
        connected = s.Release();
    }
    ::freeaddrinfo(found);
    return connected;
}

std::string Base64(const std::string& text) {
    static constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, text.size() - i);
        unsigned value = 0;
        for (std::size_t k = 0; k < 3; ++k)
            value = value << 8 | (k < n ? static_cast<unsigned char>(text[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? digits[value >> (18 - 6 * k) & 63] : '=';
    }
    return out;
}

// A 2xx answer to CONNECT opens the tunnel; only its status line is read.
bool HttpTunnel(int fd, const TInternetWay& way, const std::string& host, int port,
                Clock::time_point deadline) {
    const std::string authority =
        (host.find(':') != std::string::npos ? "[" + host + "]" : host) + ":" + std::to_string(port);
    std::string request = "CONNECT " + authority + " HTTP/1.1\r\nHost: " + authority + "\r\n";
    if (!way.user.empty())
        request += "Proxy-Authorization: Basic " + Base64(way.user + ":" + way.password) + "\r\n";
    request += "\r\n";
    if (!SendAll(fd, request, deadline)) return false;
    // "HTTP/1.1 200 Connection established"
    unsigned char line[12];
    if (!ReceiveAll(fd, line, sizeof line, deadline)) return false;
    const std::string head(reinterpret_cast<const char*>(line), sizeof line);
    return head.compare(0, 5, "HTTP/") == 0 && head[8] == ' ' && head[9] == '2' &&
           std::isdigit(static_cast<unsigned char>(head[10])) &&
           std::isdigit(static_cast<unsigned char>(head[11]));
}

// The target goes by address when it is one, else by name, for the proxy to look up.
std::string Socks5Target(const std::string& host) {
    unsigned char address[16];
    if (::inet_pton(AF_INET, host.c_str(), address) == 1)
        return std::string("\x01", 1) + std::string(reinterpret_cast<char*>(address), 4);
    if (::inet_pton(AF_INET6, host.c_str(), address) == 1)
        return std::string("\x04", 1) + std::string(reinterpret_cast<char*>(address), 16);
    if (host.size() > 255) return std::string();
    return std::string("\x03", 1) + static_cast<char>(host.size()) + host;
}

bool Socks5Tunnel(int fd, const TInternetWay& way, const std::string& host, int port,
                  Clock::time_point deadline) {
    const bool login = !way.user.empty();
    if (way.user.size() > 255 || way.password.size() > 255) return false;
    unsigned char answer[2];
    // Offered: no authentication, and a user and password when there are some.
    if (!SendAll(fd, login ? std::string("\x05\x02\x00\x02", 4) : std::string("\x05\x01\x00", 3), deadline) ||
        !ReceiveAll(fd, answer, 2, deadline) || answer[0] != 5)
        return false;
    if (answer[1] == 2 && login) {
        const std::string credentials = std::string("\x01", 1) + static_cast<char>(way.user.size()) +
                                        way.user + static_cast<char>(way.password.size()) + way.password;
        if (!SendAll(fd, credentials, deadline) || !ReceiveAll(fd, answer, 2, deadline) || answer[1] != 0)
            return false;
    } else if (answer[1] != 0) {
        return false;
    }
    const std::string target = Socks5Target(host);
    if (target.empty()) return false;
    const std::string request = std::string("\x05\x01\x00", 3) + target +
                                static_cast<char>(port >> 8 & 0xFF) + static_cast<char>(port & 0xFF);
    return SendAll(fd, request, deadline) && ReceiveAll(fd, answer, 2, deadline) && answer[0] == 5 &&
           answer[1] == 0;
}

} // namespace

bool ReachThroughAnyWay(const std::vector<TInternetWay>& ways, const std::string& host, int port,
                        int limitMs) {
    for (const TInternetWay& way : ways) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs);
        const bool direct = way.kind == TInternetWay::TKind::Direct;
        TSocket s(Connect(direct ? host : way.host, direct ? port : way.port, deadline));
        if (s.Fd() < 0) continue;
        if (direct ||
            (way.kind == TInternetWay::TKind::Http ? HttpTunnel(s.Fd(), way, host, port, deadline)
                                                   : Socks5Tunnel(s.Fd(), way, host, port, deadline)))
            return true;
    }
    return false;
}
