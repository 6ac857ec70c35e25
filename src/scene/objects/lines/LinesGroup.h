#pragma once
// The parent of a preview's tool paths: a grouping cube whose children are drawn
// through line batches (LineBatches.h), so a path of hundreds of thousands of short
// polylines costs a few draw calls per frame instead of one display list each. Picking,
// compiling into a display list and sorted drawing go the usual way, child by child.

#include "scene/objects/shapes/Cubes.h"
#include "scene/objects/lines/LineBatches.h"

class TGLLinesGroup : public TGLDummyCube {
    KP_CLASS(TGLLinesGroup, TGLDummyCube)
public:
    using TGLDummyCube::TGLDummyCube;

    void RenderChildren(int firstChildIndex, int lastChildIndex, TRenderContextInfo& rci) override;

    const TLineBatches& Batches() const { return batches_; }

private:
    TLineBatches batches_;
};
