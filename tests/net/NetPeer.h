// The far end of the socket tests: plain system sockets on 127.0.0.1. Kept out of the translation units
// that see the Winsock names, which clash with the system's. Every wait is bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace netpeer {

int Listen(std::uint16_t& port, int backlog = 8);
// -1 when nothing arrives in time.
int Accept(int listener, int timeoutMs = 3000);
int Connect(std::uint16_t port);
// A loopback port where nothing listens: the same one every time, held bound (never listening) until
// the process ends, so that no other program can start listening there meanwhile.
std::uint16_t ClosedPort();
bool SendAll(int fd, const std::string& data);
// What arrives within the time; stops early once `atLeast` bytes are in.
std::string Receive(int fd, std::size_t atLeast, int timeoutMs = 3000);
// True when the peer's orderly close or reset is seen within the time.
bool SeesClose(int fd, int timeoutMs = 3000);
void Close(int fd);
// Closes with a reset.
void Reset(int fd);
void SetReceiveBuffer(int fd, int bytes);
// The local port a descriptor is bound to.
std::uint16_t LocalPort(int fd);

// A UDP socket bound to 127.0.0.1 on an ephemeral port.
int UdpSocket(std::uint16_t& port);
bool SendUdp(int fd, std::uint16_t port, const std::string& data);
// One datagram and the port it came from; empty when nothing arrives in time.
std::string ReceiveUdp(int fd, std::uint16_t& fromPort, int timeoutMs = 3000);
// A free UDP port on 127.0.0.1 (bound briefly, then released).
std::uint16_t FreeUdpPort();
// Sends one datagram to a multicast group on the default interface, looped back to this host; false
// when the host cannot.
bool SendMulticast(const std::string& group, std::uint16_t port, const std::string& data);
// Fills a listener's accept queue so that further connects hang; returns the filler sockets' count.
int FillBacklog(std::uint16_t port, int fds[], int max);

// Open descriptors of this process.
int OpenDescriptors();

// Reads a connection slowly on a thread of its own until `total` bytes are in or the time runs out.
class SlowReader {
public:
    SlowReader(int fd, std::size_t total, std::size_t chunk, int pauseMs, int timeoutMs);
    ~SlowReader();
    SlowReader(const SlowReader&) = delete;
    SlowReader& operator=(const SlowReader&) = delete;
    // Waits for the thread; the bytes it read.
    std::string Join();

private:
    struct State;
    State* state_;
};

} // namespace netpeer
