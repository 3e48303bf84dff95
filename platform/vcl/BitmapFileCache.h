// Platform-internal: the pixels of BMP files already decoded, so that a skin shown by many controls is
// read and decoded once. An entry is found again only while the file keeps its size, time and inode.
#pragma once

#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImageData.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vcl_internal {

struct TDecodedBitmap {
    std::shared_ptr<const TImageData> Pixels; // never written: holders copy before a write
    TPixelFormat Format = pf24bit;            // as the file was stored
    std::vector<std::uint32_t> Palette;
};

struct TFileStamp {
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ModifiedNs = 0;
    bool operator==(const TFileStamp&) const = default;
};

// nullopt for a name that is not a regular file one can look at.
std::optional<TFileStamp> StampOfFile(const std::string& fileName);
// nullopt when the file is unknown or was decoded with another stamp.
std::optional<TDecodedBitmap> FindDecodedBitmap(const std::string& fileName, const TFileStamp& stamp);
// `stamp` is the one taken before the file was read.
void KeepDecodedBitmap(const std::string& fileName, const TFileStamp& stamp, const TDecodedBitmap& bitmap);

} // namespace vcl_internal
