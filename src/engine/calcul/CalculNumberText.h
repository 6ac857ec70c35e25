#pragma once
// The evaluator's own number text. A value's text is what the language sees, so reading
// and writing it sits on the hot path of every expression (chains of arithmetic pass
// the rounded numbers instead, see RoundCalcNumber): both are locale-free and
// allocation-free for the common short values.

#include <string>
#include <string_view>

// Reads a complete number: blanks around are ignored, every "," counts as ".", then an
// optional sign, digits with at most one "." (at least one digit in all) and an
// optional exponent "e"/"E" with optional sign and at least one digit. False for
// anything else, the empty text included; `value` is then 0.
bool ReadCalcNumber(std::string_view text, long double& value);

// Fixed notation with 12 decimals, trailing zeros stripped, never a bare ".":
// 2.5, 3, -0.125, 0.333333333333. A value that rounds to zero is "0" (no "-0").
// Non-finite values are "Nan", "+Inf" and "-Inf".
void WriteCalcNumber(long double value, std::string& out);
std::string CalcNumberToText(long double value);

// The value that the text WriteCalcNumber gives for `value` reads back as, found
// without writing the text for the common magnitudes; false for a value whose text is
// no number (NaN and the infinities).
bool RoundCalcNumber(long double value, long double& rounded);
