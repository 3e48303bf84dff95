// The operations that give a socket its handle: Connect, Listen, Accept and Dup, with the local bind and
// the socket options they set.
#include "net/WSocket.h"

#include "platform/core/StrUtils.h"

using namespace winsock;

namespace {

constexpr int kSwitchOn = -1; // 0xFFFFFFFF, as every switch of the socket options is set
constexpr int kSinLen = sizeof(TSockAddrIn);

const sockaddr* AsSockAddr(const TSockAddrIn& sin) {
    return reinterpret_cast<const sockaddr*>(&sin);
}

} // namespace

bool TCustomWSocket::SetIntOption(int level, int option, int value, const char* sockFunc) {
    if (WSocket_setsockopt(FHSocket, level, option, reinterpret_cast<const char*>(&value), sizeof value) == 0)
        return true;
    SocketError(sockFunc);
    return false;
}

// Reads the platform's buffer sizes of a new handle.
bool TCustomWSocket::ReadPendingOptions() {
    int len = sizeof FSocketSndBufSize;
    if (WSocket_getsockopt(FHSocket, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<char*>(&FSocketSndBufSize),
                           &len) != 0) {
        SocketError("getsockopt(SO_SNDBUF)");
        return false;
    }
    len = sizeof FSocketRcvBufSize;
    if (WSocket_getsockopt(FHSocket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&FSocketRcvBufSize),
                           &len) != 0) {
        SocketError("getsockopt(SO_RCVBUF)");
        return false;
    }
    return true;
}

void TCustomWSocket::Connect() {
    if (FHSocket != INVALID_SOCKET && FState != wsClosed) {
        RaiseException("Connect: Socket already in use");
        return;
    }
    if (!FPortAssigned) {
        RaiseException("Connect: No Port Specified");
        return;
    }
    if (!FAddrAssigned) {
        RaiseException("Connect: No IP Address Specified");
        return;
    }
    if (!FProtoAssigned) {
        RaiseException("Connect: No Protocol Specified");
        return;
    }
    try {
        if (!FProtoResolved) {
            FProto = WSocketResolveProto(FProtoStr);
            FType = FProto == IPPROTO_TCP ? SOCK_STREAM : FProto == IPPROTO_UDP ? SOCK_DGRAM : SOCK_RAW;
            FProtoResolved = true;
        }
        if (!FPortResolved) {
            FPortNum = WSocketResolvePort(FPortStr, FProtoStr);
            FSin.sin_port = WSocket_htons(static_cast<winsock::u_short>(FPortNum));
            FPortResolved = true;
        }
        if (!FLocalPortResolved) {
            FLocalPortNum = WSocketResolvePort(FLocalPortStr, FProtoStr);
            FLocalPortResolved = true;
        }
        if (!FAddrResolved) {
            FSin.sin_addr.s_addr = WSocketResolveHost(FAddrStr);
            FAddrResolved = true;
        }
    } catch (const std::exception& e) {
        RaiseException(std::string("connect: ") + e.what());
        return;
    }

    DeleteBufferedData();
    ReleaseHandleSilently();
    FHSocket = WSocket_socket(AF_INET, FType, FProto);
    if (FHSocket == INVALID_SOCKET) {
        SocketError("Connect (socket)");
        return;
    }
    if (!ReadPendingOptions()) return;
    ChangeState(wsOpened);
    if (FState != wsOpened) {
        WSocket_WSASetLastError(WSAEINVAL);
        SocketError("Connect (Invalid operation in OnChangeState)");
        return;
    }

    if (FType != SOCK_DGRAM) {
        if (!SetIntOption(SOL_SOCKET, SO_REUSEADDR, kSwitchOn, "setsockopt(SO_REUSEADDR)")) return;
        if (FComponentOptions.Contains(wsoTcpNoDelay) &&
            !SetIntOption(IPPROTO_TCP, TCP_NODELAY, kSwitchOn, "setsockopt(IPPROTO_TCP, TCP_NODELAY)"))
            return;
        SetLingerOption();
        SetKeepAliveOption();
        if (FLocalPortNum != 0 || FLocalAddr != "0.0.0.0") BindSocket();
    } else {
        BindSocket();
        if (FMultiCast) {
            if (FMultiCastIpTTL != 1 &&
                !SetIntOption(IPPROTO_IP, IP_MULTICAST_TTL, FMultiCastIpTTL, "setsockopt(IP_MULTICAST_TTL)"))
                return;
            if (FLocalAddr != "0.0.0.0") {
                const in_addr iface{WSocketResolveHost(FLocalAddr)};
                if (WSocket_setsockopt(FHSocket, IPPROTO_IP, IP_MULTICAST_IF,
                                       reinterpret_cast<const char*>(&iface), sizeof iface) != 0) {
                    SocketError("setsockopt(IP_MULTICAST_IF)");
                    return;
                }
            }
        }
        if (FSin.sin_addr.s_addr == INADDR_BROADCAST &&
            !SetIntOption(SOL_SOCKET, SO_BROADCAST, 1, "setsockopt(SO_BROADCAST)"))
            return;
    }

    FSelectEvent = kSelectEventConnect;
    if (WSocket_WSAAsyncSelect(FHSocket, FWindowHandle, WM_SOCKET_EVENT, FSelectEvent) != 0) {
        SocketError("WSAAsyncSelect");
        return;
    }
    if (FType == SOCK_DGRAM) {
        ChangeState(wsConnected);
        TriggerSessionConnectedSpecial(0);
        return;
    }
    if (CheckLogOptions(loWsockInfo))
        DebugLog(loWsockInfo, "TWSocket will connect to " + WSocketDottedAddr(FSin.sin_addr.s_addr) + ":" +
                                  IntToStr(FPortNum));
    if (WSocket_connect(FHSocket, AsSockAddr(FSin), kSinLen) != 0) {
        FLastError = WSocket_WSAGetLastError();
        if (FLastError != WSAEWOULDBLOCK) {
            SocketError("Connect");
            return;
        }
    }
    ChangeState(wsConnecting);
}

void TCustomWSocket::Listen() {
    if (!FPortAssigned) {
        WSocket_WSASetLastError(WSAEINVAL);
        SocketError("listen: port not assigned");
        return;
    }
    if (!FProtoAssigned) {
        WSocket_WSASetLastError(WSAEINVAL);
        SocketError("listen: protocol not assigned");
        return;
    }
    if (!FAddrAssigned) {
        WSocket_WSASetLastError(WSAEINVAL);
        SocketError("listen: address not assigned");
        return;
    }
    try {
        if (!FProtoResolved) {
            if (StartsText("raw_", FProtoStr)) {
                FType = SOCK_RAW;
                FProto = WSocketResolveProto(FProtoStr.substr(4, 10));
            } else {
                FProto = WSocketResolveProto(FProtoStr);
                FType = FProto == IPPROTO_UDP ? SOCK_DGRAM : SOCK_STREAM;
            }
            FProtoResolved = true;
        }
        if (!FPortResolved) {
            FPortNum = WSocketResolvePort(FPortStr, FProtoStr);
            FSin.sin_port = WSocket_htons(static_cast<winsock::u_short>(FPortNum));
            FPortResolved = true;
        }
        if (!FAddrResolved) {
            FSin.sin_addr.s_addr = WSocketResolveHost(FAddrStr);
            FAddrResolved = true;
        }
    } catch (const std::exception& e) {
        RaiseException(std::string("listen: ") + e.what());
        return;
    }

    // Listening again (the multicast receiver does at every group change) replaces the old handle
    // instead of leaking it with its group membership; the properties stay as assigned.
    ReleaseHandleSilently();
    FPaused = false;
    DeleteBufferedData();
    FHSocket = WSocket_socket(AF_INET, FType, FProto);
    if (FHSocket == INVALID_SOCKET) {
        SocketError("socket");
        return;
    }
    // On failure the handle goes first, so that an exception cannot leave it behind.
    auto failAndClose = [this](const char* sockFunc) {
        const int error = WSocket_WSAGetLastError();
        Close();
        WSocket_WSASetLastError(error);
        SocketError(sockFunc);
    };
    if (FType == SOCK_DGRAM && FReuseAddr) {
        const int on = kSwitchOn;
        if (WSocket_setsockopt(FHSocket, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on),
                               sizeof on) != 0) {
            failAndClose("setsockopt(SO_REUSEADDR)");
            return;
        }
    }
    if (WSocket_bind(FHSocket, AsSockAddr(FSin), kSinLen) != 0) {
        failAndClose("Bind");
        return;
    }
    ChangeState(wsBound);
    switch (FType) {
    case SOCK_STREAM:
        if (WSocket_listen(FHSocket, FListenBacklog) != 0) {
            SocketError("Listen");
            return;
        }
        ChangeState(wsListening);
        break;
    case SOCK_DGRAM:
        if (FMultiCast) {
            ip_mreq request{};
            request.imr_multiaddr.s_addr = WSocket_inet_addr(FMultiCastAddrStr.c_str());
            request.imr_interface.s_addr = WSocketResolveHost(FAddrStr);
            if (WSocket_setsockopt(FHSocket, IPPROTO_IP, IP_ADD_MEMBERSHIP,
                                   reinterpret_cast<const char*>(&request), sizeof request) != 0) {
                SocketError("setsockopt(IP_ADD_MEMBERSHIP)");
                return;
            }
        }
        ChangeState(wsListening);
        ChangeState(wsConnected);
        TriggerSessionConnectedSpecial(0);
        break;
    case SOCK_RAW:
        if (FComponentOptions.Contains(wsoSIO_RCVALL)) {
            winsock::u_long in = 1;
            winsock::u_long out = 0;
            DWORD returned = 0;
            if (WSocket_WSAIoctl(FHSocket, SIO_RCVALL, &in, sizeof in, &out, sizeof out, &returned, nullptr,
                                 nullptr) != 0) {
                failAndClose("WSAIoctl(SIO_RCVALL)");
                return;
            }
        }
        ChangeState(wsListening);
        ChangeState(wsConnected);
        TriggerSessionConnectedSpecial(0);
        break;
    default:
        SocketError("Listen: unexpected protocol.");
        return;
    }
    FSelectEvent = kSelectEventListen;
    if (WSocket_WSAAsyncSelect(FHSocket, FWindowHandle, WM_SOCKET_EVENT, FSelectEvent) != 0)
        SocketError("WSAASyncSelect");
}

TSocket TCustomWSocket::Accept() {
    if (FState != wsListening) {
        WSocket_WSASetLastError(WSAEINVAL);
        SocketError("not a listening socket");
        return INVALID_SOCKET;
    }
    int len = kSinLen;
    FASocket = WSocket_accept(FHSocket, reinterpret_cast<sockaddr*>(&FSin), &len);
    if (FASocket == INVALID_SOCKET) {
        SocketError("Accept");
        return INVALID_SOCKET;
    }
    return FASocket;
}

void TCustomWSocket::Dup(TSocket newHSocket) {
    if (newHSocket == 0 || newHSocket == INVALID_SOCKET) {
        WSocket_WSASetLastError(WSAEINVAL);
        SocketError("Dup");
        return;
    }
    if (FState != wsClosed) {
        if (FHSocket != INVALID_SOCKET) {
            if (WSocket_closesocket(FHSocket) != 0) {
                SocketError("Dup (closesocket)");
                return;
            }
            FHSocket = INVALID_SOCKET;
        }
        ChangeState(wsClosed);
    }
    ReleaseHandleSilently();
    // The adopted connection must hear its notifications even if the old one was paused.
    FPaused = false;
    FHSocket = newHSocket;
    if (!ReadPendingOptions()) return;
    SetLingerOption();
    FSelectEvent = kSelectEventDup;
    if (WSocket_WSAAsyncSelect(FHSocket, FWindowHandle, WM_SOCKET_EVENT, FSelectEvent) == 0)
        DupConnected();
    else
        SocketError("WSAAsyncSelect");
}

void TCustomWSocket::BindSocket() {
    TSockAddrIn local{};
    local.sin_family = AF_INET;
    local.sin_port = WSocket_htons(static_cast<winsock::u_short>(FLocalPortNum));
    local.sin_addr.s_addr = WSocketResolveHost(FLocalAddr);
    if (WSocket_bind(FHSocket, AsSockAddr(local), kSinLen) != 0) {
        RaiseExceptionFmt("winsock.bind failed, error #%d", WSocket_WSAGetLastError());
        return;
    }
    int len = kSinLen;
    if (WSocket_getsockname(FHSocket, reinterpret_cast<sockaddr*>(&local), &len) != 0) {
        RaiseExceptionFmt("winsock.getsockname failed, error #%d", WSocket_WSAGetLastError());
        return;
    }
    FLocalPortNum = WSocket_ntohs(local.sin_port);
    FLocalPortStr = IntToStr(FLocalPortNum);
}

void TCustomWSocket::SetLingerOption() {
    if (FLingerOnOff == wsLingerNoSet) return;
    if (FHSocket == INVALID_SOCKET) {
        RaiseException("Cannot set linger option at this time");
        return;
    }
    const linger value{static_cast<winsock::u_short>(FLingerOnOff),
                       static_cast<winsock::u_short>(FLingerTimeout)};
    if (WSocket_setsockopt(FHSocket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&value),
                           sizeof value) != 0)
        SocketError("setsockopt(SO_LINGER)");
}

void TCustomWSocket::SetKeepAliveOption() {
    if (FKeepAliveOnOff == wsKeepAliveOff) return;
    if (!SetIntOption(SOL_SOCKET, SO_KEEPALIVE, 1, "setsockopt(SO_KEEPALIVE)")) return;
    if (FKeepAliveOnOff != wsKeepAliveOnCustom) return;
    TTcpKeepAlive in{1, static_cast<winsock::u_long>(FKeepAliveTime),
                     static_cast<winsock::u_long>(FKeepAliveInterval)};
    TTcpKeepAlive out{};
    DWORD returned = 0;
    if (WSocket_WSAIoctl(FHSocket, SIO_KEEPALIVE_VALS, &in, sizeof in, &out, sizeof out, &returned, nullptr,
                         nullptr) != 0)
        SocketError("WSocket_WSAIoctl(SIO_KEEPALIVE_VALS)");
}
