#include "PrintPreviewProbe.h"

#include "app/printing/PrintPreviewDialog.h"

#include "editor/printing/CodeEditPrint.h"
#include "editor/widget/CodeEditPrintPreviewWidget.h"

namespace {
TCodeEditPrintPreview& Preview(TTestPrintPreviewDlg& dialog)
{
    return dialog.CodeEditPrintPreview->Preview();
}
} // namespace

int PreviewPageNumber(TTestPrintPreviewDlg& dialog)
{
    return Preview(dialog).PageNumber();
}

int PreviewPageCount(TTestPrintPreviewDlg& dialog)
{
    TCodeEditPrint* engine = Preview(dialog).CodeEditPrint();
    return engine != nullptr ? engine->PageCount() : 0;
}

int PreviewScalePercent(TTestPrintPreviewDlg& dialog)
{
    return Preview(dialog).ScalePercent();
}

bool PreviewShowsWholePage(TTestPrintPreviewDlg& dialog)
{
    return Preview(dialog).ScaleMode() == pscWholePage;
}

void PreviewScrollDown(TTestPrintPreviewDlg& dialog)
{
    Preview(dialog).VerticalScroll(TPreviewScrollCode::LineDown, 0);
}
