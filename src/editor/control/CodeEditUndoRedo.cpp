// Undo and redo in the control: a whole group of records comes off one list, each is
// replayed and its inverse goes to the other list, so the two replay each other.
#include "editor/control/CodeEdit.h"
#include "editor/control/CodeEditInternals.h"

#include "platform/core/services/Clipboard.h"
#include "platform/core/ScopeGuard.h"

#include <algorithm>
#include <utility>

namespace {
// Replayed as a deletion that also puts caret and selection end at (1, 1).
constexpr std::uint8_t crDeleteAndReset = 18;
// Bracket reasons: 10/11, 12/13 and 14/15 open and close a group.
bool IsOpeningBracket(std::uint8_t reason) { return reason == 10 || reason == 12 || reason == 14; }
bool IsClosingBracket(std::uint8_t reason) { return reason == 11 || reason == 13 || reason == 15; }

// Whether the record below one taken belongs to the same group. `last` is the reason
// of the group's first record; `number` the change number being taken; `stop` is the
// bracket reason that ends a bracketed group (0 outside brackets). A record that joins
// by its reason makes its own change number the one taken, so the rest of that edit
// (the deletion of a replaced selection, the blanks padded before a character) follows
// instead of staying behind for the next undo.
bool SameGroup(const TCodeEditUndoItem& next, std::uint8_t last, std::int32_t& number, bool groupUndo,
               std::uint8_t stop)
{
    if (stop != 0) {
        return next.ChangeReason != stop;
    }
    if (next.ChangeNumber == number) {
        return true;
    }
    if (groupUndo && last != crIndent && last != crUnindent && next.ChangeReason == last) {
        number = next.ChangeNumber;
        return true;
    }
    return false;
}

// The records one undo or redo takes from the top of a list (with no group break on
// top): a bracketed group runs to its other bracket (an undo from the closing one back
// to the opening one, a redo the other way round), any other while SameGroup holds.
struct TGroupOnTop {
    int count = 0;
    std::int32_t newestNumber = 0;
    std::int32_t oldestNumber = 0;
};

TGroupOnTop GroupOnTop(const TCodeEditUndoList& list, bool redo, bool groupUndo)
{
    const int top = list.ItemCount() - 1;
    const std::uint8_t last = list.Item(top).ChangeReason;
    std::uint8_t stop = 0;
    if (!redo && IsClosingBracket(last)) {
        stop = static_cast<std::uint8_t>(last - 1);
    } else if (redo && IsOpeningBracket(last)) {
        stop = static_cast<std::uint8_t>(last + 1);
    }
    std::int32_t taking = list.Item(top).ChangeNumber;
    int below = top - 1;
    while (below >= 0 && SameGroup(list.Item(below), last, taking, groupUndo, stop)) {
        --below;
    }
    if (stop != 0 && below >= 0) {
        --below; // the other bracket
    }
    return TGroupOnTop{top - below, list.Item(top).ChangeNumber, list.Item(below + 1).ChangeNumber};
}

// Group breaks on top of one list move to the other.
void MoveGroupBreaks(TCodeEditUndoList& from, TCodeEditUndoList& to)
{
    while (from.GetLastChangeReason() == crGroupBreak) {
        from.PopItem();
        to.AddGroupBreak();
    }
}

} // namespace

// --- whole groups ----------------------------------------------------------------------

void TCustomCodeEdit::Undo() { ReplayGroup(false); }

void TCustomCodeEdit::Redo() { ReplayGroup(true); }

void TCustomCodeEdit::ReplayGroup(bool redo)
{
    if (GetReadOnly()) {
        return;
    }
    TCodeEditUndoList& from = redo ? *redoList_ : *undoList_;
    TCodeEditUndoList& to = redo ? *undoList_ : *redoList_;
    TPaintLockGuard lock(*this);
    MoveGroupBreaks(from, to);
    if (!from.CanUndo()) {
        return;
    }
    const TGroupOnTop group = GroupOnTop(from, redo, HasOption(eoGroupUndo));
    // The inverse records share the change number that names the text they lead back to
    // (the undo list's State): an undo's, the text its newest record made; a redo's, the
    // text before the oldest step it takes was undone, which that step's inverse records
    // were numbered for (a redo may take more steps than one undo did).
    const std::int32_t inverseNumber = redo ? group.oldestNumber : group.newestNumber;
    const std::int32_t outerNumber = to.BlockChangeNumber();
    const TScopeGuard restoreNumber([&to, outerNumber] { to.SetBlockChangeNumber(outerNumber); });
    // The view follows the caret and the change is reported once, when the whole group
    // is back: a hundred thousand records would otherwise do each as often. Left by an
    // exception, the group still reports its change: the text may have changed.
    TScopeGuard afterError([this] {
        caretToFollow_ = false;
        try {
            EndReplayGroup();
        } catch (...) {
            // the exception already on its way is the one to report
        }
    });
    replayingGroup_ = true;
    caretToFollow_ = false;
    for (int taken = 0; taken < group.count; ++taken) {
        // Again for each record: a replay that opened and closed a block of its own
        // dropped the number.
        to.SetBlockChangeNumber(inverseNumber);
        redo ? RedoItem() : UndoItem();
    }
    MoveGroupBreaks(from, to);
    afterError.Dismiss();
    EndReplayGroup();
    if (std::exchange(caretToFollow_, false)) {
        EnsureCursorPosVisible();
    }
}

void TCustomCodeEdit::EndReplayGroup()
{
    replayingGroup_ = false;
    // Records taken off change the text the undo list names even where none were added.
    if (std::exchange(undoListsChanged_, false)) {
        UndoListChanged(nullptr);
    } else {
        UpdateModified();
    }
}

// --- one record ------------------------------------------------------------------------

void TCustomCodeEdit::UndoItem() { ReplayItem(false); }

void TCustomCodeEdit::RedoItem() { ReplayItem(true); }

// Pops the newest record of one list and replays it with its selection mode and with
// eoScrollPastEol on.
void TCustomCodeEdit::ReplayItem(bool redo)
{
    std::unique_ptr<TCodeEditUndoItem> item = (redo ? redoList_ : undoList_)->PopItem();
    if (!item) {
        return;
    }
    // The records a redo adds to the undo list must not empty the redo list.
    const auto replaying = SetForScope(replayingRedo_, replayingRedo_ || redo);
    TPaintLockGuard lock(*this);
    TSelectionModeHold modeHold(*this, item->ChangeSelMode);
    TScrollPastEolHold pastEol(*this);
    if (redo) {
        ReplayRedo(*item);
    } else {
        ReplayUndo(*item);
    }
    if (!replayingGroup_) {
        UpdateModified();
    }
}

void TCustomCodeEdit::ReplayUndo(const TCodeEditUndoItem& item)
{
    const TCodeSelectionMode mode = item.ChangeSelMode;
    const std::uint8_t reason = item.ChangeReason;
    const TTextPoint start = item.ChangeStartPos;
    const TTextPoint end = item.ChangeEndPos;
    switch (reason) {
    case crInsert:
    case crPaste:
    case crDragDropInsert: {
        SetCaretAndSelection(end, start, end);
        const QString inserted = GetSelText();
        SetSelTextRaw(item.ChangeStr);
        // In normal mode the redo replaces what the undo put back, so a typed character
        // that overwrote another comes back as an overwrite.
        const TTextPoint restoredEnd = CaretXY();
        redoList_->AddChange(reason, start, mode == smNormal ? restoredEnd : end, inserted, mode);
        SetCaretAndSelection(start, start, start);
        break;
    }
    case crDeleteCaretToStart:
    case crSelDelete:
    case crDeleteBeforeCaret:
    case crDeleteAfterCaret:
    case crDeleteAndReset: {
        TTextPoint at = EarlierPoint(start, end);
        if (mode == smColumn) {
            at = TTextPoint{std::min(start.x, end.x), std::min(start.y, end.y)};
        }
        const bool caretToStart = reason == crDeleteCaretToStart || reason == crDeleteAfterCaret;
        if (caretToStart && at.y > LineCount()) {
            SetCaretXY(TTextPoint{1, LineCount()});
            lines_->Add(QString());
        }
        SetCaretAndSelection(at, at, at);
        SetSelTextRaw(item.ChangeStr);
        const TTextPoint caret = caretToStart ? start : end;
        if (reason == crDeleteBeforeCaret || reason == crDeleteAfterCaret) {
            SetCaretAndSelection(caret, caret, caret);
        } else {
            SetCaretAndSelection(caret, start, end);
        }
        redoList_->AddChange(reason, start, end, QString(), mode);
        if (reason == crDeleteAndReset) {
            SetCaretXY(TTextPoint{1, 1});
            SetBlockEnd(TTextPoint{1, 1});
        }
        EnsureCursorPosVisible();
        break;
    }
    case crLineBreak: {
        SetCaretAndSelection(start, start, start);
        redoList_->AddChange(reason, start, end, QString(), mode);
        // The record's text holds what the head lost to trimming as well, so the two
        // join without padding; a break that moved nothing changed no line.
        const QString line = GetLineText();
        if (end.y < LineCount()) {
            lines_->Delete(end.y);
        }
        SetCaretXY(start);
        lines_->Put(caretY_ - 1, line + item.ChangeStr);
        DoLinesDeleted(caretY_, 1);
        break;
    }
    case crIndent:
        redoList_->AddChange(reason, start, end, item.ChangeStr, mode);
        SetCaretAndSelection(end, start, end);
        break;
    case crUnindent:
        redoList_->AddChange(reason, start, end, item.ChangeStr, mode);
        InsertBlock(TTextPoint{1, start.y}, TTextPoint{1, end.y}, item.ChangeStr);
        SetCaretAndSelection(start, start, end);
        break;
    case crWrapOn: SetWordWrap(false); break;
    case crWrapOff: SetWordWrap(true); break;
    case crBlanksAdded:
        SetCaretAndSelection(start, start, end);
        redoList_->AddChange(reason, start, end, GetSelText(), mode);
        SetSelTextRaw(item.ChangeStr);
        SetCaretAndSelection(start, start, start);
        break;
    default: break;
    }
}

void TCustomCodeEdit::ReplayRedo(const TCodeEditUndoItem& item)
{
    const TCodeSelectionMode mode = item.ChangeSelMode;
    const std::uint8_t reason = item.ChangeReason;
    const TTextPoint start = item.ChangeStartPos;
    const TTextPoint end = item.ChangeEndPos;
    switch (reason) {
    case crInsert:
    case crPaste:
    case crDragDropInsert: {
        TTextPoint after = end;
        if (mode == smNormal) {
            // `end` closes the text the undo put back; the insertion replaces it.
            SetCaretAndSelection(end, start, end);
            const QString replaced = GetSelText();
            SetSelTextRaw(item.ChangeStr);
            after = CaretXY();
            undoList_->AddChange(reason, start, after, replaced, mode);
        } else {
            SetCaretAndSelection(start, start, start);
            SetSelTextRaw(item.ChangeStr);
            SetCaretXY(end);
            undoList_->AddChange(reason, start, end, QString(), mode);
        }
        SetCaretAndSelection(after, reason == crDragDropInsert ? start : after, after);
        break;
    }
    case crDeleteCaretToStart:
    case crSelDelete:
    case crDeleteBeforeCaret:
    case crDeleteAfterCaret:
        SetCaretAndSelection(end, start, end);
        undoList_->AddChange(reason, start, end, GetSelText(), mode);
        SetSelTextRaw(item.ChangeStr);
        SetCaretAndSelection(start, start, start);
        break;
    case crLineBreak:
        SetCaretAndSelection(start, start, start);
        DispatchCommand(ecLineBreak, QLatin1Char('\r'), {});
        break;
    case crIndent:
        undoList_->AddChange(reason, start, end, item.ChangeStr, mode);
        SetCaretAndSelection(end, start, end);
        break;
    case crUnindent: {
        undoList_->AddChange(reason, start, end, item.ChangeStr, smColumn);
        const QStringList pieces = item.ChangeStr.split(QLatin1String("\r\n"));
        for (qsizetype i = 0; i < pieces.size() && start.y + i <= LineCount(); ++i) {
            if (!pieces[i].isEmpty()) {
                const int y = start.y + static_cast<int>(i);
                lines_->Put(y - 1, LineAt(y).mid(pieces[i].size()));
            }
        }
        // Each end moves left by what its own line lost.
        const qsizetype endPiece = end.y - start.y;
        const int endShift = endPiece < pieces.size() ? static_cast<int>(pieces[endPiece].size()) : 0;
        const TTextPoint newStart{std::max(1, start.x - static_cast<int>(pieces.first().size())), start.y};
        const TTextPoint newEnd{std::max(1, end.x - endShift), end.y};
        SetCaretAndSelection(newStart, newStart, newEnd);
        break;
    }
    case crWrapOn: SetWordWrap(false); break;
    case crWrapOff: SetWordWrap(true); break;
    case crBlanksAdded:
        undoList_->AddChange(reason, start, end, QString(), mode);
        SetCaretAndSelection(end, end, end);
        SetSelTextRaw(item.ChangeStr);
        SetCaretAndSelection(start, start, start);
        break;
    default: break;
    }
}

// --- queries and the column insertion ---------------------------------------------------

bool TCustomCodeEdit::CanUndo() const { return !GetReadOnly() && undoList_->CanUndo(); }

bool TCustomCodeEdit::CanRedo() const { return !GetReadOnly() && redoList_->CanUndo(); }

bool TCustomCodeEdit::CanPaste() const
{
    if (GetReadOnly()) {
        return false;
    }
    const IClipboard& clipboard = Clipboard();
    return clipboard.HasFormat(ClipboardTextFormat) || clipboard.HasFormat(CodeEditClipboardFormat);
}

void TCustomCodeEdit::InsertBlock(TTextPoint begin, TTextPoint end, const QString& text)
{
    TPaintLockGuard lock(*this);
    selectionMode_ = smColumn;
    SetCaretAndSelection(begin, begin, end);
    SetSelTextPrimitive(smColumn, text);
    StatusChanged(scSelection);
}
