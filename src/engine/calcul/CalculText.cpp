#include "engine/calcul/CalculText.h"

#include "platform/core/text/Utf8.h"

#include <vector>

namespace calc {

namespace {

// Windows-1252 characters of the codes 0x80..0x9F (0 where the code is unassigned,
// which then maps to the code point of the same number).
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

char32_t DecodeChar(std::string_view s, std::size_t& pos)
{
    const TUtf8Char c = DecodeUtf8(s, pos);
    const char32_t code = c.valid ? c.code : static_cast<unsigned char>(s[pos]);
    pos += c.size;
    return code;
}

void AppendChar(std::string& out, char32_t c) { AppendUtf8(out, c); }

std::size_t CharCount(std::string_view s)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < s.size(); ++count) {
        pos += DecodeUtf8(s, pos).size;
    }
    return count;
}

std::size_t ByteOffset(std::string_view s, std::size_t chars)
{
    std::size_t pos = 0;
    for (std::size_t k = 0; k < chars && pos < s.size(); ++k) {
        pos += DecodeUtf8(s, pos).size;
    }
    return pos;
}

char32_t UpperChar(char32_t c)
{
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 'A';
    }
    if (c < 0x80) {
        return c;
    }
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 0x20;
    }
    switch (c) {
    case 0xFF: return 0x178;
    case 0x161: return 0x160;
    case 0x153: return 0x152;
    case 0x17E: return 0x17D;
    default: return c;
    }
}

char32_t LowerChar(char32_t c)
{
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 'a';
    }
    if (c < 0x80) {
        return c;
    }
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    switch (c) {
    case 0x178: return 0xFF;
    case 0x160: return 0x161;
    case 0x152: return 0x153;
    case 0x17D: return 0x17E;
    default: return c;
    }
}

namespace {

template <typename Map>
std::string MapChars(std::string_view s, Map map)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t pos = 0; pos < s.size();) {
        const TUtf8Char c = DecodeUtf8(s, pos);
        const char32_t m = c.valid ? map(c.code) : c.code;
        if (m == c.code) {
            out.append(s.substr(pos, c.size)); // keeps invalid bytes as they were
        } else {
            AppendChar(out, m);
        }
        pos += c.size;
    }
    return out;
}

} // namespace

std::string UpperText(std::string_view s) { return MapChars(s, UpperChar); }
std::string LowerText(std::string_view s) { return MapChars(s, LowerChar); }

char32_t CharOfCode(unsigned code)
{
    code &= 0xFF;
    if (code >= 0x80 && code <= 0x9F && kCp1252High[code - 0x80] != 0) {
        return kCp1252High[code - 0x80];
    }
    return code;
}

unsigned CodeOfChar(char32_t c)
{
    if (c >= 0x100 || (c >= 0x80 && c <= 0x9F)) {
        for (unsigned k = 0; k < 32; ++k) {
            if (kCp1252High[k] == c) {
                return 0x80 + k;
            }
        }
    }
    return static_cast<unsigned>(c);
}

std::string CopyChars(std::string_view s, long long index, long long count)
{
    if (count <= 0) {
        return {};
    }
    const std::size_t first = index < 1 ? 0 : static_cast<std::size_t>(index - 1);
    const std::size_t begin = ByteOffset(s, first);
    std::size_t end = begin;
    const std::string_view rest = s.substr(begin);
    end = begin + ByteOffset(rest, static_cast<std::size_t>(count));
    return std::string(s.substr(begin, end - begin));
}

long long PosChars(std::string_view sub, std::string_view s)
{
    if (sub.empty()) {
        return 0;
    }
    const std::size_t at = s.find(sub);
    if (at == std::string_view::npos) {
        return 0;
    }
    return static_cast<long long>(CharCount(s.substr(0, at))) + 1;
}

std::string ReplaceText(std::string_view s, std::string_view from, std::string_view to, bool all, bool ignoreCase)
{
    if (from.empty()) {
        return std::string(s);
    }
    std::string out;
    out.reserve(s.size());
    if (!ignoreCase) {
        std::size_t pos = 0;
        for (;;) {
            const std::size_t at = s.find(from, pos);
            if (at == std::string_view::npos) {
                break;
            }
            out.append(s.substr(pos, at - pos)).append(to);
            pos = at + from.size();
            if (!all) {
                break;
            }
        }
        out.append(s.substr(pos));
        return out;
    }
    // Without regard to case: compare upper-cased characters, copy the original bytes.
    std::vector<char32_t> pattern;
    for (std::size_t p = 0; p < from.size();) {
        pattern.push_back(UpperChar(DecodeChar(from, p)));
    }
    std::size_t pos = 0;
    bool replaced = false;
    while (pos < s.size()) {
        if (!replaced || all) {
            std::size_t q = pos;
            std::size_t k = 0;
            while (k < pattern.size() && q < s.size() && UpperChar(DecodeChar(s, q)) == pattern[k]) {
                ++k;
            }
            if (k == pattern.size()) {
                out.append(to);
                pos = q;
                replaced = true;
                continue;
            }
        }
        const std::size_t start = pos;
        DecodeChar(s, pos);
        out.append(s.substr(start, pos - start));
    }
    return out;
}

} // namespace calc
