#include "editor/highlighting/CodeRuleHighlighter.h"
#include "../support/PartProgramRules.h"
#include "RuleTokens.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TCodeRange& AddNested(TCodeRange& parent, const QString& name, const QString& open, const QString& close)
{
    auto range = std::make_unique<TCodeRange>(open, close);
    range->Name = name;
    TCodeRange& added = *range;
    parent.AddRange(std::move(range));
    return added;
}

using TRules = std::function<void(TCodeRuleHighlighter&)>;

const TRules kBeginKeyword = [](TCodeRuleHighlighter& h) { AddKeywordGroup(*h.RootRange(), "KW", "begin", clRed, ""); };
const TRules kFoldedBegin = [](TCodeRuleHighlighter& h) {
    h.RootRange()->SetCaseSensitive(false);
    AddKeywordGroup(*h.RootRange(), "KW", "Begin", clRed, "");
};
TRules CommentRange(std::uint8_t termKind)
{
    return [termKind](TCodeRuleHighlighter& h) {
        AddNested(*h.RootRange(), "Comment", "<!--", "-->").OpenSymbol().TermKind = termKind;
    };
}
// "b" sorts after "BEGIN" and folds to the same first character.
const TRules kOneCharAfterLonger = [](TCodeRuleHighlighter& h) {
    h.RootRange()->SetCaseSensitive(false);
    AddKeywordGroup(*h.RootRange(), "Long", "BEGIN", clRed, "");
    AddKeywordGroup(*h.RootRange(), "Short", "b", clBlue, "");
};

TEST(CodeRuleScanner, TokensOfSingleLines)
{
    struct Case {
        TRules rules;
        QString line;
        QString tokens;
    } cases[] = {
        {kBeginKeyword, "", ":Root.Def"},
        {kBeginKeyword, "begin", "begin:KW"},
        {kBeginKeyword, "begin;", "begin:KW ;:Root.Def"},
        {kBeginKeyword, "beginx", "beginx:Root.Def"},
        {kBeginKeyword, "beg;Begin", "beg:Root.Def ;:Root.Def Begin:Root.Def"},
        {kBeginKeyword, "12ab 1.5", "12ab:Root.Def _:Root.Def 1:Root.Num .:Root.Def 5:Root.Num"},
        {kBeginKeyword, QString::fromUtf8("\xCE\xA9x+y"),
         QString::fromUtf8("\xCE\xA9x:Root.Def +:Root.Def y:Root.Def")},
        {kFoldedBegin, "BEGIN begin Begin", "BEGIN:KW _:Root.Def begin:KW _:Root.Def Begin:KW"},
        {CommentRange(tkNotSet), "<x", "<:Root.Def x:Root.Def"},
        {CommentRange(tkNotSet), "<!", "<!:Root.Def"},
        {CommentRange(tkNotSet), "<!-- a -->b",
         "<!--:Comment.Def _:Comment.Def a:Comment.Def _:Comment.Def -->:Comment.Def b:Root.Def"},
        {CommentRange(tkDelimiterTerm), "<x", "<x:Root.Def"},
        {CommentRange(tkDelimiterTerm), "<!--x", "<!--x:Root.Def"},
        {kOneCharAfterLonger, "b BEGIN B", "b:Short _:Root.Def BEGIN:Long _:Root.Def B:Short"},
    };
    for (const Case& c : cases) {
        TCodeRuleHighlighter highlighter;
        c.rules(highlighter);
        highlighter.ResetRange();
        EXPECT_EQ(ScanLine(highlighter, c.line), c.tokens) << c.line.toStdString();
    }
}

TEST(CodeRuleScanner, PartProgramLines)
{
    TCodeRuleHighlighter highlighter;
    BuildPartProgramRules(highlighter);
    struct Case {
        const char* line;
        const char* tokens;
    } cases[] = {
        {"M3,1.125,2.5,-0.25 ' cut pass",
         "M3:Moves ,:Root.Def 1:Root.Num .:Root.Def 125:Root.Num ,:Root.Def 2:Root.Num .:Root.Def 5:Root.Num "
         ",:Root.Def -:Root.Def 0:Root.Num .:Root.Def 25:Root.Num _:Root.Def ':Comment.Def _:Comment.Def "
         "cut:Comment.Def _:Comment.Def pass:Comment.Def"},
        {"&x=&x+1", "&:Variable.Def x:Variable.Def =:Root.Def &:Variable.Def x:Variable.Def +:Root.Def 1:Root.Num"},
        {"if &a then goto End",
         "if:Flow _:Root.Def &:Variable.Def a:Variable.Def _:Root.Def then:Flow _:Root.Def goto:Flow _:Root.Def "
         "End:Flow"},
        {"ms,2,1.5'speeds",
         "ms:Moves ,:Root.Def 2:Root.Num ,:Root.Def 1:Root.Num .:Root.Def 5:Root.Num ':Comment.Def "
         "speeds:Comment.Def"},
        {"MSX,1 M MZ3", "MSX:Root.Def ,:Root.Def 1:Root.Num _:Root.Def M:Root.Def _:Root.Def MZ3:Root.Def"},
        {"' &x,2", "':Comment.Def _:Comment.Def &x,2:Comment.Def"},
        {"\tJ2,1\tEND", "\t:Root.Def J2:Moves ,:Root.Def 1:Root.Num \t:Root.Def END:Flow"},
    };
    for (const Case& c : cases) {
        highlighter.ResetRange();
        EXPECT_EQ(ScanLine(highlighter, c.line), c.tokens) << c.line;
        EXPECT_EQ(highlighter.GetRange(), 0) << "a shell range never outlives its line: " << c.line;
    }
    EXPECT_TRUE(highlighter.IsKeyword("goSub"));
    EXPECT_FALSE(highlighter.IsKeyword("M4"));
}

TEST(CodeRuleScanner, RangesAcrossLines)
{
    TCodeRuleHighlighter highlighter;
    BuildPartProgramRules(highlighter);
    AddNested(*highlighter.RootRange(), "Block", "{", "}");
    EXPECT_EQ(ScanLines(highlighter, {"M3 ' cut {", "J2 {", "b", "d } e"}),
              QStringList({"M3:Moves _:Root.Def ':Comment.Def _:Comment.Def cut:Comment.Def _:Comment.Def "
                           "{:Comment.Def",
                           "J2:Moves _:Root.Def {:Block.Def", "b:Block.Def",
                           "d:Block.Def _:Block.Def }:Block.Def _:Root.Def e:Root.Def"}));
}

TEST(CodeRuleScanner, LineStatesAreRangeIndexesDepthFirst)
{
    TCodeRuleHighlighter highlighter;
    TCodeRange& root = *highlighter.RootRange();
    TCodeRange& outer = AddNested(root, "Outer", "(", ")");
    AddNested(outer, "Inner", "[", "]");
    AddNested(root, "Other", "{", "}");
    const struct {
        int start;
        const char* line;
        int end;
    } cases[] = {
        {0, "a (", 1}, {1, "[", 2}, {2, "] x", 1}, {0, "{", 3}, {3, "}", 0},
        {-1, "(", 1},  // not scanned yet: the root
        {99, "{", 3},  // names no range: the root
        {2, "(", 2},   // "(" means nothing inside Inner
    };
    for (const auto& c : cases) {
        highlighter.SetRange(c.start);
        ScanLine(highlighter, c.line);
        EXPECT_EQ(highlighter.GetRange(), c.end) << c.start << " " << c.line;
    }

    // The end of a line closes one range that ends there, and only once.
    outer.CloseOnEol = true;
    outer.GetRange(0)->CloseOnEol = true;
    root.Unprepare();
    highlighter.ResetRange();
    ScanLine(highlighter, "([");
    EXPECT_EQ(highlighter.GetRange(), 1);
    highlighter.Next();
    EXPECT_EQ(highlighter.GetRange(), 1) << "nothing more after the end of the line";

    root.DeleteRange(0); // Outer and Inner go; Other is now 1
    highlighter.SetRange(3);
    EXPECT_EQ(ScanLine(highlighter, "a"), "a:Root.Def") << "a state from before the change";
    EXPECT_EQ(highlighter.GetRange(), 0);
    highlighter.SetRange(1);
    EXPECT_EQ(ScanLine(highlighter, "a}"), "a:Other.Def }:Other.Def");
}

TEST(CodeRuleScanner, NulIsAnOrdinaryDelimiterAndHighCodesAreWordCharacters)
{
    TCodeRuleHighlighter highlighter;
    AddKeywordGroup(*highlighter.RootRange(), "Greek", QString::fromUtf8("\xCE\xA9mega"), clRed, "");
    QString line = QStringLiteral("a");
    line += QChar(0);
    line += QString::fromUtf8("b \xCE\xA9mega");
    QString expected = QStringLiteral("a:Root.Def ");
    expected += QChar(0);
    expected += QString::fromUtf8(":Root.Def b:Root.Def _:Root.Def \xCE\xA9mega:Greek");
    EXPECT_EQ(ScanLine(highlighter, line), expected);

    const TCodeCharSet words = highlighter.GetWordChars();
    EXPECT_TRUE(words.Contains(u'a') && words.Contains(u'\u03A9') && words.Contains(u'_'));
    EXPECT_FALSE(words.Contains(u' ') || words.Contains(u',') || words.Contains(u'\0'));
    EXPECT_EQ(highlighter.GetDefaultAttribute(4), &highlighter.RootRange()->DefaultAttri());
    EXPECT_EQ(highlighter.GetDefaultAttribute(5), nullptr);
    EXPECT_EQ(highlighter.GetLanguageName(), "UniLenguage");
}

} // namespace
