// The unit's start-up and shut-down, the run-time binding of the socket library and its counted wrappers.
#include "net/WSocketLib.h"

#include "platform/core/Debug.h"
#include "platform/core/StrUtils.h"

#include <atomic>
#include <cstring>

namespace {

constexpr const char* kWinsockDll = "wsock32.dll";
constexpr const char* kWinsock2Dll = "ws2_32.dll";

enum TProcId : int {
    piWSAStartup,
    piWSACleanup,
    piWSASetLastError,
    piWSAGetLastError,
    piWSACancelAsyncRequest,
    piWSAAsyncGetHostByName,
    piWSAAsyncGetHostByAddr,
    piWSAAsyncSelect,
    pigetservbyname,
    pigetprotobyname,
    pigethostbyname,
    pigethostbyaddr,
    pigethostname,
    pisocket,
    pishutdown,
    pisetsockopt,
    pigetsockopt,
    pisendto,
    pisend,
    pintohs,
    pintohl,
    pilisten,
    piioctlsocket,
    piWSAIoctl,
    piinet_ntoa,
    piinet_addr,
    pihtons,
    pihtonl,
    pigetsockname,
    pigetpeername,
    piconnect,
    piclosesocket,
    pibind,
    piaccept,
    pirecv,
    pirecvfrom,
    piCount
};

constexpr const char* kProcNames[piCount] = {"WSAStartup",
                                             "WSACleanup",
                                             "WSASetLastError",
                                             "WSAGetLastError",
                                             "WSACancelAsyncRequest",
                                             "WSAAsyncGetHostByName",
                                             "WSAAsyncGetHostByAddr",
                                             "WSAAsyncSelect",
                                             "getservbyname",
                                             "getprotobyname",
                                             "gethostbyname",
                                             "gethostbyaddr",
                                             "gethostname",
                                             "socket",
                                             "shutdown",
                                             "setsockopt",
                                             "getsockopt",
                                             "sendto",
                                             "send",
                                             "ntohs",
                                             "ntohl",
                                             "listen",
                                             "ioctlsocket",
                                             "WSAIoctl",
                                             "inet_ntoa",
                                             "inet_addr",
                                             "htons",
                                             "htonl",
                                             "getsockname",
                                             "getpeername",
                                             "connect",
                                             "closesocket",
                                             "bind",
                                             "accept",
                                             "recv",
                                             "recvfrom"};

struct TLibState {
    HMODULE Dll = nullptr;
    HMODULE Dll2 = nullptr;
    bool Started = false;
    int Instances = 0;
    bool ForceLoaded = false;
    BYTE ReqVerLow = 1;
    BYTE ReqVerHigh = 1;
    winsock::WSAData Data{};
    std::atomic<FARPROC> Slots[piCount] = {};
};

TLibState& Lib() {
    // Never destroyed: sockets may still be released while the program ends.
    static auto* state = new TLibState();
    return *state;
}

struct TUnit {
    CRITICAL_SECTION ClassLock;
    CRITICAL_SECTION LoaderLock;
    CRITICAL_SECTION SendQueueLock;
    TStringList IPList;
};

void FinalizeUnit();

struct TUnitFinalizer {
    ~TUnitFinalizer() { FinalizeUnit(); }
};

TUnit& Unit() {
    // The locks outlive the program's static objects: a component freed late must still find them.
    static TUnit* unit = [] {
        auto* u = new TUnit();
        OutputDebugString("wsocket initialization section");
        InitializeCriticalSection(&u->ClassLock);
        InitializeCriticalSection(&u->LoaderLock);
        InitializeCriticalSection(&u->SendQueueLock);
        static TUnitFinalizer finalizer;
        return u;
    }();
    return *unit;
}

class TLoaderLock {
public:
    TLoaderLock() { EnterCriticalSection(&Unit().LoaderLock); }
    ~TLoaderLock() { LeaveCriticalSection(&Unit().LoaderLock); }
    TLoaderLock(const TLoaderLock&) = delete;
    TLoaderLock& operator=(const TLoaderLock&) = delete;
};

std::string ErrorSuffix() {
    return " Error #" + IntToStr(GetLastError());
}

void LoadAndStart() {
    auto& l = Lib();
    if (l.Dll != nullptr) return;
    HMODULE dll = LoadLibrary(kWinsockDll);
    if (dll == nullptr) throw ESocketException(std::string("Unable to load ") + kWinsockDll + ErrorSuffix());
    l.Dll = dll;
    auto startup = reinterpret_cast<decltype(&winsock::WSAStartup)>(GetProcAddress(dll, "WSAStartup"));
    if (startup == nullptr)
        throw ESocketException(std::string("Procedure WSAStartup not found in ") + kWinsockDll +
                               ErrorSuffix());
    const WORD version = static_cast<WORD>(l.ReqVerLow | (l.ReqVerHigh << 8));
    const int rc = startup(version, &l.Data);
    if (rc != 0) throw ESocketException(Format("%s: WSAStartup error #%d", kWinsockDll, rc));
    l.Started = true;
}

FARPROC Bound(TProcId id) {
    auto& slot = Lib().Slots[id];
    FARPROC proc = slot.load(std::memory_order_acquire);
    if (proc != nullptr) return proc;
    // Binding must not disturb the caller's last error (WSAGetLastError may be the first call bound).
    const DWORD saved = GetLastError();
    TLoaderLock lock;
    proc = slot.load(std::memory_order_acquire);
    if (proc == nullptr) {
        proc = id == piWSAIoctl ? WSocket2GetProc(kProcNames[id]) : WSocketGetProc(kProcNames[id]);
        slot.store(proc, std::memory_order_release);
    }
    SetLastError(saved);
    return proc;
}

template <TProcId Id, auto Fn>
auto Proc() {
    return reinterpret_cast<decltype(Fn)>(Bound(Id));
}

void UnloadLocked() {
    auto& l = Lib();
    if (l.Dll != nullptr && l.Instances == 0) {
        if (l.Started) {
            if (auto cleanup =
                    reinterpret_cast<decltype(&winsock::WSACleanup)>(GetProcAddress(l.Dll, "WSACleanup")))
                cleanup();
        }
        if (l.Dll2 != nullptr) FreeLibrary(l.Dll2);
        FreeLibrary(l.Dll);
        l.Dll = nullptr;
        l.Dll2 = nullptr;
        l.Started = false;
        for (auto& slot : l.Slots)
            slot.store(nullptr, std::memory_order_release);
    }
    l.ForceLoaded = false;
}

void FinalizeUnit() {
    auto& u = Unit();
    u.IPList.Clear();
    if (Lib().Instances < 1) {
        DeleteCriticalSection(&u.ClassLock);
        {
            TLoaderLock lock;
            UnloadLocked();
        }
        DeleteCriticalSection(&u.LoaderLock);
        DeleteCriticalSection(&u.SendQueueLock);
    }
}

} // namespace

void WSocketUnitInit() {
    Unit();
}

CRITICAL_SECTION* WSocketClassLock() {
    return &Unit().ClassLock;
}
CRITICAL_SECTION* WSocketLoaderLock() {
    return &Unit().LoaderLock;
}
CRITICAL_SECTION* WSocketSendQueueLock() {
    return &Unit().SendQueueLock;
}

TStrings* LocalIPList() {
    auto& list = Unit().IPList;
    list.Clear();
    PHostEnt entry = WSocketGetHostByName(LocalHostName());
    if (entry != nullptr && entry->h_length == 4 && entry->h_addr_list != nullptr) {
        for (char** a = entry->h_addr_list; *a != nullptr; ++a) {
            winsock::u_long addr = 0;
            std::memcpy(&addr, *a, 4);
            list.Add(WSocketDottedAddr(addr));
        }
    }
    return &list;
}

// ---- Library control ----

FARPROC WSocketGetProc(const std::string& procName) {
    TLoaderLock lock;
    LoadAndStart();
    if (procName.empty()) return nullptr;
    FARPROC proc = GetProcAddress(Lib().Dll, procName.c_str());
    if (proc == nullptr)
        throw ESocketException("Procedure " + procName + " not found in " + kWinsockDll + ErrorSuffix());
    return proc;
}

FARPROC WSocket2GetProc(const std::string& procName) {
    TLoaderLock lock;
    auto& l = Lib();
    if (l.Dll2 == nullptr) {
        WSocketGetProc("");
        HMODULE dll = LoadLibrary(kWinsock2Dll);
        if (dll == nullptr)
            throw ESocketException(std::string("Unable to load ") + kWinsock2Dll + ErrorSuffix());
        l.Dll2 = dll;
    }
    if (procName.empty()) return nullptr;
    FARPROC proc = GetProcAddress(l.Dll2, procName.c_str());
    if (proc == nullptr)
        throw ESocketException("Procedure " + procName + " not found in " + kWinsock2Dll + ErrorSuffix());
    return proc;
}

void WSocketForceLoadWinsock() {
    TLoaderLock lock;
    auto& l = Lib();
    if (l.ForceLoaded) return;
    l.ForceLoaded = true;
    ++l.Instances;
    WSocketGetProc("");
}

void WSocketCancelForceLoadWinsock() {
    TLoaderLock lock;
    auto& l = Lib();
    if (!l.ForceLoaded) return;
    l.ForceLoaded = false;
    if (--l.Instances < 1) UnloadLocked();
}

void WSocketUnloadWinsock() {
    TLoaderLock lock;
    UnloadLocked();
}

void WinsockInfo(winsock::WSAData& info) {
    TLoaderLock lock;
    WSocketGetProc("");
    info = Lib().Data;
    if (Lib().Instances < 1) UnloadLocked();
}

BYTE WSocketReqVerLow() {
    TLoaderLock lock;
    return Lib().ReqVerLow;
}

BYTE WSocketReqVerHigh() {
    TLoaderLock lock;
    return Lib().ReqVerHigh;
}

bool WSocketSetReqVerLow(BYTE value) {
    TLoaderLock lock;
    if (value == Lib().ReqVerLow) return true;
    if (Lib().Dll != nullptr) return false;
    Lib().ReqVerLow = value;
    return true;
}

bool WSocketSetReqVerHigh(BYTE value) {
    TLoaderLock lock;
    if (value == Lib().ReqVerHigh) return true;
    if (Lib().Dll != nullptr) return false;
    Lib().ReqVerHigh = value;
    return true;
}

bool WSocketLibraryLoaded() {
    TLoaderLock lock;
    return Lib().Dll != nullptr;
}

void WSocketAddInstance() {
    TLoaderLock lock;
    ++Lib().Instances;
}

int WSocketRemoveInstance() {
    TLoaderLock lock;
    const int count = --Lib().Instances;
    if (count < 1) UnloadLocked();
    return count;
}

int WSocketInstanceCount() {
    TLoaderLock lock;
    return Lib().Instances;
}

TWinsockHold::TWinsockHold() {
    TLoaderLock lock;
    ++Lib().Instances;
}

TWinsockHold::~TWinsockHold() {
    TLoaderLock lock;
    --Lib().Instances;
}

// ---- Counted wrappers ----

int WSocket_WSAStartup(WORD versionRequested, winsock::WSAData* data) {
    TWinsockHold c;
    return Proc<piWSAStartup, &winsock::WSAStartup>()(versionRequested, data);
}
int WSocket_WSACleanup() {
    TWinsockHold c;
    return Proc<piWSACleanup, &winsock::WSACleanup>()();
}
void WSocket_WSASetLastError(int error) {
    TWinsockHold c;
    Proc<piWSASetLastError, &winsock::WSASetLastError>()(error);
}
int WSocket_WSAGetLastError() {
    TWinsockHold c;
    return Proc<piWSAGetLastError, &winsock::WSAGetLastError>()();
}
int WSocket_WSACancelAsyncRequest(HANDLE task) {
    TWinsockHold c;
    return Proc<piWSACancelAsyncRequest, &winsock::WSACancelAsyncRequest>()(task);
}
HANDLE WSocket_WSAAsyncGetHostByName(HWND window, UINT message, const char* name, char* buffer,
                                     int bufferLength) {
    TWinsockHold c;
    return Proc<piWSAAsyncGetHostByName, &winsock::WSAAsyncGetHostByName>()(window, message, name, buffer,
                                                                            bufferLength);
}
HANDLE WSocket_WSAAsyncGetHostByAddr(HWND window, UINT message, const char* address, int length, int type,
                                     char* buffer, int bufferLength) {
    TWinsockHold c;
    return Proc<piWSAAsyncGetHostByAddr, &winsock::WSAAsyncGetHostByAddr>()(window, message, address, length,
                                                                            type, buffer, bufferLength);
}
int WSocket_WSAAsyncSelect(TSocket s, HWND window, UINT message, long events) {
    TWinsockHold c;
    return Proc<piWSAAsyncSelect, &winsock::WSAAsyncSelect>()(s, window, message, events);
}
winsock::servent* WSocket_getservbyname(const char* name, const char* protocol) {
    TWinsockHold c;
    return Proc<pigetservbyname, &winsock::getservbyname>()(name, protocol);
}
winsock::protoent* WSocket_getprotobyname(const char* name) {
    TWinsockHold c;
    return Proc<pigetprotobyname, &winsock::getprotobyname>()(name);
}
winsock::hostent* WSocket_gethostbyname(const char* name) {
    TWinsockHold c;
    return Proc<pigethostbyname, &winsock::gethostbyname>()(name);
}
winsock::hostent* WSocket_gethostbyaddr(const char* address, int length, int type) {
    TWinsockHold c;
    return Proc<pigethostbyaddr, &winsock::gethostbyaddr>()(address, length, type);
}
int WSocket_gethostname(char* name, int nameLength) {
    TWinsockHold c;
    return Proc<pigethostname, &winsock::gethostname>()(name, nameLength);
}
TSocket WSocket_socket(int family, int type, int protocol) {
    TWinsockHold c;
    return Proc<pisocket, &winsock::socket>()(family, type, protocol);
}
int WSocket_shutdown(TSocket s, int how) {
    TWinsockHold c;
    return Proc<pishutdown, &winsock::shutdown>()(s, how);
}
int WSocket_setsockopt(TSocket s, int level, int option, const char* value, int valueLength) {
    TWinsockHold c;
    return Proc<pisetsockopt, &winsock::setsockopt>()(s, level, option, value, valueLength);
}
int WSocket_getsockopt(TSocket s, int level, int option, char* value, int* valueLength) {
    TWinsockHold c;
    return Proc<pigetsockopt, &winsock::getsockopt>()(s, level, option, value, valueLength);
}
int WSocket_sendto(TSocket s, const char* buffer, int length, int flags, const winsock::sockaddr* to,
                   int toLength) {
    TWinsockHold c;
    return Proc<pisendto, &winsock::sendto>()(s, buffer, length, flags, to, toLength);
}
int WSocket_send(TSocket s, const char* buffer, int length, int flags) {
    TWinsockHold c;
    return Proc<pisend, &winsock::send>()(s, buffer, length, flags);
}
winsock::u_short WSocket_ntohs(winsock::u_short value) {
    TWinsockHold c;
    return Proc<pintohs, &winsock::ntohs>()(value);
}
winsock::u_long WSocket_ntohl(winsock::u_long value) {
    TWinsockHold c;
    return Proc<pintohl, &winsock::ntohl>()(value);
}
int WSocket_listen(TSocket s, int backlog) {
    TWinsockHold c;
    return Proc<pilisten, &winsock::listen>()(s, backlog);
}
int WSocket_ioctlsocket(TSocket s, long command, winsock::u_long* argument) {
    TWinsockHold c;
    return Proc<piioctlsocket, &winsock::ioctlsocket>()(s, command, argument);
}
int WSocket_WSAIoctl(TSocket s, DWORD code, void* in, DWORD inLength, void* out, DWORD outLength,
                     DWORD* bytesReturned, void* overlapped, void* completion) {
    TWinsockHold c;
    return Proc<piWSAIoctl, &winsock::WSAIoctl>()(s, code, in, inLength, out, outLength, bytesReturned,
                                                  overlapped, completion);
}
char* WSocket_inet_ntoa(winsock::in_addr address) {
    TWinsockHold c;
    return Proc<piinet_ntoa, &winsock::inet_ntoa>()(address);
}
winsock::u_long WSocket_inet_addr(const char* text) {
    TWinsockHold c;
    return Proc<piinet_addr, &winsock::inet_addr>()(text);
}
winsock::u_short WSocket_htons(winsock::u_short value) {
    TWinsockHold c;
    return Proc<pihtons, &winsock::htons>()(value);
}
winsock::u_long WSocket_htonl(winsock::u_long value) {
    TWinsockHold c;
    return Proc<pihtonl, &winsock::htonl>()(value);
}
int WSocket_getsockname(TSocket s, winsock::sockaddr* name, int* nameLength) {
    TWinsockHold c;
    return Proc<pigetsockname, &winsock::getsockname>()(s, name, nameLength);
}
int WSocket_getpeername(TSocket s, winsock::sockaddr* name, int* nameLength) {
    TWinsockHold c;
    return Proc<pigetpeername, &winsock::getpeername>()(s, name, nameLength);
}
int WSocket_connect(TSocket s, const winsock::sockaddr* name, int nameLength) {
    TWinsockHold c;
    return Proc<piconnect, &winsock::connect>()(s, name, nameLength);
}
int WSocket_closesocket(TSocket s) {
    TWinsockHold c;
    return Proc<piclosesocket, &winsock::closesocket>()(s);
}
int WSocket_bind(TSocket s, const winsock::sockaddr* name, int nameLength) {
    TWinsockHold c;
    return Proc<pibind, &winsock::bind>()(s, name, nameLength);
}
TSocket WSocket_accept(TSocket s, winsock::sockaddr* address, int* addressLength) {
    TWinsockHold c;
    return Proc<piaccept, &winsock::accept>()(s, address, addressLength);
}
int WSocket_recv(TSocket s, char* buffer, int length, int flags) {
    TWinsockHold c;
    return Proc<pirecv, &winsock::recv>()(s, buffer, length, flags);
}
int WSocket_recvfrom(TSocket s, char* buffer, int length, int flags, winsock::sockaddr* from,
                     int* fromLength) {
    TWinsockHold c;
    return Proc<pirecvfrom, &winsock::recvfrom>()(s, buffer, length, flags, from, fromLength);
}
