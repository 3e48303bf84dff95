#include "bitmap32/Bmp32_Filters.h"

namespace Bmp32_Filters {

namespace {

void CheckParams(const TBitmap32* Dst, const TBitmap32* Src) {
    if (!Src) throw Exception("The source is nil");
    if (!Dst) throw Exception("Destination is nil");
}

// Sizes Dst like Src and runs Op(dst pixel, src pixel) over every pixel. Op reads the source pixel
// before it writes, so Dst may be Src.
template <class Op>
void Filter(TBitmap32* Dst, const TBitmap32* Src, Op op) {
    CheckParams(Dst, Src);
    // The resize and the pixels make one change.
    Dst->BeginUpdate();
    try {
        Dst->SetSize(Src->Width(), Src->Height());
    } catch (...) {
        Dst->EndUpdate();
        throw;
    }
    Dst->EndUpdate();
    if (!Src->Empty() && !Dst->Empty()) {
        const TColor32* s = Src->Bits();
        TColor32* d = Dst->Bits();
        const std::size_t count = static_cast<std::size_t>(Src->Width()) * Src->Height();
        for (std::size_t i = 0; i < count; ++i)
            d[i] = op(d[i], s[i]);
    }
    Dst->Changed();
}

} // namespace

void AlphaToGrayscale(TBitmap32* Dst, const TBitmap32* Src) {
    Filter(Dst, Src, [](TColor32, TColor32 s) { return Gray32(static_cast<std::uint8_t>(s >> 24), 0xFF); });
}

void IntensityToAlpha(TBitmap32* Dst, const TBitmap32* Src) {
    Filter(Dst, Src, [](TColor32 d, TColor32 s) { return SetAlpha(d, Intensity(s)); });
}

void Invert(TBitmap32* Dst, const TBitmap32* Src) {
    Filter(Dst, Src, [](TColor32, TColor32 s) { return ~s; });
}

void InvertRGB(TBitmap32* Dst, const TBitmap32* Src) {
    Filter(Dst, Src, [](TColor32, TColor32 s) { return s ^ 0x00FFFFFFu; });
}

void ColorToGrayscale(TBitmap32* Dst, const TBitmap32* Src, bool PreserveAlpha) {
    if (PreserveAlpha)
        Filter(Dst, Src, [](TColor32, TColor32 s) {
            return Gray32(static_cast<std::uint8_t>(Intensity(s)), static_cast<std::uint8_t>(s >> 24));
        });
    else
        Filter(Dst, Src,
               [](TColor32, TColor32 s) { return Gray32(static_cast<std::uint8_t>(Intensity(s)), 0xFF); });
}

void ApplyLUT(TBitmap32* Dst, const TBitmap32* Src, const TLUT8& LUT, bool PreserveAlpha) {
    Filter(Dst, Src, [&LUT, PreserveAlpha](TColor32, TColor32 s) {
        const TColor32 alpha = PreserveAlpha ? (s & 0xFF000000u) : 0xFF000000u;
        return alpha | (TColor32{LUT[(s >> 16) & 0xFF]} << 16) | (TColor32{LUT[(s >> 8) & 0xFF]} << 8) |
               LUT[s & 0xFF];
    });
}

void CromaKey(TBitmap32* Bitmap, TColor32 TrColor) {
    if (!Bitmap) throw Exception("Destination is nil");
    if (Bitmap->Empty()) return;
    const TColor32 key = TrColor & 0x00FFFFFFu;
    TColor32* p = Bitmap->Bits();
    const std::size_t count = static_cast<std::size_t>(Bitmap->Width()) * Bitmap->Height();
    for (std::size_t i = 0; i < count; ++i)
        if ((p[i] & 0x00FFFFFFu) == key) p[i] = key;
}

} // namespace Bmp32_Filters
