#include "scene/objects/shapes/MultiPolygon.h"

#include "platform/core/Assert.h"
#include "scene/base/VectorGeometry.h"
#include "scene/objects/shapes/StoreAndRebuild.h"

// ---- TMultiPolygonBase ----

TMultiPolygonBase::TMultiPolygonBase(TComponent* owner)
    : TGLWorldObject(owner), contours_(std::make_unique<TGLContours>(this))
{
    contours_->OnNotifyChange = MakeDelegate<&TMultiPolygonBase::DropOutline>(this);
}

TMultiPolygonBase::~TMultiPolygonBase()
{
    contours_->OnNotifyChange = nullptr;
}

void TMultiPolygonBase::SetContours(const TGLContours& value)
{
    contours_->Assign(&value);
}

TGLNodes& TMultiPolygonBase::GetPath(int index)
{
    KP_ASSERT(index >= 0);
    while (contours_->Count() <= index) {
        contours_->Add();
    }
    return contours_->Items(index)->Nodes();
}

const TPolygonList& TMultiPolygonBase::GetOutline()
{
    if (!outline_) {
        // Kept only once complete: a failed build leaves no outline.
        auto outline = std::make_unique<TPolygonList>();
        MakeOutline(*outline);
        outline_ = std::move(outline);
    }
    return *outline_;
}

void TMultiPolygonBase::DropOutline(TObject* /*sender*/)
{
    if (outline_) {
        outline_.reset();
        StructureChanged();
    }
}

void TMultiPolygonBase::Assign(const TPersistent* source)
{
    if (const auto* multiPolygon = ObjectCast<TMultiPolygonBase>(source)) {
        contours_->Assign(multiPolygon->contours_.get());
    }
    TGLWorldObject::Assign(source);
}

// ---- TGLMultiPolygon ----

void TGLMultiPolygon::SetParts(TPolygonParts value)
{
    StoreAndRebuild(*this, parts_, value);
}

void TGLMultiPolygon::Assign(const TPersistent* source)
{
    if (const auto* multiPolygon = ObjectCast<TGLMultiPolygon>(source)) {
        parts_ = multiPolygon->parts_;
    }
    TMultiPolygonBase::Assign(source);
}

void TGLMultiPolygon::BuildList(TRenderContextInfo& /*rci*/)
{
    if (GetOutline().Count() == 0) {
        return;
    }
    TAffineVector n = Normal();
    if (parts_ & ppTop) {
        RenderTesselatedPolygon(true, &n, false);
    }
    if (parts_ & ppBottom) {
        NegateAffineVector(n);
        RenderTesselatedPolygon(true, &n, true);
    }
}
