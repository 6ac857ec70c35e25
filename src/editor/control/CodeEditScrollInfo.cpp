#include "editor/control/CodeEditScrollInfo.h"

#include <algorithm>
#include <cmath>

namespace {

// A bar with nothing to scroll still gets a range of two steps under
// eoHideShowScrollbars, so that it can be shown at all.
void BumpEmptyRange(TScrollBarInfo& info, TCodeEditorOptions options)
{
    if (info.maximum == info.minimum && options.Contains(eoHideShowScrollbars)) {
        ++info.maximum;
        info.position = info.minimum;
    }
}

void SetArrows(TScrollBarInfo& info, bool first, bool second)
{
    info.firstArrowEnabled = first;
    info.secondArrowEnabled = second;
}

int VerticalSteps(int lineCount, int linesInWindow, TCodeEditorOptions options)
{
    return options.Contains(eoScrollPastEof) ? lineCount + linesInWindow - 1 : lineCount;
}

} // namespace

int HorizontalColumns(int longestLine, int maxLeftChar, TCodeEditorOptions options)
{
    if (options.Contains(eoScrollPastEol)) {
        return std::max(maxLeftChar, longestLine + 1);
    }
    return std::max(longestLine, 1);
}

TScrollBarInfo HorizontalScrollInfo(int longestLine, int maxLeftChar, int charsInWindow, int leftChar,
                                    TCodeEditorOptions options)
{
    TScrollBarInfo info;
    info.disableNoScroll = !options.Contains(eoHideShowScrollbars);
    info.maximum = HorizontalColumns(longestLine, maxLeftChar, options);
    info.page = charsInWindow;
    info.position = leftChar;
    const bool disableArrows = options.Contains(eoDisableScrollArrows);
    const int offset = disableArrows ? leftChar : 0;
    if (!disableArrows && charsInWindow + offset < info.maximum) {
        SetArrows(info, true, true);
    } else if (leftChar < 2 && charsInWindow + offset >= info.maximum) {
        SetArrows(info, false, false);
    } else if (leftChar <= 1) {
        SetArrows(info, false, true);
    } else {
        SetArrows(info, true, offset + charsInWindow <= info.maximum);
    }
    if (info.maximum > ScrollBarMaxRange) {
        // The arrows above are the columns' own; the bar gets its steps scaled.
        const int columns = info.maximum;
        info.minimum = 0;
        info.maximum = ScrollBarMaxRange;
        info.page = MulDiv(ScrollBarMaxRange, charsInWindow, columns);
        info.position = MulDiv(ScrollBarMaxRange, leftChar, columns);
    }
    BumpEmptyRange(info, options);
    return info;
}

int ThumbToLeftChar(int position, int longestLine, int maxLeftChar, TCodeEditorOptions options)
{
    const int columns = HorizontalColumns(longestLine, maxLeftChar, options);
    if (columns <= ScrollBarMaxRange) {
        return position;
    }
    return MulDiv(columns, position, ScrollBarMaxRange);
}

bool VerticalScrollScaled(int lineCount, int linesInWindow, TCodeEditorOptions options)
{
    return VerticalSteps(lineCount, linesInWindow, options) > ScrollBarMaxRange;
}

TScrollBarInfo VerticalScrollInfo(int lineCount, int linesInWindow, int topLine, TCodeEditorOptions options)
{
    TScrollBarInfo info;
    info.disableNoScroll = !options.Contains(eoHideShowScrollbars);
    const int steps = VerticalSteps(lineCount, linesInWindow, options);
    if (steps > ScrollBarMaxRange) {
        info.minimum = 0;
        info.maximum = ScrollBarMaxRange;
        info.page = MulDiv(ScrollBarMaxRange, linesInWindow, steps);
        info.position = MulDiv(ScrollBarMaxRange, topLine, steps);
    } else {
        info.maximum = std::max(1, steps);
        info.page = linesInWindow;
        info.position = topLine;
    }
    if (!options.Contains(eoDisableScrollArrows) && lineCount > linesInWindow) {
        SetArrows(info, true, true);
    } else if (topLine < 2 && lineCount <= linesInWindow) {
        SetArrows(info, false, false);
    } else if (topLine < 2) {
        SetArrows(info, false, true);
    } else {
        SetArrows(info, true, lineCount - topLine - linesInWindow + 1 != 0);
    }
    BumpEmptyRange(info, options);
    return info;
}

// The scaling follows the bar's own: a buffer that the bar shows in lines takes the
// position as the line, one that it scales takes it back through the scale.
int ThumbToTopLine(int position, int lineCount, int linesInWindow, TCodeEditorOptions options)
{
    if (!VerticalScrollScaled(lineCount, linesInWindow, options)) {
        return position;
    }
    return MulDiv(lineCount + linesInWindow - 1, position, ScrollBarMaxRange);
}

QString ScrollHintText(TScrollHintFormat format, int topLine, int linesInWindow, int lineCount)
{
    if (format == shfTopToBottom) {
        return QStringLiteral("%1 - %2").arg(topLine).arg(topLine + std::min(linesInWindow, lineCount - topLine));
    }
    return QStringLiteral("Top Line: %1").arg(topLine);
}

TTextPoint ScrollHintPlace(const TScrollHintGeometry& g)
{
    TTextPoint p{g.clientWidth - g.hintWidth - 4, 10};
    if (g.follows) {
        const double track = g.rangeMaximum != 0 ? double(g.clientHeight - 2 * g.arrowHeight) * g.trackPosition /
                                                       g.rangeMaximum
                                                 : 0.0;
        p.y = g.arrowHeight + static_cast<int>(std::lround(track)) + g.hintHeight / 2;
    }
    return p;
}
