#pragma once
// A quick reader for the plain decimal numbers that fill part programs ("12.5",
// "-0.125"): at most 15 significant digits and no exponent, read as an integer and
// divided once by a power of ten, which rounds exactly as a full parser does. Any other
// text is left to the platform's parser.

#include <string_view>

// False when the text is not of that plain form (not necessarily no number).
bool TryPlainDecimal(std::string_view text, double& value);
