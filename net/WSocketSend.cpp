// The send queue and the send path: Send queues, TryToSend pushes what the platform takes, FD_WRITE
// pushes the rest.
#include "net/WSocket.h"

#include "platform/core/StrUtils.h"

#include <climits>

using namespace winsock;

namespace {

class TSendQueueLock {
public:
    TSendQueueLock() { EnterCriticalSection(WSocketSendQueueLock()); }
    ~TSendQueueLock() { LeaveCriticalSection(WSocketSendQueueLock()); }
    TSendQueueLock(const TSendQueueLock&) = delete;
    TSendQueueLock& operator=(const TSendQueueLock&) = delete;
};

class TFlagScope {
public:
    explicit TFlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~TFlagScope() { flag_ = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
};

bool ConnectionGone(int error) {
    return error == WSAECONNRESET || error == WSAENOTSOCK || error == WSAENOTCONN || error == WSAEINVAL ||
           error == WSAECONNABORTED;
}

} // namespace

int TCustomWSocket::Send(const void* data, int len) {
    if (FState != wsConnected && FState != wsSocksConnected) {
        // A misuse report: a connection that is still being made must survive it.
        WSocket_WSASetLastError(WSAENOTCONN);
        ReportNotConnected("Send");
        return -1;
    }
    FAllSent = false;
    int result = 0;
    if (len > 0 && data != nullptr) {
        PutDataInSendBuffer(data, len);
        result = len;
    }
    FSendLostError = 0;
    TryToSend();
    if (FSendLostError != 0) {
        // The connection went down under this Send: its data did not leave.
        FLastError = FSendLostError;
        FSendLostError = 0;
        return -1;
    }
    // OnDataSent never fires inside Send: it comes from the message loop.
    if (FAllSent)
        PostMessage(FWindowHandle, WM_SOCKET_EVENT, static_cast<WPARAM>(FHSocket),
                    WSAMAKESELECTREPLY(FD_WRITE, 0));
    return result;
}

int TCustomWSocket::SendStr(const std::string& str) {
    if (str.empty()) return 0;
    return Send(str.data(), static_cast<int>(str.size()));
}

void TCustomWSocket::PutStringInSendBuffer(const std::string& str) {
    PutDataInSendBuffer(str.data(), static_cast<int>(str.size()));
}

void TCustomWSocket::PutDataInSendBuffer(const void* data, int len) {
    if (len < 1 || data == nullptr) return;
    TSendQueueLock lock;
    if (FBufList.empty()) FBufList.push_back(std::make_unique<TBuffer>(FBufSize));
    FBufferedByteCount = FBufferedByteCount > INT_MAX - len ? INT_MAX : FBufferedByteCount + len;
    const char* p = static_cast<const char*>(data);
    int remaining = len;
    TBuffer* block = FBufList.back().get();
    for (;;) {
        const int written = block->Write(p, remaining);
        p += written;
        remaining -= written;
        if (remaining <= 0) break;
        FBufList.push_back(std::make_unique<TBuffer>(FBufSize));
        block = FBufList.back().get();
    }
    FAllSent = false;
}

void TCustomWSocket::TryToSend() {
    TSendQueueLock lock;
    if (FHSocket == INVALID_SOCKET || FBufList.empty()) {
        FAllSent = true;
        return;
    }
    // A handler of OnSendData that sends again only queues: this loop takes its data along, in order.
    if (FInTryToSend) return;
    TFlagScope busy(FInTryToSend);
    const TSocket socket = FHSocket;
    for (;;) {
        // A handler may have closed the socket or emptied the queue.
        if (FHSocket != socket) return;
        if (FBufList.empty()) {
            FAllSent = true;
            return;
        }
        TBuffer* block = FBufList.front().get();
        int len = 0;
        const char* p = block->Peek(len);
        if (len <= 0) {
            if (FBufList.size() > 1) {
                FBufList.pop_front();
                continue;
            }
            FAllSent = true;
            return;
        }
        const int count = RealSend(p, len);
        if (FHSocket != socket) return;
        if (count > 0) {
            if (FBufList.empty() || FBufList.front().get() != block) continue;
            FBufferedByteCount = FBufferedByteCount > count ? FBufferedByteCount - count : 0;
            // A short send brings no FD_WRITE (only a send that would block does): carry on until one blocks.
            block->Remove(count);
            continue;
        }
        if (count == 0) return;
        const int error = WSocket_WSAGetLastError();
        if (error == WSAEWOULDBLOCK) return;
        if (ConnectionGone(error)) {
            if (CheckLogOptions(loWsockErr))
                DebugLog(loWsockErr, Name() + " Winsock.Send failed " + IntToStr(error));
            FSendLostError = error;
            FCloseInvoked = true;
            Close();
            TriggerSessionClosed(static_cast<WORD>(error));
            return;
        }
        SocketError("TryToSend failed");
        return;
    }
}

int TCustomWSocket::RealSend(const void* data, int len) {
    int result;
    if (FType == SOCK_DGRAM)
        result = WSocket_sendto(FHSocket, static_cast<const char*>(data), len, FSendFlags,
                                reinterpret_cast<const sockaddr*>(&FSin), sizeof FSin);
    else
        result = WSocket_send(FHSocket, static_cast<const char*>(data), len, FSendFlags);
    if (result > 0) TriggerSendData(result);
    return result;
}

int TCustomWSocket::SendTo(const TSockAddrIn& dest, int destLen, const void* data, int len) {
    const int result = WSocket_sendto(FHSocket, static_cast<const char*>(data), len, FSendFlags,
                                      reinterpret_cast<const sockaddr*>(&dest), destLen);
    if (result > 0) {
        TriggerSendData(result);
        if (FAllSent && FType == SOCK_DGRAM)
            PostMessage(FWindowHandle, WM_SOCKET_EVENT, static_cast<WPARAM>(FHSocket),
                        WSAMAKESELECTREPLY(FD_WRITE, 0));
    }
    return result;
}

void TCustomWSocket::DeleteBufferedData() {
    TSendQueueLock lock;
    FBufList.clear();
    FBufferedByteCount = 0;
}

int TCustomWSocket::SendQueueBlocks() const {
    TSendQueueLock lock;
    return static_cast<int>(FBufList.size());
}

void TCustomWSocket::Flush() {
    // Inside an OnSendData handler the running send loop carries on once the handler returns.
    if (FInTryToSend) return;
    while (FHSocket != INVALID_SOCKET && !FAllSent) {
        TryToSend();
        MessagePump();
    }
}
