#include "scene/objects/lines/LinePoints.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

static_assert(std::is_trivially_copyable_v<TAffineVector> && sizeof(TAffineVector) == 12);

void TLinePoints::SetHeap(THeap* heap)
{
    std::memcpy(storage_, &heap, sizeof heap);
}

namespace {
void* AllocateBlock(std::size_t bytes, void* old)
{
    // realloc lets a large block grow in place (glibc remaps it), which a run of a
    // million moves into one polyline needs.
    void* block = std::realloc(old, bytes);
    if (!block) {
        throw std::bad_alloc();
    }
    return block;
}
} // namespace

void TLinePoints::Push(const TAffineVector& point)
{
    if (count_ < InlineCount) {
        InlinePoints()[count_++] = point;
        return;
    }
    if (count_ == InlineCount) {
        auto* heap = static_cast<THeap*>(
            AllocateBlock(sizeof(THeap) + FirstHeapCapacity * sizeof(TAffineVector), nullptr));
        heap->Capacity = FirstHeapCapacity;
        heap->Unchanged = 0;
        std::memcpy(PointsOf(heap), storage_, sizeof storage_);
        SetHeap(heap);
    } else if (Heap()->Capacity == count_) {
        const std::uint32_t capacity = count_ * 2;
        const std::size_t bytes = sizeof(THeap) + std::size_t(capacity) * sizeof(TAffineVector);
        auto* heap = static_cast<THeap*>(AllocateBlock(bytes, Heap()));
        heap->Capacity = capacity;
        SetHeap(heap);
    }
    HeapPoints()[count_++] = point;
}

void TLinePoints::ShrinkToFit()
{
    if (!OnHeap() || Heap()->Capacity == count_) {
        return;
    }
    const std::size_t bytes = sizeof(THeap) + std::size_t(count_) * sizeof(TAffineVector);
    auto* heap = static_cast<THeap*>(AllocateBlock(bytes, Heap()));
    heap->Capacity = count_;
    SetHeap(heap);
}

void TLinePoints::PopBack()
{
    if (count_ == 0) {
        return;
    }
    if (count_ == InlineCount + 1) {
        THeap* heap = Heap();
        std::memcpy(storage_, PointsOf(heap), sizeof storage_);
        std::free(heap);
    } else if (OnHeap() && Heap()->Unchanged >= count_) {
        Heap()->Unchanged = count_ - 1;
    }
    --count_;
}

void TLinePoints::Clear()
{
    if (OnHeap()) {
        std::free(Heap());
    }
    count_ = 0;
}

void TLinePoints::Assign(const TLinePoints& other)
{
    if (&other == this) {
        return;
    }
    Clear();
    for (std::uint32_t i = 0; i < other.count_; ++i) {
        Push(other[i]);
    }
}
