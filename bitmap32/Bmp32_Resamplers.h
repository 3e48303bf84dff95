// Block and stretch transfers between bitmaps, the bitmap resamplers (nearest, linear, draft and
// kernel-based) and the registry in which resamplers are found by class name.
#pragma once

#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Containers.h"
#include "bitmap32/Bmp32_Kernels.h"

#include <vector>

namespace Bmp32_Samplers {
class TTransformerClass;
}

namespace Bmp32_Resamplers {

HARBEK_DECLARE_EXCEPTION(ESrcInvalidException, Exception);

using TBlendReg = Bmp32_Blend::TBlendReg;
using TBlendRegEx = Bmp32_Blend::TBlendRegEx;

// SrcRect of Src to (DstX, DstY) of Dst, limited to DstClip, by CombineOp. Reports the unclipped
// destination area, also in measuring mode. Raise EBitmapException for nil bitmaps.
void BlockTransfer(TBitmap32* Dst, int DstX, int DstY, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                   TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack = nullptr);
// At a 16.16 position with a bilinear sub-pixel shift; always blends with the source's master alpha
// and combine mode.
void BlockTransferX(TBitmap32* Dst, TFixed DstX, TFixed DstY, TBitmap32* Src, TRect SrcRect,
                    TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack = nullptr);
// Dst pixel = BlendCallback(SrcF pixel, SrcB pixel [, MasterAlpha]) where SrcRectF's and SrcRectB's
// top-left corners land on (DstX, DstY).
void BlendTransfer(TBitmap32* Dst, int DstX, int DstY, TRect DstClip, TBitmap32* SrcF, TRect SrcRectF,
                   TBitmap32* SrcB, TRect SrcRectB, TBlendReg BlendCallback);
void BlendTransfer(TBitmap32* Dst, int DstX, int DstY, TRect DstClip, TBitmap32* SrcF, TRect SrcRectF,
                   TBitmap32* SrcB, TRect SrcRectB, TBlendRegEx BlendCallback, int MasterAlpha);
// SrcRect onto DstRect: a row transfer for equal sizes, else the resampler. A SrcRect outside the
// source raises ESrcInvalidException "Source rectangle is invalid".
void StretchTransfer(TBitmap32* Dst, TRect DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                     TCustomResampler* Resampler, TDrawMode CombineOp,
                     const TPixelCombineEvent& CombineCallBack = nullptr);
// The nearest-neighbour stretch; raises Exception "Invalid SrcRect" for a SrcRect outside the source.
void StretchNearest(TBitmap32* Dst, TRect DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                    TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack = nullptr);

// The per-channel average of a W x H block whose rows are Pitch bytes apart.
using TBlockAverage = TColor32 (*)(unsigned Width, unsigned Height, const TColor32* Src, unsigned Pitch);
// The bilinear mix of two pixel pairs: WX, WY in 16.16 (their integer part is the weight of the left
// column / top row); P points at two pixels of the upper row, Q at two of the lower.
using TLinearInterpolator = TColor32 (*)(unsigned WX, unsigned WY, const TColor32* P, const TColor32* Q);
extern TBlockAverage BlockAverage;
extern TLinearInterpolator LinearInterpolator;
TColor32 BlockAverage_Pas(unsigned Width, unsigned Height, const TColor32* Src, unsigned Pitch);
TColor32 LinearInterpolator_Pas(unsigned WX, unsigned WY, const TColor32* P, const TColor32* Q);

enum TPixelAccessMode : std::uint8_t { pamUnsafe, pamSafe, pamWrap };
enum TKernelMode : std::uint8_t { kmDynamic, kmTableNearest, kmTableLinear };

// One source column (or row) of a kernel resample and its weight, 256 = 1.0.
struct TPointRec {
    int Pos;
    int Weight;
    bool operator==(const TPointRec&) const = default;
};
// The source entries of one destination column (or row); their weights sum to 256.
using TCluster = std::vector<TPointRec>;
using TMappingTable = std::vector<TCluster>;

// One cluster per destination index ClipLo..ClipHi - 1 of a stretch from SrcLo..SrcHi onto
// DstLo..DstHi; every Pos lies in SrcLo..SrcHi - 1.
TMappingTable BuildMappingTable(int DstLo, int DstHi, int ClipLo, int ClipHi, int SrcLo, int SrcHi,
                                const TCustomKernel* Kernel);
// The separable kernel stretch: each source row filtered once per destination row, then the columns.
void KernelResample(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                    const TCustomKernel* Kernel, TDrawMode CombineOp,
                    const TPixelCombineEvent& CombineCallBack);
// The bilinear enlargement through LinearInterpolator; the source must be at least 2 x 2.
void StretchLinear(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                   TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack);
// The block-average reduction of the draft resampler (source at least as large on both axes).
void StretchDraft(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                  TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack);

class TBitmap32Resampler;

// A resampler class reference: its name and how to make one for a bitmap.
class TBitmap32ResamplerClass : public TMetaClass {
public:
    using TMetaClass::TMetaClass;
    virtual TBitmap32Resampler* Create(TBitmap32* Bitmap) const = 0;
};

template <class T>
class TResamplerClassOf : public TBitmap32ResamplerClass {
public:
    using TBitmap32ResamplerClass::TBitmap32ResamplerClass;
    TBitmap32Resampler* Create(TBitmap32* Bitmap) const override { return new T(Bitmap); }
};

class TBitmap32Resampler : public TCustomResampler {
public:
    // With a bitmap, the new resampler installs itself as the bitmap's (which then owns it).
    explicit TBitmap32Resampler(TBitmap32* Bitmap);

    void Changed() override;
    void PrepareSampling() override;
    bool HasBounds() override { return true; }
    TRect GetSampleBounds() override;

    TBitmap32* Bitmap() const { return FBitmap; }
    TPixelAccessMode PixelAccessMode() const { return FPixelAccessMode; }
    void SetPixelAccessMode(TPixelAccessMode Value);
    // The transformer class that transformation code wraps around this resampler.
    const Bmp32_Samplers::TTransformerClass* TransformerClass() const { return FTransformerClass; }
    void SetTransformerClass(const Bmp32_Samplers::TTransformerClass* Value) { FTransformerClass = Value; }

protected:
    void AssignTo(TPersistent* Dest) const override;

    TBitmap32* FBitmap;
    TRect FClipRect;
    TPixelAccessMode FPixelAccessMode = pamSafe;
    const Bmp32_Samplers::TTransformerClass* FTransformerClass;
};

class TNearestResampler : public TBitmap32Resampler {
public:
    explicit TNearestResampler(TBitmap32* Bitmap);

    float GetWidth() override { return 1; }
    void PrepareSampling() override;
    TColor32 GetSampleInt(int X, int Y) override;
    TColor32 GetSampleFixed(TFixed X, TFixed Y) override;
    TColor32 GetSampleFloat(float X, float Y) override;
    void Resample(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                  TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) override;

    static const TResamplerClassOf<TNearestResampler> ClassRef;

private:
    TColor32 (TBitmap32::*FGetSampleInt)(int X, int Y) const = &TBitmap32::GetPixelS;
};

// Bilinear sampling at 16.16 positions; stretches bilinearly when enlarging on both axes, else
// through its own linear kernel.
class TLinearResampler : public TBitmap32Resampler {
public:
    explicit TLinearResampler(TBitmap32* Bitmap);
    ~TLinearResampler() override;

    float GetWidth() override { return 1; }
    void PrepareSampling() override;
    TColor32 GetSampleFixed(TFixed X, TFixed Y) override;
    TColor32 GetSampleFloat(float X, float Y) override;
    void Resample(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                  TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) override;

    static const TResamplerClassOf<TLinearResampler> ClassRef;

protected:
    TLinearKernel* FLinearKernel;

private:
    TColor32 (TBitmap32::*FGetSampleFixed)(TFixed X, TFixed Y) const = &TBitmap32::GetPixelXS;
};

// Samples as the linear resampler; shrinks by block averages.
class TDraftResampler : public TLinearResampler {
public:
    using TLinearResampler::TLinearResampler;
    void Resample(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                  TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) override;

    static const TResamplerClassOf<TDraftResampler> ClassRef;
};

// Samples and stretches through a reconstruction kernel (a box kernel at first).
class TKernelResampler : public TBitmap32Resampler {
public:
    explicit TKernelResampler(TBitmap32* Bitmap);
    ~TKernelResampler() override;

    float GetWidth() override { return FKernel->GetWidth(); }
    void PrepareSampling() override;
    void FinalizeSampling() override;
    TColor32 GetSampleFloat(float X, float Y) override;
    void Resample(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                  TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) override;

    TCustomKernel* Kernel() const { return FKernel; }
    // Takes ownership; nullptr or the current kernel is ignored.
    void SetKernel(TCustomKernel* Kernel);
    std::string KernelClassName() const;
    // A registered kernel class by name; empty or unknown names change nothing.
    void SetKernelClassName(const std::string& Value);
    TKernelMode KernelMode() const { return FKernelMode; }
    void SetKernelMode(TKernelMode Value);
    int TableSize() const { return FTableSize; }
    // Values below 2 become 2.
    void SetTableSize(int Value);

    static const TResamplerClassOf<TKernelResampler> ClassRef;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    void FillWeights(std::vector<int>& Weights, float Frac) const;

    TCustomKernel* FKernel;
    TKernelMode FKernelMode = kmDynamic;
    int FTableSize = 32;
    TColor32 FOuterColor = 0;
    // Prepared for one sampling pass: the kernel's half width W, (TableSize + 1) rows of 2W + 1
    // weights in the table modes, and scratch weights per axis.
    int FW = 0;
    std::vector<int> FWeightTable;
    std::vector<int> FHorzWeights, FVertWeights;
    bool FPrepared = false;
};

// The resampler registry, created by the first registration; nullptr before it.
TClassList* ResamplerList();
void RegisterResampler(const TBitmap32ResamplerClass* ResamplerClass);

} // namespace Bmp32_Resamplers

using namespace Bmp32_Resamplers;
