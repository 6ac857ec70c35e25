// Tab, Shift+Tab and Home, and the indentation of a block of lines. One indentation unit
// is TabWidth blanks under eoTabsToSpaces, else one tab.
#include "editor/control/CodeEdit.h"
#include "editor/control/CodeEditInternals.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace {
const QLatin1String kCrLf("\r\n");

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Tabs and blanks that take a text from a display column on by `width` cells: a tab to
// the next tab stop when that is reached, a tab per further full tab width, blanks for
// the rest.
QString TabsToReach(int column, int width, int tabWidth)
{
    const int target = column + width;
    int at = column;
    QString text;
    const int nextStop = (at - 1) / tabWidth * tabWidth + tabWidth + 1;
    if (target >= nextStop) {
        text += QLatin1Char('\t');
        at = nextStop;
        while (target - at >= tabWidth) {
            text += QLatin1Char('\t');
            at += tabWidth;
        }
    }
    return text + QString(target - at, QLatin1Char(' '));
}

// The last line a block indentation takes: a selection that ends at column 1 leaves
// that line alone.
int LastBlockLine(TTextPoint begin, TTextPoint end) { return end.x == 1 && end.y > begin.y ? end.y - 1 : end.y; }

// Leading characters one unindent step takes: a leading tab, else up to `tabWidth`
// blanks and a tab right after them within that count.
int UnindentLength(const QString& line, int tabWidth)
{
    if (line.startsWith(QLatin1Char('\t'))) {
        return 1;
    }
    int n = 0;
    while (n < tabWidth && n < line.size() && line[n] == QLatin1Char(' ')) {
        ++n;
    }
    if (n < tabWidth && n < line.size() && line[n] == QLatin1Char('\t')) {
        ++n;
    }
    return n;
}
} // namespace

void TCustomCodeEdit::DoTabKey()
{
    const bool wholeLine = SelectionStartsLeftOfShortCaretLine();
    if (HasOption(eoTabIndent) && (SelectionSpansLines() || wholeLine)) {
        DoBlockIndent();
        if (wholeLine) {
            TTextPoint anchor = blockBegin_;
            TTextPoint end = blockEnd_;
            (anchor.x < end.x ? anchor : end).x = 1;
            SetCaretAndSelection(CaretXY(), anchor, end);
        }
        return;
    }
    const int column = CaretDisplayColumn();
    int width = 0;
    if (HasOption(eoSmartTabs)) {
        // The distance to the next word start of the nearest line above long enough.
        for (int y = caretY_ - 1; y >= 1 && width == 0; --y) {
            QString text = LineAt(y);
            for (int piece = y - 1; wordWrap_ && piece > 0 && lines_->IsContinuationLine(piece); --piece) {
                text.prepend(lines_->Get(piece - 1));
            }
            const int at = DisplayToCharRaw(text, column, tabWidth_);
            if (text.size() < at) {
                continue;
            }
            int i = at - 1;
            while (i < text.size() && !IsBlank(text[i])) {
                ++i;
            }
            while (i < text.size() && IsBlank(text[i])) {
                ++i;
            }
            width = i - (at - 1);
        }
    }
    if (width == 0) {
        width = HasOption(eoTabsToSpaces) ? tabWidth_ - (column - 1) % tabWidth_ : tabWidth_;
    }
    BeginUndoBlock();
    try {
        DeleteSelectionFirst();
        QString text;
        if (HasOption(eoTabsToSpaces)) {
            text = QString(width, QLatin1Char(' '));
        } else if (HasOption(eoSmartTabs)) {
            text = TabsToReach(CaretDisplayColumn(), width, tabWidth_);
        } else {
            text = QStringLiteral("\t");
        }
        const TTextPoint start = CaretXY();
        {
            TScrollPastEolHold pastEol(*this);
            InsertAtCaret(text);
        }
        undoList_->AddChange(crInsert, start, CaretXY(), QString(), smNormal);
        EnsureCursorPosVisible();
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
}

void TCustomCodeEdit::DoShiftTabKey()
{
    if (HasOption(eoTabIndent) && (SelectionSpansLines() || SelectionStartsLeftOfShortCaretLine())) {
        DoBlockUnindent();
        return;
    }
    int to = caretX_;
    if (HasOption(eoSmartTabs) && caretX_ > 1) {
        // Back to the start of the word of the line above at or before the caret.
        for (int y = caretY_ - 1; y >= 1; --y) {
            const QString text = LineAt(y);
            if (text.size() >= caretX_ - 1) {
                while (to > 1 && IsBlank(text[to - 2])) {
                    --to;
                }
                while (to > 1 && !IsBlank(text[to - 2])) {
                    --to;
                }
                break;
            }
        }
    }
    if (to == caretX_) {
        // Back over blanks of this line, not past the previous tab stop.
        const QString line = GetLineText();
        const int stop = std::max(0, caretX_ - 2) / tabWidth_ * tabWidth_ + 1;
        while (to > stop && (to - 2 >= line.size() || IsBlank(line[to - 2]))) {
            --to;
        }
    }
    if (to != caretX_) {
        if (to <= GetLineText().size()) {
            DeleteRange(TTextPoint{to, caretY_}, true);
        }
        SetCaretXY(TTextPoint{to, caretY_});
    }
}

void TCustomCodeEdit::DoHomeKey(bool selecting)
{
    const QString text = GetLineText();
    int first = 1;
    while (first <= text.size() && IsBlank(text[first - 1])) {
        ++first;
    }
    int target = 1;
    if (HasOption(eoEnhanceHomeKey) && !(caretX_ > 1 && caretX_ <= first)) {
        target = first;
    }
    MoveCaretAndSelection(CaretXY(), TTextPoint{target, caretY_}, selecting);
}

void TCustomCodeEdit::DoBlockIndent()
{
    if (!SelAvail()) {
        return;
    }
    const TTextPoint begin = BlockBegin();
    const TTextPoint end = BlockEnd();
    const int first = begin.y;
    const int last = LastBlockLine(begin, end);
    const QString unit = HasOption(eoTabsToSpaces) ? QString(tabWidth_, QLatin1Char(' ')) : QStringLiteral("\t");
    QStringList units;
    for (int y = first; y <= last; ++y) {
        units.append(unit);
    }
    const auto shifted = [&](TTextPoint p) {
        if (p.y >= first && p.y <= last) {
            p.x += static_cast<int>(unit.size());
        }
        return p;
    };
    const TCodeSelectionMode mode = selectionMode_;
    const TTextPoint anchor = blockBegin_;
    const TTextPoint endPoint = blockEnd_;
    const TTextPoint caret = CaretXY();
    BeginUndoBlock();
    try {
        undoList_->AddChange(crIndent, begin, end, QString(), smColumn);
        TPaintLockGuard lock(*this);
        {
            TSelectionModeHold column(*this, smColumn);
            SetCaretAndSelection(TTextPoint{1, first}, TTextPoint{1, first}, TTextPoint{1, first});
            SetSelTextPrimitive(smColumn, units.join(kCrLf), nullptr, true);
        }
        selectionMode_ = mode;
        SetCaretAndSelection(shifted(caret), shifted(anchor), shifted(endPoint));
        undoList_->AddChange(crIndent, BlockBegin(), BlockEnd(), QString(), smColumn);
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
}

void TCustomCodeEdit::DoBlockUnindent()
{
    if (!SelAvail()) {
        return;
    }
    const TTextPoint begin = BlockBegin();
    const TTextPoint end = BlockEnd();
    const int first = begin.y;
    const int last = LastBlockLine(begin, end);
    std::vector<int> removed;
    bool any = false;
    for (int y = first; y <= last; ++y) {
        removed.push_back(UnindentLength(LineAt(y), tabWidth_));
        any = any || removed.back() > 0;
    }
    if (!any) {
        return;
    }
    TPaintLockGuard lock(*this);
    // Read before the lines change: a changed buffer collapses the selection.
    const TTextPoint anchor = blockBegin_;
    const TTextPoint endPoint = blockEnd_;
    const TTextPoint caretBefore = CaretXY();
    QStringList pieces;
    for (int y = first; y <= last; ++y) {
        const int n = removed[static_cast<std::size_t>(y - first)];
        const QString line = LineAt(y);
        pieces.append(line.left(n));
        if (n > 0) {
            lines_->Put(y - 1, line.mid(n));
        }
    }
    undoList_->AddChange(crUnindent, begin, end, pieces.join(kCrLf), smColumn);
    // Each point moves left by what its own line lost.
    const auto shifted = [&](TTextPoint p) {
        if (p.y >= first && p.y <= last) {
            p.x = std::max(1, p.x - removed[static_cast<std::size_t>(p.y - first)]);
        }
        return p;
    };
    const TTextPoint caret = caretBefore.x == 1 ? caretBefore : shifted(caretBefore);
    SetCaretAndSelection(caret, shifted(anchor), shifted(endPoint));
}
