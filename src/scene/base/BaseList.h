#pragma once
// Growable arrays of fixed-size plain items kept in one contiguous block, so whole
// lists pass to the array kernels and to OpenGL in one call and stream as one raw
// block. Single adds grow the capacity by GrowthDelta; block appends grow it exactly.
//
// Stream form: version 0, Count, ItemSize, then Count * ItemSize raw bytes.

#include "scene/base/PersistentObject.h"

#include <cstdint>
#include <cstring>

class TBaseList : public TPersistentObject {
    KP_CLASS(TBaseList, TPersistentObject)
public:
    ~TBaseList() override;

    int Count() const { return count_; }
    // Asserts n >= 0. Growing beyond the capacity sets it to exactly n; new items are
    // zero-filled while ZeroNewItems is set (the default).
    void SetCount(int n);
    int Capacity() const { return capacity_; }
    // Reallocates the block, keeping the contents up to the smaller size; below Count,
    // Count drops to the new capacity. External data is copied into a block of our own.
    virtual void SetCapacity(int n);
    void EnsureCapacity(int n)
    {
        if (n > capacity_) {
            SetCapacity(n);
        }
    }
    int GrowthDelta() const { return growthDelta_; }
    void SetGrowthDelta(int delta) { growthDelta_ = delta > 0 ? delta : 1; }
    int ItemSize() const { return itemSize_; }
    bool ZeroNewItems() const { return zeroNewItems_; }
    void SetZeroNewItems(bool zero) { zeroNewItems_ = zero; }

    // Works on the caller's memory (count items) without owning or freeing it. The
    // memory must outlive the list or the next capacity change, whichever comes first.
    void UseExternalData(void* data, int count);
    bool HasExternalData() const { return external_; }

    // Appends n zero items; the capacity grows to exactly what is needed.
    void AddZeroItems(int n);
    // Count := 0, memory kept.
    void Flush() { count_ = 0; }
    // Count := 0 and the block released.
    void Clear();
    void Exchange(int i, int j);
    void Reverse();
    // A one-item buffer owned by the list.
    void* GetScratchItem();
    // No range check.
    void* ItemAddress(int i) { return data_ + static_cast<std::size_t>(i) * itemSize_; }
    const void* ItemAddress(int i) const { return data_ + static_cast<std::size_t>(i) * itemSize_; }

    // From another list: the same capacity, count and growth delta; items are copied
    // when the classes match and zeroed otherwise. nullptr clears.
    void Assign(const TPersistent* source) override;

    void WriteToFiler(TVirtualWriter& writer) const override;
    // Reading is all or nothing: a damaged archive leaves the list as it was.
    void ReadFromFiler(TVirtualReader& reader) override;

protected:
    explicit TBaseList(int itemSize);

    template <class T>
    T* Items() { return reinterpret_cast<T*>(data_); }
    template <class T>
    const T* Items() const { return reinterpret_cast<const T*>(data_); }

    // One slot at Count (growing by GrowthDelta when full); returns its index.
    int AddSlot()
    {
        if (count_ == capacity_) {
            SetCapacity(capacity_ + growthDelta_);
        }
        return count_++;
    }
    // k slots at once: Count first, then the capacity in GrowthDelta steps.
    int AddSlots(int k);
    // Appends n items from a block of the same item size; exact growth.
    void AppendBlock(const void* items, int n);

    // The item sizes this list can hold; typed lists accept only their own.
    virtual bool AcceptsItemSize(int size) const { return size > 0; }
    // Values a descendant keeps after the item block; read before the list changes.
    virtual void WriteTail(TVirtualWriter& /*writer*/) const {}
    virtual void ReadTail(TVirtualReader& /*reader*/) {}

private:
    std::uint8_t* data_ = nullptr;
    std::uint8_t* scratch_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
    int growthDelta_ = 16;
    int itemSize_;
    bool external_ = false;
    bool zeroNewItems_ = true;
};
