// A minimal PNG writer (8-bit RGB or RGBA, stored deflate blocks) for preview sheets and icons.
#pragma once

#include "platform/vcl/Graphics.h"

#include <cstdint>
#include <string>

// Raises ESkinError when the file cannot be written.
void SaveBitmapAsPng(const TBitmap& bitmap, const std::string& fileName);
// Pixels row by row as $AARRGGBB; alpha false leaves the alpha out.
void SavePixelsAsPng(int width, int height, const std::uint32_t* argb, bool alpha,
                     const std::string& fileName);
