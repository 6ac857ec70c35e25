#pragma once
// Pieces shared by the editor control's source files and nobody else.

#include "editor/control/CodeEdit.h"

// The character column (from 1) that covers a display column of a text; a column past
// the text's end counts on in single cells. The second half of a surrogate pair counts
// as a column of its own.
int DisplayToCharRaw(const QString& text, int displayColumn, int tabWidth);

// Scopes that switch a setting for the length of one step and put it back on every way
// out, exceptions included. Raw fields on purpose: the setters' side effects
// (re-clamping the caret, repainting) must not run for a temporary change.

class TCustomCodeEdit::TScrollPastEolHold {
public:
    explicit TScrollPastEolHold(TCustomCodeEdit& editor)
        : editor_(editor), wasOn_(editor.options_.Contains(eoScrollPastEol))
    {
        editor_.options_ = editor_.options_.With(eoScrollPastEol);
    }
    ~TScrollPastEolHold() { editor_.options_ = editor_.options_.Set(eoScrollPastEol, wasOn_); }
    TScrollPastEolHold(const TScrollPastEolHold&) = delete;
    TScrollPastEolHold& operator=(const TScrollPastEolHold&) = delete;

private:
    TCustomCodeEdit& editor_;
    bool wasOn_;
};

class TCustomCodeEdit::TSelectionModeHold {
public:
    TSelectionModeHold(TCustomCodeEdit& editor, TCodeSelectionMode mode)
        : editor_(editor), saved_(editor.selectionMode_)
    {
        editor_.selectionMode_ = mode;
    }
    ~TSelectionModeHold() { editor_.selectionMode_ = saved_; }
    TSelectionModeHold(const TSelectionModeHold&) = delete;
    TSelectionModeHold& operator=(const TSelectionModeHold&) = delete;

private:
    TCustomCodeEdit& editor_;
    TCodeSelectionMode saved_;
};
