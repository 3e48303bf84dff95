// Whole-bitmap moves: roll, flips and quarter turns.
#include "bitmap32/Bmp32.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace Bmp32 {

void TBitmap32::Roll(int Dx, int Dy, bool FillBack, TColor32 FillColor) {
    if (Empty() || (Dx == 0 && Dy == 0)) return;
    if (std::llabs(Dx) < FWidth && std::llabs(Dy) < FHeight) {
        // One flat run: a horizontal shift carries pixels over into the neighbouring row.
        const std::int64_t shift = std::int64_t{Dy} * FWidth + Dx;
        const std::int64_t count = std::int64_t{FWidth} * FHeight - std::llabs(shift);
        if (shift <= 0)
            std::memmove(FBits, FBits - shift, static_cast<std::size_t>(count) * 4);
        else
            std::memmove(FBits + shift, FBits, static_cast<std::size_t>(count) * 4);
        if (FillBack) {
            TRect r = BoundsRect();
            OffsetRect(r, Dx, Dy);
            IntersectRect(r, r, BoundsRect());
            if (r.Top > 0)
                FillRect(0, 0, FWidth, r.Top, FillColor);
            else if (r.Top == 0)
                FillRect(0, r.Bottom, FWidth, FHeight, FillColor);
            if (r.Left > 0)
                FillRect(0, r.Top, r.Left, r.Bottom, FillColor);
            else if (r.Left == 0)
                FillRect(r.Right, r.Top, FWidth, r.Bottom, FillColor);
        }
        Changed();
    } else if (FillBack) {
        Clear(FillColor);
    }
}

void TBitmap32::FlipHorz(TBitmap32* Dst) {
    if (!Dst || Dst == this) {
        for (int y = 0; y < FHeight; ++y) {
            TColor32* row = GetScanLine(y);
            std::reverse(row, row + FWidth);
        }
        Changed();
        return;
    }
    Dst->BeginUpdate();
    Dst->SetSize(FWidth, FHeight);
    if (!Empty())
        for (int y = 0; y < FHeight; ++y)
            std::reverse_copy(GetScanLine(y), GetScanLine(y) + FWidth, Dst->GetScanLine(y));
    Dst->EndUpdate();
    Dst->Changed();
}

void TBitmap32::FlipVert(TBitmap32* Dst) {
    if (!Dst || Dst == this) {
        if (!Empty()) {
            std::vector<TColor32> buffer(static_cast<std::size_t>(FWidth));
            for (int y = 0; y < FHeight / 2; ++y) {
                TColor32* a = GetScanLine(y);
                TColor32* b = GetScanLine(FHeight - 1 - y);
                std::memcpy(buffer.data(), a, buffer.size() * 4);
                std::memcpy(a, b, buffer.size() * 4);
                std::memcpy(b, buffer.data(), buffer.size() * 4);
            }
        }
        Changed();
        return;
    }
    Dst->BeginUpdate();
    Dst->SetSize(FWidth, FHeight);
    if (!Empty())
        for (int y = 0; y < FHeight; ++y)
            std::memcpy(Dst->GetScanLine(FHeight - 1 - y), GetScanLine(y),
                        static_cast<std::size_t>(FWidth) * 4);
    Dst->EndUpdate();
    Dst->Changed();
}

namespace {

// Writes the quarter turn of Src into Dst, sized Height x Width. Clockwise sends (x, y) to
// (Height - 1 - y, x); counter-clockwise to (y, Width - 1 - x).
void QuarterTurn(const TBitmap32& Src, TBitmap32& Dst, bool Clockwise) {
    const int w = Src.Width(), h = Src.Height();
    Dst.SetSize(h, w);
    if (Src.Empty()) return;
    for (int y = 0; y < h; ++y) {
        const TColor32* row = Src.GetScanLine(y);
        for (int x = 0; x < w; ++x) {
            if (Clockwise)
                Dst.SetPixel(h - 1 - y, x, row[x]);
            else
                Dst.SetPixel(y, w - 1 - x, row[x]);
        }
    }
}

// A quarter turn into Dst, or of Src itself when Dst is none or Src.
void TurnInto(TBitmap32& Src, TBitmap32* Dst, bool Clockwise) {
    if (!Dst || Dst == &Src) {
        TBitmap32 tmp;
        QuarterTurn(Src, tmp, Clockwise);
        tmp.CopyMapTo(&Src);
        Src.Changed();
        return;
    }
    Dst->BeginUpdate();
    QuarterTurn(Src, *Dst, Clockwise);
    Dst->EndUpdate();
    Dst->Changed();
}

} // namespace

void TBitmap32::Rotate90(TBitmap32* Dst) {
    TurnInto(*this, Dst, true);
}

void TBitmap32::Rotate270(TBitmap32* Dst) {
    TurnInto(*this, Dst, false);
}

void TBitmap32::Rotate180(TBitmap32* Dst) {
    const std::size_t n = Empty() ? 0 : static_cast<std::size_t>(FWidth) * FHeight;
    if (!Dst || Dst == this) {
        std::reverse(FBits, FBits + n);
        Changed();
        return;
    }
    Dst->SetSize(FWidth, FHeight);
    for (std::size_t i = 0; i < n; ++i)
        Dst->FBits[n - 1 - i] = FBits[i];
    Dst->Changed();
}

} // namespace Bmp32
