#pragma once
// Highlighting rules for part programs, built the way the shell builds them from its
// settings file: case-insensitive keyword groups on the root, and ranges that open at a
// text, close at the end of the line and, when they have end characters, at the first
// of them.

#include "editor/highlighting/CodeRuleHighlighter.h"

#include <QString>

#include <memory>

inline void AddKeywordGroup(TCodeRange& range, const QString& name, const QString& keywords, TColor foreground,
                            const QString& style)
{
    TCodeHighlighterAttributes* attributes = range.AddAttribute("unknown");
    attributes->SetForeground(foreground);
    attributes->SetStyle(TextToFontStyle(style.toUpper()));
    auto group = std::make_unique<TCodeSymbolGroup>(QString(), attributes);
    group->Name = name;
    group->KeywordList = TextToLines(QString(keywords).replace(QLatin1Char('~'), QLatin1String("\r\n")));
    range.AddSymbolGroup(std::move(group));
}

inline TCodeRange& AddShellRange(TCodeRange& root, const QString& name, const QString& open, const QString& ends,
                                 TColor foreground)
{
    auto range = std::make_unique<TCodeRange>(open, QString());
    range->CloseOnEol = true;
    range->CloseOnTerm = !ends.isEmpty();
    range->Name = name;
    range->DefaultAttri().SetForeground(foreground);
    range->SetCaseSensitive(false);
    range->OpenSymbol().TermKind = tkAnyTerm;
    range->DelimiterChars = TextToCharSet(ends);
    TCodeRange& added = *range;
    root.AddRange(std::move(range));
    return added;
}

// Moves and flow words, a ' comment to the end of the line and & variables that end at a
// blank, an operator or a comma.
inline void BuildPartProgramRules(TCodeRuleHighlighter& highlighter)
{
    TCodeRange& root = *highlighter.RootRange();
    root.Unprepare();
    root.SetCaseSensitive(false);
    AddKeywordGroup(root, "Moves", "M2~M3~MX~MY~MZ~J2~J3~JX~JY~JZ~MS~JS~CG~CR~CC~FP~", clBlue, "b");
    AddKeywordGroup(root, "Flow", "IF~THEN~GOTO~GOSUB~RETURN~END~PAUSE~PRINT~INPUT", clNavy, "B");
    AddShellRange(root, "Comment", "'", "", clGreen);
    AddShellRange(root, "Variable", "&", " =,+-*/()<>", clPurple);
}
