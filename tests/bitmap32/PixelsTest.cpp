#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Blend.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class BlendSetScope {
public:
    explicit BlendSetScope(bool packed) { SelectBlendSet(packed); }
    ~BlendSetScope() { SetupBlendFunctions(); }
};

// A bitmap whose pixel (x, y) is $FF0000yx, so every read names its source.
void Numbered(TBitmap32& b, int w, int h) {
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, 0xFF000000u | static_cast<TColor32>(y << 4 | x));
}

TEST(Pixels, SafeBoundedAndWrappedAccess) {
    TBitmap32 b;
    Numbered(b, 4, 3);
    b.SetOuterColor(0xDEADBEEF);
    b.SetClipRect(TRect{1, 0, 3, 2});
    struct {
        const char* what;
        TColor32 got, want;
    } const cases[] = {
        {"S inside", b.GetPixelS(2, 1), 0xFF000012}, {"S outside the clip", b.GetPixelS(0, 0), 0xDEADBEEF},
        {"S below", b.GetPixelS(1, 2), 0xDEADBEEF},  {"B clamps", b.GetPixelB(-5, 9), 0xFF000020},
        {"W clamp", b.GetPixelW(7, -3), 0xFF000002},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
    b.SetWrapMode(wmRepeat);
    EXPECT_EQ(b.GetPixelW(3, 2), 0xFF000001u);
    b.SetWrapMode(wmMirror);
    EXPECT_EQ(b.GetPixelW(0, -1), 0xFF000001u);
    b.SetPixelS(0, 0, 1);
    b.SetPixelS(2, 1, 2);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF000000u);
    EXPECT_EQ(b.GetPixel(2, 1), 2u);
    b.SetPixelW(4, 0, 3); // mirrored with repeated edges: 1 2 | 2 1
    EXPECT_EQ(b.GetPixel(1, 0), 3u);
    // An empty clip rectangle leaves nothing to wrap into.
    b.SetClipRect(TRect{2, 2, 2, 2});
    EXPECT_EQ(b.GetPixelW(1, 1), 0xDEADBEEFu);
    EXPECT_EQ(b.GetPixelXW(65536, 65536), 0xDEADBEEFu);
    b.SetPixelW(1, 1, 9);
    b.SetPixelXW(65536, 65536, 0xFFFFFFFF);
    EXPECT_EQ(b.GetPixel(1, 1), 0xFF000011u);
    TBitmap32 empty;
    EXPECT_EQ(empty.GetPixelB(0, 0), 0u);
}

TEST(Pixels, BlendedWritesFollowTheCombineMode) {
    TBitmap32 b;
    b.SetSize(2, 1);
    b.Clear(0x800000FF);
    b.SetPixelT(0, 0, 0x80FF0000);
    EXPECT_EQ(b.GetPixel(0, 0), BlendReg(0x80FF0000, 0x800000FF));
    b.SetCombineMode(cmMerge);
    TColor32* p = b.GetPixelPtr(1, 0);
    b.SetPixelT(p, 0x80FF0000);
    EXPECT_EQ(p, b.GetPixelPtr(0, 0) + 2);
    EXPECT_EQ(b.GetPixel(1, 0), 0xC0AA0055u);
    b.SetClipRect(TRect{0, 0, 1, 1});
    b.SetPixelTS(1, 0, 0xFFFFFFFF);
    EXPECT_EQ(b.GetPixel(1, 0), 0xC0AA0055u);
}

TEST(Pixels, AntialiasedReadsAtTheEdges) {
    TBitmap32 b;
    Numbered(b, 3, 3);
    b.SetOuterColor(0x0BADF00D);
    struct {
        const char* what;
        int x, y;
        TColor32 want;
    } const cases[] = {
        {"last column, unblended", 2 * 256, 256, 0xFF000012},
        {"last column, between rows", 2 * 256, 256 + 100, 0xFF000012},
        {"last row, between columns", 256 + 100, 2 * 256, 0xFF000021},
        {"bottom-right corner", 512, 512, 0xFF000022},
        {"past the last column", 513, 0, 0x0BADF00D},
        {"below the last row", 0, 513, 0x0BADF00D},
        {"negative", -1, 0, 0x0BADF00D},
    };
    for (const auto& c : cases)
        EXPECT_EQ(b.GET_TS256(c.x, c.y), c.want) << c.what;
    BlendSetScope plain(false);
    // At whole pixels the plain set's weight 255 takes the pixel itself.
    EXPECT_EQ(b.GetPixelX(65536, 65536), 0xFF000011u);
    EXPECT_EQ(b.GetPixelF(1.0f, 0.0f), 0xFF000001u);
    EXPECT_EQ(b.GetPixelFS(-0.01f, 0.0f), 0x0BADF00Du);
    EXPECT_EQ(b.GetPixelXS(2 * 65536, 0), 0xFF000002u);
}

// The packed formula reads a uniform area back exactly; the plain one may lose one unit.
TEST(Pixels, UniformAreasReadBackTheirColourAtAnyFraction) {
    BlendSetScope packed(true);
    TBitmap32 b;
    b.SetSize(4, 4);
    b.Clear(0xC0406080);
    for (int fx = 0; fx < 65536; fx += 4097)
        ASSERT_EQ(b.GetPixelX(65536 + fx, 65536 + fx / 2), 0xC0406080u) << fx;
}

TEST(Pixels, WrappedBilinearReadMixesAcrossTheEdge) {
    BlendSetScope plain(false);
    TBitmap32 b;
    b.SetSize(4, 1);
    b.Clear(0xFF000000);
    b.SetPixel(3, 0, 0xFFFFFFFF);
    b.SetWrapMode(wmRepeat);
    // Half way between column -1 (= 3, white) and column 0 (black).
    const TColor32 c = b.GetPixelXW(-32768, 0);
    EXPECT_EQ(c, CombineReg(0xFF000000, 0xFFFFFFFF, 128));
    b.SetWrapMode(wmClamp);
    EXPECT_EQ(b.GetPixelXW(-32768, 0), 0xFF000000u);
}

TEST(Pixels, AntialiasedWritesStayInsideTheClipRectangle) {
    for (bool packed : {false, true}) {
        BlendSetScope scope(packed);
        TBitmap32 b;
        b.SetSize(4, 4);
        b.Clear(0xFF000000);
        b.SetClipRect(TRect{0, 0, 3, 3});
        // Half a pixel right and down of (2, 2): the neighbours at column 3 and row 3 are outside.
        b.SetPixelXS(2 * 65536 + 32768, 2 * 65536 + 32768, 0xFFFFFFFF);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(b.GetPixel(3, i), 0xFF000000u);
            EXPECT_EQ(b.GetPixel(i, 3), 0xFF000000u);
        }
        EXPECT_NE(b.GetPixel(2, 2), 0xFF000000u);
        // A wrapped write up to half a pixel before the right edge of the last row stays inside too.
        b.ResetClipRect();
        b.Clear(0xFF000000);
        b.SetWrapMode(wmRepeat);
        b.SetPixelXW(216269, 216269, 0xFFFFFFFF); // 3.3 pixels
        EXPECT_NE(b.GetPixel(3, 3), 0xFF000000u);
        // A whole-pixel write: the gamma weights give the pixel (255 * 255 * 255) >> 16 = 253.
        b.Clear(0xFF000000);
        b.SetPixelX(65536, 65536, 0xFFFFFFFF);
        TColor32 want = 0xFF000000;
        CombineMem(0xFFFFFFFF, want, 253);
        EXPECT_EQ(b.GetPixel(1, 1), want);
        EXPECT_EQ(b.GetPixel(2, 1), 0xFF000000u);
        EXPECT_EQ(b.GetPixel(1, 2), 0xFF000000u);
    }
}

TEST(Pixels, StippleColours) {
    TBitmap32 b;
    b.SetStippleCounter(3.5f);
    EXPECT_EQ(b.GetStippleColor(), 0xFF000000u); // no pattern
    EXPECT_FLOAT_EQ(b.StippleCounter(), 3.5f);
    b.AdvanceStippleCounter(2);
    EXPECT_FLOAT_EQ(b.StippleCounter(), 3.5f);

    BlendSetScope plain(false);
    const TColor32 a = 0xFF0000FF, c = 0xFFFF0000;
    b.SetStipple(TArrayOfColor32{a, c});
    b.SetStippleStep(0.5f);
    const TColor32 want[] = {a, CombineReg(a, c, 127), c, CombineReg(c, a, 127), a};
    for (TColor32 w : want)
        EXPECT_EQ(b.GetStippleColor(), w);
    EXPECT_FLOAT_EQ(b.StippleCounter(), 0.5f);
    b.SetStippleCounter(-7.25f); // wraps into 0..2
    b.GetStippleColor();
    EXPECT_FLOAT_EQ(b.StippleCounter(), 1.25f);
    b.SetStippleCounter(1.0e30f); // far beyond the pattern: still terminates
    b.GetStippleColor();
    EXPECT_GE(b.StippleCounter(), 0.0f);
    EXPECT_LE(b.StippleCounter(), 2.5f);
    b.SetStippleCounter(0);
    b.AdvanceStippleCounter(5); // 5 pixels at step 0.5 is 2.5, one turn of 2 and 0.5
    EXPECT_FLOAT_EQ(b.StippleCounter(), 0.5f);
}

} // namespace
