#include "scene/objects/lines/LinesGroup.h"

#include <algorithm>

void TGLLinesGroup::RenderChildren(int firstChildIndex, int lastChildIndex, TRenderContextInfo& rci)
{
    const TGLObjectsSorting sorting = ObjectsSorting() != osInherited ? ObjectsSorting() : rci.objectsSorting;
    // Blended children last: polylines never are, and the batches draw a blended child
    // of their own after the rest, as the scene would.
    const bool blendedLast = sorting == osRenderBlendedLast;
    const bool inOrder = sorting == osInherited || sorting == osNone || blendedLast;
    if (!inOrder || rci.drawState != dsRendering || rci.amalgamating || firstChildIndex > 0 ||
        lastChildIndex < Count() - 1) {
        RenderChildByChild(firstChildIndex, lastChildIndex, rci);
        return;
    }
    const TGLVisibilityCulling savedCulling = rci.visibilityCulling;
    if (VisibilityCulling() != vcInherited) {
        rci.visibilityCulling = VisibilityCulling();
    }
    try {
        batches_.Render(*this, rci, blendedLast, DrawsNothingOfItsOwn());
    } catch (...) {
        rci.visibilityCulling = savedCulling;
        throw;
    }
    rci.visibilityCulling = savedCulling;
}

void TGLLinesGroup::RenderChildByChild(int firstChildIndex, int lastChildIndex, TRenderContextInfo& rci)
{
    // The children build display lists of their own, which clears the change flags the
    // batches are kept by.
    batches_.Clear();
    TGLDummyCube::RenderChildren(firstChildIndex, lastChildIndex, rci);
}

bool TGLLinesGroup::DrawsNothingOfItsOwn() const
{
    // Skipping the display list or culling changes nothing of what the children draw.
    constexpr TGLObjectStyleFlags stateStyles = StyleBit(osResetStatesAfterRender) | StyleBit(osIgnoreDepthBuffer);
    return !Designing && !VisibleAtRunTime() && !ShowAxes() && !HasEffects() && (ObjectStyle() & stateStyles) == 0;
}

void TGLLinesGroup::AddChild(TGLBaseSceneObject* child)
{
    batches_.ChildrenEdited(static_cast<std::size_t>(Count()));
    TGLDummyCube::AddChild(child);
}

void TGLLinesGroup::Insert(int index, TGLBaseSceneObject* child)
{
    batches_.ChildrenEdited(static_cast<std::size_t>(std::clamp(index, 0, Count())));
    TGLDummyCube::Insert(index, child);
}

void TGLLinesGroup::Remove(TGLBaseSceneObject* child, bool keepChildren)
{
    if (const int index = IndexOfChild(child); index >= 0) {
        batches_.ChildrenEdited(static_cast<std::size_t>(index));
    }
    TGLDummyCube::Remove(child, keepChildren);
    FreeBatchesOnceEmpty();
}

void TGLLinesGroup::DeleteChildren()
{
    batches_.ChildrenEdited(0);
    TGLDummyCube::DeleteChildren();
    FreeBatchesOnceEmpty();
}

void TGLLinesGroup::FreeBatchesOnceEmpty()
{
    // A parent without children draws none, so no frame would drop the copies of a
    // cleared path: they go now.
    if (Count() == 0) {
        batches_.Clear();
    }
}
