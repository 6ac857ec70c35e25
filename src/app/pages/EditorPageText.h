#pragma once
// The text rules of an editor page, as plain functions: commenting and uncommenting a
// selection, the lines of a new page's default text, the breakpoint list.

#include <QString>
#include <QStringList>

#include <vector>

// Every line of a selected text (lines joined by CR LF, as the editor gives them) gets a
// leading "'", the first included; a text that ends with a break also marks the line
// after it, and an empty text becomes a single "'".
QString CommentText(const QString& selected);

// From each line of a selected text the first "'" goes when the line, trimmed, begins
// with one, else the first "REM" (any case) when it begins with that. Lines end at
// CR LF, LF or CR and come back joined by CR LF; a break at the very end stays only
// when the selection had one.
QString UnCommentText(const QString& selected);

// A code insert value with its line breaks written as "~": the text before each "~" is
// a line, and the text after the last "~" one more when it is not empty.
QStringList SplitNewFileText(const QString& value);

// Breakpoints: 1-based line numbers, ascending, without duplicates. Toggling a line
// below 1 does nothing (false); otherwise it is removed when present, else inserted in
// order (true).
bool ToggleBreakpointLine(std::vector<int>& breakpoints, int line);
bool HasBreakpointLine(const std::vector<int>& breakpoints, int line);
