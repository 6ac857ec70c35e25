#pragma once
// One editor page's interface object: the four page interfaces of EditorInterfaces.h
// for one TEditorForm. It keeps the file name and the untitled number and copies of
// the control's selection, read-only, modified and empty states. The form may go first
// (the page closed while someone still holds an interface): every method then does
// nothing and answers false, 0, an empty text, nullptr or (-1, -1).

#include "app/pages/EditorInterfaces.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class TCustomCodeEdit;
class TEditorForm;

class TEditor : public IEditor,
                public IEditActions,
                public IFileActions,
                public ISearchActions,
                public std::enable_shared_from_this<TEditor> {
public:
    // A form is required (assertion naming "frmEditor").
    explicit TEditor(TEditorForm* form);
    ~TEditor() override;

    TEditorPageInterfaces Interfaces() { return PageInterfaces(shared_from_this()); }

    QString FileName;
    QPointer<TEditorForm> Form;
    bool HasSelection = false;
    bool IsEmpty = true;
    bool IsReadOnly = false;
    bool IsModified = false;
    int UntitledNumber = -1;

    // A new name (exact comparison) releases the untitled number.
    void DoSetFileName(const QString& name);
    void ReleaseUntitledNumber();

    // --- IEditor ---
    void Activate() override;
    bool AskSaveChanges() override;
    bool CanClose() override;
    void ExecClose() override;
    QPoint GetCaretPos() override;
    QString GetEditorState() override;
    QString GetFileName() override;
    QString GetFileTitle() override;
    bool GetModified() override;
    QString GetCurrentLine() override;
    void OpenFile(const QString& fileName) override;
    void IndentSelection(bool indent) override;
    void CommentBlock() override;
    void UnCommentBlock() override;
    void ApplySettings(const TEditorSettings& settings) override;
    void InsertText(const QString& text) override;
    void AppendText(const QStringList& lines) override;
    void ReplaceAllText(const QStringList& lines) override;
    TCodeEditStringList* GetLines() override;
    void ShowRunLine(int line) override;
    void HideRunLine() override;
    bool IsBreakpoint(int line) override;
    void ToggleBreakpoint() override;
    void ClearBreakpoints() override;
    void SetReadOnly(bool value) override;
    void ClearCurrentLine() override;
    void SetFocus() override;

    // --- IEditActions ---
    bool CanCopy() override;
    bool CanCut() override;
    bool CanDelete() override;
    bool CanPaste() override;
    bool CanRedo() override;
    bool CanSelectAll() override;
    bool CanUndo() override;
    void ExecCopy() override;
    void ExecCut() override;
    void ExecDelete() override;
    void ExecPaste() override;
    void ExecRedo() override;
    void ExecSelectAll() override;
    void ExecUndo() override;

    // --- IFileActions (CanClose and ExecClose above) ---
    bool CanPrint() override;
    bool CanSave() override;
    bool CanSaveAs() override;
    // The data module's print engine takes the page (EditorPrint.cpp), then prints on
    // the data module's printer or shows the print preview dialog.
    void ExecPrint() override;
    void ExecPrintPreview() override;
    void ExecSave() override;
    void ExecSaveAs() override;

    // --- ISearchActions ---
    bool CanFind() override;
    bool CanFindNext() override;
    bool CanFindPrev() override;
    bool CanReplace() override;
    void ExecFind() override;
    void ExecFindNext() override;
    void ExecFindPrev() override;
    void ExecReplace() override;

private:
    // Calls into the form, or the control, while the form exists.
    void OnForm(const std::function<void(TEditorForm&)>& call);
    void OnControl(void (TCustomCodeEdit::*call)());
    // The print engine with the page's text, highlighting, title and the print settings.
    bool PreparePrint();
};
