// The main window's construction and destruction: actions, menus, the page control with
// the variables list, the status bar, the settings it applies and writes back.
#include "app/shell/MainForm.h"

#include "app/shell/DataModule.h"
#include "app/pages/EditorFactory.h"
#include "app/pages/EditorInterfaces.h"
#include "app/settings/EditorOptionsForm.h"
#include "app/settings/HighlightRulesFile.h"
#include "app/pages/PageControl.h"
#include "app/settings/MainSettingsFile.h"
#include "app/settings/ShellSettings.h"
#include "app/shell/ToolbarImages.h"
#include "app/shell/VariablesList.h"

#include "app/plugins/AboutBox.h"
#include "app/shell/AppPaths.h"
#include "app/plugins/HelpForm.h"
#include "app/plugins/PlugInServices.h"
#include "app/shell/MenuLinkStyle.h"
#include "app/run/PanelSplit.h"
#include "app/run/PreviewPanel.h"
#include "app/testrun/QuickviewForm.h"
#include "app/testrun/TestRunForm.h"

#include "scene/objects/lines/LinesGroup.h"

#include "platform/core/Assert.h"
#include "platform/core/services/DialogService.h"
#include "platform/core/services/EventLoop.h"
#include "platform/core/files/Registry.h"
#include "platform/gui/ShellOpen.h"
#include "scene/objects/text/FontManager.h"

#include <QCheckBox>
#include <QPushButton>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>

#include <algorithm>

namespace {
const QString Debug = QStringLiteral("debug");

// The Help menu's pages of the machine's maker.
constexpr const char* WebSiteAddress = "https://www.shopbottools.com";
constexpr const char* ForumAddress = "https://www.talkshopbot.com";

// Widths of the status bar's panels; the last takes what is left.
constexpr int PanelWidths[TMainForm::StatusPanelCount] = {84, 72, 85, 225, 50};
// The bit's position.
constexpr int PositionPanel = 3;

template <class I>
bool Has(const std::shared_ptr<I>& global)
{
    return static_cast<bool>(global);
}
} // namespace

TMainForm::TMainForm(const TMainFormOptions& options)
{
    if (dm == nullptr) {
        kerfpad_detail::FailAssertion("Assertion failure", "frmMain", __LINE__);
    }
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Kerfpad"));
    // The size the window asks for before the settings give it its last one; it is
    // fitted to the screen like stored bounds (ApplySettings).
    resize(DefaultMainWidth, DefaultMainHeight);
    CreateCentralArea(options);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    ConnectPreview();

    dm->Engine.SetOnRunFile([this](const std::string& name) { RunFileByName(QString::fromStdString(name)); });
    dm->SetOnRunFileResults([this](const QString& name) { return RunFileForResults(name); });
    setAcceptDrops(true);
    QuietRun = false;
    dm->Log(Debug, QStringLiteral("assigning MRU files"));
    ReadIniSettings(*dm, Settings);
    ReadCodeHigh(*dm, OpenMainSettings());
    ApplySettings();
    ReadGLSettings();
    ReadCommands(*dm, CommandHints);
    SetRegistry();
    FirstActivate = true;
    dm->Log(Debug, QStringLiteral("TCalcul.Create"));
    dm->Log(Debug, QStringLiteral("TMove.Create"));
    Move = std::make_unique<TMove>(dm->Engine, Calcul, *this, Scene->DummyLines, Scene->DummyClamps,
                                   &Scene->CollisionManager1);
    StartViews();
    Paused = true;
    dm->Log(Debug, QStringLiteral("Before Cadencer enabled"));
    Scene->GLCadencer1.SetEnabled(false);
    RunTests1->setVisible(QFileInfo(QDir(AppDir()).filePath(QStringLiteral("TestRuns"))).isDir());

    FPreviousHost = SetEditorPageHost(this);
    if (IEventLoop* loop = GetEventLoop()) {
        loop->SetIdleHandler([this](bool&) { UpdateAllActions(true); });
    }
}

TMainForm::~TMainForm()
{
    KP_ASSERT(FRunDepth == 0);
    if (IEventLoop* loop = GetEventLoop()) {
        loop->SetIdleHandler(nullptr);
    }
    if (EditorFactory) {
        EditorFactory->CloseAll();
    }
    FillSettings();
    try {
        WriteIniSettings(*dm, Settings);
    } catch (...) {
        ReportHandlerError(ExceptionMessage(std::current_exception()));
    }
    // The pages go with the page control; until then they may still ask their host.
    delete pctrlMain;
    SetEditorPageHost(FPreviousHost);
    dm->Engine.SetOnRunFile(nullptr);
    dm->SetOnRunFileResults(nullptr);
    // The simulator frees its paths while the scene they hang in still stands; the
    // fonts of the axis labels go while the viewer's context still does.
    Move.reset();
    ReleaseFontManager();
    delete PanelGL;
    PanelGL = nullptr;
    GLWorldViewer1 = nullptr;
    Scene.reset();
}

void TMainForm::CreateCentralArea(const TMainFormOptions& options)
{
    MainSplitter = new QSplitter(Qt::Horizontal, this);
    MainSplitter->setObjectName(QStringLiteral("MainSplitter"));
    EditorSplitter = new QSplitter(Qt::Vertical, MainSplitter);
    EditorSplitter->setObjectName(QStringLiteral("EditorSplitter"));
    pctrlMain = new TPageControl(EditorSplitter);
    pctrlMain->OnChanging = [this] { return pctrlMainChanging(); };
    auto* variablesList = new TVariablesListBox(EditorSplitter);
    // A copied row gives the variables as they are now, whole: changed since the list
    // last showed them, it shows them first, and the row at the same place is copied.
    variablesList->CurrentRowEntry = [this]() -> std::optional<std::string> {
        const int row = lbVariables->currentRow();
        ShowVariables(Calcul.GetVariables());
        return FVariablesView.RowEntry(Calcul.GetVariables(), row);
    };
    lbVariables = variablesList;
    lbVariables->setObjectName(QStringLiteral("lbVariables"));
    // Every row is one line high (VariablesListItem), so the list lays them out without
    // measuring each: measuring 100,000 rows at every pass of events took longer than
    // the run itself.
    lbVariables->setUniformItemSizes(true);
    EditorSplitter->setStretchFactor(0, 4);
    EditorSplitter->setStretchFactor(1, 1);
    EditorSplitter->setSizes({560, 120});

    const QString board = FindAppFile(QStringLiteral("board.jpg"));
    Scene = std::make_unique<TPreviewScene>(board.toStdString());
    if (!Scene->TextureError.empty()) {
        dm->Log(QStringLiteral("error"), QString::fromStdString("table texture: " + Scene->TextureError));
    }
    PanelGL = new TPreviewPanel(*Scene, options.WithViewer, MainSplitter);
    GLWorldViewer1 = PanelGL->GLWorldViewer1;
    // Enlarge Preview folds the editor as far as Enlarge Editor folds the preview, to the
    // width of the button bar; a width read from the settings leaves it its least width.
    EditorSplitter->setMinimumWidth(PanelGL->minimumWidth());
    // A window made wider or narrower widens or narrows the editor: the preview keeps its
    // width, maximised or not, from start to start.
    MainSplitter->setStretchFactor(0, 1);
    MainSplitter->setStretchFactor(1, 0);
    MainSplitter->setSizes({600, 600});
    setCentralWidget(MainSplitter);
    // The page that becomes current is the target of the actions.
    connect(pctrlMain, &QTabWidget::currentChanged, this, [this](int index) {
        if (auto* sheet = dynamic_cast<TEditorTabSheet*>(pctrlMain->widget(index)); sheet && sheet->Form()) {
            sheet->Form()->SetActiveEditor(true);
        }
    });
}

void TMainForm::CreateActions()
{
    using K = QKeySequence;
    TActionList& l = actlStandard;
    actFileNew = l.Add("actFileNew", "&New", "New File", K(Qt::CTRL | Qt::Key_N), 0);
    actFileNew->OnExecute = [this](TAction&) { actFileNewExecute(); };
    actFileNew->OnUpdate = [this](TAction& a) { a.setEnabled(Has(EditorFactory) && !Running); };
    actFileOpen = l.Add("actFileOpen", "&Open...", "Open File", K(Qt::CTRL | Qt::Key_O), 1);
    actFileOpen->OnExecute = [this](TAction&) { actFileOpenExecute(); };
    actFileOpen->OnUpdate = actFileNew->OnUpdate;
    actFileCloseAll = l.Add("actFileCloseAll", "Close All Fi&les", "Close All", K(Qt::SHIFT | Qt::CTRL | Qt::Key_F4));
    actFileCloseAll->OnExecute = [this](TAction&) { actFileCloseAllExecute(); };
    actFileCloseAll->OnUpdate = [](TAction& a) { a.setEnabled(EditorFactory && EditorFactory->GetEditorCount() > 0); };
    actFileExit = l.Add("actFileExit", "E&xit", "Exit", K(Qt::ALT | Qt::Key_F4));
    actFileExit->OnExecute = [this](TAction&) { close(); };

    actViewStatusbar = l.Add("actViewStatusbar", "&Status Bar");
    actViewStatusbar->setCheckable(true);
    actViewStatusbar->OnExecute = [this](TAction&) { statusBar()->setHidden(!statusBar()->isHidden()); };
    actViewStatusbar->OnUpdate = [this](TAction& a) { a.setChecked(!statusBar()->isHidden()); };
    actUpdateStatusBarPanels = l.Add("actUpdateStatusBarPanels", QString());
    actUpdateStatusBarPanels->OnUpdate = [this](TAction& a) {
        actUpdateStatusBarPanelsUpdate();
        a.setEnabled(true);
    };
    actViewVars = l.Add("actViewVars", "&Variables");
    actViewVars->setCheckable(true);
    actViewVars->OnExecute = [this](TAction&) { lbVariables->setHidden(!lbVariables->isHidden()); };
    actViewVars->OnUpdate = [this](TAction& a) { a.setChecked(!lbVariables->isHidden()); };
    actEditorReadOnly = l.Add("actEditorReadOnly", QString());
    actEditorReadOnly->OnUpdate = [this](TAction&) {
        if (const std::shared_ptr<IEditor> page = ActiveEditor) {
            page->SetReadOnly(Running);
        }
    };

    const auto withPage = [](TAction& a) { a.setEnabled(Has(ActiveEditor)); };
    const auto withSelection = [](TAction& a) { a.setEnabled(ActiveEditActions && ActiveEditActions->CanCopy()); };
    const auto onPage = [](void (IEditor::*call)()) {
        return [call](TAction&) {
            if (const std::shared_ptr<IEditor> page = ActiveEditor) {
                (page.get()->*call)();
            }
        };
    };
    actToggleBP = l.Add("actToggleBP", "Toggle Breakpoint", {}, {}, 37);
    actToggleBP->OnExecute = onPage(&IEditor::ToggleBreakpoint);
    actToggleBP->OnUpdate = withPage;
    actClearBP = l.Add("actClearBP", "Clear Breakpoints", {}, {}, 38);
    actClearBP->OnExecute = onPage(&IEditor::ClearBreakpoints);
    actClearBP->OnUpdate = withPage;
    actCommentBlock = l.Add("actCommentBlock", "Comment Block", {}, K(Qt::CTRL | Qt::ALT | Qt::Key_C), 40);
    actCommentBlock->OnExecute = onPage(&IEditor::CommentBlock);
    actCommentBlock->OnUpdate = withSelection;
    actUnCommentBlock = l.Add("actUnCommentBlock", "Un-Comment Block", {}, K(Qt::CTRL | Qt::ALT | Qt::Key_U), 41);
    actUnCommentBlock->OnExecute = onPage(&IEditor::UnCommentBlock);
    actUnCommentBlock->OnUpdate = withSelection;
    CreateRunActions();
    CreateViewActions();
    actEditorOptions = l.Add("actEditorOptions", "Editor Options", {}, K(Qt::Key_F6), 42);
    actEditorOptions->OnExecute = [](TAction&) {
        if (FEditorOptions != nullptr) {
            FEditorOptions->Execute();
        }
    };
    actQuickView = l.Add("actQuickView", "&Quick View", {}, {}, 44);
    actQuickView->OnExecute = [](TAction&) {
        if (FQuickview != nullptr) {
            FQuickview->show();
            FQuickview->raise();
            FQuickview->activateWindow();
        }
    };
    actPlugins = l.Add("actPlugins", "Plug-In Tools", "Plug-In Tools", K(Qt::Key_F8), 25);
    actPlugins->OnExecute = [](TAction&) { ExecutePlugInsWindow(); };
    actHelp = l.Add("actHelp", "Help Topics...", "Help Topics", K(Qt::Key_F1), 26);
    actHelp->OnExecute = [](TAction&) { ExecuteHelpWindow(); };
    l.SetImages(ToolbarImage);

    // Shortcuts of actions that no menu holds work through the window.
    for (const auto& action : actlStandard.Actions()) {
        addAction(action.get());
    }
    for (const auto& action : dm->Actions.actlMain.Actions()) {
        addAction(action.get());
    }
}

void TMainForm::CreateMenus()
{
    const TDataModuleActions& a = dm->Actions;
    mFile = menuBar()->addMenu(QStringLiteral("&File"));
    mFile->setObjectName(QStringLiteral("mFile"));
    mFile->addActions({actFileNew, actFileOpen, actQuickView});
    mRecentFiles = mFile->addMenu(QStringLiteral("&Recent Files"));
    mRecentFiles->setObjectName(QStringLiteral("mRecentFiles"));
    for (int k = 1; k <= static_cast<int>(MRUItems.size()); ++k) {
        QAction* item = mRecentFiles->addAction(QStringLiteral("[MRU%1]").arg(k));
        item->setObjectName(QStringLiteral("miFileMRU%1").arg(k));
        connect(item, &QAction::triggered, this, [this, k] { RunGuarded([this, k] { OnOpenMRUFile(k); }); });
        MRUItems[static_cast<std::size_t>(k - 1)] = item;
    }
    mFile->addSeparator();
    mFile->addActions({a.actFileSave, a.actFileSaveAs, a.actFileClose, actFileCloseAll});
    mFile->addSeparator();
    mFile->addActions({a.actFilePrint, a.actFilePrintPreview});
    PrintSetup1 = mFile->addAction(QStringLiteral("Print Set&up..."));
    connect(PrintSetup1, &QAction::triggered, this, [this] { RunGuarded([this] { PrintSetup1Click(); }); });
    mFile->addSeparator();
    mFile->addAction(actFileExit);
    connect(mFile, &QMenu::aboutToShow, this, [this] { mFileClick(); });
    connect(mRecentFiles, &QMenu::aboutToShow, this, [this] { mRecentFilesClick(); });

    mEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mEdit->setObjectName(QStringLiteral("mEdit"));
    mEdit->addActions({a.actEditUndo, a.actEditRedo});
    mEdit->addSeparator();
    mEdit->addActions({a.actEditCut, a.actEditCopy, a.actEditPaste, a.actEditDelete, a.actEditSelectAll});
    mEdit->addSeparator();
    mEdit->addActions({a.actSearchFind, a.actSearchFindNext, a.actSearchFindPrev, a.actSearchReplace});
    mEdit->addSeparator();
    mEdit->addActions({a.actIndent, a.actUnIndent});
    mEdit->addSeparator();
    mEdit->addActions({actCommentBlock, actUnCommentBlock});
    connect(mEdit, &QMenu::aboutToShow, this, [this] { UpdateAllActions(true); });

    mView = menuBar()->addMenu(QStringLiteral("&View"));
    mView->setObjectName(QStringLiteral("mView"));
    mView->addActions({actViewStatusbar, actViewVars});
    connect(mView, &QMenu::aboutToShow, this, [this] { UpdateAllActions(false); });

    mRun = menuBar()->addMenu(QStringLiteral("&Run"));
    mRun->setObjectName(QStringLiteral("mRun"));
    mRun->addActions({actRun, actPause, actStepBack, actStep, actStop});
    mRun->addSeparator();
    SuppressAllMessages1 = mRun->addAction(QStringLiteral("Suppress All Messages"));
    SuppressAllMessages1->setObjectName(QStringLiteral("SuppressAllMessages1"));
    SuppressAllMessages1->setCheckable(true);
    SuppressAllMessages1->setChecked(true);
    connect(mRun, &QMenu::aboutToShow, this, [this] { UpdateAllActions(false); });

    mTools = menuBar()->addMenu(QStringLiteral("&Tools"));
    mTools->setObjectName(QStringLiteral("mTools"));
    mTools->addActions({actEditorOptions, actPreviewOptions, actPlugins});

    mHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mHelp->setObjectName(QStringLiteral("mHelp"));
    mHelp->addAction(actHelp);
    mHelp->addSeparator();
    QAction* tips = mHelp->addAction(QStringLiteral("Tips"));
    tips->setObjectName(QStringLiteral("actTips"));
    connect(tips, &QAction::triggered, this, [] { RunGuarded([] { dm->Tips1.Execute(); }); });
    mHelp->addSeparator();
    QStringList linkCaptions;
    for (const auto& [caption, address] : {std::pair{"Shobot\u00AE - Website", WebSiteAddress},
                                           std::pair{"Shopbot\u00AE - Forum", ForumAddress}}) {
        QAction* item = mHelp->addAction(QString::fromUtf8(caption));
        linkCaptions << item->text();
        const QString url = QLatin1String(address);
        connect(item, &QAction::triggered, this, [url] {
            RunGuarded([url] {
                if (!ShellOpen(url)) {
                    ShowErrorBox("Could not open web browser to " + url.toStdString());
                }
            });
        });
    }
    auto* links = new TMenuLinkStyle(linkCaptions);
    links->setParent(mHelp);
    mHelp->setStyle(links);
    mHelp->addSeparator();
    QAction* about = mHelp->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("About1"));
    connect(about, &QAction::triggered, this, [] { RunGuarded([] { ExecuteAboutBox(); }); });
    RunTests1 = mHelp->addAction(QStringLiteral("&Run Tests"));
    RunTests1->setObjectName(QStringLiteral("RunTests1"));
    connect(RunTests1, &QAction::triggered, this, [] {
        RunGuarded([] {
            if (FTestRun != nullptr) {
                FTestRun->FillTestList();
            }
        });
    });

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    PopupMenu2->addActions({a.actFileSave, a.actFileClose});
    CloseAllb1 = PopupMenu2->addAction(QStringLiteral("Close &All But This"));
    connect(CloseAllb1, &QAction::triggered, this, [this] { RunGuarded([this] { CloseAllb1Click(); }); });
    PopupMenu2->addSeparator();
    OpeningContainingFolder1 = PopupMenu2->addAction(QStringLiteral("&Opening Containing Folder"));
    connect(OpeningContainingFolder1, &QAction::triggered, this,
            [this] { RunGuarded([this] { OpeningContainingFolder1Click(); }); });
    connect(PopupMenu2, &QMenu::aboutToShow, this, [this] { UpdateAllActions(true); });
    pctrlMain->PopupMenu = PopupMenu2;
}

void TMainForm::CreateToolBar()
{
    const TDataModuleActions& a = dm->Actions;
    StandardToolBar = addToolBar(QStringLiteral("Standard"));
    StandardToolBar->setObjectName(QStringLiteral("StandardToolBar"));
    StandardToolBar->setMovable(false);
    StandardToolBar->setIconSize(QSize(16, 16));
    StandardToolBar->addActions({actFileNew, actFileOpen, actQuickView, a.actFileSave});
    StandardToolBar->addSeparator();
    StandardToolBar->addActions({a.actFilePrint, a.actFilePrintPreview});
    StandardToolBar->addSeparator();
    StandardToolBar->addActions({a.actEditCut, a.actEditCopy, a.actEditPaste, a.actEditUndo});
    StandardToolBar->addSeparator();
    StandardToolBar->addActions({a.actSearchFind, a.actSearchFindNext, a.actSearchFindPrev, a.actSearchReplace});
    StandardToolBar->addSeparator();
    StandardToolBar->addActions({actCommentBlock, actUnCommentBlock, a.actIndent, a.actUnIndent});
    StandardToolBar->addSeparator();
    StandardToolBar->addActions({a.actCodeInsert, actPlugins});
    StandardToolBar->addSeparator();
    StandardToolBar->addActions({actRun, actPause, actStepBack, actStep, actStop});
    StandardToolBar->addSeparator();
    StandardToolBar->addActions({actToggleBP, actClearBP});
    StandardToolBar->addSeparator();
    StandardToolBar->addAction(actHelp);
}

void TMainForm::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    for (int i = 0; i < StatusPanelCount; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setMinimumWidth(PanelWidths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        if (i < 3) {
            panel->setAlignment(Qt::AlignCenter);
        }
        const bool last = i == StatusPanelCount - 1;
        if (i == PositionPanel) {
            // The 225 pixels fitted another font: the panel holds five-digit coordinates
            // in its own, and widens for longer ones while the bar has room.
            const QString sample = Tdm::StatusPositionText(-12345.6789, -12345.6789, -12345.6789);
            const QFontMetrics metrics = panel->fontMetrics();
            const int textWidth = metrics.horizontalAdvance(sample) + metrics.averageCharWidth();
            panel->setMinimumWidth(std::max(PanelWidths[i], textWidth + 2 * panel->frameWidth()));
        } else if (!last) {
            panel->setFixedWidth(PanelWidths[i]);
        }
        bar->addWidget(panel, last ? 1 : 0);
        FPanels[static_cast<std::size_t>(i)] = panel;
    }
}

QString TMainForm::StatusPanelText(int panel) const
{
    return FPanels.at(static_cast<std::size_t>(panel))->text();
}

void TMainForm::UpdateAllActions(bool withDataModule)
{
    actlStandard.UpdateAll();
    // Clear would free paths a line of the run may still be adding to.
    PanelGL->BitBtn11->setEnabled(!Running);
    // The test-run and quick-view windows start runs of their own.
    if (FTestRun != nullptr) {
        FTestRun->UpdateButtons();
    }
    if (FQuickview != nullptr) {
        FQuickview->UpdateButtons();
    }
    if (withDataModule && dm != nullptr) {
        dm->Actions.actlMain.UpdateAll();
    }
}

void TMainForm::ApplySettings()
{
    const TPlacedBounds placed = ApplyWindowBounds(*this, Settings);
    statusBar()->setHidden(!Settings.ViewStatusbar);
    lbVariables->setHidden(!Settings.ViewVariables);
    SuppressAllMessages1->setChecked(Settings.SuppressAllMessages);
    PanelGL->cbSim->setChecked(Settings.GLSimulate);
    PanelGL->cboJogsVisible->setChecked(Settings.GLJogsVisible);
    PanelGL->cbWireframe->setChecked(Settings.ShowWireFramebit);
    PanelGL->tbSpeed->setValue(Settings.GLDisplaySpeed);
    PanelGL->UpDownSpeed->setValue(Settings.GLPosRotSpeed);
    // Applied once the window has its size, no narrower than the preview's controls need;
    // the splitter keeps it as the window takes its final size (maximised by the window
    // manager).
    FWantedPanelGLWidth = FittedPanelWidth(Settings.PanelGLWidth, placed.Asked, placed.Fitted);
}

void TMainForm::FillSettings()
{
    static_cast<TWindowBounds&>(Settings) = WindowBoundsOf(*this);
    Settings.ViewStatusbar = !statusBar()->isHidden();
    Settings.ViewVariables = !lbVariables->isHidden();
    Settings.SuppressAllMessages = SuppressAllMessages1->isChecked();
    Settings.GLSimulate = PanelGL->cbSim->isChecked();
    Settings.GLJogsVisible = PanelGL->cboJogsVisible->isChecked();
    Settings.ShowWireFramebit = PanelGL->cbWireframe->isChecked();
    Settings.GLDisplaySpeed = PanelGL->tbSpeed->value();
    Settings.GLPosRotSpeed = PanelGL->UpDownSpeed->value();
    Settings.GLFollowBit = PanelGL->cbFollowBit->isChecked();
    // A fold of either side lasts this session only; a window never laid out keeps the
    // width it read, as it would have shown in the window as sized.
    const int previewLeast = PanelGL->LeastWidth();
    const int editorLeast = EditorSplitter->minimumSizeHint().width();
    if (FLaidOut) {
        const QList<int> sizes = MainSplitter->sizes();
        Settings.PanelGLWidth = KeptPanelWidth(sizes.value(0) + sizes.value(1), sizes.value(1), previewLeast, editorLeast);
    } else {
        Settings.PanelGLWidth = KeptPanelWidth(width() - MainSplitter->handleWidth(), FWantedPanelGLWidth, previewLeast,
                                               editorLeast);
    }
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (FCloseConfirmed && !RunOnStack()) {
        AcceptClose(event);
        return;
    }
    dm->Log(Debug, QStringLiteral("FormCloseQuery"));
    // A question that cannot be asked keeps the window: no page closes unasked.
    bool canClose = false;
    RunGuarded([&] { canClose = !EditorFactory || EditorFactory->CanCloseAll(); });
    if (canClose && (Running || RunOnStack())) {
        const TModalResult answer = MessageDlg("Cancel preview and Exit?", TMsgDlgType::mtConfirmation,
                                               mbYes | mbNo | mbCancel);
        if (answer == TModalResult::mrYes) {
            // The run unwinds first; the window closes from the event loop after it.
            Running = false;
            FCloseConfirmed = true;
            QueueCloseAfterRun();
        }
        canClose = false;
    }
    if (canClose) {
        AcceptClose(event);
    } else {
        event->ignore();
    }
}

void TMainForm::AcceptClose(QCloseEvent* event)
{
    event->accept();
    if (OnClosed) {
        OnClosed();
    }
}

void TMainForm::QueueCloseAfterRun()
{
    QTimer::singleShot(0, this, [this] {
        if (RunOnStack()) {
            QueueCloseAfterRun();
            return;
        }
        close();
    });
}

bool TMainForm::event(QEvent* event)
{
    // Hints show as tool tips only: no status tip, from an action, a menu or any other
    // control of the window, reaches the status bar, where it would hide the panels.
    if (event->type() == QEvent::StatusTip) {
        return true;
    }
    if (event->type() == QEvent::WindowActivate) {
        RunGuarded([this] { FormActivate(); });
    }
    return QMainWindow::event(event);
}

void TMainForm::FormActivate()
{
    dm->Log(Debug, QStringLiteral("TMainForm.FormActivate"));
    if (FirstActivate && dm->Tips1.ShowOnStartup) {
        FirstActivate = false;
        dm->Tips1.Execute();
    }
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void TMainForm::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    RunGuarded([&] {
        for (const QUrl& url : urls) {
            if (url.isLocalFile()) {
                DoOpenFile(url.toLocalFile());
            }
        }
    });
}

void TMainForm::SetRegistry()
{
    dm->Log(Debug, QStringLiteral("SetRegistry"));
    static const char* const Categories[] = {
        "\\CLSID\\{C938A13C-86A6-49E6-B728-5B7C9C1A93B5}\\Implemented Categories\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}",
        "\\CLSID\\{C938A13C-86A6-49E6-B728-5B7C9C1A93B5}\\Implemented Categories\\{7DD95802-9882-11CF-9FA9-00AA006C42C4}"};
    try {
        TRegistry registry;
        registry.SetRootKey(TRegistryRoot::ClassesRoot);
        for (const char* key : Categories) {
            if (!registry.OpenKey(key, true)) {
                throw ERegistryException(std::string("Cannot create the key ") + key);
            }
        }
        GetRegistryStore().Flush();
    } catch (const std::exception&) {
        ShowErrorBox("Error trying to set registry for ActiveX control.");
        dm->Log(QStringLiteral("error"), QStringLiteral("trying to set the registry"));
    }
}
