// Where the caret may stand, the selection's two points and their repaints, and the
// primitive through which every text change replaces the selection.
#include "editor/control/CodeEdit.h"

#include <algorithm>
#include <exception>

namespace {
// The buffer's update bracket for a scope, closed also when an exception leaves it.
class TBufferUpdate {
public:
    explicit TBufferUpdate(TCodeEditStringList& lines) : lines_(lines) { lines_.BeginUpdate(); }
    ~TBufferUpdate() noexcept(false)
    {
        if (std::uncaught_exceptions() > exceptions_) {
            try {
                lines_.EndUpdate();
            } catch (...) {
                // the exception already on its way is the one to report
            }
        } else {
            lines_.EndUpdate();
        }
    }
    TBufferUpdate(const TBufferUpdate&) = delete;
    TBufferUpdate& operator=(const TBufferUpdate&) = delete;

private:
    TCodeEditStringList& lines_;
    int exceptions_ = std::uncaught_exceptions();
};

// The pieces of a text between its line breaks; CR LF, CR and LF each end a piece.
QStringList SplitAtLineBreaks(const QString& text)
{
    QStringList pieces;
    const QChar* p = text.constData();
    const int n = static_cast<int>(text.size());
    int start = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] == QLatin1Char('\r') || p[i] == QLatin1Char('\n')) {
            pieces.append(text.mid(start, i - start));
            if (p[i] == QLatin1Char('\r') && i + 1 < n && p[i + 1] == QLatin1Char('\n')) {
                ++i;
            }
            start = i + 1;
        }
    }
    pieces.append(text.mid(start));
    return pieces;
}

QString Blanks(int count) { return QString(std::max(0, count), QLatin1Char(' ')); }
} // namespace

// --- the caret -------------------------------------------------------------------------

void TCustomCodeEdit::PlaceCaret(bool ensureVisible, TTextPoint point)
{
    PaintTransient(ttBefore);
    const int count = LineCount();
    if (point.y > count) {
        point.y = count;
    }
    if (point.y < 1) {
        point.y = 1;
    }
    point.x = std::max(1, std::min(point.x, LastCaretColumn(point.y)));
    point.x = StepOffTrail(point.y, point.x, false);
    if (point == CaretXY()) {
        ResetLastCaretX();
        PaintTransient(ttAfter);
        return;
    }
    {
        TPaintLockGuard lock(*this);
        if (point.x != caretX_) {
            caretX_ = point.x;
            StatusChanged(scCaretX);
        }
        if (point.y != caretY_) {
            caretY_ = point.y;
            StatusChanged(scCaretY);
        }
        ResetLastCaretX();
        if (ensureVisible) {
            EnsureCursorPosVisible();
        }
        SetState(sfCaretChanged, true);
        SetState(sfScrollbarChanged, true);
    }
    PaintTransient(ttAfter);
}

int TCustomCodeEdit::LastCaretColumn(int line) const
{
    const int lineEnd = static_cast<int>(LineAt(line).size()) + 1;
    return HasOption(eoScrollPastEol) ? std::max(maxLeftChar_, lineEnd) : lineEnd;
}

int TCustomCodeEdit::LastPointColumn(int line) const
{
    return std::max(maxLeftChar_, static_cast<int>(LineAt(line).size()) + 1);
}

void TCustomCodeEdit::ResetLastCaretX()
{
    caretStepAside_ = false;
    lastCaretX_ = CaretDisplayColumn();
}

void TCustomCodeEdit::ComputeCaret(int x, int y) { SetCaretXY(PixelToTextPos(x, y)); }

// --- the selection's points ------------------------------------------------------------

TTextPoint TCustomCodeEdit::BlockBegin() const { return EarlierPoint(blockBegin_, blockEnd_); }

TTextPoint TCustomCodeEdit::BlockEnd() const { return LaterPoint(blockBegin_, blockEnd_); }

TTextPoint TCustomCodeEdit::ReplacementStart() const
{
    TTextPoint start = BlockBegin();
    if (selectionMode_ == smLine) {
        start.x = 1;
    } else if (selectionMode_ == smColumn) {
        const TTextPoint end = BlockEnd();
        const int left = std::min(CharToDisplayColumn(start.y, start.x), CharToDisplayColumn(end.y, end.x));
        start.x = DisplayToCharColumn(start.y, left);
    }
    return start;
}

bool TCustomCodeEdit::SelAvail() const
{
    return blockBegin_.x != blockEnd_.x || (blockBegin_.y != blockEnd_.y && selectionMode_ != smColumn);
}

bool TCustomCodeEdit::SelectionSpansLines() const
{
    return BlockBegin().y != BlockEnd().y && selectionMode_ != smColumn;
}

bool TCustomCodeEdit::SelectionStartsLeftOfShortCaretLine() const
{
    return BlockBegin().x <= 1 && GetLineText().size() < BlockEnd().x && SelAvail();
}

bool TCustomCodeEdit::IsInSelection(TTextPoint point) const
{
    if (!SelAvail()) {
        return false;
    }
    const TTextPoint b = BlockBegin();
    const TTextPoint e = BlockEnd();
    if (point.y < b.y || point.y > e.y) {
        return false;
    }
    switch (selectionMode_) {
    case smLine: return true;
    case smColumn: {
        const int column = CharToDisplayColumn(point.y, point.x);
        const int left = std::min(CharToDisplayColumn(b.y, b.x), CharToDisplayColumn(e.y, e.x));
        const int right = std::max(CharToDisplayColumn(b.y, b.x), CharToDisplayColumn(e.y, e.x));
        return column >= left && column < right;
    }
    case smNormal: break;
    }
    const bool afterBegin = point.y > b.y || point.x >= b.x;
    const bool beforeEnd = point.y < e.y || point.x < e.x;
    return afterBegin && beforeEnd;
}

namespace {
int Min3(int a, int b, int c) { return std::min(a, std::min(b, c)); }
int Max3(int a, int b, int c) { return std::max(a, std::max(b, c)); }
} // namespace

void TCustomCodeEdit::SetBlockBegin(TTextPoint point)
{
    point.y = Clamp(point.y, 1, std::max(1, LineCount()));
    point.x = Clamp(point.x, 1, LastPointColumn(point.y));
    if (selectionMode_ == smNormal) {
        point.x = std::min(point.x, static_cast<int>(LineAt(point.y).size()) + 1);
    }
    point.x = StepOffTrail(point.y, point.x, false);
    const bool hadSelection = SelAvail();
    const TTextPoint oldBegin = blockBegin_;
    const TTextPoint oldEnd = blockEnd_;
    blockBegin_ = blockEnd_ = point;
    if (hadSelection) {
        InvalidateLines(Min3(oldBegin.y, oldEnd.y, point.y), Max3(oldBegin.y, oldEnd.y, point.y));
        StatusChanged(scSelection);
    } else if (point != oldBegin || point != oldEnd) {
        StatusChanged(scSelection);
    }
}

void TCustomCodeEdit::SetBlockEnd(TTextPoint point)
{
    if (HasOption(eoNoSelection)) {
        return;
    }
    point.y = Clamp(point.y, 1, std::max(1, LineCount()));
    point.x = Clamp(point.x, 1, LastPointColumn(point.y));
    if (selectionMode_ == smNormal) {
        point.x = std::min(point.x, static_cast<int>(LineAt(point.y).size()) + 1);
    }
    if (point == blockEnd_) {
        return;
    }
    point.x = StepOffTrail(point.y, point.x, false);
    if (point == blockEnd_) {
        return;
    }
    const TTextPoint oldEnd = blockEnd_;
    if (selectionMode_ != smColumn || point.x == oldEnd.x) {
        blockEnd_ = point;
        if (selectionMode_ != smColumn || blockBegin_.x != blockEnd_.x) {
            InvalidateLines(oldEnd.y, point.y);
        }
    } else {
        InvalidateLines(Min3(blockBegin_.y, oldEnd.y, point.y), Max3(blockBegin_.y, oldEnd.y, point.y));
        blockEnd_ = point;
    }
    StatusChanged(scSelection);
}

void TCustomCodeEdit::SelectAll()
{
    const int count = LineCount();
    const TTextPoint end = count > 0 ? TTextPoint{static_cast<int>(lines_->Get(count - 1).size()) + 1, count}
                                     : TTextPoint{1, 1};
    SetCaretAndSelection(end, TTextPoint{1, 1}, end);
    StatusChanged(scSelection);
}

void TCustomCodeEdit::SetCaretAndSelection(TTextPoint caret, TTextPoint begin, TTextPoint end)
{
    TPaintLockGuard lock(*this);
    SetCaretXY(caret);
    SetBlockBegin(begin);
    SetBlockEnd(end);
}

// --- replacing the selection -------------------------------------------------------------

void TCustomCodeEdit::SetSelTextRaw(const QString& text)
{
    if (!GetReadOnly()) {
        SetSelTextPrimitive(selectionMode_, text);
    }
}

void TCustomCodeEdit::ReplaceSelText(const QString& text)
{
    if (GetReadOnly()) {
        return;
    }
    BeginUndoBlock();
    try {
        TTextPoint start = CaretXY();
        if (SelAvail()) {
            undoList_->AddChange(crSelDelete, BlockBegin(), BlockEnd(), GetSelText(), selectionMode_);
            start = ReplacementStart();
            const TTextPoint begin = BlockBegin();
            blockEnd_ = BlockEnd();
            blockBegin_ = begin;
        }
        if (selectionMode_ == smColumn && !text.isEmpty()) {
            // The pieces of a column may differ in length: each records itself, as the
            // pieces of a column paste do.
            SetSelTextPrimitive(smColumn, text, nullptr, true);
            EndUndoBlock();
            return;
        }
        LockUndo();
        try {
            SetSelTextRaw(text);
        } catch (...) {
            UnlockUndo();
            throw;
        }
        UnlockUndo();
        if (!text.isEmpty()) {
            if (selectionMode_ == smLine && caretX_ == 1) {
                // Whole lines went in before the caret line: the record names them
                // only, or its undo would take the caret line as well.
                undoList_->AddChange(crInsert, start, TTextPoint{charsInWindow_, caretY_ - 1}, QString(), smLine);
            } else {
                undoList_->AddChange(crInsert, start, CaretXY(), QString(), smNormal);
            }
        }
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
}

void TCustomCodeEdit::ClearSelection()
{
    if (SelAvail()) {
        ReplaceSelText(QString());
    }
}

// Deletes the ordered selection b..e in the current mode; the caret (the field pair,
// placed properly by the caller) goes where an insertion would replace it.
void TCustomCodeEdit::DeleteSelection(TTextPoint b, TTextPoint e)
{
    const int count = LineCount();
    switch (selectionMode_) {
    case smNormal:
        if (count > 0) {
            QString joined = lines_->Get(b.y - 1);
            if (e.y == b.y) {
                joined.remove(b.x - 1, e.x - b.x);
            } else {
                joined = joined.left(b.x - 1) + lines_->Get(e.y - 1).mid(e.x - 1);
            }
            if (HasOption(eoScrollPastEol) && HasOption(eoTrimTrailingSpaces)) {
                joined = TrimTrailingSpaces(joined);
            }
            lines_->Put(b.y - 1, joined);
            if (e.y > b.y) {
                lines_->DeleteLines(b.y, e.y - b.y);
                DoLinesDeleted(b.y, e.y - b.y);
            }
        }
        caretX_ = b.x;
        caretY_ = b.y;
        break;
    case smLine:
        if (count > 0) {
            if (e.y < count) {
                lines_->DeleteLines(b.y - 1, e.y - b.y + 1);
            } else {
                lines_->Put(e.y - 1, QString());
                if (e.y > b.y) {
                    lines_->DeleteLines(b.y - 1, e.y - b.y);
                }
            }
            DoLinesDeleted(b.y, e.y - b.y + 1);
        }
        caretX_ = 1;
        caretY_ = b.y;
        break;
    case smColumn: {
        const int left = std::min(CharToDisplayColumn(b.y, b.x), CharToDisplayColumn(e.y, e.x));
        const int right = std::max(CharToDisplayColumn(b.y, b.x), CharToDisplayColumn(e.y, e.x));
        for (int y = b.y; y <= e.y && y <= count; ++y) {
            const int first = DisplayToCharColumn(y, left);
            const int last = DisplayToCharColumn(y, right);
            QString line = lines_->Get(y - 1);
            if (first <= line.size()) {
                line.remove(first - 1, std::max(0, last - first));
                ProperSetLine(y - 1, line);
            }
        }
        // The top left corner, where a column text that replaces the block belongs.
        caretX_ = DisplayToCharColumn(b.y, left);
        caretY_ = b.y;
        break;
    }
    }
}

int TCustomCodeEdit::InsertNormal(const QString& text)
{
    if (LineCount() == 0) {
        lines_->Add(QString());
    }
    QString line = lines_->Get(caretY_ - 1);
    const qsizetype at = caretX_ - 1;
    if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n'))) {
        // One line: the text goes into a copy of the line (an undo or a replace-all
        // does this a hundred thousand times, so no pieces are made).
        line += Blanks(static_cast<int>(at - line.size()));
        line.insert(at, text);
        ProperSetLine(caretY_ - 1, line);
        caretX_ = static_cast<int>(at + text.size()) + 1;
        return 0;
    }
    QString left = line.left(at);
    left += Blanks(static_cast<int>(at - left.size()));
    const QString right = line.mid(at);
    const QStringList pieces = SplitAtLineBreaks(text);
    const int breaks = static_cast<int>(pieces.size()) - 1;
    ProperSetLine(caretY_ - 1, left + pieces.first());
    lines_->InsertBlankLines(caretY_, breaks);
    for (int i = 1; i < breaks; ++i) {
        ProperSetLine(caretY_ - 1 + i, pieces[i]);
    }
    ProperSetLine(caretY_ - 1 + breaks, pieces.last() + right);
    caretX_ = static_cast<int>(pieces.last().size()) + 1;
    caretY_ += breaks;
    return breaks;
}

int TCustomCodeEdit::InsertColumn(const QString& text, int* columnWidth, bool record)
{
    const QStringList pieces = SplitAtLineBreaks(text);
    const int column = CharToDisplayColumn(caretY_, caretX_);
    int added = 0;
    int y = caretY_;
    int at = column;
    for (qsizetype i = 0; i < pieces.size(); ++i, ++y) {
        const QString& piece = pieces[i];
        if (y <= LineCount()) {
            QString line = lines_->Get(y - 1);
            const int cells = static_cast<int>(lines_->GetExpandedString(y - 1).size());
            if (cells >= column - 1) {
                at = DisplayToCharColumn(y, column);
                line.insert(at - 1, piece);
            } else {
                line += Blanks(column - 1 - cells);
                at = static_cast<int>(line.size()) + 1;
                line += piece;
            }
            ProperSetLine(y - 1, line);
        } else {
            at = column;
            lines_->Add(Blanks(column - 1) + piece);
            ++added;
        }
        if (record || pasting_) {
            // A piece replayed in line mode would take its whole line.
            undoList_->AddChange(crPaste, TTextPoint{at, y}, TTextPoint{at + static_cast<int>(piece.size()), y},
                                 QString(), selectionMode_ == smLine ? smNormal : selectionMode_);
        }
        if (columnWidth) {
            *columnWidth = static_cast<int>(piece.size());
        }
        caretX_ = at + static_cast<int>(piece.size());
        caretY_ = y;
    }
    return added;
}

int TCustomCodeEdit::InsertLines(const QString& text)
{
    const QStringList pieces = SplitAtLineBreaks(text);
    caretX_ = 1;
    int added = 0;
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
        lines_->Insert(std::min(caretY_ - 1, LineCount()), pieces[i]);
        ++caretY_;
        ++added;
    }
    const QString& last = pieces.last();
    if (caretY_ <= LineCount()) {
        ProperSetLine(caretY_ - 1, last + lines_->Get(caretY_ - 1));
    } else {
        lines_->Add(HasOption(eoTrimTrailingSpaces) ? TrimTrailingSpaces(last) : last);
        ++added;
    }
    caretX_ = static_cast<int>(last.size()) + 1;
    StatusChanged(scCaretX);
    return added;
}

void TCustomCodeEdit::SetSelTextPrimitive(TCodeSelectionMode mode, const QString& text, int* columnWidth,
                                          bool recordColumnLines)
{
    TPaintLockGuard lock(*this);
    // The caret fields move freely while the text changes and are placed properly (with
    // their status changes) at the end.
    const TTextPoint oldCaret = CaretXY();
    {
        TBufferUpdate update(*lines_);
        // Points past the last line (lines taken out behind the control's back) stand
        // at the last line.
        const int last = std::max(1, LineCount());
        TTextPoint b = BlockBegin();
        TTextPoint e = BlockEnd();
        b.y = std::min(b.y, last);
        e.y = std::min(e.y, last);
        caretY_ = std::min(caretY_, last);
        if (SelAvail()) {
            DeleteSelection(b, e);
        }
        if (!text.isEmpty()) {
            const int startLine = caretY_;
            const bool atLineStart = caretX_ == 1;
            const int countBefore = LineCount();
            int added = 0;
            switch (mode) {
            case smNormal:
                added = InsertNormal(text);
                if (added > 0) {
                    // Marks on the line stay when the new lines go in after its head.
                    DoLinesInserted(atLineStart ? startLine : startLine + 1, added);
                }
                break;
            case smColumn:
                added = InsertColumn(text, columnWidth, recordColumnLines);
                if (added > 0) {
                    DoLinesInserted(countBefore + 1, added);
                }
                break;
            case smLine:
                added = InsertLines(text);
                if (added > 0) {
                    DoLinesInserted(startLine, added);
                }
                break;
            }
        }
        const TTextPoint target{caretX_, std::max(1, caretY_)};
        caretX_ = oldCaret.x;
        caretY_ = oldCaret.y;
        SetCaretXY(target);
    }
}
