// The socket unit's process-wide base: the socket library bound by name at run time, the counted
// wrappers around its calls, the blocking resolvers, the dotted-address test and the error texts.
//
// The library ("wsock32.dll", and "ws2_32.dll" for WSAIoctl) is loaded on the first call that needs it
// and unloaded when the live-instance count falls back to 0. Every WSocket_xxx wrapper holds the count
// while it calls, so the library cannot go away under a running call.
//
// This header pulls in the Winsock stand-in; it must not share a translation unit with the system's
// socket headers.
#pragma once

#include "platform/core/Classes.h"
#include "platform/core/Exceptions.h"
#include "platform/core/Threads.h"
#include "platform/win/Modules.h"
#include "platform/win/Winsock.h"

#include <cstdint>
#include <string>

HARBEK_DECLARE_EXCEPTION(ESocketException, Exception);

using TSocket = winsock::SOCKET;
using TSockAddrIn = winsock::sockaddr_in;
using PHostEnt = winsock::hostent*;

// Library control.
FARPROC WSocketGetProc(const std::string& procName);
FARPROC WSocket2GetProc(const std::string& procName);
void WSocketForceLoadWinsock();
void WSocketCancelForceLoadWinsock();
void WSocketUnloadWinsock();
void WinsockInfo(winsock::WSAData& info);
// The version asked of WSAStartup (process-wide). The setters refuse (false) once the library is loaded.
BYTE WSocketReqVerLow();
BYTE WSocketReqVerHigh();
bool WSocketSetReqVerLow(BYTE value);
bool WSocketSetReqVerHigh(BYTE value);
bool WSocketLibraryLoaded();

// The live-instance count: one per socket component, one while force-loaded, one around every call.
void WSocketAddInstance();
// Lowers the count and unloads the library when it falls below 1; returns the new count.
int WSocketRemoveInstance();
int WSocketInstanceCount();

// Holds the live-instance count for its lifetime and, like the wrappers, never unloads on release.
class TWinsockHold {
public:
    TWinsockHold();
    ~TWinsockHold();
    TWinsockHold(const TWinsockHold&) = delete;
    TWinsockHold& operator=(const TWinsockHold&) = delete;
};

// Counted wrappers: same arguments and result as the platform's calls.
int WSocket_WSAStartup(WORD versionRequested, winsock::WSAData* data);
int WSocket_WSACleanup();
void WSocket_WSASetLastError(int error);
int WSocket_WSAGetLastError();
int WSocket_WSACancelAsyncRequest(HANDLE task);
HANDLE WSocket_WSAAsyncGetHostByName(HWND window, UINT message, const char* name, char* buffer,
                                     int bufferLength);
HANDLE WSocket_WSAAsyncGetHostByAddr(HWND window, UINT message, const char* address, int length, int type,
                                     char* buffer, int bufferLength);
int WSocket_WSAAsyncSelect(TSocket s, HWND window, UINT message, long events);
winsock::servent* WSocket_getservbyname(const char* name, const char* protocol);
winsock::protoent* WSocket_getprotobyname(const char* name);
winsock::hostent* WSocket_gethostbyname(const char* name);
winsock::hostent* WSocket_gethostbyaddr(const char* address, int length, int type);
int WSocket_gethostname(char* name, int nameLength);
TSocket WSocket_socket(int family, int type, int protocol);
int WSocket_shutdown(TSocket s, int how);
int WSocket_setsockopt(TSocket s, int level, int option, const char* value, int valueLength);
int WSocket_getsockopt(TSocket s, int level, int option, char* value, int* valueLength);
int WSocket_sendto(TSocket s, const char* buffer, int length, int flags, const winsock::sockaddr* to,
                   int toLength);
int WSocket_send(TSocket s, const char* buffer, int length, int flags);
winsock::u_short WSocket_ntohs(winsock::u_short value);
winsock::u_long WSocket_ntohl(winsock::u_long value);
int WSocket_listen(TSocket s, int backlog);
int WSocket_ioctlsocket(TSocket s, long command, winsock::u_long* argument);
int WSocket_WSAIoctl(TSocket s, DWORD code, void* in, DWORD inLength, void* out, DWORD outLength,
                     DWORD* bytesReturned, void* overlapped, void* completion);
char* WSocket_inet_ntoa(winsock::in_addr address);
winsock::u_long WSocket_inet_addr(const char* text);
winsock::u_short WSocket_htons(winsock::u_short value);
winsock::u_long WSocket_htonl(winsock::u_long value);
int WSocket_getsockname(TSocket s, winsock::sockaddr* name, int* nameLength);
int WSocket_getpeername(TSocket s, winsock::sockaddr* name, int* nameLength);
int WSocket_connect(TSocket s, const winsock::sockaddr* name, int nameLength);
int WSocket_closesocket(TSocket s);
int WSocket_bind(TSocket s, const winsock::sockaddr* name, int nameLength);
TSocket WSocket_accept(TSocket s, winsock::sockaddr* address, int* addressLength);
int WSocket_recv(TSocket s, char* buffer, int length, int flags);
int WSocket_recvfrom(TSocket s, char* buffer, int length, int flags, winsock::sockaddr* from,
                     int* fromLength);

// Resolvers. Hosts come back in network order, ports in host order.
winsock::u_long WSocketResolveHost(const std::string& host);
winsock::u_short WSocketResolvePort(const std::string& port, const std::string& proto);
int WSocketResolveProto(const std::string& proto);
PHostEnt WSocketGetHostByName(const std::string& name);
PHostEnt WSocketGetHostByAddr(const std::string& addr);
std::string WSocketResolveIp(const std::string& ipAddr);
std::string LocalHostName();
// Owned by the unit; refilled by every call.
TStrings* LocalIPList();

// Exactly four decimal parts of at most 255, blanks allowed around the whole text.
bool WSocketIsDottedIP(const std::string& text);
std::string WSocketErrorDesc(int errCode);

// The dotted form of an address in network order.
std::string WSocketDottedAddr(winsock::u_long addr);

// The unit's start-up: the debug line, the local address list and the three process-wide locks. Runs
// once, on first use of the unit; the shut-down runs at the end of the program.
void WSocketUnitInit();
CRITICAL_SECTION* WSocketClassLock();
CRITICAL_SECTION* WSocketLoaderLock();
CRITICAL_SECTION* WSocketSendQueueLock();
