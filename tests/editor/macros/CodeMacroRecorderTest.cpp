#include "../EditorScriptSteps.h"
#include "editor/macros/CodeMacroRecorder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// A page: an editor with the recorder attached, and the recorder's states as it
// reported them ("1 0 2 0": recording, stopped, playing, stopped).
struct TRecordedPage {
    explicit TRecordedPage(const char* lines) : session(LinesOf(lines))
    {
        recorder.OnStateChange = [this](TObject*) { states += std::to_string(recorder.State()) + " "; };
        recorder.SetEditor(&session.editor);
    }
    void Run(const char* script) { RunScript(session, script); }
    // The events' text forms, separated by "; ".
    std::string Events() const
    {
        std::string s;
        for (int i = 0; i < recorder.GetEventCount(); ++i) {
            s += (i ? "; " : "") + recorder.GetEvent(i)->TextForm().toStdString();
        }
        return s;
    }

    TEditorSession session;
    TCodeMacroRecorder recorder;
    std::string states;
};

TEST(CodeMacroRecorder, RecordsTypedCharactersAndPlaysThemBackElsewhere)
{
    TRecordedPage page("abc|def");
    page.Run("Ctrl+Shift+R Ctrl+Shift+R");
    EXPECT_FALSE(page.recorder.HasEventList()) << "a recording without commands leaves no list";
    page.Run("Ctrl+Shift+P");
    EXPECT_EQ(page.session.Text(), "abc|def");
    page.Run("Ctrl+Shift+R 'xyz Ctrl+Shift+R @1,2 Ctrl+Shift+P");
    EXPECT_EQ(page.session.Text(), "xyzabc|xyzdef");
    EXPECT_EQ(page.Events(), "ecChar x; ecChar y; ecChar z") << "the keys themselves are never recorded";
    EXPECT_EQ(page.states, "1 0 2 0 1 0 2 0 ");
}

TEST(CodeMacroRecorder, ThePlaybackKeyPausesAndResumesTheRecordKeyWaitsMeanwhile)
{
    TRecordedPage page("");
    page.Run("Ctrl+Shift+R 'a Ctrl+Shift+P 'b Ctrl+Shift+R");
    EXPECT_EQ(page.recorder.State(), msPaused);
    page.Run("Ctrl+Shift+P 'c Ctrl+Shift+R");
    EXPECT_EQ(page.Events(), "ecChar a; ecChar c");
    EXPECT_EQ(page.states, "1 3 1 0 ");
    EXPECT_EQ(page.session.Text(), "abc");
}

TEST(CodeMacroRecorder, CaretClicksBookmarksAndInputMethodTextPlayBack)
{
    TRecordedPage page("abcdef|ghijkl");
    page.Run("Ctrl+Shift+R");
    page.session.ClickAt(3, 1);
    page.Run("Ctrl+Shift+1 ime=xy Ctrl+Shift+R");
    EXPECT_EQ(page.Events(), "ecGotoXY (3, 1); ecSetMarker1 (3, 1); ecString 'xy'");
    page.session.editor.ClearBookMark(1);
    page.Run("@1,2 Ctrl+Shift+P");
    EXPECT_EQ(page.session.Text(), "abxyxycdef|ghijkl");
    EXPECT_EQ(page.session.State(), "caret 5,1");
    const TCodeEditMark* mark = page.session.editor.BookMark(1);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(TEditorSession::Point({mark->Column(), mark->Line()}), "3,1");
}

// A user command whose event fails when it plays.
class TFailingEvent : public TCodeBasicEvent {
public:
    void Playback(TCustomCodeEdit&) override { throw Exception("cannot play"); }
};

TEST(CodeMacroRecorder, UserCommandsMayBringTheirOwnEventAndAFailureStillStops)
{
    TRecordedPage page("");
    page.recorder.OnUserCommand = [](TObject*, TCodeEditorCommand command, std::unique_ptr<TCodeMacroEvent>& event) {
        if (command == 2000) {
            event = std::make_unique<TFailingEvent>();
        }
    };
    page.Run("Ctrl+Shift+R cmd=1500 cmd=2000 'a Ctrl+Shift+R");
    EXPECT_EQ(page.Events(), "1500; 2000; ecChar a") << "the supplied event was given its command";
    EXPECT_THROW(page.recorder.PlaybackMacro(&page.session.editor), Exception);
    EXPECT_EQ(page.recorder.State(), msStopped);
    EXPECT_EQ(page.states, "1 0 2 0 ");
    EXPECT_EQ(page.session.Text(), "a") << "what came after the failure did not play";
}

TEST(CodeMacroRecorder, OperationsInTheWrongStateRaiseAndChangeNothing)
{
    TRecordedPage page("");
    TCustomCodeMacroRecorder& r = page.recorder;
    TCustomCodeEdit* e = &page.session.editor;
    const auto raises = [&r](const std::function<void()>& operation, const char* message) {
        const TCodeMacroState before = r.State();
        try {
            operation();
            ADD_FAILURE() << message;
        } catch (const Exception& x) {
            EXPECT_EQ(x.Message(), message);
        }
        EXPECT_EQ(r.State(), before) << message;
    };
    raises([&] { r.Pause(); }, "Can only pause when recording");
    raises([&] { r.Resume(); }, "Can only resume when paused");
    page.Run("Ctrl+Shift+R");
    raises([&] { r.PlaybackMacro(e); }, "Cannot playback macro when recording");
    page.Run("Ctrl+Shift+P");
    raises([&] { r.RecordMacro(e); }, "Cannot record macro when recording");
    EXPECT_EQ(page.states, "1 3 ");
}

TEST(CodeMacroRecorder, TwoPagesDoNotSeeEachOthersCommands)
{
    TRecordedPage one("");
    TRecordedPage two("");
    one.Run("Ctrl+Shift+R 'ab");
    two.Run("'cd Ctrl+Shift+P");
    one.Run("Ctrl+Shift+R");
    EXPECT_EQ(one.Events(), "ecChar a; ecChar b");
    EXPECT_EQ(two.states, "2 0 ") << "page two played its own empty macro";
    EXPECT_EQ(two.session.Text(), "cd");
}

TEST(CodeMacroRecorder, DestructionUnbindsTheKeysAndGivesTheCommandsBack)
{
    TEditorSession s({""});
    const int bindings = s.editor.Keystrokes().Count();
    TCodeEditorCommand first = ecNone;
    {
        TCodeMacroRecorder recorder;
        recorder.SetEditor(&s.editor);
        first = recorder.RecordCommand();
        EXPECT_EQ(recorder.PlaybackCommand(), first + 1);
        EXPECT_EQ(s.editor.Keystrokes().Count(), bindings + 2);
        RunScript(s, "Ctrl+Shift+R 'a");
    }
    EXPECT_EQ(s.editor.Keystrokes().Count(), bindings);
    EXPECT_TRUE(s.editor.CommandHooks().empty());
    const TCodeEditorCommand next = AllocPluginCommand();
    ReleasePluginCommand(next);
    EXPECT_EQ(next, first) << "both numbers came back";
}

TEST(CodeMacroRecorder, KeysRebindAndAKeySetToNoneLeavesTheOtherWorking)
{
    TRecordedPage page("");
    page.recorder.SetRecordShortCut(TextToShortCut("Ctrl+Shift+M"));
    page.recorder.SetPlaybackShortCut(0);
    page.Run("Ctrl+Shift+M 'q Ctrl+Shift+M");
    EXPECT_EQ(page.Events(), "ecChar q");
    page.recorder.SetRecordShortCut(0);
    page.recorder.SetPlaybackShortCut(TextToShortCut("Ctrl+Shift+K"));
    page.Run("Ctrl+Shift+K");
    EXPECT_EQ(page.session.Text(), "qq");

    TEditorSession other({""}); // both keys off: the hook still records
    page.recorder.AddEditor(&other.editor);
    page.recorder.RecordMacro(&other.editor);
    RunScript(other, "'z");
    EXPECT_EQ(page.Events(), "ecChar z");
}

TEST(CodeMacroRecorder, AnEditorThatGoesStopsItsRecordingAndAClearDuringPlaybackIsSafe)
{
    TRecordedPage page("");
    {
        TEditorSession other({""});
        page.recorder.AddEditor(&other.editor);
        page.recorder.RecordMacro(&other.editor);
    }
    EXPECT_EQ(page.recorder.State(), msStopped);
    EXPECT_EQ(page.recorder.RecordedEditor(), nullptr);

    page.Run("Ctrl+Shift+R 'ab Ctrl+Shift+R");
    page.recorder.OnStateChange = [&page](TObject*) {
        if (page.recorder.State() == msPlaying) {
            page.recorder.Clear();
        }
    };
    page.Run("Ctrl+Shift+P");
    EXPECT_EQ(page.session.Text(), "abab") << "the macro as it stood played whole";
    EXPECT_FALSE(page.recorder.HasEventList());
}

} // namespace
