// Internal to the transfer routines.
#pragma once

#include "bitmap32/Bmp32.h"

namespace Bmp32_Resamplers {

// Raise EBitmapException for a nil destination or source.
void CheckBitmaps(TBitmap32* Dst, TBitmap32* Src);

// Copies the block of DstRect's size from (SrcX, SrcY) of Src into DstRect of Dst by CombineOp, row by
// row. Both rectangles lie inside their bitmaps. Overlapping blocks of one bitmap give the result a copy
// from a duplicate would.
void TransferRows(TBitmap32* Dst, const TRect& DstRect, TBitmap32* Src, int SrcX, int SrcY,
                  TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack);

} // namespace Bmp32_Resamplers
