#include "bitmap32/Bmp32_Math.h"

#include <cmath>
#include <limits>

namespace Bmp32_Math {

TFixed Fixed(float S) {
    double v = static_cast<double>(S) * 65536.0;
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<TFixed>::max();
    if (v <= -2147483648.0) return std::numeric_limits<TFixed>::min();
    return static_cast<TFixed>(std::nearbyint(v));
}

TFixed FixedDiv(TFixed A, TFixed B) {
    if (B == 0) throw EDivByZero("Division by zero");
    std::int64_t q = (std::int64_t{A} * 65536) / B;
    if (q > std::numeric_limits<TFixed>::max() || q < std::numeric_limits<TFixed>::min())
        throw EIntOverflow("Integer overflow");
    return static_cast<TFixed>(q);
}

namespace {

// Bit-pair square root: the root of `value` one result bit per pair of radicand bits, starting with
// the pair at `bit` (a power of four).
std::uint64_t BitPairRoot(std::uint64_t value, std::uint64_t bit) {
    std::uint64_t root = 0;
    while (bit != 0) {
        if (value >= root + bit) {
            value -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    return root;
}

} // namespace

TFixed FixedSqrtLP(TFixed A) {
    if (A <= 0) return 0;
    return static_cast<TFixed>(BitPairRoot(static_cast<std::uint64_t>(A), 1ull << 30) << 8);
}

TFixed FixedSqrtHP(TFixed A) {
    if (A <= 0) return 0;
    // The same pairs continued over 16 further radicand bits: the root of A * 2^16.
    return static_cast<TFixed>(BitPairRoot(static_cast<std::uint64_t>(A) << 16, 1ull << 46));
}

void SinCos(float Theta, float& Sin, float& Cos) {
    Sin = static_cast<float>(std::sin(static_cast<double>(Theta)));
    Cos = static_cast<float>(std::cos(static_cast<double>(Theta)));
}

void SinCos(float Theta, float Radius, float& Sin, float& Cos) {
    SinCos(Theta, Sin, Cos);
    Sin *= Radius;
    Cos *= Radius;
}

int MulDiv(int A, int B, int C) {
    const bool negative = ((A ^ B ^ C) < 0);
    auto magnitude = [](int v) { return v < 0 ? 0ull - static_cast<unsigned long long>(v) : 0ull + v; };
    const unsigned long long c = magnitude(C);
    if (c == 0) return -1;
    const unsigned long long p = magnitude(A) * magnitude(B);
    unsigned long long q = p / c;
    const unsigned long long r = p % c;
    if (c - r <= r) ++q;
    // The quotient itself decides overflow: a test on the product's high half lets some too-large
    // quotients through (e.g. (2^31 - 1) * 3 / 3 once wrapped negative).
    const unsigned long long limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
    if (q > limit) return -1;
    return negative ? static_cast<int>(0ull - q) : static_cast<int>(q);
}

} // namespace Bmp32_Math
