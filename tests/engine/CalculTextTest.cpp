#include "engine/calcul/CalculText.h"
#include "engine/calcul/FileMask.h"

#include <gtest/gtest.h>

namespace {

using namespace calc;

TEST(CalculText, CountsAndOffsetsByCharacter)
{
    const std::string s = "a\xC3\xA9\xE2\x82\xAC" "b"; // a é € b
    EXPECT_EQ(CharCount(s), 4u);
    EXPECT_EQ(ByteOffset(s, 0), 0u);
    EXPECT_EQ(ByteOffset(s, 2), 3u);
    EXPECT_EQ(ByteOffset(s, 3), 6u);
    EXPECT_EQ(ByteOffset(s, 9), s.size());
    // A stray byte counts as one character and survives case mapping unchanged.
    const std::string stray = "a\xFF" "b";
    EXPECT_EQ(CharCount(stray), 3u);
    EXPECT_EQ(UpperText(stray), "A\xFF" "B");
    // A sequence cut off at the end is a stray byte too.
    EXPECT_EQ(CharCount("\xE2\x82"), 2u);
}

// Overlong forms, encoded surrogates and values beyond U+10FFFF were read as one
// character; now each of their bytes is a character of its own number, so an overlong
// "/" no longer matches a "/".
TEST(CalculText, BytesOutsideWellFormedUtf8AreCharactersOfTheirOwn)
{
    struct Case {
        const char* bytes;
        std::size_t chars;
        const char* upper;
    } cases[] = {
        {"\xE0\x80\xAF", 3, "\xE0\x80\xAF"},         // was "/"
        {"\xF0\x80\x80\xAF", 4, "\xF0\x80\x80\xAF"}, // was "/"
        {"\xED\xA0\x80", 3, "\xED\xA0\x80"},         // was U+D800
        {"\xF4\x90\x80\x80", 4, "\xF4\x90\x80\x80"}, // was U+110000
        {"\xE9t\xE9", 3, "\xE9T\xE9"},                // Windows-1252 letters, as before
    };
    for (const Case& c : cases) {
        const std::string_view s(c.bytes);
        EXPECT_EQ(CharCount(s), c.chars) << s;
        std::size_t pos = 0;
        EXPECT_EQ(DecodeChar(s, pos), static_cast<unsigned char>(s[0])) << s;
        EXPECT_EQ(pos, 1u);
        EXPECT_EQ(UpperText(s), c.upper) << s;
        EXPECT_FALSE(MatchesMask(s, "*/*")) << s;
        EXPECT_TRUE(MatchesMask(s, s)) << s;
    }
    EXPECT_FALSE(MatchesMask("\xE9", "\xE8")) << "two stray bytes stay different";
}

TEST(CalculText, CaseMappingIsLocaleFree)
{
    EXPECT_EQ(UpperText("abc\xC3\xA9\xC3\xBF\xC5\x93"), "ABC\xC3\x89\xC5\xB8\xC5\x92");
    EXPECT_EQ(LowerText("ABC\xC3\x89\xC3\x97"), "abc\xC3\xA9\xC3\x97"); // the multiplication sign stays
    EXPECT_EQ(UpperText("\xC3\xB7"), "\xC3\xB7");
}

TEST(CalculText, CodesFollowWindows1252)
{
    EXPECT_EQ(CharOfCode(65), U'A');
    EXPECT_EQ(CharOfCode(0x80), U'\u20AC');
    EXPECT_EQ(CharOfCode(0x81), 0x81u); // unassigned: its own number
    EXPECT_EQ(CharOfCode(0xE9), 0xE9u);
    EXPECT_EQ(CodeOfChar(U'\u20AC'), 0x80u);
    EXPECT_EQ(CodeOfChar(U'\u0153'), 0x9Cu);
    EXPECT_EQ(CodeOfChar(0x4E2D), 0x4E2Du); // outside the code page: the code point
}

TEST(CalculText, CopyAndPos)
{
    struct Case {
        const char* s;
        long long index, count;
        const char* out;
    } cases[] = {
        {"abcdef", 2, 3, "bcd"}, {"abcdef", 0, 2, "ab"}, {"abcdef", -3, 2, "ab"}, {"abcdef", 6, 5, "f"},
        {"abcdef", 7, 1, ""},    {"abcdef", 1, -1, ""},  {"", 1, 1, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CopyChars(c.s, c.index, c.count), c.out) << c.s << " " << c.index << " " << c.count;
    }
    EXPECT_EQ(PosChars("\xE2\x82\xAC" "b", "a\xC3\xA9\xE2\x82\xAC" "b"), 3);
    EXPECT_EQ(PosChars("", "abc"), 0);
    EXPECT_EQ(PosChars("z", "abc"), 0);
}

TEST(CalculText, Replace)
{
    EXPECT_EQ(ReplaceText("aAa", "a", "b", true, false), "bAb");
    EXPECT_EQ(ReplaceText("aAa", "a", "b", true, true), "bbb");
    EXPECT_EQ(ReplaceText("aAa", "A", "b", false, true), "bAa");
    EXPECT_EQ(ReplaceText("aaaa", "aa", "a", true, false), "aa"); // no rescanning of the output
    EXPECT_EQ(ReplaceText("abc", "", "x", true, true), "abc");
    EXPECT_EQ(ReplaceText("ab", "abc", "x", true, true), "ab");
}

} // namespace
