#include "engine/calcul/CalculNumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// 10^k for k <= 27 is exact in the 64-bit mantissa of long double, so one division or
// multiplication by it rounds the result only once.
constexpr int kMaxExactPow10 = 27;

constexpr auto kPow10 = [] {
    struct Table {
        long double p[kMaxExactPow10 + 1];
    } t{};
    long double v = 1;
    for (int i = 0; i <= kMaxExactPow10; ++i) {
        t.p[i] = v;
        v *= 10;
    }
    return t;
}();

long double Pow10(int k) { return kPow10.p[k]; }

// The slow, exact path for long mantissas and large exponents.
bool ReadWithLibrary(std::string_view text, bool negative, long double& value)
{
    std::string cleaned(text);
    bool tinyExponent = false;
    for (std::size_t i = 0; i < cleaned.size(); ++i) {
        if (cleaned[i] == ',') {
            cleaned[i] = '.';
        } else if ((cleaned[i] == 'e' || cleaned[i] == 'E') && i + 1 < cleaned.size() && cleaned[i + 1] == '-') {
            tinyExponent = true;
        }
    }
    long double parsed = 0;
    const char* end = cleaned.data() + cleaned.size();
    auto res = std::from_chars(cleaned.data(), end, parsed);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero, overflow as infinity: the text was a number.
        parsed = tinyExponent ? 0.0L : HUGE_VALL;
    } else if (res.ec != std::errc() || res.ptr != end) {
        return false;
    }
    value = negative ? -parsed : parsed;
    return true;
}

} // namespace

bool ReadCalcNumber(std::string_view text, long double& value)
{
    value = 0;
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ') {
        ++b;
    }
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') {
        --e;
    }
    std::size_t i = b;
    bool negative = false;
    if (i < e && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t bodyStart = i;
    std::uint64_t mantissa = 0;
    int significant = 0;    // digits gathered into the mantissa, leading zeros excluded
    int digits = 0;         // all mantissa digits seen
    int dropped = 0;        // integer digits that did not fit into the mantissa
    int fractionDigits = 0; // fraction digits that did fit
    bool overflowed = false;
    while (i < e && IsDigit(text[i])) {
        ++digits;
        if (significant < 19) {
            mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
            if (mantissa != 0) {
                ++significant;
            }
        } else {
            overflowed = true;
            ++dropped;
        }
        ++i;
    }
    if (i < e && (text[i] == '.' || text[i] == ',')) {
        ++i;
        while (i < e && IsDigit(text[i])) {
            ++digits;
            if (significant < 19) {
                mantissa = mantissa * 10 + static_cast<unsigned>(text[i] - '0');
                if (mantissa != 0) {
                    ++significant;
                }
                ++fractionDigits;
            } else {
                overflowed = true;
            }
            ++i;
        }
    }
    if (digits == 0) {
        return false;
    }
    int exponent = 0;
    if (i < e && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < e && (text[i] == '+' || text[i] == '-')) {
            expNegative = text[i] == '-';
            ++i;
        }
        if (i >= e || !IsDigit(text[i])) {
            return false;
        }
        while (i < e && IsDigit(text[i])) {
            if (exponent < 100000) {
                exponent = exponent * 10 + (text[i] - '0');
            }
            ++i;
        }
        if (expNegative) {
            exponent = -exponent;
        }
    }
    if (i != e) {
        return false;
    }
    const int scale = exponent + dropped - fractionDigits;
    if (!overflowed && scale >= -kMaxExactPow10 && scale <= kMaxExactPow10) {
        long double v = static_cast<long double>(mantissa);
        v = scale < 0 ? v / Pow10(-scale) : v * Pow10(scale);
        value = negative ? -v : v;
        return true;
    }
    return ReadWithLibrary(text.substr(bodyStart, e - bodyStart), negative, value);
}

namespace {

constexpr std::uint64_t kUnitsPerOne = 1000000000000ULL;

// The fast path shared by the writer and the rounding: |value| in units of 10^-12,
// rounded half up. Scaling by 10^12 is exact and the rounding to an integer happens
// once; it is exact unless the product lies so close to a half that its own rounding
// could have moved it across, and those values (and magnitudes of a million and more)
// are left to the library's exact conversion.
bool FastUnits(long double magnitude, std::uint64_t& units)
{
    if (!(magnitude < 1e6L)) {
        return false;
    }
    const long double scaled = magnitude * 1e12L;
    const std::uint64_t whole = static_cast<std::uint64_t>(scaled); // below 1e18
    const long double frac = scaled - static_cast<long double>(whole);
    const long double tolerance = scaled * 0x1p-59L; // 16 units in the last place
    if (!(std::fabs(frac - 0.5L) > tolerance)) {
        return false;
    }
    units = whole + (frac > 0.5L ? 1 : 0);
    return true;
}

// Fixed notation with 12 decimals through the library, trailing zeros stripped.
void WriteWithLibrary(long double value, std::string& out)
{
    char buf[64];
    std::string big;
    char* start = buf;
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 12);
    if (res.ec != std::errc()) {
        big.resize(5000);
        res = std::to_chars(big.data(), big.data() + big.size(), value, std::chars_format::fixed, 12);
        start = big.data();
    }
    char* end = res.ptr;
    // Strip trailing zeros but keep one digit after the point, then drop ".0".
    while (end[-1] == '0' && end[-2] != '.') {
        --end;
    }
    if (end[-1] == '0' && end[-2] == '.') {
        end -= 2;
    }
    std::string_view text(start, static_cast<std::size_t>(end - start));
    if (text == "-0") {
        text = "0";
    }
    out.assign(text);
}

} // namespace

void WriteCalcNumber(long double value, std::string& out)
{
    if (std::isnan(value)) {
        out = "Nan";
        return;
    }
    if (std::isinf(value)) {
        out = value < 0 ? "-Inf" : "+Inf";
        return;
    }
    std::uint64_t units = 0;
    if (!FastUnits(std::fabs(value), units)) {
        WriteWithLibrary(value, out);
        return;
    }
    char buf[40];
    char* w = buf;
    if (std::signbit(value) && units != 0) {
        *w++ = '-';
    }
    const std::uint64_t intPart = units / kUnitsPerOne;
    const std::uint64_t fracPart = units % kUnitsPerOne;
    w = std::to_chars(w, buf + sizeof buf, intPart).ptr;
    if (fracPart != 0) {
        // Twelve digits in two halves of six, then the trailing zeros cut.
        *w++ = '.';
        auto high = static_cast<std::uint32_t>(fracPart / 1000000);
        auto low = static_cast<std::uint32_t>(fracPart % 1000000);
        for (int k = 5; k >= 0; --k) {
            w[k] = static_cast<char>('0' + high % 10);
            w[k + 6] = static_cast<char>('0' + low % 10);
            high /= 10;
            low /= 10;
        }
        int last = 11;
        while (w[last] == '0') {
            --last;
        }
        w += last + 1;
    }
    out.assign(buf, static_cast<std::size_t>(w - buf));
}

bool RoundCalcNumber(long double value, long double& rounded)
{
    if (!std::isfinite(value)) {
        return false;
    }
    std::uint64_t units = 0;
    if (FastUnits(std::fabs(value), units)) {
        // The text holds units / 10^12 with its trailing zeros stripped, and the reader
        // divides its digits by the matching power of ten: the same quotient of two
        // exact numbers, rounded once, so the same value. Zero reads back without sign.
        const long double magnitude = static_cast<long double>(units) / 1e12L;
        rounded = units == 0 ? 0.0L : (std::signbit(value) ? -magnitude : magnitude);
        return true;
    }
    std::string text;
    WriteWithLibrary(value, text);
    return ReadCalcNumber(text, rounded);
}

std::string CalcNumberToText(long double value)
{
    std::string out;
    WriteCalcNumber(value, out);
    return out;
}
