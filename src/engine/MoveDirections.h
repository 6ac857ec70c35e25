#pragma once
// The direction and depth forms of MD: clock faces ("3:00"), compass points ("NNE"),
// turns ("45R") and depths given up or down from the current Z ("0.5U", "0.5D").
// Strict conversions: a text of none of the forms raises the conversion error, a
// number beyond a double's range ENumberRange.

#include <string_view>

// (h * 60 + m) / 2: "3:00" is 90, "12:00" is 360.
double ClockToDegrees(std::string_view text);
// Position in the 32-point compass times 11.25 ("E" is 90, "NNW" 337.5); 0 for none.
double CompassToDegrees(std::string_view text);
// The Z an MD depth asks for: empty keeps `current`, "nU" is current + n, "nD"
// current - n, a plain number n is current + n. Counts the current Z once.
float DepthToZ(std::string_view text, float current);
