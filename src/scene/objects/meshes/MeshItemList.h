#pragma once
// The lists of the mesh model own their items, and each item knows the list that
// holds it: clearing or freeing the list frees the items (each item's owner is cleared
// first, so it does not try to leave the list), reading sets every item's owner, and
// an item freed on its own leaves its list. A stream that puts an item of a foreign
// class into the list, or a nil item, is refused.

#include "scene/base/PersistentObjectList.h"

template <class Item, class Self>
class TMeshItemList : public TPersistentObjectList {
public:
    ~TMeshItemList() override { Clear(); }

    Item* Items(int index) const { return static_cast<Item*>(GetItems(index)); }

    // Frees every item.
    void Clear()
    {
        DetachItems();
        FreeAndClear();
    }

    // Takes an item that belongs to no list.
    int AddItem(Item* item)
    {
        item->SetOwner(static_cast<Self*>(this));
        return Add(item);
    }

    void ReadFromFiler(TVirtualReader& reader) override
    {
        DetachItems();
        try {
            TPersistentObjectList::ReadFromFiler(reader);
        } catch (...) {
            AttachItems(); // the list kept its old items
            throw;
        }
        for (int i = 0; i < Count(); ++i) {
            if (!GetItems(i)) {
                Clear();
                throw EReadError("Broken ObjectList archive: a nil item in a " + ClassName());
            }
        }
        AttachItems();
    }

protected:
    void ObjectCreatedWhileReading(TPersistentObject* object) override
    {
        if (!object->Is<Item>()) {
            throw EReadError("Broken ObjectList archive: a " + object->ClassName() + " in a " + ClassName());
        }
    }

private:
    void DetachItems()
    {
        for (int i = 0; i < Count(); ++i) {
            if (auto* item = static_cast<Item*>(GetItems(i))) {
                item->SetOwner(nullptr);
            }
        }
    }
    void AttachItems()
    {
        for (int i = 0; i < Count(); ++i) {
            if (auto* item = static_cast<Item*>(GetItems(i))) {
                item->SetOwner(static_cast<Self*>(this));
            }
        }
    }
};
