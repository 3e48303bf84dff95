// The read side: the receive loop behind FD_READ and FD_CLOSE, the receive calls and the address
// queries.
#include "net/WSocket.h"

#include "platform/core/Debug.h"
#include "platform/core/StrUtils.h"
#include "platform/win/Application.h"

#include <climits>

using namespace winsock;

namespace {

constexpr int kDropReadSize = 1024;

} // namespace

void TCustomWSocket::ASyncReceive(WORD error, TWSocketOptions options, bool reoffer) {
    const TSocket socket = FHSocket;
    bool more = true;
    while (more) {
        FLastError = 0;
        const int readBefore = FReadCount;
        bool consumed = false;
        try {
            if (!TriggerDataAvailable(error)) {
                char scratch[kDropReadSize];
                const int n = DoRecv(scratch, kDropReadSize, 0);
                if (n < 0) {
                    const int e = WSocket_WSAGetLastError();
                    if (e == WSAEWOULDBLOCK) {
                        FLastError = 0;
                        return;
                    }
                    FLastError = e;
                }
                consumed = n > 0;
            } else {
                consumed = FReadCount != readBefore;
            }
            if (options.Contains(wsoNoReceiveLoop)) return;
            if (FLastError != 0) {
                more = false;
                if (FLastError == -1) FLastError = 0;
            } else if (FHSocket != socket) {
                more = false;
            } else {
                winsock::u_long waiting = 0;
                if (WSocket_ioctlsocket(FHSocket, FIONREAD, &waiting) == SOCKET_ERROR) {
                    FLastError = WSocket_WSAGetLastError();
                    more = false;
                } else if (waiting == 0) {
                    more = false;
                } else if (!consumed) {
                    // A handler that reads nothing would keep this loop spinning forever.
                    more = false;
                    if (reoffer && !FPaused)
                        PostMessage(FWindowHandle, WM_SOCKET_EVENT, static_cast<WPARAM>(FHSocket),
                                    WSAMAKESELECTREPLY(FD_READ, 0));
                }
            }
        } catch (const std::exception& e) {
            DebugTrace("TCustomWSocket::ASyncReceive",
                       Name() + ": exception in OnDataAvailable ignored: " + e.what());
            return;
        } catch (...) {
            DebugTrace("TCustomWSocket::ASyncReceive",
                       Name() + ": unknown exception in OnDataAvailable ignored");
            return;
        }
    }
}

int TCustomWSocket::Receive(void* buffer, int len) {
    const int n = DoRecv(buffer, len, 0);
    if (n < 0)
        FLastError = WSocket_WSAGetLastError();
    else
        FReadCount += n;
    return n;
}

std::string TCustomWSocket::ReceiveStr() {
    int n = GetRcvdCount();
    if (n < 0) return std::string();
    if (n == 0) n = 255;
    std::string text(static_cast<std::size_t>(n), '\0');
    const int got = Receive(text.data(), n);
    if (got < 1) return std::string();
    text.resize(static_cast<std::size_t>(got));
    return text;
}

int TCustomWSocket::ReceiveFrom(void* buffer, int len, TSockAddrIn& from, int& fromLen) {
    const int n = DoRecvFrom(buffer, len, 0, from, fromLen);
    if (n < 0)
        FLastError = WSocket_WSAGetLastError();
    else
        FReadCount += n;
    return n;
}

int TCustomWSocket::PeekData(void* buffer, int len) {
    const int n = DoRecv(buffer, len, MSG_PEEK);
    if (n < 0) FLastError = WSocket_WSAGetLastError();
    return n;
}

int TCustomWSocket::DoRecv(void* buffer, int bufferSize, int flags) {
    const int n = WSocket_recv(FHSocket, static_cast<char*>(buffer), bufferSize, flags);
    FRcvdFlag = n >= bufferSize;
    return n;
}

int TCustomWSocket::DoRecvFrom(void* buffer, int bufferSize, int flags, TSockAddrIn& from, int& fromLen) {
    const int n = WSocket_recvfrom(FHSocket, static_cast<char*>(buffer), bufferSize, flags,
                                   reinterpret_cast<sockaddr*>(&from), &fromLen);
    FRcvdFlag = n >= bufferSize;
    return n;
}

int TCustomWSocket::GetRcvdCount() {
    if (ComponentState().Contains(csDesigning)) return -1;
    winsock::u_long waiting = 0;
    if (WSocket_ioctlsocket(FHSocket, FIONREAD, &waiting) == SOCKET_ERROR) {
        SocketError("ioctlSocket");
        return -1;
    }
    return waiting > static_cast<winsock::u_long>(INT_MAX) ? INT_MAX : static_cast<int>(waiting);
}

void TCustomWSocket::WaitForClose() {
    while (FHSocket != INVALID_SOCKET && FState != wsClosed) {
        MessagePump();
        if (FHSocket == INVALID_SOCKET || CurrentApplication().Terminated()) break;
        winsock::u_long waiting = 0;
        if (WSocket_ioctlsocket(FHSocket, FIONREAD, &waiting) == SOCKET_ERROR) break;
        if (waiting > 0 && !TriggerDataAvailable(0)) {
            char scratch[kDropReadSize];
            DoRecv(scratch, kDropReadSize, 0);
        }
        if (FHSocket == INVALID_SOCKET) break;
        // A receive of 0 bytes proves nothing here: peek one byte to tell data from the peer's close.
        char probe;
        const int n = WSocket_recv(FHSocket, &probe, 1, MSG_PEEK);
        if (n == 0) break;
        if (n < 0) {
            FLastError = WSocket_WSAGetLastError();
            if (FLastError != WSAEWOULDBLOCK) break;
        }
        MessagePump();
    }
}

// ---- Addresses ----

std::string TCustomWSocket::GetPeerAddr() {
    if (FState != wsConnected) return "error";
    TSockAddrIn peer{};
    int len = sizeof peer;
    if (WSocket_getpeername(FHSocket, reinterpret_cast<sockaddr*>(&peer), &len) != 0) {
        SocketError("GetPeerAddr");
        return "error";
    }
    return WSocketDottedAddr(peer.sin_addr.s_addr);
}

std::string TCustomWSocket::GetPeerPort() {
    if (FState != wsConnected) return "error";
    TSockAddrIn peer{};
    int len = sizeof peer;
    if (WSocket_getpeername(FHSocket, reinterpret_cast<sockaddr*>(&peer), &len) != 0) {
        SocketError("GetPeerPort");
        return "error";
    }
    return IntToStr(WSocket_ntohs(peer.sin_port));
}

int TCustomWSocket::GetPeerName(TSockAddrIn& name, int nameLen) {
    if (FState != wsConnected) return -1;
    return WSocket_getpeername(FHSocket, reinterpret_cast<sockaddr*>(&name), &nameLen);
}

std::string TCustomWSocket::GetXAddr() {
    if (FState != wsBound && FState != wsConnected && FState != wsListening) return "error";
    TSockAddrIn local{};
    int len = sizeof local;
    if (WSocket_getsockname(FHSocket, reinterpret_cast<sockaddr*>(&local), &len) != 0) return "error";
    return WSocketDottedAddr(local.sin_addr.s_addr);
}

std::string TCustomWSocket::GetXPort() {
    if (FState != wsBound && FState != wsConnected && FState != wsListening) return "error";
    TSockAddrIn local{};
    int len = sizeof local;
    if (WSocket_getsockname(FHSocket, reinterpret_cast<sockaddr*>(&local), &len) != 0) return "error";
    return Format("%d", WSocket_ntohs(local.sin_port));
}

int TCustomWSocket::GetSockName(TSockAddrIn& name, int& nameLen) {
    return WSocket_getsockname(FHSocket, reinterpret_cast<sockaddr*>(&name), &nameLen);
}
