// Read-only access to the pages of an SQLite 2.8 database file: page 1, the B-trees of the tables and
// their overflow chains. Every number taken from the file is checked before it is used; any violation
// throws ESqlite2Error with ErrCorrupt (or ErrNotADb for a file that is not a database at all).
#pragma once

#include "sqlite2/Sqlite2Error.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace sqlite2 {

inline constexpr std::size_t kPageSize = 1024;
inline constexpr std::uint32_t kMasterRoot = 2;
// Largest file the reader loads; far above any recorder database.
inline constexpr std::uint64_t kMaxFileSize = 1ull << 30;

enum class FileByteOrder { Little, Big };

class Sqlite2File {
public:
    // Reads the whole file once. A missing or unreadable file: ErrCantOpen. A rollback journal beside it
    // (the path plus "-journal") means a writer stopped inside a transaction: the journal is played back
    // in memory, so the database reads as it was before that transaction. Neither file is written.
    static Sqlite2File Load(const std::string& path);
    // The database from its file's bytes and, when it has one, its journal's bytes.
    static Sqlite2File FromImage(std::string image, std::string_view journal = {});

    std::uint32_t PageCount() const { return pageCount_; }
    FileByteOrder Order() const { return order_; }
    // False for a file of fewer than two pages: a database in which nothing was ever created.
    bool HasMaster() const { return pageCount_ >= kMasterRoot; }

    // Walks the table B-tree rooted at `root` in rowid order and hands every entry's rowid and record
    // bytes (valid only during the call) to `row`. Returning false from `row` stops the walk.
    using RowFn = std::function<bool(std::int32_t rowid, std::string_view record)>;
    void WalkTable(std::uint32_t root, const RowFn& row) const;

private:
    Sqlite2File(std::string image, std::string_view journal);
    void PlayBack(std::string_view journal);
    std::uint32_t U32(std::uint32_t page, std::size_t offset) const;
    std::uint16_t U16(std::uint32_t page, std::size_t offset) const;
    const unsigned char* Page(std::uint32_t page) const;

    std::string image_; // the file's whole pages, 1 to imagePages_
    std::uint32_t imagePages_ = 0;
    std::uint32_t pageCount_ = 0; // at least imagePages_ after a rollback to a larger database
    // Pages a rollback gave back beyond the file's end; the others there read as zeros.
    std::map<std::uint32_t, std::string> pastEnd_;
    FileByteOrder order_ = FileByteOrder::Little;

    friend class TreeWalker;
};

[[noreturn]] void ThrowCorrupt(const std::string& detail);

} // namespace sqlite2
