#pragma once
// The points of a polyline in the compact form tool paths keep them: X, Y and Z in
// twelve bytes each, the first three inside the owner (a jog or a drilled hole needs no
// more), further ones in one heap block that doubles as it fills. The points lie side
// by side, so a vertex array can draw them as they are.

#include "scene/base/VectorTypes.h"

#include <cstdint>

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
    // Drops the last point (none left: nothing happens); back inline at three points.
    void PopBack();
    void Clear();
    void Assign(const TLinePoints& other);

private:
    // The heap block: its capacity, then the points.
    struct THeap {
        std::uint32_t Capacity;
        std::uint32_t Reserved;
    };
    bool OnHeap() const { return count_ > InlineCount; }
    THeap* Heap() const;
    void SetHeap(THeap* heap);
    static TAffineVector* PointsOf(THeap* heap) { return reinterpret_cast<TAffineVector*>(heap + 1); }
    TAffineVector* HeapPoints() const { return PointsOf(Heap()); }
    const TAffineVector* InlinePoints() const { return reinterpret_cast<const TAffineVector*>(storage_); }
    TAffineVector* InlinePoints() { return reinterpret_cast<TAffineVector*>(storage_); }

    std::uint32_t count_ = 0;
    // Three points, or the address of the heap block once there are more.
    alignas(float) unsigned char storage_[InlineCount * sizeof(TAffineVector)];
};
