// Little-endian reads and writes of the recorder's wire and file words. Every format of the recorder
// is packed by hand through these, never by casting bytes to a struct.
#pragma once

#include "platform/core/Types.h"

#include <cstddef>

inline void PutU16(BYTE* p, WORD v) {
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}

inline void PutU32(BYTE* p, DWORD v) {
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
    p[2] = static_cast<BYTE>(v >> 16);
    p[3] = static_cast<BYTE>(v >> 24);
}

inline WORD GetU16(const BYTE* p) {
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

inline DWORD GetU32(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

// Rounds up to a multiple of 32; 64-bit so that no 32-bit length from outside can wrap.
constexpr std::uint64_t Pad32(std::uint64_t n) {
    return (n + 31) & ~std::uint64_t{31};
}
constexpr std::uint64_t Pad4(std::uint64_t n) {
    return (n + 3) & ~std::uint64_t{3};
}
