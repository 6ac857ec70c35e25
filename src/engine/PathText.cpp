#include "engine/PathText.h"

#include "platform/core/text/NumberFormat.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {
// A float times 100000 is exact in a double (24 + 17 significant bits), and below 2^52
// adding one half is exact too, so truncating gives the half-up rounding of the exact
// decimal value. Anything else takes the general formatters.
constexpr double FastLimit = 4503599627370496.0; // 2^52

// The least positive single whose hundred-thousandths (rounded, or as they are) reach
// `limit`, computed as the writer computes them: a first guess, then single steps.
constexpr float LeastReaching(double limit, bool rounded)
{
    const auto reaches = [=](float a) { return static_cast<double>(a) * 100000.0 + (rounded ? 0.5 : 0.0) >= limit; };
    const auto step = [](float a, int by) { return std::bit_cast<float>(std::bit_cast<std::uint32_t>(a) + by); };
    auto a = static_cast<float>((limit - (rounded ? 0.5 : 0.0)) / 100000.0);
    while (!reaches(a)) {
        a = step(a, 1);
    }
    while (reaches(step(a, -1))) {
        a = step(a, -1);
    }
    return a;
}

// The length of a text depends only on where |value| lies among a few singles, so a
// results run counts each node's text with comparisons of singles alone. The fast path
// ends at Fast; from NonZero on a value is not written as all zeros (a "-" shows); from
// Whole[k] on (k from 1) its whole part has more than k digits (Whole[11] is never
// reached).
struct TFixed5Limits {
    float Fast;
    float NonZero;
    float Whole[12];
};

constexpr TFixed5Limits MakeLimits()
{
    TFixed5Limits limits{LeastReaching(FastLimit, false), LeastReaching(1.0, true), {}};
    double ten = 100000.0;
    for (int k = 1; k <= 10; ++k) {
        ten *= 10.0;
        limits.Whole[k] = LeastReaching(ten, true);
    }
    limits.Whole[11] = std::numeric_limits<float>::infinity();
    return limits;
}

constexpr TFixed5Limits Limits = MakeLimits();

// The text's length for |value| = magnitude below Limits.Fast: the sign, the whole
// digits, the point and five decimals. Most coordinates have few digits, so the
// search's branches are predicted, the better where each of a node's three counts has
// a copy of its own.
[[gnu::always_inline]] inline std::size_t FastLength(float value, float magnitude)
{
    std::size_t digits = 1;
    while (magnitude >= Limits.Whole[digits]) {
        ++digits;
    }
    return (value < 0 && magnitude >= Limits.NonZero ? 1 : 0) + digits + 6;
}

// A coordinate on the fast path: |value| in hundred-thousandths, rounded, and the length
// of its text, which counting finds the same way.
struct TFixed5 {
    std::uint64_t N;
    bool Negative; // and not written as all zeros
    std::size_t Length;
};

bool SplitFixed5(float value, TFixed5& f)
{
    const float magnitude = std::fabs(value);
    if (!(magnitude < Limits.Fast)) {
        return false;
    }
    // Below 2^52 the signed conversion is exact and needs no test of the top bit.
    f.N = static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<double>(magnitude) * 100000.0 + 0.5));
    f.Negative = value < 0 && f.N != 0;
    f.Length = FastLength(value, magnitude);
    return true;
}

// The general form, for what the fast path does not take. The number format keeps 15
// significant digits: a value with more digits before the point is written in its
// scientific form ("3.39999995214436E38"), not as 39 digits. Infinities and NaN come
// out as "INF", "-INF" and "NAN".
std::string GeneralText(float value)
{
    const bool scientific = std::isfinite(value) && std::fabs(static_cast<double>(value)) >= 1e15;
    return scientific ? FloatToStrGeneral(value, 15) : FloatToStrFixed(value, 5);
}

// Writes one coordinate at `out` and returns the end; at most 24 characters
// ("-3.39999995214436E38", "-INF"). The fast path writes in place, from the end back.
char* WriteFixed5(char* out, float value)
{
    TFixed5 f;
    if (!SplitFixed5(value, f)) {
        const std::string text = GeneralText(value);
        std::memcpy(out, text.data(), text.size());
        return out + text.size();
    }
    static constexpr char Pairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                                    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                                    "8081828384858687888990919293949596979899";
    const auto putPair = [](char* at, std::uint64_t pair) {
        at[0] = Pairs[2 * pair];
        at[1] = Pairs[2 * pair + 1];
    };
    char* const end = out + f.Length;
    char* p = end;
    std::uint64_t whole = f.N / 100000;
    auto frac = static_cast<std::uint32_t>(f.N - whole * 100000);
    // Five decimals: two pairs and a single digit.
    putPair(p -= 2, frac % 100);
    frac /= 100;
    putPair(p -= 2, frac % 100);
    *--p = static_cast<char>('0' + frac / 100);
    *--p = '.';
    // The whole part, two digits at a time.
    while (whole >= 100) {
        putPair(p -= 2, whole % 100);
        whole /= 100;
    }
    if (whole >= 10) {
        putPair(p -= 2, whole);
    } else {
        *--p = static_cast<char>('0' + whole);
    }
    if (f.Negative) {
        *--p = '-';
    }
    return end;
}

std::size_t GeneralLength(float value)
{
    return GeneralText(value).size();
}

// The length WriteFixed5 gives, found without writing it; small enough to sit inline in
// each of a node's three counts.
inline std::size_t Fixed5Length(float value)
{
    const float magnitude = std::fabs(value);
    return magnitude < Limits.Fast ? FastLength(value, magnitude) : GeneralLength(value);
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
