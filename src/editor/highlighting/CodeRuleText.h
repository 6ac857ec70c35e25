#pragma once
// The tagged rule text of the rule-driven highlighter, shared by its writer and reader:
// the tag names in lookup order and the escapes of values.

#include <QString>
#include <QStringView>

// In alphabetical order, which is also the order of lookup.
enum TCodeRuleTag : int {
    rtNone = -1,
    rtAnyTerm,
    rtAttri,
    rtAuthor,
    rtBack,
    rtCaseSensitive,
    rtCloseOnEol,
    rtCloseOnTerm,
    rtCloseSymbol,
    rtCompany,
    rtCopyright,
    rtDate,
    rtDef,
    rtDelimiterChars,
    rtEmail,
    rtFileTypeName,
    rtFore,
    rtGeneral,
    rtH,
    rtHistory,
    rtInfo,
    rtKW,
    rtLayout,
    rtName,
    rtNum,
    rtOpenSymbol,
    rtRange,
    rtRemark,
    rtRevision,
    rtS,
    rtSample,
    rtStyle,
    rtType,
    rtUniHighlighter,
    rtVersion,
    rtW,
    rtWeb,
    rtTagCount
};

const char* RuleTagName(TCodeRuleTag tag);
// Ignoring case; rtNone for a name outside the list.
TCodeRuleTag FindRuleTag(QStringView name);

// & < " > become &amp; &lt; &qt; &gt;.
QString EscapeRuleValue(QStringView text);
// Exactly those four lower-case forms; any other & stands for itself.
QString UnescapeRuleValue(QStringView text);
