#include "editor/control/CodeEditKeyStrokes.h"

#include "editor/document/CodeEditStrConst.h"

TCodeEditKeyStroke::TCodeEditKeyStroke(TCollection* collection) : TCollectionItem(collection) {}

void TCodeEditKeyStroke::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TCodeEditKeyStroke>(source)) {
        command_ = other->command_;
        key_ = other->key_;
        key2_ = other->key2_;
        shift_ = other->shift_;
        shift2_ = other->shift2_;
        return;
    }
    TCollectionItem::Assign(source);
}

void TCodeEditKeyStroke::SetCommand(TCodeEditorCommand command)
{
    if (command != command_) {
        command_ = command;
    }
}

void TCodeEditKeyStroke::SetKey(TVirtualKey key)
{
    if (key != key_) {
        key_ = key;
    }
}

void TCodeEditKeyStroke::SetShift(TShiftState shift)
{
    if (shift != shift_) {
        shift_ = shift;
    }
}

void TCodeEditKeyStroke::SetKey2(TVirtualKey key)
{
    if (key != key2_) {
        key2_ = key;
    }
}

void TCodeEditKeyStroke::SetShift2(TShiftState shift)
{
    if (shift != shift2_) {
        shift2_ = shift;
    }
}

TShortCut TCodeEditKeyStroke::ShortCut() const { return ::ShortCut(key_, shift_); }

TShortCut TCodeEditKeyStroke::ShortCut2() const { return ::ShortCut(key2_, shift2_); }

TCodeEditKeyStrokes* TCodeEditKeyStroke::Strokes() const
{
    return ObjectCast<TCodeEditKeyStrokes>(Collection());
}

void TCodeEditKeyStroke::CheckDuplicate(TShortCut first, TShortCut second) const
{
    const TCodeEditKeyStrokes* strokes = Strokes();
    if (!strokes) {
        return;
    }
    const int found = strokes->FindShortcut2(first, second);
    if (found >= 0 && strokes->Items(found) != this) {
        throw ECodeKeyError(sCodeShortcutExists);
    }
}

void TCodeEditKeyStroke::SetShortCut(TShortCut value)
{
    if (value != scNone) {
        CheckDuplicate(value, ShortCut2());
    }
    TVirtualKey key = 0;
    TShiftState shift;
    ShortCutToKey(value, key, shift);
    if (key != key_ || shift != shift_) {
        key_ = key;
        shift_ = shift;
    }
}

void TCodeEditKeyStroke::SetShortCut2(TShortCut value)
{
    if (value != scNone) {
        CheckDuplicate(ShortCut(), value);
    }
    TVirtualKey key = 0;
    TShiftState shift;
    ShortCutToKey(value, key, shift);
    if (key != key2_ || shift != shift2_) {
        key2_ = key;
        shift2_ = shift;
    }
}

std::string TCodeEditKeyStroke::GetDisplayName() const
{
    std::string name = CommandToText(command_).toStdString() + " - " + ShortCutToText(ShortCut());
    if (ShortCut2() != scNone) {
        name += " " + ShortCutToText(ShortCut2());
    }
    return name;
}

// ---- TCodeEditKeyStrokes ----

TCodeEditKeyStrokes::TCodeEditKeyStrokes(TPersistent* owner)
    : TOwnedCollection(owner, CollectionItemClassOf<TCodeEditKeyStroke>())
{
}

TCodeEditKeyStroke* TCodeEditKeyStrokes::Add()
{
    return static_cast<TCodeEditKeyStroke*>(TCollection::Add());
}

TCodeEditKeyStroke* TCodeEditKeyStrokes::Items(int index) const
{
    return static_cast<TCodeEditKeyStroke*>(TCollection::Items(index));
}

int TCodeEditKeyStrokes::FindKeycode(TVirtualKey key, TShiftState shift) const
{
    for (int i = 0; i < Count(); ++i) {
        const TCodeEditKeyStroke* k = Items(i);
        if (k->Key() == key && k->Shift() == shift && k->Key2() == 0) {
            return i;
        }
    }
    return -1;
}

int TCodeEditKeyStrokes::FindKeycode2(TVirtualKey key, TShiftState shift, TVirtualKey key2,
                                      TShiftState shift2) const
{
    for (int i = 0; i < Count(); ++i) {
        const TCodeEditKeyStroke* k = Items(i);
        if (k->Key() == key && k->Shift() == shift && k->Key2() == key2 && k->Shift2() == shift2) {
            return i;
        }
    }
    return -1;
}

int TCodeEditKeyStrokes::FindShortcut(TShortCut shortCut) const
{
    for (int i = 0; i < Count(); ++i) {
        if (Items(i)->ShortCut() == shortCut) {
            return i;
        }
    }
    return -1;
}

int TCodeEditKeyStrokes::FindShortcut2(TShortCut shortCut, TShortCut shortCut2) const
{
    for (int i = 0; i < Count(); ++i) {
        const TCodeEditKeyStroke* k = Items(i);
        if (k->ShortCut() == shortCut && k->ShortCut2() == shortCut2) {
            return i;
        }
    }
    return -1;
}

namespace {

struct TDefaultBinding {
    TCodeEditorCommand command;
    TVirtualKey key;
    TShiftState shift;
};

constexpr TShiftState kNone = ssNone;
constexpr TShiftState kShift = ssShift;
constexpr TShiftState kCtrl = ssCtrl;
constexpr TShiftState kAlt = ssAlt;
constexpr TShiftState kCtrlShift = ssCtrl | ssShift;
constexpr TShiftState kShiftAlt = ssShift | ssAlt;

constexpr TDefaultBinding kDefaultBindings[] = {
    {ecUp, VK_UP, kNone},
    {ecSelUp, VK_UP, kShift},
    {ecScrollUp, VK_UP, kCtrl},
    {ecDown, VK_DOWN, kNone},
    {ecSelDown, VK_DOWN, kShift},
    {ecScrollDown, VK_DOWN, kCtrl},
    {ecLeft, VK_LEFT, kNone},
    {ecSelLeft, VK_LEFT, kShift},
    {ecWordLeft, VK_LEFT, kCtrl},
    {ecSelWordLeft, VK_LEFT, kCtrlShift},
    {ecRight, VK_RIGHT, kNone},
    {ecSelRight, VK_RIGHT, kShift},
    {ecWordRight, VK_RIGHT, kCtrl},
    {ecSelWordRight, VK_RIGHT, kCtrlShift},
    {ecPageDown, VK_NEXT, kNone},
    {ecSelPageDown, VK_NEXT, kShift},
    {ecPageBottom, VK_NEXT, kCtrl},
    {ecSelPageBottom, VK_NEXT, kCtrlShift},
    {ecPageUp, VK_PRIOR, kNone},
    {ecSelPageUp, VK_PRIOR, kShift},
    {ecPageTop, VK_PRIOR, kCtrl},
    {ecSelPageTop, VK_PRIOR, kCtrlShift},
    {ecLineStart, VK_HOME, kNone},
    {ecSelLineStart, VK_HOME, kShift},
    {ecEditorTop, VK_HOME, kCtrl},
    {ecSelEditorTop, VK_HOME, kCtrlShift},
    {ecLineEnd, VK_END, kNone},
    {ecSelLineEnd, VK_END, kShift},
    {ecEditorBottom, VK_END, kCtrl},
    {ecSelEditorBottom, VK_END, kCtrlShift},
    {ecToggleMode, VK_INSERT, kNone},
    {ecCopy, VK_INSERT, kCtrl},
    {ecCut, VK_DELETE, kShift},
    {ecPaste, VK_INSERT, kShift},
    {ecDeleteChar, VK_DELETE, kNone},
    {ecDeleteLastChar, VK_BACK, kNone},
    {ecDeleteLastChar, VK_BACK, kShift},
    {ecDeleteLastWord, VK_BACK, kCtrl},
    {ecUndo, VK_BACK, kAlt},
    {ecRedo, VK_BACK, kShiftAlt},
    {ecLineBreak, VK_RETURN, kNone},
    {ecLineBreak, VK_RETURN, kShift},
    {ecTab, VK_TAB, kNone},
    {ecShiftTab, VK_TAB, kShift},
    {ecContextHelp, VK_F1, kCtrl},
    {ecSelectAll, 'A', kCtrl},
    {ecCopy, 'C', kCtrl},
    {ecPaste, 'V', kCtrl},
    {ecCut, 'X', kCtrl},
    {ecBlockIndent, 'I', kCtrlShift},
    {ecBlockUnindent, 'U', kCtrlShift},
    {ecLineBreak, 'M', kCtrl},
    {ecInsertLine, 'N', kCtrl},
    {ecDeleteWord, 'T', kCtrl},
    {ecDeleteLine, 'Y', kCtrl},
    {ecDeleteEOL, 'Y', kCtrlShift},
    {ecUndo, 'Z', kCtrl},
    {ecRedo, 'Z', kCtrlShift},
    {ecGotoMarker0, '0', kCtrl},
    {ecGotoMarker1, '1', kCtrl},
    {ecGotoMarker2, '2', kCtrl},
    {ecGotoMarker3, '3', kCtrl},
    {ecGotoMarker4, '4', kCtrl},
    {ecGotoMarker5, '5', kCtrl},
    {ecGotoMarker6, '6', kCtrl},
    {ecGotoMarker7, '7', kCtrl},
    {ecGotoMarker8, '8', kCtrl},
    {ecGotoMarker9, '9', kCtrl},
    {ecSetMarker0, '0', kCtrlShift},
    {ecSetMarker1, '1', kCtrlShift},
    {ecSetMarker2, '2', kCtrlShift},
    {ecSetMarker3, '3', kCtrlShift},
    {ecSetMarker4, '4', kCtrlShift},
    {ecSetMarker5, '5', kCtrlShift},
    {ecSetMarker6, '6', kCtrlShift},
    {ecSetMarker7, '7', kCtrlShift},
    {ecSetMarker8, '8', kCtrlShift},
    {ecSetMarker9, '9', kCtrlShift},
    {ecNormalSelect, 'N', kCtrlShift},
    {ecColumnSelect, 'C', kCtrlShift},
    {ecLineSelect, 'L', kCtrlShift},
    {ecMatchBracket, 'B', kCtrlShift},
};

} // namespace

void TCodeEditKeyStrokes::SetDefaultKeys()
{
    BeginUpdate();
    Clear();
    for (const TDefaultBinding& binding : kDefaultBindings) {
        TCodeEditKeyStroke* stroke = Add();
        stroke->SetCommand(binding.command);
        stroke->SetKey(binding.key);
        stroke->SetShift(binding.shift);
    }
    EndUpdate();
}
