#include "editor/painting/CodeRowPainter.h"

#include "editor/highlighting/CodeCustomHighlighter.h"
#include "editor/painting/CodeTextDrawer.h"

#include <algorithm>
#include <string_view>

namespace {

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

std::u16string_view View(const QString& text, int start, int length)
{
    return std::u16string_view(reinterpret_cast<const char16_t*>(text.constData()) + start,
                               static_cast<std::size_t>(length));
}

} // namespace

QString CodeRowDisplayText(const QString& expanded, int tabWidth, bool showSpecialChars, bool endsLogicalLine)
{
    const bool tabs = expanded.contains(QLatin1Char('\t'));
    const bool pilcrow = showSpecialChars && endsLogicalLine;
    if (!tabs && !showSpecialChars) {
        return expanded;
    }
    QString text = expanded;
    QChar* c = text.data();
    const auto n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (c[i] == QLatin1Char('\t')) {
            // A tab span ends at a tab stop, so two tabs in a row are two spans.
            const bool spanStart =
                i == 0 || expanded[i - 1] != QLatin1Char('\t') || i % std::max(1, tabWidth) == 0;
            c[i] = showSpecialChars && spanStart ? QChar(CodeTabMark) : QChar(u' ');
        } else if (showSpecialChars && c[i] == QLatin1Char(' ')) {
            c[i] = QChar(CodeBlankMark);
        }
    }
    if (pilcrow) {
        text.append(QChar(CodeLineEndMark));
    }
    return text;
}

void TCodeRowPainter::Paint(const TCodeRow& row)
{
    row_ = &row;
    text_ = CodeRowDisplayText(row.expanded, setup_.tabWidth, setup_.showSpecialChars, row.endsLogicalLine);
    if (row.special) {
        selectedForeground_ = row.background;
        selectedBackground_ = row.foreground;
    } else {
        selectedForeground_ = setup_.selectedForeground;
        selectedBackground_ = setup_.selectedBackground;
    }
    if (row.special || !setup_.highlighter) {
        setup_.drawer->SetStyle(setup_.fontStyle);
    }
    if (setup_.highlighter) {
        PaintHighlighted();
    } else {
        PaintPlain();
    }
    row_ = nullptr;
}

void TCodeRowPainter::PaintPlain()
{
    const int end = setup_.lastColumn + 1;
    if (row_->selection.kind == TCodeRowSelection::Whole) {
        DrawPiece(setup_.firstColumn, end, selectedForeground_, selectedBackground_);
    } else {
        DrawSplit(setup_.firstColumn, end, row_->foreground, row_->background);
    }
}

void TCodeRowPainter::PaintHighlighted()
{
    TCodeCustomHighlighter& h = *setup_.highlighter;
    h.SetRange(row_->range);
    h.SetLine(row_->expanded, row_->lineIndex);
    run_ = TRun{};
    drawnTo_ = setup_.firstColumn;
    while (!h.GetEol()) {
        const int column = h.GetTokenPos() + 1;
        if (column > setup_.lastColumn) {
            break;
        }
        const auto length = static_cast<int>(h.GetToken().size());
        if (column + length > setup_.firstColumn) {
            if (const TCodeHighlighterAttributes* a = h.GetTokenAttribute()) {
                AddToken(column, length, a->Foreground(), a->Background(), a->Style());
            } else {
                AddToken(column, length, row_->foreground, row_->background, setup_.fontStyle);
            }
        }
        h.Next();
    }
    if (text_.size() > row_->expanded.size()) { // the line-end mark
        const auto column = static_cast<int>(row_->expanded.size()) + 1;
        if (const TCodeHighlighterAttributes* a = setup_.lineEndAttribute) {
            AddToken(column, 1, a->Foreground(), a->Background(), a->Style());
        } else {
            AddToken(column, 1, row_->foreground, row_->background, setup_.fontStyle);
        }
    }
    FlushRun();
    FillToLineEnd();
}

bool TCodeRowPainter::AllBlanks(int column, int length) const
{
    const QString& t = row_->expanded;
    for (int i = column - 1; i < column - 1 + length; ++i) {
        if (i >= t.size() || !IsBlank(t[i])) {
            return false;
        }
    }
    return true;
}

// A token joins the run when it looks the same there: same style (or blanks, which
// show no style but underline), and same colours (blanks show no foreground). On a
// line the owner colours, or a line selected whole, colours cannot differ.
void TCodeRowPainter::AddToken(int column, int length, TColor foreground, TColor background, TFontStyles style)
{
    if (foreground == clNone) {
        foreground = setup_.fontColor;
    }
    if (background == clNone) {
        background = setup_.background;
    }
    const bool blanks = AllBlanks(column, length);
    if (run_.length > 0) {
        const bool styleFits =
            style == run_.style || ((style & fsUnderline) == 0 && (run_.style & fsUnderline) == 0 && run_.blanks);
        const bool coloursFit = (row_->special && !setup_.specialLineDefaultForeground) ||
                                row_->selection.kind == TCodeRowSelection::Whole ||
                                (background == run_.background && (foreground == run_.foreground || run_.blanks));
        if (styleFits && coloursFit) {
            if (run_.blanks && !blanks) {
                run_.foreground = foreground;
                run_.style = style;
            }
            run_.length = column + length - run_.start;
            run_.blanks = run_.blanks && blanks;
            return;
        }
        FlushRun();
    }
    run_ = TRun{column, length, foreground, background, style, blanks};
}

void TCodeRowPainter::FlushRun()
{
    if (run_.length <= 0) {
        return;
    }
    const int first = std::max(run_.start, setup_.firstColumn);
    const int end = std::min(run_.start + run_.length, setup_.lastColumn + 1);
    run_.length = 0;
    if (end <= first) {
        return;
    }
    TColor foreground = row_->foreground;
    TColor background = row_->background;
    if (!row_->special) {
        foreground = run_.foreground;
        background = run_.background;
        setup_.drawer->SetStyle(run_.style);
    } else if (setup_.specialLineDefaultForeground) {
        foreground = run_.foreground;
    }
    if (row_->selection.kind == TCodeRowSelection::Whole) {
        DrawPiece(first, end, selectedForeground_, selectedBackground_);
    } else {
        DrawSplit(first, end, foreground, background);
    }
    drawnTo_ = end;
}

void TCodeRowPainter::FillToLineEnd()
{
    const int end = setup_.lastColumn + 1;
    if (drawnTo_ >= end) {
        return;
    }
    if (row_->selection.kind == TCodeRowSelection::Whole) {
        DrawPiece(drawnTo_, end, selectedForeground_, selectedBackground_);
    } else {
        DrawSplit(drawnTo_, end, row_->foreground, row_->background);
    }
}

void TCodeRowPainter::DrawSplit(int first, int end, TColor foreground, TColor background)
{
    const TCodeRowSelection& s = row_->selection;
    if (s.kind != TCodeRowSelection::Partial || s.start >= end || s.end <= first) {
        DrawPiece(first, end, foreground, background);
        return;
    }
    const int selFirst = std::max(first, s.start);
    const int selEnd = std::min(end, s.end);
    DrawPiece(first, selFirst, foreground, background);
    DrawPiece(selFirst, selEnd, selectedForeground_, selectedBackground_);
    DrawPiece(selEnd, end, foreground, background);
}

// Columns first .. end - 1 in the row's band. A piece never starts on the second half
// of a surrogate pair: it starts with the pair, whose glyph takes both cells.
void TCodeRowPainter::DrawPiece(int first, int end, TColor foreground, TColor background)
{
    if (end <= first) {
        return;
    }
    const auto length = static_cast<int>(text_.size());
    int start = first - 1;
    int stop = std::min(end - 1, length);
    int x = (first - 1) * setup_.charWidth + setup_.textOffset;
    if (start > 0 && start < length && text_[start].isLowSurrogate() && text_[start - 1].isHighSurrogate()) {
        --start;
        x -= setup_.charWidth;
    }
    if (stop > 0 && stop < length && text_[stop - 1].isHighSurrogate() && text_[stop].isLowSurrogate()) {
        ++stop;
    }
    const TRect rect{std::max(x, setup_.textLeft), row_->top, (end - 1) * setup_.charWidth + setup_.textOffset,
                     row_->top + setup_.lineHeight};
    TheTextDrawer& drawer = *setup_.drawer;
    drawer.SetForeColor(foreground);
    drawer.SetBackColor(background);
    drawer.ExtTextOut(x, row_->top, etoOpaque | etoClipped, rect, start < stop ? View(text_, start, stop - start)
                                                                                 : std::u16string_view());
}
