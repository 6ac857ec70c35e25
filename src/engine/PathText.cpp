#include "engine/PathText.h"

#include "platform/core/NumberFormat.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {
// Writes one coordinate at `out` and returns the end; the general formatters give at
// most 24 characters ("-3.39999995214436E38", "-INF"), the fast path at most 23.
char* WriteFixed5(char* out, float value)
{
    // A float times 100000 is exact in a double (24 + 17 significant bits), and below
    // 2^52 adding one half is exact too, so truncating gives the half-up rounding of the
    // exact decimal value. Anything else takes the general formatters.
    const double scaled = std::fabs(static_cast<double>(value)) * 100000.0;
    if (!(scaled < 4503599627370496.0)) {
        // The number format keeps 15 significant digits: a value with more digits
        // before the point is written in its scientific form ("3.39999995214436E38"),
        // not as 39 digits. Infinities and NaN come out as "INF", "-INF" and "NAN".
        const bool scientific = std::isfinite(value) && std::fabs(static_cast<double>(value)) >= 1e15;
        const std::string text = scientific ? FloatToStrGeneral(value, 15) : FloatToStrFixed(value, 5);
        std::memcpy(out, text.data(), text.size());
        return out + text.size();
    }
    const auto n = static_cast<std::uint64_t>(scaled + 0.5);
    static constexpr char Pairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                                    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                    "8081828384858687888990919293949596979899";
    char buf[24];
    char* const end = buf + sizeof buf;
    char* p = end;
    auto frac = static_cast<std::uint32_t>(n % 100000);
    std::uint64_t whole = n / 100000;
    // Five decimals: two pairs and a single digit.
    for (int i = 0; i < 2; ++i) {
        const std::uint32_t pair = frac % 100;
        frac /= 100;
        *--p = Pairs[2 * pair + 1];
        *--p = Pairs[2 * pair];
    }
    *--p = static_cast<char>('0' + frac);
    *--p = '.';
    do {
        *--p = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (value < 0 && n != 0) {
        *--p = '-';
    }
    const auto length = static_cast<std::size_t>(end - p);
    std::memcpy(out, p, length);
    return out + length;
}

// The length WriteFixed5 gives, from the same rounding without the digits: the whole
// part of trunc(scaled + 0.5) / 100000 has one digit more for each power of ten from
// 10^6 that scaled + 0.5 reaches (an integer threshold, so no conversion is needed).
std::size_t Fixed5Length(float value)
{
    const double scaled = std::fabs(static_cast<double>(value)) * 100000.0;
    if (!(scaled < 4503599627370496.0)) {
        char buf[24];
        return static_cast<std::size_t>(WriteFixed5(buf, value) - buf);
    }
    const double rounded = scaled + 0.5;
    std::size_t digits = 1;
    for (double ten = 1e6; rounded >= ten; ten *= 10.0) {
        ++digits;
    }
    // Digits, the point, five decimals and a sign where the text is not all zeros.
    return digits + 6 + (value < 0 && rounded >= 1.0 ? 1 : 0);
}

// "x,y,z", then `tail`; one append, since a long run writes millions of nodes.
void AppendPoint(std::string& text, float x, float y, float z, std::string_view tail)
{
    char buf[3 * 24 + 2 + 2];
    char* w = WriteFixed5(buf, x);
    *w++ = ',';
    w = WriteFixed5(w, y);
    *w++ = ',';
    w = WriteFixed5(w, z);
    for (char c : tail) {
        *w++ = c;
    }
    text.append(buf, static_cast<std::size_t>(w - buf));
}
} // namespace

void AppendPointText(std::string& text, float x, float y, float z)
{
    AppendPoint(text, x, y, z, {});
}

void AppendPointLine(std::string& text, float x, float y, float z)
{
    AppendPoint(text, x, y, z, "\r\n");
}

std::size_t PointLineLength(float x, float y, float z)
{
    return Fixed5Length(x) + Fixed5Length(y) + Fixed5Length(z) + 4; // two commas, CR LF
}
