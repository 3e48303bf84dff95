// Canvas drawing into bitmaps: the pixels each call must touch, and those it must leave alone.
#include "platform/vcl/Graphics.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace {

constexpr std::uint32_t Fill = 0x12345678u;

std::unique_ptr<TBitmap> Filled(int w, int h) {
    auto b = std::make_unique<TBitmap>(w, h);
    for (int y = 0; y < h; ++y) {
        auto* row = static_cast<std::uint32_t*>(b->ScanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = Fill;
    }
    return b;
}

std::uint32_t At(const TBitmap& b, int x, int y) {
    return static_cast<const std::uint32_t*>(b.ScanLine(y))[x];
}

// Compares every pixel with what `expected` says it should be (Fill where untouched).
void ExpectPixels(const TBitmap& b, const std::function<std::uint32_t(int, int)>& expected) {
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            ASSERT_EQ(At(b, x, y), expected(x, y)) << "pixel " << x << "," << y;
}

constexpr std::uint32_t Red = 0xFFFF0000u, Black = 0xFF000000u, Blue = 0xFF0000FFu;

TEST(Canvas, RectangleOutlineAndInterior) {
    auto b = Filled(8, 7);
    TCanvas* c = b->Canvas();
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clRed);
    c->Rectangle(1, 1, 6, 5);
    ExpectPixels(*b, [](int x, int y) -> std::uint32_t {
        if (x < 1 || x > 5 || y < 1 || y > 4) return Fill;
        return (x == 1 || x == 5 || y == 1 || y == 4) ? Black : Red;
    });
    // A clear brush leaves the inside alone; without a pen only the inside less one pixel is filled.
    auto clear = Filled(5, 5);
    clear->Canvas()->Brush()->SetStyle(bsClear);
    clear->Canvas()->Rectangle(0, 0, 5, 5);
    EXPECT_EQ(At(*clear, 2, 2), Fill);
    EXPECT_EQ(At(*clear, 4, 4), Black);
    auto noPen = Filled(5, 5);
    noPen->Canvas()->Pen()->SetStyle(psClear);
    noPen->Canvas()->Brush()->SetColor(clBlue);
    noPen->Canvas()->Rectangle(0, 0, 5, 5);
    ExpectPixels(*noPen, [](int x, int y) { return x < 4 && y < 4 ? 0xFF0000FFu : Fill; });
}

struct TLineCase {
    const char* name;
    TPoint from, to;
    std::vector<TPoint> drawn;
};

TEST(Canvas, LinesLeaveOutTheirLastPoint) {
    const TLineCase cases[] = {
        {"horizontal", {0, 0}, {4, 0}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
        {"leftwards", {4, 2}, {1, 2}, {{4, 2}, {3, 2}, {2, 2}}},
        {"vertical", {2, 0}, {2, 3}, {{2, 0}, {2, 1}, {2, 2}}},
        {"diagonal", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {"single point", {1, 1}, {1, 1}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = Filled(5, 4);
        b->Canvas()->Pen()->SetColor(clBlue);
        b->Canvas()->MoveTo(c.from.X, c.from.Y);
        b->Canvas()->LineTo(c.to.X, c.to.Y);
        EXPECT_EQ(b->Canvas()->PenPos(), c.to);
        ExpectPixels(*b, [&](int x, int y) {
            for (const TPoint& p : c.drawn)
                if (p.X == x && p.Y == y) return Blue;
            return Fill;
        });
    }
}

TEST(Canvas, FrameRectPixelsAndFocusRect) {
    auto b = Filled(6, 5);
    b->Canvas()->Brush()->SetColor(clRed);
    b->Canvas()->FrameRect(TRect{1, 1, 5, 4});
    ExpectPixels(*b, [](int x, int y) {
        const bool inside = x >= 1 && x < 5 && y >= 1 && y < 4;
        const bool border = x == 1 || x == 4 || y == 1 || y == 3;
        return inside && border ? Red : Fill;
    });
    b->Canvas()->DrawFocusRect(TRect{0, 0, 6, 5});
    b->Canvas()->DrawFocusRect(TRect{0, 0, 6, 5});
    EXPECT_EQ(At(*b, 0, 0), Fill);
}

TEST(Canvas, PixelsReadAndWrite) {
    auto b = Filled(3, 3);
    TCanvas* c = b->Canvas();
    c->SetPixels(1, 2, static_cast<TColor>(0x00332211));
    EXPECT_EQ(At(*b, 1, 2), 0xFF112233u);
    EXPECT_EQ(c->Pixels(1, 2), 0x00332211);
    EXPECT_EQ(c->Pixels(3, 0), -1);
    c->SetPixels(-1, 0, clRed);
    ExpectPixels(*b, [](int x, int y) { return x == 1 && y == 2 ? 0xFF112233u : Fill; });
    // System colours resolve to their value.
    c->SetPixels(0, 0, clBtnFace);
    EXPECT_EQ(At(*b, 0, 0), 0xFFECE9D8u);
}

TEST(Canvas, ShapesStayInsideTheirBounds) {
    using Draw = std::function<void(TCanvas*)>;
    struct TShape {
        const char* name;
        Draw draw;
        TRect bounds;
        TPoint inside;
    };
    const TShape shapes[] = {
        {"ellipse", [](TCanvas* c) { c->Ellipse(2, 3, 14, 11); }, {2, 3, 14, 11}, {8, 7}},
        {"polygon",
         [](TCanvas* c) {
             c->Polygon({{3, 2}, {12, 2}, {12, 10}, {3, 10}});
         },
         {3, 2, 13, 11},
         {7, 6}},
        {"polyline",
         [](TCanvas* c) {
             c->Polyline({{1, 1}, {10, 1}, {10, 8}});
         },
         {1, 1, 11, 8},
         {10, 4}},
    };
    for (const auto& s : shapes) {
        SCOPED_TRACE(s.name);
        auto b = Filled(16, 14);
        b->Canvas()->Pen()->SetColor(clBlack);
        b->Canvas()->Brush()->SetColor(clBlue);
        s.draw(b->Canvas());
        bool any = false;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 16; ++x) {
                const bool in =
                    x >= s.bounds.Left && x < s.bounds.Right && y >= s.bounds.Top && y < s.bounds.Bottom;
                if (!in) {
                    EXPECT_EQ(At(*b, x, y), Fill) << x << "," << y;
                }
                any |= At(*b, x, y) != Fill;
            }
        EXPECT_TRUE(any);
        EXPECT_NE(At(*b, s.inside.X, s.inside.Y), Fill);
    }
}

TEST(Canvas, DrawStretchAndTransparentColour) {
    TBitmap source(2, 2);
    auto* row0 = static_cast<std::uint32_t*>(source.ScanLine(0));
    auto* row1 = static_cast<std::uint32_t*>(source.ScanLine(1));
    row0[0] = 0xFF00FF00u; // the colour key
    row0[1] = 0xFF0000AAu;
    row1[0] = 0xFF0000BBu;
    row1[1] = 0xFF0000CCu;

    auto plain = Filled(5, 5);
    plain->Canvas()->Draw(1, 1, &source);
    ExpectPixels(*plain, [&](int x, int y) {
        if (x < 1 || x > 2 || y < 1 || y > 2) return Fill;
        return static_cast<const std::uint32_t*>(source.ScanLine(y - 1))[x - 1];
    });

    source.SetTransparent(true);
    source.SetTransparentColor(clLime);
    auto keyed = Filled(4, 4);
    keyed->Canvas()->StretchDraw(TRect{0, 0, 4, 4}, &source);
    ExpectPixels(*keyed, [](int x, int y) -> std::uint32_t {
        if (x < 2 && y < 2) return Fill; // the lime quarter is left out
        return x >= 2 && y < 2 ? 0xFF0000AAu : (x < 2 ? 0xFF0000BBu : 0xFF0000CCu);
    });
}

TEST(Canvas, CopyRectUsesCopyMode) {
    TBitmap source(2, 1);
    static_cast<std::uint32_t*>(source.ScanLine(0))[0] = 0xFF0F0F0Fu;
    static_cast<std::uint32_t*>(source.ScanLine(0))[1] = 0xFFF0F0F0u;
    auto b = Filled(4, 2);
    b->Canvas()->CopyRect(TRect{0, 0, 4, 2}, source.Canvas(), TRect{0, 0, 2, 1});
    EXPECT_EQ(At(*b, 1, 1), 0xFF0F0F0Fu);
    EXPECT_EQ(At(*b, 3, 0), 0xFFF0F0F0u);
    b->Canvas()->SetCopyMode(cmSrcInvert);
    b->Canvas()->CopyRect(TRect{0, 0, 2, 1}, source.Canvas(), TRect{0, 0, 2, 1});
    EXPECT_EQ(At(*b, 0, 0), 0u);
    EXPECT_EQ(At(*b, 1, 0), 0xFF0F0F0Fu ^ 0xFFF0F0F0u);
}

TEST(Canvas, PatternBrushRepeatsEveryEightPixels) {
    TBitmap pattern(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            static_cast<std::uint32_t*>(pattern.ScanLine(y))[x] = (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u;
    auto b = Filled(18, 10);
    b->Canvas()->Brush()->SetBitmap(&pattern);
    b->Canvas()->FillRect(TRect{1, 1, 17, 9});
    ExpectPixels(*b, [](int x, int y) -> std::uint32_t {
        if (x < 1 || x >= 17 || y < 1 || y >= 9) return Fill;
        return (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u;
    });
}

TEST(Canvas, SharedPixelsAreCopiedOnWrite) {
    auto a = Filled(3, 3);
    TBitmap b;
    b.Assign(a.get());
    EXPECT_EQ(a->ImageData(), b.ImageData()); // shared, not copied
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(TRect{0, 0, 3, 3});
    EXPECT_EQ(At(*a, 1, 1), Fill);
    EXPECT_EQ(At(b, 1, 1), Red);
    EXPECT_NE(a->ImageData(), b.ImageData());
    // Resizing keeps the overlap and clears the rest.
    b.SetSize(4, 2);
    EXPECT_EQ(At(b, 2, 1), Red);
    EXPECT_EQ(At(b, 3, 0), 0u);
    b.Canvas()->SetPixels(3, 1, clBlue);
    EXPECT_EQ(At(b, 3, 1), Blue);
}

TEST(Canvas, TextOutDrawsAndMovesThePen) {
    auto b = Filled(80, 24);
    TCanvas* c = b->Canvas();
    c->Font()->SetName("MS Sans Serif");
    c->Font()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    const int width = c->TextWidth("Harbek");
    EXPECT_GT(width, 20);
    EXPECT_GT(c->TextHeight("Harbek"), 8);
    c->TextOut(2, 2, "Harbek");
    EXPECT_EQ(c->PenPos(), (TPoint{2 + width, 2}));
    int inked = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 80; ++x)
            if (At(*b, x, y) != Fill) {
                ++inked;
                EXPECT_GE(x, 1);
                EXPECT_LT(x, 2 + width + 1);
            }
    EXPECT_GT(inked, 20);
}

TEST(Canvas, CanvasWithoutSurface) {
    TCanvas canvas;
    EXPECT_THROW(canvas.FillRect(TRect{0, 0, 1, 1}), EInvalidOperation);
    EXPECT_THROW(canvas.TextOut(0, 0, "x"), EInvalidOperation);
    EXPECT_EQ(canvas.Handle(), nullptr);
    EXPECT_GT(canvas.TextWidth("measure"), 0); // measuring needs no surface
    EXPECT_EQ(canvas.ClipRect(), TRect{});
}

TEST(Canvas, ChangesReachTheBitmapAndLocks) {
    auto b = Filled(2, 2);
    int changes = 0;
    b->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    b->Canvas()->SetPixels(0, 0, clRed);
    EXPECT_GE(changes, 1);
    TCanvas* c = b->Canvas();
    c->Lock();
    EXPECT_EQ(c->LockCount(), 1);
    EXPECT_TRUE(c->TryLock()); // re-entrant on the same thread
    c->Unlock();
    c->Unlock();
    EXPECT_EQ(c->LockCount(), 0);
}

} // namespace
