// Transform of a 640 x 480 picture rotated by 30 degrees against a plain loop that maps and reads each
// pixel itself, and the other rasterizers against the regular one over the same mapping. The table at
// the end gives reference time / our time (above 1.0: we are faster).
#include "bitmap32/Bmp32.h"
#include "bitmap32/Bmp32_Rasterizers.h"
#include "bitmap32/Bmp32_Resamplers.h"
#include "bitmap32/Bmp32_Transforms.h"

#include "bench/BenchBitmap32Support.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int W = 640, H = 480;

void Fill(TBitmap32& b, unsigned seed) {
    std::mt19937 rng(seed);
    b.SetSize(W, H);
    for (int i = 0; i < W * H; ++i)
        b.Bits()[i] = rng() | 0xFF000000u;
}

void Rotation(TAffineTransformation& t, const TBitmap32& src) {
    t.SetSrcRect(FloatRect(src.BoundsRect()));
    t.Rotate(W / 2.0f, H / 2.0f, 30);
}

void BM_Transform(benchmark::State& state, const std::function<TRasterizer*()>& make, bool linear) {
    TBitmap32 src, dst;
    Fill(src, 1);
    if (linear) new TLinearResampler(&src);
    dst.SetSize(W, H);
    TAffineTransformation t;
    Rotation(t, src);
    std::unique_ptr<TRasterizer> r(make());
    for (auto _ : state) {
        Transform(&dst, &src, &t, r.get());
        benchmark::DoNotOptimize(dst.Bits());
    }
    state.SetItemsProcessed(state.iterations() * W * H);
}

// The same picture by hand: the inverse in 16.16, nearest pixel, outer colour outside the source.
void BM_PlainNearestLoop(benchmark::State& state) {
    TBitmap32 src, dst;
    Fill(src, 1);
    dst.SetSize(W, H);
    TAffineTransformation t;
    Rotation(t, src);
    TRect r;
    IntersectRect(r, t.GetTransformedBounds(), dst.BoundsRect());
    TFloatMatrix inv = t.Matrix;
    Invert(inv);
    const TFixedMatrix m = FixedMatrix(inv);
    const TColor32 outer = src.OuterColor();
    for (auto _ : state) {
        for (int y = r.Top; y < r.Bottom; ++y) {
            TColor32* p = dst.GetPixelPtr(r.Left, y);
            for (int x = r.Left; x < r.Right; ++x, ++p) {
                const TFixed fx = Fixed(x), fy = Fixed(y);
                const int sx = FixedRound(FixedMul(fx, m[0][0]) + FixedMul(fy, m[1][0]) + m[2][0]);
                const int sy = FixedRound(FixedMul(fx, m[0][1]) + FixedMul(fy, m[1][1]) + m[2][1]);
                *p = sx >= 0 && sx < W && sy >= 0 && sy < H ? src.GetPixel(sx, sy) : outer;
            }
        }
        benchmark::DoNotOptimize(dst.Bits());
    }
    state.SetItemsProcessed(state.iterations() * W * H);
}

using bench32::Pairs;

void RegisterAll() {
    const auto regular = [] { return new TRegularRasterizer; };
    benchmark::RegisterBenchmark("PlainNearestLoop/rotate30", BM_PlainNearestLoop)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Transform/regular/nearest", [=](benchmark::State& s) {
        BM_Transform(s, regular, false);
    })->Unit(benchmark::kMillisecond);
    Pairs().emplace_back("Transform/regular/nearest", "PlainNearestLoop/rotate30");
    benchmark::RegisterBenchmark("Transform/regular/linear", [=](benchmark::State& s) {
        BM_Transform(s, regular, true);
    })->Unit(benchmark::kMillisecond);
    Pairs().emplace_back("Transform/regular/linear", "PlainNearestLoop/rotate30");
    const std::pair<const char*, std::function<TRasterizer*()>> others[] = {
        {"swizzling", [] { return new TSwizzlingRasterizer; }},
        {"progressive", [] { return new TProgressiveRasterizer; }},
        {"tesseral", [] { return new TTesseralRasterizer; }},
        {"contour", [] { return new TContourRasterizer; }},
    };
    for (const auto& [name, make] : others) {
        const std::string label = std::string("Transform/") + name + "/nearest";
        auto m = make;
        benchmark::RegisterBenchmark(label.c_str(), [=](benchmark::State& s) {
            BM_Transform(s, m, false);
        })->Unit(benchmark::kMillisecond);
        Pairs().emplace_back(label, "Transform/regular/nearest");
    }
}

} // namespace

int main(int argc, char** argv) {
    RegisterAll();
    bench32::RunWithRatioTable(argc, argv, 36, 30);
    benchmark::Shutdown();
    return 0;
}
