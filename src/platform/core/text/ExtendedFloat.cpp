#include "platform/core/text/ExtendedFloat.h"

#include <bit>
#include <limits>

namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;

// v >> shift rounded to nearest, ties to even; shift may exceed 63.
std::uint64_t ShiftRightRoundEven(std::uint64_t v, int shift)
{
    if (shift <= 0) {
        return v;
    }
    if (shift > 64) {
        return 0;
    }
    const std::uint64_t kept = shift == 64 ? 0 : v >> shift;
    const std::uint64_t rest = shift == 64 ? v : v & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    if (rest > half || (rest == half && (kept & 1) != 0)) {
        return kept + 1;
    }
    return kept;
}

} // namespace

TExtendedBytes EncodeExtended(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const std::uint16_t sign = (bits >> 63) != 0 ? 0x8000 : 0;
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);

    std::uint64_t significand = 0;
    int extendedExponent = 0;
    if (exponent == 0x7FF) {
        extendedExponent = 0x7FFF;
        significand = (std::uint64_t{1} << 63) | (fraction << 11);
        if (fraction != 0) {
            significand |= std::uint64_t{1} << 62; // keep NaNs quiet
        }
    } else if (exponent != 0) {
        extendedExponent = exponent - kDoubleBias + kExtendedBias;
        significand = (std::uint64_t{1} << 63) | (fraction << 11);
    } else if (fraction != 0) {
        // A double subnormal is a normal extended number.
        const int shift = std::countl_zero(fraction << 11);
        significand = (fraction << 11) << shift;
        extendedExponent = 1 - kDoubleBias + kExtendedBias - shift;
    }

    TExtendedBytes out{};
    for (int i = 0; i < 8; ++i) {
        out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(significand >> (8 * i));
    }
    const std::uint16_t top = static_cast<std::uint16_t>(sign | extendedExponent);
    out[8] = static_cast<std::uint8_t>(top & 0xFF);
    out[9] = static_cast<std::uint8_t>(top >> 8);
    return out;
}

double DecodeExtended(const TExtendedBytes& bytes)
{
    std::uint64_t significand = 0;
    for (int i = 7; i >= 0; --i) {
        significand = (significand << 8) | bytes[static_cast<std::size_t>(i)];
    }
    const std::uint16_t top = static_cast<std::uint16_t>(bytes[8] | (bytes[9] << 8));
    const std::uint64_t sign = (top & 0x8000) != 0 ? std::uint64_t{1} << 63 : 0;
    const int exponent = top & 0x7FFF;

    if (exponent == 0x7FFF) {
        if ((significand << 1) == 0) {
            return std::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52));
        }
        const std::uint64_t payload = (significand << 1) >> 12;
        return std::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52) | (std::uint64_t{1} << 51) | payload);
    }
    if (significand == 0) {
        return std::bit_cast<double>(sign);
    }
    // Value = significand * 2^(e - 63) with the integer bit brought to bit 63.
    int e = (exponent == 0 ? 1 : exponent) - kExtendedBias;
    const int lead = std::countl_zero(significand);
    significand <<= lead;
    e -= lead;

    if (e > kDoubleBias) {
        return std::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52));
    }
    if (e >= 1 - kDoubleBias) {
        std::uint64_t mantissa = ShiftRightRoundEven(significand, 11);
        if (mantissa == (std::uint64_t{1} << 53)) {
            mantissa >>= 1;
            ++e;
            if (e > kDoubleBias) {
                return std::bit_cast<double>(sign | (std::uint64_t{0x7FF} << 52));
            }
        }
        const std::uint64_t biased = static_cast<std::uint64_t>(e + kDoubleBias);
        return std::bit_cast<double>(sign | (biased << 52) | (mantissa & ((std::uint64_t{1} << 52) - 1)));
    }
    // Subnormal result: the fraction field holds value / 2^-1074; rounding may carry
    // into the smallest normal, which the bit layout handles by itself.
    const int shift = 11 + (1 - kDoubleBias - e);
    const std::uint64_t fraction = ShiftRightRoundEven(significand, shift);
    return std::bit_cast<double>(sign | fraction);
}
