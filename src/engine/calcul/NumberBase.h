#pragma once
// Whole numbers written in the bases 2 to 16 for the evaluator's numbase( and basenum(.

#include <string>
#include <string_view>

namespace calc {

// Digits "0".."9", "A".."F", most significant first, at most 32 of them (the least
// significant ones). A negative number is "-" followed by the digits of its absolute
// value. Empty for a base outside 2..16.
std::string NumToBase(long long n, int base);

// The value of a digit text (upper or lower case) in the base; digits are not checked
// against the base. -1 for a base outside 2..16, a character that is no digit, or a
// value beyond 32 bits. Leading zeros are ignored; an empty text is 0.
long long BaseToNum(std::string_view text, int base);

} // namespace calc
