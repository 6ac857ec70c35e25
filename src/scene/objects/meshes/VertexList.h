#pragma once
// Vertices as 48-byte records in OpenGL's interleaved T2F_C4F_N3F_V3F layout, so one
// glInterleavedArrays call declares them all. While locked, the records live in the
// driver's fast vertex memory (GL_NV_vertex_array_range); the list cannot grow then,
// and unlocking copies what was written back into ordinary memory. Without the
// extension, a current context or fast memory to spare, locking changes nothing.

#include "scene/graph/UpdateAble.h"
#include "scene/base/VectorTypes.h"

struct TVertexData {
    TTexPoint TextCoord;
    TVector Color;
    TAffineVector Normal;
    TAffineVector Coord;
};
static_assert(sizeof(TVertexData) == 48, "the GL_T2F_C4F_N3F_V3F record");

class TVertexList : public TGLUpdateAbleObject {
    KP_CLASS(TVertexList, TGLUpdateAbleObject)
public:
    explicit TVertexList(TPersistent* owner);
    // Unlocks first.
    ~TVertexList() override;
    TVertexList(const TVertexList&) = delete;
    TVertexList& operator=(const TVertexList&) = delete;

    TVertexData* Values() { return values_; }
    const TVertexData* Values() const { return values_; }
    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    // Records added when the list is full; 256.
    int Growth() const { return growth_; }
    void SetGrowth(int value) { growth_ = value > 0 ? value : 1; }

    // The start of each interleaved sub-layout in the first record; nil while the
    // list has no block.
    TTexPoint* FirstTexPoint() { return values_ ? &values_->TextCoord : nullptr; }
    TVector* FirstColor() { return values_ ? &values_->Color : nullptr; }
    TAffineVector* FirstNormal() { return values_ ? &values_->Normal : nullptr; }
    TAffineVector* FirstVertex() { return values_ ? &values_->Coord : nullptr; }

    // Appends one record, then NotifyChange. Asserts "Cannot add to a locked list !"
    // while locked.
    void AddVertex(const TAffineVector& vertex, const TAffineVector& normal, const TVector& color,
                   const TTexPoint& texPoint);

    bool Locked() const { return ordinary_ != nullptr; }
    void SetLocked(bool value);
    // Around drawing from a locked list: declares and releases the vertex array range.
    void EnterLockSection();
    void LeaveLockSection();

    // From a vertex list: its records, with the capacity cut to the count.
    void Assign(const TPersistent* source) override;

private:
    void Grow();

    TVertexData* values_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
    int growth_ = 256;
    // The ordinary block, kept aside while the records are in fast memory.
    TVertexData* ordinary_ = nullptr;
};
