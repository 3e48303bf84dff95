#include "bitmap32/Bmp32_OrdinalMaps.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace Bmp32_OrdinalMaps {

namespace {

// Resizes storage to Count elements, keeping what fits and zeroing the rest; the old storage stays
// whole when the new one cannot be had.
template <class T>
void ResizeStorage(std::vector<T>& Storage, std::size_t Count) {
    try {
        std::vector<T> grown(Count);
        std::copy_n(Storage.begin(), std::min(Count, Storage.size()), grown.begin());
        Storage.swap(grown);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory("Out of memory");
    } catch (const std::length_error&) {
        throw EOutOfMemory("Out of memory");
    }
}

std::uint8_t Channel(TColor32 C, TConversionType Conversion) {
    switch (Conversion) {
    case ctRed:
        return static_cast<std::uint8_t>(C >> 16);
    case ctGreen:
        return static_cast<std::uint8_t>(C >> 8);
    case ctBlue:
        return static_cast<std::uint8_t>(C);
    case ctAlpha:
        return static_cast<std::uint8_t>(C >> 24);
    case ctUniformRGB:
        return static_cast<std::uint8_t>((RedComponent(C) + GreenComponent(C) + BlueComponent(C)) / 3);
    case ctWeightedRGB:
        return static_cast<std::uint8_t>(Intensity(C));
    }
    return 0;
}

// The byte of the little-endian pixel that a channel conversion writes, or -1 for the grey ones.
int ChannelShift(TConversionType Conversion) {
    switch (Conversion) {
    case ctRed:
        return 16;
    case ctGreen:
        return 8;
    case ctBlue:
        return 0;
    case ctAlpha:
        return 24;
    default:
        return -1;
    }
}

} // namespace

void TBooleanMap::ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight) {
    ResizeStorage(FBits, (static_cast<std::size_t>(NewWidth) * NewHeight + 7) / 8);
    Width = NewWidth;
    Height = NewHeight;
}

void TBooleanMap::SetValue(int X, int Y, bool Value) {
    const std::size_t i = Index(X, Y);
    const auto mask = static_cast<std::uint8_t>(1u << (i & 7));
    if (Value)
        FBits[i >> 3] |= mask;
    else
        FBits[i >> 3] &= static_cast<std::uint8_t>(~mask);
}

void TBooleanMap::ToggleBit(int X, int Y) {
    const std::size_t i = Index(X, Y);
    FBits[i >> 3] ^= static_cast<std::uint8_t>(1u << (i & 7));
}

void TBooleanMap::Clear(std::uint8_t FillValue) {
    std::fill(FBits.begin(), FBits.end(), FillValue);
}

template <class T>
void TOrdinalMap<T>::ChangeSize(int& Width, int& Height, int NewWidth, int NewHeight) {
    ResizeStorage(FBits, static_cast<std::size_t>(NewWidth) * NewHeight);
    Width = NewWidth;
    Height = NewHeight;
}

template <class T>
void TOrdinalMap<T>::Clear(T FillValue) {
    std::fill(FBits.begin(), FBits.end(), FillValue);
    Changed();
}

template class TOrdinalMap<std::uint8_t>;
template class TOrdinalMap<std::uint16_t>;
template class TOrdinalMap<std::int32_t>;

void TByteMap::ReadFrom(const TBitmap32* Source, TConversionType Conversion) {
    if (!Source) throw Exception("The source is nil");
    BeginUpdate();
    try {
        SetSize(Source->Width(), Source->Height());
        if (!Empty() && !Source->Empty()) {
            const TColor32* src = Source->Bits();
            const std::size_t count = FBits.size();
            for (std::size_t i = 0; i < count; ++i)
                FBits[i] = Channel(src[i], Conversion);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    Changed();
}

void TByteMap::WriteTo(TBitmap32* Dest, TConversionType Conversion) const {
    if (!Dest) throw Exception("Destination is nil");
    Dest->BeginUpdate();
    try {
        Dest->SetSize(FWidth, FHeight);
        if (!Empty() && !Dest->Empty()) {
            TColor32* dst = Dest->Bits();
            const std::size_t count = FBits.size();
            const int shift = ChannelShift(Conversion);
            if (shift < 0) {
                for (std::size_t i = 0; i < count; ++i)
                    dst[i] = Gray32(FBits[i], 0xFF);
            } else {
                const TColor32 keep = ~(TColor32{0xFF} << shift);
                for (std::size_t i = 0; i < count; ++i)
                    dst[i] = (dst[i] & keep) | (TColor32{FBits[i]} << shift);
            }
        }
    } catch (...) {
        Dest->EndUpdate();
        throw;
    }
    Dest->EndUpdate();
    Dest->Changed();
}

void TByteMap::WriteTo(TBitmap32* Dest, const TColor32 (&Palette)[256]) const {
    if (!Dest) throw Exception("Destination is nil");
    Dest->BeginUpdate();
    try {
        Dest->SetSize(FWidth, FHeight);
        if (!Empty() && !Dest->Empty()) {
            TColor32* dst = Dest->Bits();
            const std::size_t count = FBits.size();
            for (std::size_t i = 0; i < count; ++i)
                dst[i] = Palette[FBits[i]];
        }
    } catch (...) {
        Dest->EndUpdate();
        throw;
    }
    Dest->EndUpdate();
    Dest->Changed();
}

void TByteMap::Assign(const TPersistent* Source) {
    BeginUpdate();
    try {
        if (auto* map = dynamic_cast<const TByteMap*>(Source)) {
            if (map != this) {
                SetSize(map->Width(), map->Height());
                std::copy(map->FBits.begin(), map->FBits.end(), FBits.begin());
            }
        } else if (auto* bitmap = dynamic_cast<const TBitmap32*>(Source)) {
            ReadFrom(bitmap, ctWeightedRGB);
        } else {
            TCustomMap::Assign(Source);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    Changed();
}

void TByteMap::AssignTo(TPersistent* Dest) const {
    if (auto* bitmap = dynamic_cast<TBitmap32*>(Dest))
        WriteTo(bitmap, ctUniformRGB);
    else
        TCustomMap::AssignTo(Dest);
}

} // namespace Bmp32_OrdinalMaps
