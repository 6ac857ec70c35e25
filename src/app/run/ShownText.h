#pragma once
// How much of a long text a run shows. A program can print or assign a text of
// millions of characters; Qt lays out a line of text as a whole, which for ten million
// characters holds the window for good, and with it Stop. So a text longer than
// MaxShownTextLength shows cut, with a note of how much was left out.

#include <QString>

// The longest text shown whole; a few thousand characters lay out at once.
constexpr qsizetype MaxShownTextLength = 5000;

// The text itself when it is no longer than MaxShownTextLength (UTF-16 code units),
// else its start (a surrogate pair kept whole) and " ... (N more characters not
// shown)", N counting the code points left out ("character" for one).
QString ShownText(const QString& text);
