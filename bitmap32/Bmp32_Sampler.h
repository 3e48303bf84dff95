// The sampler interface: a colour at an integer, 16.16 or float position. Resamplers also perform
// the stretched transfers of their bitmap.
#pragma once

#include "bitmap32/Bmp32_Persistent.h"

namespace Bmp32 {

class TBitmap32;

// The integer, fixed and float samplers default to one another, so a descendant overrides at least
// one of GetSampleFixed and GetSampleFloat; one that overrides neither raises EAbstractSampler
// instead of recursing forever.
HARBEK_DECLARE_EXCEPTION(EAbstractSampler, Exception);

class TCustomSampler : public TNotifiablePersistent {
public:
    virtual TColor32 GetSampleInt(int X, int Y);
    virtual TColor32 GetSampleFixed(TFixed X, TFixed Y);
    virtual TColor32 GetSampleFloat(float X, float Y);
    virtual void PrepareSampling() {}
    virtual void FinalizeSampling() {}
    virtual bool HasBounds() { return false; }
    // The whole 32-bit plane unless the sampler has bounds.
    virtual TRect GetSampleBounds();

private:
    bool FInDefaultFixed = false;
};

class TCustomResampler : public TCustomSampler {
public:
    virtual float GetWidth() = 0;
    // Draws SrcRect of Src into DstRect of Dst, limited to DstClip (already clipped by the caller).
    virtual void Resample(TBitmap32* Dst, const TRect& DstRect, TRect DstClip, TBitmap32* Src, TRect SrcRect,
                          TDrawMode CombineOp, const TPixelCombineEvent& CombineCallBack) = 0;
};

} // namespace Bmp32
