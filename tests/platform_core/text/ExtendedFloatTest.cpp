#include "platform/core/text/ExtendedFloat.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

namespace {

std::string Hex(const TExtendedBytes& b)
{
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t v : b) {
        out += digits[v >> 4];
        out += digits[v & 15];
    }
    return out;
}

TExtendedBytes FromHex(const std::string& hex)
{
    TExtendedBytes out{};
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    }
    return out;
}

} // namespace

TEST(ExtendedFloat, KnownEncodingsLittleEndian)
{
    struct Case {
        double value;
        const char* hex;
    } cases[] = {
        {0.0, "00000000000000000000"},
        {-0.0, "00000000000000000080"},
        {1.0, "0000000000000080FF3F"},
        {-2.0, "000000000000008000C0"},
        {0.5, "0000000000000080FE3F"},
        {3.0, "00000000000000C00040"},
        {0.1, "00D0CCCCCCCCCCCCFB3F"},
        {std::numeric_limits<double>::infinity(), "0000000000000080FF7F"},
        {-std::numeric_limits<double>::infinity(), "0000000000000080FFFF"},
        {std::numeric_limits<double>::denorm_min(), "0000000000000080CD3B"},
        {std::numeric_limits<double>::max(), "00F8FFFFFFFFFFFFFE43"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Hex(EncodeExtended(c.value)), c.hex) << c.value;
        const double back = DecodeExtended(FromHex(c.hex));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(c.value)) << c.hex;
    }
}

TEST(ExtendedFloat, RoundTripsEveryKindOfDouble)
{
    const double values[] = {1e-310, -4.9406564584124654e-324, 2.2250738585072014e-308, 1e308, -123.456,
                             1.0 / 3.0, 6.02214076e23, 127.5};
    for (double v : values) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(DecodeExtended(EncodeExtended(v))), std::bit_cast<std::uint64_t>(v)) << v;
    }
    EXPECT_TRUE(std::isnan(DecodeExtended(EncodeExtended(std::numeric_limits<double>::quiet_NaN()))));
}

TEST(ExtendedFloat, DecodingRoundsToNearestEvenAndOverflowsToInfinity)
{
    // 1 + 2^-53 exactly halfway between 1 and the next double: ties to even gives 1.
    EXPECT_EQ(DecodeExtended(FromHex("0004000000000080FF3F")), 1.0);
    // 1 + 3 * 2^-54 rounds up to 1 + 2^-52.
    EXPECT_EQ(DecodeExtended(FromHex("0006000000000080FF3F")), 1.0 + std::ldexp(1.0, -52));
    // 2^16000 is far beyond the double range.
    EXPECT_TRUE(std::isinf(DecodeExtended(FromHex("00000000000000807F7E"))));
    // 2^-16000 is below the smallest subnormal.
    EXPECT_EQ(DecodeExtended(FromHex("00000000000000807F01")), 0.0);
    // An unnormalised significand (no integer bit) still has its value: 2^-1 * 1.0.
    EXPECT_EQ(DecodeExtended(FromHex("0000000000000040FF3F")), 0.5);
}
