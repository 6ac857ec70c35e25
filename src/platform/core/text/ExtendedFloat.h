#pragma once
// The 10-byte x87 extended float (64-bit significand with an explicit integer bit,
// 15-bit exponent biased by 16383, sign) as stored in files, little-endian. Built by
// hand from the double's bits so that it is the same on every processor.

#include <array>
#include <cstdint>

using TExtendedBytes = std::array<std::uint8_t, 10>;

// Exact: every double has an extended form.
TExtendedBytes EncodeExtended(double value);
// Rounded to the nearest double (ties to even); overflow gives an infinity, NaNs stay NaN.
double DecodeExtended(const TExtendedBytes& bytes);
