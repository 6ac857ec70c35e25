#include "engine/ArgumentNumbers.h"

#include "engine/EngineErrors.h"
#include "engine/FastDecimal.h"
#include "platform/core/text/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The platform's number grammar: a sign, digits with at most one point (at least one
// digit), an exponent E[sign]digits. Whether a numeral the parser refuses is too large
// or too small is read off its digits: the decimal exponent of its first significant
// digit, not the parser's guess from the exponent's sign ("1" and 400 zeros "e-5" is
// too large).
bool ReadNumeral(std::string_view text, double& value)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    const std::size_t n = text.size();
    std::size_t i = 0;
    const bool negative = i < n && text[i] == '-';
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const std::size_t body = i;
    std::int64_t digits = 0;
    std::int64_t intDigits = 0;
    std::int64_t firstSignificant = -1; // index among the digits
    bool point = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            if (firstSignificant < 0 && c != '0') {
                firstSignificant = digits;
            }
            ++digits;
            intDigits += point ? 0 : 1;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return false;
    }
    std::int64_t exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negativeExponent = i < n && text[i] == '-';
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t exponentBegin = i;
        for (; i < n && IsDigit(text[i]); ++i) {
            // Far beyond any double either way, and no overflow of its own.
            exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), 1000000000);
        }
        if (i == exponentBegin) {
            return false;
        }
        exponent = negativeExponent ? -exponent : exponent;
    }
    if (i != n) {
        return false;
    }
    double magnitude = 0.0;
    const char* const end = text.data() + n;
    const auto res = std::from_chars(text.data() + body, end, magnitude);
    if (res.ptr != end) {
        return false;
    }
    if (res.ec == std::errc::result_out_of_range) {
        const bool tooLarge = firstSignificant >= 0 && intDigits - 1 - firstSignificant + exponent >= 0;
        magnitude = tooLarge ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (res.ec != std::errc()) {
        return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

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
    return ReadNumeral(text, value);
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
