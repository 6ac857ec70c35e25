#pragma once
// Owned lists of items of one class (or its descendants). Every change to the list or
// to an item reaches the collection's Update; BeginUpdate/EndUpdate hold those calls
// back and EndUpdate makes one Update(nullptr) when the outermost bracket closes.
//
// Items live on the heap and belong to their collection: freeing an item removes it,
// and the collection frees the items it still holds.

#include "platform/core/objects/Persistent.h"

#include <functional>
#include <string>
#include <vector>

class TCollection;

class TCollectionItem : public TPersistent {
    KP_CLASS(TCollectionItem, TPersistent)
public:
    // Appends the new item to the collection when one is given.
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    // Moves the item to another collection (or out of any with nullptr).
    void SetCollection(TCollection* collection);
    // Unique within the collection for its lifetime: the number of items added before.
    int ID() const { return id_; }
    // Position in the collection, -1 without one.
    int Index() const;
    void SetIndex(int index);
    std::string DisplayName() const { return GetDisplayName(); }

    TPersistent* GetOwner() const override;
    // "<collection path>[<index>]".
    std::string GetNamePath() const override;

protected:
    // The class name unless a descendant has something better to show.
    virtual std::string GetDisplayName() const { return ClassName(); }
    // Tells the collection: Update(this), or Update(nullptr) when allItems.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

// How a collection makes its items: the class and a factory for it.
struct TCollectionItemClass {
    TClass cls = nullptr;
    std::function<TCollectionItem*(TCollection*)> create;
};

template <class T>
TCollectionItemClass CollectionItemClassOf()
{
    return {T::StaticClass(), [](TCollection* c) -> TCollectionItem* { return new T(c); }};
}

enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
    KP_CLASS(TCollection, TPersistent)
public:
    explicit TCollection(TCollectionItemClass itemClass);
    ~TCollection() override;

    const TCollectionItemClass& ItemClass() const { return itemClass_; }
    int Count() const { return static_cast<int>(items_.size()); }
    // EListError "List index out of bounds (<i>)" outside 0..Count-1.
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;

    void BeginUpdate() { ++updateCount_; }
    virtual void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // Same-class items are recreated and assigned one by one inside an update bracket.
    void Assign(const TPersistent* source) override;
    // The class name, or "<owner path>.<property name>" for an owned, named collection.
    std::string GetNamePath() const override;
    // The name of the property that holds the collection in its owner.
    void SetPropName(const std::string& name) { propName_ = name; }

protected:
    // Called for every change (item: the one that changed, nullptr: the whole list),
    // unless an update bracket is open.
    virtual void Update(TCollectionItem* item);
    virtual void Notify(TCollectionItem* item, TCollectionNotification action);
    // Update(nullptr) unless an update bracket is open.
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    TCollectionItemClass itemClass_;
    std::vector<TCollectionItem*> items_;
    int updateCount_ = 0;
    int nextId_ = 0;
    std::string propName_;
};

// A collection that names its owner (the object whose property it is).
class TOwnedCollection : public TCollection {
    KP_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* owner, TCollectionItemClass itemClass)
        : TCollection(std::move(itemClass)), owner_(owner) {}

    TPersistent* GetOwner() const override { return owner_; }

private:
    TPersistent* owner_;
};
