#include "engine/MoveDirections.h"

#include "engine/ArgumentNumbers.h"
#include "platform/core/text/NumberFormat.h"
#include "platform/core/text/StringUtils.h"

#include <string>

double ClockToDegrees(std::string_view text)
{
    const std::string t = Trim(text);
    const std::size_t colon = t.find(':');
    const int h = StrToInt(Trim(std::string_view(t).substr(0, colon)));
    const int m = colon == std::string::npos ? 0 : StrToInt(Trim(std::string_view(t).substr(colon + 1)));
    return (h * 60.0 + m) / 2.0;
}

double CompassToDegrees(std::string_view text)
{
    static constexpr std::string_view points[16] = {"N",  "NNE", "NE", "ENE", "E",  "ESE", "SE", "SSE",
                                                    "S",  "SSW", "SW", "WSW", "W",  "WNW", "NW", "NNW"};
    for (int i = 15; i >= 0; --i) {
        if (points[i] == text) {
            return i * 2 * 11.25;
        }
    }
    return 0.0;
}

float DepthToZ(std::string_view text, float current)
{
    const std::string t = UpperCase(Trim(text));
    if (t.empty()) {
        return current;
    }
    if (t.size() >= 2 && t.back() == 'U') {
        return static_cast<float>(current + StrictDoubleArgument(Trim(std::string_view(t).substr(0, t.size() - 1))));
    }
    if (t.size() >= 2 && t.back() == 'D') {
        return static_cast<float>(current - StrictDoubleArgument(Trim(std::string_view(t).substr(0, t.size() - 1))));
    }
    return static_cast<float>(current + StrictDoubleArgument(t));
}
