#include "bitmap32/Bmp32_Transforms.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Bmp32_Transforms {

namespace {

constexpr float Pi = std::numbers::pi_v<float>;

} // namespace

// ---- TTwirlTransformation ----

void TTwirlTransformation::SetTwirl(float Value) {
    FTwirl = Value;
    Changed();
}

void TTwirlTransformation::PrepareTransform() {
    // Half the size, measured from 0: the drawing routine works in the source's own coordinates.
    FCenterX = (FSrcRect.Right - FSrcRect.Left) / 2;
    FCenterY = (FSrcRect.Bottom - FSrcRect.Top) / 2;
    Prepared();
}

void TTwirlTransformation::ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) {
    const float xf = DstX - FCenterX;
    const float yf = DstY - FCenterY;
    const float r = std::sqrt(xf * xf + yf * yf);
    const float t = std::atan2(yf, xf) + r * FTwirl;
    SrcX = r * std::cos(t) + FCenterX;
    SrcY = r * std::sin(t) + FCenterY;
}

TRect TTwirlTransformation::GetTransformedBounds(const TFloatRect& ASrcRect) {
    const float cx = (ASrcRect.Left + ASrcRect.Right) / 2;
    const float cy = (ASrcRect.Top + ASrcRect.Bottom) / 2;
    const float r = std::max(cy - ASrcRect.Top, cx - ASrcRect.Left) * Pi / 2;
    return TRect{RoundToInt(cx - r), RoundToInt(cy - r), RoundToInt(cx + r), RoundToInt(cy + r)};
}

// ---- TBloatTransformation ----

void TBloatTransformation::SetBloatPower(float Value) {
    FBloatPower = Value;
    Changed();
}

void TBloatTransformation::PrepareTransform() {
    FPiW = Pi / (FSrcRect.Right - FSrcRect.Left);
    FPiH = Pi / (FSrcRect.Bottom - FSrcRect.Top);
    FBP = FBloatPower * std::max(FSrcRect.Bottom - FSrcRect.Top, FSrcRect.Right - FSrcRect.Left);
    Prepared();
}

void TBloatTransformation::ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) {
    const float sy = std::sin(FPiH * DstY), cy = std::cos(FPiH * DstY);
    const float sx = std::sin(FPiW * DstX), cx = std::cos(FPiW * DstX);
    const float t = FBP * sy * sx;
    SrcX = t * cx + DstX;
    SrcY = t * cy + DstY;
}

// ---- TDisturbanceTransformation ----

void TDisturbanceTransformation::SetDisturbance(float Value) {
    FDisturbance = Value;
    Changed();
}

void TDisturbanceTransformation::ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) {
    std::uniform_real_distribution<float> rnd(0.0f, 1.0f);
    const float dx = rnd(FRandom) - 0.5f;
    const float dy = rnd(FRandom) - 0.5f;
    SrcX = DstX + dx * FDisturbance;
    SrcY = DstY + dy * FDisturbance;
}

TRect TDisturbanceTransformation::GetTransformedBounds(const TFloatRect& ASrcRect) {
    TFloatRect r = ASrcRect;
    InflateRect(r, FDisturbance / 2, FDisturbance / 2);
    return MakeRect(r, rrClosest);
}

// ---- TFishEyeTransformation ----

void TFishEyeTransformation::PrepareTransform() {
    const float rx = (FSrcRect.Right - FSrcRect.Left) / 2;
    const float ry = (FSrcRect.Bottom - FSrcRect.Top) / 2;
    FCenterX = rx;
    FCenterY = ry;
    if (rx <= ry) {
        FMinRadius = rx;
        FXScale = 1;
        FYScale = rx / ry;
    } else {
        FMinRadius = ry;
        FXScale = ry / rx;
        FYScale = 1;
    }
    FInvRadius = 1 / FMinRadius;
    FAngleFactor = std::asin(std::clamp(FMinRadius * FInvRadius, -1.0f, 1.0f));
    if (FAngleFactor != 0) FAngleFactor = 1 / FAngleFactor;
    FAngleFactor *= FMinRadius;
    Prepared();
}

void TFishEyeTransformation::ReverseTransformFloat(float DstX, float DstY, float& SrcX, float& SrcY) {
    const float u = (DstX - FCenterX) * FXScale;
    const float v = (DstY - FCenterY) * FYScale;
    const float d = std::sqrt(u * u + v * v);
    if (d > 0 && d < FMinRadius) {
        const float k = std::asin(d * FInvRadius) * FAngleFactor / d;
        SrcX = u * k + FCenterX;
        SrcY = v * k + FCenterY;
    } else {
        SrcX = DstX;
        SrcY = DstY;
    }
}

} // namespace Bmp32_Transforms
