// The resampling stretches: kernel mapping tables and the separable kernel stretch, the bilinear
// enlargement and the block-average reduction.
#include "bitmap32/Bmp32_Resamplers.h"

#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_TransferRows.h"
#include "bitmap32/Bmp32_Transforms.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Bmp32_Resamplers {

namespace {

int RoundHalfEven(double Value) {
    return static_cast<int>(std::nearbyint(Value));
}

// Writes one resampled pixel by the drawing mode.
class PixelWriter {
public:
    PixelWriter(TBitmap32* Src, TDrawMode Op, const TPixelCombineEvent& CombineCallBack)
        : FOp(Op), FBlend(BLEND_MEM_EX[Src->CombineMode()]), FMaster(Src->MasterAlpha()),
          FOuter(Src->OuterColor()), FCallBack(CombineCallBack) {}
    void operator()(TColor32 C, TColor32& D) const {
        switch (FOp) {
        case dmOpaque:
            D = C;
            break;
        case dmBlend:
            FBlend(C, D, FMaster);
            break;
        case dmCustom:
            FCallBack(C, D, FMaster);
            break;
        case dmTransparent:
            if (C != FOuter) D = C;
            break;
        }
    }

private:
    TDrawMode FOp;
    TBlendMemEx FBlend;
    TColor32 FMaster, FOuter;
    const TPixelCombineEvent& FCallBack;
};

// The checks of a stretch called directly: bitmaps given, SrcRect inside Src, DstClip cut to Dst and
// DstRect. False when there is nothing to draw.
bool Prepare(TBitmap32* Dst, const TRect& DstRect, TRect& DstClip, TBitmap32* Src, const TRect& SrcRect) {
    CheckBitmaps(Dst, Src);
    if (Dst->Empty() || Src->Empty() || IsRectEmpty(SrcRect)) return false;
    if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Src->Width() || SrcRect.Bottom > Src->Height())
        throw ESrcInvalidException("Source rectangle is invalid");
    IntersectRect(DstClip, DstClip, Dst->BoundsRect());
    IntersectRect(DstClip, DstClip, DstRect);
    return !IsRectEmpty(DstClip);
}

// A resample of a bitmap onto itself reads the source as it was: from a copy.
template <class Stretch>
bool FromCopyIfSame(TBitmap32* Dst, TBitmap32* Src, Stretch stretch) {
    if (Src != Dst) return false;
    TBitmap32 copy;
    Src->CopyMapTo(&copy);
    Src->CopyPropertiesTo(&copy);
    stretch(&copy);
    return true;
}

// A column (or row) of the bilinear enlargement: the left (upper) source index and the weight of that
// index in both 16-bit halves.
struct LinearEntry {
    int Index;
    unsigned Weight;
};

std::vector<LinearEntry> LinearMap(int DstLo, int DstHi, int ClipLo, int ClipHi, int SrcLo, int SrcHi,
                                   int SrcLimit) {
    const double srcW = static_cast<double>(SrcHi) - SrcLo, dstW = static_cast<double>(DstHi) - DstLo;
    float scale;
    if (FullEdge)
        scale = static_cast<float>(srcW / dstW);
    else
        // One destination pixel has no span to divide: it takes the first source pixel.
        scale = dstW > 1 ? static_cast<float>((srcW - 1) / (dstW - 1)) : 0.0f;
    std::vector<LinearEntry> map(static_cast<std::size_t>(ClipHi - ClipLo));
    for (int i = 0; i < ClipHi - ClipLo; ++i) {
        const double offset = static_cast<double>(i) + ClipLo - DstLo;
        double p = FullEdge ? SrcLo - 0.5 + (offset + 0.5) * scale : SrcLo + offset * scale;
        p = std::clamp(p, 0.0, static_cast<double>(SrcLimit - 1));
        const double index = std::floor(p);
        const unsigned w = static_cast<unsigned>(256 - RoundHalfEven((p - index) * 256));
        map[static_cast<std::size_t>(i)] = LinearEntry{static_cast<int>(index), w | (w << 16)};
    }
    // The last source index has no right neighbour: read it as the neighbour of the one before.
    for (auto it = map.rbegin(); it != map.rend() && it->Index == SrcHi - 1; ++it) {
        it->Index -= 1;
        it->Weight = 0;
    }
    return map;
}

} // namespace

TMappingTable BuildMappingTable(int DstLo, int DstHi, int ClipLo, int ClipHi, int SrcLo, int SrcHi,
                                const TCustomKernel* Kernel) {
    const std::int64_t srcW = std::int64_t{SrcHi} - SrcLo, dstW = std::int64_t{DstHi} - DstLo;
    const int count = static_cast<int>(std::max<std::int64_t>(0, std::int64_t{ClipHi} - ClipLo));
    if (srcW <= 0) return {};
    TMappingTable table(static_cast<std::size_t>(count));
    if (srcW == 1) {
        for (TCluster& c : table)
            c = {TPointRec{SrcLo, 256}};
        return table;
    }
    const float scale =
        FullEdge ? static_cast<float>(static_cast<double>(dstW) / static_cast<double>(srcW))
                 : static_cast<float>(static_cast<double>(dstW - 1) / static_cast<double>(srcW - 1));
    if (scale == 0) {
        for (TCluster& c : table)
            c = {TPointRec{static_cast<int>((std::int64_t{SrcLo} + SrcHi) / 2), 256}};
        return table;
    }
    float fw = Kernel->GetWidth();
    const bool shrinking = scale < 1;
    const float s = 1.0f / scale;
    if (shrinking) fw = fw * s;
    for (int i = 0; i < count; ++i) {
        const double offset = static_cast<double>(i) - DstLo + ClipLo;
        const float centre = FullEdge ? static_cast<float>((offset + 0.5) * s + SrcLo - 0.5)
                                      : static_cast<float>(offset * s + SrcLo);
        TCluster& cluster = table[static_cast<std::size_t>(i)];
        const int lo = static_cast<int>(std::floor(static_cast<double>(centre) - fw));
        const int hi = static_cast<int>(std::ceil(static_cast<double>(centre) + fw));
        int sum = 0;
        for (int j = lo; j <= hi; ++j) {
            int w;
            if (shrinking)
                w = RoundHalfEven(
                    Kernel->Filter(static_cast<float>((static_cast<double>(centre) - j) * scale)) * 256.0 *
                    scale);
            else
                w = RoundHalfEven(Kernel->Filter(static_cast<float>(static_cast<double>(centre) - j)) *
                                  256.0);
            if (w == 0) continue;
            cluster.push_back(TPointRec{std::clamp(j, SrcLo, SrcHi - 1), w});
            sum += w;
        }
        if (cluster.empty()) {
            // Kept inside the source: an index outside it would be read.
            const int pos = static_cast<int>(std::floor(static_cast<double>(centre)));
            cluster.push_back(TPointRec{std::clamp(pos, SrcLo, SrcHi - 1), 256});
        } else if (sum != 256) {
            cluster[(cluster.size() - 1) / 2].Weight += 256 - sum;
        }
    }
    return table;
}

void KernelResample(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                    const TCustomKernel* Kernel, TDrawMode CombineOp,
                    const TPixelCombineEvent& CombineCallBack) {
    if (!Prepare(Dst, DstRect, DstClip, Src, SrcRect)) return;
    if (CombineOp == dmCustom && !CombineCallBack) CombineOp = dmOpaque;
    if (CombineOp == dmBlend && Src->MasterAlpha() == 0) return;
    if (FromCopyIfSame(Dst, Src, [&](TBitmap32* copy) {
            KernelResample(Dst, DstRect, DstClip, copy, SrcRect, Kernel, CombineOp, CombineCallBack);
        }))
        return;
    const TMappingTable mapX = BuildMappingTable(DstRect.Left, DstRect.Right, DstClip.Left, DstClip.Right,
                                                 SrcRect.Left, SrcRect.Right, Kernel);
    const TMappingTable mapY = BuildMappingTable(DstRect.Top, DstRect.Bottom, DstClip.Top, DstClip.Bottom,
                                                 SrcRect.Top, SrcRect.Bottom, Kernel);
    if (mapX.empty() || mapY.empty()) return;
    int minX = mapX[0][0].Pos, maxX = minX;
    for (const TCluster& c : mapX)
        for (const TPointRec& e : c) {
            minX = std::min(minX, e.Pos);
            maxX = std::max(maxX, e.Pos);
        }
    const bool rangeCheck = Kernel->RangeCheck();
    const PixelWriter write(Src, CombineOp, CombineCallBack);
    struct Acc {
        std::int32_t c[4];
    };
    std::vector<Acc> buffer(static_cast<std::size_t>(maxX - minX + 1));
    auto channel = [rangeCheck](std::int32_t a) -> TColor32 {
        if (rangeCheck) {
            if (a >= 0xFF0001) return 255;
            if (a < 0) return 0;
        }
        return (static_cast<TColor32>(a) >> 16) & 0xFF;
    };
    for (std::size_t j = 0; j < mapY.size(); ++j) {
        const TCluster& rows = mapY[j];
        for (int x = minX; x <= maxX; ++x) {
            Acc a{{0, 0, 0, 0}};
            for (const TPointRec& r : rows) {
                const TColor32 p = Src->GetPixel(x, r.Pos);
                for (int c = 0; c < 4; ++c)
                    a.c[c] += static_cast<std::int32_t>((p >> (8 * c)) & 0xFF) * r.Weight;
            }
            buffer[static_cast<std::size_t>(x - minX)] = a;
        }
        TColor32* d = Dst->GetPixelPtr(DstClip.Left, DstClip.Top + static_cast<int>(j));
        for (std::size_t i = 0; i < mapX.size(); ++i) {
            std::int32_t a[4] = {0, 0, 0, 0};
            for (const TPointRec& e : mapX[i]) {
                const Acc& b = buffer[static_cast<std::size_t>(e.Pos - minX)];
                for (int c = 0; c < 4; ++c)
                    a[c] += b.c[c] * e.Weight;
            }
            const TColor32 color =
                channel(a[0]) | channel(a[1]) << 8 | channel(a[2]) << 16 | channel(a[3]) << 24;
            write(color, d[i]);
        }
    }
    EMMS();
}

void StretchLinear(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                   TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
    if (!Prepare(Dst, DstRect, DstClip, Src, SrcRect)) return;
    if (CombineOp == dmCustom && !CombineCallBack) CombineOp = dmOpaque;
    if (SrcRect.Right - SrcRect.Left < 2 || SrcRect.Bottom - SrcRect.Top < 2) {
        // No pixel pair to interpolate between: the linear kernel handles one-pixel sources.
        const TLinearKernel linear;
        KernelResample(Dst, DstRect, DstClip, Src, SrcRect, &linear, CombineOp, CombineCallBack);
        return;
    }
    if (FromCopyIfSame(Dst, Src, [&](TBitmap32* copy) {
            StretchLinear(Dst, DstRect, DstClip, copy, SrcRect, CombineOp, CombineCallBack);
        }))
        return;
    const auto mapX = LinearMap(DstRect.Left, DstRect.Right, DstClip.Left, DstClip.Right, SrcRect.Left,
                                SrcRect.Right, Src->Width());
    const auto mapY = LinearMap(DstRect.Top, DstRect.Bottom, DstClip.Top, DstClip.Bottom, SrcRect.Top,
                                SrcRect.Bottom, Src->Height());
    const PixelWriter write(Src, CombineOp, CombineCallBack);
    const std::size_t w = mapX.size();
    if (LinearInterpolator != LinearInterpolator_Pas) {
        for (std::size_t j = 0; j < mapY.size(); ++j) {
            const TColor32* upper = Src->GetScanLine(mapY[j].Index);
            const TColor32* lower = upper + Src->Width();
            TColor32* d = Dst->GetPixelPtr(DstClip.Left, DstClip.Top + static_cast<int>(j));
            for (std::size_t i = 0; i < w; ++i) {
                const int x = mapX[i].Index;
                write(LinearInterpolator(mapX[i].Weight, mapY[j].Weight, upper + x, lower + x), d[i]);
            }
        }
        EMMS();
        return;
    }
    // The plain interpolator mixes each row horizontally first: a source row's horizontal mix is made
    // once and serves every destination row that reads it.
    std::vector<unsigned> wx(w);
    for (std::size_t i = 0; i < w; ++i)
        wx[i] = std::min(mapX[i].Weight >> 16, 255u);
    std::vector<TColor32> rowA(w), rowB(w);
    int indexA = -1, indexB = -1;
    auto mix = [&](int y, std::vector<TColor32>& row) {
        const TColor32* s = Src->GetScanLine(y);
        for (std::size_t i = 0; i < w; ++i)
            row[i] = CombineReg(s[mapX[i].Index], s[mapX[i].Index + 1], wx[i]);
    };
    for (std::size_t j = 0; j < mapY.size(); ++j) {
        const int y = mapY[j].Index;
        if (y != indexA) {
            if (y == indexB) {
                std::swap(rowA, rowB);
                std::swap(indexA, indexB);
            } else {
                mix(y, rowA);
                indexA = y;
            }
        }
        if (indexB != y + 1) {
            mix(y + 1, rowB);
            indexB = y + 1;
        }
        const unsigned wy = std::min(mapY[j].Weight >> 16, 255u);
        TColor32* d = Dst->GetPixelPtr(DstClip.Left, DstClip.Top + static_cast<int>(j));
        if (CombineOp == dmOpaque) {
            for (std::size_t i = 0; i < w; ++i)
                d[i] = CombineReg(rowA[i], rowB[i], wy);
        } else {
            for (std::size_t i = 0; i < w; ++i)
                write(CombineReg(rowA[i], rowB[i], wy), d[i]);
        }
    }
    EMMS();
}

void StretchDraft(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                  TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
    if (!Prepare(Dst, DstRect, DstClip, Src, SrcRect)) return;
    if (CombineOp == dmCustom && !CombineCallBack) CombineOp = dmOpaque;
    if (FromCopyIfSame(Dst, Src, [&](TBitmap32* copy) {
            StretchDraft(Dst, DstRect, DstClip, copy, SrcRect, CombineOp, CombineCallBack);
        }))
        return;
    const std::int64_t srcW = SrcRect.Right - SrcRect.Left, srcH = SrcRect.Bottom - SrcRect.Top;
    const float scaleX =
        static_cast<float>(static_cast<double>(srcW) / (std::int64_t{DstRect.Right} - DstRect.Left));
    const float scaleY =
        static_cast<float>(static_cast<double>(srcH) / (std::int64_t{DstRect.Bottom} - DstRect.Top));
    const std::int64_t originX =
        SrcRect.Left + static_cast<std::int64_t>(static_cast<double>(DstClip.Left - DstRect.Left) * scaleX);
    const std::int64_t originY =
        SrcRect.Top + static_cast<std::int64_t>(static_cast<double>(DstClip.Top - DstRect.Top) * scaleY);
    const std::int64_t stepX = static_cast<std::int64_t>(65536.0 * scaleX);
    const std::int64_t stepY = static_cast<std::int64_t>(65536.0 * scaleY);
    const PixelWriter write(Src, CombineOp, CombineCallBack);
    const unsigned pitch = static_cast<unsigned>(Src->Width()) * 4;
    // Blocks are kept inside the source rectangle, whatever the float scale's last bit did.
    auto span = [](std::int64_t origin, std::int64_t step, std::int64_t k, std::int64_t lo, std::int64_t hi,
                   std::int64_t& first) {
        first = std::clamp(origin + ((k * step) >> 16), lo, hi - 1);
        const std::int64_t last = std::clamp(origin + (((k + 1) * step) >> 16), first + 1, hi);
        return static_cast<unsigned>(last - first);
    };
    for (int j = 0; j < DstClip.Bottom - DstClip.Top; ++j) {
        std::int64_t y0;
        const unsigned h = span(originY, stepY, j, SrcRect.Top, SrcRect.Bottom, y0);
        TColor32* d = Dst->GetPixelPtr(DstClip.Left, DstClip.Top + j);
        for (int i = 0; i < DstClip.Right - DstClip.Left; ++i) {
            std::int64_t x0;
            const unsigned w = span(originX, stepX, i, SrcRect.Left, SrcRect.Right, x0);
            write(BlockAverage(w, h, Src->GetPixelPtr(static_cast<int>(x0), static_cast<int>(y0)), pitch),
                  d[i]);
        }
    }
    EMMS();
}

} // namespace Bmp32_Resamplers
