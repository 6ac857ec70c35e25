#pragma once
// The words the part-program language knows: commands, statements and function names.
// A word found here that no handler takes is a known but unimplemented command.

#include <array>
#include <string_view>

inline constexpr int KeywordCount = 140;

extern const std::array<std::string_view, KeywordCount> CommandKeywords;
inline constexpr std::string_view ClampKeyword = "[CLAMP]";

// True when `word`, compared without regard to case, is one of the 140 keywords or the
// clamp keyword. Exact whole-word comparison; "Exit Shopbot" includes its blank.
bool IsCommandKeyword(std::string_view word);
