// The packed routine set, one pixel at a time: P on all four channels. The vector line routines of
// Bmp32_BlendVector.cpp compute the same lane arithmetic several pixels at a time.
#include "bitmap32/Bmp32_BlendSets.h"

#include <algorithm>

namespace Bmp32_Blend {

namespace {

TColor32 CombineReg_Packed(TColor32 X, TColor32 Y, TColor32 W) {
    return PackedLerp(X, Y, PackedWeight(W));
}

void CombineMem_Packed(TColor32 X, TColor32& Y, TColor32 W) {
    W = PackedWeight(W);
    if (W == 0) return;
    Y = W == 255 ? X : PackedLerp(X, Y, W);
}

TColor32 BlendReg_Packed(TColor32 F, TColor32 B) {
    return PackedLerp(F, B, F >> 24);
}

void BlendMem_Packed(TColor32 F, TColor32& B) {
    const TColor32 fa = F >> 24;
    if (fa == 0) return;
    B = fa == 255 ? F : PackedLerp(F, B, fa);
}

TColor32 BlendRegEx_Packed(TColor32 F, TColor32 B, TColor32 M) {
    const TColor32 w = ((PackedWeight(M) + 1) * (F >> 24)) >> 8;
    return w == 0 ? B : PackedLerp(F, B, w);
}

void BlendMemEx_Packed(TColor32 F, TColor32& B, TColor32 M) {
    const TColor32 w = ((PackedWeight(M) + 1) * (F >> 24)) >> 8;
    if (w != 0) B = PackedLerp(F, B, w);
}

TColor32 ColorExclusion_Packed(TColor32 C1, TColor32 C2) {
    return PerChannel(C1, C2, [](TColor32 a, TColor32 b) {
        int v = static_cast<int>(a + b) - static_cast<int>((a * b) >> 7);
        return static_cast<TColor32>(std::clamp(v, 0, 255));
    });
}

TColor32 ColorAverage_Packed(TColor32 C1, TColor32 C2) {
    return PerChannel(C1, C2, [](TColor32 a, TColor32 b) { return (a + b + 1) >> 1; });
}

TColor32 ColorScale_Packed(TColor32 C, TColor32 W) {
    W = PackedWeight(W);
    return PerChannel(C, 0, [W](TColor32 c, TColor32) { return (c * W) >> 8; });
}

} // namespace

void CombineLine_Packed(const TColor32* Src, TColor32* Dst, int Count, TColor32 W) {
    W = PackedWeight(W);
    if (Count <= 0 || W == 0) return;
    if (W == 255) {
        MoveLongword(Src, Dst, Count);
        return;
    }
    for (int i = 0; i < Count; ++i)
        Dst[i] = PackedLerp(Src[i], Dst[i], W);
}

void BlendLine_Packed(const TColor32* Src, TColor32* Dst, int Count) {
    for (int i = 0; i < Count; ++i)
        BlendMem_Packed(Src[i], Dst[i]);
}

void BlendLineEx_Packed(const TColor32* Src, TColor32* Dst, int Count, TColor32 M) {
    M = PackedWeight(M);
    for (int i = 0; i < Count; ++i) {
        const TColor32 fa = Src[i] >> 24;
        if (fa == 0) continue;
        // Unlike the per-pixel form, the line form weighs (Fa + 1) * M.
        const TColor32 w = ((fa + 1) * M) >> 8;
        if (w != 0) Dst[i] = PackedLerp(Src[i], Dst[i], w);
    }
}

TColor32 ColorAdd_Common(TColor32 C1, TColor32 C2) {
    return PerChannel(C1, C2, [](TColor32 a, TColor32 b) { return std::min(a + b, 255u); });
}

TColor32 ColorSub_Common(TColor32 C1, TColor32 C2) {
    return PerChannel(C1, C2, [](TColor32 a, TColor32 b) { return a > b ? a - b : 0u; });
}

TColor32 ColorDiv_Common(TColor32 C1, TColor32 C2) {
    return PerChannel(C1, C2,
                      [](TColor32 a, TColor32 b) { return a == 0 ? 255u : std::min((b * 256) / a, 255u); });
}

TColor32 ColorModulate_Common(TColor32 C1, TColor32 C2) {
    return PerChannel(C1, C2, [](TColor32 a, TColor32 b) { return (a * b) >> 8; });
}

TColor32 ColorMax_Common(TColor32 C1, TColor32 C2) {
    return PerChannel(C1, C2, [](TColor32 a, TColor32 b) { return std::max(a, b); });
}

TColor32 ColorMin_Common(TColor32 C1, TColor32 C2) {
    return PerChannel(C1, C2, [](TColor32 a, TColor32 b) { return std::min(a, b); });
}

TColor32 ColorDifference_Common(TColor32 C1, TColor32 C2) {
    return PerChannel(C1, C2, [](TColor32 a, TColor32 b) { return a > b ? a - b : b - a; });
}

const TBlendSet PackedScalarBlendSet = {
    CombineReg_Packed,      CombineMem_Packed,     CombineLine_Packed,   BlendReg_Packed,    BlendMem_Packed,
    BlendRegEx_Packed,      BlendMemEx_Packed,     BlendLine_Packed,     BlendLineEx_Packed, ColorAdd_Common,
    ColorSub_Common,        ColorDiv_Common,       ColorModulate_Common, ColorMax_Common,    ColorMin_Common,
    ColorDifference_Common, ColorExclusion_Packed, ColorAverage_Packed,  ColorScale_Packed};

} // namespace Bmp32_Blend
