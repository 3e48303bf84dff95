// Reading and writing bitmap files (the "BM" format) to and from 32-bit pixels, $AARRGGBB, top row
// first. Platform-internal: TBitmap uses it; it knows nothing of canvases or Qt.
#pragma once

#include "platform/vcl/ImageData.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vcl_internal {

// Largest picture a file may describe; anything bigger is refused before memory is reserved.
inline constexpr int MaxBitmapSide = 32768;
inline constexpr std::int64_t MaxBitmapPixels = std::int64_t(1) << 26;

struct TBmpImage {
    int Width = 0;
    int Height = 0;
    int BitCount = 0;                   // as stored in the file: 1, 4, 8, 16, 24 or 32
    std::shared_ptr<TImageData> Pixels; // top row first
    std::vector<std::uint32_t> Palette; // colour table of 1, 4 and 8-bit files, alpha 255
};

// Throws EInvalidGraphic for anything that is not a complete, supported bitmap file. Pixels of files
// without an alpha channel get alpha 255; 32-bit files keep their fourth byte.
TBmpImage DecodeBmp(const std::uint8_t* data, std::size_t size);
// The same checks, everything but the pixels (Pixels stays empty).
TBmpImage ReadBmpHeader(const std::uint8_t* data, std::size_t size);
// The pixels of a file ReadBmpHeader accepted. Runs on the decoding thread (BitmapFileCache.cpp) too,
// also while the program ends: it touches no toolkit and no static object.
std::shared_ptr<TImageData> DecodeBmpPixels(const std::uint8_t* data, std::size_t size);

// bitCount 8, 24 or 32. An 8-bit file uses `palette` (each pixel mapped to the nearest entry) or,
// when it is empty, a palette of the picture's own colours (up to 256, else a fixed 3-3-2 one).
std::string EncodeBmp(const std::uint32_t* pixels, int width, int height, int bitCount,
                      const std::vector<std::uint32_t>& palette);

// Nearest palette entry by squared RGB distance; exact matches are found first.
int NearestPaletteIndex(const std::vector<std::uint32_t>& palette, std::uint32_t colour);

} // namespace vcl_internal
