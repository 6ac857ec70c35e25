#include "../EditorSession.h"
#include "../QtPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CodeEditModel, NewControlHasTheDocumentedState)
{
    TCodeEdit editor;
    EXPECT_EQ(editor.TopLine(), 1);
    EXPECT_EQ(editor.CaretXY(), (TTextPoint{1, 1}));
    EXPECT_FALSE(editor.SelAvail());
    EXPECT_EQ(editor.TabWidth(), 8);
    EXPECT_EQ(editor.RightEdge(), 80);
    EXPECT_EQ(editor.Options().Bits(), 53870738u);
    for (TCodeEditorOption o : {eoAutoIndent, eoDragDropEditing, eoGroupUndo, eoScrollPastEol, eoShowScrollHint,
                                eoSmartTabDelete, eoSmartTabs, eoTabsToSpaces, eoTrimTrailingSpaces}) {
        EXPECT_TRUE(editor.HasOption(o)) << o;
    }
    EXPECT_EQ(editor.MaxLeftChar(), 1024);
    EXPECT_EQ(editor.Font().Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(editor.TextOffset(), editor.GutterWidth() + 2);
    EXPECT_GT(editor.Keystrokes().Count(), 0) << "default key bindings";
    // Without a window the control measures the 200x150 it was given.
    EXPECT_EQ(editor.LinesInWindow(), 150 / 16);
}

// Records every OnStatusChange.
struct TStatusLog {
    std::vector<TCodeStatusChanges> fired;
    explicit TStatusLog(TCustomCodeEdit& editor)
    {
        editor.OnStatusChange = [this](TObject*, TCodeStatusChanges c) { fired.push_back(c); };
    }
};

TEST(CodeEditModel, StatusChangesOfOneLockAreReportedOnceWhenTheOutermostLockEnds)
{
    TEditorSession s({"abc", "def"});
    TStatusLog log(s.editor);
    s.editor.IncPaintLock();
    s.editor.IncPaintLock();
    s.editor.SetCaretXY({3, 2});
    s.editor.SetBlockEnd({2, 1});
    s.editor.DecPaintLock();
    EXPECT_TRUE(log.fired.empty()) << "inner lock";
    s.editor.DecPaintLock();
    ASSERT_EQ(log.fired.size(), 1u);
    EXPECT_EQ(log.fired[0], scCaretX | scCaretY | scSelection);
    // Unlocked, each change is reported at once.
    s.editor.SetReadOnly(true);
    s.editor.SetReadOnly(true);
    EXPECT_EQ(log.fired.size(), 2u) << "a setter reports only a real change";
}

TEST(CodeEditModel, ScrollBarAndCaretUpdatesWaitForTheLockAndAWindow)
{
    TEditorSession s({"abc", "def"});
    s.editor.IncPaintLock();
    s.editor.SetCaretXY({2, 2});
    EXPECT_EQ(s.host.scrollBarUpdates + s.host.caretUpdates, 0);
    EXPECT_TRUE(s.editor.TestState(sfCaretChanged));
    s.editor.DecPaintLock();
    EXPECT_EQ(s.host.scrollBarUpdates, 1);
    EXPECT_EQ(s.host.caretUpdates, 1);
    EXPECT_FALSE(s.editor.TestState(sfCaretChanged));
    // Without focus the caret update stays pending.
    s.host.focused = false;
    s.editor.SetCaretXY({1, 1});
    EXPECT_EQ(s.host.caretUpdates, 1);
    EXPECT_TRUE(s.editor.TestState(sfCaretChanged));

    TCodeEdit windowless;
    windowless.Lines().Add("x");
    windowless.SetCaretXY({2, 1});
    EXPECT_TRUE(windowless.TestState(sfScrollbarChanged)) << "kept until the window exists";
}

TEST(CodeEditModel, SettersReportTheirStatusMemberOnlyOnRealChanges)
{
    struct Case {
        const char* name;
        void (*change)(TCustomCodeEdit&);
        TCodeStatusChanges expected;
    };
    const Case cases[] = {
        {"read only", [](TCustomCodeEdit& e) { e.SetReadOnly(!e.GetReadOnly()); }, scReadOnly},
        {"modified", [](TCustomCodeEdit& e) { e.SetModified(!e.Modified()); }, scModified},
        {"insert mode", [](TCustomCodeEdit& e) { e.SetInsertMode(!e.InsertMode()); }, scInsertMode},
        {"selection mode", [](TCustomCodeEdit& e) { e.SetSelectionMode(smLine); }, scSelection},
    };
    for (const Case& c : cases) {
        TEditorSession s({"text"});
        TStatusLog log(s.editor);
        c.change(s.editor);
        ASSERT_EQ(log.fired.size(), 1u) << c.name;
        EXPECT_EQ(log.fired[0], c.expected) << c.name;
    }
    TEditorSession s({"text"});
    TStatusLog log(s.editor);
    s.editor.SetReadOnly(false);
    s.editor.SetModified(false);
    s.editor.SetInsertMode(true);
    s.editor.SetSelectionMode(smNormal);
    EXPECT_TRUE(log.fired.empty());
}

TEST(CodeEditModel, TabWidthIsKeptWithinOneTo256AndReachesTheBuffer)
{
    TEditorSession s({"\tx"});
    for (const auto& [given, kept] : {std::pair{0, 1}, {5, 5}, {300, 256}}) {
        s.editor.SetTabWidth(given);
        EXPECT_EQ(s.editor.TabWidth(), kept);
        EXPECT_EQ(s.editor.Lines().TabWidth(), kept);
    }
}

TEST(CodeEditModel, InvalidationsWhileTheBufferChangesAreCollectedAndSentOnce)
{
    std::vector<QString> lines(40, QStringLiteral("line"));
    TEditorSession s(QStringList(lines.begin(), lines.end()));
    s.editor.Lines().BeginUpdate();
    s.editor.InvalidateLines(3, 4);
    s.editor.InvalidateGutterLines(6, 6);
    EXPECT_TRUE(s.host.invalidated.empty());
    EXPECT_EQ(s.editor.PendingInvalidRect(), Rect(0, 2 * 16, s.host.clientWidth, 6 * 16));
    s.editor.Lines().EndUpdate();
    ASSERT_FALSE(s.host.invalidated.empty());
    EXPECT_EQ(s.host.invalidated.back(), Rect(0, 2 * 16, s.host.clientWidth, 6 * 16));
    EXPECT_EQ(s.editor.PendingInvalidRect(), TRect{});

    // Lines outside the window are clipped away; -1, -1 is the whole text area.
    s.host.Forget();
    s.editor.InvalidateLines(30, 35);
    EXPECT_TRUE(s.host.invalidated.empty());
    s.editor.InvalidateLines(25, 2);
    EXPECT_EQ(s.host.invalidated.back(), Rect(30, 16, s.host.clientWidth, 21 * 16));
    s.editor.InvalidateAllLines();
    EXPECT_EQ(s.host.invalidated.back(), Rect(30, 0, s.host.clientWidth, s.host.clientHeight));
}

TEST(CodeEditModel, ConstructionRoutesTheBufferAndOptionObjectsToTheControl)
{
    TEditorSession s({"a"});
    // The gutter's change handler applies a new width to the text offset.
    s.editor.Gutter().SetWidth(50);
    EXPECT_EQ(s.editor.GutterWidth(), 50);
    EXPECT_EQ(s.editor.TextOffset(), 52);
    EXPECT_EQ(s.editor.CharsInWindow(), (s.host.clientWidth - 52) / 8);
    // The undo list's records make the control modified and clear the redo list.
    s.editor.RedoList().AddChange(crInsert, {1, 1}, {2, 1}, QString(), smNormal);
    s.editor.UndoList().AddChange(crInsert, {1, 1}, {2, 1}, QString(), smNormal);
    EXPECT_TRUE(s.editor.Modified());
    EXPECT_EQ(s.editor.RedoList().ItemCount(), 0);
    // A font change measures again through the host.
    s.host.metrics = TCodeEditFontMetrics{10, 20, 10, 10};
    s.editor.Font().SetSize(12);
    EXPECT_EQ(s.editor.CharWidth(), 10);
    EXPECT_EQ(s.editor.LineHeight(), 20);
    EXPECT_EQ(s.editor.LinesInWindow(), s.host.clientHeight / 20);
}

TEST(CodeEditModel, ClearAllEmptiesTextMarksAndUndo)
{
    TEditorSession s({"a", "b"});
    auto mark = std::make_unique<TCodeEditMark>(&s.editor);
    mark->SetLine(2);
    s.editor.Marks().Add(std::move(mark));
    s.editor.UndoList().AddChange(crInsert, {1, 1}, {2, 1}, QString(), smNormal);
    s.editor.SetCaretXY({2, 2});
    s.editor.ClearAll();
    EXPECT_EQ(s.editor.LineCount(), 0);
    EXPECT_EQ(s.editor.Marks().Count(), 0);
    EXPECT_FALSE(s.editor.UndoList().CanUndo());
    EXPECT_FALSE(s.editor.Modified());
    EXPECT_EQ(s.editor.CaretXY(), (TTextPoint{1, 1}));
}

TEST(CodeEditModel, EditActionsNeedTheFocus)
{
    TEditorSession s({"abc"});
    bool enabled = false;
    s.host.focused = false;
    EXPECT_FALSE(s.editor.UpdateAction(eaSelectAll, enabled));
    EXPECT_FALSE(s.editor.ExecuteAction(eaSelectAll));
    s.host.focused = true;
    EXPECT_TRUE(s.editor.UpdateAction(eaCopy, enabled));
    EXPECT_FALSE(enabled) << "nothing selected";
    EXPECT_TRUE(s.editor.ExecuteAction(eaSelectAll));
    s.editor.UpdateAction(eaCopy, enabled);
    EXPECT_TRUE(enabled);
    s.editor.UpdateAction(eaPaste, enabled);
    EXPECT_FALSE(enabled) << "empty clipboard";
    EXPECT_TRUE(s.editor.ExecuteAction(eaCopy));
    s.editor.UpdateAction(eaPaste, enabled);
    EXPECT_TRUE(enabled);
    EXPECT_TRUE(s.editor.ExecuteAction(eaDelete));
    EXPECT_EQ(s.Text(), QString());
}

} // namespace
