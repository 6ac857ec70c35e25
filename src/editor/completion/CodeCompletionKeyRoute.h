#pragma once
// While a completion list shows, the editor keeps the keyboard focus and hands its keys
// on through its key handler chain: every key-down goes to the list (the editor does
// nothing with it), the character of a key the list did not use goes to the list too,
// and the character of a key the list used is dropped. A key that went down before the
// list opened (the blank of the shortcut) passes on down the chain.

#include "editor/completion/CodeCompletionForm.h"
#include "platform/core/objects/Component.h"

class TCodeCompletionKeyRoute : public TComponent {
    KP_CLASS(TCodeCompletionKeyRoute, TComponent)
public:
    explicit TCodeCompletionKeyRoute(TCodeBaseCompletionProposalForm& form);
    ~TCodeCompletionKeyRoute() override;

    // Links into the editor's chains (leaving the previous editor); nullptr only leaves.
    void Attach(TCustomCodeEdit* editor);
    TCustomCodeEdit* Editor() const { return editor_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void KeyDown(TObject* sender, TVirtualKey& key, TShiftState shift);
    void KeyPress(TObject* sender, QChar& key);

    TCodeBaseCompletionProposalForm& form_;
    TCustomCodeEdit* editor_ = nullptr;
    bool listOwnsChar_ = false;
    bool dropChar_ = false;
};
