// The data module's print actions and code insert.
#include "app/shell/DataModuleActions.h"

#include "app/shell/DataModule.h"
#include "app/pages/Editor.h"
#include "app/pages/EditorForm.h"
#include "app/pages/EditorInterfaces.h"

#include "editor/completion/CodeCompletionProposal.h"
#include "editor/widget/CodeEditWidget.h"

namespace {

// The form of the active page; nullptr without one or when its form is gone.
TEditorForm* ActiveForm()
{
    const auto page = std::dynamic_pointer_cast<TEditor>(ActiveEditor);
    return page ? page->Form.data() : nullptr;
}

// The completion list at the caret of the active page, attached to it first.
void ExecCodeInsert()
{
    TEditorForm* active = ActiveForm();
    if (active == nullptr || dm == nullptr) {
        return;
    }
    TEditorForm& form = *active;
    if (dm->CodeAutoComplete->Editor() != &form.CodeEditor()) {
        dm->CodeAutoComplete->SetEditor(&form.CodeEditor());
    }
    form.CodeEditorWidget().setFocus(Qt::OtherFocusReason);
    dm->CodeAutoComplete->ActivateAtCaret(&form.CodeEditor());
}

} // namespace

void TDataModuleActions::AddPrintAndCodeInsertActions()
{
    TActionList& l = actlMain;
    actFilePrint = l.Add("actFilePrint", "&Print...", "Print", {}, 3, false);
    actFilePrint->OnExecute = [](TAction&) {
        if (const std::shared_ptr<IFileActions> page = ActiveFileActions) {
            if (dm != nullptr && dm->ExecutePrinterSetup()) {
                page->ExecPrint();
            }
        }
    };
    actFilePrintPreview = l.Add("actFilePrintPreview", "Print Pre&view", {}, {}, 24, false);
    actFilePrintPreview->OnExecute = [](TAction&) {
        if (const std::shared_ptr<IFileActions> page = ActiveFileActions) {
            page->ExecPrintPreview();
        }
    };
    // One update for both, as the preview can do what printing can.
    const TAction::THandler update = [this](TAction&) {
        const std::shared_ptr<IFileActions> page = ActiveFileActions;
        const bool enabled = page && page->CanPrint();
        actFilePrint->setEnabled(enabled);
        actFilePrintPreview->setEnabled(enabled);
    };
    actFilePrint->OnUpdate = update;
    actFilePrintPreview->OnUpdate = update;

    actCodeInsert = l.Add("actCodeInsert", "Code Insert", "Code Insert", {}, 22, true);
    actCodeInsert->OnExecute = [](TAction&) { ExecCodeInsert(); };
    // Without a page there is no caret to insert at.
    actCodeInsert->OnUpdate = [](TAction& self) { self.setEnabled(ActiveForm() != nullptr); };
}
