#include "editor/highlighting/CodeRuleHighlighter.h"

#include "editor/highlighting/CodeRuleMatchers.h"

TCodeRuleHighlighter::TCodeRuleHighlighter(TComponent* owner)
    : TCodeCustomHighlighter(owner), root_(std::make_unique<TCodeRange>())
{
    root_->Name = QStringLiteral("Root");
}

TCodeRuleHighlighter::~TCodeRuleHighlighter() = default;

void TCodeRuleHighlighter::Clear()
{
    root_->Clear();
}

void TCodeRuleHighlighter::Prepare()
{
    root_->Prepare(root_.get());
}

TCodeRange* TCodeRuleHighlighter::ResolveRange(int id) const
{
    const auto& ranges = root_->TreeRanges();
    return id >= 0 && id < static_cast<int>(ranges.size()) ? ranges[static_cast<std::size_t>(id)] : root_.get();
}

void TCodeRuleHighlighter::SetRange(int range) { rangeId_ = range; }

void TCodeRuleHighlighter::ResetRange() { rangeId_ = 0; }

void TCodeRuleHighlighter::SetLine(const QString& text, int lineNumber)
{
    if (!root_->Prepared()) {
        Prepare();
    }
    TCodeRange* range = ResolveRange(rangeId_);
    if (!range->Prepared()) { // a nested range unprepared on its own
        Prepare();
    }
    line_ = text;
    lineNumber_ = lineNumber;
    length_ = static_cast<int>(text.size());
    // The whole line is folded once, by the case rule of the range it starts in.
    if (range->PreparedCaseSensitive()) {
        folded_ = reinterpret_cast<const char16_t*>(line_.utf16());
    } else {
        foldBuffer_.resize(static_cast<std::size_t>(length_) + 1);
        const char16_t* source = reinterpret_cast<const char16_t*>(line_.utf16());
        char16_t* target = foldBuffer_.data();
        for (int i = 0; i < length_; ++i) {
            const char16_t c = source[i];
            target[i] = static_cast<char16_t>(c - (static_cast<char16_t>(c - u'a') < 26 ? 32 : 0));
        }
        folded_ = foldBuffer_.data();
    }
    state_ = TScanState{range, nullptr, 0, 0, false, false};
    Next();
}

inline void TCodeRuleHighlighter::Scan(TScanState& state)
{
    if (state.atEnd) {
        // The extra token at the end of every line: it closes one range that ends there.
        if (state.range->CloseOnEol || state.range->CloseOnTerm) {
            state.range = state.range->Parent();
        }
        state.eol = true;
        return;
    }
    if (!state.range->Prepared()) {
        Prepare();
    }
    state.tokenStart = state.run;
    TCodeScanCursor scan{folded_, length_, state.run, &state.range->DelimiterChars};
    if (state.range->CloseOnTerm && scan.AtDelimiter()) {
        state.range = state.range->Parent();
        scan.delimiters = &state.range->DelimiterChars;
    }
    const TAbstractSymbol* matcher =
        scan.run < scan.length ? state.range->Matcher(scan.text[scan.run]) : state.range->EndMatcher();
    const TCodeSymbol* symbol = nullptr;
    if (matcher->MatchToken(scan, symbol)) {
        state.symbol = symbol;
        if (symbol == state.range->CloseSymbolFound()) {
            state.range = state.range->Parent();
        } else if (symbol->StartsRange) {
            state.range = symbol->StartsRange;
        }
    } else {
        state.symbol = state.range->DefaultSymbol();
        while (!scan.AtDelimiter()) {
            ++scan.run;
        }
    }
    state.run = scan.run;
    state.atEnd = scan.run >= scan.length;
}

void TCodeRuleHighlighter::Next()
{
    if (!state_.eol) {
        Scan(state_);
        rangeId_ = state_.range->TreeIndex();
    }
}

void TCodeRuleHighlighter::NextToEol()
{
    // The state lives in registers while the rest of the line is scanned.
    TScanState state = state_;
    while (!state.eol) {
        Scan(state);
    }
    state_ = state;
    rangeId_ = state.range->TreeIndex();
}

bool TCodeRuleHighlighter::RangesEndWithLine() const
{
    // The token at a line end closes one range only: a range opened inside another
    // would leave the next line in its parent, and one that does not close there
    // carries on. Scanning moves only between a range and its parent or nested ranges,
    // so from the root no line can end anywhere but the root.
    for (int i = 0; i < root_->GetRangeCount(); ++i) {
        const TCodeRange* range = root_->GetRange(i);
        if (range->GetRangeCount() > 0 || !(range->CloseOnEol || range->CloseOnTerm)) {
            return false;
        }
    }
    return true;
}

TCodeHighlighterAttributes* TCodeRuleHighlighter::GetDefaultAttribute(int index) const
{
    if (index < 0 || index > 4) {
        return nullptr;
    }
    return &ResolveRange(rangeId_)->DefaultAttri();
}

TCodeCharSet TCodeRuleHighlighter::GetWordChars() const
{
    TCodeCharSet set;
    set.IncludeRange(32, 255);
    set.SetHighCodesIncluded(true);
    // The delimiters every prepared range has too: the answer must not depend on whether
    // a line was scanned yet (line states can be stored without a scan).
    for (char16_t c : AlwaysDelimiters) {
        set.Exclude(c);
    }
    return set.Minus(ResolveRange(rangeId_)->DelimiterChars);
}

QString TCodeRuleHighlighter::GetLanguageName() const { return QStringLiteral("UniLenguage"); }

QString TCodeRuleHighlighter::GetSampleSource() const
{
    QString text;
    for (const QString& line : Info.Sample) {
        text += line;
        text += QLatin1Char('\n');
    }
    return text;
}

void TCodeRuleHighlighter::SetSampleSource(const QString& text)
{
    Info.Sample = TextToLines(text);
}

bool TCodeRuleHighlighter::IsKeyword(const QString& word) const
{
    const TCodeRange* range = ResolveRange(rangeId_);
    const QString folded = range->FoldText(word);
    for (int i = 0; i < range->GetSymbolGroupCount(); ++i) {
        for (const QString& keyword : range->GetSymbolGroup(i)->KeywordList) {
            if (range->FoldText(keyword) == folded) {
                return true;
            }
        }
    }
    return false;
}
