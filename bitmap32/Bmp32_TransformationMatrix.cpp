#include "bitmap32/Bmp32_Transforms.h"

#include <cmath>

namespace Bmp32_Transforms {

namespace {

double Det2(double A, double B, double C, double D) {
    return A * D - B * C;
}

} // namespace

float Determinant(const TFloatMatrix& M) {
    // Doubles inside, so that a near-singular float matrix is judged on its own values.
    const double a = M[0][0], b = M[0][1], c = M[0][2];
    return static_cast<float>(a * Det2(M[1][1], M[1][2], M[2][1], M[2][2]) -
                              b * Det2(M[1][0], M[1][2], M[2][0], M[2][2]) +
                              c * Det2(M[1][0], M[1][1], M[2][0], M[2][1]));
}

void Adjoint(TFloatMatrix& M) {
    const TFloatMatrix a = M;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            // Minor of (j, i): drop row j and column i.
            const int r0 = j == 0 ? 1 : 0, r1 = j == 2 ? 1 : 2;
            const int c0 = i == 0 ? 1 : 0, c1 = i == 2 ? 1 : 2;
            const double minor = Det2(a[r0][c0], a[r0][c1], a[r1][c0], a[r1][c1]);
            M[i][j] = static_cast<float>((i + j) % 2 ? -minor : minor);
        }
}

void Scale(TFloatMatrix& M, float Factor) {
    for (auto& row : M)
        for (float& v : row)
            v *= Factor;
}

void Invert(TFloatMatrix& M) {
    const float det = Determinant(M);
    // A determinant that overflowed or came from NaN entries is as useless as a zero one.
    if (!std::isfinite(det) || std::fabs(det) < 1e-5f) {
        M = IdentityMatrix;
        return;
    }
    Adjoint(M);
    Scale(M, 1.0f / det);
}

TFloatMatrix Mult(const TFloatMatrix& M1, const TFloatMatrix& M2) {
    TFloatMatrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = M1[0][j] * M2[i][0] + M1[1][j] * M2[i][1] + M1[2][j] * M2[i][2];
    return r;
}

TVector3f VectorTransform(const TFloatMatrix& M, const TVector3f& V) {
    TVector3f r{};
    for (int j = 0; j < 3; ++j)
        r[j] = M[0][j] * V[0] + M[1][j] * V[1] + M[2][j] * V[2];
    return r;
}

TFixedMatrix FixedMatrix(const TFloatMatrix& M) {
    TFixedMatrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = Fixed(M[i][j]);
    return r;
}

TFloatMatrix FloatMatrix(const TFixedMatrix& M) {
    TFloatMatrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            r[i][j] = M[i][j] * (1.0f / 65536.0f);
    return r;
}

} // namespace Bmp32_Transforms
