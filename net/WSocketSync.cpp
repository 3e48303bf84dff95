// Blocking line reads on top of line mode: the wait pumps the thread's messages, so the line arrives
// through the ordinary event path.
#include "net/WSocket.h"

#include "platform/core/SysTime.h"
#include "platform/win/Application.h"

#include <climits>

namespace {

constexpr int kDefaultReadLineMs = 60000;

int WaitMilliseconds(int timeout) {
    if (timeout == 0) return kDefaultReadLineMs;
    if (timeout > 0) return timeout > INT_MAX / 1000 ? INT_MAX : timeout * 1000;
    return timeout == INT_MIN ? INT_MAX : -timeout;
}

} // namespace

void TCustomSyncWSocket::ReadLine(int timeout, std::string& buffer) {
    buffer.clear();
    if (FState != wsConnected) {
        RaiseException("ReadLine failed: not connected");
        return;
    }
    FTimeout = WaitMilliseconds(timeout);
    FLineFound = false;

    // Whatever happens in the wait, the caller's handler and mode come back.
    struct TRestore {
        TCustomSyncWSocket& Self;
        TDataAvailable Handler;
        bool LineMode;
        ~TRestore() {
            Self.OnDataAvailable = Handler;
            Self.FLineMode = LineMode;
            Self.FLinePointer = nullptr;
        }
    } restore{*this, OnDataAvailable, FLineMode};

    FLinePointer = &buffer;
    OnDataAvailable = TDataAvailable(this, &TCustomSyncWSocket::InternalDataAvailable);
    FLineMode = true;
    // A line left over from an earlier read is offered again first.
    if (FLineLength > 0 || FRcvdCnt > 0) {
        FSearchFromStart = true;
        PostMessage(FWindowHandle, WM_SOCKET_LINES_PENDING, 0, 0);
    }
    const int result = Synchronize(nullptr, FLineFound);
    if (result == kSyncTimeout && FLinePointer != nullptr && FRcvdCnt > 0) {
        buffer.assign(FRcvdPtr.data(), static_cast<std::size_t>(FRcvdCnt));
        FRcvdCnt = 0;
    }
}

void TCustomSyncWSocket::InternalDataAvailable(TObject*, WORD) {
    // One line per ReadLine: a second line in the same read stays pending for the next call.
    if (FLinePointer == nullptr) return;
    std::string& target = *FLinePointer;
    target.resize(static_cast<std::size_t>(FLineLength));
    const int n = Receive(target.data(), FLineLength);
    if (n > 0) {
        target.resize(static_cast<std::size_t>(n));
        FLinePointer = nullptr;
    } else {
        target.clear();
    }
}

int TCustomSyncWSocket::Synchronize(const std::function<void()>& proc, bool& doneFlag) {
    doneFlag = false;
    if (proc) proc();
    return WaitUntilReady(doneFlag);
}

int TCustomSyncWSocket::WaitUntilReady(bool& doneFlag) {
    FTimeStop = GetTickCount() + static_cast<DWORD>(FTimeout);
    while (!doneFlag) {
        if (FTimeout > 0 && static_cast<std::int32_t>(GetTickCount() - FTimeStop) > 0) return kSyncTimeout;
        if (CurrentApplication().Terminated() || FTerminated) return kSyncTimeout;
        MessagePump();
        Sleep(0);
    }
    return 0;
}
