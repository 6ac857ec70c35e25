#include "platform/core/text/NumberFormat.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// The decimal digits of |value| rounded half away from zero to `keep` significant
// digits, and the decimal exponent of the first one (value = 0.d1d2d3... * 10^(exp+1)).
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

// Rounds a digit string in place, half away from zero at position `keep`; returns true
// when the rounding carried into a new leading digit.
bool RoundDigitsHalfUp(std::string& digits, std::size_t keep)
{
    if (digits.size() <= keep) {
        return false;
    }
    const bool up = digits[keep] >= '5';
    digits.resize(keep);
    if (!up) {
        return false;
    }
    for (std::size_t i = keep; i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    digits.insert(digits.begin(), '1');
    digits.pop_back();
    return true;
}

// Scientific digits of a finite, non-zero |value| with enough extra digits that a tie
// is seen exactly (a double near a tie differs from it well within 25 more digits).
DecimalDigits SignificantDigits(double value, int keep)
{
    char buf[128];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, keep + 25);
    std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    const auto ePos = text.find('e');
    DecimalDigits out;
    for (char c : text.substr(0, ePos)) {
        if (c != '.') {
            out.digits.push_back(c);
        }
    }
    std::from_chars(text.data() + ePos + (text[ePos + 1] == '+' ? 2 : 1), text.data() + text.size(), out.exponent);
    if (RoundDigitsHalfUp(out.digits, static_cast<std::size_t>(keep))) {
        ++out.exponent;
    }
    return out;
}

std::string NonFinite(double value)
{
    if (std::isnan(value)) {
        return "NAN";
    }
    return value < 0 ? "-INF" : "INF";
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the decimal grammar and returns the text without a leading '+', ready for
// from_chars (which accepts no '+', and would accept "inf" and "nan" that we refuse).
bool ValidFloatText(std::string_view s, std::string& cleaned)
{
    s = Trim(s);
    std::size_t i = 0;
    cleaned.clear();
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') {
            cleaned.push_back('-');
        }
        ++i;
    }
    std::size_t mantissaDigits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        cleaned.push_back(s[i++]);
        ++mantissaDigits;
    }
    if (i < s.size() && s[i] == '.') {
        cleaned.push_back(s[i++]);
        while (i < s.size() && IsDigit(s[i])) {
            cleaned.push_back(s[i++]);
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return false;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        cleaned.push_back('e');
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            cleaned.push_back(s[i++]);
        }
        std::size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) {
            cleaned.push_back(s[i++]);
            ++expDigits;
        }
        if (expDigits == 0) {
            return false;
        }
    }
    return i == s.size();
}

// Whether a numeral of ValidFloatText's form that the parser found out of range is too
// large (else too small): its first significant digit stands at a decimal exponent of
// 0 or more. The exponent's sign alone does not tell ("1" and 400 zeros "e-5" is too
// large).
bool NumeralTooLarge(std::string_view cleaned)
{
    std::int64_t digits = 0;
    std::int64_t intDigits = 0;
    std::int64_t firstSignificant = -1; // index among the digits
    bool point = false;
    std::size_t i = 0;
    for (; i < cleaned.size() && cleaned[i] != 'e'; ++i) {
        const char c = cleaned[i];
        if (c == '.') {
            point = true;
        } else if (IsDigit(c)) {
            if (firstSignificant < 0 && c != '0') {
                firstSignificant = digits;
            }
            ++digits;
            intDigits += point ? 0 : 1;
        }
    }
    if (firstSignificant < 0) {
        return false;
    }
    std::int64_t exponent = 0;
    if (i < cleaned.size()) {
        ++i;
        const bool negative = i < cleaned.size() && cleaned[i] == '-';
        for (; i < cleaned.size(); ++i) {
            if (IsDigit(cleaned[i])) {
                // Far beyond any float either way, and no overflow of its own.
                exponent = std::min<std::int64_t>(exponent * 10 + (cleaned[i] - '0'), 1000000000);
            }
        }
        exponent = negative ? -exponent : exponent;
    }
    return intDigits - 1 - firstSignificant + exponent >= 0;
}

// A numeral too small for F reads as zero. One too large is refused, or with
// `overflowToInfinity` reads as an infinity of its sign.
template <typename F>
bool ParseFloat(std::string_view text, F& value, bool overflowToInfinity = false)
{
    std::string cleaned;
    if (!ValidFloatText(text, cleaned)) {
        return false;
    }
    F parsed{};
    auto res = std::from_chars(cleaned.data(), cleaned.data() + cleaned.size(), parsed);
    if (res.ec == std::errc::result_out_of_range) {
        if (!NumeralTooLarge(cleaned)) {
            parsed = 0;
        } else if (overflowToInfinity) {
            parsed = std::numeric_limits<F>::infinity();
        } else {
            return false;
        }
        if (cleaned.front() == '-') {
            parsed = -parsed;
        }
    } else if (res.ec != std::errc() || res.ptr != cleaned.data() + cleaned.size()) {
        return false;
    }
    value = parsed;
    return true;
}

std::string Quote(std::string_view text) { return "'" + std::string(text) + "'"; }

} // namespace

std::string FloatToStrGeneral(double value, int precision)
{
    if (!std::isfinite(value)) {
        return NonFinite(value);
    }
    if (precision < 1) {
        precision = 1;
    } else if (precision > 18) {
        precision = 18;
    }
    if (value == 0) {
        return "0";
    }
    DecimalDigits d = SignificantDigits(value, precision);
    while (d.digits.size() > 1 && d.digits.back() == '0') {
        d.digits.pop_back();
    }
    std::string out = value < 0 ? "-" : "";
    const int intDigits = d.exponent + 1;
    if (intDigits > precision || std::fabs(value) < 1e-5) {
        out += d.digits[0];
        if (d.digits.size() > 1) {
            out += '.';
            out.append(d.digits, 1);
        }
        out += 'E';
        out += std::to_string(d.exponent);
        return out;
    }
    if (intDigits <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-intDigits), '0');
        out += d.digits;
        return out;
    }
    if (d.digits.size() <= static_cast<std::size_t>(intDigits)) {
        out += d.digits;
        out.append(static_cast<std::size_t>(intDigits) - d.digits.size(), '0');
        return out;
    }
    out.append(d.digits, 0, static_cast<std::size_t>(intDigits));
    out += '.';
    out.append(d.digits, static_cast<std::size_t>(intDigits));
    return out;
}

std::string FloatToStr(double value) { return FloatToStrGeneral(value, 15); }

std::string FloatToStrFixed(double value, int decimals)
{
    if (!std::isfinite(value)) {
        return NonFinite(value);
    }
    if (decimals < 0) {
        decimals = 0;
    }
    char buf[512];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed, decimals + 25);
    if (res.ec != std::errc()) {
        return FloatToStr(value);
    }
    std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    const auto point = text.find('.');
    std::string digits;
    digits.append(text.substr(0, point));
    digits.append(text.substr(point + 1));
    const std::size_t intDigits = point;
    const std::size_t keep = intDigits + static_cast<std::size_t>(decimals);
    const bool carried = RoundDigitsHalfUp(digits, keep);
    const std::size_t newInt = intDigits + (carried ? 1 : 0);
    if (carried) {
        digits.push_back('0');
        digits.resize(keep + 1);
    }
    bool allZero = digits.find_first_not_of('0') == std::string::npos;
    std::string out = (value < 0 && !allZero) ? "-" : "";
    out.append(digits, 0, newInt);
    if (decimals > 0) {
        out += '.';
        out.append(digits, newInt);
    }
    return out;
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

bool TryStrToFloat(std::string_view text, double& value) { return ParseFloat(text, value); }
bool TryStrToFloatOrInfinity(std::string_view text, double& value) { return ParseFloat(text, value, true); }
bool TryStrToExtended(std::string_view text, long double& value) { return ParseFloat(text, value); }

double StrToFloat(std::string_view text)
{
    double v = 0;
    if (!ParseFloat(text, v)) {
        throw EConvertError(Quote(text) + " is not a valid floating point value");
    }
    return v;
}

long double StrToExtended(std::string_view text)
{
    long double v = 0;
    if (!ParseFloat(text, v)) {
        throw EConvertError(Quote(text) + " is not a valid floating point value");
    }
    return v;
}

double StrToFloatDef(std::string_view text, double fallback)
{
    double v = 0;
    return ParseFloat(text, v) ? v : fallback;
}

bool TryStrToInt64(std::string_view text, std::int64_t& value)
{
    std::string_view s = text;
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) {
        return false;
    }
    std::uint64_t magnitude = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size()) {
        return false;
    }
    const std::uint64_t limit = negative ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                                         : std::uint64_t(std::numeric_limits<std::int64_t>::max());
    if (magnitude > limit) {
        return false;
    }
    value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

bool TryStrToInt(std::string_view text, int& value)
{
    std::int64_t wide = 0;
    if (!TryStrToInt64(text, wide) || wide < std::numeric_limits<int>::min() ||
        wide > std::numeric_limits<int>::max()) {
        return false;
    }
    value = static_cast<int>(wide);
    return true;
}

int StrToInt(std::string_view text)
{
    int v = 0;
    if (!TryStrToInt(text, v)) {
        throw EConvertError(Quote(text) + " is not a valid integer value");
    }
    return v;
}

std::int64_t StrToInt64(std::string_view text)
{
    std::int64_t v = 0;
    if (!TryStrToInt64(text, v)) {
        throw EConvertError(Quote(text) + " is not a valid integer value");
    }
    return v;
}

int StrToIntDef(std::string_view text, int fallback)
{
    int v = 0;
    return TryStrToInt(text, v) ? v : fallback;
}
