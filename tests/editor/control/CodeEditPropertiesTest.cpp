#include "../EditorScriptSteps.h"
#include "../HighlighterTestSupport.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(CodeEditProperties, AFontThatIsNotFixedPitchGivesWayToTheOwnFace)
{
    TEditorSession s({"x"});
    TCodeEditFont font("Arial", 14, fsBold);
    font.SetColor(clRed);
    s.host.metrics = TCodeEditFontMetrics{7, 16, 6, 12};
    s.editor.SetFont(font);
    TCodeEditFont expected("Courier New", 14, fsBold);
    expected.SetColor(clRed);
    EXPECT_TRUE(s.editor.Font() == expected);
    s.host.metrics = TCodeEditFontMetrics{9, 18, 9, 9};
    s.editor.SetFont(TCodeEditFont("Consolas", 12, 0));
    EXPECT_EQ(s.editor.Font().Name(), QStringLiteral("Consolas"));
    EXPECT_EQ(s.editor.CharWidth(), 9) << "measured again";
}

TEST(CodeEditProperties, WindowStyleRightEdgeAndCaretShape)
{
    TEditorSession s({"x"});
    s.editor.SetBorderStyle(bsNone);
    s.editor.SetBorderStyle(bsNone);
    s.editor.SetScrollBars(TScrollStyle::ssVertical);
    EXPECT_EQ(std::count(s.host.calls.begin(), s.host.calls.end(), "recreate"), 2);
    s.host.Forget();
    s.editor.SetRightEdgeColor(clRed);
    const int x = 80 * TRecordingHost::CellWidth + s.editor.TextOffset();
    EXPECT_EQ(s.host.invalidated, std::vector<TRect>{Rect(x - 1, 0, x + 1, s.host.clientHeight)});
    // Shapes from a cell of 8 x 16: w 8, h 14.
    for (const auto& [script, call, offset] :
         {std::tuple{"overwrite", "create caret 8,14", TTextPoint{0, 0}},
          std::tuple{"ins", "create caret 2,14", TTextPoint{-1, 0}}}) {
        RunScript(s, script);
        EXPECT_TRUE(s.host.Called(call)) << script;
        EXPECT_EQ(s.editor.CaretOffset(), offset) << script;
    }
    s.editor.SetInsertCaret(ctHalfBlock);
    EXPECT_TRUE(s.host.Called("create caret 8,7"));
    EXPECT_EQ(s.editor.CaretOffset(), (TTextPoint{0, 7}));
}

TEST(CodeEditWordBlock, ADoubleClickSelectsARunOfOneClass)
{
    for (const auto& [column, state] :
         {std::pair{6, "caret 8,1 sel 5,1-8,1 normal"}, std::pair{4, "caret 5,1 sel 4,1-5,1 normal"},
          std::pair{9, "caret 11,1 sel 8,1-11,1 normal"}, std::pair{12, "caret 14,1 sel 11,1-14,1 normal"},
          std::pair{20, "caret 14,1"}, std::pair{-1, "caret 2,1"}}) {
        TEditorSession s({"foo+bar   x\xC3\xA9\xC3\xB6"});
        s.editor.SetCaretXY({std::max(2, column), 1});
        s.editor.DblClick(column < 0 ? 2 : s.CellX(column), s.CellY(1)); // -1: in the gutter
        EXPECT_EQ(s.State(), state) << column;
    }
    TEditorSession s({"M3,1.5 &x"});
    TWordHighlighter highlighter;
    s.editor.SetHighlighter(&highlighter);
    RunScript(s, "@4,1");
    s.editor.DblClick(s.CellX(4), s.CellY(1));
    EXPECT_EQ(s.State(), "caret 7,1 sel 1,1-7,1 normal") << "the highlighter's word characters";
}

TEST(CodeEditSoftWrap, EditsFollowTheirCharacterAcrossPieces)
{
    TEditorSession s({"aaaa bbbb cccc"});
    s.host.clientWidth = s.editor.GutterWidth() + 2 + 10 * TRecordingHost::CellWidth;
    s.editor.ClientResized();
    s.editor.SetWordWrap(true);
    ASSERT_EQ(s.Text(), "aaaa bbbb |cccc");
    RunScript(s, "@11,1 'y");
    EXPECT_EQ(s.Text(), "aaaa bbbb |ycccc");
    EXPECT_EQ(s.State(), "caret 2,2");
    RunScript(s, "Del Del Del Del @2,1 BkSp");
    EXPECT_EQ(s.Text(), "aaa bbbb y") << "joined again; the piece kept its blank";
    EXPECT_EQ(s.State(), "caret 1,1");
}

} // namespace
