// Antialiased lines at 16.16 and float positions, plain and stippled, and the pen's LineTo forms.
#include "bitmap32/Bmp32.h"

#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_DrawingEx.h"

#include <cmath>

namespace Bmp32 {

namespace {

TRect LineArea(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2) {
    return MakeRect(TFixedRect{X1, Y1, X2, Y2}, rrClosest);
}

// Length of a 16.16 vector in pixels.
float PixelLength(std::int64_t dx, std::int64_t dy) {
    return static_cast<float>(std::hypot(static_cast<double>(dx), static_cast<double>(dy)) / 65536.0);
}

} // namespace

// Steps along the line one pixel length at a time from (X1, Y1) + 127 (so that the 24.8 conversion
// rounds); the remaining fraction of the length draws one last pixel with its alpha scaled by it.
void TBitmap32::LineXSteps(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, TColor32 Value, bool L, bool Clipped,
                           bool Stippled) {
    const std::int64_t dx = std::int64_t{X2} - X1, dy = std::int64_t{Y2} - Y1;
    std::int64_t n = static_cast<std::int64_t>(std::nearbyint(std::hypot(double(dx), double(dy))));
    if (L) n += 65536;
    if (n < 256) return;
    std::int64_t x = std::int64_t{X1} + 127, y = std::int64_t{Y1} + 127;
    auto put = [this, Clipped](std::int64_t px, std::int64_t py, TColor32 c) {
        const int x256 = static_cast<int>(px >> 8), y256 = static_cast<int>(py >> 8);
        if (Clipped)
            SET_TS256(x256, y256, c);
        else
            SET_T256(x256, y256, c);
    };
    const std::int64_t steps = n >> 16;
    if (steps > 0) {
        const std::int64_t sx = static_cast<std::int64_t>(std::nearbyint(double(dx) * 65536.0 / double(n)));
        const std::int64_t sy = static_cast<std::int64_t>(std::nearbyint(double(dy) * 65536.0 / double(n)));
        for (std::int64_t i = 0; i < steps; ++i) {
            put(x, y, Stippled ? GetStippleColor() : Value);
            x += sx;
            y += sy;
        }
    }
    const std::int64_t fraction = n - (steps << 16);
    const TColor32 c = Stippled ? GetStippleColor() : Value;
    put(x, y, SetAlpha(c, static_cast<int>(((c >> 24) * fraction) >> 16)));
    EMMS();
}

void TBitmap32::LineX(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, TColor32 Value, bool L) {
    LineXSteps(X1, Y1, X2, Y2, Value, L, false, false);
    Changed(LineArea(X1, Y1, X2, Y2), AREAINFO_LINE);
}

// Every pixel goes through the clipped 24.8 write, which writes a pixel inside the clip rectangle exactly
// as the unclipped one does; the rounding of the step may carry the last pixel of a line ending near the
// edge one pixel further, so no stretch of the line is drawn unchecked.
void TBitmap32::LineXS(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, TColor32 Value, bool L) {
    if (FMeasuringMode) {
        Changed(LineArea(X1, Y1, X2, Y2), AREAINFO_LINE);
        return;
    }
    int cx1 = X1, cy1 = Y1, cx2 = X2, cy2 = Y2;
    if (!ClipLine(cx1, cy1, cx2, cy2, FFixedClipRect.Left - FixedOne, FFixedClipRect.Top - FixedOne,
                  FFixedClipRect.Right, FFixedClipRect.Bottom))
        return;
    if (cx2 != X2 || cy2 != Y2) L = true;
    LineXSteps(cx1, cy1, cx2, cy2, Value, L, true, false);
    Changed(LineArea(cx1, cy1, cx2, cy2), AREAINFO_LINE);
}

void TBitmap32::LineF(float X1, float Y1, float X2, float Y2, TColor32 Value, bool L) {
    LineX(Fixed(X1), Fixed(Y1), Fixed(X2), Fixed(Y2), Value, L);
}

void TBitmap32::LineFS(float X1, float Y1, float X2, float Y2, TColor32 Value, bool L) {
    LineXS(Fixed(X1), Fixed(Y1), Fixed(X2), Fixed(Y2), Value, L);
}

void TBitmap32::LineXP(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, bool L) {
    LineXSteps(X1, Y1, X2, Y2, 0, L, false, true);
    Changed(LineArea(X1, Y1, X2, Y2), AREAINFO_LINE);
}

// The stipple counter also advances over the parts cut off by clipping, so the pattern runs on across
// the clip edge.
void TBitmap32::LineXSP(TFixed X1, TFixed Y1, TFixed X2, TFixed Y2, bool L) {
    const std::uint32_t info = AREAINFO_LINE + 2;
    if (FMeasuringMode) {
        Changed(LineArea(X1, Y1, X2, Y2), info);
        return;
    }
    int cx1 = X1, cy1 = Y1, cx2 = X2, cy2 = Y2;
    if (!ClipLine(cx1, cy1, cx2, cy2, FFixedClipRect.Left - FixedOne, FFixedClipRect.Top - FixedOne,
                  FFixedClipRect.Right, FFixedClipRect.Bottom)) {
        AdvanceStippleCounter(PixelLength(std::int64_t{X2} - X1, std::int64_t{Y2} - Y1));
        return;
    }
    AdvanceStippleCounter(PixelLength(std::int64_t{cx1} - X1, std::int64_t{cy1} - Y1));
    const bool endCut = cx2 != X2 || cy2 != Y2;
    LineXSteps(cx1, cy1, cx2, cy2, 0, L || endCut, true, true);
    if (endCut) AdvanceStippleCounter(PixelLength(std::int64_t{X2} - cx2, std::int64_t{Y2} - cy2));
    Changed(LineArea(cx1, cy1, cx2, cy2), info);
}

void TBitmap32::LineFP(float X1, float Y1, float X2, float Y2, bool L) {
    LineXP(Fixed(X1), Fixed(Y1), Fixed(X2), Fixed(Y2), L);
}

void TBitmap32::LineFSP(float X1, float Y1, float X2, float Y2, bool L) {
    LineXSP(Fixed(X1), Fixed(Y1), Fixed(X2), Fixed(Y2), L);
}

void TBitmap32::LineToS(int X, int Y) {
    LineS(FPenPos.X, FPenPos.Y, X, Y, FPenColor);
    FPenPos = TPoint{X, Y};
}

void TBitmap32::LineToTS(int X, int Y) {
    LineTS(FPenPos.X, FPenPos.Y, X, Y, FPenColor);
    FPenPos = TPoint{X, Y};
}

void TBitmap32::LineToAS(int X, int Y) {
    LineAS(FPenPos.X, FPenPos.Y, X, Y, FPenColor);
    FPenPos = TPoint{X, Y};
}

void TBitmap32::LineToXS(TFixed X, TFixed Y) {
    LineXS(FPenPosF.X, FPenPosF.Y, X, Y, FPenColor);
    FPenPosF = TFixedPoint{X, Y};
}

void TBitmap32::LineToFS(float X, float Y) {
    LineToXS(Fixed(X), Fixed(Y));
}

void TBitmap32::LineToXSP(TFixed X, TFixed Y) {
    LineXSP(FPenPosF.X, FPenPosF.Y, X, Y);
    FPenPosF = TFixedPoint{X, Y};
}

void TBitmap32::LineToFSP(float X, float Y) {
    LineToXSP(Fixed(X), Fixed(Y));
}

} // namespace Bmp32
