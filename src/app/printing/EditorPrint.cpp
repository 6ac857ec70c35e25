// An editor page's print and print preview.
#include "app/pages/Editor.h"

#include "app/shell/DataModule.h"
#include "app/pages/EditorForm.h"
#include "app/printing/PrintPreviewDialog.h"
#include "app/printing/PrintSettingsApply.h"

#include "editor/printing/CodeEditPrint.h"
#include "platform/core/services/Printer.h"

bool TEditor::PreparePrint()
{
    if (!Form || dm == nullptr) {
        return false;
    }
    TCodeEditPrint& engine = *dm->CodeEditPrint;
    engine.LoadFromEditor(Form->CodeEditor());
    engine.Title = FileName;
    ApplyPrintSettings(dm->EditorOptions.PrintSettings, engine);
    return true;
}

void TEditor::ExecPrint()
{
    if (PreparePrint()) {
        const TPrinterScope printer(&dm->PlatformPrinter());
        dm->CodeEditPrint->Print();
    }
}

void TEditor::ExecPrintPreview()
{
    if (TestPrintPreviewDlg != nullptr && PreparePrint()) {
        TestPrintPreviewDlg->Execute(*dm->CodeEditPrint);
    }
}
