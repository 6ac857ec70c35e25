#include "engine/calcul/NumberBase.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace calc;

TEST(NumberBase, WritesDigitsMostSignificantFirst)
{
    struct Case {
        long long n;
        int base;
        const char* text;
    } cases[] = {
        {255, 16, "FF"},       {0, 2, "0"},          {5, 2, "101"},      {35, 8, "43"},
        {10, 10, "10"},        {-10, 2, "-1010"},    {-255, 16, "-FF"},  {1, 17, ""},
        {1, 1, ""},            {INT_MIN, 16, "-80000000"},
        {LLONG_MIN, 16, "-8000000000000000"},
        {0xFFFFFFFFFFLL, 2, "11111111111111111111111111111111"}, // at most 32 digits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumToBase(c.n, c.base), c.text) << c.n << " in " << c.base;
    }
}

TEST(NumberBase, ReadsDigitTexts)
{
    struct Case {
        const char* text;
        int base;
        long long value;
    } cases[] = {
        {"FF", 16, 255},   {"ff", 16, 255},  {"101", 2, 5},     {"00012", 10, 12}, {"000", 10, 0},
        {"", 10, 0},       {"G1", 16, -1},   {"1 2", 10, -1},   {"9", 2, 9}, // digits not checked against the base
        {"1", 1, -1},      {"1", 17, -1},    {"7FFFFFFF", 16, 2147483647}, {"80000000", 16, -1},
        {"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", 16, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BaseToNum(c.text, c.base), c.value) << c.text << " in " << c.base;
    }
}

} // namespace
