#pragma once
// The completion pop-up as a model: the item, insert and assigned lists, the typed
// filter, the selected row and the first visible one, the keys and characters the
// pop-up takes, and its place on the screen. The window (ICodeCompletionWindow) shows
// and paints it; a ctCode list that shows is in its editor's focus list, so the keys
// come here while it is open.

#include "editor/completion/CodeCompletionGeometry.h"
#include "editor/completion/CodeCompletionTypes.h"
#include "editor/completion/CodeCompletionWindow.h"
#include "editor/control/CodeEdit.h"

#include <QStringList>

#include <vector>

class TCodeBaseCompletionProposalForm : public TObject, public ICodeEditFocusWindow {
    KP_CLASS(TCodeBaseCompletionProposalForm, TObject)
public:
    TCodeBaseCompletionProposalForm();
    ~TCodeBaseCompletionProposalForm() override;

    // nullptr puts the fixed-metric stand-in back. The window must outlive its use.
    void SetWindow(ICodeCompletionWindow* window);
    ICodeCompletionWindow& Window() const { return *window_; }

    // --- lists -----------------------------------------------------------------------
    const QStringList& ItemList() const { return itemList_; }
    const QStringList& InsertList() const { return insertList_; }
    // The full list while filtering; empty before the first filtering.
    const QStringList& AssignedList() const { return assignedList_; }
    // The item's index in the assigned list, -1 when the list was not filtered into it.
    int ItemObject(int index) const;
    // The items as a whole, also as the full list; the filter is applied again.
    void SetItemList(const QStringList& items);
    void SetInsertList(const QStringList& items) { insertList_ = items; }
    void AddItem(const QString& display, const QString& insert);
    void AddItemAt(int where, const QString& display, const QString& insert);
    void ClearList();
    void ResetAssignedList() { assignedList_.clear(); }

    // --- filter and selection --------------------------------------------------------
    const QString& CurrentString() const { return currentString_; }
    void SetFilterText(const QString& text);
    bool ItemMatches(const QString& item) const;
    int Position() const { return position_; }
    void SelectItem(int index);
    void MoveSelection(int delta);
    int ScrollPosition() const { return scrollPosition_; }
    // The first visible row, as the window's scroll bar sets it (held to 0..ScrollMax).
    void SetScrollPosition(int position);
    int ScrollMax() const;
    int LinesInWindow() const { return linesInWindow_; }
    void SetLinesInWindow(int lines);

    // --- kind, flags and texts -----------------------------------------------------------
    CodeCompletionType Kind() const { return kind_; }
    void SetKind(CodeCompletionType kind) { kind_ = kind; }
    void SetFlags(TCodeCompletionOptions options);
    bool UsePrettyText() const { return prettyText_; }
    bool MatchText() const { return matchText_; }
    bool UseInsertList() const { return useInsertList_; }
    bool CenterTitle() const { return centerTitle_; }
    QString EndOfTokenChr = QStringLiteral("()[]. ");
    QString TriggerChars = QStringLiteral(".");
    QString BiggestWord = QStringLiteral("CONSTRUCTOR");
    const QString& Title() const { return title_; }
    void SetTitle(const QString& title);

    // --- looks -------------------------------------------------------------------------
    TColor ClSelect = clHighlight;
    TColor ClSelectedText = clHighlightText;
    TColor ClBackground = clWindow;
    TColor ClTitleBackground = clBtnFace;
    TFont& Font() { return font_; }
    TFont& TitleFont() { return titleFont_; }
    // Heights of "CompletionProposal" in the item and the title font; the title bar is
    // the title font's height + 2 with a title, else 0.
    int ItemHeight() const { return itemHeight_; }
    int TitleHeight() const { return titleHeight_; }
    int TitleBarHeight() const { return titleBarHeight_; }
    // Measures the fonts again and lays the pop-up out.
    void FontChanged();

    // --- place -------------------------------------------------------------------------
    const TRect& Bounds() const { return bounds_; }
    void SetBounds(const TRect& bounds);
    int DesiredWidth = 262;
    const TCompletionLayout& Layout() const { return layout_; }
    bool ScrollBarVisible() const { return scrollBarVisible_; }
    bool StayOnTop() const { return stayOnTop_; }

    // --- showing -------------------------------------------------------------------------
    bool Visible() const { return visible_; }
    // A ctCode list at (x, y), the filter set to `filter`.
    void OpenCode(const QString& filter, int x, int y);
    // A read-only box of every item, not activated.
    void OpenHint(int x, int y);
    // The items as a parameter hint, kept on top, left of (x, y) by its first column.
    void OpenParams(int x, int y);
    void SetStayOnTop(bool on);
    // Forgets the parameter hint's place and index.
    void ResetParams();
    void Hide();
    // Focus goes to the window (the editor hands it on while the list is in its focus list).
    void SetFocus() override;

    // --- input -------------------------------------------------------------------------
    // Sets the key to 0 when the pop-up used it.
    void KeyDown(TVirtualKey& key, TShiftState shift);
    void KeyPress(QChar& key);
    void MouseDown(int y);
    void DblClick();
    void MouseWheel(int delta, TShiftState shift);

    // --- the editor served --------------------------------------------------------------
    TCustomCodeEdit* CurrentEditor() const { return currentEditor_; }
    void SetCurrentEditor(TCustomCodeEdit* editor) { currentEditor_ = editor; }
    int CurrentIndex() const { return currentIndex_; }
    void SetCurrentIndex(int index) { currentIndex_ = index; }
    int CurrentLevel() const { return currentLevel_; }
    void SetCurrentLevel(int level) { currentLevel_ = level; }

    TCompletionKeyPress OnKeyPress;
    TCompletionNotify OnKeyDelete;
    TCompletionValidate OnValidate;
    TCompletionNotify OnCancel;
    TCompletionChange OnChange;
    TCodeBaseCompletionProposalPaintItem OnPaintItem;
    TCompletionParameter OnParameterToken;
    TCompletionNotify OnDblClick;

private:
    void ApplyLayout();
    void FitToWorkArea();
    void ShowWindow(bool activate);
    void ClampScroll();
    // Selects the row and scrolls it into view.
    void MoveTo(int index);
    void Validate(TShiftState shift, QChar endToken);
    void Cancel();
    void EditorCommand(TCodeEditorCommand command);
    bool IsEndOfToken(QChar c) const { return EndOfTokenChr.contains(c); }
    void CodeKeyDown(TVirtualKey& key, TShiftState shift);
    void ParamsKeyDown(TVirtualKey& key);

    TFixedCompletionWindow fixedWindow_;
    ICodeCompletionWindow* window_ = &fixedWindow_;
    QStringList itemList_;
    std::vector<int> itemObjects_;
    QStringList insertList_;
    QStringList assignedList_;
    QString currentString_;
    QString compareString_;
    int position_ = 0;
    int scrollPosition_ = 0;
    int linesInWindow_ = 8;
    int itemHeight_ = 0;
    int titleHeight_ = 0;
    int titleBarHeight_ = 0;
    QString title_;
    TFont font_;
    TFont titleFont_;
    CodeCompletionType kind_ = ctCode;
    bool ansi_ = false;
    bool caseSensitive_ = false;
    bool prettyText_ = false;
    bool matchText_ = false;
    bool useInsertList_ = false;
    bool centerTitle_ = false;
    TCustomCodeEdit* currentEditor_ = nullptr;
    TCustomCodeEdit* focusEditor_ = nullptr; // whose focus list holds us while shown
    bool savedAlwaysShowCaret_ = false;
    int currentIndex_ = -1;
    int currentLevel_ = -1;
    QString paramsText_;    // the parameter text the hint was placed for
    int paramsLeft_ = 0;    // where the hint stood for it
    int paramsHeadWidth_ = -1;
    int wheelRemainder_ = 0;
    TRect bounds_;
    TCompletionLayout layout_;
    bool scrollBarVisible_ = true;
    bool stayOnTop_ = false;
    bool visible_ = false;
};
