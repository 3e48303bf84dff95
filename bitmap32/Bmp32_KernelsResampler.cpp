// The kernel resampler: sampling through a reconstruction kernel, computed per sample or read from a
// table of prepared weights, and stretching through the separable kernel stretch.
#include "bitmap32/Bmp32_Resamplers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Bmp32_Resamplers {

namespace {

int RoundHalfEven(double Value) {
    return static_cast<int>(std::nearbyint(Value));
}

// The weights of one axis at offsets -W..W whose centre entry makes the sum 256.
void Normalize(std::vector<int>& Weights, int W) {
    int sum = 0;
    for (int w : Weights)
        sum += w;
    Weights[static_cast<std::size_t>(W)] += 256 - sum;
}

} // namespace

TKernelResampler::TKernelResampler(TBitmap32* Bitmap) : TBitmap32Resampler(nullptr), FKernel(new TBoxKernel) {
    FKernel->Observer = this;
    // Installed only once fully built, so that the bitmap never holds a half-made resampler.
    if (Bitmap) {
        FBitmap = Bitmap;
        FClipRect = Bitmap->ClipRect();
        Bitmap->SetResampler(this);
    }
}

TKernelResampler::~TKernelResampler() {
    delete FKernel;
}

void TKernelResampler::SetKernel(TCustomKernel* Kernel) {
    if (!Kernel || Kernel == FKernel) return;
    delete FKernel;
    FKernel = Kernel;
    FKernel->Observer = this;
    FPrepared = false;
    Changed();
}

std::string TKernelResampler::KernelClassName() const {
    return FKernel->ClassRef()->ClassName();
}

void TKernelResampler::SetKernelClassName(const std::string& Value) {
    if (Value.empty() || Value == KernelClassName() || !KernelList()) return;
    if (auto* cls = dynamic_cast<const TKernelClass*>(KernelList()->Find(Value))) SetKernel(cls->Create());
}

void TKernelResampler::SetKernelMode(TKernelMode Value) {
    if (FKernelMode != Value) {
        FKernelMode = Value;
        FPrepared = false;
        Changed();
    }
}

void TKernelResampler::SetTableSize(int Value) {
    Value = std::max(Value, 2);
    if (FTableSize != Value) {
        FTableSize = Value;
        FPrepared = false;
        Changed();
    }
}

void TKernelResampler::AssignTo(TPersistent* Dest) const {
    if (auto* dst = dynamic_cast<TKernelResampler*>(Dest)) {
        dst->SetKernelClassName(KernelClassName());
        dst->FKernel->Assign(FKernel);
        dst->SetKernelMode(FKernelMode);
        dst->SetTableSize(FTableSize);
    }
    TBitmap32Resampler::AssignTo(Dest);
}

void TKernelResampler::FillWeights(std::vector<int>& Weights, float Frac) const {
    for (int k = -FW; k <= FW; ++k)
        Weights[static_cast<std::size_t>(k + FW)] =
            RoundHalfEven(FKernel->Filter(static_cast<float>(k + static_cast<double>(Frac))) * 256.0);
    Normalize(Weights, FW);
}

void TKernelResampler::PrepareSampling() {
    TBitmap32Resampler::PrepareSampling();
    if (FBitmap) FOuterColor = FBitmap->OuterColor();
    const float width = FKernel->GetWidth();
    // A kernel of no (or no sensible) width reads the centre pixel only.
    FW = std::isfinite(width) && width > 0 ? static_cast<int>(std::ceil(static_cast<double>(width))) : 0;
    const std::size_t taps = static_cast<std::size_t>(2 * FW + 1);
    FHorzWeights.assign(taps, 0);
    FVertWeights.assign(taps, 0);
    FWeightTable.clear();
    if (FKernelMode != kmDynamic) {
        std::vector<int> row(taps);
        FWeightTable.reserve(taps * static_cast<std::size_t>(FTableSize + 1));
        for (int r = 0; r <= FTableSize; ++r) {
            FillWeights(row, static_cast<float>(static_cast<double>(r) / (FTableSize - 1)));
            FWeightTable.insert(FWeightTable.end(), row.begin(), row.end());
        }
    }
    FPrepared = true;
}

void TKernelResampler::FinalizeSampling() {
    FWeightTable = {};
    FHorzWeights = {};
    FVertWeights = {};
    FPrepared = false;
}

TColor32 TKernelResampler::GetSampleFloat(float X, float Y) {
    if (!FBitmap) return FOuterColor;
    if (!FPrepared) PrepareSampling();
    const int W = FW;
    // Positions far outside any bitmap (or not numbers at all) would overflow the pixel indexes.
    if (!(std::fabs(X) < 1e9f && std::fabs(Y) < 1e9f)) return FOuterColor;
    const int cx = static_cast<int>(std::ceil(static_cast<double>(X)));
    const int cy = static_cast<int>(std::ceil(static_cast<double>(Y)));
    int colLo = -W, colHi = W, rowLo = -W, rowHi = W;
    if (FPixelAccessMode == pamSafe) {
        const TRect& clip = FClipRect;
        if (cx - W < clip.Left) {
            if (cx < clip.Left) return FOuterColor;
            colLo = clip.Left - cx;
        }
        if (clip.Right <= cx + W) {
            if (clip.Right < cx) return FOuterColor;
            colHi = clip.Right - cx - 1;
        }
        if (cy - W < clip.Top) {
            if (cy < clip.Top) return FOuterColor;
            rowLo = clip.Top - cy;
        }
        if (clip.Bottom <= cy + W) {
            if (clip.Bottom < cy) return FOuterColor;
            rowHi = clip.Bottom - cy - 1;
        }
    } else if (FPixelAccessMode == pamWrap && FBitmap->Empty()) {
        return FOuterColor;
    }

    const float fx = static_cast<float>(cx - static_cast<double>(X));
    const float fy = static_cast<float>(cy - static_cast<double>(Y));
    const std::size_t taps = static_cast<std::size_t>(2 * W + 1);
    const int* horz;
    const int* vert;
    switch (FKernelMode) {
    case kmDynamic:
        FillWeights(FHorzWeights, fx);
        FillWeights(FVertWeights, fy);
        horz = FHorzWeights.data();
        vert = FVertWeights.data();
        break;
    case kmTableNearest:
        horz = &FWeightTable[taps * static_cast<std::size_t>(RoundHalfEven(fx * (FTableSize - 1.0)))];
        vert = &FWeightTable[taps * static_cast<std::size_t>(RoundHalfEven(fy * (FTableSize - 1.0)))];
        break;
    case kmTableLinear: {
        auto interpolate = [&](float f, std::vector<int>& weights) {
            const std::int64_t v = std::llround(std::nearbyint(f * (FTableSize - 1.0) * 65536.0));
            const int* row = &FWeightTable[taps * static_cast<std::size_t>(v >> 16)];
            const int* next = row + taps;
            const std::int32_t frac = static_cast<std::int32_t>(v & 0xFFFF);
            for (std::size_t k = 0; k < taps; ++k)
                weights[k] = row[k] + static_cast<std::int16_t>(((next[k] - row[k]) * frac + 0x7FFF) >> 16);
            Normalize(weights, W);
        };
        interpolate(fx, FHorzWeights);
        interpolate(fy, FVertWeights);
        horz = FHorzWeights.data();
        vert = FVertWeights.data();
        break;
    }
    default:
        return FOuterColor;
    }

    const bool wrap = FPixelAccessMode == pamWrap;
    const TWrapProc wrapProc = WRAP_PROCS[FBitmap->WrapMode()];
    const int maxX = FBitmap->Width() - 1, maxY = FBitmap->Height() - 1;
    // A one-pixel axis has nothing to wrap or mirror over (and would divide by zero).
    auto wrapped = [&](int v, int max) { return max == 0 ? 0 : wrapProc(v, max); };
    std::int32_t acc[4] = {0, 0, 0, 0};
    for (int j = rowLo; j <= rowHi; ++j) {
        const int wy = vert[j + W];
        if (wy == 0) continue;
        const int y = wrap ? wrapped(cy + j, maxY) : cy + j;
        std::int32_t rowAcc[4] = {0, 0, 0, 0};
        for (int i = colLo; i <= colHi; ++i) {
            const int x = wrap ? wrapped(cx + i, maxX) : cx + i;
            const TColor32 p = FBitmap->GetPixel(x, y);
            const int wx = horz[i + W];
            for (int c = 0; c < 4; ++c)
                rowAcc[c] += static_cast<std::int32_t>((p >> (8 * c)) & 0xFF) * wx;
        }
        for (int c = 0; c < 4; ++c)
            acc[c] += rowAcc[c] * wy;
    }
    const bool rangeCheck = FKernel->RangeCheck();
    TColor32 result = 0;
    for (int c = 0; c < 4; ++c) {
        TColor32 v;
        if (rangeCheck)
            v = static_cast<TColor32>(std::clamp<int>(static_cast<std::int16_t>(acc[c] >> 16), 0, 255));
        else
            v = (static_cast<TColor32>(acc[c]) >> 16) & 0xFF;
        result |= v << (8 * c);
    }
    return result;
}

void TKernelResampler::Resample(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src,
                                TRect SrcRect, TDrawMode CombineOp,
                                const TPixelCombineEvent& CombineCallBack) {
    KernelResample(Dst, DstRect, DstClip, Src, SrcRect, FKernel, CombineOp, CombineCallBack);
}

const TResamplerClassOf<TKernelResampler> TKernelResampler::ClassRef{"TKernelResampler"};

} // namespace Bmp32_Resamplers
