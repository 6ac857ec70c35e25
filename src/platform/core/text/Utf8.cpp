#include "platform/core/text/Utf8.h"

#include <bit>
#include <cstring>

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }
bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// How many bytes from p on are ASCII, which whole files are mostly made of: eight at a
// time while they last.
std::size_t AsciiRun(const unsigned char* p, std::size_t n)
{
    std::size_t i = 0;
    for (std::uint64_t word; i + 8 <= n; i += 8) {
        std::memcpy(&word, p + i, 8);
        if (word & kHighBits) {
            break;
        }
    }
    while (i < n && p[i] < 0x80) {
        ++i;
    }
    return i;
}

// Widens n ASCII bytes to UTF-16, four at a time by spreading each byte of a word into
// a 16-bit lane (on little-endian machines, where a word's first byte is its lowest).
char16_t* WidenAscii(const unsigned char* p, std::size_t n, char16_t* out)
{
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (std::uint32_t four; i + 4 <= n; i += 4, out += 4) {
            std::memcpy(&four, p + i, 4);
            std::uint64_t lanes = four;
            lanes = (lanes | (lanes << 16)) & 0x0000FFFF0000FFFFull;
            lanes = (lanes | (lanes << 8)) & 0x00FF00FF00FF00FFull;
            std::memcpy(out, &lanes, 8);
        }
    }
    for (; i < n; ++i) {
        *out++ = p[i];
    }
    return out;
}

// Calls ascii(p, n) for each run of ASCII bytes, emit(code) for each other character
// and emit(kReplacementChar) once per damaged one.
template <typename Ascii, typename Emit>
void DecodeAll(std::string_view bytes, TLoneSurrogates surrogates, Ascii ascii, Emit emit)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    bool damaged = false;
    for (std::size_t pos = 0; pos < n;) {
        if (const std::size_t run = AsciiRun(p + pos, n - pos); run > 0) {
            ascii(p + pos, run);
            pos += run;
            damaged = false;
            continue;
        }
        const TUtf8Char c = utf8detail::DecodeMultiByte(bytes, pos, surrogates);
        if (c.valid) {
            emit(c.code);
            damaged = false;
        } else if (!damaged || !IsContinuation(p[pos])) {
            emit(kReplacementChar);
            damaged = true;
        }
        pos += c.size;
    }
}

char16_t* WriteUtf16(char16_t* out, char32_t c)
{
    if (c < 0x10000) {
        *out++ = static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        *out++ = static_cast<char16_t>(0xD800 + (c >> 10));
        *out++ = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
    return out;
}

// At most four bytes; one code point, pairs already joined.
char* WriteUtf8(char* out, char32_t c, TLoneSurrogates surrogates)
{
    if (c < 0x80) {
        *out++ = static_cast<char>(c);
        return out;
    }
    if (c > 0x10FFFF || (IsSurrogate(c) && surrogates == TLoneSurrogates::Replace)) {
        c = kReplacementChar;
    }
    if (c < 0x800) {
        *out++ = static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (c >> 12));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (c >> 18));
        *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
    return out;
}

} // namespace

TUtf8Char utf8detail::DecodeMultiByte(std::string_view bytes, std::size_t pos, TLoneSurrogates surrogates)
{
    constexpr TUtf8Char invalid{kReplacementChar, 1, false};
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + pos;
    const unsigned char lead = p[0];
    // The second byte's range is what rules out overlong forms (E0, F0), surrogates (ED)
    // and values beyond U+10FFFF (F4).
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    std::size_t size = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        size = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        size = 3;
        code = lead & 0x0F;
        if (lead == 0xE0) {
            low = 0xA0;
        } else if (lead == 0xED && surrogates == TLoneSurrogates::Replace) {
            high = 0x9F;
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        size = 4;
        code = lead & 0x07;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;
        }
    } else {
        return invalid; // a continuation byte, C0/C1 (always overlong) or F5..FF
    }
    if (bytes.size() - pos < size || p[1] < low || p[1] > high) {
        return invalid;
    }
    code = (code << 6) | (p[1] & 0x3F);
    for (std::size_t k = 2; k < size; ++k) {
        if (!IsContinuation(p[k])) {
            return invalid;
        }
        code = (code << 6) | (p[k] & 0x3F);
    }
    return {code, static_cast<std::uint8_t>(size), true};
}

void AppendUtf8(std::string& out, char32_t c, TLoneSurrogates surrogates)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
        return;
    }
    char buf[4];
    out.append(buf, static_cast<std::size_t>(WriteUtf8(buf, c, surrogates) - buf));
}

bool IsWellFormedUtf8(std::string_view bytes, TLoneSurrogates surrogates)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t pos = 0; pos < bytes.size();) {
        pos += AsciiRun(p + pos, bytes.size() - pos);
        if (pos == bytes.size()) {
            break;
        }
        const TUtf8Char c = utf8detail::DecodeMultiByte(bytes, pos, surrogates);
        if (!c.valid) {
            return false;
        }
        pos += c.size;
    }
    return true;
}

std::u32string Utf8ToUtf32(std::string_view bytes)
{
    std::u32string out;
    out.reserve(bytes.size());
    DecodeAll(
        bytes, TLoneSurrogates::Replace, [&out](const unsigned char* p, std::size_t n) { out.append(p, p + n); },
        [&out](char32_t c) { out.push_back(c); });
    return out;
}

std::string Utf32ToUtf8(std::u32string_view chars)
{
    std::string out;
    out.reserve(chars.size());
    for (const char32_t c : chars) {
        AppendUtf8(out, c);
    }
    return out;
}

char16_t* Utf8ToUtf16(std::string_view bytes, char16_t* out, TLoneSurrogates surrogates)
{
    DecodeAll(
        bytes, surrogates, [&out](const unsigned char* p, std::size_t n) { out = WidenAscii(p, n, out); },
        [&out](char32_t c) { out = WriteUtf16(out, c); });
    return out;
}

char* Utf16ToUtf8(std::u16string_view units, char* out, TLoneSurrogates surrogates)
{
    const char16_t* p = units.data();
    const std::size_t n = units.size();
    for (std::size_t i = 0; i < n; ++i) {
        if constexpr (std::endian::native == std::endian::little) {
            // Four ASCII units at a time: each 16-bit lane's low byte, packed.
            for (std::uint64_t lanes; i + 4 <= n; i += 4, out += 4) {
                std::memcpy(&lanes, p + i, 8);
                if (lanes & 0xFF80FF80FF80FF80ull) {
                    break;
                }
                lanes = (lanes | (lanes >> 8)) & 0x0000FFFF0000FFFFull;
                const auto four = static_cast<std::uint32_t>(lanes | (lanes >> 16));
                std::memcpy(out, &four, 4);
            }
            if (i == n) {
                break;
            }
        }
        char32_t c = p[i];
        if (c < 0x80) {
            *out++ = static_cast<char>(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (p[i + 1] - 0xDC00);
            ++i;
        }
        out = WriteUtf8(out, c, surrogates);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view bytes, TLoneSurrogates surrogates)
{
    std::u16string out(bytes.size(), u'\0');
    out.resize(static_cast<std::size_t>(Utf8ToUtf16(bytes, out.data(), surrogates) - out.data()));
    return out;
}

std::string Utf16ToUtf8(std::u16string_view units, TLoneSurrogates surrogates)
{
    std::string out(3 * units.size(), '\0');
    out.resize(static_cast<std::size_t>(Utf16ToUtf8(units, out.data(), surrogates) - out.data()));
    return out;
}
