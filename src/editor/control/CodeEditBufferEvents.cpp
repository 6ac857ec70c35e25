// How the control follows its buffer as lines come, change and go: the repaint bands,
// the highlighter's line states and the growth of MaxLeftChar.
#include "editor/control/CodeEdit.h"

#include "editor/highlighting/CodeCustomHighlighter.h"
#include "editor/document/CodeLineStates.h"

#include <algorithm>

void TCustomCodeEdit::ListAdded(int index, const QString& text)
{
    LinesArrived(index, text, std::max(index + 1, topLine_ + linesInWindow_));
}

void TCustomCodeEdit::ListInserted(int index, const QString& text)
{
    LinesArrived(index, text, topLine_ + linesInWindow_);
}

void TCustomCodeEdit::LinesArrived(int index, const QString& text, int lastRepaint)
{
    if (highlighter_) {
        const int added = std::max(1, LineCount() - knownLineCount_);
        if (rescanLast_ >= index) {
            rescanLast_ += added;
        }
        // The line before the new ones gives them their state.
        MarkRescan(std::max(0, index - 1), index + added - 1);
    }
    knownLineCount_ = LineCount();
    InvalidateGutterLines(index + 1, lastRepaint);
    InvalidateLines(index + 1, lastRepaint);
    if (text.size() + 1 > maxLeftChar_) {
        GrowMaxLeftChar(static_cast<int>(text.size()) + 1);
    }
}

void TCustomCodeEdit::ListDeleted(int index)
{
    const int count = LineCount();
    if (highlighter_ && count > 0) {
        const int deleted = std::max(0, knownLineCount_ - count);
        if (rescanLast_ >= index + deleted) {
            rescanLast_ -= deleted;
        } else if (rescanLast_ >= index) {
            rescanLast_ = index;
        }
        // The line that now stands at `index` takes its state from the one before.
        MarkRescan(std::max(0, index - 1), std::min(index, count - 1));
    }
    knownLineCount_ = count;
    InvalidateGutterLines(index + 1, std::max(index + 1, topLine_ + linesInWindow_));
    InvalidateLines(index + 1, std::max(index + 1, topLine_ + linesInWindow_));
}

void TCustomCodeEdit::ListPutted(int index, const QString& text)
{
    MarkRescan(index, index);
    InvalidateLines(index + 1, index + 1);
    if (text.size() + 1 >= maxLeftChar_) {
        GrowMaxLeftChar(static_cast<int>(text.size()) + 2);
    }
}

void TCustomCodeEdit::ListCleared()
{
    rescanFirst_ = rescanLast_ = -1;
    knownLineCount_ = 0;
    ClearUndo();
    invalidRect_ = TRect{};
    Invalidate();
    blockBegin_ = blockEnd_ = TTextPoint{1, 1};
    caretX_ = caretY_ = lastCaretX_ = 1;
    SetTopLine(1);
    SetLeftChar(1);
    StatusChanged(scAll);
}

void TCustomCodeEdit::GrowMaxLeftChar(int needed)
{
    if (HasOption(eoAutoSizeMaxLeftChar)) {
        SetMaxLeftChar(needed);
    }
}

// --- line states -------------------------------------------------------------------------

void TCustomCodeEdit::MarkRescan(int first, int last)
{
    if (!highlighter_) {
        return;
    }
    if (rescanFirst_ < 0) {
        rescanFirst_ = first;
        rescanLast_ = last;
    } else {
        rescanFirst_ = std::min(rescanFirst_, first);
        rescanLast_ = std::max(rescanLast_, last);
    }
    if (lines_->UpdateCount() == 0) {
        FlushRescan();
    }
}

void TCustomCodeEdit::FlushRescan()
{
    int first = rescanFirst_;
    int last = rescanLast_;
    rescanFirst_ = rescanLast_ = -1;
    knownLineCount_ = LineCount();
    const int count = LineCount();
    if (!highlighter_ || first < 0 || count == 0) {
        return;
    }
    first = std::min(first, count - 1);
    last = std::min(last, count - 1);
    if (first == 0) {
        highlighter_->ResetRange();
        lines_->PutRange(0, highlighter_->GetRange());
    }
    const int scanned = ScanChangedLines(*lines_, *highlighter_, first, last);
    InvalidateLines(first + 1, scanned + 1);
}

void TCustomCodeEdit::RescanAll(bool inUpdate)
{
    rescanFirst_ = rescanLast_ = -1;
    knownLineCount_ = LineCount();
    if (!highlighter_ || LineCount() == 0) {
        return;
    }
    if (!inUpdate) {
        RescanAllRanges(*lines_, *highlighter_);
        return;
    }
    lines_->BeginUpdate();
    try {
        RescanAllRanges(*lines_, *highlighter_);
    } catch (...) {
        lines_->EndUpdate();
        throw;
    }
    lines_->EndUpdate();
}

// A rule or colour of the highlighter changed.
void TCustomCodeEdit::HighlighterChanged(TObject*)
{
    RescanAll(false);
    Invalidate();
}
