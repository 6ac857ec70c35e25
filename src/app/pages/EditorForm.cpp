// The editor page's form: the control as the page sets it up, its popup menu, closing,
// activation, captions and saving.
#include "app/pages/EditorForm.h"

#include "app/shell/DataModule.h"
#include "app/pages/Editor.h"
#include "app/pages/EditorFactory.h"
#include "app/pages/EditorPageHost.h"
#include "app/pages/GutterGlyphs.h"
#include "app/pages/PageControl.h"

#include "editor/painting/CodeBookmarkGlyphs.h"
#include "editor/completion/CodeCompletionProposal.h"
#include "editor/painting/CodeImageList.h"
#include "editor/macros/CodeMacroRecorder.h"
#include "editor/highlighting/CodeRuleHighlighter.h"
#include "editor/widget/CodeEditWidget.h"
#include "engine/ParsedLine.h"
#include "platform/core/services/DialogService.h"
#include "platform/core/services/EventLoop.h"
#include "platform/gui/ActionList.h"
#include "platform/gui/Beep.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The options of a page's control: auto indent, drag and drop, dropped files, grouped
// undo, the caret past the line end, the scroll hint, smart tab delete, smart tabs, tab
// indent, tabs to spaces and trimmed trailing blanks.
constexpr TCodeEditorOptions PageOptions{
    eoAutoIndent,     eoDragDropEditing, eoDropFiles, eoGroupUndo,    eoScrollPastEol,     eoShowScrollHint,
    eoSmartTabDelete, eoSmartTabs,       eoTabIndent, eoTabsToSpaces, eoTrimTrailingSpaces};

void Unbind(TCodeEditKeyStrokes& strokes, TVirtualKey key, TShiftState shift)
{
    const int index = strokes.FindKeycode(key, shift);
    if (index >= 0) {
        strokes.Delete(index);
    }
}

// The bookmark pictures of the popup's items, from the control's own glyph strip.
QIcon BookmarkIcon(int number)
{
    static const QImage strip = [] {
        const std::unique_ptr<TBitmap> glyphs = MakeBookmarkGlyphStrip();
        return QImage(glyphs->ScanLine(0), glyphs->Width(), glyphs->Height(), glyphs->BytesPerLine(),
                      QImage::Format_ARGB32)
            .copy();
    }();
    return QIcon(QPixmap::fromImage(
        strip.copy(number * BookmarkGlyphWidth, 0, BookmarkGlyphWidth, BookmarkGlyphHeight)));
}

// Draws the breakpoint and run-line glyphs into the gutter after the control painted.
class TGutterGlyphPainter : public TCodeEditPlugin {
public:
    explicit TGutterGlyphPainter(TEditorForm& form) : FForm(form) {}
    void AfterPaint(TCanvas& canvas, const TRect&, int firstLine, int lastLine) override
    {
        const TCodeEdit& editor = FForm.CodeEditor();
        const IEditorPageHost* host = EditorPageHost();
        const bool stepping = host != nullptr && host->RunStepMode();
        const int height = editor.LineHeight();
        for (int line = firstLine; line <= lastLine; ++line) {
            const int y = (line - editor.TopLine()) * height + (height - GutterGlyphSize) / 2;
            if (FForm.IsBreakpointAt(line)) {
                FForm.imglGutterGlyphs().Draw(canvas, GutterGlyphLeft, y, GutterGlyphBreakpoint);
            }
            if (stepping && line == FForm.RunLine) {
                FForm.imglGutterGlyphs().Draw(canvas, GutterGlyphLeft, y, GutterGlyphRunLine);
            }
        }
    }
    void LinesInserted(int, int) override {}
    void LinesDeleted(int, int) override {}

private:
    TEditorForm& FForm;
};

} // namespace

TEditorForm* TEditorForm::Create(TKind kind, QWidget* parent)
{
    auto* form = new TEditorForm(kind, parent);
    form->FEditor = std::make_shared<TEditor>(form);
    return form;
}

TEditorForm::TEditorForm(TKind kind, QWidget* parent) : QWidget(parent), Kind(kind)
{
    setObjectName(QStringLiteral("EditorForm"));
    setWindowTitle(QStringLiteral("Editor"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    FCodeEditor = new TCodeEditWidget(this);
    FCodeEditor->setObjectName(QStringLiteral("CodeEditor"));
    layout->addWidget(FCodeEditor);
    FGutterGlyphs = MakeGutterGlyphs();
    SetUpControl();
    try {
        FMacroRecorder = std::make_unique<TCodeMacroRecorder>();
    } catch (const ECodeEditError&) {
        // Every page's recorder takes two of the program's 1,536 plug-in command numbers;
        // only open pages hold them, so closing some makes room again.
        throw Exception("Too many pages are open. Close some pages to open another one.");
    }
    FMacroRecorder->SetName("CodeMacroRecorder1");
    FMacroRecorder->AddEditor(&CodeEditor());
    SetUpPopup();
    ConnectControl();
    FViewport = FCodeEditor->viewport();
    FCodeEditor->installEventFilter(this);
    FViewport->installEventFilter(this);
}

TEditorForm::~TEditorForm()
{
    if (FHandCursor) {
        QApplication::restoreOverrideCursor();
    }
    // The control goes first, so none of its events reaches a form half gone; its
    // events while it goes are none of the form's business.
    FCodeEditor->removeEventFilter(this);
    FViewport->removeEventFilter(this);
    FMacroRecorder.reset();
    delete FCodeEditor;
    FCodeEditor = nullptr;
    Detach();
}

void TEditorForm::Detach()
{
    if (!FEditor) {
        return;
    }
    FEditor->Form = nullptr;
    const std::shared_ptr<IEditor> page = FEditor->Interfaces().Editor;
    if (EditorFactory) {
        EditorFactory->RemoveEditor(page);
    }
    DeactivateEditorPage(page);
}

TCodeEdit& TEditorForm::CodeEditor()
{
    return FCodeEditor->Editor();
}

void TEditorForm::SetUpControl()
{
    TCodeEdit& editor = CodeEditor();
    editor.SetColor(clWhite);
    editor.SetFont(TCodeEditFont(QStringLiteral("Courier New"), 10));
    editor.Gutter().SetFont(TCodeEditFont(QStringLiteral("Terminal"), 8));
    editor.Gutter().SetShowLineNumbers(true);
    editor.SetTabWidth(5);
    editor.SetWantTabs(true);
    editor.SetMaxLeftChar(256);
    editor.SetOptions(PageOptions);
    editor.SetDefaultKeystrokes();
    // Shift+Backspace, Shift+Enter and Ctrl+F1 do nothing on a page.
    Unbind(editor.Keystrokes(), VK_BACK, ssShift);
    Unbind(editor.Keystrokes(), VK_RETURN, ssShift);
    Unbind(editor.Keystrokes(), VK_F1, ssCtrl);
    editor.AddPlugin(std::make_unique<TGutterGlyphPainter>(*this));
}

void TEditorForm::SetUpPopup()
{
    // Its items but the bookmarks are the main menu's own actions, so each does what its
    // twin does and shows the same state.
    pmnuEditor = new QMenu(this);
    pmnuEditor->setObjectName(QStringLiteral("pmnuEditor"));
    if (dm != nullptr) {
        TDataModuleActions& a = dm->Actions;
        pmnuEditor->addAction(a.actFileClose);
        pmnuEditor->addSeparator();
        pmnuEditor->addAction(a.actCodeInsert);
        pmnuEditor->addSeparator();
        pmnuEditor->addActions({a.actEditUndo, a.actEditRedo});
        pmnuEditor->addSeparator();
        pmnuEditor->addActions({a.actEditCut, a.actEditCopy, a.actEditPaste, a.actEditDelete});
        pmnuEditor->addSeparator();
        pmnuEditor->addAction(a.actEditSelectAll);
        pmnuEditor->addSeparator();
        connect(pmnuEditor, &QMenu::aboutToShow, this, [] {
            if (dm != nullptr) {
                dm->Actions.actlMain.UpdateAll();
            }
        });
    }
    QMenu* toggle = pmnuEditor->addMenu(QStringLiteral("Toggle Bookmarks"));
    QMenu* go = pmnuEditor->addMenu(QStringLiteral("Goto Bookmarks"));
    for (int n = 0; n < BookmarkGlyphCount; ++n) {
        QAction* set = toggle->addAction(BookmarkIcon(n), QStringLiteral("Bookmark"));
        set->setObjectName(QStringLiteral("tb%1").arg(n));
        connect(set, &QAction::triggered, this, [this, n] { RunGuarded([this, n] { ToggleBookmark(n); }); });
        QAction* jump = go->addAction(BookmarkIcon(n), QStringLiteral("Bookmark"));
        jump->setObjectName(QStringLiteral("gb%1").arg(n));
        connect(jump, &QAction::triggered, this, [this, n] { RunGuarded([this, n] { GotoBookmark(n); }); });
    }
    if (IEditorPageHost* host = EditorPageHost()) {
        if (const QList<QAction*> options = host->OptionsActions(); !options.isEmpty()) {
            pmnuEditor->addSeparator();
            pmnuEditor->addActions(options);
        }
    }
    FCodeEditor->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FCodeEditor, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmnuEditor->popup(FCodeEditor->mapToGlobal(at)); });
}

// --- activation ------------------------------------------------------------------------

void TEditorForm::DoActivate()
{
    if (Kind == kMDIChild) {
        show();
        raise();
    } else if (auto* sheet = dynamic_cast<TEditorTabSheet*>(parentWidget()); sheet && Kind == kTabSheet) {
        sheet->PageControl().setCurrentWidget(sheet);
    }
    FCodeEditor->setFocus(Qt::OtherFocusReason);
}

void TEditorForm::SetActiveEditor(bool active)
{
    if (!FEditor) {
        return;
    }
    if (active) {
        ActivateEditorPage(FEditor->Interfaces());
    } else {
        DeactivateEditorPage(FEditor->Interfaces().Editor);
    }
}

bool TEditorForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FCodeEditor && event->type() == QEvent::FocusIn) {
        // The code insert list serves the page being entered.
        if (dm != nullptr && dm->CodeAutoComplete->Editor() != &CodeEditor()) {
            dm->CodeAutoComplete->SetEditor(&CodeEditor());
        }
        SetActiveEditor(true);
    } else if (watched == FCodeEditor && event->type() == QEvent::FocusOut) {
        SetActiveEditor(false);
    } else if (watched == FCodeEditor && event->type() == QEvent::KeyPress &&
               PassPageKey(*static_cast<QKeyEvent*>(event))) {
        return true;
    } else if (watched == FViewport && event->type() == QEvent::Leave && FHandCursor) {
        FHandCursor = false;
        QApplication::restoreOverrideCursor();
    }
    return QWidget::eventFilter(watched, event);
}

bool TEditorForm::PassPageKey(const QKeyEvent& key)
{
    auto* sheet = dynamic_cast<TEditorTabSheet*>(parentWidget());
    if (Kind != kTabSheet || sheet == nullptr || PageKeyStep(key) == 0) {
        return false;
    }
    QKeyEvent pageKey(key.type(), key.key(), key.modifiers(), key.nativeScanCode(), key.nativeVirtualKey(),
                      key.nativeModifiers(), key.text(), key.isAutoRepeat(), key.count());
    QCoreApplication::sendEvent(&sheet->PageControl(), &pageKey);
    return pageKey.isAccepted();
}

// --- closing ---------------------------------------------------------------------------

void TEditorForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    RunGuarded([this] {
        if (!FClosing && DoAskSaveChanges()) {
            FinishClose(true);
        }
    });
}

void TEditorForm::CloseWithoutQuestion(bool keepInRecentFiles)
{
    if (!FClosing) {
        FinishClose(keepInRecentFiles);
    }
}

void TEditorForm::FinishClose(bool keepInRecentFiles)
{
    FClosing = true;
    // The file goes on the recent list and the number back only now that the page
    // really closes: a Cancel keeps both.
    if (keepInRecentFiles && dm != nullptr && !FEditor->FileName.isEmpty()) {
        dm->AddMRUFile(FEditor->FileName);
    }
    FEditor->ReleaseUntitledNumber();
    if (auto* sheet = dynamic_cast<TEditorTabSheet*>(parentWidget()); sheet && Kind == kTabSheet) {
        sheet->PostClose();
    } else if (auto* window = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        window->deleteLater();
    } else {
        deleteLater();
    }
}

bool TEditorForm::DoAskSaveChanges()
{
    if (!CodeEditor().Modified()) {
        return true;
    }
    DoActivate();
    Beep();
    const QString text =
        QStringLiteral("The text in the \"%1\" file has changed.\r\n\r\nDo you want to save the modifications?")
            .arg(FEditor->GetFileTitle());
    switch (MessageDlg(text.toStdString(), TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel)) {
    case TModalResult::mrYes: return DoSave();
    case TModalResult::mrNo: return true;
    default: return false;
    }
}

// --- saving ----------------------------------------------------------------------------

bool TEditorForm::DoSave()
{
    return FEditor->FileName.isEmpty() ? DoSaveAs() : DoSaveFile();
}

bool TEditorForm::DoSaveFile()
{
    return SaveTextTo(FEditor->FileName);
}

bool TEditorForm::DoSaveAs()
{
    QString name = FEditor->FileName;
    if (dm == nullptr || !dm->ExecuteSaveDialog(name) || !SaveTextTo(name)) {
        return false;
    }
    FEditor->DoSetFileName(name);
    DoUpdateCaption();
    UpdateHighlighter();
    return true;
}

bool TEditorForm::SaveTextTo(const QString& fileName)
{
    try {
        // Written beside the file and renamed over it: a failure leaves the old file.
        CodeEditor().Lines().SaveToFile(fileName);
        CodeEditor().SetModified(false);
        return true;
    } catch (...) {
        ShowErrorBox(ExceptionMessage(std::current_exception()));
        return false;
    }
}

void TEditorForm::DoUpdateCaption()
{
    if (Kind == kMDIChild) {
        setWindowTitle(FEditor->GetFileTitle() + QStringLiteral(" - Editor"));
    } else if (auto* sheet = dynamic_cast<TEditorTabSheet*>(parentWidget()); sheet && Kind == kTabSheet) {
        sheet->SetCaption(FEditor->GetFileTitle());
    }
}

void TEditorForm::UpdateHighlighter()
{
    CodeEditor().SetHighlighter(dm != nullptr ? dm->CodeRuleHighlighter1 : nullptr);
}
