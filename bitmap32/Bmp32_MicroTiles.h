// Micro tiles: a surface cut into 32 x 32 tiles, each keeping one packed rectangle that bounds
// everything dirty inside it. The repaint optimizer collects changed areas in them and turns them
// into a short list of rectangles.
#pragma once

#include "bitmap32/Bmp32_Containers.h"
#include "bitmap32/Bmp32_Types.h"

#include <cstdint>
#include <vector>

namespace Bmp32_MicroTiles {

// Left in bits 31..24, Top 23..16, Right 15..8, Bottom 7..0, each 0..32 in tile-local pixels.
using TMicroTile = std::uint32_t;

inline constexpr int MICROTILE_SHIFT = 5;
inline constexpr int MICROTILE_SIZE = 1 << MICROTILE_SHIFT;
inline constexpr TMicroTile MICROTILE_EMPTY = 0;
inline constexpr TMicroTile MICROTILE_FULL = 0x00002020u;

inline constexpr TMicroTile MakeMicroTile(int Left, int Top, int Right, int Bottom) {
    return (static_cast<TMicroTile>(Left & 0xFF) << 24) | (static_cast<TMicroTile>(Top & 0xFF) << 16) |
           (static_cast<TMicroTile>(Right & 0xFF) << 8) | static_cast<TMicroTile>(Bottom & 0xFF);
}
inline constexpr int MicroTileLeft(TMicroTile M) {
    return M >> 24;
}
inline constexpr int MicroTileTop(TMicroTile M) {
    return (M >> 16) & 0xFF;
}
inline constexpr int MicroTileRight(TMicroTile M) {
    return (M >> 8) & 0xFF;
}
inline constexpr int MicroTileBottom(TMicroTile M) {
    return M & 0xFF;
}
inline constexpr int MicroTileWidth(TMicroTile M) {
    return MicroTileRight(M) - MicroTileLeft(M);
}
inline constexpr int MicroTileHeight(TMicroTile M) {
    return MicroTileBottom(M) - MicroTileTop(M);
}

struct TMicroTiles {
    TRect BoundsRect;
    int Columns = 0;
    int Rows = 0;
    // In tile units; (Columns, Rows, 0, 0) when no tile is in use.
    TRect BoundsUsedTiles;
    int Count = 0;
    // Count words, row-major with Columns words per row, one spare column and row past the grid.
    std::vector<TMicroTile> Tiles;

    TMicroTile& Tile(int Column, int Row) { return Tiles[static_cast<std::size_t>(Row) * Columns + Column]; }
    TMicroTile Tile(int Column, int Row) const {
        return Tiles[static_cast<std::size_t>(Row) * Columns + Column];
    }
};

void MicroTileUnion(TMicroTile& Dst, TMicroTile Src);

void MicroTilesCreate(TMicroTiles& MicroTiles);
void MicroTilesDestroy(TMicroTiles& MicroTiles);
void MicroTilesSetSize(TMicroTiles& MicroTiles, const TRect& DstRect);
void MicroTilesClear(TMicroTiles& MicroTiles, TMicroTile Value = MICROTILE_EMPTY);
void MicroTilesClearUsed(TMicroTiles& MicroTiles, TMicroTile Value = MICROTILE_EMPTY);
void MicroTilesCopy(TMicroTiles& DstTiles, const TMicroTiles& SrcTiles);
void MicroTilesAddLine(TMicroTiles& MicroTiles, int X1, int Y1, int X2, int Y2, int LineWidth,
                       bool RoundToWholeTiles = false);
void MicroTilesAddRect(TMicroTiles& MicroTiles, TRect Rect, bool RoundToWholeTiles = false);
void MicroTilesUnion(TMicroTiles& DstTiles, const TMicroTiles& SrcTiles, bool RoundToWholeTiles = false);
// Appends the dirty rectangles (unless CountOnly) clipped to the tiles' bounds or to Clip, merged
// along rows and across rows, and returns how many there are.
int MicroTilesCalcRects(const TMicroTiles& MicroTiles, TRectList* DstRects, bool CountOnly = false,
                        bool RoundToWholeTiles = false);
int MicroTilesCalcRects(const TMicroTiles& MicroTiles, TRectList* DstRects, const TRect& Clip,
                        bool CountOnly = false, bool RoundToWholeTiles = false);
int MicroTilesCountEmptyTiles(const TMicroTiles& MicroTiles);

// Left -= Dx, Top -= Dy, Right += Dx, Bottom += Dy; a rectangle given right-to-left or bottom-to-top
// grows too.
void InflateArea(TRect& Area, int Dx, int Dy);

// Each key (a layer) owns the tile set of the area it covered at its last paint.
class TMicroTilesMap : public TPointerMap {
public:
    ~TMicroTilesMap() override;
    // The key's tile set, made empty when it has none.
    TMicroTiles* Add(void* Item);
    TMicroTiles* Get(void* Item);
    void RemoveTiles(void* Item);
    void ClearTiles();

protected:
    void* Delete(int BucketIndex, int ItemIndex) override;
};

} // namespace Bmp32_MicroTiles

using namespace Bmp32_MicroTiles;
