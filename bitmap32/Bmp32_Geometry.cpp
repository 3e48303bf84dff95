#include "bitmap32/Bmp32_Geometry.h"

#include <algorithm>
#include <cmath>

namespace Bmp32 {

namespace {

int Saturate(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(v);
}

} // namespace

int RoundToInt(double Value) {
    return Saturate(std::nearbyint(Value));
}
int FloorToInt(double Value) {
    return Saturate(std::floor(Value));
}
int CeilToInt(double Value) {
    return Saturate(std::ceil(Value));
}

TPoint Point(const TFloatPoint& FP) {
    return TPoint{RoundToInt(FP.X), RoundToInt(FP.Y)};
}

TPoint Point(const TFixedPoint& FXP) {
    return TPoint{FixedRound(FXP.X), FixedRound(FXP.Y)};
}

TFloatPoint FloatPoint(const TFixedPoint& FXP) {
    const float f = 1.0f / 65536.0f;
    return TFloatPoint{FXP.X * f, FXP.Y * f};
}

TRect MakeRect(const TFloatRect& FR, TRectRounding Rounding) {
    TRect r;
    switch (Rounding) {
    case rrClosest:
        r = TRect{RoundToInt(FR.Left), RoundToInt(FR.Top), RoundToInt(FR.Right), RoundToInt(FR.Bottom)};
        break;
    case rrOutside:
        r = TRect{FloorToInt(FR.Left), FloorToInt(FR.Top), CeilToInt(FR.Right), CeilToInt(FR.Bottom)};
        break;
    case rrInside:
        r = TRect{CeilToInt(FR.Left), CeilToInt(FR.Top), FloorToInt(FR.Right), FloorToInt(FR.Bottom)};
        if (r.Right < r.Left) r.Right = r.Left;
        if (r.Bottom < r.Top) r.Bottom = r.Top;
        break;
    }
    return r;
}

TRect MakeRect(const TFixedRect& FXR, TRectRounding Rounding) {
    TRect r;
    switch (Rounding) {
    case rrClosest:
        r = TRect{FixedRound(FXR.Left), FixedRound(FXR.Top), FixedRound(FXR.Right), FixedRound(FXR.Bottom)};
        break;
    case rrOutside:
        r = TRect{FixedFloor(FXR.Left), FixedFloor(FXR.Top), FixedCeil(FXR.Right), FixedCeil(FXR.Bottom)};
        break;
    case rrInside:
        r = TRect{FixedCeil(FXR.Left), FixedCeil(FXR.Top), FixedFloor(FXR.Right), FixedFloor(FXR.Bottom)};
        if (r.Right < r.Left) r.Right = r.Left;
        if (r.Bottom < r.Top) r.Bottom = r.Top;
        break;
    }
    return r;
}

TFixedRect FixedRect(const TRect& ARect) {
    return TFixedRect{Fixed(ARect.Left), Fixed(ARect.Top), Fixed(ARect.Right), Fixed(ARect.Bottom)};
}

TFixedRect FixedRect(const TFloatRect& FR) {
    return TFixedRect{Fixed(FR.Left), Fixed(FR.Top), Fixed(FR.Right), Fixed(FR.Bottom)};
}

TFloatRect FloatRect(const TRect& ARect) {
    return TFloatRect{float(ARect.Left), float(ARect.Top), float(ARect.Right), float(ARect.Bottom)};
}

TFloatRect FloatRect(const TFixedRect& FXR) {
    const float f = 1.0f / 65536.0f;
    return TFloatRect{FXR.Left * f, FXR.Top * f, FXR.Right * f, FXR.Bottom * f};
}

bool IntersectRect(TRect& Dst, const TRect& R1, const TRect& R2) {
    Dst = TRect{std::max(R1.Left, R2.Left), std::max(R1.Top, R2.Top), std::min(R1.Right, R2.Right),
                std::min(R1.Bottom, R2.Bottom)};
    if (Dst.Right >= Dst.Left && Dst.Bottom >= Dst.Top) return true;
    Dst = TRect{};
    return false;
}

bool IntersectRect(TFloatRect& Dst, const TFloatRect& FR1, const TFloatRect& FR2) {
    Dst = TFloatRect{std::max(FR1.Left, FR2.Left), std::max(FR1.Top, FR2.Top), std::min(FR1.Right, FR2.Right),
                     std::min(FR1.Bottom, FR2.Bottom)};
    if (Dst.Right >= Dst.Left && Dst.Bottom >= Dst.Top) return true;
    Dst = TFloatRect{};
    return false;
}

bool UnionRect(TRect& Rect, const TRect& R1, const TRect& R2) {
    Rect = R1;
    if (!IsRectEmpty(R2)) {
        Rect.Left = std::min(Rect.Left, R2.Left);
        Rect.Top = std::min(Rect.Top, R2.Top);
        Rect.Right = std::max(Rect.Right, R2.Right);
        Rect.Bottom = std::max(Rect.Bottom, R2.Bottom);
    }
    if (IsRectEmpty(Rect)) {
        Rect = TRect{};
        return false;
    }
    return true;
}

bool UnionRect(TFloatRect& Rect, const TFloatRect& R1, const TFloatRect& R2) {
    Rect = R1;
    if (!IsRectEmpty(R2)) {
        Rect.Left = std::min(Rect.Left, R2.Left);
        Rect.Top = std::min(Rect.Top, R2.Top);
        Rect.Right = std::max(Rect.Right, R2.Right);
        Rect.Bottom = std::max(Rect.Bottom, R2.Bottom);
    }
    if (IsRectEmpty(Rect)) {
        Rect = TFloatRect{};
        return false;
    }
    return true;
}

bool EqualRectSize(const TRect& R1, const TRect& R2) {
    return R1.Right - R1.Left == R2.Right - R2.Left && R1.Bottom - R1.Top == R2.Bottom - R2.Top;
}

bool EqualRectSize(const TFloatRect& R1, const TFloatRect& R2) {
    TFixedRect a = FixedRect(R1), b = FixedRect(R2);
    return a.Right - a.Left == b.Right - b.Left && a.Bottom - a.Top == b.Bottom - b.Top;
}

void InflateRect(TRect& R, int Dx, int Dy) {
    R.Left -= Dx;
    R.Top -= Dy;
    R.Right += Dx;
    R.Bottom += Dy;
}

void InflateRect(TFloatRect& FR, float Dx, float Dy) {
    FR.Left -= Dx;
    FR.Top -= Dy;
    FR.Right += Dx;
    FR.Bottom += Dy;
}

void OffsetRect(TRect& R, int Dx, int Dy) {
    R.Left += Dx;
    R.Top += Dy;
    R.Right += Dx;
    R.Bottom += Dy;
}

void OffsetRect(TFloatRect& FR, float Dx, float Dy) {
    FR.Left += Dx;
    FR.Top += Dy;
    FR.Right += Dx;
    FR.Bottom += Dy;
}

} // namespace Bmp32
