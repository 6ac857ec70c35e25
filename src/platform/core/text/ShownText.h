#pragma once
// How much of a long text a window shows. A program can print, assign or quote a text
// of millions of characters, and a toolkit lays a line of text out as a whole: ten
// million characters in a message box, a list or a label hold the window for minutes.
// So every widget that may show such a text shows it cut, with a note of how much was
// left out; so does the debug log, which a loop can otherwise fill at tens of MB a
// second. Saved and copied texts (a result file, a page, the messages window's Save and
// Copy, a variables row copied) keep their texts whole.

#include <cstddef>
#include <string>
#include <string_view>

// The longest text always shown whole, in UTF-16 code units; a few thousand characters
// lay out at once. A little longer one is shown whole too where its cut would not be
// shorter.
inline constexpr std::ptrdiff_t MaxShownTextLength = 5000;
// How much of the end a cut text keeps: an error's "(line: N)" stays in sight.
inline constexpr std::ptrdiff_t ShownTailLength = 200;

// The text itself when it is no longer than MaxShownTextLength or its cut would not be
// shorter, else its start and its last ShownTailLength units (a surrogate pair kept
// whole) around " ... (N characters not shown) ... ", N counting the code points left
// out.
std::u16string ShownText(std::u16string_view text);

// Where ShownText cuts a text: the units [Head, Tail) are left out and Note stands in
// their place. A text shown whole has no note and Head == Tail == its length.
struct TShownTextCut {
    std::size_t Head = 0;
    std::size_t Tail = 0;
    std::u16string Note;
};
TShownTextCut ShownTextCut(std::u16string_view text);

// The offset in the whole text of `shownOffset` in its shown form, for a selection of
// the shown text that must be copied whole. The note stands for all it left out: a
// selection starting inside it starts where the part left out starts, one ending
// inside it ends where that part ends.
std::size_t WholeTextOffset(const TShownTextCut& cut, std::size_t shownOffset, bool selectionEnd);
