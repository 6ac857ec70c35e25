#include "editor/control/CodeEditPlugins.h"

#include "editor/highlighting/CodeCustomHighlighter.h"
#include "platform/core/Assert.h"

#include <algorithm>

// --- plug-in command numbers ---------------------------------------------------------

TCodeEditorCommand TPluginCommandPool::Alloc()
{
    if (next_ <= Last) {
        const auto command = static_cast<TCodeEditorCommand>(next_++);
        released_.erase(std::remove(released_.begin(), released_.end(), command), released_.end());
        return command;
    }
    if (released_.empty()) {
        throw ECodeEditError("No plug-in command numbers left");
    }
    const TCodeEditorCommand command = released_.front();
    released_.erase(released_.begin());
    return command;
}

void TPluginCommandPool::Release(TCodeEditorCommand command)
{
    if (command < First || command >= next_) {
        return;
    }
    if (command == next_ - 1) {
        next_ = command;
        return;
    }
    const auto at = std::lower_bound(released_.begin(), released_.end(), command);
    if (at == released_.end() || *at != command) {
        released_.insert(at, command);
    }
}

namespace {
TPluginCommandPool& ProgramPluginCommands()
{
    static TPluginCommandPool pool;
    return pool;
}
} // namespace

TCodeEditorCommand AllocPluginCommand() { return ProgramPluginCommands().Alloc(); }
void ReleasePluginCommand(TCodeEditorCommand command) { ProgramPluginCommands().Release(command); }

// --- plug-ins --------------------------------------------------------------------------

TAbstractCodePlugin::TAbstractCodePlugin(TComponent* owner) : TComponent(owner) {}

TAbstractCodePlugin::~TAbstractCodePlugin() { RemoveAllEditors(); }

void TAbstractCodePlugin::RemoveAllEditors()
{
    while (!editors_.empty()) {
        RemoveEditor(editors_.front());
    }
}

int TAbstractCodePlugin::IndexOfEditor(const TComponent* editor) const
{
    for (std::size_t i = 0; i < editors_.size(); ++i) {
        if (static_cast<const TComponent*>(editors_[i]) == editor) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TAbstractCodePlugin::AddEditor(TCustomCodeEdit* editor)
{
    if (!editor || IndexOfEditor(editor) >= 0) {
        return -1;
    }
    editor->FreeNotification(this);
    editors_.push_back(editor);
    const int index = EditorCount() - 1;
    EditorAdded(editor);
    return index;
}

int TAbstractCodePlugin::RemoveEditor(TCustomCodeEdit* editor)
{
    const int index = IndexOfEditor(editor);
    if (index < 0) {
        return -1;
    }
    editors_.erase(editors_.begin() + index);
    RemoveFreeNotification(editor);
    EditorRemoved(editor);
    return index;
}

void TAbstractCodePlugin::SetEditor(TCustomCodeEdit* editor)
{
    if (editor == Editor()) {
        return;
    }
    if (EditorCount() == 1) {
        RemoveEditor(Editor());
    }
    if (editor) {
        AddEditor(editor);
    }
}

void TAbstractCodePlugin::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove) {
        const int index = IndexOfEditor(component);
        if (index >= 0) {
            RemoveEditor(editors_[static_cast<std::size_t>(index)]);
        }
    }
}

// --- hooking plug-ins --------------------------------------------------------------------

void TAbstractCodeHookerPlugin::AttachToEditor(TCustomCodeEdit* editor, TCodeEditorCommand command,
                                               TShortCut oldShortCut, TShortCut newShortCut)
{
    KP_ASSERT(newShortCut != 0);
    TCodeEditKeyStrokes& strokes = editor->Keystrokes();
    if (Designing()) {
        if (strokes.FindShortcut(newShortCut) >= 0) {
            throw ECodeKeyError("Shortcut already exists");
        }
        return;
    }
    if (oldShortCut != 0) {
        const int index = strokes.FindShortcut(oldShortCut);
        if (index >= 0 && strokes.Items(index)->Command() == command) {
            strokes.Items(index)->SetShortCut(newShortCut);
            return;
        }
    }
    TCodeEditKeyStroke* stroke = strokes.Add();
    try {
        stroke->SetShortCut(newShortCut);
    } catch (...) {
        // A binding without a key would only get in the way.
        strokes.Delete(stroke->Index());
        throw;
    }
    stroke->SetCommand(command);
    editor->RegisterCommandHook(Hook(), this);
}

void TAbstractCodeHookerPlugin::DetachFromEditor(TCustomCodeEdit* editor, TCodeEditorCommand command,
                                                 TShortCut shortCut)
{
    editor->UnregisterCommandHook(Hook());
    TCodeEditKeyStrokes& strokes = editor->Keystrokes();
    const int index = strokes.FindShortcut(shortCut);
    if (index >= 0 && strokes.Items(index)->Command() == command) {
        strokes.Delete(index);
    }
}

// --- highlighters by language --------------------------------------------------------------

void CollectHighlighters(const TComponent* owner, std::vector<THighlighterName>& list, bool append)
{
    if (!owner) {
        return;
    }
    if (!append) {
        list.clear();
    }
    const auto known = [&list](const QString& name) {
        return std::any_of(list.begin(), list.end(), [&name](const THighlighterName& entry) {
            return entry.language.compare(name, Qt::CaseInsensitive) == 0;
        });
    };
    for (int i = owner->ComponentCount() - 1; i >= 0; --i) {
        auto* highlighter = ObjectCast<TCodeCustomHighlighter>(owner->Components(i));
        if (highlighter) {
            const QString name = highlighter->GetLanguageName();
            if (!known(name)) {
                list.push_back(THighlighterName{name, highlighter});
            }
        }
    }
    std::stable_sort(list.begin(), list.end(), [](const THighlighterName& a, const THighlighterName& b) {
        return a.language.compare(b.language, Qt::CaseInsensitive) < 0;
    });
}
