#pragma once
// The settings the application's editor pages run with: tab width 5, tab keys taken,
// the caret up to column 256 past a line's end, and auto indent, drag and drop, dropped
// files, group undo, scrolling past the line end, the scroll hint, smart tab delete,
// smart tabs, tab indent, tabs to spaces and trimmed trailing blanks.

#include "editor/control/CodeEdit.h"

inline constexpr TCodeEditorOptions PageOptions{
    eoAutoIndent,     eoDragDropEditing, eoDropFiles, eoGroupUndo,    eoScrollPastEol,     eoShowScrollHint,
    eoSmartTabDelete, eoSmartTabs,       eoTabIndent, eoTabsToSpaces, eoTrimTrailingSpaces};

inline void UsePageSettings(TCustomCodeEdit& editor)
{
    editor.SetTabWidth(5);
    editor.SetWantTabs(true);
    editor.SetMaxLeftChar(256);
    editor.SetOptions(PageOptions);
}
