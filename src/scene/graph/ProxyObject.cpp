#include "scene/graph/ProxyObject.h"

#include "scene/graph/Behaviours.h"
#include "scene/graph/WorldInterfaces.h"
#include "scene/base/VectorGeometry.h"

TGLProxyObject::TGLProxyObject(TComponent* owner) : TGLBaseSceneObject(owner)
{
    IncludeStyle(osResetStatesAfterRender);
}

TGLProxyObject::~TGLProxyObject() { SetMasterObject(nullptr); }

void TGLProxyObject::SetMasterObject(TGLBaseSceneObject* value)
{
    if (master_ == value) {
        return;
    }
    if (master_) {
        master_->RemoveFreeNotification(this);
    }
    master_ = value;
    if (master_) {
        master_->FreeNotification(this);
    }
    if (!IsDestroying()) {
        StructureChanged();
    }
}

void TGLProxyObject::SetProxyOptions(TGLProxyObjectOptions value)
{
    if (options_ != value) {
        options_ = value;
        StructureChanged();
    }
}

void TGLProxyObject::Notification(TComponent* component, TOperation operation)
{
    TGLBaseSceneObject::Notification(component, operation);
    if (operation != TOperation::opRemove || component != master_) {
        return;
    }
    if (master_->IsDestroying()) {
        SetMasterObject(nullptr);
    } else {
        // A master merely leaving its owner (moved to another parent in the tree) is
        // still there to be drawn; the removal above dropped our link to it, so the
        // proxy asks again to hear of its destruction.
        master_->FreeNotification(this);
    }
}

void TGLProxyObject::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TGLProxyObject>(source); other && other != this) {
        SetMasterObject(other->master_);
    }
    TGLBaseSceneObject::Assign(source);
}

void TGLProxyObject::DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (rendering_) {
        return;
    }
    struct TFlag {
        bool& flag;
        explicit TFlag(bool& f) : flag(f) { flag = true; }
        ~TFlag() { flag = false; }
    } flag(rendering_);

    const bool masterEffects = master_ && (options_ & ProxyOptionBit(pooEffects)) && master_->HasEffects() &&
                               master_->EffectsIfAny()->Count() > 0;
    if (master_ && (options_ & ProxyOptionBit(pooObjects))) {
        const bool savedSubObject = rci.proxySubObject;
        rci.proxySubObject = true;
        if (options_ & ProxyOptionBit(pooTransformation)) {
            GL.glMultMatrixf(&master_->Matrix().V[0].X);
        }
        try {
            master_->DoRender(rci, renderSelf, master_->Count() > 0);
        } catch (...) {
            rci.proxySubObject = savedSubObject;
            throw;
        }
        rci.proxySubObject = savedSubObject;
    }
    if (renderChildren && Count() > 0) {
        RenderChildren(0, Count() - 1, rci);
    }
    if (masterEffects && master_) {
        TGLAbstractWorldBuffer* buffer = Scene() ? Scene()->CurrentBuffer() : rci.buffer;
        master_->EffectsIfAny()->RenderPostEffects(buffer, rci);
    }
    ClearStructureChanged();
}

TVector TGLProxyObject::UnscaledHalfExtents() const
{
    return master_ ? master_->UnscaledHalfExtents() : TGLBaseSceneObject::UnscaledHalfExtents();
}

bool TGLProxyObject::RayCastIntersect(const TVector& rayStart, const TVector& rayVector, TVector* intersectPoint,
                                      TVector* intersectNormal)
{
    if (!master_) {
        return false;
    }
    const TVector start = master_->LocalToAbsolute(AbsoluteToLocal(rayStart));
    const TVector vector = NormalizedVector(master_->LocalToAbsolute(AbsoluteToLocal(rayVector)));
    TVector point{}, normal{};
    if (!master_->RayCastIntersect(start, vector, &point, &normal)) {
        return false;
    }
    if (intersectPoint) {
        *intersectPoint = LocalToAbsolute(master_->AbsoluteToLocal(point));
    }
    if (intersectNormal) {
        *intersectNormal = LocalToAbsolute(master_->AbsoluteToLocal(normal));
    }
    return true;
}

std::unique_ptr<TGLSilhouette> TGLProxyObject::GenerateSilhouette(const TGLSilhouetteParameters& params)
{
    return master_ ? master_->GenerateSilhouette(params) : nullptr;
}
