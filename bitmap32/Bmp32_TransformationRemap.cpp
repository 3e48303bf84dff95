#include "bitmap32/Bmp32_Transforms.h"

#include <climits>

namespace Bmp32_Transforms {

namespace {

TFixed WrapAdd(TFixed A, TFixed B) {
    return static_cast<TFixed>(static_cast<std::uint32_t>(A) + static_cast<std::uint32_t>(B));
}

TFixed WrapSub(TFixed A, TFixed B) {
    return static_cast<TFixed>(static_cast<std::uint32_t>(A) - static_cast<std::uint32_t>(B));
}

// Vectors per unit of length. A map one cell wide has no spacing to divide by; any value cancels out
// between the source and destination scales, so 1 keeps both finite.
float Cells(int Count) {
    return Count > 1 ? static_cast<float>(Count - 1) : 1.0f;
}

} // namespace

TRemapTransformation::TRemapTransformation() : FVectorMap(std::make_unique<TVectorMap>()) {
    FVectorMap->SetSize(1, 1);
}

TRemapTransformation::~TRemapTransformation() = default;

void TRemapTransformation::SetMappingRect(const TFloatRect& Value) {
    FMappingRect = Value;
    Changed();
}

void TRemapTransformation::SetOffset(const TFloatPoint& Value) {
    FOffset = Value;
    FOffsetInt = Point(Value);
    FOffsetFixed = FixedPoint(Value);
    Changed();
}

void TRemapTransformation::Scale(float Sx, float Sy) {
    FScalingFixed = FixedPoint(Sx, Sy);
    FScalingFloat = TFloatPoint{Sx, Sy};
    Changed();
}

void TRemapTransformation::PrepareTransform() {
    if (IsRectEmpty(FSrcRect)) throw Exception("SrcRect is empty!");
    if (IsRectEmpty(FMappingRect)) throw Exception("MappingRect is empty!");
    const float w = Cells(FVectorMap->Width()), h = Cells(FVectorMap->Height());
    FSrcTranslationFloat = TFloatPoint{FSrcRect.Left, FSrcRect.Top};
    FSrcScaleFloat =
        TFloatPoint{1 / (w / (FSrcRect.Right - FSrcRect.Left)), 1 / (h / (FSrcRect.Bottom - FSrcRect.Top))};
    FDstTranslationFloat = TFloatPoint{FMappingRect.Left, FMappingRect.Top};
    FDstScaleFloat = TFloatPoint{w / (FMappingRect.Right - FMappingRect.Left),
                                 h / (FMappingRect.Bottom - FMappingRect.Top)};
    FCombinedScalingFloat =
        TFloatPoint{FDstScaleFloat.X * FScalingFloat.X, FDstScaleFloat.Y * FScalingFloat.Y};
    FSrcTranslationFixed = FixedPoint(FSrcTranslationFloat);
    FSrcScaleFixed = FixedPoint(FSrcScaleFloat);
    FCombinedScalingFixed = FixedPoint(FCombinedScalingFloat);
    FDstTranslationFixed = FixedPoint(FDstTranslationFloat);
    FDstScaleFixed = FixedPoint(FDstScaleFloat);
}

void TRemapTransformation::ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) {
    const TFloatPoint v = FVectorMap->FloatVectorF(DstX - FOffset.X, DstY - FOffset.Y);
    SrcX = ((DstX - FDstTranslationFloat.X) * FDstScaleFloat.X + v.X * FCombinedScalingFloat.X) *
               FSrcScaleFloat.X +
           FSrcTranslationFloat.X;
    SrcY = ((DstY - FDstTranslationFloat.Y) * FDstScaleFloat.Y + v.Y * FCombinedScalingFloat.Y) *
               FSrcScaleFloat.Y +
           FSrcTranslationFloat.Y;
}

void TRemapTransformation::ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) {
    const TFixedPoint v =
        FVectorMap->FixedVectorX(WrapSub(DstX, FOffsetFixed.X), WrapSub(DstY, FOffsetFixed.Y));
    SrcX = WrapAdd(FixedMul(WrapAdd(FixedMul(WrapSub(DstX, FDstTranslationFixed.X), FDstScaleFixed.X),
                                    FixedMul(v.X, FCombinedScalingFixed.X)),
                            FSrcScaleFixed.X),
                   FSrcTranslationFixed.X);
    SrcY = WrapAdd(FixedMul(WrapAdd(FixedMul(WrapSub(DstY, FDstTranslationFixed.Y), FDstScaleFixed.Y),
                                    FixedMul(v.Y, FCombinedScalingFixed.Y)),
                            FSrcScaleFixed.Y),
                   FSrcTranslationFixed.Y);
}

void TRemapTransformation::ReverseTransformInt(int DstX, int DstY, int& SrcX, int& SrcY) {
    // Checked read: a position off the map has no displacement instead of reading past it.
    const TFixedPoint v = FVectorMap->FixedVectorS(DstX - FOffsetInt.X, DstY - FOffsetInt.Y);
    const TFixed x = Fixed(DstX), y = Fixed(DstY);
    SrcX = FixedRound(WrapAdd(FixedMul(WrapAdd(FixedMul(WrapSub(x, FDstTranslationFixed.X), FDstScaleFixed.X),
                                               FixedMul(v.X, FCombinedScalingFixed.X)),
                                       FSrcScaleFixed.X),
                              FSrcTranslationFixed.X));
    SrcY = FixedRound(WrapAdd(FixedMul(WrapAdd(FixedMul(WrapSub(y, FDstTranslationFixed.Y), FDstScaleFixed.Y),
                                               FixedMul(v.Y, FCombinedScalingFixed.Y)),
                                       FSrcScaleFixed.Y),
                              FSrcTranslationFixed.Y));
}

TRect TRemapTransformation::GetTransformedBounds(const TFloatRect&) {
    return TRect{-INT_MAX, -INT_MAX, INT_MAX, INT_MAX};
}

void RasterizeTransformation(TVectorMap* Vectors, TTransformation* Transformation, const TRect& DstRect,
                             TVectorCombineMode CombineMode, const TVectorCombineEvent& CombineCallback) {
    if (!Vectors) throw ETransformError("Vector map is nil");
    if (!Transformation) throw ETransformError("Transformation is nil");
    TRect r;
    IntersectRect(r, DstRect, Vectors->BoundsRect());
    if (IsRectEmpty(r) || Vectors->Empty()) return;
    if (!Transformation->TransformValid()) Transformation->PrepareTransform();
    const int w = r.Right - r.Left, h = r.Bottom - r.Top;
    // One row or column has no progress to make.
    const TFixed stepX = w > 1 ? Fixed(1.0f / (w - 1)) : 0;
    const TFixed stepY = h > 1 ? Fixed(1.0f / (h - 1)) : 0;
    TFixed progressY = 0;
    for (int j = r.Top; j < r.Bottom; ++j, progressY += stepY) {
        TFixed progressX = 0;
        for (int i = r.Left; i < r.Right; ++i, progressX += stepX) {
            const TFixedPoint p = FixedPoint(i - r.Left, j - r.Top);
            const TFixedPoint q = Transformation->ReverseTransform(p);
            const TFixedPoint d{WrapSub(q.X, p.X), WrapSub(q.Y, p.Y)};
            TFixedPoint& b = Vectors->Vectors()[static_cast<std::size_t>(j) * Vectors->Width() + i];
            switch (CombineMode) {
            case vcmAdd:
                b = TFixedPoint{WrapAdd(b.X, d.X), WrapAdd(b.Y, d.Y)};
                break;
            case vcmReplace:
                b = d;
                break;
            case vcmCustom:
                if (CombineCallback) CombineCallback(d, TFixedPoint{progressX, progressY}, b);
                break;
            }
        }
    }
}

} // namespace Bmp32_Transforms
