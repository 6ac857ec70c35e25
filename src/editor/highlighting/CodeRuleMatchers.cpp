#include "editor/highlighting/CodeRuleMatchers.h"

TSymbols::TSymbols(char16_t first, std::uint8_t termKind, TCodeSymbol* symbol) : TAbstractSymbol(TKind::Tree)
{
    root_.character = first;
    root_.termKind = termKind;
    root_.symbol = symbol;
}

void TSymbols::AddText(QStringView rest, std::uint8_t termKind, TCodeSymbol* symbol)
{
    TSymbolNode* node = &root_;
    for (QChar c : rest) {
        TSymbolNode* child = const_cast<TSymbolNode*>(node->Child(c.unicode()));
        if (!child) {
            node->children.push_back(TSymbolNode{c.unicode(), tkNotSet, nullptr, {}});
            child = &node->children.back();
        }
        node = child;
    }
    node->termKind = termKind;
    node->symbol = symbol;
}

// Walks the tree as far as the line follows it. There is no falling back to a shorter
// symbol: when the walk ends on an inner node, no symbol is recognised.
bool TSymbols::Match(TCodeScanCursor& scan, const TCodeSymbol*& symbol) const
{
    const TSymbolNode* node = &root_;
    bool missingChild = false;
    while (!node->children.empty() && scan.run < scan.length) {
        ++scan.run;
        const TSymbolNode* child = scan.run < scan.length ? node->Child(scan.text[scan.run]) : nullptr;
        if (!child) {
            missingChild = true;
            break;
        }
        node = child;
    }
    if (!node->symbol) {
        return false;
    }
    if (missingChild) {
        --scan.run;
    }
    if (scan.run < scan.length) {
        ++scan.run; // just behind the matched text
    }
    if (node->termKind == tkAnyTerm || scan.AtDelimiter()) {
        symbol = node->symbol;
        return true;
    }
    return false;
}

