// The view: first line and column, the gutter's width, keeping the caret in sight, and
// the mapping between client pixels and text positions.
#include "editor/control/CodeEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void TCustomCodeEdit::SetTopLine(int line)
{
    const int largest = HasOption(eoScrollPastEof) ? LineCount() : LineCount() + 1 - linesInWindow_;
    line = std::max(1, std::min(line, largest));
    if (line == topLine_) {
        return;
    }
    const int delta = topLine_ - line;
    topLine_ = line;
    UpdateScrollBars();
    if (host_) {
        // Under the paint lock the window moves by pixels at most once: an undo or a
        // replace-all that walks a hundred thousand lines would otherwise send the
        // display as many copies of the whole window. Any later move repaints the
        // window instead, and that repaint waits for the lock to end.
        if (std::abs(delta) < linesInWindow_ && !TestState(sfScrolledUnderLock)) {
            // What waits to be repainted moves with the pixels.
            FlushInvalidRect();
            host_->ScrollBy(0, lineHeight_ * delta);
        } else {
            Invalidate();
        }
        SetState(sfScrolledUnderLock, paintLock_ > 0);
    }
    StatusChanged(scTopLine);
}

int TCustomCodeEdit::ViewColumns() const
{
    return HorizontalColumns(lines_->GetLengthOfLongestLine(), maxLeftChar_, options_);
}

void TCustomCodeEdit::SetLeftChar(int column)
{
    column = std::max(1, std::min(column, ViewColumns() - charsInWindow_ + 1));
    if (column == leftChar_) {
        return;
    }
    leftChar_ = column;
    ComputeTextOffset();
    UpdateScrollBars();
    InvalidateAllLines();
    StatusChanged(scLeftChar);
}

void TCustomCodeEdit::SetGutterWidth(int width)
{
    width = std::max(0, width);
    if (width == gutterWidth_) {
        return;
    }
    gutterWidth_ = width;
    ComputeTextOffset();
    if (host_) {
        charsInWindow_ = std::max(0, (ClientWidth() - gutterWidth_ - 2) / charWidth_);
        UpdateScrollBars();
        Invalidate();
    }
}

void TCustomCodeEdit::EnsureCursorPosVisibleEx(bool forceToMiddle)
{
    if (replayingGroup_ && !forceToMiddle) {
        caretToFollow_ = true;
        return;
    }
    TPaintLockGuard lock(*this);
    const int column = CaretDisplayColumn();
    if (column < leftChar_) {
        SetLeftChar(column);
    } else if (column > charsInWindow_ + leftChar_) {
        SetLeftChar(column - charsInWindow_ + 1);
    }
    if (!forceToMiddle) {
        if (caretY_ < topLine_) {
            SetTopLine(caretY_);
        } else if (caretY_ > topLine_ + std::max(1, linesInWindow_) - 1) {
            SetTopLine(caretY_ - (linesInWindow_ - 1));
        }
        return;
    }
    // Centred. A caret anywhere above the window comes into view, also the line
    // just above it.
    if (caretY_ < topLine_) {
        SetTopLine(std::max(1, caretY_ - linesInWindow_ / 2 + 1));
    } else if (caretY_ > topLine_ + linesInWindow_ - 2) {
        SetTopLine(caretY_ - (linesInWindow_ - 1) + linesInWindow_ / 2);
    }
}

TTextPoint TCustomCodeEdit::PixelToTextPos(int x, int y) const
{
    const double f = static_cast<double>(leftChar_ * charWidth_ + x - gutterWidth_ - 2) / charWidth_;
    int column = static_cast<int>(std::lround(f));
    if (y >= linesInWindow_ * lineHeight_) {
        y = std::max(0, linesInWindow_ * lineHeight_ - 1);
    }
    const int line = y / lineHeight_ + topLine_;
    if (line < 1 || line > LineCount()) {
        return TTextPoint{DisplayToCharColumn(line, column), line};
    }
    // Only a tab is wider than a cell here; the halves of a surrogate pair are two cells
    // and the pair goes to the side of the click.
    const QString text = lines_->Get(line - 1);
    if (text.contains(QLatin1Char('\t'))) {
        column = DisplayToCharColumn(line, column);
    } else if (IsTrailPosition(text, column)) {
        column += f - std::floor(f) >= 0.5 ? -1 : 1;
    }
    return TTextPoint{column, line};
}

TTextPoint TCustomCodeEdit::TextPosToPixel(TTextPoint point) const
{
    const int column = CharToDisplayColumn(point.y, point.x);
    return TTextPoint{(column - 1) * charWidth_ + textOffset_, (point.y - topLine_) * lineHeight_};
}

TCursor TCustomCodeEdit::CursorAt(int x, int y) const
{
    if (x < gutterWidth_) {
        return gutter_->Cursor();
    }
    if (HasOption(eoDragDropEditing) && IsInSelection(PixelToTextPos(x, y))) {
        return crArrow;
    }
    return cursor_;
}
