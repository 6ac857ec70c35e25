#include "editor/document/CodeEditTextCodec.h"

#include "platform/core/text/Utf8.h"

#include <string_view>

namespace {

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves undefined map to
// the C1 control of the same value, so that any byte sequence round-trips.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int Cp1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return c;
    }
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == c) {
            return 0x80 + i;
        }
    }
    return -1;
}

std::string_view Bytes(QByteArrayView bytes)
{
    return std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

bool IsValidUtf8(QByteArrayView bytes) { return IsWellFormedUtf8(Bytes(bytes)); }

TTextEncoding DetectTextEncoding(QByteArrayView bytes)
{
    if (!IsValidUtf8(bytes)) {
        return TTextEncoding::Windows1252;
    }
    return bytes.startsWith(EncodingPreamble(TTextEncoding::Utf8Bom)) ? TTextEncoding::Utf8Bom
                                                                        : TTextEncoding::Utf8;
}

QByteArrayView EncodingPreamble(TTextEncoding encoding)
{
    static const char bom[] = "\xEF\xBB\xBF";
    return encoding == TTextEncoding::Utf8Bom ? QByteArrayView(bom, 3) : QByteArrayView();
}

QString DecodeText(QByteArrayView bytes, TTextEncoding encoding)
{
    QString text(bytes.size(), Qt::Uninitialized);
    if (encoding != TTextEncoding::Windows1252) {
        // A U+FEFF is a character of the text wherever it stands (two files with marks
        // joined into one); the file's own mark is skipped by the caller.
        char16_t* begin = reinterpret_cast<char16_t*>(text.data());
        text.truncate(Utf8ToUtf16(Bytes(bytes), begin) - begin);
        return text;
    }
    QChar* out = text.data();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char b = p[i];
        out[i] = QChar(b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

bool CanEncode(QStringView text, TTextEncoding encoding)
{
    if (encoding != TTextEncoding::Windows1252) {
        return true;
    }
    for (QChar c : text) {
        if (Cp1252Byte(c.unicode()) < 0) {
            return false;
        }
    }
    return true;
}

qsizetype MaxEncodedSize(qsizetype units, TTextEncoding encoding)
{
    return encoding == TTextEncoding::Windows1252 ? units : 3 * units;
}

char* EncodeText(QStringView text, TTextEncoding encoding, char* out)
{
    const char16_t* p = reinterpret_cast<const char16_t*>(text.data());
    const qsizetype n = text.size();
    if (encoding == TTextEncoding::Windows1252) {
        for (qsizetype i = 0; i < n; ++i) {
            const int b = Cp1252Byte(p[i]);
            *out++ = static_cast<char>(b < 0 ? '?' : b);
        }
        return out;
    }
    return Utf16ToUtf8(std::u16string_view(p, static_cast<std::size_t>(n)), out);
}
