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

void WriteCalcNumber(long double value, std::string& out)
{
    out.clear();
    if (std::isnan(value)) {
        out = "Nan";
        return;
    }
    if (std::isinf(value)) {
        out = value < 0 ? "-Inf" : "+Inf";
        return;
    }
    char buf[64];
    char* end = nullptr;
    const bool negative = std::signbit(value);
    const long double magnitude = std::fabs(value);
    // Fast path: scale by 10^12 (exact) and round once to an integer. It is exact
    // unless the product lies so close to a half that its own rounding could have
    // moved it across; those values go through the library's exact conversion.
    bool done = false;
    if (magnitude < 1e6L) {
        const long double scaled = magnitude * 1e12L;
        const std::uint64_t whole = static_cast<std::uint64_t>(scaled); // below 1e18
        const long double frac = scaled - static_cast<long double>(whole);
        const long double tolerance = scaled * 0x1p-59L; // 16 units in the last place
        if (std::fabs(frac - 0.5L) > tolerance) {
            std::uint64_t units = whole + (frac > 0.5L ? 1 : 0);
            const std::uint64_t intPart = units / 1000000000000ULL;
            std::uint64_t fracPart = units % 1000000000000ULL;
            char* w = buf;
            if (negative && units != 0) {
                *w++ = '-';
            }
            w = std::to_chars(w, buf + sizeof buf, intPart).ptr;
            if (fracPart != 0) {
                *w++ = '.';
                char digits[12];
                for (int k = 11; k >= 0; --k) {
                    digits[k] = static_cast<char>('0' + fracPart % 10);
                    fracPart /= 10;
                }
                int last = 11;
                while (digits[last] == '0') {
                    --last;
                }
                for (int k = 0; k <= last; ++k) {
                    *w++ = digits[k];
                }
            }
            end = w;
            done = true;
        }
    }
    if (!done) {
        std::string big;
        char* start = buf;
        auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 12);
        if (res.ec != std::errc()) {
            big.resize(5000);
            res = std::to_chars(big.data(), big.data() + big.size(), value, std::chars_format::fixed, 12);
            start = big.data();
        }
        end = res.ptr;
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
        return;
    }
    out.assign(buf, static_cast<std::size_t>(end - buf));
}

std::string CalcNumberToText(long double value)
{
    std::string out;
    WriteCalcNumber(value, out);
    return out;
}
