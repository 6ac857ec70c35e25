#include "editor/completion/CodeCompletionProposal.h"

#include <algorithm>

namespace {
// The command the editor dispatches when it loses the focus; it has no name of its own.
constexpr TCodeEditorCommand FocusLostCommand = 701;
} // namespace

// --- the component with its settings ------------------------------------------------------

TCodeBaseCompletionProposal::TCodeBaseCompletionProposal(TComponent* owner)
    : TComponent(owner), form_(std::make_unique<TCodeBaseCompletionProposalForm>())
{
}

TCodeBaseCompletionProposal::~TCodeBaseCompletionProposal() { form_->Hide(); }

void TCodeBaseCompletionProposal::SetOptions(TCodeCompletionOptions options)
{
    options_ = options;
    form_->SetFlags(options);
}

void TCodeBaseCompletionProposal::HookedEditorCommand(TObject*, bool, bool&, TCodeEditorCommand&, QChar&,
                                                      const TCodeEditCommandData&, void*)
{
}

void TCodeBaseCompletionProposal::Execute(QString filter, int x, int y, CodeCompletionType kind)
{
    form_->SetKind(kind);
    bool canExecute = true;
    if (OnExecute) {
        OnExecute(kind, this, filter, x, y, canExecute);
    }
    if (!canExecute) {
        if (form_->Visible() && kind == ctParams) {
            form_->Hide();
        }
        return;
    }
    form_->SetStayOnTop(kind == ctParams);
    if (kind != ctParams) {
        form_->ResetParams();
    }
    switch (kind) {
    case ctCode: form_->OpenCode(filter, x, y); break;
    case ctHint: form_->OpenHint(x, y); break;
    case ctParams: form_->OpenParams(x, y); break;
    }
}

void TCodeBaseCompletionProposal::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component && component == form_->CurrentEditor()) {
        form_->Hide();
        form_->SetCurrentEditor(nullptr);
    }
}

// --- the component bound to editors ------------------------------------------------------------

TCodeCompletionProposal::TTriggerTimer::~TTriggerTimer() { Stop(); }

void TCodeCompletionProposal::TTriggerTimer::Start(int ms)
{
    Stop();
    if (IEventLoop* loop = GetEventLoop()) {
        id = loop->StartTimer(*this, ms);
    }
}

void TCodeCompletionProposal::TTriggerTimer::Stop()
{
    if (id != 0) {
        if (IEventLoop* loop = GetEventLoop()) {
            loop->KillTimer(id);
        }
        id = 0;
    }
}

TCodeCompletionProposal::TCodeCompletionProposal(TComponent* owner) : TCodeBaseCompletionProposal(owner)
{
    SetOptions({scoLimitToMatchedText, scoEndCharCompletion});
    SetEndOfTokenChr(QStringLiteral("()[]. "));
    SetTriggerChars(QStringLiteral("."));
    TCodeBaseCompletionProposalForm& form = Form();
    form.OnKeyPress = [this](TObject*, QChar& key) { ForwardTypedChar(key); };
    form.OnKeyDelete = [this](TObject*) {
        if (TCustomCodeEdit* editor = Form().CurrentEditor()) {
            editor->DispatchCommand(ecDeleteLastChar, QChar(), {});
        }
    };
    form.OnValidate = [this](TObject*, TShiftState shift, QChar endToken) { AcceptSelectedItem(shift, endToken); };
    form.OnCancel = [this](TObject*) { Cancelled(); };
    form.OnDblClick = [this](TObject*) { AcceptSelectedItem(TShiftState(), QChar()); };
}

TCodeCompletionProposal::~TCodeCompletionProposal()
{
    timer_.reset();
    Form().Hide();
    while (!editors_.empty()) {
        RemoveEditor(editors_.front());
    }
}

int TCodeCompletionProposal::IndexOfEditor(const TComponent* editor) const
{
    const auto it = std::find_if(editors_.begin(), editors_.end(), [editor](const TCustomCodeEdit* e) {
        return static_cast<const TComponent*>(e) == editor;
    });
    return it == editors_.end() ? -1 : static_cast<int>(it - editors_.begin());
}

int TCodeCompletionProposal::CurrentEditorIndex() const { return IndexOfEditor(Form().CurrentEditor()); }

void TCodeCompletionProposal::SetEditor(TCustomCodeEdit* editor)
{
    if (Editor()) {
        RemoveEditor(Editor());
    }
    if (editor) {
        AddEditor(editor);
    }
}

void TCodeCompletionProposal::AddEditor(TCustomCodeEdit* editor)
{
    if (!editor || IndexOfEditor(editor) >= 0) {
        return;
    }
    editors_.push_back(editor);
    editor->AddKeyDownHandler(MakeDelegate<&TCodeCompletionProposal::EditorKeyDown>(this));
    editor->AddKeyPressHandler(MakeDelegate<&TCodeCompletionProposal::EditorKeyPress>(this));
    editor->FreeNotification(this);
    editor->RegisterCommandHook(MakeDelegate<&TCodeBaseCompletionProposal::HookedEditorCommand>(this), nullptr);
}

bool TCodeCompletionProposal::RemoveEditor(TCustomCodeEdit* editor)
{
    const int index = IndexOfEditor(editor);
    if (index < 0) {
        return false;
    }
    editors_.erase(editors_.begin() + index);
    if (Form().CurrentEditor() == editor) {
        Form().Hide();
        Form().SetCurrentEditor(nullptr);
    }
    editor->RemoveKeyDownHandler(MakeDelegate<&TCodeCompletionProposal::EditorKeyDown>(this));
    editor->RemoveKeyPressHandler(MakeDelegate<&TCodeCompletionProposal::EditorKeyPress>(this));
    editor->UnregisterCommandHook(MakeDelegate<&TCodeBaseCompletionProposal::HookedEditorCommand>(this));
    RemoveFreeNotification(editor);
    return true;
}

void TCodeCompletionProposal::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove) {
        const int index = IndexOfEditor(component);
        if (index >= 0) {
            RemoveEditor(editors_[static_cast<std::size_t>(index)]);
        }
    }
    TCodeBaseCompletionProposal::Notification(component, operation);
}

void TCodeCompletionProposal::SetTimerInterval(int ms)
{
    timerInterval_ = ms;
    if (TimerRunning()) {
        timer_->Start(ms);
    }
}

void TCodeCompletionProposal::SetOptions(TCodeCompletionOptions options)
{
    TCodeBaseCompletionProposal::SetOptions(options);
    if (options.Contains(scoUseBuiltInTimer)) {
        if (!timer_) {
            timer_ = std::make_unique<TTriggerTimer>(*this);
        }
    } else {
        timer_.reset();
    }
}

void TCodeCompletionProposal::StopTimer()
{
    if (timer_) {
        timer_->Stop();
    }
}

void TCodeCompletionProposal::Execute(QString filter, int x, int y, CodeCompletionType kind)
{
    const bool running = TimerRunning();
    TCodeBaseCompletionProposal::Execute(std::move(filter), x, y, kind);
    if (!(running && kind == ctCode)) {
        StopTimer();
    }
}

QString TCodeCompletionProposal::TokenBeforeCaret(const TCustomCodeEdit* editor) const
{
    const QString line = editor->GetLineText();
    const int caret = editor->CaretX();
    if (caret > line.size() + 1) {
        return QString();
    }
    int start = caret - 1;
    while (start > 0) {
        const QChar c = line[start - 1];
        if (c.unicode() < 33 || IsEndOfTokenChar(c)) {
            break;
        }
        --start;
    }
    return line.mid(start, caret - 1 - start);
}

void TCodeCompletionProposal::ActivateAtCaret(TCustomCodeEdit* editor)
{
    if (!editor || IndexOfEditor(editor) < 0 || editor->GetReadOnly()) {
        return;
    }
    const TTextPoint pixel = editor->TextPosToPixel(editor->CaretXY());
    int x = pixel.x;
    int y = pixel.y + editor->LineHeight();
    if (editor->Host()) {
        editor->Host()->ClientToScreen(x, y);
    }
    Form().SetCurrentEditor(editor);
    Execute(TokenBeforeCaret(editor), x, y, DefaultType());
    if (DefaultType() == ctCode) {
        swallowNextKey_ = true;
    }
}

void TCodeCompletionProposal::EditorKeyDown(TObject* sender, TVirtualKey& key, TShiftState shift)
{
    auto* editor = ObjectCast<TCustomCodeEdit>(sender);
    if (!editor || editor->GetReadOnly() || ::ShortCut(key, shift.KeyboardOnly()) != ShortCut) {
        return;
    }
    Form().SetCurrentEditor(editor);
    ActivateAtCaret(editor);
    key = 0;
}

void TCodeCompletionProposal::EditorKeyPress(TObject* sender, QChar& key)
{
    if (Form().Visible() && swallowNextKey_) {
        swallowNextKey_ = false;
        key = QChar(); // the blank of Ctrl+Space
        return;
    }
    if (!timer_) {
        return;
    }
    if (TriggerChars().contains(key)) {
        if (auto* editor = ObjectCast<TCustomCodeEdit>(sender)) {
            Form().SetCurrentEditor(editor);
        }
        timer_->Start(timerInterval_);
    } else if (!Form().Visible()) {
        timer_->Stop();
    }
}

void TCodeCompletionProposal::TimerTick()
{
    StopTimer();
    if (Form().Window().ApplicationActive()) {
        ActivateAtCaret(Form().CurrentEditor());
    } else if (Form().Visible()) {
        Form().Hide();
    }
}

void TCodeCompletionProposal::ForwardTypedChar(QChar key)
{
    TCustomCodeEdit* editor = Form().CurrentEditor();
    if (!editor) {
        return;
    }
    editor->DispatchCommand(ecChar, key, {});
    // Checked at once: an end character that accepted an item and is a trigger opens
    // the next list behind itself.
    if (TriggerChars().contains(key) && !Form().Visible()) {
        ActivateAtCaret(editor);
    }
}

void TCodeCompletionProposal::Cancelled()
{
    StopTimer();
    Form().Hide(); // first, so that the editor takes the focus itself
    if (TCustomCodeEdit* editor = Form().CurrentEditor()) {
        editor->SetFocus();
    }
    if (OnCancelled) {
        OnCancelled(this);
    }
}

void TCodeCompletionProposal::CancelNotify()
{
    if (Form().Visible() && Form().Kind() == ctParams) {
        Cancelled();
    }
}

void TCodeCompletionProposal::HookedEditorCommand(TObject* sender, bool afterProcessing, bool&,
                                                  TCodeEditorCommand& command, QChar& aChar,
                                                  const TCodeEditCommandData&, void*)
{
    if (DefaultType() != ctParams || !afterProcessing || !Form().Visible()) {
        return;
    }
    if (command == FocusLostCommand || aChar == QChar(27)) {
        CancelNotify();
    } else if (auto* editor = ObjectCast<TCustomCodeEdit>(sender)) {
        ActivateAtCaret(editor);
    }
}

void TCodeCompletionProposal::AcceptSelectedItem(TShiftState shift, QChar endToken)
{
    TCustomCodeEdit* editor = Form().CurrentEditor();
    if (!editor) {
        return;
    }
    TCodeBaseCompletionProposalForm& form = Form();
    editor->BeginUpdate();
    editor->BeginUndoBlock();
    bool replaced = false;
    const auto finish = [editor, &replaced] {
        editor->EndUndoBlock();
        editor->EndUpdate();
        if (replaced) {
            // The next completion's undo step must not take half of this one along.
            editor->UndoList().AddGroupBreak();
        }
    };
    try {
        const QString& filter = form.CurrentString();
        if (!editor->SelAvail()) {
            const TTextPoint caret = editor->CaretXY();
            editor->SetBlockBegin(TTextPoint{caret.x - static_cast<int>(filter.size()), caret.y});
            editor->SetBlockEnd(caret);
        }
        if (!filter.isEmpty()) {
            const TTextPoint begin = editor->BlockBegin();
            const TTextPoint end = editor->BlockEnd();
            const QString line = editor->LineAt(begin.y);
            if (begin.x >= 1 && begin.x <= line.size() && IsEndOfTokenChar(line[begin.x - 1])) {
                editor->SetBlockBegin(TTextPoint{begin.x + 1, begin.y});
                editor->SetBlockEnd(TTextPoint{end.x + 1, end.y});
            }
        }
        const int position = form.Position();
        QString value = editor->GetSelText();
        if (Options().Contains(scoEndCharCompletion) || endToken.isNull()) {
            const QStringList& inserts = form.InsertList();
            const QStringList& items = form.ItemList();
            if (Options().Contains(scoUseInsertList)) {
                const int index = Options().Contains(scoLimitToMatchedText) ? form.ItemObject(position) : position;
                if (index >= 0 && index < inserts.size()) {
                    value = inserts[index];
                }
            } else if (position >= 0 && position < items.size()) {
                value = items[position];
            }
        }
        bool canExecute = true;
        if (OnCodeCompletion) {
            OnCodeCompletion(value, shift, position, endToken, canExecute);
        }
        if (canExecute) {
            if (editor->GetSelText() != value) {
                editor->ReplaceSelText(value);
                replaced = true;
            }
            StopTimer();
            if (form.Kind() != ctHint) {
                form.Hide();
            }
            editor->SetFocus();
            editor->EnsureCursorPosVisible();
            editor->SetBlockBegin(editor->CaretXY());
            if (OnAfterCodeCompletion) {
                OnAfterCodeCompletion(value, shift, position, endToken);
            }
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}
