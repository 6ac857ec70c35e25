#pragma once
// What the shell's tests read of the print preview dialog's control. Kept in a unit of
// its own: the preview's header and the editor control's cannot share one.

class TTestPrintPreviewDlg;

int PreviewPageNumber(TTestPrintPreviewDlg& dialog);
// The pages of the engine the preview shows; 0 without one.
int PreviewPageCount(TTestPrintPreviewDlg& dialog);
int PreviewScalePercent(TTestPrintPreviewDlg& dialog);
bool PreviewShowsWholePage(TTestPrintPreviewDlg& dialog);
// One step down on the page bar, as a click on its arrow.
void PreviewScrollDown(TTestPrintPreviewDlg& dialog);
