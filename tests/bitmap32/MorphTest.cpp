#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Morph.h"
#include "bitmap32/Bmp32_Resamplers.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

// A kernel one row high.
void Row(TIntegerMap& k, std::initializer_list<int> values) {
    k.SetSize(static_cast<int>(values.size()), 1);
    int x = 0;
    for (int v : values)
        k.SetValue(x++, 0, v);
}

// A bitmap one row high of opaque greys.
void Greys(TBitmap32& b, std::initializer_list<int> levels, TColor32 outer = 0) {
    b.SetSize(static_cast<int>(levels.size()), 1);
    int x = 0;
    for (int l : levels)
        b.SetPixel(x++, 0, Gray32(static_cast<std::uint8_t>(l), 255));
    b.SetOuterColor(outer);
}

std::vector<TColor32> Pixels(const TBitmap32& b) {
    return std::vector<TColor32>(b.Bits(), b.Bits() + b.Width() * b.Height());
}

TColor32 G(int level, int alpha = 255) {
    return Gray32(static_cast<std::uint8_t>(level), static_cast<std::uint8_t>(alpha));
}

TEST(Morph, ConvolveWeighsNeighboursAndTheOuterColour) {
    TBitmap32 src, dst;
    Greys(src, {0, 100, 200, 40});
    TIntegerMap k;
    Row(k, {64, 128, 64});
    Convolve(&src, &dst, &k, 1, 0);
    // (64 x right + 128 x self + 64 x left) >> 8, outside the bitmap the outer colour (0, alpha 0).
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{G(25, 191), G(100), G(135), G(70, 191)}));
    // Weights above 1.0 are held at 255, negative sums at 0.
    Row(k, {512});
    Convolve(&src, &dst, &k, 0, 0);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{G(0), G(200), G(255), G(80)}));
    Row(k, {-256});
    Convolve(&src, &dst, &k, 0, 0);
    EXPECT_EQ(Pixels(dst), std::vector<TColor32>(4, 0u));
}

TEST(Morph, KernelIsAppliedMirroredAboutItsCentre) {
    TBitmap32 src, dst;
    Greys(src, {10, 20, 30, 40});
    TIntegerMap k;
    Row(k, {0, 0, 256});
    // Cell 2 with centre 0 reads two pixels to the left.
    Convolve(&src, &dst, &k, 0, 0);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{0, 0, G(10), G(20)}));
    // With the centre on that cell every pixel reads itself.
    Convolve(&src, &dst, &k, 2, 0);
    EXPECT_EQ(Pixels(dst), Pixels(src));
    // Rows likewise.
    TBitmap32 col;
    col.SetSize(1, 3);
    for (int y = 0; y < 3; ++y)
        col.SetPixel(0, y, G(50 * (y + 1)));
    TIntegerMap v;
    v.SetSize(1, 2);
    v.SetValue(0, 0, 0);
    v.SetValue(0, 1, 256);
    Convolve(&col, &dst, &v, 0, 1);
    EXPECT_EQ(Pixels(dst), Pixels(col));
    Convolve(&col, &dst, &v, 0, 0);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{0, G(50), G(100)}));
}

TEST(Morph, DilateErodeExpandContract) {
    TBitmap32 src, dst;
    TIntegerMap k;
    Row(k, {0, 0, 0});
    Greys(src, {10, 50, 20, 5}, 0xFFFFFFFF);
    Erode(&src, &dst, &k, 1, 0); // the white outside never wins a minimum
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{G(10), G(10), G(5), G(5)}));
    Greys(src, {10, 50, 20, 5}, 0);
    Dilate(&src, &dst, &k, 1, 0);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{G(50), G(50), G(50), G(20)}));
    // A cell's value is added (dilate) or taken off (erode), then held to 0..255.
    Row(k, {0, 10, 0});
    Dilate(&src, &dst, &k, 1, 0);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{G(50), G(60), G(50), G(20)}));
    Row(k, {250});
    Dilate(&src, &dst, &k, 0, 0);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{G(255), G(255), G(255), G(255)}));
    Row(k, {30});
    Erode(&src, &dst, &k, 0, 0);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{G(0, 225), G(20, 225), G(0, 225), G(0, 225)}));
    // Expand: the largest neighbour times its weight / 256.
    Row(k, {128, 256});
    Expand(&src, &dst, &k, 1, 0);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{G(25), G(50), G(20), G(5)}));
    // Contract with a full weight: the minimum over the cells.
    Greys(src, {10, 50, 20, 5}, 0xFFFFFFFF);
    Row(k, {256, 256, 256});
    Contract(&src, &dst, &k, 1, 0);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{G(10), G(10), G(5), G(5)}));
    // Above 256 the grey level is still white, and the inverted pixel is amplified: (255 - 50) x 300
    // >> 8 = 240, so 50 becomes 15; at 128 the grey level is Gray32(128, 128).
    Row(k, {300});
    Contract(&src, &dst, &k, 0, 0);
    EXPECT_EQ(Pixels(dst), (std::vector<TColor32>{G(0), G(15), G(0), G(0)}));
    Row(k, {128});
    Contract(&src, &dst, &k, 0, 0);
    // 128 - (255 - 10) x 128 / 256 = 6 (alpha 128 - 0).
    EXPECT_EQ(dst.GetPixel(0, 0), G(6, 128));
    EXPECT_EQ(dst.GetPixel(1, 0), G(26, 128));
}

TEST(Morph, SelectiveConvolverSkipsChannelsBeyondDelta) {
    TBitmap32 src;
    Greys(src, {100, 120, 200});
    TSelectiveConvolver s(src.Resampler());
    TIntegerMap k;
    Row(k, {256, 256, 256});
    s.SetKernel(&k);
    s.SetCenterX(1);
    s.PrepareSampling();
    // 200 lies 80 from the centre's 120: only 120 and 100 count, each channel by its own weights.
    EXPECT_EQ(s.GetSampleInt(1, 0), G(110));
    s.SetDelta(100);
    EXPECT_EQ(s.GetSampleInt(1, 0), G(140));
    // No channel within Delta and no weight on the centre: the centre's own value.
    Greys(src, {0, 120, 250});
    Row(k, {256, 0, 256});
    s.SetKernel(&k);
    s.SetDelta(30);
    EXPECT_EQ(s.GetSampleInt(1, 0), G(120));
    // The fixed form reads whole-pixel offsets around the fixed position.
    EXPECT_EQ(s.GetSampleFixed(Fixed(1), 0), G(120));
    s.FinalizeSampling();
}

TEST(Morph, SourceMayBeTheDestinationAndBadArgumentsRaise) {
    TBitmap32 a, b;
    Greys(a, {10, 200, 30, 90, 60});
    TIntegerMap k;
    Row(k, {64, 128, 64});
    Convolve(&a, &b, &k, 1, 0);
    Convolve(&a, &a, &k, 1, 0);
    EXPECT_EQ(Pixels(a), Pixels(b));
    EXPECT_THROW(Convolve(nullptr, &b, &k, 0, 0), EBitmapException);
    EXPECT_THROW(Dilate(&a, nullptr, &k, 0, 0), EBitmapException);
    EXPECT_THROW(Erode(&a, &b, nullptr, 0, 0), Exception);
    // An empty kernel gives each sampler's empty buffer.
    TIntegerMap none;
    Convolve(&a, &b, &none, 0, 0);
    EXPECT_EQ(Pixels(b), std::vector<TColor32>(5, 0u));
    Erode(&a, &b, &none, 0, 0);
    EXPECT_EQ(Pixels(b), std::vector<TColor32>(5, 0xFFFFFFFFu));
}

TEST(Morph, KernelSamplersAssignAndForward) {
    TIntegerMap k;
    Row(k, {1, 2, 3});
    TConvolver a;
    a.SetKernel(&k);
    a.SetCenterX(2);
    TConvolver b;
    b.Assign(&a);
    EXPECT_EQ(b.Kernel()->Width(), 3);
    EXPECT_EQ(b.Kernel()->Value(2, 0), 3);
    EXPECT_EQ(b.CenterX(), 2);
    EXPECT_THROW(b.GetSampleInt(0, 0), ENestedException);
}

} // namespace
