#pragma once
// The keyboard macro recorder: a hooking plug-in that binds a record key and a
// playback key in every attached editor. Recording turns every command the recorded
// editor executes into a macro event; playback gives the events back to an editor as
// typed commands. The keys drive the states:
//   stopped:   record key records, playback key plays the macro
//   recording: playback key pauses, record key stops
//   paused:    playback key resumes (commands meanwhile are not recorded)
//   playing:   nothing, so the replayed commands are never recorded

#include "editor/control/CodeEditPlugins.h"
#include "editor/macros/CodeMacroEvents.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

enum TCodeMacroState : std::uint8_t { msStopped, msRecording, msPlaying, msPaused };

enum class TCodeMacroShortCut : std::uint8_t { Record, Playback };

// Called for commands from ecUserFirst on while recording: the handler may put an
// event of its own in `event` (it arrives empty); the recorder initialises and keeps it.
using TCodeUserCommandEvent =
    std::function<void(TObject* sender, TCodeEditorCommand command, std::unique_ptr<TCodeMacroEvent>& event)>;

class TCustomCodeMacroRecorder : public TAbstractCodeHookerPlugin {
    KP_CLASS(TCustomCodeMacroRecorder, TAbstractCodeHookerPlugin)
public:
    static constexpr int InitialCapacity = 512;

    // Takes the record command, then the playback command.
    explicit TCustomCodeMacroRecorder(TComponent* owner = nullptr);
    // Detaches every editor and gives back the playback command, then the record command.
    ~TCustomCodeMacroRecorder() override;

    // "Cannot record macro when recording" unless stopped. Frees the previous macro.
    void RecordMacro(TCustomCodeEdit* editor);
    // "Cannot playback macro when recording" unless stopped. Stopped again however
    // playback ends.
    void PlaybackMacro(TCustomCodeEdit* editor);
    // "Can only pause when recording".
    void Pause();
    // "Can only resume when paused".
    void Resume();
    // Forgets the recorded editor; keeps the events, or no list when none was recorded.
    void Stop();
    // Frees the events (a recording goes on with an empty list).
    void Clear();

    TCodeMacroState State() const { return state_; }
    int GetEventCount() const { return events_ ? static_cast<int>(events_->size()) : 0; }
    // EListError outside 0..count - 1.
    TCodeMacroEvent* GetEvent(int index) const;
    // False until a recording starts, and after one stopped without a command.
    bool HasEventList() const { return events_ != nullptr; }
    // The editor being recorded, nullptr when none.
    TCustomCodeEdit* RecordedEditor() const { return recordedEditor_; }
    const QString& MacroName() const { return macroName_; }
    void SetMacroName(const QString& name) { macroName_ = name; }

    TCodeEditorCommand RecordCommand() const { return recordCommand_; }
    TCodeEditorCommand PlaybackCommand() const { return playbackCommand_; }

    void CommandHandler(TObject* sender, bool afterProcessing, bool& handled, TCodeEditorCommand& command,
                        QChar& aChar, const TCodeEditCommandData& data, void* handlerData) override;

    TEditorNotifyEvent OnStateChange;
    TCodeUserCommandEvent OnUserCommand;

protected:
    // The hook, before and after each command of an attached editor.
    virtual void HandleCommand(TObject* sender, bool afterProcessing, bool& handled, TCodeEditorCommand command,
                               QChar aChar, const TCodeEditCommandData& data);
    virtual std::unique_ptr<TCodeMacroEvent> CreateMacroEvent(TCodeEditorCommand command);
    TShortCut GetShortCut(TCodeMacroShortCut which) const;
    // Re-binds the key in every attached editor; 0 unbinds it (the other key stays).
    void SetShortCut(TCodeMacroShortCut which, TShortCut value);
    void EditorAdded(TCustomCodeEdit* editor) override;
    void EditorRemoved(TCustomCodeEdit* editor) override;

private:
    // Shared with a running playback, so that freeing the macro meanwhile (a replayed
    // command may stop and restart recording) cannot pull the events from under it.
    using TEventList = std::vector<std::unique_ptr<TCodeMacroEvent>>;

    void SetState(TCodeMacroState state);
    TCodeEditorCommand CommandOf(TCodeMacroShortCut which) const;

    TShortCut recordShortCut_;
    TShortCut playbackShortCut_;
    TCodeEditorCommand recordCommand_ = ecNone;
    TCodeEditorCommand playbackCommand_ = ecNone;
    QString macroName_ = QStringLiteral("unnamed");
    TCustomCodeEdit* recordedEditor_ = nullptr;
    TCodeMacroState state_ = msStopped;
    std::shared_ptr<TEventList> events_;
};

// The recorder as pages carry it: Ctrl+Shift+R records, Ctrl+Shift+P plays back.
class TCodeMacroRecorder : public TCustomCodeMacroRecorder {
    KP_CLASS(TCodeMacroRecorder, TCustomCodeMacroRecorder)
public:
    using TCustomCodeMacroRecorder::TCustomCodeMacroRecorder;

    TShortCut RecordShortCut() const { return GetShortCut(TCodeMacroShortCut::Record); }
    void SetRecordShortCut(TShortCut value) { SetShortCut(TCodeMacroShortCut::Record, value); }
    TShortCut PlaybackShortCut() const { return GetShortCut(TCodeMacroShortCut::Playback); }
    void SetPlaybackShortCut(TShortCut value) { SetShortCut(TCodeMacroShortCut::Playback, value); }
};
