#include "bitmap32/Bmp32_Transforms.h"

#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Rasterizers.h"
#include "bitmap32/Bmp32_Resamplers.h"
#include "bitmap32/Bmp32_Samplers.h"

#include <memory>

namespace Bmp32_Transforms {

bool FullEdge = true;

namespace {

// The transformer the source's resampler names (nearest resamplers read whole pixels).
std::unique_ptr<TTransformer> MakeTransformer(TBitmap32* Src, TTransformation* Transformation) {
    const TTransformerClass* cls = &TTransformer::ClassRef;
    if (auto* r = dynamic_cast<TBitmap32Resampler*>(Src->Resampler()); r && r->TransformerClass())
        cls = r->TransformerClass();
    return std::unique_ptr<TTransformer>(cls->Create(Src->Resampler(), Transformation));
}

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
        const std::unique_ptr<TTransformer> transformer = MakeTransformer(Src, Transformation);
        TCustomSampler* const previous = Rasterizer->Sampler();
        Rasterizer->SetSampler(transformer.get());
        try {
            Rasterizer->Rasterize(Dst, r, Src);
        } catch (...) {
            Rasterizer->SetSampler(previous);
            throw;
        }
        // The transformer dies here: the rasterizer must not keep pointing at it.
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
