// The tables, the merge routines shared by both sets, and the choice of the routine set.
#include "bitmap32/Bmp32_BlendSets.h"

#include "bitmap32/Bmp32_System.h"

#include <algorithm>

namespace Bmp32_Blend {

namespace {

struct ByteTable {
    std::uint8_t v[256][256];
};

// a*b/255 is never exactly a half, so rounding the integer quotient is round-half-even here too.
constexpr ByteTable MakeProductTable() {
    ByteTable t{};
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b)
            t.v[a][b] = static_cast<std::uint8_t>((2 * a * b + 255) / 510);
    return t;
}

// round(b*255/a) with ties to even (QuotientTable[2][1] = 128), low 8 bits.
constexpr ByteTable MakeQuotientTable() {
    ByteTable t{};
    for (int a = 1; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            int n = b * 255;
            int q = n / a;
            int r2 = 2 * (n % a);
            if (r2 > a || (r2 == a && (q & 1) != 0)) ++q;
            t.v[a][b] = static_cast<std::uint8_t>(q & 0xFF);
        }
    return t;
}

struct WeightTable {
    std::uint16_t v[256][4];
};

constexpr WeightTable MakeAlphaTable() {
    WeightTable t{};
    for (int w = 0; w < 256; ++w)
        for (int k = 0; k < 4; ++k)
            t.v[w][k] = static_cast<std::uint16_t>(w);
    return t;
}

alignas(64) constexpr ByteTable productTable = MakeProductTable();
alignas(64) constexpr ByteTable quotientTable = MakeQuotientTable();
alignas(16) constexpr WeightTable alphaTable = MakeAlphaTable();

} // namespace

const std::uint8_t (&ProductTable)[256][256] = productTable.v;
const std::uint8_t (&QuotientTable)[256][256] = quotientTable.v;
const std::uint16_t (&AlphaTable)[256][4] = alphaTable.v;
const std::uint16_t* const alpha_ptr = &alphaTable.v[0][0];
const std::uint16_t* const bias_ptr = &alphaTable.v[128][0];

namespace {

TColor32 MergeReg_Common(TColor32 F, TColor32 B) {
    const TColor32 fa = F >> 24;
    if (fa == 0) return B;
    const TColor32 ba = B >> 24;
    if (ba == 255) return BlendReg(F, B) | 0xFF000000u;
    if (fa == 255 || ba == 0) return F;
    // Ra stays within 2..255 and every v within 0..Ra, so the table reads stay inside.
    const TColor32 ra = fa + ba - ProductTable[ba][fa];
    const std::uint8_t* quotient = QuotientTable[ra];
    TColor32 result = ra << 24;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const TColor32 fc = (F >> shift) & 0xFF;
        const TColor32 pb = ProductTable[ba][(B >> shift) & 0xFF];
        const TColor32 v = fc >= pb ? pb + ProductTable[fa][fc - pb] : pb - ProductTable[fa][pb - fc];
        result |= TColor32{quotient[v]} << shift;
    }
    return result;
}

// The master alpha indexes the product table: larger values count as 255.
inline TColor32 MasterAlphaOf(TColor32 F, TColor32 M) {
    return (F & 0x00FFFFFFu) | (TColor32{ProductTable[M > 255 ? 255 : M][F >> 24]} << 24);
}

TColor32 MergeRegEx_Common(TColor32 F, TColor32 B, TColor32 M) {
    return MergeReg(MasterAlphaOf(F, M), B);
}

void MergeMem_Common(TColor32 F, TColor32& B) {
    B = MergeReg(F, B);
}

void MergeMemEx_Common(TColor32 F, TColor32& B, TColor32 M) {
    B = MergeReg(MasterAlphaOf(F, M), B);
}

} // namespace

void MergeLine_Common(const TColor32* Src, TColor32* Dst, int Count) {
    for (int i = 0; i < Count; ++i)
        Dst[i] = MergeReg_Common(Src[i], Dst[i]);
}

void MergeLineEx_Common(const TColor32* Src, TColor32* Dst, int Count, TColor32 M) {
    for (int i = 0; i < Count; ++i)
        Dst[i] = MergeReg_Common(MasterAlphaOf(Src[i], M), Dst[i]);
}

// Constant-initialised with the plain set so that nothing can see a null routine before start-up.
TCombineReg CombineReg = CombineReg_Plain;
TCombineMem CombineMem = CombineMem_Plain;
TCombineLine CombineLine = CombineLine_Plain;
TBlendReg BlendReg = BlendReg_Plain;
TBlendMem BlendMem = BlendMem_Plain;
TBlendRegEx BlendRegEx = BlendRegEx_Plain;
TBlendMemEx BlendMemEx = BlendMemEx_Plain;
TBlendLine BlendLine = BlendLine_Plain;
TBlendLineEx BlendLineEx = BlendLineEx_Plain;
TBlendReg MergeReg = MergeReg_Common;
TBlendMem MergeMem = MergeMem_Common;
TBlendRegEx MergeRegEx = MergeRegEx_Common;
TBlendMemEx MergeMemEx = MergeMemEx_Common;
TBlendLine MergeLine = MergeLine_Common;
TBlendLineEx MergeLineEx = MergeLineEx_Common;
TColorAlgebra ColorAdd = ColorAdd_Common;
TColorAlgebra ColorSub = ColorSub_Common;
TColorAlgebra ColorDiv = ColorDiv_Common;
TColorAlgebra ColorModulate = ColorModulate_Common;
TColorAlgebra ColorMax = ColorMax_Common;
TColorAlgebra ColorMin = ColorMin_Common;
TColorAlgebra ColorDifference = ColorDifference_Common;
TColorAlgebra ColorExclusion = ColorExclusion_Plain;
TColorAlgebra ColorAverage = ColorAverage_Plain;
TColorScale ColorScale = ColorScale_Plain;

TBlendReg BLEND_REG[2] = {BlendReg_Plain, MergeReg_Common};
TBlendMem BLEND_MEM[2] = {BlendMem_Plain, MergeMem_Common};
TBlendRegEx BLEND_REG_EX[2] = {BlendRegEx_Plain, MergeRegEx_Common};
TBlendMemEx BLEND_MEM_EX[2] = {BlendMemEx_Plain, MergeMemEx_Common};
TBlendLine BLEND_LINE[2] = {BlendLine_Plain, MergeLine_Common};
TBlendLineEx BLEND_LINE_EX[2] = {BlendLineEx_Plain, MergeLineEx_Common};

bool MMX_ACTIVE = false;

TColor32 Lighten(TColor32 C, int Amount) {
    TColor32 result = C & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const int v = static_cast<int>((C >> shift) & 0xFF) + Amount;
        result |= static_cast<TColor32>(std::clamp(v, 0, 255)) << shift;
    }
    return result;
}

TBlendSet PackedBlendSet() {
    TBlendSet set = PackedScalarBlendSet;
    if (PackedVector::HasAVX2()) {
        set.BlendLine = PackedVector::BlendLine_AVX2;
        set.BlendLineEx = PackedVector::BlendLineEx_AVX2;
        set.CombineLine = PackedVector::CombineLine_AVX2;
    } else if (PackedVector::HasSSE2()) {
        set.BlendLine = PackedVector::BlendLine_SSE2;
        set.BlendLineEx = PackedVector::BlendLineEx_SSE2;
        set.CombineLine = PackedVector::CombineLine_SSE2;
    }
    return set;
}

void SelectBlendSet(bool Packed) {
    const TBlendSet set = Packed ? PackedBlendSet() : PlainBlendSet;
    MMX_ACTIVE = Packed;
    CombineReg = set.CombineReg;
    CombineMem = set.CombineMem;
    CombineLine = set.CombineLine;
    BlendReg = set.BlendReg;
    BlendMem = set.BlendMem;
    BlendRegEx = set.BlendRegEx;
    BlendMemEx = set.BlendMemEx;
    BlendLine = set.BlendLine;
    BlendLineEx = set.BlendLineEx;
    ColorAdd = set.ColorAdd;
    ColorSub = set.ColorSub;
    ColorDiv = set.ColorDiv;
    ColorModulate = set.ColorModulate;
    ColorMax = set.ColorMax;
    ColorMin = set.ColorMin;
    ColorDifference = set.ColorDifference;
    ColorExclusion = set.ColorExclusion;
    ColorAverage = set.ColorAverage;
    ColorScale = set.ColorScale;
    BLEND_REG[cmBlend] = set.BlendReg;
    BLEND_MEM[cmBlend] = set.BlendMem;
    BLEND_REG_EX[cmBlend] = set.BlendRegEx;
    BLEND_MEM_EX[cmBlend] = set.BlendMemEx;
    BLEND_LINE[cmBlend] = set.BlendLine;
    BLEND_LINE_EX[cmBlend] = set.BlendLineEx;
    // The merge lines give the same results in both sets; with the packed one they run as vectors.
    MergeLine = MergeLine_Common;
    MergeLineEx = MergeLineEx_Common;
    if (Packed && PackedVector::HasAVX2()) {
        MergeLine = PackedVector::MergeLine_AVX2;
        MergeLineEx = PackedVector::MergeLineEx_AVX2;
    } else if (Packed && PackedVector::HasSSE2()) {
        MergeLine = PackedVector::MergeLine_SSE2;
        MergeLineEx = PackedVector::MergeLineEx_SSE2;
    }
    BLEND_LINE[cmMerge] = MergeLine;
    BLEND_LINE_EX[cmMerge] = MergeLineEx;
}

void SetupBlendFunctions() {
    SelectBlendSet(Bmp32_System::HasMMX());
}

namespace {
struct StartUp {
    StartUp() { SetupBlendFunctions(); }
} startUp;
} // namespace

} // namespace Bmp32_Blend
