#include "EditorPageSettings.h"
#include "EditorScriptSteps.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

void UndoAll(TCodeEdit& editor)
{
    for (int guard = 0; editor.CanUndo() && guard < 1000; ++guard) {
        editor.Undo();
    }
}
void RedoAll(TCodeEdit& editor)
{
    for (int guard = 0; editor.CanRedo() && guard < 1000; ++guard) {
        editor.Redo();
    }
}

// An edit whose undo must give back the text it started from, and whose redo the text
// it made: the cases where a record that only restates the caret would not.
struct TReplayCase {
    const char* name;
    const char* lines;
    std::function<void(TEditorSession&)> act;
    const char* final;
};

void PrintTo(const TReplayCase& c, std::ostream* os) { *os << c.name; }

class UndoRedoReplay : public testing::TestWithParam<TReplayCase> {};

TEST_P(UndoRedoReplay, UndoRestoresTheTextAndRedoTheEdit)
{
    const TReplayCase& c = GetParam();
    TEditorSession s(LinesOf(c.lines));
    const QString original = s.Text();
    c.act(s);
    const QString final = QString::fromUtf8(c.final);
    ASSERT_EQ(s.Text(), final) << s.UndoRecords();
    UndoAll(s.editor);
    EXPECT_EQ(s.Text(), original) << TEditorSession::Records(s.editor.RedoList());
    RedoAll(s.editor);
    EXPECT_EQ(s.Text(), final) << s.UndoRecords();
    UndoAll(s.editor);
    EXPECT_EQ(s.Text(), original);
}

auto Page(std::function<void(TEditorSession&)> then)
{
    return [then](TEditorSession& s) {
        UsePageSettings(s.editor);
        then(s);
    };
}
auto Selected(TTextPoint anchor, TTextPoint end, TCodeSelectionMode mode, std::function<void(TEditorSession&)> then)
{
    return [=](TEditorSession& s) {
        s.editor.SetCaretXY(end);
        s.Select(anchor, end, mode);
        then(s);
    };
}
auto Paste(TCodeSelectionMode mode, const char* text)
{
    return [mode, text](TEditorSession& s) {
        s.ClipboardBlock(mode, QString::fromUtf8(text));
        s.Press("Ctrl+V");
    };
}

INSTANTIATE_TEST_SUITE_P(
    Edits, UndoRedoReplay,
    testing::Values(
        TReplayCase{"Typing", "ab|cd", At({2, 2}, Typed("xyz")), "ab|cxyzd"},
        TReplayCase{"TypingPastTheEnd", "ab", At({6, 1}, Typed("x")), "ab   x"},
        TReplayCase{"Overwrite", "abcd", At({2, 1},
                                            [](TEditorSession& s) {
                                                s.editor.SetInsertMode(false);
                                                s.Type("XY");
                                            }),
                    "aXYd"},
        TReplayCase{"InputMethodOverwrite", "abcd", At({2, 1},
                                                       [](TEditorSession& s) {
                                                           s.editor.SetInsertMode(false);
                                                           s.editor.ImeResult("XY");
                                                       }),
                    "aXYd"},
        TReplayCase{"BackspaceJoin", "ab|cd", At({1, 2}, Keys({"BkSp"})), "abcd"},
        TReplayCase{"SmartBackspaceInMixedIndent", " x|\t  y", At({4, 2}, Keys({"BkSp"})), " x| y"},
        TReplayCase{"DeleteAndDeleteWord", "foo bar baz", At({5, 1}, Keys({"Del", "Ctrl+T"})), "foo baz"},
        TReplayCase{"DeleteToLineEndAndStart", "foo bar|baz", At({4, 1}, Keys({"Shift+Ctrl+Y", "Down", "End",
                                                                               "Ctrl+BkSp"})),
                    "foo|"},
        TReplayCase{"DeleteMiddleLine", "ab|cd|ef", At({2, 2}, Keys({"Ctrl+Y"})), "ab|ef"},
        TReplayCase{"DeleteLastLine", "ab|cd|ef", At({2, 3}, Keys({"Ctrl+Y"})), "ab|cd"},
        TReplayCase{"DeleteOnlyLine", "abc", At({2, 1}, Keys({"Ctrl+Y"})), ""},
        TReplayCase{"LineBreakAfterATrimmedHead", "ab  cd", At({4, 1}, Keys({"Enter"})), "ab| cd"},
        TReplayCase{"ReplayHoldsScrollPastEolOn", "ab c", At({5, 1},
                                                            [](TEditorSession& s) {
                                                                s.editor.SetOptions(
                                                                    s.editor.Options().Without(eoScrollPastEol));
                                                                s.Press("BkSp");
                                                            }),
                    "ab"},
        TReplayCase{"LineBreakIndentedThenTyped", "    abcd", At({7, 1}, Page(Keys({"Enter", "X"}))),
                    "    ab|    xcd"},
        TReplayCase{"LineBreakPastTheEnd", "  ab", At({9, 1}, Keys({"Enter", "Enter"})), "  ab||"},
        TReplayCase{"TypingOverALineSelection", "ab|cd|ef", Selected({1, 1}, {2, 2}, smLine, Typed("X")), "Xef"},
        TReplayCase{"TypingOverAColumnSelection", "abcd|efgh", Selected({2, 1}, {4, 2}, smColumn, Typed("X")),
                    "aXd|eh"},
        TReplayCase{"CaseOfAWordAndToggleOfASelection", "foo bar", At({2, 1},
                                                                    [](TEditorSession& s) {
                                                                        s.editor.DispatchCommand(ecUpperCase,
                                                                                                 QChar(), {});
                                                                        s.Select({5, 1}, {7, 1});
                                                                        s.editor.DispatchCommand(ecToggleCase,
                                                                                                 QChar(), {});
                                                                    }),
                    "FOO BAr"},
        TReplayCase{"PasteNormal", "abc", At({2, 1}, Paste(smNormal, "x\r\ny")), "ax|ybc"},
        TReplayCase{"PasteLines", "abc|def", At({2, 2}, Paste(smLine, "x\r\ny\r\n")), "abc|x|y|def"},
        TReplayCase{"PasteColumn", "abc|def|ghi", At({2, 1}, Paste(smColumn, "X\r\nY")), "aXbc|dYef|ghi"},
        TReplayCase{"TabAndShiftTab", "ab|  cd", At({3, 2}, Page(Keys({"Tab", "Shift+Tab", "Shift+Tab"}))),
                    "ab|cd"},
        TReplayCase{"TabOverASelection", "abcdef", Page(Selected({2, 1}, {4, 1}, smNormal, Keys({"Tab"}))),
                    "a  def"},
        TReplayCase{"BlockIndentAndUnindent", "ab|cd|ef", Page(Selected({1, 1}, {1, 3}, smNormal,
                                                                         Keys({"Tab", "Tab", "Shift+Tab"}))),
                    "     ab|     cd|ef"},
        TReplayCase{"BlockUnindentWithTabs", "\tab|  \tcd|x", Selected({2, 1}, {3, 3}, smNormal,
                                                                      Keys({"Shift+Ctrl+U"})),
                    "ab|cd|x"}),
    [](const testing::TestParamInfo<TReplayCase>& info) { return std::string(info.param.name); });

TEST(CodeEditUndo, EqualReasonsMergeOnlyWithGroupUndo)
{
    for (const bool group : {false, true}) {
        TEditorSession s({""});
        s.editor.SetOptions(s.editor.Options().Set(eoGroupUndo, group));
        s.Type("ab");
        s.Press("Ctrl+Z");
        EXPECT_EQ(s.Text(), group ? "" : "a") << group;
    }
}

TEST(CodeEditUndo, TwoBlockIndentsAreUndoneOneAtATime)
{
    TEditorSession s({"a", "b", "c"});
    UsePageSettings(s.editor);
    s.Select({1, 1}, {1, 3});
    s.Press({"Tab", "Tab", "Ctrl+Z"});
    EXPECT_EQ(s.Text(), "     a|     b|c");
    EXPECT_EQ(s.State(), "caret 1,3 sel 6,1-1,3 normal") << "the selection before the second indent";
}

TEST(CodeEditUndo, APasteUnderTheSoftWrapIsUndoneInOneStep)
{
    TEditorSession s({"one two", "three"});
    s.editor.SetWordWrap(true);
    s.editor.SetCaretXY({4, 1});
    s.ClipboardBlock(smNormal, "XY");
    s.Press("Ctrl+V");
    ASSERT_EQ(s.Text(), "oneXY two|three");
    EXPECT_EQ(s.UndoRecords(), "20 4,1-4,1 '' normal; 1 4,1-6,1 '' normal; 19 6,1-6,1 '' normal");
    s.Press("Ctrl+Z");
    EXPECT_EQ(s.Text(), "one two|three");
    EXPECT_TRUE(s.editor.WordWrap());
    EXPECT_FALSE(s.editor.CanUndo());
}

TEST(CodeEditUndo, ANewEditEmptiesTheRedoListAndARedoDoesNot)
{
    TEditorSession s({""});
    s.editor.SetOptions(s.editor.Options().Without(eoGroupUndo));
    s.Type("abc");
    s.Press({"Ctrl+Z", "Ctrl+Z"});
    EXPECT_EQ(s.editor.RedoList().ItemCount(), 2);
    s.Press("Shift+Ctrl+Z");
    EXPECT_EQ(s.Text(), "ab");
    EXPECT_EQ(s.editor.RedoList().ItemCount(), 1) << "the redo's own record keeps the rest";
    s.Type("x");
    EXPECT_FALSE(s.editor.CanRedo());
}

TEST(CodeEditUndo, GroupBreaksMoveWithTheGroups)
{
    TEditorSession s({""});
    s.Type("ab");
    s.Press({"Home", "End", "C"});
    s.Press("Ctrl+Z");
    EXPECT_EQ(s.Text(), "ab");
    s.Press("Ctrl+Z");
    EXPECT_EQ(s.Text(), "");
    s.Press("Shift+Ctrl+Z");
    EXPECT_EQ(s.Text(), "ab") << "the break stops the first redo";
    s.Press("Shift+Ctrl+Z");
    EXPECT_EQ(s.Text(), "abc");
}

TEST(CodeEditUndo, BracketRecordsHoldTheirGroupTogether)
{
    TEditorSession s({""});
    s.editor.SetOptions(s.editor.Options().Without(eoGroupUndo));
    s.Type("a");
    s.editor.UndoList().AddChange(10, {}, {}, QString(), smNormal);
    s.Type("bc");
    s.editor.UndoList().AddChange(11, {}, {}, QString(), smNormal);
    s.editor.Undo();
    EXPECT_EQ(s.Text(), "a");
    EXPECT_EQ(s.editor.UndoList().ItemCount(), 1);
    s.editor.Redo();
    EXPECT_EQ(s.Text(), "abc");
    EXPECT_FALSE(s.editor.CanRedo());
}

TEST(CodeEditUndo, AResetRecordIsUndoneAsADeletionWithTheCaretAtTheStart)
{
    TEditorSession s({"ab", "cd"});
    s.editor.UndoList().AddChange(18, {2, 2}, {4, 2}, "xy", smNormal);
    s.editor.Undo();
    EXPECT_EQ(s.Text(), "ab|cxyd");
    EXPECT_EQ(s.State(), "caret 1,1 sel 2,2-1,1 normal") << "the anchor stays at the start";
}

TEST(CodeEditUndo, UnrecordedBlanksAndColumnLinesStayAfterUndo)
{
    TEditorSession s({"ab", "cd"});
    s.editor.SetOptions(s.editor.Options().Without(eoTrimTrailingSpaces));
    s.editor.SetCaretXY({5, 1});
    s.Press("Del");
    ASSERT_EQ(s.Text(), "ab  cd");
    s.Press("Ctrl+Z");
    EXPECT_EQ(s.Text(), "ab  |cd") << "the padding was never recorded";
    s.Press("Shift+Ctrl+Z");
    EXPECT_EQ(s.Text(), "ab  cd");

    TEditorSession c({"abc", "def"});
    c.editor.SetCaretXY({2, 2});
    c.ClipboardBlock(smColumn, "X\r\nY\r\nZ");
    c.Press("Ctrl+V");
    ASSERT_EQ(c.Text(), "abc|dXef| Y| Z");
    c.Press("Ctrl+Z");
    EXPECT_EQ(c.Text(), "abc|def||") << "the added lines stay, trimmed";
}

TEST(CodeEditUndo, RedoOfAnUnindentMovesEachEndByWhatItsLineLost)
{
    TEditorSession s({"\tabcdefghij", "\tabcdefghij"});
    s.editor.SetCaretXY({10, 2});
    s.Select({10, 1}, {10, 2});
    s.Press("Shift+Ctrl+U");
    ASSERT_EQ(s.Text(), "abcdefghij|abcdefghij");
    EXPECT_EQ(s.State(), "caret 9,2 sel 9,1-9,2 normal");
    s.Press({"Ctrl+Z", "Shift+Ctrl+Z"});
    EXPECT_EQ(s.Text(), "abcdefghij|abcdefghij");
    EXPECT_EQ(s.State(), "caret 9,1 sel 9,1-9,2 normal") << "one tab, not a tab width";
}

TEST(CodeEditUndo, ReadOnlyBlocksUndoRedoAndPaste)
{
    TEditorSession s({""});
    s.Type("a");
    s.Press("Ctrl+Z");
    s.Type("b");
    s.Press("Ctrl+Z");
    s.ClipboardBlock(smNormal, "x");
    ASSERT_TRUE(s.editor.CanRedo() && s.editor.CanPaste());
    s.Type("c");
    s.editor.SetReadOnly(true);
    EXPECT_FALSE(s.editor.CanUndo() || s.editor.CanRedo() || s.editor.CanPaste());
    s.Press({"Ctrl+Z", "Shift+Ctrl+Z"});
    EXPECT_EQ(s.Text(), "c");
}

TEST(CodeEditUndo, MaxUndoLimitsBothListsAndIgnoresANegativeValue)
{
    TEditorSession s({""});
    s.editor.SetOptions(s.editor.Options().Without(eoGroupUndo));
    s.Type("abcd");
    s.Press({"Ctrl+Z", "Ctrl+Z", "Ctrl+Z"});
    s.editor.SetMaxUndo(2);
    EXPECT_EQ(s.editor.UndoList().ItemCount(), 1);
    EXPECT_EQ(s.editor.RedoList().ItemCount(), 2);
    s.editor.SetMaxUndo(-1);
    EXPECT_EQ(s.editor.MaxUndo(), 2);
}

TEST(CodeEditUndo, InsertBlockPutsAColumnAndSwitchesToColumnMode)
{
    TEditorSession s({"abc", "def"});
    s.editor.InsertBlock({2, 1}, {2, 2}, "X\r\nY");
    EXPECT_EQ(s.Text(), "aXbc|dYef");
    EXPECT_EQ(s.editor.SelectionMode(), smColumn);
}

} // namespace
