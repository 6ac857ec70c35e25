#pragma once
// A set of the members of a small enumeration, one bit per member in the enumeration's
// order, as the option sets of the editor family are stored (the bits are the number a
// settings file or a stream holds).

#include <cstdint>
#include <initializer_list>

template <class Enum, class Bits = std::uint8_t>
class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<Enum> members)
    {
        for (Enum m : members) {
            bits_ = static_cast<Bits>(bits_ | Bit(m));
        }
    }
    static constexpr TEnumSet FromBits(Bits bits)
    {
        TEnumSet s;
        s.bits_ = bits;
        return s;
    }

    constexpr Bits ToBits() const { return bits_; }
    constexpr bool Contains(Enum m) const { return (bits_ & Bit(m)) != 0; }
    constexpr TEnumSet With(Enum m) const { return FromBits(static_cast<Bits>(bits_ | Bit(m))); }
    constexpr TEnumSet Without(Enum m) const { return FromBits(static_cast<Bits>(bits_ & ~Bit(m))); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr bool operator==(const TEnumSet&) const = default;

private:
    static constexpr Bits Bit(Enum m) { return static_cast<Bits>(Bits{1} << static_cast<unsigned>(m)); }
    Bits bits_ = 0;
};
