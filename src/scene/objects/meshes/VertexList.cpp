#include "scene/objects/meshes/VertexList.h"

#include "platform/core/Assert.h"
#include "scene/rendering/GLContext.h"
#include "scene/base/OpenGLBinding.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

std::size_t Bytes(int records) { return static_cast<std::size_t>(records) * sizeof(TVertexData); }

} // namespace

TVertexList::TVertexList(TPersistent* owner) : TGLUpdateAbleObject(owner) {}

TVertexList::~TVertexList()
{
    SetLocked(false);
    std::free(values_);
}

void TVertexList::Grow()
{
    KP_ASSERT_MSG(!Locked(), "Cannot add to a locked list !");
    const int capacity = capacity_ + growth_;
    void* block = std::realloc(values_, Bytes(capacity));
    if (!block) {
        throw std::bad_alloc();
    }
    values_ = static_cast<TVertexData*>(block);
    capacity_ = capacity;
}

void TVertexList::AddVertex(const TAffineVector& vertex, const TAffineVector& normal, const TVector& color,
                            const TTexPoint& texPoint)
{
    // The fast block holds exactly the records it was given: nothing may be added to
    // it, even below the capacity of the ordinary block.
    KP_ASSERT_MSG(!Locked(), "Cannot add to a locked list !");
    if (count_ == capacity_) {
        Grow();
    }
    values_[count_] = {texPoint, color, normal, vertex};
    ++count_;
    NotifyChange(this);
}

void TVertexList::SetLocked(bool value)
{
    if (value == Locked()) {
        return;
    }
    if (!value) {
        // Whatever was written while locked is kept; the fast block goes back to the
        // driver even without a current context, or it would be lost.
        if (count_ > 0) {
            std::memcpy(ordinary_, values_, Bytes(count_));
        }
        if (GL.glXFreeMemoryNV) {
            GL.glXFreeMemoryNV(values_);
        }
        values_ = ordinary_;
        ordinary_ = nullptr;
        return;
    }
    if (!GLExt.NV_vertex_array_range || !CurrentGLContext() || !GL.glXAllocateMemoryNV || !values_) {
        return;
    }
    void* fast = GL.glXAllocateMemoryNV(static_cast<GLsizei>(Bytes(count_)), 0, 0, 0.5f);
    if (!fast) {
        return;
    }
    if (count_ > 0) {
        std::memcpy(fast, values_, Bytes(count_));
    }
    ordinary_ = values_;
    values_ = static_cast<TVertexData*>(fast);
}

void TVertexList::EnterLockSection()
{
    if (Locked()) {
        GL.glVertexArrayRangeNV(static_cast<GLsizei>(Bytes(count_)), values_);
        GL.glEnableClientState(GL_VERTEX_ARRAY_RANGE_NV);
    }
}

void TVertexList::LeaveLockSection()
{
    if (Locked()) {
        GL.glDisableClientState(GL_VERTEX_ARRAY_RANGE_NV);
        GL.glFlushVertexArrayRangeNV();
    }
}

void TVertexList::Assign(const TPersistent* source)
{
    const auto* list = ObjectCast<TVertexList>(source);
    if (!list) {
        TGLUpdateAbleObject::Assign(source);
        return;
    }
    if (list == this) {
        return;
    }
    SetLocked(false);
    void* block = list->count_ > 0 ? std::malloc(Bytes(list->count_)) : nullptr;
    if (list->count_ > 0 && !block) {
        throw std::bad_alloc();
    }
    if (block) {
        std::memcpy(block, list->values_, Bytes(list->count_));
    }
    std::free(values_);
    values_ = static_cast<TVertexData*>(block);
    count_ = capacity_ = list->count_;
    NotifyChange(this);
}
