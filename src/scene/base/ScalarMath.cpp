#include "scene/base/ScalarMath.h"

#include "scene/base/Rounding.h"

#include <array>
#include <cmath>

float WrapDegrees180(float angle)
{
    // The float32 reciprocal of 360 is a little above 1/360, so 360 * k wraps to 0
    // and 540 to 180 rather than to -180.
    TExtended r = angle - TruncExtended(TExtended(angle) * InvWholeTurnDegrees) * WholeTurnDegrees;
    if (r > HalfTurnDegrees)
        r -= WholeTurnDegrees;
    else if (r < -HalfTurnDegrees)
        r += WholeTurnDegrees;
    // Angles so large that the reciprocal's error exceeds a turn: use the exact
    // remainder instead of returning an angle outside the range.
    if (r > HalfTurnDegrees || r < -HalfTurnDegrees)
        r = std::remainder(TExtended(angle), TExtended(WholeTurnDegrees));
    return static_cast<float>(r);
}

void SinCos(float angle, float& sine, float& cosine)
{
    sine = static_cast<float>(std::sin(double(angle)));
    cosine = static_cast<float>(std::cos(double(angle)));
}

void SinCosExtended(TExtended angle, TExtended& sine, TExtended& cosine)
{
    sine = std::sin(angle);
    cosine = std::cos(angle);
}

void SinCosScaled(float angle, float radius, float& sine, float& cosine)
{
    sine = static_cast<float>(radius * std::sin(double(angle)));
    cosine = static_cast<float>(radius * std::cos(double(angle)));
}

TExtended ArcTan2(TExtended y, TExtended x)
{
    return std::atan2(y, x);
}

float ArcTan2Single(float y, float x)
{
    return static_cast<float>(std::atan2(double(y), double(x)));
}

TExtended ArcSin(TExtended x)
{
    return ArcTan2(x, std::sqrt(1 - x * x));
}

TExtended ArcCos(TExtended x)
{
    return ArcTan2(std::sqrt(1 - x * x), x);
}

TExtended Tangent(TExtended angle)
{
    return std::tan(angle);
}

float IntPower(float base, std::int32_t n)
{
    double result = 1;
    double p = base;
    // |n| as unsigned, so that -2^31 does not overflow.
    std::uint32_t m = n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
    while (m > 0) {
        if (m & 1u)
            result *= p;
        m >>= 1;
        if (m > 0)
            p *= p;
    }
    if (n < 0)
        result = 1 / result;
    return static_cast<float>(result);
}

float Power(float base, float exponent)
{
    if (exponent == 0)
        return 1;
    if (base == 0 && exponent > 0)
        return 0;
    if (exponent == RoundFloat(exponent)) {
        // Whole exponents beyond 32 bits (and infinities) cannot take the integer
        // path; pow gives them the right sign and magnitude.
        if (exponent >= -2147483648.0f && exponent < 2147483648.0f)
            return IntPower(base, RoundSingle(exponent));
        return static_cast<float>(std::pow(double(base), double(exponent)));
    }
    return static_cast<float>(std::exp(std::log(double(base)) * exponent));
}

double InvSqrt(double x)
{
    return 1 / std::sqrt(x);
}

std::int32_t RoundUpToPowerOf2(std::int32_t n)
{
    if (n < 2)
        return 1;
    if (n > (1 << 30))
        return 1 << 30;
    std::int32_t result = 1;
    while (result < n)
        result <<= 1;
    return result;
}

const std::uint8_t* SqrtByteTable()
{
    static const std::array<std::uint8_t, 256> table = [] {
        std::array<std::uint8_t, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[i] = static_cast<std::uint8_t>(
                TruncSingle(static_cast<float>(std::sqrt(i / 255.0) * 255)));
        return t;
    }();
    return table.data();
}
