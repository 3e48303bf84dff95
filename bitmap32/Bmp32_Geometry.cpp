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

// Float and fixed rectangles round by one rule; only the rounding of an edge differs.
template <class R, class Near, class Down, class Up>
TRect RoundRect(const R& r, TRectRounding rounding, Near near, Down down, Up up) {
    TRect out;
    switch (rounding) {
    case rrClosest:
        out = TRect{near(r.Left), near(r.Top), near(r.Right), near(r.Bottom)};
        break;
    case rrOutside:
        out = TRect{down(r.Left), down(r.Top), up(r.Right), up(r.Bottom)};
        break;
    case rrInside:
        out = TRect{up(r.Left), up(r.Top), down(r.Right), down(r.Bottom)};
        if (out.Right < out.Left) out.Right = out.Left;
        if (out.Bottom < out.Top) out.Bottom = out.Top;
        break;
    }
    return out;
}

// A zero-size intersection still counts; no overlap at all gives the empty rectangle.
template <class R>
bool Intersect(R& Dst, const R& R1, const R& R2) {
    Dst = R{std::max(R1.Left, R2.Left), std::max(R1.Top, R2.Top), std::min(R1.Right, R2.Right),
            std::min(R1.Bottom, R2.Bottom)};
    if (Dst.Right >= Dst.Left && Dst.Bottom >= Dst.Top) return true;
    Dst = R{};
    return false;
}

// An empty R2 adds nothing; an empty union gives the empty rectangle.
template <class R>
bool Union(R& Rect, const R& R1, const R& R2) {
    Rect = R1;
    if (!IsRectEmpty(R2)) {
        Rect.Left = std::min(Rect.Left, R2.Left);
        Rect.Top = std::min(Rect.Top, R2.Top);
        Rect.Right = std::max(Rect.Right, R2.Right);
        Rect.Bottom = std::max(Rect.Bottom, R2.Bottom);
    }
    if (IsRectEmpty(Rect)) {
        Rect = R{};
        return false;
    }
    return true;
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
    return RoundRect(FR, Rounding, RoundToInt, FloorToInt, CeilToInt);
}

TRect MakeRect(const TFixedRect& FXR, TRectRounding Rounding) {
    return RoundRect(FXR, Rounding, FixedRound, FixedFloor, FixedCeil);
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
    return Intersect(Dst, R1, R2);
}

bool IntersectRect(TFloatRect& Dst, const TFloatRect& FR1, const TFloatRect& FR2) {
    return Intersect(Dst, FR1, FR2);
}

bool UnionRect(TRect& Rect, const TRect& R1, const TRect& R2) {
    return Union(Rect, R1, R2);
}

bool UnionRect(TFloatRect& Rect, const TFloatRect& R1, const TFloatRect& R2) {
    return Union(Rect, R1, R2);
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
