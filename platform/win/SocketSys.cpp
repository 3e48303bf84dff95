#include "platform/win/SocketSys.h"

#include "platform/win/MessageQueue.h"

#include "platform/core/StrUtils.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

static_assert(POLLIN == msgloop::kWatchIn && POLLOUT == msgloop::kWatchOut && POLLERR == msgloop::kWatchErr &&
              POLLHUP == msgloop::kWatchHup);

namespace sockdetail {

namespace {

// Winsock numbers used here (the Winsock header cannot be included next to the system's).
constexpr int kWsaEfault = 10014;
constexpr int kWsaEinval = 10022;
constexpr int kWsaEmsgsize = 10040;
constexpr int kWsaEnoprotoopt = 10042;
constexpr int kWsaEsocktnosupport = 10044;
constexpr int kWsaEopnotsupp = 10045;
constexpr int kWsaHostNotFound = 11001;
constexpr int kWsaTryAgain = 11002;
constexpr int kWsaNoRecovery = 11003;
constexpr int kWsaNoData = 11004;

constexpr int kWinMsgOob = 0x1;
constexpr int kWinMsgPeek = 0x2;
constexpr int kWinMsgDontRoute = 0x4;

constexpr int kWinSolSocket = 0xFFFF;
constexpr int kWinIpprotoIp = 0;
constexpr int kWinIpprotoTcp = 6;

sockaddr_in ToSockaddr(const Ipv4& a) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = a.Port;
    sa.sin_addr.s_addr = a.Addr;
    return sa;
}

Ipv4 FromSockaddr(const sockaddr_in& sa) {
    return Ipv4{sa.sin_addr.s_addr, sa.sin_port};
}

bool Fail(int& error, int code) {
    error = code;
    return false;
}

bool FailErrno(int& error) {
    return Fail(error, WsaFromErrno(errno));
}

// Integer-like option values: 4 bytes, or 1 byte where the caller passes a char.
bool ReadInt(const char* value, int length, int& out) {
    if (value == nullptr || length < 1) return false;
    if (length >= 4) {
        std::memcpy(&out, value, 4);
    } else {
        out = static_cast<unsigned char>(value[0]);
    }
    return true;
}

bool WriteInt(char* value, int* length, int in, int& error) {
    if (value == nullptr || length == nullptr || *length < 4) return Fail(error, kWsaEfault);
    std::memcpy(value, &in, 4);
    *length = 4;
    return true;
}

// Options whose value is one integer, with their system level and name.
struct IntOption {
    int WinLevel;
    int WinName;
    int Level;
    int Name;
};

constexpr IntOption kIntOptions[] = {
    {kWinSolSocket, 0x0001, SOL_SOCKET, SO_DEBUG},
    {kWinSolSocket, 0x0004, SOL_SOCKET, SO_REUSEADDR},
    {kWinSolSocket, 0x0008, SOL_SOCKET, SO_KEEPALIVE},
    {kWinSolSocket, 0x0010, SOL_SOCKET, SO_DONTROUTE},
    {kWinSolSocket, 0x0020, SOL_SOCKET, SO_BROADCAST},
    {kWinSolSocket, 0x0100, SOL_SOCKET, SO_OOBINLINE},
    {kWinSolSocket, 0x0002, SOL_SOCKET, SO_ACCEPTCONN},
    {kWinIpprotoTcp, 0x0001, IPPROTO_TCP, TCP_NODELAY},
    {kWinIpprotoIp, 3, IPPROTO_IP, IP_MULTICAST_TTL},
    {kWinIpprotoIp, 4, IPPROTO_IP, IP_MULTICAST_LOOP},
    {kWinIpprotoIp, 7, IPPROTO_IP, IP_TTL},
};

const IntOption* FindIntOption(int level, int option) {
    for (const auto& o : kIntOptions)
        if (o.WinLevel == level && o.WinName == option) return &o;
    return nullptr;
}

bool KnownLevel(int level) {
    return level == kWinSolSocket || level == kWinIpprotoIp || level == kWinIpprotoTcp;
}

int SysFlags(int flags, int allowed, int& error) {
    if ((flags & ~allowed) != 0) {
        error = kWsaEopnotsupp;
        return -1;
    }
    int out = MSG_NOSIGNAL;
    if (flags & kWinMsgOob) out |= MSG_OOB;
    if (flags & kWinMsgPeek) out |= MSG_PEEK;
    if (flags & kWinMsgDontRoute) out |= MSG_DONTROUTE;
    return out;
}

int LookupError(int gai) {
    switch (gai) {
    case EAI_NONAME:
        return kWsaHostNotFound;
    case EAI_AGAIN:
        return kWsaTryAgain;
#ifdef EAI_NODATA
    case EAI_NODATA:
        return kWsaNoData;
#endif
#ifdef EAI_ADDRFAMILY
    case EAI_ADDRFAMILY:
        return kWsaNoData;
#endif
    default:
        return kWsaNoRecovery;
    }
}

std::vector<std::string> CopyList(char** list) {
    std::vector<std::string> out;
    for (; list != nullptr && *list != nullptr; ++list)
        out.emplace_back(*list);
    return out;
}

} // namespace

int WsaFromErrno(int error) {
    switch (error) {
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
    case EPERM:
        return 10013;
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
    case ENFILE:
        return 10024;
    case EAGAIN:
        return 10035;
    case EINPROGRESS:
        return 10036;
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EDESTADDRREQ:
        return 10039;
    case EMSGSIZE:
        return 10040;
    case EPROTOTYPE:
        return 10041;
    case ENOPROTOOPT:
        return 10042;
    case EPROTONOSUPPORT:
        return 10043;
    case ESOCKTNOSUPPORT:
        return 10044;
    case EOPNOTSUPP:
        return 10045;
    case EPFNOSUPPORT:
        return 10046;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
    case ENODEV:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    case ECONNRESET:
    case EPIPE:
        return 10054;
    case ENOBUFS:
    case ENOMEM:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    case ESHUTDOWN:
        return 10058;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case ELOOP:
        return 10062;
    case ENAMETOOLONG:
        return 10063;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    case ENOTEMPTY:
        return 10066;
    default:
        return kWsaEinval;
    }
}

int OpenSocket(int type, int protocol, int& error) {
    int sysType = 0;
    switch (type) {
    case 1:
        sysType = SOCK_STREAM;
        break;
    case 2:
        sysType = SOCK_DGRAM;
        break;
    case 3:
        sysType = SOCK_RAW;
        break;
    default:
        error = kWsaEsocktnosupport;
        return -1;
    }
    const int fd = ::socket(AF_INET, sysType | SOCK_CLOEXEC, protocol);
    if (fd < 0) error = WsaFromErrno(errno);
    return fd;
}

// Never retried: after EINTR the descriptor is gone already and its number may belong to someone else.
void CloseSocket(int fd) {
    ::close(fd);
}

bool SetNonBlocking(int fd, bool on, int& error) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0) return FailErrno(error);
    const int wanted = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    if (wanted != flags && ::fcntl(fd, F_SETFL, wanted) < 0) return FailErrno(error);
    return true;
}

bool Bind(int fd, const Ipv4& address, int& error) {
    const sockaddr_in sa = ToSockaddr(address);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) < 0) return FailErrno(error);
    return true;
}

bool Listen(int fd, int backlog, int& error) {
    if (::listen(fd, std::max(backlog, 1)) < 0) return FailErrno(error);
    return true;
}

int Accept(int fd, bool nonBlocking, Ipv4* peer, int& error) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    int result;
    do {
        result = ::accept4(fd, reinterpret_cast<sockaddr*>(&sa), &len,
                           SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0));
    } while (result < 0 && errno == EINTR);
    if (result < 0) {
        error = WsaFromErrno(errno);
        return -1;
    }
    if (peer != nullptr) *peer = FromSockaddr(sa);
    return result;
}

ConnectOutcome Connect(int fd, const Ipv4& address, int& error) {
    const sockaddr_in sa = ToSockaddr(address);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0)
        return ConnectOutcome::Connected;
    // An interrupted connect goes on in the background, like one in progress.
    if (errno == EINPROGRESS || errno == EINTR) return ConnectOutcome::Pending;
    error = WsaFromErrno(errno);
    return ConnectOutcome::Failed;
}

void AbortConnect(int fd) {
    sockaddr sa{};
    sa.sa_family = AF_UNSPEC;
    ::connect(fd, &sa, sizeof sa);
}

long Send(int fd, const void* data, std::size_t length, int flags, const Ipv4* to, int& error) {
    const int sysFlags = SysFlags(flags, kWinMsgOob | kWinMsgDontRoute, error);
    if (sysFlags < 0) return -1;
    ssize_t n;
    do {
        if (to != nullptr) {
            const sockaddr_in sa = ToSockaddr(*to);
            n = ::sendto(fd, data, length, sysFlags, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
        } else {
            n = ::send(fd, data, length, sysFlags);
        }
    } while (n < 0 && errno == EINTR);
    if (n < 0) error = WsaFromErrno(errno);
    return static_cast<long>(n);
}

long Receive(int fd, void* data, std::size_t length, int flags, bool datagram, Ipv4* from, int& error) {
    int sysFlags = SysFlags(flags, kWinMsgOob | kWinMsgPeek, error);
    if (sysFlags < 0) return -1;
    sysFlags &= ~MSG_NOSIGNAL;
    if (datagram) sysFlags |= MSG_TRUNC;
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    ssize_t n;
    do {
        n = ::recvfrom(fd, data, length, sysFlags,
                       from != nullptr ? reinterpret_cast<sockaddr*>(&sa) : nullptr,
                       from != nullptr ? &len : nullptr);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        error = WsaFromErrno(errno);
        return -1;
    }
    if (from != nullptr) *from = FromSockaddr(sa);
    if (datagram && static_cast<std::size_t>(n) > length) {
        error = kWsaEmsgsize;
        return -1;
    }
    return static_cast<long>(n);
}

bool Shutdown(int fd, int how, int& error) {
    int sysHow;
    switch (how) {
    case 0:
        sysHow = SHUT_RD;
        break;
    case 1:
        sysHow = SHUT_WR;
        break;
    case 2:
        sysHow = SHUT_RDWR;
        break;
    default:
        return Fail(error, kWsaEinval);
    }
    if (::shutdown(fd, sysHow) < 0) return FailErrno(error);
    return true;
}

bool LocalName(int fd, Ipv4& address, int& error) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) < 0) return FailErrno(error);
    address = FromSockaddr(sa);
    return true;
}

bool PeerName(int fd, Ipv4& address, int& error) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&sa), &len) < 0) return FailErrno(error);
    address = FromSockaddr(sa);
    return true;
}

long BytesWaiting(int fd, int& error) {
    int count = 0;
    if (::ioctl(fd, FIONREAD, &count) < 0) {
        error = WsaFromErrno(errno);
        return -1;
    }
    return count;
}

bool AtOobMark(int fd, bool& atMark, int& error) {
    int mark = 0;
    if (::ioctl(fd, SIOCATMARK, &mark) < 0) return FailErrno(error);
    atMark = mark != 0;
    return true;
}

int PendingError(int fd) {
    int value = 0;
    socklen_t len = sizeof value;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &value, &len) < 0 || value == 0) return 0;
    return WsaFromErrno(value);
}

bool SetOption(int fd, int level, int option, const char* value, int length, int& error) {
    if (value == nullptr || length < 0) return Fail(error, kWsaEfault);
    if (const IntOption* o = FindIntOption(level, option)) {
        if (o->Level == SOL_SOCKET && o->Name == SO_ACCEPTCONN) return Fail(error, kWsaEnoprotoopt);
        int v = 0;
        if (!ReadInt(value, length, v)) return Fail(error, kWsaEfault);
        // Switches take any non-zero value (the system's own components pass 0xFFFFFFFF).
        if (o->Level == SOL_SOCKET || o->Level == IPPROTO_TCP) v = v != 0 ? 1 : 0;
        if (::setsockopt(fd, o->Level, o->Name, &v, sizeof v) < 0) return FailErrno(error);
        return true;
    }
    if (level == kWinSolSocket) {
        switch (option) {
        case 0x0080: { // SO_LINGER
            if (length < 4) return Fail(error, kWsaEfault);
            std::uint16_t parts[2];
            std::memcpy(parts, value, 4);
            const ::linger l{parts[0] != 0 ? 1 : 0, parts[1]};
            if (::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l) < 0) return FailErrno(error);
            return true;
        }
        case ~0x0080: { // SO_DONTLINGER
            int v = 0;
            if (!ReadInt(value, length, v)) return Fail(error, kWsaEfault);
            const ::linger l{v != 0 ? 0 : 1, 0};
            if (::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l) < 0) return FailErrno(error);
            return true;
        }
        case 0x1001:
        case 0x1002: {
            int v = 0;
            if (length < 4 || !ReadInt(value, length, v)) return Fail(error, kWsaEfault);
            if (::setsockopt(fd, SOL_SOCKET, option == 0x1001 ? SO_SNDBUF : SO_RCVBUF, &v, sizeof v) < 0)
                return FailErrno(error);
            return true;
        }
        case 0x1005:
        case 0x1006: {
            int ms = 0;
            if (length < 4 || !ReadInt(value, length, ms)) return Fail(error, kWsaEfault);
            const timeval tv{ms / 1000, (ms % 1000) * 1000};
            if (::setsockopt(fd, SOL_SOCKET, option == 0x1005 ? SO_SNDTIMEO : SO_RCVTIMEO, &tv, sizeof tv) <
                0)
                return FailErrno(error);
            return true;
        }
        default:
            return Fail(error, kWsaEnoprotoopt);
        }
    }
    if (level == kWinIpprotoIp) {
        switch (option) {
        case 2: { // IP_MULTICAST_IF
            if (length < 4) return Fail(error, kWsaEfault);
            in_addr a{};
            std::memcpy(&a.s_addr, value, 4);
            if (::setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &a, sizeof a) < 0) return FailErrno(error);
            return true;
        }
        case 5:
        case 6: { // IP_ADD_MEMBERSHIP, IP_DROP_MEMBERSHIP
            if (length < 8) return Fail(error, kWsaEfault);
            ip_mreq m{};
            std::memcpy(&m.imr_multiaddr.s_addr, value, 4);
            std::memcpy(&m.imr_interface.s_addr, value + 4, 4);
            if (::setsockopt(fd, IPPROTO_IP, option == 5 ? IP_ADD_MEMBERSHIP : IP_DROP_MEMBERSHIP, &m,
                             sizeof m) < 0)
                return FailErrno(error);
            return true;
        }
        default:
            return Fail(error, kWsaEnoprotoopt);
        }
    }
    return Fail(error, KnownLevel(level) ? kWsaEnoprotoopt : kWsaEinval);
}

bool GetOption(int fd, int level, int option, char* value, int* length, int& error) {
    if (value == nullptr || length == nullptr || *length < 0) return Fail(error, kWsaEfault);
    if (const IntOption* o = FindIntOption(level, option)) {
        int v = 0;
        socklen_t len = sizeof v;
        if (::getsockopt(fd, o->Level, o->Name, &v, &len) < 0) return FailErrno(error);
        return WriteInt(value, length, v, error);
    }
    if (level == kWinSolSocket) {
        switch (option) {
        case 0x0080: {
            if (*length < 4) return Fail(error, kWsaEfault);
            ::linger l{};
            socklen_t len = sizeof l;
            if (::getsockopt(fd, SOL_SOCKET, SO_LINGER, &l, &len) < 0) return FailErrno(error);
            const std::uint16_t parts[2] = {static_cast<std::uint16_t>(l.l_onoff != 0),
                                            static_cast<std::uint16_t>(l.l_linger)};
            std::memcpy(value, parts, 4);
            *length = 4;
            return true;
        }
        case 0x1001:
        case 0x1002: {
            int v = 0;
            socklen_t len = sizeof v;
            if (::getsockopt(fd, SOL_SOCKET, option == 0x1001 ? SO_SNDBUF : SO_RCVBUF, &v, &len) < 0)
                return FailErrno(error);
            // The system reports twice the size asked for (its bookkeeping); answer what was asked.
            return WriteInt(value, length, v / 2, error);
        }
        case 0x1007:
            return WriteInt(value, length, PendingError(fd), error);
        case 0x1008: {
            int v = 0;
            socklen_t len = sizeof v;
            if (::getsockopt(fd, SOL_SOCKET, SO_TYPE, &v, &len) < 0) return FailErrno(error);
            const int winType = v == SOCK_STREAM ? 1 : v == SOCK_DGRAM ? 2 : 3;
            return WriteInt(value, length, winType, error);
        }
        default:
            return Fail(error, kWsaEnoprotoopt);
        }
    }
    if (level == kWinIpprotoIp && option == 2) {
        if (*length < 4) return Fail(error, kWsaEfault);
        in_addr a{};
        socklen_t len = sizeof a;
        if (::getsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &a, &len) < 0) return FailErrno(error);
        std::memcpy(value, &a.s_addr, 4);
        *length = 4;
        return true;
    }
    return Fail(error, KnownLevel(level) ? kWsaEnoprotoopt : kWsaEinval);
}

bool SetKeepAliveTimes(int fd, bool on, std::uint32_t timeMs, std::uint32_t intervalMs, int& error) {
    const int enable = on ? 1 : 0;
    if (::setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &enable, sizeof enable) < 0) return FailErrno(error);
    if (!on) return true;
    const int idle = static_cast<int>(std::clamp<std::uint32_t>((timeMs + 999) / 1000, 1, 32767));
    const int interval = static_cast<int>(std::clamp<std::uint32_t>((intervalMs + 999) / 1000, 1, 32767));
    if (::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle) < 0 ||
        ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval) < 0)
        return FailErrno(error);
    return true;
}

void MakeCloseNonBlocking(int fd) {
    ::linger l{};
    socklen_t len = sizeof l;
    if (::getsockopt(fd, SOL_SOCKET, SO_LINGER, &l, &len) == 0 && l.l_onoff != 0 && l.l_linger > 0) {
        const ::linger off{0, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &off, sizeof off);
    }
}

std::uint32_t PollNow(int fd) {
    pollfd p{fd, POLLIN | POLLOUT, 0};
    if (::poll(&p, 1, 0) <= 0) return 0;
    return static_cast<std::uint32_t>(p.revents) & (POLLIN | POLLOUT | POLLERR | POLLHUP);
}

StreamState PeekStream(int fd, int& error) {
    char c;
    const ssize_t n = ::recv(fd, &c, 1, MSG_PEEK | MSG_DONTWAIT);
    if (n > 0) return StreamState::Data;
    if (n == 0) return StreamState::Eof;
    if (errno == EAGAIN || errno == EINTR) return StreamState::Nothing;
    error = WsaFromErrno(errno);
    return StreamState::Failed;
}

bool IsConnected(int fd) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    return ::getpeername(fd, reinterpret_cast<sockaddr*>(&sa), &len) == 0;
}

bool IsBound(int fd) {
    sockaddr_in sa{};
    socklen_t len = sizeof sa;
    return ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) == 0 && sa.sin_port != 0;
}

bool LocalHostName(std::string& name, int& error) {
    char buffer[HOST_NAME_MAX + 1] = {};
    if (::gethostname(buffer, sizeof buffer - 1) < 0) return FailErrno(error);
    name = buffer;
    return true;
}

std::vector<std::uint32_t> InterfaceAddresses() {
    std::vector<std::uint32_t> outer;
    std::vector<std::uint32_t> loopback;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) < 0) return outer;
    for (ifaddrs* i = list; i != nullptr; i = i->ifa_next) {
        if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET || (i->ifa_flags & IFF_UP) == 0)
            continue;
        sockaddr_in sa{};
        std::memcpy(&sa, i->ifa_addr, sizeof sa);
        const std::uint32_t a = sa.sin_addr.s_addr;
        auto& target = ((i->ifa_flags & IFF_LOOPBACK) != 0 || (ntohl(a) >> 24) == 127) ? loopback : outer;
        if (std::find(target.begin(), target.end(), a) == target.end()) target.push_back(a);
    }
    ::freeifaddrs(list);
    outer.insert(outer.end(), loopback.begin(), loopback.end());
    return outer;
}

int LookupHostName(const std::string& name, HostInfo& info) {
    info = HostInfo{};
    std::string local;
    int error = 0;
    if (LocalHostName(local, error) && (name.empty() || SameText(name, local))) {
        info.Name = local;
        info.Addresses = InterfaceAddresses();
        if (!info.Addresses.empty()) return 0;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* result = nullptr;
    const int rc = ::getaddrinfo(name.empty() ? local.c_str() : name.c_str(), nullptr, &hints, &result);
    if (rc != 0) return LookupError(rc);
    info.Name = (result != nullptr && result->ai_canonname != nullptr) ? result->ai_canonname : name;
    if (!name.empty() && info.Name != name) info.Aliases.push_back(name);
    for (addrinfo* a = result; a != nullptr; a = a->ai_next) {
        if (a->ai_family != AF_INET || a->ai_addrlen < sizeof(sockaddr_in)) continue;
        sockaddr_in sa{};
        std::memcpy(&sa, a->ai_addr, sizeof sa);
        if (std::find(info.Addresses.begin(), info.Addresses.end(), sa.sin_addr.s_addr) ==
            info.Addresses.end())
            info.Addresses.push_back(sa.sin_addr.s_addr);
    }
    ::freeaddrinfo(result);
    return info.Addresses.empty() ? kWsaNoData : 0;
}

int LookupHostAddress(std::uint32_t address, HostInfo& info) {
    info = HostInfo{};
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = address;
    char host[NI_MAXHOST] = {};
    const int rc = ::getnameinfo(reinterpret_cast<const sockaddr*>(&sa), sizeof sa, host, sizeof host,
                                 nullptr, 0, NI_NAMEREQD);
    if (rc != 0) return LookupError(rc);
    info.Name = host;
    info.Addresses.push_back(address);
    return 0;
}

bool LookupService(const std::string& name, const std::string& protocol, ServiceInfo& info) {
    servent entry{};
    servent* found = nullptr;
    char buffer[1024];
    if (::getservbyname_r(name.c_str(), protocol.empty() ? nullptr : protocol.c_str(), &entry, buffer,
                          sizeof buffer, &found) == 0 &&
        found != nullptr) {
        info.Name = found->s_name;
        info.Aliases = CopyList(found->s_aliases);
        info.Port = static_cast<std::uint16_t>(found->s_port);
        info.Protocol = found->s_proto;
        return true;
    }
    // Hosts without a services file still know the common names.
    static const struct {
        const char* Name;
        int Port;
    } common[] = {{"echo", 7},  {"ftp-data", 20}, {"ftp", 21},   {"ssh", 22},    {"telnet", 23},
                  {"smtp", 25}, {"domain", 53},   {"http", 80},  {"www", 80},    {"pop3", 110},
                  {"ntp", 123}, {"imap", 143},    {"snmp", 161}, {"https", 443}, {"socks", 1080}};
    for (const auto& c : common) {
        if (SameText(name, c.Name)) {
            info = ServiceInfo{};
            info.Name = c.Name;
            info.Port = htons(static_cast<std::uint16_t>(c.Port));
            info.Protocol = protocol.empty() ? "tcp" : LowerCase(protocol);
            return protocol.empty() || SameText(protocol, "tcp") || SameText(protocol, "udp");
        }
    }
    return false;
}

bool LookupProtocol(const std::string& name, ProtocolInfo& info) {
    protoent entry{};
    protoent* found = nullptr;
    char buffer[1024];
    if (::getprotobyname_r(name.c_str(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
        info.Name = found->p_name;
        info.Aliases = CopyList(found->p_aliases);
        info.Number = found->p_proto;
        return true;
    }
    static const struct {
        const char* Name;
        int Number;
    } common[] = {{"ip", 0}, {"icmp", 1}, {"igmp", 2}, {"tcp", 6}, {"udp", 17}, {"raw", 255}};
    for (const auto& c : common) {
        if (SameText(name, c.Name)) {
            info = ProtocolInfo{};
            info.Name = c.Name;
            info.Number = c.Number;
            return true;
        }
    }
    return false;
}

} // namespace sockdetail
