// Device contexts over caller-owned pixel memory: each call must change exactly the pixels it draws.
#include "platform/vcl/DeviceContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t Fill = 0x12345678u; // not a colour any call draws

struct TMemory {
    int width, height;
    std::vector<std::uint32_t> pixels;
    HDC dc;

    TMemory(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, Fill) {
        dc = CreateMemoryDC(pixels.data(), w, h);
    }
    ~TMemory() { DeleteDC(dc); }
    std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The pixels that differ from the untouched memory, as a list of (x, y).
std::vector<std::pair<int, int>> Changed(TMemory& m) {
    std::vector<std::pair<int, int>> out;
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            if (m.At(x, y) != Fill) out.emplace_back(x, y);
    return out;
}

bool InRect(int x, int y, const TRect& r) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

TEST(DeviceContext, WrapsMemoryWithoutCopying) {
    TMemory m(4, 3);
    int w = 0, h = 0;
    EXPECT_EQ(GetDCBits(m.dc, &w, &h), m.pixels.data());
    EXPECT_EQ(w, 4);
    EXPECT_EQ(h, 3);
    EXPECT_EQ(SetPixel(m.dc, 2, 1, RGB(0x11, 0x22, 0x33)), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(m.At(2, 1), 0xFF112233u); // $AARRGGBB, straight into the caller's memory
    EXPECT_EQ(GetPixel(m.dc, 2, 1), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(Changed(m).size(), 1u);
    EXPECT_EQ(SetPixel(m.dc, 4, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(m.dc, -1, 0), CLR_INVALID);
}

struct TFillCase {
    const char* name;
    TRect rect;
    TRect clip; // Right == 0: no clip
    TRect expected;
};

TEST(DeviceContext, FillRectChangesExactlyTheClippedRectangle) {
    const TFillCase cases[] = {
        {"inside", {2, 1, 5, 4}, {}, {2, 1, 5, 4}},
        {"one pixel", {0, 0, 1, 1}, {}, {0, 0, 1, 1}},
        {"past every edge", {-3, -2, 20, 20}, {}, {0, 0, 8, 6}},
        {"empty", {4, 4, 4, 5}, {}, {0, 0, 0, 0}},
        {"inverted", {5, 4, 2, 1}, {}, {0, 0, 0, 0}},
        {"clipped", {0, 0, 8, 6}, {1, 2, 3, 5}, {1, 2, 3, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMemory m(8, 6);
        if (c.clip.Right) IntersectClipRect(m.dc, c.clip.Left, c.clip.Top, c.clip.Right, c.clip.Bottom);
        HBRUSH brush = CreateSolidBrush(RGB(0xAA, 0xBB, 0xCC));
        EXPECT_EQ(FillRect(m.dc, &c.rect, brush), 1);
        DeleteObject(brush);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(m.At(x, y), InRect(x, y, c.expected) ? 0xFFAABBCCu : Fill) << x << "," << y;
    }
}

TEST(DeviceContext, BitBltCopiesAllFourBytesAndClips) {
    TMemory src(4, 4), dst(6, 5);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            src.At(x, y) = 0x01000000u * (y * 4 + x) + 0x00102030u; // alpha bytes vary and must survive
    ASSERT_TRUE(BitBlt(dst.dc, 3, 2, 4, 4, src.dc, 0, 0, SRCCOPY));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 3 && y >= 2;
            EXPECT_EQ(dst.At(x, y), inside ? src.At(x - 3, y - 2) : Fill) << x << "," << y;
        }
    // A source rectangle reaching past the source leaves the destination alone there.
    TMemory dst2(4, 4);
    ASSERT_TRUE(BitBlt(dst2.dc, 0, 0, 4, 4, src.dc, 2, 2, SRCCOPY));
    EXPECT_EQ(dst2.At(1, 1), src.At(3, 3));
    EXPECT_EQ(dst2.At(2, 0), Fill);
    EXPECT_EQ(dst2.At(0, 2), Fill);
}

TEST(DeviceContext, StretchBltPicksNearestPixelsAndMirrors) {
    TMemory src(2, 2), dst(4, 4);
    src.At(0, 0) = 0xFF000001u;
    src.At(1, 0) = 0xFF000002u;
    src.At(0, 1) = 0xFF000003u;
    src.At(1, 1) = 0xFF000004u;
    ASSERT_TRUE(StretchBlt(dst.dc, 0, 0, 4, 4, src.dc, 0, 0, 2, 2, SRCCOPY));
    const std::uint32_t doubled[4][4] = {{1, 1, 2, 2}, {1, 1, 2, 2}, {3, 3, 4, 4}, {3, 3, 4, 4}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(dst.At(x, y), 0xFF000000u | doubled[y][x]);
    // A negative destination width mirrors left and right.
    TMemory mirror(2, 2);
    ASSERT_TRUE(StretchBlt(mirror.dc, 2, 0, -2, 2, src.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(mirror.At(0, 0), 0xFF000002u);
    EXPECT_EQ(mirror.At(1, 1), 0xFF000003u);
    // Halving keeps one source pixel of each pair.
    TMemory half(1, 1);
    ASSERT_TRUE(StretchBlt(half.dc, 0, 0, 1, 1, dst.dc, 0, 0, 4, 4, SRCCOPY));
    EXPECT_EQ(half.At(0, 0), 0xFF000004u);
}

TEST(DeviceContext, StretchBltLeavesWhatFallsOutsideTheSource) {
    // One row 1, 2, 3, 4 stretched into eight pixels; 0 marks a pixel left as it was.
    struct TCase {
        const char* name;
        int x, w, sx, sw;
        TRect clip;
        std::vector<std::uint32_t> row;
    };
    const TRect all{0, 0, 8, 1};
    const TCase cases[] = {
        {"doubled", 0, 8, 0, 4, all, {1, 1, 2, 2, 3, 3, 4, 4}},
        {"starting left of the source", 0, 8, -2, 4, all, {0, 0, 0, 0, 1, 1, 2, 2}},
        {"ending right of it, mirrored", 8, -8, 2, 4, all, {0, 0, 0, 0, 4, 4, 3, 3}},
        {"shrunk", 0, 3, 0, 4, all, {1, 3, 4, 0, 0, 0, 0, 0}},
        {"clipped", 0, 8, 0, 4, TRect{2, 0, 5, 1}, {0, 0, 2, 2, 3, 0, 0, 0}},
        {"one to one, past both ends", 0, 6, -1, 6, all, {0, 1, 2, 3, 4, 0, 0, 0}},
        {"one to one, clipped", 0, 4, 0, 4, TRect{1, 0, 3, 1}, {0, 2, 3, 0, 0, 0, 0, 0}},
        {"nothing of the source", 0, 8, 4, 4, all, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    TMemory src(4, 1);
    for (int x = 0; x < 4; ++x)
        src.At(x, 0) = 0xFF000000u | static_cast<std::uint32_t>(x + 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Copying, and merging onto black, give the same pixels.
        for (DWORD rop : {SRCCOPY, SRCPAINT}) {
            TMemory dst(8, 1);
            const std::uint32_t before = rop == SRCCOPY ? Fill : 0xFF000000u;
            std::fill(dst.pixels.begin(), dst.pixels.end(), before);
            IntersectClipRect(dst.dc, c.clip.Left, c.clip.Top, c.clip.Right, c.clip.Bottom);
            ASSERT_TRUE(StretchBlt(dst.dc, c.x, 0, c.w, 1, src.dc, c.sx, 0, c.sw, 1, rop));
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(dst.At(x, 0), c.row[x] ? 0xFF000000u | c.row[x] : before) << rop << " at " << x;
        }
    }
}

TEST(DeviceContext, BlitWithinOneSurfaceOverlaps) {
    TMemory m(5, 1);
    for (int x = 0; x < 5; ++x)
        m.At(x, 0) = 0xFF000000u + x;
    ASSERT_TRUE(BitBlt(m.dc, 1, 0, 4, 1, m.dc, 0, 0, SRCCOPY));
    const std::uint32_t expected[5] = {0, 0, 1, 2, 3};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(m.At(x, 0), 0xFF000000u + expected[x]);
}

TEST(DeviceContext, StretchDIBitsReadsEitherRowOrder) {
    const std::uint32_t rows[2][2] = {{0xFF0000AAu, 0xFF0000BBu}, {0xFF0000CCu, 0xFF0000DDu}};
    BITMAPINFO info;
    info.bmiHeader.biWidth = 2;
    for (int order : {-1, 1}) {
        SCOPED_TRACE(order);
        info.bmiHeader.biHeight = 2 * order;
        TMemory m(2, 2);
        EXPECT_EQ(StretchDIBits(m.dc, 0, 0, 2, 2, 0, 0, 2, 2, rows, &info, DIB_RGB_COLORS, SRCCOPY), 2);
        // Top-down memory shows row 0 on top; bottom-up memory shows its last row on top.
        EXPECT_EQ(m.At(0, 0), order < 0 ? 0xFF0000AAu : 0xFF0000CCu);
        EXPECT_EQ(m.At(1, 1), order < 0 ? 0xFF0000DDu : 0xFF0000BBu);
    }
    info.bmiHeader.biBitCount = 24;
    TMemory m(2, 2);
    EXPECT_EQ(StretchDIBits(m.dc, 0, 0, 2, 2, 0, 0, 2, 2, rows, &info, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_TRUE(Changed(m).empty());
}

TEST(DeviceContext, RasterOperations) {
    struct TCase {
        DWORD rop;
        std::uint32_t expected;
    };
    const std::uint32_t s = 0xFF00F0F0u, d = 0xFF0F0FF0u;
    const TCase cases[] = {
        {SRCCOPY, s},
        {SRCPAINT, s | d},
        {SRCAND, s & d},
        {SRCINVERT, s ^ d},
        {NOTSRCCOPY, ~s},
        {SRCERASE, s & ~d},
        {DSTINVERT, d ^ 0x00FFFFFFu},
        {BLACKNESS, 0xFF000000u},
        {WHITENESS, 0xFFFFFFFFu},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rop);
        TMemory src(1, 1), dst(1, 1);
        src.At(0, 0) = s;
        dst.At(0, 0) = d;
        ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, c.rop));
        EXPECT_EQ(dst.At(0, 0), c.expected);
    }
}

TEST(DeviceContext, FocusRectInvertsDotsAndUndoesItself) {
    TMemory m(6, 5);
    const TRect r{1, 1, 5, 4};
    ASSERT_TRUE(DrawFocusRect(m.dc, &r));
    for (auto [x, y] : Changed(m)) {
        const bool onOutline = InRect(x, y, r) && !InRect(x, y, TRect{2, 2, 4, 3});
        EXPECT_TRUE(onOutline) << x << "," << y;
        EXPECT_EQ((x + y) % 2, 0);
        EXPECT_EQ(m.At(x, y), Fill ^ 0x00FFFFFFu);
    }
    EXPECT_FALSE(Changed(m).empty());
    ASSERT_TRUE(DrawFocusRect(m.dc, &r));
    EXPECT_TRUE(Changed(m).empty());
}

TEST(DeviceContext, TextStaysInsideItsExtent) {
    LOGFONT lf;
    lf.lfHeight = -14;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    std::strcpy(lf.lfFaceName, "Arial");
    HFONT font = CreateFontIndirect(&lf);
    for (int mode : {TRANSPARENT, OPAQUE}) {
        SCOPED_TRACE(mode);
        TMemory m(80, 30);
        SelectObject(m.dc, font);
        SetTextColor(m.dc, RGB(255, 0, 0));
        SetBkColor(m.dc, RGB(0, 0, 255));
        SetBkMode(m.dc, mode);
        const std::string text = "HIH";
        SIZE size;
        ASSERT_TRUE(GetTextExtentPoint32(m.dc, text.data(), static_cast<int>(text.size()), &size));
        EXPECT_GT(size.cx, 10);
        EXPECT_GT(size.cy, 10);
        ASSERT_TRUE(TextOut(m.dc, 5, 4, text.data(), static_cast<int>(text.size())));
        const TRect box{5, 4, 5 + size.cx, 4 + size.cy};
        int red = 0;
        for (auto [x, y] : Changed(m)) {
            EXPECT_TRUE(InRect(x, y, box)) << x << "," << y;
            red += m.At(x, y) == 0xFFFF0000u;
        }
        EXPECT_GT(red, 10); // not antialiased: the strokes are pure text colour
        if (mode == OPAQUE) {
            // The whole cell is painted: background where there is no ink.
            for (int y = box.Top; y < box.Bottom; ++y)
                for (int x = box.Left; x < box.Right; ++x)
                    EXPECT_TRUE(m.At(x, y) == 0xFFFF0000u || m.At(x, y) == 0xFF0000FFu) << x << "," << y;
        }
    }
    DeleteObject(font);
}

TEST(DeviceContext, ClippedTextAndCalcRect) {
    TMemory m(60, 30);
    SetBkMode(m.dc, TRANSPARENT);
    SetTextColor(m.dc, RGB(0, 0, 0));
    const TRect clip{10, 5, 14, 25};
    ASSERT_TRUE(ExtTextOut(m.dc, 2, 5, ETO_CLIPPED, &clip, "WWWW", 4, nullptr));
    auto changed = Changed(m);
    EXPECT_FALSE(changed.empty());
    for (auto [x, y] : changed)
        EXPECT_TRUE(InRect(x, y, clip)) << x << "," << y;

    TRect calc{0, 0, 0, 0};
    const int height = DrawText(m.dc, "Hello", -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    SIZE size;
    GetTextExtentPoint32(m.dc, "Hello", 5, &size);
    EXPECT_EQ(calc.Right, size.cx);
    EXPECT_EQ(calc.Bottom, height);
    EXPECT_GT(height, 0);
}

TEST(DeviceContext, HandlesAreChecked) {
    std::vector<std::uint32_t> bits(4, Fill);
    HBITMAP bitmap = CreateBitmapOnBits(bits.data(), 2, 2);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ stock = SelectObject(dc, bitmap);
    ASSERT_NE(stock, nullptr);
    EXPECT_FALSE(DeleteObject(bitmap)); // still selected
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, bitmap), nullptr); // one context at a time
    EXPECT_EQ(SelectObject(dc, stock), bitmap);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(SetPixel(dc, 0, 0, 0), CLR_INVALID);
    EXPECT_FALSE(BitBlt(other, 0, 0, 1, 1, dc, 0, 0, SRCCOPY));
    DeleteDC(other);
    EXPECT_EQ(bits[0], Fill);
    // A context without a bitmap draws nothing and reads nothing.
    HDC empty = CreateCompatibleDC(nullptr);
    TRect r{0, 0, 1, 1};
    FillRect(empty, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(GetPixel(empty, 0, 0), CLR_INVALID);
    DeleteDC(empty);
}

TEST(DeviceContext, FontOutlivesItsHandleWhileSelected) {
    TMemory m(40, 20);
    LOGFONT lf;
    lf.lfHeight = -12;
    HFONT font = CreateFontIndirect(&lf);
    SelectObject(m.dc, font);
    SIZE before;
    GetTextExtentPoint32(m.dc, "Text", 4, &before);
    EXPECT_TRUE(DeleteObject(font));
    SIZE after;
    ASSERT_TRUE(GetTextExtentPoint32(m.dc, "Text", 4, &after));
    EXPECT_EQ(before.cx, after.cx);
    EXPECT_TRUE(TextOut(m.dc, 0, 0, "Text", 4));
    LOGFONT back;
    EXPECT_EQ(GetObject(font, sizeof back, &back), 0);
}

TEST(DeviceContext, StockFontsKeepTheirOwnFaces) {
    LOGFONT system, fixed;
    ASSERT_EQ(GetObject(GetStockObject(SYSTEM_FONT), sizeof system, &system),
              static_cast<int>(sizeof system));
    EXPECT_EQ(system.lfHeight, 16);
    EXPECT_STREQ(system.lfFaceName, "System");
    ASSERT_EQ(GetObject(GetStockObject(ANSI_FIXED_FONT), sizeof fixed, &fixed),
              static_cast<int>(sizeof fixed));
    EXPECT_EQ(fixed.lfHeight, 12);
    EXPECT_EQ(fixed.lfPitchAndFamily & 3, FIXED_PITCH);

    const auto width = [](HDC dc, const char* text) {
        SIZE size{};
        EXPECT_TRUE(GetTextExtentPoint32(dc, text, 3, &size));
        return size.cx;
    };
    TMemory fresh(40, 20), restored(40, 20), fixedPitch(40, 20);
    // The font a context had before one was selected draws as a fresh context's does.
    LOGFONT lf;
    lf.lfHeight = -30;
    HFONT large = CreateFontIndirect(&lf);
    HGDIOBJ before = SelectObject(restored.dc, large);
    EXPECT_GT(width(restored.dc, "WWW"), width(fresh.dc, "WWW"));
    SelectObject(restored.dc, before);
    EXPECT_EQ(width(restored.dc, "WWW"), width(fresh.dc, "WWW"));
    DeleteObject(large);
    // A fixed-pitch stock font measures every letter alike; the system font does not.
    SelectObject(fixedPitch.dc, GetStockObject(ANSI_FIXED_FONT));
    EXPECT_EQ(width(fixedPitch.dc, "iii"), width(fixedPitch.dc, "WWW"));
    EXPECT_LT(width(fresh.dc, "iii"), width(fresh.dc, "WWW"));
}

TEST(DeviceContext, DibSectionAcceptsOnlyTopDown32Bit) {
    BITMAPINFO info;
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = -2;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(static_cast<std::uint32_t*>(bits)[5], 0u);
    DeleteObject(bitmap);
    struct TBad {
        LONG width, height;
        WORD bitCount;
    };
    for (const TBad& bad : {TBad{3, 2, 32}, TBad{0, -2, 32}, TBad{3, -2, 24}, TBad{100000, -100000, 32}}) {
        info.bmiHeader.biWidth = bad.width;
        info.bmiHeader.biHeight = bad.height;
        info.bmiHeader.biBitCount = bad.bitCount;
        bits = &info;
        EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
        EXPECT_EQ(bits, nullptr);
    }
}

} // namespace
