#include "EditorPageSettings.h"
#include "EditorScriptSteps.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// One editing step from a caret (and options) to the text, caret and undo records it
// leaves. Records read "reason start-end 'text' mode", a line break in a text as \n.
struct TEditCase {
    const char* name;
    const char* lines;
    TTextPoint caret;
    std::function<void(TEditorSession&)> act;
    const char* text;
    const char* state;
    const char* records;
};

void PrintTo(const TEditCase& c, std::ostream* os) { *os << c.name; }

class EditingCommands : public testing::TestWithParam<TEditCase> {};

TEST_P(EditingCommands, LeaveTextCaretAndRecords)
{
    const TEditCase& c = GetParam();
    TEditorSession s(LinesOf(c.lines));
    s.editor.SetCaretXY(c.caret);
    c.act(s);
    EXPECT_EQ(s.Text(), QString::fromUtf8(c.text));
    EXPECT_EQ(s.State(), c.state);
    EXPECT_EQ(s.UndoRecords(), c.records);
}

auto Command(TCodeEditorCommand command)
{
    return [command](TEditorSession& s) { s.editor.DispatchCommand(command, QChar(), {}); };
}
// The options without some of the defaults, then the keys.
auto Without(std::initializer_list<TCodeEditorOption> off, int tabWidth, std::function<void(TEditorSession&)> then)
{
    std::vector<TCodeEditorOption> list(off.begin(), off.end());
    return [list, tabWidth, then](TEditorSession& s) {
        TCodeEditorOptions options = s.editor.Options();
        for (TCodeEditorOption o : list) {
            options = options.Without(o);
        }
        s.editor.SetOptions(options);
        s.editor.SetTabWidth(tabWidth);
        then(s);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Defaults, EditingCommands,
    testing::Values(
        TEditCase{"BackspaceAtTheStartChangesNothing", "abc", {1, 1}, Keys({"BkSp"}), "abc", "caret 1,1", ""},
        TEditCase{"BackspaceAtColumnOneJoins", "one|two|three", {1, 3}, Keys({"BkSp"}), "one|twothree", "caret 4,2",
                  "8 4,2-1,3 '\\n' normal"},
        TEditCase{"BackspaceTakesASurrogatePairWhole", "a\xF0\x9F\x98\x80" "b", {4, 1}, Keys({"BkSp"}), "ab",
                  "caret 2,1", "8 2,1-4,1 '\xF0\x9F\x98\x80' normal"},
        TEditCase{"BackspaceInIndentGoesBackToTheLineAbove", "  x|      y", {7, 2}, Keys({"BkSp"}), "  x|  y",
                  "caret 3,2", "8 3,2-7,2 '    ' normal"},
        TEditCase{"BackspaceInIndentGoesBackToTheTabStop", "      y", {7, 1},
                  Without({eoSmartTabDelete}, 4, Keys({"BkSp"})), "    y", "caret 5,1", "8 5,1-7,1 '  ' normal"},
        TEditCase{"BackspaceAfterATabStopsAtTheTab", "\t  y", {4, 1}, Without({eoSmartTabDelete}, 4, Keys({"BkSp"})),
                  "\ty", "caret 2,1", "8 2,1-4,1 '  ' normal"},
        TEditCase{"BackspaceOverBlanksAndATabTakesTheWholeIndent", "  \ty", {4, 1},
                  Without({eoSmartTabDelete}, 4, Keys({"BkSp"})), "y", "caret 1,1", "8 1,1-4,1 '  \t' normal"},
        TEditCase{"BackspaceWithoutAutoIndentTakesOneBlank", "    y", {5, 1}, Without({eoAutoIndent}, 8, Keys({"BkSp"})),
                  "   y", "caret 4,1", "8 4,1-5,1 ' ' normal"},
        TEditCase{"BackspacePastTheEndJumpsToTheEnd", "ab", {7, 1}, Keys({"BkSp"}), "ab", "caret 3,1",
                  "8 3,1-7,1 '' normal"},
        TEditCase{"BackspacePastTheEndOfAnEmptyLineGoesToTheIndentAbove", "   x|", {9, 2}, Keys({"BkSp"}), "   x|",
                  "caret 4,2", "8 4,2-9,2 '' normal"},
        TEditCase{"DeleteAtTheEndOfTheLastLineDoesNothing", "ab|cd", {3, 2}, Keys({"Del"}), "ab|cd", "caret 3,2", ""},
        TEditCase{"DeletePastTheEndPadsBeforeJoining", "ab|cd", {5, 1},
                  Without({eoTrimTrailingSpaces}, 8, Keys({"Del"})), "ab  cd", "caret 5,1", "9 5,1-1,2 '\\n' normal"},
        TEditCase{"DeleteTakesASurrogatePairWhole", "a\xF0\x9F\x98\x80" "b", {2, 1}, Keys({"Del"}), "ab", "caret 2,1",
                  "9 2,1-4,1 '\xF0\x9F\x98\x80' normal"},
        TEditCase{"DeleteWord", "foo bar baz", {5, 1}, Keys({"Ctrl+T"}), "foo baz", "caret 5,1",
                  "9 5,1-9,1 'bar ' normal"},
        TEditCase{"DeleteToLineEnd", "foo bar", {4, 1}, Keys({"Shift+Ctrl+Y"}), "foo", "caret 4,1",
                  "9 4,1-8,1 ' bar' normal"},
        TEditCase{"DeleteLastWordTrimsTheBlankLeftBehind", "foo bar", {8, 1}, Keys({"Ctrl+BkSp"}), "foo", "caret 5,1",
                  "8 5,1-8,1 'bar' normal"},
        TEditCase{"DeleteToLineStart", "foo bar", {5, 1}, Command(ecDeleteBOL), "bar", "caret 1,1",
                  "8 1,1-5,1 'foo ' normal"},
        TEditCase{"DeleteTheOnlyLineEmptiesIt", "abc", {2, 1}, Keys({"Ctrl+Y"}), "", "caret 1,1",
                  "3 1,1-4,1 'abc' normal"},
        TEditCase{"DeleteAMiddleLine", "ab|cd|ef", {2, 2}, Keys({"Ctrl+Y"}), "ab|ef", "caret 1,2",
                  "3 1,2-1,3 'cd\\n' normal"},
        TEditCase{"DeleteTheLastLineTakesTheBreakBeforeIt", "ab|cd", {2, 2}, Keys({"Ctrl+Y"}), "ab", "caret 1,1",
                  "3 3,1-3,2 '\\ncd' normal"},
        TEditCase{"DeleteLineOnOneEmptyLineDoesNothing", "", {1, 1}, Keys({"Ctrl+Y"}), "", "caret 1,1", ""},
        TEditCase{"LineBreakIndentsWithTabs", "        abcdef", {11, 1},
                  Without({eoTabsToSpaces}, 4, Keys({"Enter"})), "        ab|\t\tcdef", "caret 3,2",
                  "5 11,1-11,1 'cdef' normal"},
        TEditCase{"LineBreakIndentsWithBlanks", "        abcdef", {11, 1}, Without({}, 4, Keys({"Enter"})),
                  "        ab|        cdef", "caret 9,2", "5 11,1-11,1 'cdef' normal"},
        TEditCase{"LineBreakAtColumnOneOpensALineAbove", "abc", {1, 1}, Keys({"Enter"}), "|abc", "caret 1,2",
                  "5 1,1-1,1 'abc' normal"},
        TEditCase{"LineBreakPastTheEndCopiesTheIndent", "  abc", {9, 1},
                  Without({eoTrimTrailingSpaces}, 8, Keys({"Enter"})), "  abc|  ", "caret 3,2", "5 9,1-9,1 '' normal"},
        TEditCase{"LineBreakPastTheEndTrimsTheCopiedIndent", "  abc", {9, 1}, Keys({"Enter"}), "  abc|", "caret 3,2",
                  "5 9,1-9,1 '' normal"},
        TEditCase{"LineBreakOnAnEmptyLineTakesTheIndentAbove", "    x|", {1, 2}, Keys({"Enter"}), "    x||",
                  "caret 5,3", "5 1,2-1,2 '' normal"},
        TEditCase{"InsertLineLeavesTheCaret", "abcd", {3, 1}, Keys({"Ctrl+N"}), "ab|cd", "caret 3,1",
                  "5 3,1-3,1 'cd' normal"},
        TEditCase{"LineBreakReplacesASelection", "abcdef", {4, 1},
                  [](TEditorSession& s) {
                      s.Select({2, 1}, {4, 1});
                      s.Press("Enter");
                  },
                  "a|def", "caret 1,2", "4 2,1-4,1 'bc' normal; 5 2,1-2,1 'def' normal"},
        TEditCase{"TypingPastTheEndFillsWithBlanks", "abc", {10, 1}, Typed("x"), "abc      x", "caret 11,1",
                  "21 10,1-4,1 '' normal; 0 10,1-11,1 '' normal"},
        TEditCase{"TypingReplacesTheSelection", "abcdef", {4, 1},
                  [](TEditorSession& s) {
                      s.Select({2, 1}, {4, 1});
                      s.Type("X");
                  },
                  "aXdef", "caret 3,1", "4 2,1-4,1 'bc' normal; 0 2,1-3,1 '' normal"},
        TEditCase{"TypingOverABackwardsSelectionInLineMode", "ab|cd|ef", {2, 2},
                  [](TEditorSession& s) {
                      s.Select({2, 2}, {1, 1}, smLine);
                      s.Type("X");
                  },
                  "Xef", "caret 2,1", "4 1,1-2,2 'ab\\ncd\\n' line; 0 1,1-2,1 '' normal"},
        TEditCase{"OverwriteRecordsWhatWasReplaced", "abc", {2, 1},
                  [](TEditorSession& s) {
                      s.editor.SetInsertMode(false);
                      s.Type("XY");
                  },
                  "aXY", "caret 4,1", "0 2,1-3,1 'b' normal; 0 3,1-4,1 'c' normal"},
        TEditCase{"OverwriteOfASurrogatePairLeavesABlank", "a\xF0\x9F\x98\x80" "b", {2, 1},
                  [](TEditorSession& s) {
                      s.editor.SetInsertMode(false);
                      s.Type("X");
                  },
                  "aX b", "caret 3,1", "0 2,1-4,1 '\xF0\x9F\x98\x80' normal"},
        TEditCase{"ControlCharactersAreNotTyped", "ab", {2, 1},
                  [](TEditorSession& s) {
                      for (char16_t c : {u'\x1b', u'\x7f', u'\x01'}) {
                          s.editor.DispatchCommand(ecChar, QChar(c), {});
                      }
                  },
                  "ab", "caret 2,1", ""},
        TEditCase{"InputMethodText", "abc", {2, 1},
                  [](TEditorSession& s) { s.editor.ImeResult(QStringLiteral("xyz")); }, "axyzbc", "caret 5,1",
                  "0 2,1-5,1 '' normal"},
        TEditCase{"InputMethodTextOverwrites", "abcdef", {2, 1},
                  [](TEditorSession& s) {
                      s.editor.SetInsertMode(false);
                      s.editor.ImeResult(QStringLiteral("xyz"));
                  },
                  "axyzef", "caret 5,1", "0 2,1-5,1 'bcd' normal"},
        TEditCase{"InputMethodTextPastTheEnd", "ab", {5, 1},
                  Without({eoTrimTrailingSpaces}, 8,
                          [](TEditorSession& s) { s.editor.ImeResult(QStringLiteral("xy")); }),
                  "ab  xy", "caret 7,1", "0 5,1-7,1 '' normal"}),
    [](const testing::TestParamInfo<TEditCase>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    PageSettings, EditingCommands,
    testing::Values(
        TEditCase{"TypingOnAnEmptyLineFillsWithBlanks", "", {4, 1},
                  [](TEditorSession& s) {
                      UsePageSettings(s.editor);
                      s.editor.SetCaretXY({4, 1});
                      s.Type("x");
                  },
                  "   x", "caret 5,1", "21 4,1-1,1 '' normal; 0 4,1-5,1 '' normal"},
        TEditCase{"TypingOnAnEmptyLineWithoutTabsToSpacesFillsWithTabs", "", {1, 1},
                  [](TEditorSession& s) {
                      UsePageSettings(s.editor);
                      s.editor.SetOptions(PageOptions.Without(eoTabsToSpaces));
                      s.editor.SetCaretXY({8, 1});
                      s.Type("x");
                  },
                  "\t  x", "caret 5,1", "21 4,1-1,1 '' normal; 0 4,1-5,1 '' normal"},
        TEditCase{"LineBreakKeepsTheIndentAsBlanks", "     M3,1,1", {12, 1},
                  [](TEditorSession& s) {
                      UsePageSettings(s.editor);
                      s.Press("Enter");
                      s.Type("J2");
                  },
                  "     M3,1,1|     J2", "caret 8,2",
                  "5 12,1-12,1 '' normal; 21 6,2-1,2 '' normal; 0 6,2-7,2 '' normal; 0 7,2-8,2 '' normal"},
        TEditCase{"BackspaceInIndentWithPageSettings", "x|          y", {11, 2},
                  [](TEditorSession& s) {
                      UsePageSettings(s.editor);
                      s.Press("BkSp");
                  },
                  "x|y", "caret 1,2", "8 1,2-11,2 '          ' normal"},
        TEditCase{"TypedBlankAtTheLineEndIsTrimmed", "ab", {3, 1},
                  [](TEditorSession& s) {
                      UsePageSettings(s.editor);
                      s.Type(" ");
                  },
                  "ab", "caret 4,1", "0 3,1-4,1 '' normal"}),
    [](const testing::TestParamInfo<TEditCase>& info) { return std::string(info.param.name); });

TEST(EditingCommandsOther, TheBlanksAndTheCharacterTypedAfterThemShareOneChangeNumber)
{
    TEditorSession s({"abc", "def"});
    s.editor.SetCaretXY({10, 1});
    s.Type("x");
    s.editor.SetCaretXY({2, 2});
    s.Type("y");
    const TCodeEditUndoList& undo = s.editor.UndoList();
    ASSERT_EQ(undo.ItemCount(), 3) << s.UndoRecords();
    EXPECT_EQ(undo.Item(0).ChangeNumber, undo.Item(1).ChangeNumber);
    EXPECT_NE(undo.Item(1).ChangeNumber, undo.Item(2).ChangeNumber);
}

TEST(EditingCommandsOther, AReadOnlyControlIgnoresEveryEditingKey)
{
    TEditorSession s({"  abc", "def"});
    s.editor.SetReadOnly(true);
    s.editor.SetCaretXY({3, 1});
    for (const char* key : {"BkSp", "Del", "Enter", "Ctrl+N", "Ctrl+Y", "Shift+Ctrl+Y", "Ctrl+T", "Ctrl+BkSp", "Tab",
                            "Shift+Tab", "Ctrl+Z", "Shift+Ctrl+Z", "Shift+Ctrl+I", "Shift+Ctrl+U"}) {
        s.Press(key);
    }
    s.Type("xy");
    s.editor.ImeResult("z");
    s.editor.DispatchCommand(ecDeleteBOL, QChar(), {});
    EXPECT_EQ(s.Text(), "  abc|def");
    EXPECT_EQ(s.UndoRecords(), "");
}

TEST(EditingCommandsOther, TypingAtTheRightEdgeScrollsByAQuarterWindow)
{
    TEditorSession s({QString(79, QLatin1Char('a'))});
    ASSERT_EQ(s.editor.CharsInWindow(), 80);
    s.editor.SetCaretXY({80, 1});
    s.Type("b");
    EXPECT_EQ(s.editor.LeftChar(), 26) << "min(25, 80 - 1) columns";
}

TEST(EditingCommandsOther, BackspaceHoldsTheTransientPaintingForItsWholeRun)
{
    TEditorSession s({"abc", "def"});
    s.editor.SetCaretXY({1, 2});
    std::vector<TTransientType> phases;
    s.editor.OnPaintTransient = [&](TObject*, TTransientType type) { phases.push_back(type); };
    s.Press("BkSp");
    EXPECT_EQ(phases, (std::vector<TTransientType>{ttBefore, ttAfter})) << "the caret moves inside";
}

TEST(EditingCommandsOther, AJoinMovesTheMarksOfTheJoinedLine)
{
    TEditorSession s({"one", "two", "three", "four"});
    s.editor.SetBookMark(1, 1, 3);
    s.editor.SetBookMark(2, 1, 4);
    s.editor.SetCaretXY({1, 3});
    s.Press("BkSp");
    EXPECT_EQ(s.editor.BookMark(1)->Line(), 2);
    s.editor.SetCaretXY({4, 2});
    s.Press("Enter");
    EXPECT_EQ(s.editor.BookMark(1)->Line(), 2) << "the head stays";
    EXPECT_EQ(s.editor.BookMark(2)->Line(), 4);
    s.editor.SetCaretXY({1, 3});
    s.Press("Enter");
    EXPECT_EQ(s.editor.BookMark(2)->Line(), 5) << "a line opened above";
}

} // namespace
