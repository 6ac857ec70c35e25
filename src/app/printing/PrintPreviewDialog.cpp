#include "app/printing/PrintPreviewDialog.h"

#include "app/settings/EditorOptionsForm.h"
#include "app/printing/PrintPreviewZoom.h"
#include "app/shell/ToolbarImages.h"

#include "editor/printing/CodeEditPrintPreview.h"
#include "editor/widget/CodeEditPrintPreviewWidget.h"
#include "platform/core/services/Printer.h"
#include "platform/gui/QtModalForm.h"

#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPrinterInfo>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TTestPrintPreviewDlg* TestPrintPreviewDlg = nullptr;

void SetActionHint(QAction& action, const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    action.setToolTip(bar < 0 ? hint : hint.left(bar));
    action.setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

TTestPrintPreviewDlg::TTestPrintPreviewDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TestPrintPreviewDlg"));
    setWindowTitle(QStringLiteral("Print Preview"));
    resize(516, 600);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    using K = QKeySequence;
    FirstCmd = AddCommand("FirstCmd", "First|Go to first page", K(Qt::ALT | Qt::Key_F), -1);
    PrevCmd = AddCommand("PrevCmd", "Previous|Go to previous page", K(Qt::ALT | Qt::Key_P), -1);
    NextCmd = AddCommand("NextCmd", "Next|Go to next page", K(Qt::ALT | Qt::Key_N), -1);
    LastCmd = AddCommand("LastCmd", "Last|Go to last page", K(Qt::ALT | Qt::Key_L), -1);
    ZoomCmd = AddCommand("ZoomCmd", "Zoom|Zoom In/Out", K(Qt::ALT | Qt::Key_Z), 24);
    PrintCmd = AddCommand("PrintCmd", "Print|Print the document", K(Qt::CTRL | Qt::Key_P), 3);
    CloseCmd = AddCommand("CloseCmd", "Close|Close Print Preview", K(Qt::ALT | Qt::Key_C), 23);
    actPrinterSetup = AddCommand("actPrinterSetup", "Printer Setup", {}, 3);
    actPrintOptions = AddCommand("actPrintOptions", "Print Options", {}, 42);
    ActionList.SetImages(ToolbarImage);

    CodeEditPrintPreview = new TCodeEditPrintPreviewWidget(this);
    CodeEditPrintPreview->setObjectName(QStringLiteral("CodeEditPrintPreview"));
    TCodeEditPrintPreview& preview = CodeEditPrintPreview->Preview();
    preview.SetScaleMode(pscWholePage);

    FirstCmd->OnExecute = [&preview](TAction&) { preview.FirstPage(); };
    PrevCmd->OnExecute = [&preview](TAction&) { preview.PreviousPage(); };
    NextCmd->OnExecute = [&preview](TAction&) { preview.NextPage(); };
    LastCmd->OnExecute = [&preview](TAction&) { preview.LastPage(); };
    ZoomCmd->OnExecute = [&preview](TAction&) { preview.SetScaleMode(pscWholePage); };
    PrintCmd->OnExecute = [&preview](TAction&) {
        if (RunPrinterSetup()) {
            const TPrinterScope printer(&ShellPrinter());
            preview.Print();
        }
    };
    CloseCmd->OnExecute = [this](TAction&) { reject(); };
    actPrinterSetup->OnExecute = [&preview](TAction&) {
        // The pages follow a new paper or printer.
        if (RunPrinterSetup()) {
            const TPrinterScope printer(&ShellPrinter());
            preview.UpdatePreview();
        }
    };
    actPrintOptions->OnExecute = [&preview](TAction&) {
        if (FEditorOptions != nullptr) {
            FEditorOptions->ExecutePrintOptions();
            const TPrinterScope printer(&ShellPrinter());
            preview.UpdatePreview();
        }
    };

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    ZoomItem("Whole page", -1);
    ZoomItem("Page width", -2);
    PopupMenu1->addSeparator();
    for (const int percent : {25, 50, 100, 200, 400}) {
        ZoomItem(QStringLiteral("%1%").arg(percent).toUtf8().constData(), percent);
    }

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(16, 16));
    // The page commands have no pictures: their buttons show the caption.
    ToolBar1->setToolButtonStyle(Qt::ToolButtonFollowStyle);
    ToolBar1->addActions({FirstCmd, PrevCmd, NextCmd, LastCmd});
    ToolBar1->addSeparator();
    ToolButton3 = new QToolButton(ToolBar1);
    ToolButton3->setObjectName(QStringLiteral("ToolButton3"));
    ToolButton3->setDefaultAction(ZoomCmd);
    ToolButton3->setMenu(PopupMenu1);
    ToolButton3->setPopupMode(QToolButton::MenuButtonPopup);
    ToolBar1->addWidget(ToolButton3);
    ToolBar1->addSeparator();
    ToolBar1->addAction(PrintCmd);
    ToolBar1->addSeparator();
    ToolBar1->addActions({actPrinterSetup, actPrintOptions, CloseCmd});
    layout->addWidget(ToolBar1);
    layout->addWidget(CodeEditPrintPreview, 1);

    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);
    StatusPanel0 = new QLabel(StatusBar);
    StatusPanel0->setObjectName(QStringLiteral("Panel0"));
    StatusPanel0->setFixedWidth(400);
    StatusPanel1 = new QLabel(StatusBar);
    StatusPanel1->setObjectName(QStringLiteral("Panel1"));
    StatusPanel1->setMinimumWidth(100);
    StatusBar->addWidget(StatusPanel0);
    StatusBar->addWidget(StatusPanel1, 1);
    layout->addWidget(StatusBar);

    CodeEditPrintPreview->OnMouseDown = [this](Qt::MouseButton button) {
        RunGuarded([&] { CodeEditPrintPreviewMouseDown(button); });
    };
    preview.OnPreviewPage = [this](TObject*, int page) { CodeEditPrintPreviewPreviewPage(page); };
}

TTestPrintPreviewDlg::~TTestPrintPreviewDlg()
{
    CodeEditPrintPreview->Preview().OnPreviewPage = nullptr;
    if (TestPrintPreviewDlg == this) {
        TestPrintPreviewDlg = nullptr;
    }
}

TAction* TTestPrintPreviewDlg::AddCommand(const char* name, const QString& hint, const QKeySequence& shortcut,
                                          int image)
{
    TAction* action = ActionList.Add(QLatin1String(name), hint.section(QLatin1Char('|'), 0, 0), {}, shortcut, image);
    SetActionHint(*action, hint);
    addAction(action);
    return action;
}

void TTestPrintPreviewDlg::ZoomItem(const char* caption, int tag)
{
    QAction* item = PopupMenu1->addAction(QString::fromUtf8(caption));
    TCodeEditPrintPreview& preview = CodeEditPrintPreview->Preview();
    connect(item, &QAction::triggered, this, [&preview, tag] {
        RunGuarded([&] {
            if (tag == -1) {
                preview.SetScaleMode(pscWholePage);
            } else if (tag == -2) {
                preview.SetScaleMode(pscPageWidth);
            } else {
                preview.SetScalePercent(tag);
            }
        });
    });
}

void TTestPrintPreviewDlg::Execute(TCodeEditPrint& engine)
{
    const TPrinterScope printer(&ShellPrinter());
    CodeEditPrintPreview->Preview().SetCodeEditPrint(&engine);
    FormShow();
    ShowModalDialog(*this, "TestPrintPreviewDlg");
}

void TTestPrintPreviewDlg::FormShow()
{
    TCodeEditPrintPreview& preview = CodeEditPrintPreview->Preview();
    preview.UpdatePreview();
    preview.FirstPage();
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull()) {
        const QString name = printer.printerName();
        SetActionHint(*PrintCmd, "Print (" + name + ")|Print the document on " + name);
    }
}

void TTestPrintPreviewDlg::CodeEditPrintPreviewMouseDown(Qt::MouseButton button)
{
    PreviewMouseZoom(CodeEditPrintPreview->Preview(), button == Qt::LeftButton);
}

void TTestPrintPreviewDlg::CodeEditPrintPreviewPreviewPage(int pageNumber)
{
    StatusPanel1->setText(QStringLiteral(" Page: ") + QString::number(pageNumber));
}

void TTestPrintPreviewDlg::ApplicationEvents1Hint(const QString& hint)
{
    StatusPanel0->setText(QStringLiteral("  ") + hint);
}

bool TTestPrintPreviewDlg::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ApplicationEvents1Hint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}
