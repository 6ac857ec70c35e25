#pragma once
// Locale-independent number text: "." is always the decimal separator and there is
// never a thousands separator, whatever the user's locale says.

#include <cstdint>
#include <string>
#include <string_view>

// Shortest general form with up to 15 significant digits: "0.1", "1234.5", "1E20",
// "1.5E-7"; trailing zeros and a bare decimal point are dropped. Ties round away from
// zero on the exact decimal expansion. NaN and infinities give "NAN", "INF", "-INF".
std::string FloatToStr(double value);

// General form with the given number of significant digits (1 to 18).
std::string FloatToStrGeneral(double value, int precision);

// Fixed form with exactly `decimals` digits after the point (none and no point for 0).
// Ties round away from zero.
std::string FloatToStrFixed(double value, int decimals);

std::string IntToStr(std::int64_t value);

// Strict conversions raise EConvertError with the text quoted:
//   "'abc' is not a valid floating point value", "'abc' is not a valid integer value".
// Accepted: optional blanks around, a sign, digits with one ".", an exponent E[sign]digits.
// Integers accept decimal digits or hexadecimal after "$" or "0x".
double StrToFloat(std::string_view text);
long double StrToExtended(std::string_view text);
int StrToInt(std::string_view text);
std::int64_t StrToInt64(std::string_view text);

// Tolerant conversions: false (or the default) instead of an error.
bool TryStrToFloat(std::string_view text, double& value);
// As TryStrToFloat, but a numeral beyond a double's range is a number too: an infinity
// of its sign (TryStrToFloat refuses it as it refuses a word).
bool TryStrToFloatOrInfinity(std::string_view text, double& value);
bool TryStrToExtended(std::string_view text, long double& value);
bool TryStrToInt(std::string_view text, int& value);
bool TryStrToInt64(std::string_view text, std::int64_t& value);
double StrToFloatDef(std::string_view text, double fallback);
int StrToIntDef(std::string_view text, int fallback);
