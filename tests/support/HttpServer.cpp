#include "tests/support/HttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <stdexcept>

namespace testing_support {

namespace {

const char* StatusText(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 407:
        return "Proxy Authentication Required";
    default:
        return "Status";
    }
}

void SendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

} // namespace

HttpServer::HttpServer(Handler handler) : handler_(std::move(handler)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(listener_, 64) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &length) != 0)
        throw std::runtime_error("the test's HTTP server cannot listen");
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

HttpServer::~HttpServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
    // Answers under way finish on their own within their read limit.
    while (busy_ > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

std::string HttpServer::Address() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> HttpServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::string HttpServer::PathOf(const std::string& target) {
    const std::size_t scheme = target.find("://");
    if (scheme == std::string::npos) return target;
    const std::size_t path = target.find('/', scheme + 3);
    return path == std::string::npos ? "/" : target.substr(path);
}

void HttpServer::Serve() {
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) != 1) continue;
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        ++busy_;
        std::thread([this, fd] {
            Answer(fd);
            ::close(fd);
            --busy_;
        }).detach();
    }
}

void HttpServer::Answer(int fd) {
    std::string head;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        pollfd p{fd, POLLIN, 0};
        if (std::chrono::steady_clock::now() > deadline || ::poll(&p, 1, 50) < 0) return;
        if (!(p.revents & (POLLIN | POLLHUP))) continue;
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        head.append(buffer, static_cast<std::size_t>(n));
    }
    const std::string line = head.substr(0, head.find("\r\n"));
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(line);
    }
    const std::size_t space = line.find(' ');
    const std::string method = line.substr(0, space);
    const std::string target = line.substr(space + 1, line.rfind(' ') - space - 1);
    if (method == "CONNECT") {
        std::string wanted;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            wanted = proxyAuthorization_;
        }
        const bool allowed =
            wanted.empty() || head.find("\r\nProxy-Authorization: " + wanted + "\r\n") != std::string::npos;
        const int status = allowed ? connectStatus_.load() : 407;
        SendAll(fd, "HTTP/1.1 " + std::to_string(status) + " " + StatusText(status) + "\r\n\r\n");
        return;
    }
    const Reply reply = handler_(method, target);
    SendAll(fd, "HTTP/1.1 " + std::to_string(reply.status) + " " + StatusText(reply.status) +
                    "\r\nContent-Type: " + reply.type +
                    "\r\nContent-Length: " + std::to_string(reply.body.size()) +
                    "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" +
                    (method == "HEAD" ? "" : reply.body));
}

HttpServer::Reply SvgTile(const std::string& target) {
    static const std::regex tile(R"(/(\d+)/(\d+)/(\d+)\.svg)");
    std::smatch m;
    const std::string path = HttpServer::PathOf(target);
    if (!std::regex_match(path, m, tile)) return {404, "text/plain", "no such tile"};
    const long x = std::stol(m[2]), y = std::stol(m[3]);
    const char* fill = (x + y) % 2 == 0 ? "#3c9a3c" : "#2e7d32";
    char svg[512];
    std::snprintf(
        svg, sizeof svg,
        "<svg xmlns='http://www.w3.org/2000/svg' width='256' height='256'>"
        "<rect width='256' height='256' fill='%s' stroke='#1b3d1b' stroke-width='4'/>"
        "<text x='12' y='28' font-family='sans-serif' font-size='16' fill='#102010'>%s/%ld/%ld</text>"
        "</svg>",
        fill, m[1].str().c_str(), x, y);
    return {200, "image/svg+xml", svg};
}

std::vector<std::string> TilesAskedFor(const HttpServer& server) {
    static const std::regex tile(R"(^GET (\S+) HTTP)");
    static const std::regex numbers(R"(/(\d+)/(\d+)/(\d+)\.svg$)");
    std::vector<std::string> out;
    for (const std::string& line : server.Requests()) {
        std::smatch m, n;
        if (!std::regex_search(line, m, tile)) continue;
        const std::string path = HttpServer::PathOf(m[1]);
        if (std::regex_search(path, n, numbers))
            out.push_back(n[1].str() + "/" + n[2].str() + "/" + n[3].str());
    }
    return out;
}

} // namespace testing_support
