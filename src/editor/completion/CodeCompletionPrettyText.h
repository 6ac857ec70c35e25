#pragma once
// Items of the completion list may carry formatting codes: character 1 or 2 and three
// bytes R, G, B set the colour (not on the highlighted row); character 3 and a letter
// switches a style (B/b bold, I/i italic, U/u underline, on/off); a tab toggles bold and
// ends the first column. Codes are never drawn. The painter draws the runs laid out here.

#include "platform/core/graphics/ColorValue.h"
#include "platform/core/graphics/Font.h"

#include <QString>

#include <functional>
#include <vector>

struct TPrettyRun {
    QString text;
    int x = 0;     // where the run starts
    int width = 0; // the sum of its characters' widths
    TFontStyles style = 0;
    bool colored = false; // a colour code chose the colour
    TColor color = clNone;
    bool operator==(const TPrettyRun&) const = default;
};

// The width of a text drawn in the item font with a style.
using TPrettyMeasure = std::function<int(TFontStyles style, const QString& text)>;

// Characters advance one at a time by their own widths from x. With `align`, the first
// tab moves x to biggestWordWidth + 1, and characters of the first column that would
// start at or beyond biggestWordWidth are left out (when the text has a tab at all).
std::vector<TPrettyRun> LayoutPrettyText(const QString& text, int x, bool highlighted, int biggestWordWidth,
                                         bool align, const TPrettyMeasure& measure);

// The text without its codes (tabs stay).
QString PrettyTextPlain(const QString& text);

// The comma-separated parameters joined by ", ", the one at `index` between tabs (bold).
QString MarkCurrentParameter(const QString& parameters, int index);
