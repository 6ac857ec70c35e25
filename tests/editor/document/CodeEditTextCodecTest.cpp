#include "editor/document/CodeEditTextCodec.h"
#include "editor/document/CodeEditStringList.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CodeEditTextCodec, Utf8Validity)
{
    struct Case {
        QByteArray bytes;
        bool valid;
    } cases[] = {
        {"plain ASCII text that is longer than eight bytes", true},
        {"caf\xC3\xA9", true},
        {"\xE2\x82\xAC", true},             // euro sign
        {"\xF0\x9F\x98\x80", true},         // outside the basic plane
        {"\xC3", false},                    // truncated
        {"abcdefgh\xE2\x82", false},        // truncated after the fast path
        {"\xC0\xAF", false},                // overlong
        {"\xE0\x80\xAF", false},            // overlong
        {"\xED\xA0\x80", false},            // a surrogate
        {"\xF4\x90\x80\x80", false},        // beyond U+10FFFF
        {"\x80", false},                    // stray continuation
        {"caf\xE9", false},                 // Windows-1252
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes.toHex().toStdString();
    }
}

TEST(CodeEditTextCodec, DetectsEncodingAndByteOrderMark)
{
    EXPECT_EQ(DetectTextEncoding("abc"), TTextEncoding::Utf8);
    EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBF" "abc"), TTextEncoding::Utf8Bom);
    EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBF" "\xE9"), TTextEncoding::Windows1252);
    EXPECT_EQ(DetectTextEncoding(""), TTextEncoding::Utf8);
}

TEST(CodeEditTextCodec, EveryWindows1252ByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    const QString text = DecodeText(all, TTextEncoding::Windows1252);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x81], QChar(0x81));
    EXPECT_EQ(text[0xE9], QChar(0xE9));
    EXPECT_TRUE(CanEncode(text, TTextEncoding::Windows1252));
    std::vector<char> out(static_cast<std::size_t>(MaxEncodedSize(text.size(), TTextEncoding::Windows1252)));
    char* end = EncodeText(text, TTextEncoding::Windows1252, out.data());
    EXPECT_EQ(QByteArray(out.data(), end - out.data()), all);
}

// A file is UTF-8 by the platform codec's rule and decodes through it; one that is not
// reads as Windows-1252, byte for byte, and saves back as it came.
TEST(CodeEditTextCodec, Utf8FilesDecodeThroughTheOneCodecAndOthersFallBack)
{
    struct Case {
        QByteArray bytes;
        QString text; // the first line, as loaded
    } cases[] = {
        {"M3,1,2 ' a comment longer than a word\n", "M3,1,2 ' a comment longer than a word"},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\r\n", QString::fromUtf16(u"caf\u00E9 \u20AC \U0001F600")},
        {"\xEF\xBB\xBF\xEF\xBB\xBFx", QString(QChar(0xFEFF)) + "x"}, // only the first mark is the file's
        {QByteArray("a\0b", 3), QString::fromUtf16(u"a\0b", 3)},
        {"caf\xE9", QString::fromUtf16(u"caf\u00E9")},
        {"\xC3\xA9\xA9", QString::fromUtf16(u"\u00C3\u00A9\u00A9")},
        {"\xC0\xAF \x80", QString::fromUtf16(u"\u00C0\u00AF \u20AC")},               // overlong
        {"\xED\xA0\x80", QString::fromUtf16(u"\u00ED\u00A0\u20AC")},                 // a surrogate
        {"\xF4\x90\x80\x80", QString::fromUtf16(u"\u00F4\u0090\u20AC\u20AC")},      // beyond U+10FFFF
        {"0123456789\xE2\x82", QString::fromUtf16(u"0123456789\u00E2\u201A")},         // cut off
    };
    for (const Case& c : cases) {
        TCodeEditStringList list;
        list.LoadFromBytes(c.bytes);
        ASSERT_GE(list.Count(), 1) << c.bytes.toHex().toStdString();
        EXPECT_EQ(list.Get(0), c.text) << c.bytes.toHex().toStdString();
        EXPECT_EQ(list.Encoding() == TTextEncoding::Windows1252, !IsValidUtf8(c.bytes));
        EXPECT_EQ(list.SaveToBytes(), c.bytes) << c.bytes.toHex().toStdString();
    }
    // Bytes that are not UTF-8 decoded as UTF-8 anyway (no file does) give the codec's
    // one U+FFFD per damaged character and never lose the character after it.
    EXPECT_EQ(DecodeText("\xE2\x82" "A\xC0\xAF\xE9\xE8\xC3\xA9", TTextEncoding::Utf8),
              QString::fromUtf16(u"\uFFFDA\uFFFD\uFFFD\uFFFD\u00E9"));
}

TEST(CodeEditTextCodec, Utf8EncodingOfPairsAndLoneSurrogates)
{
    struct Case {
        QString text;
        QByteArray bytes;
    } cases[] = {
        {QString::fromUtf16(u"a\u00E9\u20AC"), "a\xC3\xA9\xE2\x82\xAC"},
        {QString::fromUcs4(U"\U0001F600"), "\xF0\x9F\x98\x80"},
        {QString(QChar(0xD800)), "\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        std::vector<char> out(static_cast<std::size_t>(MaxEncodedSize(c.text.size(), TTextEncoding::Utf8)));
        char* end = EncodeText(c.text, TTextEncoding::Utf8, out.data());
        EXPECT_EQ(QByteArray(out.data(), end - out.data()), c.bytes);
    }
    EXPECT_FALSE(CanEncode(QString::fromUtf16(u"\u4E2D"), TTextEncoding::Windows1252));
    EXPECT_TRUE(CanEncode(QString::fromUtf16(u"\u4E2D"), TTextEncoding::Utf8));
}

} // namespace
