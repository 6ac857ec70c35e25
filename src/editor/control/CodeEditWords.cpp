// Word positions, caret moves that drag the selection along, and case changes.
#include "editor/control/CodeEdit.h"

#include <algorithm>

TCodeWordChars TCustomCodeEdit::DefaultWordChars() const
{
    TCodeWordChars chars;
    chars.word.IncludeRange(33, 255);
    for (const char c : std::string_view("!\"'()*+,-./:;=?[\\]^{|}")) {
        chars.word.Exclude(static_cast<unsigned char>(c));
    }
    return chars;
}

namespace {
TCharPredicate WordPredicate(const TCodeWordChars& chars)
{
    return [&chars](QChar c) { return chars.IsWord(c); };
}
TCharPredicate NonWordPredicate(const TCodeWordChars& chars)
{
    return [&chars](QChar c) { return chars.IsNonWord(c); };
}
} // namespace

TTextPoint TCustomCodeEdit::NextWordPos()
{
    int x = caretX_;
    int y = caretY_;
    if (y < 1 || y > LineCount()) {
        return CaretXY();
    }
    const TCodeWordChars chars = WordCharSets();
    const QString text = LineAt(y);
    const int length = static_cast<int>(text.size());
    if (x < length) {
        if (x >= 1 && chars.IsWord(text[x - 1])) {
            x = ScanForCharInSet(text, x, NonWordPredicate(chars));
        }
        if (x > 0) {
            x = ScanForCharInSet(text, x, WordPredicate(chars));
        }
        if (x == 0) {
            x = length + 1;
        }
    } else if (y < LineCount()) {
        ++y;
        x = std::max(1, ScanForCharInSet(LineAt(y), 1, WordPredicate(chars)));
    }
    return TTextPoint{x, y};
}

TTextPoint TCustomCodeEdit::WordStartPos()
{
    if (caretY_ < 1 || caretY_ > LineCount()) {
        return CaretXY();
    }
    const TCodeWordChars chars = WordCharSets();
    const QString text = GetLineText();
    int x = std::min(caretX_, static_cast<int>(text.size()) + 1);
    if (x > 1 && chars.IsWord(text[x - 2])) {
        x = ReverseScanForCharInSet(text, x - 1, NonWordPredicate(chars)) + 1;
    }
    return TTextPoint{x, caretY_};
}

TTextPoint TCustomCodeEdit::WordEndPos()
{
    if (caretY_ < 1 || caretY_ > LineCount()) {
        return CaretXY();
    }
    const TCodeWordChars chars = WordCharSets();
    const QString text = GetLineText();
    const int x = ScanForCharInSet(text, caretX_, NonWordPredicate(chars));
    return TTextPoint{x > 0 ? x : static_cast<int>(text.size()) + 1, caretY_};
}

TTextPoint TCustomCodeEdit::PrevWordPos()
{
    int y = caretY_;
    if (y < 1 || y > LineCount()) {
        return CaretXY();
    }
    const TCodeWordChars chars = WordCharSets();
    const QString text = GetLineText();
    int x = std::min(caretX_, static_cast<int>(text.size()) + 1);
    if (x > 1) {
        if (chars.IsNonWord(text[x - 2])) {
            x = ReverseScanForCharInSet(text, x - 1, WordPredicate(chars));
        }
        if (x > 0) {
            x = ReverseScanForCharInSet(text, x - 1, NonWordPredicate(chars)) + 1;
        }
        if (x == 0) {
            // No word before the caret on this line.
            if (y >= 2) {
                --y;
                x = static_cast<int>(LineAt(y).size()) + 1;
            } else {
                x = 1;
            }
        }
    } else if (y > 1) {
        --y;
        x = static_cast<int>(LineAt(y).size()) + 1;
    }
    return TTextPoint{x, y};
}

QString TCustomCodeEdit::WordAtPos(TTextPoint point) const
{
    if (point.y < 1 || point.y > LineCount()) {
        return QString();
    }
    const TCodeWordChars chars = WordCharSets();
    const QString text = LineAt(point.y);
    const int length = static_cast<int>(text.size());
    int start = std::max(1, std::min(point.x, length + 1));
    int end = start;
    while (start > 1 && chars.IsWord(text[start - 2])) {
        --start;
    }
    while (end <= length && chars.IsWord(text[end - 1])) {
        ++end;
    }
    return text.mid(start - 1, end - start);
}

QString TCustomCodeEdit::GetWordAtCursor()
{
    const TTextPoint start = WordStartPos();
    const TTextPoint end = WordEndPos();
    return GetLineText().mid(start.x - 1, std::max(0, end.x - start.x));
}

// --- caret moves -----------------------------------------------------------------------

void TCustomCodeEdit::MoveCaretHorz(int dx, bool selectionCommand)
{
    const TTextPoint before = CaretXY();
    TTextPoint after = before;
    const QString text = GetLineText();
    const int length = static_cast<int>(text.size());
    const bool wrapAround = !HasOption(eoScrollPastEol);
    if (wrapAround && dx < 0 && caretX_ == 1 && caretY_ > 1) {
        after = TTextPoint{static_cast<int>(LineAt(caretY_ - 1).size()) + 1, caretY_ - 1};
    } else if (wrapAround && dx > 0 && caretX_ > length && caretY_ < LineCount()) {
        after = TTextPoint{1, caretY_ + 1};
    } else {
        after.x = std::max(1, caretX_ + dx);
        if (dx > 0 && wrapAround) {
            after.x = std::min(after.x, length + 1);
        }
        if (IsTrailPosition(text, after.x)) {
            after.x += dx > 0 ? 1 : -1;
        }
    }
    MoveCaretAndSelection(before, after, selectionCommand);
}

void TCustomCodeEdit::MoveCaretVert(int dy, bool selectionCommand)
{
    const TTextPoint before = CaretXY();
    TTextPoint after{CaretDisplayColumn(), caretY_ + dy};
    after.y = dy < 0 ? std::max(1, after.y) : std::min(std::max(1, LineCount()), after.y);
    const bool lineChanges = after.y != before.y;
    if (lineChanges && HasOption(eoKeepCaretX)) {
        after.x = lastCaretX_;
    }
    after.x = std::max(1, DisplayToCharColumn(after.y, after.x));
    bool stepAside = false;
    if (lineChanges) {
        if (caretStepAside_ && !HasOption(eoKeepCaretX)) {
            ++after.x;
        }
        // A surrogate pair is passed to its left; the next vertical move steps back.
        if (IsTrailPosition(LineAt(after.y), after.x)) {
            --after.x;
            stepAside = true;
        }
    }
    const int remembered = lastCaretX_;
    MoveCaretAndSelection(before, after, selectionCommand);
    lastCaretX_ = remembered;
    if (lineChanges) {
        caretStepAside_ = stepAside;
    }
}

void TCustomCodeEdit::MoveCaretAndSelection(TTextPoint before, TTextPoint after, bool selectionCommand)
{
    if (HasOption(eoGroupUndo)) {
        undoList_->AddGroupBreak();
    }
    TPaintLockGuard lock(*this);
    if (selectionCommand) {
        if (!SelAvail()) {
            SetBlockBegin(before);
        }
        SetBlockEnd(after);
    } else {
        SetBlockBegin(after);
    }
    SetCaretXY(after);
}

// --- case ------------------------------------------------------------------------------

namespace {
// Each character (a surrogate pair as one) that upper case changes becomes upper case,
// every other lower case.
QString ToggleCase(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const QString c = text.mid(i, n);
        const QString upper = c.toUpper();
        result += upper != c ? upper : c.toLower();
        i += n;
    }
    return result;
}

QString TitleCase(const QString& word)
{
    const qsizetype first = word.size() > 1 && word[0].isHighSurrogate() && word[1].isLowSurrogate() ? 2 : 1;
    return word.left(first).toUpper() + word.mid(first).toLower();
}
} // namespace

void TCustomCodeEdit::DoCaseChange(TCodeEditorCommand command)
{
    const TTextPoint caret = CaretXY();
    TPaintLockGuard lock(*this);
    if (command == ecToggleCase) {
        if (SelAvail()) {
            const TTextPoint anchor = blockBegin_;
            const TTextPoint end = blockEnd_;
            ReplaceSelText(ToggleCase(GetSelText()));
            SetBlockBegin(anchor);
            SetBlockEnd(end);
        } else {
            const QString text = GetLineText();
            if (caretX_ <= text.size()) {
                const int n = IsTrailPosition(text, caretX_ + 1) ? 2 : 1;
                SetBlockBegin(caret);
                SetBlockEnd(TTextPoint{caretX_ + n, caretY_});
                ReplaceSelText(ToggleCase(GetSelText()));
                SetBlockBegin(caret);
            }
        }
        SetCaretXY(caret);
        return;
    }
    const TTextPoint start = WordStartPos();
    const TTextPoint end = WordEndPos();
    if (start.x < end.x) {
        const QString word = GetLineText().mid(start.x - 1, end.x - start.x);
        const QString changed =
            command == ecUpperCase ? word.toUpper() : command == ecLowerCase ? word.toLower() : TitleCase(word);
        const TCodeSelectionMode mode = selectionMode_;
        selectionMode_ = smNormal;
        try {
            blockBegin_ = start;
            blockEnd_ = end;
            ReplaceSelText(changed);
        } catch (...) {
            selectionMode_ = mode;
            throw;
        }
        selectionMode_ = mode;
    }
    SetCaretXY(caret);
    SetBlockBegin(caret);
}
