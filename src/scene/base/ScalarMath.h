#pragma once
// Angle and scalar helpers of the 3D side. float32 in and out unless a routine works
// in extended; intermediates are wider than float32.

#include "scene/base/VectorTypes.h"

#include <cstdint>

inline float DegToRad(float degrees) { return static_cast<float>(double(degrees) * DegToRadFactor); }
inline float RadToDeg(float radians) { return static_cast<float>(double(radians) * RadToDegFactor); }
inline TExtended DegToRadExtended(TExtended degrees) { return degrees * DegToRadFactorExtended; }
inline TExtended RadToDegExtended(TExtended radians) { return radians * RadToDegFactorExtended; }

// The angle brought into [-180, 180]; both ends are kept as they are (540 -> 180,
// -540 -> -180, 190 -> -170).
float WrapDegrees180(float angle);

void SinCos(float angle, float& sine, float& cosine);
void SinCosExtended(TExtended angle, TExtended& sine, TExtended& cosine);
// sine := radius * sin(angle), cosine := radius * cos(angle).
void SinCosScaled(float angle, float radius, float& sine, float& cosine);

// The angle of (x, y) in (-pi, pi].
TExtended ArcTan2(TExtended y, TExtended x);
float ArcTan2Single(float y, float x);
// Through ArcTan2, so that 1 and -1 are exact; |x| > 1 gives NaN.
TExtended ArcSin(TExtended x);
TExtended ArcCos(TExtended x);
TExtended Tangent(TExtended angle);

// base ^ exponent: 1 for a zero exponent (also 0^0), 0 for a zero base and a positive
// exponent, the integer path for whole exponents (so negative bases work), else
// exp(ln(base) * exponent).
float Power(float base, float exponent);
// base ^ n by repeated squaring; 1 / base^|n| for negative n.
float IntPower(float base, std::int32_t n);

double InvSqrt(double x);

inline TExtended MaxExtended(TExtended a, TExtended b) { return a > b ? a : b; }
inline std::int32_t MaxInteger(std::int32_t a, std::int32_t b) { return a > b ? a : b; }

inline float MinOf3(float a, float b, float c)
{
    const float m = a < b ? a : b;
    return m < c ? m : c;
}

inline float MaxOf3(float a, float b, float c)
{
    const float m = a > b ? a : b;
    return m > c ? m : c;
}

// min when value < min, max when value > max, else value; min is tested first, so
// with min > max every value below min gives min and every other value gives max.
inline float ClampValue(float value, float min, float max)
{
    if (value < min)
        return min;
    if (value > max)
        return max;
    return value;
}

// true when x lies between a and b inclusive, whichever of them is the smaller.
inline bool IsInRange(float x, float a, float b)
{
    return a <= b ? (a <= x && x <= b) : (b <= x && x <= a);
}

// 1 below 2, else the smallest power of two >= n. Above 2^30 no 32-bit power of two
// is large enough; the largest one, 2^30, is returned instead of overflowing.
std::int32_t RoundUpToPowerOf2(std::int32_t n);

// t[i] = TruncSingle(sqrt(i / 255) * 255) for i in 0..255, built once and shared.
const std::uint8_t* SqrtByteTable();
