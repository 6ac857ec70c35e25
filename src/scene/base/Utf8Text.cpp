#include "scene/base/Utf8Text.h"

#include <cstdint>

std::u16string UTF8ToWide(std::string_view bytes)
{
    static constexpr std::uint32_t kOffsets[6] = {0x00000000u, 0x00003080u, 0x000E2080u,
                                                  0x03C82080u, 0xFA082080u, 0x82082080u};
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        int extra = 0;
        if (lead >= 0xFC) {
            extra = 5;
        } else if (lead >= 0xF8) {
            extra = 4;
        } else if (lead >= 0xF0) {
            extra = 3;
        } else if (lead >= 0xE0) {
            extra = 2;
        } else if (lead >= 0xC0) {
            extra = 1;
        }
        std::uint32_t v = 0;
        int used = 0;
        // Stop at the end of the input instead of reading past it.
        for (; used <= extra && i < n; ++used, ++i) {
            if (used > 0) {
                v <<= 6;
            }
            v += static_cast<std::uint8_t>(bytes[i]);
        }
        if (used != extra + 1) {
            out.push_back(u'\xFFFD');
            break;
        }
        v -= kOffsets[extra];
        if (v <= 0xFFFF) {
            out.push_back(static_cast<char16_t>(v));
        } else if (v <= 0x10FFFF) {
            v -= 0x10000;
            out.push_back(static_cast<char16_t>((v >> 10) + 0xD800));
            out.push_back(static_cast<char16_t>((v & 0x3FF) + 0xDC00));
        } else {
            out.push_back(u'\xFFFD');
        }
    }
    return out;
}

std::string WideToUTF8(std::u16string_view units)
{
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}
