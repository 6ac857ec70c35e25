#pragma once
// The rules of the rule-driven highlighter, as data: a tree of lexical contexts
// (ranges), each with its delimiters, case rule, default and number colours, keyword
// groups and nested ranges. A nested range opens in its parent at its open text and
// closes at its close text, at a delimiter (CloseOnTerm) or at the end of the line
// (CloseOnEol).
//
// A range is unprepared (rules may be edited) or prepared: its dispatch tables are
// built from the rules as they were then (CodeRulePrepare.cpp, used by the scanner).
// Change rules only on an unprepared tree; the scanner prepares it again when it next
// starts a line. Deleting or clearing ranges unprepares the whole prepared tree first,
// so no table ever points at a freed range.

#include "editor/document/CodeCharSet.h"
#include "editor/highlighting/CodeHighlighterAttributes.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TCodeRange;
class TAbstractSymbol;

// How a symbol may end: not set (decided by its last character at preparation), followed
// by anything, or followed by a delimiter.
enum : std::uint8_t { tkNotSet = 0, tkAnyTerm = 1, tkDelimiterTerm = 2 };

class TCodeSymbol {
public:
    explicit TCodeSymbol(const QString& text = {}) : Symbol(text) {}
    virtual ~TCodeSymbol() = default;

    TCodeHighlighterAttributes* Attributes = nullptr; // not owned
    TCodeRange* StartsRange = nullptr;                // the range this symbol opens
    std::uint8_t TermKind = tkNotSet;
    QString Symbol;
};

// Keywords sharing one attribute; the attribute belongs to the range's attribute list.
class TCodeSymbolGroup {
public:
    // One keyword per line of the text.
    TCodeSymbolGroup(const QString& keywords, TCodeHighlighterAttributes* attributes);

    TCodeHighlighterAttributes* Attributes;
    QStringList KeywordList;
    QString Name;
};

class TCodeRange {
public:
    TCodeRange(const QString& openText = {}, const QString& closeText = {});
    virtual ~TCodeRange();
    TCodeRange(const TCodeRange&) = delete;
    TCodeRange& operator=(const TCodeRange&) = delete;

    // --- rules ---
    QString Name;
    bool CloseOnTerm = false;
    bool CloseOnEol = false;
    // The 31 printable ASCII characters other than letters, digits and the underscore.
    TCodeCharSet DelimiterChars;

    TCodeSymbol& OpenSymbol() { return openSymbol_; }
    const TCodeSymbol& OpenSymbol() const { return openSymbol_; }
    TCodeSymbol& CloseSymbol() { return closeSymbol_; }
    const TCodeSymbol& CloseSymbol() const { return closeSymbol_; }
    // "Default packages": the colour of text that matches nothing.
    TCodeHighlighterAttributes& DefaultAttri() { return defaultAttri_; }
    const TCodeHighlighterAttributes& DefaultAttri() const { return defaultAttri_; }
    // "Number".
    TCodeHighlighterAttributes& NumberAttri() { return numberAttri_; }
    const TCodeHighlighterAttributes& NumberAttri() const { return numberAttri_; }

    // Ownership passes to this range; the results are the new indexes.
    int AddRange(std::unique_ptr<TCodeRange> range);
    int AddSymbolGroup(std::unique_ptr<TCodeSymbolGroup> group);
    // A new attribute of that name in this range's attribute list.
    TCodeHighlighterAttributes* AddAttribute(const QString& name);
    int GetRangeCount() const { return static_cast<int>(ranges_.size()); }
    // EListError outside 0..count-1, as for the other indexed access below.
    TCodeRange* GetRange(int index) const;
    int GetSymbolGroupCount() const { return static_cast<int>(groups_.size()); }
    TCodeSymbolGroup* GetSymbolGroup(int index) const;
    int GetAttributeCount() const { return static_cast<int>(attributes_.size()); }
    TCodeHighlighterAttributes* GetAttribute(int index) const;
    void DeleteRange(int index);
    // The group's attribute stays in the attribute list until the range is cleared.
    void DeleteSymbolGroup(int index);

    // False folds the 26 ASCII lower-case letters to upper case; nothing else changes.
    // A new range is case-sensitive.
    void SetCaseSensitive(bool value) { caseSensitive_ = value; }
    bool GetCaseSensitive() const { return caseSensitive_; }
    char16_t FoldChar(char16_t c) const { return !caseSensitive_ && c >= u'a' && c <= u'z' ? c - 32 : c; }
    QString FoldText(QStringView text) const;

    // Builds the tables of this range and of every nested range; the root of a tree is
    // prepared with itself as parent and then numbers its ranges.
    void Prepare(TCodeRange* parent);
    // Does nothing when not prepared (and then does not descend).
    void Unprepare();
    // Unprepares, then destroys every nested range, symbol, keyword group and attribute.
    void Clear();
    // This range's own rules (name, flags, delimiters, case rule, open and close texts,
    // default and number colours) become those of `source`; nested ranges and groups stay.
    void AssignOwnRules(const TCodeRange& source);
    // Takes the whole of `source`'s rules, nested ranges and keyword groups included;
    // `source` is left with this range's old ones.
    void TakeRulesFrom(TCodeRange& source);

    // --- the prepared state ---
    bool Prepared() const { return prepared_; }
    // The case rule the tables were built with (a later SetCaseSensitive waits for the
    // next preparation, as every other rule does).
    bool PreparedCaseSensitive() const { return preparedCaseSensitive_; }
    TCodeRange* Parent() const { return parent_; }
    TCodeSymbol* CloseSymbolFound() const { return closeSymbolFound_; }
    // Sorted by text once prepared.
    int GetSymbolCount() const { return static_cast<int>(symbols_.size()); }
    const TCodeSymbol* GetSymbol(int index) const { return symbols_[static_cast<std::size_t>(index)].get(); }
    // This range's index in its prepared tree, depth-first, root 0.
    int TreeIndex() const { return treeIndex_; }
    // On a prepared root: every range of the tree by TreeIndex.
    const std::vector<TCodeRange*>& TreeRanges() const { return treeRanges_; }

    // The matcher for a token starting with the (folded) character; the range must be prepared.
    const TAbstractSymbol* Matcher(char16_t c) const { return c < 256 ? table_[c] : HighMatcher(c); }
    // The matcher for the end of the line: an empty delimiter token.
    const TAbstractSymbol* EndMatcher() const;
    TCodeSymbol* DefaultSymbol() const { return defaultSymbol_.get(); }

private:
    struct TPrepared;
    // Adds, replacing a symbol of the same text (exact comparison).
    void AddSymbol(std::unique_ptr<TCodeSymbol> symbol);
    TCodeSymbol* FindOrAddSymbol(const TCodeSymbol& templ, TCodeHighlighterAttributes* attributes);
    void SortSymbols();
    void BuildTable();
    const TAbstractSymbol* HighMatcher(char16_t c) const;
    void NumberTree();
    // Unprepares the prepared tree this range belongs to, from its top.
    void UnprepareTree();

    TCodeSymbol closeSymbol_;
    TCodeSymbol openSymbol_;
    bool caseSensitive_ = true;
    bool prepared_ = false;
    bool preparedCaseSensitive_ = true;
    TCodeRange* parent_ = this;
    TCodeSymbol* closeSymbolFound_ = nullptr;
    std::vector<std::unique_ptr<TCodeSymbol>> symbols_;
    std::vector<std::unique_ptr<TCodeRange>> ranges_;
    std::vector<std::unique_ptr<TCodeSymbolGroup>> groups_;
    std::vector<std::unique_ptr<TCodeHighlighterAttributes>> attributes_;
    std::unique_ptr<TCodeSymbol> defaultSymbol_;
    std::unique_ptr<TPrepared> matchers_;
    std::array<const TAbstractSymbol*, 256> table_{};
    TCodeHighlighterAttributes defaultAttri_;
    TCodeHighlighterAttributes numberAttri_;
    int treeIndex_ = 0;
    std::vector<TCodeRange*> treeRanges_;
};

// The lines of a text as a string list takes them: CR LF, LF or CR ends a line, and a
// final line break adds no empty line.
QStringList TextToLines(const QString& text);

// Style letters B (bold), I (italic), U (underline), S (strike-out): a style holds each
// member whose upper-case letter occurs anywhere in the text.
TFontStyles TextToFontStyle(QStringView text);
// The letters of the style in the order B, I, U, S.
QString FontStyleToText(TFontStyles style);
