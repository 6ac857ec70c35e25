#pragma once
// The seam between the editor pages and the rest of the shell. A page offers four
// interfaces (IEditor and its companions IEditActions, IFileActions, ISearchActions),
// the factory IEditorFactory; the methods stand in slot order. Each is held by a
// std::shared_ptr; a page's four share the page's one owner (aliasing), so "the global
// still points to this page" compares owners, not addresses of the sub-objects.
//
// Every method of the four page interfaces is safe to call after the page's window is
// gone: it then does nothing and returns false, 0, an empty text or nullptr.

#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QTabWidget;
class QWidget;
class TCodeEditStringList;
class TEditorSettings;

class IEditor {
public:
    virtual ~IEditor() = default;
    virtual void Activate() = 0;
    // True when the page may close (it asked to save when modified).
    virtual bool AskSaveChanges() = 0;
    virtual bool CanClose() = 0;
    // Puts the file on the recent-files list, releases the untitled number, closes.
    virtual void ExecClose() = 0;
    // (column, line), 1-based; (-1, -1) without a window.
    virtual QPoint GetCaretPos() = 0;
    // "Read Only", "Insert" or "Overwrite".
    virtual QString GetEditorState() = 0;
    virtual QString GetFileName() = 0;
    // The name without folder, or "Untitled" and the page's number.
    virtual QString GetFileTitle() = 0;
    virtual bool GetModified() = 0;
    virtual QString GetCurrentLine() = 0;
    virtual void OpenFile(const QString& fileName) = 0;
    virtual void IndentSelection(bool indent) = 0;
    virtual void CommentBlock() = 0;
    virtual void UnCommentBlock() = 0;
    virtual void ApplySettings(const TEditorSettings& settings) = 0;
    virtual void InsertText(const QString& text) = 0;
    virtual void AppendText(const QStringList& lines) = 0;
    virtual void ReplaceAllText(const QStringList& lines) = 0;
    // The page's own line list, not a copy; nullptr without a window.
    virtual TCodeEditStringList* GetLines() = 0;
    // `line` is 1-based.
    virtual void ShowRunLine(int line) = 0;
    // The run left step mode: the run line is painted without its colour and forgotten.
    virtual void HideRunLine() = 0;
    // `line` is 0-based.
    virtual bool IsBreakpoint(int line) = 0;
    virtual void ToggleBreakpoint() = 0;
    virtual void ClearBreakpoints() = 0;
    virtual void SetReadOnly(bool value) = 0;
    virtual void ClearCurrentLine() = 0;
    virtual void SetFocus() = 0;
};

class IEditActions {
public:
    virtual ~IEditActions() = default;
    virtual bool CanCopy() = 0;
    virtual bool CanCut() = 0;
    virtual bool CanDelete() = 0;
    virtual bool CanPaste() = 0;
    virtual bool CanRedo() = 0;
    virtual bool CanSelectAll() = 0;
    virtual bool CanUndo() = 0;
    virtual void ExecCopy() = 0;
    virtual void ExecCut() = 0;
    virtual void ExecDelete() = 0;
    virtual void ExecPaste() = 0;
    virtual void ExecRedo() = 0;
    virtual void ExecSelectAll() = 0;
    virtual void ExecUndo() = 0;
};

class IFileActions {
public:
    virtual ~IFileActions() = default;
    // The same operations as IEditor's CanClose and ExecClose.
    virtual bool CanClose() = 0;
    virtual bool CanPrint() = 0;
    virtual bool CanSave() = 0;
    virtual bool CanSaveAs() = 0;
    virtual void ExecClose() = 0;
    virtual void ExecPrint() = 0;
    virtual void ExecPrintPreview() = 0;
    virtual void ExecSave() = 0;
    virtual void ExecSaveAs() = 0;
};

class ISearchActions {
public:
    virtual ~ISearchActions() = default;
    virtual bool CanFind() = 0;
    virtual bool CanFindNext() = 0;
    virtual bool CanFindPrev() = 0;
    virtual bool CanReplace() = 0;
    virtual void ExecFind() = 0;
    virtual void ExecFindNext() = 0;
    virtual void ExecFindPrev() = 0;
    virtual void ExecReplace() = 0;
};

class IEditorFactory {
public:
    virtual ~IEditorFactory() = default;
    // Asks every page, last first; false at the first refusal.
    virtual bool CanCloseAll() = 0;
    // ExecClose on every page, last first.
    virtual void CloseAll() = 0;
    virtual std::shared_ptr<IEditor> CreateBorderless(QWidget* parent) = 0;
    virtual std::shared_ptr<IEditor> CreateMDIChild(QWidget* owner) = 0;
    // A page in a new tab of the tab widget, made the current tab.
    virtual std::shared_ptr<IEditor> CreateTabSheet(QTabWidget* pageControl) = 0;
    virtual int GetEditorCount() = 0;
    virtual std::shared_ptr<IEditor> GetEditor(int index) = 0;
    // No effect for a page the factory does not hold.
    virtual void RemoveEditor(const std::shared_ptr<IEditor>& editor) = 0;
    // Closes the given pages without the save question and without putting their files
    // on the recent-files list: pages the program opened for itself, not the user. A
    // page the factory does not hold, or whose window is gone, is skipped. Answers how
    // many began to close; each leaves the list once the event loop delivers its close.
    virtual int CloseWithoutQuestion(const std::vector<std::shared_ptr<IEditor>>& pages) = 0;
};

// The globals, in declaration order; all start empty.
extern std::shared_ptr<IEditorFactory> EditorFactory;
extern std::shared_ptr<IEditor> ActiveEditor;
extern std::shared_ptr<IEditActions> ActiveEditActions;
extern std::shared_ptr<IFileActions> ActiveFileActions;
extern std::shared_ptr<ISearchActions> ActiveSearchActions;

// The four interfaces of one page, all sharing the page's owner.
struct TEditorPageInterfaces {
    std::shared_ptr<IEditor> Editor;
    std::shared_ptr<IEditActions> EditActions;
    std::shared_ptr<IFileActions> FileActions;
    std::shared_ptr<ISearchActions> SearchActions;
};

// For a page object that implements all four.
template <class Page>
TEditorPageInterfaces PageInterfaces(const std::shared_ptr<Page>& page)
{
    return {std::shared_ptr<IEditor>(page, page.get()), std::shared_ptr<IEditActions>(page, page.get()),
            std::shared_ptr<IFileActions>(page, page.get()), std::shared_ptr<ISearchActions>(page, page.get())};
}

// Whether two interface references belong to the same page object.
template <class A, class B>
bool SamePage(const std::shared_ptr<A>& a, const std::shared_ptr<B>& b)
{
    return a && b && !a.owner_before(b) && !b.owner_before(a);
}

// Activation of a page: all four active globals point to it.
void ActivateEditorPage(const TEditorPageInterfaces& page);
// Deactivation (window deactivated, editor left, window destroyed): each active global
// is cleared when the factory holds no page any more and it still points to `page`.
// So the last focused page stays the target of the actions while the focus is elsewhere.
void DeactivateEditorPage(const std::shared_ptr<IEditor>& page);
// At the end of the program, before the QApplication goes: the five globals are
// released, the last declared first.
void ReleaseEditorGlobals();
