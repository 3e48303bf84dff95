// Samplers that wrap another sampler: transformers that map destination positions back into the
// source, and super-samplers that average several sub-samples per pixel.
#pragma once

#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Containers.h"

#include <cstdint>
#include <vector>

namespace Bmp32_Transforms {
class TTransformation;
}

namespace Bmp32_Samplers {

using Bmp32_Transforms::TTransformation;

HARBEK_DECLARE_EXCEPTION(ENestedException, Exception);

// Four per-channel accumulators.
struct TBufferEntry {
    std::int32_t B, G, R, A;
    bool operator==(const TBufferEntry&) const = default;
};
inline constexpr TBufferEntry EMPTY_ENTRY{0, 0, 0, 0};

void IncBuffer(TBufferEntry& Buffer, TColor32 Color);
void MultiplyBuffer(TBufferEntry& Buffer, std::int32_t W);
void ShrBuffer(TBufferEntry& Buffer, int Shift);
// Each accumulator shifted right by Shift, its low 8 bits packed as a channel.
TColor32 BufferToColor32(const TBufferEntry& Buffer, int Shift);

// Samples through another sampler, which it does not own. Every use without one raises
// ENestedException "Nested sampler is nil".
class TNestedSampler : public TCustomSampler {
public:
    explicit TNestedSampler(TCustomSampler* Sampler = nullptr) : FSampler(Sampler) {}

    TCustomSampler* Sampler() const { return FSampler; }
    void SetSampler(TCustomSampler* Value) { FSampler = Value; }

    void PrepareSampling() override;
    void FinalizeSampling() override;
    bool HasBounds() override;
    TRect GetSampleBounds() override;

protected:
    // Onto another nested sampler: the nested sampler and the settings both classes have.
    void AssignTo(TPersistent* Dest) const override;
    TCustomSampler* Nested() const;

    TCustomSampler* FSampler;
};

class TTransformer;

// A transformer class reference: how transformation code makes one around a sampler.
class TTransformerClass : public TMetaClass {
public:
    using TMetaClass::TMetaClass;
    virtual TTransformer* Create(TCustomSampler* Sampler, TTransformation* Transformation) const = 0;
};

template <class T>
class TTransformerClassOf : public TTransformerClass {
public:
    using TTransformerClass::TTransformerClass;
    TTransformer* Create(TCustomSampler* Sampler, TTransformation* Transformation) const override {
        return new T(Sampler, Transformation);
    }
};

// Samples the nested sampler at the reverse-transformed position, in the same coordinate form.
class TTransformer : public TNestedSampler {
public:
    TTransformer(TCustomSampler* Sampler, TTransformation* Transformation);

    TTransformation* Transformation() const { return FTransformation; }
    void SetTransformation(TTransformation* Value) { FTransformation = Value; }

    TColor32 GetSampleInt(int X, int Y) override;
    TColor32 GetSampleFixed(TFixed X, TFixed Y) override;
    TColor32 GetSampleFloat(float X, float Y) override;
    // Prepares the transformation too, unless it is already prepared.
    void PrepareSampling() override;
    bool HasBounds() override;
    // The transformed bounds of the nested sampler's bounds.
    TRect GetSampleBounds() override;

    static const TTransformerClassOf<TTransformer> ClassRef;

protected:
    TTransformation* Checked() const;

    TTransformation* FTransformation;
};

// Maps to whole source pixels and reads them with the nested integer sampler.
class TNearestTransformer : public TTransformer {
public:
    using TTransformer::TTransformer;

    TColor32 GetSampleInt(int X, int Y) override;
    TColor32 GetSampleFixed(TFixed X, TFixed Y) override;
    TColor32 GetSampleFloat(float X, float Y) override;

    static const TTransformerClassOf<TNearestTransformer> ClassRef;
};

// The average of SamplingX x SamplingY sub-samples spread evenly over the pixel around the position,
// truncated per channel.
class TSuperSampler : public TNestedSampler {
public:
    explicit TSuperSampler(TCustomSampler* Sampler = nullptr);

    int SamplingX() const { return FSamplingX; }
    int SamplingY() const { return FSamplingY; }
    void SetSamplingX(int Value);
    void SetSamplingY(int Value);

    TColor32 GetSampleFixed(TFixed X, TFixed Y) override;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    void Recompute();

    int FSamplingX = 4;
    int FSamplingY = 4;
    TFixed FDistanceX = 0, FDistanceY = 0, FOffsetX = 0, FOffsetY = 0;
};

// Refines a pixel's quadrants recursively where their corner differs from the centre by more than
// Tolerance (the sum of the red, green and blue differences), down to offsets of 1 / 2^Level pixel.
class TAdaptiveSuperSampler : public TNestedSampler {
public:
    explicit TAdaptiveSuperSampler(TCustomSampler* Sampler = nullptr);

    int Level() const { return FLevel; }
    void SetLevel(int Value);
    int Tolerance() const { return FTolerance; }
    void SetTolerance(int Value) { FTolerance = Value; }

    TColor32 GetSampleFixed(TFixed X, TFixed Y) override;
    bool CompareColors(TColor32 C1, TColor32 C2) const;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    // The colour of the square of half-size H centred on (X, Y) whose corners are A (top left), B, C, D
    // (clockwise).
    TColor32 Refine(TFixed X, TFixed Y, TFixed H, TColor32 A, TColor32 B, TColor32 C, TColor32 D);

    int FLevel = 4;
    int FTolerance = 256;
    TFixed FMinOffset = 0;
};

// Rows, then columns, of sub-sample offsets: each pixel uses the cell its position falls in.
using TFixedSamplePattern = std::vector<std::vector<TArrayOfFixedPoint>>;

// The average of the nested samples at the position plus each offset of its pattern cell.
class TPatternSampler : public TNestedSampler {
public:
    using TNestedSampler::TNestedSampler;

    const TFixedSamplePattern& Pattern() const { return FPattern; }
    void SetPattern(const TFixedSamplePattern& Value) { FPattern = Value; }

    TColor32 GetSampleFixed(TFixed X, TFixed Y) override;

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    TFixedSamplePattern FPattern;
};

// TileHeight rows of TileWidth cells, each with SamplesX x SamplesY offsets jittered within their
// share of the pixel (-0.5 .. 0.5 on each axis).
TFixedSamplePattern CreateJitteredPattern(int TileWidth, int TileHeight, int SamplesX, int SamplesY);

} // namespace Bmp32_Samplers

using namespace Bmp32_Samplers;
