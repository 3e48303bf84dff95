// Kernel samplers: a small integer kernel run over the neighbourhood of each sample of a nested sampler
// to convolve, dilate, erode, expand or contract; and the routines that apply one to a whole bitmap.
#pragma once

#include "bitmap32/Bmp32_OrdinalMaps.h"
#include "bitmap32/Bmp32_Samplers.h"

namespace Bmp32_Morph {

// Kernel cell (i, j) weighs the nested sample at (X + CenterX - i, Y + CenterY - j): the kernel is applied
// mirrored about its centre.
class TKernelSampler : public TNestedSampler {
public:
    explicit TKernelSampler(TCustomSampler* Sampler = nullptr) : TNestedSampler(Sampler) {}

    TIntegerMap* Kernel() { return &FKernel; }
    const TIntegerMap* Kernel() const { return &FKernel; }
    // Copies the size and values of Value; nullptr empties the kernel.
    void SetKernel(const TIntegerMap* Value);
    int CenterX() const { return FCenterX; }
    int CenterY() const { return FCenterY; }
    void SetCenterX(int Value) { FCenterX = Value; }
    void SetCenterY(int Value) { FCenterY = Value; }

    TColor32 GetSampleInt(int X, int Y) override;
    TColor32 GetSampleFixed(TFixed X, TFixed Y) override;

protected:
    void AssignTo(TPersistent* Dest) const override;
    // Called before the cells of one sample are visited, with the centre position.
    virtual void StartSample(int X, int Y) { (void)X, (void)Y; }
    virtual void StartSampleFixed(TFixed X, TFixed Y) { (void)X, (void)Y; }
    virtual void UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) = 0;
    // Each accumulator held to 0..65535 and shifted right by 8 (weights are 8.8 fixed point).
    virtual TColor32 ConvertBuffer(TBufferEntry& Buffer);

    TIntegerMap FKernel;
    int FCenterX = 0;
    int FCenterY = 0;
    TBufferEntry FStartEntry = EMPTY_ENTRY;
};

// The weighted sum of the neighbourhood.
class TConvolver : public TKernelSampler {
public:
    using TKernelSampler::TKernelSampler;

protected:
    void UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) override;
};

// Convolves only the channels within Delta of the centre's, each divided by the weights it took.
class TSelectiveConvolver : public TConvolver {
public:
    using TConvolver::TConvolver;

    int Delta() const { return FDelta; }
    void SetDelta(int Value) { FDelta = Value; }

protected:
    void AssignTo(TPersistent* Dest) const override;
    void StartSample(int X, int Y) override;
    void StartSampleFixed(TFixed X, TFixed Y) override;
    void UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) override;
    TColor32 ConvertBuffer(TBufferEntry& Buffer) override;

private:
    int FDelta = 30;
    TColor32 FCenter = 0;
    TBufferEntry FWeightSum = EMPTY_ENTRY;
};

// Channels held to 0..255 and packed as they stand.
class TMorphologicalSampler : public TKernelSampler {
public:
    using TKernelSampler::TKernelSampler;

protected:
    TColor32 ConvertBuffer(TBufferEntry& Buffer) override;
};

// Per channel the largest neighbour plus its cell's value.
class TDilater : public TMorphologicalSampler {
public:
    using TMorphologicalSampler::TMorphologicalSampler;

protected:
    void UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) override;
};

// Per channel the smallest neighbour less its cell's value.
class TEroder : public TMorphologicalSampler {
public:
    explicit TEroder(TCustomSampler* Sampler = nullptr);

protected:
    void UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) override;
};

// Per channel the largest neighbour times its cell's value (256 = 1.0).
class TExpander : public TKernelSampler {
public:
    using TKernelSampler::TKernelSampler;

protected:
    void UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) override;
};

// The expansion of the inverted picture, taken from the grey level of the largest kernel value.
class TContracter : public TExpander {
public:
    using TExpander::TExpander;

    void PrepareSampling() override;
    TColor32 GetSampleInt(int X, int Y) override;
    TColor32 GetSampleFixed(TFixed X, TFixed Y) override;

protected:
    void UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) override;

private:
    TColor32 FMaxWeight = 0;
};

// Dst takes Src's size and the kernel sampler's picture of Src (through Src's resampler), drawn by
// the default rasterizer. Kernel cell (CenterX, CenterY) weighs each pixel itself. Src may be Dst.
void Convolve(TBitmap32* Src, TBitmap32* Dst, const TIntegerMap* Kernel, int CenterX, int CenterY);
void Dilate(TBitmap32* Src, TBitmap32* Dst, const TIntegerMap* Kernel, int CenterX, int CenterY);
void Erode(TBitmap32* Src, TBitmap32* Dst, const TIntegerMap* Kernel, int CenterX, int CenterY);
void Expand(TBitmap32* Src, TBitmap32* Dst, const TIntegerMap* Kernel, int CenterX, int CenterY);
void Contract(TBitmap32* Src, TBitmap32* Dst, const TIntegerMap* Kernel, int CenterX, int CenterY);

} // namespace Bmp32_Morph

using namespace Bmp32_Morph;
