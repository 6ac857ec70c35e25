// What the control reads from its highlighter: word characters, tokens at a position,
// and the strings and comments that bracket matching passes over.
#include "editor/control/CodeEdit.h"

#include "editor/highlighting/CodeCustomHighlighter.h"

namespace {
// The highlighter's default attributes of comments and strings.
constexpr int kCommentAttribute = 0;
constexpr int kStringAttribute = 3;

constexpr QStringView kBrackets = u"()[]{}<>";

// Starts a scan of line `index` from the state stored for it.
void StartLineScan(TCodeCustomHighlighter& highlighter, const TCodeEditStringList& lines, int index)
{
    const int range = lines.GetRange(index);
    if (index == 0 || range < 0) {
        highlighter.ResetRange();
    } else {
        highlighter.SetRange(range);
    }
    highlighter.SetLine(lines.Get(index), index);
}
} // namespace

void TCustomCodeEdit::SetHighlighter(TCodeCustomHighlighter* highlighter)
{
    if (highlighter == highlighter_) {
        return;
    }
    const TNotifyEvent changed = MakeDelegate<&TCustomCodeEdit::HighlighterChanged>(this);
    if (highlighter_) {
        highlighter_->RemoveChangeHandler(changed);
        highlighter_->RemoveFreeNotification(this);
    }
    highlighter_ = highlighter;
    if (highlighter_) {
        highlighter_->AddChangeHandler(changed);
        highlighter_->FreeNotification(this);
    }
    if (!IsDestroying()) {
        RescanAll(true);
        SizeOrFontChanged(true);
    }
}

void TCustomCodeEdit::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) {
        return;
    }
    if (highlighter_ && component == highlighter_) {
        highlighter_ = nullptr;
        if (!IsDestroying()) {
            SizeOrFontChanged(true);
            Invalidate();
        }
    }
    if (bookMarkOptions_ && component == bookMarkOptions_->BookmarkImages()) {
        bookMarkOptions_->SetBookmarkImages(nullptr);
    }
}

TCodeWordChars TCustomCodeEdit::WordCharSets() const
{
    if (!highlighter_) {
        return DefaultWordChars();
    }
    TCodeWordChars chars;
    chars.word = highlighter_->GetWordChars().Minus(highlighter_->WordBreakChars());
    return chars;
}

bool TCustomCodeEdit::TokenAtPosition(TTextPoint point, QString& token, int& kind, int& start,
                                      TCodeHighlighterAttributes*& attribute)
{
    if (!highlighter_ || point.y < 1 || point.y > LineCount()) {
        return false;
    }
    const int index = point.x - 1;
    StartLineScan(*highlighter_, *lines_, point.y - 1);
    for (; !highlighter_->GetEol(); highlighter_->Next()) {
        const int pos = highlighter_->GetTokenPos();
        const QStringView text = highlighter_->GetToken();
        if (index >= pos && index < pos + text.size()) {
            token = text.toString();
            kind = highlighter_->GetTokenKind();
            start = pos + 1;
            attribute = highlighter_->GetTokenAttribute();
            return true;
        }
    }
    return false;
}

// Whether the character at a column lies in a string or a comment. The spans of the
// last line asked are kept, so a line is scanned once however many brackets it holds.
bool TCustomCodeEdit::IgnoredForBrackets(int lineIndex, int column, std::vector<std::pair<int, int>>& spans,
                                         int& spansLine)
{
    if (!highlighter_) {
        return false;
    }
    if (spansLine != lineIndex) {
        spans.clear();
        spansLine = lineIndex;
        StartLineScan(*highlighter_, *lines_, lineIndex);
        for (; !highlighter_->GetEol(); highlighter_->Next()) {
            const TCodeHighlighterAttributes* attribute = highlighter_->GetTokenAttribute();
            if (attribute && (attribute == highlighter_->GetDefaultAttribute(kStringAttribute) ||
                              attribute == highlighter_->GetDefaultAttribute(kCommentAttribute))) {
                const int pos = highlighter_->GetTokenPos();
                spans.emplace_back(pos + 1, pos + 1 + static_cast<int>(highlighter_->GetToken().size()));
            }
        }
    }
    for (const auto& [first, end] : spans) {
        if (column >= first && column < end) {
            return true;
        }
    }
    return false;
}

TTextPoint TCustomCodeEdit::FindMatchingBracket(TTextPoint point, bool physical)
{
    const TTextPoint none{0, 0};
    if (point.y < 1 || point.y > LineCount()) {
        return none;
    }
    const QString start = LineAt(point.y);
    if (point.x < 1 || point.x > start.size()) {
        return none;
    }
    const QChar bracket = start[point.x - 1];
    const qsizetype index = kBrackets.indexOf(bracket);
    if (index < 0) {
        return none;
    }
    const QChar partner = kBrackets[index ^ 1];
    const bool forward = (index & 1) == 0;
    std::vector<std::pair<int, int>> spans;
    int spansLine = -1;
    int depth = 1;
    int y = point.y;
    QString text = start;
    int x = point.x + (forward ? 1 : -1);
    for (;;) {
        for (; forward ? x <= text.size() : x >= 1; x += forward ? 1 : -1) {
            const QChar c = text[x - 1];
            if ((c != bracket && c != partner) || IgnoredForBrackets(y - 1, x, spans, spansLine)) {
                continue;
            }
            depth += c == bracket ? 1 : -1;
            if (depth == 0) {
                return TTextPoint{physical ? CharToDisplayColumn(y, x) : x, y};
            }
        }
        y += forward ? 1 : -1;
        if (y < 1 || y > LineCount()) {
            return none;
        }
        text = LineAt(y);
        x = forward ? 1 : static_cast<int>(text.size());
    }
}

TTextPoint TCustomCodeEdit::FindMatchingBracketAtCaret() { return FindMatchingBracket(CaretXY(), false); }

void TCustomCodeEdit::GotoMatchingBracket()
{
    const TTextPoint partner = FindMatchingBracketAtCaret();
    if (partner.x > 0) {
        SetCaretAndSelection(partner, partner, partner);
    }
}
