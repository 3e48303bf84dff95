// A plain POSIX client of the simulated recorder for tests: blocking sockets with time limits.
#pragma once

#include "formats/NetPacket.h"

#include <optional>
#include <string>
#include <vector>

namespace recsim_test {

class TestConnection {
public:
    TestConnection() = default;
    explicit TestConnection(int port) { Connect(port); }
    ~TestConnection();
    TestConnection(const TestConnection&) = delete;
    TestConnection& operator=(const TestConnection&) = delete;

    // Raises std::runtime_error when the connection cannot be made.
    void Connect(int port);
    void Close();
    bool Open() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

    void Send(const std::vector<BYTE>& bytes);
    void Send(const NetMsgPacket& packet);
    void Send(const std::string& bytes);
    // Sends as much of `bytes` as the socket takes until it has stayed full for `stallMs`; returns how
    // many it took.
    std::size_t SendUntilStalled(const std::string& bytes, int stallMs);

    // Exactly `n` bytes within `timeoutMs`; nothing when the time runs out or the peer closes first.
    std::optional<std::vector<BYTE>> Read(std::size_t n, int timeoutMs = 3000);
    std::optional<NetMsgPacket> ReadPacket(int timeoutMs = 3000);
    // Whatever arrives within `timeoutMs` (at most `max` bytes); empty when nothing does.
    std::vector<BYTE> ReadSome(std::size_t max, int timeoutMs);
    // True once a read saw the peer's close (end of stream or reset).
    bool PeerClosed() const { return peerClosed_; }
    // True when the peer closes within `timeoutMs` (bytes still arriving are read and dropped).
    bool WaitClosed(int timeoutMs = 3000);

private:
    int fd_ = -1;
    bool peerClosed_ = false;
};

// The most a loopback connection's send buffer holds, autotuned or set by its owner.
std::size_t LargestSendBuffer();
// More bytes than the kernel's buffers of a loopback connection can hold at both ends together: the
// largest send buffer plus the largest receive buffer.
std::size_t LoopbackBufferCeiling();

// Sends a request and reads packets until the reply to it; other packets read meanwhile are kept in
// `others` when given. Nothing when no reply comes in time.
std::optional<NetMsgPacket> Request(TestConnection& c, const NetMsgPacket& request, int timeoutMs = 3000,
                                    std::vector<NetMsgPacket>* others = nullptr);

} // namespace recsim_test
