#include "engine/FastDecimal.h"

#include <cstdint>

bool TryPlainDecimal(std::string_view text, double& value)
{
    static constexpr double Powers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
                                        1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    p += negative ? 1 : 0;
    const char* const digitsBegin = p;
    std::uint64_t digits = 0;
    while (p != end && static_cast<unsigned>(*p - '0') < 10) {
        digits = digits * 10 + static_cast<unsigned>(*p - '0');
        ++p;
    }
    std::size_t count = static_cast<std::size_t>(p - digitsBegin);
    std::size_t decimals = 0;
    if (p != end && *p == '.') {
        const char* const fraction = ++p;
        while (p != end && static_cast<unsigned>(*p - '0') < 10) {
            digits = digits * 10 + static_cast<unsigned>(*p - '0');
            ++p;
        }
        decimals = static_cast<std::size_t>(p - fraction);
        // "5." and "." go to the full parser.
        if (decimals == 0) {
            return false;
        }
        count += decimals;
    }
    if (p != end || count == 0 || decimals > 15) {
        return false;
    }
    if (count > 19) {
        // The digits may have overflowed: count the significant ones (from the first
        // that is not zero) one by one.
        std::size_t leading = 0;
        for (const char* q = digitsBegin; q != end && (*q == '0' || *q == '.'); ++q) {
            leading += *q == '0' ? 1 : 0;
        }
        if (count - leading > 15) {
            return false;
        }
    } else if (digits >= 1000000000000000ULL) {
        return false; // more than 15 significant digits
    }
    // Both the digits and the power of ten are exact doubles, so one division rounds
    // correctly.
    const double v = static_cast<double>(digits) / Powers[decimals];
    value = negative ? -v : v;
    return true;
}
