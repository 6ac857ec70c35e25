#include "editor/completion/CodeCompletionForm.h"

#include "editor/completion/CodeCompletionPrettyText.h"

#include <algorithm>

namespace {

QString AsciiLower(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) {
            c = QChar(c.unicode() + 32);
        }
    }
    return folded;
}

const QString MeasureText = QStringLiteral("CompletionProposal");

} // namespace

TCodeBaseCompletionProposalForm::TCodeBaseCompletionProposalForm()
{
    titleFont_.SetStyle(TFont::fsBold);
    titleFont_.SetColor(clBtnText);
    bounds_ = Rect(0, 0, DesiredWidth, 0);
    FontChanged();
}

TCodeBaseCompletionProposalForm::~TCodeBaseCompletionProposalForm() { Hide(); }

void TCodeBaseCompletionProposalForm::SetWindow(ICodeCompletionWindow* window)
{
    window_ = window ? window : &fixedWindow_;
    FontChanged();
}

// --- lists ---------------------------------------------------------------------------

int TCodeBaseCompletionProposalForm::ItemObject(int index) const
{
    return index >= 0 && index < static_cast<int>(itemObjects_.size()) ? itemObjects_[static_cast<std::size_t>(index)]
                                                                       : -1;
}

void TCodeBaseCompletionProposalForm::SetItemList(const QStringList& items)
{
    itemList_ = items;
    itemObjects_.assign(static_cast<std::size_t>(items.size()), -1);
    assignedList_ = items;
    if (kind_ != ctHint) {
        SetFilterText(currentString_);
    }
    ClampScroll();
}

void TCodeBaseCompletionProposalForm::AddItem(const QString& display, const QString& insert)
{
    itemList_.append(display);
    itemObjects_.push_back(-1);
    insertList_.append(insert);
}

void TCodeBaseCompletionProposalForm::AddItemAt(int where, const QString& display, const QString& insert)
{
    const int at = std::clamp(where, 0, static_cast<int>(itemList_.size()));
    itemList_.insert(at, display);
    itemObjects_.insert(itemObjects_.begin() + at, -1);
    insertList_.insert(std::clamp(where, 0, static_cast<int>(insertList_.size())), insert);
}

void TCodeBaseCompletionProposalForm::ClearList()
{
    itemList_.clear();
    itemObjects_.clear();
    insertList_.clear();
    ClampScroll();
}

// --- filter and selection ----------------------------------------------------------------

bool TCodeBaseCompletionProposalForm::ItemMatches(const QString& item) const
{
    if (currentString_.isEmpty()) {
        return true;
    }
    QString text = item;
    if (prettyText_) {
        const qsizetype tab = item.indexOf(QLatin1Char('\t'));
        if (tab >= 0) {
            text = item.mid(tab + 1);
        }
    }
    QString head = text.left(currentString_.size());
    if (!caseSensitive_) {
        head = AsciiLower(head);
    }
    if (ansi_) {
        return head.compare(compareString_, Qt::CaseInsensitive) == 0;
    }
    return AsciiLower(head) == AsciiLower(compareString_);
}

void TCodeBaseCompletionProposalForm::SetFilterText(const QString& text)
{
    if (kind_ == ctHint) {
        return;
    }
    currentString_ = text;
    compareString_ = caseSensitive_ ? text : AsciiLower(text);
    int first = 0;
    if (matchText_) {
        if (itemList_.size() > assignedList_.size()) {
            assignedList_ = itemList_;
        }
        itemList_.clear();
        itemObjects_.clear();
        for (qsizetype i = 0; i < assignedList_.size(); ++i) {
            if (ItemMatches(assignedList_[i])) {
                itemList_.append(assignedList_[i]);
                itemObjects_.push_back(static_cast<int>(i));
            }
        }
        ClampScroll();
    } else {
        const auto match = std::find_if(itemList_.begin(), itemList_.end(),
                                        [this](const QString& item) { return ItemMatches(item); });
        first = match == itemList_.end() ? 0 : static_cast<int>(match - itemList_.begin());
    }
    if (first != position_ || position_ >= itemList_.size()) {
        MoveTo(first);
    }
    window_->Invalidate();
}

int TCodeBaseCompletionProposalForm::ScrollMax() const
{
    return std::max(0, static_cast<int>(itemList_.size()) - linesInWindow_);
}

void TCodeBaseCompletionProposalForm::SetScrollPosition(int position)
{
    const int clamped = std::clamp(position, 0, ScrollMax());
    if (clamped != scrollPosition_) {
        scrollPosition_ = clamped;
        window_->Invalidate();
    }
}

void TCodeBaseCompletionProposalForm::ClampScroll() { scrollPosition_ = std::clamp(scrollPosition_, 0, ScrollMax()); }

void TCodeBaseCompletionProposalForm::SelectItem(int index)
{
    index = std::max(index, 0);
    if ((index < 1 && position_ == 0) || index == position_ || index >= itemList_.size()) {
        return;
    }
    MoveTo(index);
}

void TCodeBaseCompletionProposalForm::MoveTo(int index)
{
    position_ = index;
    if (position_ < scrollPosition_) {
        scrollPosition_ = position_;
    } else if (scrollPosition_ < position_ - linesInWindow_ + 1) {
        scrollPosition_ = position_ - linesInWindow_ + 1;
    }
    ClampScroll();
    if (visible_ && OnChange && position_ < itemList_.size()) {
        OnChange(this, position_);
    }
    window_->Invalidate();
}

void TCodeBaseCompletionProposalForm::MoveSelection(int delta)
{
    SelectItem(std::clamp(position_ + delta, 0, std::max(0, static_cast<int>(itemList_.size()) - 1)));
}

void TCodeBaseCompletionProposalForm::SetLinesInWindow(int lines)
{
    if (lines > 0 && lines != linesInWindow_) {
        linesInWindow_ = lines;
        ClampScroll();
        ApplyLayout();
    }
}

// --- flags, texts and fonts ----------------------------------------------------------------

void TCodeBaseCompletionProposalForm::SetFlags(TCodeCompletionOptions options)
{
    ansi_ = options.Contains(scoAnsiStrings);
    caseSensitive_ = options.Contains(scoCaseSensitive);
    matchText_ = options.Contains(scoLimitToMatchedText);
    centerTitle_ = options.Contains(scoTitleIsCentered);
    useInsertList_ = options.Contains(scoUseInsertList);
    prettyText_ = options.Contains(scoUsePrettyText);
}

void TCodeBaseCompletionProposalForm::SetTitle(const QString& title)
{
    title_ = title;
    FontChanged();
}

void TCodeBaseCompletionProposalForm::FontChanged()
{
    itemHeight_ = window_->TextHeight(font_, MeasureText);
    titleHeight_ = window_->TextHeight(titleFont_, MeasureText);
    titleBarHeight_ = title_.isEmpty() ? 0 : titleHeight_ + 2;
    ApplyLayout();
}

// --- place and showing ---------------------------------------------------------------------

void TCodeBaseCompletionProposalForm::SetBounds(const TRect& bounds)
{
    bounds_ = bounds;
    window_->SetBounds(bounds_);
}

void TCodeBaseCompletionProposalForm::ApplyLayout()
{
    layout_ = LayoutPopup(bounds_.Width(), itemHeight_, linesInWindow_, titleBarHeight_, window_->ScrollBarWidth());
    if (kind_ == ctCode) {
        bounds_.Bottom = bounds_.Top + layout_.height;
        window_->SetBounds(bounds_);
    }
}

void TCodeBaseCompletionProposalForm::FitToWorkArea()
{
    const TRect area = window_->WorkAreaAt(TScreenPoint{bounds_.Left, bounds_.Top});
    SetBounds(::FitToWorkArea(bounds_, area, currentEditor_ ? currentEditor_->LineHeight() : 0));
}

void TCodeBaseCompletionProposalForm::ShowWindow(bool activate)
{
    window_->SetBounds(bounds_);
    if (!visible_) {
        visible_ = true;
        if (kind_ == ctCode && currentEditor_) {
            focusEditor_ = currentEditor_;
            focusEditor_->AddFocusWindow(this);
            savedAlwaysShowCaret_ = focusEditor_->AlwaysShowCaret();
            focusEditor_->SetAlwaysShowCaret(true);
        }
    }
    window_->Show(activate);
}

void TCodeBaseCompletionProposalForm::Hide()
{
    if (!visible_) {
        return;
    }
    visible_ = false;
    window_->Hide();
    if (focusEditor_) {
        focusEditor_->RemoveFocusWindow(this);
        focusEditor_->SetAlwaysShowCaret(savedAlwaysShowCaret_);
        focusEditor_ = nullptr;
    }
}

void TCodeBaseCompletionProposalForm::SetFocus() { window_->SetFocus(); }

void TCodeBaseCompletionProposalForm::SetStayOnTop(bool on)
{
    stayOnTop_ = on;
    window_->SetStayOnTop(on);
}

void TCodeBaseCompletionProposalForm::ResetParams()
{
    currentIndex_ = -1;
    currentLevel_ = -1;
    paramsText_.clear();
    paramsHeadWidth_ = -1;
}

void TCodeBaseCompletionProposalForm::OpenCode(const QString& filter, int x, int y)
{
    SetFilterText(filter);
    bounds_ = Rect(x, y, x + DesiredWidth, y);
    ApplyLayout();
    scrollBarVisible_ = true;
    FitToWorkArea();
    ShowWindow(true);
}

void TCodeBaseCompletionProposalForm::OpenHint(int x, int y)
{
    if (itemList_.isEmpty()) {
        return;
    }
    int width = 0;
    for (const QString& item : itemList_) {
        width = std::max(width, window_->TextWidth(font_, TFont::fsBold, PrettyTextPlain(item)));
    }
    const int height = (window_->TextHeight(font_, QStringLiteral("Wg")) + 4) * static_cast<int>(itemList_.size());
    bounds_ = Rect(x, y, x + width, y + height);
    scrollBarVisible_ = false;
    FitToWorkArea();
    ShowWindow(false);
}

void TCodeBaseCompletionProposalForm::OpenParams(int x, int y)
{
    window_->Invalidate();
    const QString text = itemList_.join(QLatin1String("\r\n"));
    currentString_ = text;
    if (paramsText_.isNull() || paramsText_ != text) {
        bounds_ = Rect(x, y, x, y);
        paramsText_ = text;
        paramsHeadWidth_ = -1;
    }
    const QString plain = PrettyTextPlain(text);
    const int width = window_->TextWidth(font_, TFont::fsBold, plain);
    const qsizetype tab = plain.indexOf(QLatin1Char('\t'));
    const int headWidth = window_->TextWidth(font_, 0, tab >= 0 ? plain.left(tab) : plain);
    int left = paramsLeft_;
    if (headWidth != paramsHeadWidth_) {
        left = bounds_.Left - headWidth;
        paramsHeadWidth_ = headWidth;
        paramsLeft_ = left;
    }
    const int height = itemHeight_ + 4;
    if (width - 2 >= 1 && height - 2 >= 1) {
        bounds_ = Rect(left, bounds_.Top, left + width, bounds_.Top + height);
        scrollBarVisible_ = false;
        FitToWorkArea();
        ShowWindow(false);
        if (currentEditor_) {
            currentEditor_->SetFocus();
        }
    }
}

// --- input -------------------------------------------------------------------------------

void TCodeBaseCompletionProposalForm::Validate(TShiftState shift, QChar endToken)
{
    if (OnValidate) {
        OnValidate(this, shift, endToken);
    }
}

void TCodeBaseCompletionProposalForm::Cancel()
{
    if (OnCancel) {
        OnCancel(this);
    }
}

void TCodeBaseCompletionProposalForm::EditorCommand(TCodeEditorCommand command)
{
    if (currentEditor_) {
        currentEditor_->DispatchCommand(command, QChar(), {});
    }
}

void TCodeBaseCompletionProposalForm::KeyDown(TVirtualKey& key, TShiftState shift)
{
    switch (kind_) {
    case ctCode: CodeKeyDown(key, shift); break;
    case ctParams: ParamsKeyDown(key); break;
    case ctHint: break;
    }
    window_->Invalidate();
}

void TCodeBaseCompletionProposalForm::CodeKeyDown(TVirtualKey& key, TShiftState shift)
{
    const bool ctrl = shift.Contains(TShiftState::ssCtrl);
    const int last = std::max(0, static_cast<int>(itemList_.size()) - 1);
    switch (key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_SPACE: Validate(shift, QChar()); break;
    case VK_ESCAPE: Cancel(); break;
    case VK_LEFT:
    case VK_RIGHT:
        Cancel();
        EditorCommand(key == VK_LEFT ? ecLeft : ecRight);
        break;
    case VK_PRIOR: MoveSelection(-linesInWindow_); break;
    case VK_NEXT: MoveSelection(linesInWindow_); break;
    case VK_HOME: SelectItem(0); break;
    case VK_END: SelectItem(last); break;
    case VK_UP: ctrl ? SelectItem(0) : MoveSelection(-1); break;
    case VK_DOWN: ctrl ? SelectItem(last) : MoveSelection(1); break;
    case VK_BACK:
        if (!shift.KeyboardOnly().Empty()) {
            return;
        }
        if (!currentString_.isEmpty()) {
            SetFilterText(currentString_.left(currentString_.size() - 1));
            if (OnKeyDelete) {
                OnKeyDelete(this);
            }
        } else {
            Cancel();
            EditorCommand(ecDeleteLastChar);
        }
        break;
    default: return;
    }
    key = 0;
}

void TCodeBaseCompletionProposalForm::ParamsKeyDown(TVirtualKey& key)
{
    switch (key) {
    case VK_RETURN:
        if (currentEditor_) {
            const int down = currentEditor_->LineHeight();
            SetBounds(Rect(bounds_.Left, bounds_.Top + down, bounds_.Right, bounds_.Bottom + down));
        }
        break;
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_UP:
    case VK_DOWN:
        Cancel();
        Hide();
        break;
    case VK_BACK:
        if (OnKeyDelete) {
            OnKeyDelete(this);
        }
        break;
    default: return;
    }
    key = 0;
}

void TCodeBaseCompletionProposalForm::KeyPress(QChar& key)
{
    const char16_t c = key.unicode();
    const auto forward = [this, &key] {
        if (OnKeyPress) {
            OnKeyPress(this, key);
        }
    };
    switch (kind_) {
    case ctCode:
        if (c == 8) {
            forward();
        } else if (c >= 32 && c <= u'z') {
            if (IsEndOfToken(key)) {
                Validate(TShiftState(), key);
            }
            SetFilterText(currentString_ + key);
            forward();
        } else {
            // The list does not take it; the editor does.
            Cancel();
            forward();
        }
        break;
    case ctHint:
        forward();
        Cancel();
        Hide();
        break;
    case ctParams:
        if (c == 8) {
            forward();
        } else if (c == 27) {
            Hide();
            Cancel();
        } else if (c >= 32 && c <= u'z' && TriggerChars.contains(key) && OnParameterToken) {
            int level = currentLevel_;
            int index = currentIndex_;
            QString display;
            OnParameterToken(this, currentIndex_, level, index, key, display);
            currentLevel_ = level;
            currentIndex_ = index;
            itemList_ = QStringList{display};
            itemObjects_.assign(1, -1);
            window_->Invalidate();
        }
        break;
    }
}

void TCodeBaseCompletionProposalForm::MouseDown(int y)
{
    const int row = RowAtPoint(y, scrollPosition_, titleBarHeight_, itemHeight_);
    if (row >= 0 && row < itemList_.size()) {
        SelectItem(row);
    }
}

void TCodeBaseCompletionProposalForm::DblClick()
{
    if (OnDblClick) {
        OnDblClick(this);
    }
}

void TCodeBaseCompletionProposalForm::MouseWheel(int delta, TShiftState shift)
{
    const int steps = WheelSteps(wheelRemainder_, delta, window_->WheelScrollLines(), linesInWindow_,
                                 shift.Contains(TShiftState::ssCtrl));
    if (steps != 0) {
        MoveSelection(steps);
    }
}
