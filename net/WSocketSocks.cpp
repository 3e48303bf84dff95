// The SOCKS layer: with a proxy set, Connect reaches the proxy and the negotiation runs inside the data
// events before the application hears OnSessionConnected.
#include "net/WSocket.h"

#include "platform/core/StrUtils.h"

#include <algorithm>
#include <cstring>

using namespace winsock;

namespace {

constexpr const char* kLevel4A = "4A";
const std::string kDefaultLevel = "5";

} // namespace

// ---- Settings ----

void TCustomSocksWSocket::AssignDefaultValue() {
    TCustomWSocket::AssignDefaultValue();
    FSocksState = socksData;
    FSocksServer.clear();
    FSocksPort.clear();
    FSocksLevel = kDefaultLevel;
    FSocksRcvdCnt = 0;
    FSocksRcvdPtr = 0;
    FSocksLeftover = 0;
    FSocksPortAssigned = false;
    FSocksServerAssigned = false;
}

void TCustomSocksWSocket::SetSocksLevel(const std::string& value) {
    if (FState != wsClosed) {
        RaiseException("Can't change socks level if not closed");
        return;
    }
    if (value != "4" && value != "5" && value != "4A" && value != "4a") {
        RaiseException("Invalid socks level. Must be 4, 4A or 5.");
        return;
    }
    FSocksLevel = UpperCase(value);
}

void TCustomSocksWSocket::SetSocksPort(const std::string& value) {
    if (FState != wsClosed) {
        RaiseException("Can't change socks port if not closed");
        return;
    }
    FSocksPort = Trim(value);
    FSocksPortAssigned = !FSocksPort.empty();
    // The core's resolved target may be the proxy of an earlier attempt.
    FPortResolved = false;
}

void TCustomSocksWSocket::SetSocksServer(const std::string& value) {
    if (FState != wsClosed) {
        RaiseException("Can't change socks server if not closed");
        return;
    }
    FSocksServer = Trim(value);
    FSocksServerAssigned = !FSocksServer.empty();
    FAddrResolved = false;
}

// ---- Connect and listen ----

bool TCustomSocksWSocket::CheckRequestFits() {
    auto fits = [this](const char* what, const std::string& value) {
        if (value.size() <= kSocksMaxField) return true;
        RaiseExceptionFmt("Socks %s too long: %d bytes, at most %d", what, static_cast<int>(value.size()),
                          static_cast<int>(kSocksMaxField));
        return false;
    };
    if (!IsSocks4()) {
        if (!fits("destination", FAddrStr)) return false;
        return FSocksAuthentication != socksAuthenticateUsercode ||
               (fits("usercode", FSocksUsercode) && fits("password", FSocksPassword));
    }
    if (!fits("usercode", FSocksUsercode)) return false;
    return FSocksLevel != kLevel4A || fits("destination", FAddrStr);
}

void TCustomSocksWSocket::Connect() {
    // Without a proxy, and for the misuses the core reports itself, the core's Connect as it is.
    if (!FSocksServerAssigned || (FHSocket != INVALID_SOCKET && FState != wsClosed) || !FPortAssigned ||
        !FAddrAssigned || !FProtoAssigned) {
        TCustomWSocket::Connect();
        return;
    }
    if (!SameText(FProtoStr, "tcp") && FProtoStr != "6") {
        RaiseException("tcp is the only protocol supported thru socks server");
        return;
    }
    if (!CheckRequestFits()) return;
    try {
        const winsock::u_short socksPort = WSocketResolvePort(FSocksPort, "tcp");
        const winsock::u_long socksAddr = WSocketResolveHost(FSocksServer);
        FSocksDestPort = WSocketResolvePort(FPortStr, FProtoStr);
        FPortNum = socksPort;
        FSin.sin_port = WSocket_htons(socksPort);
        FSin.sin_addr.s_addr = socksAddr;
        FPortResolved = true;
        FAddrResolved = true;
    } catch (const std::exception& e) {
        RaiseException(std::string("connect: ") + e.what());
        return;
    }
    FSocksState = socksNegociateMethods;
    FSocksRcvdCnt = 0;
    FSocksLeftover = 0;
    FBoundAddr.clear();
    FBoundPort.clear();
    TCustomWSocket::Connect();
}

void TCustomSocksWSocket::Listen() {
    if (FSocksServerAssigned) {
        RaiseException("Listening is not supported thru socks server");
        return;
    }
    TCustomWSocket::Listen();
}

// ---- Negotiation ----

bool TCustomSocksWSocket::StillNegotiating(TSocket socket, TSocksState state) const {
    return FHSocket == socket && FSocksState == state && FState == wsConnected;
}

bool TCustomSocksWSocket::IsSocks4() const {
    return !FSocksLevel.empty() && FSocksLevel[0] == '4';
}

bool TCustomSocksWSocket::SendRequest(const std::vector<std::uint8_t>& request) {
    return Send(request.data(), static_cast<int>(request.size())) >= 0;
}

void TCustomSocksWSocket::TriggerSessionConnectedSpecial(WORD error) {
    if (FSocksState != socksNegociateMethods) {
        TCustomWSocket::TriggerSessionConnectedSpecial(error);
        return;
    }
    const TSocket socket = FHSocket;
    TriggerSocksConnected(error);
    if (FHSocket != socket || FSocksState != socksNegociateMethods) return;
    if (error != 0) {
        FSocksState = socksData;
        TCustomWSocket::TriggerSessionConnectedSpecial(error);
        return;
    }
    if (IsSocks4()) {
        SocksDoConnect();
        return;
    }
    FSocksAuthMethod =
        FSocksAuthentication == socksAuthenticateUsercode ? kSocksMethodUsercode : kSocksMethodNone;
    SendRequest(Socks5Greeting(FSocksAuthMethod));
}

bool TCustomSocksWSocket::ReceiveReplyPiece(int limit) {
    const int room = limit - FSocksRcvdCnt;
    if (room <= 0) {
        // A read of nothing would leave the data waiting and the receive loop spinning.
        DataAvailableError(kSocksInternalError, "internal error");
        return false;
    }
    const int n = Receive(FSocksRcvBuf + FSocksRcvdCnt, room);
    if (n <= 0) return false;
    FSocksRcvdCnt += n;
    return true;
}

bool TCustomSocksWSocket::TriggerDataAvailable(WORD error) {
    if (FSocksState == socksData) return TCustomWSocket::TriggerDataAvailable(error);
    if (error != 0) {
        DataAvailableError(error, "data receive error");
        return true;
    }
    switch (FSocksState) {
    case socksNegociateMethods:
        SocksMethodData();
        break;
    case socksAuthenticate:
        SocksAuthData();
        break;
    case socksConnect:
        if (IsSocks4())
            Socks4ConnectData();
        else
            Socks5ConnectData();
        break;
    default:
        DataAvailableError(kSocksInternalError, "internal error");
        break;
    }
    return true;
}

void TCustomSocksWSocket::SocksMethodData() {
    if (IsSocks4()) {
        DataAvailableError(kSocksLogicError, "TWSocket logic error");
        return;
    }
    if (!ReceiveReplyPiece(kSocksReplyReadable)) return;
    const TSocksReply reply = SocksMethodReply(FSocksRcvBuf, FSocksRcvdCnt);
    if (reply.Status == TSocksReplyStatus::NeedMore) return;
    FSocksRcvdCnt = 0;
    if (reply.Status == TSocksReplyStatus::Failed) {
        DataAvailableError(reply.ErrCode, reply.ErrMsg);
        return;
    }
    if (reply.Method == kSocksMethodNone) {
        if (FSocksAuthMethod == kSocksMethodUsercode) {
            const TSocket socket = FHSocket;
            TriggerSocksAuthState(socksAuthNotRequired);
            if (!StillNegotiating(socket, socksNegociateMethods)) return;
        }
        SocksDoConnect();
    } else if (reply.Method == kSocksMethodUsercode && FSocksAuthMethod == kSocksMethodUsercode) {
        SocksDoAuthenticate();
    } else {
        // Credentials go only to a server that was offered them.
        DataAvailableError(kSocksMethodError, "authentification method not acceptable");
    }
}

void TCustomSocksWSocket::SocksDoAuthenticate() {
    FSocksState = socksAuthenticate;
    FSocksRcvdCnt = 0;
    const TSocket socket = FHSocket;
    TriggerSocksAuthState(socksAuthStart);
    if (!StillNegotiating(socket, socksAuthenticate)) return;
    std::vector<std::uint8_t> request;
    if (!Socks5AuthRequest(FSocksUsercode, FSocksPassword, request)) {
        DataAvailableError(kSocksInternalError, "internal error");
        return;
    }
    SendRequest(request);
}

void TCustomSocksWSocket::SocksAuthData() {
    if (!ReceiveReplyPiece(kSocksReplyReadable)) return;
    const TSocksReply reply = SocksAuthReply(FSocksRcvBuf, FSocksRcvdCnt);
    if (reply.Status == TSocksReplyStatus::NeedMore) return;
    if (reply.Status == TSocksReplyStatus::Failed) {
        DataAvailableError(reply.ErrCode, reply.ErrMsg);
        return;
    }
    FSocksRcvdCnt = 0;
    const TSocket socket = FHSocket;
    TriggerSocksAuthState(socksAuthSuccess);
    if (!StillNegotiating(socket, socksAuthenticate)) return;
    SocksDoConnect();
}

void TCustomSocksWSocket::SocksDoConnect() {
    FSocksState = socksConnect;
    FSocksRcvdCnt = 0;
    std::vector<std::uint8_t> request;
    bool built;
    if (IsSocks4()) {
        const bool level4A = FSocksLevel == kLevel4A;
        winsock::u_long addr = WSocket_htonl(1);
        if (!level4A) {
            try {
                addr = WSocketResolveHost(FAddrStr);
            } catch (const std::exception& e) {
                DataAvailableError(kSocksHostUnreachable, e.what());
                return;
            }
        }
        built = Socks4ConnectRequest(FSocksDestPort, addr, FSocksUsercode, level4A ? &FAddrStr : nullptr,
                                     request);
    } else {
        built = Socks5ConnectRequest(FAddrStr, FSocksDestPort, request);
    }
    if (!built) {
        DataAvailableError(kSocksInternalError, "internal error");
        return;
    }
    SendRequest(request);
}

void TCustomSocksWSocket::Socks5ConnectData() {
    if (!ReceiveReplyPiece(kSocksReplyReadable)) return;
    const TSocksReply reply = Socks5ConnectReply(FSocksRcvBuf, FSocksRcvdCnt);
    if (reply.Status == TSocksReplyStatus::NeedMore) return;
    if (reply.Status == TSocksReplyStatus::Failed) {
        DataAvailableError(reply.ErrCode, reply.ErrMsg);
        return;
    }
    FBoundAddr = reply.BoundAddr;
    FBoundPort = reply.BoundPort;
    FSocksState = socksData;
    FSocksRcvdPtr = reply.Length;
    FSocksLeftover = std::max(FSocksRcvdCnt - reply.Length, 0);
    FSocksRcvdCnt = 0;
    const TSocket socket = FHSocket;
    TCustomWSocket::TriggerSessionConnectedSpecial(0);
    DeliverLeftover(socket);
}

void TCustomSocksWSocket::Socks4ConnectData() {
    if (!ReceiveReplyPiece(kSocks4ReplyLength)) return;
    const TSocksReply reply = Socks4ConnectReply(FSocksRcvBuf, FSocksRcvdCnt);
    if (reply.Status == TSocksReplyStatus::NeedMore) return;
    FSocksRcvdCnt = 0;
    if (reply.Status == TSocksReplyStatus::Failed) {
        DataAvailableError(reply.ErrCode, reply.ErrMsg);
        return;
    }
    FSocksState = socksData;
    // What follows the reply is still in the socket: the receive loop offers it next.
    TCustomWSocket::TriggerSessionConnectedSpecial(0);
}

void TCustomSocksWSocket::DeliverLeftover(TSocket socket) {
    while (FSocksLeftover > 0 && FHSocket == socket && FSocksState == socksData) {
        const int before = FSocksLeftover;
        TriggerDataAvailable(0);
        if (FSocksLeftover == before) break;
    }
}

void TCustomSocksWSocket::DataAvailableError(int code, const std::string& msg) {
    const TSocket socket = FHSocket;
    TriggerSocksError(code, msg);
    FSocksState = socksData;
    FSocksRcvdCnt = 0;
    if (FHSocket != socket) return;
    TCustomWSocket::TriggerSessionConnectedSpecial(static_cast<WORD>(code));
    if (FHSocket != socket || FState == wsClosed) return;
    InternalClose(true, static_cast<WORD>(code));
}

// ---- The receive side after the negotiation ----

int TCustomSocksWSocket::GetRcvdCount() {
    if (FSocksLeftover > 0) return FSocksLeftover;
    return TCustomWSocket::GetRcvdCount();
}

int TCustomSocksWSocket::DoRecv(void* buffer, int bufferSize, int flags) {
    if (FSocksLeftover <= 0) return TCustomWSocket::DoRecv(buffer, bufferSize, flags);
    if (buffer == nullptr || bufferSize <= 0) return 0;
    const int n = std::min(bufferSize, FSocksLeftover);
    std::memcpy(buffer, FSocksRcvBuf + FSocksRcvdPtr, static_cast<std::size_t>(n));
    if ((flags & MSG_PEEK) == 0) {
        FSocksRcvdPtr += n;
        FSocksLeftover -= n;
    }
    FRcvdFlag = n >= bufferSize;
    return n;
}

void TCustomSocksWSocket::TriggerSessionClosed(WORD error) {
    if (FSocksState == socksAuthenticate) TriggerSocksAuthState(socksAuthFailure);
    TCustomWSocket::TriggerSessionClosed(error);
}

// ---- Events ----

void TCustomSocksWSocket::TriggerSocksConnected(WORD error) {
    if (OnSocksConnected) OnSocksConnected(this, error);
}

void TCustomSocksWSocket::TriggerSocksError(int code, const std::string& msg) {
    if (OnSocksError) OnSocksError(this, code, msg);
}

void TCustomSocksWSocket::TriggerSocksAuthState(TSocksAuthState state) {
    if (OnSocksAuthState) OnSocksAuthState(this, state);
}
