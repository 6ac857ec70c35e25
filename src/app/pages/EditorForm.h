#pragma once
// One editor page: a form that holds the code editor control filling it and the page's
// TEditor. The page keeps the breakpoints and the run line and paints FP lines,
// breakpoint lines and the run line in colours of their own; it asks to save before it
// closes; on every status change it shows the caret line's move and command hint
// through the main window (EditorPageHost.h); a Ctrl+click on an FP line opens the
// sub-file. Pages are made and listed by the editor factory (EditorFactory.h).

#include "editor/control/CodeEdit.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class QKeyEvent;
class QMenu;
class TArrayofCmds;
class TCodeMacroRecorder;
class TCodeEditWidget;
class TCodeImageList;
class TEditor;

class TEditorForm : public QWidget {
public:
    enum TKind : std::uint8_t { kBorderless = 0, kTabSheet = 1, kMDIChild = 2 };

    // A form and its TEditor; the form's caption is "Editor".
    static TEditorForm* Create(TKind kind, QWidget* parent);
    ~TEditorForm() override;

    TCodeEditWidget& CodeEditorWidget() { return *FCodeEditor; }
    TCodeEdit& CodeEditor();
    QMenu* pmnuEditor = nullptr;
    // The gutter's pictures: 1 the run line, 4 a breakpoint.
    TCodeImageList& imglGutterGlyphs() { return *FGutterGlyphs; }
    // Bound to CodeEditor: Ctrl+Shift+R records, Ctrl+Shift+P plays back.
    TCodeMacroRecorder& CodeMacroRecorder1() { return *FMacroRecorder; }

    const std::shared_ptr<TEditor>& Editor() const { return FEditor; }
    const TKind Kind;
    // 1-based line numbers, ascending, no duplicates.
    std::vector<int> Breakpoints;
    // 1-based; 0 or -1 for none. Shown only while the main window steps a run.
    int RunLine = -1;
    int MouseDownX = 0;
    int MouseDownY = 0;
    TShiftState MouseDownShift;
    // Whether this page's next search starts at the caret.
    bool FromCaret = false;

    void DoActivate();
    // True when the page may close: unmodified, saved on Yes, or No; false on Cancel
    // or a failed save.
    bool DoAskSaveChanges();
    bool DoSave();
    bool DoSaveFile();
    // The page takes the chosen name only once its text is saved there: after a failed
    // save it keeps its name, caption and untitled number, so Save and the close
    // question still aim at its own file.
    bool DoSaveAs();
    void DoUpdateCaption();
    void UpdateHighlighter();
    void SetActiveEditor(bool active);
    bool IsBreakpointAt(int line) const;
    void ToggleBreakpointAt(int line);
    static bool IsFPCommand(const TArrayofCmds& cmds);
    static bool IsKnownCommand(const TArrayofCmds& cmds);
    void OpenFileInEditor(const QString& name);
    void ShowSearchReplaceDialog(bool replace);
    void DoFindText(bool replace, bool backwards);
    // Files dropped on the control open in pages of their own.
    void CodeEditorDropFiles(const QStringList& files);
    // The popup's bookmark items: set or remove bookmark n on the caret line, go to it.
    void ToggleBookmark(int number);
    void GotoBookmark(int number);

    // Refreshes the page's empty state: the control reports only edits, so a text that
    // arrives whole (a file, a list of lines) calls this itself.
    void CodeEditorChange();
    // Closes without the save question: the program ends, or the file never loaded.
    void CloseWithoutQuestion(bool keepInRecentFiles);
    bool Closing() const { return FClosing; }
    // The close question and the close itself (the tab sheet frees the form later).
    void closeEvent(QCloseEvent* event) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TEditorForm(TKind kind, QWidget* parent);
    void SetUpControl();
    void SetUpPopup();
    void ConnectControl();
    // Hands a page key (PageControl.h) to the page control of the page's tab sheet, ahead
    // of the control: it takes Ctrl+PgUp and Ctrl+PgDn for itself (page top and bottom)
    // and Ctrl+Tab for a move of the focus, so the first press only put the focus on the
    // tabs. True when the page control took it.
    bool PassPageKey(const QKeyEvent& key);
    // Parses a 1-based line of the page; an empty result outside the buffer.
    void ParseLine(int line, TArrayofCmds& cmds) const;
    // The form is going: the page leaves the factory's list and the active globals.
    void Detach();
    void FinishClose(bool keepInRecentFiles);
    // Writes the page's text to the file; a failure shows its error box and leaves the
    // page modified.
    bool SaveTextTo(const QString& fileName);

    // The control's events.
    void CodeEditorStatusChange(TCodeStatusChanges changes);
    void CodeEditorSpecialLineColors(int line, bool& special, TColor& foreground, TColor& background);
    void CodeEditorMouseMove(TShiftState shift, int x, int y);
    void CodeEditorClick();
    void CodeEditorGutterClick(int line);
    TCodeReplaceAction CodeEditorReplaceText(const QString& search, const QString& replace, int line, int column);

    std::shared_ptr<TEditor> FEditor;
    TCodeEditWidget* FCodeEditor = nullptr;
    QWidget* FViewport = nullptr;
    std::unique_ptr<TCodeImageList> FGutterGlyphs;
    std::unique_ptr<TCodeMacroRecorder> FMacroRecorder;
    bool FClosing = false;
    bool FQuestionAsked = false;
    bool FHandCursor = false;
};
