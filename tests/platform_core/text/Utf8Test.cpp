#include "platform/core/text/Utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, EveryCharacterRoundTripsInItsShortestForm)
{
    struct Edge {
        char32_t code;
        std::string bytes;
    } edges[] = {
        {0x0000, std::string(1, '\0')},
        {0x007F, "\x7F"},
        {0x0080, "\xC2\x80"},
        {0x07FF, "\xDF\xBF"},
        {0x0800, "\xE0\xA0\x80"},
        {0xD7FF, "\xED\x9F\xBF"},
        {0xE000, "\xEE\x80\x80"},
        {0xFFFD, "\xEF\xBF\xBD"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const Edge& e : edges) {
        std::string out;
        AppendUtf8(out, e.code);
        EXPECT_EQ(out, e.bytes) << std::hex << static_cast<std::uint32_t>(e.code);
    }

    std::u32string all;
    std::u16string units;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c == 0xD800) {
            c = 0xE000;
        }
        all.push_back(c);
        std::string one;
        AppendUtf8(one, c);
        const TUtf8Char back = DecodeUtf8(one, 0);
        ASSERT_TRUE(back.valid && back.code == c && back.size == one.size())
            << std::hex << static_cast<std::uint32_t>(c);
        if (c < 0x10000) {
            units.push_back(static_cast<char16_t>(c));
        } else {
            units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    const std::string bytes = Utf32ToUtf8(all);
    EXPECT_TRUE(IsWellFormedUtf8(bytes));
    EXPECT_EQ(Utf8ToUtf32(bytes), all);
    EXPECT_EQ(Utf8ToUtf16(bytes), units);
    EXPECT_EQ(Utf16ToUtf8(units), bytes);
}

// Decoding takes an invalid byte alone (steps counts the characters by position); the
// whole string gives one U+FFFD per damaged character.
TEST(Utf8, InvalidBytesAreTakenOneByOneAndMarkedOncePerDamagedCharacter)
{
    struct Case {
        const char* bytes;
        std::size_t steps;
        const char16_t* text;
    } cases[] = {
        {"\x80", 1, u"\uFFFD"},                      // continuation byte without a lead
        {"\xBF\xBF" "a", 3, u"\uFFFDa"},
        {"\xC0\xAF", 2, u"\uFFFD"},                  // "/" overlong in two bytes
        {"\xC1\xBF", 2, u"\uFFFD"},
        {"\xE0\x80\xAF", 3, u"\uFFFD"},              // "/" overlong in three
        {"\xE0\x9F\xBF", 3, u"\uFFFD"},              // U+07FF overlong in three
        {"\xF0\x80\x80\xAF", 4, u"\uFFFD"},          // "/" overlong in four
        {"\xF0\x8F\xBF\xBF", 4, u"\uFFFD"},          // U+FFFF overlong in four
        {"\xED\xA0\x80", 3, u"\uFFFD"},              // a high surrogate
        {"\xED\xBF\xBF", 3, u"\uFFFD"},              // a low surrogate
        {"\xED\xA0\xBD\xED\xB8\x80", 6, u"\uFFFD\uFFFD"}, // a pair encoded half by half
        {"\xF4\x90\x80\x80", 4, u"\uFFFD"},          // U+110000
        {"\xF5\x80\x80\x80", 4, u"\uFFFD"},
        {"\xF8\x88\x80\x80\x80", 5, u"\uFFFD"},      // the retired five-byte form
        {"\xFC\x84\x80\x80\x80\x80", 6, u"\uFFFD"},  // and six-byte form
        {"\xFE\xFF", 2, u"\uFFFD\uFFFD"},
        {"\xC3", 1, u"\uFFFD"},                      // cut off by the end
        {"\xF0\x9F\x98", 3, u"\uFFFD"},
        {"\xE2\x82" "A", 3, u"\uFFFDA"},             // cut off by a character
        {"\xE2\xC3\xA9", 2, u"\uFFFD\u00E9"},        // which is never lost
        {"\xE9\xE8", 2, u"\uFFFD\uFFFD"},            // two Windows-1252 letters
        {"\xC3\xA9\xA9", 2, u"\u00E9\uFFFD"},
    };
    for (const Case& c : cases) {
        const std::string_view bytes(c.bytes);
        std::size_t steps = 0;
        for (std::size_t pos = 0; pos < bytes.size(); ++steps) {
            const TUtf8Char one = DecodeUtf8(bytes, pos);
            if (!one.valid) {
                EXPECT_EQ(one.code, kReplacementChar);
                EXPECT_EQ(one.size, 1);
            }
            pos += one.size;
        }
        EXPECT_EQ(steps, c.steps) << bytes;
        EXPECT_FALSE(IsWellFormedUtf8(bytes)) << bytes;
        EXPECT_EQ(Utf8ToUtf16(bytes), c.text) << bytes;
        EXPECT_EQ(Utf32ToUtf8(Utf8ToUtf32(bytes)), Utf16ToUtf8(c.text)) << bytes;
    }
}

// The conversions into a caller's buffer agree with the string ones and stay within
// their bounds (one unit a byte, three bytes a unit), which the worst cases fill: ASCII
// decoding and lone surrogates encoding. Runs of ASCII long and short surround the rest,
// so the word-at-a-time paths meet every kind of character at every offset.
TEST(Utf8, BufferConversionsAgreeAndStayWithinTheirBounds)
{
    const std::string pieces[] = {"a", "0123456789abcdef", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
                                  "\xE9", "\xED\xA0\x80", "\xE2\x82", std::string(1, '\0')};
    for (std::size_t shift = 0; shift < 8; ++shift) {
        for (const std::string& piece : pieces) {
            const std::string bytes = std::string(shift, 'x') + piece + std::string(11 - shift, 'y') + piece;
            std::u16string units(bytes.size(), u'?');
            units.resize(static_cast<std::size_t>(Utf8ToUtf16(bytes, units.data()) - units.data()));
            EXPECT_EQ(units, Utf8ToUtf16(bytes)) << shift << " " << bytes;
            const std::u32string chars = Utf8ToUtf32(bytes);
            EXPECT_EQ(Utf16ToUtf8(units), Utf32ToUtf8(chars)) << shift << " " << bytes;

            std::string back(3 * units.size(), '?');
            back.resize(static_cast<std::size_t>(Utf16ToUtf8(units, back.data()) - back.data()));
            EXPECT_EQ(back, Utf16ToUtf8(units)) << shift << " " << bytes;
            EXPECT_EQ(back == bytes, IsWellFormedUtf8(bytes)) << "only well-formed text comes back as it was";
        }
    }
    const std::string ascii(37, 'M');
    std::u16string widened(ascii.size(), u'?');
    EXPECT_EQ(Utf8ToUtf16(ascii, widened.data()), widened.data() + widened.size());
    EXPECT_EQ(widened, std::u16string(37, u'M'));
    const std::u16string lone(13, u'\xDC00');
    std::string marks(3 * lone.size(), '?');
    EXPECT_EQ(Utf16ToUtf8(lone, marks.data()), marks.data() + marks.size());
    std::string expected;
    for (std::size_t i = 0; i < lone.size(); ++i) {
        expected += "\xEF\xBF\xBD";
    }
    EXPECT_EQ(marks, expected);
}

TEST(Utf8, LoneSurrogatesAreReplacedUnlessKept)
{
    struct Case {
        std::u16string units;
        const char* replaced;
        const char* kept;
    } cases[] = {
        {u"\xD800x", "\xEF\xBF\xBDx", "\xED\xA0\x80x"},
        {u"x\xDC00", "x\xEF\xBF\xBD", "x\xED\xB0\x80"},
        {u"\xDC00\xD800", "\xEF\xBF\xBD\xEF\xBF\xBD", "\xED\xB0\x80\xED\xA0\x80"}, // the wrong order is no pair
        {u"\xD83D\xDE00", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf16ToUtf8(c.units), c.replaced);
        EXPECT_EQ(Utf16ToUtf8(c.units, TLoneSurrogates::Keep), c.kept);
        EXPECT_TRUE(IsWellFormedUtf8(c.kept, TLoneSurrogates::Keep));
        EXPECT_EQ(Utf8ToUtf16(c.kept, TLoneSurrogates::Keep), c.units);
    }
    // Halves written one by one read back as the pair they make.
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\xBD\xED\xB8\x80", TLoneSurrogates::Keep), u"\U0001F600");
    // Keeping surrogates widens nothing else.
    EXPECT_FALSE(IsWellFormedUtf8("\xE0\x80\xAF", TLoneSurrogates::Keep));
    EXPECT_FALSE(IsWellFormedUtf8("\xF4\x90\x80\x80", TLoneSurrogates::Keep));

    // A value that is no character encodes as U+FFFD.
    for (const char32_t c : {char32_t(0xD800), char32_t(0xDFFF), char32_t(0x110000), char32_t(0xFFFFFFFF)}) {
        std::string out;
        AppendUtf8(out, c);
        EXPECT_EQ(out, "\xEF\xBF\xBD") << std::hex << static_cast<std::uint32_t>(c);
    }
}

} // namespace
