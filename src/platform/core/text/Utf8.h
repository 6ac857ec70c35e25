#pragma once
// The one UTF-8 codec. Well-formed UTF-8 is the shortest form of a code point up to
// U+10FFFF that is not a surrogate. Every other byte is invalid on its own: decoding
// steps over that one byte, so a character after a damaged one is never lost and byte
// positions stay countable. Converting a whole string writes one U+FFFD per damaged
// character: an invalid byte together with the continuation bytes (10xxxxxx) right
// after it, so a cut-off, overlong or five-byte sequence or an encoded surrogate gives
// one mark and two stray Windows-1252 letters give two. Encoding writes U+FFFD for a
// value that is no character (a surrogate, anything beyond U+10FFFF).
//
// TLoneSurrogates::Keep widens both directions for text that only ever goes back to
// UTF-16 in this program: a lone surrogate is written as its own three bytes and those
// bytes read back as it. Everything else stays as above.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr char32_t kReplacementChar = 0xFFFD;

enum class TLoneSurrogates : std::uint8_t { Replace, Keep };

struct TUtf8Char {
    char32_t code;     // U+FFFD for an invalid byte
    std::uint8_t size; // bytes taken: 1 to 4, and 1 for an invalid byte
    bool valid;
};

namespace utf8detail {
TUtf8Char DecodeMultiByte(std::string_view bytes, std::size_t pos, TLoneSurrogates surrogates);
} // namespace utf8detail

// The character that starts at bytes[pos], which must be inside the string. Inline for
// the ASCII that most texts are made of.
inline TUtf8Char DecodeUtf8(std::string_view bytes, std::size_t pos,
                            TLoneSurrogates surrogates = TLoneSurrogates::Replace)
{
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    return utf8detail::DecodeMultiByte(bytes, pos, surrogates);
}

void AppendUtf8(std::string& out, char32_t c, TLoneSurrogates surrogates = TLoneSurrogates::Replace);

bool IsWellFormedUtf8(std::string_view bytes, TLoneSurrogates surrogates = TLoneSurrogates::Replace);

std::u32string Utf8ToUtf32(std::string_view bytes);
std::string Utf32ToUtf8(std::u32string_view chars);

// A surrogate pair is one character; a surrogate without its partner is a lone one.
std::u16string Utf8ToUtf16(std::string_view bytes, TLoneSurrogates surrogates = TLoneSurrogates::Replace);
std::string Utf16ToUtf8(std::u16string_view units, TLoneSurrogates surrogates = TLoneSurrogates::Replace);

// The same two conversions into a buffer the caller sized, for text that has a string
// of its own to go to (the editor's lines and files): decoding writes at most one unit
// per byte, encoding at most three bytes per unit. Each returns the end of what it wrote.
char16_t* Utf8ToUtf16(std::string_view bytes, char16_t* out, TLoneSurrogates surrogates = TLoneSurrogates::Replace);
char* Utf16ToUtf8(std::u16string_view units, char* out, TLoneSurrogates surrogates = TLoneSurrogates::Replace);
