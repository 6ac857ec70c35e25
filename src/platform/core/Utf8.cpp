#include "platform/core/Utf8.h"

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }
bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Calls emit(code) for each character and emit(kReplacementChar) once per damaged one.
template <typename Emit>
void DecodeAll(std::string_view bytes, TLoneSurrogates surrogates, Emit emit)
{
    bool damaged = false;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const TUtf8Char c = DecodeUtf8(bytes, pos, surrogates);
        if (c.valid) {
            emit(c.code);
            damaged = false;
        } else if (!damaged || !IsContinuation(static_cast<unsigned char>(bytes[pos]))) {
            emit(kReplacementChar);
            damaged = true;
        }
        pos += c.size;
    }
}

void AppendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
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
    if (c > 0x10FFFF || (IsSurrogate(c) && surrogates == TLoneSurrogates::Replace)) {
        c = kReplacementChar;
    }
    char buf[4];
    std::size_t n = 0;
    if (c < 0x800) {
        buf[n++] = static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        buf[n++] = static_cast<char>(0xE0 | (c >> 12));
        buf[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
        buf[n++] = static_cast<char>(0xF0 | (c >> 18));
        buf[n++] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        buf[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    buf[n++] = static_cast<char>(0x80 | (c & 0x3F));
    out.append(buf, n);
}

bool IsWellFormedUtf8(std::string_view bytes, TLoneSurrogates surrogates)
{
    for (std::size_t pos = 0; pos < bytes.size();) {
        const TUtf8Char c = DecodeUtf8(bytes, pos, surrogates);
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
    DecodeAll(bytes, TLoneSurrogates::Replace, [&out](char32_t c) { out.push_back(c); });
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

std::u16string Utf8ToUtf16(std::string_view bytes, TLoneSurrogates surrogates)
{
    std::u16string out;
    out.reserve(bytes.size());
    DecodeAll(bytes, surrogates, [&out](char32_t c) { AppendUtf16(out, c); });
    return out;
}

std::string Utf16ToUtf8(std::u16string_view units, TLoneSurrogates surrogates)
{
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        AppendUtf8(out, c, surrogates);
    }
    return out;
}
