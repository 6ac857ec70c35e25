#include "scene/base/BaseList.h"

#include "platform/core/Assert.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

TBaseList::TBaseList(int itemSize) : itemSize_(itemSize) { KP_ASSERT(itemSize > 0); }

TBaseList::~TBaseList()
{
    Clear();
    std::free(scratch_);
}

void TBaseList::SetCount(int n)
{
    KP_ASSERT(n >= 0);
    if (n > capacity_) {
        SetCapacity(n);
    }
    if (n > count_ && zeroNewItems_) {
        std::memset(ItemAddress(count_), 0, static_cast<std::size_t>(n - count_) * itemSize_);
    }
    count_ = n;
}

void TBaseList::SetCapacity(int n)
{
    n = std::max(n, 0);
    if (n == capacity_) {
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(n) * itemSize_;
    if (external_) {
        // Never realloc or free the caller's memory: copy what we keep.
        std::uint8_t* own = nullptr;
        if (n > 0) {
            own = static_cast<std::uint8_t*>(std::malloc(bytes));
            if (!own) {
                throw std::bad_alloc();
            }
            std::memcpy(own, data_, static_cast<std::size_t>(std::min(n, count_)) * itemSize_);
        }
        data_ = own;
        external_ = false;
    } else if (n == 0) {
        std::free(data_);
        data_ = nullptr;
    } else {
        auto* grown = static_cast<std::uint8_t*>(std::realloc(data_, bytes));
        if (!grown) {
            throw std::bad_alloc();
        }
        data_ = grown;
    }
    capacity_ = n;
    count_ = std::min(count_, capacity_);
}

void TBaseList::UseExternalData(void* data, int count)
{
    KP_ASSERT(count >= 0);
    Clear();
    data_ = static_cast<std::uint8_t*>(data);
    external_ = data_ != nullptr;
    capacity_ = external_ ? count : 0;
    count_ = capacity_;
}

void TBaseList::AddZeroItems(int n)
{
    if (n <= 0) {
        return;
    }
    EnsureCapacity(count_ + n);
    std::memset(ItemAddress(count_), 0, static_cast<std::size_t>(n) * itemSize_);
    count_ += n;
}

void TBaseList::Clear()
{
    count_ = 0;
    SetCapacity(0);
}

void TBaseList::Exchange(int i, int j)
{
    if (i == j) {
        return;
    }
    if (itemSize_ == 4) {
        std::swap(Items<std::uint32_t>()[i], Items<std::uint32_t>()[j]);
        return;
    }
    void* tmp = GetScratchItem();
    std::memcpy(tmp, ItemAddress(i), itemSize_);
    std::memcpy(ItemAddress(i), ItemAddress(j), itemSize_);
    std::memcpy(ItemAddress(j), tmp, itemSize_);
}

void TBaseList::Reverse()
{
    for (int i = 0, j = count_ - 1; i < j; ++i, --j) {
        Exchange(i, j);
    }
}

void* TBaseList::GetScratchItem()
{
    if (!scratch_) {
        scratch_ = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(itemSize_)));
        if (!scratch_) {
            throw std::bad_alloc();
        }
    }
    return scratch_;
}

int TBaseList::AddSlots(int k)
{
    const int first = count_;
    count_ += k;
    if (count_ > capacity_) {
        int capacity = capacity_;
        while (capacity < count_) {
            capacity += growthDelta_;
        }
        const int keep = count_;
        count_ = first; // SetCapacity must not see slots it has not allocated yet
        SetCapacity(capacity);
        count_ = keep;
    }
    return first;
}

void TBaseList::AppendBlock(const void* items, int n)
{
    if (n <= 0) {
        return;
    }
    EnsureCapacity(count_ + n);
    std::memcpy(ItemAddress(count_), items, static_cast<std::size_t>(n) * itemSize_);
    count_ += n;
}

void TBaseList::Assign(const TPersistent* source)
{
    if (!source) {
        Clear();
        return;
    }
    const auto* other = ObjectCast<TBaseList>(source);
    if (!other) {
        TPersistentObject::Assign(source);
        return;
    }
    if (other == this) {
        return;
    }
    const int n = other->count_;
    if (other->ClassType() == ClassType() && other->itemSize_ == itemSize_) {
        SetCapacity(n);
        growthDelta_ = other->growthDelta_;
        count_ = n;
        if (n > 0) {
            std::memcpy(data_, other->data_, static_cast<std::size_t>(n) * itemSize_);
        }
    } else {
        // Nothing meaningful to copy between different item types; no stale bytes either.
        SetCapacity(n);
        growthDelta_ = other->growthDelta_;
        count_ = 0;
        SetCount(n);
        if (!zeroNewItems_ && n > 0) {
            std::memset(data_, 0, static_cast<std::size_t>(n) * itemSize_);
        }
    }
}

void TBaseList::WriteToFiler(TVirtualWriter& writer) const
{
    TPersistentObject::WriteToFiler(writer);
    writer.WriteInteger(0);
    writer.WriteInteger(count_);
    writer.WriteInteger(itemSize_);
    if (count_ > 0) {
        writer.Write(data_, static_cast<std::int64_t>(count_) * itemSize_);
    }
    WriteTail(writer);
}

void TBaseList::ReadFromFiler(TVirtualReader& reader)
{
    TPersistentObject::ReadFromFiler(reader);
    const int version = reader.ReadInteger();
    if (version != 0) {
        RaiseFilerException(version);
    }
    const int count = reader.ReadInteger();
    const int itemSize = reader.ReadInteger();
    if (count < 0) {
        throw EReadError(ClassName() + ": invalid item count " + std::to_string(count));
    }
    if (!AcceptsItemSize(itemSize)) {
        throw EReadError(ClassName() + ": invalid item size " + std::to_string(itemSize));
    }
    const std::int64_t bytes = static_cast<std::int64_t>(count) * itemSize;
    if (bytes > reader.Stream().Remaining()) {
        throw EReadError("Stream read error");
    }
    std::vector<std::uint8_t> block(static_cast<std::size_t>(bytes));
    if (bytes > 0) {
        reader.Read(block.data(), bytes);
    }
    ReadTail(reader);
    // Only now that everything is read does the list change.
    Clear();
    itemSize_ = itemSize;
    std::free(scratch_);
    scratch_ = nullptr;
    SetCapacity(count);
    if (bytes > 0) {
        std::memcpy(data_, block.data(), block.size());
    }
    count_ = count;
}
