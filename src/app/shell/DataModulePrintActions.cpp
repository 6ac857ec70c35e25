// The data module's print actions and code insert.
#include "app/shell/DataModuleActions.h"

#include "app/shell/DataModule.h"
#include "app/pages/Editor.h"
#include "app/pages/EditorForm.h"
#include "app/pages/EditorInterfaces.h"

#include "editor/completion/CodeCompletionProposal.h"
#include "editor/widget/CodeEditWidget.h"

namespace {

// The completion list at the caret of the active page, attached to it first.
void ExecCodeInsert()
{
    const auto page = std::dynamic_pointer_cast<TEditor>(ActiveEditor);
    if (!page || !page->Form || dm == nullptr) {
        return;
    }
    TEditorForm& form = *page->Form;
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
}
