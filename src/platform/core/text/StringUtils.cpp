#include "platform/core/text/StringUtils.h"

#include <cstdint>
#include <cstring>

std::string UpperCase(std::string_view s)
{
    std::string out(s);
    // Eight characters at a time: values of millions of characters come here. Each
    // byte from 'a' to 'z' (and no other: not one of 128 or more) loses 0x20.
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t highs = 0x80 * ones;
    std::size_t i = 0;
    for (; i + 8 <= out.size(); i += 8) {
        std::uint64_t x;
        std::memcpy(&x, out.data() + i, 8);
        const std::uint64_t t = x | highs;
        const std::uint64_t lower = (t - 'a' * ones) & ~(t - ('z' + 1) * ones) & ~x & highs;
        x -= lower >> 2;
        std::memcpy(out.data() + i, &x, 8);
    }
    for (; i < out.size(); ++i) {
        out[i] = UpCaseChar(out[i]);
    }
    return out;
}

std::string LowerCase(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        c = LowCaseChar(c);
    }
    return out;
}

int CompareText(std::string_view a, std::string_view b)
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = static_cast<unsigned char>(UpCaseChar(a[i]));
        const unsigned char cb = static_cast<unsigned char>(UpCaseChar(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && UpCaseChar(a[i]) != UpCaseChar(b[i])) {
            return false;
        }
    }
    return true;
}

namespace {
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }
} // namespace

std::string TrimLeft(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && IsTrimmed(s[i])) {
        ++i;
    }
    return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s)
{
    std::size_t n = s.size();
    while (n > 0 && IsTrimmed(s[n - 1])) {
        --n;
    }
    return std::string(s.substr(0, n));
}

std::string Trim(std::string_view s) { return TrimRight(TrimLeft(s)); }
