// The export tables of the built-in socket libraries.
#include "platform/win/Modules.h"
#include "platform/win/Winsock.h"

namespace winsock {

namespace {

template <typename F>
TBuiltinProc Export(const char* name, F* function) {
    return TBuiltinProc{name, reinterpret_cast<FARPROC>(function)};
}

std::vector<TBuiltinProc> Version11Procs() {
    return {
        Export("WSAStartup", &WSAStartup),
        Export("WSACleanup", &WSACleanup),
        Export("WSASetLastError", &WSASetLastError),
        Export("WSAGetLastError", &WSAGetLastError),
        Export("WSACancelAsyncRequest", &WSACancelAsyncRequest),
        Export("WSAAsyncGetHostByName", &WSAAsyncGetHostByName),
        Export("WSAAsyncGetHostByAddr", &WSAAsyncGetHostByAddr),
        Export("WSAAsyncSelect", &WSAAsyncSelect),
        Export("getservbyname", &getservbyname),
        Export("getprotobyname", &getprotobyname),
        Export("gethostbyname", &gethostbyname),
        Export("gethostbyaddr", &gethostbyaddr),
        Export("gethostname", &gethostname),
        Export("socket", &socket),
        Export("shutdown", &shutdown),
        Export("setsockopt", &setsockopt),
        Export("getsockopt", &getsockopt),
        Export("sendto", &sendto),
        Export("send", &send),
        Export("ntohs", &ntohs),
        Export("ntohl", &ntohl),
        Export("listen", &listen),
        Export("ioctlsocket", &ioctlsocket),
        Export("inet_ntoa", &inet_ntoa),
        Export("inet_addr", &inet_addr),
        Export("htons", &htons),
        Export("htonl", &htonl),
        Export("getsockname", &getsockname),
        Export("getpeername", &getpeername),
        Export("connect", &connect),
        Export("closesocket", &closesocket),
        Export("bind", &bind),
        Export("accept", &accept),
        Export("recv", &recv),
        Export("recvfrom", &recvfrom),
    };
}

} // namespace

TBuiltinModule Wsock32Module() {
    return TBuiltinModule{"wsock32.dll", Version11Procs(), nullptr};
}

TBuiltinModule Ws2_32Module() {
    auto procs = Version11Procs();
    procs.push_back(Export("WSAIoctl", &WSAIoctl));
    return TBuiltinModule{"ws2_32.dll", std::move(procs), nullptr};
}

} // namespace winsock
