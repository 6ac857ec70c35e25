// From a key to a command, and a command's way past the events and hooks into the
// control's own execution.
#include "editor/control/CodeEdit.h"

TCodeEditorCommand TCustomCodeEdit::KeyToCommand(TVirtualKey key, TShiftState shift, TCodeEditCommandData& data)
{
    shift = shift.KeyboardOnly();
    TCodeEditorCommand command = ecNone;
    int index = lastKey_ != 0 ? keystrokes_->FindKeycode2(lastKey_, lastShift_, key, shift) : -1;
    if (index < 0) {
        index = keystrokes_->FindKeycode(key, shift);
    }
    if (index >= 0) {
        command = keystrokes_->Items(index)->Command();
    }
    // A key without a command may start a two-key binding.
    if (command == ecNone && key >= 30 && key <= 145) {
        lastKey_ = key;
        lastShift_ = shift;
    } else {
        lastKey_ = 0;
        lastShift_ = ssNone;
    }
    if (command >= ecSetMarker0 && command <= ecSetMarker9) {
        data = CaretXY();
    }
    return command;
}

void TCustomCodeEdit::DispatchCommand(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data)
{
    FireProcessCommand(command, aChar, data);
    if (command != ecNone) {
        CallCommandHooks(false, command, aChar, data);
        if (command >= 1 && command <= 1000) {
            PerformCommand(command, aChar, data);
        }
        CallCommandHooks(true, command, aChar, data);
    }
    FireCommandProcessed(command, aChar, data);
}

void TCustomCodeEdit::CallCommandHooks(bool afterProcessing, TCodeEditorCommand& command, QChar& aChar,
                                       const TCodeEditCommandData& data)
{
    bool handled = false;
    // A hook may unregister hooks; walk a copy.
    const std::vector<THookedCommandHandlerEntry> hooks = hooks_;
    for (const THookedCommandHandlerEntry& hook : hooks) {
        hook.event(this, afterProcessing, handled, command, aChar, data, hook.data);
    }
    if (handled) {
        command = ecNone;
    }
}

void TCustomCodeEdit::PerformCommand(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data)
{
    TPaintLockGuard lock(*this);
    ExecuteCommand(command, aChar, data);
}

void TCustomCodeEdit::ExecuteCommand(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data)
{
    const bool selecting = command >= ecSelLeft && command <= ecSelGotoXY;
    const TCodeEditorCommand move = selecting ? static_cast<TCodeEditorCommand>(command - ecSelection) : command;
    const bool editable = !GetReadOnly();
    const auto moveTo = [this, selecting](TTextPoint point) { MoveCaretAndSelection(CaretXY(), point, selecting); };
    const auto repaint = [this] {
        if (host_) {
            host_->Repaint();
        }
    };
    switch (move) {
    case ecLeft: MoveCaretHorz(-1, selecting); return;
    case ecRight: MoveCaretHorz(1, selecting); return;
    case ecUp:
    case ecDown:
        MoveCaretVert(move == ecUp ? -1 : 1, selecting);
        repaint();
        return;
    case ecWordLeft: moveTo(PrevWordPos()); return;
    case ecWordRight: moveTo(NextWordPos()); return;
    case ecLineEnd: moveTo(TTextPoint{static_cast<int>(GetLineText().size()) + 1, caretY_}); return;
    case ecPageUp:
    case ecPageDown: {
        int lines = HasOption(eoHalfPageScroll) ? linesInWindow_ >> 1 : linesInWindow_;
        if (HasOption(eoScrollByOneLess)) {
            --lines;
        }
        if (move == ecPageUp) {
            lines = -lines;
        }
        SetTopLine(topLine_ + lines);
        MoveCaretVert(lines, selecting);
        repaint();
        return;
    }
    case ecPageLeft: MoveCaretHorz(-charsInWindow_, selecting); return;
    case ecPageRight: MoveCaretHorz(charsInWindow_, selecting); return;
    case ecPageTop:
    case ecPageBottom:
        moveTo(TTextPoint{caretX_, move == ecPageTop ? topLine_ : topLine_ + linesInWindow_ - 1});
        repaint();
        return;
    case ecEditorTop:
        moveTo(TTextPoint{1, 1});
        repaint();
        return;
    case ecEditorBottom: {
        const int count = LineCount();
        moveTo(count > 0 ? TTextPoint{static_cast<int>(LineAt(count).size()) + 1, count} : TTextPoint{1, 0});
        repaint();
        return;
    }
    case ecGotoXY:
        if (const TTextPoint* point = CommandPoint(data)) {
            moveTo(*point);
            repaint();
        }
        return;
    default: break;
    }
    switch (command) {
    case ecSelectAll: SelectAll(); break;
    case ecCopy: CopyToClipboard(); break;
    case ecCut:
        if (editable && SelAvail()) {
            CutToClipboard();
        }
        break;
    case ecPaste:
        if (editable) {
            PasteFromClipboard();
        }
        break;
    case ecInsertMode: SetInsertMode(true); break;
    case ecOverwriteMode: SetInsertMode(false); break;
    case ecToggleMode: SetInsertMode(!insertMode_); break;
    case ecNormalSelect: SetSelectionMode(smNormal); break;
    case ecColumnSelect: SetSelectionMode(wordWrap_ ? smNormal : smColumn); break;
    case ecLineSelect: SetSelectionMode(smLine); break;
    case ecMatchBracket: GotoMatchingBracket(); break;
    case ecUpperCase:
    case ecLowerCase:
    case ecToggleCase:
    case ecTitleCase:
        if (editable) {
            DoCaseChange(command);
        }
        break;
    case ecClearAll:
        if (editable) {
            ClearAll();
        }
        break;
    default: ExecuteEditCommand(command, aChar, data); break;
    }
}
