#pragma once
// Paints the text rows of the editor: one row at a time, token by token with the
// highlighter's colours, the selection's colours over the selected columns, and the
// marks for blanks, tabs and line ends. Tokens that look alike are merged into runs,
// so a row costs one text output per run. All output goes through the text drawer,
// opaque and clipped to the run's columns.
//
// Columns here are display columns (after tab expansion), counted from 1.

#include "editor/painting/CodeEditFont.h"
#include "platform/core/graphics/Canvas.h"

#include <QString>

class TheTextDrawer;
class TCodeCustomHighlighter;
class TCodeHighlighterAttributes;

// What one paint shares between its rows.
struct TCodeRowPaintSetup {
    TheTextDrawer* drawer = nullptr;
    int charWidth = 8;
    int lineHeight = 16;
    int textOffset = 0; // x of display column 1
    int textLeft = 0;   // no piece starts left of this x (the text area's edge)
    int firstColumn = 1;
    int lastColumn = 1; // the last visible column; pieces end before lastColumn + 1
    int tabWidth = 8;
    TColor fontColor = clWindowText;
    TFontStyles fontStyle = 0;
    TColor background = clWindow;
    TColor selectedForeground = clHighlightText;
    TColor selectedBackground = clHighlight;
    bool showSpecialChars = false;
    bool specialLineDefaultForeground = false;
    // Enabled highlighters only; nullptr paints plain text.
    TCodeCustomHighlighter* highlighter = nullptr;
    // Colours the line-end mark under a highlighter; nullptr: the line's colours.
    TCodeHighlighterAttributes* lineEndAttribute = nullptr;
};

// The selected columns of one row: none, the visible row whole, or [start, end).
struct TCodeRowSelection {
    enum Kind { None, Whole, Partial };
    Kind kind = None;
    int start = 0;
    int end = 0;
    bool operator==(const TCodeRowSelection&) const = default;
};

struct TCodeRow {
    QString expanded;     // the tab-expanded text (tabs kept as fill characters)
    int lineIndex = 0;    // 0-based, for the highlighter
    int range = -1;       // the highlighter's state at the row's start
    int top = 0;          // y of the row's band
    bool endsLogicalLine = true;
    bool special = false; // coloured by the owner
    TColor foreground = clWindowText;
    TColor background = clWindow;
    TCodeRowSelection selection;
};

// The row's text as it is drawn: tab spans as blanks (with a tab mark in their first
// cell when special characters show), blanks as middle dots when they show, and a
// pilcrow after a row that ends a logical line.
QString CodeRowDisplayText(const QString& expanded, int tabWidth, bool showSpecialChars, bool endsLogicalLine);

inline constexpr char16_t CodeBlankMark = u'\u00B7';   // middle dot
inline constexpr char16_t CodeTabMark = u'\u00BB';     // right-pointing double angle
inline constexpr char16_t CodeLineEndMark = u'\u00B6'; // pilcrow

class TCodeRowPainter {
public:
    explicit TCodeRowPainter(const TCodeRowPaintSetup& setup) : setup_(setup) {}
    void Paint(const TCodeRow& row);

private:
    struct TRun {
        int start = 0;
        int length = 0;
        TColor foreground = clNone;
        TColor background = clNone;
        TFontStyles style = 0;
        bool blanks = true;
    };

    void PaintPlain();
    void PaintHighlighted();
    void AddToken(int column, int length, TColor foreground, TColor background, TFontStyles style);
    void FlushRun();
    void FillToLineEnd();
    // Pieces drawn in normal colours outside the row's selection and in selected
    // colours inside it.
    void DrawSplit(int first, int end, TColor foreground, TColor background);
    void DrawPiece(int first, int end, TColor foreground, TColor background);
    bool AllBlanks(int column, int length) const;

    const TCodeRowPaintSetup& setup_;
    const TCodeRow* row_ = nullptr;
    QString text_;
    TColor selectedForeground_ = clNone;
    TColor selectedBackground_ = clNone;
    TRun run_;
    int drawnTo_ = 0;
};
