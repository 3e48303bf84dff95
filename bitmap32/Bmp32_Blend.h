// Per-pixel combination of two TColor32 values: weighted combine, alpha blend (background alpha
// ignored), alpha merge (background with an alpha of its own), master-alpha and whole-line variants,
// and a small colour algebra.
//
// Two routine sets give different results. With S(x, w) = (x*w + 128) >> 8 and
// P(x, y, w) = (x*w + y*(256 - w) + 128) >> 8 per channel:
//   plain:  combine and blend are S(X, W) + S(Y, 255 - W) with special cases at 0 and 255, and the
//           master-alpha blends write alpha 0;
//   packed: P on all four channels, with fewer special cases.
// The start-up chooses packed when the processor has MMX (every x86-64 processor), plain otherwise.
// Merging is one routine for both sets. Every caller reaches blending through the variables below.
#pragma once

#include "bitmap32/Bmp32_Types.h"

#include <cstdint>

namespace Bmp32_Blend {

using TCombineReg = TColor32 (*)(TColor32 X, TColor32 Y, TColor32 W);
using TCombineMem = void (*)(TColor32 X, TColor32& Y, TColor32 W);
using TCombineLine = void (*)(const TColor32* Src, TColor32* Dst, int Count, TColor32 W);
using TBlendReg = TColor32 (*)(TColor32 F, TColor32 B);
using TBlendMem = void (*)(TColor32 F, TColor32& B);
using TBlendRegEx = TColor32 (*)(TColor32 F, TColor32 B, TColor32 M);
using TBlendMemEx = void (*)(TColor32 F, TColor32& B, TColor32 M);
using TBlendLine = void (*)(const TColor32* Src, TColor32* Dst, int Count);
using TBlendLineEx = void (*)(const TColor32* Src, TColor32* Dst, int Count, TColor32 M);
using TColorAlgebra = TColor32 (*)(TColor32 C1, TColor32 C2);
using TColorScale = TColor32 (*)(TColor32 C, TColor32 W);

// Line routines read Src[i] and Dst[i] and write Dst[i]; Count <= 0 does nothing.
extern TCombineReg CombineReg;
extern TCombineMem CombineMem;
extern TCombineLine CombineLine;
extern TBlendReg BlendReg;
extern TBlendMem BlendMem;
extern TBlendRegEx BlendRegEx;
extern TBlendMemEx BlendMemEx;
extern TBlendLine BlendLine;
extern TBlendLineEx BlendLineEx;
extern TBlendReg MergeReg;
extern TBlendMem MergeMem;
extern TBlendRegEx MergeRegEx;
extern TBlendMemEx MergeMemEx;
extern TBlendLine MergeLine;
extern TBlendLineEx MergeLineEx;
extern TColorAlgebra ColorAdd;
extern TColorAlgebra ColorSub;
extern TColorAlgebra ColorDiv;
extern TColorAlgebra ColorModulate;
extern TColorAlgebra ColorMax;
extern TColorAlgebra ColorMin;
extern TColorAlgebra ColorDifference;
extern TColorAlgebra ColorExclusion;
extern TColorAlgebra ColorAverage;
extern TColorScale ColorScale;

// Indexed by TCombineMode: cmBlend holds the blend routine of the current set, cmMerge the merge one.
extern TBlendReg BLEND_REG[2];
extern TBlendMem BLEND_MEM[2];
extern TBlendRegEx BLEND_REG_EX[2];
extern TBlendMemEx BLEND_MEM_EX[2];
extern TBlendLine BLEND_LINE[2];
extern TBlendLineEx BLEND_LINE_EX[2];

// ProductTable[a][b] = round(a*b/255); QuotientTable[a][b] = low byte of round(b*255/a), row 0 zero.
// Ties round to even.
extern const std::uint8_t (&ProductTable)[256][256];
extern const std::uint8_t (&QuotientTable)[256][256];

// The packed set's weights: entry w is four 16-bit words of w; bias_ptr is entry 128.
extern const std::uint16_t (&AlphaTable)[256][4];
extern const std::uint16_t* const alpha_ptr;
extern const std::uint16_t* const bias_ptr;

extern bool MMX_ACTIVE;

// Red, green and blue each moved by Amount and clamped to 0..255; alpha kept.
TColor32 Lighten(TColor32 C, int Amount);
// Ends a run of packed blending before floating-point work. The packed routines use no state that
// needs clearing here, so this only marks the call sites.
inline void EMMS() {}

// One routine set. The merge routines are shared and not part of it.
struct TBlendSet {
    TCombineReg CombineReg;
    TCombineMem CombineMem;
    TCombineLine CombineLine;
    TBlendReg BlendReg;
    TBlendMem BlendMem;
    TBlendRegEx BlendRegEx;
    TBlendMemEx BlendMemEx;
    TBlendLine BlendLine;
    TBlendLineEx BlendLineEx;
    TColorAlgebra ColorAdd;
    TColorAlgebra ColorSub;
    TColorAlgebra ColorDiv;
    TColorAlgebra ColorModulate;
    TColorAlgebra ColorMax;
    TColorAlgebra ColorMin;
    TColorAlgebra ColorDifference;
    TColorAlgebra ColorExclusion;
    TColorAlgebra ColorAverage;
    TColorScale ColorScale;
};

extern const TBlendSet PlainBlendSet;
// The packed formulas one pixel at a time, as a reference for the vector line routines.
extern const TBlendSet PackedScalarBlendSet;
// The packed set as it runs: the scalar routines with the line routines the processor runs fastest.
TBlendSet PackedBlendSet();

// The start-up choice: packed when Bmp32_System::HasMMX(), else plain.
void SetupBlendFunctions();
// Test hook: points every variable and array at one set.
void SelectBlendSet(bool Packed);

// Vector forms of the packed line routines, bit for bit equal to the scalar ones.
namespace PackedVector {
bool HasSSE2();
bool HasAVX2();
void BlendLine_SSE2(const TColor32* Src, TColor32* Dst, int Count);
void BlendLineEx_SSE2(const TColor32* Src, TColor32* Dst, int Count, TColor32 M);
void CombineLine_SSE2(const TColor32* Src, TColor32* Dst, int Count, TColor32 W);
void BlendLine_AVX2(const TColor32* Src, TColor32* Dst, int Count);
void BlendLineEx_AVX2(const TColor32* Src, TColor32* Dst, int Count, TColor32 M);
void CombineLine_AVX2(const TColor32* Src, TColor32* Dst, int Count, TColor32 W);
// The merge lines (shared by both sets) as vectors; they follow the current BlendReg where the
// background is opaque.
void MergeLine_SSE2(const TColor32* Src, TColor32* Dst, int Count);
void MergeLineEx_SSE2(const TColor32* Src, TColor32* Dst, int Count, TColor32 M);
void MergeLine_AVX2(const TColor32* Src, TColor32* Dst, int Count);
void MergeLineEx_AVX2(const TColor32* Src, TColor32* Dst, int Count, TColor32 M);
} // namespace PackedVector

} // namespace Bmp32_Blend

using namespace Bmp32_Blend;
