#pragma once
// The matchers of a prepared rule range: each first character of a token leads to one
// of them. A symbol tree matches keywords and range texts character by character, a
// number matcher takes a digit run, a word matcher starts a word and a delimiter matcher
// takes one delimiter. Matching reads the folded line and allocates nothing.

#include "editor/CodeCharSet.h"
#include "editor/CodeRuleRange.h"

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

class TAbstractSymbol {
public:
    virtual ~TAbstractSymbol() = default;
    // Advances the run; true with the recognised symbol, false when none.
    virtual bool MatchToken(TCodeScanCursor& scan, const TCodeSymbol*& symbol) const = 0;
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
    bool MatchToken(TCodeScanCursor& scan, const TCodeSymbol*& symbol) const override;

private:
    TSymbolNode root_;
};

// A digit run, recognised when a delimiter follows it.
class TNumberSymbols : public TAbstractSymbol {
public:
    explicit TNumberSymbols(TCodeHighlighterAttributes* attributes) { symbol_.Attributes = attributes; }
    bool MatchToken(TCodeScanCursor& scan, const TCodeSymbol*& symbol) const override;

private:
    TCodeSymbol symbol_;
};

// The start of a word: one character, no symbol.
class TDefaultSymbols : public TAbstractSymbol {
public:
    explicit TDefaultSymbols(TCodeHighlighterAttributes* attributes) { symbol_.Attributes = attributes; }
    bool MatchToken(TCodeScanCursor& scan, const TCodeSymbol*& symbol) const override;

private:
    TCodeSymbol symbol_;
};

// One delimiter character (none at the end of the line).
class TDefaultTermSymbols : public TAbstractSymbol {
public:
    explicit TDefaultTermSymbols(TCodeHighlighterAttributes* attributes) { symbol_.Attributes = attributes; }
    bool MatchToken(TCodeScanCursor& scan, const TCodeSymbol*& symbol) const override;

private:
    TCodeSymbol symbol_;
};

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
