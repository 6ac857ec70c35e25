#pragma once
// What the editor's scroll bars show and how their codes move the view, as plain
// functions of the view's numbers: the widget only copies the values into its bars and
// turns its slider actions into the codes below. A bar counts at most 32767 steps; a
// longer buffer, or a longer line, is scaled onto them.

#include "editor/document/CodeEditMiscProcs.h"
#include "editor/control/CodeEditTypes.h"

#include <QString>

#include <cstdint>

// The scroll bars' codes, in the platform's order. The horizontal bar reads "up" as left.
enum TScrollCode : std::uint8_t {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll,
};

enum TScrollBarKind : std::uint8_t { sbHorizontal, sbVertical };

// One bar: its range (minimum..maximum, both reachable as the first visible step), the
// steps one page covers, the first visible step and the arrows' states. A bar whose
// arrows are both off has nothing to scroll.
struct TScrollBarInfo {
    int minimum = 1;
    int maximum = 1;
    int page = 0;
    int position = 1;
    // Shown disabled rather than hidden when there is nothing to scroll.
    bool disableNoScroll = true;
    bool firstArrowEnabled = true;
    bool secondArrowEnabled = true;
    bool operator==(const TScrollBarInfo&) const = default;
};

// The largest count of lines or columns a bar shows unscaled.
inline constexpr int ScrollBarMaxRange = 32767;

// The columns the view spans, longestLine being the display length of the buffer's
// longest line: that line's length, or with eoScrollPastEol MaxLeftChar, or the longest
// line's end when it lies further (its end must come into view).
int HorizontalColumns(int longestLine, int maxLeftChar, TCodeEditorOptions options);
TScrollBarInfo HorizontalScrollInfo(int longestLine, int maxLeftChar, int charsInWindow, int leftChar,
                                    TCodeEditorOptions options);
// The left column a thumb position of the horizontal bar stands for.
int ThumbToLeftChar(int position, int longestLine, int maxLeftChar, TCodeEditorOptions options);
TScrollBarInfo VerticalScrollInfo(int lineCount, int linesInWindow, int topLine, TCodeEditorOptions options);
// True when the vertical bar shows scaled steps rather than lines.
bool VerticalScrollScaled(int lineCount, int linesInWindow, TCodeEditorOptions options);
// The top line a thumb position of the vertical bar stands for.
int ThumbToTopLine(int position, int lineCount, int linesInWindow, TCodeEditorOptions options);

// "Top Line: 12", or "12 - 41" with the last line the window shows.
QString ScrollHintText(TScrollHintFormat format, int topLine, int linesInWindow, int lineCount);

// Where the hint's top left corner stands in the client area.
struct TScrollHintGeometry {
    int clientWidth = 0;
    int clientHeight = 0;
    int hintWidth = 0;
    int hintHeight = 0;
    // With eoScrollHintFollows: the height of the bar's arrow, the thumb's track
    // position and the bar's maximum.
    bool follows = false;
    int arrowHeight = 0;
    int trackPosition = 0;
    int rangeMaximum = 0;
};
TTextPoint ScrollHintPlace(const TScrollHintGeometry& g);
