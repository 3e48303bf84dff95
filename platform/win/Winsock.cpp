// The socket calls of the Winsock stand-in.
#include "platform/win/Winsock.h"

#include "platform/win/Messages.h"
#include "platform/win/SocketSys.h"
#include "platform/win/SocketTable.h"

#include "platform/core/SysTime.h"
#include "platform/core/Threads.h"

#include <atomic>
#include <bit>
#include <cstring>

namespace winsock {

static_assert(sockdetail::kFdRead == FD_READ && sockdetail::kFdWrite == FD_WRITE &&
              sockdetail::kFdAccept == FD_ACCEPT && sockdetail::kFdConnect == FD_CONNECT &&
              sockdetail::kFdClose == FD_CLOSE && sockdetail::kTypeStream == SOCK_STREAM);

namespace {

using sockdetail::Ipv4;
using sockdetail::SocketLock;
using sockdetail::SocketRec;

std::atomic<int> gStartups{0};

int Failed(int error) {
    WSASetLastError(error);
    return SOCKET_ERROR;
}

bool ToIpv4(const sockaddr* name, int length, Ipv4& out, int& error) {
    if (name == nullptr || length < static_cast<int>(sizeof(sockaddr_in))) {
        error = WSAEFAULT;
        return false;
    }
    sockaddr_in in{};
    std::memcpy(&in, name, sizeof in);
    if (in.sin_family != AF_INET) {
        error = WSAEAFNOSUPPORT;
        return false;
    }
    out.Addr = in.sin_addr.s_addr;
    out.Port = in.sin_port;
    return true;
}

// Callers that pass an address buffer must say it holds at least a sockaddr_in.
bool AddressBufferOk(const sockaddr* name, const int* length) {
    return name == nullptr || (length != nullptr && *length >= static_cast<int>(sizeof(sockaddr_in)));
}

void FromIpv4(const Ipv4& address, sockaddr* name, int* length) {
    if (name == nullptr) return;
    sockaddr_in out{};
    out.sin_family = AF_INET;
    out.sin_port = address.Port;
    out.sin_addr.s_addr = address.Addr;
    std::memcpy(name, &out, sizeof out);
    *length = sizeof out;
}

std::shared_ptr<SocketRec> Lookup(SOCKET s) {
    return sockdetail::FindSocket(s);
}

bool ConnectionError(int error) {
    return error == WSAECONNRESET || error == WSAECONNABORTED || error == WSAETIMEDOUT ||
           error == WSAENETRESET;
}

} // namespace

} // namespace winsock

bool sockdetail::WinsockStarted() {
    return winsock::gStartups.load() > 0;
}

namespace winsock {

int WSAStartup(WORD versionRequested, WSAData* data) {
    if (data == nullptr) return WSAEFAULT;
    if ((versionRequested & 0xFF) < 1) return WSAVERNOTSUPPORTED;
    *data = WSAData{};
    data->wVersion = 0x0101;
    data->wHighVersion = 0x0101;
    std::strcpy(data->szDescription, "Harbek sockets 1.1");
    std::strcpy(data->szSystemStatus, "Running");
    data->iMaxSockets = 32767;
    data->iMaxUdpDg = 65467;
    gStartups.fetch_add(1);
    return 0;
}

int WSACleanup() {
    int count = gStartups.load();
    while (count > 0 && !gStartups.compare_exchange_weak(count, count - 1)) {
    }
    if (count <= 0) return Failed(WSANOTINITIALISED);
    return 0;
}

int WSAGetLastError() {
    return static_cast<int>(GetLastError());
}
void WSASetLastError(int error) {
    SetLastError(static_cast<DWORD>(error));
}

int WSAAsyncSelect(SOCKET s, HWND window, u_int message, long events) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    if (events != 0 && !IsWindow(window)) return Failed(WSAEINVAL);
    std::lock_guard lock(SocketLock());
    if (!rec->NonBlocking) {
        int error = 0;
        if (!sockdetail::SetNonBlocking(rec->Fd, true, error)) return Failed(error);
        rec->NonBlocking = true;
    }
    sockdetail::Register(*rec, window, message, events);
    return 0;
}

SOCKET socket(int family, int type, int protocol) {
    if (gStartups.load() <= 0) {
        WSASetLastError(WSANOTINITIALISED);
        return INVALID_SOCKET;
    }
    if (family != AF_INET) {
        WSASetLastError(WSAEAFNOSUPPORT);
        return INVALID_SOCKET;
    }
    int error = 0;
    const int fd = sockdetail::OpenSocket(type, protocol, error);
    if (fd < 0) {
        WSASetLastError(error);
        return INVALID_SOCKET;
    }
    return sockdetail::AddSocket(fd, type, false, false);
}

int bind(SOCKET s, const sockaddr* name, int nameLength) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    Ipv4 address;
    int error = 0;
    if (!ToIpv4(name, nameLength, address, error) || !sockdetail::Bind(rec->Fd, address, error))
        return Failed(error);
    return 0;
}

int listen(SOCKET s, int backlog) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    if (rec->Type != SOCK_STREAM) return Failed(WSAEOPNOTSUPP);
    int error = 0;
    if (!sockdetail::Listen(rec->Fd, backlog, error)) return Failed(error);
    std::lock_guard lock(SocketLock());
    rec->Listening = true;
    rec->AcceptArmed = true;
    sockdetail::Touch(*rec);
    sockdetail::UpdateWatch(*rec);
    return 0;
}

SOCKET accept(SOCKET s, sockaddr* address, int* addressLength) {
    auto rec = Lookup(s);
    if (!rec) {
        WSASetLastError(WSAENOTSOCK);
        return INVALID_SOCKET;
    }
    bool listening;
    bool nonBlocking;
    {
        std::lock_guard lock(SocketLock());
        listening = rec->Listening;
        nonBlocking = rec->NonBlocking;
    }
    if (!listening) {
        WSASetLastError(WSAEINVAL);
        return INVALID_SOCKET;
    }
    if (!AddressBufferOk(address, addressLength)) {
        WSASetLastError(WSAEFAULT);
        return INVALID_SOCKET;
    }
    Ipv4 peer;
    int error = 0;
    const int fd = sockdetail::Accept(rec->Fd, nonBlocking, &peer, error);
    {
        std::lock_guard lock(SocketLock());
        rec->AcceptArmed = true;
        sockdetail::Touch(*rec);
        sockdetail::UpdateWatch(*rec);
    }
    if (fd < 0) {
        WSASetLastError(error);
        return INVALID_SOCKET;
    }
    FromIpv4(peer, address, addressLength);
    return sockdetail::AddSocket(fd, SOCK_STREAM, nonBlocking, true);
}

int connect(SOCKET s, const sockaddr* name, int nameLength) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    Ipv4 address;
    int error = 0;
    if (!ToIpv4(name, nameLength, address, error)) return Failed(error);
    if (rec->Type != SOCK_STREAM) {
        if (sockdetail::Connect(rec->Fd, address, error) == sockdetail::ConnectOutcome::Failed)
            return Failed(error);
        return 0;
    }
    bool nonBlocking;
    {
        std::lock_guard lock(SocketLock());
        if (rec->Listening) return Failed(WSAEINVAL);
        if (rec->ConnectPending) return Failed(WSAEALREADY);
        if (rec->Connected) return Failed(WSAEISCONN);
        nonBlocking = rec->NonBlocking;
    }
    const auto outcome = sockdetail::Connect(rec->Fd, address, error);
    std::lock_guard lock(SocketLock());
    if (!nonBlocking) {
        if (outcome == sockdetail::ConnectOutcome::Failed) return Failed(error);
        rec->Connected = true;
        return 0;
    }
    // A refusal known at once still arrives as FD_CONNECT, like every other outcome.
    if (outcome == sockdetail::ConnectOutcome::Failed && error != WSAECONNREFUSED) return Failed(error);
    rec->ConnectPending = true;
    rec->ConnectStart = GetTickCount();
    rec->ConnectError = outcome == sockdetail::ConnectOutcome::Failed ? error : 0;
    rec->ConnectFailed = false;
    rec->CloseDone = false;
    rec->ResetError = 0;
    rec->ReadArmed = true;
    sockdetail::Touch(*rec);
    sockdetail::UpdateWatch(*rec);
    if (outcome == sockdetail::ConnectOutcome::Connected) return 0;
    return Failed(WSAEWOULDBLOCK);
}

int closesocket(SOCKET s) {
    auto rec = sockdetail::FindSocket(s);
    if (!rec) return Failed(WSAENOTSOCK);
    std::lock_guard lock(SocketLock());
    if (!sockdetail::RemoveSocket(s)) return Failed(WSAENOTSOCK);
    sockdetail::Unregister(*rec);
    if (rec->NonBlocking) sockdetail::MakeCloseNonBlocking(rec->Fd);
    sockdetail::CloseSocket(rec->Fd);
    rec->Fd = -1;
    return 0;
}

int shutdown(SOCKET s, int how) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    int error = 0;
    if (!sockdetail::Shutdown(rec->Fd, how, error)) return Failed(error);
    if (how == SD_SEND || how == SD_BOTH) {
        std::lock_guard lock(SocketLock());
        rec->SendShut = true;
    }
    return 0;
}

namespace {

int SendCommon(SOCKET s, const char* buffer, int length, int flags, const sockaddr* to, int toLength) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    if (length < 0) return Failed(WSAEINVAL);
    if (buffer == nullptr && length > 0) return Failed(WSAEFAULT);
    Ipv4 target;
    int error = 0;
    const bool addressed = to != nullptr && rec->Type != SOCK_STREAM;
    if (addressed && !ToIpv4(to, toLength, target, error)) return Failed(error);
    {
        std::lock_guard lock(SocketLock());
        sockdetail::Touch(*rec);
    }
    const long n = sockdetail::Send(rec->Fd, buffer, static_cast<std::size_t>(length), flags,
                                    addressed ? &target : nullptr, error);
    if (n >= 0) return static_cast<int>(n);
    std::lock_guard lock(SocketLock());
    if (error == WSAEWOULDBLOCK) {
        rec->WritePending = true;
        sockdetail::UpdateWatch(*rec);
    } else if (error == WSAECONNRESET && rec->SendShut) {
        error = WSAESHUTDOWN;
    } else if (rec->Type == SOCK_STREAM && ConnectionError(error)) {
        rec->ResetError = error;
    }
    return Failed(error);
}

int ReceiveCommon(SOCKET s, char* buffer, int length, int flags, sockaddr* from, int* fromLength) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    if (length < 0) return Failed(WSAEINVAL);
    if ((buffer == nullptr && length > 0) || !AddressBufferOk(from, fromLength)) return Failed(WSAEFAULT);
    Ipv4 source;
    int error = 0;
    const long n = sockdetail::Receive(rec->Fd, buffer, static_cast<std::size_t>(length), flags,
                                       rec->Type != SOCK_STREAM, from != nullptr ? &source : nullptr, error);
    {
        // Every receive re-arms FD_READ, also one that peeks or fails.
        std::lock_guard lock(SocketLock());
        rec->ReadArmed = true;
        if (n < 0 && rec->Type == SOCK_STREAM && ConnectionError(error)) rec->ResetError = error;
        sockdetail::Touch(*rec);
        sockdetail::UpdateWatch(*rec);
    }
    if (n < 0 && error != WSAEMSGSIZE) return Failed(error);
    if (from != nullptr) FromIpv4(source, from, fromLength);
    if (n < 0) return Failed(error);
    return static_cast<int>(n);
}

} // namespace

int send(SOCKET s, const char* buffer, int length, int flags) {
    return SendCommon(s, buffer, length, flags, nullptr, 0);
}

int sendto(SOCKET s, const char* buffer, int length, int flags, const sockaddr* to, int toLength) {
    return SendCommon(s, buffer, length, flags, to, toLength);
}

int recv(SOCKET s, char* buffer, int length, int flags) {
    return ReceiveCommon(s, buffer, length, flags, nullptr, nullptr);
}

int recvfrom(SOCKET s, char* buffer, int length, int flags, sockaddr* from, int* fromLength) {
    return ReceiveCommon(s, buffer, length, flags, from, fromLength);
}

int ioctlsocket(SOCKET s, long command, u_long* argument) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    if (argument == nullptr) return Failed(WSAEFAULT);
    int error = 0;
    switch (command) {
    case FIONBIO: {
        std::lock_guard lock(SocketLock());
        // A registered socket stays non-blocking.
        if (*argument == 0 && rec->Mask != 0) return Failed(WSAEINVAL);
        if (!sockdetail::SetNonBlocking(rec->Fd, *argument != 0, error)) return Failed(error);
        rec->NonBlocking = *argument != 0;
        return 0;
    }
    case FIONREAD: {
        const long n = sockdetail::BytesWaiting(rec->Fd, error);
        if (n < 0) return Failed(error);
        *argument = static_cast<u_long>(n);
        return 0;
    }
    case SIOCATMARK: {
        bool atMark = false;
        if (!sockdetail::AtOobMark(rec->Fd, atMark, error)) return Failed(error);
        *argument = atMark ? 1u : 0u;
        return 0;
    }
    default:
        return Failed(WSAEINVAL);
    }
}

int getsockopt(SOCKET s, int level, int option, char* value, int* valueLength) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    int error = 0;
    if (!sockdetail::GetOption(rec->Fd, level, option, value, valueLength, error)) return Failed(error);
    return 0;
}

int setsockopt(SOCKET s, int level, int option, const char* value, int valueLength) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    int error = 0;
    if (!sockdetail::SetOption(rec->Fd, level, option, value, valueLength, error)) return Failed(error);
    return 0;
}

int WSAIoctl(SOCKET s, DWORD code, void* in, DWORD inLength, void*, DWORD, DWORD* bytesReturned, void*,
             void*) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    if (bytesReturned != nullptr) *bytesReturned = 0;
    switch (code) {
    case SIO_KEEPALIVE_VALS: {
        if (in == nullptr || inLength < sizeof(tcp_keepalive)) return Failed(WSAEFAULT);
        tcp_keepalive values{};
        std::memcpy(&values, in, sizeof values);
        int error = 0;
        if (!sockdetail::SetKeepAliveTimes(rec->Fd, values.onoff != 0, values.keepalivetime,
                                           values.keepaliveinterval, error))
            return Failed(error);
        return 0;
    }
    case SIO_RCVALL:
        return Failed(WSAEOPNOTSUPP);
    default:
        return Failed(WSAEINVAL);
    }
}

int getsockname(SOCKET s, sockaddr* name, int* nameLength) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    if (name == nullptr || !AddressBufferOk(name, nameLength)) return Failed(WSAEFAULT);
    Ipv4 address;
    int error = 0;
    if (!sockdetail::LocalName(rec->Fd, address, error)) return Failed(error);
    // An unbound socket has no name yet.
    if (address.Port == 0 && address.Addr == 0) return Failed(WSAEINVAL);
    FromIpv4(address, name, nameLength);
    return 0;
}

int getpeername(SOCKET s, sockaddr* name, int* nameLength) {
    auto rec = Lookup(s);
    if (!rec) return Failed(WSAENOTSOCK);
    if (name == nullptr || !AddressBufferOk(name, nameLength)) return Failed(WSAEFAULT);
    Ipv4 address;
    int error = 0;
    if (!sockdetail::PeerName(rec->Fd, address, error)) return Failed(error);
    FromIpv4(address, name, nameLength);
    return 0;
}

u_short htons(u_short value) {
    return std::endian::native == std::endian::little ? static_cast<u_short>(__builtin_bswap16(value))
                                                      : value;
}
u_short ntohs(u_short value) {
    return htons(value);
}
u_long htonl(u_long value) {
    return std::endian::native == std::endian::little ? static_cast<u_long>(__builtin_bswap32(value)) : value;
}
u_long ntohl(u_long value) {
    return htonl(value);
}

} // namespace winsock
