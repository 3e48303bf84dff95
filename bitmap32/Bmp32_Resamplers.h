// Block and stretch transfers between bitmaps, the bitmap resampler base, the nearest-neighbour
// resampler and the registry in which resamplers are found by class name.
#pragma once

#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Containers.h"

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

protected:
    void AssignTo(TPersistent* Dest) const override;

    TBitmap32* FBitmap;
    TRect FClipRect;
    TPixelAccessMode FPixelAccessMode = pamSafe;
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

// The resampler registry, created by the first registration; nullptr before it.
TClassList* ResamplerList();
void RegisterResampler(const TBitmap32ResamplerClass* ResamplerClass);

} // namespace Bmp32_Resamplers

using namespace Bmp32_Resamplers;
