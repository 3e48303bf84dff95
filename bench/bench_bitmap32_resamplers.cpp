// Resampling stretches of the bitmap library against pixman's filters and against plain loops that
// evaluate the kernel per pixel and tap in doubles, measured in one run. The table at the end gives
// reference time / our time (above 1.0: we are faster).
#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Blend.h"
#include "bitmap32/Bmp32_Kernels.h"
#include "bitmap32/Bmp32_Resamplers.h"

#include "bench/BenchBitmap32Support.h"
#include "bench/BenchPixmanImage.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

void FillOpaque(TColor32* p, std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    for (std::size_t i = 0; i < n; ++i)
        p[i] = rng() | 0xFF000000u;
}

using bench32::PixmanImage;

enum class PixmanFilter { Bilinear, Cubic, Box };

void BM_Pixman(benchmark::State& state, PixmanFilter f, int sw, int sh, int dw, int dh) {
    PixmanImage src(sw, sh), dst(dw, dh);
    FillOpaque(src.pixels.data(), src.pixels.size(), 1);
    pixman_transform_t t;
    const pixman_fixed_t sx = pixman_double_to_fixed(static_cast<double>(sw) / dw);
    const pixman_fixed_t sy = pixman_double_to_fixed(static_cast<double>(sh) / dh);
    pixman_transform_init_scale(&t, sx, sy);
    pixman_image_set_transform(src.image, &t);
    pixman_image_set_repeat(src.image, PIXMAN_REPEAT_PAD);
    if (f == PixmanFilter::Bilinear) {
        pixman_image_set_filter(src.image, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    } else {
        int n = 0;
        const bool cubic = f == PixmanFilter::Cubic;
        const bool shrink = sw > dw;
        pixman_fixed_t* params = pixman_filter_create_separable_convolution(
            &n, sx, sy, cubic ? PIXMAN_KERNEL_CUBIC : PIXMAN_KERNEL_BOX,
            cubic ? PIXMAN_KERNEL_CUBIC : PIXMAN_KERNEL_BOX,
            shrink ? PIXMAN_KERNEL_BOX : PIXMAN_KERNEL_IMPULSE,
            shrink ? PIXMAN_KERNEL_BOX : PIXMAN_KERNEL_IMPULSE, 4, 4);
        pixman_image_set_filter(src.image, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, n);
        std::free(params);
    }
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, src.image, nullptr, dst.image, 0, 0, 0, 0, 0, 0, dw, dh);
        benchmark::DoNotOptimize(dst.pixels.data());
    }
}

enum class Ours { Linear, CubicKernel, Draft };

void BM_Ours(benchmark::State& state, Ours which, int sw, int sh, int dw, int dh) {
    TBitmap32 src, dst;
    src.SetSize(sw, sh);
    FillOpaque(src.Bits(), static_cast<std::size_t>(sw) * sh, 1);
    dst.SetSize(dw, dh);
    TCubicKernel cubic;
    const TRect r = dst.BoundsRect();
    for (auto _ : state) {
        switch (which) {
        case Ours::Linear:
            StretchLinear(&dst, r, r, &src, src.BoundsRect(), dmOpaque, nullptr);
            break;
        case Ours::CubicKernel:
            KernelResample(&dst, r, r, &src, src.BoundsRect(), &cubic, dmOpaque, nullptr);
            break;
        case Ours::Draft:
            StretchDraft(&dst, r, r, &src, src.BoundsRect(), dmOpaque, nullptr);
            break;
        }
        benchmark::DoNotOptimize(dst.Bits());
    }
}

// The plain way: per destination pixel, every tap of the (scaled) kernel in two dimensions, the kernel
// evaluated in doubles each time, the weights normalised per pixel.
void BM_PlainLoop(benchmark::State& state, const TCustomKernel* kernel, int sw, int sh, int dw, int dh) {
    std::vector<TColor32> src(static_cast<std::size_t>(sw) * sh), dst(static_cast<std::size_t>(dw) * dh);
    FillOpaque(src.data(), src.size(), 1);
    const double scaleX = static_cast<double>(dw) / sw, scaleY = static_cast<double>(dh) / sh;
    const double fx = scaleX < 1 ? scaleX : 1, fy = scaleY < 1 ? scaleY : 1;
    const double rx = kernel->GetWidth() / fx, ry = kernel->GetWidth() / fy;
    for (auto _ : state) {
        for (int y = 0; y < dh; ++y) {
            const double cy = (y + 0.5) / scaleY - 0.5;
            for (int x = 0; x < dw; ++x) {
                const double cx = (x + 0.5) / scaleX - 0.5;
                double sum[4] = {0, 0, 0, 0}, wsum = 0;
                for (int j = static_cast<int>(std::floor(cy - ry)); j <= static_cast<int>(std::ceil(cy + ry));
                     ++j) {
                    const double wy = kernel->Filter(static_cast<float>((cy - j) * fy));
                    if (wy == 0) continue;
                    const TColor32* row = &src[static_cast<std::size_t>(std::clamp(j, 0, sh - 1)) * sw];
                    for (int i = static_cast<int>(std::floor(cx - rx));
                         i <= static_cast<int>(std::ceil(cx + rx)); ++i) {
                        const double w = wy * kernel->Filter(static_cast<float>((cx - i) * fx));
                        const TColor32 p = row[std::clamp(i, 0, sw - 1)];
                        for (int c = 0; c < 4; ++c)
                            sum[c] += w * ((p >> (8 * c)) & 0xFF);
                        wsum += w;
                    }
                }
                TColor32 out = 0;
                for (int c = 0; c < 4; ++c)
                    out |= static_cast<TColor32>(std::clamp(sum[c] / wsum, 0.0, 255.0)) << (8 * c);
                dst[static_cast<std::size_t>(y) * dw + x] = out;
            }
        }
        benchmark::DoNotOptimize(dst.data());
    }
}

// Sampling one position at a time: the kernel per sample against the prepared weight table.
void BM_KernelSampling(benchmark::State& state, TKernelMode mode) {
    TBitmap32 bmp;
    bmp.SetSize(256, 256);
    FillOpaque(bmp.Bits(), 256 * 256, 2);
    bmp.SetResamplerClassName("TKernelResampler");
    auto* r = static_cast<TKernelResampler*>(bmp.Resampler());
    r->SetKernelClassName("TCubicKernel");
    r->SetKernelMode(mode);
    r->SetTableSize(64);
    r->PrepareSampling();
    for (auto _ : state) {
        TColor32 acc = 0;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x)
                acc ^= r->GetSampleFloat(x * 1.37f + 0.21f, y * 1.61f + 0.33f);
        benchmark::DoNotOptimize(acc);
    }
    r->FinalizeSampling();
}

using bench32::Pairs;

std::map<std::string, bool>& Registered() {
    static std::map<std::string, bool> names;
    return names;
}

template <class F>
void Register(const std::string& name, F f) {
    if (Registered()[name]) return;
    Registered()[name] = true;
    benchmark::RegisterBenchmark(name.c_str(), f)->Unit(benchmark::kMicrosecond);
}

void RegisterAll() {
    static TLinearKernel linear;
    static TCubicKernel cubic;
    struct Size {
        int sw, sh, dw, dh;
        std::string Name() const {
            return std::to_string(sw) + "x" + std::to_string(sh) + "-" + std::to_string(dw) + "x" +
                   std::to_string(dh);
        }
    };
    const Size up{352, 240, 1280, 960}, up2{352, 240, 704, 480}, down{704, 480, 352, 240},
        down4{704, 480, 176, 120};

    const std::string linearUp = "StretchLinear/" + up.Name();
    Register(linearUp, [=](benchmark::State& s) { BM_Ours(s, Ours::Linear, up.sw, up.sh, up.dw, up.dh); });
    Register("pixman_bilinear/" + up.Name(),
             [=](benchmark::State& s) { BM_Pixman(s, PixmanFilter::Bilinear, up.sw, up.sh, up.dw, up.dh); });
    Register("plain_linear/" + up.Name(),
             [=](benchmark::State& s) { BM_PlainLoop(s, &linear, up.sw, up.sh, up.dw, up.dh); });
    Pairs().emplace_back(linearUp, "pixman_bilinear/" + up.Name());
    Pairs().emplace_back(linearUp, "plain_linear/" + up.Name());

    for (const Size& sz : {up2, down}) {
        const std::string ours = "KernelResample_cubic/" + sz.Name();
        Register(ours,
                 [=](benchmark::State& s) { BM_Ours(s, Ours::CubicKernel, sz.sw, sz.sh, sz.dw, sz.dh); });
        Register("pixman_cubic/" + sz.Name(),
                 [=](benchmark::State& s) { BM_Pixman(s, PixmanFilter::Cubic, sz.sw, sz.sh, sz.dw, sz.dh); });
        Register("plain_cubic/" + sz.Name(),
                 [=](benchmark::State& s) { BM_PlainLoop(s, &cubic, sz.sw, sz.sh, sz.dw, sz.dh); });
        Pairs().emplace_back(ours, "pixman_cubic/" + sz.Name());
        Pairs().emplace_back(ours, "plain_cubic/" + sz.Name());
    }

    const std::string draft = "StretchDraft/" + down4.Name();
    Register(draft,
             [=](benchmark::State& s) { BM_Ours(s, Ours::Draft, down4.sw, down4.sh, down4.dw, down4.dh); });
    Register("pixman_box/" + down4.Name(), [=](benchmark::State& s) {
        BM_Pixman(s, PixmanFilter::Box, down4.sw, down4.sh, down4.dw, down4.dh);
    });
    Pairs().emplace_back(draft, "pixman_box/" + down4.Name());

    Register("GetSampleFloat_cubic/kmTableLinear",
             [](benchmark::State& s) { BM_KernelSampling(s, kmTableLinear); });
    Register("GetSampleFloat_cubic/kmTableNearest",
             [](benchmark::State& s) { BM_KernelSampling(s, kmTableNearest); });
    Register("GetSampleFloat_cubic/kmDynamic", [](benchmark::State& s) { BM_KernelSampling(s, kmDynamic); });
    Pairs().emplace_back("GetSampleFloat_cubic/kmTableLinear", "GetSampleFloat_cubic/kmDynamic");
    Pairs().emplace_back("GetSampleFloat_cubic/kmTableNearest", "GetSampleFloat_cubic/kmDynamic");
}

} // namespace

int main(int argc, char** argv) {
    RegisterAll();
    bench32::RunWithRatioTable(argc, argv, 44, 40);
    benchmark::Shutdown();
    return 0;
}
