// What reaches the window while one command walks many lines: a replace-all over a long
// program, its undo and its redo each scroll the window, place the caret, set the bars
// and report the selection once, however many records they replay, and end repainted
// with the caret in view.
#include "../EditorSession.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

QStringList Program(const char* word)
{
    QStringList lines;
    for (int i = 1; i <= 3000; ++i) {
        lines << QStringLiteral("M2, 1, 1 '%1 %2").arg(QLatin1String(word)).arg(i);
    }
    return lines;
}

TEST(CodeEditReplayDisplay, ReplaceAllItsUndoAndRedoUpdateTheWindowOnce)
{
    TEditorSession s(Program("row"));
    int selectionReports = 0;
    s.editor.OnStatusChange = [&](TObject*, TCodeStatusChanges c) { selectionReports += (c & scSelection) ? 1 : 0; };
    // "Yes to all" at the first hit, which the window shows as the question is asked.
    bool promptSawItsHit = false;
    s.editor.OnReplaceText = [&](TObject*, const QString&, const QString&, int, int, TCodeReplaceAction& action) {
        promptSawItsHit = s.editor.PendingInvalidRect() == TRect{} && !s.host.invalidated.empty();
        action = rpaReplaceAll;
    };
    const TSearchReplaceOptions yesToAll{sroReplace, sroReplaceAll, sroPrompt, sroEntireScope};
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"ROWX", [&] { s.editor.SearchAndReplace("row", "ROWX", yesToAll); }},
        {"row", [&] { s.editor.Undo(); }},
        {"ROWX", [&] { s.editor.Redo(); }},
        {"row", [&] { s.editor.Undo(); }},
    };
    for (const auto& [word, run] : steps) {
        s.host.Forget();
        selectionReports = 0;
        run();
        const std::string step = word;
        EXPECT_TRUE(s.Text() == Program(word).join(QLatin1Char('|'))) << step;
        // Once each; the prompt's hit shows before the question, and the marks go to
        // the window before its one move by pixels.
        EXPECT_LE(std::ranges::count_if(s.host.calls, [](const std::string& c) { return c.starts_with("scroll"); }), 1) << step;
        EXPECT_EQ(s.host.scrollBarUpdates, 1) << step;
        EXPECT_LE(s.host.caretUpdates, 2) << step;
        EXPECT_LE(selectionReports, 2) << step;
        ASSERT_FALSE(s.host.invalidated.empty());
        EXPECT_LE(s.host.invalidated.size(), 3u) << step;
        const TRect last = s.host.invalidated.back();
        EXPECT_TRUE(last.Top <= 0 && last.Bottom >= s.host.clientHeight && last.Right >= s.host.clientWidth) << step;
        const int y = s.editor.CaretY();
        EXPECT_TRUE(y >= s.editor.TopLine() && y < s.editor.TopLine() + s.editor.LinesInWindow()) << step;
    }
    EXPECT_TRUE(promptSawItsHit);
}

} // namespace
