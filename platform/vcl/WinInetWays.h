// The internet check's connections, on system sockets alone: to the server directly, or through an HTTP
// proxy (CONNECT) or a SOCKS 5 proxy, the target's name left to the proxy. Nothing here touches the
// toolkit or a static object of the program, so a thread may be left inside it when the program ends;
// the name look-up (getaddrinfo) is the one step without a limit (platform-internal, tested).
#pragma once

#include <string>
#include <vector>

struct TInternetWay {
    enum class TKind { Direct, Http, Socks5 };
    TKind kind = TKind::Direct;
    // The proxy's; unused for Direct.
    std::string host;
    int port = 0;
    std::string user;
    std::string password;
};

// Whether one of the ways, each within limitMs once its host is looked up, reaches host:port.
bool ReachThroughAnyWay(const std::vector<TInternetWay>& ways, const std::string& host, int port,
                        int limitMs);
