#pragma once
// The print preview dialog ("Print Preview"): the page as it will print, through the
// print preview control, with page, zoom and print commands on a tool bar and the hint
// and the page number in a status bar. Made once at start-up (TestPrintPreviewDlg); an
// editor page's print preview prepares the print engine and calls Execute.

#include "platform/gui/ActionList.h"

#include <QDialog>
#include <QString>

class IPrinter;
class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;
class TCodeEditPrint;
class TCodeEditPrintPreviewWidget;

class TTestPrintPreviewDlg : public QDialog {
public:
    explicit TTestPrintPreviewDlg(QWidget* parent = nullptr);
    // Clears TestPrintPreviewDlg when it points here.
    ~TTestPrintPreviewDlg() override;

    // Shows `engine`'s pages modally through the dialog service ("TestPrintPreviewDlg"),
    // the data module's printer installed meanwhile.
    void Execute(TCodeEditPrint& engine);
    // What showing does first: paginates, goes to the first page and names the default
    // printer in the print command's hint.
    void FormShow();

    TActionList ActionList;
    TAction* FirstCmd;
    TAction* PrevCmd;
    TAction* NextCmd;
    TAction* LastCmd;
    TAction* ZoomCmd;
    TAction* PrintCmd;
    TAction* CloseCmd;
    TAction* actPrinterSetup;
    TAction* actPrintOptions;

    QToolBar* ToolBar1;
    QToolButton* ToolButton3; // zoom, with its menu
    QMenu* PopupMenu1;
    QStatusBar* StatusBar;
    QLabel* StatusPanel0; // the hint
    QLabel* StatusPanel1; // the page
    TCodeEditPrintPreviewWidget* CodeEditPrintPreview;

    void CodeEditPrintPreviewMouseDown(Qt::MouseButton button);
    void CodeEditPrintPreviewPreviewPage(int pageNumber);
    // Panel 0: two blanks and the hint.
    void ApplicationEvents1Hint(const QString& hint);

protected:
    bool event(QEvent* event) override;

private:
    // The data module's printer set-up and printer (PrintPreviewDialogShell.cpp: the
    // data module's headers and the preview control's cannot share a unit, both name a
    // scroll code type).
    static bool RunPrinterSetup();
    static IPrinter& ShellPrinter();
    TAction* AddCommand(const char* name, const QString& hint, const QKeySequence& shortcut, int image);
    void ZoomItem(const char* caption, int tag);
};

extern TTestPrintPreviewDlg* TestPrintPreviewDlg;

// A hint "short|long": the short part is the tool tip, the long one the status tip (the
// whole text both when there is no bar).
void SetActionHint(QAction& action, const QString& hint);
