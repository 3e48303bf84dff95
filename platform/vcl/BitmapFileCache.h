// Platform-internal: the pixels of bitmap files already decoded, found again by the file's bytes, so
// that a skin shown by many controls is decoded once.
#pragma once

#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImageData.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vcl_internal {

struct TDecodedBitmap {
    std::shared_ptr<const TImageData> Pixels; // never written: holders copy before a write
    TPixelFormat Format = pf24bit;            // as the file was stored
    std::vector<std::uint32_t> Palette;
};

// nullopt for bytes not decoded before (or whose pixels were let go since).
std::optional<TDecodedBitmap> FindDecodedBitmap(const std::uint8_t* bytes, std::size_t size);
void KeepDecodedBitmap(const std::uint8_t* bytes, std::size_t size, const TDecodedBitmap& bitmap);

} // namespace vcl_internal
