// Switching the buffer's soft wrap while the caret stays on its character.
#include "editor/control/CodeEdit.h"

TTextPoint TCustomCodeEdit::UnwrappedPoint(TTextPoint point) const
{
    const int count = LineCount();
    if (point.y < 1 || point.y > count) {
        return point;
    }
    // Up to the head piece, the column growing by each piece passed.
    while (point.y > 1 && lines_->IsContinuationLine(point.y - 1)) {
        --point.y;
        point.x += static_cast<int>(lines_->Get(point.y - 1).size());
    }
    int continuations = 0;
    for (int i = 0; i < point.y - 1; ++i) {
        continuations += lines_->IsContinuationLine(i) ? 1 : 0;
    }
    point.y -= continuations;
    return point;
}

TTextPoint TCustomCodeEdit::WrappedPoint(TTextPoint point) const
{
    const int count = LineCount();
    int heads = 0;
    int index = 0;
    for (; index < count; ++index) {
        if (!lines_->IsContinuationLine(index) && ++heads == point.y) {
            break;
        }
    }
    if (index >= count) {
        return point;
    }
    // A caret right behind a piece stays at that piece's end, before the same character.
    while (index + 1 < count && lines_->IsContinuationLine(index + 1)) {
        const int length = static_cast<int>(lines_->Get(index).size());
        if (point.x <= length + 1) {
            break;
        }
        point.x -= length;
        ++index;
    }
    return TTextPoint{point.x, index + 1};
}

void TCustomCodeEdit::SetWordWrap(bool on)
{
    if (on == wordWrap_) {
        return;
    }
    TPaintLockGuard lock(*this);
    if (on) {
        if (HasOption(eoAltSetsColumnMode)) {
            options_ = options_.Without(eoAltSetsColumnMode);
            rememberedColumnMode_ = true;
        }
        if (selectionMode_ == smColumn) {
            SetSelectionMode(smNormal);
        }
    } else if (rememberedColumnMode_) {
        options_ = options_.With(eoAltSetsColumnMode);
        rememberedColumnMode_ = false;
    }
    TCodeCustomHighlighter* highlighter = highlighter_;
    SetHighlighter(nullptr);
    TTextPoint caret = CaretXY();
    const int fromTop = caret.y - topLine_;
    if (!on) {
        caret = UnwrappedPoint(caret);
    }
    lines_->SetWrapWidth(charsInWindow_);
    lines_->SetWrapMode(on);
    wordWrap_ = on;
    if (on) {
        caret = WrappedPoint(caret);
        SetLeftChar(1);
    }
    SetCaretXY(caret);
    SetTopLine(caret.y - fromTop);
    EnsureCursorPosVisible();
    SetHighlighter(highlighter);
    UpdateScrollBars();
    Invalidate();
}
