#pragma once
// Character-level text helpers for the evaluator's string functions. Texts are UTF-8;
// positions and lengths count characters (code points), not bytes, so that copy(,
// pos( and length( mean the same for "é" as for "e". A byte that is not well-formed
// UTF-8 (platform/core/text/Utf8.h) is one character of its own, whose value is the byte's
// number: two different stray bytes stay different when compared, and ord( of a byte
// from a Windows-1252 text gives its code.

#include <string>
#include <string_view>

namespace calc {

std::size_t CharCount(std::string_view s);
// Byte offset of the character with 0-based index `chars` (the text's size when the
// index lies at or beyond its end).
std::size_t ByteOffset(std::string_view s, std::size_t chars);
// Decodes the character at byte `pos` and advances `pos` past it.
char32_t DecodeChar(std::string_view s, std::size_t& pos);
void AppendChar(std::string& out, char32_t c);

// Case mapping of ASCII, Latin-1 and the Windows-1252 letters; other characters are
// returned unchanged, so the result never depends on the process locale.
char32_t UpperChar(char32_t c);
char32_t LowerChar(char32_t c);
std::string UpperText(std::string_view s);
std::string LowerText(std::string_view s);

// The character of a Windows-1252 code (0..255), and the code of a character (its
// Windows-1252 code when it has one, else its code point).
char32_t CharOfCode(unsigned code);
unsigned CodeOfChar(char32_t c);

// Substring by 1-based character index: an index below 1 starts at the
// first character, a count is clamped to the text's end, a negative count is empty.
std::string CopyChars(std::string_view s, long long index, long long count);
// 1-based character position of `sub` in `s`, 0 when absent or when `sub` is empty.
long long PosChars(std::string_view sub, std::string_view s);

// Replaces `from` by `to`: every occurrence or only the first, matching exactly or
// without regard to case. An empty `from` leaves the text as it is.
std::string ReplaceText(std::string_view s, std::string_view from, std::string_view to, bool all, bool ignoreCase);

} // namespace calc
