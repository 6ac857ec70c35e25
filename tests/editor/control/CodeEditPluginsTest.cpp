#include "../EditorSession.h"
#include "../QtPrinters.h"
#include "editor/control/CodeEditPlugins.h"
#include "editor/highlighting/CodeHighlighterCpp.h"
#include "editor/highlighting/CodeHighlighterPas.h"
#include "editor/highlighting/CodeHighlighterSQL.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// A command hook that logs "name<after>:<command>" and may swallow the command.
struct TLoggingHook {
    std::string name;
    std::string* log;
    bool handles = false;
    void* seenData = nullptr;
    void Hook(TObject*, bool after, bool& handled, TCodeEditorCommand& command, QChar&, const TCodeEditCommandData&,
              void* data)
    {
        *log += name + (after ? "1:" : "0:") + std::to_string(command) + " ";
        seenData = data;
        if (handles && !after) {
            handled = true;
        }
    }
    TCommandHookEvent Event() { return MakeDelegate<&TLoggingHook::Hook>(this); }
};

TEST(CodeEditCommandHooks, CalledInRegistrationOrderWithOneSharedHandled)
{
    TEditorSession s(LinesOf("abc"));
    std::string log;
    TLoggingHook a{"A", &log}, b{"B", &log, true}, c{"C", &log};
    int tag = 0;
    s.editor.RegisterCommandHook(a.Event(), &tag);
    s.editor.RegisterCommandHook(b.Event(), nullptr);
    s.editor.RegisterCommandHook(c.Event(), nullptr);
    s.editor.RegisterCommandHook(a.Event(), nullptr); // the same method again
    s.editor.RegisterCommandHook(TCommandHookEvent(), nullptr);
    ASSERT_EQ(s.editor.CommandHooks().size(), 3u);

    s.Press("Right");
    EXPECT_EQ(log, "A0:2 B0:2 C0:2 A1:0 B1:0 C1:0 ") << "every hook runs; the swallowed command reaches none after";
    EXPECT_EQ(s.State(), "caret 1,1") << "the editor never executed it";
    EXPECT_EQ(a.seenData, &tag);

    log.clear();
    s.editor.UnregisterCommandHook(b.Event());
    s.editor.UnregisterCommandHook(b.Event()); // no longer there: nothing happens
    s.Press("Right");
    EXPECT_EQ(log, "A0:2 C0:2 A1:2 C1:2 ");
    EXPECT_EQ(s.State(), "caret 2,1");
}

TEST(CodeEditCommandHooks, FocusGoesToTheNewestFocusWindow)
{
    TEditorSession s;
    struct TWindow : ICodeEditFocusWindow {
        int focused = 0;
        void SetFocus() override { ++focused; }
    } popup, hint;
    s.editor.AddFocusWindow(&popup);
    s.editor.AddFocusWindow(&hint);
    s.editor.SetFocus();
    s.editor.RemoveFocusWindow(&hint);
    s.editor.RemoveFocusWindow(&popup);
    s.editor.SetFocus();
    EXPECT_EQ(hint.focused, 1) << "the newest window";
    EXPECT_EQ(popup.focused, 0);
    EXPECT_TRUE(s.host.Called("focus"));
}

TEST(CodeEditPluginCommands, CounterGivesBackOnlyTheLastNumberUntilItRunsOut)
{
    TPluginCommandPool pool;
    EXPECT_EQ(pool.Alloc(), 64000);
    EXPECT_EQ(pool.Alloc(), 64001);
    pool.Release(64001);
    EXPECT_EQ(pool.Alloc(), 64001);
    pool.Release(64000); // not the last one: kept back for now
    EXPECT_EQ(pool.Alloc(), 64002);
    pool.Release(1001);  // never a plug-in number
    pool.Release(64500); // never handed out
    while (pool.Next() <= TPluginCommandPool::Last) {
        pool.Alloc();
    }
    EXPECT_EQ(pool.Alloc(), 64000) << "past 65535 the numbers given back are handed out again";
    EXPECT_THROW(pool.Alloc(), ECodeEditError) << "never wraps into the editor's own numbers";
    pool.Release(65535);
    EXPECT_EQ(pool.Alloc(), 65535);
}

// A hooking plug-in as the macro recorder is one: a command bound to Ctrl+Shift+R in
// every editor, and a log of what it sees.
class TTestPlugin : public TAbstractCodeHookerPlugin {
public:
    explicit TTestPlugin(std::string* log, TShortCut key = TextToShortCut("Ctrl+Shift+R"))
        : command(AllocPluginCommand()), shortCut(key), log_(log)
    {
    }
    ~TTestPlugin() override
    {
        RemoveAllEditors();
        ReleasePluginCommand(command);
    }
    void CommandHandler(TObject*, bool after, bool& handled, TCodeEditorCommand& cmd, QChar&,
                        const TCodeEditCommandData&, void* data) override
    {
        if (cmd == command && !after) {
            *log_ += data == this ? "run;" : "run with foreign data;";
            handled = true;
        }
    }
    using TAbstractCodeHookerPlugin::AttachToEditor;

    const TCodeEditorCommand command;
    TShortCut shortCut;

protected:
    void EditorAdded(TCustomCodeEdit* editor) override
    {
        *log_ += "added " + editor->Name() + ";";
        AttachToEditor(editor, command, 0, shortCut);
    }
    void EditorRemoved(TCustomCodeEdit* editor) override
    {
        *log_ += "removed " + editor->Name() + ";";
        DetachFromEditor(editor, command, shortCut);
    }

private:
    std::string* log_;
};

class CodeEditPlugin : public ::testing::Test {
protected:
    CodeEditPlugin()
    {
        first.editor.SetName("first");
        second.editor.SetName("second");
    }
    int Bindings(TCustomCodeEdit& editor, TCodeEditorCommand command)
    {
        int n = 0;
        for (int i = 0; i < editor.Keystrokes().Count(); ++i) {
            n += editor.Keystrokes().Items(i)->Command() == command;
        }
        return n;
    }
    std::string log;
    TEditorSession first{LinesOf("abc")};
    TEditorSession second{LinesOf("abc")};
};

TEST_F(CodeEditPlugin, EditorPropertyReplacesOneEditorButAddsToSeveral)
{
    TTestPlugin plugin(&log);
    plugin.SetEditor(&first.editor);
    plugin.SetEditor(&first.editor);
    EXPECT_EQ(plugin.AddEditor(&first.editor), -1);
    plugin.SetEditor(&second.editor);
    EXPECT_EQ(log, "added first;removed first;added second;");
    EXPECT_EQ(plugin.AddEditor(&first.editor), 1);
    TEditorSession third;
    plugin.SetEditor(&third.editor);
    EXPECT_EQ(plugin.EditorCount(), 3) << "with several attached, setting Editor adds one more";
    EXPECT_EQ(plugin.RemoveEditor(&first.editor), 1);
    EXPECT_EQ(plugin.RemoveEditor(&first.editor), -1);
    EXPECT_EQ(plugin.Editor(), &second.editor);
    log.clear();
}

TEST_F(CodeEditPlugin, ShortcutReachesThePluginThroughItsHookOnly)
{
    TTestPlugin plugin(&log);
    plugin.SetEditor(&first.editor);
    log.clear();
    first.Press("Ctrl+Shift+R");
    second.Press("Ctrl+Shift+R");
    EXPECT_EQ(log, "run;");
    EXPECT_EQ(first.Text(), "abc");

    // Binding again from the old shortcut moves the binding; no second one, no second hook.
    plugin.AttachToEditor(&first.editor, plugin.command, plugin.shortCut, TextToShortCut("Ctrl+Shift+Q"));
    plugin.shortCut = TextToShortCut("Ctrl+Shift+Q");
    EXPECT_EQ(Bindings(first.editor, plugin.command), 1);
    EXPECT_EQ(first.editor.CommandHooks().size(), 1u);
    log.clear();
    first.Press({"Ctrl+Shift+R", "Ctrl+Shift+Q"});
    EXPECT_EQ(log, "run;");

    plugin.SetEditor(nullptr);
    EXPECT_EQ(plugin.EditorCount(), 0) << "Editor := nil with one attached detaches it";
    EXPECT_EQ(Bindings(first.editor, plugin.command), 0);
    EXPECT_TRUE(first.editor.CommandHooks().empty());
}

TEST_F(CodeEditPlugin, ShortcutsAreCheckedAtDesignTimeAndMustNotBeZero)
{
    using ::testing::StartsWith;
    using ::testing::StrEq;
    TTestPlugin plugin(&log);
    EXPECT_THAT([&] { plugin.AttachToEditor(&first.editor, plugin.command, 0, 0); },
                ::testing::ThrowsMessage<EAssertionFailed>(StartsWith("Assertion failure (CodeEditPlugins.cpp")));
    plugin.SetDesigning(true);
    EXPECT_THAT([&] { plugin.AttachToEditor(&first.editor, plugin.command, 0, TextToShortCut("Ctrl+Z")); },
                ::testing::ThrowsMessage<ECodeKeyError>(StrEq("Shortcut already exists")))
        << "Ctrl+Z is bound to undo";
    plugin.AttachToEditor(&first.editor, plugin.command, 0, TextToShortCut("Ctrl+Shift+R"));
    EXPECT_EQ(Bindings(first.editor, plugin.command), 0) << "a designer binds nothing";
    EXPECT_TRUE(first.editor.CommandHooks().empty());

    plugin.SetDesigning(false);
    const int count = first.editor.Keystrokes().Count();
    EXPECT_THROW(plugin.AttachToEditor(&first.editor, plugin.command, 0, TextToShortCut("Ctrl+Z")), ECodeKeyError);
    EXPECT_EQ(first.editor.Keystrokes().Count(), count) << "no binding without a key is left behind";
}

TEST_F(CodeEditPlugin, FreedEditorsAndFreedPluginsLetGoOfEachOther)
{
    auto* plugin = new TTestPlugin(&log);
    {
        TEditorSession gone;
        gone.editor.SetName("gone");
        plugin->AddEditor(&first.editor);
        plugin->AddEditor(&gone.editor);
        plugin->AddEditor(&second.editor);
    }
    EXPECT_EQ(plugin->EditorCount(), 2);
    EXPECT_EQ(log, "added first;added gone;added second;removed gone;");
    log.clear();
    delete plugin;
    EXPECT_EQ(log, "removed first;removed second;");
    EXPECT_TRUE(first.editor.CommandHooks().empty());
    EXPECT_TRUE(second.editor.CommandHooks().empty());
}

TEST(CodeEditPluginHighlighters, OneEntryPerLanguageTheLastComponentWinsSorted)
{
    TComponent owner;
    new TCodeSQLHighlighter(&owner);
    auto* pascal = new TCodePasHighlighter(&owner);
    auto* sqlLast = new TCodeSQLHighlighter(&owner);
    auto* cpp = new TCodeCppHighlighter(&owner);
    new TComponent(&owner);
    std::vector<THighlighterName> list{{QStringLiteral("stale"), nullptr}};
    CollectHighlighters(&owner, list, false);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].highlighter, cpp);
    EXPECT_EQ(list[1].highlighter, pascal);
    EXPECT_EQ(list[2].highlighter, sqlLast) << "sorted by name; of two SQL highlighters the last";

    CollectHighlighters(&owner, list, true);
    EXPECT_EQ(list.size(), 3u) << "appending adds no language twice";
    CollectHighlighters(nullptr, list, false);
    EXPECT_EQ(list.size(), 3u) << "without an owner nothing happens";
}

} // namespace
