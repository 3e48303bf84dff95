// A sheet of every bitmap with its name, to look at the skins without the client.
#pragma once

#include "tools/skingen/SkinModel.h"

#include <string>
#include <vector>

// Small bitmaps are shown twice as large. Writes a PNG file.
void WritePreviewSheet(const std::vector<SkinBitmap>& bitmaps, const std::string& pngFile);
