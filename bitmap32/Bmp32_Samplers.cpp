// Nested samplers: the forwarding base, the regular, adaptive and pattern super-samplers.
#include "bitmap32/Bmp32_Samplers.h"

#include "bitmap32/Bmp32_Blend.h"

#include <cmath>
#include <random>

namespace Bmp32_Samplers {

void IncBuffer(TBufferEntry& Buffer, TColor32 Color) {
    Buffer.B += Color & 0xFF;
    Buffer.G += (Color >> 8) & 0xFF;
    Buffer.R += (Color >> 16) & 0xFF;
    Buffer.A += Color >> 24;
}

void MultiplyBuffer(TBufferEntry& Buffer, std::int32_t W) {
    Buffer.B *= W;
    Buffer.G *= W;
    Buffer.R *= W;
    Buffer.A *= W;
}

void ShrBuffer(TBufferEntry& Buffer, int Shift) {
    Buffer.B >>= Shift;
    Buffer.G >>= Shift;
    Buffer.R >>= Shift;
    Buffer.A >>= Shift;
}

TColor32 BufferToColor32(const TBufferEntry& Buffer, int Shift) {
    auto c = [Shift](std::int32_t v) { return static_cast<TColor32>(v >> Shift) & 0xFF; };
    return c(Buffer.B) | c(Buffer.G) << 8 | c(Buffer.R) << 16 | c(Buffer.A) << 24;
}

// ---- TNestedSampler ----

TCustomSampler* TNestedSampler::Nested() const {
    if (!FSampler) throw ENestedException("Nested sampler is nil");
    return FSampler;
}

void TNestedSampler::PrepareSampling() {
    Nested()->PrepareSampling();
}

void TNestedSampler::FinalizeSampling() {
    Nested()->FinalizeSampling();
}

bool TNestedSampler::HasBounds() {
    return Nested()->HasBounds();
}

TRect TNestedSampler::GetSampleBounds() {
    return Nested()->GetSampleBounds();
}

void TNestedSampler::AssignTo(TPersistent* Dest) const {
    if (auto* dst = dynamic_cast<TNestedSampler*>(Dest)) {
        dst->SetSampler(FSampler);
        return;
    }
    TCustomSampler::AssignTo(Dest);
}

// ---- TSuperSampler ----

TSuperSampler::TSuperSampler(TCustomSampler* Sampler) : TNestedSampler(Sampler) {
    Recompute();
}

void TSuperSampler::Recompute() {
    // Below one sub-sample there is nothing to spread: the steps stay 0 and the sample is empty.
    FDistanceX = FSamplingX >= 1 ? Fixed(1.0f / FSamplingX) : 0;
    FDistanceY = FSamplingY >= 1 ? Fixed(1.0f / FSamplingY) : 0;
    FOffsetX = FSamplingX >= 1 ? Fixed((1.0f / FSamplingX - 1) / 2) : 0;
    FOffsetY = FSamplingY >= 1 ? Fixed((1.0f / FSamplingY - 1) / 2) : 0;
}

void TSuperSampler::SetSamplingX(int Value) {
    FSamplingX = Value;
    Recompute();
}

void TSuperSampler::SetSamplingY(int Value) {
    FSamplingY = Value;
    Recompute();
}

TColor32 TSuperSampler::GetSampleFixed(TFixed X, TFixed Y) {
    TCustomSampler* nested = Nested();
    if (FSamplingX < 1 || FSamplingY < 1) return 0; // the empty buffer's colour
    // The sums divided by the count: a 16.16 scale of 1 / count rounds, and from some hundreds of
    // sub-samples on its error carries a full channel past 255 (white came out 0).
    std::int64_t b = 0, g = 0, r = 0, a = 0;
    TFixed y = Y + FOffsetY;
    for (int j = 0; j < FSamplingY; ++j, y += FDistanceY) {
        TFixed x = X + FOffsetX;
        for (int i = 0; i < FSamplingX; ++i, x += FDistanceX) {
            const TColor32 c = nested->GetSampleFixed(x, y);
            b += c & 0xFF;
            g += (c >> 8) & 0xFF;
            r += (c >> 16) & 0xFF;
            a += c >> 24;
        }
    }
    const std::int64_t count = std::int64_t{FSamplingX} * FSamplingY;
    return static_cast<TColor32>(b / count) | static_cast<TColor32>(g / count) << 8 |
           static_cast<TColor32>(r / count) << 16 | static_cast<TColor32>(a / count) << 24;
}

void TSuperSampler::AssignTo(TPersistent* Dest) const {
    if (auto* dst = dynamic_cast<TSuperSampler*>(Dest)) {
        dst->SetSamplingX(FSamplingX);
        dst->SetSamplingY(FSamplingY);
    }
    TNestedSampler::AssignTo(Dest);
}

// ---- TAdaptiveSuperSampler ----

TAdaptiveSuperSampler::TAdaptiveSuperSampler(TCustomSampler* Sampler) : TNestedSampler(Sampler) {
    SetLevel(FLevel);
}

void TAdaptiveSuperSampler::SetLevel(int Value) {
    FLevel = Value;
    FMinOffset = Fixed(static_cast<float>(std::ldexp(1.0, -Value)));
}

bool TAdaptiveSuperSampler::CompareColors(TColor32 C1, TColor32 C2) const {
    const TColor32 d = ColorDifference(C1, C2);
    EMMS();
    const int sum = static_cast<int>(((d >> 16) & 0xFF) + ((d >> 8) & 0xFF) + (d & 0xFF));
    return sum > FTolerance;
}

TColor32 TAdaptiveSuperSampler::Refine(TFixed X, TFixed Y, TFixed H, TColor32 A, TColor32 B, TColor32 C,
                                       TColor32 D) {
    TCustomSampler* nested = Nested();
    const TColor32 e = nested->GetSampleFixed(X, Y);
    const TFixed h = H / 2;
    // Each quadrant knows its outer corner and the centre; refining samples its other diagonal.
    auto quadrant = [&](TColor32 corner, int sx, int sy) -> TColor32 {
        if (!CompareColors(corner, e) || h < FMinOffset || h == 0) return ColorAverage(corner, e);
        const TColor32 horz = nested->GetSampleFixed(X + sx * H, Y);
        const TColor32 vert = nested->GetSampleFixed(X, Y + sy * H);
        const TFixed qx = X + sx * h, qy = Y + sy * h;
        // Corners of the quadrant, clockwise from its top left.
        if (sx < 0 && sy < 0) return Refine(qx, qy, h, corner, vert, e, horz);
        if (sx > 0 && sy < 0) return Refine(qx, qy, h, vert, corner, horz, e);
        if (sx > 0) return Refine(qx, qy, h, e, horz, corner, vert);
        return Refine(qx, qy, h, horz, e, vert, corner);
    };
    const TColor32 q1 = quadrant(A, -1, -1), q2 = quadrant(B, 1, -1), q3 = quadrant(C, 1, 1),
                   q4 = quadrant(D, -1, 1);
    return ColorAverage(ColorAverage(q1, q2), ColorAverage(q3, q4));
}

TColor32 TAdaptiveSuperSampler::GetSampleFixed(TFixed X, TFixed Y) {
    TCustomSampler* nested = Nested();
    const TColor32 a = nested->GetSampleFixed(X - FixedHalf, Y - FixedHalf);
    const TColor32 b = nested->GetSampleFixed(X + FixedHalf, Y - FixedHalf);
    const TColor32 c = nested->GetSampleFixed(X + FixedHalf, Y + FixedHalf);
    const TColor32 d = nested->GetSampleFixed(X - FixedHalf, Y + FixedHalf);
    const TColor32 result = Refine(X, Y, FixedHalf, a, b, c, d);
    EMMS();
    return result;
}

void TAdaptiveSuperSampler::AssignTo(TPersistent* Dest) const {
    if (auto* dst = dynamic_cast<TAdaptiveSuperSampler*>(Dest)) {
        dst->SetLevel(FLevel);
        dst->SetTolerance(FTolerance);
    }
    TNestedSampler::AssignTo(Dest);
}

// ---- TPatternSampler ----

TColor32 TPatternSampler::GetSampleFixed(TFixed X, TFixed Y) {
    TCustomSampler* nested = Nested();
    // An empty pattern (or cell) has no offsets to average: the plain sample.
    if (FPattern.empty() || FPattern[0].empty()) return nested->GetSampleFixed(X, Y);
    const int height = static_cast<int>(FPattern.size());
    // Positions left of or above 0 fall into the cells of the repeated pattern, not outside it.
    auto cell = [](int v, int n) { return ((v % n) + n) % n; };
    const auto& row = FPattern[static_cast<std::size_t>(cell(Y >> 16, height))];
    if (row.empty()) return nested->GetSampleFixed(X, Y);
    const TArrayOfFixedPoint& offsets =
        row[static_cast<std::size_t>(cell(X >> 16, static_cast<int>(row.size())))];
    const int n = static_cast<int>(offsets.size());
    if (n == 0) return nested->GetSampleFixed(X, Y);
    TBufferEntry buffer = EMPTY_ENTRY;
    for (const TFixedPoint& o : offsets)
        IncBuffer(buffer, nested->GetSampleFixed(X + o.X, Y + o.Y));
    MultiplyBuffer(buffer, 65536 / n);
    return BufferToColor32(buffer, 16);
}

void TPatternSampler::AssignTo(TPersistent* Dest) const {
    if (auto* dst = dynamic_cast<TPatternSampler*>(Dest)) dst->SetPattern(FPattern);
    TNestedSampler::AssignTo(Dest);
}

TFixedSamplePattern CreateJitteredPattern(int TileWidth, int TileHeight, int SamplesX, int SamplesY) {
    static thread_local std::mt19937 rng{std::random_device{}()};
    std::uniform_int_distribution<int> random(0, 65535);
    TFixedSamplePattern pattern;
    if (TileWidth <= 0 || TileHeight <= 0 || SamplesX <= 0 || SamplesY <= 0) return pattern;
    pattern.assign(static_cast<std::size_t>(TileHeight),
                   std::vector<TArrayOfFixedPoint>(static_cast<std::size_t>(TileWidth)));
    for (auto& row : pattern)
        for (TArrayOfFixedPoint& offsets : row) {
            offsets.resize(static_cast<std::size_t>(SamplesX) * static_cast<std::size_t>(SamplesY));
            for (int i = 0; i < SamplesX; ++i)
                for (int j = 0; j < SamplesY; ++j)
                    offsets[static_cast<std::size_t>(i * SamplesY + j)] =
                        TFixedPoint{(random(rng) + (i << 16)) / SamplesX - 32768,
                                    (random(rng) + (j << 16)) / SamplesY - 32768};
        }
    return pattern;
}

} // namespace Bmp32_Samplers
