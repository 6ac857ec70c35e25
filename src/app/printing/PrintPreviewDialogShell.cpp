// What the print preview dialog asks of the data module.
#include "app/printing/PrintPreviewDialog.h"

#include "app/shell/DataModule.h"

bool TTestPrintPreviewDlg::RunPrinterSetup()
{
    return dm->ExecutePrinterSetup();
}

IPrinter& TTestPrintPreviewDlg::ShellPrinter()
{
    return dm->PlatformPrinter();
}
