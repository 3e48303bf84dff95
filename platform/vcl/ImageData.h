// Platform-internal: the pixels of a bitmap, icon or JPEG image. Shared between graphics that hold the
// same picture (a skin file's decoded pixels, copies made by Assign); only a TBitmap writes pixels, and
// only pixels nobody else holds (TBitmap::Unshare copies them first). Controls read them while they
// paint and keep none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vcl_internal {

struct TImageData {
    int Width = 0;
    int Height = 0;
    std::unique_ptr<std::uint32_t[]> Pixels; // Width * Height, $AARRGGBB, top row first

    std::uint32_t* Row(int y) { return Pixels.get() + static_cast<std::size_t>(y) * Width; }
    const std::uint32_t* Row(int y) const { return Pixels.get() + static_cast<std::size_t>(y) * Width; }
    std::size_t Count() const { return static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height); }

    // Raises EOutOfResources for a size beyond the bitmap limits or when memory runs out. `zero`
    // clears the pixels; otherwise they are left for the caller to fill.
    static std::shared_ptr<TImageData> Create(int width, int height, bool zero);
    std::shared_ptr<TImageData> Copy() const;
};

} // namespace vcl_internal
