#include "editor/completion/CodeCompletionKeyRoute.h"

TCodeCompletionKeyRoute::TCodeCompletionKeyRoute(TCodeBaseCompletionProposalForm& form) : form_(form) {}

TCodeCompletionKeyRoute::~TCodeCompletionKeyRoute()
{
    Attach(nullptr);
    Destroying();
}

void TCodeCompletionKeyRoute::Attach(TCustomCodeEdit* editor)
{
    if (editor == editor_) {
        return;
    }
    if (editor_) {
        editor_->RemoveKeyDownHandler(MakeDelegate<&TCodeCompletionKeyRoute::KeyDown>(this));
        editor_->RemoveKeyPressHandler(MakeDelegate<&TCodeCompletionKeyRoute::KeyPress>(this));
        RemoveFreeNotification(editor_);
    }
    editor_ = editor;
    listOwnsChar_ = dropChar_ = false;
    if (editor_) {
        editor_->AddKeyDownHandler(MakeDelegate<&TCodeCompletionKeyRoute::KeyDown>(this));
        editor_->AddKeyPressHandler(MakeDelegate<&TCodeCompletionKeyRoute::KeyPress>(this));
        editor_->FreeNotification(this);
    }
}

void TCodeCompletionKeyRoute::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == editor_) {
        editor_ = nullptr;
    }
}

void TCodeCompletionKeyRoute::KeyDown(TObject*, TVirtualKey& key, TShiftState shift)
{
    listOwnsChar_ = dropChar_ = false;
    if (!form_.Visible() || form_.Kind() != ctCode) {
        return;
    }
    TVirtualKey listKey = key;
    form_.KeyDown(listKey, shift);
    dropChar_ = listKey == 0;
    listOwnsChar_ = !dropChar_;
    key = 0;
}

void TCodeCompletionKeyRoute::KeyPress(TObject*, QChar& key)
{
    if (dropChar_) {
        dropChar_ = false;
        key = QChar();
        return;
    }
    if (!listOwnsChar_) {
        return;
    }
    listOwnsChar_ = false;
    QChar typed = key;
    key = QChar();
    if (form_.Visible()) {
        form_.KeyPress(typed);
    }
}
