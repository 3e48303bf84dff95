// The reference side of the bitmap benchmarks that measure against pixman.
#pragma once

#include "bitmap32/Bmp32.h"

#include <pixman.h>

#include <cstdint>
#include <vector>

namespace bench32 {

// A pixman image over pixels we own.
struct PixmanImage {
    std::vector<TColor32> pixels;
    pixman_image_t* image = nullptr;
    PixmanImage(int w, int h) : pixels(static_cast<std::size_t>(w) * h) {
        image = pixman_image_create_bits(PIXMAN_a8r8g8b8, w, h, reinterpret_cast<uint32_t*>(pixels.data()),
                                         w * 4);
    }
    ~PixmanImage() { pixman_image_unref(image); }
    PixmanImage(const PixmanImage&) = delete;
    PixmanImage& operator=(const PixmanImage&) = delete;
};

} // namespace bench32
