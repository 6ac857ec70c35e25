// Reading the control's text: whole, by line, the selection in its three shapes; the
// conversion between character and display columns; leading blanks.
#include "editor/control/CodeEdit.h"
#include "editor/control/CodeEditInternals.h"

#include <algorithm>

namespace {
const QLatin1String kCrLf("\r\n");

int NextTabStop(int cellsBefore, int tabWidth) { return (cellsBefore / tabWidth + 1) * tabWidth; }
} // namespace

QString TCustomCodeEdit::GetText() const
{
    QString text;
    const int count = LineCount();
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !lines_->IsContinuationLine(i)) {
            text += kCrLf;
        }
        text += lines_->Get(i);
    }
    return text;
}

void TCustomCodeEdit::SetText(const QString& text) { lines_->SetText(text); }

void TCustomCodeEdit::SetLines(const TCodeEditStringList& lines) { lines_->Assign(&lines); }

QString TCustomCodeEdit::GetLineText() const
{
    return caretY_ >= 1 && caretY_ <= LineCount() ? lines_->Get(caretY_ - 1) : QString();
}

void TCustomCodeEdit::SetLineText(const QString& text)
{
    if (caretY_ >= 1 && caretY_ <= std::max(1, LineCount())) {
        lines_->Put(caretY_ - 1, text);
    }
}

void TCustomCodeEdit::ProperSetLine(int index, const QString& text)
{
    // A piece that a wrapped line goes on after does not end the line: its blanks stay.
    const bool continued = index + 1 < LineCount() && lines_->IsContinuationLine(index + 1);
    if (!HasOption(eoTrimTrailingSpaces) || continued) {
        lines_->Put(index, text);
        return;
    }
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1] == QLatin1Char(' ') || text[end - 1] == QLatin1Char('\t'))) {
        --end;
    }
    lines_->Put(index, text.left(end));
}

QString TCustomCodeEdit::TrimTrailingSpaces(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' ')) {
        --end;
    }
    return text.left(end);
}

int TCustomCodeEdit::LeftSpacesEx(const QString& text, bool wantTabs) const
{
    if (!HasOption(eoAutoIndent)) {
        return 0;
    }
    int n = 0;
    for (const QChar c : text) {
        if (c.unicode() < 1 || c.unicode() > 32) {
            break;
        }
        n += c == QLatin1Char('\t') && wantTabs ? tabWidth_ : 1;
    }
    return n;
}

QString TCustomCodeEdit::GetLeftSpacing(int count, bool wantTabs) const
{
    if (wantTabs && !HasOption(eoTabsToSpaces) && count >= tabWidth_) {
        return QString(count / tabWidth_, QLatin1Char('\t')) + QString(count % tabWidth_, QLatin1Char(' '));
    }
    return QString(std::max(0, count), QLatin1Char(' '));
}

// --- columns -----------------------------------------------------------------------

int TCustomCodeEdit::CharToDisplayColumn(int line, int column) const
{
    if (line < 1 || line > LineCount()) {
        return column;
    }
    const QString text = lines_->Get(line - 1);
    int firstTab = 0;
    if (!FindFirstTab(text, firstTab) || column <= firstTab + 1) {
        return column;
    }
    const int inside = std::min(column - 1, static_cast<int>(text.size()));
    int cells = firstTab;
    for (int i = firstTab; i < inside; ++i) {
        cells = text[i] == QLatin1Char('\t') ? NextTabStop(cells, tabWidth_) : cells + 1;
    }
    return cells + (column - 1 - inside) + 1;
}

int DisplayToCharRaw(const QString& text, int displayColumn, int tabWidth)
{
    int firstTab = 0;
    if (!FindFirstTab(text, firstTab) || displayColumn <= firstTab + 1) {
        return displayColumn;
    }
    int cells = firstTab;
    const int n = static_cast<int>(text.size());
    for (int i = firstTab; i < n; ++i) {
        const int next = text[i] == QLatin1Char('\t') ? NextTabStop(cells, tabWidth) : cells + 1;
        if (next >= displayColumn) {
            return i + 1;
        }
        cells = next;
    }
    return n + (displayColumn - cells);
}

int TCustomCodeEdit::DisplayToCharColumn(int line, int displayColumn) const
{
    if (line < 1 || line > LineCount()) {
        return displayColumn;
    }
    const QString text = lines_->Get(line - 1);
    const int column = DisplayToCharRaw(text, displayColumn, tabWidth_);
    return IsTrailPosition(text, column) ? column - 1 : column;
}

int TCustomCodeEdit::StepOffTrail(int line, int column, bool forward) const
{
    if (line < 1 || line > LineCount() || !IsTrailPosition(lines_->Get(line - 1), column)) {
        return column;
    }
    return forward ? column + 1 : column - 1;
}

// --- the selection's text --------------------------------------------------------------

QString TCustomCodeEdit::GetSelText() const
{
    if (!SelAvail()) {
        return QString();
    }
    const TTextPoint b = BlockBegin();
    const TTextPoint e = BlockEnd();
    const int count = LineCount();
    QString text;
    switch (selectionMode_) {
    case smNormal:
        if (b.y == e.y) {
            return lines_->Get(b.y - 1).mid(b.x - 1, std::max(0, e.x - b.x));
        }
        text = lines_->Get(b.y - 1).mid(b.x - 1);
        for (int y = b.y + 1; y <= e.y && y <= count; ++y) {
            // The pieces of a wrapped line belong together: no break between them.
            if (!lines_->IsContinuationLine(y - 1)) {
                text += kCrLf;
            }
            text += y < e.y ? lines_->Get(y - 1) : lines_->Get(y - 1).left(e.x - 1);
        }
        return text;
    case smLine:
        for (int y = b.y; y <= e.y && y <= count; ++y) {
            if (y > b.y && !lines_->IsContinuationLine(y - 1)) {
                text += kCrLf;
            }
            text += lines_->Get(y - 1);
        }
        if (e.y < count) {
            text += kCrLf;
        }
        return text;
    case smColumn: {
        int left = CharToDisplayColumn(b.y, b.x);
        int right = CharToDisplayColumn(e.y, e.x);
        if (left > right) {
            std::swap(left, right);
        }
        const bool pad = !HasOption(eoTrimTrailingSpaces);
        for (int y = b.y; y <= e.y; ++y) {
            const QString line = lines_->Get(y - 1);
            const int first = DisplayToCharColumn(y, left);
            const int last = DisplayToCharColumn(y, right);
            text += line.mid(first - 1, std::max(0, last - first));
            const int shownCells = y <= count ? static_cast<int>(lines_->GetExpandedString(y - 1).size()) : 0;
            if (pad && shownCells < right - 1) {
                text += QString(right - 1 - std::max(shownCells, left - 1), QLatin1Char(' '));
            }
            if (y < e.y) {
                text += kCrLf;
            }
        }
        return text;
    }
    }
    return text;
}

// --- character offsets --------------------------------------------------------------------

int TCustomCodeEdit::GetSelStart() const
{
    const TTextPoint p = SelAvail() ? BlockBegin() : CaretXY();
    const int last = std::min(p.y, LineCount() + 1);
    int offset = 0;
    for (int y = 1; y < last; ++y) {
        offset += static_cast<int>(lines_->Get(y - 1).size()) + 2;
    }
    return offset + std::min(p.x, static_cast<int>(LineAt(p.y).size()) + 1);
}

namespace {
TTextPoint OffsetToPoint(const TCodeEditStringList& lines, int offset)
{
    const int count = lines.Count();
    int rest = offset;
    for (int y = 1; y <= count; ++y) {
        const int length = static_cast<int>(lines.Get(y - 1).size());
        if (rest <= length + 1) {
            return TTextPoint{std::max(1, rest), y};
        }
        rest -= length + 2;
    }
    return count == 0 ? TTextPoint{1, 1} : TTextPoint{static_cast<int>(lines.Get(count - 1).size()) + 1, count};
}
} // namespace

void TCustomCodeEdit::SetSelStart(int value)
{
    const TTextPoint p = OffsetToPoint(*lines_, value);
    TPaintLockGuard lock(*this);
    SetCaretXY(p);
    SetBlockBegin(p);
}

void TCustomCodeEdit::SetSelEnd(int value) { SetBlockEnd(OffsetToPoint(*lines_, value)); }
