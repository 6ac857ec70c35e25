#pragma once
// Small text helpers with the platform's semantics: case-insensitive comparison and
// upper/lower-casing of ASCII letters only, so results never depend on the locale;
// and UTF-8 encoding.

#include <string>
#include <string_view>

// Inline: the engine cases every character of every program line.
inline char UpCaseChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
inline char LowCaseChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
// <0, 0, >0 like strcmp, ignoring ASCII case.
int CompareText(std::string_view a, std::string_view b);
// Without leading and trailing characters <= ' ' (blanks and control characters).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
// Appends the code point in UTF-8.
void AppendUtf8(std::string& out, char32_t c);
// UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
