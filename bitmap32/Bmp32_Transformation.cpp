#include "bitmap32/Bmp32_Transforms.h"

#include "bitmap32/Bmp32_Blend.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Bmp32_Transforms {

namespace {

// Fixed sums wrap like the 32-bit registers they model instead of overflowing.
TFixed Sum3(TFixed A, TFixed B, TFixed C) {
    return static_cast<TFixed>(static_cast<std::uint32_t>(A) + static_cast<std::uint32_t>(B) +
                               static_cast<std::uint32_t>(C));
}

TFixed AffineX(const TFixedMatrix& M, TFixed X, TFixed Y) {
    return Sum3(FixedMul(X, M[0][0]), FixedMul(Y, M[1][0]), M[2][0]);
}

TFixed AffineY(const TFixedMatrix& M, TFixed X, TFixed Y) {
    return Sum3(FixedMul(X, M[0][1]), FixedMul(Y, M[1][1]), M[2][1]);
}

void AffineFloat(const TFloatMatrix& M, float X, float Y, float& OutX, float& OutY) {
    OutX = X * M[0][0] + Y * M[1][0] + M[2][0];
    OutY = X * M[0][1] + Y * M[1][1] + M[2][1];
}

void ProjectiveFixed(const TFixedMatrix& M, TFixed X, TFixed Y, TFixed& OutX, TFixed& OutY) {
    const TFixed z = Sum3(FixedMul(X, M[0][2]), FixedMul(Y, M[1][2]), M[2][2]);
    if (z == 0) return;
    OutX = AffineX(M, X, Y);
    OutY = AffineY(M, X, Y);
    if (z != FixedOne) {
        const double k = 65536.0 / z;
        OutX = RoundToInt(OutX * k);
        OutY = RoundToInt(OutY * k);
    }
}

void ProjectiveFloat(const TFloatMatrix& M, float X, float Y, float& OutX, float& OutY) {
    const float z = M[0][2] * X + M[1][2] * Y + M[2][2];
    if (z == 0) return;
    float x, y;
    AffineFloat(M, X, Y, x, y);
    if (z != 1) {
        const float k = 1.0f / z;
        x *= k;
        y *= k;
    }
    OutX = x;
    OutY = y;
}

// Every pixel whose integer position lies in [Min, Max] (ties rounded up, never to even, so that
// the picture's edge rows and columns do not come and go with the parity of their coordinates).
TRect OuterPixels(float MinX, float MinY, float MaxX, float MaxY) {
    return TRect{FloorToInt(MinX), FloorToInt(MinY), FloorToInt(double(MaxX) + 1.0),
                 FloorToInt(double(MaxY) + 1.0)};
}

[[noreturn]] void NotImplemented(const char* Direction, const TTransformation* T) {
    throw ETransformNotImplemented(std::string(Direction) + " transformation is not implemented in " +
                                   T->ClassName() + ".");
}

} // namespace

// ---- TTransformation ----

void TTransformation::Changed() {
    FTransformValid = false;
    TNotifiablePersistent::Changed();
}

void TTransformation::ReverseTransformInt(int DstX, int DstY, int& SrcX, int& SrcY) {
    TFixed x = 0, y = 0;
    ReverseTransformFixed(Fixed(DstX), Fixed(DstY), x, y);
    SrcX = FixedRound(x);
    SrcY = FixedRound(y);
}

void TTransformation::ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) {
    float x = 0, y = 0;
    ReverseTransformFloat(DstX * (1.0f / 65536.0f), DstY * (1.0f / 65536.0f), x, y);
    SrcX = Fixed(x);
    SrcY = Fixed(y);
}

void TTransformation::ReverseTransformFloat(float, float, float&, float&) {
    NotImplemented("Reverse", this);
}

void TTransformation::TransformInt(int SrcX, int SrcY, int& DstX, int& DstY) {
    TFixed x = 0, y = 0;
    TransformFixed(Fixed(SrcX), Fixed(SrcY), x, y);
    DstX = FixedRound(x);
    DstY = FixedRound(y);
}

void TTransformation::TransformFixed(TFixed SrcX, TFixed SrcY, TFixed& DstX, TFixed& DstY) {
    float x = 0, y = 0;
    TransformFloat(SrcX * (1.0f / 65536.0f), SrcY * (1.0f / 65536.0f), x, y);
    DstX = Fixed(x);
    DstY = Fixed(y);
}

void TTransformation::TransformFloat(float, float, float&, float&) {
    NotImplemented("Forward", this);
}

TRect TTransformation::GetTransformedBounds(const TFloatRect& ASrcRect) {
    return MakeRect(ASrcRect, rrClosest);
}

TPoint TTransformation::ReverseTransform(const TPoint& P) {
    if (!FTransformValid) PrepareTransform();
    TPoint r;
    ReverseTransformInt(P.X, P.Y, r.X, r.Y);
    return r;
}

TFixedPoint TTransformation::ReverseTransform(const TFixedPoint& P) {
    if (!FTransformValid) PrepareTransform();
    TFixedPoint r;
    ReverseTransformFixed(P.X, P.Y, r.X, r.Y);
    return r;
}

TFloatPoint TTransformation::ReverseTransform(const TFloatPoint& P) {
    if (!FTransformValid) PrepareTransform();
    TFloatPoint r;
    ReverseTransformFloat(P.X, P.Y, r.X, r.Y);
    return r;
}

TPoint TTransformation::Transform(const TPoint& P) {
    if (!FTransformValid) PrepareTransform();
    TPoint r;
    TransformInt(P.X, P.Y, r.X, r.Y);
    return r;
}

TFixedPoint TTransformation::Transform(const TFixedPoint& P) {
    if (!FTransformValid) PrepareTransform();
    TFixedPoint r;
    TransformFixed(P.X, P.Y, r.X, r.Y);
    return r;
}

TFloatPoint TTransformation::Transform(const TFloatPoint& P) {
    if (!FTransformValid) PrepareTransform();
    TFloatPoint r;
    TransformFloat(P.X, P.Y, r.X, r.Y);
    return r;
}

void TTransformation::SetSrcRect(const TFloatRect& Value) {
    FSrcRect = Value;
    Changed();
}

// ---- TAffineTransformation ----

void TAffineTransformation::Clear() {
    Matrix = IdentityMatrix;
    Changed();
}

void TAffineTransformation::Append(const TFloatMatrix& T) {
    Matrix = Mult(T, Matrix);
}

void TAffineTransformation::Rotate(float Cx, float Cy, float Alpha) {
    const bool centred = Cx != 0 || Cy != 0;
    if (centred) Translate(-Cx, -Cy);
    const double a = Alpha * std::numbers::pi / 180.0;
    TFloatMatrix t = IdentityMatrix;
    t[0][0] = static_cast<float>(std::cos(a));
    t[0][1] = static_cast<float>(-std::sin(a));
    t[1][0] = static_cast<float>(std::sin(a));
    t[1][1] = static_cast<float>(std::cos(a));
    Append(t);
    if (centred) Translate(Cx, Cy);
    Changed();
}

void TAffineTransformation::Skew(float Fx, float Fy) {
    TFloatMatrix t = IdentityMatrix;
    t[1][0] = Fx;
    t[0][1] = Fy;
    Append(t);
    Changed();
}

void TAffineTransformation::Scale(float Sx, float Sy) {
    TFloatMatrix t = IdentityMatrix;
    t[0][0] = Sx;
    t[1][1] = Sy;
    Append(t);
    Changed();
}

void TAffineTransformation::Translate(float Dx, float Dy) {
    TFloatMatrix t = IdentityMatrix;
    t[2][0] = Dx;
    t[2][1] = Dy;
    Append(t);
    Changed();
}

void TAffineTransformation::PrepareTransform() {
    FInverseMatrix = Matrix;
    Invert(FInverseMatrix);
    FInverseFixedMatrix = FixedMatrix(FInverseMatrix);
    FFixedMatrix = FixedMatrix(Matrix);
    Prepared();
}

void TAffineTransformation::ReverseTransformInt(int DstX, int DstY, int& SrcX, int& SrcY) {
    const TFixed x = Fixed(DstX), y = Fixed(DstY);
    SrcX = FixedRound(AffineX(FInverseFixedMatrix, x, y));
    SrcY = FixedRound(AffineY(FInverseFixedMatrix, x, y));
}

void TAffineTransformation::ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) {
    SrcX = AffineX(FInverseFixedMatrix, DstX, DstY);
    SrcY = AffineY(FInverseFixedMatrix, DstX, DstY);
}

void TAffineTransformation::ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) {
    AffineFloat(FInverseMatrix, DstX, DstY, SrcX, SrcY);
}

void TAffineTransformation::TransformFixed(TFixed SrcX, TFixed SrcY, TFixed& DstX, TFixed& DstY) {
    DstX = AffineX(FFixedMatrix, SrcX, SrcY);
    DstY = AffineY(FFixedMatrix, SrcX, SrcY);
}

void TAffineTransformation::TransformFloat(float SrcX, float SrcY, float& DstX, float& DstY) {
    AffineFloat(Matrix, SrcX, SrcY, DstX, DstY);
}

TRect TAffineTransformation::GetTransformedBounds(const TFloatRect& ASrcRect) {
    const TVector3f corners[4] = {{ASrcRect.Left, ASrcRect.Top, 1},
                                  {ASrcRect.Right, ASrcRect.Top, 1},
                                  {ASrcRect.Left, ASrcRect.Bottom, 1},
                                  {ASrcRect.Right, ASrcRect.Bottom, 1}};
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int i = 0; i < 4; ++i) {
        const TVector3f v = VectorTransform(Matrix, corners[i]);
        minX = i ? std::min(minX, v[0]) : v[0];
        maxX = i ? std::max(maxX, v[0]) : v[0];
        minY = i ? std::min(minY, v[1]) : v[1];
        maxY = i ? std::max(maxY, v[1]) : v[1];
    }
    return OuterPixels(minX, minY, maxX, maxY);
}

// ---- TProjectiveTransformation ----

void TProjectiveTransformation::PrepareTransform() {
    const float* X = FX;
    const float* Y = FY;
    const float px = X[0] - X[1] + X[2] - X[3];
    const float py = Y[0] - Y[1] + Y[2] - Y[3];
    TFloatMatrix f{};
    if (px == 0 && py == 0) {
        // A parallelogram: the affine case.
        f[0][0] = X[1] - X[0];
        f[1][0] = X[2] - X[1];
        f[2][0] = X[0];
        f[0][1] = Y[1] - Y[0];
        f[1][1] = Y[2] - Y[1];
        f[2][1] = Y[0];
        f[2][2] = 1;
    } else {
        const float dx1 = X[1] - X[2], dx2 = X[3] - X[2];
        const float dy1 = Y[1] - Y[2], dy2 = Y[3] - Y[2];
        const float k = dx1 * dy2 - dx2 * dy1;
        if (k != 0) {
            const float g = (px * dy2 - py * dx2) / k;
            const float h = (dx1 * py - dy1 * px) / k;
            f[0][0] = X[1] - X[0] + g * X[1];
            f[1][0] = X[3] - X[0] + h * X[3];
            f[2][0] = X[0];
            f[0][1] = Y[1] - Y[0] + g * Y[1];
            f[1][1] = Y[3] - Y[0] + h * Y[3];
            f[2][1] = Y[0];
            f[0][2] = g;
            f[1][2] = h;
            f[2][2] = 1;
        }
    }
    TFloatMatrix s = IdentityMatrix;
    s[0][0] = 1.0f / (FSrcRect.Right - FSrcRect.Left);
    s[1][1] = 1.0f / (FSrcRect.Bottom - FSrcRect.Top);
    f = Mult(f, s);
    TFloatMatrix t = IdentityMatrix;
    t[2][0] = -FSrcRect.Left;
    t[2][1] = -FSrcRect.Top;
    f = Mult(f, t);
    FMatrix = f;
    FInverseMatrix = f;
    Invert(FInverseMatrix);
    FInverseFixedMatrix = FixedMatrix(FInverseMatrix);
    FFixedMatrix = FixedMatrix(FMatrix);
    Prepared();
}

void TProjectiveTransformation::ReverseTransformFixed(TFixed DstX, TFixed DstY, TFixed& SrcX, TFixed& SrcY) {
    ProjectiveFixed(FInverseFixedMatrix, DstX, DstY, SrcX, SrcY);
}

void TProjectiveTransformation::ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) {
    EMMS();
    ProjectiveFloat(FInverseMatrix, DstX, DstY, SrcX, SrcY);
}

void TProjectiveTransformation::TransformFixed(TFixed SrcX, TFixed SrcY, TFixed& DstX, TFixed& DstY) {
    ProjectiveFixed(FFixedMatrix, SrcX, SrcY, DstX, DstY);
}

void TProjectiveTransformation::TransformFloat(float SrcX, float SrcY, float& DstX, float& DstY) {
    EMMS();
    ProjectiveFloat(FMatrix, SrcX, SrcY, DstX, DstY);
}

TRect TProjectiveTransformation::GetTransformedBounds(const TFloatRect&) {
    const auto [minX, maxX] = std::minmax({FX[0], FX[1], FX[2], FX[3]});
    const auto [minY, maxY] = std::minmax({FY[0], FY[1], FY[2], FY[3]});
    return OuterPixels(minX, minY, maxX, maxY);
}

} // namespace Bmp32_Transforms
