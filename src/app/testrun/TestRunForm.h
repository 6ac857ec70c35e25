#pragma once
// The test-run window, "Testing": the programs of the TestRuns folder beside the
// executable in a grid with their status, "Run All Tests" to compare each program's run
// with its result file, "Create Result File" to record the current row's run as its
// result. Made at start-up, shown (modeless) by the main window's Run Tests item.

#include "app/testrun/TestSuite.h"

#include <QStyledItemDelegate>
#include <QWidget>

class QPushButton;
class QTableWidget;
class TMainForm;

// Paints the status column: the status's colour with its text in black at +2, +2.
class TStatusCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class TFTestRun : public QWidget {
public:
    explicit TFTestRun(TMainForm& main);
    // Clears FTestRun when it points here.
    ~TFTestRun() override;

    // Lists the tests of AppDir()/TestRuns, each "waiting..." (not while a run of the
    // list goes), then shows the window in front.
    void FillTestList();
    // Run All Tests; refused while any run goes.
    void ButtonRunClick();
    // Create Result File for the current row; refused while any run goes.
    void BitBtn1Click();
    // The buttons are enabled exactly when no run goes (the main window calls this
    // whenever it updates its actions).
    void UpdateButtons();
    // Run All or Create Result File is going.
    bool Busy() const { return FBusy; }
    const TTestSuite& Suite() const { return FSuite; }
    // The text of a cell; row 0 is the first row below the header.
    QString CellText(int row, int column) const;

    QTableWidget* Grid;
    QPushButton* ButtonRun;
    QPushButton* BitBtn1;

private:
    TTestRunHooks Hooks();
    // One row per test, the "#" column wide enough for the largest number.
    void ShowRows();
    void ShowStatus(int row);
    // Runs `command` as the one run of the program: the main window's run actions held
    // off, Stop and the close question heard.
    void RunExclusive(const std::function<void()>& command);

    TMainForm& FMain;
    TTestSuite FSuite;
    bool FBusy = false;
    bool FStopRequested = false;
};

// The one test-run window, made by the program's main block; nullptr before and after.
extern TFTestRun* FTestRun;
