#pragma once
// The completion list as components. TCodeBaseCompletionProposal owns the pop-up's model
// and carries the settings; TCodeCompletionProposal binds it to editors through their
// key handler chains and a command hook: its shortcut (Ctrl+Space) opens the list at the
// caret filtered by the word before it, typing filters it, and accepting replaces that
// word by the chosen item, as one undo step.

#include "editor/completion/CodeCompletionForm.h"
#include "platform/core/services/EventLoop.h"

#include <memory>
#include <vector>

class TCodeBaseCompletionProposal : public TComponent {
    KP_CLASS(TCodeBaseCompletionProposal, TComponent)
public:
    explicit TCodeBaseCompletionProposal(TComponent* owner = nullptr);
    ~TCodeBaseCompletionProposal() override;

    TCodeBaseCompletionProposalForm& Form() { return *form_; }
    const TCodeBaseCompletionProposalForm& Form() const { return *form_; }

    CodeCompletionType DefaultType() const { return defaultType_; }
    void SetDefaultType(CodeCompletionType kind) { defaultType_ = kind; }
    TCodeCompletionOptions Options() const { return options_; }
    virtual void SetOptions(TCodeCompletionOptions options);

    // Opens the pop-up of a kind with the filter text at a screen point.
    virtual void Execute(QString filter, int x, int y, CodeCompletionType kind);
    // Told when a list should be cancelled from outside; nothing in the base.
    virtual void CancelNotify() {}
    // The command hook of every attached editor; nothing in the base.
    virtual void HookedEditorCommand(TObject* sender, bool afterProcessing, bool& handled,
                                     TCodeEditorCommand& command, QChar& aChar, const TCodeEditCommandData& data,
                                     void* handlerData);

    // --- the lists ---------------------------------------------------------------------
    const QStringList& ItemList() const { return form_->ItemList(); }
    void SetItemList(const QStringList& items) { form_->SetItemList(items); }
    const QStringList& InsertList() const { return form_->InsertList(); }
    void SetInsertList(const QStringList& items) { form_->SetInsertList(items); }
    void AddItem(const QString& display, const QString& insert) { form_->AddItem(display, insert); }
    void AddItemAt(int where, const QString& display, const QString& insert)
    {
        form_->AddItemAt(where, display, insert);
    }
    void ClearList() { form_->ClearList(); }
    QString DisplayItem(int index) const { return form_->ItemList().value(index); }
    QString InsertItem(int index) const { return form_->InsertList().value(index); }
    void ResetAssignedList() { form_->ResetAssignedList(); }
    int Position() const { return form_->Position(); }
    void SetPosition(int index) { form_->SelectItem(index); }
    int NbLinesInWindow() const { return form_->LinesInWindow(); }
    void SetNbLinesInWindow(int lines) { form_->SetLinesInWindow(lines); }
    int Width() const { return form_->DesiredWidth; }
    void SetWidth(int width) { form_->DesiredWidth = width; }
    const QString& EndOfTokenChr() const { return form_->EndOfTokenChr; }
    void SetEndOfTokenChr(const QString& chars) { form_->EndOfTokenChr = chars; }
    bool IsEndOfTokenChar(QChar c) const { return form_->EndOfTokenChr.contains(c); }
    const QString& TriggerChars() const { return form_->TriggerChars; }
    void SetTriggerChars(const QString& chars) { form_->TriggerChars = chars; }

    TCompletionExecute OnExecute;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TCodeBaseCompletionProposalForm> form_;
    CodeCompletionType defaultType_ = ctCode;
    TCodeCompletionOptions options_;
};

class TCodeCompletionProposal : public TCodeBaseCompletionProposal {
    KP_CLASS(TCodeCompletionProposal, TCodeBaseCompletionProposal)
public:
    explicit TCodeCompletionProposal(TComponent* owner = nullptr);
    ~TCodeCompletionProposal() override;

    // The first attached editor; setting it detaches that one and attaches the new one.
    TCustomCodeEdit* Editor() const { return editors_.empty() ? nullptr : editors_.front(); }
    void SetEditor(TCustomCodeEdit* editor);
    void AddEditor(TCustomCodeEdit* editor);
    bool RemoveEditor(TCustomCodeEdit* editor);
    int EditorsCount() const { return static_cast<int>(editors_.size()); }
    // The index of the editor the list serves, -1 when none.
    int CurrentEditorIndex() const;

    TShortCut ShortCut = ::ShortCut(VK_SPACE, TShiftState(TShiftState::ssCtrl));
    int TimerInterval() const { return timerInterval_; }
    void SetTimerInterval(int ms);
    void SetOptions(TCodeCompletionOptions options) override;

    void Execute(QString filter, int x, int y, CodeCompletionType kind) override;
    // Opens the list at the caret of an attached, writable editor, filtered by the
    // word before the caret.
    virtual void ActivateAtCaret(TCustomCodeEdit* editor);
    // The text before the caret back to a blank, a control character or an
    // end-of-token character; empty when the caret stands beyond the line end + 1.
    QString TokenBeforeCaret(const TCustomCodeEdit* editor) const;
    // Replaces the word before the caret (or the selection) by the selected item.
    void AcceptSelectedItem(TShiftState shift, QChar endToken);
    void CancelNotify() override;
    void HookedEditorCommand(TObject* sender, bool afterProcessing, bool& handled, TCodeEditorCommand& command,
                             QChar& aChar, const TCodeEditCommandData& data, void* handlerData) override;

    // The trigger timer: absent without scoUseBuiltInTimer.
    bool HasTimer() const { return timer_ != nullptr; }
    bool TimerRunning() const { return timer_ && timer_->id != 0; }

    TCodeCompletionEvent OnCodeCompletion;
    TAfterCodeCompletionEvent OnAfterCodeCompletion;
    TCompletionNotify OnCancelled;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    struct TTriggerTimer : TEventTarget {
        explicit TTriggerTimer(TCodeCompletionProposal& owner) : owner(owner) {}
        ~TTriggerTimer() override;
        void HandleEvent(const TLoopEvent&) override { owner.TimerTick(); }
        void Start(int ms);
        void Stop();
        TCodeCompletionProposal& owner;
        TTimerId id = 0;
    };

    void EditorKeyDown(TObject* sender, TVirtualKey& key, TShiftState shift);
    void EditorKeyPress(TObject* sender, QChar& key);
    void ForwardTypedChar(QChar key);
    void Cancelled();
    void TimerTick();
    void StopTimer();
    int IndexOfEditor(const TComponent* editor) const;

    std::vector<TCustomCodeEdit*> editors_;
    std::unique_ptr<TTriggerTimer> timer_;
    int timerInterval_ = 1000;
    bool swallowNextKey_ = false;
};
