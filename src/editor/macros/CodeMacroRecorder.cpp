#include "editor/macros/CodeMacroRecorder.h"

#include <string>

TCustomCodeMacroRecorder::TCustomCodeMacroRecorder(TComponent* owner)
    : TAbstractCodeHookerPlugin(owner),
      recordShortCut_(ShortCut('R', ssCtrl | ssShift)),
      playbackShortCut_(ShortCut('P', ssCtrl | ssShift))
{
    recordCommand_ = AllocPluginCommand();
    try {
        playbackCommand_ = AllocPluginCommand();
    } catch (...) {
        ReleasePluginCommand(recordCommand_);
        throw;
    }
}

TCustomCodeMacroRecorder::~TCustomCodeMacroRecorder()
{
    // A recorder on its way out tells nobody that recording stopped.
    OnStateChange = nullptr;
    RemoveAllEditors();
    ReleasePluginCommand(playbackCommand_);
    ReleasePluginCommand(recordCommand_);
}

// --- states --------------------------------------------------------------------------

void TCustomCodeMacroRecorder::SetState(TCodeMacroState state)
{
    state_ = state;
    if (OnStateChange) {
        OnStateChange(this);
    }
}

void TCustomCodeMacroRecorder::RecordMacro(TCustomCodeEdit* editor)
{
    if (state_ != msStopped) {
        throw Exception("Cannot record macro when recording");
    }
    events_ = std::make_shared<TEventList>();
    events_->reserve(InitialCapacity);
    recordedEditor_ = editor;
    SetState(msRecording);
}

void TCustomCodeMacroRecorder::PlaybackMacro(TCustomCodeEdit* editor)
{
    if (state_ != msStopped) {
        throw Exception("Cannot playback macro when recording");
    }
    // The macro as it stands now plays, whatever a replayed command does to it.
    const std::shared_ptr<TEventList> events = events_;
    SetState(msPlaying);
    try {
        if (events && editor) {
            for (const std::unique_ptr<TCodeMacroEvent>& event : *events) {
                event->Playback(*editor);
            }
        }
    } catch (...) {
        if (state_ == msPlaying) {
            SetState(msStopped);
        }
        throw;
    }
    if (state_ == msPlaying) {
        SetState(msStopped);
    }
}

void TCustomCodeMacroRecorder::Pause()
{
    if (state_ != msRecording) {
        throw Exception("Can only pause when recording");
    }
    SetState(msPaused);
}

void TCustomCodeMacroRecorder::Resume()
{
    if (state_ != msPaused) {
        throw Exception("Can only resume when paused");
    }
    SetState(msRecording);
}

void TCustomCodeMacroRecorder::Stop()
{
    if (state_ == msStopped) {
        return;
    }
    recordedEditor_ = nullptr;
    if (events_ && events_->empty()) {
        events_.reset();
    }
    SetState(msStopped);
}

void TCustomCodeMacroRecorder::Clear()
{
    if (state_ == msRecording || state_ == msPaused) {
        events_ = std::make_shared<TEventList>();
    } else {
        events_.reset();
    }
}

TCodeMacroEvent* TCustomCodeMacroRecorder::GetEvent(int index) const
{
    if (index < 0 || index >= GetEventCount()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return (*events_)[static_cast<std::size_t>(index)].get();
}

// --- the command hook --------------------------------------------------------------------

void TCustomCodeMacroRecorder::CommandHandler(TObject* sender, bool afterProcessing, bool& handled,
                                              TCodeEditorCommand& command, QChar& aChar,
                                              const TCodeEditCommandData& data, void*)
{
    HandleCommand(sender, afterProcessing, handled, command, aChar, data);
}

void TCustomCodeMacroRecorder::HandleCommand(TObject* sender, bool afterProcessing, bool& handled,
                                             TCodeEditorCommand command, QChar aChar,
                                             const TCodeEditCommandData& data)
{
    if (afterProcessing) {
        // A command some hook acted on arrives here as ecNone.
        if (state_ == msRecording && command != ecNone && !handled && recordedEditor_ &&
            sender == static_cast<TObject*>(recordedEditor_)) {
            std::unique_ptr<TCodeMacroEvent> event = CreateMacroEvent(command);
            event->Initialize(command, aChar, data);
            // The user-command handler may have stopped the recording meanwhile.
            if (state_ == msRecording && events_) {
                events_->push_back(std::move(event));
            }
        }
        return;
    }
    const bool record = command == recordCommand_;
    if (!record && command != playbackCommand_) {
        return;
    }
    auto* editor = ObjectCast<TCustomCodeEdit>(sender);
    switch (state_) {
    case msStopped:
        if (editor) {
            handled = true;
            record ? RecordMacro(editor) : PlaybackMacro(editor);
        }
        break;
    case msRecording:
        handled = true;
        record ? Stop() : Pause();
        break;
    case msPaused:
        if (!record) {
            handled = true;
            Resume();
        }
        break;
    case msPlaying: break;
    }
}

std::unique_ptr<TCodeMacroEvent> TCustomCodeMacroRecorder::CreateMacroEvent(TCodeEditorCommand command)
{
    if (command >= ecUserFirst && OnUserCommand) {
        std::unique_ptr<TCodeMacroEvent> event;
        OnUserCommand(this, command, event);
        if (event) {
            return event;
        }
    }
    // An input-method string plays back as the characters it typed.
    if (command == ecImeStr) {
        return std::make_unique<TCodeStringEvent>();
    }
    return NewMacroEvent(command);
}

// --- keys in the editors -------------------------------------------------------------------

TShortCut TCustomCodeMacroRecorder::GetShortCut(TCodeMacroShortCut which) const
{
    return which == TCodeMacroShortCut::Record ? recordShortCut_ : playbackShortCut_;
}

TCodeEditorCommand TCustomCodeMacroRecorder::CommandOf(TCodeMacroShortCut which) const
{
    return which == TCodeMacroShortCut::Record ? recordCommand_ : playbackCommand_;
}

void TCustomCodeMacroRecorder::SetShortCut(TCodeMacroShortCut which, TShortCut value)
{
    TShortCut& current = which == TCodeMacroShortCut::Record ? recordShortCut_ : playbackShortCut_;
    if (value == current) {
        return;
    }
    const TCodeEditorCommand command = CommandOf(which);
    for (int i = 0; i < EditorCount(); ++i) {
        TCustomCodeEdit* editor = Editors(i);
        if (value != 0) {
            AttachToEditor(editor, command, current, value);
        } else {
            // Unbinding one key unhooks the editor; the other key must keep working.
            DetachFromEditor(editor, command, current);
            if (!Designing()) {
                editor->RegisterCommandHook(Hook(), this);
            }
        }
    }
    current = value;
}

void TCustomCodeMacroRecorder::EditorAdded(TCustomCodeEdit* editor)
{
    // A key set to 0 binds nothing; the hook still watches, so RecordMacro works.
    if (recordShortCut_ != 0) {
        AttachToEditor(editor, recordCommand_, 0, recordShortCut_);
    }
    if (playbackShortCut_ != 0) {
        AttachToEditor(editor, playbackCommand_, 0, playbackShortCut_);
    }
    if (!Designing()) {
        editor->RegisterCommandHook(Hook(), this);
    }
}

void TCustomCodeMacroRecorder::EditorRemoved(TCustomCodeEdit* editor)
{
    // Recording an editor that goes would leave a pointer to it behind.
    if (editor == recordedEditor_) {
        Stop();
    }
    if (recordShortCut_ != 0) {
        DetachFromEditor(editor, recordCommand_, recordShortCut_);
    }
    if (playbackShortCut_ != 0) {
        DetachFromEditor(editor, playbackCommand_, playbackShortCut_);
    }
    editor->UnregisterCommandHook(Hook());
}
