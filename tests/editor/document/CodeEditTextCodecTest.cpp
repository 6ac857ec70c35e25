#include "editor/document/CodeEditTextCodec.h"
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
