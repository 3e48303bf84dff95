// Windows Sockets 1.1 with window notification, over POSIX sockets (IPv4 only).
//
// The names clash with POSIX, so everything lives in namespace winsock, and this header must not share a
// translation unit with the system's socket headers (their macros would rewrite these names).
//
// SOCKET values are numbers of their own, never descriptors, and never handed out twice. A socket
// registered with WSAAsyncSelect reports readiness as messages posted to the window:
// wParam = socket, lParam = WSAMAKESELECTREPLY(event, Winsock error). One event per message;
// FD_READ is re-armed by the next recv/recvfrom, FD_WRITE follows a connect and a send that would have
// blocked, FD_ACCEPT is re-armed by accept, FD_CONNECT and FD_CLOSE come once. closesocket drops the
// socket's notifications still queued. Readiness is evaluated on the window's thread inside every
// message retrieval.
#pragma once

#include "platform/core/Types.h"

#include <cstdint>

namespace winsock {

using u_char = std::uint8_t;
using u_short = std::uint16_t;
using u_int = std::uint32_t;
using u_long = std::uint32_t;
using SOCKET = UINT_PTR;

inline constexpr SOCKET INVALID_SOCKET = ~SOCKET{0};
inline constexpr int SOCKET_ERROR = -1;

// Address families, socket types, protocols.
inline constexpr int AF_UNSPEC = 0;
inline constexpr int AF_INET = 2;
inline constexpr int PF_INET = AF_INET;
inline constexpr int SOCK_STREAM = 1;
inline constexpr int SOCK_DGRAM = 2;
inline constexpr int SOCK_RAW = 3;
inline constexpr int IPPROTO_IP = 0;
inline constexpr int IPPROTO_ICMP = 1;
inline constexpr int IPPROTO_TCP = 6;
inline constexpr int IPPROTO_UDP = 17;
inline constexpr int IPPROTO_RAW = 255;

inline constexpr u_long INADDR_ANY = 0x00000000u;
inline constexpr u_long INADDR_LOOPBACK = 0x7F000001u;
inline constexpr u_long INADDR_BROADCAST = 0xFFFFFFFFu;
inline constexpr u_long INADDR_NONE = 0xFFFFFFFFu;

// Socket options (level SOL_SOCKET unless noted).
inline constexpr int SOL_SOCKET = 0xFFFF;
inline constexpr int SO_DEBUG = 0x0001;
inline constexpr int SO_ACCEPTCONN = 0x0002;
inline constexpr int SO_REUSEADDR = 0x0004;
inline constexpr int SO_KEEPALIVE = 0x0008;
inline constexpr int SO_DONTROUTE = 0x0010;
inline constexpr int SO_BROADCAST = 0x0020;
inline constexpr int SO_LINGER = 0x0080;
inline constexpr int SO_OOBINLINE = 0x0100;
inline constexpr int SO_DONTLINGER = ~SO_LINGER;
inline constexpr int SO_SNDBUF = 0x1001;
inline constexpr int SO_RCVBUF = 0x1002;
inline constexpr int SO_SNDLOWAT = 0x1003;
inline constexpr int SO_RCVLOWAT = 0x1004;
inline constexpr int SO_SNDTIMEO = 0x1005;
inline constexpr int SO_RCVTIMEO = 0x1006;
inline constexpr int SO_ERROR = 0x1007;
inline constexpr int SO_TYPE = 0x1008;
inline constexpr int TCP_NODELAY = 0x0001; // level IPPROTO_TCP
// Level IPPROTO_IP, the 1.1 library's numbers.
inline constexpr int IP_MULTICAST_IF = 2;
inline constexpr int IP_MULTICAST_TTL = 3;
inline constexpr int IP_MULTICAST_LOOP = 4;
inline constexpr int IP_ADD_MEMBERSHIP = 5;
inline constexpr int IP_DROP_MEMBERSHIP = 6;
inline constexpr int IP_TTL = 7;

inline constexpr int SOMAXCONN = 5;

inline constexpr int MSG_OOB = 0x1;
inline constexpr int MSG_PEEK = 0x2;
inline constexpr int MSG_DONTROUTE = 0x4;

inline constexpr int SD_RECEIVE = 0;
inline constexpr int SD_SEND = 1;
inline constexpr int SD_BOTH = 2;

inline constexpr long FIONREAD = 0x4004667F;
inline constexpr long FIONBIO = static_cast<long>(0x8004667Eu);
inline constexpr long SIOCATMARK = 0x40047307;
inline constexpr DWORD SIO_RCVALL = 0x98000001u;
inline constexpr DWORD SIO_KEEPALIVE_VALS = 0x98000004u;

// Notification events.
inline constexpr long FD_READ = 0x01;
inline constexpr long FD_WRITE = 0x02;
inline constexpr long FD_OOB = 0x04;
inline constexpr long FD_ACCEPT = 0x08;
inline constexpr long FD_CONNECT = 0x10;
inline constexpr long FD_CLOSE = 0x20;

constexpr LPARAM WSAMAKESELECTREPLY(long event, int error) {
    return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(event), static_cast<WORD>(error)));
}
constexpr LPARAM WSAMAKEASYNCREPLY(int bufferLength, int error) {
    return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(bufferLength), static_cast<WORD>(error)));
}
constexpr WORD WSAGETSELECTEVENT(LPARAM lParam) {
    return LOWORD(static_cast<DWORD>(lParam));
}
constexpr WORD WSAGETSELECTERROR(LPARAM lParam) {
    return HIWORD(static_cast<DWORD>(lParam));
}
constexpr WORD WSAGETASYNCBUFLEN(LPARAM lParam) {
    return LOWORD(static_cast<DWORD>(lParam));
}
constexpr WORD WSAGETASYNCERROR(LPARAM lParam) {
    return HIWORD(static_cast<DWORD>(lParam));
}

// Error numbers.
inline constexpr int WSABASEERR = 10000;
inline constexpr int WSAEINTR = 10004;
inline constexpr int WSAEBADF = 10009;
inline constexpr int WSAEACCES = 10013;
inline constexpr int WSAEFAULT = 10014;
inline constexpr int WSAEINVAL = 10022;
inline constexpr int WSAEMFILE = 10024;
inline constexpr int WSAEWOULDBLOCK = 10035;
inline constexpr int WSAEINPROGRESS = 10036;
inline constexpr int WSAEALREADY = 10037;
inline constexpr int WSAENOTSOCK = 10038;
inline constexpr int WSAEDESTADDRREQ = 10039;
inline constexpr int WSAEMSGSIZE = 10040;
inline constexpr int WSAEPROTOTYPE = 10041;
inline constexpr int WSAENOPROTOOPT = 10042;
inline constexpr int WSAEPROTONOSUPPORT = 10043;
inline constexpr int WSAESOCKTNOSUPPORT = 10044;
inline constexpr int WSAEOPNOTSUPP = 10045;
inline constexpr int WSAEPFNOSUPPORT = 10046;
inline constexpr int WSAEAFNOSUPPORT = 10047;
inline constexpr int WSAEADDRINUSE = 10048;
inline constexpr int WSAEADDRNOTAVAIL = 10049;
inline constexpr int WSAENETDOWN = 10050;
inline constexpr int WSAENETUNREACH = 10051;
inline constexpr int WSAENETRESET = 10052;
inline constexpr int WSAECONNABORTED = 10053;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAENOBUFS = 10055;
inline constexpr int WSAEISCONN = 10056;
inline constexpr int WSAENOTCONN = 10057;
inline constexpr int WSAESHUTDOWN = 10058;
inline constexpr int WSAETOOMANYREFS = 10059;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAECONNREFUSED = 10061;
inline constexpr int WSAELOOP = 10062;
inline constexpr int WSAENAMETOOLONG = 10063;
inline constexpr int WSAEHOSTDOWN = 10064;
inline constexpr int WSAEHOSTUNREACH = 10065;
inline constexpr int WSAENOTEMPTY = 10066;
inline constexpr int WSAEPROCLIM = 10067;
inline constexpr int WSAEUSERS = 10068;
inline constexpr int WSAEDQUOT = 10069;
inline constexpr int WSAESTALE = 10070;
inline constexpr int WSAEREMOTE = 10071;
inline constexpr int WSASYSNOTREADY = 10091;
inline constexpr int WSAVERNOTSUPPORTED = 10092;
inline constexpr int WSANOTINITIALISED = 10093;
inline constexpr int WSAHOST_NOT_FOUND = 11001;
inline constexpr int WSATRY_AGAIN = 11002;
inline constexpr int WSANO_RECOVERY = 11003;
inline constexpr int WSANO_DATA = 11004;

// A connect that has no outcome after this long reports FD_CONNECT(WSAETIMEDOUT). Read on GetTickCount.
inline constexpr DWORD kConnectDeadlineMs = 21000;

// Plain records, as the platform's: zero them before use (= {}).
struct in_addr {
    u_long s_addr; // network order
};

struct sockaddr {
    u_short sa_family;
    char sa_data[14];
};

struct sockaddr_in {
    short sin_family;
    u_short sin_port; // network order
    in_addr sin_addr;
    char sin_zero[8];
};
static_assert(sizeof(sockaddr_in) == 16 && sizeof(sockaddr) == 16);

struct linger {
    u_short l_onoff;
    u_short l_linger;
};

struct ip_mreq {
    in_addr imr_multiaddr;
    in_addr imr_interface;
};

// The keep-alive control of SIO_KEEPALIVE_VALS: times in milliseconds.
struct tcp_keepalive {
    u_long onoff;
    u_long keepalivetime;
    u_long keepaliveinterval;
};

struct hostent {
    char* h_name;
    char** h_aliases;
    short h_addrtype;
    short h_length;
    char** h_addr_list;
};

struct servent {
    char* s_name;
    char** s_aliases;
    short s_port; // network order
    char* s_proto;
};

struct protoent {
    char* p_name;
    char** p_aliases;
    short p_proto;
};

inline constexpr int WSADESCRIPTION_LEN = 256;
inline constexpr int WSASYS_STATUS_LEN = 128;
inline constexpr int MAXGETHOSTSTRUCT = 1024;

struct WSAData {
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[WSADESCRIPTION_LEN + 1];
    char szSystemStatus[WSASYS_STATUS_LEN + 1];
    unsigned short iMaxSockets;
    unsigned short iMaxUdpDg;
    char* lpVendorInfo;
};
using WSADATA = WSAData;

// Start-up and clean-up are counted; the record reports version 1.1.
int WSAStartup(WORD versionRequested, WSAData* data);
int WSACleanup();
int WSAGetLastError();
void WSASetLastError(int error);

// Replaces the socket's registration (mask 0 cancels it), makes the socket non-blocking, re-arms every
// event in the mask and posts at once what already holds: FD_WRITE when writable, FD_READ when data
// waits, FD_ACCEPT when a connection waits, FD_CLOSE when the peer has closed and nothing is left.
int WSAAsyncSelect(SOCKET s, HWND window, u_int message, long events);
// Lookups run on a worker thread, which fills the caller's buffer and posts (message, task handle,
// WSAMAKEASYNCREPLY(length, error)) to the window. A buffer too small gives WSAENOBUFS with the size
// that was needed. After a successful cancel neither the buffer nor the window hears of it again; a task
// that has answered cannot be cancelled (WSAEALREADY), a handle never given out is WSAEINVAL.
HANDLE WSAAsyncGetHostByName(HWND window, u_int message, const char* name, char* buffer, int bufferLength);
HANDLE WSAAsyncGetHostByAddr(HWND window, u_int message, const char* address, int length, int type,
                             char* buffer, int bufferLength);
int WSACancelAsyncRequest(HANDLE task);

SOCKET socket(int family, int type, int protocol);
int bind(SOCKET s, const sockaddr* name, int nameLength);
int listen(SOCKET s, int backlog);
// Accepted sockets are non-blocking and unregistered until their own WSAAsyncSelect.
SOCKET accept(SOCKET s, sockaddr* address, int* addressLength);
int connect(SOCKET s, const sockaddr* name, int nameLength);
int closesocket(SOCKET s);
int shutdown(SOCKET s, int how);
// Sends never raise SIGPIPE; a broken connection answers WSAECONNRESET.
int send(SOCKET s, const char* buffer, int length, int flags);
int sendto(SOCKET s, const char* buffer, int length, int flags, const sockaddr* to, int toLength);
// A datagram longer than the buffer fills it and answers WSAEMSGSIZE (the rest is lost).
int recv(SOCKET s, char* buffer, int length, int flags);
int recvfrom(SOCKET s, char* buffer, int length, int flags, sockaddr* from, int* fromLength);
int ioctlsocket(SOCKET s, long command, u_long* argument);
int getsockopt(SOCKET s, int level, int option, char* value, int* valueLength);
int setsockopt(SOCKET s, int level, int option, const char* value, int valueLength);
int WSAIoctl(SOCKET s, DWORD code, void* in, DWORD inLength, void* out, DWORD outLength, DWORD* bytesReturned,
             void* overlapped, void* completion);
int getsockname(SOCKET s, sockaddr* name, int* nameLength);
int getpeername(SOCKET s, sockaddr* name, int* nameLength);

int gethostname(char* name, int nameLength);
// The results live in per-thread storage until the thread's next call of the same function. The local
// host name maps to the addresses of the interfaces, non-loopback ones first.
hostent* gethostbyname(const char* name);
hostent* gethostbyaddr(const char* address, int length, int type);
servent* getservbyname(const char* name, const char* protocol);
protoent* getprotobyname(const char* name);
// Dotted forms with one to four parts (decimal, octal or hex); the text ends at the first blank.
u_long inet_addr(const char* text);
char* inet_ntoa(in_addr address);

u_short htons(u_short value);
u_short ntohs(u_short value);
u_long htonl(u_long value);
u_long ntohl(u_long value);

} // namespace winsock
