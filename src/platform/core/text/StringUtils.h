#pragma once
// Small text helpers with the platform's semantics: case-insensitive comparison and
// upper/lower-casing of ASCII letters only, so results never depend on the locale.
// UTF-8 conversions are the codec's (Utf8.h), which comes along with these.

#include "platform/core/text/Utf8.h"

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
