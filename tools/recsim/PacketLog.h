// Everything the simulated recorder received, for assertions: each packet (with what was wrong with
// it) and each upload.
#pragma once

#include "formats/NetPacket.h"

#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace recsim {

struct LoggedPacket {
    NetMsgPacket packet;
    std::string problem; // empty for a well-formed packet
    std::size_t index = 0;
};

struct LoggedUpload {
    DWORD kind = 0;
    std::string bytes;
};

class PacketLog {
public:
    void AddPacket(const NetMsgPacket& packet, const std::string& problem);
    void AddUpload(DWORD kind, std::string bytes);
    // Also writes one text line per packet to this file (not owned).
    void SetTextFile(std::FILE* file);

    std::vector<LoggedPacket> Packets() const;
    std::vector<LoggedUpload> Uploads() const;
    // Command packets (type 16) with this command.
    std::vector<LoggedPacket> Commands(DWORD command) const;
    std::optional<LoggedPacket> LastCommand(DWORD command) const;
    std::optional<LoggedUpload> LastUpload(DWORD kind) const;
    void Clear();

    // Waits until `pred` holds over the packets; false after `timeoutMs`.
    bool WaitFor(const std::function<bool(const std::vector<LoggedPacket>&)>& pred, int timeoutMs) const;
    bool WaitForCommand(DWORD command, int timeoutMs, std::size_t count = 1) const;
    bool WaitForMessage(DWORD msgid, int timeoutMs) const;
    bool WaitForUpload(DWORD kind, int timeoutMs) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<LoggedPacket> packets_;
    std::vector<LoggedUpload> uploads_;
    std::FILE* text_ = nullptr;
};

// One line describing a packet, as the text log writes it.
std::string DescribePacket(const NetMsgPacket& packet);

} // namespace recsim
