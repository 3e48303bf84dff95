// The nearest-neighbour stretch, the bitmap resampler base with the nearest, linear and draft
// resamplers, the resampler and kernel registries and the plain block average and linear interpolator.
#include "bitmap32/Bmp32_Resamplers.h"

#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Samplers.h"
#include "bitmap32/Bmp32_TransferRows.h"
#include "bitmap32/Bmp32_Transforms.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace Bmp32_Resamplers {

namespace {

// The source index for destination index Index of a stretch from SrcLo..SrcLo + SrcSize onto DstSize
// pixels. The scale is a 32-bit float; the product and sum take extended precision, which decides the
// boundary columns. The result is kept inside the source span.
std::int64_t NearestIndex(std::int64_t SrcLo, std::int64_t SrcSize, std::int64_t DstSize,
                          std::int64_t Index) {
    std::int64_t r;
    if (DstSize < 2) {
        r = (SrcLo + SrcLo + SrcSize - 1) / 2;
    } else if (FullEdge) {
        const float scale = static_cast<float>(static_cast<long double>(SrcSize) / DstSize);
        r = static_cast<std::int64_t>(static_cast<long double>(SrcLo) +
                                      static_cast<long double>(Index) * scale);
    } else {
        const float scale = static_cast<float>(static_cast<long double>(SrcSize - 1) / (DstSize - 1));
        r = static_cast<std::int64_t>(
            std::nearbyintl(static_cast<long double>(SrcLo) + static_cast<long double>(Index) * scale));
    }
    return std::clamp(r, SrcLo, SrcLo + SrcSize - 1);
}

} // namespace

void StretchNearest(TBitmap32* Dst, TRect DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                    TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) {
    CheckBitmaps(Dst, Src);
    IntersectRect(DstClip, DstClip, Dst->BoundsRect());
    IntersectRect(DstClip, DstClip, DstRect);
    if (IsRectEmpty(DstClip)) return;
    if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Src->Width() || SrcRect.Bottom > Src->Height())
        throw Exception("Invalid SrcRect");
    if (IsRectEmpty(SrcRect) || Src->Empty()) return;
    if (CombineOp == dmCustom && !CombineCallBack) CombineOp = dmOpaque;
    const std::int64_t srcW = SrcRect.Right - SrcRect.Left, srcH = SrcRect.Bottom - SrcRect.Top;
    const std::int64_t dstW = std::int64_t{DstRect.Right} - DstRect.Left;
    const std::int64_t dstH = std::int64_t{DstRect.Bottom} - DstRect.Top;
    if (srcW == dstW && srcH == dstH) {
        TransferRows(Dst, DstClip, Src, SrcRect.Left + (DstClip.Left - DstRect.Left),
                     SrcRect.Top + (DstClip.Top - DstRect.Top), CombineOp, CombineCallBack);
        EMMS();
        return;
    }
    if (Src == Dst) {
        // Source rows would be read after destination rows overwrote them: stretch from a copy.
        TBitmap32 copy;
        Src->CopyMapTo(&copy);
        Src->CopyPropertiesTo(&copy);
        StretchNearest(Dst, DstRect, DstClip, &copy, SrcRect, CombineOp, CombineCallBack);
        return;
    }
    const int clipW = DstClip.Right - DstClip.Left, clipH = DstClip.Bottom - DstClip.Top;
    std::vector<int> mapX(static_cast<std::size_t>(clipW));
    for (int i = 0; i < clipW; ++i)
        mapX[static_cast<std::size_t>(i)] = static_cast<int>(
            NearestIndex(SrcRect.Left, srcW, dstW, std::int64_t{i} + DstClip.Left - DstRect.Left));

    std::vector<TColor32> buffer;
    if (CombineOp != dmOpaque) buffer.resize(static_cast<std::size_t>(clipW));
    std::int64_t prevY = -1;
    TColor32* prevRow = nullptr;
    for (int j = 0; j < clipH; ++j) {
        const std::int64_t srcY =
            NearestIndex(SrcRect.Top, srcH, dstH, std::int64_t{j} + DstClip.Top - DstRect.Top);
        TColor32* d = Dst->GetPixelPtr(DstClip.Left, DstClip.Top + j);
        const TColor32* s = Src->GetScanLine(static_cast<int>(srcY));
        if (CombineOp == dmOpaque) {
            if (srcY == prevY) {
                MoveLongword(prevRow, d, clipW);
            } else {
                for (int i = 0; i < clipW; ++i)
                    d[i] = s[mapX[static_cast<std::size_t>(i)]];
            }
        } else {
            if (srcY != prevY)
                for (int i = 0; i < clipW; ++i)
                    buffer[static_cast<std::size_t>(i)] = s[mapX[static_cast<std::size_t>(i)]];
            const TColor32* b = buffer.data();
            switch (CombineOp) {
            case dmBlend:
                if (Src->MasterAlpha() >= 255)
                    BLEND_LINE[Src->CombineMode()](b, d, clipW);
                else
                    BLEND_LINE_EX[Src->CombineMode()](b, d, clipW, Src->MasterAlpha());
                break;
            case dmTransparent:
                for (int i = 0; i < clipW; ++i)
                    if (b[i] != Src->OuterColor()) d[i] = b[i];
                break;
            case dmCustom:
                for (int i = 0; i < clipW; ++i)
                    CombineCallBack(b[i], d[i], Src->MasterAlpha());
                break;
            case dmOpaque:
                break;
            }
        }
        prevY = srcY;
        prevRow = d;
    }
    EMMS();
}

TColor32 BlockAverage_Pas(unsigned Width, unsigned Height, const TColor32* Src, unsigned Pitch) {
    // An empty block has no average; 0 rather than a division by zero.
    const std::uint64_t area = std::uint64_t{Width} * Height;
    if (area == 0) return 0;
    std::uint64_t sum[4] = {0, 0, 0, 0};
    const auto* row = reinterpret_cast<const std::uint8_t*>(Src);
    for (unsigned y = 0; y < Height; ++y, row += Pitch) {
        const auto* p = reinterpret_cast<const TColor32*>(row);
        for (unsigned x = 0; x < Width; ++x)
            for (int c = 0; c < 4; ++c)
                sum[c] += (p[x] >> (8 * c)) & 0xFF;
    }
    const std::uint64_t factor = 16777216 / area;
    TColor32 result = 0;
    for (int c = 0; c < 4; ++c)
        result |= static_cast<TColor32>(((sum[c] * factor) >> 24) & 0xFF) << (8 * c);
    return result;
}

TColor32 LinearInterpolator_Pas(unsigned WX, unsigned WY, const TColor32* P, const TColor32* Q) {
    const unsigned wx = std::min(WX >> 16, 255u), wy = std::min(WY >> 16, 255u);
    return CombineReg(CombineReg(P[0], P[1], wx), CombineReg(Q[0], Q[1], wx), wy);
}

TBlockAverage BlockAverage = BlockAverage_Pas;
TLinearInterpolator LinearInterpolator = LinearInterpolator_Pas;

TBitmap32Resampler::TBitmap32Resampler(TBitmap32* Bitmap)
    : FBitmap(Bitmap), FTransformerClass(&TTransformer::ClassRef) {
    if (FBitmap) {
        FClipRect = FBitmap->ClipRect();
        FBitmap->SetResampler(this);
    }
}

void TBitmap32Resampler::Changed() {
    if (FBitmap) FBitmap->Changed();
}

void TBitmap32Resampler::PrepareSampling() {
    if (FBitmap) FClipRect = FBitmap->ClipRect();
}

TRect TBitmap32Resampler::GetSampleBounds() {
    return FBitmap ? FBitmap->ClipRect() : TRect{};
}

void TBitmap32Resampler::SetPixelAccessMode(TPixelAccessMode Value) {
    if (FPixelAccessMode != Value) {
        FPixelAccessMode = Value;
        Changed();
    }
}

void TBitmap32Resampler::AssignTo(TPersistent* Dest) const {
    if (auto* dst = dynamic_cast<TBitmap32Resampler*>(Dest)) {
        dst->SetPixelAccessMode(FPixelAccessMode);
        return;
    }
    TCustomResampler::AssignTo(Dest);
}

const TResamplerClassOf<TNearestResampler> TNearestResampler::ClassRef{"TNearestResampler"};

TNearestResampler::TNearestResampler(TBitmap32* Bitmap) : TBitmap32Resampler(Bitmap) {
    FTransformerClass = &TNearestTransformer::ClassRef;
}

void TNearestResampler::PrepareSampling() {
    TBitmap32Resampler::PrepareSampling();
    switch (FPixelAccessMode) {
    case pamUnsafe:
        FGetSampleInt = &TBitmap32::GetPixel;
        break;
    case pamSafe:
        FGetSampleInt = &TBitmap32::GetPixelS;
        break;
    case pamWrap:
        FGetSampleInt = &TBitmap32::GetPixelW;
        break;
    }
}

TColor32 TNearestResampler::GetSampleInt(int X, int Y) {
    return (FBitmap->*FGetSampleInt)(X, Y);
}

TColor32 TNearestResampler::GetSampleFixed(TFixed X, TFixed Y) {
    return (FBitmap->*FGetSampleInt)(FixedRound(X), FixedRound(Y));
}

TColor32 TNearestResampler::GetSampleFloat(float X, float Y) {
    return (FBitmap->*FGetSampleInt)(RoundToInt(X), RoundToInt(Y));
}

void TNearestResampler::Resample(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src,
                                 TRect SrcRect, TDrawMode CombineOp,
                                 const TPixelCombineEvent& CombineCallBack) {
    StretchNearest(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
}

const TResamplerClassOf<TLinearResampler> TLinearResampler::ClassRef{"TLinearResampler"};

TLinearResampler::TLinearResampler(TBitmap32* Bitmap)
    : TBitmap32Resampler(nullptr), FLinearKernel(new TLinearKernel) {
    // Installed only once fully built, so that the bitmap never holds a half-made resampler.
    if (Bitmap) {
        FBitmap = Bitmap;
        FClipRect = Bitmap->ClipRect();
        Bitmap->SetResampler(this);
    }
}

TLinearResampler::~TLinearResampler() {
    delete FLinearKernel;
}

void TLinearResampler::PrepareSampling() {
    TBitmap32Resampler::PrepareSampling();
    switch (FPixelAccessMode) {
    case pamUnsafe:
        FGetSampleFixed = &TBitmap32::GetPixelX;
        break;
    case pamSafe:
        FGetSampleFixed = &TBitmap32::GetPixelXS;
        break;
    case pamWrap:
        FGetSampleFixed = &TBitmap32::GetPixelXW;
        break;
    }
}

TColor32 TLinearResampler::GetSampleFixed(TFixed X, TFixed Y) {
    return (FBitmap->*FGetSampleFixed)(X, Y);
}

TColor32 TLinearResampler::GetSampleFloat(float X, float Y) {
    return (FBitmap->*FGetSampleFixed)(RoundToInt(X * 65536.0), RoundToInt(Y * 65536.0));
}

void TLinearResampler::Resample(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src,
                                TRect SrcRect, TDrawMode CombineOp,
                                const TPixelCombineEvent& CombineCallBack) {
    const std::int64_t srcW = SrcRect.Right - SrcRect.Left, srcH = SrcRect.Bottom - SrcRect.Top;
    const std::int64_t dstW = std::int64_t{DstRect.Right} - DstRect.Left;
    const std::int64_t dstH = std::int64_t{DstRect.Bottom} - DstRect.Top;
    if (dstW > srcW && dstH > srcH && srcW > 1 && srcH > 1)
        StretchLinear(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
    else
        KernelResample(Dst, DstRect, DstClip, Src, SrcRect, FLinearKernel, CombineOp, CombineCallBack);
}

const TResamplerClassOf<TDraftResampler> TDraftResampler::ClassRef{"TDraftResampler"};

void TDraftResampler::Resample(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src,
                               TRect SrcRect, TDrawMode CombineOp,
                               const TPixelCombineEvent& CombineCallBack) {
    const std::int64_t srcW = SrcRect.Right - SrcRect.Left, srcH = SrcRect.Bottom - SrcRect.Top;
    const std::int64_t dstW = std::int64_t{DstRect.Right} - DstRect.Left;
    const std::int64_t dstH = std::int64_t{DstRect.Bottom} - DstRect.Top;
    if (srcW < dstW || srcH < dstH) {
        if (srcW < 2 || srcH < 2)
            KernelResample(Dst, DstRect, DstClip, Src, SrcRect, FLinearKernel, CombineOp, CombineCallBack);
        else
            StretchLinear(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
    } else {
        StretchDraft(Dst, DstRect, DstClip, Src, SrcRect, CombineOp, CombineCallBack);
    }
}

namespace {

std::unique_ptr<TClassList>& Registry() {
    static std::unique_ptr<TClassList> list;
    return list;
}

struct StartUp {
    StartUp() {
        RegisterResampler(&TNearestResampler::ClassRef);
        RegisterResampler(&TLinearResampler::ClassRef);
        RegisterResampler(&TDraftResampler::ClassRef);
        RegisterResampler(&TKernelResampler::ClassRef);
        for (const TKernelClass* k : {static_cast<const TKernelClass*>(&TBoxKernel::Class),
                                      static_cast<const TKernelClass*>(&TLinearKernel::Class),
                                      static_cast<const TKernelClass*>(&TCosineKernel::Class),
                                      static_cast<const TKernelClass*>(&TSplineKernel::Class),
                                      static_cast<const TKernelClass*>(&TCubicKernel::Class),
                                      static_cast<const TKernelClass*>(&TMitchellKernel::Class),
                                      static_cast<const TKernelClass*>(&TLanczosKernel::Class),
                                      static_cast<const TKernelClass*>(&TGaussianKernel::Class),
                                      static_cast<const TKernelClass*>(&TBlackmanKernel::Class),
                                      static_cast<const TKernelClass*>(&THannKernel::Class),
                                      static_cast<const TKernelClass*>(&THammingKernel::Class),
                                      static_cast<const TKernelClass*>(&TSinshKernel::Class),
                                      static_cast<const TKernelClass*>(&THermiteKernel::Class)})
            RegisterKernel(k);
    }
} startUp;

} // namespace

TClassList* ResamplerList() {
    return Registry().get();
}

void RegisterResampler(const TBitmap32ResamplerClass* ResamplerClass) {
    if (!Registry()) Registry() = std::make_unique<TClassList>();
    Registry()->Add(ResamplerClass);
}

} // namespace Bmp32_Resamplers
