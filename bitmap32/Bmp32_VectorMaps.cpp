#include "bitmap32/Bmp32_VectorMaps.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace Bmp32_VectorMaps {

namespace {

// A + (B - A) * F / 65536 in 64 bits, so that vectors of opposite extremes do not overflow.
TFixed Lerp(TFixed A, TFixed B, std::int64_t F) {
    return static_cast<TFixed>(A + (((std::int64_t{B} - A) * F) >> 16));
}

TFixedPoint Lerp(const TFixedPoint& A, const TFixedPoint& B, std::int64_t F) {
    return TFixedPoint{Lerp(A.X, B.X, F), Lerp(A.Y, B.Y, F)};
}

TFixedPoint Bilinear(const TFixedPoint& P, const TFixedPoint& R, const TFixedPoint& D, const TFixedPoint& DR,
                     int Fx, int Fy) {
    return Lerp(Lerp(P, R, Fx), Lerp(D, DR, Fx), Fy);
}

// The share of a write that each of the four neighbours takes: top-left, top-right, bottom-right,
// bottom-left, in 16.16.
struct TSplatWeights {
    std::int64_t W[4];
};

TSplatWeights SplatWeights(int Fx, int Fy) {
    const std::int64_t ix = 0x10000 - Fx, iy = 0x10000 - Fy;
    return TSplatWeights{
        {(ix * iy) >> 16, (std::int64_t{Fx} * iy) >> 16, (std::int64_t{Fx} * Fy) >> 16, (ix * Fy) >> 16}};
}

void Splat(TFixedPoint& N, const TFixedPoint& V, std::int64_t W) {
    N = Lerp(N, V, W);
}

constexpr int kDx[4] = {0, 1, 1, 0};
constexpr int kDy[4] = {0, 0, 1, 1};

} // namespace

TVectorMap::~TVectorMap() {
    Lock();
    try {
        SetSize(0, 0);
    } catch (...) {
    }
    Unlock();
}

void TVectorMap::ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight) {
    const std::size_t count = static_cast<std::size_t>(NewWidth) * static_cast<std::size_t>(NewHeight);
    std::vector<TFixedPoint> fresh;
    if (count > 0) {
        try {
            fresh.resize(count);
        } catch (const std::bad_alloc&) {
            throw Exception("Can't allocate VectorMap!");
        } catch (const std::length_error&) {
            throw Exception("Can't allocate VectorMap!");
        }
    }
    FVectors.swap(fresh);
    Width = NewWidth;
    Height = NewHeight;
}

void TVectorMap::Clear() {
    std::fill(FVectors.begin(), FVectors.end(), TFixedPoint{});
}

void TVectorMap::SetVectorCombineMode(TVectorCombineMode Value) {
    if (Value == FVectorCombineMode) return;
    FVectorCombineMode = Value;
    Changed();
}

TFixedPoint TVectorMap::FixedVectorS(int X, int Y) const {
    return Inside(X, Y) ? FVectors[Index(X, Y)] : TFixedPoint{};
}

void TVectorMap::SetFixedVectorS(int X, int Y, const TFixedPoint& V) {
    if (Inside(X, Y)) FVectors[Index(X, Y)] = V;
}

TFixedPoint TVectorMap::FixedVectorX(TFixed X, TFixed Y) const {
    const int xi = X >> 16, yi = Y >> 16;
    if (!Inside(xi, yi)) return TFixedPoint{};
    // The last column and row stand in for their missing neighbours.
    const int xr = std::min(xi + 1, FWidth - 1), yd = std::min(yi + 1, FHeight - 1);
    return Bilinear(FVectors[Index(xi, yi)], FVectors[Index(xr, yi)], FVectors[Index(xi, yd)],
                    FVectors[Index(xr, yd)], X & 0xFFFF, Y & 0xFFFF);
}

TFixedPoint TVectorMap::FixedVectorXS(TFixed X, TFixed Y) const {
    const int xi = X >> 16, yi = Y >> 16;
    return Bilinear(FixedVectorS(xi, yi), FixedVectorS(xi + 1, yi), FixedVectorS(xi, yi + 1),
                    FixedVectorS(xi + 1, yi + 1), X & 0xFFFF, Y & 0xFFFF);
}

void TVectorMap::SetFixedVectorX(TFixed X, TFixed Y, const TFixedPoint& V) {
    const int xi = X >> 16, yi = Y >> 16;
    const TSplatWeights w = SplatWeights(X & 0xFFFF, Y & 0xFFFF);
    for (int i = 0; i < 4; ++i)
        Splat(FVectors[Index(xi + kDx[i], yi + kDy[i])], V, w.W[i]);
}

void TVectorMap::SetFixedVectorXS(TFixed X, TFixed Y, const TFixedPoint& V) {
    if (X < -0x10000 || Y < -0x10000) return;
    const int xi = X >> 16, yi = Y >> 16;
    if (xi >= FWidth || yi >= FHeight) return;
    const TSplatWeights w = SplatWeights(X & 0xFFFF, Y & 0xFFFF);
    for (int i = 0; i < 4; ++i)
        if (Inside(xi + kDx[i], yi + kDy[i])) Splat(FVectors[Index(xi + kDx[i], yi + kDy[i])], V, w.W[i]);
}

void TVectorMap::Merge(int DstLeft, int DstTop, const TVectorMap* Src, TRect SrcRect) {
    if (!Src || Src->Empty()) throw Exception("Src is empty!");
    if (Empty()) throw Exception("Base is empty!");
    if (!IntersectRect(SrcRect, SrcRect, Src->BoundsRect())) return;
    const std::int64_t right = std::int64_t{DstLeft} + SrcRect.Width();
    const std::int64_t bottom = std::int64_t{DstTop} + SrcRect.Height();
    const int left = std::max(DstLeft, 0), top = std::max(DstTop, 0);
    const int r = static_cast<int>(std::min<std::int64_t>(right, FWidth));
    const int b = static_cast<int>(std::min<std::int64_t>(bottom, FHeight));
    if (r <= left || b <= top) return;
    // A rectangle one element wide or high keeps its progress at -1.0 along that axis.
    const TFixed stepX = r - left > 1 ? Fixed(2.0f / static_cast<float>(r - left - 1)) : 0;
    const TFixed stepY = b - top > 1 ? Fixed(2.0f / static_cast<float>(b - top - 1)) : 0;
    TFixedPoint progress{-0x10000, -0x10000};
    for (int y = top; y < b; ++y) {
        progress.X = -0x10000;
        // Clipping the destination also skips the source elements that fell outside it.
        const TFixedPoint* src =
            Src->FVectors.data() + Src->Index(SrcRect.Left + left - DstLeft, SrcRect.Top + y - DstTop);
        TFixedPoint* dst = FVectors.data() + Index(left, y);
        for (int x = left; x < r; ++x, ++src, ++dst) {
            switch (Src->FVectorCombineMode) {
            case vcmAdd:
                dst->X = static_cast<TFixed>(static_cast<std::uint32_t>(dst->X) +
                                             static_cast<std::uint32_t>(src->X));
                dst->Y = static_cast<TFixed>(static_cast<std::uint32_t>(dst->Y) +
                                             static_cast<std::uint32_t>(src->Y));
                break;
            case vcmReplace:
                *dst = *src;
                break;
            case vcmCustom:
                Src->OnVectorCombine(*src, progress, *dst);
                break;
            }
            progress.X += stepX;
        }
        progress.Y += stepY;
    }
}

TRect TVectorMap::GetTrimmedBounds() const {
    if (Empty()) return TRect{};
    int left = FWidth, top = -1, right = -1, bottom = -1;
    for (int y = 0; y < FHeight; ++y) {
        const TFixedPoint* row = FVectors.data() + Index(0, y);
        for (int x = 0; x < FWidth; ++x) {
            if (row[x].X == 0 && row[x].Y == 0) continue;
            if (top < 0) top = y;
            bottom = y;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    if (top < 0) return TRect{};
    return TRect{left, top, right + 1, bottom + 1};
}

} // namespace Bmp32_VectorMaps
