#include "engine/FastDecimal.h"

#include <cstdint>

bool TryPlainDecimal(std::string_view text, double& value)
{
    static constexpr double Powers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
                                        1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    i += negative ? 1 : 0;
    std::uint64_t digits = 0;
    int count = 0;
    int decimals = 0;
    bool point = false;
    bool any = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            if (count > 0 || c != '0') {
                ++count;
            }
            digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            decimals += point ? 1 : 0;
            any = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    // Both the digits and the power of ten are exact doubles, so one division rounds
    // correctly. "5." and "." go to the full parser.
    if (!any || count > 15 || decimals > 15 || (point && text.back() == '.')) {
        return false;
    }
    const double v = static_cast<double>(digits) / Powers[decimals];
    value = negative ? -v : v;
    return true;
}
