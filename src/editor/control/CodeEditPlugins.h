#pragma once
// Components that extend editors without subclassing them. A plug-in attaches to one or
// more editors; a hooking plug-in also binds shortcuts to command numbers of its own
// (from 64000 up) in each editor and receives those commands through its command hook.

#include "editor/control/CodeEdit.h"

#include <QString>

#include <vector>

// Hands out the plug-in command numbers. The counter only grows, except that giving
// back the number handed out last lowers it again. Once every number up to 65535 has
// been handed out, numbers given back are used again; with none left, ECodeEditError.
class TPluginCommandPool {
public:
    static constexpr int First = 64000;
    static constexpr int Last = 65535;

    TCodeEditorCommand Alloc();
    void Release(TCodeEditorCommand command);
    // The number the counter hands out next (Last + 1 once it has passed the end).
    int Next() const { return next_; }

private:
    int next_ = First;
    std::vector<TCodeEditorCommand> released_; // given back below the counter, ascending
};

// The program's pool.
TCodeEditorCommand AllocPluginCommand();
void ReleasePluginCommand(TCodeEditorCommand command);

class TAbstractCodePlugin : public TComponent {
    KP_CLASS(TAbstractCodePlugin, TComponent)
public:
    explicit TAbstractCodePlugin(TComponent* owner = nullptr);
    // Detaches every editor, first to last. Derived classes whose EditorRemoved does
    // something call RemoveAllEditors in their own destructor, while their override is
    // still there to be called.
    ~TAbstractCodePlugin() override;

    // The editor's index, or -1 when it was attached already.
    int AddEditor(TCustomCodeEdit* editor);
    // The editor's former index, or -1 when it was not attached.
    int RemoveEditor(TCustomCodeEdit* editor);
    int EditorCount() const { return static_cast<int>(editors_.size()); }
    TCustomCodeEdit* Editors(int index) const { return editors_.at(static_cast<std::size_t>(index)); }
    // The first attached editor.
    TCustomCodeEdit* Editor() const { return editors_.empty() ? nullptr : editors_.front(); }
    // Replaces the editor when exactly one is attached; with several, adds one more.
    void SetEditor(TCustomCodeEdit* editor);

    // Set while a form designer edits the plug-in: shortcuts are checked, not bound.
    bool Designing() const { return designing_; }
    void SetDesigning(bool on) { designing_ = on; }

protected:
    virtual void EditorAdded(TCustomCodeEdit*) {}
    virtual void EditorRemoved(TCustomCodeEdit*) {}
    void Notification(TComponent* component, TOperation operation) override;
    void RemoveAllEditors();

private:
    int IndexOfEditor(const TComponent* editor) const;

    std::vector<TCustomCodeEdit*> editors_;
    bool designing_ = false;
};

class TAbstractCodeHookerPlugin : public TAbstractCodePlugin {
    KP_CLASS(TAbstractCodeHookerPlugin, TAbstractCodePlugin)
public:
    using TAbstractCodePlugin::TAbstractCodePlugin;

    // The command hook registered in every editor the plug-in binds a shortcut in.
    virtual void CommandHandler(TObject* sender, bool afterProcessing, bool& handled, TCodeEditorCommand& command,
                                QChar& aChar, const TCodeEditCommandData& data, void* handlerData) = 0;

protected:
    // Binds newShortCut (never 0) to the command. An existing binding of oldShortCut
    // that carries the command only changes its shortcut; otherwise a binding is added
    // and the hook registered. ECodeKeyError "Shortcut already exists" when the editor
    // binds the shortcut to something else already.
    void AttachToEditor(TCustomCodeEdit* editor, TCodeEditorCommand command, TShortCut oldShortCut,
                        TShortCut newShortCut);
    // Unregisters the hook and frees the editor's binding of the shortcut when it
    // carries the command.
    void DetachFromEditor(TCustomCodeEdit* editor, TCodeEditorCommand command, TShortCut shortCut);
    TCommandHookEvent Hook() { return MakeDelegate<&TAbstractCodeHookerPlugin::CommandHandler>(this); }
};

class TCodeCustomHighlighter;

struct THighlighterName {
    QString language;
    TCodeCustomHighlighter* highlighter = nullptr;
};

// The owner's highlighters by language name, sorted by name (ignoring case). A name
// that several share lists the highlighter that comes last among the owner's
// components. Without `append` the list is emptied first.
void CollectHighlighters(const TComponent* owner, std::vector<THighlighterName>& list, bool append);
