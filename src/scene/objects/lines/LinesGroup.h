#pragma once
// The parent of a preview's tool paths: a grouping cube whose children are drawn
// through line batches (LineBatches.h), in order or under the scene's sorting (blended
// objects last), so a path of hundreds of thousands of short polylines costs a few draw
// calls per frame instead of one display list each, a frame after a step draws only the
// end of a path of millions of nodes, and a cut reaching far beyond the view is drawn
// where it crosses it. Picking, compiling into a display list and sorting by distance go
// the usual way, child by child.

#include "scene/objects/shapes/Cubes.h"
#include "scene/objects/lines/LineBatches.h"

class TGLLinesGroup : public TGLDummyCube {
    KP_CLASS(TGLLinesGroup, TGLDummyCube)
public:
    using TGLDummyCube::TGLDummyCube;

    void RenderChildren(int firstChildIndex, int lastChildIndex, TRenderContextInfo& rci) override;
    // Each tells the batches where the child list changed.
    void AddChild(TGLBaseSceneObject* child) override;
    void Insert(int index, TGLBaseSceneObject* child) override;
    void Remove(TGLBaseSceneObject* child, bool keepChildren) override;
    void DeleteChildren() override;

    const TLineBatches& Batches() const { return batches_; }

private:
    void RenderChildByChild(int firstChildIndex, int lastChildIndex, TRenderContextInfo& rci);
    // A picture taken while the children draw then holds the scene before them as it
    // stands: the group draws no cube, axes or effects, and changes no state for them.
    bool DrawsNothingOfItsOwn() const;
    void FreeBatchesOnceEmpty();

    TLineBatches batches_;
};
