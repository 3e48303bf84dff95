// A scripted peer on 127.0.0.1 made of plain system sockets, for the socket tests. Kept apart from the
// Winsock stand-in's header, whose names clash with the system's. Every wait is bounded.
#pragma once

#include <cstdint>
#include <string>

namespace peer {

// A listening TCP socket on 127.0.0.1; `port` receives its port (host order).
int Listen(std::uint16_t& port, int backlog = 8);
// -1 when nothing arrives in time.
int Accept(int listener, int timeoutMs = 2000);
int Connect(std::uint16_t port);
// A port on 127.0.0.1 where nothing listens: the same one every time, held bound (never listening)
// until the process ends, so that no other program can start listening there meanwhile.
std::uint16_t ClosedPort();
bool SendAll(int fd, const std::string& data);
// Whatever arrives within the time (stops early once `atLeast` bytes are in).
std::string Receive(int fd, std::size_t atLeast, int timeoutMs = 2000);
// Reads until nothing more comes for a short while.
std::size_t Drain(int fd, int quietMs = 100);
void Close(int fd);
// Closes with an immediate reset.
void Reset(int fd);
void SetReceiveBuffer(int fd, int bytes);

int UdpSocket(std::uint16_t& port);
bool SendUdp(int fd, std::uint32_t hostAddress, std::uint16_t port, const std::string& data);
// Multicast sender bound to loopback with looping on.
bool SendMulticast(std::uint32_t group, std::uint16_t port, const std::string& data);

} // namespace peer
