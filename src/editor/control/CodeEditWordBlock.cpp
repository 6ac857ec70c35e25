// Selecting the word under a double click.
#include "editor/control/CodeEdit.h"

#include "editor/highlighting/CodeCustomHighlighter.h"

#include <algorithm>

namespace {
// Without a highlighter a word is a run of one class: letters and digits (the halves of
// a surrogate pair among them, so a pair is never cut), blanks, everything else.
int CharClass(QChar c)
{
    if (c.isLetterOrNumber() || c.isSurrogate()) {
        return 0;
    }
    return c.isSpace() ? 1 : 2;
}
} // namespace

void TCustomCodeEdit::SetWordBlock(TTextPoint point)
{
    point.y = Clamp(point.y, 1, std::max(1, LineCount()));
    point.x = Clamp(point.x, 1, LastPointColumn(point.y));
    const QString text = LineAt(point.y) + QChar(0);
    const int n = static_cast<int>(text.size());
    if (n <= point.x) {
        SetCaretXY(TTextPoint{n, point.y});
        return;
    }
    int start = point.x;
    int end = point.x;
    if (highlighter_ && !text[point.x - 1].isHighSurrogate()) {
        const TCodeCharSet word = highlighter_->GetWordChars();
        while (end <= n && word.Contains(text[end - 1])) {
            ++end;
        }
        while (start > 1 && word.Contains(text[start - 2])) {
            --start;
        }
    } else {
        const int kind = CharClass(text[point.x - 1]);
        while (end < n && CharClass(text[end - 1]) == kind) {
            ++end;
        }
        while (start > 1 && CharClass(text[start - 2]) == kind) {
            --start;
        }
    }
    SetCaretAndSelection(TTextPoint{end, point.y}, TTextPoint{start, point.y}, TTextPoint{end, point.y});
    InvalidateLine(point.y);
    StatusChanged(scSelection);
}

void TCustomCodeEdit::DblClick(int x, int)
{
    if (x >= gutterWidth_ + 2) {
        if (!HasOption(eoNoSelection)) {
            SetWordBlock(CaretXY());
        }
        if (OnDblClick) {
            OnDblClick(this);
        }
        SetState(sfDblClicked, true);
        ReleaseMouseCapture();
        return;
    }
    if (OnDblClick) {
        OnDblClick(this);
    }
}
