#pragma once
// The search options all editor pages share for the program's run: what the last
// Find or Replace dialog was left with, and its histories (lines joined by CR LF).

#include <QString>

struct TEditorSearchState {
    bool SearchBackwards = false;
    bool SearchCaseSensitive = false;
    bool SearchFromCaret = false;
    bool SearchSelectionOnly = false;
    // The dialog opens with the selection (within one line) or the word at the caret.
    bool SearchTextAtCaret = false;
    bool SearchWholeWords = false;
    QString SearchText;
    QString SearchTextHistory;
    QString ReplaceText;
    QString ReplaceTextHistory;
};

extern TEditorSearchState EditorSearch;
