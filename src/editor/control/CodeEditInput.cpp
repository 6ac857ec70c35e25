// Keyboard, input-method and mouse entry, the selection's auto-scroll and the wheel.
#include "editor/control/CodeEdit.h"

#include "editor/control/CodeEditKbdHandler.h"

#include <algorithm>
#include <cstdlib>

// --- keys --------------------------------------------------------------------------

void TCustomCodeEdit::SetOnKeyDown(const TKeyEvent& handler) { kbdHandler_->SetOnKeyDown(handler); }

void TCustomCodeEdit::SetOnKeyPress(const TKeyPressEvent& handler) { kbdHandler_->SetOnKeyPress(handler); }

void TCustomCodeEdit::KeyDown(TVirtualKey& key, TShiftState shift)
{
    if (onKeyDownSlot_) {
        onKeyDownSlot_(this, key, shift);
    }
    TCodeEditCommandData data;
    const TCodeEditorCommand command = KeyToCommand(key, shift, data);
    if (command != ecNone) {
        key = 0;
        SetState(sfIgnoreNextChar, true);
        DispatchCommand(command, QChar(), data);
    } else {
        SetState(sfIgnoreNextChar, false);
    }
}

void TCustomCodeEdit::KeyPress(QChar& key)
{
    if (TestState(sfIgnoreNextChar)) {
        SetState(sfIgnoreNextChar, false);
        return;
    }
    if (onKeyPressSlot_) {
        onKeyPressSlot_(this, key);
    }
    DispatchCommand(ecChar, key, {});
}

void TCustomCodeEdit::ImeResult(const QString& text) { DispatchCommand(ecImeStr, QChar(), text); }

void TCustomCodeEdit::KeyText(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            if (TestState(sfIgnoreNextChar)) {
                SetState(sfIgnoreNextChar, false);
            } else {
                DispatchCommand(ecImeStr, QChar(), text.mid(i, 2));
            }
            ++i;
            continue;
        }
        QChar c = text[i];
        KeyPress(c);
    }
}

int TCustomCodeEdit::DialogCode(TShiftState shift) const
{
    int code = DlgcWantArrows | DlgcWantChars;
    if (wantTabs_ && !shift.Contains(TShiftState::ssCtrl)) {
        code |= DlgcWantTab;
    }
    return code;
}

// --- the mouse ---------------------------------------------------------------------

void TCustomCodeEdit::ReleaseMouseCapture()
{
    if (mouseCaptured_) {
        mouseCaptured_ = false;
        if (host_) {
            host_->ReleaseCapture();
        }
    }
}

void TCustomCodeEdit::CaptureLost()
{
    mouseCaptured_ = false;
    StopScrollTimer();
}

void TCustomCodeEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbRight && SelAvail() && HasOption(eoRightMouseMovesCursor) &&
        !IsInSelection(PixelToTextPos(x, y))) {
        blockEnd_ = blockBegin_;
        InvalidateAllLines();
    }
    const TTextPoint anchor = blockBegin_;
    if (button != mbLeft && SelAvail()) {
        return;
    }
    bool hadSelection = false;
    if (button == mbLeft) {
        if (shift.Contains(TShiftState::ssDouble)) {
            return;
        }
        if (SelAvail()) {
            hadSelection = true;
            mouseDownX_ = x;
            mouseDownY_ = y;
        }
    }
    if (OnMouseDown) {
        OnMouseDown(this, button, shift, x, y);
    }
    const bool movesCaret = button == mbLeft || (button == mbRight && HasOption(eoRightMouseMovesCursor));
    if (movesCaret) {
        ComputeCaret(x, y);
    }
    bool mayDrag = false;
    if (button == mbLeft) {
        mouseCaptured_ = true;
        if (host_) {
            host_->SetCapture();
        }
        SetState(sfWaitForDragging, false);
        mayDrag = hadSelection && HasOption(eoDragDropEditing) && x > gutterWidth_ + 2 &&
                  selectionMode_ == smNormal && IsInSelection(CaretXY());
        if (!mayDrag) {
            DispatchCommand(ecGotoXY, QChar(), CaretXY());
        }
    }
    if (mayDrag) {
        SetState(sfWaitForDragging, true);
    } else if (movesCaret && !TestState(sfDblClicked)) {
        if (shift.Contains(TShiftState::ssShift)) {
            SetBlockBegin(anchor);
            SetBlockEnd(CaretXY());
        } else {
            SetBlockBegin(CaretXY());
            if (HasOption(eoAltSetsColumnMode) && selectionMode_ != smLine) {
                SetSelectionMode(shift.Contains(TShiftState::ssAlt) ? smColumn : smNormal);
            }
        }
    }
    if (x < gutterWidth_) {
        SetState(sfPossibleGutterClick, true);
    }
    SetFocus();
}

void TCustomCodeEdit::MouseMove(TShiftState shift, int x, int y)
{
    lastMouseX_ = x;
    lastMouseY_ = y;
    lastMouseShift_ = shift;
    if (OnMouseMove) {
        OnMouseMove(this, shift, x, y);
    }
    if (host_) {
        host_->SetCursor(CursorAt(x, y));
    }
    if (mouseCaptured_ && TestState(sfWaitForDragging)) {
        const int distance = host_ ? host_->DragThreshold() : 0;
        if (std::abs(x - mouseDownX_) >= distance || std::abs(y - mouseDownY_) >= distance) {
            SetState(sfWaitForDragging, false);
            if (host_) {
                host_->BeginDrag();
            }
        }
        return;
    }
    if (!shift.Contains(TShiftState::ssLeft) || !mouseCaptured_) {
        return;
    }
    TTextPoint point = PixelToTextPos(x, y);
    if (x < gutterWidth_ || x >= ClientWidth()) {
        point.x = caretX_;
    }
    if (y < 0 || y >= ClientHeight()) {
        point.y = caretY_;
    }
    {
        TPaintLockGuard lock(*this);
        SetCaretXY(point);
        SetBlockEnd(CaretXY());
    }
    // Steps in columns and lines while the mouse is beyond the text area.
    const auto step = [](int beyond, int inside, int cell) {
        if (beyond > 0) {
            return (beyond + cell) / cell;
        }
        return std::min(0, (inside < 0 ? inside - cell : inside) / cell);
    };
    scrollDeltaX_ = step(x - gutterWidth_ - charsInWindow_ * charWidth_, x - gutterWidth_, charWidth_);
    scrollDeltaY_ = step(y - linesInWindow_ * lineHeight_, y, lineHeight_);
    if (scrollDeltaX_ != 0 || scrollDeltaY_ != 0) {
        StartScrollTimer();
    } else {
        StopScrollTimer();
    }
}

void TCustomCodeEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp) {
        OnMouseUp(this, button, shift, x, y);
    }
    StopScrollTimer();
    const bool wasCaptured = mouseCaptured_;
    ReleaseMouseCapture();
    if (TestState(sfPossibleGutterClick) && x < gutterWidth_) {
        HandleGutterClick(x, y);
    } else if (TestState(sfWaitForDragging) && !TestState(sfDblClicked)) {
        ComputeCaret(x, y);
        SetBlockBegin(CaretXY());
        SetState(sfWaitForDragging, false);
    }
    SetState(sfDblClicked, false);
    SetState(sfPossibleGutterClick, false);
    if (button == mbLeft && wasCaptured && OnClick) {
        OnClick(this);
    }
}

void TCustomCodeEdit::HandleGutterClick(int x, int y)
{
    if (!OnGutterClick) {
        return;
    }
    const int line = PixelToTextPos(x, y).y;
    if (line > LineCount()) {
        return;
    }
    TCodeEditMarkList::TLineMarks marks;
    marks_->GetMarksForLine(line, marks);
    TCodeEditMark* clicked = nullptr;
    int right = 0;
    for (TCodeEditMark* mark : marks) {
        if (mark) {
            right += bookMarkOptions_->Xoffset();
            if (right > x) {
                clicked = mark;
                break;
            }
        }
    }
    OnGutterClick(this, x, y, line, clicked);
}

// --- auto-scroll and the wheel ---------------------------------------------------------

void TCustomCodeEdit::StartScrollTimer()
{
    if (scrollTimer_.id != 0) {
        return;
    }
    if (IEventLoop* loop = GetEventLoop()) {
        scrollTimer_.id = loop->StartTimer(scrollTimer_, 100);
    }
}

void TCustomCodeEdit::StopScrollTimer()
{
    if (scrollTimer_.id == 0) {
        return;
    }
    if (IEventLoop* loop = GetEventLoop()) {
        loop->KillTimer(scrollTimer_.id);
    }
    scrollTimer_.id = 0;
}

void TCustomCodeEdit::ScrollTimerTick()
{
    TPaintLockGuard lock(*this);
    const TTextPoint under = PixelToTextPos(lastMouseX_, lastMouseY_);
    if (scrollDeltaX_ != 0) {
        SetLeftChar(leftChar_ + scrollDeltaX_);
        const int column = scrollDeltaX_ > 0 ? leftChar_ + charsInWindow_ : leftChar_;
        SetCaretXY(TTextPoint{column, under.y});
        SetBlockEnd(CaretXY());
        // The view spans the longest line, the caret stops at its own line's last column:
        // the view goes back to it rather than on past it.
        EnsureCursorPosVisible();
    }
    if (scrollDeltaY_ != 0) {
        const int lines = lastMouseShift_.Contains(TShiftState::ssShift) ? scrollDeltaY_ * linesInWindow_
                                                                         : scrollDeltaY_;
        SetTopLine(topLine_ + lines);
        const int line = scrollDeltaY_ > 0 ? topLine_ + linesInWindow_ - 1 : topLine_;
        SetCaretXY(TTextPoint{under.x, line});
        SetBlockEnd(CaretXY());
    }
}

void TCustomCodeEdit::MouseWheel(int delta, TShiftState shift)
{
    int lines = host_ ? host_->WheelScrollLines() : 3;
    if (shift.Contains(TShiftState::ssCtrl) || lines < 0) {
        lines = HasOption(eoHalfPageScroll) ? linesInWindow_ >> 1 : linesInWindow_;
    }
    lines = std::min(lines, linesInWindow_);
    wheelAccumulator_ += delta;
    const int notches = wheelAccumulator_ / 120;
    wheelAccumulator_ %= 120;
    if (notches != 0) {
        SetTopLine(topLine_ - notches * lines);
    }
}
