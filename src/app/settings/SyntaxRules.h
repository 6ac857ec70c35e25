#pragma once
// The highlighting rules as the main settings file keeps them: section "SyntaxHighlight"
// counts the keyword groups ("nkw") and the ranges ("nrg") of the universal
// highlighter's root range, sections "kw1", "kw2" ... hold the groups and "rg1",
// "rg2" ... the ranges. TSyntaxRules is that content as plain data: read from a file
// (all of it or nothing), written to one, taken from a root range and added to one.

#include "editor/document/CodeCharSet.h"
#include "platform/core/graphics/ColorValue.h"
#include "platform/core/graphics/Font.h"

#include <QString>
#include <QStringList>

#include <vector>

class TCodeRange;
class TIniFile;

struct TKeywordGroupRule {
    QString Name;
    TColor Foreground = clNone;
    TColor Background = clNone;
    TFontStyles Style = 0;
    QStringList Keywords;
    bool operator==(const TKeywordGroupRule&) const = default;
};

// A range that opens at a text, closes at the end of its line and, when it has end
// characters, at the first of them; its open text may be followed by anything.
struct TRangeRule {
    QString Name;
    QString Open;
    // The characters that end the range, in code order.
    QString EndChars;
    TColor DefaultForeground = clNone;
    TColor DefaultBackground = clNone;
    TFontStyles DefaultStyle = 0;
    TColor NumberForeground = clNone;
    TColor NumberBackground = clNone;
    TFontStyles NumberStyle = 0;
    bool operator==(const TRangeRule&) const = default;
};

struct TSyntaxRules {
    std::vector<TKeywordGroupRule> Groups;
    std::vector<TRangeRule> Ranges;
    bool operator==(const TSyntaxRules&) const = default;
};

inline constexpr const char* SyntaxHighlightSection = "SyntaxHighlight";
// Shipped beside the executable: the rules used while the main settings file has none.
inline const QString DefaultHighlightingFileTitle = QStringLiteral("DefaultHighlighting.ini");

// The rules of the file. A file without section "SyntaxHighlight" (empty, or not text),
// a count or colour that is not a whole number, a negative count or a counted section
// that is absent raises EBadSettingsFile (CheckedIniReader.h)
// naming the file, section, key and text. A group whose trimmed name is empty is left
// out; an absent colour is clNone. "erange" is taken as it stands after "=", so a blank
// alone still makes a range that closes on a delimiter.
TSyntaxRules ReadSyntaxRules(const TIniFile& ini);
// Erases the "kw" and "rg" sections the old counts cover (found by walking the file's
// sections, so a huge count costs nothing), then writes the counts and a section per
// group and range, numbered from 1 in order. Colours are signed decimals, styles the
// letters B, I, U, S in that order, "kwList" each keyword followed by "~".
void WriteSyntaxRules(TIniFile& ini, const TSyntaxRules& rules);

// The keyword groups and ranges that stand directly in the root range.
TSyntaxRules SyntaxRulesOf(const TCodeRange& root);
TKeywordGroupRule KeywordGroupRuleOf(const TCodeRange& root, int index);
TRangeRule RangeRuleOf(const TCodeRange& root, int index);
// Unprepares the root, makes it case-insensitive and appends the groups and ranges.
void AddSyntaxRules(TCodeRange& root, const TSyntaxRules& rules);
// Append one group (its attributes a new "unknown" attribute of the root) or range; the
// root must be unprepared.
void AddKeywordGroup(TCodeRange& root, const TKeywordGroupRule& rule);
void AddRangeRule(TCodeRange& root, const TRangeRule& rule);
// The first group or range named exactly `name`; -1 when there is none.
int FindKeywordGroup(const TCodeRange& root, const QString& name);
int FindRangeRule(const TCodeRange& root, const QString& name);
// A saved group or range replaces the old one and moves to the end of the list.
void ReplaceKeywordGroup(TCodeRange& root, int index, const TKeywordGroupRule& rule);
void ReplaceRangeRule(TCodeRange& root, int index, const TRangeRule& rule);

// The range's end characters as text: the members of its set in code order without
// those every prepared range holds anyway (CharSetToText). A range that closes on a
// delimiter but has no other end character gets a blank, so it still closes on one
// when the text is read again.
QString EndCharsText(const TCodeCharSet& set, bool closeOnTerm);
// "MS~JS~" for the keywords MS and JS.
QString KeywordListText(const QStringList& keywords);
// The style letters, read without regard to case.
TFontStyles StyleFromLetters(const QString& letters);
