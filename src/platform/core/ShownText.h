#pragma once
// How much of a long text a window shows. A program can print, assign or quote a text
// of millions of characters, and a toolkit lays a line of text out as a whole: ten
// million characters in a message box, a list or a label hold the window for minutes.
// So every widget that may show such a text shows it cut, with a note of how much was
// left out. Files (a saved log, a result file) keep their texts whole.

#include <cstddef>
#include <string>
#include <string_view>

// The longest text shown whole, in UTF-16 code units; a few thousand characters lay out
// at once.
inline constexpr std::ptrdiff_t MaxShownTextLength = 5000;

// The text itself when it is no longer than MaxShownTextLength, else its start (a
// surrogate pair kept whole) and " ... (N more characters not shown)", N counting the
// code points left out ("character" for one).
std::u16string ShownText(std::u16string_view text);
