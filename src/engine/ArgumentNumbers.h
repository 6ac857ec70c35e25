#pragma once
// Argument texts read as numbers by the commands that take coordinates and settings.
// The platform's plain conversion refuses a numeral beyond a double's range (1e400) as
// it refuses a word, and a command that then took it for an omitted argument would move
// to the wrong place without a word: here such a numeral is out of range.

#include "engine/EngineErrors.h"

#include <string_view>

// The number `text` holds (blanks around it allowed, "." the decimal point): false
// when it holds none (empty, blank, a word). A numeral beyond a double's range gives
// an infinity of its sign, and so do the "+Inf" and "-Inf" that the evaluator writes
// for an infinite result; a numeral too small for a double reads as 0.
bool ReadArgumentNumber(std::string_view text, double& value);

// The same for readers of doubles and of singles: a number beyond the reader's range
// raises ENumberRange naming the text.
bool ReadDoubleArgument(std::string_view text, double& value);
bool ReadSingleArgument(std::string_view text, float& value);
// The number of a text that must hold one: beyond a double it raises ENumberRange, and
// a text that holds none raises the platform's conversion error.
double StrictDoubleArgument(std::string_view text);

// Runs `read`, the reading of argument `argument` of a line (1 the first after the
// command word): the ENumberRange it raises carries that place, by which the error
// names the value.
template <class TRead>
auto ReadArgument(int argument, TRead&& read) -> decltype(read())
{
    try {
        return read();
    } catch (ENumberRange& e) {
        e.SetArgument(argument);
        throw;
    }
}
