// Filled, framed and raised rectangles.
#include "bitmap32/Bmp32.h"

#include "bitmap32/Bmp32_Blend.h"

namespace Bmp32 {

void TBitmap32::FillRect(int X1, int Y1, int X2, int Y2, TColor32 Value) {
    FillRows(TRect{X1, Y1, X2, Y2}, Value);
    Changed(TRect{X1, Y1, X2, Y2});
}

void TBitmap32::FillRectS(int X1, int Y1, int X2, int Y2, TColor32 Value) {
    if (FMeasuringMode || X2 <= X1 || Y2 <= Y1) return;
    TRect r;
    if (!IntersectRect(r, TRect{X1, Y1, X2, Y2}, FClipRect) || IsRectEmpty(r)) return;
    FillRows(r, Value);
    Changed(TRect{X1, Y1, X2, Y2});
}

void TBitmap32::FillRectS(const TRect& ARect, TColor32 Value) {
    FillRectS(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, Value);
}

void TBitmap32::BlendRect(const TRect& R, TColor32 Value) {
    const TColor32 alpha = Value >> 24;
    for (int y = R.Top; y < R.Bottom; ++y) {
        TColor32* p = GetPixelPtr(R.Left, y);
        if (FCombineMode == cmMerge)
            for (int x = R.Left; x < R.Right; ++x, ++p)
                MergeMem(Value, *p);
        else
            for (int x = R.Left; x < R.Right; ++x, ++p)
                CombineMem(Value, *p, alpha);
    }
    EMMS();
}

void TBitmap32::FillRectT(int X1, int Y1, int X2, int Y2, TColor32 Value) {
    const TColor32 alpha = Value >> 24;
    if (alpha == 0xFF) {
        FillRect(X1, Y1, X2, Y2, Value);
        return;
    }
    if (alpha == 0) return;
    BlendRect(TRect{X1, Y1, X2, Y2}, Value);
    Changed(TRect{X1, Y1, X2, Y2});
}

void TBitmap32::FillRectTS(int X1, int Y1, int X2, int Y2, TColor32 Value) {
    if (X2 <= X1 || Y2 <= Y1 || (Value >> 24) == 0) return;
    TRect r;
    if (!IntersectRect(r, TRect{X1, Y1, X2, Y2}, FClipRect) || IsRectEmpty(r)) return;
    if (!FMeasuringMode) {
        if ((Value >> 24) == 0xFF)
            FillRows(r, Value);
        else
            BlendRect(r, Value);
    }
    Changed(TRect{X1, Y1, X2, Y2});
}

void TBitmap32::FillRectTS(const TRect& ARect, TColor32 Value) {
    FillRectTS(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, Value);
}

namespace {

// Whether the outline of (X1, Y1)-(X2, Y2) (right and bottom excluded) has anything to draw in Clip.
bool FrameVisible(int X1, int Y1, int X2, int Y2, const TRect& Clip) {
    if (X2 <= X1 || Y2 <= Y1) return false;
    TRect r;
    return IntersectRect(r, TRect{X1, Y1, X2, Y2}, Clip) && !IsRectEmpty(r);
}

} // namespace

// The sides run between the top and bottom rows only, so that blended corners are not drawn twice.
void TBitmap32::FrameRectS(int X1, int Y1, int X2, int Y2, TColor32 Value) {
    if (!FrameVisible(X1, Y1, X2, Y2, FClipRect)) return;
    HorzLineS(X1, Y1, X2 - 1, Value);
    if (Y2 > Y1 + 1) HorzLineS(X1, Y2 - 1, X2 - 1, Value);
    if (Y2 > Y1 + 2) {
        VertLineS(X1, Y1 + 1, Y2 - 2, Value);
        if (X2 > X1 + 1) VertLineS(X2 - 1, Y1 + 1, Y2 - 2, Value);
    }
}

void TBitmap32::FrameRectS(const TRect& ARect, TColor32 Value) {
    FrameRectS(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, Value);
}

void TBitmap32::FrameRectTS(int X1, int Y1, int X2, int Y2, TColor32 Value) {
    if (!FrameVisible(X1, Y1, X2, Y2, FClipRect)) return;
    HorzLineTS(X1, Y1, X2 - 1, Value);
    if (Y2 > Y1 + 1) HorzLineTS(X1, Y2 - 1, X2 - 1, Value);
    if (Y2 > Y1 + 2) {
        VertLineTS(X1, Y1 + 1, Y2 - 2, Value);
        if (X2 > X1 + 1) VertLineTS(X2 - 1, Y1 + 1, Y2 - 2, Value);
    }
}

void TBitmap32::FrameRectTS(const TRect& ARect, TColor32 Value) {
    FrameRectTS(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, Value);
}

// Clockwise from the top-left corner, so that the pattern runs on round the corners.
void TBitmap32::FrameRectTSP(int X1, int Y1, int X2, int Y2) {
    if (X2 <= X1 || Y2 <= Y1) return;
    const int r = X2 - 1, b = Y2 - 1;
    if (X1 == r && Y1 == b) {
        const TColor32 c = GetStippleColor();
        if (!FMeasuringMode) SetPixelTS(X1, Y1, c);
    } else if (Y1 == b) {
        HorzLineTSP(X1, Y1, r);
    } else if (X1 == r) {
        VertLineTSP(X1, Y1, b);
    } else {
        HorzLineTSP(X1, Y1, r - 1);
        VertLineTSP(r, Y1, b - 1);
        HorzLineTSP(r, b, X1 + 1);
        VertLineTSP(X1, b, Y1 + 1);
    }
    Changed(TRect{X1, Y1, X2, Y2});
}

void TBitmap32::RaiseRectTS(int X1, int Y1, int X2, int Y2, int Contrast) {
    if (Contrast == 0 || !FrameVisible(X1, Y1, X2, Y2, FClipRect)) return;
    auto alpha = [](std::int64_t contrast, int scale) {
        const std::int64_t v = contrast * scale / 100;
        return static_cast<int>(v > 255 ? 255 : (v < 0 ? 0 : v));
    };
    TColor32 c1, c2;
    if (Contrast > 0) {
        c1 = SetAlpha(clWhite32, alpha(Contrast, 512));
        c2 = SetAlpha(clBlack32, alpha(Contrast, 255));
    } else {
        c1 = SetAlpha(clBlack32, alpha(-std::int64_t{Contrast}, 255));
        c2 = SetAlpha(clWhite32, alpha(-std::int64_t{Contrast}, 512));
    }
    HorzLineTS(X1, Y1, X2 - 1, c1);
    if (Y2 > Y1 + 2) VertLineTS(X1, Y1 + 1, Y2 - 2, c1);
    if (Y2 > Y1 + 1) HorzLineTS(X1, Y2 - 1, X2 - 1, c2);
    if (Y2 > Y1 + 2 && X2 > X1 + 1) VertLineTS(X2 - 1, Y1 + 1, Y2 - 2, c2);
}

void TBitmap32::RaiseRectTS(const TRect& ARect, int Contrast) {
    RaiseRectTS(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, Contrast);
}

} // namespace Bmp32
