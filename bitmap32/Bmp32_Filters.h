// Whole-bitmap colour filters. Each takes the source's size into the destination, processes every
// pixel into the one at the same index and reports one change of the destination; Dst may be Src.
// A missing source raises "The source is nil", a missing destination "Destination is nil".
#pragma once

#include "bitmap32/Bmp32.h"

#include <cstdint>

namespace Bmp32_Filters {

using TLUT8 = std::uint8_t[256];

// Gray32(source alpha, 255).
void AlphaToGrayscale(TBitmap32* Dst, const TBitmap32* Src);
// The destination's own colour with the source pixel's intensity as alpha.
void IntensityToAlpha(TBitmap32* Dst, const TBitmap32* Src);
// Every bit, alpha too.
void Invert(TBitmap32* Dst, const TBitmap32* Src);
// Red, green and blue; alpha kept.
void InvertRGB(TBitmap32* Dst, const TBitmap32* Src);
void ColorToGrayscale(TBitmap32* Dst, const TBitmap32* Src, bool PreserveAlpha = false);
// Each of R, G and B through the table; alpha 255 unless kept.
void ApplyLUT(TBitmap32* Dst, const TBitmap32* Src, const TLUT8& LUT, bool PreserveAlpha = false);
// In place: pixels whose RGB equals TrColor's get alpha 0; no change is reported.
void CromaKey(TBitmap32* Bitmap, TColor32 TrColor);

} // namespace Bmp32_Filters

using namespace Bmp32_Filters;
