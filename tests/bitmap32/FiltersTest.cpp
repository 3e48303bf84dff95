#include "bitmap32/Bmp32_Filters.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

TBitmap32* Make(TBitmap32& bmp, const std::vector<TColor32>& pixels) {
    bmp.SetSize(static_cast<int>(pixels.size()), 1);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        bmp.Bits()[i] = pixels[i];
    return &bmp;
}

std::vector<TColor32> Pixels(const TBitmap32& bmp) {
    return std::vector<TColor32>(bmp.Bits(), bmp.Bits() + bmp.Width() * bmp.Height());
}

using FilterFn = std::function<void(TBitmap32*, const TBitmap32*)>;

TColor32 Half(int c) {
    return static_cast<TColor32>(c / 2);
}

TEST(Filters, HandCheckedPixels) {
    // (R 10, G 20, B 31): intensity (610 + 3480 + 651) >> 8 = 18; white 255.
    const std::vector<TColor32> src = {0xFF102030, 0x800A141F, 0x00FFFFFF};
    static std::uint8_t lut[256];
    for (int i = 0; i < 256; ++i)
        lut[i] = static_cast<std::uint8_t>(Half(i));
    struct Case {
        const char* name;
        FilterFn run;
        std::vector<TColor32> expected;
    };
    const Case cases[] = {
        {"AlphaToGrayscale", AlphaToGrayscale, {0xFFFFFFFF, 0xFF808080, 0xFF000000}},
        {"Invert", Invert, {0x00EFDFCF, 0x7FF5EBE0, 0xFF000000}},
        {"InvertRGB", InvertRGB, {0xFFEFDFCF, 0x80F5EBE0, 0x00000000}},
        // (0x10*61 + 0x20*174 + 0x30*21) >> 8 = 0x1D.
        {"ColorToGrayscale",
         [](TBitmap32* d, const TBitmap32* s) { ColorToGrayscale(d, s); },
         {0xFF1D1D1D, 0xFF121212, 0xFFFFFFFF}},
        {"ColorToGrayscale alpha",
         [](TBitmap32* d, const TBitmap32* s) { ColorToGrayscale(d, s, true); },
         {0xFF1D1D1D, 0x80121212, 0x00FFFFFF}},
        {"ApplyLUT",
         [](TBitmap32* d, const TBitmap32* s) { ApplyLUT(d, s, lut); },
         {0xFF081018, 0xFF050A0F, 0xFF7F7F7F}},
        {"ApplyLUT alpha",
         [](TBitmap32* d, const TBitmap32* s) { ApplyLUT(d, s, lut, true); },
         {0xFF081018, 0x80050A0F, 0x007F7F7F}},
    };
    for (const Case& c : cases) {
        TBitmap32 s, d;
        Make(s, src);
        int changes = 0;
        d.OnChange = [&](TObject*) { ++changes; };
        c.run(&d, &s);
        EXPECT_EQ(Pixels(d), c.expected) << c.name;
        EXPECT_EQ(changes, 1) << c.name;
        // In place gives the same.
        c.run(&s, &s);
        EXPECT_EQ(Pixels(s), c.expected) << c.name << " in place";
    }
}

TEST(Filters, IntensityToAlphaKeepsTheDestinationColour) {
    TBitmap32 s, d;
    Make(s, {0xFF0A141F, 0x00FFFFFF});
    Make(d, {0x11223344, 0x55667788});
    IntensityToAlpha(&d, &s);
    EXPECT_EQ(Pixels(d), (std::vector<TColor32>{0x12223344, 0xFF667788}));
}

TEST(Filters, DestinationTakesTheSourceSize) {
    TBitmap32 s, d;
    s.SetSize(3, 2);
    s.Clear(0xFF000000);
    d.SetSize(9, 9);
    Invert(&d, &s);
    EXPECT_EQ(d.Width(), 3);
    EXPECT_EQ(d.Height(), 2);
    EXPECT_EQ(d.GetPixel(2, 1), 0x00FFFFFFu);
    TBitmap32 empty;
    Invert(&d, &empty);
    EXPECT_TRUE(d.Empty());
}

TEST(Filters, MissingBitmapsRaise) {
    TBitmap32 bmp;
    static std::uint8_t lut[256] = {};
    const FilterFn filters[] = {AlphaToGrayscale,
                                IntensityToAlpha,
                                Invert,
                                InvertRGB,
                                [](TBitmap32* d, const TBitmap32* s) { ColorToGrayscale(d, s); },
                                [](TBitmap32* d, const TBitmap32* s) { ApplyLUT(d, s, lut); }};
    for (const FilterFn& f : filters) {
        try {
            f(&bmp, nullptr);
            ADD_FAILURE() << "no error for a missing source";
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "The source is nil");
        }
        try {
            f(nullptr, &bmp);
            ADD_FAILURE() << "no error for a missing destination";
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Destination is nil");
        }
    }
    EXPECT_THROW(CromaKey(nullptr, 0), Exception);
}

TEST(Filters, CromaKeyClearsAlphaOfMatchingRgbOnly) {
    TBitmap32 bmp;
    Make(bmp, {0xFF00FF00, 0x1200FF00, 0xFF00FF01, 0x00000000});
    int changes = 0;
    bmp.OnChange = [&](TObject*) { ++changes; };
    CromaKey(&bmp, 0xFF00FF00);
    EXPECT_EQ(Pixels(bmp), (std::vector<TColor32>{0x0000FF00, 0x0000FF00, 0xFF00FF01, 0x00000000}));
    EXPECT_EQ(changes, 0);
}

} // namespace
