// Transformers: the nested sampler read at the reverse-transformed position.
#include "bitmap32/Bmp32_Samplers.h"

#include "bitmap32/Bmp32_Transforms.h"

#include <cmath>

namespace Bmp32_Samplers {

const TTransformerClassOf<TTransformer> TTransformer::ClassRef{"TTransformer"};
const TTransformerClassOf<TNearestTransformer> TNearestTransformer::ClassRef{"TNearestTransformer"};

TTransformer::TTransformer(TCustomSampler* Sampler, TTransformation* Transformation)
    : TNestedSampler(Sampler), FTransformation(Transformation) {}

TTransformation* TTransformer::Checked() const {
    if (!FTransformation) throw ENestedException("Transformation is nil");
    return FTransformation;
}

TColor32 TTransformer::GetSampleInt(int X, int Y) {
    TCustomSampler* nested = Nested();
    TFixed u = 0, v = 0;
    Checked()->ReverseTransformFixed(Fixed(X), Fixed(Y), u, v);
    return nested->GetSampleFixed(u, v);
}

TColor32 TTransformer::GetSampleFixed(TFixed X, TFixed Y) {
    TCustomSampler* nested = Nested();
    TFixed u = 0, v = 0;
    Checked()->ReverseTransformFixed(X, Y, u, v);
    return nested->GetSampleFixed(u, v);
}

TColor32 TTransformer::GetSampleFloat(float X, float Y) {
    TCustomSampler* nested = Nested();
    float u = 0, v = 0;
    Checked()->ReverseTransformFloat(X, Y, u, v);
    return nested->GetSampleFloat(u, v);
}

void TTransformer::PrepareSampling() {
    TNestedSampler::PrepareSampling();
    if (!Checked()->TransformValid()) FTransformation->PrepareTransform();
}

bool TTransformer::HasBounds() {
    return Checked()->HasTransformedBounds() && Nested()->HasBounds();
}

TRect TTransformer::GetSampleBounds() {
    const TRect b = Nested()->GetSampleBounds();
    return Checked()->GetTransformedBounds(FloatRect(b));
}

TColor32 TNearestTransformer::GetSampleInt(int X, int Y) {
    TCustomSampler* nested = Nested();
    int u = 0, v = 0;
    Checked()->ReverseTransformInt(X, Y, u, v);
    return nested->GetSampleInt(u, v);
}

TColor32 TNearestTransformer::GetSampleFixed(TFixed X, TFixed Y) {
    TCustomSampler* nested = Nested();
    TFixed u = 0, v = 0;
    Checked()->ReverseTransformFixed(X, Y, u, v);
    // The whole pixel at or left of (above) the position, also left of (above) 0.
    return nested->GetSampleInt(u >> 16, v >> 16);
}

TColor32 TNearestTransformer::GetSampleFloat(float X, float Y) {
    TCustomSampler* nested = Nested();
    float u = 0, v = 0;
    Checked()->ReverseTransformFloat(X, Y, u, v);
    return nested->GetSampleInt(RoundToInt(u), RoundToInt(v));
}

} // namespace Bmp32_Samplers
