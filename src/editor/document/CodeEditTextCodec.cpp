#include "editor/document/CodeEditTextCodec.h"

#include <QStringDecoder>

#include <cstring>

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

bool AllAscii8(const unsigned char* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return (word & 0x8080808080808080ull) == 0;
}

} // namespace

bool IsValidUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        if (i + 8 <= n && AllAscii8(p + i)) {
            i += 8;
            continue;
        }
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        std::uint32_t cp = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false; // continuation byte, overlong 0xC0/0xC1 lead or beyond U+10FFFF
        }
        if (i + extra >= n) { // truncated sequence
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = p[i + k];
            if ((cc & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

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
    if (encoding != TTextEncoding::Windows1252) {
        // Text is decoded line by line; QString::fromUtf8 would drop a U+FEFF that
        // starts a line (two files with marks joined into one). The file's own mark
        // is skipped by the caller before any line is decoded.
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    QString text(bytes.size(), Qt::Uninitialized);
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
    for (qsizetype i = 0; i < n; ++i) {
        std::uint32_t c = p[i];
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (p[i + 1] - 0xDC00);
            ++i;
            *out++ = static_cast<char>(0xF0 | (c >> 18));
            *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            if (c >= 0xD800 && c <= 0xDFFF) {
                c = 0xFFFD;
            }
            *out++ = static_cast<char>(0xE0 | (c >> 12));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}
