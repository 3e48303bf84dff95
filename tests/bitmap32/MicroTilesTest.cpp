// Micro tiles against a per-pixel reference: what the tiles record, the rectangles they give back,
// and the packed tile arithmetic.
#include "bitmap32/Bmp32_MicroTiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// A plain pixel mask of a W x H area.
class Mask {
public:
    Mask(int w, int h) : w_(w), h_(h), bits_(static_cast<std::size_t>(w) * h, false) {}
    void Fill(TRect r) {
        if (r.Left > r.Right) std::swap(r.Left, r.Right);
        if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
        for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, h_); ++y)
            for (int x = std::max(r.Left, 0); x < std::min(r.Right, w_); ++x)
                bits_[Index(x, y)] = true;
    }
    bool At(int x, int y) const { return bits_[Index(x, y)]; }
    int Count() const {
        int n = 0;
        for (bool b : bits_)
            n += b;
        return n;
    }
    bool operator==(const Mask&) const = default;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * w_ + x; }
    int w_, h_;
    std::vector<bool> bits_;
};

// The tile each tile should hold: the bounding box of the covered pixels inside it.
TMicroTile ReferenceTile(const Mask& m, int column, int row) {
    int l = 33, t = 33, r = -1, b = -1;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (m.At(column * 32 + x, row * 32 + y)) {
                l = std::min(l, x);
                t = std::min(t, y);
                r = std::max(r, x + 1);
                b = std::max(b, y + 1);
            }
    return r < 0 ? MICROTILE_EMPTY
                 : (l == 0 && t == 0 && r == 32 && b == 32 ? MICROTILE_FULL : MakeMicroTile(l, t, r, b));
}

TEST(MicroTiles, RandomRectanglesMatchThePixelReference) {
    std::mt19937 random(20261209);
    const struct { int w, h; } sizes[] = {{1, 1}, {31, 33}, {64, 64}, {100, 50}, {337, 316}};
    for (const auto& size : sizes) {
        for (int round = 0; round < 40; ++round) {
            SCOPED_TRACE(testing::Message() << size.w << "x" << size.h << " round " << round);
            TMicroTiles tiles;
            MicroTilesSetSize(tiles, Rect(0, 0, size.w, size.h));
            // The grid reaches past the area to whole tiles; the reference covers the grid.
            Mask covered(tiles.Columns * 32, tiles.Rows * 32);
            std::uniform_int_distribution<int> x(-40, size.w + 40), y(-40, size.h + 40);
            const int count = 1 + round % 7;
            for (int i = 0; i < count; ++i) {
                const TRect r{x(random), y(random), x(random), y(random)};
                MicroTilesAddRect(tiles, r);
                covered.Fill(r);
            }
            for (int row = 0; row < tiles.Rows; ++row)
                for (int column = 0; column < tiles.Columns; ++column)
                    ASSERT_EQ(tiles.Tile(column, row), ReferenceTile(covered, column, row))
                        << "tile " << column << "," << row;

            // The rectangles cover exactly the tiles' boxes inside the area, once each.
            Mask want(size.w, size.h), got(size.w, size.h);
            for (int row = 0; row < tiles.Rows; ++row)
                for (int column = 0; column < tiles.Columns; ++column) {
                    const TMicroTile m = ReferenceTile(covered, column, row);
                    if (m != MICROTILE_EMPTY)
                        want.Fill(Rect(column * 32 + MicroTileLeft(m), row * 32 + MicroTileTop(m),
                                       column * 32 + MicroTileRight(m), row * 32 + MicroTileBottom(m)));
                }
            for (int yy = 0; yy < size.h; ++yy)
                for (int xx = 0; xx < size.w; ++xx)
                    if (covered.At(xx, yy)) {
                        ASSERT_TRUE(want.At(xx, yy));
                    }
            TRectList rects;
            const int n = MicroTilesCalcRects(tiles, &rects);
            ASSERT_EQ(n, rects.Count());
            int area = 0;
            for (int i = 0; i < rects.Count(); ++i) {
                const TRect& r = *rects.Items(i);
                EXPECT_LT(r.Left, r.Right);
                EXPECT_LT(r.Top, r.Bottom);
                area += r.Width() * r.Height();
                got.Fill(r);
            }
            EXPECT_TRUE(got == want);
            EXPECT_EQ(area, want.Count()) << "rectangles overlap";
            EXPECT_EQ(MicroTilesCalcRects(tiles, nullptr, true), n);

            // Whole tiles: every covered pixel is inside, and only tiles with something in them.
            TRectList whole;
            MicroTilesCalcRects(tiles, &whole, false, true);
            Mask wholeMask(size.w, size.h);
            for (int i = 0; i < whole.Count(); ++i)
                wholeMask.Fill(*whole.Items(i));
            for (int yy = 0; yy < size.h; ++yy)
                for (int xx = 0; xx < size.w; ++xx) {
                    const bool tileUsed = tiles.Tile(xx / 32, yy / 32) != MICROTILE_EMPTY;
                    ASSERT_EQ(wholeMask.At(xx, yy), tileUsed) << xx << "," << yy;
                }
        }
    }
}

TEST(MicroTiles, TilesRecordTheirPartOfAnArea) {
    const struct {
        const char* what;
        TRect rect;
        std::vector<std::tuple<int, int, TMicroTile>> want; // column, row, tile
    } rows[] = {
        {"one pixel", {40, 5, 41, 6}, {{1, 0, MakeMicroTile(8, 5, 9, 6)}, {0, 0, MICROTILE_EMPTY}}},
        {"zero width leaves the tile alone", {40, 5, 40, 9}, {{1, 0, MICROTILE_EMPTY}}},
        {"zero height leaves the tile alone", {40, 5, 45, 5}, {{1, 0, MICROTILE_EMPTY}}},
        {"three columns",
         {20, 0, 70, 10},
         {{0, 0, MakeMicroTile(20, 0, 32, 10)},
          {1, 0, MakeMicroTile(0, 0, 32, 10)},
          {2, 0, MakeMicroTile(0, 0, 6, 10)}}},
        {"given right to left and bottom to top", {70, 10, 20, 0}, {{0, 0, MakeMicroTile(20, 0, 32, 10)}}},
        {"interior tile full",
         {10, 10, 90, 90},
         {{1, 1, MICROTILE_FULL}, {0, 0, MakeMicroTile(10, 10, 32, 32)}}},
        {"right edge on a tile border", {0, 0, 32, 32}, {{0, 0, MICROTILE_FULL}, {1, 0, MICROTILE_EMPTY}}},
        {"outside the area", {-50, -50, -10, -10}, {{0, 0, MICROTILE_EMPTY}}},
        {"clipped to the grid",
         {-5, -5, 4000, 3},
         {{0, 0, MakeMicroTile(0, 0, 32, 3)}, {3, 0, MakeMicroTile(0, 0, 32, 3)}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TMicroTiles tiles;
        MicroTilesSetSize(tiles, Rect(0, 0, 100, 100)); // 4 x 4 tiles
        MicroTilesAddRect(tiles, row.rect);
        for (const auto& [column, r, tile] : row.want)
            EXPECT_EQ(tiles.Tile(column, r), tile) << column << "," << r;
    }
}

TEST(MicroTiles, RunsMergeAlongRowsAndDownColumns) {
    TMicroTiles tiles;
    MicroTilesSetSize(tiles, Rect(0, 0, 320, 240));
    MicroTilesAddRect(tiles, Rect(10, 5, 300, 200));
    TRectList rects;
    ASSERT_EQ(MicroTilesCalcRects(tiles, &rects), 1);
    EXPECT_EQ(*rects.Items(0), Rect(10, 5, 300, 200));

    // Rows of other extents stay apart; the last two rows agree and join.
    MicroTilesClear(tiles);
    MicroTilesAddRect(tiles, Rect(10, 5, 300, 40));
    MicroTilesAddRect(tiles, Rect(10, 40, 200, 100));
    rects.Clear();
    ASSERT_EQ(MicroTilesCalcRects(tiles, &rects), 4);
    EXPECT_EQ(*rects.Items(0), Rect(10, 5, 300, 32));
    EXPECT_EQ(*rects.Items(1), Rect(10, 32, 224, 64));
    EXPECT_EQ(*rects.Items(2), Rect(224, 32, 300, 40));
    EXPECT_EQ(*rects.Items(3), Rect(10, 64, 200, 100));

    // Two full-width rows of equal extent become one rectangle.
    MicroTilesClear(tiles);
    MicroTilesAddRect(tiles, Rect(0, 0, 64, 64));
    rects.Clear();
    ASSERT_EQ(MicroTilesCalcRects(tiles, &rects), 1);
    EXPECT_EQ(*rects.Items(0), Rect(0, 0, 64, 64));

    // A clip cuts the rectangles.
    rects.Clear();
    ASSERT_EQ(MicroTilesCalcRects(tiles, &rects, Rect(10, 20, 40, 30)), 1);
    EXPECT_EQ(*rects.Items(0), Rect(10, 20, 40, 30));
}

TEST(MicroTiles, TileUnionRules) {
    const TMicroTile a = MakeMicroTile(2, 3, 10, 12), b = MakeMicroTile(5, 1, 20, 8);
    const struct {
        const char* what;
        TMicroTile dst, src, want;
    } rows[] = {
        {"full stays full", MICROTILE_FULL, a, MICROTILE_FULL},
        {"empty source changes nothing", a, MICROTILE_EMPTY, a},
        {"zero-width source changes nothing", a, MakeMicroTile(4, 4, 4, 20), a},
        {"zero-height source changes nothing", a, MakeMicroTile(4, 4, 20, 4), a},
        {"empty takes the source", MICROTILE_EMPTY, b, b},
        {"full source fills", a, MICROTILE_FULL, MICROTILE_FULL},
        {"bounding box", a, b, MakeMicroTile(2, 1, 20, 12)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TMicroTile d = row.dst;
        MicroTileUnion(d, row.src);
        EXPECT_EQ(d, row.want);
    }
}

TEST(MicroTiles, SetsUniteCopyClearAndCount) {
    TMicroTiles a, b;
    MicroTilesSetSize(a, Rect(0, 0, 100, 50)); // 4 x 2 tiles
    MicroTilesSetSize(b, Rect(0, 0, 100, 50));
    EXPECT_EQ(a.Columns, 4);
    EXPECT_EQ(a.Rows, 2);
    EXPECT_EQ(a.Count, 15);
    EXPECT_EQ(MicroTilesCountEmptyTiles(a), 8);
    MicroTilesAddRect(a, Rect(1, 1, 5, 5));
    MicroTilesAddRect(b, Rect(3, 2, 9, 4));
    MicroTilesAddRect(b, Rect(70, 40, 72, 45));
    EXPECT_EQ(MicroTilesCountEmptyTiles(a), 7);

    MicroTilesUnion(a, b);
    EXPECT_EQ(a.Tile(0, 0), MakeMicroTile(1, 1, 9, 5));
    EXPECT_EQ(a.Tile(2, 1), MakeMicroTile(6, 8, 8, 13));
    EXPECT_EQ(a.BoundsUsedTiles, Rect(0, 0, 2, 1));

    TMicroTiles whole;
    MicroTilesSetSize(whole, Rect(0, 0, 100, 50));
    MicroTilesUnion(whole, b, true);
    EXPECT_EQ(whole.Tile(0, 0), MICROTILE_FULL);
    EXPECT_EQ(whole.Tile(2, 1), MICROTILE_FULL);
    EXPECT_EQ(whole.Tile(1, 0), MICROTILE_EMPTY);

    // A copy into a set of another size takes the source's geometry and nothing of its own.
    TMicroTiles copy;
    MicroTilesSetSize(copy, Rect(0, 0, 300, 300));
    MicroTilesAddRect(copy, Rect(200, 200, 250, 250));
    MicroTilesCopy(copy, a);
    EXPECT_EQ(copy.Columns, a.Columns);
    EXPECT_EQ(copy.BoundsUsedTiles, a.BoundsUsedTiles);
    EXPECT_EQ(copy.Tiles.size(), a.Tiles.size());
    for (std::size_t i = 0; i < copy.Tiles.size(); ++i)
        EXPECT_EQ(copy.Tiles[i], a.Tiles[i]) << i;

    MicroTilesClearUsed(a);
    EXPECT_EQ(MicroTilesCountEmptyTiles(a), 8);
    EXPECT_EQ(MicroTilesCalcRects(a, nullptr, true), 0);

    // A set that was never sized ignores additions.
    TMicroTiles none;
    MicroTilesAddRect(none, Rect(0, 0, 10, 10));
    MicroTilesAddLine(none, 0, 0, 50, 50, 1);
    EXPECT_EQ(MicroTilesCalcRects(none, nullptr, true), 0);
    EXPECT_EQ(MicroTilesCountEmptyTiles(none), 0);
}

TEST(MicroTiles, LinesCoverEveryPointOfTheirPath) {
    const struct {
        int x1, y1, x2, y2, width;
    } lines[] = {{10, 10, 10, 100, 1},
                 {5, 40, 200, 40, 2},
                 {3, 7, 290, 180, 1},
                 {250, 10, 20, 230, 3},
                 {0, 200, 5, 0, 1},
                 // Far past the tiles: only the part over them is walked.
                 {-1000000000, -1000000000, 1000000000, 1000000000, 1},
                 {-2000000000, 50, 2000000000, 60, 1},
                 {100, -2000000000, 101, 2000000000, 2}};
    for (const auto& line : lines) {
        SCOPED_TRACE(testing::Message() << line.x1 << "," << line.y1 << " - " << line.x2 << "," << line.y2);
        TMicroTiles tiles;
        MicroTilesSetSize(tiles, Rect(0, 0, 320, 240));
        MicroTilesAddLine(tiles, line.x1, line.y1, line.x2, line.y2, line.width);
        TRectList rects;
        MicroTilesCalcRects(tiles, &rects);
        Mask got(320, 240);
        for (int i = 0; i < rects.Count(); ++i)
            got.Fill(*rects.Items(i));
        // Every point of the line over the area, taken along its longer axis.
        const double dx = double(line.x2) - line.x1, dy = double(line.y2) - line.y1;
        const bool alongX = std::abs(dx) >= std::abs(dy);
        const int limit = alongX ? 320 : 240;
        int checked = 0;
        for (int major = 0; major < limit; ++major) {
            const double t = alongX ? (major - double(line.x1)) / dx : (major - double(line.y1)) / dy;
            if (t < 0 || t > 1) continue;
            const long long minor = std::llround(alongX ? line.y1 + t * dy : line.x1 + t * dx);
            const long long x = alongX ? major : minor, y = alongX ? minor : major;
            if (x < 0 || y < 0 || x >= 320 || y >= 240) continue;
            ++checked;
            ASSERT_TRUE(got.At(static_cast<int>(x), static_cast<int>(y))) << x << "," << y;
        }
        EXPECT_GT(checked, 0);
    }
    // An axis-parallel line is its rectangle grown by twice its width.
    TMicroTiles tiles;
    MicroTilesSetSize(tiles, Rect(0, 0, 320, 240));
    MicroTilesAddLine(tiles, 10, 100, 10, 10, 1);
    TRectList rects;
    ASSERT_EQ(MicroTilesCalcRects(tiles, &rects), 1);
    EXPECT_EQ(*rects.Items(0), Rect(8, 8, 12, 102));
}

TEST(MicroTiles, InflateAreaAlwaysGrows) {
    const struct {
        TRect in;
        TRect want;
    } rows[] = {
        {{10, 10, 20, 20}, {8, 7, 22, 23}},
        {{20, 10, 10, 20}, {22, 7, 8, 23}},
        {{10, 20, 20, 10}, {8, 23, 22, 7}},
        {{20, 20, 10, 10}, {22, 23, 8, 7}},
        {{-2147483647, 0, 2147483647, 1}, {-2147483647 - 1, -3, 2147483647, 4}}, // saturates
    };
    for (const auto& row : rows) {
        TRect r = row.in;
        InflateArea(r, 2, 3);
        EXPECT_EQ(r, row.want);
        EXPECT_GE(std::abs(static_cast<long long>(r.Right) - r.Left),
                  std::abs(static_cast<long long>(row.in.Right) - row.in.Left));
    }
}

} // namespace
