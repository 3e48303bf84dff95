// Kernel samplers and the whole-bitmap convolution and morphological filters.
#include "bitmap32/Bmp32_Morph.h"

#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Rasterizers.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace Bmp32_Morph {

namespace {

std::int32_t* Channel(TBufferEntry& Buffer, int C) {
    switch (C) {
    case 0:
        return &Buffer.B;
    case 1:
        return &Buffer.G;
    case 2:
        return &Buffer.R;
    default:
        return &Buffer.A;
    }
}

int ChannelOf(TColor32 Color, int C) {
    return static_cast<int>((Color >> (8 * C)) & 0xFF);
}

} // namespace

// ---- TKernelSampler ----

void TKernelSampler::SetKernel(const TIntegerMap* Value) {
    if (Value == &FKernel) return;
    if (!Value) {
        FKernel.SetSize(0, 0);
        return;
    }
    FKernel.SetSize(Value->Width(), Value->Height());
    if (!FKernel.Empty())
        std::copy(Value->Bits(), Value->Bits() + static_cast<std::size_t>(Value->Width()) * Value->Height(),
                  FKernel.Bits());
}

TColor32 TKernelSampler::GetSampleInt(int X, int Y) {
    TCustomSampler* nested = Nested();
    StartSample(X, Y);
    TBufferEntry buffer = FStartEntry;
    for (int i = 0; i < FKernel.Width(); ++i)
        for (int j = 0; j < FKernel.Height(); ++j)
            UpdateBuffer(buffer, nested->GetSampleInt(X + FCenterX - i, Y + FCenterY - j),
                         FKernel.Value(i, j));
    return ConvertBuffer(buffer);
}

TColor32 TKernelSampler::GetSampleFixed(TFixed X, TFixed Y) {
    TCustomSampler* nested = Nested();
    StartSampleFixed(X, Y);
    TBufferEntry buffer = FStartEntry;
    for (int i = 0; i < FKernel.Width(); ++i)
        for (int j = 0; j < FKernel.Height(); ++j)
            UpdateBuffer(buffer, nested->GetSampleFixed(X + Fixed(FCenterX - i), Y + Fixed(FCenterY - j)),
                         FKernel.Value(i, j));
    return ConvertBuffer(buffer);
}

TColor32 TKernelSampler::ConvertBuffer(TBufferEntry& Buffer) {
    for (int c = 0; c < 4; ++c)
        *Channel(Buffer, c) = std::clamp(*Channel(Buffer, c), 0, 65535);
    return BufferToColor32(Buffer, 8);
}

void TKernelSampler::AssignTo(TPersistent* Dest) const {
    if (auto* dst = dynamic_cast<TKernelSampler*>(Dest)) {
        dst->SetKernel(&FKernel);
        dst->SetCenterX(FCenterX);
        dst->SetCenterY(FCenterY);
    }
    TNestedSampler::AssignTo(Dest);
}

// ---- convolvers ----

void TConvolver::UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) {
    for (int c = 0; c < 4; ++c)
        *Channel(Buffer, c) += ChannelOf(Color, c) * Weight;
}

void TSelectiveConvolver::AssignTo(TPersistent* Dest) const {
    if (auto* dst = dynamic_cast<TSelectiveConvolver*>(Dest)) dst->SetDelta(FDelta);
    TConvolver::AssignTo(Dest);
}

void TSelectiveConvolver::StartSample(int X, int Y) {
    FCenter = Nested()->GetSampleInt(X, Y);
    FWeightSum = EMPTY_ENTRY;
}

void TSelectiveConvolver::StartSampleFixed(TFixed X, TFixed Y) {
    FCenter = Nested()->GetSampleFixed(X, Y);
    FWeightSum = EMPTY_ENTRY;
}

void TSelectiveConvolver::UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) {
    for (int c = 0; c < 4; ++c) {
        const int v = ChannelOf(Color, c);
        if (std::abs(v - ChannelOf(FCenter, c)) <= FDelta) {
            *Channel(Buffer, c) += v * Weight;
            *Channel(FWeightSum, c) += Weight;
        }
    }
}

TColor32 TSelectiveConvolver::ConvertBuffer(TBufferEntry& Buffer) {
    for (int c = 0; c < 4; ++c) {
        const std::int32_t sum = *Channel(FWeightSum, c);
        // A channel that took no weight keeps the centre's value rather than dividing by zero.
        *Channel(Buffer, c) = sum == 0
                                  ? ChannelOf(FCenter, c) << 8
                                  : static_cast<std::int32_t>(std::int64_t{*Channel(Buffer, c)} * 256 / sum);
    }
    return TConvolver::ConvertBuffer(Buffer);
}

// ---- morphological samplers ----

TColor32 TMorphologicalSampler::ConvertBuffer(TBufferEntry& Buffer) {
    for (int c = 0; c < 4; ++c)
        *Channel(Buffer, c) = std::clamp(*Channel(Buffer, c), 0, 255);
    return BufferToColor32(Buffer, 0);
}

void TDilater::UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) {
    for (int c = 0; c < 4; ++c)
        *Channel(Buffer, c) = std::max(*Channel(Buffer, c), ChannelOf(Color, c) + Weight);
}

TEroder::TEroder(TCustomSampler* Sampler) : TMorphologicalSampler(Sampler) {
    FStartEntry = TBufferEntry{65535, 65535, 65535, 65535};
}

void TEroder::UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) {
    for (int c = 0; c < 4; ++c)
        *Channel(Buffer, c) = std::min(*Channel(Buffer, c), ChannelOf(Color, c) - Weight);
}

void TExpander::UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) {
    for (int c = 0; c < 4; ++c)
        *Channel(Buffer, c) = std::max(*Channel(Buffer, c), ChannelOf(Color, c) * Weight);
}

void TContracter::PrepareSampling() {
    TExpander::PrepareSampling();
    int m = 0;
    if (!FKernel.Empty())
        m = *std::max_element(FKernel.Bits(), FKernel.Bits() + FKernel.Width() * FKernel.Height());
    const std::uint8_t level = static_cast<std::uint8_t>(std::clamp(m, 0, 255));
    FMaxWeight = Gray32(level, level);
}

void TContracter::UpdateBuffer(TBufferEntry& Buffer, TColor32 Color, int Weight) {
    TExpander::UpdateBuffer(Buffer, ~Color, Weight);
}

TColor32 TContracter::GetSampleInt(int X, int Y) {
    const TColor32 c = ColorSub(FMaxWeight, TExpander::GetSampleInt(X, Y));
    EMMS();
    return c;
}

TColor32 TContracter::GetSampleFixed(TFixed X, TFixed Y) {
    const TColor32 c = ColorSub(FMaxWeight, TExpander::GetSampleFixed(X, Y));
    EMMS();
    return c;
}

// ---- whole-bitmap filters ----

namespace {

template <class Sampler>
void ApplyKernel(TBitmap32* Src, TBitmap32* Dst, const TIntegerMap* Kernel, int CenterX, int CenterY) {
    if (!Src) throw EBitmapException("Source bitmap is nil");
    if (!Dst) throw EBitmapException("Destination bitmap is nil");
    if (!Kernel) throw Exception("Kernel is nil");
    // Pixels would be read after the rasterizer overwrote them: filter a copy.
    std::unique_ptr<TBitmap32> copy;
    if (Src == Dst) {
        copy = std::make_unique<TBitmap32>();
        Src->CopyMapTo(copy.get());
        Src->CopyPropertiesTo(copy.get());
        Src = copy.get();
    }
    std::unique_ptr<Bmp32_Rasterizers::TRasterizer> rasterizer(
        Bmp32_Rasterizers::DefaultRasterizerClass->Create());
    Dst->SetSize(Src->Width(), Src->Height());
    Sampler sampler(Src->Resampler());
    sampler.SetKernel(Kernel);
    sampler.SetCenterX(CenterX);
    sampler.SetCenterY(CenterY);
    rasterizer->SetSampler(&sampler);
    rasterizer->Rasterize(Dst);
    rasterizer->SetSampler(nullptr);
}

} // namespace

void Convolve(TBitmap32* Src, TBitmap32* Dst, const TIntegerMap* Kernel, int CenterX, int CenterY) {
    ApplyKernel<TConvolver>(Src, Dst, Kernel, CenterX, CenterY);
}

void Dilate(TBitmap32* Src, TBitmap32* Dst, const TIntegerMap* Kernel, int CenterX, int CenterY) {
    ApplyKernel<TDilater>(Src, Dst, Kernel, CenterX, CenterY);
}

void Erode(TBitmap32* Src, TBitmap32* Dst, const TIntegerMap* Kernel, int CenterX, int CenterY) {
    ApplyKernel<TEroder>(Src, Dst, Kernel, CenterX, CenterY);
}

void Expand(TBitmap32* Src, TBitmap32* Dst, const TIntegerMap* Kernel, int CenterX, int CenterY) {
    ApplyKernel<TExpander>(Src, Dst, Kernel, CenterX, CenterY);
}

void Contract(TBitmap32* Src, TBitmap32* Dst, const TIntegerMap* Kernel, int CenterX, int CenterY) {
    ApplyKernel<TContracter>(Src, Dst, Kernel, CenterX, CenterY);
}

} // namespace Bmp32_Morph
