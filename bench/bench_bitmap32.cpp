// Blends, fills, moves and transfers of the bitmap library against pixman and the C library, measured in
// one run. Each of our cases names its reference; the table at the end gives reference time / our time
// (above 1.0: we are faster), for both blend sets where blending is involved.
#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Resamplers.h"

#include "bench/BenchBitmap32Support.h"
#include "bench/BenchPixmanImage.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

enum class Alpha { Clear, Opaque, Random };

const char* AlphaName(Alpha a) {
    return a == Alpha::Clear ? "alpha0" : a == Alpha::Opaque ? "alpha255" : "random";
}

void FillPixels(TColor32* p, std::size_t n, Alpha a, unsigned seed) {
    std::mt19937 rng(seed);
    for (std::size_t i = 0; i < n; ++i) {
        TColor32 c = rng();
        if (a == Alpha::Clear)
            c &= 0x00FFFFFFu;
        else if (a == Alpha::Opaque)
            c |= 0xFF000000u;
        p[i] = c;
    }
}

using bench32::PixmanImage;

pixman_image_t* SolidMask(int alpha) {
    pixman_color_t c{0, 0, 0, static_cast<uint16_t>(alpha * 257)};
    return pixman_image_create_solid_fill(&c);
}

// -- blend of a line and of a bitmap

void BM_BlendLine(benchmark::State& state, bool packed, Alpha a, int w, int h) {
    SelectBlendSet(packed);
    std::vector<TColor32> src(static_cast<std::size_t>(w) * h), dst(src.size());
    FillPixels(src.data(), src.size(), a, 1);
    FillPixels(dst.data(), dst.size(), Alpha::Opaque, 2);
    for (auto _ : state) {
        BlendLine(src.data(), dst.data(), w * h);
        benchmark::DoNotOptimize(dst.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(src.size()) * 4);
}

void BM_PixmanOver(benchmark::State& state, Alpha a, int w, int h) {
    PixmanImage src(w, h), dst(w, h);
    FillPixels(src.pixels.data(), src.pixels.size(), a, 1);
    FillPixels(dst.pixels.data(), dst.pixels.size(), Alpha::Opaque, 2);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src.image, nullptr, dst.image, 0, 0, 0, 0, 0, 0, w, h);
        benchmark::DoNotOptimize(dst.pixels.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(src.pixels.size()) * 4);
}

void BM_MergeLine(benchmark::State& state, bool packed, Alpha a, int w) {
    SelectBlendSet(packed);
    // Merging changes the background's alpha: every iteration gets a fresh row, refreshed in batches.
    constexpr int rows = 64;
    std::vector<TColor32> src(static_cast<std::size_t>(w)), fresh(static_cast<std::size_t>(w) * rows);
    FillPixels(src.data(), src.size(), a, 3);
    FillPixels(fresh.data(), fresh.size(), Alpha::Random, 4);
    std::vector<TColor32> dst = fresh;
    int row = 0;
    for (auto _ : state) {
        MergeLine(src.data(), dst.data() + static_cast<std::size_t>(row) * w, w);
        benchmark::DoNotOptimize(dst.data());
        if (++row == rows) {
            state.PauseTiming();
            dst = fresh;
            row = 0;
            state.ResumeTiming();
        }
    }
}

void BM_CombineLine(benchmark::State& state, bool packed, int w) {
    SelectBlendSet(packed);
    std::vector<TColor32> src(static_cast<std::size_t>(w)), dst(src.size());
    FillPixels(src.data(), src.size(), Alpha::Opaque, 5);
    FillPixels(dst.data(), dst.size(), Alpha::Opaque, 6);
    for (auto _ : state) {
        CombineLine(src.data(), dst.data(), w, 100);
        benchmark::DoNotOptimize(dst.data());
    }
}

// The reference of a weighted combine: an opaque source over the background through a solid mask.
void BM_PixmanOverMask(benchmark::State& state, int w, int h, int alpha, Alpha a) {
    PixmanImage src(w, h), dst(w, h);
    FillPixels(src.pixels.data(), src.pixels.size(), a, 5);
    FillPixels(dst.pixels.data(), dst.pixels.size(), Alpha::Opaque, 6);
    pixman_image_t* mask = SolidMask(alpha);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src.image, mask, dst.image, 0, 0, 0, 0, 0, 0, w, h);
        benchmark::DoNotOptimize(dst.pixels.data());
    }
    pixman_image_unref(mask);
}

// -- fills and moves of 4 MiB

constexpr int kWords = 1 << 20;

void BM_FillLongword(benchmark::State& state) {
    std::vector<TColor32> buf(kWords);
    for (auto _ : state) {
        FillLongword(buf.data(), kWords, 0x12345678);
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(state.iterations() * kWords * 4);
}

void BM_Clear(benchmark::State& state) {
    TBitmap32 b;
    b.SetSize(1024, 1024);
    for (auto _ : state) {
        b.Clear(0xFF123456);
        benchmark::DoNotOptimize(b.Bits());
    }
    state.SetBytesProcessed(state.iterations() * kWords * 4);
}

void BM_Memset(benchmark::State& state) {
    std::vector<TColor32> buf(kWords);
    for (auto _ : state) {
        std::memset(buf.data(), 0x5A, kWords * 4);
        benchmark::DoNotOptimize(buf.data());
    }
    state.SetBytesProcessed(state.iterations() * kWords * 4);
}

void BM_MoveLongword(benchmark::State& state) {
    std::vector<TColor32> a(kWords, 1), b(kWords);
    for (auto _ : state) {
        MoveLongword(a.data(), b.data(), kWords);
        benchmark::DoNotOptimize(b.data());
    }
    state.SetBytesProcessed(state.iterations() * kWords * 4);
}

void BM_Memcpy(benchmark::State& state) {
    std::vector<TColor32> a(kWords, 1), b(kWords);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), kWords * 4);
        benchmark::DoNotOptimize(b.data());
    }
    state.SetBytesProcessed(state.iterations() * kWords * 4);
}

// -- transfers

void BM_BlockTransfer(benchmark::State& state, bool packed, TDrawMode mode, std::uint32_t master) {
    SelectBlendSet(packed);
    TBitmap32 src, dst;
    src.SetSize(1024, 1024);
    dst.SetSize(1024, 1024);
    FillPixels(src.Bits(), kWords, Alpha::Random, 7);
    FillPixels(dst.Bits(), kWords, Alpha::Opaque, 8);
    src.SetMasterAlpha(master);
    for (auto _ : state) {
        BlockTransfer(&dst, 0, 0, dst.ClipRect(), &src, src.BoundsRect(), mode);
        benchmark::DoNotOptimize(dst.Bits());
    }
}

void BM_PixmanBlock(benchmark::State& state, pixman_op_t op, int master) {
    PixmanImage src(1024, 1024), dst(1024, 1024);
    FillPixels(src.pixels.data(), src.pixels.size(), Alpha::Random, 7);
    FillPixels(dst.pixels.data(), dst.pixels.size(), Alpha::Opaque, 8);
    pixman_image_t* mask = master < 255 ? SolidMask(master) : nullptr;
    for (auto _ : state) {
        pixman_image_composite32(op, src.image, mask, dst.image, 0, 0, 0, 0, 0, 0, 1024, 1024);
        benchmark::DoNotOptimize(dst.pixels.data());
    }
    if (mask) pixman_image_unref(mask);
}

void BM_StretchNearest(benchmark::State& state, int sw, int sh, int dw, int dh) {
    TBitmap32 src, dst;
    src.SetSize(sw, sh);
    dst.SetSize(dw, dh);
    FillPixels(src.Bits(), static_cast<std::size_t>(sw) * sh, Alpha::Opaque, 9);
    for (auto _ : state) {
        StretchTransfer(&dst, dst.BoundsRect(), dst.ClipRect(), &src, src.BoundsRect(), src.Resampler(),
                        dmOpaque);
        benchmark::DoNotOptimize(dst.Bits());
    }
}

void BM_PixmanNearest(benchmark::State& state, int sw, int sh, int dw, int dh) {
    PixmanImage src(sw, sh), dst(dw, dh);
    FillPixels(src.pixels.data(), src.pixels.size(), Alpha::Opaque, 9);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(double(sw) / dw),
                                pixman_double_to_fixed(double(sh) / dh));
    pixman_image_set_transform(src.image, &t);
    pixman_image_set_filter(src.image, PIXMAN_FILTER_NEAREST, nullptr, 0);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, src.image, nullptr, dst.image, 0, 0, 0, 0, 0, 0, dw, dh);
        benchmark::DoNotOptimize(dst.pixels.data());
    }
}

using bench32::Pairs;

template <class Ours, class Reference>
void Pair(const std::string& ours, Ours o, const std::string& reference, Reference r) {
    benchmark::RegisterBenchmark(ours.c_str(), o)->Unit(benchmark::kMicrosecond);
    if (!reference.empty() &&
        std::none_of(Pairs().begin(), Pairs().end(), [&](const auto& p) { return p.second == reference; }))
        benchmark::RegisterBenchmark(reference.c_str(), r)->Unit(benchmark::kMicrosecond);
    Pairs().emplace_back(ours, reference);
}

void RegisterAll() {
    for (Alpha a : {Alpha::Clear, Alpha::Opaque, Alpha::Random}) {
        const std::string an = AlphaName(a);
        for (bool packed : {false, true}) {
            const std::string set = packed ? "packed" : "plain";
            Pair(
                "BlendLine/1920/" + set + "/" + an,
                [=](benchmark::State& s) { BM_BlendLine(s, packed, a, 1920, 1); }, "pixman_OVER/1920/" + an,
                [=](benchmark::State& s) { BM_PixmanOver(s, a, 1920, 1); });
            Pair(
                "BlendLine/1024x1024/" + set + "/" + an,
                [=](benchmark::State& s) { BM_BlendLine(s, packed, a, 1024, 1024); },
                "pixman_OVER/1024x1024/" + an, [=](benchmark::State& s) { BM_PixmanOver(s, a, 1024, 1024); });
        }
        for (bool packed : {false, true})
            Pair(
                "MergeLine/1920/" + std::string(packed ? "packed/" : "plain/") + an,
                [=](benchmark::State& s) { BM_MergeLine(s, packed, a, 1920); }, "pixman_OVER/1920/" + an,
                [=](benchmark::State& s) { BM_PixmanOver(s, a, 1920, 1); });
    }
    for (bool packed : {false, true}) {
        const std::string set = packed ? "packed" : "plain";
        Pair(
            "CombineLine/1920/W100/" + set, [=](benchmark::State& s) { BM_CombineLine(s, packed, 1920); },
            "pixman_OVER_mask100/1920",
            [](benchmark::State& s) { BM_PixmanOverMask(s, 1920, 1, 100, Alpha::Opaque); });
    }
    Pair("FillLongword/4MiB", BM_FillLongword, "memset/4MiB", BM_Memset);
    Pair("TBitmap32::Clear/4MiB", BM_Clear, "memset/4MiB", BM_Memset);
    Pair("MoveLongword/4MiB", BM_MoveLongword, "memcpy/4MiB", BM_Memcpy);
    Pair(
        "BlockTransfer/dmOpaque", [](benchmark::State& s) { BM_BlockTransfer(s, true, dmOpaque, 255); },
        "pixman_SRC/1024x1024", [](benchmark::State& s) { BM_PixmanBlock(s, PIXMAN_OP_SRC, 255); });
    for (bool packed : {false, true}) {
        const std::string set = packed ? "packed" : "plain";
        Pair(
            "BlockTransfer/dmBlend/MA255/" + set,
            [=](benchmark::State& s) { BM_BlockTransfer(s, packed, dmBlend, 255); }, "pixman_OVER/block",
            [](benchmark::State& s) { BM_PixmanBlock(s, PIXMAN_OP_OVER, 255); });
        Pair(
            "BlockTransfer/dmBlend/MA128/" + set,
            [=](benchmark::State& s) { BM_BlockTransfer(s, packed, dmBlend, 128); },
            "pixman_OVER_mask128/block", [](benchmark::State& s) { BM_PixmanBlock(s, PIXMAN_OP_OVER, 128); });
    }
    Pair(
        "StretchNearest/704x480-352x240",
        [](benchmark::State& s) { BM_StretchNearest(s, 704, 480, 352, 240); },
        "pixman_nearest/704x480-352x240",
        [](benchmark::State& s) { BM_PixmanNearest(s, 704, 480, 352, 240); });
    Pair(
        "StretchNearest/352x240-1280x960",
        [](benchmark::State& s) { BM_StretchNearest(s, 352, 240, 1280, 960); },
        "pixman_nearest/352x240-1280x960",
        [](benchmark::State& s) { BM_PixmanNearest(s, 352, 240, 1280, 960); });
}

} // namespace

int main(int argc, char** argv) {
    RegisterAll();
    bench32::RunWithRatioTable(argc, argv, 44, 34);
    SetupBlendFunctions();
    benchmark::Shutdown();
    return 0;
}
