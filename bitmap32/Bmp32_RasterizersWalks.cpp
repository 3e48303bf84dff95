#include "bitmap32/Bmp32_Rasterizers.h"

#include "bitmap32/Bmp32_OrdinalMaps.h"

#include <algorithm>
#include <climits>

namespace Bmp32_Rasterizers {

// ---- TProgressiveRasterizer ----

const TRasterizerClassOf<TProgressiveRasterizer> TProgressiveRasterizer::ClassRef{"TProgressiveRasterizer"};

void TProgressiveRasterizer::SetSteps(int Value) {
    if (FSteps == Value) return;
    FSteps = Value;
    Changed();
}

void TProgressiveRasterizer::SetUpdateRows(bool Value) {
    if (FUpdateRows == Value) return;
    FUpdateRows = Value;
    Changed();
}

void TProgressiveRasterizer::AssignTo(TPersistent* Dest) const {
    TRasterizer::AssignTo(Dest);
    if (auto* dst = dynamic_cast<TProgressiveRasterizer*>(Dest)) {
        dst->SetSteps(FSteps);
        dst->SetUpdateRows(FUpdateRows);
    }
}

void TProgressiveRasterizer::DoRasterize(TBitmap32* Dst, const TRect& DstRect) {
    if (IsRectEmpty(DstRect)) return;
    const bool reporting = Dst->UpdateCount() == 0 && static_cast<bool>(Dst->OnAreaChanged);
    auto report = [&](const TRect& R) { Dst->OnAreaChanged(Dst, R, AREAINFO_RECT); };
    auto fill = [&](int X1, int Y1, int X2, int Y2, TColor32 C) {
        if (X2 > X1 && Y2 > Y1) Dst->FillRect(X1, Y1, X2, Y2, C);
    };
    const int left = DstRect.Left, top = DstRect.Top, right = DstRect.Right, bottom = DstRect.Bottom;
    int shift = std::clamp(FSteps, 0, 30);
    int step = 1 << shift;

    Dst->BeginUpdate();
    for (int j = top; j < bottom; j += step) {
        const int y2 = std::min(j + step, bottom);
        int i = left;
        for (; i < right - step; i += step)
            fill(i, j, i + step, y2, FSampler->GetSampleInt(i, j));
        fill(i, j, right, y2, FSampler->GetSampleInt(i, j));
        if (reporting && FUpdateRows) report(TRect{left, j, right, y2});
        if (bottom - j <= step) break;
    }
    if (reporting && !FUpdateRows) report(DstRect);

    while (step > 1) {
        --shift;
        step >>= 1;
        const int w = (right - left) / step - 1;
        const int h = (bottom - top) / step;
        for (int j = 0; j <= h; ++j) {
            const int y = top + (j << shift);
            // The last row of blocks may start at the bottom edge: nothing of it lies inside.
            if (y >= bottom) break;
            const int y2 = std::min(y + step, bottom);
            for (int i = (j & 1) ? 0 : 1; i <= w; i += (j & 1) ? 1 : 2) {
                const int x = left + (i << shift);
                fill(x, y, x + step, y2, FSampler->GetSampleInt(x, y));
            }
            if (w >= 0) {
                const int x = left + (w << shift);
                fill(x, y, right, y2, FSampler->GetSampleInt(x, y));
            }
            if (reporting && FUpdateRows) report(TRect{left, y, right, y2});
        }
        if (reporting && !FUpdateRows) report(DstRect);
    }
    Dst->EndUpdate();
}

// ---- TTesseralRasterizer ----

const TRasterizerClassOf<TTesseralRasterizer> TTesseralRasterizer::ClassRef{"TTesseralRasterizer"};

void TTesseralRasterizer::DoRasterize(TBitmap32* Dst, const TRect& DstRect) {
    if (IsRectEmpty(DstRect)) return;
    const int left = DstRect.Left, top = DstRect.Top;
    TColor32* p = Dst->GetPixelPtr(left, top);
    for (int i = left; i < DstRect.Right; ++i, ++p)
        AssignColor(*p, FSampler->GetSampleInt(i, top));
    Report(Dst, TRect{left, top, DstRect.Right, top + 1});
    // The corner belongs to the top row: writing it twice would blend it twice.
    for (int j = top + 1; j < DstRect.Bottom; ++j)
        AssignColor(*Dst->GetPixelPtr(left, j), FSampler->GetSampleInt(left, j));
    Report(Dst, TRect{left, top, left + 1, DstRect.Bottom});

    const int w = DstRect.Right - left, h = DstRect.Bottom - top;
    if (w <= h)
        SplitHorizontal(Dst, left, top, w, h);
    else
        SplitVertical(Dst, left, top, w, h);
}

void TTesseralRasterizer::SplitVertical(TBitmap32* Dst, int X, int Y, int W, int H) {
    const int half = W / 2;
    if (half <= 0) return;
    const int x2 = X + half;
    for (int j = Y + 1; j < Y + H; ++j)
        AssignColor(*Dst->GetPixelPtr(x2, j), FSampler->GetSampleInt(x2, j));
    Report(Dst, TRect{x2, Y, x2 + 1, Y + H});
    SplitHorizontal(Dst, X, Y, half, H);
    SplitHorizontal(Dst, x2, Y, W - half, H);
}

void TTesseralRasterizer::SplitHorizontal(TBitmap32* Dst, int X, int Y, int W, int H) {
    const int half = H / 2;
    if (half <= 0) return;
    const int y2 = Y + half;
    TColor32* p = Dst->GetPixelPtr(X + 1, y2);
    for (int i = X + 1; i < X + W; ++i, ++p)
        AssignColor(*p, FSampler->GetSampleInt(i, y2));
    Report(Dst, TRect{X, y2, X + W, y2 + 1});
    SplitVertical(Dst, X, Y, W, half);
    SplitVertical(Dst, X, y2, W, H - half);
}

// ---- TContourRasterizer ----

const TRasterizerClassOf<TContourRasterizer> TContourRasterizer::ClassRef{"TContourRasterizer"};

void TContourRasterizer::DoRasterize(TBitmap32* Dst, const TRect& DstRect) {
    if (IsRectEmpty(DstRect)) return;
    static constexpr TPoint Directions[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
    const int w = DstRect.Right - DstRect.Left, h = DstRect.Bottom - DstRect.Top;
    TBooleanMap visited;
    visited.SetSize(w, h);
    visited.Clear(0);
    auto isVisited = [&](int X, int Y) { return visited.Value(X - DstRect.Left, Y - DstRect.Top); };
    auto visit = [&](int X, int Y) { visited.SetValue(X - DstRect.Left, Y - DstRect.Top, true); };

    // Starts a run at P: the pixel is written, marked and becomes the pending area.
    TPoint p;
    TColor32 c = 0;
    TRect pending;
    auto start = [&](int X, int Y) {
        p = TPoint{X, Y};
        visit(X, Y);
        c = FSampler->GetSampleInt(X, Y);
        AssignColor(*Dst->GetPixelPtr(X, Y), c);
        pending = TRect{X, Y, X + 1, Y + 1};
    };

    int d = 1;
    int scanI = 0, scanJ = 0;
    start(DstRect.Left, DstRect.Top);
    for (;;) {
        int best = INT_MAX, bestDir = -1;
        const int candidates[3] = {d, (d + 3) % 4, (d + 1) % 4};
        for (int k = 0; k < 3; ++k) {
            const int dir = candidates[k];
            const TPoint n{p.X + Directions[dir].X, p.Y + Directions[dir].Y};
            if (!PtInRect(DstRect, n) || isVisited(n.X, n.Y)) continue;
            const TColor32 kc = FSampler->GetSampleInt(n.X, n.Y);
            const int diff = Intensity(ColorSub(kc, c));
            if (k == 0 || diff < best) {
                best = diff;
                bestDir = dir;
            }
            AssignColor(*Dst->GetPixelPtr(n.X, n.Y), kc);
            visit(n.X, n.Y);
            pending.Left = std::min(pending.Left, n.X);
            pending.Top = std::min(pending.Top, n.Y);
            pending.Right = std::max(pending.Right, n.X + 1);
            pending.Bottom = std::max(pending.Bottom, n.Y + 1);
        }
        if (bestDir >= 0) {
            d = bestDir;
            p = TPoint{p.X + Directions[d].X, p.Y + Directions[d].Y};
            c = *Dst->GetPixelPtr(p.X, p.Y);
            continue;
        }
        Report(Dst, pending);
        while (scanJ < h && visited.Value(scanI, scanJ)) {
            if (++scanI == w) {
                scanI = 0;
                ++scanJ;
            }
        }
        if (scanJ >= h) return;
        start(DstRect.Left + scanI, DstRect.Top + scanJ);
    }
}

} // namespace Bmp32_Rasterizers
