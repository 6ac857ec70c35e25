#include "platform/core/objects/Collection.h"

#include "platform/core/Exceptions.h"

#include <algorithm>

// ---- TCollectionItem ----

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* collection)
{
    if (collection_ == collection) {
        return;
    }
    if (collection_) {
        collection_->RemoveItem(this);
    }
    if (collection) {
        collection->InsertItem(this);
    }
}

int TCollectionItem::Index() const
{
    if (!collection_) {
        return -1;
    }
    const auto& items = collection_->items_;
    const auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int index)
{
    const int current = Index();
    if (current < 0 || current == index) {
        return;
    }
    auto& items = collection_->items_;
    if (index < 0 || index >= static_cast<int>(items.size())) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    items.erase(items.begin() + current);
    items.insert(items.begin() + index, this);
    Changed(true);
}

TPersistent* TCollectionItem::GetOwner() const { return collection_; }

std::string TCollectionItem::GetNamePath() const
{
    if (!collection_) {
        return ClassName();
    }
    return collection_->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

void TCollectionItem::Changed(bool allItems)
{
    if (collection_ && collection_->updateCount_ == 0) {
        collection_->Update(allItems ? nullptr : this);
    }
}

// ---- TCollection ----

TCollection::TCollection(TCollectionItemClass itemClass) : itemClass_(std::move(itemClass))
{
    if (!itemClass_.cls) {
        itemClass_ = CollectionItemClassOf<TCollectionItem>();
    }
}

TCollection::~TCollection()
{
    // No Update calls reach a half-destroyed descendant.
    updateCount_ = 1;
    while (!items_.empty()) {
        delete items_.back();
    }
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return items_[static_cast<std::size_t>(index)];
}

TCollectionItem* TCollection::Add() { return itemClass_.create(this); }

TCollectionItem* TCollection::Insert(int index)
{
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    TCollectionItem* item = Items(index);
    Notify(item, TCollectionNotification::cnDeleting);
    delete item;
}

void TCollection::Clear()
{
    if (items_.empty()) {
        return;
    }
    BeginUpdate();
    try {
        while (!items_.empty()) {
            delete items_.back();
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    for (TCollectionItem* item : items_) {
        if (item->id_ == id) {
            return item;
        }
    }
    return nullptr;
}

void TCollection::EndUpdate()
{
    if (updateCount_ > 0) {
        --updateCount_;
    }
    Changed();
}

void TCollection::Assign(const TPersistent* source)
{
    const auto* other = ObjectCast<TCollection>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) {
        return;
    }
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : other->items_) {
            Add()->Assign(item);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TCollection::GetNamePath() const
{
    const TPersistent* owner = GetOwner();
    if (!owner || propName_.empty()) {
        return ClassName();
    }
    const std::string ownerPath = owner->GetNamePath();
    return ownerPath.empty() ? ClassName() : ownerPath + "." + propName_;
}

void TCollection::Update(TCollectionItem* /*item*/) {}

void TCollection::Notify(TCollectionItem* /*item*/, TCollectionNotification /*action*/) {}

void TCollection::Changed()
{
    if (updateCount_ == 0) {
        Update(nullptr);
    }
}

void TCollection::InsertItem(TCollectionItem* item)
{
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    Notify(item, TCollectionNotification::cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    Notify(item, TCollectionNotification::cnExtracting);
    const auto it = std::find(items_.rbegin(), items_.rend(), item);
    if (it != items_.rend()) {
        items_.erase(std::next(it).base());
    }
    item->collection_ = nullptr;
    Changed();
}
