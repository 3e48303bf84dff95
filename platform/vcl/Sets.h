// Small sets of enumeration values, as the class library's set types ([ssShift, ssCtrl], [fsBold]).
// Values must lie in 0..63.
#pragma once

#include <cstdint>
#include <initializer_list>

template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(E value) : bits_(Bit(value)) {}
    constexpr TSet(std::initializer_list<E> values) {
        for (E v : values)
            bits_ |= Bit(v);
    }

    constexpr bool Contains(E value) const { return (bits_ & Bit(value)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint64_t Bits() const { return bits_; }
    static constexpr TSet FromBits(std::uint64_t bits) {
        TSet s;
        s.bits_ = bits;
        return s;
    }

    constexpr TSet& operator<<(E value) {
        bits_ |= Bit(value);
        return *this;
    }
    constexpr TSet& operator>>(E value) {
        bits_ &= ~Bit(value);
        return *this;
    }
    constexpr TSet operator+(TSet other) const { return FromBits(bits_ | other.bits_); }
    constexpr TSet operator-(TSet other) const { return FromBits(bits_ & ~other.bits_); }
    constexpr TSet operator*(TSet other) const { return FromBits(bits_ & other.bits_); }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr std::uint64_t Bit(E value) { return std::uint64_t(1) << static_cast<unsigned>(value); }
    std::uint64_t bits_ = 0;
};
