#include "scene/objects/shapes/Polygon.h"

#include "scene/base/VectorGeometry.h"
#include "scene/objects/shapes/StoreAndRebuild.h"

void TGLPolygon::SetParts(TPolygonParts value)
{
    StoreAndRebuild(*this, parts_, value);
}

void TGLPolygon::Assign(const TPersistent* source)
{
    if (const auto* polygon = ObjectCast<TGLPolygon>(source)) {
        parts_ = polygon->parts_;
    }
    TGLPolygonBase::Assign(source);
}

void TGLPolygon::BuildList(TRenderContextInfo& /*rci*/)
{
    const TGLNodes& nodes = Nodes();
    if (nodes.Count() < 2) {
        return;
    }
    TAffineVector normal = nodes.PolygonNormal();
    const TAffineVector* n = IsNullVector(normal) ? nullptr : &normal;
    const int divisions = SplineMode() != lsmLines ? Division() : 1;
    if (parts_ & ppTop) {
        nodes.DrawTessellatedPolygon(true, n, false, divisions);
    }
    if (parts_ & ppBottom) {
        if (n) {
            NegateAffineVector(normal);
        }
        nodes.DrawTessellatedPolygon(true, n, true, divisions);
    }
}
