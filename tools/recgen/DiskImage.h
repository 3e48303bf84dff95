// A recorder's hard disk as an image file: a partition table with the database volume "infofiles" and
// the recordings volume "avfiles", both EXT2, made by mke2fs from a store's folders. Attach each
// partition with a loop device at its offset to play the image as an attached recorder disk.
#pragma once

#include <cstdint>
#include <string>

namespace recgen {

struct DiskPartition {
    std::uint64_t offset = 0; // bytes from the image's start
    std::uint64_t size = 0;   // bytes
};

struct DiskImageLayout {
    DiskPartition database;   // partition 1, "infofiles"
    DiskPartition recordings; // partition 2, "avfiles"
};

// Writes `image` from `storeFolder`/infofiles and `storeFolder`/avfiles (as GenerateStore writes them).
// Throws EInOutError when mke2fs is missing or fails.
DiskImageLayout WriteRecorderDiskImage(const std::string& storeFolder, const std::string& image);

} // namespace recgen
