// Preparation: a range's rules become its symbol list (keywords and the texts of its
// nested ranges, sorted) and a first-character table of matchers.

#include "editor/highlighting/CodeRuleMatchers.h"
#include "editor/highlighting/CodeRuleRange.h"

#include <algorithm>

void TCodeRange::AddSymbol(std::unique_ptr<TCodeSymbol> symbol)
{
    for (auto it = symbols_.begin(); it != symbols_.end(); ++it) {
        if ((*it)->Symbol == symbol->Symbol) {
            // A keyword with this range's close text is the symbol that closes it.
            if (closeSymbolFound_ == it->get()) {
                closeSymbolFound_ = symbol.get();
            }
            symbols_.erase(it);
            break;
        }
    }
    symbols_.push_back(std::move(symbol));
}

TCodeSymbol* TCodeRange::FindOrAddSymbol(const TCodeSymbol& templ, TCodeHighlighterAttributes* attributes)
{
    TCodeSymbol* found = nullptr;
    for (const auto& symbol : symbols_) {
        if (symbol->Symbol == templ.Symbol) {
            found = symbol.get();
            break;
        }
    }
    if (!found) {
        auto symbol = std::make_unique<TCodeSymbol>(templ.Symbol);
        symbol->Attributes = templ.Attributes;
        symbol->TermKind = templ.TermKind;
        found = symbol.get();
        AddSymbol(std::move(symbol));
    }
    if (!found->Attributes) {
        found->Attributes = attributes;
    }
    return found;
}

void TCodeRange::SortSymbols()
{
    std::stable_sort(symbols_.begin(), symbols_.end(),
                     [](const auto& a, const auto& b) { return a->Symbol < b->Symbol; });
}

void TCodeRange::Prepare(TCodeRange* parent)
{
    Unprepare();
    parent_ = parent;
    preparedCaseSensitive_ = caseSensitive_;
    defaultSymbol_ = std::make_unique<TCodeSymbol>();
    defaultSymbol_->Attributes = &defaultAttri_;
    matchers_ = std::make_unique<TPrepared>(&defaultAttri_, &numberAttri_);
    for (char16_t c : AlwaysDelimiters) {
        DelimiterChars.Include(c);
    }
    for (const auto& group : groups_) {
        for (const QString& keyword : group->KeywordList) {
            auto symbol = std::make_unique<TCodeSymbol>(keyword);
            symbol->Attributes = group->Attributes;
            AddSymbol(std::move(symbol));
        }
    }
    for (const auto& range : ranges_) {
        range->Unprepare();
        FindOrAddSymbol(range->openSymbol_, &range->defaultAttri_)->StartsRange = range.get();
        range->closeSymbolFound_ = range->FindOrAddSymbol(range->closeSymbol_, &range->defaultAttri_);
        range->Prepare(this);
    }
    SortSymbols();
    BuildTable();
    prepared_ = true;
    if (parent == this) {
        NumberTree();
    }
}

void TCodeRange::BuildTable()
{
    TPrepared& m = *matchers_;
    const auto entry = [&](char16_t c) -> TSymbols* {
        if (c < 256) {
            return static_cast<TSymbols*>(const_cast<TAbstractSymbol*>(table_[c]));
        }
        for (const auto& [first, tree] : m.high) {
            if (first == c) {
                return const_cast<TSymbols*>(tree);
            }
        }
        return nullptr;
    };
    for (const auto& symbol : symbols_) {
        const QString& text = symbol->Symbol;
        if (text.isEmpty()) {
            continue;
        }
        std::uint8_t kind = symbol->TermKind;
        if (kind == tkNotSet) {
            kind = DelimiterChars.Contains(text.back().unicode()) ? tkAnyTerm : tkDelimiterTerm;
        }
        const char16_t first = FoldChar(text.front().unicode());
        if (TSymbols* tree = entry(first)) {
            if (text.size() > 1) {
                tree->AddText(FoldText(QStringView(text).mid(1)), kind, symbol.get());
            } else {
                // A one-character symbol after a longer one of the same first character.
                tree->Root().symbol = symbol.get();
                tree->Root().termKind = kind;
            }
            continue;
        }
        auto tree = std::make_unique<TSymbols>(first, kind, text.size() > 1 ? defaultSymbol_.get() : symbol.get());
        if (text.size() > 1) {
            tree->AddText(FoldText(QStringView(text).mid(1)), kind, symbol.get());
        }
        if (first < 256) {
            table_[first] = tree.get();
        } else {
            m.high.emplace_back(first, tree.get());
        }
        m.trees.push_back(std::move(tree));
    }
    for (unsigned c = 0; c < 256; ++c) {
        if (!table_[c]) {
            if (DelimiterChars.Contains(static_cast<char16_t>(c))) {
                table_[c] = &m.term;
            } else if (c >= '0' && c <= '9') {
                table_[c] = &m.number;
            } else {
                table_[c] = &m.word;
            }
        }
    }
}

const TAbstractSymbol* TCodeRange::HighMatcher(char16_t c) const
{
    for (const auto& [first, tree] : matchers_->high) {
        if (first == c) {
            return tree;
        }
    }
    return &matchers_->word;
}

const TAbstractSymbol* TCodeRange::EndMatcher() const { return &matchers_->term; }

void TCodeRange::NumberTree()
{
    treeRanges_.clear();
    const auto visit = [this](const auto& self, TCodeRange* range) -> void {
        range->treeIndex_ = static_cast<int>(treeRanges_.size());
        treeRanges_.push_back(range);
        for (const auto& child : range->ranges_) {
            self(self, child.get());
        }
    };
    visit(visit, this);
}

void TCodeRange::Unprepare()
{
    if (!prepared_) {
        return;
    }
    defaultSymbol_.reset();
    matchers_.reset();
    table_.fill(nullptr);
    symbols_.clear();
    closeSymbolFound_ = nullptr;
    for (const auto& range : ranges_) {
        range->Unprepare();
    }
    treeRanges_.clear();
    prepared_ = false;
}

void TCodeRange::UnprepareTree()
{
    TCodeRange* top = this;
    while (top->parent_ != top) {
        top = top->parent_;
    }
    top->Unprepare();
}
