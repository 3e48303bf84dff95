// The library's pixel type, geometry records, enumerations and dynamic arrays.
#pragma once

#include "bitmap32/Bmp32_LowLevel.h"
#include "bitmap32/Bmp32_Math.h"
#include "platform/core/Types.h"

#include <cstdint>
#include <vector>

namespace Bmp32 {

// $AARRGGBB; in memory the bytes are B, G, R, A.
using TColor32 = std::uint32_t;
using PColor32 = TColor32*;

inline constexpr TColor32 clBlack32 = 0xFF000000;
inline constexpr TColor32 clWhite32 = 0xFFFFFFFF;

using TFixed = Bmp32_Math::TFixed;

struct TFloatPoint {
    float X = 0;
    float Y = 0;
    bool operator==(const TFloatPoint&) const = default;
};

struct TFixedPoint {
    TFixed X = 0;
    TFixed Y = 0;
    bool operator==(const TFixedPoint&) const = default;
};

struct TFloatRect {
    float Left = 0;
    float Top = 0;
    float Right = 0;
    float Bottom = 0;
    bool operator==(const TFloatRect&) const = default;
};

struct TFixedRect {
    TFixed Left = 0;
    TFixed Top = 0;
    TFixed Right = 0;
    TFixed Bottom = 0;
    bool operator==(const TFixedRect&) const = default;
};

enum TDrawMode : std::uint8_t { dmOpaque, dmBlend, dmCustom, dmTransparent };
enum TCombineMode : std::uint8_t { cmBlend, cmMerge };
using Bmp32_LowLevel::TWrapMode;
enum TRectRounding : std::uint8_t { rrClosest, rrOutside, rrInside };

// Change-area info words: a plain rectangle, or a line (bit 30) with its width in the low 24 bits.
inline constexpr std::uint32_t AREAINFO_RECT = 0x80000000u;
inline constexpr std::uint32_t AREAINFO_LINE = 0x40000002u;

using TArrayOfColor32 = std::vector<TColor32>;
using TArrayOfColor32Entry = std::vector<std::uint32_t>;
using TArrayOfByte = std::vector<std::uint8_t>;
using TArrayOfWord = std::vector<std::uint16_t>;
using TArrayOfInteger = std::vector<int>;
using TArrayOfArrayOfInteger = std::vector<TArrayOfInteger>;
using TArrayOfPoint = std::vector<TPoint>;
using TArrayOfArrayOfPoint = std::vector<TArrayOfPoint>;
using TArrayOfFloatPoint = std::vector<TFloatPoint>;
using TArrayOfArrayOfFloatPoint = std::vector<TArrayOfFloatPoint>;
using TArrayOfFixedPoint = std::vector<TFixedPoint>;
using TArrayOfArrayOfFixedPoint = std::vector<TArrayOfFixedPoint>;
using TArrayOfSingle = std::vector<float>;
using TArrayOfFixed = std::vector<TFixed>;
using TArrayOfArrayOfFixed = std::vector<TArrayOfFixed>;

} // namespace Bmp32

using namespace Bmp32;
