// Fonts, font names mapped to installed families, and colours.
#include "platform/vcl/FontMap.h"
#include "platform/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(FontMap, TheBuildsFamiliesDrawTheFacesTheWindowsAskFor) {
    for (const char* family : {"DejaVu Sans", "DejaVu Sans Mono", "Liberation Sans", "Liberation Mono",
                               "Liberation Serif", "IPAPGothic", "NanumGothic"})
        ASSERT_TRUE(FontFamilyInstalled(family)) << family << ": make deps installs it";
    EXPECT_FALSE(FontFamilyInstalled("No Such Face 12345"));
    const struct {
        const char* face;
        BYTE charset;
        bool fixed;
        const char* family;
    } cases[] = {
        {"No Such Face 12345", DEFAULT_CHARSET, false, "DejaVu Sans"},
        {"No Such Face 12345", DEFAULT_CHARSET, true, "DejaVu Sans Mono"},
        {"dejavu sans", DEFAULT_CHARSET, false, "dejavu sans"}, // installed names stay as asked
        {"MS Sans Serif", DEFAULT_CHARSET, false, "DejaVu Sans"},
        {"Microsoft Sans Serif", DEFAULT_CHARSET, false, "DejaVu Sans"},
        {"Arial", DEFAULT_CHARSET, false, "Liberation Sans"},
        {"Courier New", DEFAULT_CHARSET, true, "Liberation Mono"},
        {"Times New Roman", DEFAULT_CHARSET, false, "Liberation Serif"},
        {"MS PGothic", SHIFTJIS_CHARSET, false, "IPAPGothic"},
        {"\xEA\xB5\xB4\xEB\xA6\xBC", HANGEUL_CHARSET, false, "NanumGothic"},
        {"No Such Face 12345", HANGEUL_CHARSET, false, "NanumGothic"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapFontFamily(c.face, c.charset, c.fixed), c.family) << c.face;
    EXPECT_EQ(FallbackFontFamilies(DEFAULT_CHARSET).front(), "IPAPGothic");
    EXPECT_EQ(FallbackFontFamilies(HANGEUL_CHARSET).front(), "NanumGothic");
}

// The same request gives the same family whatever else a machine has installed, as long as it has the
// build's own; without them the next look-alike, the script's family or DejaVu stands in.
TEST(FontMap, TheChoiceDoesNotFollowOtherInstalledFamilies) {
    const std::vector<std::string> build{"DejaVu Sans",     "DejaVu Sans Mono", "Liberation Sans",
                                         "Liberation Mono", "IPAPGothic",       "IPAGothic",
                                         "NanumGothic"};
    std::vector<std::string> crowded = build;
    for (const char* extra : {"Arial", "Nimbus Sans", "Arimo", "MS PGothic", "Noto Sans CJK JP",
                              "Noto Sans CJK KR", "Gulim", "Courier New", "Tahoma"})
        crowded.emplace_back(extra);
    const auto on = [](const std::vector<std::string>& families) {
        return [families](const std::string& f) {
            return std::find(families.begin(), families.end(), f) != families.end();
        };
    };
    const auto script = [](const std::string& family) { return [family](const char*) { return family; }; };
    const struct {
        const char* face;
        BYTE charset;
        const char* family;
    } cases[] = {
        {"Arial", DEFAULT_CHARSET, "Liberation Sans"}, {"MS PGothic", SHIFTJIS_CHARSET, "IPAPGothic"},
        {"Gulim", HANGEUL_CHARSET, "NanumGothic"},     {"Courier New", DEFAULT_CHARSET, "Liberation Mono"},
        {"Tahoma", DEFAULT_CHARSET, "DejaVu Sans"},    {"No Such Face", HANGEUL_CHARSET, "Fc Korean"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.face);
        EXPECT_EQ(ChooseFontFamily(c.face, c.charset, false, on(build), script("Fc Korean")), c.family);
        EXPECT_EQ(ChooseFontFamily(c.face, c.charset, false, on(crowded), script("Fc Korean")), c.family);
    }
    EXPECT_EQ(ChooseFallbackFamilies(DEFAULT_CHARSET, on(crowded)),
              (std::vector<std::string>{"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "NanumGothic",
                                        "Noto Sans CJK KR"}));
    // Without the build's families.
    const std::vector<std::string> bare{"DejaVu Sans", "Nimbus Sans", "Arimo"};
    EXPECT_EQ(ChooseFontFamily("Arial", DEFAULT_CHARSET, false, on(bare), script("")), "Arimo");
    EXPECT_EQ(ChooseFontFamily("MS PGothic", SHIFTJIS_CHARSET, false, on(bare), script("Fc Japanese")),
              "Fc Japanese");
    EXPECT_EQ(ChooseFontFamily("MS PGothic", SHIFTJIS_CHARSET, false, on(bare), script("")), "DejaVu Sans");
    EXPECT_EQ(ChooseFontFamily("Courier New", DEFAULT_CHARSET, true, on({}), script("")), "DejaVu Sans Mono");
    EXPECT_TRUE(ChooseFallbackFamilies(HANGEUL_CHARSET, on(bare)).empty());
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
