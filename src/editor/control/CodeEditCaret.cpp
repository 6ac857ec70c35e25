// The caret's display: its shape for the mode, its place on the window, and the focus
// that makes and destroys it.
#include "editor/control/CodeEdit.h"

void TCustomCodeEdit::InitializeCaret()
{
    const int w = charWidth_;
    const int h = lineHeight_ - 2;
    int width = w;
    int height = h;
    switch (insertMode_ ? insertCaret_ : overwriteCaret_) {
    case ctVerticalLine:
        width = 2;
        caretOffset_ = TTextPoint{-1, 0};
        break;
    case ctHorizontalLine:
        height = 2;
        caretOffset_ = TTextPoint{0, h};
        break;
    case ctHalfBlock:
        height = h / 2;
        caretOffset_ = TTextPoint{0, h / 2};
        break;
    case ctBlock: caretOffset_ = TTextPoint{0, 0}; break;
    }
    SetState(sfCaretVisible, false);
    if (host_ && (host_->Focused() || alwaysShowCaret_)) {
        host_->CreateCaret(width, height);
        UpdateCaret();
    }
}

void TCustomCodeEdit::UpdateCaret()
{
    if (!host_ || paintLock_ > 0 || !(host_->Focused() || alwaysShowCaret_)) {
        SetState(sfCaretChanged, true);
        return;
    }
    SetState(sfCaretChanged, false);
    const TTextPoint pixel = TextPosToPixel(CaretXY());
    const int x = pixel.x + caretOffset_.x;
    const int y = pixel.y + caretOffset_.y + 1;
    if (x < gutterWidth_ || x >= ClientWidth() || y < 0 || y >= ClientHeight()) {
        HideCaret();
        host_->SetCaretPos(x, y);
    } else {
        host_->SetCaretPos(x, y);
        ShowCaret();
    }
    // The input method's composition window follows the caret.
    host_->CaretChanged();
}

void TCustomCodeEdit::ShowCaret()
{
    if (host_ && !HasOption(eoNoCaret) && !TestState(sfCaretVisible) && host_->ShowCaret()) {
        SetState(sfCaretVisible, true);
    }
}

void TCustomCodeEdit::HideCaret()
{
    if (TestState(sfCaretVisible)) {
        if (host_) {
            host_->HideCaret();
        }
        SetState(sfCaretVisible, false);
    }
}

void TCustomCodeEdit::SetAlwaysShowCaret(bool value)
{
    if (value == alwaysShowCaret_) {
        return;
    }
    alwaysShowCaret_ = value;
    if (!host_ || host_->Focused()) {
        return;
    }
    if (value) {
        InitializeCaret();
    } else {
        HideCaret();
        host_->DestroyCaret();
    }
}

void TCustomCodeEdit::FocusGained()
{
    DispatchCommand(ecFocusGained, QChar(), {});
    InitializeCaret();
    if (hideSelection_ && SelAvail()) {
        Invalidate();
    }
}

void TCustomCodeEdit::FocusLost()
{
    DispatchCommand(ecFocusLost, QChar(), {});
    if (alwaysShowCaret_ || (host_ && host_->Focused())) {
        return;
    }
    HideCaret();
    if (host_) {
        host_->DestroyCaret();
    }
    if (hideSelection_ && SelAvail()) {
        Invalidate();
    }
}
