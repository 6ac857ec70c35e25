#include "../EditorScriptSteps.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Runs a script and checks the text it leaves.
void Step(TEditorSession& s, const char* script, const char* text)
{
    RunScript(s, script);
    EXPECT_EQ(s.Text(), QString::fromUtf8(text)) << script;
}

// Edits whose undo must give back the text they started from and whose redo the text
// they made: each pins a record that once only restated the caret.
struct TReplayCase {
    const char* name;
    const char* lines;
    const char* script;
    const char* final;
};

void PrintTo(const TReplayCase& c, std::ostream* os) { *os << c.name; }

class UndoRedoReplay : public testing::TestWithParam<TReplayCase> {};

TEST_P(UndoRedoReplay, UndoRestoresTheTextAndRedoTheEdit)
{
    const TReplayCase& c = GetParam();
    TEditorSession s(LinesOf(c.lines));
    const QString original = s.Text();
    Step(s, c.script, c.final);
    for (int round = 0; round < 2; ++round) {
        while (s.editor.CanUndo()) {
            s.editor.Undo();
        }
        EXPECT_EQ(s.Text(), original) << TEditorSession::Records(s.editor.RedoList());
        while (s.editor.CanRedo() && round == 0) {
            s.editor.Redo();
        }
        EXPECT_EQ(s.Text(), QString::fromUtf8(round == 0 ? c.final : c.lines)) << s.UndoRecords();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edits, UndoRedoReplay,
    testing::Values(TReplayCase{"Overwrite", "abcd", "@2,1 overwrite 'XY", "aXYd"},
                    TReplayCase{"InputMethodOverwrite", "abcd", "@2,1 overwrite ime=XY", "aXYd"},
                    TReplayCase{"SmartBackspaceInMixedIndent", " x|\t  y", "@4,2 BkSp", " x| y"},
                    TReplayCase{"BackspaceOnATrimmedLine", "ab c", "-ScrollPastEol @5,1 BkSp", "ab"},
                    TReplayCase{"DeleteWordsBothWays", "foo bar|baz", "@4,1 Shift+Ctrl+Y Ctrl+T End Ctrl+BkSp", ""},
                    TReplayCase{"DeleteMiddleLine", "ab|cd|ef", "@2,2 Ctrl+Y", "ab|ef"},
                    TReplayCase{"DeleteLastLine", "ab|cd|ef", "@2,3 Ctrl+Y", "ab|cd"},
                    TReplayCase{"DeleteOnlyLine", "abc", "@2,1 Ctrl+Y", ""},
                    TReplayCase{"LineBreakAfterATrimmedHead", "ab \tcd", "@5,1 Enter", "ab|cd"},
                    TReplayCase{"LineBreakPastTheEnd", "  ab", "@9,1 Enter Enter", "  ab||"},
                    TReplayCase{"TypingOverABackwardsColumn", "abcd|efgh", "@2,2 <|4,1 'X", "aXd|eh"},
                    TReplayCase{"ToggleCaseOfALineSelection", "ab|cd|ef", "@2,2 <<1,1 cmd=622", "AB|CD|ef"},
                    TReplayCase{"PasteInEachMode", "abc|def|ghi",
                                "@2,1 clipc=X~Y Ctrl+V @1,3 clipl=p~ Ctrl+V @2,1 clipn=q~r Ctrl+V",
                                "aq|rXbc|dYef|p|ghi"},
                    TReplayCase{"BlockUnindentWithTabs", "\tab|  \tcd|x", "@3,3 <2,1 Shift+Ctrl+U", "ab|cd|x"}),
    [](const testing::TestParamInfo<TReplayCase>& info) { return std::string(info.param.name); });

TEST(CodeEditUndo, EqualReasonsMergeOnlyWithGroupUndo)
{
    TEditorSession grouped({""});
    Step(grouped, "'ab Ctrl+Z", "");
    TEditorSession single({""});
    Step(single, "-GroupUndo 'ab Ctrl+Z", "a");
    TEditorSession indents({"a", "b", "c"});
    Step(indents, "page @1,3 <1,1 Tab Tab Ctrl+Z", "     a|     b|c");
    EXPECT_EQ(indents.State(), "caret 1,3 sel 6,1-1,3 normal") << "indents never merge";
}

// With group undo a record that merges by its reason brings its whole change number
// along: an edit of several records is never split by one undo.
TEST(CodeEditUndo, GroupUndoTakesWholeChangeNumbers)
{
    struct TCase {
        const char* lines;
        const char* script;
        const char* edited;
        const char* undone;
    };
    const TCase cases[] = {
        {"foo bar", "@4,1 <1,1 'X 'Y", "XY bar", "foo bar"}, // the typed X replaced the selection
        {"x", "-TrimTrailingSpaces @4,1 'ab", "x  ab", "x"}, // blanks padded before the a
    };
    for (const TCase& c : cases) {
        TEditorSession s(LinesOf(c.lines));
        Step(s, c.script, c.edited);
        Step(s, "Ctrl+Z", c.undone);
        EXPECT_FALSE(s.editor.CanUndo()) << c.script << ": " << s.UndoRecords();
        Step(s, "Shift+Ctrl+Z", c.edited);
        EXPECT_FALSE(s.editor.CanRedo()) << c.script;
    }
}

TEST(CodeEditUndo, APasteUnderTheSoftWrapIsUndoneInOneStep)
{
    TEditorSession s({"one two", "three"});
    s.editor.SetWordWrap(true);
    Step(s, "@4,1 clipn=XY Ctrl+V", "oneXY two|three");
    EXPECT_EQ(s.UndoRecords(), "20 4,1-4,1 '' normal; 1 4,1-6,1 '' normal; 19 6,1-6,1 '' normal");
    Step(s, "Ctrl+Z", "one two|three");
    EXPECT_TRUE(s.editor.WordWrap());
    EXPECT_FALSE(s.editor.CanUndo());
}

TEST(CodeEditUndo, ANewEditEmptiesTheRedoListARedoAndGroupBreaksDoNot)
{
    TEditorSession s({""});
    Step(s, "-GroupUndo 'abc Ctrl+Z Ctrl+Z Shift+Ctrl+Z", "ab");
    EXPECT_EQ(s.editor.RedoList().ItemCount(), 1) << "the redo's own record keeps the rest";
    Step(s, "'x", "abx");
    EXPECT_FALSE(s.editor.CanRedo());

    TEditorSession breaks({""});
    Step(breaks, "'ab Home End C Ctrl+Z Ctrl+Z", "");
    Step(breaks, "Shift+Ctrl+Z", "ab");
    Step(breaks, "Shift+Ctrl+Z", "abc");
}

TEST(CodeEditUndo, BracketRecordsHoldTheirGroupAndAResetRecordReturnsToTheStart)
{
    TEditorSession s({""});
    Step(s, "-GroupUndo 'a", "a");
    s.editor.UndoList().AddChange(10, {}, {}, QString(), smNormal);
    s.Type("bc");
    s.editor.UndoList().AddChange(11, {}, {}, QString(), smNormal);
    Step(s, "Ctrl+Z", "a");
    Step(s, "Shift+Ctrl+Z", "abc");
    EXPECT_FALSE(s.editor.CanRedo());
    s.editor.UndoList().AddChange(18, {2, 1}, {4, 1}, "xy", smNormal);
    Step(s, "Ctrl+Z", "axybc");
    EXPECT_EQ(s.State(), "caret 1,1 sel 2,1-1,1 normal") << "a deletion undone, caret and end at (1, 1)";
}

TEST(CodeEditUndo, UnrecordedBlanksAndColumnLinesStayAfterUndo)
{
    TEditorSession s({"ab", "cd"});
    Step(s, "-TrimTrailingSpaces @5,1 Del Ctrl+Z", "ab  |cd");
    Step(s, "Shift+Ctrl+Z", "ab  cd");
    TEditorSession c({"abc", "def"});
    Step(c, "@2,2 clipc=X~Y~Z Ctrl+V", "abc|dXef| Y| Z");
    Step(c, "Ctrl+Z", "abc|def||");
}

TEST(CodeEditUndo, RedoOfAnUnindentMovesEachEndByWhatItsLineLost)
{
    TEditorSession s({"\tabcdefghij", "\tabcdefghij"});
    Step(s, "@10,2 <10,1 Shift+Ctrl+U", "abcdefghij|abcdefghij");
    EXPECT_EQ(s.State(), "caret 9,2 sel 9,1-9,2 normal");
    Step(s, "Ctrl+Z Shift+Ctrl+Z", "abcdefghij|abcdefghij");
    EXPECT_EQ(s.State(), "caret 9,1 sel 9,1-9,2 normal") << "one tab, not a tab width";
}

TEST(CodeEditUndo, ReadOnlyCanNeitherUndoRedoNorPaste)
{
    TEditorSession s({""});
    Step(s, "clipn=x -GroupUndo 'ab Ctrl+Z", "a");
    ASSERT_TRUE(s.editor.CanUndo() && s.editor.CanRedo() && s.editor.CanPaste());
    s.editor.SetReadOnly(true);
    EXPECT_FALSE(s.editor.CanUndo() || s.editor.CanRedo() || s.editor.CanPaste());
    Step(s, "Ctrl+Z Shift+Ctrl+Z", "a");
}

// A group undone or redone, replacements among its records (a deletion and the
// insertion in its place), leaves the text, caret, selection and other list that its
// records replayed one by one leave: the group only puts off following the caret and
// reporting the change until its end.
struct TReplacementCase {
    const char* name;
    const char* lines;
    const char* script;
    const char* search; // then replaced everywhere by `replace`
    const char* replace;
};

class ReplacementReplay : public testing::TestWithParam<TReplacementCase> {};

// The records without group breaks, which only a whole group moves.
std::string Records(const TCodeEditUndoList& list)
{
    std::string s;
    for (int i = 0; i < list.ItemCount(); ++i) {
        const TCodeEditUndoItem& item = list.Item(i);
        if (item.ChangeReason != crGroupBreak) {
            s += std::to_string(item.ChangeReason) + " " + TEditorSession::Point(item.ChangeStartPos) + "-" +
                 TEditorSession::Point(item.ChangeEndPos) + " '" + item.ChangeStr.toStdString() + "'; ";
        }
    }
    return s;
}

TEST_P(ReplacementReplay, AGroupLeavesWhatItsRecordsOneByOneLeave)
{
    const TReplacementCase& c = GetParam();
    const auto edited = [&c](TEditorSession& s) {
        RunScript(s, c.script);
        if (c.search) {
            s.editor.SearchAndReplace(c.search, c.replace, {sroReplaceAll, sroEntireScope});
        }
    };
    // Each session installs its clipboard: one edits before the other is made.
    TEditorSession whole(LinesOf(c.lines));
    edited(whole);
    TEditorSession single(LinesOf(c.lines));
    edited(single);
    for (const bool redo : {false, true}) {
        TCodeEdit& w = whole.editor;
        TCodeEdit& e = single.editor;
        redo ? w.Redo() : w.Undo();
        const auto left = [redo](TCodeEdit& x) { return Records(redo ? x.RedoList() : x.UndoList()).size(); };
        while (left(e) > left(w)) {
            redo ? e.RedoItem() : e.UndoItem();
        }
        EXPECT_EQ(whole.Text(), single.Text()) << redo;
        EXPECT_EQ(whole.State(), single.State()) << redo;
        EXPECT_EQ(Records(redo ? w.UndoList() : w.RedoList()), Records(redo ? e.UndoList() : e.RedoList())) << redo;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ReplacementReplay,
    testing::Values(TReplacementCase{"LongerText", "M2 'row 1|row row|x", "", "row", "ROWX"},
                    TReplacementCase{"ShorterTextAtLineEnds", "rowrow|a row", "", "row", "r"},
                    TReplacementCase{"ALineBreakInItsPlace", "a row b|c row", "", "row", "X\r\nY"},
                    TReplacementCase{"TypingOverLines", "abcdef|gh|ij", "@2,3 <3,1 'XY", nullptr, nullptr},
                    TReplacementCase{"PastingOverASelection", "abc|def", "@3,2 <2,1 clipn=p~q Ctrl+V", nullptr,
                                     nullptr}),
    [](const testing::TestParamInfo<TReplacementCase>& info) { return std::string(info.param.name); });

} // namespace
