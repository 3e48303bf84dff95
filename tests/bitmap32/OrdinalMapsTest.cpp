#include "bitmap32/Bmp32_OrdinalMaps.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(BooleanMap, StoragePacksEightBitsToAByte) {
    struct Case {
        int w, h;
        std::size_t bytes;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{3, 3, 2}, Case{8, 1, 1}, Case{9, 1, 2}, Case{0, 7, 0}}) {
        TBooleanMap map;
        map.SetSize(c.w, c.h);
        EXPECT_EQ(map.ByteCount(), c.bytes) << c.w << "x" << c.h;
        EXPECT_EQ(map.Empty(), c.bytes == 0);
    }
}

TEST(BooleanMap, BitsTogglesAndClearFillsBytesWithoutNotifying) {
    TBooleanMap map;
    map.SetSize(3, 3);
    int changes = 0;
    map.OnChange = [&](TObject*) { ++changes; };
    map.SetValue(2, 1, true); // index 5
    EXPECT_EQ(map.Bits()[0], 0x20);
    map.ToggleBit(2, 2); // index 8: the second byte's bit 0
    EXPECT_EQ(map.Bits()[1], 0x01);
    EXPECT_TRUE(map.Value(2, 2));
    map.ToggleBit(2, 2);
    EXPECT_FALSE(map.Value(2, 2));
    map.SetValue(2, 1, false);
    EXPECT_EQ(map.Bits()[0], 0);
    map.Clear(1); // only every eighth element
    EXPECT_TRUE(map.Value(0, 0));
    EXPECT_FALSE(map.Value(1, 0));
    EXPECT_TRUE(map.Value(2, 2));
    map.Clear(0xFF);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_TRUE(map.Value(x, y));
    EXPECT_EQ(changes, 0);
}

TEST(OrdinalMaps, ResizeKeepsStorageOrderAndZeroesNewElements) {
    TWordMap map;
    map.SetSize(3, 2);
    for (int i = 0; i < 6; ++i)
        map.Bits()[i] = static_cast<std::uint16_t>(100 + i);
    map.SetSize(2, 4); // rows shift: the stored order stays
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(map.Bits()[i], 100 + i);
    EXPECT_EQ(map.Value(0, 1), 102);
    EXPECT_EQ(map.Value(1, 3), 0);
    EXPECT_EQ(map.Bits()[6], 0);
    map.SetSize(1, 1);
    EXPECT_EQ(map.Value(0, 0), 100);
    map.SetSize(0, 0);
    EXPECT_TRUE(map.Empty());
}

TEST(OrdinalMaps, ClearFillsAndReportsOneChange) {
    TIntegerMap ints;
    ints.SetSize(4, 2);
    int changes = 0;
    ints.OnChange = [&](TObject*) { ++changes; };
    ints.Clear(-7);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(ints.Value(3, 1), -7);
    *ints.ValPtr(1, 1) = 42;
    EXPECT_EQ(ints.Bits()[5], 42);
}

TEST(OrdinalMaps, ImpossibleSizeRaisesAndKeepsTheMap) {
    TIntegerMap map;
    map.SetSize(2, 2);
    map.Clear(9);
    const int big = std::numeric_limits<int>::max();
    EXPECT_THROW(map.SetSize(big, big), EOutOfMemory);
    EXPECT_EQ(map.Width(), 2);
    EXPECT_EQ(map.Height(), 2);
    EXPECT_EQ(map.Value(1, 1), 9);
}

TEST(ByteMap, EmptyWhenEitherSideIsZero) {
    TByteMap map;
    EXPECT_TRUE(map.Empty());
    map.SetSize(0, 5);
    EXPECT_TRUE(map.Empty());
    map.SetSize(1, 5);
    EXPECT_FALSE(map.Empty());
}

TEST(ByteMap, ReadFromTakesEachConversion) {
    TBitmap32 bmp;
    bmp.SetSize(2, 1);
    bmp.SetPixel(0, 0, Color32(10, 20, 31, 0x80));
    bmp.SetPixel(1, 0, 0xFFFFFFFF);
    struct Case {
        TConversionType conversion;
        std::uint8_t first;
    };
    // Weighted: (10*61 + 20*174 + 31*21) >> 8 = 18.
    const Case cases[] = {{ctRed, 10},     {ctGreen, 20},      {ctBlue, 31},
                          {ctAlpha, 0x80}, {ctUniformRGB, 20}, {ctWeightedRGB, 18}};
    for (const Case& c : cases) {
        TByteMap map;
        int changes = 0;
        map.OnChange = [&](TObject*) { ++changes; };
        map.ReadFrom(&bmp, c.conversion);
        EXPECT_EQ(map.Width(), 2);
        EXPECT_EQ(map.Value(0, 0), c.first) << int(c.conversion);
        EXPECT_EQ(map.Value(1, 0), 255) << int(c.conversion);
        EXPECT_EQ(changes, 1);
    }
}

TEST(ByteMap, WriteToChangesOnlyTheChosenChannel) {
    TByteMap map;
    map.SetSize(2, 1);
    map.SetValue(0, 0, 0x12);
    map.SetValue(1, 0, 0xEE);
    struct Case {
        TConversionType conversion;
        TColor32 first;
    };
    const Case cases[] = {{ctRed, 0x40124060},   {ctGreen, 0x40201260},      {ctBlue, 0x40204012},
                          {ctAlpha, 0x12204060}, {ctUniformRGB, 0xFF121212}, {ctWeightedRGB, 0xFF121212}};
    for (const Case& c : cases) {
        TBitmap32 bmp;
        bmp.SetSize(2, 1);
        bmp.Clear(0x40204060);
        int changes = 0;
        bmp.OnChange = [&](TObject*) { ++changes; };
        map.WriteTo(&bmp, c.conversion);
        EXPECT_EQ(bmp.GetPixel(0, 0), c.first) << int(c.conversion);
        EXPECT_EQ(changes, 1);
    }
}

TEST(ByteMap, WriteToSizesTheBitmapAndRoundTripsEveryChannel) {
    TByteMap map;
    map.SetSize(16, 16);
    for (int i = 0; i < 256; ++i)
        map.Bits()[i] = static_cast<std::uint8_t>(i);
    for (TConversionType c : {ctRed, ctGreen, ctBlue, ctAlpha, ctUniformRGB}) {
        TBitmap32 bmp;
        int resized = 0;
        bmp.OnResize = [&](TObject*) { ++resized; };
        map.WriteTo(&bmp, c);
        EXPECT_EQ(bmp.Width(), 16);
        EXPECT_EQ(resized, 1);
        TByteMap back;
        back.ReadFrom(&bmp, c);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(back.Bits()[i], i) << int(c);
    }
}

TEST(ByteMap, WriteToThroughAPalette) {
    TColor32 palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = 0xFF000000u | static_cast<TColor32>(i * 3);
    TByteMap map;
    map.SetSize(1, 2);
    map.SetValue(0, 1, 7);
    TBitmap32 bmp;
    map.WriteTo(&bmp, palette);
    EXPECT_EQ(bmp.GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(bmp.GetPixel(0, 1), 0xFF000015u);
}

TEST(ByteMap, MissingBitmapsRaise) {
    TByteMap map;
    map.SetSize(2, 2);
    TColor32 palette[256] = {};
    EXPECT_THROW(map.ReadFrom(nullptr, ctRed), Exception);
    EXPECT_THROW(map.WriteTo(nullptr, ctRed), Exception);
    EXPECT_THROW(map.WriteTo(nullptr, palette), Exception);
    EXPECT_EQ(map.Width(), 2);
}

TEST(ByteMap, EmptyMapSizesTheBitmapAndWritesNothing) {
    TByteMap map;
    map.SetSize(0, 4);
    TBitmap32 bmp;
    bmp.SetSize(3, 3);
    map.WriteTo(&bmp, ctRed);
    EXPECT_EQ(bmp.Width(), 0);
    EXPECT_EQ(bmp.Height(), 4);
    EXPECT_TRUE(bmp.Empty());
}

TEST(ByteMap, AssignCopiesMapsAndBitmapsAndRefusesOthers) {
    TByteMap a;
    a.SetSize(3, 2);
    a.Clear(5);
    a.SetValue(2, 1, 99);
    TByteMap b;
    int changes = 0;
    b.OnChange = [&](TObject*) { ++changes; };
    b.Assign(&a);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Value(2, 1), 99);
    EXPECT_EQ(b.Value(0, 0), 5);

    TBitmap32 bmp;
    bmp.SetSize(1, 1);
    bmp.SetPixel(0, 0, Color32(10, 20, 31));
    b.Assign(&bmp); // weighted intensity
    EXPECT_EQ(b.Width(), 1);
    EXPECT_EQ(b.Value(0, 0), 18);

    TBitmap32 out;
    out.Assign(&a); // the map writes itself as grey
    EXPECT_EQ(out.Width(), 3);
    EXPECT_EQ(out.GetPixel(2, 1), Gray32(99));

    TWordMap words;
    EXPECT_THROW(b.Assign(&words), Exception);
    EXPECT_EQ(b.Width(), 1);
}

} // namespace
