#pragma once
// Float-to-integer conversions. Values that do not fit in 32 bits (and NaN) give
// -2147483648, the x87 "integer indefinite", by an explicit test: a plain cast of such
// a value is undefined behaviour in C++.

#include "scene/base/VectorTypes.h"

#include <cstdint>

inline constexpr std::int32_t IntegerIndefinite = INT32_MIN;

// Toward zero: TruncSingle(-2.7) = -2.
std::int32_t TruncSingle(float value);

// Under the current rounding mode, which we leave at its default of to-nearest,
// ties-to-even: 2.5 gives 2, 3.5 gives 4, -2.5 gives -2.
std::int32_t RoundSingle(float value);

// The same rounding, kept as a float (no range limit).
float RoundFloat(float value);

// Toward zero, kept as a float.
TExtended TruncExtended(TExtended value);

// value - TruncExtended(value): the fraction keeps the sign of value (-2.75 -> -0.75).
float FracSingle(float value);
