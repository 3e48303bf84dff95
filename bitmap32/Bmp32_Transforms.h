// Mappings between a source and a destination plane, the 3x3 matrices behind them, and drawing a
// bitmap through a mapping. A point (x, y) is the row vector (x, y, 1): translation sits in row 2,
// projective terms in column 2.
#pragma once

#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_VectorMaps.h"

#include <array>
#include <memory>
#include <random>

namespace Bmp32_Rasterizers {
class TRasterizer;
}

namespace Bmp32_Transforms {

// True: a stretch maps whole pixel extents (source column = Trunc(i * SrcW / DstW)); false: it maps the
// first and last pixel centres onto each other (Round(i * (SrcW - 1) / (DstW - 1))).
extern bool FullEdge;

HARBEK_DECLARE_EXCEPTION(ETransformError, Exception);
HARBEK_DECLARE_EXCEPTION(ETransformNotImplemented, Exception);

// [row][column].
using TFloatMatrix = std::array<std::array<float, 3>, 3>;
using TFixedMatrix = std::array<std::array<TFixed, 3>, 3>;
using TVector3f = std::array<float, 3>;

inline constexpr TFloatMatrix IdentityMatrix = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

float Determinant(const TFloatMatrix& M);
// The adjugate: each element becomes the signed minor of the transposed position.
void Adjoint(TFloatMatrix& M);
void Scale(TFloatMatrix& M, float Factor);
// A singular matrix (|det| < 1e-5, or a determinant that is not finite) becomes the identity.
void Invert(TFloatMatrix& M);
// The product M2 x M1: for row vectors, M2's mapping followed by M1's.
TFloatMatrix Mult(const TFloatMatrix& M1, const TFloatMatrix& M2);
// The row vector V times M.
TVector3f VectorTransform(const TFloatMatrix& M, const TVector3f& V);
TFixedMatrix FixedMatrix(const TFloatMatrix& M);
TFloatMatrix FloatMatrix(const TFixedMatrix& M);

// A mapping over SrcRect. The Int/Fixed/Float routines assume a prepared object; ReverseTransform and
// Transform prepare on demand. A kind without a forward (or reverse) mapping raises
// ETransformNotImplemented naming its class.
class TTransformation : public TNotifiablePersistent {
public:
    // Marks the derived values stale, then notifies.
    void Changed() override;
    virtual void PrepareTransform() {}

    virtual void ReverseTransformInt(int DstX, int DstY, int& SrcX, int& SrcY);
    virtual void ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY);
    virtual void ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY);
    virtual void TransformInt(int SrcX, int SrcY, int& DstX, int& DstY);
    virtual void TransformFixed(TFixed SrcX, TFixed SrcY, TFixed& DstX, TFixed& DstY);
    virtual void TransformFloat(float SrcX, float SrcY, float& DstX, float& DstY);

    virtual bool HasTransformedBounds() const { return true; }
    virtual TRect GetTransformedBounds(const TFloatRect& ASrcRect);
    TRect GetTransformedBounds() { return GetTransformedBounds(FSrcRect); }

    TPoint ReverseTransform(const TPoint& P);
    TFixedPoint ReverseTransform(const TFixedPoint& P);
    TFloatPoint ReverseTransform(const TFloatPoint& P);
    TPoint Transform(const TPoint& P);
    TFixedPoint Transform(const TFixedPoint& P);
    TFloatPoint Transform(const TFloatPoint& P);

    const TFloatRect& SrcRect() const { return FSrcRect; }
    void SetSrcRect(const TFloatRect& Value);
    bool TransformValid() const { return FTransformValid; }

protected:
    void Prepared() { FTransformValid = true; }

    TFloatRect FSrcRect;
    bool FTransformValid = false;
};

class TAffineTransformation : public TTransformation {
public:
    TAffineTransformation() = default;

    // Direct changes to Matrix take effect after Changed.
    TFloatMatrix Matrix = IdentityMatrix;

    void Clear();
    // Each appends its step after the current mapping. Alpha in degrees, about (Cx, Cy).
    void Rotate(float Cx, float Cy, float Alpha);
    void Skew(float Fx, float Fy);
    void Scale(float Sx, float Sy);
    void Translate(float Dx, float Dy);

    void PrepareTransform() override;
    // The fixed mapping rounded, in one call: the per-pixel path of nearest sampling.
    void ReverseTransformInt(int DstX, int DstY, int& SrcX, int& SrcY) override;
    void ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) override;
    void ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) override;
    void TransformFixed(TFixed SrcX, TFixed SrcY, TFixed& DstX, TFixed& DstY) override;
    void TransformFloat(float SrcX, float SrcY, float& DstX, float& DstY) override;
    using TTransformation::GetTransformedBounds;
    // Every pixel whose integer position lies between the smallest and largest mapped corner.
    TRect GetTransformedBounds(const TFloatRect& ASrcRect) override;

protected:
    void Append(const TFloatMatrix& T);

    TFloatMatrix FInverseMatrix = IdentityMatrix;
    TFixedMatrix FFixedMatrix{};
    TFixedMatrix FInverseFixedMatrix{};
};

// Maps SrcRect onto the quadrilateral (X0, Y0) .. (X3, Y3), corners in the order top-left, top-right,
// bottom-right, bottom-left of the source.
class TProjectiveTransformation : public TTransformation {
public:
    float X0() const { return FX[0]; }
    float X1() const { return FX[1]; }
    float X2() const { return FX[2]; }
    float X3() const { return FX[3]; }
    float Y0() const { return FY[0]; }
    float Y1() const { return FY[1]; }
    float Y2() const { return FY[2]; }
    float Y3() const { return FY[3]; }
    void SetX0(float Value) { SetCorner(FX[0], Value); }
    void SetX1(float Value) { SetCorner(FX[1], Value); }
    void SetX2(float Value) { SetCorner(FX[2], Value); }
    void SetX3(float Value) { SetCorner(FX[3], Value); }
    void SetY0(float Value) { SetCorner(FY[0], Value); }
    void SetY1(float Value) { SetCorner(FY[1], Value); }
    void SetY2(float Value) { SetCorner(FY[2], Value); }
    void SetY3(float Value) { SetCorner(FY[3], Value); }

    void PrepareTransform() override;
    // A point whose projective divisor is 0 leaves SrcX/SrcY (DstX/DstY) as they were.
    void ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) override;
    void ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) override;
    void TransformFixed(TFixed SrcX, TFixed SrcY, TFixed& DstX, TFixed& DstY) override;
    void TransformFloat(float SrcX, float SrcY, float& DstX, float& DstY) override;
    using TTransformation::GetTransformedBounds;
    // The pixels of the quadrilateral's bounds (as for the affine kind), whatever the rectangle.
    TRect GetTransformedBounds(const TFloatRect& ASrcRect) override;

protected:
    void SetCorner(float& Corner, float Value) {
        Corner = Value;
        Changed();
    }

    float FX[4] = {};
    float FY[4] = {};
    TFloatMatrix FMatrix{};
    TFloatMatrix FInverseMatrix{};
    TFixedMatrix FFixedMatrix{};
    TFixedMatrix FInverseFixedMatrix{};
};

// Turns each point about the centre by an angle that grows with its distance.
class TTwirlTransformation : public TTransformation {
public:
    float Twirl() const { return FTwirl; }
    void SetTwirl(float Value);

    void PrepareTransform() override;
    void ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) override;
    using TTransformation::GetTransformedBounds;
    TRect GetTransformedBounds(const TFloatRect& ASrcRect) override;

protected:
    float FCenterX = 0;
    float FCenterY = 0;
    float FTwirl = 0.03f;
};

class TBloatTransformation : public TTransformation {
public:
    float BloatPower() const { return FBloatPower; }
    void SetBloatPower(float Value);

    void PrepareTransform() override;
    void ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) override;

protected:
    float FBloatPower = 0.3f;
    float FBP = 0;
    float FPiW = 0;
    float FPiH = 0;
};

// Moves each point by a fresh random amount of at most Disturbance / 2 per axis.
class TDisturbanceTransformation : public TTransformation {
public:
    float Disturbance() const { return FDisturbance; }
    void SetDisturbance(float Value);

    void ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) override;
    using TTransformation::GetTransformedBounds;
    TRect GetTransformedBounds(const TFloatRect& ASrcRect) override;

protected:
    float FDisturbance = 0;
    std::mt19937 FRandom;
};

// Magnifies the inside of the ellipse inscribed in SrcRect; points outside it stay where they are.
class TFishEyeTransformation : public TTransformation {
public:
    void PrepareTransform() override;
    void ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) override;

protected:
    float FCenterX = 0;
    float FCenterY = 0;
    float FAngleFactor = 0;
    float FInvRadius = 0;
    float FXScale = 0;
    float FYScale = 0;
    float FMinRadius = 0;
};

// Moves each point by the vector that its own vector map holds for it: MappingRect is the destination
// area the map is spread over, Scale weighs the vectors, Offset moves the map. Preparing checks the
// rectangles and runs before every public call; the mapping has no bounds and no forward form.
class TRemapTransformation : public TTransformation {
public:
    TRemapTransformation();
    ~TRemapTransformation() override;

    // Owned; 1 x 1 at first.
    TVectorMap* VectorMap() const { return FVectorMap.get(); }
    const TFloatRect& MappingRect() const { return FMappingRect; }
    void SetMappingRect(const TFloatRect& Value);
    const TFloatPoint& Offset() const { return FOffset; }
    void SetOffset(const TFloatPoint& Value);
    void Scale(float Sx, float Sy);

    // Raises Exception "SrcRect is empty!" or "MappingRect is empty!".
    void PrepareTransform() override;
    void ReverseTransformInt(int DstX, int DstY, int& SrcX, int& SrcY) override;
    void ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) override;
    void ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) override;
    bool HasTransformedBounds() const override { return false; }
    using TTransformation::GetTransformedBounds;
    TRect GetTransformedBounds(const TFloatRect& ASrcRect) override;

protected:
    std::unique_ptr<TVectorMap> FVectorMap;
    TFixedPoint FScalingFixed{FixedOne, FixedOne};
    TFloatPoint FScalingFloat{1, 1};
    TFixedPoint FCombinedScalingFixed;
    TFloatPoint FCombinedScalingFloat;
    TFixedPoint FSrcTranslationFixed, FSrcScaleFixed, FDstTranslationFixed, FDstScaleFixed;
    TFloatPoint FSrcTranslationFloat, FSrcScaleFloat, FDstTranslationFloat, FDstScaleFloat;
    TFixedPoint FOffsetFixed;
    TPoint FOffsetInt;
    TFloatRect FMappingRect;
    TFloatPoint FOffset;
};

// Draws Src into Dst through the mapping: every destination pixel of the transformed bounds, cut to
// Dst's clip rectangle and DstClip, is reverse-mapped into Src and sampled by Src's resampler. The
// forms without a rasterizer use one of DefaultRasterizerClass.
void Transform(TBitmap32* Dst, TBitmap32* Src, TTransformation* Transformation);
void Transform(TBitmap32* Dst, TBitmap32* Src, TTransformation* Transformation, const TRect& DstClip);
void Transform(TBitmap32* Dst, TBitmap32* Src, TTransformation* Transformation,
               Bmp32_Rasterizers::TRasterizer* Rasterizer);
void Transform(TBitmap32* Dst, TBitmap32* Src, TTransformation* Transformation,
               Bmp32_Rasterizers::TRasterizer* Rasterizer, const TRect& DstClip);

// Clears the alpha of the one-pixel frame of R (cut to the bitmap).
void SetBorderTransparent(TBitmap32* Bitmap, const TRect& R);

// Every point mapped forward; the transformation is prepared once, whatever its state.
TArrayOfArrayOfFixedPoint TransformPoints(const TArrayOfArrayOfFixedPoint& Points,
                                          TTransformation* Transformation);

// Bakes the mapping's displacements (source position minus destination position, relative to
// DstRect's corner) into the vectors of DstRect cut to the map: added, stored, or handed to
// CombineCallback with the progress across the rectangle (0 .. 1.0 in 16.16).
void RasterizeTransformation(TVectorMap* Vectors, TTransformation* Transformation, const TRect& DstRect,
                             TVectorCombineMode CombineMode = vcmAdd,
                             const TVectorCombineEvent& CombineCallback = nullptr);

} // namespace Bmp32_Transforms

using namespace Bmp32_Transforms;
