#pragma once
// A bounded stack of change records. Records of one user action share a change number
// so the control can undo them together; past the limit the oldest changes go whole,
// and the newest is kept whole however many records it has; a lock keeps the replay
// of records from recording itself.

#include "editor/document/CodeEditMiscProcs.h"
#include "editor/control/CodeEditSelectionMode.h"
#include "platform/core/objects/Delegate.h"
#include "platform/core/objects/Persistent.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <deque>

// The reason codes the list itself knows; the others belong to the control's replay.
constexpr std::uint8_t crNothing = 16;    // what an empty list answers as its last reason
constexpr std::uint8_t crGroupBreak = 17; // separates two groups that would otherwise merge

class TCodeEditUndoItem : public TPersistent {
    KP_CLASS(TCodeEditUndoItem, TPersistent)
public:
    std::uint8_t ChangeReason = 0;
    TCodeSelectionMode ChangeSelMode = smNormal;
    TTextPoint ChangeStartPos;
    TTextPoint ChangeEndPos;
    QString ChangeStr;
    std::int32_t ChangeNumber = 0;

    void Assign(const TPersistent* source) override;
};

// Names the text an undo list leads back from. A change keeps its number while undo and
// redo move it between the lists, so the name of a text comes back with it and is never
// given to another: the change number of the newest record that is no group break, or,
// for a list without such records, how often the list has been cleared or had records
// dropped, so a list emptied at its limit never passes for the one a file loaded into
// (no change is numbered 0).
struct TCodeEditUndoState {
    std::int32_t change = 0;
    std::uint64_t emptied = 0;
    bool operator==(const TCodeEditUndoState&) const = default;
};

class TCodeEditUndoList : public TPersistent {
    KP_CLASS(TCodeEditUndoList, TPersistent)
public:
    static constexpr int DefaultMaxUndo = 1024;

    TCodeEditUndoList() = default;

    void Assign(const TPersistent* source) override;

    void AddChange(std::uint8_t reason, TTextPoint start, TTextPoint end, const QString& text,
                   TCodeSelectionMode selectionMode);
    void AddGroupBreak();
    void BeginBlock();
    void EndBlock();
    void Clear();
    void Lock();
    void Unlock();
    bool IsLocked() const { return lockCount_ > 0; }

    // The newest record, nullptr when empty; it stays in the list.
    TCodeEditUndoItem* PeekItem() const;
    // Takes the newest record out; the caller owns it. nullptr when empty.
    std::unique_ptr<TCodeEditUndoItem> PopItem();
    // Appends a record the caller made (the redo path moves records between lists).
    void PushItem(std::unique_ptr<TCodeEditUndoItem> item);

    bool CanUndo() const { return !items_.empty(); }
    int ItemCount() const { return static_cast<int>(items_.size()); }
    const TCodeEditUndoItem& Item(int index) const { return *items_[static_cast<std::size_t>(index)]; }
    std::uint8_t GetLastChangeReason() const;
    TCodeEditUndoState State() const;

    int MaxUndo() const { return maxUndo_; }
    void SetMaxUndoActions(int value);
    bool FullUndoImpossible() const { return fullUndoImpossible_; }
    int BlockChangeNumber() const { return blockChangeNumber_; }
    // The control's replay gives all inverse records of one group the number that names
    // the text they lead back to.
    void SetBlockChangeNumber(std::int32_t number) { blockChangeNumber_ = number; }
    int NextChangeNumber() const { return nextChangeNumber_; }

    // Fired after a record is pushed, except for group breaks.
    TNotifyEvent OnAddedUndo;

private:
    void AdvanceChangeNumber();
    void TrimToLimit();

    std::int32_t blockChangeNumber_ = 0;
    int blockCount_ = 0;
    std::uint64_t emptied_ = 0;
    bool fullUndoImpossible_ = false;
    // A deque: at the limit a new record drops the oldest change, which must not move the rest.
    std::deque<std::unique_ptr<TCodeEditUndoItem>> items_;
    int lockCount_ = 0;
    int maxUndo_ = DefaultMaxUndo;
    std::int32_t nextChangeNumber_ = 1;
};
