#include "bitmap32/Bmp32_LowLevel.h"

#include "bitmap32/Bmp32_System.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace Bmp32_LowLevel {

int SwapConstrain(int Value, int Bound1, int Bound2) {
    TestSwap(Bound1, Bound2);
    return Constrain(Value, Bound1, Bound2);
}

// The arithmetic runs in 64 bits so that extreme values cannot overflow; % truncates toward zero.
int Wrap(int Value, int Max) {
    const std::int64_t d = std::int64_t{Max} + 1;
    if (d == 0) throw EDivByZero("Division by zero");
    std::int64_t r = Value % d;
    if (r < 0) r += d;
    return static_cast<int>(r);
}

int Wrap(int Value, int Min, int Max) {
    const std::int64_t d = std::int64_t{Max} - Min + 1;
    if (d == 0) throw EDivByZero("Division by zero");
    if (Value >= Min) return static_cast<int>((std::int64_t{Value} - Min) % d + Min);
    return static_cast<int>((std::int64_t{Value} - Max) % d + Max);
}

int Mirror(int Value, int Max) {
    if (Max == 0) throw EDivByZero("Division by zero");
    const std::int64_t v = Value < 0 ? -std::int64_t{Value} : std::int64_t{Value};
    const std::int64_t q = v / Max;
    const std::int64_t r = v % Max;
    return static_cast<int>(q % 2 == 0 ? r : Max - r);
}

int Mirror(int Value, int Min, int Max) {
    const std::int64_t d = std::int64_t{Max} - Min + 1;
    if (d == 0) throw EDivByZero("Division by zero");
    std::int64_t q, r;
    if (Value >= Min) {
        q = (std::int64_t{Value} - Min) / d;
        r = (std::int64_t{Value} - Min) % d + Min;
    } else {
        q = (std::int64_t{Value} - Max) / d;
        r = (std::int64_t{Value} - Max) % d + Max;
    }
    return static_cast<int>(q % 2 != 0 ? std::int64_t{Min} + Max - r : r);
}

bool TestClip(int& A, int& B, int Size) {
    TestSwap(A, B);
    if (A < 0) A = 0;
    if (B >= Size) B = Size - 1;
    return B >= A;
}

bool TestClip(int& A, int& B, int Start, int Stop) {
    TestSwap(A, B);
    if (A < Start) A = Start;
    if (B >= Stop) B = Stop - 1;
    return B >= A;
}

void FillLongword_Pas(std::uint32_t* X, int Count, std::uint32_t Value) {
    for (int i = 0; i < Count; ++i)
        X[i] = Value;
}

void FillLongword_Wide(std::uint32_t* X, int Count, std::uint32_t Value) {
    if (Count <= 0) return;
#ifdef __SSE2__
    // Single values up to a 16-byte boundary, then four values per store, then the tail.
    while (Count > 0 && (reinterpret_cast<std::uintptr_t>(X) & 15) != 0) {
        *X++ = Value;
        --Count;
    }
    const __m128i v = _mm_set1_epi32(static_cast<int>(Value));
    auto* p = reinterpret_cast<__m128i*>(X);
    int blocks = Count >> 2;
    int i = 0;
    for (; i + 4 <= blocks; i += 4) {
        _mm_store_si128(p + i, v);
        _mm_store_si128(p + i + 1, v);
        _mm_store_si128(p + i + 2, v);
        _mm_store_si128(p + i + 3, v);
    }
    for (; i < blocks; ++i)
        _mm_store_si128(p + i, v);
    for (int k = blocks << 2; k < Count; ++k)
        X[k] = Value;
#else
    FillLongword_Pas(X, Count, Value);
#endif
}

void (*FillLongword)(std::uint32_t* X, int Count, std::uint32_t Value) = FillLongword_Pas;

void FillWord(std::uint16_t* X, int Count, std::uint32_t Value) {
    for (int i = 0; i < Count; ++i)
        X[i] = static_cast<std::uint16_t>(Value);
}

void MoveLongword(const std::uint32_t* Src, std::uint32_t* Dst, int Count) {
    if (Count > 0 && Src != Dst) std::memmove(Dst, Src, static_cast<std::size_t>(Count) * 4);
}

void MoveWord(const std::uint16_t* Src, std::uint16_t* Dst, int Count) {
    if (Count > 0 && Src != Dst) std::memmove(Dst, Src, static_cast<std::size_t>(Count) * 2);
}

const TWrapProc WRAP_PROCS[3] = {static_cast<TWrapProc>(Clamp), static_cast<TWrapProc>(Wrap),
                                 static_cast<TWrapProc>(Mirror)};
const TWrapProcEx WRAP_PROCS_EX[3] = {static_cast<TWrapProcEx>(Clamp), static_cast<TWrapProcEx>(Wrap),
                                      static_cast<TWrapProcEx>(Mirror)};

void SetupFunctions() {
    FillLongword = Bmp32_System::HasMMX() ? FillLongword_Wide : FillLongword_Pas;
}

namespace {
struct StartUp {
    StartUp() { SetupFunctions(); }
} startUp;
} // namespace

} // namespace Bmp32_LowLevel
