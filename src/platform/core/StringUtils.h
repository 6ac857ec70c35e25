#pragma once
// Small text helpers with the platform's semantics: case-insensitive comparison and
// upper/lower-casing of ASCII letters only, so results never depend on the locale.

#include <string>
#include <string_view>

char UpCaseChar(char c);
char LowCaseChar(char c);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
// <0, 0, >0 like strcmp, ignoring ASCII case.
int CompareText(std::string_view a, std::string_view b);
// Without leading and trailing characters <= ' ' (blanks and control characters).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
