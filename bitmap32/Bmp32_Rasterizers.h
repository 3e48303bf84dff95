// Rasterizers fill a rectangle of a bitmap with colours taken from a sampler at each pixel's integer
// position. They differ in the order they visit the pixels and in how often they report changed
// areas, so that a slow sampler shows a picture that fills in as it goes.
#pragma once

#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Containers.h"

namespace Bmp32_Rasterizers {

struct TCombineInfo {
    int SrcAlpha = 255;
    TDrawMode DrawMode = dmOpaque;
    TCombineMode CombineMode = cmBlend;
    TPixelCombineEvent CombineCallBack;
    TColor32 TransparentColor = clBlack32;
};

// Src's master alpha, drawing and combine modes, pixel-combine handler and outer colour (as the
// transparent colour); a custom mode without a handler becomes opaque.
TCombineInfo CombineInfo(const TBitmap32* Src);

class TRasterizer;

// A rasterizer class reference: its name and how to make one.
class TRasterizerClass : public TMetaClass {
public:
    using TMetaClass::TMetaClass;
    virtual TRasterizer* Create() const = 0;
};

template <class T>
class TRasterizerClassOf : public TRasterizerClass {
public:
    using TRasterizerClass::TRasterizerClass;
    TRasterizer* Create() const override { return new T(); }
};

class TRasterizer : public TThreadPersistent {
public:
    // Borrowed: the caller keeps it alive during Rasterize.
    TCustomSampler* Sampler() const { return FSampler; }
    void SetSampler(TCustomSampler* Value);

    // Over Dst's bounds; with the default combine info; with Src's combine info.
    void Rasterize(TBitmap32* Dst);
    void Rasterize(TBitmap32* Dst, const TRect& DstRect);
    void Rasterize(TBitmap32* Dst, const TRect& DstRect, const TBitmap32* Src);
    void Rasterize(TBitmap32* Dst, const TRect& DstRect, const TCombineInfo& CombineInfo);
    // DstRect is cut to Dst and to the sampler's bounds. Without a sampler nothing happens. Dst's
    // update count is restored and the sampler finalized also when sampling raises.
    void Rasterize(TBitmap32* Dst, const TRect& DstRect, int SrcAlpha, TDrawMode DstDrawMode,
                   TCombineMode CombineMode, const TPixelCombineEvent& CombineCallBack);

protected:
    void AssignTo(TPersistent* Dest) const override;
    // Visits the pixels of DstRect, which lies inside Dst.
    virtual void DoRasterize(TBitmap32* Dst, const TRect& DstRect) = 0;

    void AssignColor(TColor32& Dst, TColor32 Src) { (this->*FAssignColor)(Dst, Src); }
    // Whether pixels are plainly stored, so that a row can be written without the assign step.
    bool Opaque() const { return FAssignColor == &TRasterizer::AssignColorOpaque; }
    static void Report(TBitmap32* Dst, const TRect& Area) { Dst->Changed(Area, AREAINFO_RECT); }

    TCustomSampler* FSampler = nullptr;

private:
    void AssignColorOpaque(TColor32& Dst, TColor32 Src);
    void AssignColorBlend(TColor32& Dst, TColor32 Src);
    void AssignColorCustom(TColor32& Dst, TColor32 Src);
    void AssignColorTransparent(TColor32& Dst, TColor32 Src);

    int FSrcAlpha = 255;
    Bmp32_Blend::TBlendMemEx FBlendMemEx = nullptr;
    TPixelCombineEvent FCombineCallBack;
    void (TRasterizer::*FAssignColor)(TColor32& Dst, TColor32 Src) = &TRasterizer::AssignColorOpaque;
    TColor32 FTransparentColor = clBlack32;
};

// Rows top to bottom, each left to right; a report every UpdateRowCount rows (0: once at the end).
class TRegularRasterizer : public TRasterizer {
public:
    int UpdateRowCount() const { return FUpdateRowCount; }
    void SetUpdateRowCount(int Value) { FUpdateRowCount = Value; }

    static const TRasterizerClassOf<TRegularRasterizer> ClassRef;

protected:
    void AssignTo(TPersistent* Dest) const override;
    void DoRasterize(TBitmap32* Dst, const TRect& DstRect) override;

private:
    int FUpdateRowCount = 0;
};

// Z-order (bit-interleaved) over the rectangle; reports blocks of 2^BlockSize pixels.
class TSwizzlingRasterizer : public TRasterizer {
public:
    int BlockSize() const { return FBlockSize; }
    void SetBlockSize(int Value);

    static const TRasterizerClassOf<TSwizzlingRasterizer> ClassRef;

protected:
    void AssignTo(TPersistent* Dest) const override;
    void DoRasterize(TBitmap32* Dst, const TRect& DstRect) override;

private:
    int FBlockSize = 3;
};

// Blocks of 2^Steps pixels first, each filled with the sample at its top-left, then halving blocks.
// Fills go straight into the pixels, whatever the drawing mode.
class TProgressiveRasterizer : public TRasterizer {
public:
    int Steps() const { return FSteps; }
    void SetSteps(int Value);
    bool UpdateRows() const { return FUpdateRows; }
    void SetUpdateRows(bool Value);

    static const TRasterizerClassOf<TProgressiveRasterizer> ClassRef;

protected:
    void AssignTo(TPersistent* Dest) const override;
    void DoRasterize(TBitmap32* Dst, const TRect& DstRect) override;

private:
    int FSteps = 4;
    bool FUpdateRows = true;
};

// The top row and left column, then lines that halve the remaining areas in turn.
class TTesseralRasterizer : public TRasterizer {
public:
    static const TRasterizerClassOf<TTesseralRasterizer> ClassRef;

protected:
    void DoRasterize(TBitmap32* Dst, const TRect& DstRect) override;

private:
    void SplitHorizontal(TBitmap32* Dst, int X, int Y, int W, int H);
    void SplitVertical(TBitmap32* Dst, int X, int Y, int W, int H);
};

// A greedy walk that follows the neighbour of least colour change.
class TContourRasterizer : public TRasterizer {
public:
    static const TRasterizerClassOf<TContourRasterizer> ClassRef;

protected:
    void DoRasterize(TBitmap32* Dst, const TRect& DstRect) override;
};

// The class Transform and the filters use when given no rasterizer.
extern const TRasterizerClass* DefaultRasterizerClass;

} // namespace Bmp32_Rasterizers

using namespace Bmp32_Rasterizers;
