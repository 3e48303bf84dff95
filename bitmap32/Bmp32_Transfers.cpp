// Block transfers between bitmaps: the per-mode row copy, BlockTransfer, BlockTransferX, BlendTransfer
// and StretchTransfer.
#include "bitmap32/Bmp32_Resamplers.h"

#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_TransferRows.h"

#include <algorithm>
#include <vector>

namespace Bmp32_Resamplers {

void CheckBitmaps(TBitmap32* Dst, TBitmap32* Src) {
    if (!Dst) throw EBitmapException("Destination bitmap is nil");
    if (!Src) throw EBitmapException("Source bitmap is nil");
}

namespace {

void TransferRow(const TColor32* s, TColor32* d, int w, TBitmap32* Src, TDrawMode CombineOp,
                 const TPixelCombineEvent& CombineCallBack) {
    switch (CombineOp) {
    case dmOpaque:
        MoveLongword(s, d, w);
        break;
    case dmBlend:
        if (Src->MasterAlpha() >= 255)
            BLEND_LINE[Src->CombineMode()](s, d, w);
        else
            BLEND_LINE_EX[Src->CombineMode()](s, d, w, Src->MasterAlpha());
        break;
    case dmTransparent: {
        const TColor32 outer = Src->OuterColor();
        for (int i = 0; i < w; ++i)
            if (s[i] != outer) d[i] = s[i];
        break;
    }
    case dmCustom: {
        const TColor32 m = Src->MasterAlpha();
        for (int i = 0; i < w; ++i)
            CombineCallBack(s[i], d[i], m);
        break;
    }
    }
}

} // namespace

void TransferRows(TBitmap32* Dst, const TRect& DstRect, TBitmap32* Src, int SrcX, int SrcY,
                  TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
    const int w = DstRect.Right - DstRect.Left, h = DstRect.Bottom - DstRect.Top;
    if (w <= 0 || h <= 0) return;
    const bool overlap = Src == Dst && SrcX < DstRect.Right && DstRect.Left < SrcX + w &&
                         SrcY < DstRect.Bottom && DstRect.Top < SrcY + h;
    if (overlap && CombineOp != dmOpaque) {
        // Blending reads destination pixels too: work from a copy of the source block.
        TBitmap32 copy;
        copy.SetSize(w, h);
        for (int y = 0; y < h; ++y)
            MoveLongword(Src->GetPixelPtr(SrcX, SrcY + y), copy.GetScanLine(y), w);
        copy.SetMasterAlpha(Src->MasterAlpha());
        copy.SetCombineMode(Src->CombineMode());
        copy.SetOuterColor(Src->OuterColor());
        TransferRows(Dst, DstRect, &copy, 0, 0, CombineOp, CombineCallBack);
        return;
    }
    if (CombineOp == dmOpaque && w == Src->Width() && w == Dst->Width()) {
        // Whole rows of equally wide bitmaps lie back to back: one overlap-safe move.
        MoveLongword(Src->GetScanLine(SrcY), Dst->GetScanLine(DstRect.Top), w * h);
        return;
    }
    // An opaque copy within one bitmap moves rows bottom-up when the destination lies below the source;
    // each row move is overlap-safe.
    const bool bottomUp = overlap && DstRect.Top > SrcY;
    for (int k = 0; k < h; ++k) {
        const int y = bottomUp ? h - 1 - k : k;
        TransferRow(Src->GetPixelPtr(SrcX, SrcY + y), Dst->GetPixelPtr(DstRect.Left, DstRect.Top + y), w, Src,
                    CombineOp, CombineCallBack);
    }
}

namespace {

// Rectangles in 64 bits, so that offsets of arbitrary caller rectangles cannot overflow.
struct Rect64 {
    std::int64_t Left, Top, Right, Bottom;
    explicit Rect64(const TRect& r) : Left(r.Left), Top(r.Top), Right(r.Right), Bottom(r.Bottom) {}
    Rect64(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b)
        : Left(l), Top(t), Right(r), Bottom(b) {}
    bool Empty() const { return Right <= Left || Bottom <= Top; }
    Rect64 Intersect(const Rect64& o) const {
        return Rect64{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
                      std::min(Bottom, o.Bottom)};
    }
    Rect64 Offset(std::int64_t dx, std::int64_t dy) const {
        return Rect64{Left + dx, Top + dy, Right + dx, Bottom + dy};
    }
    // Only for rectangles known to lie inside a bitmap.
    TRect ToRect() const {
        return TRect{static_cast<int>(Left), static_cast<int>(Top), static_cast<int>(Right),
                     static_cast<int>(Bottom)};
    }
};

TRect SaturatedRect(std::int64_t l, std::int64_t t, std::int64_t r, std::int64_t b) {
    auto sat = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return TRect{sat(l), sat(t), sat(r), sat(b)};
}

} // namespace

void BlockTransfer(TBitmap32* Dst, int DstX, int DstY, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                   TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
    CheckBitmaps(Dst, Src);
    if (Src->Empty() || Dst->Empty()) return;
    if (CombineOp == dmBlend && Src->MasterAlpha() == 0) return;
    if (CombineOp == dmCustom && !CombineCallBack) CombineOp = dmOpaque;
    const Rect64 src0(SrcRect);
    if (!Dst->MeasuringMode()) {
        const Rect64 clip = Rect64(DstClip).Intersect(Rect64(Dst->BoundsRect()));
        const Rect64 src = src0.Intersect(Rect64(Src->BoundsRect()));
        const std::int64_t dx = std::int64_t{DstX} - src0.Left, dy = std::int64_t{DstY} - src0.Top;
        const Rect64 dst = src.Offset(dx, dy).Intersect(clip);
        if (!dst.Empty()) {
            TransferRows(Dst, dst.ToRect(), Src, static_cast<int>(dst.Left - dx),
                         static_cast<int>(dst.Top - dy), CombineOp, CombineCallBack);
            EMMS();
        }
    }
    Dst->Changed(SaturatedRect(DstX, DstY, DstX + (src0.Right - src0.Left), DstY + (src0.Bottom - src0.Top)),
                 AREAINFO_RECT);
}

void StretchTransfer(TBitmap32* Dst, TRect DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                     TCustomResampler* Resampler, TDrawMode CombineOp,
                     const TPixelCombineEvent& CombineCallBack) {
    CheckBitmaps(Dst, Src);
    if (Src->Empty() || Dst->Empty()) return;
    if (CombineOp == dmBlend && Src->MasterAlpha() == 0) return;
    if (IsRectEmpty(SrcRect)) return;
    if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Src->Width() || SrcRect.Bottom > Src->Height())
        throw ESrcInvalidException("Source rectangle is invalid");
    if (!Dst->MeasuringMode()) {
        IntersectRect(DstClip, DstClip, Dst->BoundsRect());
        IntersectRect(DstClip, DstClip, DstRect);
        if (IsRectEmpty(DstClip)) return;
        if (CombineOp == dmCustom && !CombineCallBack) CombineOp = dmOpaque;
        if (std::int64_t{SrcRect.Right} - SrcRect.Left == std::int64_t{DstRect.Right} - DstRect.Left &&
            std::int64_t{SrcRect.Bottom} - SrcRect.Top == std::int64_t{DstRect.Bottom} - DstRect.Top) {
            TransferRows(Dst, DstClip, Src, SrcRect.Left + (DstClip.Left - DstRect.Left),
                         SrcRect.Top + (DstClip.Top - DstRect.Top), CombineOp, CombineCallBack);
        } else if (Resampler) {
            Resampler->Resample(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
        } else {
            StretchNearest(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
        }
        EMMS();
    }
    Dst->Changed(DstRect, AREAINFO_RECT);
}

namespace {

// The effective weight of a pixel of BlockTransferX from its column and row edge weights.
inline unsigned EdgeWeight(unsigned ColW, unsigned RowW, unsigned M) {
    if (ColW == 255) return (RowW * M) >> 8;
    if (RowW == 255) return (ColW * M) >> 8;
    return (ColW * RowW * M) >> 16;
}

} // namespace

void BlockTransferX(TBitmap32* Dst, TFixed DstX, TFixed DstY, TBitmap32* Src, TRect SrcRect,
                    TDrawMode CombineOp, const TPixelCombineEvent&) {
    CheckBitmaps(Dst, Src);
    if (Src->Empty() || Dst->Empty()) return;
    if (CombineOp == dmBlend && Src->MasterAlpha() == 0) return;
    if (Src == Dst && !Dst->MeasuringMode()) {
        // Rows are read after others are written: work from a copy.
        TBitmap32 copy;
        Src->CopyMapTo(&copy);
        Src->CopyPropertiesTo(&copy);
        BlockTransferX(Dst, DstX, DstY, &copy, SrcRect, CombineOp, nullptr);
        return;
    }
    IntersectRect(SrcRect, SrcRect, Src->BoundsRect());
    // The integer position is the floor, as the fraction bits are: -0.25 is -1 + 0.75. Truncating it to 0
    // would draw the picture at +0.75, a pixel right of where it belongs.
    const std::int64_t X = DstX >> 16, Y = DstY >> 16;
    const unsigned fx = (static_cast<unsigned>(DstX) & 0xFFFF) >> 8,
                   fy = (static_cast<unsigned>(DstY) & 0xFFFF) >> 8;
    const std::int64_t srcW = SrcRect.Right - SrcRect.Left, srcH = SrcRect.Bottom - SrcRect.Top;
    const unsigned M = std::min<std::uint32_t>(Src->MasterAlpha(), 255);
    if (!Dst->MeasuringMode() && srcW > 0 && srcH > 0 && M != 0) {
        // Destination column X + i (0 <= i <= srcW) mixes source columns i - 1 and i; rows likewise.
        const std::int64_t i0 = std::max<std::int64_t>(0, -X),
                           i1 = std::min<std::int64_t>(srcW, Dst->Width() - 1 - X);
        const std::int64_t j0 = std::max<std::int64_t>(0, -Y),
                           j1 = std::min<std::int64_t>(srcH, Dst->Height() - 1 - Y);
        if (i0 <= i1 && j0 <= j1) {
            const unsigned left = fx ^ 255, right = fx, top = fy ^ 255, bottom = fy;
            const int n = static_cast<int>(i1 - i0 + 1);
            std::vector<TColor32> rowPrev(static_cast<std::size_t>(n)), rowCur(static_cast<std::size_t>(n)),
                out(static_cast<std::size_t>(n));
            // Source row r shifted horizontally, at the visible columns.
            auto shiftRow = [&](std::int64_t r, std::vector<TColor32>& dst) {
                const TColor32* s = Src->GetPixelPtr(SrcRect.Left, static_cast<int>(SrcRect.Top + r));
                for (std::int64_t i = i0; i <= i1; ++i)
                    dst[static_cast<std::size_t>(i - i0)] = s[i == 0 ? 0 : i - 1];
                const std::int64_t a = std::max<std::int64_t>(i0, 1),
                                   b = std::min<std::int64_t>(i1, srcW - 1);
                if (a <= b)
                    CombineLine(s + a, &dst[static_cast<std::size_t>(a - i0)], static_cast<int>(b - a + 1),
                                left);
            };
            const TBlendMemEx blendMemEx = BLEND_MEM_EX[Src->CombineMode()];
            std::int64_t prevRow = -1;
            for (std::int64_t j = j0; j <= j1; ++j) {
                // Destination row Y + j mixes source rows j - 1 and j.
                if (j > 0 && prevRow != j - 1) shiftRow(j - 1, rowPrev);
                if (j < srcH) shiftRow(j, rowCur);
                if (j == 0) {
                    out = rowCur;
                } else {
                    out = rowPrev;
                    if (j < srcH) CombineLine(rowCur.data(), out.data(), n, top);
                }
                std::swap(rowPrev, rowCur);
                prevRow = j < srcH ? j : -1;
                const unsigned rowW = j == 0 ? top : (j == srcH ? bottom : 255);
                TColor32* d = Dst->GetPixelPtr(static_cast<int>(X + i0), static_cast<int>(Y + j));
                auto colWeight = [&](std::int64_t i) { return i == 0 ? left : (i == srcW ? right : 255u); };
                for (std::int64_t i = i0; i <= i1; ++i) {
                    const unsigned colW = colWeight(i);
                    if (colW == 255 && rowW == 255) {
                        // A run of fully covered pixels.
                        std::int64_t e = i;
                        while (e < i1 && colWeight(e + 1) == 255)
                            ++e;
                        const int count = static_cast<int>(e - i + 1);
                        const TColor32* s = &out[static_cast<std::size_t>(i - i0)];
                        if (M >= 255)
                            BLEND_LINE[Src->CombineMode()](s, d + (i - i0), count);
                        else
                            BLEND_LINE_EX[Src->CombineMode()](s, d + (i - i0), count, M);
                        i = e;
                        continue;
                    }
                    blendMemEx(out[static_cast<std::size_t>(i - i0)], d[i - i0], EdgeWeight(colW, rowW, M));
                }
            }
            EMMS();
        }
    }
    Dst->Changed(SaturatedRect(X, Y, X + srcW + 1, Y + srcH + 1), AREAINFO_RECT);
}

namespace {

template <class Blend>
void BlendTransferImpl(TBitmap32* Dst, int DstX, int DstY, TRect DstClip, TBitmap32* SrcF, TRect SrcRectF,
                       TBitmap32* SrcB, TRect SrcRectB, Blend blend) {
    Rect64 clip = Rect64(DstClip).Intersect(Rect64(Dst->BoundsRect()));
    if (!Dst->MeasuringMode()) {
        const Rect64 f0(SrcRectF), b0(SrcRectB);
        const std::int64_t fdx = std::int64_t{DstX} - f0.Left, fdy = std::int64_t{DstY} - f0.Top;
        const std::int64_t bdx = std::int64_t{DstX} - b0.Left, bdy = std::int64_t{DstY} - b0.Top;
        clip = clip.Intersect(f0.Intersect(Rect64(SrcF->BoundsRect())).Offset(fdx, fdy));
        clip = clip.Intersect(b0.Intersect(Rect64(SrcB->BoundsRect())).Offset(bdx, bdy));
        if (!clip.Empty()) {
            for (std::int64_t y = clip.Top; y < clip.Bottom; ++y) {
                TColor32* d = Dst->GetPixelPtr(static_cast<int>(clip.Left), static_cast<int>(y));
                const TColor32* f =
                    SrcF->GetPixelPtr(static_cast<int>(clip.Left - fdx), static_cast<int>(y - fdy));
                const TColor32* b =
                    SrcB->GetPixelPtr(static_cast<int>(clip.Left - bdx), static_cast<int>(y - bdy));
                for (std::int64_t x = clip.Left; x < clip.Right; ++x)
                    *d++ = blend(*f++, *b++);
            }
            EMMS();
        }
    }
    Dst->Changed(clip.Empty() ? TRect{} : clip.ToRect(), AREAINFO_RECT);
}

void CheckBlendSources(TBitmap32* Dst, TBitmap32* SrcF, TBitmap32* SrcB) {
    if (!Dst) throw EBitmapException("Destination bitmap is nil");
    if (!SrcF || !SrcB) throw EBitmapException("Source bitmap is nil");
}

} // namespace

void BlendTransfer(TBitmap32* Dst, int DstX, int DstY, TRect DstClip, TBitmap32* SrcF, TRect SrcRectF,
                   TBitmap32* SrcB, TRect SrcRectB, TBlendReg BlendCallback) {
    CheckBlendSources(Dst, SrcF, SrcB);
    if (Dst->Empty() || SrcF->Empty() || SrcB->Empty() || !BlendCallback) return;
    BlendTransferImpl(Dst, DstX, DstY, DstClip, SrcF, SrcRectF, SrcB, SrcRectB,
                      [BlendCallback](TColor32 f, TColor32 b) { return BlendCallback(f, b); });
}

void BlendTransfer(TBitmap32* Dst, int DstX, int DstY, TRect DstClip, TBitmap32* SrcF, TRect SrcRectF,
                   TBitmap32* SrcB, TRect SrcRectB, TBlendRegEx BlendCallback, int MasterAlpha) {
    CheckBlendSources(Dst, SrcF, SrcB);
    if (Dst->Empty() || SrcF->Empty() || SrcB->Empty() || !BlendCallback) return;
    const TColor32 m = static_cast<TColor32>(MasterAlpha);
    BlendTransferImpl(Dst, DstX, DstY, DstClip, SrcF, SrcRectF, SrcB, SrcRectB,
                      [BlendCallback, m](TColor32 f, TColor32 b) { return BlendCallback(f, b, m); });
}

} // namespace Bmp32_Resamplers
