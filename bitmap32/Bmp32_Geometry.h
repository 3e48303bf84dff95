// Point and rectangle constructors and helpers for integer, 16.16 fixed and float geometry.
//
// IntersectRect here answers true for a zero-size result, unlike the platform's function of that name;
// the transformation code relies on that.
#pragma once

#include "bitmap32/Bmp32_Types.h"

namespace Bmp32 {

// Point(X, Y) and Rect(...) of integers are the platform's.
TPoint Point(const TFloatPoint& FP);
TPoint Point(const TFixedPoint& FXP);
inline TFloatPoint FloatPoint(float X, float Y) {
    return TFloatPoint{X, Y};
}
inline TFloatPoint FloatPoint(const TPoint& P) {
    return TFloatPoint{float(P.X), float(P.Y)};
}
TFloatPoint FloatPoint(const TFixedPoint& FXP);
inline TFixedPoint FixedPoint(int X, int Y) {
    return TFixedPoint{Fixed(X), Fixed(Y)};
}
inline TFixedPoint FixedPoint(float X, float Y) {
    return TFixedPoint{Fixed(X), Fixed(Y)};
}
inline TFixedPoint FixedPoint(const TPoint& P) {
    return FixedPoint(P.X, P.Y);
}
inline TFixedPoint FixedPoint(const TFloatPoint& FP) {
    return FixedPoint(FP.X, FP.Y);
}

inline TRect MakeRect(int L, int T, int R, int B) {
    return TRect{L, T, R, B};
}
TRect MakeRect(const TFloatRect& FR, TRectRounding Rounding = rrClosest);
TRect MakeRect(const TFixedRect& FXR, TRectRounding Rounding = rrClosest);
inline TFixedRect FixedRect(TFixed L, TFixed T, TFixed R, TFixed B) {
    return TFixedRect{L, T, R, B};
}
TFixedRect FixedRect(const TRect& ARect);
TFixedRect FixedRect(const TFloatRect& FR);
inline TFloatRect FloatRect(float L, float T, float R, float B) {
    return TFloatRect{L, T, R, B};
}
TFloatRect FloatRect(const TRect& ARect);
TFloatRect FloatRect(const TFixedRect& FXR);

bool IntersectRect(TRect& Dst, const TRect& R1, const TRect& R2);
bool IntersectRect(TFloatRect& Dst, const TFloatRect& FR1, const TFloatRect& FR2);
bool UnionRect(TRect& Rect, const TRect& R1, const TRect& R2);
bool UnionRect(TFloatRect& Rect, const TFloatRect& R1, const TFloatRect& R2);
inline bool EqualRect(const TRect& R1, const TRect& R2) {
    return R1 == R2;
}
bool EqualRectSize(const TRect& R1, const TRect& R2);
bool EqualRectSize(const TFloatRect& R1, const TFloatRect& R2);
void InflateRect(TRect& R, int Dx, int Dy);
void InflateRect(TFloatRect& FR, float Dx, float Dy);
void OffsetRect(TRect& R, int Dx, int Dy);
void OffsetRect(TFloatRect& FR, float Dx, float Dy);
inline bool IsRectEmpty(const TRect& R) {
    return R.Right <= R.Left || R.Bottom <= R.Top;
}
inline bool IsRectEmpty(const TFloatRect& FR) {
    return FR.Right <= FR.Left || FR.Bottom <= FR.Top;
}
inline bool PtInRect(const TRect& R, const TPoint& P) {
    return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

// Float to integer, rounded (ties to even) or floored/ceiled, saturating at the 32-bit range.
int RoundToInt(double Value);
int FloorToInt(double Value);
int CeilToInt(double Value);

} // namespace Bmp32
