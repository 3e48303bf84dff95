#include "sqlite2/Sqlite2File.h"

#include "sqlite2/RollbackJournal.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <vector>

namespace sqlite2 {

namespace {

constexpr char kMagicText[] = "** This file contains an SQLite 2.1 database **";
constexpr std::uint32_t kMagic = 0xDAE37528u;
constexpr std::size_t kUsable = kPageSize - 8; // bytes after the page header
constexpr std::size_t kMaxLocal = 236;         // payload bytes kept on the B-tree page
constexpr std::size_t kOverflowData = kPageSize - 4;
constexpr int kMaxDepth = 40;
constexpr int kMaxCells = 63;

std::uint32_t ReadU32(const unsigned char* p, FileByteOrder order) {
    if (order == FileByteOrder::Little)
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
               std::uint32_t(p[3]) << 24;
    return std::uint32_t(p[3]) | std::uint32_t(p[2]) << 8 | std::uint32_t(p[1]) << 16 |
           std::uint32_t(p[0]) << 24;
}

std::uint16_t ReadU16(const unsigned char* p, FileByteOrder order) {
    if (order == FileByteOrder::Little) return std::uint16_t(p[0] | p[1] << 8);
    return std::uint16_t(p[1] | p[0] << 8);
}

std::string PageText(std::uint32_t page) {
    return "page " + std::to_string(page) + ": ";
}

// Reads a whole file; false when there is none. Anything else that keeps it from being read throws.
bool ReadWholeFile(const std::string& path, const char* what, std::string& out) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) return false;
    if (!S_ISREG(st.st_mode))
        throw ESqlite2Error(ErrCantOpen, std::string("unable to open ") + what + ": " + path);
    if (static_cast<std::uint64_t>(st.st_size) > kMaxFileSize)
        throw ESqlite2Error(ErrNoMem, std::string(what) + " too large: " + path);
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ESqlite2Error(ErrCantOpen, std::string("unable to open ") + what + ": " + path);
    out.resize(static_cast<std::size_t>(st.st_size));
    in.read(out.data(), static_cast<std::streamsize>(out.size()));
    // The file may have changed size since stat; take what was read.
    out.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) throw ESqlite2Error(ErrCantOpen, std::string("unable to read ") + what + ": " + path);
    return true;
}

const unsigned char kZeroPage[kPageSize] = {};

} // namespace

void ThrowCorrupt(const std::string& detail) {
    throw ESqlite2Error(ErrCorrupt, "database disk image is malformed (" + detail + ")");
}

Sqlite2File Sqlite2File::Load(const std::string& path) {
    std::string image, journal;
    if (!ReadWholeFile(path, "database file", image))
        throw ESqlite2Error(ErrCantOpen, "unable to open database file: " + path);
    ReadWholeFile(path + "-journal", "rollback journal", journal);
    return Sqlite2File(std::move(image), journal);
}

Sqlite2File Sqlite2File::FromImage(std::string image, std::string_view journal) {
    if (image.size() > kMaxFileSize) throw ESqlite2Error(ErrNoMem, "database image too large");
    return Sqlite2File(std::move(image), journal);
}

Sqlite2File::Sqlite2File(std::string image, std::string_view journal) : image_(std::move(image)) {
    imagePages_ = static_cast<std::uint32_t>(image_.size() / kPageSize);
    pageCount_ = imagePages_;
    if (!journal.empty()) PlayBack(journal);
    if (pageCount_ == 0) {
        if (!image_.empty()) throw ESqlite2Error(ErrNotADb, "file is encrypted or is not a database");
        return; // a valid, empty database
    }
    const unsigned char* p = Page(1);
    if (std::memcmp(p, kMagicText, sizeof kMagicText) != 0)
        throw ESqlite2Error(ErrNotADb, "file is encrypted or is not a database");
    if (ReadU32(p + 48, FileByteOrder::Little) == kMagic)
        order_ = FileByteOrder::Little;
    else if (ReadU32(p + 48, FileByteOrder::Big) == kMagic)
        order_ = FileByteOrder::Big;
    else
        throw ESqlite2Error(ErrNotADb, "file is encrypted or is not a database");
    const std::uint32_t format = ReadU32(p + 64, order_);
    if (format != 4 && format != 0)
        throw ESqlite2Error(ErrFormat, "unsupported file format " + std::to_string(format));
}

void Sqlite2File::PlayBack(std::string_view journal) {
    // The journal's oldest format writes its integers in the order of the machine that made the database.
    const auto* header = reinterpret_cast<const unsigned char*>(image_.data());
    const FileByteOrder order = image_.size() >= 52 && ReadU32(header + 48, FileByteOrder::Big) == kMagic
                                    ? FileByteOrder::Big
                                    : FileByteOrder::Little;
    const JournalRollback rollback = ReadJournal(journal, order);
    if (!rollback.hot) return;
    // Pages past the old size were added by the transaction; pages the file lacks read as zeros.
    pageCount_ = rollback.pageCount;
    imagePages_ = std::min(imagePages_, pageCount_);
    image_.resize(std::size_t(imagePages_) * kPageSize);
    for (const JournalPage& p : rollback.pages) {
        if (p.page <= imagePages_)
            std::memcpy(image_.data() + std::size_t(p.page - 1) * kPageSize, p.bytes.data(), kPageSize);
        else
            pastEnd_[p.page].assign(p.bytes);
    }
}

const unsigned char* Sqlite2File::Page(std::uint32_t page) const {
    if (page <= imagePages_)
        return reinterpret_cast<const unsigned char*>(image_.data()) + std::size_t(page - 1) * kPageSize;
    const auto it = pastEnd_.find(page);
    return it == pastEnd_.end() ? kZeroPage : reinterpret_cast<const unsigned char*>(it->second.data());
}

std::uint32_t Sqlite2File::U32(std::uint32_t page, std::size_t offset) const {
    return ReadU32(Page(page) + offset, order_);
}

std::uint16_t Sqlite2File::U16(std::uint32_t page, std::size_t offset) const {
    return ReadU16(Page(page) + offset, order_);
}

// One walk of one table tree. Pages of the tree and of its overflow chains are each visited once.
class TreeWalker {
public:
    TreeWalker(const Sqlite2File& file, const Sqlite2File::RowFn& row)
        : file_(file), row_(row), visited_(file.pageCount_ + 1, false) {}

    // Returns false when the row function asked to stop.
    bool Visit(std::uint32_t page, int depth, bool isRoot) {
        CheckPageNumber(page, "child");
        if (depth > kMaxDepth) ThrowCorrupt(PageText(page) + "tree deeper than " + std::to_string(kMaxDepth));
        Claim(page);
        const std::uint32_t right = file_.U32(page, 0);
        const std::uint16_t firstCell = file_.U16(page, 4);
        const std::uint16_t firstFree = file_.U16(page, 6);
        if (right == 0 && firstCell == 0 && firstFree == 0) {
            if (!isRoot) ThrowCorrupt(PageText(page) + "child page without cells");
            return true; // never-initialised root: an empty tree
        }

        struct Cell {
            std::uint16_t offset;
            std::uint32_t left;
        };
        Cell cells[kMaxCells];
        std::size_t cellCount = 0;
        std::uint32_t used[kPageSize / 4 / 32] = {};
        std::size_t cellBytes = 0;
        for (std::uint32_t off = firstCell; off != 0; off = file_.U16(page, off + 6)) {
            if (cellCount >= kMaxCells) ThrowCorrupt(PageText(page) + "too many cells");
            if (off % 4 != 0 || off < 8 || off > kPageSize - 16)
                ThrowCorrupt(PageText(page) + "bad cell offset");
            const std::size_t size = CellSize(page, off);
            if (off + size > kPageSize) ThrowCorrupt(PageText(page) + "cell crosses the page end");
            Mark(used, off, size, page);
            cellBytes += size;
            cells[cellCount++] = {static_cast<std::uint16_t>(off), file_.U32(page, off)};
        }
        if (cellCount == 0 && !isRoot) ThrowCorrupt(PageText(page) + "child page without cells");
        const std::size_t freeBytes = FreeBlocks(page, firstFree, used);
        if (cellBytes + freeBytes != kUsable)
            ThrowCorrupt(PageText(page) + "cells and free space do not fill the page");
        const bool interior = right != 0;
        for (std::size_t i = 0; i < cellCount; ++i)
            if ((cells[i].left != 0) != interior)
                ThrowCorrupt(PageText(page) + "mixed leaf and interior cells");

        for (std::size_t i = 0; i < cellCount; ++i) {
            const Cell& c = cells[i];
            if (c.left != 0 && !Visit(c.left, depth + 1, false)) return false;
            if (!Deliver(page, c.offset)) return false;
        }
        if (interior) return Visit(right, depth + 1, false);
        return true;
    }

private:
    void CheckPageNumber(std::uint32_t page, const char* what) const {
        if (page < 2 || page > file_.pageCount_)
            ThrowCorrupt(std::string(what) + " page number " + std::to_string(page) + " outside the file");
    }

    void Claim(std::uint32_t page) {
        if (visited_[page]) ThrowCorrupt(PageText(page) + "reached twice");
        visited_[page] = true;
    }

    std::size_t PayloadSize(std::uint32_t page, std::size_t off, std::size_t* keySize) const {
        const unsigned char* p = file_.Page(page) + off;
        *keySize = file_.U16(page, off + 4) + (std::size_t(p[8]) << 16);
        const std::size_t dataSize = file_.U16(page, off + 10) + (std::size_t(p[9]) << 16);
        return *keySize + dataSize;
    }

    std::size_t CellSize(std::uint32_t page, std::size_t off) const {
        std::size_t key = 0;
        const std::size_t payload = PayloadSize(page, off, &key);
        if (payload > kMaxLocal) return 12 + kMaxLocal + 4;
        return 12 + (payload + 3) / 4 * 4;
    }

    static void Mark(std::uint32_t* used, std::size_t off, std::size_t size, std::uint32_t page) {
        for (std::size_t unit = off / 4; unit < (off + size) / 4; ++unit) {
            std::uint32_t& word = used[unit / 32];
            const std::uint32_t bit = 1u << (unit % 32);
            if (word & bit) ThrowCorrupt(PageText(page) + "cells or free blocks overlap");
            word |= bit;
        }
    }

    std::size_t FreeBlocks(std::uint32_t page, std::uint32_t off, std::uint32_t* used) const {
        std::size_t total = 0;
        std::uint32_t previous = 0;
        while (off != 0) {
            if (off % 4 != 0 || off < 8 || off > kPageSize - 4 || off <= previous)
                ThrowCorrupt(PageText(page) + "bad free block offset");
            const std::size_t size = file_.U16(page, off);
            if (size < 4 || size % 4 != 0 || off + size > kPageSize)
                ThrowCorrupt(PageText(page) + "bad free block size");
            Mark(used, off, size, page);
            total += size;
            previous = off;
            off = file_.U16(page, off + 2);
        }
        return total;
    }

    bool Deliver(std::uint32_t page, std::size_t off) {
        std::size_t keySize = 0;
        const std::size_t payload = PayloadSize(page, off, &keySize);
        if (keySize != 4) ThrowCorrupt(PageText(page) + "table key of " + std::to_string(keySize) + " bytes");
        const unsigned char* cell = file_.Page(page) + off;
        const std::uint32_t raw = std::uint32_t(cell[12]) << 24 | std::uint32_t(cell[13]) << 16 |
                                  std::uint32_t(cell[14]) << 8 | std::uint32_t(cell[15]);
        const auto rowid = static_cast<std::int32_t>(raw ^ 0x80000000u);
        if (haveRowid_ && rowid <= lastRowid_) ThrowCorrupt(PageText(page) + "rowids out of order");
        haveRowid_ = true;
        lastRowid_ = rowid;

        const char* start = reinterpret_cast<const char*>(cell + 12);
        if (payload <= kMaxLocal) return row_(rowid, std::string_view(start + 4, payload - 4));

        // A long payload continues in its overflow chain; the chain must be exactly as long as needed.
        const std::size_t pages = (payload - kMaxLocal + kOverflowData - 1) / kOverflowData;
        if (pages > file_.pageCount_) ThrowCorrupt(PageText(page) + "payload larger than the file");
        scratch_.assign(start, kMaxLocal);
        std::uint32_t next = file_.U32(page, off + 12 + kMaxLocal);
        for (std::size_t i = 0; i < pages; ++i) {
            CheckPageNumber(next, "overflow");
            Claim(next);
            const std::size_t take = std::min(kOverflowData, payload - scratch_.size());
            scratch_.append(reinterpret_cast<const char*>(file_.Page(next) + 4), take);
            next = file_.U32(next, 0);
        }
        if (next != 0) ThrowCorrupt(PageText(page) + "overflow chain longer than its payload");
        return row_(rowid, std::string_view(scratch_).substr(4));
    }

    const Sqlite2File& file_;
    const Sqlite2File::RowFn& row_;
    std::vector<bool> visited_;
    std::string scratch_;
    bool haveRowid_ = false;
    std::int32_t lastRowid_ = 0;
};

void Sqlite2File::WalkTable(std::uint32_t root, const RowFn& row) const {
    TreeWalker walker(*this, row);
    walker.Visit(root, 0, true);
}

} // namespace sqlite2
