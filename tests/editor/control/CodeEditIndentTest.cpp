#include "../EditorScriptSteps.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Tab, Shift+Tab and the block indentation under the page settings: tab width 5, tabs
// to spaces, smart tabs and tab indent, unless a case turns one off.
class IndentKeys : public testing::TestWithParam<TScriptCase> {};

TEST_P(IndentKeys, LeaveTextSelectionAndRecords)
{
    const TScriptCase& c = GetParam();
    TEditorSession s(LinesOf(c.lines));
    UsePageSettings(s.editor);
    RunScript(s, c.script);
    EXPECT_EQ(s.Text(), QString::fromUtf8(c.text));
    EXPECT_EQ(s.State(), c.state);
    EXPECT_EQ(s.UndoRecords(), c.records);
}

INSTANTIATE_TEST_SUITE_P(
    Page, IndentKeys,
    testing::Values(
        TScriptCase{"TabGoesToTheNextTabStop", "abcdefghij", "@3,1 Tab", "ab   cdefghij", "caret 6,1",
                    "0 3,1-6,1 '' normal"},
        TScriptCase{"SmartTabGoesToTheNextWordAbove", "ab    xyz|cdef", "@3,2 Tab", "ab    xyz|cd    ef", "caret 7,2",
                    "0 3,2-7,2 '' normal"},
        TScriptCase{"SmartTabSkipsLinesTooShort", "ab      x|a|cdef", "@3,3 Tab", "ab      x|a|cd      ef",
                    "caret 9,3", "0 3,3-9,3 '' normal"},
        TScriptCase{"SmartTabWithoutALongLineUsesTheTabStop", "a|cdef", "@3,2 Tab", "a|cd   ef", "caret 6,2",
                    "0 3,2-6,2 '' normal"},
        TScriptCase{"SmartTabsWithTabsMixTabsAndBlanks", "ab          xyz|cdef", "-TabsToSpaces @3,2 Tab",
                    "ab          xyz|cd\t\t  ef", "caret 7,2", "0 3,2-7,2 '' normal"},
        TScriptCase{"TabReplacesASelectionInALine", "abcdef", "@4,1 <2,1 Tab", "a  def", "caret 4,1",
                    "4 2,1-4,1 'bc' normal; 0 2,1-4,1 '' normal"},
        TScriptCase{"TabIndentsTwoWholeLinesAndKeepsThemSelected", "ab|cd|ef", "@3,2 <1,1 Tab", "     ab|     cd|ef",
                    "caret 8,2 sel 1,1-8,2 normal",
                    "6 1,1-3,2 '' column; 1 1,1-6,1 '' column; 1 1,2-6,2 '' column; 6 6,1-8,2 '' column"},
        TScriptCase{"ShiftTabUnindentsThem", "     ab|     cd|ef", "@8,2 <1,1 Shift+Tab", "ab|cd|ef",
                    "caret 3,2 sel 1,1-3,2 normal", "7 1,1-8,2 '     \\n     ' column"},
        TScriptCase{"AnEndAtColumnOneLeavesItsLine", "a|b|c", "@1,3 <1,1 Tab", "     a|     b|c",
                    "caret 1,3 sel 6,1-1,3 normal",
                    "6 1,1-1,3 '' column; 1 1,1-6,1 '' column; 1 1,2-6,2 '' column; 6 6,1-1,3 '' column"},
        TScriptCase{"UnindentSkipsALastLineAtColumnOne", "     a|     b|     c", "@1,3 <6,1 Shift+Tab",
                    "a|b|     c", "caret 1,3 sel 1,1-1,3 normal", "7 6,1-1,3 '     \\n     ' column"},
        TScriptCase{"UnindentTakesALeadingTabOnly", "\t  x|\t y", "@4,2 <1,1 Shift+Tab", "  x| y",
                    "caret 3,2 sel 1,1-3,2 normal", "7 1,1-4,2 '\t\\n\t' column"},
        TScriptCase{"BlockIndentWithTabs", "ab|cd", "-TabsToSpaces @2,2 <1,1 Shift+Ctrl+I", "\tab|\tcd",
                    "caret 3,2 sel 2,1-3,2 normal",
                    "6 1,1-2,2 '' column; 1 1,1-2,1 '' column; 1 1,2-2,2 '' column; 6 2,1-3,2 '' column"},
        TScriptCase{"ShiftTabGoesBackToTheWordAbove", "    abc   def|          x", "@8,2 Shift+Tab",
                    "    abc   def|       x", "caret 5,2", "8 5,2-8,2 '   ' normal"},
        TScriptCase{"ShiftTabGoesBackToThePreviousTabStop", "        x", "@9,1 Shift+Tab", "     x", "caret 6,1",
                    "8 6,1-9,1 '   ' normal"},
        TScriptCase{"ShiftTabStopsAtText", "ab  x", "-SmartTabs @5,1 Shift+Tab", "abx", "caret 3,1",
                    "8 3,1-5,1 '  ' normal"}),
    ScriptCaseName);

TEST(HomeKey, GoesToColumnOneOrTogglesWithTheFirstCharacter)
{
    // In "   \tabc" the first character that is no blank or tab stands in column 5.
    for (const auto& [script, column] : {std::pair{"@7,1 Home", 1}, std::pair{"+EnhanceHomeKey @7,1 Home", 5},
                                         std::pair{"+EnhanceHomeKey @5,1 Home", 1},
                                         std::pair{"+EnhanceHomeKey @3,1 Home", 1},
                                         std::pair{"+EnhanceHomeKey @1,1 Home", 5}}) {
        TEditorSession s({"   \tabc"});
        RunScript(s, script);
        EXPECT_EQ(s.editor.CaretX(), column) << script;
    }
    TEditorSession s({"  abc"});
    RunScript(s, "@5,1 Shift+Home");
    EXPECT_EQ(s.State(), "caret 1,1 sel 5,1-1,1 normal");
}

} // namespace
