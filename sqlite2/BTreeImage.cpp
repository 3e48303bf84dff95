#include "sqlite2/BTreeImage.h"

#include "sqlite2/Sqlite2File.h"

#include <cstring>

namespace sqlite2 {

namespace {

constexpr std::size_t kUsable = kPageSize - 8;
constexpr std::size_t kMaxLocal = 236;
constexpr std::size_t kOverflowData = kPageSize - 4;
constexpr char kMagicText[] = "** This file contains an SQLite 2.1 database **";

} // namespace

BTreeImage::BTreeImage(bool bigEndian) : big_(bigEndian), image_(kPageSize, '\0') {}

unsigned char* BTreeImage::PageData(std::uint32_t page) {
    return reinterpret_cast<unsigned char*>(image_.data()) + std::size_t(page - 1) * kPageSize;
}

std::uint32_t BTreeImage::AllocatePage() {
    ++pages_;
    image_.resize(std::size_t(pages_) * kPageSize, '\0');
    return pages_;
}

void BTreeImage::Put16(std::uint32_t page, std::size_t offset, std::uint32_t v) {
    unsigned char* p = PageData(page) + offset;
    if (big_) {
        p[0] = static_cast<unsigned char>(v >> 8);
        p[1] = static_cast<unsigned char>(v);
    } else {
        p[0] = static_cast<unsigned char>(v);
        p[1] = static_cast<unsigned char>(v >> 8);
    }
}

void BTreeImage::Put32(std::uint32_t page, std::size_t offset, std::uint32_t v) {
    unsigned char* p = PageData(page) + offset;
    for (int i = 0; i < 4; ++i) {
        const int shift = big_ ? 24 - 8 * i : 8 * i;
        p[i] = static_cast<unsigned char>(v >> shift);
    }
}

std::size_t BTreeImage::CellSize(std::size_t entry) const {
    const std::size_t payload = payloads_[entry].size();
    return payload > kMaxLocal ? 12 + kMaxLocal + 4 : 12 + (payload + 3) / 4 * 4;
}

void BTreeImage::WritePage(std::uint32_t page, const std::vector<Cell>& cells, std::uint32_t rightChild) {
    Put32(page, 0, rightChild);
    std::size_t offset = 8;
    Put16(page, 4, cells.empty() ? 0 : 8);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string& payload = payloads_[cells[i].entry];
        const std::size_t size = CellSize(cells[i].entry);
        const std::size_t keySize = 4;
        const std::size_t dataSize = payload.size() - keySize;
        Put32(page, offset, cells[i].leftChild);
        Put16(page, offset + 4, keySize & 0xFFFF);
        Put16(page, offset + 6, i + 1 < cells.size() ? offset + size : 0);
        PageData(page)[offset + 8] = static_cast<unsigned char>(keySize >> 16);
        PageData(page)[offset + 9] = static_cast<unsigned char>(dataSize >> 16);
        Put16(page, offset + 10, dataSize & 0xFFFF);
        const std::size_t local = payload.size() > kMaxLocal ? kMaxLocal : payload.size();
        std::memcpy(PageData(page) + offset + 12, payload.data(), local);
        if (payload.size() > kMaxLocal) {
            // The rest of the payload goes to a chain of overflow pages.
            std::uint32_t previous = 0;
            for (std::size_t done = kMaxLocal; done < payload.size(); done += kOverflowData) {
                const std::uint32_t overflow = AllocatePage();
                if (previous == 0)
                    Put32(page, offset + 12 + kMaxLocal, overflow);
                else
                    Put32(previous, 0, overflow);
                const std::size_t take = std::min(kOverflowData, payload.size() - done);
                std::memcpy(PageData(overflow) + 4, payload.data() + done, take);
                previous = overflow;
            }
        }
        offset += size;
    }
    // All remaining space is one free block.
    if (offset < kPageSize) {
        Put16(page, 6, offset);
        Put16(page, offset, kPageSize - offset);
        Put16(page, offset + 2, 0);
    } else {
        Put16(page, 6, 0);
    }
}

std::uint32_t BTreeImage::WriteLevelPage(std::uint32_t fixedPage, const std::vector<Cell>& cells,
                                         std::uint32_t right) {
    const std::uint32_t page = fixedPage ? fixedPage : AllocatePage();
    WritePage(page, cells, right);
    return page;
}

void BTreeImage::WriteTable(std::uint32_t root, const std::vector<Entry>& entries) {
    payloads_.clear();
    payloads_.reserve(entries.size());
    for (const Entry& e : entries) {
        const std::uint32_t key = static_cast<std::uint32_t>(e.rowid) ^ 0x80000000u;
        std::string payload(4, '\0');
        for (int i = 0; i < 4; ++i)
            payload[i] = static_cast<char>(key >> (24 - 8 * i));
        payload += *e.record;
        payloads_.push_back(std::move(payload));
    }
    // One level at a time: children (page numbers, one more than entries except on the leaf level) and
    // the entries between them.
    std::vector<std::uint32_t> children;
    std::vector<std::size_t> level(entries.size());
    for (std::size_t i = 0; i < level.size(); ++i)
        level[i] = i;
    bool leaves = true;
    for (;;) {
        std::size_t total = 0;
        for (std::size_t e : level)
            total += CellSize(e);
        if (total <= kUsable) {
            std::vector<Cell> cells;
            for (std::size_t i = 0; i < level.size(); ++i)
                cells.push_back({leaves ? 0 : children[i], level[i]});
            WriteLevelPage(root, cells, leaves ? 0 : children.back());
            return;
        }
        std::vector<std::uint32_t> upChildren;
        std::vector<std::size_t> upEntries;
        std::size_t i = 0;
        const std::size_t n = level.size();
        while (true) {
            // A page takes entries [start, i); on an interior level child i sits right of the last one.
            const std::size_t start = i;
            std::size_t used = 0;
            while (i < n && used + CellSize(level[i]) <= kUsable)
                used += CellSize(level[i++]);
            if (i < n && i == n - 1) --i; // the entry moving up must leave one for the last page
            std::vector<Cell> cells;
            for (std::size_t k = start; k < i; ++k)
                cells.push_back({leaves ? 0 : children[k], level[k]});
            const std::uint32_t right = leaves ? 0 : children[i];
            upChildren.push_back(WriteLevelPage(0, cells, right));
            if (i >= n) break;
            upEntries.push_back(level[i++]);
        }
        children = std::move(upChildren);
        level = std::move(upEntries);
        leaves = false;
    }
}

std::string BTreeImage::Finish(std::uint32_t schemaCookie) {
    std::memcpy(PageData(1), kMagicText, sizeof kMagicText);
    Put32(1, 48, 0xDAE37528u);
    Put32(1, 52, 0);
    Put32(1, 56, 0);
    Put32(1, 60, schemaCookie);
    Put32(1, 64, 4);
    return image_;
}

} // namespace sqlite2
