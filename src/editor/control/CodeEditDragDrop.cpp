// Dragging selected text within one control or between two, and dropped files.
#include "editor/control/CodeEdit.h"
#include "editor/control/CodeEditInternals.h"

namespace {

bool Before(TTextPoint a, TTextPoint b) { return a.y < b.y || (a.y == b.y && a.x < b.x); }

// A pair of the editor's calls around a scope, the second also when it ends by an
// exception: the undo lists locked, one undo block.
template <void (TCustomCodeEdit::*Enter)(), void (TCustomCodeEdit::*Leave)()>
class TEditorCallScope {
public:
    explicit TEditorCallScope(TCustomCodeEdit& editor) : editor_(editor) { (editor_.*Enter)(); }
    ~TEditorCallScope() { (editor_.*Leave)(); }
    TEditorCallScope(const TEditorCallScope&) = delete;
    TEditorCallScope& operator=(const TEditorCallScope&) = delete;

private:
    TCustomCodeEdit& editor_;
};
using TUndoLockScope = TEditorCallScope<&TCustomCodeEdit::LockUndo, &TCustomCodeEdit::UnlockUndo>;
using TUndoBlockScope = TEditorCallScope<&TCustomCodeEdit::BeginUndoBlock, &TCustomCodeEdit::EndUndoBlock>;

} // namespace

// The text after E closes up to B: a point on E's line moves left by the selection's
// width there, and every later point moves up by the lines it spanned.
TTextPoint DropPointAfterMove(TTextPoint begin, TTextPoint end, TTextPoint drop)
{
    if (drop.y == end.y) {
        drop.x -= end.x - begin.x;
    }
    drop.y -= end.y - begin.y;
    return drop;
}

bool TCustomCodeEdit::DragOver(TCustomCodeEdit* source, int x, int y, TDragState state, TShiftState shift,
                               TCursor& cursor)
{
    if (!source || source->GetReadOnly()) {
        return false;
    }
    cursor = shift.Contains(TShiftState::ssCtrl) ? crMultiDrag : crDrag;
    if (state == dsDragLeave) {
        ComputeCaret(mouseDownX_, mouseDownY_);
    } else {
        ComputeCaret(x, y);
    }
    return true;
}

void TCustomCodeEdit::DragDrop(TCustomCodeEdit* source, int x, int y, TShiftState shift)
{
    if (GetReadOnly() || !source || !source->SelAvail()) {
        return;
    }
    TPaintLockGuard lock(*this);
    ComputeCaret(x, y);
    TTextPoint drop = CaretXY();
    const bool sameControl = source == this;
    bool move = shift.Contains(TShiftState::ssShift);
    bool dropAfter = false;
    const TTextPoint begin = BlockBegin();
    const TTextPoint end = BlockEnd();
    if (sameControl) {
        move = !shift.Contains(TShiftState::ssCtrl);
        dropAfter = Before(end, drop);
        if (!dropAfter && !Before(drop, begin)) {
            return; // inside the selection
        }
    }
    TUndoBlockScope block(*this);
    const QString text = source->GetSelText();
    if (move && sameControl) {
        undoList_->AddChange(crSelDelete, begin, end, text, selectionMode_);
        {
            TUndoLockScope locked(*this);
            SetSelTextRaw(QString());
        }
        if (dropAfter) {
            drop = DropPointAfterMove(begin, end, drop);
        }
    } else if (move) {
        source->ReplaceSelText(QString());
    }
    {
        TScrollPastEolHold pastEol(*this);
        SetCaretXY(drop);
        SetBlockBegin(drop);
        TUndoLockScope locked(*this);
        ReplaceSelText(text);
    }
    undoList_->AddChange(sameControl ? crDragDropInsert : crInsert, drop, BlockEnd(), GetSelText(), selectionMode_);
    SetBlockBegin(drop);
    SetBlockEnd(CaretXY());
    DispatchCommand(ecSelGotoXY, QChar(), CaretXY());
}

void TCustomCodeEdit::DropFiles(int x, int y, const QStringList& files)
{
    if (OnDropFiles) {
        OnDropFiles(this, x, y, files);
    }
}
