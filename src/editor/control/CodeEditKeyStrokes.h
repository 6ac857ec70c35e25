#pragma once
// Key bindings: a key with its modifiers, or a sequence of two such keys, mapped to an
// editor command. Each editor owns one collection of them; a binding refuses a
// shortcut pair that another binding of its collection already holds.

#include "editor/control/CodeEditCommands.h"
#include "platform/core/objects/Collection.h"
#include "platform/core/Exceptions.h"
#include "platform/core/services/VirtualKeys.h"

#include <string>

class ECodeKeyError : public Exception {
    using Exception::Exception;
};

class TCodeEditKeyStrokes;

class TCodeEditKeyStroke : public TCollectionItem {
    KP_CLASS(TCodeEditKeyStroke, TCollectionItem)
public:
    explicit TCodeEditKeyStroke(TCollection* collection);

    void Assign(const TPersistent* source) override;

    TCodeEditorCommand Command() const { return command_; }
    void SetCommand(TCodeEditorCommand command);
    TVirtualKey Key() const { return key_; }
    void SetKey(TVirtualKey key);
    TShiftState Shift() const { return shift_; }
    void SetShift(TShiftState shift);
    // 0 for a one-key binding.
    TVirtualKey Key2() const { return key2_; }
    void SetKey2(TVirtualKey key);
    TShiftState Shift2() const { return shift2_; }
    void SetShift2(TShiftState shift);

    TShortCut ShortCut() const;
    // ECodeKeyError "Shortcut already exists" when another binding holds the new pair.
    void SetShortCut(TShortCut value);
    TShortCut ShortCut2() const;
    void SetShortCut2(TShortCut value);

protected:
    // "<command> - <shortcut>[ <shortcut 2>]".
    std::string GetDisplayName() const override;

private:
    TCodeEditKeyStrokes* Strokes() const;
    void CheckDuplicate(TShortCut first, TShortCut second) const;

    TVirtualKey key_ = 0;
    TShiftState shift_;
    TVirtualKey key2_ = 0;
    TShiftState shift2_;
    TCodeEditorCommand command_ = ecNone;
};

class TCodeEditKeyStrokes : public TOwnedCollection {
    KP_CLASS(TCodeEditKeyStrokes, TOwnedCollection)
public:
    // The owner is the editor, or the plug-in that made the collection.
    explicit TCodeEditKeyStrokes(TPersistent* owner);

    TCodeEditKeyStroke* Add();
    TCodeEditKeyStroke* Items(int index) const;

    // Index of the first one-key binding of this key and modifiers; -1 when none.
    int FindKeycode(TVirtualKey key, TShiftState shift) const;
    int FindKeycode2(TVirtualKey key, TShiftState shift, TVirtualKey key2, TShiftState shift2) const;
    int FindShortcut(TShortCut shortCut) const;
    int FindShortcut2(TShortCut shortCut, TShortCut shortCut2) const;

    // Replaces every binding with the editor's default set.
    void SetDefaultKeys();
};
