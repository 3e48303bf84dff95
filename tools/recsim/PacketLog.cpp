#include "tools/recsim/PacketLog.h"

#include "platform/core/StrUtils.h"

#include <chrono>

namespace recsim {

std::string DescribePacket(const NetMsgPacket& p) {
    if (p.Type() == QELMSG)
        return Format("QELMSG msgid %u ret %u errcode %u params %u %u %u %u %u text \"%s\"",
                      unsigned(p.MsgId()), unsigned(p.MsgRet()), unsigned(p.ErrCode()), unsigned(p.Param(1)),
                      unsigned(p.Param(2)), unsigned(p.Param(3)), unsigned(p.Param(4)), unsigned(p.Param(5)),
                      p.MsgText().c_str());
    std::string s = Format("NETMSG command %u arg0 %u retcommand %u result %u arg1 %u arg2 %u",
                           unsigned(p.Command()), unsigned(p.Arg0()), unsigned(p.RetCommand()),
                           unsigned(p.Result()), unsigned(p.Arg1()), unsigned(p.Arg2()));
    if (p.Command() == NETCMD_PASSWORD) s += Format(" level %u", unsigned(p.Arg0()));
    if (p.Command() == NETCMD_SEARCH && p.BackupFlag()) s += " backup";
    return s;
}

void PacketLog::AddPacket(const NetMsgPacket& packet, const std::string& problem) {
    std::lock_guard lock(mutex_);
    packets_.push_back({packet, problem, packets_.size()});
    if (text_) {
        std::fprintf(text_, "%s%s%s\n", DescribePacket(packet).c_str(),
                     problem.empty() ? "" : " PROBLEM: ", problem.c_str());
        std::fflush(text_);
    }
    changed_.notify_all();
}

void PacketLog::AddUpload(DWORD kind, std::string bytes) {
    std::lock_guard lock(mutex_);
    if (text_) {
        std::fprintf(text_, "UPLOAD kind %u, %zu bytes\n", unsigned(kind), bytes.size());
        std::fflush(text_);
    }
    uploads_.push_back({kind, std::move(bytes)});
    changed_.notify_all();
}

void PacketLog::SetTextFile(std::FILE* file) {
    std::lock_guard lock(mutex_);
    text_ = file;
}

std::vector<LoggedPacket> PacketLog::Packets() const {
    std::lock_guard lock(mutex_);
    return packets_;
}

std::vector<LoggedUpload> PacketLog::Uploads() const {
    std::lock_guard lock(mutex_);
    return uploads_;
}

std::vector<LoggedPacket> PacketLog::Commands(DWORD command) const {
    std::lock_guard lock(mutex_);
    std::vector<LoggedPacket> out;
    for (const auto& p : packets_)
        if (p.packet.Type() == NETMSG && p.packet.Command() == command) out.push_back(p);
    return out;
}

std::optional<LoggedPacket> PacketLog::LastCommand(DWORD command) const {
    const auto all = Commands(command);
    if (all.empty()) return std::nullopt;
    return all.back();
}

std::optional<LoggedUpload> PacketLog::LastUpload(DWORD kind) const {
    std::lock_guard lock(mutex_);
    for (auto it = uploads_.rbegin(); it != uploads_.rend(); ++it)
        if (it->kind == kind) return *it;
    return std::nullopt;
}

void PacketLog::Clear() {
    std::lock_guard lock(mutex_);
    packets_.clear();
    uploads_.clear();
}

bool PacketLog::WaitFor(const std::function<bool(const std::vector<LoggedPacket>&)>& pred,
                        int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return pred(packets_); });
}

bool PacketLog::WaitForCommand(DWORD command, int timeoutMs, std::size_t count) const {
    return WaitFor(
        [&](const std::vector<LoggedPacket>& all) {
            std::size_t n = 0;
            for (const auto& p : all)
                if (p.packet.Type() == NETMSG && p.packet.Command() == command) ++n;
            return n >= count;
        },
        timeoutMs);
}

bool PacketLog::WaitForMessage(DWORD msgid, int timeoutMs) const {
    return WaitFor(
        [&](const std::vector<LoggedPacket>& all) {
            for (const auto& p : all)
                if (p.packet.Type() == QELMSG && p.packet.MsgId() == msgid) return true;
            return false;
        },
        timeoutMs);
}

bool PacketLog::WaitForUpload(DWORD kind, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        for (const auto& u : uploads_)
            if (u.kind == kind) return true;
        return false;
    });
}

} // namespace recsim
