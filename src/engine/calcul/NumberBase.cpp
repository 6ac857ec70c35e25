#include "engine/calcul/NumberBase.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace calc {

std::string NumToBase(long long n, int base)
{
    if (base < 2 || base > 16) {
        return {};
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const bool negative = n < 0;
    // The magnitude as unsigned, so that the most negative value has one too.
    std::uint64_t v = negative ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    std::string digits;
    do {
        digits.push_back(kDigits[v % static_cast<unsigned>(base)]);
        v /= static_cast<unsigned>(base);
    } while (v != 0 && digits.size() < 32);
    if (negative) {
        digits.push_back('-');
    }
    std::reverse(digits.begin(), digits.end());
    return digits;
}

long long BaseToNum(std::string_view text, int base)
{
    if (base < 2 || base > 16) {
        return -1;
    }
    std::size_t start = 0;
    while (start < text.size() && text[start] == '0') {
        ++start;
    }
    text.remove_prefix(start);
    if (text.empty()) {
        return 0;
    }
    long double sum = 0;
    long double power = 1;
    for (std::size_t i = text.size(); i-- > 0;) {
        const char c = text[i];
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            return -1;
        }
        sum += digit * power;
        power *= base;
    }
    const long double value = std::trunc(sum + 0.1L);
    if (!(value <= 2147483647.0L)) {
        return -1; // beyond the 32-bit integer the routine answers with
    }
    return static_cast<long long>(value);
}

} // namespace calc
