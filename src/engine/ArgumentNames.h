#pragma once
// What each numeric argument of a command holds, in the words an error uses to name
// it: a line that gives a speed of 1e400 is told that its speed is beyond the range,
// not that it has a target there.

#include <string_view>

// The value that argument `argument` (1 the first after the command word) of the
// upper-cased command `word` holds: "speed", "safe height", "scale" ...; "value" for
// an argument without a name of its own. Empty for a target coordinate (the moves' and
// jogs' axes, the end point of CG), whose error is the coordinate range's.
std::string_view ArgumentName(std::string_view word, int argument);
