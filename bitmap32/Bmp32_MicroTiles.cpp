#include "bitmap32/Bmp32_MicroTiles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace Bmp32_MicroTiles {

void MicroTileUnion(TMicroTile& Dst, TMicroTile Src) {
    if (Dst == MICROTILE_FULL || Src == MICROTILE_EMPTY) return;
    if (MicroTileWidth(Src) <= 0 || MicroTileHeight(Src) <= 0) return;
    if (Dst == MICROTILE_EMPTY || Src == MICROTILE_FULL) {
        Dst = Src;
        return;
    }
    Dst = MakeMicroTile(std::min(MicroTileLeft(Dst), MicroTileLeft(Src)),
                        std::min(MicroTileTop(Dst), MicroTileTop(Src)),
                        std::max(MicroTileRight(Dst), MicroTileRight(Src)),
                        std::max(MicroTileBottom(Dst), MicroTileBottom(Src)));
}

void MicroTilesCreate(TMicroTiles& MicroTiles) {
    MicroTiles = TMicroTiles{};
}

void MicroTilesDestroy(TMicroTiles& MicroTiles) {
    MicroTiles = TMicroTiles{};
}

void MicroTilesSetSize(TMicroTiles& MicroTiles, const TRect& DstRect) {
    MicroTiles.BoundsRect = DstRect;
    const int width = std::max(DstRect.Right - DstRect.Left, 0);
    const int height = std::max(DstRect.Bottom - DstRect.Top, 0);
    MicroTiles.Columns = (width >> MICROTILE_SHIFT) + 1;
    MicroTiles.Rows = (height >> MICROTILE_SHIFT) + 1;
    MicroTiles.Count = (MicroTiles.Columns + 1) * (MicroTiles.Rows + 1);
    MicroTiles.Tiles.assign(static_cast<std::size_t>(MicroTiles.Count), MICROTILE_EMPTY);
    MicroTilesClear(MicroTiles);
}

namespace {
void ResetUsed(TMicroTiles& MicroTiles) {
    MicroTiles.BoundsUsedTiles = TRect{MicroTiles.Columns, MicroTiles.Rows, 0, 0};
}
bool UsedEmpty(const TMicroTiles& MicroTiles) {
    const TRect& u = MicroTiles.BoundsUsedTiles;
    return u.Left > u.Right || u.Top > u.Bottom;
}
} // namespace

void MicroTilesClear(TMicroTiles& MicroTiles, TMicroTile Value) {
    ResetUsed(MicroTiles);
    std::fill(MicroTiles.Tiles.begin(), MicroTiles.Tiles.end(), Value);
}

void MicroTilesClearUsed(TMicroTiles& MicroTiles, TMicroTile Value) {
    if (!UsedEmpty(MicroTiles)) {
        const TRect& u = MicroTiles.BoundsUsedTiles;
        for (int y = u.Top; y <= u.Bottom; ++y)
            for (int x = u.Left; x <= u.Right; ++x)
                MicroTiles.Tile(x, y) = Value;
    }
    ResetUsed(MicroTiles);
}

void MicroTilesCopy(TMicroTiles& DstTiles, const TMicroTiles& SrcTiles) {
    if (&DstTiles == &SrcTiles) return;
    if (!DstTiles.Tiles.empty()) MicroTilesClearUsed(DstTiles);
    DstTiles.BoundsRect = SrcTiles.BoundsRect;
    DstTiles.Columns = SrcTiles.Columns;
    DstTiles.Rows = SrcTiles.Rows;
    DstTiles.BoundsUsedTiles = SrcTiles.BoundsUsedTiles;
    DstTiles.Count = SrcTiles.Count;
    DstTiles.Tiles.resize(SrcTiles.Tiles.size(), MICROTILE_EMPTY);
    if (UsedEmpty(SrcTiles)) return;
    const TRect& u = SrcTiles.BoundsUsedTiles;
    for (int y = u.Top; y <= u.Bottom; ++y)
        for (int x = u.Left; x <= u.Right; ++x)
            DstTiles.Tile(x, y) = SrcTiles.Tile(x, y);
}

void MicroTilesAddRect(TMicroTiles& MicroTiles, TRect Rect, bool RoundToWholeTiles) {
    if (MicroTiles.Count == 0) return;
    if (Rect.Left > Rect.Right) std::swap(Rect.Left, Rect.Right);
    if (Rect.Top > Rect.Bottom) std::swap(Rect.Top, Rect.Bottom);
    Rect.Left = std::max(Rect.Left, 0);
    Rect.Top = std::max(Rect.Top, 0);
    Rect.Right = std::min(Rect.Right, MicroTiles.Columns * MICROTILE_SIZE);
    Rect.Bottom = std::min(Rect.Bottom, MicroTiles.Rows * MICROTILE_SIZE);
    if (Rect.Left > Rect.Right || Rect.Top > Rect.Bottom) return;

    // A right or bottom edge on the grid's far side would name the spare column or row, which shares
    // its word with the next row's first tile; it is the last tile's edge instead.
    const int colL = Rect.Left >> MICROTILE_SHIFT;
    const int colR = std::min(Rect.Right >> MICROTILE_SHIFT, MicroTiles.Columns - 1);
    const int rowT = Rect.Top >> MICROTILE_SHIFT;
    const int rowB = std::min(Rect.Bottom >> MICROTILE_SHIFT, MicroTiles.Rows - 1);
    if (colL > colR || rowT > rowB) return;

    if (RoundToWholeTiles) {
        for (int y = rowT; y <= rowB; ++y)
            for (int x = colL; x <= colR; ++x)
                MicroTiles.Tile(x, y) = MICROTILE_FULL;
    } else {
        for (int y = rowT; y <= rowB; ++y) {
            const int top = y == rowT ? Rect.Top - y * MICROTILE_SIZE : 0;
            const int bottom = y == rowB ? Rect.Bottom - y * MICROTILE_SIZE : MICROTILE_SIZE;
            for (int x = colL; x <= colR; ++x) {
                const int left = x == colL ? Rect.Left - x * MICROTILE_SIZE : 0;
                const int right = x == colR ? Rect.Right - x * MICROTILE_SIZE : MICROTILE_SIZE;
                if (y != rowT && y != rowB && x != colL && x != colR)
                    MicroTiles.Tile(x, y) = MICROTILE_FULL;
                else
                    MicroTileUnion(MicroTiles.Tile(x, y), MakeMicroTile(left, top, right, bottom));
            }
        }
    }
    TRect& u = MicroTiles.BoundsUsedTiles;
    u.Left = std::min(u.Left, colL);
    u.Top = std::min(u.Top, rowT);
    u.Right = std::max(u.Right, colR);
    u.Bottom = std::max(u.Bottom, rowB);
}

namespace {
int Saturate(long long v) {
    return static_cast<int>(
        std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}
} // namespace

void InflateArea(TRect& Area, int Dx, int Dy) {
    long long dx = Dx, dy = Dy;
    if (Area.Left > Area.Right) dx = -dx;
    if (Area.Top > Area.Bottom) dy = -dy;
    Area.Left = Saturate(Area.Left - dx);
    Area.Top = Saturate(Area.Top - dy);
    Area.Right = Saturate(Area.Right + dx);
    Area.Bottom = Saturate(Area.Bottom + dy);
}

void MicroTilesAddLine(TMicroTiles& MicroTiles, int X1, int Y1, int X2, int Y2, int LineWidth,
                       bool RoundToWholeTiles) {
    const int inflate = 2 * LineWidth;
    if (X1 == X2 || Y1 == Y2) {
        TRect r{X1, Y1, X2, Y2};
        InflateArea(r, inflate, inflate);
        MicroTilesAddRect(MicroTiles, r, RoundToWholeTiles);
        return;
    }
    if (MicroTiles.Count == 0) return;
    // Only the part of the line over the tiles matters: a line reaching far past them would otherwise
    // be walked step by step all the way.
    {
        const double margin = 2.0 * MICROTILE_SIZE + 2.0 * std::abs(static_cast<double>(inflate));
        const double lo[2] = {-margin, -margin};
        const double hi[2] = {MicroTiles.Columns * double(MICROTILE_SIZE) + margin,
                              MicroTiles.Rows * double(MICROTILE_SIZE) + margin};
        const double p0[2] = {double(X1), double(Y1)}, d[2] = {double(X2) - X1, double(Y2) - Y1};
        double t0 = 0, t1 = 1;
        for (int axis = 0; axis < 2; ++axis) {
            if (d[axis] == 0) {
                if (p0[axis] < lo[axis] || p0[axis] > hi[axis]) return;
                continue;
            }
            double a = (lo[axis] - p0[axis]) / d[axis], b = (hi[axis] - p0[axis]) / d[axis];
            if (a > b) std::swap(a, b);
            t0 = std::max(t0, a);
            t1 = std::min(t1, b);
        }
        if (t0 > t1) return;
        if (t0 > 0 || t1 < 1) {
            const auto at = [&](double t, int axis) {
                return static_cast<int>(std::lround(p0[axis] + t * d[axis]));
            };
            const int nx1 = at(t0, 0), ny1 = at(t0, 1), nx2 = at(t1, 0), ny2 = at(t1, 1);
            X1 = nx1;
            Y1 = ny1;
            X2 = nx2;
            Y2 = ny2;
            if (X1 == X2 || Y1 == Y2) {
                TRect r{X1, Y1, X2, Y2};
                InflateArea(r, inflate, inflate);
                MicroTilesAddRect(MicroTiles, r, RoundToWholeTiles);
                return;
            }
        }
    }
    const long long dx = static_cast<long long>(X2) - X1, dy = static_cast<long long>(Y2) - Y1;
    const bool horizontalMajor = std::llabs(dx) >= std::llabs(dy);
    const long long dMajor = horizontalMajor ? dx : dy, dMinor = horizontalMajor ? dy : dx;
    const long long majorStep = (dMajor < 0 ? -MICROTILE_SIZE : MICROTILE_SIZE) * 65536LL;
    const long long minorStep = dMinor * MICROTILE_SIZE * 65536LL / std::llabs(dMajor);
    const long long steps = (std::llabs(dMajor) + MICROTILE_SIZE - 1) / MICROTILE_SIZE;
    long long x = static_cast<long long>(X1) * 65536, y = static_cast<long long>(Y1) * 65536;
    const long long stepX = horizontalMajor ? majorStep : minorStep;
    const long long stepY = horizontalMajor ? minorStep : majorStep;
    const auto closest = [](long long v) { return static_cast<int>((v + 0x8000) >> 16); };
    for (long long i = 0; i < steps; ++i) {
        const long long nx = x + stepX, ny = y + stepY;
        TRect r{closest(x), closest(y), closest(nx), closest(ny)};
        InflateArea(r, inflate, inflate);
        MicroTilesAddRect(MicroTiles, r, RoundToWholeTiles);
        x = nx;
        y = ny;
    }
}

void MicroTilesUnion(TMicroTiles& DstTiles, const TMicroTiles& SrcTiles, bool RoundToWholeTiles) {
    if (SrcTiles.Count == 0 || DstTiles.Count == 0 || UsedEmpty(SrcTiles)) return;
    const TRect& s = SrcTiles.BoundsUsedTiles;
    const int right = std::min(s.Right, std::min(DstTiles.Columns, SrcTiles.Columns) - 1);
    const int bottom = std::min(s.Bottom, std::min(DstTiles.Rows, SrcTiles.Rows) - 1);
    for (int y = s.Top; y <= bottom; ++y)
        for (int x = s.Left; x <= right; ++x) {
            const TMicroTile src = SrcTiles.Tile(x, y);
            TMicroTile& dst = DstTiles.Tile(x, y);
            if (RoundToWholeTiles) {
                if (src != MICROTILE_EMPTY && MicroTileWidth(src) > 0 && MicroTileHeight(src) > 0)
                    dst = MICROTILE_FULL;
            } else {
                MicroTileUnion(dst, src);
            }
        }
    TRect& d = DstTiles.BoundsUsedTiles;
    d.Left = std::min(d.Left, s.Left);
    d.Top = std::min(d.Top, s.Top);
    d.Right = std::max(d.Right, right);
    d.Bottom = std::max(d.Bottom, bottom);
}

int MicroTilesCalcRects(const TMicroTiles& MicroTiles, TRectList* DstRects, bool CountOnly,
                        bool RoundToWholeTiles) {
    return MicroTilesCalcRects(MicroTiles, DstRects, MicroTiles.BoundsRect, CountOnly, RoundToWholeTiles);
}

int MicroTilesCalcRects(const TMicroTiles& MicroTiles, TRectList* DstRects, const TRect& Clip, bool CountOnly,
                        bool RoundToWholeTiles) {
    if (MicroTiles.Count == 0 || UsedEmpty(MicroTiles)) return 0;
    const TRect& u = MicroTiles.BoundsUsedTiles;
    const int lastColumn = std::min(u.Right, MicroTiles.Columns - 1);
    const int lastRow = std::min(u.Bottom, MicroTiles.Rows - 1);
    // For each tile: the rectangle that the run starting above it produced, so a run of the same
    // width that starts there extends it downwards instead of adding another.
    const int stride = MicroTiles.Columns;
    std::vector<int> below(static_cast<std::size_t>(stride) * (MicroTiles.Rows + 1), -1);
    std::vector<TRect> rects;
    const auto clampTo = [](int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); };

    for (int y = u.Top; y <= lastRow; ++y) {
        int x = u.Left;
        while (x <= lastColumn) {
            const TMicroTile tile = MicroTiles.Tile(x, y);
            if (tile == MICROTILE_EMPTY) {
                ++x;
                continue;
            }
            const int first = x;
            TRect r;
            if (RoundToWholeTiles) {
                r.Top = y * MICROTILE_SIZE;
                r.Bottom = r.Top + MICROTILE_SIZE;
                r.Left = x * MICROTILE_SIZE;
                while (x + 1 <= lastColumn && MicroTiles.Tile(x + 1, y) != MICROTILE_EMPTY)
                    ++x;
                r.Right = (x + 1) * MICROTILE_SIZE;
            } else {
                r.Top = y * MICROTILE_SIZE + MicroTileTop(tile);
                r.Bottom = y * MICROTILE_SIZE + MicroTileBottom(tile);
                r.Left = x * MICROTILE_SIZE + MicroTileLeft(tile);
                TMicroTile last = tile;
                while (MicroTileRight(last) == MICROTILE_SIZE && x + 1 <= lastColumn) {
                    const TMicroTile next = MicroTiles.Tile(x + 1, y);
                    if (next == MICROTILE_EMPTY || MicroTileLeft(next) != 0 ||
                        MicroTileTop(next) != MicroTileTop(tile) ||
                        MicroTileBottom(next) != MicroTileBottom(tile))
                        break;
                    last = next;
                    ++x;
                }
                r.Right = x * MICROTILE_SIZE + MicroTileRight(last);
            }
            ++x;
            r.Left = clampTo(r.Left, Clip.Left, Clip.Right);
            r.Right = clampTo(r.Right, Clip.Left, Clip.Right);
            r.Top = clampTo(r.Top, Clip.Top, Clip.Bottom);
            r.Bottom = clampTo(r.Bottom, Clip.Top, Clip.Bottom);
            // Tiles past the clip give nothing to repaint.
            if (r.Left >= r.Right || r.Top >= r.Bottom) continue;

            const std::size_t slot = static_cast<std::size_t>(y) * stride + first;
            const int previous = below[slot];
            int index;
            if (previous >= 0 && rects[previous].Left == r.Left && rects[previous].Right == r.Right &&
                rects[previous].Bottom == r.Top) {
                rects[previous].Bottom = r.Bottom;
                index = previous;
            } else {
                index = static_cast<int>(rects.size());
                rects.push_back(r);
            }
            if (y < lastRow) below[slot + stride] = index;
        }
    }
    if (!CountOnly && DstRects)
        for (const TRect& r : rects)
            DstRects->Add(r);
    return static_cast<int>(rects.size());
}

int MicroTilesCountEmptyTiles(const TMicroTiles& MicroTiles) {
    if (MicroTiles.Count < 1) return 0;
    int empty = 0;
    for (int y = 0; y < MicroTiles.Rows; ++y)
        for (int x = 0; x < MicroTiles.Columns; ++x)
            if (MicroTiles.Tile(x, y) == MICROTILE_EMPTY) ++empty;
    return empty;
}

// ---- TMicroTilesMap ----

TMicroTilesMap::~TMicroTilesMap() {
    Clear();
}

TMicroTiles* TMicroTilesMap::Add(void* Item) {
    bool isNew;
    PPointer data = TPointerMap::Add(Item, isNew);
    if (isNew || !*data) *data = new TMicroTiles();
    return static_cast<TMicroTiles*>(*data);
}

TMicroTiles* TMicroTilesMap::Get(void* Item) {
    PPointer data;
    if (!Find(Item, data)) return nullptr;
    return static_cast<TMicroTiles*>(*data);
}

void TMicroTilesMap::RemoveTiles(void* Item) {
    Remove(Item);
}

void TMicroTilesMap::ClearTiles() {
    Clear();
}

void* TMicroTilesMap::Delete(int BucketIndex, int ItemIndex) {
    delete static_cast<TMicroTiles*>(TPointerMap::Delete(BucketIndex, ItemIndex));
    return nullptr;
}

} // namespace Bmp32_MicroTiles
