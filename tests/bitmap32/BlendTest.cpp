#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_System.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

// The formulas, one channel at a time.
unsigned S(unsigned x, unsigned w) {
    return (x * w + 128) >> 8;
}
unsigned P(unsigned x, unsigned y, unsigned w) {
    return (x * w + y * (256 - w) + 128) >> 8;
}
TColor32 Rep(unsigned v) {
    return v * 0x01010101u;
}
TColor32 Channels(unsigned a, unsigned rgb) {
    return (a << 24) | (rgb * 0x010101u);
}

// Selects one routine set for a test and restores the start-up choice afterwards.
class BlendSetScope {
public:
    explicit BlendSetScope(bool packed) { SelectBlendSet(packed); }
    ~BlendSetScope() { SetupBlendFunctions(); }
};

#define EXPECT_PIXEL(got, want, what)                                                                        \
    if ((got) != (want)) {                                                                                   \
        ADD_FAILURE() << what << " got " << std::hex << (got) << " want " << (want) << std::dec << " x "     \
                      << x << " y " << y << " w " << w;                                                      \
        return;                                                                                              \
    }

// Every (x, y, w) of one channel, through the register, memory and line forms.
void CheckCombineAndBlendExhaustively(bool packed) {
    BlendSetScope scope(packed);
    std::vector<TColor32> src(256), dst(256);
    for (unsigned y = 0; y < 256; ++y)
        for (unsigned w = 0; w < 256; ++w) {
            for (unsigned x = 0; x < 256; ++x) {
                unsigned c;
                if (packed)
                    c = P(x, y, w);
                else
                    c = w == 0 ? y : (w == 255 ? x : S(x, w) + S(y, 255 - w));
                EXPECT_PIXEL(CombineReg(Rep(x), Rep(y), w), Rep(c), "CombineReg");
                const unsigned m = w == 0 ? y : (w == 255 ? x : c);
                TColor32 mem = Rep(y);
                CombineMem(Rep(x), mem, w);
                EXPECT_PIXEL(mem, Rep(m), "CombineMem");

                // Blend: weight Fa = w on the colour channels; the alpha channel blends (w, y) with w.
                unsigned rgb, alpha;
                if (packed) {
                    rgb = P(x, y, w);
                    alpha = P(w, y, w);
                } else if (w == 255 || w == 0) {
                    rgb = w == 255 ? x : y;
                    alpha = w == 255 ? w : y;
                } else {
                    rgb = S(x, w) + S(y, 255 - w);
                    alpha = S(w, w) + S(y, 255 - w);
                }
                const TColor32 f = Channels(w, x), b = Rep(y);
                EXPECT_PIXEL(BlendReg(f, b), Channels(alpha, rgb), "BlendReg");
                const TColor32 memWant = w == 0 ? b : (w == 255 ? f : Channels(alpha, rgb));
                TColor32 bm = b;
                BlendMem(f, bm);
                EXPECT_PIXEL(bm, memWant, "BlendMem");
                src[x] = f;
                dst[x] = b;
            }
            std::vector<TColor32> line = dst;
            BlendLine(src.data(), line.data(), 256);
            for (unsigned x = 0; x < 256; ++x) {
                TColor32 want = dst[x];
                BlendMem(src[x], want);
                EXPECT_PIXEL(line[x], want, "BlendLine");
            }
            for (unsigned x = 0; x < 256; ++x)
                src[x] = Rep(x);
            line.assign(256, Rep(y));
            CombineLine(src.data(), line.data(), 256, w);
            for (unsigned x = 0; x < 256; ++x) {
                TColor32 want = Rep(y);
                CombineMem(Rep(x), want, w);
                EXPECT_PIXEL(line[x], want, "CombineLine");
            }
        }
}

TEST(Blend, PlainSetMatchesItsFormulaForEveryChannelTriple) {
    CheckCombineAndBlendExhaustively(false);
}

TEST(Blend, PackedSetMatchesItsFormulaForEveryChannelTriple) {
    CheckCombineAndBlendExhaustively(true);
}

// Master alpha: every (Fa, M) pair with several colour pairs.
TEST(Blend, MasterAlphaBlendsForEveryAlphaPair) {
    const std::pair<unsigned, unsigned> colours[] = {{0, 255}, {255, 0}, {77, 200}, {128, 128}};
    for (bool packed : {false, true}) {
        BlendSetScope scope(packed);
        for (unsigned fa = 0; fa < 256; ++fa)
            for (unsigned m = 0; m < 256; ++m)
                for (auto [x, y] : colours) {
                    const TColor32 f = Channels(fa, x), b = Rep(y);
                    const unsigned we = ((m + 1) * fa) >> 8;
                    TColor32 want;
                    if (packed)
                        want = we == 0 ? b : Channels(P(fa, y, we), P(x, y, we));
                    else
                        want = fa == 0 || we == 0 ? b : Channels(0, S(x, we) + S(y, 255 - we));
                    ASSERT_EQ(BlendRegEx(f, b, m), want)
                        << packed << " fa " << fa << " m " << m << " x " << x;
                    TColor32 mem = b;
                    BlendMemEx(f, mem, m);
                    ASSERT_EQ(mem, want);
                    // The packed line form weighs (Fa + 1) * M instead.
                    TColor32 lineWant = want;
                    if (packed) {
                        const unsigned wl = ((fa + 1) * m) >> 8;
                        lineWant = fa == 0 || wl == 0 ? b : Channels(P(fa, y, wl), P(x, y, wl));
                    }
                    TColor32 line = b;
                    BlendLineEx(&f, &line, 1, m);
                    ASSERT_EQ(line, lineWant) << packed << " fa " << fa << " m " << m;
                }
    }
}

TEST(Blend, DocumentedExamples) {
    {
        BlendSetScope plain(false);
        EXPECT_EQ(CombineReg(0x12345678, 0x9ABCDEF0, 0), 0x9ABCDEF0u);
        EXPECT_EQ(CombineReg(0x12345678, 0x9ABCDEF0, 0x10000), 0x9ABCDEF0u); // the low 16 bits decide
        EXPECT_EQ(CombineReg(0x12345678, 0x9ABCDEF0, 255), 0x12345678u);
        EXPECT_EQ(BlendReg(0x80FF0000, 0xFF0000FF), 0xBF80007Fu);
        EXPECT_EQ(BlendRegEx(0x80FF0000, 0xFF0000FF, 0), 0xFF0000FFu);
        EXPECT_EQ(BlendRegEx(0xFFFF0000, 0xFF0000FF, 255) >> 24, 0u); // plain writes alpha 0
        EXPECT_EQ(ColorAverage(0x01000000, 0), 0u);
    }
    {
        BlendSetScope packed(true);
        EXPECT_EQ(CombineReg(0x00000000, 0xFFFFFFFF, 255), 0x01010101u);
        EXPECT_EQ(BlendRegEx(0x80FF0000, 0xFF0000FF, 0), 0xFF0000FFu);
        EXPECT_EQ(ColorAverage(0x01000000, 0), 0x01000000u);
        // Fa = 1, M = 128: the per-pixel weight is 0, the line weight 1.
        TColor32 mem = 0, line = 0;
        const TColor32 f = 0x01FFFFFF;
        BlendMemEx(f, mem, 128);
        BlendLineEx(&f, &line, 1, 128);
        EXPECT_EQ(mem, 0u);
        EXPECT_EQ(line, 0x00010101u);
    }
    for (bool packed : {false, true}) {
        BlendSetScope scope(packed);
        EXPECT_EQ(MergeReg(0x80FF0000, 0x80000000), 0xC0AA0000u);
        EXPECT_EQ(MergeReg(0x00FF0000, 0xFF123456), 0xFF123456u); // Fa = 0 wins over Ba = 255
        EXPECT_EQ(MergeReg(0x80FF0000, 0xFF0000FF) >> 24, 0xFFu);
        EXPECT_EQ(MergeReg(0x80FF0000, 0xFF0000FF), BlendReg(0x80FF0000, 0xFF0000FF) | 0xFF000000u);
        EXPECT_EQ(MergeReg(0xFF123456, 0x80654321), 0xFF123456u);
        EXPECT_EQ(MergeReg(0x40123456, 0x00654321), 0x40123456u);
        EXPECT_EQ(ColorDiv(0x00FF0080, 0x10101010), 0xFF10FF20u);
        EXPECT_EQ(QuotientTable[2][1], 128);
        EXPECT_EQ(ProductTable[128][255], 128);
        EXPECT_EQ(ProductTable[255][1], 1);
    }
}

// The tables as their definition states them, in floating point with the default (ties-to-even)
// rounding.
TEST(Blend, TablesRoundHalfToEven) {
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            ASSERT_EQ(ProductTable[a][b], static_cast<int>(std::nearbyint(a * b / 255.0))) << a << " " << b;
            const int q = a == 0 ? 0 : static_cast<int>(std::nearbyint(b * 255.0 / a)) & 0xFF;
            ASSERT_EQ(QuotientTable[a][b], q) << a << " " << b;
        }
}

TEST(Blend, MergeIsTheOverOperatorWithinTableRounding) {
    std::mt19937 rng(11);
    int worst = 0;
    for (int i = 0; i < 300000; ++i) {
        const TColor32 f = rng(), b = rng();
        const double fa = (f >> 24) / 255.0, ba = (b >> 24) / 255.0;
        // Small alphas divide by a small result alpha and magnify the table rounding.
        if ((f >> 24) < 64 || (b >> 24) < 64 || fa == 1 || ba == 1) continue;
        const TColor32 m = MergeReg(f, b);
        const double ra = fa + ba * (1 - fa);
        ASSERT_LE(std::abs(static_cast<int>(m >> 24) - ra * 255), 1.0);
        for (int shift = 0; shift < 24; shift += 8) {
            const double fc = (f >> shift) & 0xFF, bc = (b >> shift) & 0xFF;
            const double want = (fc * fa + bc * ba * (1 - fa)) / ra;
            worst = std::max(worst, static_cast<int>(std::abs(((m >> shift) & 0xFF) - want) + 0.5));
        }
    }
    EXPECT_LE(worst, 3);
}

TEST(Blend, LineRoutinesIgnoreEmptyAndNegativeCounts) {
    for (bool packed : {false, true}) {
        BlendSetScope scope(packed);
        const TColor32 src[4] = {0x80FF0000, 0xFF00FF00, 0x400000FF, 0xFFFFFFFF};
        for (int count : {0, -1, -1000}) {
            TColor32 dst[4] = {1, 2, 3, 4};
            BlendLine(src, dst, count);
            BlendLineEx(src, dst, count, 100);
            CombineLine(src, dst, count, 100);
            CombineLine(src, dst, count, 255);
            MergeLine(src, dst, count);
            MergeLineEx(src, dst, count, 100);
            for (int i = 0; i < 4; ++i)
                EXPECT_EQ(dst[i], static_cast<TColor32>(i + 1)) << packed << " count " << count;
        }
    }
}

TEST(Blend, MergeLineAndMasterAlphaForms) {
    std::mt19937 rng(5);
    std::vector<TColor32> src(64), dst(64);
    for (auto& c : src)
        c = rng();
    for (auto& c : dst)
        c = rng();
    std::vector<TColor32> line = dst, lineEx = dst;
    MergeLine(src.data(), line.data(), 64);
    MergeLineEx(src.data(), lineEx.data(), 64, 100);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(line[static_cast<std::size_t>(i)],
                  MergeReg(src[static_cast<std::size_t>(i)], dst[static_cast<std::size_t>(i)]));
        const TColor32 f = src[static_cast<std::size_t>(i)];
        const TColor32 scaled = (f & 0xFFFFFF) | (TColor32{ProductTable[100][f >> 24]} << 24);
        EXPECT_EQ(lineEx[static_cast<std::size_t>(i)], MergeReg(scaled, dst[static_cast<std::size_t>(i)]));
        EXPECT_EQ(MergeRegEx(f, dst[static_cast<std::size_t>(i)], 100), lineEx[static_cast<std::size_t>(i)]);
        // A master alpha above 255 counts as 255 rather than reading past the table.
        EXPECT_EQ(MergeRegEx(f, dst[static_cast<std::size_t>(i)], 100000),
                  MergeRegEx(f, dst[static_cast<std::size_t>(i)], 255));
    }
}

TEST(Blend, ColourAlgebraForEveryChannelPair) {
    for (bool packed : {false, true}) {
        BlendSetScope scope(packed);
        for (unsigned a = 0; a < 256; ++a)
            for (unsigned b = 0; b < 256; ++b) {
                const TColor32 ca = Rep(a), cb = Rep(b);
                const int excl = std::clamp(static_cast<int>(a + b) - static_cast<int>((a * b) >> 7), 0, 255);
                const unsigned want[] = {
                    std::min(a + b, 255u),
                    a > b ? a - b : 0,
                    a == 0 ? 255 : std::min(b * 256 / a, 255u),
                    (a * b) >> 8,
                    std::max(a, b),
                    std::min(a, b),
                    a > b ? a - b : b - a,
                    static_cast<unsigned>(excl),
                    packed ? (a + b + 1) >> 1 : (a + b) >> 1,
                    std::min((a * b) >> 8, 255u),
                };
                const TColor32 got[] = {ColorAdd(ca, cb),        ColorSub(ca, cb),       ColorDiv(ca, cb),
                                        ColorModulate(ca, cb),   ColorMax(ca, cb),       ColorMin(ca, cb),
                                        ColorDifference(ca, cb), ColorExclusion(ca, cb), ColorAverage(ca, cb),
                                        ColorScale(ca, b)};
                for (int k = 0; k < 10; ++k)
                    ASSERT_EQ(got[k], Rep(want[k]))
                        << "routine " << k << " a " << a << " b " << b << " packed " << packed;
            }
        EXPECT_EQ(ColorScale(0xFF808080, 512), packed ? 0xFE7F7F7Fu : 0xFFFFFFFFu);
    }
}

// A processor without MMX gets the plain set, any x86-64 one the packed set; the arrays follow.
bool NoMmxHasCpuId() {
    return true;
}
void NoMmxCpuId(DWORD leaf, DWORD regs[4]) {
    regs[0] = leaf == 1 ? 0x600 : 0;
    regs[1] = regs[2] = regs[3] = 0;
}

TEST(Blend, DispatcherFollowsTheProcessorTest) {
    const Bmp32_System::TCpuIdProbe noMmx{NoMmxHasCpuId, NoMmxCpuId};
    const Bmp32_System::TCpuIdProbe* previous = Bmp32_System::SetCpuIdProbe(&noMmx);
    SetupBlendFunctions();
    EXPECT_FALSE(MMX_ACTIVE);
    EXPECT_EQ(BlendReg, PlainBlendSet.BlendReg);
    EXPECT_EQ(CombineLine, PlainBlendSet.CombineLine);
    EXPECT_EQ(ColorAverage, PlainBlendSet.ColorAverage);
    Bmp32_System::SetCpuIdProbe(previous);
    SetupBlendFunctions();
#if defined(__x86_64__)
    EXPECT_TRUE(MMX_ACTIVE);
    const TBlendSet packed = PackedBlendSet();
    EXPECT_EQ(BlendReg, packed.BlendReg);
    EXPECT_EQ(BlendLine, packed.BlendLine);
    EXPECT_EQ(BlendLineEx, packed.BlendLineEx);
    EXPECT_EQ(ColorAverage, packed.ColorAverage);
#endif
    EXPECT_EQ(BLEND_REG[cmBlend], BlendReg);
    EXPECT_EQ(BLEND_MEM[cmBlend], BlendMem);
    EXPECT_EQ(BLEND_REG_EX[cmBlend], BlendRegEx);
    EXPECT_EQ(BLEND_MEM_EX[cmBlend], BlendMemEx);
    EXPECT_EQ(BLEND_LINE[cmBlend], BlendLine);
    EXPECT_EQ(BLEND_LINE_EX[cmBlend], BlendLineEx);
    EXPECT_EQ(BLEND_REG[cmMerge], MergeReg);
    EXPECT_EQ(BLEND_MEM[cmMerge], MergeMem);
    EXPECT_EQ(BLEND_REG_EX[cmMerge], MergeRegEx);
    EXPECT_EQ(BLEND_MEM_EX[cmMerge], MergeMemEx);
    EXPECT_EQ(BLEND_LINE[cmMerge], MergeLine);
    EXPECT_EQ(BLEND_LINE_EX[cmMerge], MergeLineEx);
    EXPECT_EQ(alpha_ptr[4 * 200 + 3], 200);
    EXPECT_EQ(bias_ptr[0], 128);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(alpha_ptr) % 8, 0u);
}

} // namespace
