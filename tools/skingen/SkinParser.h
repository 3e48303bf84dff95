// Reading skin descriptions. Errors raise ESkinError with "file:line: what".
#pragma once

#include "tools/skingen/SkinModel.h"

#include <string>
#include <string_view>
#include <vector>

// The bitmaps of one description text; fileName is used in messages.
std::vector<SkinBitmap> ParseSkinText(std::string_view text, const std::string& fileName);
// Reads and parses a file; a missing or unreadable file raises ESkinError too.
std::vector<SkinBitmap> ParseSkinFile(const std::string& fileName);
// Refuses a name given twice (across files), naming both places.
void CheckUniqueNames(const std::vector<SkinBitmap>& bitmaps);
