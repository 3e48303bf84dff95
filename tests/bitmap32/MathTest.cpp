#include "bitmap32/Bmp32_DrawingEx.h"
#include "bitmap32/Bmp32_Geometry.h"
#include "bitmap32/Bmp32_LowLevel.h"
#include "bitmap32/Bmp32_Math.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <vector>

namespace {

TEST(Math, FixedRoundingTable) {
    struct {
        const char* what;
        long long got, want;
    } const cases[] = {
        {"Fixed(0.5f)", Fixed(0.5f), 32768},
        {"Fixed ties to even below", Fixed(1.5f / 65536), 2},
        {"Fixed ties to even above", Fixed(2.5f / 65536), 2},
        {"Fixed(-1.5 units)", Fixed(-1.5f / 65536), -2},
        {"Fixed(int)", Fixed(3), 3 * 65536},
        {"Fixed saturates", Fixed(1e9f), INT_MAX},
        {"Fixed NaN", Fixed(std::nanf("")), 0},
        {"FixedRound(0.5)", FixedRound(32768), 0},
        {"FixedRound(1.5)", FixedRound(3 * 32768), 1},
        {"FixedRound(-0.5)", FixedRound(-32768), -1},
        {"FixedRound(0.5 + 1 unit)", FixedRound(32769), 1},
        {"FixedCeil(65537)", FixedCeil(65537), 2},
        {"FixedCeil(-65535)", FixedCeil(-65535), 0},
        {"FixedCeil(max)", FixedCeil(INT_MAX), 32768},
        {"FixedFloor(-1)", FixedFloor(-1), -1},
        {"FixedMul(3.0, 0.5)", FixedMul(3 * 65536, 32768), 3 * 32768},
        {"FixedMul(-1 unit, 0.5)", FixedMul(-1, 32768), -1},
        {"FixedDiv(1, 3)", FixedDiv(65536, 3 * 65536), 21845},
        {"FixedDiv(-1, 3)", FixedDiv(-65536, 3 * 65536), -21845},
        {"FixedSqr(1.5)", FixedSqr(3 * 32768), 9 * 16384},
        {"FixedSqrtLP(2)", FixedSqrtLP(2 * 65536), 362 << 8},
        {"FixedSqrtLP(-4)", FixedSqrtLP(-4 * 65536), 0},
        {"FixedSqrtHP(4)", FixedSqrtHP(4 * 65536), 2 * 65536},
        {"MulDiv(7, 3, 2)", MulDiv(7, 3, 2), 11},
        {"MulDiv(-7, 3, 2)", MulDiv(-7, 3, 2), -11},
        {"MulDiv(7, 3, -2)", MulDiv(7, 3, -2), -11},
        {"MulDiv(5, 1, 3)", MulDiv(5, 1, 3), 2},
        {"MulDiv C = 0", MulDiv(1, 1, 0), -1},
        {"MulDiv (2^31 - 1) * 3 / 3", MulDiv(INT_MAX, 3, 3), INT_MAX},
        {"MulDiv (2^31 - 1) * 4 / 3 overflows", MulDiv(INT_MAX, 4, 3), -1},
        {"MulDiv exact 2^31 - 1", MulDiv(INT_MAX, 2, 2), INT_MAX},
        {"MulDiv 2^31 - 0.5 rounds to 2^31: overflow", MulDiv(65535, 65537, 2), -1},
        {"MulDiv -(2^31 - 0.5) rounds to -2^31", MulDiv(-65535, 65537, 2), INT_MIN},
        {"MulDiv negative -2^31 fits", MulDiv(INT_MIN, 1, 1), INT_MIN},
        {"MulDiv positive 2^31 does not", MulDiv(INT_MIN, -1, 1), -1},
        {"MulDiv(65536, 65536, 1)", MulDiv(65536, 65536, 1), -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
    EXPECT_THROW(FixedDiv(1, 0), EDivByZero);
    EXPECT_THROW(FixedDiv(0x40000000, 1), EIntOverflow);
}

TEST(Math, MulDivMatchesExactRoundingAwayFromZero) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    for (int i = 0; i < 200000; ++i) {
        const int a = any(rng) >> (rng() % 31), b = any(rng) >> (rng() % 31), c = any(rng) >> (rng() % 31);
        if (c == 0) continue;
        const __int128 p = static_cast<__int128>(a) * b;
        __int128 q = p / c, r = p % c;
        __int128 ar = r < 0 ? -r : r, ac = c < 0 ? -static_cast<__int128>(c) : c;
        if (2 * ar >= ac) q += (p < 0) != (c < 0) ? -1 : 1;
        const long long want = q > INT_MAX || q < INT_MIN ? -1 : static_cast<long long>(q);
        ASSERT_EQ(MulDiv(a, b, c), want) << a << " " << b << " " << c;
    }
}

TEST(Math, SquareRootsAgainstTheRealRoot) {
    std::mt19937 rng(3);
    for (int i = 0; i < 100000; ++i) {
        const TFixed a = static_cast<TFixed>(rng() & 0x7FFFFFFF) >> (rng() % 31);
        const double exact = std::sqrt(static_cast<double>(a) * 65536.0);
        ASSERT_EQ(FixedSqrtHP(a), static_cast<TFixed>(std::floor(exact))) << a;
        ASSERT_EQ(FixedSqrtLP(a), static_cast<TFixed>(std::floor(std::sqrt(static_cast<double>(a)))) << 8)
            << a;
    }
}

TEST(LowLevel, WrapMirrorClampTable) {
    struct {
        const char* what;
        int got, want;
    } const cases[] = {
        {"Wrap(-1, 9)", Wrap(-1, 9), 9},
        {"Wrap(-10, 9)", Wrap(-10, 9), 0},
        {"Wrap(-11, 9)", Wrap(-11, 9), 9},
        {"Wrap(25, 9)", Wrap(25, 9), 5},
        {"Wrap(12, 2, 5)", Wrap(12, 2, 5), 4},
        {"Wrap(1, 2, 5)", Wrap(1, 2, 5), 5},
        {"Wrap(-3, 2, 5)", Wrap(-3, 2, 5), 5},
        {"Wrap(INT_MIN, 0, 9)", Wrap(INT_MIN, 0, 9), 2},
        {"Mirror(12, 10)", Mirror(12, 10), 8},
        {"Mirror(-12, 10)", Mirror(-12, 10), 8},
        {"Mirror(10, 10)", Mirror(10, 10), 10},
        {"Mirror(20, 10)", Mirror(20, 10), 0},
        {"Mirror(-1, 0, 9) repeats the edge", Mirror(-1, 0, 9), 0},
        {"Mirror(10, 0, 9) repeats the edge", Mirror(10, 0, 9), 9},
        {"Mirror(11, 0, 9)", Mirror(11, 0, 9), 8},
        {"Mirror(-12, 0, 9)", Mirror(-12, 0, 9), 8},
        {"Mirror(25, 5, 9)", Mirror(25, 5, 9), 5},
        {"Clamp(300)", Clamp(300), 255},
        {"Clamp(-4)", Clamp(-4), 0},
        {"Clamp(7, 5)", Clamp(7, 5), 5},
        {"Clamp(-7, 5)", Clamp(-7, 5), 0},
        {"Clamp(3, 4, 9)", Clamp(3, 4, 9), 4},
        {"Clamp above with Min > Max", Clamp(3, 9, 4), 4},
        {"SwapConstrain(12, 10, 0)", SwapConstrain(12, 10, 0), 10},
        {"SAR_4(-17)", SAR_4(-17), -2},
        {"WRAP_PROCS[wmClamp](12, 9)", WRAP_PROCS[wmClamp](12, 9), 9},
        {"WRAP_PROCS[wmRepeat](12, 9)", WRAP_PROCS[wmRepeat](12, 9), 2},
        {"WRAP_PROCS[wmMirror](12, 9)", WRAP_PROCS[wmMirror](12, 9), 6},
        {"WRAP_PROCS_EX[wmClamp](-2, 1, 4)", WRAP_PROCS_EX[wmClamp](-2, 1, 4), 1},
        {"WRAP_PROCS_EX[wmRepeat](-2, 1, 4)", WRAP_PROCS_EX[wmRepeat](-2, 1, 4), 2},
        {"WRAP_PROCS_EX[wmMirror](-2, 1, 4)", WRAP_PROCS_EX[wmMirror](-2, 1, 4), 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
    EXPECT_THROW(Wrap(3, -1), EDivByZero);
    EXPECT_THROW(Wrap(3, 5, 4), EDivByZero);
    EXPECT_THROW(Mirror(3, 0), EDivByZero);
    EXPECT_THROW(Mirror(3, 5, 4), EDivByZero);
    EXPECT_EQ(ColorSwap(0x00332211), 0xFF112233u);
}

TEST(LowLevel, TestClipOrdersAndCuts) {
    struct {
        int a, b, start, stop;
        bool result;
        int wantA, wantB;
    } const cases[] = {
        {20, 5, 0, 10, true, 5, 9},    {-5, 3, 0, 10, true, 0, 3}, {12, 15, 0, 10, false, 12, 9},
        {-3, -1, 0, 10, false, 0, -1}, {4, 4, 4, 5, true, 4, 4},
    };
    for (const auto& c : cases) {
        int a = c.a, b = c.b;
        EXPECT_EQ(TestClip(a, b, c.start, c.stop), c.result) << c.a << "," << c.b;
        EXPECT_EQ(a, c.wantA);
        EXPECT_EQ(b, c.wantB);
        if (c.start == 0) {
            int a2 = c.a, b2 = c.b;
            EXPECT_EQ(TestClip(a2, b2, c.stop), c.result);
        }
    }
}

TEST(LowLevel, FillsAndMovesRespectCountsAndOverlap) {
    for (auto fill : {FillLongword_Pas, FillLongword_Wide, FillLongword}) {
        for (int start = 0; start < 4; ++start)
            for (int count : {-5, -1, 0, 1, 3, 4, 7, 33}) {
                std::vector<std::uint32_t> v(48, 7);
                fill(v.data() + start, count, 0xABCDEF01u);
                for (int i = 0; i < 48; ++i) {
                    const bool inside = i >= start && i < start + count;
                    ASSERT_EQ(v[static_cast<std::size_t>(i)], inside ? 0xABCDEF01u : 7u)
                        << "start " << start << " count " << count << " at " << i;
                }
            }
    }
    std::vector<std::uint16_t> w(6, 1);
    FillWord(w.data() + 1, -3, 9);
    FillWord(w.data() + 1, 4, 0x12345);
    EXPECT_EQ(w, (std::vector<std::uint16_t>{1, 0x2345, 0x2345, 0x2345, 0x2345, 1}));

    std::vector<std::uint32_t> m{0, 1, 2, 3, 4, 5, 6, 7};
    MoveLongword(m.data(), m.data() + 2, 5); // destination above the source
    EXPECT_EQ(m, (std::vector<std::uint32_t>{0, 1, 0, 1, 2, 3, 4, 7}));
    MoveLongword(m.data() + 3, m.data(), -2);
    EXPECT_EQ(m[0], 0u);
    MoveLongword(m.data() + 2, m.data(), 6); // destination below
    EXPECT_EQ(m, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 7, 4, 7}));
    std::vector<std::uint16_t> h{1, 2, 3, 4};
    MoveWord(h.data(), h.data() + 1, 3);
    EXPECT_EQ(h, (std::vector<std::uint16_t>{1, 1, 2, 3}));
}

TEST(DrawingEx, ClipLineTable) {
    struct {
        const char* what;
        int x1, y1, x2, y2;
        bool result;
        int rx1, ry1, rx2, ry2;
    } const cases[] = {
        {"horizontal through", -10, 5, 20, 5, true, 0, 5, 10, 5},
        {"left of the box", -10, -10, -5, 20, false, -10, -10, -5, 20},
        {"inside untouched", 1, 2, 3, 4, true, 1, 2, 3, 4},
        {"vertical through", 4, -5, 4, 15, true, 4, 0, 4, 10},
        {"vertical upward", 4, 15, 4, -5, true, 4, 10, 4, 0},
        {"misses the top-left corner", -6, 4, 4, -6, false, 0, 0, 0, 0},
        {"misses the bottom-right corner", 8, 14, 14, 8, false, 0, 0, 0, 0},
        {"diagonal across", -5, -5, 15, 15, true, 0, 0, 10, 10},
        {"one end inside", 5, 5, 25, 15, true, 5, 5, 10, 7},
    };
    for (const auto& c : cases) {
        int x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        const bool r = ClipLine(x1, y1, x2, y2, 0, 0, 10, 10);
        EXPECT_EQ(r, c.result) << c.what;
        if (c.result) {
            EXPECT_EQ((std::vector<int>{x1, y1, x2, y2}), (std::vector<int>{c.rx1, c.ry1, c.rx2, c.ry2}))
                << c.what;
        }
    }
    int x1 = INT_MIN, y1 = 5, x2 = INT_MAX, y2 = 5; // extreme ends still clip without overflow traps
    EXPECT_TRUE(ClipLine(x1, y1, x2, y2, 0, 0, 10, 10));
}

TEST(Geometry, RectHelpersTable) {
    TRect r;
    EXPECT_TRUE(Bmp32::IntersectRect(r, TRect{0, 0, 5, 5}, TRect{5, 0, 9, 5}));
    EXPECT_EQ(r, (TRect{5, 0, 5, 5}));
    EXPECT_FALSE(Bmp32::IntersectRect(r, TRect{0, 0, 5, 5}, TRect{6, 0, 9, 5}));
    EXPECT_EQ(r, TRect{});
    EXPECT_EQ(Bmp32::MakeRect(TFloatRect{0.2f, 0.2f, 0.8f, 0.8f}, rrInside), (TRect{1, 1, 1, 1}));
    EXPECT_EQ(Bmp32::MakeRect(TFloatRect{0.2f, 0.2f, 0.8f, 0.8f}, rrOutside), (TRect{0, 0, 1, 1}));
    EXPECT_EQ(Bmp32::MakeRect(TFloatRect{0.5f, 1.5f, 2.5f, -0.5f}, rrClosest), (TRect{0, 2, 2, 0}));
    EXPECT_EQ(Bmp32::MakeRect(TFixedRect{32768, 98304, 163840, -32768}, rrClosest), (TRect{0, 1, 2, -1}));
    EXPECT_EQ(Bmp32::MakeRect(TFixedRect{1, 1, 65535, 65535}, rrInside), (TRect{1, 1, 1, 1}));
    EXPECT_EQ(Bmp32::MakeRect(TFixedRect{1, 1, 65535, 65535}, rrOutside), (TRect{0, 0, 1, 1}));
    EXPECT_TRUE(Bmp32::UnionRect(r, TRect{0, 0, 2, 2}, TRect{5, 5, 5, 9}));
    EXPECT_EQ(r, (TRect{0, 0, 2, 2}));
    EXPECT_FALSE(Bmp32::UnionRect(r, TRect{3, 3, 3, 3}, TRect{}));
    EXPECT_EQ(r, TRect{});
    EXPECT_TRUE(Bmp32::EqualRectSize(TFloatRect{0, 0, 1.5f, 2}, TFloatRect{3, 4, 4.5f, 6}));
    EXPECT_EQ(Bmp32::Point(TFloatPoint{2.5f, 3.5f}), (TPoint{2, 4}));
    EXPECT_EQ(Bmp32::Point(TFixedPoint{32768, -32768}), (TPoint{0, -1}));
    EXPECT_TRUE(Bmp32::PtInRect(TRect{0, 0, 2, 2}, TPoint{1, 1}));
    EXPECT_FALSE(Bmp32::PtInRect(TRect{0, 0, 2, 2}, TPoint{2, 1}));
}

} // namespace
