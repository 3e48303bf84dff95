#include "bitmap32/Bmp32_Transforms.h"

#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Rasterizers.h"
#include "bitmap32/Bmp32_Resamplers.h"

#include <memory>

namespace Bmp32_Transforms {

bool FullEdge = true;

namespace {

// Samples the source's resampler at the reverse-mapped position of each destination pixel. A nearest
// resampler is read at integer positions from the integer mapping; any other at 16.16 positions.
class TTransformSampler : public TCustomSampler {
public:
    TTransformSampler(TCustomSampler* Sampler, TTransformation* Transformation)
        : FSampler(Sampler), FTransformation(Transformation),
          FNearest(dynamic_cast<TNearestResampler*>(Sampler) != nullptr) {}

    TColor32 GetSampleInt(int X, int Y) override {
        if (FNearest) {
            int sx = 0, sy = 0;
            FTransformation->ReverseTransformInt(X, Y, sx, sy);
            return FSampler->GetSampleInt(sx, sy);
        }
        return GetSampleFixed(Fixed(X), Fixed(Y));
    }

    TColor32 GetSampleFixed(TFixed X, TFixed Y) override {
        TFixed sx = 0, sy = 0;
        FTransformation->ReverseTransformFixed(X, Y, sx, sy);
        if (FNearest) return FSampler->GetSampleInt(FixedFloor(sx), FixedFloor(sy));
        return FSampler->GetSampleFixed(sx, sy);
    }

    TColor32 GetSampleFloat(float X, float Y) override {
        float sx = 0, sy = 0;
        FTransformation->ReverseTransformFloat(X, Y, sx, sy);
        if (FNearest) return FSampler->GetSampleInt(RoundToInt(sx), RoundToInt(sy));
        return FSampler->GetSampleFloat(sx, sy);
    }

    void PrepareSampling() override {
        FSampler->PrepareSampling();
        if (!FTransformation->TransformValid()) FTransformation->PrepareTransform();
    }
    void FinalizeSampling() override { FSampler->FinalizeSampling(); }
    bool HasBounds() override { return FTransformation->HasTransformedBounds() && FSampler->HasBounds(); }
    TRect GetSampleBounds() override {
        return FTransformation->GetTransformedBounds(FloatRect(FSampler->GetSampleBounds()));
    }

private:
    TCustomSampler* FSampler;
    TTransformation* FTransformation;
    bool FNearest;
};

void CheckArguments(TBitmap32* Dst, TBitmap32* Src, TTransformation* Transformation) {
    if (!Dst) throw EBitmapException("Destination bitmap is nil");
    if (!Src) throw EBitmapException("Source bitmap is nil");
    if (!Transformation) throw ETransformError("Transformation is nil");
}

} // namespace

void Transform(TBitmap32* Dst, TBitmap32* Src, TTransformation* Transformation) {
    CheckArguments(Dst, Src, Transformation);
    Transform(Dst, Src, Transformation, Dst->BoundsRect());
}

void Transform(TBitmap32* Dst, TBitmap32* Src, TTransformation* Transformation, const TRect& DstClip) {
    std::unique_ptr<TRasterizer> rasterizer(DefaultRasterizerClass->Create());
    Transform(Dst, Src, Transformation, rasterizer.get(), DstClip);
}

void Transform(TBitmap32* Dst, TBitmap32* Src, TTransformation* Transformation, TRasterizer* Rasterizer) {
    CheckArguments(Dst, Src, Transformation);
    Transform(Dst, Src, Transformation, Rasterizer, Dst->BoundsRect());
}

void Transform(TBitmap32* Dst, TBitmap32* Src, TTransformation* Transformation, TRasterizer* Rasterizer,
               const TRect& DstClip) {
    CheckArguments(Dst, Src, Transformation);
    if (!Rasterizer) throw ETransformError("Rasterizer is nil");
    TRect r = Transformation->GetTransformedBounds();
    IntersectRect(r, r, Dst->ClipRect());
    IntersectRect(r, r, DstClip);
    if (r.Right < r.Left || r.Bottom < r.Top) return;
    if (!Dst->MeasuringMode()) {
        TTransformSampler sampler(Src->Resampler(), Transformation);
        TCustomSampler* const previous = Rasterizer->Sampler();
        Rasterizer->SetSampler(&sampler);
        try {
            Rasterizer->Rasterize(Dst, r, Src);
        } catch (...) {
            Rasterizer->SetSampler(previous);
            throw;
        }
        // The sampler dies here: the rasterizer must not keep pointing at it.
        Rasterizer->SetSampler(previous);
        EMMS();
    }
    Dst->Changed(r, AREAINFO_RECT);
}

void SetBorderTransparent(TBitmap32* Bitmap, const TRect& R) {
    if (!Bitmap) throw EBitmapException("Bitmap is nil");
    TRect r;
    IntersectRect(r, R, Bitmap->BoundsRect());
    if (r.Right <= r.Left || r.Bottom <= r.Top) return;
    const TRect& clip = Bitmap->ClipRect();
    if (r.Left >= clip.Right || r.Top >= clip.Bottom || r.Right <= clip.Left || r.Bottom <= clip.Top) return;
    --r.Right;
    --r.Bottom;
    for (int x = r.Left; x <= r.Right; ++x) {
        *Bitmap->GetPixelPtr(x, r.Top) &= 0x00FFFFFF;
        *Bitmap->GetPixelPtr(x, r.Bottom) &= 0x00FFFFFF;
    }
    for (int y = r.Top; y <= r.Bottom; ++y) {
        *Bitmap->GetPixelPtr(r.Left, y) &= 0x00FFFFFF;
        *Bitmap->GetPixelPtr(r.Right, y) &= 0x00FFFFFF;
    }
    Bitmap->Changed();
}

TArrayOfArrayOfFixedPoint TransformPoints(const TArrayOfArrayOfFixedPoint& Points,
                                          TTransformation* Transformation) {
    if (Points.empty()) return {};
    if (!Transformation) throw ETransformError("Transformation is nil");
    TArrayOfArrayOfFixedPoint result(Points.size());
    Transformation->PrepareTransform();
    for (std::size_t i = 0; i < Points.size(); ++i) {
        result[i].resize(Points[i].size());
        for (std::size_t j = 0; j < Points[i].size(); ++j)
            Transformation->TransformFixed(Points[i][j].X, Points[i][j].Y, result[i][j].X, result[i][j].Y);
    }
    return result;
}

} // namespace Bmp32_Transforms
