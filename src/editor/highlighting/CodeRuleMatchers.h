#pragma once
// The matchers of a prepared rule range: each first character of a token leads to one
// of them. A symbol tree matches keywords and range texts character by character, a
// number matcher takes a digit run, a word matcher starts a word and a delimiter matcher
// takes one delimiter. Matching reads the folded line and allocates nothing.

#include "editor/document/CodeCharSet.h"
#include "editor/highlighting/CodeRuleRange.h"

#include <QStringView>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// Where a token is being matched: the folded line, its length (the line ends there;
// a NUL inside it is an ordinary delimiter), the run index and the current range's
// delimiters.
struct TCodeScanCursor {
    const char16_t* text;
    int length;
    int run;
    const TCodeCharSet* delimiters;

    // The end of the line counts as a delimiter.
    bool AtDelimiter() const { return run >= length || delimiters->Contains(text[run]); }
};

// The four matchers are known here, so a match is a switch on the kind rather than a
// virtual call: the scanner spends most of its time in this dispatch.
class TAbstractSymbol {
public:
    enum class TKind : std::uint8_t { Tree, Number, Word, Delimiter };

    // Advances the run; true with the recognised symbol, false when none.
    inline bool MatchToken(TCodeScanCursor& scan, const TCodeSymbol*& symbol) const;

protected:
    explicit TAbstractSymbol(TKind kind) : kind_(kind) {}
    ~TAbstractSymbol() = default;

private:
    TKind kind_;
};

struct TSymbolNode {
    char16_t character = 0;
    std::uint8_t termKind = tkNotSet;
    TCodeSymbol* symbol = nullptr; // none on inner nodes
    std::vector<TSymbolNode> children;

    const TSymbolNode* Child(char16_t c) const
    {
        for (const TSymbolNode& child : children) {
            if (child.character == c) {
                return &child;
            }
        }
        return nullptr;
    }
};

class TSymbols : public TAbstractSymbol {
public:
    TSymbols(char16_t first, std::uint8_t termKind, TCodeSymbol* symbol);
    // Adds the path of `rest` (the text after the first character, folded); the last
    // node takes the term kind and the symbol, replacing an earlier addition.
    void AddText(QStringView rest, std::uint8_t termKind, TCodeSymbol* symbol);
    TSymbolNode& Root() { return root_; }
    bool Match(TCodeScanCursor& scan, const TCodeSymbol*& symbol) const;

private:
    TSymbolNode root_;
};

// A matcher with a symbol of its own, coloured by one of its range's attributes.
class TOwnSymbolMatcher : public TAbstractSymbol {
protected:
    TOwnSymbolMatcher(TKind kind, TCodeHighlighterAttributes* attributes) : TAbstractSymbol(kind)
    {
        symbol_.Attributes = attributes;
    }

    TCodeSymbol symbol_;
};

// A digit run, recognised when a delimiter follows it.
class TNumberSymbols : public TOwnSymbolMatcher {
public:
    explicit TNumberSymbols(TCodeHighlighterAttributes* attributes) : TOwnSymbolMatcher(TKind::Number, attributes) {}
    bool Match(TCodeScanCursor& scan, const TCodeSymbol*& symbol) const
    {
        ++scan.run;
        while (scan.run < scan.length && scan.text[scan.run] >= u'0' && scan.text[scan.run] <= u'9') {
            ++scan.run;
        }
        if (scan.AtDelimiter()) {
            symbol = &symbol_;
            return true;
        }
        return false;
    }
};

// The start of a word: one character, no symbol.
class TDefaultSymbols : public TOwnSymbolMatcher {
public:
    explicit TDefaultSymbols(TCodeHighlighterAttributes* attributes) : TOwnSymbolMatcher(TKind::Word, attributes) {}
    bool Match(TCodeScanCursor& scan, const TCodeSymbol*&) const
    {
        ++scan.run;
        return false;
    }
};

// One delimiter character (none at the end of the line).
class TDefaultTermSymbols : public TOwnSymbolMatcher {
public:
    explicit TDefaultTermSymbols(TCodeHighlighterAttributes* attributes)
        : TOwnSymbolMatcher(TKind::Delimiter, attributes)
    {
    }
    bool Match(TCodeScanCursor& scan, const TCodeSymbol*& symbol) const
    {
        if (scan.run < scan.length) {
            ++scan.run;
        }
        symbol = &symbol_;
        return true;
    }
};

bool TAbstractSymbol::MatchToken(TCodeScanCursor& scan, const TCodeSymbol*& symbol) const
{
    switch (kind_) {
    case TKind::Tree: return static_cast<const TSymbols*>(this)->Match(scan, symbol);
    case TKind::Number: return static_cast<const TNumberSymbols*>(this)->Match(scan, symbol);
    case TKind::Word: return static_cast<const TDefaultSymbols*>(this)->Match(scan, symbol);
    case TKind::Delimiter: break;
    }
    return static_cast<const TDefaultTermSymbols*>(this)->Match(scan, symbol);
}

// The matchers a prepared range owns.
struct TCodeRange::TPrepared {
    TPrepared(TCodeHighlighterAttributes* defaultAttri, TCodeHighlighterAttributes* numberAttri)
        : term(defaultAttri), word(defaultAttri), number(numberAttri)
    {
    }

    TDefaultTermSymbols term;
    TDefaultSymbols word;
    TNumberSymbols number;
    std::vector<std::unique_ptr<TSymbols>> trees;
    // Trees of symbols whose first character is above 255, searched linearly.
    std::vector<std::pair<char16_t, const TSymbols*>> high;
};
