#pragma once
// The points of a polyline in the compact form tool paths keep them: X, Y and Z in
// twelve bytes each, the first three inside the owner (a jog or a drilled hole needs no
// more), further ones in one heap block that doubles as it fills. The points lie side
// by side, so a vertex array can draw them as they are.

#include "scene/base/VectorTypes.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

class TLinePoints {
public:
    static constexpr std::uint32_t InlineCount = 3;

    TLinePoints() = default;
    ~TLinePoints() { Clear(); }
    TLinePoints(const TLinePoints&) = delete;
    TLinePoints& operator=(const TLinePoints&) = delete;

    std::uint32_t Count() const { return count_; }
    const TAffineVector* Data() const { return OnHeap() ? HeapPoints() : InlinePoints(); }
    const TAffineVector& operator[](std::uint32_t index) const { return Data()[index]; }

    void Push(const TAffineVector& point);
    // Bytes of the heap block, its allocation header included (0 while inline), and
    // what the next Push adds to them.
    std::size_t HeapBytes() const { return OnHeap() ? BlockBytes(Heap()->Capacity) : 0; }
    std::size_t PushGrowth() const
    {
        if (count_ < InlineCount) {
            return 0;
        }
        if (count_ == InlineCount) {
            return BlockBytes(FirstHeapCapacity);
        }
        const std::uint32_t capacity = Heap()->Capacity;
        return capacity == count_ ? BlockBytes(2 * capacity) - BlockBytes(capacity) : 0;
    }
    // Gives back the room that no point uses: for a polyline that is finished.
    void ShrinkToFit();
    // Drops the last point (none left: nothing happens); back inline at three points.
    void PopBack();
    // How many leading points are as they were at the last MarkUnchanged, for a drawing
    // that shows them and need not look at them again: Push keeps them, PopBack lowers
    // the count to the points left, anything else starts it at 0. Counted in the heap
    // block, so only beyond three points; three or fewer answer 0.
    std::uint32_t Unchanged() const { return OnHeap() ? Heap()->Unchanged : 0; }
    void MarkUnchanged()
    {
        if (OnHeap()) {
            Heap()->Unchanged = count_;
        }
    }
    void Clear();
    void Assign(const TLinePoints& other);

private:
    // The heap block: its capacity and the points unchanged since the last mark, then
    // the points.
    struct THeap {
        std::uint32_t Capacity;
        std::uint32_t Unchanged;
    };
    static constexpr std::uint32_t FirstHeapCapacity = 8;
    // What malloc takes for a block: its size header, rounded to its alignment.
    static constexpr std::size_t BlockBytes(std::uint32_t capacity)
    {
        return (sizeof(THeap) + std::size_t(capacity) * sizeof(TAffineVector) + sizeof(std::size_t) + 15) / 16 * 16;
    }
    bool OnHeap() const { return count_ > InlineCount; }
    THeap* Heap() const
    {
        THeap* heap = nullptr;
        std::memcpy(&heap, storage_, sizeof heap);
        return heap;
    }
    void SetHeap(THeap* heap);
    static TAffineVector* PointsOf(THeap* heap) { return reinterpret_cast<TAffineVector*>(heap + 1); }
    TAffineVector* HeapPoints() const { return PointsOf(Heap()); }
    const TAffineVector* InlinePoints() const { return reinterpret_cast<const TAffineVector*>(storage_); }
    TAffineVector* InlinePoints() { return reinterpret_cast<TAffineVector*>(storage_); }

    std::uint32_t count_ = 0;
    // Three points, or the address of the heap block once there are more.
    alignas(float) unsigned char storage_[InlineCount * sizeof(TAffineVector)];
};
