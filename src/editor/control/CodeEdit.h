#pragma once
// The code editor control as a model: text buffer, caret, selection, clipboard, marks,
// key and mouse entry, command dispatch and the view's first line and column. It knows
// no window system: the widget in editor/widget translates Qt events into the calls
// below and paints from the state they leave; everything it needs from its window
// goes through ICodeEditHost.
//
// Positions are (column, line), both from 1; a column counts UTF-16 code units of the
// line (TEXT_MODEL.md), a display column counts cells after tab expansion.

#include "editor/painting/CodeBookMarkOpt.h"
#include "editor/document/CodeCharSet.h"
#include "editor/control/CodeEditCommandData.h"
#include "editor/control/CodeEditCommands.h"
#include "editor/painting/CodeEditFont.h"
#include "editor/control/CodeEditHost.h"
#include "editor/control/CodeEditKbdHandler.h"
#include "editor/control/CodeEditKeyEvents.h"
#include "editor/control/CodeEditKeyStrokes.h"
#include "editor/control/CodeEditMarks.h"
#include "editor/control/CodeEditScrollInfo.h"
#include "editor/document/CodeEditSearch.h"
#include "editor/control/CodeEditSelectionMode.h"
#include "editor/document/CodeEditStringList.h"
#include "editor/control/CodeEditTypes.h"
#include "editor/document/CodeEditUndoList.h"
#include "editor/painting/CodeGutter.h"
#include "editor/painting/CodeInternalImage.h"
#include "editor/document/CodeRowIndex.h"
#include "editor/control/CodeEnumSet.h"
#include "editor/painting/CodeSelectedColor.h"
#include "editor/painting/CodeTextDrawer.h"
#include "platform/core/graphics/Canvas.h"
#include "platform/core/objects/Component.h"
#include "platform/core/services/EventLoop.h"
#include "platform/core/Exceptions.h"

#include <QString>
#include <QStringList>

#include <array>
#include <exception>
#include <functional>
#include <string_view>
#include <memory>
#include <optional>
#include <vector>

class TCodeCustomHighlighter;
class TCodeHighlighterAttributes;

class ECodeEditError : public Exception {
    using Exception::Exception;
};

// The private clipboard format: the selection mode byte, the UTF-8 text, a NUL.
inline constexpr std::string_view CodeEditClipboardFormat = "application/x-kerfpad-codeedit-block";

enum TCodeReplaceAction : std::uint8_t { rpaCancel, rpaSkip, rpaReplace, rpaReplaceAll };

// How SearchAndReplace searches: one bit each, in this order.
enum TSearchReplaceOption : std::uint8_t {
    sroMatchCase,
    sroWholeWord,
    sroBackwards,
    sroEntireScope,  // without it the search starts (backwards: ends) at the caret
    sroSelectedOnly, // ignored without a selection
    sroReplace,
    sroReplaceAll,
    sroPrompt,
};
using TSearchReplaceOptions = TEnumSet<TSearchReplaceOption>;

// A window the editor hands its focus to while the window is in the editor's focus list,
// so that a pop-up the editor opened keeps the keys.
class ICodeEditFocusWindow {
public:
    virtual ~ICodeEditFocusWindow() = default;
    virtual void SetFocus() = 0;
};

// A component that follows an editor: told after painting and when lines come and go.
class TCodeEditPlugin {
public:
    virtual ~TCodeEditPlugin() = default;
    virtual void AfterPaint(TCanvas& canvas, const TRect& clip, int firstLine, int lastLine) = 0;
    virtual void LinesInserted(int firstLine, int count) = 0;
    virtual void LinesDeleted(int firstLine, int count) = 0;
};

using TCommandHookEvent = TDelegate<void(TObject* sender, bool afterProcessing, bool& handled,
                                         TCodeEditorCommand& command, QChar& aChar,
                                         const TCodeEditCommandData& data, void* handlerData)>;

struct THookedCommandHandlerEntry {
    TCommandHookEvent event;
    void* data = nullptr;
    bool operator==(const THookedCommandHandlerEntry& other) const { return event == other.event; }
};

using TStatusChangeEvent = std::function<void(TObject* sender, TCodeStatusChanges changes)>;
using TProcessCommandEvent =
    std::function<void(TObject* sender, TCodeEditorCommand& command, QChar& aChar, const TCodeEditCommandData& data)>;
using TGutterClickEvent = std::function<void(TObject* sender, int x, int y, int line, TCodeEditMark* mark)>;
using TPaintEvent = std::function<void(TObject* sender, TCanvas& canvas)>;
using TPaintTransientEvent = std::function<void(TObject* sender, TTransientType type)>;
using TSpecialLineColorsEvent =
    std::function<void(TObject* sender, int line, bool& special, TColor& foreground, TColor& background)>;
using TPlaceMarkEvent = std::function<void(TObject* sender, TCodeEditMark*& mark)>;
using TClearMarkEvent = std::function<void(TObject* sender, TCodeEditMark* mark)>;
using TReplaceTextEvent = std::function<void(TObject* sender, const QString& search, const QString& replace,
                                             int line, int column, TCodeReplaceAction& action)>;
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TEditorNotifyEvent = std::function<void(TObject* sender)>;
using TContextHelpEvent = std::function<void(TObject* sender, const QString& word)>;
// Files dropped on the control at a client point, with their whole names.
using TDropFilesEvent = std::function<void(TObject* sender, int x, int y, const QStringList& files)>;

// The commands the control dispatches when it gains and loses the focus; they have no
// name and the control does nothing for them, but events and hooks see them.
inline constexpr TCodeEditorCommand ecFocusGained = 700;
inline constexpr TCodeEditorCommand ecFocusLost = 701;

// The keys a window asks its dialog to leave to it: arrows, characters and, when it
// wants them, Tab.
inline constexpr int DlgcWantArrows = 0x01;
inline constexpr int DlgcWantTab = 0x02;
inline constexpr int DlgcWantChars = 0x80;

enum TDragState : std::uint8_t { dsDragEnter, dsDragLeave, dsDragMove };

// Where a selection B..E of one control, moved to a point P after itself, goes once
// it is deleted: where the text after E went (P keeps its place relative to that text).
TTextPoint DropPointAfterMove(TTextPoint begin, TTextPoint end, TTextPoint drop);
// May put another engine in place of the editor's before each search; the editor keeps
// owning the engine it made, the handler owns the one it puts there.
using TCodeEditSearchOverride = std::function<void(TCodeEditSearch*& engine)>;

// Word characters among the first 256 codes; every code above 255 is a word character
// and NUL is neither.
struct TCodeWordChars {
    TCodeCharSet word;
    bool IsWord(QChar c) const { return c.unicode() > 255 || word.Contains(c); }
    bool IsNonWord(QChar c) const { return c.unicode() != 0 && !IsWord(c); }
};

class TCustomCodeEdit : public TComponent {
    KP_CLASS(TCustomCodeEdit, TComponent)
public:
    explicit TCustomCodeEdit(TComponent* owner = nullptr);
    ~TCustomCodeEdit() override;

    // --- the window ----------------------------------------------------------------
    // Attaching a host makes the window (fonts measured, sizes computed, scroll bars
    // and caret brought up to date); nullptr destroys it.
    void SetHost(ICodeEditHost* host);
    ICodeEditHost* Host() const { return host_; }
    bool HandleAllocated() const { return host_ != nullptr; }
    int ClientWidth() const;
    int ClientHeight() const;
    // The control's size before a host gives the client's.
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetBounds(int width, int height);
    // The host's client area changed size.
    void ClientResized();
    virtual void Loaded();
    bool Loading() const { return loading_; }
    void SetLoading(bool on) { loading_ = on; }

    // --- text ------------------------------------------------------------------------
    TCodeEditStringList& Lines() { return *lines_; }
    const TCodeEditStringList& Lines() const { return *lines_; }
    void SetLines(const TCodeEditStringList& lines);
    // Lines joined by CR LF; the pieces of a wrapped line are joined without a break.
    QString GetText() const;
    void SetText(const QString& text);
    // The caret line; empty outside the buffer.
    QString GetLineText() const;
    // Stores the caret line when it lies in 1..max(1, line count).
    void SetLineText(const QString& text);
    // Stores a line (index from 0), without trailing blanks and tabs under eoTrimTrailingSpaces.
    void ProperSetLine(int index, const QString& text);
    int LineCount() const { return lines_->Count(); }
    // The text of 1-based line `line`; empty outside the buffer.
    QString LineAt(int line) const { return lines_->Get(line - 1); }

    // --- caret ---------------------------------------------------------------------
    int CaretX() const { return caretX_; }
    int CaretY() const { return caretY_; }
    TTextPoint CaretXY() const { return TTextPoint{caretX_, caretY_}; }
    void SetCaretX(int x) { SetCaretXY(TTextPoint{x, caretY_}); }
    void SetCaretY(int y) { SetCaretXY(TTextPoint{caretX_, y}); }
    virtual void SetCaretXY(TTextPoint point) { PlaceCaret(true, point); }
    virtual void PlaceCaret(bool ensureVisible, TTextPoint point);
    int LastCaretX() const { return lastCaretX_; }
    void ResetLastCaretX();
    // Moves the caret to the text position under a client point.
    void ComputeCaret(int x, int y);

    // --- selection -----------------------------------------------------------------
    // Anchor and end point as set; BlockBegin/BlockEnd give them ordered.
    TTextPoint SelectionAnchor() const { return blockBegin_; }
    TTextPoint SelectionEnd() const { return blockEnd_; }
    TTextPoint BlockBegin() const;
    TTextPoint BlockEnd() const;
    void SetBlockBegin(TTextPoint point);
    void SetBlockEnd(TTextPoint point);
    bool SelAvail() const;
    // The selection spans several lines (never in column mode).
    bool SelectionSpansLines() const;
    // The selection starts at column 1 or before, the caret line is shorter than the
    // selection end's column, and a selection exists.
    bool SelectionStartsLeftOfShortCaretLine() const;
    bool IsInSelection(TTextPoint point) const;
    void SelectAll();
    void SetCaretAndSelection(TTextPoint caret, TTextPoint begin, TTextPoint end);
    QString GetSelText() const;
    // Replaces the selection in the current mode without an undo record of its own.
    void SetSelTextRaw(const QString& text);
    // The primitive of every text change through the selection. columnWidth receives
    // the length of the last piece of a column insertion.
    void SetSelTextPrimitive(TCodeSelectionMode mode, const QString& text, int* columnWidth = nullptr,
                             bool recordColumnLines = false);
    // Replaces the selection as one undo block (deletion, then insertion).
    void ReplaceSelText(const QString& text);
    void ClearSelection();
    TCodeSelectionMode SelectionMode() const { return selectionMode_; }
    void SetSelectionMode(TCodeSelectionMode mode);
    // Character offsets of the whole text from 1, each line counting its length + 2.
    int GetSelStart() const;
    void SetSelStart(int value);
    void SetSelEnd(int value);
    QString GetWordAtCursor();
    QString WordAtPos(TTextPoint point) const;

    // --- clipboard -----------------------------------------------------------------
    void WriteClipboard(const QString& text);
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    bool Pasting() const { return pasting_; }

    // --- soft wrap -----------------------------------------------------------------
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);

    // --- words, moves, case, brackets -----------------------------------------------
    TCodeWordChars WordCharSets() const;
    virtual TTextPoint NextWordPos();
    virtual TTextPoint WordStartPos();
    virtual TTextPoint WordEndPos();
    virtual TTextPoint PrevWordPos();
    void MoveCaretHorz(int dx, bool selectionCommand);
    void MoveCaretVert(int dy, bool selectionCommand);
    void MoveCaretAndSelection(TTextPoint before, TTextPoint after, bool selectionCommand);
    void DoCaseChange(TCodeEditorCommand command);
    // (0, 0) when the character at the point is no bracket or has no partner.
    virtual TTextPoint FindMatchingBracket(TTextPoint point, bool physical);
    virtual TTextPoint FindMatchingBracketAtCaret();
    virtual void GotoMatchingBracket();
    // The token covering a position; false without a highlighter or outside the buffer.
    bool TokenAtPosition(TTextPoint point, QString& token, int& kind, int& start,
                         TCodeHighlighterAttributes*& attribute);
    // Selects the word at a point: the highlighter's word characters, else a run of
    // characters of one class (letters and digits, blanks, the rest).
    void SetWordBlock(TTextPoint point);
    // A double click at a client point; right of the gutter it selects the word.
    void DblClick(int x, int y);

    // --- Tab, Shift+Tab, Home and block indentation ------------------------------------
    void DoTabKey();
    void DoShiftTabKey();
    void DoHomeKey(bool selecting);
    void DoBlockIndent();
    void DoBlockUnindent();

    // --- columns and spacing ---------------------------------------------------------
    int CharToDisplayColumn(int line, int column) const;
    // A display column inside a tab or on the second half of a surrogate pair gives
    // the character that covers it.
    int DisplayToCharColumn(int line, int displayColumn) const;
    int LeftSpaces(const QString& text) const { return LeftSpacesEx(text, false); }
    int LeftSpacesEx(const QString& text, bool wantTabs) const;
    QString GetLeftSpacing(int count, bool wantTabs) const;
    static QString TrimTrailingSpaces(const QString& text);

    // --- view ------------------------------------------------------------------------
    int TopLine() const { return topLine_; }
    void SetTopLine(int line);
    int LeftChar() const { return leftChar_; }
    void SetLeftChar(int column);
    int LinesInWindow() const { return linesInWindow_; }
    int CharsInWindow() const { return charsInWindow_; }
    int CharWidth() const { return charWidth_; }
    int LineHeight() const { return lineHeight_; }
    int TextOffset() const { return textOffset_; }
    int GutterWidth() const { return gutterWidth_; }
    void SetGutterWidth(int width);
    void EnsureCursorPosVisible() { EnsureCursorPosVisibleEx(false); }
    void EnsureCursorPosVisibleEx(bool forceToMiddle);
    // A code of the horizontal or vertical scroll bar with its thumb position; the
    // window is brought up to date at once.
    void Scroll(TScrollBarKind bar, TScrollCode code, int position = 0);
    // The bars as UpdateScrollBars last computed them.
    const TScrollBarInfo& ScrollInfo(TScrollBarKind bar) const { return bar == sbVertical ? vScroll_ : hScroll_; }
    TTextPoint PixelToTextPos(int x, int y) const;
    // Client pixel of a text position's top left corner.
    TTextPoint TextPosToPixel(TTextPoint point) const;
    // The size-or-font-changed recalculation.
    void SizeOrFontChanged(bool fontChanged);

    // --- painting --------------------------------------------------------------------
    int PaintLock() const { return paintLock_; }
    void IncPaintLock() { ++paintLock_; }
    void DecPaintLock();
    void BeginUpdate() { IncPaintLock(); }
    void EndUpdate() { DecPaintLock(); }
    void InvalidateLines(int first, int last);
    void InvalidateGutterLines(int first, int last);
    void InvalidateLine(int line) { InvalidateLines(line, line); }
    void InvalidateGutter() { InvalidateGutterLines(-1, -1); }
    void InvalidateAllLines() { InvalidateLines(-1, -1); }
    void Invalidate();
    // The area collected while the buffer changes or the paint lock is up, empty otherwise.
    const TRect& PendingInvalidRect() const { return invalidRect_; }
    void UpdateScrollBars();
    // Places the caret at the caret position, hidden where it falls outside the text
    // area; waits under the paint lock and in a window without the focus (unless
    // AlwaysShowCaret).
    void UpdateCaret();
    void ShowCaret();
    void HideCaret();
    bool AlwaysShowCaret() const { return alwaysShowCaret_; }
    // The caret is made and placed also without the focus (a pop-up that takes the
    // keys keeps it in sight).
    void SetAlwaysShowCaret(bool value);
    virtual void PaintTransient(TTransientType type) { PaintTransientEx(type, false); }
    // With `lock`, the before phase keeps the transient painting of nested calls off
    // until the matching after phase.
    virtual void PaintTransientEx(TTransientType type, bool lock);
    TCursor CursorAt(int x, int y) const;
    // Paints the canvas's clip box: gutter, text rows, plug-ins, OnPaint (CodeEditPaint.cpp).
    void Paint(TCanvas& canvas);
    virtual void DrawGutter(TCanvas& canvas, const TRect& clip, int firstLine, int lastLine);
    virtual void DrawTextLines(TCanvas& canvas, const TRect& clip, int firstLine, int lastLine, int firstColumn,
                               int lastColumn);
    // The text output, made on first use with the editor font (measured bold).
    TheTextDrawer& TextDrawer();
    // The text area's background: Color, or the highlighter's white-space background.
    TColor PaintBackgroundColor() const;

    // --- status ----------------------------------------------------------------------
    bool TestState(TCodeEditState flag) const { return (state_ & (1u << flag)) != 0; }
    void StatusChanged(TCodeStatusChanges changes);
    TCodeStatusChanges PendingStatusChanges() const { return statusChanges_; }

    // --- input -----------------------------------------------------------------------
    void KeyDown(TVirtualKey& key, TShiftState shift);
    void KeyPress(QChar& key);
    // The input method's result string. The platform sends no characters after it, so
    // nothing is skipped afterwards.
    void ImeResult(const QString& text);
    // The text a key made, as key presses; a surrogate pair enters whole as input-method
    // text (a pair is one character, never split).
    void KeyText(const QString& text);
    // Codes of the keys the control wants for itself (DlgcWant...): Tab only under
    // WantTabs while Ctrl is up.
    int DialogCode(TShiftState shift) const;
    // The window gained or lost the focus.
    void FocusGained();
    void FocusLost();
    // A text drag from an editor control over this one; false when it may not drop here.
    // `cursor` receives the drag cursor (copy while Ctrl is down).
    bool DragOver(TCustomCodeEdit* source, int x, int y, TDragState state, TShiftState shift, TCursor& cursor);
    // The selection of `source` dropped at a client point: moved within one control
    // unless Ctrl is down, copied from another unless Shift is down.
    void DragDrop(TCustomCodeEdit* source, int x, int y, TShiftState shift);
    // Files dropped at a client point (the window takes them under eoDropFiles).
    void DropFiles(int x, int y, const QStringList& files);
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void MouseWheel(int delta, TShiftState shift);
    // The host lost the mouse capture.
    void CaptureLost();
    virtual void HandleGutterClick(int x, int y);
    void ScrollTimerTick();
    bool ScrollTimerRunning() const { return scrollTimer_.id != 0; }
    int ScrollDeltaX() const { return scrollDeltaX_; }
    int ScrollDeltaY() const { return scrollDeltaY_; }
    bool MouseCaptured() const { return mouseCaptured_; }
    TCodeEditKbdHandler& KbdHandler() { return *kbdHandler_; }
    void SetOnKeyDown(const TKeyEvent& handler);
    void SetOnKeyPress(const TKeyPressEvent& handler);
    virtual void SetFocus();

    // --- commands --------------------------------------------------------------------
    TCodeEditorCommand KeyToCommand(TVirtualKey key, TShiftState shift, TCodeEditCommandData& data);
    virtual void DispatchCommand(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data);
    // The control's own commands, 1..1000; one paint lock for the whole run.
    virtual void PerformCommand(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data);
    virtual void CallCommandHooks(bool afterProcessing, TCodeEditorCommand& command, QChar& aChar,
                                  const TCodeEditCommandData& data);
    const std::vector<THookedCommandHandlerEntry>& CommandHooks() const { return hooks_; }
    // An empty handler, or one already registered (same method of the same object), is
    // not added.
    void RegisterCommandHook(const TCommandHookEvent& handler, void* handlerData);
    void UnregisterCommandHook(const TCommandHookEvent& handler);
    void AddKeyDownHandler(const TKeyEvent& handler);
    void RemoveKeyDownHandler(const TKeyEvent& handler);
    void AddKeyPressHandler(const TKeyPressEvent& handler);
    void RemoveKeyPressHandler(const TKeyPressEvent& handler);
    // While the list is not empty, SetFocus focuses its newest window instead of the editor.
    void AddFocusWindow(ICodeEditFocusWindow* window);
    void RemoveFocusWindow(ICodeEditFocusWindow* window);
    int FocusWindowCount() const { return static_cast<int>(focusWindows_.size()); }

    // --- search and replace ----------------------------------------------------------
    // Searches the range the options give, selects the hit and replaces it once, in every
    // hit or as OnReplaceText answers; returns the number of hits visited.
    int SearchAndReplace(const QString& search, const QString& replace, TSearchReplaceOptions options);
    // The engine of the last search; null before the first.
    TCodeEditSearch* SearchEngine() const { return searchEngine_; }
    bool ExecuteAction(TCodeEditAction action);
    // False when the editor does not take the action; `enabled` then stays as it was.
    bool UpdateAction(TCodeEditAction action, bool& enabled) const;

    // --- undo ------------------------------------------------------------------------
    TCodeEditUndoList& UndoList() { return *undoList_; }
    TCodeEditUndoList& RedoList() { return *redoList_; }
    void BeginUndoBlock() { undoList_->BeginBlock(); }
    void EndUndoBlock() { undoList_->EndBlock(); }
    void LockUndo();
    void UnlockUndo();
    void ClearUndo();
    void ClearAll();
    // Whole groups: one change number, or with eoGroupUndo a run of edits whose newest
    // records share a reason, each edit taken with all records of its change number.
    void Undo();
    void Redo();
    // Replay the newest record of the undo / redo list.
    void UndoItem();
    void RedoItem();
    bool CanUndo() const;
    bool CanRedo() const;
    bool CanPaste() const;
    // Inserts a text as a column at `begin`, selecting begin..end in column mode.
    void InsertBlock(TTextPoint begin, TTextPoint end, const QString& text);
    int MaxUndo() const { return undoList_->MaxUndo(); }
    // Both lists; a negative value is ignored.
    void SetMaxUndo(int value);

    // --- marks and plug-ins ------------------------------------------------------------
    TCodeEditMarkList& Marks() { return *marks_; }
    // A count of lines went in before 1-based line `first`: marks and plug-ins follow.
    void DoLinesInserted(int first, int count);
    // `count` lines at or after 1-based line `first` went.
    void DoLinesDeleted(int first, int count);
    void AddPlugin(std::unique_ptr<TCodeEditPlugin> plugin);
    // The painter calls it when it has drawn lines first..last.
    void DoPluginsAfterPaint(TCanvas& canvas, const TRect& clip, int firstLine, int lastLine);
    int PluginCount() const { return static_cast<int>(plugins_.size()); }
    // Bookmarks 0..9; numbers or lines out of range are ignored.
    void SetBookMark(int number, int column, int line);
    void ClearBookMark(int number);
    void GotoBookMark(int number);
    // nullptr when bookmark `number` is not set.
    TCodeEditMark* BookMark(int number) const;

    // --- properties ------------------------------------------------------------------
    TCodeEditorOptions Options() const { return options_; }
    void SetOptions(TCodeEditorOptions options);
    bool HasOption(TCodeEditorOption option) const { return options_.Contains(option); }
    virtual bool GetReadOnly() const { return readOnly_; }
    virtual void SetReadOnly(bool value);
    // Whether the text differs from the one last marked saved: false marks the text as it
    // stands (after a load or a save), so undo and redo back to it leave the page
    // unmodified; true keeps it modified until the next such mark.
    bool Modified() const { return modified_; }
    void SetModified(bool value);
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool value);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int width);
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }
    int ExtraLineSpacing() const { return extraLineSpacing_; }
    void SetExtraLineSpacing(int value);
    int MaxLeftChar() const { return maxLeftChar_; }
    // Held to 1..32767.
    void SetMaxLeftChar(int value);
    int RightEdge() const { return rightEdge_; }
    void SetRightEdge(int value);
    void SetRightEdgeColor(TColor value);
    void SetBorderStyle(TBorderStyle value);
    void SetHideSelection(bool value);
    void SetInsertCaret(TCodeEditCaretType value);
    void SetOverwriteCaret(TCodeEditCaretType value);
    void SetScrollBars(TScrollStyle value);
    // nullptr clears the bindings; otherwise they are copied.
    void SetKeystrokes(const TCodeEditKeyStrokes* keystrokes);
    // A font that is not fixed-pitch (average and largest widths differ) gives way to
    // the control's own fixed-pitch face in its size, style and colour.
    void SetFont(const TCodeEditFont& font);
    // The caret's shape for the mode: a caret of that size is made in a focused window.
    void InitializeCaret();
    // Where the caret's top left stands relative to the caret position, in pixels.
    TTextPoint CaretOffset() const { return caretOffset_; }
    TColor RightEdgeColor() const { return rightEdgeColor_; }
    TColor ScrollHintColor() const { return scrollHintColor_; }
    void SetScrollHintColor(TColor value) { scrollHintColor_ = value; }
    TScrollHintFormat ScrollHintFormat() const { return scrollHintFormat_; }
    void SetScrollHintFormat(TScrollHintFormat value) { scrollHintFormat_ = value; }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    bool HideSelection() const { return hideSelection_; }
    TCodeEditCaretType InsertCaret() const { return insertCaret_; }
    TCodeEditCaretType OverwriteCaret() const { return overwriteCaret_; }
    TColor Color() const { return color_; }
    // The text area's background.
    void SetColor(TColor value);
    TCursor Cursor() const { return cursor_; }
    bool TabStop() const { return tabStop_; }
    TCodeEditFont& Font() { return font_; }
    const TCodeEditFontMetrics& FontMetrics() const { return metrics_; }
    TCodeGutter& Gutter() { return *gutter_; }
    void SetGutter(const TCodeGutter& gutter) { gutter_->Assign(&gutter); }
    TCodeSelectedColor& SelectedColor() { return *selectedColor_; }
    TCodeBookMarkOpt& BookMarkOptions() { return *bookMarkOptions_; }
    TCodeEditKeyStrokes& Keystrokes() { return *keystrokes_; }
    virtual void SetDefaultKeystrokes();
    bool ShowSpecialChars() const { return showSpecialChars_; }
    TCodeCustomHighlighter* Highlighter() const { return highlighter_; }
    void SetHighlighter(TCodeCustomHighlighter* highlighter);

    // --- events ----------------------------------------------------------------------
    TEditorNotifyEvent OnChange;
    TStatusChangeEvent OnStatusChange;
    TProcessCommandEvent OnProcessCommand;
    TProcessCommandEvent OnProcessUserCommand;
    TProcessCommandEvent OnCommandProcessed;
    TGutterClickEvent OnGutterClick;
    TPaintEvent OnPaint;
    TPaintTransientEvent OnPaintTransient;
    TSpecialLineColorsEvent OnSpecialLineColors;
    TPlaceMarkEvent OnPlaceBookmark;
    TClearMarkEvent OnClearBookmark;
    TReplaceTextEvent OnReplaceText;
    TCodeEditSearchOverride OnSearchEngineOverride;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TEditorNotifyEvent OnClick;
    TEditorNotifyEvent OnDblClick;
    TContextHelpEvent OnContextHelp;
    TDropFilesEvent OnDropFiles;

    virtual void FireStatusChange();
    virtual void FireProcessCommand(TCodeEditorCommand& command, QChar& aChar, const TCodeEditCommandData& data);
    virtual void FireCommandProcessed(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data);
    virtual bool FireSpecialLineColors(int line, TColor& foreground, TColor& background);
    virtual void FirePaint(TCanvas& canvas);
    virtual void FirePlaceBookmark(TCodeEditMark*& mark);
    virtual void FireClearBookmark(TCodeEditMark* mark);
    virtual TCodeReplaceAction FireReplaceText(const QString& search, const QString& replace, int line, int column);

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void SetState(TCodeEditState flag, bool on);
    // The command table; PerformCommand runs it inside its paint lock.
    virtual void ExecuteCommand(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data);
    void ComputeTextOffset();
    // The caret's display column.
    int CaretDisplayColumn() const { return CharToDisplayColumn(caretY_, caretX_); }
    // Moves a column off the second half of a surrogate pair of a line (1-based), one
    // to the right or the left.
    int StepOffTrail(int line, int column, bool forward) const;
    // The last column the caret may take on a line: the line's end, with eoScrollPastEol
    // as far as MaxLeftChar reaches past it. A line's own columns are always reachable,
    // however long it is.
    int LastCaretColumn(int line) const;
    // The last column a selection point may take on a line: MaxLeftChar, or the line's
    // end when it lies further.
    int LastPointColumn(int line) const;
    // The columns the view spans (see HorizontalColumns).
    int ViewColumns() const;
    // The commands the first table leaves: editing, undo, indentation, bookmarks,
    // scrolling and help.
    void ExecuteEditCommand(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data);

    // Set while a redo replays records, so the records it adds keep the redo list.
    bool replayingRedo_ = false;
    // While a group of undo records replays, the view follows the caret and the change
    // is reported once, at its end.
    bool replayingGroup_ = false;
    bool caretToFollow_ = false;
    bool undoListsChanged_ = false;

private:
    struct TScrollTimer : TEventTarget {
        explicit TScrollTimer(TCustomCodeEdit& editor) : editor(editor) {}
        void HandleEvent(const TLoopEvent&) override { editor.ScrollTimerTick(); }
        TCustomCodeEdit& editor;
        TTimerId id = 0;
    };

    // Buffer and option notifications.
    void LinesChanging(TObject* sender);
    void LinesChanged(TObject* sender);
    void ListAdded(int index, const QString& text);
    void ListInserted(int index, const QString& text);
    void ListDeleted(int index);
    void ListPutted(int index, const QString& text);
    void ListCleared();
    // Lines came at `index`; `lastRepaint` ends the band to repaint.
    void LinesArrived(int index, const QString& text, int lastRepaint);
    // Line states: the handlers mark the lines whose state may have changed; the scan
    // runs once when the buffer's update ends, so a paste of many lines scans each once.
    void MarkRescan(int first, int last);
    void FlushRescan();
    void HighlighterChanged(TObject* sender);
    // Inside the buffer's update lock when asked (the highlighter setter does so).
    void RescanAll(bool inUpdate);
    // eoAutoSizeMaxLeftChar: a line needs this many columns.
    void GrowMaxLeftChar(int needed);
    void UndoListChanged(TObject* sender);
    // Modified: the undo list no longer names the text marked saved.
    void UpdateModified();
    bool AtSavePoint() const { return savedState_ == undoList_->State(); }
    void GutterChanged(TObject* sender);
    void SelectedColorChanged(TObject* sender);
    void BookMarkOptionsChanged(TObject* sender);
    void FontChanged(TObject* sender);
    void MarkListChanged(TObject* sender);
    void InvalidateRect(const TRect& rect);
    // Hands the collected area to the window (before its pixels move, or at the end).
    void FlushInvalidRect();

    // Pieces of the selection primitive.
    void DeleteSelection(TTextPoint begin, TTextPoint end);
    int InsertNormal(const QString& text);
    int InsertColumn(const QString& text, int* columnWidth, bool record);
    int InsertLines(const QString& text);
    void PasteBlock(TCodeSelectionMode mode, const QString& text);
    // A position in the wrapped buffer as it stands once the wrap is off, and back.
    TTextPoint UnwrappedPoint(TTextPoint point) const;
    TTextPoint WrappedPoint(TTextPoint point) const;
    void PastePlainText(const QString& text);

    // Undo (false) or redo (true) one group, one record.
    void ReplayGroup(bool redo);
    // The group's deferred reports: the change, or at least the modified state.
    void EndReplayGroup();
    void ReplayItem(bool redo);
    void ReplayUndo(const TCodeEditUndoItem& item);
    void ReplayRedo(const TCodeEditUndoItem& item);
    // Where a text that replaces the selection begins: the top left corner of a column
    // block, column 1 of a line block, else the selection's start.
    TTextPoint ReplacementStart() const;

    // Scopes that hold eoScrollPastEol on, or a selection mode, and restore it on every
    // way out (CodeEditInternals.h).
    class TScrollPastEolHold;
    class TSelectionModeHold;

    // The editing commands.
    bool DeleteSelectionFirst();
    void DeleteLastChar();
    void DeleteChar();
    void DeleteRange(TTextPoint other, bool backwards);
    void DeleteLine();
    void InsertLineBreak(bool moveCaret);
    void TypeChar(QChar c);
    void TypeText(const QString& text);
    void ScrollAfterTyping();
    void RewrapAfterDeletion(bool ensureVisible);
    void RewrapAfterTyping();
    void ScrollLineCommand(bool up);
    void ToggleBookMark(int number, const TCodeEditCommandData& data);
    void ContextHelp();
    // Inserts a text at the caret in normal mode, the caret behind it.
    void InsertAtCaret(const QString& text);

    // Word scans on the caret line.
    TCodeWordChars DefaultWordChars() const;
    bool IgnoredForBrackets(int lineIndex, int column, std::vector<std::pair<int, int>>& spans, int& spansLine);

    void ShowScrollHint(int trackPosition);
    void StartScrollTimer();
    void StopScrollTimer();
    void ReleaseMouseCapture();

    ICodeEditHost* host_ = nullptr;
    TTextPoint blockBegin_{1, 1};
    TTextPoint blockEnd_{1, 1};
    int caretX_ = 1;
    int lastCaretX_ = 1;
    int caretY_ = 1;
    bool caretStepAside_ = false;
    int charWidth_ = 8;
    bool insertMode_ = true;
    std::unique_ptr<TCodeEditStringList> lines_;
    int linesInWindow_ = 0;
    int charsInWindow_ = 0;
    int leftChar_ = 1;
    int maxLeftChar_ = 1024;
    int paintLock_ = 0;
    bool readOnly_ = false;
    int rightEdge_ = 80;
    TColor rightEdgeColor_ = clSilver;
    TColor scrollHintColor_ = clInfoBk;
    TScrollHintFormat scrollHintFormat_ = shfTopLineOnly;
    TScrollStyle scrollBars_ = TScrollStyle::ssBoth;
    int lineHeight_ = 16;
    int textOffset_ = 0;
    int topLine_ = 1;
    TCodeCustomHighlighter* highlighter_ = nullptr;
    // Lines whose highlighter state must be rescanned (-1: none), and the line count the
    // handlers last saw, which tells them how many lines came or went.
    int rescanFirst_ = -1;
    int rescanLast_ = -1;
    int knownLineCount_ = 0;
    // The logical line of each row under soft wrap, for the gutter's numbers.
    TCodeRowIndex rowIndex_;
    std::unique_ptr<TCodeSelectedColor> selectedColor_;
    std::unique_ptr<TCodeEditUndoList> undoList_;
    std::unique_ptr<TCodeEditUndoList> redoList_;
    int mouseDownX_ = 0;
    int mouseDownY_ = 0;
    std::unique_ptr<TCodeBookMarkOpt> bookMarkOptions_;
    TBorderStyle borderStyle_ = bsSingle;
    bool hideSelection_ = false;
    TCodeEditCaretType overwriteCaret_ = ctBlock;
    TCodeEditCaretType insertCaret_ = ctVerticalLine;
    TTextPoint caretOffset_{-1, 0};
    bool alwaysShowCaret_ = false;
    TScrollBarInfo hScroll_;
    TScrollBarInfo vScroll_;
    std::unique_ptr<TCodeEditKeyStrokes> keystrokes_;
    bool modified_ = false;
    // The undo list's name for the text marked saved; none after SetModified(true).
    std::optional<TCodeEditUndoState> savedState_ = TCodeEditUndoState{};
    std::unique_ptr<TCodeEditMarkList> marks_;
    std::array<TCodeEditMark*, 10> bookmarks_{};
    int extraLineSpacing_ = 0;
    TCodeSelectionMode selectionMode_ = smNormal;
    bool wantTabs_ = false;
    std::unique_ptr<TCodeGutter> gutter_;
    int tabWidth_ = 8;
    TRect invalidRect_;
    std::uint16_t state_ = 0;
    TCodeEditorOptions options_;
    TCodeStatusChanges statusChanges_ = 0;
    std::vector<THookedCommandHandlerEntry> hooks_;
    std::vector<ICodeEditFocusWindow*> focusWindows_;
    std::unique_ptr<TCodeEditSearch> ownSearchEngine_;
    TCodeEditSearch* searchEngine_ = nullptr;
    TKeyEvent onKeyDownSlot_;
    TKeyPressEvent onKeyPressSlot_;
    std::unique_ptr<TCodeEditKbdHandler> kbdHandler_;
    std::vector<std::unique_ptr<TCodeEditPlugin>> plugins_;
    TScrollTimer scrollTimer_{*this};
    int scrollDeltaX_ = 0;
    int scrollDeltaY_ = 0;
    bool wordWrap_ = false;
    bool showSpecialChars_ = false;
    bool rememberedColumnMode_ = false;
    int gutterWidth_ = 0;
    TCodeEditFont fontTemplate_;
    TCodeEditFont font_;
    TCodeEditFontMetrics metrics_;
    TColor color_ = clWindow;
    TCursor cursor_ = crIBeam;
    bool tabStop_ = true;
    int width_ = 200;
    int height_ = 150;
    bool pasting_ = false;
    int paintTransientLock_ = 0;
    TVirtualKey lastKey_ = 0;
    TShiftState lastShift_;
    bool mouseCaptured_ = false;
    int lastMouseX_ = 0;
    int lastMouseY_ = 0;
    TShiftState lastMouseShift_;
    int wheelAccumulator_ = 0;
    bool loading_ = false;
    std::unique_ptr<TheTextDrawer> textDrawer_;
    std::unique_ptr<TCodeInternalImage> internalImages_;
};

// The control as the application places it; it adds nothing.
class TCodeEdit : public TCustomCodeEdit {
    KP_CLASS(TCodeEdit, TCustomCodeEdit)
public:
    using TCustomCodeEdit::TCustomCodeEdit;
};

// Raises the paint lock for a scope; the lock drops on every way out.
class TPaintLockGuard {
public:
    explicit TPaintLockGuard(TCustomCodeEdit& editor)
        : editor_(editor), exceptions_(editor.PaintLock() == 0 ? std::uncaught_exceptions() : Inner)
    {
        editor_.IncPaintLock();
    }
    ~TPaintLockGuard() noexcept(false);
    TPaintLockGuard(const TPaintLockGuard&) = delete;
    TPaintLockGuard& operator=(const TPaintLockGuard&) = delete;

private:
    // A lock inside another only counts down at its end, which raises nothing: it
    // need not ask whether an exception is on its way (an undo takes thousands).
    static constexpr int Inner = -1;
    TCustomCodeEdit& editor_;
    int exceptions_;
};
