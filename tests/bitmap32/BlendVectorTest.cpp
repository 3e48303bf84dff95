#include "bitmap32/Bmp32_Blend.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using namespace Bmp32_Blend::PackedVector;

struct VectorForms {
    const char* name;
    bool available;
    TBlendLine blendLine;
    TBlendLineEx blendLineEx;
    TCombineLine combineLine;
};

std::vector<VectorForms> Forms() {
    return {{"SSE2", HasSSE2(), BlendLine_SSE2, BlendLineEx_SSE2, CombineLine_SSE2},
            {"AVX2", HasAVX2(), BlendLine_AVX2, BlendLineEx_AVX2, CombineLine_AVX2}};
}

// Every (x, y, w) channel triple, with the weight in every lane position and the rows misaligned.
TEST(BlendVector, EqualsTheScalarFormulaForEveryChannelTriple) {
    const TBlendSet& scalar = PackedScalarBlendSet;
    for (const VectorForms& form : Forms()) {
        if (!form.available) continue;
        std::vector<TColor32> src(257), dst(257), want(257), got(257);
        for (unsigned y = 0; y < 256; ++y)
            for (unsigned w = 0; w < 256; ++w) {
                for (unsigned x = 0; x < 256; ++x) {
                    src[x + 1] = (w << 24) | (x * 0x010101u);
                    dst[x + 1] = y * 0x01010101u;
                }
                want = dst;
                got = dst;
                scalar.BlendLine(src.data() + 1, want.data() + 1, 256);
                form.blendLine(src.data() + 1, got.data() + 1, 256);
                ASSERT_EQ(got, want) << form.name << " BlendLine y " << y << " w " << w;
                want = dst;
                got = dst;
                scalar.BlendLineEx(src.data() + 1, want.data() + 1, 256, y);
                form.blendLineEx(src.data() + 1, got.data() + 1, 256, y);
                ASSERT_EQ(got, want) << form.name << " BlendLineEx m " << y << " fa " << w;
                want = dst;
                got = dst;
                scalar.CombineLine(src.data() + 1, want.data() + 1, 256, w);
                form.combineLine(src.data() + 1, got.data() + 1, 256, w);
                ASSERT_EQ(got, want) << form.name << " CombineLine y " << y << " w " << w;
            }
    }
}

// Random pixels, every count from 0 to 40 (all tails) and runs of opaque and clear pixels that take the
// shortcuts.
TEST(BlendVector, EqualsTheScalarFormulaOnRandomRows) {
    std::mt19937 rng(1);
    const TBlendSet& scalar = PackedScalarBlendSet;
    for (const VectorForms& form : Forms()) {
        if (!form.available) continue;
        for (int round = 0; round < 4000; ++round) {
            const int count = round % 41;
            std::vector<TColor32> src(static_cast<std::size_t>(count) + 3), dst(src.size());
            const int mode = round % 4;
            for (auto& c : src) {
                c = rng();
                if (mode == 1)
                    c |= 0xFF000000u;
                else if (mode == 2)
                    c &= 0x00FFFFFFu;
            }
            for (auto& c : dst)
                c = rng();
            const TColor32 m = round % 7 == 0 ? 300 : rng() & 0xFF;
            for (int op = 0; op < 3; ++op) {
                std::vector<TColor32> want = dst, got = dst;
                if (op == 0) {
                    scalar.BlendLine(src.data() + 1, want.data() + 1, count);
                    form.blendLine(src.data() + 1, got.data() + 1, count);
                } else if (op == 1) {
                    scalar.BlendLineEx(src.data() + 1, want.data() + 1, count, m);
                    form.blendLineEx(src.data() + 1, got.data() + 1, count, m);
                } else {
                    scalar.CombineLine(src.data() + 1, want.data() + 1, count, m);
                    form.combineLine(src.data() + 1, got.data() + 1, count, m);
                }
                ASSERT_EQ(got, want) << form.name << " op " << op << " count " << count << " round " << round;
            }
        }
        // Negative counts touch nothing.
        TColor32 s[8] = {0x80FFFFFF}, d[8] = {5};
        form.blendLine(s, d, -3);
        form.blendLineEx(s, d, -3, 200);
        form.combineLine(s, d, -3, 200);
        EXPECT_EQ(d[0], 5u);
    }
}

// The vector merge against the table routine: every (Fa, Ba) pair with every foreground channel value,
// over both blend sets (an opaque background takes the set's blend).
TEST(BlendVector, MergeEqualsTheTableRoutineForEveryAlphaPair) {
    if (!HasSSE2()) GTEST_SKIP() << "no SSE2";
    struct Form {
        const char* name;
        TBlendLine line;
        TBlendLineEx lineEx;
    };
    std::vector<Form> forms{{"SSE2", MergeLine_SSE2, MergeLineEx_SSE2}};
    if (HasAVX2()) forms.push_back({"AVX2", MergeLine_AVX2, MergeLineEx_AVX2});
    std::vector<TColor32> src(256), dst(256), want(256), got(256);
    for (int run = 0; run < 2 * static_cast<int>(forms.size()); ++run) {
        const Form& form = forms[static_cast<std::size_t>(run / 2)];
        const bool packed = run % 2;
        SelectBlendSet(packed);
        for (unsigned fa = 0; fa < 256; ++fa)
            for (unsigned ba = 0; ba < 256; ++ba) {
                for (unsigned c = 0; c < 256; ++c) {
                    src[c] = (fa << 24) | (c << 16) | (((c * 7) & 0xFF) << 8) | ((c * 13 + ba) & 0xFF);
                    dst[c] =
                        (ba << 24) | (((c * 3 + fa) & 0xFF) << 16) | ((255 - c) << 8) | ((c * 29) & 0xFF);
                }
                want = dst;
                got = dst;
                for (unsigned c = 0; c < 256; ++c)
                    want[c] = MergeReg(src[c], dst[c]);
                form.line(src.data(), got.data(), 256);
                ASSERT_EQ(got, want) << form.name << " packed " << packed << " fa " << fa << " ba " << ba;
                for (unsigned c = 0; c < 256; ++c)
                    want[c] = MergeRegEx(src[c], dst[c], ba ^ 0x5A);
                got = dst;
                form.lineEx(src.data(), got.data(), 256, ba ^ 0x5A);
                ASSERT_EQ(got, want) << form.name << " Ex packed " << packed << " fa " << fa << " ba " << ba;
            }
    }
    SetupBlendFunctions();
    // Tails and a master alpha beyond the table.
    std::mt19937 rng(2);
    for (int count = 0; count < 12; ++count) {
        std::vector<TColor32> s(static_cast<std::size_t>(count)), d(s.size());
        for (auto& c : s)
            c = rng();
        for (auto& c : d)
            c = rng();
        std::vector<TColor32> w = d;
        for (int k = 0; k < count; ++k)
            w[static_cast<std::size_t>(k)] =
                MergeRegEx(s[static_cast<std::size_t>(k)], d[static_cast<std::size_t>(k)], 999);
        for (const Form& form : forms) {
            std::vector<TColor32> g2 = d;
            form.lineEx(s.data(), g2.data(), count, 999);
            ASSERT_EQ(g2, w) << form.name << " " << count;
        }
    }
}

} // namespace
