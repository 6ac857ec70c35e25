// The caret's place and visibility, the focus commands and the keys the control wants.
#include "EditorSession.h"

#include <gtest/gtest.h>

namespace {

// The host's caret calls in order, without the rest.
std::vector<std::string> CaretCalls(const TRecordingHost& host)
{
    std::vector<std::string> out;
    for (const std::string& call : host.calls) {
        if (call.find("caret") != std::string::npos) {
            out.push_back(call);
        }
    }
    return out;
}

// Cells of 8 x 16; the caret at column 3 of line 2 has its cell at (TextOffset + 16, 16).
TEST(CodeEditCaret, EachShapeStandsInItsCell)
{
    struct TCase {
        TCodeEditCaretType shape;
        const char* created;
        int dx, dy;
    };
    const TCase cases[] = {
        {ctVerticalLine, "create caret 2,14", -1, 1},
        {ctHorizontalLine, "create caret 8,2", 0, 15},
        {ctHalfBlock, "create caret 8,7", 0, 8},
        {ctBlock, "create caret 8,14", 0, 1},
    };
    for (const TCase& c : cases) {
        TEditorSession s({"abcdef", "abcdef"});
        s.editor.SetCaretXY({3, 2});
        s.editor.SetOverwriteCaret(c.shape);
        s.host.Forget();
        s.editor.SetInsertMode(false);
        const int x = s.editor.TextOffset() + 16 + c.dx;
        const int y = 16 + c.dy;
        EXPECT_EQ(CaretCalls(s.host), (std::vector<std::string>{c.created, "caret " + std::to_string(x) + "," +
                                                                               std::to_string(y),
                                                                "show caret"}))
            << c.created;
    }
}

TEST(CodeEditCaret, OutsideTheTextAreaTheCaretIsHidden)
{
    TEditorSession s({QString(200, QLatin1Char('x')), "b"});
    s.editor.SetCaretXY({5, 1});
    ASSERT_TRUE(s.editor.TestState(sfCaretVisible));
    s.host.Forget();
    s.editor.SetLeftChar(10); // column 5 is left of the window now
    s.editor.UpdateCaret();
    EXPECT_EQ(CaretCalls(s.host).front(), "hide caret");
    EXPECT_FALSE(s.editor.TestState(sfCaretVisible));
    s.editor.SetLeftChar(1);
    s.host.Forget();
    s.editor.UpdateCaret();
    EXPECT_EQ(CaretCalls(s.host).back(), "show caret");
    // Below the window.
    s.host.clientHeight = 16;
    s.editor.ClientResized();
    s.editor.PlaceCaret(false, {1, 2});
    EXPECT_FALSE(s.editor.TestState(sfCaretVisible));
    // eoNoCaret: placed but never shown.
    s.host.clientHeight = 320;
    s.editor.ClientResized();
    s.editor.SetOptions(s.editor.Options().With(eoNoCaret));
    s.host.Forget();
    s.editor.UpdateCaret();
    EXPECT_EQ(CaretCalls(s.host).size(), 1u);
    EXPECT_FALSE(s.editor.TestState(sfCaretVisible));
}

TEST(CodeEditCaret, AlwaysShowCaretKeepsItWithoutTheFocus)
{
    TEditorSession s({"abc"});
    s.host.focused = false;
    s.editor.FocusLost();
    s.host.Forget();
    s.editor.SetCaretXY({2, 1});
    EXPECT_TRUE(CaretCalls(s.host).empty()) << "waits for the focus";
    s.editor.SetAlwaysShowCaret(true);
    EXPECT_EQ(CaretCalls(s.host),
              (std::vector<std::string>{"create caret 2,14", "caret " + std::to_string(s.editor.TextOffset() + 7) + ",1",
                                        "show caret"}));
    s.host.Forget();
    s.editor.FocusLost();
    EXPECT_TRUE(CaretCalls(s.host).empty()) << "the flag keeps it";
    s.editor.SetAlwaysShowCaret(false);
    EXPECT_EQ(CaretCalls(s.host), (std::vector<std::string>{"hide caret", "destroy caret"}));
}

TEST(CodeEditCaret, FocusCommandsAndHiddenSelections)
{
    TEditorSession s({"abcdef"});
    std::vector<int> commands;
    s.editor.OnCommandProcessed = [&](TObject*, TCodeEditorCommand& c, QChar&, const TCodeEditCommandData&) {
        commands.push_back(c);
    };
    s.editor.SetBlockBegin({2, 1});
    s.editor.SetBlockEnd({4, 1});
    for (bool hide : {false, true}) {
        s.editor.SetHideSelection(hide);
        s.host.Forget();
        s.host.focused = false;
        s.editor.FocusLost();
        EXPECT_EQ(s.host.invalidated.size(), hide ? 1u : 0u) << hide;
        EXPECT_TRUE(s.host.Called("destroy caret"));
        s.host.Forget();
        s.host.focused = true;
        s.editor.FocusGained();
        EXPECT_EQ(s.host.invalidated.size(), hide ? 1u : 0u) << hide;
        EXPECT_TRUE(s.host.Called("create caret 2,14"));
    }
    EXPECT_EQ(commands, (std::vector<int>{701, 700, 701, 700}));
    EXPECT_EQ(s.editor.GetText(), QStringLiteral("abcdef")) << "the control does nothing for them";
    // A window that still has the focus keeps its caret.
    s.host.Forget();
    s.editor.FocusLost();
    EXPECT_FALSE(s.host.Called("destroy caret"));
}

TEST(CodeEditCaret, TabIsWantedOnlyUnderWantTabsWithoutCtrl)
{
    TEditorSession s;
    const TShiftState ctrl = TShiftState::ssCtrl;
    const TShiftState shift = TShiftState::ssShift;
    for (const auto& [wantTabs, state, code] :
         {std::tuple{false, TShiftState(), 0x81}, std::tuple{true, TShiftState(), 0x83}, std::tuple{true, shift, 0x83},
          std::tuple{true, ctrl, 0x81}, std::tuple{true, ctrl | shift, 0x81}}) {
        s.editor.SetWantTabs(wantTabs);
        EXPECT_EQ(s.editor.DialogCode(state), code) << wantTabs;
    }
}

} // namespace
