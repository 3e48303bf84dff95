// 16.16 fixed-point arithmetic and the rounded 64-bit MulDiv.
#pragma once

#include "platform/core/Exceptions.h"

#include <cstdint>

namespace Bmp32_Math {

using TFixed = std::int32_t;

inline constexpr TFixed FixedOne = 0x10000;
inline constexpr TFixed FixedHalf = 0x8000;

// Integer division by zero and quotients that do not fit raise this instead of trapping.
HARBEK_DECLARE_EXCEPTION(EDivByZero, Exception);
HARBEK_DECLARE_EXCEPTION(EIntOverflow, Exception);

// round(S * 65536), ties to even; values beyond the 16.16 range saturate and NaN gives 0.
TFixed Fixed(float S);
inline constexpr TFixed Fixed(int I) {
    return static_cast<TFixed>(static_cast<std::uint32_t>(I) << 16);
}

inline constexpr int FixedFloor(TFixed A) {
    return A >> 16;
}
inline constexpr int FixedCeil(TFixed A) {
    return static_cast<int>((std::int64_t{A} + 0xFFFF) >> 16);
}
// An exact half rounds down: FixedRound(0x8000) = 0, FixedRound(-0x8000) = -1.
inline constexpr int FixedRound(TFixed A) {
    return static_cast<int>((std::int64_t{A} + 0x7FFF) >> 16);
}

inline constexpr TFixed FixedMul(TFixed A, TFixed B) {
    return static_cast<TFixed>((std::int64_t{A} * B) >> 16);
}
// Truncated toward zero; raises EDivByZero for B = 0 and EIntOverflow when the quotient does not fit.
TFixed FixedDiv(TFixed A, TFixed B);
inline constexpr TFixed FixedSqr(TFixed A) {
    return FixedMul(A, A);
}
// Square roots of a non-negative 16.16 value (a negative one gives 0): 8 and 16 exact fraction bits.
TFixed FixedSqrtLP(TFixed A);
TFixed FixedSqrtHP(TFixed A);

void SinCos(float Theta, float& Sin, float& Cos);
void SinCos(float Theta, float Radius, float& Sin, float& Cos);

// A * B / C with a 64-bit product, halves rounded away from zero; -1 when the result does not fit in
// 32 bits or C is 0.
int MulDiv(int A, int B, int C);

} // namespace Bmp32_Math

using namespace Bmp32_Math;
