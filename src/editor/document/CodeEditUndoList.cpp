#include "editor/document/CodeEditUndoList.h"

#include <iterator>
#include <limits>

void TCodeEditUndoItem::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TCodeEditUndoItem>(source)) {
        ChangeReason = other->ChangeReason;
        ChangeSelMode = other->ChangeSelMode;
        ChangeStartPos = other->ChangeStartPos;
        ChangeEndPos = other->ChangeEndPos;
        ChangeStr = other->ChangeStr;
        ChangeNumber = other->ChangeNumber;
        return;
    }
    TPersistent::Assign(source);
}

void TCodeEditUndoList::Assign(const TPersistent* source)
{
    const auto* other = ObjectCast<TCodeEditUndoList>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) {
        return;
    }
    items_.clear();
    for (const auto& item : other->items_) {
        auto copy = std::make_unique<TCodeEditUndoItem>();
        copy->Assign(item.get());
        items_.push_back(std::move(copy));
    }
    blockChangeNumber_ = other->blockChangeNumber_;
    blockCount_ = other->blockCount_;
    emptied_ = other->emptied_;
    fullUndoImpossible_ = other->fullUndoImpossible_;
    lockCount_ = other->lockCount_;
    maxUndo_ = other->maxUndo_;
    nextChangeNumber_ = other->nextChangeNumber_;
}

void TCodeEditUndoList::AdvanceChangeNumber()
{
    // Wraps like a 32-bit counter, and 0 is never handed out: it means "no block".
    nextChangeNumber_ = nextChangeNumber_ == std::numeric_limits<std::int32_t>::max()
                            ? std::numeric_limits<std::int32_t>::min()
                            : nextChangeNumber_ + 1;
    if (nextChangeNumber_ == 0) {
        nextChangeNumber_ = 1;
    }
}

void TCodeEditUndoList::AddChange(std::uint8_t reason, TTextPoint start, TTextPoint end,
                                  const QString& text, TCodeSelectionMode selectionMode)
{
    if (lockCount_ > 0) {
        return;
    }
    auto item = std::make_unique<TCodeEditUndoItem>();
    item->ChangeReason = reason;
    item->ChangeSelMode = selectionMode;
    item->ChangeStartPos = start;
    item->ChangeEndPos = end;
    item->ChangeStr = text;
    if (blockChangeNumber_ != 0) {
        item->ChangeNumber = blockChangeNumber_;
    } else {
        item->ChangeNumber = nextChangeNumber_;
        AdvanceChangeNumber();
    }
    PushItem(std::move(item));
}

void TCodeEditUndoList::AddGroupBreak()
{
    if (!items_.empty() && items_.back()->ChangeReason != crGroupBreak) {
        AddChange(crGroupBreak, TTextPoint{}, TTextPoint{}, QString(), smNormal);
    }
}

void TCodeEditUndoList::BeginBlock()
{
    ++blockCount_;
    blockChangeNumber_ = nextChangeNumber_;
}

void TCodeEditUndoList::EndBlock()
{
    if (blockCount_ > 0) {
        --blockCount_;
        if (blockCount_ == 0) {
            blockChangeNumber_ = 0;
            AdvanceChangeNumber();
        }
    }
}

void TCodeEditUndoList::Clear()
{
    items_.clear();
    fullUndoImpossible_ = false;
    ++emptied_;
}

void TCodeEditUndoList::Lock() { ++lockCount_; }

void TCodeEditUndoList::Unlock()
{
    if (lockCount_ > 0) {
        --lockCount_;
    }
}

TCodeEditUndoItem* TCodeEditUndoList::PeekItem() const
{
    return items_.empty() ? nullptr : items_.back().get();
}

std::unique_ptr<TCodeEditUndoItem> TCodeEditUndoList::PopItem()
{
    if (items_.empty()) {
        return nullptr;
    }
    std::unique_ptr<TCodeEditUndoItem> item = std::move(items_.back());
    items_.pop_back();
    return item;
}

void TCodeEditUndoList::PushItem(std::unique_ptr<TCodeEditUndoItem> item)
{
    if (!item) {
        return;
    }
    const bool groupBreak = item->ChangeReason == crGroupBreak;
    items_.push_back(std::move(item));
    TrimToLimit();
    if (!groupBreak && OnAddedUndo) {
        OnAddedUndo(this);
    }
}

void TCodeEditUndoList::TrimToLimit()
{
    if (maxUndo_ == 0) { // undo switched off
        if (!items_.empty()) {
            fullUndoImpossible_ = true;
            ++emptied_;
            items_.clear();
        }
        return;
    }
    // Whole changes go, oldest first: an undo that finds half a change would leave the
    // text half restored. The newest change stays whole even past the limit; a group
    // break after it is no change of its own here, or closing a replace-all's block would
    // drop the block. Once the oldest record belongs to the kept change nothing older is
    // left (a change's records lie together), so a long replace-all costs one comparison
    // per record.
    if (items_.empty()) {
        return;
    }
    auto newestChange = items_.rbegin();
    while (std::next(newestChange) != items_.rend() && (*newestChange)->ChangeReason == crGroupBreak) {
        ++newestChange;
    }
    const std::int32_t newest = (*newestChange)->ChangeNumber;
    while (ItemCount() > maxUndo_ && items_.front()->ChangeNumber != newest) {
        fullUndoImpossible_ = true;
        ++emptied_;
        const std::int32_t oldest = items_.front()->ChangeNumber;
        while (items_.front()->ChangeNumber == oldest) {
            items_.pop_front();
        }
    }
}

std::uint8_t TCodeEditUndoList::GetLastChangeReason() const
{
    return items_.empty() ? crNothing : items_.back()->ChangeReason;
}

TCodeEditUndoState TCodeEditUndoList::State() const
{
    for (auto item = items_.rbegin(); item != items_.rend(); ++item) {
        if ((*item)->ChangeReason != crGroupBreak) {
            return TCodeEditUndoState{(*item)->ChangeNumber, 0};
        }
    }
    return TCodeEditUndoState{0, emptied_};
}

void TCodeEditUndoList::SetMaxUndoActions(int value)
{
    if (value < 0) {
        value = 0;
    }
    if (value != maxUndo_) {
        maxUndo_ = value;
        TrimToLimit();
    }
}
