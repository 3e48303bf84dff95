// Drawing a described bitmap: every frame of the strip in its style and state, then its elements.
#pragma once

#include "tools/skingen/SkinModel.h"
#include "tools/skingen/SkinRaster.h"

#include "platform/vcl/Graphics.h"

// Sizes `out` to the whole strip and draws it.
void PaintSkin(const SkinBitmap& bitmap, TBitmap& out);

// One frame's face in the bitmap's style (frame coordinates 0..width, 0..height).
void PaintStyleFrame(SkinRaster& raster, const SkinBitmap& bitmap, int frame, unsigned state);
// The elements meant for this frame.
void PaintElements(SkinRaster& raster, const SkinBitmap& bitmap, int frame);
