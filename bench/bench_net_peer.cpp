// The system-socket side of bench_net: a loopback listener, a sender thread and the plain blocking
// receive loop that the socket component is measured against.
#include <arpa/inet.h>
#include <cstdint>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace benchpeer {

namespace {

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return sa;
}

} // namespace

int Listen(std::uint16_t& port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa = Loopback(0);
    if (bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || listen(fd, 4) != 0) {
        close(fd);
        return -1;
    }
    socklen_t len = sizeof sa;
    getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    port = ntohs(sa.sin_port);
    return fd;
}

int Accept(int listener) {
    pollfd p{listener, POLLIN, 0};
    if (poll(&p, 1, 5000) <= 0) return -1;
    return accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}

int ConnectBlocking(std::uint16_t port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa = Loopback(port);
    if (connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void Close(int fd) {
    if (fd >= 0) close(fd);
}

// Sends `total` bytes in 64 KB pieces on a thread of its own.
std::thread StartSender(int fd, std::size_t total) {
    return std::thread([fd, total] {
        std::vector<char> chunk(65536, 'b');
        std::size_t sent = 0;
        while (sent < total) {
            const std::size_t n = std::min(chunk.size(), total - sent);
            const ssize_t done = send(fd, chunk.data(), n, MSG_NOSIGNAL);
            if (done <= 0) break;
            sent += static_cast<std::size_t>(done);
        }
    });
}

std::size_t BlockingReceive(int fd, std::size_t total, std::size_t bufferSize) {
    std::vector<char> buffer(bufferSize);
    std::size_t got = 0;
    while (got < total) {
        const ssize_t n = recv(fd, buffer.data(), buffer.size(), 0);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

} // namespace benchpeer
