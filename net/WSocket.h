// The event-driven socket component. Each socket owns one handle and one hidden window; the socket
// library reports readiness to that window and the component turns every notification into events, on
// the thread that created it.
//
// Class chain: TCustomWSocket (states, window, send queue, receive loop, connect/listen) ->
// TCustomSocksWSocket (proxy negotiation, a pass-through without a proxy) -> TCustomLineWSocket (line
// mode) -> TCustomSyncWSocket (blocking line reads) -> TWSocket.
//
// Life cycle. The layers rely on virtual calls reaching the most derived class while the component is
// being made (AssignDefaultValue) and taken down (Close and what it calls), which C++ does not do inside
// constructors and destructors. So:
//   - make sockets with TCustomWSocket::Create<TWSocket>(owner): it constructs, then runs
//     AfterConstruction, where virtual calls reach every layer;
//   - destroy them with Free() (now) or Release() (later, from the message loop, safe inside the
//     socket's own event handlers): both run BeforeDestruction, which marks the component as being
//     destroyed and closes it through the virtual chain, before any C++ destructor runs.
// A socket deleted by its owner (TComponent) without Free still closes, at the core's level.
#pragma once

#include "net/SocksWire.h"
#include "net/VeskLogger.h"
#include "net/WSockBuf.h"
#include "net/WSocketLib.h"

#include "platform/vcl/Components.h"
#include "platform/vcl/Events.h"
#include "platform/vcl/Sets.h"
#include "platform/win/Messages.h"

#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

// Messages of the hidden window.
inline constexpr UINT WM_SOCKET_EVENT = WM_USER + 1;
inline constexpr UINT WM_SOCKET_NAME_RESOLVED = WM_USER + 2;
inline constexpr UINT WM_SOCKET_ADDR_RESOLVED = WM_USER + 3;
inline constexpr UINT WM_SOCKET_CLOSE_LATER = WM_USER + 4;
inline constexpr UINT WM_SOCKET_FREE_LATER = WM_USER + 5;
inline constexpr UINT WM_SOCKET_RAISE_TEST = WM_USER + 6;
inline constexpr UINT WM_SOCKET_LINES_PENDING = WM_USER + 20;
inline constexpr UINT WM_SERVER_CLIENT_GONE = WM_USER + 30;

// The async-select masks of Connect, Listen and Dup.
inline constexpr long kSelectEventConnect = 59;
inline constexpr long kSelectEventListen = 43;
inline constexpr long kSelectEventDup = 51;

// What Synchronize and WaitUntilReady answer on time-out or termination.
inline constexpr int kSyncTimeout = 12001;

enum TSocketState : BYTE {
    wsInvalidState,
    wsOpened,
    wsBound,
    wsConnecting,
    wsSocksConnected,
    wsConnected,
    wsAccepting,
    wsListening,
    wsClosed
};

enum TWSocketOption { wsoNoReceiveLoop, wsoTcpNoDelay, wsoSIO_RCVALL };
using TWSocketOptions = TSet<TWSocketOption>;
enum TSocketLingerOnOff { wsLingerOff, wsLingerOn, wsLingerNoSet };
enum TSocketKeepAliveOnOff { wsKeepAliveOff, wsKeepAliveOnCustom, wsKeepAliveOnSystem };
enum TSocketSendFlags { wsSendNormal, wsSendUrgent };
using TTcpKeepAlive = winsock::tcp_keepalive;
static_assert(sizeof(TTcpKeepAlive) == 12);

struct TTimeVal {
    long tv_sec = 0;
    long tv_usec = 0;
};

using TDataAvailable = TEvent<TObject*, WORD>;
using TDataSent = TEvent<TObject*, WORD>;
using TSessionClosed = TEvent<TObject*, WORD>;
using TSessionAvailable = TEvent<TObject*, WORD>;
using TSessionConnected = TEvent<TObject*, WORD>;
using TDnsLookupDone = TEvent<TObject*, WORD>;
using TSendData = TEvent<TObject*, int>;
using TChangeState = TEvent<TObject*, TSocketState, TSocketState>;
using TBgExceptionEvent = TEvent<TObject*, const std::exception&, bool&>;
using TLineLimitEvent = TEvent<TObject*, int, bool&>;

class TCustomWSocket;
LRESULT XSocketHiddenWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class TCustomWSocket : public TComponent {
public:
    // Constructs a T (TWSocket or any socket class) and completes it through the virtual chain.
    template <class T, class... Args>
    static T* Create(TComponent* owner, Args&&... args) {
        static_assert(std::is_base_of_v<TCustomWSocket, T>);
        T* socket = new T(owner, std::forward<Args>(args)...);
        TCustomWSocket* base = socket;
        try {
            base->AfterConstruction();
        } catch (...) {
            base->Free();
            throw;
        }
        return socket;
    }

    explicit TCustomWSocket(TComponent* owner);
    ~TCustomWSocket() override;

    // Closes through the virtual chain, then deletes. Never call it from the socket's own handlers:
    // use Release there.
    void Free();

    // ---- Operations ----
    virtual void Connect();
    virtual void Close();
    virtual void CloseDelayed();
    virtual void Release();
    virtual void Abort();
    virtual void Flush();
    virtual void WaitForClose();
    virtual void Listen();
    virtual TSocket Accept();
    virtual int Receive(void* buffer, int len);
    virtual std::string ReceiveStr();
    virtual int ReceiveFrom(void* buffer, int len, TSockAddrIn& from, int& fromLen);
    virtual int PeekData(void* buffer, int len);
    virtual int Send(const void* data, int len);
    virtual int SendTo(const TSockAddrIn& dest, int destLen, const void* data, int len);
    virtual int SendStr(const std::string& str);
    void SendText(const std::string& str) { SendStr(str); }
    virtual void PutDataInSendBuffer(const void* data, int len);
    void PutStringInSendBuffer(const std::string& str);
    void DeleteBufferedData();
    virtual void DnsLookup(const std::string& hostName);
    virtual void ReverseDnsLookup(const std::string& hostAddr);
    virtual void ReverseDnsLookupSync(const std::string& hostAddr);
    virtual void CancelDnsLookup();
    virtual std::string GetPeerAddr();
    virtual std::string GetPeerPort();
    virtual int GetPeerName(TSockAddrIn& name, int nameLen);
    virtual std::string GetXPort();
    virtual std::string GetXAddr();
    virtual int GetSockName(TSockAddrIn& name, int& nameLen);
    virtual void Dup(TSocket newHSocket);
    virtual void Shutdown(int how);
    virtual void Pause();
    virtual void Resume();
    virtual void MessagePump();
    bool ProcessMessage();
    void ProcessMessages();
    void MessageLoop();
    virtual void ThreadAttach();
    virtual void ThreadDetach();

    static bool TimerIsSet(const TTimeVal& tvp) { return tvp.tv_sec != 0 || tvp.tv_usec != 0; }
    static void TimerClear(TTimeVal& tvp) { tvp = TTimeVal{}; }
    static bool TimerCmp(const TTimeVal& a, const TTimeVal& b, bool equal) {
        const bool same = a.tv_sec == b.tv_sec && a.tv_usec == b.tv_usec;
        return equal ? same : !same;
    }

    // ---- Properties ----
    TVeskLogger* VeskLogger() const { return FVeskLogger; }
    virtual void SetVeskLogger(TVeskLogger* logger);
    const std::string& Addr() const { return FAddrStr; }
    void SetAddr(const std::string& value);
    const std::string& Port() const { return FPortStr; }
    void SetPort(const std::string& value) { SetRemotePort(value); }
    const std::string& Proto() const { return FProtoStr; }
    virtual void SetProto(const std::string& value);
    const std::string& LocalAddr() const { return FLocalAddr; }
    void SetLocalAddr(const std::string& value);
    const std::string& LocalPort() const { return FLocalPortStr; }
    void SetLocalPort(const std::string& value);
    std::string PeerAddr() { return GetPeerAddr(); }
    std::string PeerPort() { return GetPeerPort(); }
    const std::string& DnsResult() const { return FDnsResult; }
    TStrings* DnsResultList() { return &FDnsResultList; }
    TSocketState State() const { return FState; }
    int ReadCount() const { return FReadCount; }
    int RcvdCount() { return GetRcvdCount(); }
    int LastError() const { return FLastError; }
    bool MultiThreaded() const { return FMultiThreaded; }
    void SetMultiThreaded(bool value) { FMultiThreaded = value; }
    bool MultiCast() const { return FMultiCast; }
    void SetMultiCast(bool value) { FMultiCast = value; }
    const std::string& MultiCastAddrStr() const { return FMultiCastAddrStr; }
    void SetMultiCastAddrStr(const std::string& value) { FMultiCastAddrStr = value; }
    int MultiCastIpTTL() const { return FMultiCastIpTTL; }
    void SetMultiCastIpTTL(int value) { FMultiCastIpTTL = value; }
    bool ReuseAddr() const { return FReuseAddr; }
    void SetReuseAddr(bool value) { FReuseAddr = value; }
    TWSocketOptions ComponentOptions() const { return FComponentOptions; }
    void SetComponentOptions(TWSocketOptions value) { FComponentOptions = value; }
    int ListenBacklog() const { return FListenBacklog; }
    void SetListenBacklog(int value) { FListenBacklog = value; }
    BYTE ReqVerLow() const { return WSocketReqVerLow(); }
    void SetReqVerLow(BYTE value);
    BYTE ReqVerHigh() const { return WSocketReqVerHigh(); }
    void SetReqVerHigh(BYTE value);
    int FlushTimeout() const { return FFlushTimeout; }
    void SetFlushTimeout(int value) { FFlushTimeout = value; }
    TSocketSendFlags SendFlags();
    void SetSendFlags(TSocketSendFlags value);
    TSocketLingerOnOff LingerOnOff() const { return FLingerOnOff; }
    void SetLingerOnOff(TSocketLingerOnOff value) { FLingerOnOff = value; }
    int LingerTimeout() const { return FLingerTimeout; }
    void SetLingerTimeout(int value) { FLingerTimeout = value; }
    TSocketKeepAliveOnOff KeepAliveOnOff() const { return FKeepAliveOnOff; }
    void SetKeepAliveOnOff(TSocketKeepAliveOnOff value) { FKeepAliveOnOff = value; }
    int KeepAliveTime() const { return FKeepAliveTime; }
    void SetKeepAliveTime(int value) { FKeepAliveTime = value; }
    int KeepAliveInterval() const { return FKeepAliveInterval; }
    void SetKeepAliveInterval(int value) { FKeepAliveInterval = value; }

    // Public, not published.
    int BufSize() const { return FBufSize; }
    void SetBufSize(int value) { FBufSize = value; }
    TSocket HSocket() const { return FHSocket; }
    HWND Handle() const { return FWindowHandle; }
    TSocket LastAcceptedSocket() const { return FASocket; }
    int BufferedByteCount() const { return FBufferedByteCount; }
    int SendQueueBlocks() const;
    bool AllSent() const { return FAllSent; }
    bool Paused() const { return FPaused; }
    bool CloseInvoked() const { return FCloseInvoked; }
    long SelectEvent() const { return FSelectEvent; }
    bool RcvdFlag() const { return FRcvdFlag; }
    bool Terminated() const { return FTerminated; }
    const TSockAddrIn& Sin() const { return FSin; }
    int SocketSndBufSize() const { return FSocketSndBufSize; }
    int SocketRcvBufSize() const { return FSocketRcvBufSize; }
    DWORD ThreadId() const { return FThreadId; }

    // ---- Events ----
    TSessionAvailable OnSessionAvailable;
    TSessionConnected OnSessionConnected;
    TSessionClosed OnSessionClosed;
    TChangeState OnChangeState;
    TDataAvailable OnDataAvailable;
    TDataSent OnDataSent;
    TSendData OnSendData;
    TDnsLookupDone OnDnsLookupDone;
    TNotifyEvent OnError;
    TBgExceptionEvent OnBgException;

protected:
    friend LRESULT XSocketHiddenWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The two halves of the life cycle that may call into every layer.
    virtual void AfterConstruction();
    virtual void BeforeDestruction();

    void Notification(TComponent* component, TOperation operation) override;
    virtual void DebugLog(TLogOption logOption, const std::string& msg);
    virtual bool CheckLogOptions(TLogOption logOption);
    virtual void WndProc(TMessage& msg);
    virtual void AllocateSocketHWnd();
    virtual void DeallocateSocketHWnd();
    virtual void TryToSend();
    virtual void AssignDefaultValue();
    virtual void InternalClose(bool bShut, WORD error);
    virtual void InternalAbort(WORD error);
    virtual void SetRemotePort(const std::string& value);
    virtual int GetRcvdCount();
    virtual void BindSocket();
    virtual int RealSend(const void* data, int len);
    virtual void RaiseException(const std::string& msg);
    void RaiseExceptionFmt(const char* format, ...) __attribute__((format(printf, 2, 3)));
    virtual void HandleBackGroundException(const std::exception& e);
    virtual bool TriggerDataAvailable(WORD error);
    virtual void TriggerSessionAvailable(WORD error);
    virtual void TriggerSessionConnectedSpecial(WORD error);
    virtual void TriggerSessionConnected(WORD error);
    virtual void TriggerSessionClosed(WORD error);
    virtual void TriggerDataSent(WORD error);
    virtual void TriggerSendData(int bytesSent);
    virtual void TriggerChangeState(TSocketState oldState, TSocketState newState);
    virtual void TriggerDNSLookupDone(WORD error);
    virtual void TriggerError();
    virtual int DoRecv(void* buffer, int bufferSize, int flags);
    virtual int DoRecvFrom(void* buffer, int bufferSize, int flags, TSockAddrIn& from, int& fromLen);
    virtual void Do_FD_CONNECT(TMessage& msg);
    virtual void Do_FD_READ(TMessage& msg);
    virtual void Do_FD_WRITE(TMessage& msg);
    virtual void Do_FD_ACCEPT(TMessage& msg);
    virtual void Do_FD_CLOSE(TMessage& msg);
    virtual void DupConnected();

    void SocketError(const std::string& sockFunc);
    void ChangeState(TSocketState newState);
    // Offers waiting data to TriggerDataAvailable. A pass that consumes nothing ends the loop; with
    // `reoffer` a fresh FD_READ is posted so the data is offered again from the message loop.
    void ASyncReceive(WORD error, TWSocketOptions options, bool reoffer);
    void WMASyncSelect(TMessage& msg);
    void WMGetHostByName(TMessage& msg);
    void WMGetHostByAddr(TMessage& msg);
    void SetLingerOption();
    void SetKeepAliveOption();

    int FSendFlags = 0;
    int FLastError = 0;
    HWND FWindowHandle = nullptr;
    alignas(8) char FDnsLookupBuffer[1025] = {};
    bool FDnsLookupEarly = false;
    TMessage FDnsLookupSavedMsg;
    TSocket FHSocket = winsock::INVALID_SOCKET;
    TSocket FASocket = winsock::INVALID_SOCKET;
    std::string FAddrStr;
    bool FAddrResolved = false;
    int FAddrFormat = winsock::AF_INET;
    bool FAddrAssigned = false;
    int FProto = winsock::IPPROTO_TCP;
    bool FProtoAssigned = true;
    bool FProtoResolved = false;
    bool FLocalPortResolved = false;
    std::string FProtoStr = "tcp";
    std::string FPortStr;
    bool FPortAssigned = false;
    bool FPortResolved = false;
    int FPortNum = 0;
    std::string FLocalPortStr = "0";
    int FLocalPortNum = 0;
    std::string FLocalAddr = "0.0.0.0";
    int FType = winsock::SOCK_STREAM;
    std::deque<std::unique_ptr<TBuffer>> FBufList;
    int FBufSize = 1460;
    TSocketLingerOnOff FLingerOnOff = wsLingerOn;
    int FLingerTimeout = 0;
    TSocketKeepAliveOnOff FKeepAliveOnOff = wsKeepAliveOnSystem;
    int FKeepAliveTime = 30000;
    int FKeepAliveInterval = 1000;
    int FListenBacklog = 5;
    bool FAllSent = true;
    int FReadCount = 0;
    bool FPaused = false;
    bool FCloseInvoked = false;
    int FBufferedByteCount = 0;
    int FFlushTimeout = 60;
    bool FMultiThreaded = false;
    HANDLE FDnsLookupHandle = nullptr;
    bool FMultiCast = false;
    std::string FMultiCastAddrStr;
    int FMultiCastIpTTL = 1;
    bool FReuseAddr = false;
    TWSocketOptions FComponentOptions;
    TSocketState FState = wsClosed;
    bool FRcvdFlag = false;
    bool FTerminated = false;
    long FSelectEvent = 0;
    DWORD FThreadId = 0;
    int FSocketSndBufSize = 0;
    int FSocketRcvBufSize = 0;
    TVeskLogger* FVeskLogger = nullptr;
    TSockAddrIn FSin{};
    std::string FDnsResult;
    TStringList FDnsResultList;

private:
    // Reports a misuse with the current platform error, without the forced close that SocketError
    // applies to "not connected".
    void ReportNotConnected(const std::string& sockFunc);
    // Releases a handle that no state accounts for, without any event.
    void ReleaseHandleSilently();
    void ForcedClose(int error);
    bool ReadPendingOptions();
    bool SetIntOption(int level, int option, int value, const char* sockFunc);
    void FillHostNames(const winsock::hostent* entry);
    void ForgetLookup();
    bool StartReverseLookup(const std::string& hostAddr, winsock::u_long& addr);

    bool FBeforeDestructionDone = false;
    bool FInTryToSend = false;
    int FSendLostError = 0;
    bool FLoggerFailureReported = false;
};

enum TSocksState { socksData, socksNegociateMethods, socksAuthenticate, socksConnect };
enum TSocksAuthentication { socksNoAuthentication, socksAuthenticateUsercode };
enum TSocksAuthState { socksAuthStart, socksAuthSuccess, socksAuthFailure, socksAuthNotRequired };

using TSocksErrorEvent = TEvent<TObject*, int, const std::string&>;
using TSocksAuthStateEvent = TEvent<TObject*, TSocksAuthState>;

// With SocksServer set, a TCP Connect goes to that server and negotiates SOCKS 5 (optionally with user
// code and password), 4 or 4A before OnSessionConnected. Without it every call goes straight to the core.
// Every close forgets the server, its port and the level.
class TCustomSocksWSocket : public TCustomWSocket {
public:
    using TCustomWSocket::TCustomWSocket;

    void Connect() override;
    void Listen() override;

    const std::string& SocksServer() const { return FSocksServer; }
    virtual void SetSocksServer(const std::string& value);
    const std::string& SocksPort() const { return FSocksPort; }
    virtual void SetSocksPort(const std::string& value);
    // "4", "4A" or "5".
    const std::string& SocksLevel() const { return FSocksLevel; }
    void SetSocksLevel(const std::string& value);
    const std::string& SocksUsercode() const { return FSocksUsercode; }
    void SetSocksUsercode(const std::string& value) { FSocksUsercode = value; }
    const std::string& SocksPassword() const { return FSocksPassword; }
    void SetSocksPassword(const std::string& value) { FSocksPassword = value; }
    TSocksAuthentication SocksAuthentication() const { return FSocksAuthentication; }
    void SetSocksAuthentication(TSocksAuthentication value) { FSocksAuthentication = value; }
    TSocksState SocksState() const { return FSocksState; }
    // What a SOCKS 5 server reported as bound for the connection.
    const std::string& SocksBoundAddr() const { return FBoundAddr; }
    const std::string& SocksBoundPort() const { return FBoundPort; }

    TSocksErrorEvent OnSocksError;
    TSessionConnected OnSocksConnected;
    TSocksAuthStateEvent OnSocksAuthState;

protected:
    virtual void TriggerSocksConnected(WORD error);
    virtual void TriggerSocksError(int code, const std::string& msg);
    virtual void TriggerSocksAuthState(TSocksAuthState state);
    void AssignDefaultValue() override;
    void TriggerSessionConnectedSpecial(WORD error) override;
    bool TriggerDataAvailable(WORD error) override;
    void TriggerSessionClosed(WORD error) override;
    int GetRcvdCount() override;
    int DoRecv(void* buffer, int bufferSize, int flags) override;

    // Every negotiation failure: OnSocksError, OnSessionConnected with the code, then the close.
    void DataAvailableError(int code, const std::string& msg);
    bool SocksNegotiating() const { return FSocksState != socksData; }

    TSocksState FSocksState = socksData;
    std::string FSocksServer;
    std::string FSocksLevel = "5";
    std::string FSocksPort;
    bool FSocksPortAssigned = false;
    bool FSocksServerAssigned = false;
    std::string FSocksUsercode;
    std::string FSocksPassword;
    TSocksAuthentication FSocksAuthentication = socksNoAuthentication;
    BYTE FSocksAuthMethod = 0;
    std::string FBoundAddr;
    std::string FBoundPort;
    std::uint8_t FSocksRcvBuf[kSocksReplyArea] = {};
    int FSocksRcvdCnt = 0;
    int FSocksRcvdPtr = 0;
    // Bytes after a SOCKS 5 reply, from FSocksRcvdPtr on: the first data of the connection.
    int FSocksLeftover = 0;
    winsock::u_short FSocksDestPort = 0;

private:
    // Reads into the reply area until it holds `limit` bytes; false when nothing new came.
    bool ReceiveReplyPiece(int limit);
    // False when a handler closed the socket or moved it on.
    bool StillNegotiating(TSocket socket, TSocksState state) const;
    void SocksMethodData();
    void SocksAuthData();
    void Socks5ConnectData();
    void Socks4ConnectData();
    void SocksDoAuthenticate();
    void SocksDoConnect();
    bool SendRequest(const std::vector<std::uint8_t>& request);
    void DeliverLeftover(TSocket socket);
    // Refuses (RaiseException) a field longer than its one-byte length allows.
    bool CheckRequestFits();
    bool IsSocks4() const;
};

class TCustomLineWSocket : public TCustomSocksWSocket {
public:
    using TCustomSocksWSocket::TCustomSocksWSocket;

    virtual int SendLine(const std::string& str);
    virtual void SetLineMode(bool value);

    bool LineMode() const { return FLineMode; }
    int LineLimit() const { return FLineLimit; }
    void SetLineLimit(int value) { FLineLimit = value; }
    const std::string& LineEnd() const { return FLineEnd; }
    void SetLineEnd(const std::string& value) { FLineEnd = value; }
    bool LineEcho() const { return FLineEcho; }
    void SetLineEcho(bool value) { FLineEcho = value; }
    bool LineEdit() const { return FLineEdit; }
    void SetLineEdit(bool value) { FLineEdit = value; }
    // Bytes held back by the line layer, and the part of them that forms the line being read.
    int HeldCount() const { return FRcvdCnt; }
    int LineLength() const { return FLineLength; }

    TLineLimitEvent OnLineLimitExceeded;

protected:
    virtual void TriggerLineLimitExceeded(int cnt, bool& clearData);
    virtual void EditLine(int& len);
    void WndProc(TMessage& msg) override;
    int GetRcvdCount() override;
    bool TriggerDataAvailable(WORD error) override;
    void TriggerSessionClosed(WORD error) override;
    int DoRecv(void* buffer, int bufferSize, int flags) override;
    void WMTriggerDataAvailable();

    bool GrowBuffer(std::int64_t size);
    // Offers the pending line (its unread part at the buffer start, the bytes after it from lineEnd on)
    // until it is read or a pass reads nothing, then joins what follows it to the unread rest. False
    // when a pass read nothing: the line stays pending.
    bool DeliverLine(int lineEnd);
    // Plain mode after line mode: hands the held bytes out while the handler takes them.
    void DeliverHeldBytes();
    int FindLineEnd(int searchFrom) const;

    std::vector<char> FRcvdPtr;
    int FRcvdCnt = 0;
    std::string FLineEnd = "\r\n";
    bool FLineMode = false;
    int FLineLength = 0;
    int FLineLimit = 65536;
    bool FLineFound = false;
    bool FLineReceivedFlag = false;
    bool FLineClearData = false;
    bool FLineEcho = false;
    bool FLineEdit = false;
    int FTimeout = 0;
    DWORD FTimeStop = 0;
    // Held bytes may hide a line that no search has seen (after a mode switch or an unread line).
    bool FSearchFromStart = false;
};

class TCustomSyncWSocket : public TCustomLineWSocket {
public:
    using TCustomLineWSocket::TCustomLineWSocket;

    // Timeout: 0 waits 60 s, above 0 in seconds, below 0 in milliseconds. On time-out Buffer gets what
    // has arrived so far.
    void ReadLine(int timeout, std::string& buffer);

protected:
    virtual int Synchronize(const std::function<void()>& proc, bool& doneFlag);
    virtual int WaitUntilReady(bool& doneFlag);
    void InternalDataAvailable(TObject* sender, WORD error);

    std::string* FLinePointer = nullptr;
};

class TWSocket : public TCustomSyncWSocket {
public:
    using TCustomSyncWSocket::TCustomSyncWSocket;
};
