// Builds the pages of a SQLite 2 file: page 1, and B-trees filled bottom-up with their entries on every
// level, as SQLite 2 itself lays trees out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sqlite2 {

class BTreeImage {
public:
    explicit BTreeImage(bool bigEndian);

    // A fresh page number (pages are numbered from 2; page 1 is the header).
    std::uint32_t AllocatePage();
    // Writes a table B-tree whose root is the already allocated `root`. Entries: (rowid, record), in
    // ascending rowid order.
    struct Entry {
        std::int32_t rowid;
        const std::string* record;
    };
    void WriteTable(std::uint32_t root, const std::vector<Entry>& entries);
    // Page 1 and the finished file.
    std::string Finish(std::uint32_t schemaCookie);

private:
    struct Cell {
        std::uint32_t leftChild;
        std::size_t entry;
    };
    std::size_t CellSize(std::size_t entry) const;
    void WritePage(std::uint32_t page, const std::vector<Cell>& cells, std::uint32_t rightChild);
    std::uint32_t WriteLevelPage(std::uint32_t fixedPage, const std::vector<Cell>& cells,
                                 std::uint32_t right);
    void Put16(std::uint32_t page, std::size_t offset, std::uint32_t v);
    void Put32(std::uint32_t page, std::size_t offset, std::uint32_t v);
    unsigned char* PageData(std::uint32_t page);

    bool big_;
    std::string image_;
    std::uint32_t pages_ = 1;
    const std::vector<Entry>* entries_ = nullptr;
    std::vector<std::string> payloads_;
};

} // namespace sqlite2
