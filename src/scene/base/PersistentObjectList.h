#pragma once
// A growable list of object pointers (usually persistent objects, nil allowed) that can
// stream objects of mixed classes: each class is named once, later items of the same
// class refer to it by index. The list does not own its items unless told to free them.

#include "scene/base/PersistentObject.h"

#include <vector>

class TPersistentObjectList : public TPersistentObject {
    KP_CLASS(TPersistentObjectList, TPersistentObject)
    KP_PERSISTENT_INSTANCE(TPersistentObjectList)
public:
    TPersistentObjectList() = default;
    ~TPersistentObjectList() override = default;

    int Count() const { return count_; }
    int Capacity() const { return static_cast<int>(items_.size()); }
    int GrowthDelta() const { return growthDelta_; }
    void SetGrowthDelta(int delta) { growthDelta_ = delta > 0 ? delta : 1; }

    // Grows the capacity by GrowthDelta when full; returns the new index.
    int Add(TObject* item);
    void Insert(int index, TObject* item);
    void Delete(int index);
    // The former index of the item, or -1.
    int Remove(TObject* item);
    int IndexOf(const TObject* item) const;
    // Range-checked: EListError "Invalid list index".
    TObject* GetItems(int index) const;
    void SetItems(int index, TObject* item);
    TObject* operator[](int index) const { return GetItems(index); }
    TObject* const* List() const { return items_.data(); }

    // Below Count, the items beyond are dropped (not freed).
    void SetCapacity(int capacity);
    // New slots are nil.
    void SetCount(int count);
    // Removes and returns the last item; nil when empty.
    TObject* Pop();
    void Clear();
    // Frees every item, last first; Count is unchanged.
    void FreeItems();
    void FreeAndClear();
    // Frees the items and the list and sets the pointer to nil; nil-safe.
    static void FreeAllAndSelf(TPersistentObjectList*& list);

    [[noreturn]] virtual void Error() const;

    // Writes version 0 and the items. Items that are neither nil nor persistent objects
    // cannot be written: EWriteError.
    void WriteToFiler(TVirtualWriter& writer) const override;
    // Replaces the items with those read; on failure the list keeps its old items and
    // the objects read so far are freed.
    void ReadFromFiler(TVirtualReader& reader) override;

protected:
    // Each object made while reading, before it reads itself.
    virtual void ObjectCreatedWhileReading(TPersistentObject* object);

private:
    void Grow();

    std::vector<TObject*> items_; // size() is the capacity
    int count_ = 0;
    int growthDelta_ = 16;
};
