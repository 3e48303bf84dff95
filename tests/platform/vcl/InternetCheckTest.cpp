// The internet check against servers of the test's own on 127.0.0.1: a direct server, and a proxy
// named by the environment as the system names one, in front of a host that only the proxy can reach.
#include "platform/vcl/WinInet.h"
#include "tests/support/HttpServer.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
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

TEST(InternetCheck, ReachesTheServerDirectlyOrThroughTheSystemsProxy) {
    HttpServer server([](const std::string&, const std::string&) { return HttpServer::Reply{}; });
    HttpServer proxy([](const std::string&, const std::string&) { return HttpServer::Reply{}; });
    HttpServer refusing([](const std::string&, const std::string&) { return HttpServer::Reply{}; });
    refusing.SetConnectStatus(403);
    const std::string closed = "http://127.0.0.1:" + std::to_string(ClosedPort());
    // tiles.harbek.test has no address (.test is never delegated): only a proxy reaches it.
    struct Case {
        const char* what;
        std::string httpProxy, httpsProxy, noProxy;
        std::string url;
        BOOL reached;
        std::vector<std::string> proxyAsked;
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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t before = proxy.Requests().size();
        const auto value = [](const std::string& v) { return v.empty() ? nullptr : v.c_str(); };
        ScopedEnv http("http_proxy", value(c.httpProxy));
        ScopedEnv https("https_proxy", value(c.httpsProxy));
        ScopedEnv all("all_proxy", nullptr);
        ScopedEnv no("no_proxy", value(c.noProxy));
        EXPECT_EQ(InternetCheckConnectionA(c.url.c_str(), FLAG_ICC_FORCE_CONNECTION, 0), c.reached);
        const std::vector<std::string> asked = proxy.Requests();
        EXPECT_EQ(std::vector<std::string>(asked.begin() + static_cast<std::ptrdiff_t>(before), asked.end()),
                  c.proxyAsked);
    }
    EXPECT_EQ(InternetCheckConnectionA(nullptr, FLAG_ICC_FORCE_CONNECTION, 0), FALSE);
}

} // namespace
