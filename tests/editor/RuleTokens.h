#pragma once
// Token lists of the rule highlighter in a form tests compare: "text:attribute", where
// an attribute is named after its keyword group or as <range>.Def / <range>.Num, and a
// blank shows as "_".

#include "editor/highlighting/CodeRuleHighlighter.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

inline QString AttributeLabel(const TCodeRange& range, const TCodeHighlighterAttributes* attribute)
{
    if (attribute == &range.DefaultAttri()) {
        return range.Name + ".Def";
    }
    if (attribute == &range.NumberAttri()) {
        return range.Name + ".Num";
    }
    for (int i = 0; i < range.GetSymbolGroupCount(); ++i) {
        if (range.GetSymbolGroup(i)->Attributes == attribute) {
            return range.GetSymbolGroup(i)->Name;
        }
    }
    for (int i = 0; i < range.GetRangeCount(); ++i) {
        const QString label = AttributeLabel(*range.GetRange(i), attribute);
        if (!label.isEmpty()) {
            return label;
        }
    }
    return {};
}

// The tokens of one line, scanned from the highlighter's current state; checks that
// they cover the line without gaps.
inline QString ScanLine(TCodeRuleHighlighter& highlighter, const QString& line, int lineNumber = 0)
{
    QStringList tokens;
    int position = 0;
    for (highlighter.SetLine(line, lineNumber); !highlighter.GetEol(); highlighter.Next()) {
        EXPECT_EQ(highlighter.GetTokenPos(), position) << line.toStdString();
        position += static_cast<int>(highlighter.GetToken().size());
        tokens << highlighter.GetToken().toString().replace(QLatin1Char(' '), QLatin1Char('_')) + ":" +
                      AttributeLabel(*highlighter.RootRange(), highlighter.GetTokenAttribute());
    }
    EXPECT_EQ(position, line.size()) << line.toStdString();
    return tokens.join(QLatin1Char(' '));
}

// Lines scanned in order, each from the state the one before it left.
inline QStringList ScanLines(TCodeRuleHighlighter& highlighter, const QStringList& lines)
{
    QStringList result;
    highlighter.ResetRange();
    for (int i = 0; i < lines.size(); ++i) {
        result << ScanLine(highlighter, lines[i], i);
    }
    return result;
}
