#include "app/plugins/PlugInsForm.h"

#include "app/shell/AppPaths.h"
#include "app/shell/DataModule.h"
#include "app/pages/EditorInterfaces.h"
#include "app/pages/EditorPageHost.h"
#include "app/shell/LinkLabel.h"
#include "app/settings/MainSettingsFile.h"
#include "app/plugins/MakerLinks.h"
#include "app/plugins/PlugInFiles.h"
#include "app/plugins/PlugInServices.h"
#include "app/plugins/PlugInsSettings.h"
#include "app/run/PanelSplit.h"

#include "editor/control/CodeEdit.h"
#include "editor/document/CodeEditStringList.h"
#include "editor/highlighting/CodeRuleHighlighter.h"
#include "editor/widget/CodeEditWidget.h"
#include "platform/core/files/IniFile.h"
#include "platform/gui/ActionList.h"
#include "platform/gui/FlowLayout.h"
#include "platform/gui/QtModalForm.h"
#include "platform/gui/ShellOpen.h"
#include "platform/gui/automation/PlugInWebPage.h"

#include <QMenu>
#include <QPushButton>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QSplitter>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

TFPlugIns* FPlugIns = nullptr;

namespace {

const QString Debug = QStringLiteral("debug");

// The buffer's options: auto indent, drag and drop, grouped undo, the caret past the
// line end, the scroll hint, smart tab delete, smart tabs, tab indent, tabs to spaces and
// trimmed trailing blanks.
constexpr TCodeEditorOptions BufferOptions{eoAutoIndent,     eoDragDropEditing, eoGroupUndo, eoScrollPastEol,
                                           eoShowScrollHint, eoSmartTabDelete,  eoSmartTabs, eoTabIndent,
                                           eoTabsToSpaces,   eoTrimTrailingSpaces};

void Log(const QString& text)
{
    if (dm != nullptr) {
        dm->Log(Debug, text);
    }
}

QPushButton* Button(const QString& name, const QString& caption, QWidget* parent, const QString& hint = {})
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TFPlugIns::TFPlugIns(QWidget* parent) : QDialog(parent), HomeAddress(PlugInHomeAddress)
{
    Log(QStringLiteral("PlugIns.FormCreate"));
    setObjectName(QStringLiteral("FPlugIns"));
    setWindowTitle(QStringLiteral("Plug-In Tools"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(988, 585);
    CreatePanels();
    ApplyEditorSettings();
    ReadIniSettings();
}

TFPlugIns::~TFPlugIns()
{
    if (FPlugIns == this) {
        FPlugIns = nullptr;
    }
    // The view and its pages go while the automation object they speak to still is.
    delete WebBrowser;
}

void TFPlugIns::CreatePanels()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(8);
    Splitter1->setChildrenCollapsible(false);
    layout->addWidget(Splitter1);

    PanelForWeb = new QWidget(Splitter1);
    PanelForWeb->setObjectName(QStringLiteral("PanelForWeb"));
    auto* webLayout = new QVBoxLayout(PanelForWeb);
    webLayout->setContentsMargins(0, 0, 0, 0);
    webLayout->setSpacing(0);
    // Both rows of buttons wrap rather than hold the window wider than a small screen.
    Panel5 = new QWidget(PanelForWeb);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setMinimumHeight(55);
    auto* browserButtons = new TFlowLayout(Panel5);
    Button2 = Button(QStringLiteral("Button2"), QStringLiteral("Open"), Panel5);
    Button1 = Button(QStringLiteral("Button1"), QStringLiteral("..."), Panel5);
    Button1->setFixedWidth(28);
    ButtonHome = Button(QStringLiteral("ButtonHome"), QStringLiteral("&Home"), Panel5);
    BitBtn1 = Button(QStringLiteral("BitBtn1"), QStringLiteral("&Refresh"), Panel5);
    Label1 = new TLinkLabel(QStringLiteral("Upload Your Script to the Public Script Library"), Panel5);
    Label1->setObjectName(QStringLiteral("Label1"));
    for (QWidget* control : std::initializer_list<QWidget*>{Button2, Button1, ButtonHome, BitBtn1}) {
        browserButtons->addWidget(control);
    }
    browserButtons->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    browserButtons->addWidget(Label1);
    webLayout->addStretch(1);
    webLayout->addWidget(Panel5);

    PanelGL = new QWidget(Splitter1);
    PanelGL->setObjectName(QStringLiteral("PanelGL"));
    auto* bufferLayout = new QVBoxLayout(PanelGL);
    bufferLayout->setContentsMargins(0, 0, 0, 0);
    CodeEditor = new TCodeEditWidget(PanelGL);
    CodeEditor->setObjectName(QStringLiteral("CodeEditor"));
    bufferLayout->addWidget(CodeEditor, 1);
    Panel4 = new QWidget(PanelGL);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setMinimumHeight(77);
    FBufferButtons = new TFlowLayout(Panel4, true);
    BitBtn2 = Button(QStringLiteral("BitBtn2"), QStringLiteral("Copy "), Panel4, QStringLiteral("Copy Contents to Clipboard"));
    BitBtn3 = Button(QStringLiteral("BitBtn3"), QStringLiteral("Append"), Panel4,
                     QStringLiteral("Append Contents to Current Editor"));
    BitBtn4 = Button(QStringLiteral("BitBtn4"), QStringLiteral("Replace"), Panel4, QStringLiteral("Replace Editor Contents"));
    BitBtn5 = Button(QStringLiteral("BitBtn5"), QStringLiteral("Load In"), Panel4,
                     QStringLiteral("Load Contents from Current Editor"));
    BitBtn6 = Button(QStringLiteral("BitBtn6"), QStringLiteral("Clear"), Panel4);
    BitBtn7 = Button(QStringLiteral("BitBtn7"), QStringLiteral("New Tab"), Panel4);
    for (QWidget* button : {BitBtn2, BitBtn3, BitBtn4, BitBtn5, BitBtn6, BitBtn7}) {
        FBufferButtons->addWidget(button);
    }
    bufferLayout->addWidget(Panel4);
    // The buffer keeps its width when the window grows.
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);

    TCodeEdit& buffer = Buffer();
    buffer.SetFont(TCodeEditFont(QStringLiteral("Courier New"), 10));
    buffer.Gutter().SetShowLineNumbers(true);
    buffer.SetTabWidth(5);
    buffer.SetWantTabs(true);
    buffer.SetOptions(BufferOptions);
    buffer.SetDefaultKeystrokes();

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    for (int i = 0; i < static_cast<int>(MRUItems.size()); ++i) {
        QAction* item = PopupMenu1->addAction(QString::number(i + 1));
        item->setObjectName(QStringLiteral("N") + QString::number(i + 1) + QLatin1Char('1'));
        connect(item, &QAction::triggered, this, [this, i] { RunGuarded([this, i] { MRUItemClick(i); }); });
        MRUItems[static_cast<std::size_t>(i)] = item;
    }

    const auto bind = [this](QPushButton* button, void (TFPlugIns::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); });
    };
    bind(Button2, &TFPlugIns::Button2Click);
    bind(Button1, &TFPlugIns::Button1Click);
    bind(ButtonHome, &TFPlugIns::ButtonHomeClick);
    bind(BitBtn1, &TFPlugIns::BitBtn1Click);
    bind(BitBtn2, &TFPlugIns::BitBtn2Click);
    bind(BitBtn3, &TFPlugIns::BitBtn3Click);
    bind(BitBtn4, &TFPlugIns::BitBtn4Click);
    bind(BitBtn5, &TFPlugIns::BitBtn5Click);
    bind(BitBtn6, &TFPlugIns::BitBtn6Click);
    bind(BitBtn7, &TFPlugIns::BitBtn7Click);
    Label1->OnClick = [this] { Label1Click(); };
}

void TFPlugIns::ApplyEditorSettings()
{
    if (dm == nullptr) {
        return;
    }
    const TEditorSettings& settings = dm->EditorOptions.EditorSettings;
    TCodeEdit& buffer = Buffer();
    buffer.SetColor(settings.MainColor);
    TCodeEditFont font(QString::fromStdString(settings.Font.Name()), settings.Font.Size(), buffer.Font().Style());
    font.SetColor(settings.Font.Color());
    buffer.SetFont(font);
    buffer.SelectedColor().SetForeground(settings.SelectedFG);
    buffer.SelectedColor().SetBackground(settings.SelectedBG);
    buffer.SetOptions(buffer.Options().Set(eoAutoIndent, settings.AutoIndent).Set(eoSmartTabs, settings.SmartTabs));
    buffer.SetTabWidth(settings.TabWidth);
    buffer.Gutter().SetColor(settings.GutterColor);
    buffer.Gutter().SetVisible(settings.GutterVisible);
    buffer.Gutter().SetShowLineNumbers(settings.GutterLineNumbers);
    buffer.SetHighlighter(nullptr);
    buffer.SetHighlighter(dm->CodeRuleHighlighter1);
}

TCodeEdit& TFPlugIns::Buffer()
{
    return CodeEditor->Editor();
}

void TFPlugIns::ReadIniSettings()
{
    Log(QStringLiteral("PlugIns.ReadIniSettings"));
    const TIniFile ini = OpenMainSettings();
    TPlugInsWinSettings settings;
    settings.Load(ini);
    const TPlacedBounds placed = ApplyWindowBounds(*this, settings);
    FPanelGLWidth = FittedPanelWidth(settings.PanelGLWidth, placed.Asked, placed.Fitted);
    if (dm != nullptr) {
        ReadPlugInMRU(ini, dm->MRUPlugins);
    }
}

void TFPlugIns::WriteIniSettings()
{
    Log(QStringLiteral("PlugIns.WriteIniSettings"));
    const TPlugInsWinSettings settings{WindowBoundsOf(*this), PanelGLWidth()};
    UpdateMainSettings([&](TIniFile& ini) {
        settings.Save(ini);
        if (dm != nullptr) {
            WritePlugInMRU(ini, dm->MRUPlugins);
        }
    });
}

int TFPlugIns::PanelGLWidth() const
{
    if (FSizedPanels && PanelGL->isVisible()) {
        return KeptPanelWidth(Splitter1->width() - Splitter1->handleWidth(), PanelGL->width(), BufferLeastWidth(),
                              WebLeastWidth());
    }
    // Not laid out: as read, within the window as it was sized.
    return KeptPanelWidth(width() - Splitter1->handleWidth(), FPanelGLWidth, BufferLeastWidth(), WebLeastWidth());
}

int TFPlugIns::WebLeastWidth() const
{
    return std::max(PanelForWeb->minimumWidth(), PanelForWeb->minimumSizeHint().width());
}

int TFPlugIns::BufferLeastWidth() const
{
    // The buttons at their size hints in two rows of three, as the form has them; the
    // splitter lets the user narrow the buffer further, the buttons wrapping.
    return std::max(PanelGL->minimumSizeHint().width(), FBufferButtons->WidthForRows(2));
}

void TFPlugIns::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!FSizedPanels) {
        FSizedPanels = true;
        // Each side keeps what its buttons need (the splitter folds neither).
        const TPanelWidths w = FitPanel(Splitter1->width() - Splitter1->handleWidth(), FPanelGLWidth,
                                        BufferLeastWidth(), WebLeastWidth());
        Splitter1->setSizes({w.Side, w.Panel});
    }
    RunGuarded([this] { CreateWebBrowser(); });
}

void TFPlugIns::CreateWebBrowser(bool goHome)
{
    Log(QStringLiteral("PlugIns.CreateWebBrowser"));
    if (WebBrowser != nullptr) {
        return;
    }
    // The web view composes in software: with OpenGL it would leave its context current
    // on this thread, over a window that goes with the plug-in window, and the 3D view
    // restores the context that was current before it drew.
    static const bool software = [] {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return true;
    }();
    (void)software;
    WebBrowser = new TPlugInWebView(
        FAutomation, PlugInFolder(),
        [](const QString& message) {
            if (dm != nullptr) {
                dm->Log(QStringLiteral("error"), QStringLiteral("automation: ") + message);
            }
        },
        PanelForWeb);
    WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
    auto* layout = static_cast<QVBoxLayout*>(PanelForWeb->layout());
    // In place of the stretch that kept the buttons at the bottom.
    delete layout->takeAt(0);
    layout->insertWidget(0, WebBrowser, 1);
    connect(WebBrowser, &QWebEngineView::loadFinished, this,
            [this](bool ok) { RunGuarded([this, ok] { BrowserLoadFinished(ok); }); });
    if (goHome) {
        ButtonHomeClick();
    }
}

TModalResult TFPlugIns::ShowModal()
{
    FModal = true;
    return ShowModalDialog(*this, "FPlugIns");
}

void TFPlugIns::done(int result)
{
    if (FModal) {
        FModal = false;
        if (SaveSettingsOnClose) {
            RunGuarded([this] { WriteIniSettings(); });
        }
    }
    QDialog::done(result);
}

TModalResult TFPlugIns::Execute()
{
    return ShowModal();
}

bool TFPlugIns::LoadSimple(const QString& fileName, int width, int height, bool quiet)
{
    Log(QStringLiteral("PlugIns.LoadSimple"));
    const TPlugInPage page = ResolvePlugInPage(fileName);
    if (page.FileName.isEmpty()) {
        if (page.ScriptOnly) {
            if (dm != nullptr) {
                dm->Log(QStringLiteral("error"), QStringLiteral("VBScript plug-in cannot run: ") + fileName);
            }
            if (!quiet) {
                ShowErrorBox("VBScript plug-ins cannot run here. File: " + fileName.toStdString());
            }
        } else if (!quiet) {
            ShowErrorBox("File could not be found. File: " + fileName.toStdString());
        }
        return false;
    }
    if (const QString refusal = PlugInPageRefusal(PlugInTargetUrl(page.FileName)); !refusal.isEmpty()) {
        if (dm != nullptr) {
            dm->Log(QStringLiteral("error"), refusal);
        }
        if (!quiet) {
            ShowErrorBox(refusal.toStdString());
        }
        return false;
    }
    Panel5->hide();
    PanelGL->hide();
    // The page replaces the home page at once, so the browser is not sent home first.
    CreateWebBrowser(false);
    Navigate(page.FileName);
    if (width >= 1 && height >= 1) {
        resize(width, height);
        // As the page asks, no larger than the screen.
        ApplyWindowBounds(*this, TWindowBounds{});
    }
    SaveSettingsOnClose = false;
    ShowModal();
    SaveSettingsOnClose = true;
    return true;
}

void TFPlugIns::OpenPlugIn(const QString& fileName)
{
    if (PlugInOpenKind(fileName) == TPlugInOpen::Navigate) {
        Navigate(fileName);
        return;
    }
    if (!StartPlugInProgram(fileName, AutomationBusName()) && dm != nullptr) {
        dm->Log(QStringLiteral("error"), QStringLiteral("cannot start the plug-in program ") + fileName);
    }
}

void TFPlugIns::Navigate(const QString& target)
{
    const QUrl url = PlugInTargetUrl(target);
    if (const QString refusal = PlugInPageRefusal(url); !refusal.isEmpty()) {
        ShowErrorBox(refusal.toStdString());
        return;
    }
    CreateWebBrowser(false);
    FHomeLoading = false;
    WebBrowser->Navigate(url);
}

void TFPlugIns::BrowserLoadFinished(bool ok)
{
    const bool homeFailed = FHomeLoading && !ok;
    FHomeLoading = false;
    if (homeFailed && !OfflineListingShown && WebBrowser != nullptr) {
        WriteOfflineListing();
    }
}

void TFPlugIns::WriteOfflineListing()
{
    const QString listing = WriteOfflineListingFile(PlugInFolder(), HomeAddress);
    OfflineListingShown = true;
    Navigate(listing);
}

void TFPlugIns::UpdateMRUItems()
{
    for (int i = 0; i < static_cast<int>(MRUItems.size()); ++i) {
        const QString entry = dm != nullptr ? dm->GetMRUPlugin(i) : QString();
        QAction* item = MRUItems[static_cast<std::size_t>(i)];
        item->setText(QString(entry).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setVisible(!entry.isEmpty());
    }
}

void TFPlugIns::Button2Click()
{
    TFileDialogOptions options;
    options.InitialDir = PlugInFolder().toStdString();
    options.Filter = "Scripts and Executables (*.vbs,*.htm,*.html,*.exe)|*.vbs;*.htm;*.html;*.exe|All Files (*.*)|*.*";
    std::vector<std::string> files;
    if (!RunOpenDialog(options, false, files) || files.empty()) {
        return;
    }
    const QString fileName = QString::fromStdString(files.front());
    OpenPlugIn(fileName);
    if (dm != nullptr) {
        dm->AddMRUPlugin(fileName);
    }
}

void TFPlugIns::Button1Click()
{
    UpdateMRUItems();
    PopupMenu1->popup(Button2->mapToGlobal(QPoint(Button2->width() + 4, Button2->height() - 3)));
}

void TFPlugIns::MRUItemClick(int index)
{
    const QString entry = dm != nullptr ? dm->GetMRUPlugin(index) : QString();
    if (entry.isEmpty()) {
        return;
    }
    dm->PromoteMRUPlugin(entry);
    OpenPlugIn(entry);
}

void TFPlugIns::ButtonHomeClick()
{
    OfflineListingShown = false;
    if (WebBrowser != nullptr) {
        WebBrowser->Navigate(QUrl(HomeAddress));
        FHomeLoading = true;
    }
}

void TFPlugIns::BitBtn1Click()
{
    if (WebBrowser != nullptr) {
        WebBrowser->reload();
    }
}

void TFPlugIns::Label1Click()
{
    bool opened = false;
    try {
        opened = ShellOpen(PlugInSubmissionMailUrl());
    } catch (...) {
        opened = false;
    }
    if (!opened) {
        ShowErrorBox("Error opening default mail client.");
    }
}

QStringList TFPlugIns::BufferLines() const
{
    return CodeEditor->Editor().Lines().ToStringList();
}

// Copy needs no pause before it: the clipboard service takes the text at once.
void TFPlugIns::BitBtn2Click()
{
    TCodeEdit& buffer = Buffer();
    buffer.SelectAll();
    buffer.CopyToClipboard();
    buffer.SetSelStart(0);
    buffer.SetSelEnd(0);
}

void TFPlugIns::BitBtn3Click()
{
    if (const std::shared_ptr<IEditor> page = ActiveEditor) {
        page->AppendText(BufferLines());
    }
}

void TFPlugIns::BitBtn4Click()
{
    if (const std::shared_ptr<IEditor> page = ActiveEditor) {
        page->ReplaceAllText(BufferLines());
    }
}

void TFPlugIns::BitBtn5Click()
{
    if (const std::shared_ptr<IEditor> page = ActiveEditor) {
        if (const TCodeEditStringList* lines = page->GetLines()) {
            Buffer().SetLines(*lines);
        }
    }
}

void TFPlugIns::BitBtn6Click()
{
    Buffer().Lines().Clear();
}

void TFPlugIns::BitBtn7Click()
{
    IEditorPageHost* host = EditorPageHost();
    QTabWidget* pageControl = host != nullptr ? host->PageControl() : nullptr;
    if (!EditorFactory || pageControl == nullptr) {
        return;
    }
    const QStringList lines = BufferLines();
    if (const std::shared_ptr<IEditor> page = EditorFactory->CreateTabSheet(pageControl)) {
        page->OpenFile(QString());
        page->AppendText(lines);
    }
}

bool TFPlugIns::BufferShown() const
{
    return !PanelGL->isHidden();
}

void TFPlugIns::SetBufferText(const QString& text)
{
    Buffer().SetText(text);
}

QString TFPlugIns::BufferText() const
{
    return CodeEditor->Editor().GetText();
}

QString TFPlugIns::BufferSelText() const
{
    return CodeEditor->Editor().GetSelText();
}

void TFPlugIns::CloseFromAutomation()
{
    reject();
}
