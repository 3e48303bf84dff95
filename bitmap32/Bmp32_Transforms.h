// Transformation settings shared with the stretch routines.
#pragma once

namespace Bmp32_Transforms {

// True: a stretch maps whole pixel extents (source column = Trunc(i * SrcW / DstW)); false: it maps the
// first and last pixel centres onto each other (Round(i * (SrcW - 1) / (DstW - 1))).
extern bool FullEdge;

} // namespace Bmp32_Transforms

using namespace Bmp32_Transforms;
