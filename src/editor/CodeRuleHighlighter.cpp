#include "editor/CodeRuleHighlighter.h"

#include "editor/CodeRuleMatchers.h"

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

void TCodeRuleHighlighter::Enter(TCodeRange* range)
{
    range_ = range;
    rangeId_ = range->TreeIndex();
}

void TCodeRuleHighlighter::SetLine(const QString& text, int lineNumber)
{
    if (!root_->Prepared()) {
        Prepare();
    }
    Enter(ResolveRange(rangeId_));
    if (!range_->Prepared()) { // a nested range unprepared on its own
        Prepare();
    }
    line_ = text;
    lineNumber_ = lineNumber;
    length_ = static_cast<int>(text.size());
    // The whole line is folded once, by the case rule of the range it starts in.
    if (range_->PreparedCaseSensitive()) {
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
    run_ = 0;
    tokenStart_ = 0;
    eol_ = false;
    atEnd_ = false;
    Scan();
}

void TCodeRuleHighlighter::Next()
{
    if (!eol_) {
        Scan();
    }
}

void TCodeRuleHighlighter::NextToEol()
{
    while (!eol_) {
        Scan();
    }
}

void TCodeRuleHighlighter::Scan()
{
    if (atEnd_) {
        // The extra token at the end of every line: it closes one range that ends there.
        if (range_->CloseOnEol || range_->CloseOnTerm) {
            Enter(range_->Parent());
        }
        eol_ = true;
        return;
    }
    if (!range_->Prepared()) {
        Prepare();
    }
    tokenStart_ = run_;
    TCodeScanCursor scan{folded_, length_, run_, &range_->DelimiterChars};
    if (range_->CloseOnTerm && scan.AtDelimiter()) {
        Enter(range_->Parent());
        scan.delimiters = &range_->DelimiterChars;
    }
    const TAbstractSymbol* matcher = run_ < length_ ? range_->Matcher(folded_[run_]) : range_->EndMatcher();
    const TCodeSymbol* symbol = nullptr;
    if (matcher->MatchToken(scan, symbol)) {
        symbol_ = symbol;
        if (symbol == range_->CloseSymbolFound()) {
            Enter(range_->Parent());
        } else if (symbol->StartsRange) {
            Enter(symbol->StartsRange);
        }
    } else {
        symbol_ = range_->DefaultSymbol();
        while (!scan.AtDelimiter()) {
            ++scan.run;
        }
    }
    run_ = scan.run;
    atEnd_ = run_ >= length_;
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
