// The editor page's answers to its control: status and text changes, the colours of
// FP, breakpoint and run lines, the hand cursor and Ctrl+click on FP lines and known
// commands, breakpoints from the gutter, bookmarks, dropped files and opening a file
// from a page.
#include "app/shell/DataModule.h"
#include "app/pages/Editor.h"
#include "app/pages/EditorForm.h"
#include "app/pages/EditorPageHost.h"
#include "app/pages/EditorPageText.h"
#include "app/pages/PageFiles.h"
#include "app/plugins/PlugInLoader.h"
#include "app/plugins/PlugInServices.h"

#include "editor/widget/CodeEditWidget.h"
#include "engine/ParsedLine.h"
#include "platform/core/Assert.h"
#include "platform/core/services/DialogService.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>

namespace {
constexpr TColor Blue = 0xFF0000; // blue in the platform's byte order
constexpr TColor Red = 0x0000FF;
} // namespace

void TEditorForm::ConnectControl()
{
    TCodeEdit& editor = CodeEditor();
    editor.OnStatusChange = [this](TObject*, TCodeStatusChanges changes) { CodeEditorStatusChange(changes); };
    editor.OnChange = [this](TObject*) { CodeEditorChange(); };
    editor.OnSpecialLineColors = [this](TObject*, int line, bool& special, TColor& foreground, TColor& background) {
        CodeEditorSpecialLineColors(line, special, foreground, background);
    };
    editor.OnMouseMove = [this](TObject*, TShiftState shift, int x, int y) { CodeEditorMouseMove(shift, x, y); };
    editor.OnMouseDown = [this](TObject*, TMouseButton, TShiftState shift, int x, int y) {
        MouseDownX = x;
        MouseDownY = y;
        MouseDownShift = shift;
    };
    editor.OnClick = [this](TObject*) { CodeEditorClick(); };
    editor.OnGutterClick = [this](TObject*, int, int, int line, TCodeEditMark*) { CodeEditorGutterClick(line); };
    editor.OnReplaceText = [this](TObject*, const QString& search, const QString& replace, int line, int column,
                                  TCodeReplaceAction& action) {
        action = CodeEditorReplaceText(search, replace, line, column);
    };
    editor.OnDropFiles = [this](TObject*, int, int, const QStringList& files) { CodeEditorDropFiles(files); };
}

void TEditorForm::ParseLine(int line, TArrayofCmds& cmds) const
{
    cmds.Clear();
    IEditorPageHost* host = EditorPageHost();
    const TCodeEdit& editor = FCodeEditor->Editor();
    if (host != nullptr && line >= 1 && line <= editor.LineCount()) {
        host->ParseLine(editor.LineAt(line), cmds);
    }
}

bool TEditorForm::IsFPCommand(const TArrayofCmds& cmds)
{
    return QString::fromStdString(cmds[0]).trimmed().toUpper() == QLatin1String("FP");
}

bool TEditorForm::IsKnownCommand(const TArrayofCmds& cmds)
{
    return dm != nullptr && dm->IsKnownCommand(QString::fromStdString(cmds[0]));
}

void TEditorForm::CodeEditorStatusChange(TCodeStatusChanges changes)
{
    if (!FEditor) {
        return;
    }
    const TCodeEdit& editor = CodeEditor();
    if ((changes & (scAll | scSelection | scReadOnly)) != 0) {
        FEditor->HasSelection = editor.SelAvail();
        FEditor->IsReadOnly = editor.GetReadOnly();
    }
    if ((changes & (scAll | scModified)) != 0) {
        FEditor->IsModified = editor.Modified();
    }
    IEditorPageHost* host = EditorPageHost();
    if (host == nullptr) {
        return;
    }
    const QString line = editor.GetLineText();
    host->ShowLinePosition(line);
    host->UpdateStatusBar();
    TArrayofCmds cmds;
    host->ParseLine(line, cmds);
    host->SetHintPanel(host->CommandHint(QString::fromStdString(cmds[0])));
}

void TEditorForm::CodeEditorChange()
{
    if (!FEditor) {
        return;
    }
    const TCodeEditStringList& lines = CodeEditor().Lines();
    bool empty = true;
    for (int i = lines.Count() - 1; i >= 0 && empty; --i) {
        empty = lines.Get(i).isEmpty();
    }
    FEditor->IsEmpty = empty;
}

void TEditorForm::CodeEditorSpecialLineColors(int line, bool& special, TColor& foreground, TColor& background)
{
    // Later rules win: a breakpoint paints over an FP line, the run line over both.
    TArrayofCmds cmds;
    ParseLine(line, cmds);
    if (IsFPCommand(cmds)) {
        special = true;
        background = clWhite;
        foreground = Blue;
    }
    if (IsBreakpointAt(line)) {
        special = true;
        foreground = clWhite;
        background = Red;
    }
    const IEditorPageHost* host = EditorPageHost();
    if (line == RunLine && host != nullptr && host->RunStepMode()) {
        special = true;
        foreground = clWhite;
        background = Blue;
    }
}

void TEditorForm::CodeEditorMouseMove(TShiftState shift, int x, int y)
{
    bool hand = false;
    if (shift.Contains(TShiftState::ssCtrl)) {
        TArrayofCmds cmds;
        ParseLine(CodeEditor().PixelToTextPos(x, y).y, cmds);
        hand = IsFPCommand(cmds) || IsKnownCommand(cmds);
    }
    if (hand != FHandCursor) {
        FHandCursor = hand;
        if (hand) {
            QApplication::setOverrideCursor(Qt::PointingHandCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    }
}

void TEditorForm::CodeEditorClick()
{
    if (!MouseDownShift.Contains(TShiftState::ssCtrl)) {
        return;
    }
    const int line = CodeEditor().PixelToTextPos(MouseDownX, MouseDownY).y;
    TArrayofCmds cmds;
    ParseLine(line, cmds);
    IEditorPageHost* host = EditorPageHost();
    if (host != nullptr && IsFPCommand(cmds)) {
        const QString name = host->ResolveFPFileName(CodeEditor().LineAt(line));
        if (QFileInfo::exists(name)) {
            OpenFileInEditor(name);
        } else {
            ShowErrorBox("File not found: " + name.toStdString());
        }
    } else if (IsKnownCommand(cmds)) {
        // The command's plug-in page, quietly: most commands have none.
        CodeEditor().SetCaretXY(TTextPoint{1, line});
        const QString word = QString::fromStdString(cmds[0]).trimmed();
        const QPointer<TEditorForm> self(this);
        if (IPlugInLoader* loader = PlugInLoader()) {
            loader->LoadSimple(QStringLiteral("plugins/") + word + QStringLiteral(".vbs"), 650, 600, true);
        }
        FocusPreviewView();
        if (self) {
            CodeEditorWidget().setFocus();
        }
    }
}

void TEditorForm::CodeEditorGutterClick(int line)
{
    ToggleBreakpointAt(line);
}

bool TEditorForm::IsBreakpointAt(int line) const
{
    return HasBreakpointLine(Breakpoints, line);
}

void TEditorForm::ToggleBreakpointAt(int line)
{
    if (!ToggleBreakpointLine(Breakpoints, line)) {
        return;
    }
    TCodeEdit& editor = CodeEditor();
    if (line <= editor.LineCount()) {
        editor.InvalidateLine(line);
        editor.InvalidateGutterLines(line, line);
    } else {
        editor.Invalidate();
    }
}

void TEditorForm::ToggleBookmark(int number)
{
    CodeEditor().DispatchCommand(static_cast<TCodeEditorCommand>(ecSetMarker0 + number), QChar(), {});
}

void TEditorForm::GotoBookmark(int number)
{
    CodeEditor().DispatchCommand(static_cast<TCodeEditorCommand>(ecGotoMarker0 + number), QChar(), {});
}

void TEditorForm::CodeEditorDropFiles(const QStringList& files)
{
    IEditorPageHost* host = EditorPageHost();
    for (const QString& file : files) {
        if (host != nullptr) {
            host->DoOpenFile(file);
        }
    }
}

void TEditorForm::OpenFileInEditor(const QString& name)
{
    OpenFileInPage(name, [] {
        if (!EditorFactory) {
            kerfpad_detail::FailAssertion("Assertion failure", "frmEditor", __LINE__);
        }
        IEditorPageHost* host = EditorPageHost();
        QTabWidget* pageControl = host != nullptr ? host->PageControl() : nullptr;
        return pageControl != nullptr ? EditorFactory->CreateTabSheet(pageControl) : nullptr;
    });
}
