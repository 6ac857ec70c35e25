#include "scene/objects/lines/LinesGroup.h"

void TGLLinesGroup::RenderChildren(int firstChildIndex, int lastChildIndex, TRenderContextInfo& rci)
{
    const TGLObjectsSorting sorting = ObjectsSorting() != osInherited ? ObjectsSorting() : rci.objectsSorting;
    const bool inOrder = sorting == osInherited || sorting == osNone;
    if (!inOrder || rci.drawState != dsRendering || rci.amalgamating || firstChildIndex > 0 ||
        lastChildIndex < Count() - 1) {
        TGLDummyCube::RenderChildren(firstChildIndex, lastChildIndex, rci);
        return;
    }
    const TGLVisibilityCulling savedCulling = rci.visibilityCulling;
    if (VisibilityCulling() != vcInherited) {
        rci.visibilityCulling = VisibilityCulling();
    }
    try {
        batches_.Render(*this, rci);
    } catch (...) {
        rci.visibilityCulling = savedCulling;
        throw;
    }
    rci.visibilityCulling = savedCulling;
}
