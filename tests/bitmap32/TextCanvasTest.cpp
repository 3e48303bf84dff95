#include "bitmap32/Bmp32.h"
#include "platform/core/Streams.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Counts the pixels that differ from `background`, and those fully in `colour`.
struct Coverage {
    int changed = 0, full = 0, partial = 0, outside = 0;
};

Coverage Measure(const TBitmap32& b, TColor32 background, TColor32 colour, const TRect& inside) {
    Coverage c;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const TColor32 p = b.GetPixel(x, y);
            if (p == background) continue;
            ++c.changed;
            if (p == colour)
                ++c.full;
            else
                ++c.partial;
            if (!PtInRect(inside, TPoint{x, y})) ++c.outside;
        }
    return c;
}

TEST(Text, TextoutDrawsInsideTheReportedArea) {
    TBitmap32 b;
    b.SetSize(120, 40);
    b.Clear(0xFF000000);
    b.Font()->SetName("DejaVu Sans");
    b.Font()->SetHeight(-16);
    b.Font()->SetColor(clWhite);
    std::vector<TRect> areas;
    b.OnAreaChanged = [&](TObject*, const TRect& r, std::uint32_t) { areas.push_back(r); };
    b.Textout(5, 4, "Harbek");
    ASSERT_EQ(areas.size(), 1u);
    const SIZE e = b.TextExtent("Harbek");
    EXPECT_GT(e.cx, 20);
    EXPECT_GT(e.cy, 10);
    EXPECT_EQ(areas[0], (TRect{5, 4, 5 + e.cx + 1, 4 + e.cy + 1}));
    const Coverage c = Measure(b, 0xFF000000, 0xFFFFFFFF, areas[0]);
    EXPECT_GT(c.changed, 30);
    EXPECT_EQ(c.outside, 0);
    EXPECT_EQ(b.TextWidth("Harbek"), e.cx);
    EXPECT_EQ(b.TextExtentW(u"Harbek").cx, e.cx);
    // UTF-16 text, a pair of surrogates included, measures as its UTF-8 form.
    EXPECT_EQ(b.TextExtentW(u"H\u00e9\U0001F600k").cx, b.TextExtent("H\xc3\xa9\xf0\x9f\x98\x80k").cx);

    // An empty bitmap measures through the shared 8 x 8 bitmap with the same font.
    TBitmap32 empty;
    empty.SetFont(b.Font());
    EXPECT_EQ(empty.TextExtent("Harbek").cx, e.cx);

    // Clipping keeps the text inside the clip rectangle.
    b.Clear(0xFF000000);
    b.SetClipRect(TRect{0, 0, 20, 40});
    b.Textout(5, 4, "Harbek");
    EXPECT_EQ(Measure(b, 0xFF000000, 0xFFFFFFFF, TRect{0, 0, 20, 40}).outside, 0);
    b.ResetClipRect();
    b.Clear(0xFF000000);
    b.TextoutW(5, 4, TRect{0, 0, 12, 40}, u"Harbek");
    EXPECT_EQ(Measure(b, 0xFF000000, 0xFFFFFFFF, TRect{0, 0, 12, 40}).outside, 0);
    // Formatted text reports the rectangle the platform leaves.
    areas.clear();
    b.Textout(TRect{0, 0, 100, 30}, DT_CALCRECT | DT_SINGLELINE, "Harbek");
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_NEAR(areas[0].Right, e.cx, 1);
    EXPECT_NE(areas[0].Bottom, 30);
}

TEST(Text, RenderTextTurnsCoverageIntoAlpha) {
    for (int level : {0, -1, 2}) {
        TBitmap32 b;
        b.SetSize(120, 40);
        b.Clear(0xFF000000);
        b.Font()->SetName("DejaVu Sans");
        b.Font()->SetHeight(-18);
        b.RenderText(4, 2, "Harbek", level, 0xFFFF0000);
        const SIZE e = b.TextExtent("Harbek ");
        const Coverage c = Measure(b, 0xFF000000, 0xFFFF0000, TRect{4, 2, 4 + e.cx + 2, 2 + e.cy + 2});
        EXPECT_GT(c.full, 20) << level;
        EXPECT_EQ(c.outside, 0) << level;
        if (level == 2) {
            EXPECT_GT(c.partial, 10); // block averages give edges in between
        }
        for (int i = 0; i < 120 * 40; ++i)
            ASSERT_EQ(b.Bits()[i] & 0x0000FFFFu, 0u) << level; // only red was blended in
        // Half the colour's alpha halves the strongest red.
        TBitmap32 half;
        half.SetSize(120, 40);
        half.Clear(0xFF000000);
        half.SetFont(b.Font());
        half.RenderText(4, 2, "Harbek", level, 0x80FF0000);
        int strongest = 0;
        for (int i = 0; i < 120 * 40; ++i)
            strongest = std::max(strongest, static_cast<int>((half.Bits()[i] >> 16) & 0xFF));
        EXPECT_NEAR(strongest, 128, 2) << level;
    }
    TBitmap32 empty;
    empty.RenderText(0, 0, "x", 0, 0xFFFFFFFF);
    EXPECT_TRUE(empty.Empty());
}

TEST(Canvas, CanvasDrawsIntoThePixelsAndReportsChanges) {
    TBitmap32 b;
    b.SetSize(10, 10);
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    TCanvas* canvas = b.Canvas();
    EXPECT_TRUE(b.CanvasAllocated());
    EXPECT_EQ(canvas->Handle(), b.Handle());
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(TRect{2, 2, 5, 5});
    EXPECT_EQ(b.GetPixel(3, 3) & 0x00FFFFFFu, 0x00FF0000u);
    EXPECT_EQ(b.GetPixel(6, 6), 0u);
    EXPECT_GT(changes, 0);
    // Resizing rebinds the canvas to the new context.
    b.SetSize(4, 4);
    EXPECT_EQ(b.Canvas()->Handle(), b.Handle());
    b.DeleteCanvas();
    EXPECT_FALSE(b.CanvasAllocated());
    b.SetSize(0, 0);
    EXPECT_EQ(b.Handle(), nullptr);
    EXPECT_EQ(b.BitmapHandle(), nullptr);
}

TEST(Canvas, BlitsBetweenContexts) {
    TBitmap32 src, dst;
    src.SetSize(4, 3);
    for (int i = 0; i < 12; ++i)
        src.Bits()[i] = 0xFF000000u | static_cast<TColor32>(i * 0x111111);
    dst.SetSize(10, 10);
    src.DrawTo(dst.Handle(), 2, 3);
    EXPECT_EQ(dst.GetPixel(2, 3), src.GetPixel(0, 0));
    EXPECT_EQ(dst.GetPixel(5, 5), src.GetPixel(3, 2));
    EXPECT_EQ(dst.GetPixel(6, 5), 0u);
    dst.Clear(0);
    std::vector<TRect> areas;
    dst.OnAreaChanged = [&](TObject*, const TRect& r, std::uint32_t) { areas.push_back(r); };
    dst.Draw(TRect{0, 0, 8, 6}, TRect{0, 0, 4, 3}, src.Handle());
    EXPECT_EQ(dst.GetPixel(7, 5), src.GetPixel(3, 2));
    EXPECT_EQ(areas, (std::vector<TRect>{{0, 0, 8, 6}}));
    TBitmap32 third;
    third.SetSize(4, 3);
    dst.DrawTo(third.Handle(), TRect{0, 0, 4, 3}, TRect{0, 0, 8, 6});
    EXPECT_EQ(third.GetPixel(0, 0), src.GetPixel(0, 0));

    // Tiles of 1024 pixels cover a wide destination.
    TBitmap32 wide;
    wide.SetSize(2100, 3);
    src.TileTo(wide.Handle(), TRect{0, 0, 2100, 3}, TRect{0, 0, 4, 3});
    EXPECT_EQ(wide.GetPixel(0, 0), src.GetPixel(0, 0));
    EXPECT_EQ(wide.GetPixel(1100, 1), src.GetPixel(2, 1));
    EXPECT_EQ(wide.GetPixel(2099, 2), src.GetPixel(3, 2));
    // Every tile of a blended source starts from a clear buffer, so equal tiles come out equal.
    TBitmap32 half;
    half.SetSize(2, 2);
    half.Clear(0x80FF0000);
    half.SetDrawMode(dmBlend);
    half.TileTo(wide.Handle(), TRect{0, 0, 2100, 3}, TRect{0, 0, 2, 2});
    EXPECT_EQ(wide.GetPixel(1100, 1), wide.GetPixel(100, 1));
    EXPECT_NE(wide.GetPixel(100, 1), src.GetPixel(0, 0));
}

TEST(Canvas, PlatformBitmapsKeepOrDropAlpha) {
    struct {
        TPixelFormat format;
        bool transparent;
        TColor32 want0, want1;
    } const cases[] = {
        {pf32bit, false, 0x40112233, 0x80445566},
        {pf24bit, false, 0xFF112233, 0xFF445566},
        {pf24bit, true, 0x00112233, 0xFF445566},
    };
    for (const auto& c : cases) {
        TBitmap platform;
        platform.SetPixelFormat(c.format);
        platform.SetSize(2, 1);
        auto* row = static_cast<std::uint32_t*>(platform.ScanLine(0));
        row[0] = 0x40112233;
        row[1] = 0x80445566;
        if (c.transparent) {
            platform.SetTransparentMode(tmFixed);
            platform.SetTransparentColor(0x00332211); // $00BBGGRR of the first pixel
            platform.SetTransparent(true);
        }
        TBitmap32 b;
        int changes = 0;
        b.OnChange = [&](TObject*) { ++changes; };
        b.Assign(&platform);
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(b.GetPixel(0, 0), c.want0) << c.format << c.transparent;
        EXPECT_EQ(b.GetPixel(1, 0), c.want1) << c.format << c.transparent;
    }
    TBitmap32 b;
    b.SetSize(3, 2);
    b.Clear(0x80102030);
    b.SetPixel(2, 1, 0xFFABCDEF);
    TBitmap out;
    out.Assign(&b); // through the bitmap's AssignTo
    EXPECT_EQ(out.PixelFormat(), pf32bit);
    EXPECT_EQ(static_cast<const std::uint32_t*>(out.ScanLine(1))[2], 0xFFABCDEFu);
    EXPECT_TRUE(b.SetSizeFrom(&out) == false);

    TMemoryStream stream;
    b.SaveToStream(&stream);
    stream.SetPosition(0);
    TBitmap32 back;
    back.LoadFromStream(&stream);
    EXPECT_TRUE(back.Equal(&b));

    testing_support::TempDir dir;
    b.SaveToFile(dir.File("b.bmp"));
    TBitmap32 fromFile;
    fromFile.LoadFromFile(dir.File("b.bmp"));
    EXPECT_TRUE(fromFile.Equal(&b));
    TPicture picture;
    picture.Assign(&b);
    EXPECT_EQ(picture.Width(), 3);
    fromFile.Assign(&picture);
    EXPECT_TRUE(fromFile.Equal(&b));
}

} // namespace
