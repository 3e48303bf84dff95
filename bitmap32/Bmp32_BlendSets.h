// Internal to the blending unit: helpers shared by the plain, packed and vector routine sets.
#pragma once

#include "bitmap32/Bmp32_Blend.h"

namespace Bmp32_Blend {

// Applies Op(a, b) to each of the four channels of C1 and C2; Op answers 0..255.
template <class Op>
inline TColor32 PerChannel(TColor32 C1, TColor32 C2, Op op) {
    TColor32 result = 0;
    for (int shift = 0; shift < 32; shift += 8)
        result |= (op((C1 >> shift) & 0xFFu, (C2 >> shift) & 0xFFu) & 0xFFu) << shift;
    return result;
}

// P(x, y, w) = (x*w + y*(256 - w) + 128) >> 8 on all four channels, two per 32-bit word. Every lane
// stays below 65536, so this is exact; w is 0..256.
inline TColor32 PackedLerp(TColor32 X, TColor32 Y, TColor32 W) {
    const TColor32 iw = 256 - W;
    TColor32 rb = (X & 0x00FF00FFu) * W + (Y & 0x00FF00FFu) * iw + 0x00800080u;
    TColor32 ag = ((X >> 8) & 0x00FF00FFu) * W + ((Y >> 8) & 0x00FF00FFu) * iw + 0x00800080u;
    return ((rb >> 8) & 0x00FF00FFu) | (ag & 0xFF00FF00u);
}

// Weights of the packed set come from a 256-entry table: larger values are taken as 255.
inline TColor32 PackedWeight(TColor32 W) {
    return W > 255 ? 255 : W;
}

TColor32 ColorAdd_Common(TColor32 C1, TColor32 C2);
TColor32 ColorSub_Common(TColor32 C1, TColor32 C2);
TColor32 ColorMax_Common(TColor32 C1, TColor32 C2);
TColor32 ColorMin_Common(TColor32 C1, TColor32 C2);
TColor32 ColorDifference_Common(TColor32 C1, TColor32 C2);
TColor32 ColorDiv_Common(TColor32 C1, TColor32 C2);
TColor32 ColorModulate_Common(TColor32 C1, TColor32 C2);

TColor32 CombineReg_Plain(TColor32 X, TColor32 Y, TColor32 W);
void CombineMem_Plain(TColor32 X, TColor32& Y, TColor32 W);
void CombineLine_Plain(const TColor32* Src, TColor32* Dst, int Count, TColor32 W);
TColor32 BlendReg_Plain(TColor32 F, TColor32 B);
void BlendMem_Plain(TColor32 F, TColor32& B);
void BlendLine_Plain(const TColor32* Src, TColor32* Dst, int Count);
TColor32 BlendRegEx_Plain(TColor32 F, TColor32 B, TColor32 M);
void BlendMemEx_Plain(TColor32 F, TColor32& B, TColor32 M);
void BlendLineEx_Plain(const TColor32* Src, TColor32* Dst, int Count, TColor32 M);
TColor32 ColorExclusion_Plain(TColor32 C1, TColor32 C2);
TColor32 ColorAverage_Plain(TColor32 C1, TColor32 C2);
TColor32 ColorScale_Plain(TColor32 C, TColor32 W);

void MergeLine_Common(const TColor32* Src, TColor32* Dst, int Count);
void MergeLineEx_Common(const TColor32* Src, TColor32* Dst, int Count, TColor32 M);

// The scalar packed line routines, used for the tails of the vector ones.
void BlendLine_Packed(const TColor32* Src, TColor32* Dst, int Count);
void BlendLineEx_Packed(const TColor32* Src, TColor32* Dst, int Count, TColor32 M);
void CombineLine_Packed(const TColor32* Src, TColor32* Dst, int Count, TColor32 W);

} // namespace Bmp32_Blend
