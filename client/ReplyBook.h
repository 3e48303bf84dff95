// Which replies end which waits. Every reply names the command it answers (its retcommand); a wait
// for one command ends only on a reply naming that command, so a late reply to an earlier request can
// never end a newer wait for something else. A reply whose value is 0 ends no wait.
#pragma once

#include "formats/NetPacket.h"

#include <cstdint>
#include <map>
#include <optional>

// The value a reply to `retcommand` with `result` leaves in the reply slot, or nothing when such a
// reply does not touch the slot: the result for most commands, 1 for 119 and 122.
std::optional<int> ReplySlotValue(DWORD retcommand, DWORD result);

class CReplyBook {
public:
    // A reply to `command` with this slot value arrived.
    void Record(DWORD command, int value);
    // Counts the replies to `command` that could end a wait (value not 0).
    std::uint64_t Endings(DWORD command) const;
    // Counts every reply to `command`, those of value 0 too: the recorder answers in order, so the nth
    // reply answers the nth request.
    std::uint64_t Count(DWORD command) const;
    // The value of the last reply to `command` (0 before any).
    int Value(DWORD command) const;
    void Clear() { entries_.clear(); }

private:
    struct Entry {
        std::uint64_t endings = 0;
        std::uint64_t count = 0;
        int value = 0;
    };
    std::map<DWORD, Entry> entries_;
};
