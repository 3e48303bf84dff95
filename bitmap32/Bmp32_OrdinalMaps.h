// Grids of booleans, bytes, words and integers the size of a bitmap, and the byte map's conversions
// to and from a TBitmap32. Element (X, Y) is at index Y * Width + X; the element accessors do no bounds
// checks, so callers keep 0 <= X < Width and 0 <= Y < Height.
//
// Resizing keeps the stored elements in storage order (a change of width shifts rows) and zeroes new
// ones. A size whose storage cannot be had raises EOutOfMemory and leaves the map as it was.
#pragma once

#include "bitmap32/Bmp32.h"

#include <cstdint>
#include <vector>

namespace Bmp32_OrdinalMaps {

enum TConversionType : std::uint8_t { ctRed, ctGreen, ctBlue, ctAlpha, ctUniformRGB, ctWeightedRGB };

// Bits packed eight to a byte: element i is bit (i and 7) of byte (i shr 3).
class TBooleanMap : public TCustomMap {
public:
    bool Empty() const override { return FBits.empty(); }
    std::uint8_t* Bits() { return FBits.data(); }
    const std::uint8_t* Bits() const { return FBits.data(); }
    std::size_t ByteCount() const { return FBits.size(); }

    bool Value(int X, int Y) const {
        const std::size_t i = Index(X, Y);
        return (FBits[i >> 3] >> (i & 7)) & 1;
    }
    void SetValue(int X, int Y, bool Value);
    void ToggleBit(int X, int Y);
    // Fills every storage byte with FillValue (0xFF sets every bit, 1 only every eighth); no change is
    // reported.
    void Clear(std::uint8_t FillValue);

protected:
    void ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight) override;

private:
    std::size_t Index(int X, int Y) const { return static_cast<std::size_t>(Y) * FWidth + X; }
    std::vector<std::uint8_t> FBits;
};

// The byte, word and integer maps: one element type each, the same members.
template <class T>
class TOrdinalMap : public TCustomMap {
public:
    bool Empty() const override { return FBits.empty(); }
    T* Bits() { return FBits.data(); }
    const T* Bits() const { return FBits.data(); }
    T* ValPtr(int X, int Y) { return FBits.data() + static_cast<std::ptrdiff_t>(Y) * FWidth + X; }
    T Value(int X, int Y) const { return FBits[static_cast<std::size_t>(Y) * FWidth + X]; }
    void SetValue(int X, int Y, T Value) { *ValPtr(X, Y) = Value; }
    // Every element := FillValue, then a change notification.
    void Clear(T FillValue);

protected:
    void ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight) override;
    std::vector<T> FBits;
};

class TByteMap : public TOrdinalMap<std::uint8_t> {
public:
    bool Empty() const override { return FWidth == 0 || FHeight == 0 || FBits.empty(); }

    void Assign(const TPersistent* Source) override;
    // Takes Source's size and one channel (or grey level) of each pixel. A missing source raises
    // "The source is nil", a missing destination below "Destination is nil".
    void ReadFrom(const TBitmap32* Source, TConversionType Conversion);
    // Dest takes the map's size; a channel conversion writes that channel only, the grey ones write
    // Gray32(value, 255).
    void WriteTo(TBitmap32* Dest, TConversionType Conversion) const;
    // Each pixel := Palette[value].
    void WriteTo(TBitmap32* Dest, const TColor32 (&Palette)[256]) const;

protected:
    void AssignTo(TPersistent* Dest) const override;
};

class TWordMap : public TOrdinalMap<std::uint16_t> {};
class TIntegerMap : public TOrdinalMap<std::int32_t> {};

extern template class TOrdinalMap<std::uint8_t>;
extern template class TOrdinalMap<std::uint16_t>;
extern template class TOrdinalMap<std::int32_t>;

} // namespace Bmp32_OrdinalMaps

using namespace Bmp32_OrdinalMaps;
