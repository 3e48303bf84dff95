#include "client/ReplyBook.h"

std::optional<int> ReplySlotValue(DWORD retcommand, DWORD result) {
    switch (retcommand) {
    case NETCMD_SYSINFO:
    case NETCMD_FILE:
    case NETCMD_FILE_REQUEST:
    case NETCMD_CAMERA_INFO:
    case NETCMD_MODE:
    case NETCMD_STATUS:
    case NETCMD_LIVE_START:
    case NETCMD_LIVE_STOP:
    case NETCMD_SEARCH:
    case NETCMD_SEARCH_STOP:
    case NETCMD_RECORDER_116:
    case NETCMD_REMOTE_RECORD:
        return static_cast<int>(result);
    case NETCMD_LOGIN_OPTION:
    case NETCMD_HEARTBEAT:
        return 1;
    default:
        // 102 posts a message instead, 121 has its own field, 117 and anything else change nothing.
        return std::nullopt;
    }
}

void CReplyBook::Record(DWORD command, int value) {
    Entry& e = entries_[command];
    e.value = value;
    ++e.count;
    if (value != 0) ++e.endings;
}

std::uint64_t CReplyBook::Endings(DWORD command) const {
    const auto it = entries_.find(command);
    return it == entries_.end() ? 0 : it->second.endings;
}

std::uint64_t CReplyBook::Count(DWORD command) const {
    const auto it = entries_.find(command);
    return it == entries_.end() ? 0 : it->second.count;
}

int CReplyBook::Value(DWORD command) const {
    const auto it = entries_.find(command);
    return it == entries_.end() ? 0 : it->second.value;
}
