// The hidden window of each socket, the notifications it receives, the events they turn into and the
// message pumps of the component.
#include "net/WSocket.h"

#include "platform/core/StrUtils.h"
#include "platform/win/Application.h"

using namespace winsock;

namespace {

constexpr const char* kWindowClassName = "XSocketWindowClass";

HWND XSocketAllocateHWnd(TObject* owner) {
    EnterCriticalSection(WSocketClassLock());
    WNDCLASS existing;
    if (!GetClassInfo(MainInstance(), kWindowClassName, &existing)) {
        WNDCLASS cls;
        cls.style = 0;
        cls.lpfnWndProc = &XSocketHiddenWndProc;
        cls.cbClsExtra = 0;
        cls.cbWndExtra = 4;
        cls.hInstance = MainInstance();
        cls.lpszClassName = kWindowClassName;
        if (RegisterClass(&cls) == 0) {
            LeaveCriticalSection(WSocketClassLock());
            return nullptr;
        }
    }
    LeaveCriticalSection(WSocketClassLock());
    HWND window = CreateWindowEx(WS_EX_TOOLWINDOW, kWindowClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, MainInstance(), nullptr);
    if (window != nullptr && owner != nullptr) SetWindowLongPtr(window, 0, reinterpret_cast<LONG_PTR>(owner));
    return window;
}

bool XSocketDeallocateHWnd(HWND window) {
    SetWindowLongPtr(window, 0, 0);
    return DestroyWindow(window) != FALSE;
}

} // namespace

LRESULT XSocketHiddenWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = reinterpret_cast<TObject*>(GetWindowLongPtr(window, 0));
    auto* socket = dynamic_cast<TCustomWSocket*>(object);
    if (socket == nullptr) return DefWindowProc(window, message, wParam, lParam);
    // The socket may destroy itself here (Release): only the local record is read afterwards.
    TMessage msg{message, wParam, lParam, 0};
    socket->WndProc(msg);
    return msg.Result;
}

void TCustomWSocket::AllocateSocketHWnd() {
    FWindowHandle = XSocketAllocateHWnd(this);
    FThreadId = GetCurrentThreadId();
    if (FWindowHandle == nullptr) RaiseException("Cannot create a hidden window for TWSocket");
}

void TCustomWSocket::DeallocateSocketHWnd() {
    if (FWindowHandle == nullptr) return;
    if (XSocketDeallocateHWnd(FWindowHandle)) FWindowHandle = nullptr;
}

void TCustomWSocket::WndProc(TMessage& msg) {
    try {
        switch (msg.Msg) {
        case WM_SOCKET_EVENT:
            WMASyncSelect(msg);
            break;
        case WM_SOCKET_NAME_RESOLVED:
            WMGetHostByName(msg);
            break;
        case WM_SOCKET_ADDR_RESOLVED:
            WMGetHostByAddr(msg);
            break;
        case WM_SOCKET_CLOSE_LATER:
            Close();
            break;
        case WM_SOCKET_FREE_LATER:
            Free();
            return;
        case WM_SOCKET_RAISE_TEST:
            throw ESocketException("Test exception in WSocket");
        default:
            msg.Result = DefWindowProc(FWindowHandle, msg.Msg, msg.WParam, msg.LParam);
            break;
        }
    } catch (const std::exception& e) {
        HandleBackGroundException(e);
    } catch (...) {
        HandleBackGroundException(Exception("Unknown exception"));
    }
}

void TCustomWSocket::HandleBackGroundException(const std::exception& e) {
    bool canClose = true;
    if (OnBgException) {
        try {
            OnBgException(this, e, canClose);
        } catch (...) {
        }
    }
    if (!canClose) return;
    try {
        Abort();
    } catch (...) {
    }
}

void TCustomWSocket::WMASyncSelect(TMessage& msg) {
    const WORD events = WSAGETSELECTEVENT(msg.LParam);
    if (CheckLogOptions(loWsockDump)) {
        std::string line = "AsyncSelect CtrlSocket" + IntToStr(static_cast<std::int64_t>(msg.WParam)) + ", " +
                           IntToStr(static_cast<std::int64_t>(msg.LParam));
        if (events & FD_CONNECT) line += " FD_CONNECT";
        if (events & FD_READ) line += " FD_READ";
        if (events & FD_WRITE) line += " FD_WRITE";
        if (events & FD_CLOSE) line += " FD_CLOSE";
        if (events & FD_ACCEPT) line += " FD_ACCEPT";
        DebugLog(loProtSpecDump, line);
    }
    // Notifications of a closed or replaced handle, or queued before Pause, are dropped. An invalid
    // handle never has notifications of its own.
    if (msg.WParam != FHSocket || FPaused || FHSocket == INVALID_SOCKET) return;
    const TSocket socket = FHSocket;
    const std::pair<long, void (TCustomWSocket::*)(TMessage&)> order[] = {
        {FD_CONNECT, &TCustomWSocket::Do_FD_CONNECT},
        {FD_READ, &TCustomWSocket::Do_FD_READ},
        {FD_WRITE, &TCustomWSocket::Do_FD_WRITE},
        {FD_ACCEPT, &TCustomWSocket::Do_FD_ACCEPT},
        {FD_CLOSE, &TCustomWSocket::Do_FD_CLOSE}};
    for (const auto& [bit, handler] : order) {
        if ((events & bit) == 0) continue;
        // A handler that closed or replaced the socket ends the rest of this notification.
        if (FHSocket != socket) return;
        (this->*handler)(msg);
    }
}

void TCustomWSocket::Do_FD_CONNECT(TMessage& msg) {
    if (FState == wsConnected) return;
    const WORD error = WSAGETSELECTERROR(msg.LParam);
    ChangeState(wsConnected);
    TriggerSessionConnectedSpecial(error);
    // A handler may have closed the socket, or already started the next connection.
    if (error != 0 && FState != wsClosed && FHSocket == static_cast<TSocket>(msg.WParam)) Close();
}

void TCustomWSocket::Do_FD_READ(TMessage& msg) {
    const WORD error = WSAGETSELECTERROR(msg.LParam);
    if (FState != wsConnected) {
        ChangeState(wsConnected);
        TriggerSessionConnectedSpecial(error);
    }
    if (FHSocket != static_cast<TSocket>(msg.WParam)) return;
    ASyncReceive(error, FComponentOptions, true);
}

void TCustomWSocket::Do_FD_WRITE(TMessage& msg) {
    TryToSend();
    if (FAllSent && FHSocket == static_cast<TSocket>(msg.WParam))
        TriggerDataSent(WSAGETSELECTERROR(msg.LParam));
}

void TCustomWSocket::Do_FD_ACCEPT(TMessage& msg) {
    TriggerSessionAvailable(WSAGETSELECTERROR(msg.LParam));
}

void TCustomWSocket::Do_FD_CLOSE(TMessage& msg) {
    if (FState == wsConnecting || FHSocket == INVALID_SOCKET) return;
    const TSocket socket = FHSocket;
    ASyncReceive(0, FComponentOptions - TWSocketOptions{wsoNoReceiveLoop}, false);
    // A data handler that closed the socket has reported the close already.
    if (FHSocket != socket) return;
    if (!FCloseInvoked) {
        FCloseInvoked = true;
        TriggerSessionClosed(WSAGETSELECTERROR(msg.LParam));
    }
    if (FState != wsClosed && FHSocket == socket) Close();
}

void TCustomWSocket::DupConnected() {
    ChangeState(wsConnected);
}

void TCustomWSocket::ChangeState(TSocketState newState) {
    const TSocketState oldState = FState;
    FState = newState;
    if (oldState != newState) TriggerChangeState(oldState, newState);
}

// ---- Triggers ----

bool TCustomWSocket::TriggerDataAvailable(WORD error) {
    if (!OnDataAvailable) return false;
    OnDataAvailable(this, error);
    return true;
}

void TCustomWSocket::TriggerSessionAvailable(WORD error) {
    if (OnSessionAvailable) OnSessionAvailable(this, error);
}

void TCustomWSocket::TriggerSessionConnectedSpecial(WORD error) {
    TriggerSessionConnected(error);
}

void TCustomWSocket::TriggerSessionConnected(WORD error) {
    if (OnSessionConnected) OnSessionConnected(this, error);
}

void TCustomWSocket::TriggerSessionClosed(WORD error) {
    if (OnSessionClosed) OnSessionClosed(this, error);
}

void TCustomWSocket::TriggerDataSent(WORD error) {
    if (CheckLogOptions(loWsockDump))
        DebugLog(loWsockDump, IntToHex(reinterpret_cast<std::uintptr_t>(this), 8) + " TriggerDataSent " +
                                  IntToStr(static_cast<std::int64_t>(FHSocket)));
    if (OnDataSent) OnDataSent(this, error);
}

void TCustomWSocket::TriggerSendData(int bytesSent) {
    if (OnSendData) OnSendData(this, bytesSent);
}

void TCustomWSocket::TriggerChangeState(TSocketState oldState, TSocketState newState) {
    if (OnChangeState) OnChangeState(this, oldState, newState);
}

void TCustomWSocket::TriggerDNSLookupDone(WORD error) {
    if (OnDnsLookupDone) OnDnsLookupDone(this, error);
}

// ---- Message pumps and threads ----

void TCustomWSocket::MessagePump() {
    if (!FMultiThreaded)
        CurrentApplication().ProcessMessages();
    else
        ProcessMessages();
}

bool TCustomWSocket::ProcessMessage() {
    MSG msg;
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
    } else {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    return true;
}

void TCustomWSocket::ProcessMessages() {
    while (ProcessMessage()) {
    }
}

void TCustomWSocket::MessageLoop() {
    MSG msg;
    while (GetMessage(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    FTerminated = true;
}

void TCustomWSocket::ThreadDetach() {
    if (GetCurrentThreadId() != FThreadId) {
        RaiseException("Cannot detach from other thread");
        return;
    }
    if (FHSocket != INVALID_SOCKET) WSocket_WSAAsyncSelect(FHSocket, FWindowHandle, 0, 0);
    DeallocateSocketHWnd();
}

void TCustomWSocket::ThreadAttach() {
    if (FWindowHandle != nullptr) {
        RaiseException("Cannot attach when not detached");
        return;
    }
    AllocateSocketHWnd();
    if (FHSocket != INVALID_SOCKET)
        WSocket_WSAAsyncSelect(FHSocket, FWindowHandle, WM_SOCKET_EVENT, FSelectEvent);
}
