#include "app/pages/Editor.h"

#include "app/shell/DataModule.h"
#include "app/pages/EditorForm.h"
#include "app/pages/EditorPageHost.h"
#include "app/pages/EditorPageText.h"
#include "app/pages/SearchState.h"

#include "editor/widget/CodeEditWidget.h"
#include "platform/core/Assert.h"
#include "platform/core/services/DialogService.h"
#include "platform/core/ScopeGuard.h"

#include <QFileInfo>

#include <utility>

namespace {
constexpr const char* Unit = "frmEditor";

void AddLines(TCodeEdit& editor, const QStringList& lines)
{
    TCodeEditStringList& target = editor.Lines();
    target.BeginUpdate();
    for (const QString& line : lines) {
        target.Add(line);
    }
    target.EndUpdate();
}

// The line and its gutter painted again; a line below 1 would mean every line to the
// invalidation.
void RepaintLine(TCodeEdit& editor, int line)
{
    if (line >= 1) {
        editor.InvalidateLine(line);
        editor.InvalidateGutterLines(line, line);
    }
}

// Just after the last character of the text.
TTextPoint EndOfText(const TCodeEdit& editor)
{
    const int count = editor.LineCount();
    return count > 0 ? TTextPoint{static_cast<int>(editor.LineAt(count).size()) + 1, count} : TTextPoint{1, 1};
}

// A plug-in's change to the page's text: one edit on the undo list, so the page is
// modified (its title marked, the save question asked) and one Undo takes it back. A
// run holds its page read-only against typing only; the run goes on over its own copy
// of the lines, so the plug-in's change goes in as it would without the run.
void PlugInEdit(TCodeEdit& editor, TTextPoint begin, TTextPoint end, const QString& text)
{
    const bool readOnly = editor.GetReadOnly();
    const TCodeSelectionMode mode = editor.SelectionMode();
    const auto restore = TScopeGuard([&] {
        editor.SetSelectionMode(mode);
        editor.SetReadOnly(readOnly);
    });
    editor.SetReadOnly(false);
    editor.SetSelectionMode(smNormal);
    editor.SetCaretAndSelection(end, begin, end);
    // Breaks on both sides: grouped undo would otherwise take typing before or after
    // with it.
    editor.UndoList().AddGroupBreak();
    editor.ReplaceSelText(text);
    editor.UndoList().AddGroupBreak();
}
} // namespace

TEditor::TEditor(TEditorForm* form) : Form(form)
{
    if (form == nullptr) {
        kerfpad_detail::FailAssertion("Assertion failure", Unit, __LINE__);
    }
}

void TEditor::OnForm(const std::function<void(TEditorForm&)>& call)
{
    if (Form) {
        call(*Form);
    }
}

void TEditor::OnControl(void (TCustomCodeEdit::*call)())
{
    if (Form) {
        (Form->CodeEditor().*call)();
    }
}

TEditor::~TEditor()
{
    ReleaseUntitledNumber();
}

void TEditor::DoSetFileName(const QString& name)
{
    if (name != FileName) {
        FileName = name;
        ReleaseUntitledNumber();
    }
}

void TEditor::ReleaseUntitledNumber()
{
    if (UntitledNumber != -1 && dm != nullptr) {
        dm->ReleaseUntitledNumber(UntitledNumber);
    }
    UntitledNumber = -1;
}

// --- IEditor ---------------------------------------------------------------------------

void TEditor::Activate()
{
    if (Form) {
        Form->DoActivate();
    }
}

bool TEditor::AskSaveChanges()
{
    return Form ? Form->DoAskSaveChanges() : true;
}

bool TEditor::CanClose()
{
    return Form != nullptr;
}

void TEditor::ExecClose()
{
    if (Form) {
        Form->close();
    }
}

QPoint TEditor::GetCaretPos()
{
    if (!Form) {
        return {-1, -1};
    }
    const TTextPoint caret = Form->CodeEditor().CaretXY();
    return {caret.x, caret.y};
}

QString TEditor::GetEditorState()
{
    if (!Form) {
        return {};
    }
    const TCodeEdit& editor = Form->CodeEditor();
    if (editor.GetReadOnly()) {
        return QStringLiteral("Read Only");
    }
    return editor.InsertMode() ? QStringLiteral("Insert") : QStringLiteral("Overwrite");
}

QString TEditor::GetFileName()
{
    return Form ? FileName : QString();
}

QString TEditor::GetFileTitle()
{
    if (!Form) {
        return {};
    }
    if (!FileName.isEmpty()) {
        return QFileInfo(FileName).fileName();
    }
    if (UntitledNumber == -1 && dm != nullptr) {
        UntitledNumber = dm->NewUntitledNumber();
    }
    return QStringLiteral("Untitled") + QString::number(UntitledNumber);
}

bool TEditor::GetModified()
{
    return Form && Form->CodeEditor().Modified();
}

QString TEditor::GetCurrentLine()
{
    return Form ? Form->CodeEditor().GetLineText() : QString();
}

void TEditor::OpenFile(const QString& fileName)
{
    if (!Form) {
        return;
    }
    TCodeEdit& editor = Form->CodeEditor();
    DoSetFileName(fileName);
    // Highlighter and settings go to the empty page, so the text that follows is
    // scanned once (applying them to a loaded text would scan it twice more).
    editor.ClearAll();
    Form->UpdateHighlighter();
    if (dm != nullptr) {
        ApplySettings(dm->EditorOptions.EditorSettings);
    }
    // A folder or any other existing name that cannot be read gives no page: a page
    // with nothing in it would write an empty text over the file at the next save.
    if (!fileName.isEmpty() && QFileInfo::exists(fileName)) {
        try {
            editor.Lines().LoadFromFile(fileName);
        } catch (const Exception& e) {
            ShowErrorBox(e.Message());
            Form->CloseWithoutQuestion(false);
            return;
        }
    } else {
        QString value;
        if (dm != nullptr && dm->EditorOptions.GetCodeInsertValue(dm->EditorOptions.EditorSettings.DefNewFile, value)) {
            AddLines(editor, SplitNewFileText(value));
            editor.ClearUndo();
        }
    }
    editor.SetModified(false);
    Form->CodeEditorChange();
    Form->DoUpdateCaption();
    Form->SetActiveEditor(true);
}

void TEditor::IndentSelection(bool indent)
{
    if (Form) {
        Form->CodeEditor().DispatchCommand(indent ? ecBlockIndent : ecBlockUnindent, QChar(), {});
    }
}

void TEditor::CommentBlock()
{
    if (Form) {
        TCodeEdit& editor = Form->CodeEditor();
        editor.ReplaceSelText(CommentText(editor.GetSelText()));
    }
}

void TEditor::UnCommentBlock()
{
    if (Form) {
        TCodeEdit& editor = Form->CodeEditor();
        editor.ReplaceSelText(UnCommentText(editor.GetSelText()));
    }
}

void TEditor::ApplySettings(const TEditorSettings& settings)
{
    if (!Form) {
        return;
    }
    TCodeEdit& editor = Form->CodeEditor();
    editor.SetColor(settings.MainColor);
    TCodeEditFont font(QString::fromStdString(settings.Font.Name()), settings.Font.Size(), editor.Font().Style());
    font.SetColor(settings.Font.Color());
    editor.SetFont(font);
    editor.SelectedColor().SetForeground(settings.SelectedFG);
    editor.SelectedColor().SetBackground(settings.SelectedBG);
    editor.SetOptions(
        editor.Options().Set(eoAutoIndent, settings.AutoIndent).Set(eoSmartTabs, settings.SmartTabs));
    editor.SetTabWidth(settings.TabWidth);
    editor.Gutter().SetColor(settings.GutterColor);
    editor.Gutter().SetVisible(settings.GutterVisible);
    editor.Gutter().SetShowLineNumbers(settings.GutterLineNumbers);
    // The highlighter takes the new font only when it is set again.
    editor.SetHighlighter(nullptr);
    Form->UpdateHighlighter();
}

void TEditor::InsertText(const QString& text)
{
    if (Form) {
        Form->CodeEditor().ReplaceSelText(text);
    }
}

void TEditor::AppendText(const QStringList& lines)
{
    if (!Form || lines.isEmpty()) {
        return;
    }
    TCodeEdit& editor = Form->CodeEditor();
    // After the end of the last line, so the lines follow it as lines of their own.
    const TTextPoint end = EndOfText(editor);
    const QString breakBefore = editor.LineCount() > 0 ? QStringLiteral("\r\n") : QString();
    // The lines are added behind the user's work: the caret, the selection and the view
    // stay where they were.
    const TTextPoint caret = editor.CaretXY();
    const TTextPoint anchor = editor.SelectionAnchor();
    const TTextPoint selectionEnd = editor.SelectionEnd();
    const int topLine = editor.TopLine();
    const int leftChar = editor.LeftChar();
    {
        editor.BeginUpdate();
        const auto endUpdate = TScopeGuard([&] { editor.EndUpdate(); });
        PlugInEdit(editor, end, end, breakBefore + lines.join(QStringLiteral("\r\n")));
        editor.SetCaretAndSelection(caret, anchor, selectionEnd);
        editor.SetTopLine(topLine);
        editor.SetLeftChar(leftChar);
    }
    Form->CodeEditorChange();
}

void TEditor::ReplaceAllText(const QStringList& lines)
{
    if (!Form) {
        return;
    }
    TCodeEdit& editor = Form->CodeEditor();
    PlugInEdit(editor, TTextPoint{1, 1}, EndOfText(editor), lines.join(QStringLiteral("\r\n")));
    Form->CodeEditorChange();
}

TCodeEditStringList* TEditor::GetLines()
{
    return Form ? &Form->CodeEditor().Lines() : nullptr;
}

void TEditor::ShowRunLine(int line)
{
    if (!Form) {
        return;
    }
    TCodeEdit& editor = Form->CodeEditor();
    editor.SetCaretXY(TTextPoint{1, line});
    const int old = Form->RunLine;
    Form->RunLine = line;
    RepaintLine(editor, old);
    RepaintLine(editor, line);
    // The colour shows only while stepping.
    const IEditorPageHost* host = EditorPageHost();
    if (host == nullptr || !host->RunStepMode()) {
        Form->RunLine = -1;
    }
}

void TEditor::HideRunLine()
{
    if (Form) {
        RepaintLine(Form->CodeEditor(), std::exchange(Form->RunLine, -1));
    }
}

bool TEditor::IsBreakpoint(int line)
{
    return Form && Form->IsBreakpointAt(line + 1);
}

void TEditor::ToggleBreakpoint()
{
    if (Form) {
        Form->ToggleBreakpointAt(Form->CodeEditor().CaretY());
    }
}

void TEditor::ClearBreakpoints()
{
    if (Form) {
        Form->Breakpoints.clear();
        Form->CodeEditor().Invalidate();
    }
}

void TEditor::SetReadOnly(bool value)
{
    if (Form) {
        Form->CodeEditor().SetReadOnly(value);
    }
}

void TEditor::ClearCurrentLine()
{
    if (Form) {
        TCodeEdit& editor = Form->CodeEditor();
        editor.SetCaretX(1);
        editor.SetLineText(QString());
    }
}

void TEditor::SetFocus()
{
    if (Form) {
        Form->CodeEditorWidget().setFocus(Qt::OtherFocusReason);
    }
}

// --- IEditActions ----------------------------------------------------------------------

bool TEditor::CanCopy() { return Form && HasSelection; }
bool TEditor::CanCut() { return Form && HasSelection && !IsReadOnly; }
bool TEditor::CanDelete() { return Form && HasSelection && !IsReadOnly; }
bool TEditor::CanPaste() { return Form && Form->CodeEditor().CanPaste(); }
bool TEditor::CanRedo() { return Form && Form->CodeEditor().CanRedo(); }
bool TEditor::CanSelectAll() { return Form != nullptr; }
bool TEditor::CanUndo() { return Form && Form->CodeEditor().CanUndo(); }

void TEditor::ExecCopy() { OnControl(&TCodeEdit::CopyToClipboard); }

void TEditor::ExecCut() { OnControl(&TCodeEdit::CutToClipboard); }

void TEditor::ExecDelete()
{
    if (Form) {
        Form->CodeEditor().ReplaceSelText(QString());
    }
}

void TEditor::ExecPaste() { OnControl(&TCodeEdit::PasteFromClipboard); }

void TEditor::ExecRedo() { OnControl(&TCodeEdit::Redo); }

void TEditor::ExecSelectAll() { OnControl(&TCodeEdit::SelectAll); }

void TEditor::ExecUndo() { OnControl(&TCodeEdit::Undo); }

// --- IFileActions ----------------------------------------------------------------------

bool TEditor::CanPrint() { return Form != nullptr; }
bool TEditor::CanSave() { return Form && (IsModified || FileName.isEmpty()); }
bool TEditor::CanSaveAs() { return Form != nullptr; }

void TEditor::ExecSave() { OnForm([](TEditorForm& form) { form.DoSave(); }); }

void TEditor::ExecSaveAs() { OnForm([](TEditorForm& form) { form.DoSaveAs(); }); }

// --- ISearchActions --------------------------------------------------------------------

bool TEditor::CanFind() { return Form && !IsEmpty; }
bool TEditor::CanFindNext() { return CanFind() && !EditorSearch.SearchText.isEmpty(); }
bool TEditor::CanFindPrev() { return CanFindNext(); }
bool TEditor::CanReplace() { return Form && !IsReadOnly && !IsEmpty; }

void TEditor::ExecFind() { OnForm([](TEditorForm& form) { form.ShowSearchReplaceDialog(false); }); }

void TEditor::ExecReplace() { OnForm([](TEditorForm& form) { form.ShowSearchReplaceDialog(true); }); }

void TEditor::ExecFindNext() { OnForm([](TEditorForm& form) { form.DoFindText(false, false); }); }

void TEditor::ExecFindPrev() { OnForm([](TEditorForm& form) { form.DoFindText(false, true); }); }
