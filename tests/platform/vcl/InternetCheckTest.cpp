// The internet check against servers of the test's own on 127.0.0.1: a direct server, and an HTTP or
// SOCKS 5 proxy named by the environment as the system names one, in front of a host that only the
// proxy can reach.
#include "platform/vcl/WinInet.h"
#include "tests/support/HttpServer.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using testing_support::HttpServer;
using testing_support::ScopedEnv;

// A port of 127.0.0.1 that nothing listens on.
int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
    ::close(fd);
    return ntohs(a.sin_port);
}

// A SOCKS 5 proxy that opens no tunnel: it asks for its login when it has one, notes the target asked
// for ("host:port", or "login refused"), and answers `reply` (0 grants the connection).
class Socks5Proxy {
public:
    Socks5Proxy(std::string login, unsigned char reply) : login_(std::move(login)), reply_(reply) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listener_, 8);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &length);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] {
            while (!stop_) {
                pollfd p{listener_, POLLIN, 0};
                if (::poll(&p, 1, 20) != 1) continue;
                const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
                const timeval limit{2, 0};
                ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
                Answer(fd);
                ::close(fd);
            }
        });
    }
    ~Socks5Proxy() {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }
    std::string Address() const { return "socks5://" + login_ + (login_.empty() ? "" : "@") + Host(); }
    std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> Asked() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return asked_;
    }

private:
    void Answer(int fd) {
        unsigned char b[256];
        const auto read = [&](std::size_t n) {
            for (std::size_t got = 0; got < n;) {
                const ssize_t r = ::recv(fd, b + got, n - got, 0);
                if (r <= 0) return false;
                got += static_cast<std::size_t>(r);
            }
            return true;
        };
        const auto send = [&](std::initializer_list<unsigned char> bytes) {
            const std::vector<unsigned char> v(bytes);
            ::send(fd, v.data(), v.size(), MSG_NOSIGNAL);
        };
        const unsigned char method = login_.empty() ? 0 : 2;
        if (!read(2) || b[0] != 5 || !read(b[1]) || std::find(b, b + b[1], method) == b + b[1]) return;
        send({5, method});
        if (method == 2) {
            if (!read(2)) return;
            std::string login(b[1], ' ');
            if (!read(b[1])) return;
            login.assign(reinterpret_cast<char*>(b), login.size());
            if (!read(1)) return;
            const std::size_t passwordSize = b[0];
            if (!read(passwordSize)) return;
            login += ":" + std::string(reinterpret_cast<char*>(b), passwordSize);
            send({1, static_cast<unsigned char>(login == login_ ? 0 : 1)});
            if (login != login_) return Note("login refused");
        }
        if (!read(4) || b[3] != 3 || !read(1)) return Note("not by name");
        std::string host(b[0], ' ');
        if (!read(host.size() + 2)) return;
        host.assign(reinterpret_cast<char*>(b), host.size());
        Note(host + ":" + std::to_string(b[host.size()] << 8 | b[host.size() + 1]));
        send({5, reply_, 0, 1, 0, 0, 0, 0, 0, 0});
    }
    void Note(const std::string& what) {
        std::lock_guard<std::mutex> lock(mutex_);
        asked_.push_back(what);
    }

    const std::string login_;
    const unsigned char reply_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> asked_;
    std::thread thread_;
};

TEST(InternetCheck, ReachesTheServerDirectlyOrThroughTheSystemsProxy) {
    HttpServer server([](const std::string&, const std::string&) { return HttpServer::Reply{}; });
    HttpServer proxy([](const std::string&, const std::string&) { return HttpServer::Reply{}; });
    HttpServer refusing([](const std::string&, const std::string&) { return HttpServer::Reply{}; });
    refusing.SetConnectStatus(403);
    HttpServer guarded([](const std::string&, const std::string&) { return HttpServer::Reply{}; });
    guarded.SetProxyAuthorization("Basic YW5uOnMzY3IzdCE="); // ann:s3cr3t!
    const std::string guardedHost = guarded.Address().substr(std::string("http://").size());
    Socks5Proxy socks("", 0), socksGuarded("ann:s3cr3t!", 0), socksRefusing("", 2);
    const std::string closed = "http://127.0.0.1:" + std::to_string(ClosedPort());
    // tiles.harbek.test has no address (.test is never delegated): only a proxy reaches it.
    struct Case {
        const char* what;
        std::string httpProxy, httpsProxy, noProxy;
        std::string url;
        BOOL reached;
        std::vector<std::string> proxyAsked;
        const Socks5Proxy* socksProxy = nullptr;
        std::vector<std::string> socksAsked = {};
    };
    const Case cases[] = {
        {"direct", "", "", "", server.Address() + "/{z}/{x}/{y}.svg", TRUE, {}},
        {"direct, nothing listens", "", "", "", closed + "/", FALSE, {}},
        {"direct, no such host", "", "", "", "http://tiles.harbek.test/", FALSE, {}},
        {"http proxy",
         proxy.Address(),
         "",
         "",
         "http://tiles.harbek.test/{z}/{x}/{y}.svg",
         TRUE,
         {"CONNECT tiles.harbek.test:80 HTTP/1.1"}},
        {"https proxy",
         "",
         proxy.Address(),
         "",
         "https://tiles.harbek.test:8443/a.png",
         TRUE,
         {"CONNECT tiles.harbek.test:8443 HTTP/1.1"}},
        {"https proxy, default port",
         "",
         proxy.Address(),
         "",
         "https://tiles.harbek.test/a.png",
         TRUE,
         {"CONNECT tiles.harbek.test:443 HTTP/1.1"}},
        {"the host is not to be proxied",
         proxy.Address(),
         "",
         "tiles.harbek.test",
         "http://tiles.harbek.test/",
         FALSE,
         {}},
        {"the proxy refuses", refusing.Address(), "", "", "http://tiles.harbek.test/", FALSE, {}},
        {"the proxy is down", closed, "", "", "http://tiles.harbek.test/", FALSE, {}},
        {"no host", "", "", "", "tiles", FALSE, {}},
        {"http proxy with its login",
         "http://ann:s3cr3t!@" + guardedHost,
         "",
         "",
         "http://tiles.harbek.test/",
         TRUE,
         {}},
        {"http proxy without its login", guarded.Address(), "", "", "http://tiles.harbek.test/", FALSE, {}},
        {"socks proxy",
         socks.Address(),
         "",
         "",
         "http://tiles.harbek.test/",
         TRUE,
         {},
         &socks,
         {"tiles.harbek.test:80"}},
        {"socks proxy, https",
         "",
         socks.Address(),
         "",
         "https://tiles.harbek.test:8443/",
         TRUE,
         {},
         &socks,
         {"tiles.harbek.test:8443"}},
        {"socks proxy with its login",
         socksGuarded.Address(),
         "",
         "",
         "http://tiles.harbek.test/",
         TRUE,
         {},
         &socksGuarded,
         {"tiles.harbek.test:80"}},
        {"socks proxy without its login",
         "socks5://" + socksGuarded.Host(),
         "",
         "",
         "http://tiles.harbek.test/",
         FALSE,
         {},
         &socksGuarded,
         {}},
        {"socks proxy, wrong login",
         "socks5://ann:wrong@" + socksGuarded.Host(),
         "",
         "",
         "http://tiles.harbek.test/",
         FALSE,
         {},
         &socksGuarded,
         {"login refused"}},
        {"socks proxy refuses",
         socksRefusing.Address(),
         "",
         "",
         "http://tiles.harbek.test/",
         FALSE,
         {},
         &socksRefusing,
         {"tiles.harbek.test:80"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t before = proxy.Requests().size();
        const std::size_t socksBefore = c.socksProxy != nullptr ? c.socksProxy->Asked().size() : 0;
        const auto value = [](const std::string& v) { return v.empty() ? nullptr : v.c_str(); };
        ScopedEnv http("http_proxy", value(c.httpProxy));
        ScopedEnv https("https_proxy", value(c.httpsProxy));
        ScopedEnv all("all_proxy", nullptr);
        ScopedEnv no("no_proxy", value(c.noProxy));
        EXPECT_EQ(InternetCheckConnectionA(c.url.c_str(), FLAG_ICC_FORCE_CONNECTION, 0), c.reached);
        const std::vector<std::string> asked = proxy.Requests();
        EXPECT_EQ(std::vector<std::string>(asked.begin() + static_cast<std::ptrdiff_t>(before), asked.end()),
                  c.proxyAsked);
        if (c.socksProxy != nullptr) {
            const std::vector<std::string> socksAsked = c.socksProxy->Asked();
            EXPECT_EQ(std::vector<std::string>(socksAsked.begin() + static_cast<std::ptrdiff_t>(socksBefore),
                                               socksAsked.end()),
                      c.socksAsked);
        }
    }
    EXPECT_EQ(InternetCheckConnectionA(nullptr, FLAG_ICC_FORCE_CONNECTION, 0), FALSE);
}

} // namespace
