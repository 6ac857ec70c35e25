// The control's life, its window, its properties, the paint lock and the status it
// reports, and how it follows its buffer and its option objects.
#include "editor/control/CodeEdit.h"

#include "editor/control/CodeEditKbdHandler.h"
#include "platform/core/services/Clipboard.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

TPaintLockGuard::~TPaintLockGuard() noexcept(false)
{
    if (exceptions_ != Inner && std::uncaught_exceptions() > exceptions_) {
        try {
            editor_.DecPaintLock();
        } catch (...) {
            // the exception already on its way is the one to report
        }
    } else {
        editor_.DecPaintLock();
    }
}

TCustomCodeEdit::TCustomCodeEdit(TComponent* owner)
    : TComponent(owner), fontTemplate_("Courier New", 10, 0), font_("Courier New", 10, 0)
{
    lines_ = std::make_unique<TCodeEditStringList>();
    lines_->OnAdded = [this](int index, const QString& text) {
        rowIndex_.Changed(*lines_, index);
        ListAdded(index, text);
    };
    lines_->OnChange = MakeDelegate<&TCustomCodeEdit::LinesChanged>(this);
    lines_->OnChanging = MakeDelegate<&TCustomCodeEdit::LinesChanging>(this);
    lines_->OnCleared = [this](TObject*) {
        rowIndex_.Changed(*lines_, 0);
        ListCleared();
    };
    lines_->OnDeleted = [this](int index) {
        rowIndex_.Changed(*lines_, index);
        ListDeleted(index);
    };
    lines_->OnInserted = [this](int index, const QString& text) {
        rowIndex_.Changed(*lines_, index);
        ListInserted(index, text);
    };
    lines_->OnPutted = [this](int index, const QString& text) {
        rowIndex_.Changed(*lines_, index);
        ListPutted(index, text);
    };

    undoList_ = std::make_unique<TCodeEditUndoList>();
    undoList_->OnAddedUndo = MakeDelegate<&TCustomCodeEdit::UndoListChanged>(this);
    redoList_ = std::make_unique<TCodeEditUndoList>();
    redoList_->OnAddedUndo = MakeDelegate<&TCustomCodeEdit::UndoListChanged>(this);

    selectedColor_ = std::make_unique<TCodeSelectedColor>();
    selectedColor_->OnChange = MakeDelegate<&TCustomCodeEdit::SelectedColorChanged>(this);
    bookMarkOptions_ = std::make_unique<TCodeBookMarkOpt>(this);
    bookMarkOptions_->OnChange = MakeDelegate<&TCustomCodeEdit::BookMarkOptionsChanged>(this);
    gutter_ = std::make_unique<TCodeGutter>();
    gutter_->OnChange = MakeDelegate<&TCustomCodeEdit::GutterChanged>(this);

    rightEdge_ = 80;
    gutterWidth_ = gutter_->PixelWidth(charWidth_);
    textOffset_ = gutterWidth_ + 2;
    height_ = 150;
    width_ = 200;
    cursor_ = crIBeam;
    color_ = clWindow;
    font_.Assign(&fontTemplate_);
    font_.OnChange = MakeDelegate<&TCustomCodeEdit::FontChanged>(this);
    SizeOrFontChanged(true);
    tabStop_ = true;
    insertMode_ = true;
    maxLeftChar_ = 1024;
    scrollBars_ = TScrollStyle::ssBoth;
    borderStyle_ = bsSingle;
    insertCaret_ = ctVerticalLine;
    overwriteCaret_ = ctBlock;
    selectionMode_ = smNormal;
    kbdHandler_ = std::make_unique<TCodeEditKbdHandler>(this, onKeyDownSlot_, onKeyPressSlot_);
    keystrokes_ = std::make_unique<TCodeEditKeyStrokes>(this);
    marks_ = std::make_unique<TCodeEditMarkList>(this);
    marks_->OnChange = MakeDelegate<&TCustomCodeEdit::MarkListChanged>(this);
    SetDefaultKeystrokes();
    rightEdgeColor_ = clSilver;
    wantTabs_ = false;
    tabWidth_ = 8;
    leftChar_ = 1;
    topLine_ = 1;
    caretX_ = caretY_ = lastCaretX_ = 1;
    blockBegin_ = blockEnd_ = TTextPoint{1, 1};
    options_ = CodeEditDefaultOptions;
    scrollHintColor_ = clInfoBk;
    scrollHintFormat_ = shfTopLineOnly;
}

TCustomCodeEdit::~TCustomCodeEdit()
{
    Destroying();
    // Plug-ins detach themselves (hooks, key handlers, bindings) while all of it is here.
    SendFreeNotifications();
    SetHighlighter(nullptr);
    hooks_.clear();
    while (!plugins_.empty()) {
        plugins_.pop_back();
    }
    StopScrollTimer();
    marks_.reset();
    bookMarkOptions_.reset();
    keystrokes_.reset();
    kbdHandler_.reset();
    lines_->OnAdded = nullptr;
    lines_->OnCleared = nullptr;
    lines_->OnDeleted = nullptr;
    lines_->OnInserted = nullptr;
    lines_->OnPutted = nullptr;
    lines_.reset();
    undoList_.reset();
    redoList_.reset();
    selectedColor_.reset();
    gutter_.reset();
}

// --- the window --------------------------------------------------------------------

void TCustomCodeEdit::SetHost(ICodeEditHost* host)
{
    if (host == host_) {
        return;
    }
    if (host_) {
        StopScrollTimer();
        ReleaseMouseCapture();
        HideCaret();
    }
    host_ = host;
    SetState(sfCaretVisible, false);
    if (host_) {
        SizeOrFontChanged(true);
        UpdateScrollBars();
        UpdateCaret();
    }
}

int TCustomCodeEdit::ClientWidth() const { return host_ ? host_->ClientWidth() : width_; }
int TCustomCodeEdit::ClientHeight() const { return host_ ? host_->ClientHeight() : height_; }

void TCustomCodeEdit::SetBounds(int width, int height)
{
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    if (!host_) {
        SizeOrFontChanged(false);
    }
}

void TCustomCodeEdit::ClientResized() { SizeOrFontChanged(false); }

void TCustomCodeEdit::SizeOrFontChanged(bool fontChanged)
{
    if (fontChanged && host_) {
        metrics_ = host_->MeasureFont(font_);
    }
    charWidth_ = std::max(1, metrics_.cellWidth);
    lineHeight_ = std::max(1, metrics_.cellHeight + extraLineSpacing_);
    charsInWindow_ = std::max(0, (ClientWidth() - gutterWidth_ - 2) / charWidth_);
    linesInWindow_ = std::max(0, ClientHeight() / lineHeight_);
    ComputeTextOffset();
    UpdateScrollBars();
    Invalidate();
}

void TCustomCodeEdit::Loaded()
{
    loading_ = false;
    GutterChanged(gutter_.get());
    UpdateScrollBars();
}

void TCustomCodeEdit::ComputeTextOffset() { textOffset_ = gutterWidth_ + 2 - (leftChar_ - 1) * charWidth_; }

void TCustomCodeEdit::SetFocus()
{
    if (!focusWindows_.empty()) {
        focusWindows_.back()->SetFocus();
    } else if (host_) {
        host_->SetFocus();
    }
}

// --- paint lock and status ---------------------------------------------------------

void TCustomCodeEdit::SetState(TCodeEditState flag, bool on)
{
    if (on) {
        state_ = static_cast<std::uint16_t>(state_ | (1u << flag));
    } else {
        state_ = static_cast<std::uint16_t>(state_ & ~(1u << flag));
    }
}

void TCustomCodeEdit::DecPaintLock()
{
    if (paintLock_ > 0) {
        --paintLock_;
    }
    if (paintLock_ == 0) {
        SetState(sfScrolledUnderLock, false);
    }
    if (paintLock_ == 0 && host_) {
        if (!TestState(sfLinesChanging)) {
            FlushInvalidRect();
        }
        if (TestState(sfScrollbarChanged)) {
            UpdateScrollBars();
        }
        if (TestState(sfCaretChanged)) {
            UpdateCaret();
        }
        if (statusChanges_ != 0) {
            FireStatusChange();
        }
    }
}

void TCustomCodeEdit::StatusChanged(TCodeStatusChanges changes)
{
    statusChanges_ = static_cast<TCodeStatusChanges>(statusChanges_ | changes);
    if (paintLock_ == 0) {
        FireStatusChange();
    }
}

void TCustomCodeEdit::FireStatusChange()
{
    const TCodeStatusChanges changes = statusChanges_;
    statusChanges_ = 0;
    if (OnStatusChange && changes != 0) {
        OnStatusChange(this, changes);
    }
}

void TCustomCodeEdit::PaintTransientEx(TTransientType type, bool lock)
{
    if (lock && type == ttAfter && paintTransientLock_ > 0) {
        --paintTransientLock_;
    }
    if (paintTransientLock_ == 0 && OnPaintTransient) {
        OnPaintTransient(this, type);
    }
    if (lock && type == ttBefore) {
        ++paintTransientLock_;
    }
}

// --- invalidation ------------------------------------------------------------------

void TCustomCodeEdit::InvalidateRect(const TRect& rect)
{
    if (!host_ || rect.Width() <= 0 || rect.Height() <= 0) {
        return;
    }
    // While the buffer changes or the paint lock is up the bands are collected and the
    // window hears of them once: an undo that touches a hundred thousand lines marks
    // the window as often, each mark costing the window system its own work.
    if (!TestState(sfLinesChanging) && paintLock_ == 0) {
        host_->InvalidateRect(rect);
        return;
    }
    if (invalidRect_.Width() <= 0 || invalidRect_.Height() <= 0) {
        invalidRect_ = rect;
        return;
    }
    invalidRect_.Left = std::min(invalidRect_.Left, rect.Left);
    invalidRect_.Top = std::min(invalidRect_.Top, rect.Top);
    invalidRect_.Right = std::max(invalidRect_.Right, rect.Right);
    invalidRect_.Bottom = std::max(invalidRect_.Bottom, rect.Bottom);
}

void TCustomCodeEdit::FlushInvalidRect()
{
    const TRect collected = invalidRect_;
    invalidRect_ = TRect{};
    if (host_ && collected.Width() > 0 && collected.Height() > 0) {
        host_->InvalidateRect(collected);
    }
}

namespace {
// The band of lines first..last of the window, or nothing when they lie outside it.
bool LineBand(int first, int last, int topLine, int linesInWindow, int lineHeight, int& top, int& bottom)
{
    if (first > last) {
        std::swap(first, last);
    }
    first = std::max(first, topLine);
    last = std::min(last, topLine + linesInWindow);
    if (last < first) {
        return false;
    }
    top = (first - topLine) * lineHeight;
    bottom = (last - topLine + 1) * lineHeight;
    return true;
}
} // namespace

void TCustomCodeEdit::InvalidateLines(int first, int last)
{
    if (!host_) {
        return;
    }
    if (first == -1 && last == -1) {
        InvalidateRect(Rect(gutterWidth_, 0, ClientWidth(), ClientHeight()));
        return;
    }
    int top = 0;
    int bottom = 0;
    if (LineBand(first, last, topLine_, linesInWindow_, lineHeight_, top, bottom)) {
        InvalidateRect(Rect(gutterWidth_, top, ClientWidth(), bottom));
    }
}

void TCustomCodeEdit::InvalidateGutterLines(int first, int last)
{
    if (!host_) {
        return;
    }
    if (first == -1 && last == -1) {
        InvalidateRect(Rect(0, 0, gutterWidth_, ClientHeight()));
        return;
    }
    int top = 0;
    int bottom = 0;
    if (LineBand(first, last, topLine_, linesInWindow_, lineHeight_, top, bottom)) {
        InvalidateRect(Rect(0, top, gutterWidth_, bottom));
    }
}

void TCustomCodeEdit::Invalidate()
{
    if (host_) {
        InvalidateRect(Rect(0, 0, ClientWidth(), ClientHeight()));
    }
}

// --- following the buffer and the option objects -------------------------------------

void TCustomCodeEdit::LinesChanging(TObject*) { SetState(sfLinesChanging, true); }

void TCustomCodeEdit::LinesChanged(TObject*)
{
    rowIndex_.UpdateEnded();
    FlushRescan();
    SetState(sfLinesChanging, false);
    if (host_) {
        UpdateScrollBars();
        SetBlockBegin(CaretXY());
        if (paintLock_ == 0) {
            FlushInvalidRect();
        }
    }
    if (gutter_->ShowLineNumbers() && gutter_->AutoSize()) {
        gutter_->FitDigitCount(LineCount());
    }
    if (!HasOption(eoScrollPastEof)) {
        SetTopLine(topLine_);
    }
}

void TCustomCodeEdit::UndoListChanged(TObject* sender)
{
    if (sender == undoList_.get() && !replayingRedo_ && undoList_->GetLastChangeReason() != crGroupBreak) {
        redoList_->Clear();
    }
    if (replayingGroup_) {
        undoListsChanged_ = true;
        return;
    }
    UpdateModified();
    if (OnChange) {
        OnChange(this);
    }
}

void TCustomCodeEdit::GutterChanged(TObject*)
{
    if (loading_) {
        return;
    }
    if (gutter_->ShowLineNumbers() && gutter_->AutoSize()) {
        gutter_->FitDigitCount(LineCount());
    }
    const int width = gutter_->PixelWidth(charWidth_);
    if (width != gutterWidth_) {
        SetGutterWidth(width);
    } else {
        Invalidate();
    }
}

void TCustomCodeEdit::SelectedColorChanged(TObject*) { InvalidateAllLines(); }
void TCustomCodeEdit::BookMarkOptionsChanged(TObject*) { InvalidateGutter(); }
void TCustomCodeEdit::FontChanged(TObject*) { SizeOrFontChanged(true); }
void TCustomCodeEdit::MarkListChanged(TObject*)
{
    // A bookmark taken out of the list (or freed with it) leaves its slot.
    for (TCodeEditMark*& mark : bookmarks_) {
        if (mark && !marks_->Contains(mark)) {
            mark = nullptr;
        }
    }
    InvalidateGutter();
}

// --- marks and plug-ins ------------------------------------------------------------

void TCustomCodeEdit::DoLinesInserted(int first, int count)
{
    marks_->LinesInserted(first, count);
    for (const auto& plugin : plugins_) {
        plugin->LinesInserted(first, count);
    }
}

void TCustomCodeEdit::DoLinesDeleted(int first, int count)
{
    marks_->LinesDeleted(first, count);
    for (const auto& plugin : plugins_) {
        plugin->LinesDeleted(first, count);
    }
}

void TCustomCodeEdit::AddPlugin(std::unique_ptr<TCodeEditPlugin> plugin) { plugins_.push_back(std::move(plugin)); }

// --- properties --------------------------------------------------------------------

void TCustomCodeEdit::SetDefaultKeystrokes() { keystrokes_->SetDefaultKeys(); }

void TCustomCodeEdit::SetOptions(TCodeEditorOptions options)
{
    if (options == options_) {
        return;
    }
    const bool specialChars = options.Contains(eoShowSpecialChars) != options_.Contains(eoShowSpecialChars);
    options_ = options;
    if (!HasOption(eoScrollPastEol)) {
        SetLeftChar(leftChar_);
    }
    if (!HasOption(eoScrollPastEof)) {
        SetTopLine(topLine_);
    }
    if (!HasOption(eoScrollPastEol)) {
        SetCaretXY(CaretXY());
    }
    if (specialChars) {
        showSpecialChars_ = HasOption(eoShowSpecialChars);
        Invalidate();
    }
    // Past the end of lines or of the text, arrows, hiding: the bars may show otherwise.
    UpdateScrollBars();
}

void TCustomCodeEdit::SetReadOnly(bool value)
{
    if (value != readOnly_) {
        readOnly_ = value;
        StatusChanged(scReadOnly);
    }
}

void TCustomCodeEdit::SetModified(bool value)
{
    if (value) {
        savedState_.reset();
    } else {
        savedState_ = undoList_->State();
    }
    UpdateModified();
}

void TCustomCodeEdit::UpdateModified()
{
    const bool value = !AtSavePoint();
    if (value != modified_) {
        modified_ = value;
        StatusChanged(scModified);
    }
}

void TCustomCodeEdit::SetSelectionMode(TCodeSelectionMode mode)
{
    if (mode == selectionMode_) {
        return;
    }
    selectionMode_ = mode;
    if (SelAvail()) {
        Invalidate();
    }
    StatusChanged(scSelection);
}

void TCustomCodeEdit::SetTabWidth(int width)
{
    width = Clamp(width, 1, 256);
    if (width != tabWidth_) {
        tabWidth_ = width;
        lines_->SetTabWidth(width);
        Invalidate();
    }
}

void TCustomCodeEdit::SetExtraLineSpacing(int value)
{
    if (value != extraLineSpacing_) {
        extraLineSpacing_ = value;
        SizeOrFontChanged(false);
    }
}

// --- undo --------------------------------------------------------------------------

void TCustomCodeEdit::LockUndo()
{
    undoList_->Lock();
    redoList_->Lock();
}

void TCustomCodeEdit::UnlockUndo()
{
    undoList_->Unlock();
    redoList_->Unlock();
}

void TCustomCodeEdit::ClearUndo()
{
    // The text stays: the one marked saved still is, any other stays modified.
    const bool saved = AtSavePoint();
    undoList_->Clear();
    redoList_->Clear();
    if (saved) {
        savedState_ = undoList_->State();
    }
}

void TCustomCodeEdit::ClearAll()
{
    lines_->Clear();
    marks_->Clear();
    ClearUndo();
    SetModified(false);
}

// --- the standard edit actions -------------------------------------------------------

bool TCustomCodeEdit::ExecuteAction(TCodeEditAction action)
{
    if (!host_ || !host_->Focused()) {
        return false;
    }
    switch (action) {
    case eaCut: CutToClipboard(); break;
    case eaCopy: CopyToClipboard(); break;
    case eaPaste: PasteFromClipboard(); break;
    case eaDelete: ClearSelection(); break;
    case eaUndo: PerformCommand(ecUndo, QChar(), {}); break;
    case eaSelectAll: SelectAll(); break;
    }
    return true;
}

bool TCustomCodeEdit::UpdateAction(TCodeEditAction action, bool& enabled) const
{
    if (!host_ || !host_->Focused()) {
        return false;
    }
    switch (action) {
    case eaCut:
    case eaCopy: enabled = SelAvail(); break;
    case eaPaste: enabled = Clipboard().HasFormat(ClipboardTextFormat); break;
    case eaUndo: enabled = !GetReadOnly() && undoList_->CanUndo(); break;
    case eaDelete:
    case eaSelectAll: enabled = true; break;
    }
    return true;
}

// --- events ------------------------------------------------------------------------

bool TCustomCodeEdit::FireSpecialLineColors(int line, TColor& foreground, TColor& background)
{
    bool special = false;
    if (OnSpecialLineColors) {
        OnSpecialLineColors(this, line, special, foreground, background);
    }
    return special;
}

void TCustomCodeEdit::FirePaint(TCanvas& canvas)
{
    if (OnPaint) {
        OnPaint(this, canvas);
    }
}

void TCustomCodeEdit::FirePlaceBookmark(TCodeEditMark*& mark)
{
    if (OnPlaceBookmark) {
        OnPlaceBookmark(this, mark);
    }
}

void TCustomCodeEdit::FireClearBookmark(TCodeEditMark* mark)
{
    if (OnClearBookmark) {
        OnClearBookmark(this, mark);
    }
}

TCodeReplaceAction TCustomCodeEdit::FireReplaceText(const QString& search, const QString& replace, int line,
                                                    int column)
{
    TCodeReplaceAction action = rpaCancel;
    if (OnReplaceText) {
        // The question is asked under the lock of the replacements: the window shows
        // the hit it asks about, and may move by pixels again for the next one.
        if (!TestState(sfLinesChanging)) {
            FlushInvalidRect();
        }
        SetState(sfScrolledUnderLock, false);
        OnReplaceText(this, search, replace, line, column, action);
    }
    return action;
}

void TCustomCodeEdit::FireProcessCommand(TCodeEditorCommand& command, QChar& aChar, const TCodeEditCommandData& data)
{
    const TProcessCommandEvent& handler = command >= ecUserFirst ? OnProcessUserCommand : OnProcessCommand;
    if (handler) {
        handler(this, command, aChar, data);
    }
}

void TCustomCodeEdit::FireCommandProcessed(TCodeEditorCommand command, QChar aChar, const TCodeEditCommandData& data)
{
    if (OnCommandProcessed) {
        OnCommandProcessed(this, command, aChar, data);
    }
}
