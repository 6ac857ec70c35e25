#pragma once
// How large a message or input box may be and how wide its text wraps, without a display.
// A box is never wider or taller than the available area of the screen that shows it;
// its text wraps at a width that keeps it readable, or wider to keep its widest word
// whole (a path in an error); only a word wider than the screen allows is broken, where
// the box's view wraps it; a text still too tall scrolls, so the end of the text and the
// buttons stay in sight. A prompt of thousands of characters laid out on one line
// made a box of 32,767 pixels whose buttons no screen showed.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

// What a window manager's frame may add to a box: its two side borders, and its title
// bar with the bottom border.
inline constexpr int BoxFrameWidth = 16;
inline constexpr int BoxFrameHeight = 48;

// The largest a box's window, its frame left out, may be on a screen whose available
// area has `available` size; at least one pixel each way.
QSize MaxBoxSize(QSize available);

// The width in pixels of a piece of text in the box's font.
using TTextMeasure = std::function<int(QStringView)>;

// The widths of a text's lines (split at '\n'): the widest, all of them added up, and
// the widest word (a run without a space to wrap at).
struct TTextExtent {
    int Widest = 0;
    qint64 Total = 0;
    int WidestWord = 0;
};
TTextExtent MeasureText(const QString& text, const TTextMeasure& measure);

// The width a box's text wraps at, at least 1 and at most `maxWidth`: its widest line
// when that is no wider than a readable column (30 line heights), else wide enough that
// the wrapped text is about three times as wide as it is high, but no narrower than the
// readable column nor than its widest word.
int WrapWidth(const TTextExtent& extent, int lineHeight, int maxWidth);

// Where the line breaker may break a word no wider than `width` (after a '/' or a '-',
// between two ideographs): the indices of the text before which the box's view puts a
// word joiner, so that only a word wider than the box is ever broken.
std::vector<qsizetype> WordJoins(const QString& text, int width, const TTextMeasure& measure);

// How much of a text `textHeight` high a box shows in the `room` it has: all of it when
// it fits, else the room but at least one line; the rest scrolls.
int ShownTextHeight(int textHeight, int room, int lineHeight);

// Where a box's frame of size `frame` goes: centred on `centre`, then moved inside
// `available`; a frame larger than the area keeps its top left corner at the area's.
QPoint BoxTopLeft(const QRect& available, QSize frame, QPoint centre);
