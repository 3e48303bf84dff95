// Pixel reads and writes at integer, 24.8, 16.16 and float positions, and the stipple pattern.
#include "bitmap32/Bmp32.h"

#include "bitmap32/Bmp32_Blend.h"

#include <cmath>

namespace Bmp32 {

namespace {

// Two's-complement addition without an overflow trap, as the coordinate registers wrap.
inline int WrapAdd(int a, int b) {
    return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b));
}

inline int To24_8(TFixed v) {
    return WrapAdd(v, 127) >> 8;
}

} // namespace

TColor32 Interpolator_Pas(unsigned WX, unsigned WY, const TColor32* C11, const TColor32* C21) {
    if (WX > 255) WX = 255;
    const TColor32 top = CombineReg(C11[0], C11[1], WX);
    const TColor32 bottom = CombineReg(C21[0], C21[1], WX);
    const TColor32 result = CombineReg(top, bottom, WY);
    EMMS();
    return result;
}

TInterpolator Interpolator = Interpolator_Pas;

TColor32 TBitmap32::GetPixelS(int X, int Y) const {
    return InClip(X, Y) ? GetPixel(X, Y) : FOuterColor;
}

void TBitmap32::SetPixelS(int X, int Y, TColor32 Value) {
    if (InClip(X, Y)) SetPixel(X, Y, Value);
}

TColor32 TBitmap32::GetPixelB(int X, int Y) const {
    if (Empty()) return FOuterColor;
    return GetPixel(Clamp(X, 0, FWidth - 1), Clamp(Y, 0, FHeight - 1));
}

// The wrap routines cannot fold into an empty clip rectangle: such reads give OuterColor and such
// writes do nothing.
TColor32 TBitmap32::GetPixelW(int X, int Y) const {
    if (IsRectEmpty(FClipRect)) return FOuterColor;
    const TWrapProcEx wrap = WRAP_PROCS_EX[FWrapMode];
    return GetPixel(wrap(X, FClipRect.Left, FClipRect.Right - 1),
                    wrap(Y, FClipRect.Top, FClipRect.Bottom - 1));
}

void TBitmap32::SetPixelW(int X, int Y, TColor32 Value) {
    if (IsRectEmpty(FClipRect)) return;
    const TWrapProcEx wrap = WRAP_PROCS_EX[FWrapMode];
    SetPixel(wrap(X, FClipRect.Left, FClipRect.Right - 1), wrap(Y, FClipRect.Top, FClipRect.Bottom - 1),
             Value);
}

void TBitmap32::SetPixelT(int X, int Y, TColor32 Value) {
    BLEND_MEM[FCombineMode](Value, *GetPixelPtr(X, Y));
    EMMS();
}

void TBitmap32::SetPixelT(TColor32*& Ptr, TColor32 Value) {
    BLEND_MEM[FCombineMode](Value, *Ptr);
    EMMS();
    ++Ptr;
}

void TBitmap32::SetPixelTS(int X, int Y, TColor32 Value) {
    if (InClip(X, Y)) SetPixelT(X, Y, Value);
}

TColor32 TBitmap32::GET_T256(int X, int Y) const {
    const TColor32* p =
        GetScanLine(static_cast<int>(static_cast<unsigned>(Y) >> 8)) + (static_cast<unsigned>(X) >> 8);
    return Interpolator(GAMMA_TABLE[(X & 0xFF) ^ 0xFF], GAMMA_TABLE[(Y & 0xFF) ^ 0xFF], p, p + FWidth);
}

TColor32 TBitmap32::GET_TS256(int X, int Y) const {
    if (X < 0 || Y < 0) return FOuterColor;
    const int xm = (FWidth - 1) * 256;
    const int ym = (FHeight - 1) * 256;
    if (X < xm && Y < ym) return GET_T256(X, Y);
    if (X == xm && Y <= ym) return GetPixel(FWidth - 1, Y >> 8);
    if (X <= xm && Y == ym) return GetPixel(X >> 8, FHeight - 1);
    return FOuterColor;
}

void TBitmap32::SET_T256(int X, int Y, TColor32 Value) {
    const int fx = X & 0xFF, fy = Y & 0xFF;
    TColor32* p = GetPixelPtr(X >> 8, Y >> 8);
    const TCombineMem combine = CombineMem;
    if (FCombineMode == cmBlend) {
        const unsigned a = Value >> 24;
        const unsigned wx0 = GAMMA_TABLE[fx ^ 0xFF] * a, wx1 = GAMMA_TABLE[fx] * a;
        const unsigned wy0 = GAMMA_TABLE[fy ^ 0xFF], wy1 = GAMMA_TABLE[fy];
        combine(Value, p[0], (wx0 * wy0) >> 16);
        combine(Value, p[1], (wx1 * wy0) >> 16);
        p += FWidth;
        combine(Value, p[0], (wx0 * wy1) >> 16);
        combine(Value, p[1], (wx1 * wy1) >> 16);
    } else {
        const unsigned wx0 = GAMMA_TABLE[fx ^ 0xFF], wx1 = GAMMA_TABLE[fx];
        const unsigned wy0 = GAMMA_TABLE[fy ^ 0xFF], wy1 = GAMMA_TABLE[fy];
        combine(MergeReg(Value, p[0]), p[0], (wx0 * wy0) >> 8);
        combine(MergeReg(Value, p[1]), p[1], (wx1 * wy0) >> 8);
        p += FWidth;
        combine(MergeReg(Value, p[0]), p[0], (wx0 * wy1) >> 8);
        combine(MergeReg(Value, p[1]), p[1], (wx1 * wy1) >> 8);
    }
}

void TBitmap32::SET_TS256(int X, int Y, TColor32 Value) {
    if (X < FClipRect256.Left - 256 || X >= FClipRect256.Right || Y < FClipRect256.Top - 256 ||
        Y >= FClipRect256.Bottom)
        return;
    const int px = X >> 8, py = Y >> 8;
    if (InClip(px, py) && InClip(px + 1, py) && InClip(px, py + 1) && InClip(px + 1, py + 1)) {
        SET_T256(X, Y, Value);
        return;
    }
    const int fx = X & 0xFF, fy = Y & 0xFF;
    unsigned wx[2], wy[2];
    if (FCombineMode == cmBlend) {
        const unsigned a = Value >> 24;
        wx[0] = GAMMA_TABLE[fx ^ 0xFF] * a;
        wx[1] = GAMMA_TABLE[fx] * a;
    } else {
        wx[0] = GAMMA_TABLE[fx ^ 0xFF];
        wx[1] = GAMMA_TABLE[fx];
    }
    wy[0] = GAMMA_TABLE[fy ^ 0xFF];
    wy[1] = GAMMA_TABLE[fy];
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            if (!InClip(px + i, py + j)) continue;
            TColor32& pixel = *GetPixelPtr(px + i, py + j);
            if (FCombineMode == cmBlend)
                CombineMem(Value, pixel, (wx[i] * wy[j]) >> 16);
            else
                CombineMem(MergeReg(Value, pixel), pixel, (wx[i] * wy[j]) >> 8);
        }
}

TColor32 TBitmap32::GetPixelX(TFixed X, TFixed Y) const {
    TColor32 c = GET_T256(To24_8(X), To24_8(Y));
    EMMS();
    return c;
}

TColor32 TBitmap32::GetPixelXS(TFixed X, TFixed Y) const {
    TColor32 c = GET_TS256(To24_8(X), To24_8(Y));
    EMMS();
    return c;
}

void TBitmap32::SetPixelX(TFixed X, TFixed Y, TColor32 Value) {
    SET_T256(To24_8(X), To24_8(Y), Value);
    EMMS();
}

void TBitmap32::SetPixelXS(TFixed X, TFixed Y, TColor32 Value) {
    SET_TS256(To24_8(X), To24_8(Y), Value);
    EMMS();
}

TColor32 TBitmap32::GetPixelF(float X, float Y) const {
    TColor32 c = GET_T256(RoundToInt(X * 256.0), RoundToInt(Y * 256.0));
    EMMS();
    return c;
}

TColor32 TBitmap32::GetPixelFS(float X, float Y) const {
    TColor32 c = GET_TS256(RoundToInt(X * 256.0), RoundToInt(Y * 256.0));
    EMMS();
    return c;
}

void TBitmap32::SetPixelF(float X, float Y, TColor32 Value) {
    SET_T256(RoundToInt(X * 256.0), RoundToInt(Y * 256.0), Value);
    EMMS();
}

void TBitmap32::SetPixelFS(float X, float Y, TColor32 Value) {
    SET_TS256(RoundToInt(X * 256.0), RoundToInt(Y * 256.0), Value);
    EMMS();
}

TColor32 TBitmap32::GetPixelXW(TFixed X, TFixed Y) const {
    if (IsRectEmpty(FClipRect)) return FOuterColor;
    const TWrapProcEx wrap = WRAP_PROCS_EX[FWrapMode];
    const int x0 = X >> 16, y0 = Y >> 16;
    const int l = FClipRect.Left, r = FClipRect.Right - 1, t = FClipRect.Top, b = FClipRect.Bottom - 1;
    const int xa = wrap(x0, l, r), xb = wrap(WrapAdd(x0, 1), l, r);
    const int ya = wrap(y0, t, b), yb = wrap(WrapAdd(y0, 1), t, b);
    const unsigned wx = (static_cast<unsigned>(X) >> 8) & 0xFF;
    const unsigned wy = (static_cast<unsigned>(Y) >> 8) & 0xFF;
    const TColor32 top = CombineReg(GetPixel(xb, ya), GetPixel(xa, ya), wx);
    const TColor32 bottom = CombineReg(GetPixel(xb, yb), GetPixel(xa, yb), wx);
    const TColor32 c = CombineReg(bottom, top, wy);
    EMMS();
    return c;
}

void TBitmap32::SetPixelXW(TFixed X, TFixed Y, TColor32 Value) {
    if (IsRectEmpty(FClipRect)) return;
    const TWrapProcEx wrap = WRAP_PROCS_EX[FWrapMode];
    const int x = wrap(To24_8(X), FClipRect256.Left, FClipRect256.Right - 128);
    const int y = wrap(To24_8(Y), FClipRect256.Top, FClipRect256.Bottom - 128);
    // A folded position up to half a pixel before the right or bottom edge still touches the pixel
    // past it; those writes are dropped rather than landing outside the clip rectangle.
    SET_TS256(x, y, Value);
    EMMS();
}

TColor32 TBitmap32::GetPixelFW(float X, float Y) const {
    return GetPixelXW(Fixed(X), Fixed(Y));
}

void TBitmap32::SetPixelFW(float X, float Y, TColor32 Value) {
    SetPixelXW(Fixed(X), Fixed(Y), Value);
}

void TBitmap32::SetStipple(const TArrayOfColor32& NewStipple) {
    FStipplePattern = NewStipple;
    FStippleCounter = 0;
}

void TBitmap32::AdvanceStippleCounter(float LengthPixels) {
    const int l = static_cast<int>(FStipplePattern.size());
    const float delta = LengthPixels * FStippleStep;
    if (l > 0 && delta != 0) {
        FStippleCounter += delta;
        FStippleCounter -= std::floor(FStippleCounter / l) * l;
        if (!std::isfinite(FStippleCounter)) FStippleCounter = 0;
    }
}

TColor32 TBitmap32::GetStippleColor() {
    const int l = static_cast<int>(FStipplePattern.size());
    if (l == 0) return clBlack32;
    float counter = FStippleCounter;
    if (!std::isfinite(counter)) counter = 0;
    // Repeated subtraction as far as it terminates quickly; fmod beyond, where a float step of one
    // pattern length no longer changes the value.
    if (std::fabs(counter) > 1024.0f * l) counter = std::fmod(counter, static_cast<float>(l));
    while (counter >= l)
        counter -= l;
    while (counter < 0)
        counter += l;
    int prevIndex = static_cast<int>(std::nearbyint(counter - 0.5f));
    if (prevIndex >= l) prevIndex = l - 1;
    if (prevIndex < 0) prevIndex = 0;
    const unsigned prevWeight = 255 - static_cast<unsigned>(std::nearbyint(255.0f * (counter - prevIndex)));
    int nextIndex = prevIndex + 1;
    if (nextIndex == l) nextIndex = 0;
    TColor32 result;
    if (prevWeight == 255) {
        result = FStipplePattern[static_cast<std::size_t>(prevIndex)];
    } else {
        result = CombineReg(FStipplePattern[static_cast<std::size_t>(prevIndex)],
                            FStipplePattern[static_cast<std::size_t>(nextIndex)], prevWeight);
        EMMS();
    }
    FStippleCounter = counter + FStippleStep;
    return result;
}

} // namespace Bmp32
