// The plain routine set: two channels per 32-bit multiply, S(x, w) = (x*w + 128) >> 8 per channel.
// All arithmetic is unsigned 32-bit, so weights outside 0..255 give defined (if useless) results.
#include "bitmap32/Bmp32_BlendSets.h"

#include <algorithm>

namespace Bmp32_Blend {

namespace {

// S on all four channels: red/blue in one word, alpha/green in the other.
inline TColor32 Scale4(TColor32 X, TColor32 W) {
    TColor32 rb = (X & 0x00FF00FFu) * W + 0x00800080u;
    TColor32 ag = ((X & 0xFF00FF00u) >> 8) * W + 0x00800080u;
    return ((rb & 0xFF00FF00u) >> 8) | (ag & 0xFF00FF00u);
}

// S on red, green and blue only; alpha 0.
inline TColor32 Scale3(TColor32 X, TColor32 W) {
    TColor32 rb = (X & 0x00FF00FFu) * W + 0x00800080u;
    TColor32 g = (X & 0x0000FF00u) * W + 0x00008000u;
    return ((rb & 0xFF00FF00u) >> 8) | ((g & 0x00FF0000u) >> 8);
}

} // namespace

TColor32 CombineReg_Plain(TColor32 X, TColor32 Y, TColor32 W) {
    if ((W & 0xFFFFu) == 0) return Y;
    if (W == 255) return X;
    return Scale4(X, W) + Scale4(Y, 255 - W);
}

void CombineMem_Plain(TColor32 X, TColor32& Y, TColor32 W) {
    if ((W & 0xFFFFu) == 0) return;
    if (W == 255) {
        Y = X;
        return;
    }
    Y = Scale4(X, W) + Scale4(Y, 255 - W);
}

void CombineLine_Plain(const TColor32* Src, TColor32* Dst, int Count, TColor32 W) {
    for (int i = 0; i < Count; ++i)
        CombineMem_Plain(Src[i], Dst[i], W);
}

TColor32 BlendReg_Plain(TColor32 F, TColor32 B) {
    const TColor32 fa = F >> 24;
    if (fa == 255) return F;
    if (fa == 0) return B;
    return Scale4(F, fa) + Scale4(B, 255 - fa);
}

void BlendMem_Plain(TColor32 F, TColor32& B) {
    const TColor32 fa = F >> 24;
    if (fa == 0) return;
    if (fa == 255) {
        B = F;
        return;
    }
    B = Scale4(F, fa) + Scale4(B, 255 - fa);
}

void BlendLine_Plain(const TColor32* Src, TColor32* Dst, int Count) {
    for (int i = 0; i < Count; ++i)
        BlendMem_Plain(Src[i], Dst[i]);
}

TColor32 BlendRegEx_Plain(TColor32 F, TColor32 B, TColor32 M) {
    const TColor32 fa = F >> 24;
    if (fa == 0) return B;
    const TColor32 w = ((M + 1) * fa) >> 8;
    if (w == 0) return B;
    return Scale3(F, w) + Scale3(B, 255 - w);
}

void BlendMemEx_Plain(TColor32 F, TColor32& B, TColor32 M) {
    const TColor32 fa = F >> 24;
    if (fa == 0) return;
    const TColor32 w = ((M + 1) * fa) >> 8;
    if (w == 0) return;
    B = Scale3(F, w) + Scale3(B, 255 - w);
}

void BlendLineEx_Plain(const TColor32* Src, TColor32* Dst, int Count, TColor32 M) {
    for (int i = 0; i < Count; ++i)
        BlendMemEx_Plain(Src[i], Dst[i], M);
}

TColor32 ColorExclusion_Plain(TColor32 C1, TColor32 C2) {
    return PerChannel(C1, C2, [](TColor32 a, TColor32 b) { return (a + b - ((a * b) >> 7)) & 0xFF; });
}

TColor32 ColorAverage_Plain(TColor32 C1, TColor32 C2) {
    return PerChannel(C1, C2, [](TColor32 a, TColor32 b) { return (a + b) >> 1; });
}

TColor32 ColorScale_Plain(TColor32 C, TColor32 W) {
    return PerChannel(C, 0, [W](TColor32 c, TColor32) {
        std::uint64_t v = (std::uint64_t{c} * W) >> 8;
        return static_cast<TColor32>(std::min<std::uint64_t>(v, 255));
    });
}

const TBlendSet PlainBlendSet = {
    CombineReg_Plain,       CombineMem_Plain,     CombineLine_Plain,    BlendReg_Plain,    BlendMem_Plain,
    BlendRegEx_Plain,       BlendMemEx_Plain,     BlendLine_Plain,      BlendLineEx_Plain, ColorAdd_Common,
    ColorSub_Common,        ColorDiv_Common,      ColorModulate_Common, ColorMax_Common,   ColorMin_Common,
    ColorDifference_Common, ColorExclusion_Plain, ColorAverage_Plain,   ColorScale_Plain};

} // namespace Bmp32_Blend
