#include "engine/ArgumentNumbers.h"

#include "engine/EngineErrors.h"
#include "engine/FastDecimal.h"
#include "platform/core/text/NumberFormat.h"

#include <cmath>
#include <limits>

namespace {

[[noreturn]] void ThrowNumberRange(std::string_view text)
{
    throw ENumberRange(text);
}

} // namespace

bool ReadArgumentNumber(std::string_view text, double& value)
{
    if (TryPlainDecimal(text, value)) {
        return true;
    }
    // The evaluator's text for an infinite result; written by hand such a text is an
    // expression, and went to the evaluator itself.
    if (text == "+Inf" || text == "-Inf") {
        value = text[0] == '-' ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
        return true;
    }
    return TryStrToFloatOrInfinity(text, value);
}

bool ReadDoubleArgument(std::string_view text, double& value)
{
    if (!ReadArgumentNumber(text, value)) {
        return false;
    }
    if (std::isinf(value)) {
        ThrowNumberRange(text);
    }
    return true;
}

bool ReadSingleArgument(std::string_view text, float& value)
{
    double number = 0.0;
    if (!ReadArgumentNumber(text, number)) {
        return false;
    }
    value = static_cast<float>(number);
    if (std::isinf(value)) {
        ThrowNumberRange(text);
    }
    return true;
}

double StrictDoubleArgument(std::string_view text)
{
    double value = 0.0;
    return ReadDoubleArgument(text, value) ? value : StrToFloat(text);
}
