#include "scene/base/Rounding.h"

#include <cmath>

namespace {

// Every float in [-2^31, 2^31) converts without overflow once it is integral.
bool FitsInt32(float integral)
{
    return integral >= -2147483648.0f && integral < 2147483648.0f;  // false for NaN
}

} // namespace

std::int32_t TruncSingle(float value)
{
    const float t = std::trunc(value);
    return FitsInt32(t) ? static_cast<std::int32_t>(t) : IntegerIndefinite;
}

std::int32_t RoundSingle(float value)
{
    const float r = std::nearbyint(value);
    return FitsInt32(r) ? static_cast<std::int32_t>(r) : IntegerIndefinite;
}

float RoundFloat(float value)
{
    return std::nearbyint(value);
}

TExtended TruncExtended(TExtended value)
{
    return std::trunc(value);
}

float FracSingle(float value)
{
    return static_cast<float>(value - TruncExtended(value));
}
