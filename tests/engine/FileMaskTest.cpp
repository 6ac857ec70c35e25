#include "engine/calcul/FileMask.h"

#include <gtest/gtest.h>

namespace {

using calc::MatchesMask;

TEST(FileMask, Matches)
{
    struct Case {
        const char* text;
        const char* mask;
        bool match;
    } cases[] = {
        {"hello", "hello", true},     {"Hello", "hELLO", true},   {"hello", "h*", true},
        {"hello", "*o", true},        {"hello", "*l*", true},     {"hello", "*x*", false},
        {"hello", "h?llo", true},     {"hello", "h?lo", false},   {"", "*", true},
        {"", "", true},               {"a", "", false},           {"", "?", false},
        {"abc", "a**c", true},        {"abc", "[a-c]bc", true},   {"dbc", "[a-c]bc", false},
        {"dbc", "[!a-c]bc", true},    {"abc", "[!a-c]bc", false}, {"Bc", "[ab]c", true},
        {"x-", "x[-]", true},         {"a[b", "a[b", true},       {"a.sbp", "*.SBP", true},
        {"a.sbp.bak", "*.sbp", false}, {"aaab", "*a?b", true},   {"\xC3\xA9t\xC3\xA9", "\xC3\x89*", true},
        {"\xC3\xA9", "?", true},      // one character, two bytes
        {"mississippi", "m*iss*ppi", true}, {"mississippi", "m*iss*ppx", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchesMask(c.text, c.mask), c.match) << c.text << " ~ " << c.mask;
    }
}

TEST(FileMask, ManyStarsStayFast)
{
    const std::string text(20000, 'a');
    std::string mask;
    for (int i = 0; i < 50; ++i) {
        mask += "*a";
    }
    mask += "b";
    EXPECT_FALSE(MatchesMask(text, mask));
}

} // namespace
