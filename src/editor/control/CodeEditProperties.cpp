// The published property setters and their side effects. Each stores only a real
// change; what the window must redo (re-creation, the caret's shape) goes to the host.
#include "editor/control/CodeEdit.h"

#include <algorithm>

void TCustomCodeEdit::SetMaxLeftChar(int value)
{
    value = Clamp(value, 1, 32767);
    if (value != maxLeftChar_) {
        maxLeftChar_ = value;
        Invalidate();
    }
}

void TCustomCodeEdit::SetRightEdge(int value)
{
    if (value != rightEdge_) {
        rightEdge_ = value;
        Invalidate();
    }
}

void TCustomCodeEdit::SetRightEdgeColor(TColor value)
{
    if (value == rightEdgeColor_) {
        return;
    }
    rightEdgeColor_ = value;
    if (host_) {
        const int x = rightEdge_ * charWidth_ + textOffset_;
        InvalidateRect(Rect(x - 1, 0, x + 1, ClientHeight()));
    }
}

void TCustomCodeEdit::SetColor(TColor value)
{
    if (value != color_) {
        color_ = value;
        Invalidate();
    }
}

void TCustomCodeEdit::SetBorderStyle(TBorderStyle value)
{
    if (value != borderStyle_) {
        borderStyle_ = value;
        if (host_) {
            host_->RecreateWindow();
        }
    }
}

void TCustomCodeEdit::SetHideSelection(bool value)
{
    if (value != hideSelection_) {
        hideSelection_ = value;
        Invalidate();
    }
}

void TCustomCodeEdit::SetInsertMode(bool value)
{
    if (value != insertMode_) {
        insertMode_ = value;
        InitializeCaret();
        StatusChanged(scInsertMode);
    }
}

void TCustomCodeEdit::SetInsertCaret(TCodeEditCaretType value)
{
    if (value != insertCaret_) {
        insertCaret_ = value;
        InitializeCaret();
    }
}

void TCustomCodeEdit::SetOverwriteCaret(TCodeEditCaretType value)
{
    if (value != overwriteCaret_) {
        overwriteCaret_ = value;
        InitializeCaret();
    }
}

void TCustomCodeEdit::SetScrollBars(TScrollStyle value)
{
    if (value == scrollBars_) {
        return;
    }
    scrollBars_ = value;
    if (host_) {
        host_->RecreateWindow();
    }
    UpdateScrollBars();
    Invalidate();
}

void TCustomCodeEdit::SetKeystrokes(const TCodeEditKeyStrokes* keystrokes)
{
    if (!keystrokes) {
        keystrokes_->Clear();
    } else {
        keystrokes_->Assign(keystrokes);
    }
}

void TCustomCodeEdit::SetFont(const TCodeEditFont& font)
{
    TCodeEditFontMetrics measured = metrics_;
    if (host_) {
        measured = host_->MeasureFont(font);
    }
    if (measured.averageWidth != measured.maximumWidth) {
        TCodeEditFont fixedPitch(fontTemplate_.Name(), font.Size(), font.Style());
        fixedPitch.SetColor(font.Color());
        font_.Assign(&fixedPitch);
    } else {
        font_.Assign(&font);
    }
    if (gutter_->ShowLineNumbers()) {
        GutterChanged(gutter_.get());
    }
}

void TCustomCodeEdit::SetMaxUndo(int value)
{
    if (value >= 0) {
        // Records dropped leave the text as it is (0 drops them all).
        const bool saved = AtSavePoint();
        undoList_->SetMaxUndoActions(value);
        redoList_->SetMaxUndoActions(value);
        if (saved) {
            savedState_ = undoList_->State();
        }
    }
}
