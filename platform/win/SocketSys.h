// Internal to the windows layer: the POSIX socket calls behind the Winsock stand-in, with neutral names
// so that neither side's header macros reach the other. Failures return false or -1 and put a Winsock
// error number into `error`. Addresses and ports are in network order; option levels, names and flags
// are Winsock numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sockdetail {

struct Ipv4 {
    std::uint32_t Addr = 0;
    std::uint16_t Port = 0;
};

// errno -> Winsock number.
int WsaFromErrno(int error);

int OpenSocket(int type, int protocol, int& error);
void CloseSocket(int fd);
bool SetNonBlocking(int fd, bool on, int& error);
bool Bind(int fd, const Ipv4& address, int& error);
bool Listen(int fd, int backlog, int& error);
// The new descriptor (non-blocking when asked), or -1.
int Accept(int fd, bool nonBlocking, Ipv4* peer, int& error);

enum class ConnectOutcome { Connected, Pending, Failed };
ConnectOutcome Connect(int fd, const Ipv4& address, int& error);
// Stops a connect that is still in progress.
void AbortConnect(int fd);

long Send(int fd, const void* data, std::size_t length, int flags, const Ipv4* to, int& error);
// Datagram sockets report a datagram longer than the buffer as WSAEMSGSIZE.
long Receive(int fd, void* data, std::size_t length, int flags, bool datagram, Ipv4* from, int& error);
bool Shutdown(int fd, int how, int& error);
bool LocalName(int fd, Ipv4& address, int& error);
bool PeerName(int fd, Ipv4& address, int& error);
long BytesWaiting(int fd, int& error);
bool AtOobMark(int fd, bool& atMark, int& error);
// The socket's pending error as a Winsock number (0 for none); reading it clears it.
int PendingError(int fd);

// Winsock option values in, Winsock option values out.
bool SetOption(int fd, int level, int option, const char* value, int length, int& error);
bool GetOption(int fd, int level, int option, char* value, int* length, int& error);
bool SetKeepAliveTimes(int fd, bool on, std::uint32_t timeMs, std::uint32_t intervalMs, int& error);
// For closesocket: a lingering close must not block the caller.
void MakeCloseNonBlocking(int fd);

// Readiness now, as msgloop::kWatch bits.
std::uint32_t PollNow(int fd);
enum class StreamState { Data, Eof, Nothing, Failed };
// What a stream socket holds without consuming it; Failed puts the connection's error into `error`.
StreamState PeekStream(int fd, int& error);
bool IsConnected(int fd);
bool IsBound(int fd);

struct HostInfo {
    std::string Name;
    std::vector<std::string> Aliases;
    std::vector<std::uint32_t> Addresses;
};
struct ServiceInfo {
    std::string Name;
    std::vector<std::string> Aliases;
    std::uint16_t Port = 0;
    std::string Protocol;
};
struct ProtocolInfo {
    std::string Name;
    std::vector<std::string> Aliases;
    int Number = 0;
};

// 0 or a Winsock lookup error (11001 to 11004).
int LookupHostName(const std::string& name, HostInfo& info);
int LookupHostAddress(std::uint32_t address, HostInfo& info);
bool LocalHostName(std::string& name, int& error);
// IPv4 addresses of the interfaces that are up, non-loopback ones first.
std::vector<std::uint32_t> InterfaceAddresses();
bool LookupService(const std::string& name, const std::string& protocol, ServiceInfo& info);
bool LookupProtocol(const std::string& name, ProtocolInfo& info);

} // namespace sockdetail
