#include "../EditorScriptSteps.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records read "reason start-end 'text' mode", a line break in a text as \n.
class EditingCommands : public testing::TestWithParam<TScriptCase> {};

TEST_P(EditingCommands, LeaveTextCaretAndRecords)
{
    const TScriptCase& c = GetParam();
    TEditorSession s(LinesOf(c.lines));
    RunScript(s, c.script);
    EXPECT_EQ(s.Text(), QString::fromUtf8(c.text));
    EXPECT_EQ(s.State(), c.state);
    EXPECT_EQ(s.UndoRecords(), c.records);
}

#define PAIR "\xF0\x9F\x98\x80"

INSTANTIATE_TEST_SUITE_P(
    Defaults, EditingCommands,
    testing::Values(
        TScriptCase{"BackspaceAtTheStartChangesNothing", "abc", "BkSp", "abc", "caret 1,1", ""},
        TScriptCase{"BackspaceAtColumnOneJoins", "one|two|three", "@1,3 BkSp", "one|twothree", "caret 4,2",
                    "8 4,2-1,3 '\\n' normal"},
        TScriptCase{"BackspaceTakesASurrogatePair", "a" PAIR "b", "@4,1 BkSp", "ab", "caret 2,1",
                    "8 2,1-4,1 '" PAIR "' normal"},
        TScriptCase{"BackspaceInIndentGoesToTheIndentAbove", "  x|      y", "@7,2 BkSp", "  x|  y", "caret 3,2",
                    "8 3,2-7,2 '    ' normal"},
        TScriptCase{"BackspaceInIndentGoesToTheTabStop", "      y", "-SmartTabDelete tab=4 @7,1 BkSp", "    y",
                    "caret 5,1", "8 5,1-7,1 '  ' normal"},
        TScriptCase{"BackspaceOverBlanksAndATab", "  \ty", "-SmartTabDelete tab=4 @4,1 BkSp", "y", "caret 1,1",
                    "8 1,1-4,1 '  \t' normal"},
        TScriptCase{"BackspacePastTheEnd", "ab", "@7,1 BkSp", "ab", "caret 3,1", "8 3,1-7,1 '' normal"},
        TScriptCase{"BackspaceRecordsWhereTheTextStood", "ab c", "-ScrollPastEol @5,1 BkSp", "ab", "caret 3,1",
                    "8 4,1-5,1 'c' normal"},
        TScriptCase{"DeleteAtTheEndOfTheTextDoesNothing", "ab|cd", "@3,2 Del", "ab|cd", "caret 3,2", ""},
        TScriptCase{"DeletePastTheEndPadsBeforeJoining", "ab|cd", "-TrimTrailingSpaces @5,1 Del", "ab  cd",
                    "caret 5,1", "9 5,1-1,2 '\\n' normal"},
        TScriptCase{"DeleteWord", "foo bar baz", "@5,1 Ctrl+T", "foo baz", "caret 5,1", "9 5,1-9,1 'bar ' normal"},
        TScriptCase{"DeleteToLineStart", "foo bar", "@5,1 cmd=505", "bar", "caret 1,1", "8 1,1-5,1 'foo ' normal"},
        TScriptCase{"DeleteTheOnlyLine", "abc", "@2,1 Ctrl+Y", "", "caret 1,1", "3 1,1-4,1 'abc' normal"},
        TScriptCase{"DeleteAMiddleLine", "ab|cd|ef", "@2,2 Ctrl+Y", "ab|ef", "caret 1,2", "3 1,2-1,3 'cd\\n' normal"},
        TScriptCase{"DeleteTheLastLine", "ab|cd", "@2,2 Ctrl+Y", "ab", "caret 1,1", "3 3,1-3,2 '\\ncd' normal"},
        TScriptCase{"DeleteLineOnOneEmptyLine", "", "Ctrl+Y", "", "caret 1,1", ""},
        TScriptCase{"LineBreakIndentsWithTabs", "        abcdef", "-TabsToSpaces tab=4 @11,1 Enter",
                    "        ab|\t\tcdef", "caret 3,2", "5 11,1-11,1 'cdef' normal"},
        TScriptCase{"LineBreakAtColumnOne", "abc", "Enter", "|abc", "caret 1,2", "5 1,1-1,1 'abc' normal"},
        TScriptCase{"LineBreakPastTheEndTrimsTheIndent", "  abc", "@9,1 Enter", "  abc|", "caret 3,2",
                    "5 9,1-9,1 '' normal"},
        TScriptCase{"LineBreakOnAnEmptyLine", "    x|", "@1,2 Enter", "    x||", "caret 5,3", "5 1,2-1,2 '' normal"},
        TScriptCase{"InsertLineLeavesTheCaret", "abcd", "@3,1 Ctrl+N", "ab|cd", "caret 3,1",
                    "5 3,1-3,1 'cd' normal"},
        TScriptCase{"LineBreakReplacesASelection", "abcdef", "@4,1 <2,1 Enter", "a|def", "caret 1,2",
                    "4 2,1-4,1 'bc' normal; 5 2,1-2,1 'def' normal"},
        TScriptCase{"TypingPastTheEndFillsWithBlanks", "abc", "@10,1 'x", "abc      x", "caret 11,1",
                    "21 10,1-4,1 '' normal; 0 10,1-11,1 '' normal"},
        TScriptCase{"TypingReplacesTheSelection", "abcdef", "@4,1 <2,1 'X", "aXdef", "caret 3,1",
                    "4 2,1-4,1 'bc' normal; 0 2,1-3,1 '' normal"},
        TScriptCase{"TypingOverABackwardsColumn", "abcd|efgh", "@2,2 <|4,1 'X", "aXd|eh", "caret 3,1",
                    "4 4,1-2,2 'bc\\nfg' column; 0 2,1-3,1 '' normal"},
        TScriptCase{"Overwrite", "abc", "@2,1 overwrite 'XY", "aXY", "caret 4,1",
                    "0 2,1-3,1 'b' normal; 0 3,1-4,1 'c' normal"},
        TScriptCase{"InputMethodOverwrite", "abcdef", "@2,1 overwrite ime=xyz", "axyzef", "caret 5,1",
                    "0 2,1-5,1 'bcd' normal"},
        TScriptCase{"InputMethodPastTheEndFillsUpToTheCaret", "ab", "-TrimTrailingSpaces @5,1 ime=xy", "ab  xy",
                    "caret 7,1", "0 5,1-7,1 '' normal"}),
    ScriptCaseName);

INSTANTIATE_TEST_SUITE_P(
    PageSettings, EditingCommands,
    testing::Values(
        TScriptCase{"TypingOnAnEmptyLine", "", "page @4,1 'x", "   x", "caret 5,1",
                    "21 4,1-1,1 '' normal; 0 4,1-5,1 '' normal"},
        TScriptCase{"LineBreakThenTyping", "     M3,1,1", "page @12,1 Enter 'J2", "     M3,1,1|     J2", "caret 8,2",
                    "5 12,1-12,1 '' normal; 21 6,2-1,2 '' normal; 0 6,2-7,2 '' normal; 0 7,2-8,2 '' normal"},
        TScriptCase{"BackspaceInIndent", "x|          y", "page @11,2 BkSp", "x|y", "caret 1,2",
                    "8 1,2-11,2 '          ' normal"}),
    ScriptCaseName);

TEST(EditingCommandsOther, TheFillAndTheCharacterShareOneChangeNumber)
{
    TEditorSession s({"abc", "def"});
    RunScript(s, "@10,1 'x @2,2 'y");
    const TCodeEditUndoList& undo = s.editor.UndoList();
    ASSERT_EQ(undo.ItemCount(), 3) << s.UndoRecords();
    EXPECT_EQ(undo.Item(0).ChangeNumber, undo.Item(1).ChangeNumber);
    EXPECT_NE(undo.Item(1).ChangeNumber, undo.Item(2).ChangeNumber);
}

TEST(EditingCommandsOther, AReadOnlyControlIgnoresEveryEditingKey)
{
    TEditorSession s({"  abc", "def"});
    s.editor.SetReadOnly(true);
    RunScript(s, "@3,1 BkSp Del Enter Ctrl+N Ctrl+Y Shift+Ctrl+Y Ctrl+T Ctrl+BkSp Tab Shift+Tab Ctrl+Z "
                 "Shift+Ctrl+Z Shift+Ctrl+I Shift+Ctrl+U 'xy ime=z cmd=505");
    EXPECT_EQ(s.Text(), "  abc|def");
    EXPECT_EQ(s.UndoRecords(), "");
}

TEST(EditingCommandsOther, TypingAtTheRightEdgeScrollsByAQuarterWindow)
{
    TEditorSession s({QString(79, QLatin1Char('a'))});
    RunScript(s, "@80,1 'b");
    EXPECT_EQ(s.editor.LeftChar(), 26) << "min(25, 80 - 1) columns";
}

TEST(EditingCommandsOther, BackspaceHoldsTheTransientPaintingForItsWholeRun)
{
    TEditorSession s({"abc", "def"});
    std::vector<TTransientType> phases;
    s.editor.OnPaintTransient = [&](TObject*, TTransientType type) { phases.push_back(type); };
    RunScript(s, "@1,2");
    phases.clear();
    s.Press("BkSp");
    EXPECT_EQ(phases, (std::vector<TTransientType>{ttBefore, ttAfter})) << "the caret moves inside";
}

} // namespace
