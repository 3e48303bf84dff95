// Fonts, font names mapped to installed families, and colours.
#include "platform/vcl/FontMap.h"
#include "platform/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FontMap, UnknownAndForeignFacesFallBackToInstalledFamilies) {
    ASSERT_TRUE(FontFamilyInstalled("DejaVu Sans")) << "the build's font dependency is missing";
    EXPECT_FALSE(FontFamilyInstalled("No Such Face 12345"));
    EXPECT_EQ(MapFontFamily("No Such Face 12345"), "DejaVu Sans");
    EXPECT_EQ(MapFontFamily("No Such Face 12345", DEFAULT_CHARSET, true), "DejaVu Sans Mono");
    EXPECT_EQ(MapFontFamily("dejavu sans"), "dejavu sans"); // installed names stay as asked
    // Every face the windows ask for lands on an installed family.
    for (const char* face :
         {"MS PGothic", "Gulim", "Arial", "MS Sans Serif", "Microsoft Sans Serif", "Courier New"}) {
        SCOPED_TRACE(face);
        const std::string family = MapFontFamily(face, face[0] == 'G' ? HANGEUL_CHARSET : DEFAULT_CHARSET);
        EXPECT_TRUE(FontFamilyInstalled(family)) << family;
    }
    // The look-alike lists prefer metric twins when they are installed.
    if (!FontFamilyInstalled("Liberation Sans") && !FontFamilyInstalled("Arimo") &&
        !FontFamilyInstalled("Nimbus Sans")) {
        EXPECT_EQ(MapFontFamily("Arial"), "DejaVu Sans");
    }
    if (!FontFamilyInstalled("Liberation Mono")) {
        EXPECT_EQ(MapFontFamily("Courier New"), "DejaVu Sans Mono");
    }
}

TEST(Font, SizeAndHeightConvertAtNinetySixDots) {
    struct TCase {
        int points, height;
    };
    for (const TCase& c : {TCase{8, -11}, TCase{9, -12}, TCase{10, -13}, TCase{12, -16}, TCase{15, -20}}) {
        TFont font;
        font.SetSize(c.points);
        EXPECT_EQ(font.Height(), c.height) << c.points;
        EXPECT_EQ(font.Size(), c.points);
    }
    TFont cell;
    cell.SetHeight(16); // a cell height reads back as the nearest point size
    EXPECT_EQ(cell.Size(), 12);
}

TEST(Font, ChangesNotifyAndRenewTheHandle) {
    TFont font;
    int changes = 0;
    font.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    HFONT first = font.Handle();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(font.Handle(), first);
    font.SetName("Arial");
    font.SetStyle(TFontStyles{fsBold, fsItalic});
    font.SetColor(clRed);
    font.SetName("Arial"); // unchanged: no notification
    EXPECT_EQ(changes, 3);
    LOGFONT lf;
    ASSERT_EQ(GetObject(font.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_STREQ(lf.lfFaceName, "Arial");

    TFont copy;
    copy.Assign(&font);
    EXPECT_EQ(copy.Name(), "Arial");
    EXPECT_TRUE(copy.Style().Contains(fsBold));
    EXPECT_EQ(copy.Color(), clRed);
    TPen pen;
    EXPECT_THROW(copy.Assign(&pen), EConvertError);

    // Wider text in a bigger font.
    TBitmap b(10, 10);
    b.Canvas()->Font()->SetSize(8);
    const int small = b.Canvas()->TextWidth("Recorder");
    b.Canvas()->Font()->SetSize(16);
    EXPECT_GT(b.Canvas()->TextWidth("Recorder"), small * 3 / 2);
}

TEST(Colors, SystemColoursAndNames) {
    EXPECT_EQ(ColorToRGB(clBtnFace), 0x00D8E9EC);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clNone), clBlack);
    EXPECT_EQ(ColorToRGB(static_cast<TColor>(0x7F123456)), 0x123456);
    EXPECT_EQ(GetSysColor(999), 0u);

    struct TCase {
        const char* text;
        TColor color;
    };
    for (const TCase& c :
         {TCase{"clBtnFace", clBtnFace}, TCase{"CLAQUA", clAqua}, TCase{"$00FF0000", clBlue},
          TCase{"255", clRed}, TCase{"-16777201", clBtnFace}, TCase{"$FF00000F", clBtnFace}}) {
        EXPECT_EQ(StringToColor(c.text), c.color) << c.text;
    }
    for (const char* bad : {"", "clNoSuch", "12abc", "$1FFFFFFFF"})
        EXPECT_THROW(StringToColor(bad), EConvertError) << bad;
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(0x00123456), "$00123456");
    EXPECT_EQ(StringToColor(ColorToString(0x00123456)), 0x00123456);
}

} // namespace
