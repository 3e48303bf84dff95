// Clamping, wrapping and mirroring of coordinates, and the fills and moves of the pixel loops.
#pragma once

#include "bitmap32/Bmp32_Math.h"

#include <cstdint>

namespace Bmp32_LowLevel {

enum TWrapMode : std::uint8_t { wmClamp, wmRepeat, wmMirror };

inline constexpr int Clamp(int Value) {
    return Value < 0 ? 0 : (Value > 255 ? 255 : Value);
}
inline constexpr int Clamp(int Value, int Max) {
    return Value > Max ? Max : (Value < 0 ? 0 : Value);
}
inline constexpr int Clamp(int Value, int Min, int Max) {
    if (Value < Min) Value = Min;
    return Value > Max ? Max : Value;
}
inline constexpr int Constrain(int Value, int Lo, int Hi) {
    return Clamp(Value, Lo, Hi);
}
inline constexpr float Constrain(float Value, float Lo, float Hi) {
    return Value < Lo ? Lo : (Value > Hi ? Hi : Value);
}
int SwapConstrain(int Value, int Bound1, int Bound2);

// Wrap(Value, Max) folds into 0..Max; Wrap(Value, Min, Max) into Min..Max. Mirror(Value, Max) reflects
// with period 2 * Max and no repeated edge; Mirror(Value, Min, Max) repeats the edges. An empty range
// (Max = -1, Max = Min - 1, or Mirror's Max = 0) raises EDivByZero.
int Wrap(int Value, int Max);
int Wrap(int Value, int Min, int Max);
int Mirror(int Value, int Max);
int Mirror(int Value, int Min, int Max);

inline void Swap(int& A, int& B) {
    int t = A;
    A = B;
    B = t;
}
inline void TestSwap(int& A, int& B) {
    if (A > B) Swap(A, B);
}
// Orders A and B, cuts them to 0..Size-1 (Start..Stop-1); true when something is left.
bool TestClip(int& A, int& B, int Size);
bool TestClip(int& A, int& B, int Start, int Stop);

// Routine variable, set at start-up. Count <= 0 writes nothing.
extern void (*FillLongword)(std::uint32_t* X, int Count, std::uint32_t Value);
void FillLongword_Pas(std::uint32_t* X, int Count, std::uint32_t Value);
void FillLongword_Wide(std::uint32_t* X, int Count, std::uint32_t Value);
void FillWord(std::uint16_t* X, int Count, std::uint32_t Value);
// Overlap-safe copies; Count <= 0 copies nothing.
void MoveLongword(const std::uint32_t* Src, std::uint32_t* Dst, int Count);
void MoveWord(const std::uint16_t* Src, std::uint16_t* Dst, int Count);

inline constexpr int SAR_4(int Value) {
    return Value >> 4;
}
inline constexpr int SAR_8(int Value) {
    return Value >> 8;
}
inline constexpr int SAR_9(int Value) {
    return Value >> 9;
}
inline constexpr int SAR_11(int Value) {
    return Value >> 11;
}
inline constexpr int SAR_12(int Value) {
    return Value >> 12;
}
inline constexpr int SAR_13(int Value) {
    return Value >> 13;
}
inline constexpr int SAR_14(int Value) {
    return Value >> 14;
}
inline constexpr int SAR_15(int Value) {
    return Value >> 15;
}
inline constexpr int SAR_16(int Value) {
    return Value >> 16;
}

// A platform colour $00BBGGRR as an opaque $FFRRGGBB.
inline constexpr std::uint32_t ColorSwap(std::uint32_t WinColor) {
    return 0xFF000000u | ((WinColor & 0xFFu) << 16) | (WinColor & 0xFF00u) | ((WinColor >> 16) & 0xFFu);
}

using TWrapProc = int (*)(int Value, int Max);
using TWrapProcEx = int (*)(int Value, int Min, int Max);
extern const TWrapProc WRAP_PROCS[3];
extern const TWrapProcEx WRAP_PROCS_EX[3];

// Points FillLongword at the wide fill when the processor has MMX (always on x86-64).
void SetupFunctions();

} // namespace Bmp32_LowLevel

using namespace Bmp32_LowLevel;
