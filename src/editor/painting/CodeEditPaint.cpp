// How the control paints: the clip box splits into the gutter (line numbers, marks and
// its edge) and the text rows (CodeRowPainter), then the plug-ins and OnPaint follow.
#include "editor/control/CodeEdit.h"

#include "editor/highlighting/CodeCustomHighlighter.h"
#include "editor/painting/CodeImageList.h"
#include "editor/painting/CodeRowPainter.h"

#include <algorithm>
#include <vector>

namespace {

// The selection as painted: ordered points in display columns, or none.
struct TVisibleSelection {
    bool any = false;
    TTextPoint begin;
    TTextPoint end;
    TCodeSelectionMode mode = smNormal;
};

TCodeRowSelection SelectionOnRow(const TVisibleSelection& s, int line, int firstColumn, int lastColumn)
{
    if (!s.any || line < s.begin.y || line > s.end.y) {
        return {};
    }
    if (s.mode == smLine) {
        return {TCodeRowSelection::Whole, firstColumn, lastColumn + 1};
    }
    int start = firstColumn;
    int end = lastColumn + 1;
    bool partial = false;
    if (s.mode == smColumn || line == s.begin.y) {
        if (s.begin.x > lastColumn) {
            return {};
        }
        if (s.begin.x > firstColumn) {
            start = s.begin.x;
            partial = true;
        }
    }
    if (s.mode == smColumn || line == s.end.y) {
        if (s.end.x <= firstColumn) {
            return {};
        }
        if (s.end.x < lastColumn + 1) {
            end = s.end.x;
            partial = true;
        }
    }
    if (start >= end) {
        return {};
    }
    return {partial ? TCodeRowSelection::Partial : TCodeRowSelection::Whole, start, end};
}

} // namespace

TheTextDrawer& TCustomCodeEdit::TextDrawer()
{
    if (!textDrawer_) {
        textDrawer_ = std::make_unique<TheTextDrawer>(fsBold, &font_);
    }
    return *textDrawer_;
}

TColor TCustomCodeEdit::PaintBackgroundColor() const
{
    if (highlighter_) {
        if (const TCodeHighlighterAttributes* space = highlighter_->GetDefaultAttribute(4)) {
            if (space->Background() != clNone) {
                return space->Background();
            }
        }
    }
    return color_;
}

void TCustomCodeEdit::Paint(TCanvas& canvas)
{
    const TRect clip = canvas.ClipBox();
    const int textLeft = gutterWidth_ + 2;
    int firstColumn = leftChar_;
    if (clip.Left > textLeft) {
        firstColumn += (clip.Left - textLeft) / charWidth_;
    }
    const int lastColumn = firstColumn + (clip.Right - textLeft + charWidth_ - 1) / charWidth_;
    const int firstLine = std::max(topLine_ + clip.Top / lineHeight_, topLine_);
    const int lastLine = std::min(topLine_ + (clip.Bottom + lineHeight_ - 1) / lineHeight_, LineCount());

    HideCaret();
    TheTextDrawer& drawer = TextDrawer();
    if (!(drawer.BaseFont() == font_)) {
        drawer.SetBaseFont(&font_);
    }
    if (clip.Left < gutterWidth_) {
        DrawGutter(canvas, TRect{clip.Left, clip.Top, std::min(clip.Right, gutterWidth_), clip.Bottom}, firstLine,
                   lastLine);
    }
    if (gutterWidth_ < clip.Right) {
        DrawTextLines(canvas, TRect{std::max(clip.Left, gutterWidth_), clip.Top, clip.Right, clip.Bottom}, firstLine,
                      lastLine, firstColumn, lastColumn);
    }
    DoPluginsAfterPaint(canvas, clip, firstLine, lastLine);
    FirePaint(canvas);
    PaintTransient(ttAfter);
    UpdateCaret();
}

// --- the gutter ----------------------------------------------------------------------

namespace {

// Under soft wrap a row shows the number of its logical line, and only on the line's
// first row: the count of head rows up to it, starting from the head rows before the
// first painted row.
class TGutterNumbers {
public:
    TGutterNumbers(const TCodeEditStringList& lines, bool logical, int headsBefore)
        : lines_(lines), logical_(logical), heads_(headsBefore)
    {
    }
    // 0 for a continuation row, which shows no number.
    int Next(int row)
    {
        if (!logical_) {
            return row;
        }
        if (!IsHead(row)) {
            return 0;
        }
        return ++heads_;
    }

private:
    bool IsHead(int row) const { return row > lines_.Count() || !lines_.IsContinuationLine(row - 1); }

    const TCodeEditStringList& lines_;
    bool logical_;
    int heads_;
};

} // namespace

void TCustomCodeEdit::DrawGutter(TCanvas& canvas, const TRect& clip, int firstLine, int lastLine)
{
    if (firstLine == 1 && lastLine == 0) {
        lastLine = 1;
    }
    const TColor gutterColor = gutter_->Color();
    canvas.SetBrushColor(gutterColor);
    if (gutter_->ShowLineNumbers()) {
        TheTextDrawer& drawer = TextDrawer();
        const bool useFontStyle = gutter_->UseFontStyle();
        if (useFontStyle) {
            drawer.SetBaseFont(&gutter_->Font());
        }
        try {
            TTextDrawingScope drawing(drawer, canvas);
            if (useFontStyle) {
                drawer.SetForeColor(gutter_->Font().Color());
            } else {
                drawer.SetStyle(font_.Style());
                drawer.SetForeColor(font_.Color());
            }
            drawer.SetBackColor(gutterColor);
            const int numbersEnd = gutterWidth_ - gutter_->RightOffset() - 2;
            const int bandRight = std::min(clip.Right, gutterWidth_ - 2);
            const int textTop = (lineHeight_ - drawer.GetCharHeight()) / 2;
            const bool logical = wordWrap_ && LineCount() >= 2;
            TGutterNumbers numbers(*lines_, logical, logical ? rowIndex_.HeadsBefore(*lines_, firstLine - 1) : 0);
            for (int line = firstLine; line <= lastLine; ++line) {
                const int top = (line - topLine_) * lineHeight_;
                const int number = numbers.Next(line);
                const QString text = number > 0 ? gutter_->LineNumberText(number) : QString();
                const int x = numbersEnd - static_cast<int>(text.size()) * drawer.GetCharWidth();
                const TRect band{clip.Left, top, bandRight, top + lineHeight_};
                drawer.ExtTextOut(x, top + textTop, etoOpaque | etoClipped, band,
                                  std::u16string_view(reinterpret_cast<const char16_t*>(text.constData()),
                                                      static_cast<std::size_t>(text.size())));
            }
            const int below = (lastLine - topLine_ + 1) * lineHeight_;
            if (below < clip.Bottom) {
                canvas.FillRect(TRect{clip.Left, std::max(below, clip.Top), clip.Right, clip.Bottom}, gutterColor);
            }
        } catch (...) {
            if (useFontStyle) {
                drawer.SetBaseFont(&font_);
            }
            throw;
        }
        if (useFontStyle) {
            drawer.SetBaseFont(&font_);
        }
    } else {
        canvas.FillRect(clip, gutterColor);
    }

    if (clip.Right >= gutterWidth_ - 2) {
        canvas.SetPen(TPen{color_, TPenStyle::Solid, 1});
        canvas.Line(gutterWidth_ - 2, clip.Top, gutterWidth_ - 2, clip.Bottom);
        canvas.SetPen(TPen{gutterColor, TPenStyle::Solid, 1});
        canvas.Line(gutterWidth_ - 1, clip.Top, gutterWidth_ - 1, clip.Bottom);
    }

    if (!bookMarkOptions_->GlyphsVisible() || marks_->Count() == 0 || lastLine < firstLine) {
        return;
    }
    // Bookmarks first or last by DrawBookmarksFirst; each row keeps the x offset its
    // marks have taken so far.
    std::vector<int> offsets(static_cast<std::size_t>(lastLine - firstLine + 1), 0);
    const auto* images = ObjectCast<TCodeImageList>(bookMarkOptions_->BookmarkImages());
    const bool bookmarksFirst = bookMarkOptions_->DrawBookmarksFirst();
    const int leftMargin = bookMarkOptions_->LeftMargin();
    const int xoffset = bookMarkOptions_->Xoffset();
    auto drawMark = [&](const TCodeEditMark& mark, bool firstPass) {
        int& offset = offsets[static_cast<std::size_t>(mark.Line() - firstLine)];
        const int top = (mark.Line() - topLine_) * lineHeight_;
        if (images && !mark.InternalImage()) {
            if (mark.ImageIndex() < 0 || mark.ImageIndex() >= images->Count()) {
                return;
            }
            if (firstPass) {
                offset = 0;
            } else if (offset == 0) {
                offset = xoffset;
            }
            images->Draw(canvas, leftMargin + offset, top, mark.ImageIndex());
            offset += xoffset;
        } else if (mark.ImageIndex() >= 0 && mark.ImageIndex() <= 9 && offset == 0) {
            if (!internalImages_) {
                internalImages_ = std::make_unique<TCodeInternalImage>(CodeEditInternalImagesResource, 10);
            }
            TCodeCanvasGlyphCanvas glyphs(canvas);
            internalImages_->Draw(glyphs, mark.ImageIndex(), leftMargin, top, lineHeight_);
            offset += xoffset;
        }
    };
    const auto shown = [&](const TCodeEditMark& mark) {
        return mark.Visible() && mark.Line() >= firstLine && mark.Line() <= lastLine;
    };
    bool others = false;
    for (int i = 0; i < marks_->Count(); ++i) {
        const TCodeEditMark& mark = *marks_->Items(i);
        if (shown(mark)) {
            if (mark.IsBookmark() == bookmarksFirst) {
                drawMark(mark, true);
            } else {
                others = true;
            }
        }
    }
    for (int i = 0; others && i < marks_->Count(); ++i) {
        const TCodeEditMark& mark = *marks_->Items(i);
        if (shown(mark) && mark.IsBookmark() != bookmarksFirst) {
            drawMark(mark, false);
        }
    }
}

// --- the text rows -------------------------------------------------------------------

void TCustomCodeEdit::DrawTextLines(TCanvas& canvas, const TRect& clip, int firstLine, int lastLine, int firstColumn,
                                    int lastColumn)
{
    const TColor background = PaintBackgroundColor();
    const int textLeft = gutterWidth_ + 2;
    const int rightEdgeX = textOffset_ + rightEdge_ * charWidth_;
    const bool showRightEdge = rightEdge_ > 0 && rightEdgeX >= clip.Left && rightEdgeX < clip.Right;
    auto drawRightEdge = [&](int top, int bottom) {
        if (showRightEdge) {
            canvas.SetPen(TPen{rightEdgeColor_, TPenStyle::Solid, 1});
            canvas.Line(rightEdgeX, top, rightEdgeX, bottom);
        }
    };
    if (clip.Left < textLeft) {
        canvas.FillRect(TRect{clip.Left, clip.Top, textLeft, clip.Bottom}, background);
    }

    if (lastLine >= firstLine) {
        TVisibleSelection selection;
        const bool hidden = hideSelection_ && !(host_ && host_->Focused());
        if (!hidden && blockBegin_ != blockEnd_) {
            const TTextPoint b = BlockBegin();
            const TTextPoint e = BlockEnd();
            if (e.y >= firstLine && b.y <= lastLine) {
                selection.any = true;
                selection.mode = selectionMode_;
                selection.begin = TTextPoint{CharToDisplayColumn(b.y, b.x), b.y};
                selection.end = TTextPoint{CharToDisplayColumn(e.y, e.x), e.y};
                if (selectionMode_ == smColumn && selection.begin.x > selection.end.x) {
                    std::swap(selection.begin.x, selection.end.x);
                }
            }
        }

        TCodeRowPaintSetup setup;
        TheTextDrawer& drawer = TextDrawer();
        setup.drawer = &drawer;
        setup.charWidth = charWidth_;
        setup.lineHeight = lineHeight_;
        setup.textOffset = textOffset_;
        setup.textLeft = textLeft;
        setup.firstColumn = firstColumn;
        setup.lastColumn = lastColumn;
        setup.tabWidth = tabWidth_;
        setup.fontColor = font_.Color();
        setup.fontStyle = font_.Style();
        setup.background = background;
        setup.selectedForeground = selectedColor_->Foreground();
        setup.selectedBackground = selectedColor_->Background();
        setup.showSpecialChars = showSpecialChars_;
        setup.specialLineDefaultForeground = HasOption(eoSpecialLineDefaultFg);
        if (highlighter_ && highlighter_->Enabled()) {
            setup.highlighter = highlighter_;
            setup.lineEndAttribute = highlighter_->GetDefaultAttribute(4);
        }
        TCodeRowPainter painter(setup);
        const int count = LineCount();

        drawer.SetStyle(font_.Style());
        TTextDrawingScope drawing(drawer, canvas);
        for (int line = firstLine; line <= lastLine; ++line) {
            TCodeRow row;
            row.expanded = lines_->GetExpandedString(line - 1);
            row.lineIndex = line - 1;
            row.range = lines_->GetRange(line - 1);
            row.top = (line - topLine_) * lineHeight_;
            row.endsLogicalLine = line >= count || !wordWrap_ || !lines_->IsContinuationLine(line);
            row.foreground = font_.Color();
            row.background = background;
            row.special = FireSpecialLineColors(line, row.foreground, row.background);
            row.selection = SelectionOnRow(selection, line, firstColumn, lastColumn);
            painter.Paint(row);
            drawRightEdge(row.top, row.top + lineHeight_ + 1);
        }
    }

    const int below = std::max((lastLine - topLine_ + 1) * lineHeight_, clip.Top);
    if (below < clip.Bottom) {
        canvas.FillRect(TRect{clip.Left, below, clip.Right, clip.Bottom}, background);
        drawRightEdge(below, clip.Bottom);
    }
}
