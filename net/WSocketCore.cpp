// The socket component's life cycle, its property rules, closing and error reporting.
#include "net/WSocket.h"

#include "platform/core/Debug.h"
#include "platform/core/StrUtils.h"

#include <cstdarg>

using namespace winsock;

namespace {

void TraceSwallowed(const char* where, const char* what) {
    DebugTrace(where, std::string("exception ignored: ") + what);
}

} // namespace

TCustomWSocket::TCustomWSocket(TComponent* owner) : TComponent(owner) {
    WSocketUnitInit();
    AllocateSocketHWnd();
    // The core's own reset; AfterConstruction repeats it through the layers.
    TCustomWSocket::AssignDefaultValue();
    WSocketAddInstance();
}

TCustomWSocket::~TCustomWSocket() {
    if (!FBeforeDestructionDone) TCustomWSocket::BeforeDestruction();
    const int count = WSocketRemoveInstance();
    DeleteBufferedData();
    FDnsResultList.Clear();
    DeallocateSocketHWnd();
    if (count < 1) {
        EnterCriticalSection(WSocketClassLock());
        UnregisterClass("XSocketWindowClass", MainInstance());
        LeaveCriticalSection(WSocketClassLock());
    }
}

void TCustomWSocket::Free() {
    BeforeDestruction();
    delete this;
}

void TCustomWSocket::AfterConstruction() {
    AssignDefaultValue();
}

void TCustomWSocket::BeforeDestruction() {
    if (FBeforeDestructionDone) return;
    FBeforeDestructionDone = true;
    SetDestroying();
    try {
        CancelDnsLookup();
    } catch (const std::exception& e) {
        TraceSwallowed("TCustomWSocket::BeforeDestruction", e.what());
    }
    try {
        if (FState != wsClosed) Close();
    } catch (const std::exception& e) {
        TraceSwallowed("TCustomWSocket::BeforeDestruction", e.what());
    }
    ReleaseHandleSilently();
}

void TCustomWSocket::AssignDefaultValue() {
    FSin = TSockAddrIn{};
    FSin.sin_family = AF_INET;
    FAddrFormat = AF_INET;
    FPortAssigned = false;
    FPortResolved = false;
    FAddrAssigned = false;
    FAddrResolved = false;
    FLocalPortResolved = false;
    FProtoAssigned = true;
    FProtoResolved = false;
    FProto = IPPROTO_TCP;
    FProtoStr = "tcp";
    FType = SOCK_STREAM;
    FLocalPortStr = "0";
    FLocalAddr = "0.0.0.0";
    FLingerOnOff = wsLingerOn;
    FLingerTimeout = 0;
    FHSocket = INVALID_SOCKET;
    FSelectEvent = 0;
    FState = wsClosed;
    FAllSent = true;
    FReadCount = 0;
    FPaused = false;
    FCloseInvoked = false;
    FFlushTimeout = 60;
}

// ---- Properties ----

void TCustomWSocket::SetAddr(const std::string& value) {
    if (FAddrAssigned && value == FAddrStr) return;
    if (FState != wsClosed) {
        RaiseException("Cannot change Addr if not closed");
        return;
    }
    FAddrStr = Trim(value);
    FAddrAssigned = !FAddrStr.empty();
    FAddrResolved = false;
}

void TCustomWSocket::SetRemotePort(const std::string& value) {
    if (FPortAssigned && value == FPortStr) return;
    if (FState != wsClosed) {
        RaiseException("Cannot change Port if not closed");
        return;
    }
    FPortStr = Trim(value);
    FPortAssigned = !FPortStr.empty();
    FPortResolved = false;
}

void TCustomWSocket::SetProto(const std::string& value) {
    if (FProtoAssigned && value == FProtoStr) return;
    if (FState != wsClosed) {
        RaiseException("Cannot change Proto if not closed");
        return;
    }
    FProtoStr = Trim(value);
    FProtoAssigned = !FProtoStr.empty();
    FProtoResolved = false;
}

void TCustomWSocket::SetLocalPort(const std::string& value) {
    if (FState != wsClosed) {
        RaiseException("Cannot change LocalPort if not closed");
        return;
    }
    FLocalPortStr = value;
    FLocalPortResolved = false;
}

void TCustomWSocket::SetLocalAddr(const std::string& value) {
    if (FState != wsClosed) {
        RaiseException("Cannot change LocalAddr if not closed");
        return;
    }
    FLocalAddr = value.empty() ? "0.0.0.0" : value;
}

TSocketSendFlags TCustomWSocket::SendFlags() {
    switch (FSendFlags) {
    case 0:
        return wsSendNormal;
    case MSG_OOB:
        return wsSendUrgent;
    default:
        RaiseException("Invalid internal SendFlags");
        return wsSendNormal;
    }
}

void TCustomWSocket::SetSendFlags(TSocketSendFlags value) {
    switch (value) {
    case wsSendNormal:
        FSendFlags = 0;
        break;
    case wsSendUrgent:
        FSendFlags = MSG_OOB;
        break;
    default:
        RaiseException("Invalid SendFlags");
    }
}

void TCustomWSocket::SetReqVerLow(BYTE value) {
    if (!WSocketSetReqVerLow(value)) SocketError("SetReqVerLow: WinSock version can't be changed now");
}

void TCustomWSocket::SetReqVerHigh(BYTE value) {
    if (!WSocketSetReqVerHigh(value)) SocketError("SetReqVerHigh: WinSock version can't be changed now");
}

// ---- Logger ----

void TCustomWSocket::SetVeskLogger(TVeskLogger* logger) {
    if (logger == FVeskLogger) return;
    if (FVeskLogger != nullptr) FVeskLogger->RemoveFreeNotification(this);
    FVeskLogger = logger;
    FLoggerFailureReported = false;
    if (FVeskLogger != nullptr) FVeskLogger->FreeNotification(this);
}

void TCustomWSocket::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FVeskLogger) FVeskLogger = nullptr;
}

void TCustomWSocket::DebugLog(TLogOption logOption, const std::string& msg) {
    if (FVeskLogger == nullptr) return;
    // A broken log file must not abort the connection that is being logged.
    try {
        FVeskLogger->DoDebugLog(this, logOption, msg);
    } catch (const std::exception& e) {
        if (!FLoggerFailureReported) {
            FLoggerFailureReported = true;
            DebugTrace("TCustomWSocket::DebugLog", std::string("logger failed: ") + e.what());
        }
    }
}

bool TCustomWSocket::CheckLogOptions(TLogOption logOption) {
    return FVeskLogger != nullptr && FVeskLogger->LogOptions().Contains(logOption);
}

// ---- Closing ----

void TCustomWSocket::ReleaseHandleSilently() {
    if (FHSocket == INVALID_SOCKET) return;
    WSocket_closesocket(FHSocket);
    FHSocket = INVALID_SOCKET;
}

void TCustomWSocket::InternalClose(bool bShut, WORD error) {
    if (FHSocket == INVALID_SOCKET) {
        if (FState != wsClosed) {
            ChangeState(wsClosed);
            AssignDefaultValue();
        }
        return;
    }
    if (FState == wsClosed) {
        // A handle made by a Listen or Connect that failed before any state change.
        ReleaseHandleSilently();
        return;
    }
    if (bShut) Shutdown(SD_SEND);
    for (;;) {
        if (WSocket_closesocket(FHSocket) == 0) {
            FHSocket = INVALID_SOCKET;
            break;
        }
        FLastError = WSocket_WSAGetLastError();
        if (FLastError == WSAEWOULDBLOCK) {
            MessagePump();
            if (FHSocket != INVALID_SOCKET) continue;
            break;
        }
        FHSocket = INVALID_SOCKET;
        if (FLastError != WSANOTINITIALISED) SocketError("Disconnect (closesocket)");
        return;
    }
    ChangeState(wsClosed);
    if (!ComponentState().Contains(csDestroying) && !FCloseInvoked) {
        FCloseInvoked = true;
        TriggerSessionClosed(error);
    }
    try {
        AssignDefaultValue();
    } catch (const std::exception& e) {
        TraceSwallowed("TCustomWSocket::InternalClose", e.what());
    }
}

void TCustomWSocket::Close() {
    InternalClose(true, 0);
}

void TCustomWSocket::CloseDelayed() {
    PostMessage(FWindowHandle, WM_SOCKET_CLOSE_LATER, 0, 0);
}

void TCustomWSocket::Release() {
    PostMessage(FWindowHandle, WM_SOCKET_FREE_LATER, 0, 0);
}

void TCustomWSocket::Abort() {
    InternalAbort(0);
}

void TCustomWSocket::InternalAbort(WORD error) {
    CancelDnsLookup();
    DeleteBufferedData();
    if (FState == wsConnected && FProto == IPPROTO_TCP) {
        FLingerOnOff = wsLingerOff;
        SetLingerOption();
    }
    InternalClose(false, error);
}

void TCustomWSocket::Shutdown(int how) {
    if (CheckLogOptions(loWsockInfo))
        DebugLog(loWsockInfo, IntToHex(reinterpret_cast<std::uintptr_t>(this), 8) +
                                  " TCustomWSocket.Shutdown " + IntToStr(how) + " " +
                                  IntToStr(static_cast<std::int64_t>(FHSocket)));
    if (FHSocket != INVALID_SOCKET) WSocket_shutdown(FHSocket, how);
}

void TCustomWSocket::Pause() {
    FPaused = true;
    WSocket_WSAAsyncSelect(FHSocket, FWindowHandle, 0, 0);
}

void TCustomWSocket::Resume() {
    FPaused = false;
    WSocket_WSAAsyncSelect(FHSocket, FWindowHandle, WM_SOCKET_EVENT, FSelectEvent);
}

// ---- Errors ----

void TCustomWSocket::ForcedClose(int error) {
    if (FHSocket != INVALID_SOCKET) {
        WSocket_closesocket(FHSocket);
        FHSocket = INVALID_SOCKET;
    }
    // The next connection must hear its notifications, whatever this one was doing.
    FPaused = false;
    FSelectEvent = 0;
    if (FState != wsClosed) TriggerSessionClosed(static_cast<WORD>(error));
    ChangeState(wsClosed);
}

void TCustomWSocket::SocketError(const std::string& sockFunc) {
    const int error = WSocket_WSAGetLastError();
    const std::string text =
        "Error " + IntToStr(error) + " in function " + sockFunc + "\r\n" + WSocketErrorDesc(error);
    if (error == WSAECONNRESET || error == WSAENOTCONN) ForcedClose(error);
    FLastError = error;
    RaiseException(text);
}

void TCustomWSocket::ReportNotConnected(const std::string& sockFunc) {
    const int error = WSocket_WSAGetLastError();
    FLastError = error;
    RaiseException("Error " + IntToStr(error) + " in function " + sockFunc + "\r\n" +
                   WSocketErrorDesc(error));
}

void TCustomWSocket::RaiseException(const std::string& msg) {
    if (!OnError) throw ESocketException(msg);
    TriggerError();
}

void TCustomWSocket::RaiseExceptionFmt(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string msg = FormatV(format, args);
    va_end(args);
    RaiseException(msg);
}

void TCustomWSocket::TriggerError() {
    if (OnError) OnError(this);
}
