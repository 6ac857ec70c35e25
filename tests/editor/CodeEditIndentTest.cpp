#include "EditorPageSettings.h"
#include "EditorSession.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Tab, Shift+Tab, Home and the block indentation under the page settings (tab width 5,
// tabs to spaces, smart tabs, tab indent) unless a case says otherwise.
struct TIndentCase {
    const char* name;
    const char* lines;
    TTextPoint caret;
    TTextPoint anchor; // {0, 0}: no selection
    TCodeEditorOptions options;
    const char* keys;
    const char* text;
    const char* state;
    const char* records;
};

void PrintTo(const TIndentCase& c, std::ostream* os) { *os << c.name; }

class IndentKeys : public testing::TestWithParam<TIndentCase> {};

TEST_P(IndentKeys, LeaveTextSelectionAndRecords)
{
    const TIndentCase& c = GetParam();
    TEditorSession s(LinesOf(c.lines));
    UsePageSettings(s.editor);
    s.editor.SetOptions(c.options);
    s.editor.SetCaretXY(c.caret);
    if (c.anchor.y != 0) {
        s.Select(c.anchor, c.caret);
    }
    for (const QString& key : QString::fromLatin1(c.keys).split(QLatin1Char(' '))) {
        s.Press(key.toStdString());
    }
    EXPECT_EQ(s.Text(), QString::fromUtf8(c.text));
    EXPECT_EQ(s.State(), c.state);
    EXPECT_EQ(s.UndoRecords(), c.records);
}

constexpr TCodeEditorOptions kWithTabs = PageOptions.Without(eoTabsToSpaces);
constexpr TCodeEditorOptions kPlain = PageOptions.Without(eoSmartTabs);

INSTANTIATE_TEST_SUITE_P(
    Page, IndentKeys,
    testing::Values(
        TIndentCase{"TabGoesToTheNextTabStop", "abcdefghij", {3, 1}, {}, PageOptions, "Tab", "ab   cdefghij",
                    "caret 6,1", "0 3,1-6,1 '' normal"},
        TIndentCase{"TabOnATabStopTakesAWholeWidth", "abcdefghij", {6, 1}, {}, PageOptions, "Tab",
                    "abcde     fghij", "caret 11,1", "0 6,1-11,1 '' normal"},
        TIndentCase{"SmartTabGoesToTheNextWordAbove", "ab    xyz|cdef", {3, 2}, {}, PageOptions, "Tab",
                    "ab    xyz|cd    ef", "caret 7,2", "0 3,2-7,2 '' normal"},
        TIndentCase{"SmartTabSkipsLinesTooShort", "ab      x|a|cdef", {3, 3}, {}, PageOptions, "Tab",
                    "ab      x|a|cd      ef", "caret 9,3", "0 3,3-9,3 '' normal"},
        TIndentCase{"SmartTabWithNoLongLineUsesTheTabStop", "a|cdef", {3, 2}, {}, PageOptions, "Tab",
                    "a|cd   ef", "caret 6,2", "0 3,2-6,2 '' normal"},
        TIndentCase{"SmartTabsWithoutTabsToSpacesMixTabsAndBlanks", "ab          xyz|cdef", {3, 2}, {}, kWithTabs,
                    "Tab", "ab          xyz|cd\t\t  ef", "caret 7,2", "0 3,2-7,2 '' normal"},
        TIndentCase{"PlainTabWithoutTabsToSpacesIsOneTab", "cdef", {3, 1}, {}, kWithTabs.Without(eoSmartTabs), "Tab",
                    "cd\tef", "caret 4,1", "0 3,1-4,1 '' normal"},
        TIndentCase{"TabReplacesASelectionInOneLine", "abcdef", {4, 1}, {2, 1}, PageOptions, "Tab", "a  def",
                    "caret 4,1", "4 2,1-4,1 'bc' normal; 0 2,1-4,1 '' normal"},
        TIndentCase{"TabIndentsTwoWholeLinesAndKeepsThemSelected", "ab|cd|ef", {3, 2}, {1, 1}, PageOptions, "Tab",
                    "     ab|     cd|ef", "caret 8,2 sel 1,1-8,2 normal",
                    "6 1,1-3,2 '' column; 1 1,1-6,1 '' column; 1 1,2-6,2 '' column; 6 6,1-8,2 '' column"},
        TIndentCase{"ShiftTabUnindentsThemAgain", "     ab|     cd|ef", {8, 2}, {1, 1}, PageOptions, "Shift+Tab",
                    "ab|cd|ef", "caret 3,2 sel 1,1-3,2 normal", "7 1,1-8,2 '     \\n     ' column"},
        TIndentCase{"AnEndAtColumnOneLeavesItsLine", "a|b|c", {1, 3}, {1, 1}, PageOptions, "Tab",
                    "     a|     b|c", "caret 1,3 sel 6,1-1,3 normal",
                    "6 1,1-1,3 '' column; 1 1,1-6,1 '' column; 1 1,2-6,2 '' column; 6 6,1-1,3 '' column"},
        TIndentCase{"UnindentSkipsALastLineSelectedToColumnOne", "     a|     b|     c", {1, 3}, {6, 1},
                    PageOptions, "Shift+Tab", "a|b|     c", "caret 1,3 sel 1,1-1,3 normal",
                    "7 6,1-1,3 '     \\n     ' column"},
        TIndentCase{"UnindentTakesALeadingTabOnly", "\t  x|\t y", {4, 2}, {1, 1}, PageOptions, "Shift+Tab",
                    "  x| y", "caret 3,2 sel 1,1-3,2 normal", "7 1,1-4,2 '\t\\n\t' column"},
        TIndentCase{"UnindentTakesBlanksUpToATab", "  \tx|       y", {3, 2}, {1, 1}, PageOptions, "Shift+Tab",
                    "x|  y", "caret 1,2 sel 1,1-1,2 normal", "7 1,1-3,2 '  \t\\n     ' column"},
        TIndentCase{"BlockIndentWithTabsMovesTheCaretOneColumn", "ab|cd", {2, 2}, {1, 1}, kWithTabs,
                    "Shift+Ctrl+I", "\tab|\tcd", "caret 3,2 sel 2,1-3,2 normal",
                    "6 1,1-2,2 '' column; 1 1,1-2,1 '' column; 1 1,2-2,2 '' column; 6 2,1-3,2 '' column"},
        TIndentCase{"ShiftTabGoesBackToTheWordAbove", "    abc   def|          x", {8, 2}, {}, PageOptions,
                    "Shift+Tab", "    abc   def|       x", "caret 5,2", "8 5,2-8,2 '   ' normal"},
        TIndentCase{"ShiftTabGoesBackToThePreviousTabStop", "        x", {9, 1}, {}, PageOptions, "Shift+Tab",
                    "     x", "caret 6,1", "8 6,1-9,1 '   ' normal"},
        TIndentCase{"ShiftTabStopsAtText", "ab  x", {5, 1}, {}, kPlain, "Shift+Tab", "abx", "caret 3,1",
                    "8 3,1-5,1 '  ' normal"},
        TIndentCase{"ShiftTabAfterATabRemovesIt", "\tx", {2, 1}, {}, kPlain, "Shift+Tab", "x", "caret 1,1",
                    "8 1,1-2,1 '\t' normal"},
        TIndentCase{"ShiftTabWithNothingToTakeDoesNothing", "abx", {3, 1}, {}, kPlain, "Shift+Tab", "abx",
                    "caret 3,1", ""}),
    [](const testing::TestParamInfo<TIndentCase>& info) { return std::string(info.param.name); });

TEST(HomeKey, GoesToColumnOneOrTogglesWithTheFirstCharacter)
{
    struct TCase {
        bool enhanced;
        int from;
        int to;
    };
    // "   \tabc": the first character that is no blank or tab stands in column 5.
    for (const TCase& c : {TCase{false, 7, 1}, TCase{false, 3, 1}, TCase{true, 7, 5}, TCase{true, 5, 1},
                           TCase{true, 3, 1}, TCase{true, 1, 5}}) {
        TEditorSession s({"   \tabc"});
        s.editor.SetOptions(s.editor.Options().Set(eoEnhanceHomeKey, c.enhanced));
        s.editor.SetCaretXY({c.from, 1});
        s.Press("Home");
        EXPECT_EQ(s.editor.CaretX(), c.to) << c.enhanced << " from " << c.from;
    }
    TEditorSession s({"  abc"});
    s.editor.SetCaretXY({5, 1});
    s.Press("Shift+Home");
    EXPECT_EQ(s.State(), "caret 1,1 sel 5,1-1,1 normal");
}

TEST(HomeKey, ReadOnlyKeepsTabAndIndentOut)
{
    TEditorSession s({"ab", "cd"});
    UsePageSettings(s.editor);
    s.editor.SetReadOnly(true);
    s.Select({1, 1}, {3, 2});
    s.Press({"Tab", "Shift+Ctrl+I", "Shift+Tab", "Shift+Ctrl+U"});
    EXPECT_EQ(s.Text(), "ab|cd");
}

} // namespace
