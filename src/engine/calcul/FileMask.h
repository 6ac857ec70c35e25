#pragma once
// File-mask matching as used by the evaluator's "like" and "wildcard" operators:
// "*" matches any run of characters (also none), "?" exactly one character, and
// "[...]" one character of a set: single characters and ranges such as a-z, the whole
// set negated by a leading "!". Matching ignores case; an unclosed "[" is an ordinary
// character. Runs in O(text x mask) without recursion.

#include <string_view>

namespace calc {

bool MatchesMask(std::string_view text, std::string_view mask);

} // namespace calc
