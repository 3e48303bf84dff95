// Logical palettes behind checked handles; metafiles recorded through their canvas, replayed
// stretched and clipped onto other canvases, held by pictures, and refused as files.
#include "platform/core/Streams.h"
#include "platform/vcl/Metafile.h"
#include "platform/vcl/Palette.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::uint32_t Packed(const PALETTEENTRY& e) {
    return (std::uint32_t{e.peRed} << 24) | (e.peGreen << 16) | (e.peBlue << 8) | e.peFlags;
}

TEST(Palette, KeepsItsTableBehindACheckedHandle) {
    LOGPALETTE log;
    log.palNumEntries = 3;
    log.palPalEntry[0] = {1, 2, 3, 0};
    log.palPalEntry[1] = {255, 0, 128, 4};
    log.palPalEntry[2] = {9, 8, 7, 0};
    HPALETTE palette = CreatePalette(&log);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 3u);
    PALETTEENTRY got[4] = {};
    EXPECT_EQ(GetPaletteEntries(palette, 1, 4, got), 2u); // cut at the end
    EXPECT_EQ((std::vector<std::uint32_t>{Packed(got[0]), Packed(got[1]), Packed(got[2])}),
              (std::vector<std::uint32_t>{0xFF008004, 0x09080700, 0}));
    EXPECT_EQ(GetPaletteEntries(palette, 3, 1, got), 0u);
    HBRUSH brush = CreateSolidBrush(0);
    EXPECT_EQ(GetPaletteEntries(brush, 0, 0, nullptr), 0u);
    DeleteObject(brush);
    EXPECT_TRUE(DeleteObject(palette));
    EXPECT_EQ(GetPaletteEntries(palette, 0, 1, got), 0u);
    EXPECT_FALSE(DeleteObject(palette));

    struct {
        WORD version, count;
    } const refused[] = {{0x200, 3}, {0x300, 0}, {0x300, 257}};
    for (const auto& r : refused) {
        log.palVersion = r.version;
        log.palNumEntries = r.count;
        EXPECT_EQ(CreatePalette(&log), nullptr) << r.version << " " << r.count;
    }
    EXPECT_EQ(CreatePalette(nullptr), nullptr);
}

std::uint32_t At(const TBitmap& b, int x, int y) {
    return static_cast<const std::uint32_t*>(b.ScanLine(y))[x] & 0xFFFFFFu;
}

void Whiten(TBitmap& b) {
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, b.Width(), b.Height()));
}

TEST(Metafile, ReplaysStretchedIntoItsRectangleOnly) {
    // 4 x 2: red on the left half, blue from x = 3 on, running past the metafile's right edge.
    TMetafile metafile;
    metafile.SetWidth(4);
    metafile.SetHeight(2);
    {
        TMetafileCanvas canvas(&metafile, nullptr);
        canvas.Brush()->SetColor(clRed);
        canvas.FillRect(Rect(0, 0, 2, 2));
        canvas.Brush()->SetColor(clBlue);
        canvas.FillRect(Rect(3, 0, 10, 2));
    }
    ASSERT_FALSE(metafile.Empty());
    TBitmap target(12, 6);
    Whiten(target);
    target.Canvas()->StretchDraw(Rect(2, 1, 10, 5), &metafile); // twice the size

    const std::uint32_t r = 0xFF0000, w = 0xFFFFFF, u = 0x0000FF;
    const std::vector<std::uint32_t> inside = {w, w, r, r, r, r, w, w, u, u, w, w};
    for (int y = 0; y < 6; ++y) {
        std::vector<std::uint32_t> row;
        for (int x = 0; x < 12; ++x)
            row.push_back(At(target, x, y));
        EXPECT_EQ(row, (y >= 1 && y <= 4 ? inside : std::vector<std::uint32_t>(12, w))) << y;
    }

    // Mirrored: a rectangle from right to left.
    TBitmap mirrored(4, 2);
    Whiten(mirrored);
    mirrored.Canvas()->StretchDraw(Rect(4, 0, 0, 2), &metafile);
    EXPECT_EQ((std::vector<std::uint32_t>{At(mirrored, 0, 1), At(mirrored, 1, 1), At(mirrored, 2, 1),
                                          At(mirrored, 3, 1)}),
              (std::vector<std::uint32_t>{u, w, r, r}));
}

TEST(Metafile, SizeFromTheDrawingTextIncluded) {
    TMetafile shapes;
    {
        TMetafileCanvas canvas(&shapes, nullptr);
        canvas.Brush()->SetColor(clRed);
        canvas.FillRect(Rect(1, 2, 5, 3));
    }
    EXPECT_EQ(shapes.Width(), 5);
    EXPECT_EQ(shapes.Height(), 3);

    // Text only: the metafile is as large as the text, and replays exactly as the text drawn
    // directly.
    TMetafile text;
    {
        TMetafileCanvas canvas(&text, nullptr);
        canvas.Brush()->SetStyle(bsClear);
        canvas.TextOut(2, 1, "Hg");
    }
    ASSERT_GT(text.Width(), 2);
    ASSERT_GT(text.Height(), 1);
    TBitmap replayed(text.Width() + 4, text.Height() + 4);
    Whiten(replayed);
    replayed.Canvas()->Draw(0, 0, &text);
    TBitmap direct(text.Width() + 4, text.Height() + 4);
    Whiten(direct);
    direct.Canvas()->Brush()->SetStyle(bsClear);
    direct.Canvas()->TextOut(2, 1, "Hg");
    int inked = 0;
    for (int y = 0; y < direct.Height(); ++y)
        for (int x = 0; x < direct.Width(); ++x) {
            ASSERT_EQ(At(replayed, x, y), At(direct, x, y)) << x << "," << y;
            if (At(direct, x, y) != 0xFFFFFF) {
                ++inked;
                EXPECT_LT(x, text.Width());
                EXPECT_LT(y, text.Height());
            }
        }
    EXPECT_GT(inked, 0);
}

TEST(Metafile, SizeRulesCopiesPicturesAndFiles) {
    TMetafile metafile;
    EXPECT_TRUE(metafile.Empty());
    EXPECT_TRUE(metafile.Transparent());
    metafile.SetWidth(-3);
    metafile.SetHeight(40000);
    EXPECT_EQ(metafile.Width(), 0);
    EXPECT_EQ(metafile.Height(), 32768);
    metafile.SetWidth(2);
    metafile.SetHeight(1);
    EXPECT_TRUE(metafile.Empty()); // a size alone is no drawing
    EXPECT_EQ(metafile.ImageData(), nullptr);
    {
        TMetafileCanvas canvas(&metafile, nullptr);
        canvas.SetPixels(0, 0, clLime);
    }
    EXPECT_FALSE(metafile.Empty());
    EXPECT_EQ(metafile.Width(), 2); // a size given stays

    // A picture holds a copy; made a bitmap, what the drawing leaves is white.
    TPicture picture;
    picture.SetGraphic(&metafile);
    const auto* held = dynamic_cast<const TMetafile*>(picture.Graphic());
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->Width(), 2);
    TBitmap* bitmap = picture.Bitmap();
    ASSERT_EQ(bitmap->Width(), 2);
    EXPECT_EQ(At(*bitmap, 0, 0), 0x00FF00u);
    EXPECT_EQ(At(*bitmap, 1, 0), 0xFFFFFFu);

    // No file format: reading empties and raises, writing raises.
    TStringStream stream("anything");
    EXPECT_THROW(metafile.SaveToStream(&stream), EInvalidGraphicOperation);
    EXPECT_THROW(metafile.LoadFromStream(&stream), EInvalidGraphic);
    EXPECT_TRUE(metafile.Empty());
    EXPECT_EQ(metafile.Width(), 0);

    TBitmap other(1, 1);
    EXPECT_THROW(metafile.Assign(&other), EConvertError);
    EXPECT_THROW(TMetafileCanvas(nullptr, nullptr), EInvalidGraphicOperation);
}

} // namespace
