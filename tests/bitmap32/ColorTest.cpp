#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Color.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(Color, EdgeTable) {
    struct {
        const char* what;
        TColor32 got, want;
    } const cases[] = {
        {"Color32 of platform red", Color32(TWinColor{0x000000FF}), 0xFFFF0000},
        {"Color32 of a system colour (button face)", Color32(clBtnFace), 0xFFECE9D8},
        {"Color32 from components", Color32(1, 2, 3, 4), 0x04010203},
        {"Gray32", Gray32(0x80, 0x40), 0x40808080},
        {"WinColor drops alpha", static_cast<TColor32>(WinColor(0x80FF0000)), 0x000000FF},
        {"SetAlpha 300", SetAlpha(0x00123456, 300), 0xFF123456},
        {"SetAlpha -1", SetAlpha(0xFF123456, -1), 0x00123456},
        {"Intensity of white", static_cast<TColor32>(Intensity(0xFFFFFFFF)), 255},
        {"Intensity of pure green", static_cast<TColor32>(Intensity(0xFF00FF00)), 173},
        {"Lighten clamps, keeps alpha", Lighten(0x80F00A10, 20), 0x80FF1E24},
        {"Lighten down", Lighten(0x80F00A10, -20), 0x80DC0000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
    std::uint8_t r, g, b, a;
    Color32ToRGBA(0x11223344, r, g, b, a);
    EXPECT_EQ((std::vector<int>{r, g, b, a}), (std::vector<int>{0x22, 0x33, 0x44, 0x11}));
    EXPECT_EQ(ArrayOfColor32({1, 2, 3}), (TArrayOfColor32{1, 2, 3}));
}

TEST(Color, WinPaletteTakesRedGreenBlueAndNoAlpha) {
    TColor32 palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = Color32(static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                             static_cast<std::uint8_t>(i * 3), static_cast<std::uint8_t>(i | 1));
    HPALETTE h = WinPalette(palette);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetPaletteEntries(h, 0, 0, nullptr), 256u);
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(h, 0, 256, entries), 256u);
    // red, green, blue, flags
    const std::vector<int> want[] = {{0, 255, 0, 0}, {1, 254, 3, 0}, {200, 55, 88, 0}, {255, 0, 253, 0}};
    const int index[] = {0, 1, 200, 255};
    for (int k = 0; k < 4; ++k) {
        const PALETTEENTRY& e = entries[index[k]];
        EXPECT_EQ((std::vector<int>{e.peRed, e.peGreen, e.peBlue, e.peFlags}), want[k]) << index[k];
    }
    EXPECT_TRUE(DeleteObject(h));
}

TEST(Color, IntegerHSL) {
    for (int grey : {0, 1, 127, 128, 255}) {
        std::uint8_t h = 9, s = 9, l = 9;
        RGBtoHSL(Gray32(static_cast<std::uint8_t>(grey)), h, s, l);
        EXPECT_EQ((std::vector<int>{h, s, l}), (std::vector<int>{0, 0, grey})) << grey;
    }
    struct {
        TColor32 rgb;
        int h, s, l;
    } const cases[] = {
        {0xFFFF0000, 0, 255, 127},
        {0xFF00FF00, 85, 255, 127},
        {0xFF0000FF, 170, 255, 127},
        // A hue just below red wraps by one 255-unit turn: 254, not 253.
        {0xFFFF000A, 254, 255, 127},
    };
    for (const auto& c : cases) {
        std::uint8_t h, s, l;
        RGBtoHSL(c.rgb, h, s, l);
        EXPECT_EQ((std::vector<int>{h, s, l}), (std::vector<int>{c.h, c.s, c.l})) << std::hex << c.rgb;
    }
    // The integer HSLtoRGB answers alpha 0, unlike the float one.
    EXPECT_EQ(HSLtoRGB(0, 255, 127), 0x00FD0101u);
    EXPECT_EQ(HSLtoRGB(0, 0, 0), 0u);
    EXPECT_EQ(HSLtoRGB(128, 0, 200), 0x00C8C8C8u);
    // The wrapped hue converts back close to the original blue of 10.
    EXPECT_EQ(BlueComponent(HSLtoRGB(254, 255, 127)), 13);
}

TEST(Color, FloatHSLRoundTripsThePrimaries) {
    for (TColor32 c : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u, 0xFF00FFFFu, 0xFFFF00FFu,
                       0xFFFFFFFFu, 0xFF000000u, 0xFF808080u}) {
        float h, s, l;
        RGBtoHSL(c, h, s, l);
        EXPECT_EQ(HSLtoRGB(h, s, l), c) << std::hex << c;
    }
    float h, s, l;
    RGBtoHSL(0xFF0000FF, h, s, l);
    EXPECT_FLOAT_EQ(h, 2.0f / 3);
    EXPECT_EQ(HSLtoRGB(0.0f, 0.0f, 0.5f), 0xFF808080u); // round(127.5) is 128, the even neighbour
}

TEST(Color, GammaTableRoundsHalfToEven) {
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(GAMMA_TABLE[i], std::nearbyint(255.0 * std::pow(i / 255.0, 0.7))) << i;
    EXPECT_EQ(GAMMA_TABLE[0], 0);
    EXPECT_EQ(GAMMA_TABLE[255], 255);
    SetGamma(1.0f);
    EXPECT_EQ(GAMMA_TABLE[77], 77);
    SetGamma();
    EXPECT_EQ(GAMMA_TABLE[128], static_cast<int>(std::nearbyint(255.0 * std::pow(128 / 255.0, 0.7))));
}

} // namespace
