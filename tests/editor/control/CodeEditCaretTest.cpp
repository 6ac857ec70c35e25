// The caret's place and visibility, the focus commands and the keys the control wants.
#include "../EditorSession.h"

#include <gtest/gtest.h>

namespace {

// The host's caret calls in order.
std::vector<std::string> CaretCalls(const TRecordingHost& host)
{
    std::vector<std::string> out;
    std::copy_if(host.calls.begin(), host.calls.end(), std::back_inserter(out),
                 [](const std::string& call) { return call.find("caret") != std::string::npos; });
    return out;
}

std::string At(int x, int y) { return "caret " + std::to_string(x) + "," + std::to_string(y); }

// Cells of 8 x 16: the caret at column 3 of line 2 has its cell at (TextOffset + 16, 16).
TEST(CodeEditCaret, EachShapeStandsInItsCell)
{
    for (const auto& [shape, created, dx, dy] :
         {std::tuple{ctVerticalLine, "create caret 2,14", -1, 1}, std::tuple{ctHorizontalLine, "create caret 8,2", 0, 15},
          std::tuple{ctHalfBlock, "create caret 8,7", 0, 8}, std::tuple{ctBlock, "create caret 8,14", 0, 1}}) {
        TEditorSession s({"abcdef", "abcdef"});
        s.editor.SetCaretXY({3, 2});
        s.editor.SetOverwriteCaret(shape);
        s.host.Forget();
        s.editor.SetInsertMode(false);
        EXPECT_EQ(CaretCalls(s.host),
                  (std::vector<std::string>{created, At(s.editor.TextOffset() + 16 + dx, 16 + dy), "show caret"}));
    }
}

TEST(CodeEditCaret, ACaretOutsideTheTextAreaOrUnderNoCaretIsNotShown)
{
    TEditorSession s({QString(200, QLatin1Char('x')), "b"});
    s.editor.SetCaretXY({5, 1});
    s.host.Forget();
    s.editor.SetLeftChar(10); // column 5 lies left of the text area now
    s.editor.UpdateCaret();
    EXPECT_EQ(CaretCalls(s.host).front(), "hide caret");
    s.host.clientHeight = 16; // one line: line 2 lies below
    s.editor.SetLeftChar(1);
    s.editor.ClientResized();
    s.editor.PlaceCaret(false, {1, 2});
    EXPECT_FALSE(s.editor.TestState(sfCaretVisible));
    s.editor.SetOptions(s.editor.Options().With(eoNoCaret));
    s.editor.PlaceCaret(false, {1, 1});
    EXPECT_FALSE(s.editor.TestState(sfCaretVisible)) << "placed, never shown";
}

TEST(CodeEditCaret, FocusCommandsCaretsAndHiddenSelections)
{
    TEditorSession s({"abcdef"});
    std::vector<int> commands;
    s.editor.OnCommandProcessed = [&](TObject*, TCodeEditorCommand& c, QChar&, const TCodeEditCommandData&) {
        commands.push_back(c);
    };
    s.Select({2, 1}, {4, 1});
    for (bool hide : {false, true}) {
        s.editor.SetHideSelection(hide);
        s.host.Forget();
        s.host.focused = false;
        s.editor.FocusLost();
        EXPECT_EQ(s.host.invalidated.size(), hide ? 1u : 0u);
        EXPECT_TRUE(s.host.Called("destroy caret"));
        s.host.Forget();
        s.host.focused = true;
        s.editor.FocusGained();
        EXPECT_EQ(s.host.invalidated.size(), hide ? 1u : 0u);
        EXPECT_TRUE(s.host.Called("create caret 2,14"));
    }
    EXPECT_EQ(commands, (std::vector<int>{701, 700, 701, 700})) << "and the text stays as it was";
    // Without the focus the caret waits, unless it is always shown.
    s.host.focused = false;
    s.editor.FocusLost();
    s.host.Forget();
    s.editor.SetCaretXY({2, 1});
    EXPECT_TRUE(CaretCalls(s.host).empty());
    s.editor.SetAlwaysShowCaret(true);
    EXPECT_EQ(CaretCalls(s.host), (std::vector<std::string>{"create caret 2,14",
                                                            At(s.editor.TextOffset() + 7, 1), "show caret"}));
    s.host.Forget();
    s.editor.FocusLost();
    EXPECT_TRUE(CaretCalls(s.host).empty()) << "the flag keeps it";
    s.editor.SetAlwaysShowCaret(false);
    EXPECT_EQ(CaretCalls(s.host), (std::vector<std::string>{"hide caret", "destroy caret"}));
}

TEST(CodeEditCaret, TabIsWantedOnlyUnderWantTabsWithoutCtrl)
{
    TEditorSession s;
    const TShiftState ctrl = TShiftState::ssCtrl;
    for (const auto& [wantTabs, shift, code] : {std::tuple{false, TShiftState(), 0x81}, std::tuple{true, ssShift, 0x83},
                                                std::tuple{true, ctrl, 0x81}, std::tuple{true, ctrl | ssShift, 0x81}}) {
        s.editor.SetWantTabs(wantTabs);
        EXPECT_EQ(s.editor.DialogCode(shift), code) << wantTabs;
    }
}

} // namespace
