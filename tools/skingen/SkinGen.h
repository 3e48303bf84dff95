// The whole run: read every description, check the names, write one BMP file per bitmap.
#pragma once

#include <string>
#include <vector>

// Returns the number of bitmaps written. Nothing is written when any description is wrong.
int GenerateSkins(const std::vector<std::string>& descriptions, const std::string& outDir);
// Reads every description and writes a preview sheet of all bitmaps (PNG).
void PreviewSkins(const std::vector<std::string>& descriptions, const std::string& pngFile);
void TouchStamp(const std::string& file, int count);
