// A minimal PNG writer (8-bit RGB, stored deflate blocks) for preview sheets.
#pragma once

#include "platform/vcl/Graphics.h"

#include <string>

// Raises ESkinError when the file cannot be written.
void SaveBitmapAsPng(const TBitmap& bitmap, const std::string& fileName);
