// What the print preview dialog asks of the data module.
#include "app/PrintPreviewDialog.h"

#include "app/DataModule.h"

bool TTestPrintPreviewDlg::RunPrinterSetup()
{
    return dm->ExecutePrinterSetup();
}

IPrinter& TTestPrintPreviewDlg::ShellPrinter()
{
    return dm->PlatformPrinter();
}
