#include "scene/base/Utf8Text.h"

#include <gtest/gtest.h>

TEST(Utf8Text, DecodesOneToFourByteSequences)
{
    struct Case {
        std::string bytes;
        std::u16string units;
    } cases[] = {
        {"", u""},
        {"abc", u"abc"},
        {"\xC3\xA9", u"\u00E9"},
        {"\xE2\x82\xAC", u"\u20AC"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"a\xC3\xA9z", u"a\u00E9z"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UTF8ToWide(c.bytes), c.units) << c.bytes;
        EXPECT_EQ(WideToUTF8(c.units), c.bytes);
    }
}

TEST(Utf8Text, CutOffSequencesStopAtTheEndAndHugeValuesBecomeReplacement)
{
    EXPECT_EQ(UTF8ToWide("a\xE2\x82"), u"a\uFFFD");
    EXPECT_EQ(UTF8ToWide("\xF0"), u"\uFFFD");
    // A five-byte form of a value beyond U+10FFFF.
    EXPECT_EQ(UTF8ToWide("\xF8\x88\x80\x80\x80"), u"\uFFFD");
    EXPECT_EQ(WideToUTF8(u"\xD800x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(WideToUTF8(u"x\xDC00"), "x\xEF\xBF\xBD");
}

// Where the former decoder read invalid bytes by their lead alone, each damaged
// character now gives one U+FFFD and the characters after it survive.
TEST(Utf8Text, InvalidBytesGiveOneReplacementPerDamagedCharacter)
{
    struct Case {
        const char* bytes;
        std::u16string units;
    } cases[] = {
        {"\xC0\xAF", u"\uFFFD"},          // was "/": an overlong form
        {"\xED\xA0\x80", u"\uFFFD"},      // was a lone surrogate unit
        {"\x80" "a", u"\uFFFDa"},         // was U+0080
        {"\xE2" "ab", u"\uFFFDab"},       // was one character that swallowed "ab"
        {"\xF8\x80\x80\x80\x81", u"\uFFFD"}, // was U+0001 in five bytes
        {"\xE9\xE8", u"\uFFFD\uFFFD"},    // was one character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UTF8ToWide(c.bytes), c.units) << c.bytes;
    }
}
