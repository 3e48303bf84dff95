// A small HTTP server on 127.0.0.1 for tests: a map tile server, and a proxy in front of one. Each
// connection carries one request, answered and closed; what was asked is kept.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

class HttpServer {
public:
    struct Reply {
        int status = 200;
        std::string type = "text/plain";
        std::string body;
    };
    // Called on the server's own threads with the method and the request target: a path ("/15/1/2.svg")
    // or, as a proxy is asked, an absolute address ("http://tiles.test/15/1/2.svg").
    using Handler = std::function<Reply(const std::string& method, const std::string& target)>;

    explicit HttpServer(Handler handler);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:<port>"
    std::string Address() const;
    // The request lines so far, in order ("GET /15/1/2.svg HTTP/1.1", "CONNECT tiles.test:443 HTTP/1.1").
    std::vector<std::string> Requests() const;
    // A CONNECT is answered with this status line's code (200 opens the tunnel, which then closes).
    void SetConnectStatus(int status) { connectStatus_ = status; }
    // A CONNECT without this Proxy-Authorization value ("Basic ...") is answered 407.
    void SetProxyAuthorization(const std::string& value) {
        std::lock_guard<std::mutex> lock(mutex_);
        proxyAuthorization_ = value;
    }

    // The path of a request target, whichever form it has.
    static std::string PathOf(const std::string& target);

private:
    void Serve();
    void Answer(int fd);

    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connectStatus_{200};
    std::atomic<int> busy_{0};
    mutable std::mutex mutex_;
    std::string proxyAuthorization_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// Map tiles for a tile server's handler: for "/z/x/y.svg" a 256-pixel square picture in one of two
// greens (by x + y), with a dark edge and its numbers, so that a map shows where it stands and moves.
HttpServer::Reply SvgTile(const std::string& target);
// The tiles a server was asked for, as "z/x/y", in order.
std::vector<std::string> TilesAskedFor(const HttpServer& server);

} // namespace testing_support
