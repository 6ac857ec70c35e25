#include "EditorSession.h"
#include "HighlighterTestSupport.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(CodeEditProperties, MaxLeftCharIsHeldToItsRange)
{
    TEditorSession s({"x"});
    for (const auto& [set, stored] : {std::pair{50000, 32767}, std::pair{0, 1}, std::pair{300, 300}}) {
        s.editor.SetMaxLeftChar(set);
        EXPECT_EQ(s.editor.MaxLeftChar(), stored) << set;
    }
}

TEST(CodeEditProperties, AFontThatIsNotFixedPitchGivesWayToTheOwnFace)
{
    TEditorSession s({"x"});
    TCodeEditFont font("Arial", 14, fsBold);
    font.SetColor(clRed);
    s.host.metrics = TCodeEditFontMetrics{7, 16, 6, 12};
    s.editor.SetFont(font);
    EXPECT_EQ(s.editor.Font().Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(s.editor.Font().Size(), 14);
    EXPECT_EQ(s.editor.Font().Style(), fsBold);
    EXPECT_EQ(s.editor.Font().Color(), clRed);
    s.host.metrics = TCodeEditFontMetrics{9, 18, 9, 9};
    TCodeEditFont fixed("Consolas", 12, 0);
    s.editor.SetFont(fixed);
    EXPECT_EQ(s.editor.Font().Name(), QStringLiteral("Consolas"));
    EXPECT_EQ(s.editor.CharWidth(), 9) << "measured again";
}

TEST(CodeEditProperties, SettersThatTheWindowMustFollow)
{
    TEditorSession s({"x"});
    s.editor.SetBorderStyle(bsNone);
    s.editor.SetBorderStyle(bsNone);
    s.editor.SetScrollBars(TScrollStyle::ssVertical);
    EXPECT_EQ(std::count(s.host.calls.begin(), s.host.calls.end(), "recreate"), 2);

    s.host.Forget();
    s.editor.SetRightEdgeColor(clRed);
    ASSERT_EQ(s.host.invalidated.size(), 1u);
    const int x = 80 * TRecordingHost::CellWidth + s.editor.TextOffset();
    EXPECT_EQ(s.host.invalidated[0], Rect(x - 1, 0, x + 1, s.host.clientHeight));
}

TEST(CodeEditProperties, TheCaretTakesTheShapeOfTheMode)
{
    TEditorSession s({"x"});
    std::vector<TCodeStatusChanges> changes;
    s.editor.OnStatusChange = [&](TObject*, TCodeStatusChanges c) { changes.push_back(c); };
    s.editor.SetInsertMode(false);
    EXPECT_TRUE(s.host.Called("create caret 8,14")) << "a block";
    EXPECT_EQ(s.editor.CaretOffset(), (TTextPoint{0, 0}));
    EXPECT_EQ(changes, std::vector<TCodeStatusChanges>{scInsertMode});
    s.editor.SetOverwriteCaret(ctHalfBlock);
    EXPECT_TRUE(s.host.Called("create caret 8,7"));
    EXPECT_EQ(s.editor.CaretOffset(), (TTextPoint{0, 7}));
    s.host.Forget();
    s.editor.SetInsertCaret(ctHorizontalLine);
    EXPECT_TRUE(s.host.Called("create caret 8,7")) << "the overwrite caret still shows";
    s.editor.SetInsertMode(true);
    EXPECT_TRUE(s.host.Called("create caret 8,2"));
    EXPECT_EQ(s.editor.CaretOffset(), (TTextPoint{0, 14}));
}

TEST(CodeEditProperties, KeystrokesAreCopiedOrCleared)
{
    TEditorSession s({"x"});
    TCodeEditKeyStrokes strokes(nullptr);
    TCodeEditKeyStroke* stroke = strokes.Add();
    stroke->SetKey(VK_F2);
    stroke->SetCommand(ecDeleteLine);
    s.editor.SetKeystrokes(&strokes);
    EXPECT_EQ(s.editor.Keystrokes().Count(), 1);
    s.Press("F2");
    EXPECT_EQ(s.Text(), "");
    s.editor.SetKeystrokes(nullptr);
    EXPECT_EQ(s.editor.Keystrokes().Count(), 0);
}

TEST(CodeEditWordBlock, ADoubleClickSelectsARunOfOneClass)
{
    struct TCase {
        int column;
        const char* state;
    };
    for (const TCase& c : {TCase{6, "caret 8,1 sel 5,1-8,1 normal"}, TCase{4, "caret 5,1 sel 4,1-5,1 normal"},
                           TCase{9, "caret 11,1 sel 8,1-11,1 normal"}, TCase{12, "caret 14,1 sel 11,1-14,1 normal"},
                           TCase{20, "caret 14,1"}}) {
        TEditorSession s({"foo+bar   x\xC3\xA9\xC3\xB6"});
        s.editor.SetCaretXY({c.column, 1});
        s.editor.DblClick(s.CellX(c.column), s.CellY(1));
        EXPECT_EQ(s.State(), c.state) << c.column;
    }
}

TEST(CodeEditWordBlock, TheHighlighterNamesTheWordCharactersAndTheGutterNothing)
{
    TEditorSession s({"M3,1.5 &x"});
    TWordHighlighter highlighter;
    s.editor.SetHighlighter(&highlighter);
    s.editor.SetCaretXY({4, 1});
    s.editor.DblClick(s.CellX(4), s.CellY(1));
    EXPECT_EQ(s.State(), "caret 7,1 sel 1,1-7,1 normal") << "every character from 33 on is a word character";
    EXPECT_TRUE(s.editor.TestState(sfDblClicked));

    TEditorSession gutter({"abc"});
    int clicks = 0;
    gutter.editor.OnDblClick = [&](TObject*) { ++clicks; };
    gutter.editor.SetCaretXY({2, 1});
    gutter.editor.DblClick(2, gutter.CellY(1));
    EXPECT_EQ(gutter.State(), "caret 2,1");
    EXPECT_EQ(clicks, 1);
    gutter.editor.SetOptions(gutter.editor.Options().With(eoNoSelection));
    gutter.editor.DblClick(gutter.CellX(2), gutter.CellY(1));
    EXPECT_EQ(gutter.State(), "caret 2,1");
}

// A window ten columns wide: the soft wrap cuts lines after ten characters.
struct TNarrowSession : TEditorSession {
    explicit TNarrowSession(const QStringList& lines) : TEditorSession(lines)
    {
        host.clientWidth = editor.GutterWidth() + 2 + 10 * TRecordingHost::CellWidth;
        editor.ClientResized();
        editor.SetWordWrap(true);
    }
};

TEST(CodeEditSoftWrap, TypingAtAPieceEndFollowsTheCharacterIntoTheNextPiece)
{
    TNarrowSession s({"aaaa bbbb cccc"});
    ASSERT_EQ(s.Text(), "aaaa bbbb |cccc");
    s.editor.SetCaretXY({11, 1});
    s.Type("y");
    EXPECT_EQ(s.Text(), "aaaa bbbb |ycccc");
    EXPECT_EQ(s.State(), "caret 2,2");
}

TEST(CodeEditSoftWrap, DeletingLetsThePiecesJoin)
{
    TNarrowSession s({"aaaa bbbb c"});
    ASSERT_EQ(s.Text(), "aaaa bbbb |c");
    s.editor.SetCaretXY({2, 1});
    s.Press("BkSp");
    EXPECT_EQ(s.Text(), "aaa bbbb c");
    EXPECT_EQ(s.State(), "caret 1,1");
    s.Press("Del");
    EXPECT_EQ(s.Text(), "aa bbbb c");
}

} // namespace
