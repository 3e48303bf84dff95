#include "sqlite2/RollbackJournal.h"

#include <algorithm>
#include <cstring>

namespace sqlite2 {

namespace {

// Formats 3, 2 and 1 end their magic with D6, D5 and D4.
constexpr unsigned char kMagic[7] = {0xD9, 0xD5, 0x05, 0xF9, 0x20, 0xA1, 0x63};
constexpr std::size_t kShortestHeader = 12;
constexpr std::uint32_t kNotSynced = 0xFFFFFFFFu;

std::uint32_t Read32(const char* p, FileByteOrder order) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    if (order == FileByteOrder::Big)
        return std::uint32_t(b[0]) << 24 | std::uint32_t(b[1]) << 16 | std::uint32_t(b[2]) << 8 | b[3];
    return std::uint32_t(b[3]) << 24 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[1]) << 8 | b[0];
}

} // namespace

JournalRollback ReadJournal(std::string_view journal, FileByteOrder dbOrder) {
    JournalRollback rollback;
    // Cut inside its header: the transaction had not yet changed the database.
    if (journal.size() < kShortestHeader) return rollback;
    const int last = static_cast<unsigned char>(journal[7]);
    const int format = std::memcmp(journal.data(), kMagic, sizeof kMagic) == 0 ? last - 0xD3 : 0;
    if (format < 1 || format > 3) ThrowCorrupt("rollback journal of an unknown format");
    const FileByteOrder order = format == 1 ? dbOrder : FileByteOrder::Big;
    const std::size_t header = format == 3 ? 20 : 12;
    const std::size_t recordSize = kPageSize + (format == 3 ? 8 : 4);
    if (journal.size() < header) return rollback;

    std::uint64_t records = (journal.size() - header) / recordSize; // whole records in the file
    std::uint32_t seed = 0;
    if (format == 3) {
        const std::uint32_t synced = Read32(journal.data() + 8, order);
        if (synced != kNotSynced) records = std::min<std::uint64_t>(records, synced);
        seed = Read32(journal.data() + 12, order);
    }
    rollback.hot = true;
    rollback.pageCount = Read32(journal.data() + header - 4, order);
    if (rollback.pageCount > kMaxFileSize / kPageSize)
        ThrowCorrupt("rollback journal names a database of " + std::to_string(rollback.pageCount) + " pages");
    for (std::uint64_t i = 0; i < records; ++i) {
        const char* record = journal.data() + header + i * recordSize;
        const std::uint32_t page = Read32(record, order);
        if (page == 0) break;
        // A record torn by the power failure: its checksum does not match.
        if (format == 3 && Read32(record + 4 + kPageSize, order) != seed + page) break;
        if (page > rollback.pageCount) continue;
        rollback.pages.push_back({page, std::string_view(record + 4, kPageSize)});
    }
    return rollback;
}

} // namespace sqlite2
