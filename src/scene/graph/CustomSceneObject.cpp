#include "scene/graph/CustomSceneObject.h"

#include "platform/core/Assert.h"
#include "scene/materials/Material.h"
#include "scene/graph/WorldInterfaces.h"

// ---- Custom ----

namespace {
const std::string NoHint;
} // namespace

TGLCustomSceneObject::TGLCustomSceneObject(TComponent* owner) : TGLBaseSceneObject(owner) {}

TGLCustomSceneObject::~TGLCustomSceneObject() = default;

TGLCustomSceneObject::TParts& TGLCustomSceneObject::Parts() const
{
    if (!parts_) {
        parts_ = std::make_unique<TParts>();
    }
    return *parts_;
}

TGLMaterial& TGLCustomSceneObject::Material() const
{
    std::unique_ptr<TGLMaterial>& material = Parts().Material;
    if (!material) {
        material = std::make_unique<TGLMaterial>(const_cast<TGLCustomSceneObject*>(this));
    }
    return *material;
}

void TGLCustomSceneObject::SetMaterial(const TGLMaterial& value)
{
    Material().Assign(&value);
    NotifyChange(this);
}

const std::string& TGLCustomSceneObject::Hint() const { return parts_ ? parts_->Hint : NoHint; }

void TGLCustomSceneObject::SetHint(const std::string& value)
{
    if (parts_ || !value.empty()) {
        Parts().Hint = value;
    }
}

void TGLCustomSceneObject::Assign(const TPersistent* source)
{
    if (const auto* custom = ObjectCast<TGLCustomSceneObject>(source); custom && custom != this) {
        // Two default materials need no copy.
        if (custom->HasMaterial() || HasMaterial()) {
            Material().Assign(&custom->Material());
        }
        SetHint(custom->Hint());
    }
    TGLBaseSceneObject::Assign(source);
}

// A default material is opaque.
bool TGLCustomSceneObject::Blended() const { return HasMaterial() && parts_->Material->Blended(); }

void TGLCustomSceneObject::DestroyHandle()
{
    TGLBaseSceneObject::DestroyHandle();
    if (HasMaterial()) {
        parts_->Material->DestroyHandles();
    }
}

void TGLCustomSceneObject::MarkCurrentObject(TRenderContextInfo& rci)
{
    if (TGLAbstractWorld* scene = rci.scene ? rci.scene : Scene()) {
        scene->SetCurrentObject(this);
    }
}

void TGLCustomSceneObject::DrawWithMaterial(TRenderContextInfo& rci)
{
    if (rci.ignoreMaterials) {
        DrawSelf(rci);
        return;
    }
    TGLMaterial& material = Material();
    material.Apply(rci);
    bool morePasses = true;
    while (morePasses) {
        try {
            DrawSelf(rci);
        } catch (...) {
            // Leave OpenGL as the material found it; the pass loop ends here.
            material.UnApply(rci);
            throw;
        }
        morePasses = material.UnApply(rci);
    }
}

void TGLCustomSceneObject::DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (renderSelf) {
        MarkCurrentObject(rci);
        DrawWithMaterial(rci);
    }
    if (renderChildren) {
        RenderChildren(0, Count() - 1, rci);
    }
}

// ---- Immaterial ----

void TGLImmaterialSceneObject::DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (renderSelf) {
        MarkCurrentObject(rci);
        DrawSelf(rci);
    }
    if (renderChildren) {
        RenderChildren(0, Count() - 1, rci);
    }
}

// ---- Camera-invariant ----

void TGLCameraInvariantObject::SetCamInvarianceMode(TGLCameraInvarianceMode value)
{
    if (camInvarianceMode_ != value) {
        camInvarianceMode_ = value;
        NotifyChange(this);
    }
}

void TGLCameraInvariantObject::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TGLCameraInvariantObject>(source)) {
        camInvarianceMode_ = other->camInvarianceMode_;
    }
    TGLImmaterialSceneObject::Assign(source);
}

void TGLCameraInvariantObject::DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (camInvarianceMode_ == cimNone) {
        TGLImmaterialSceneObject::DoRender(rci, renderSelf, renderChildren);
        return;
    }
    KP_ASSERT(camInvarianceMode_ == cimPosition || camInvarianceMode_ == cimOrientation);
    GL.glPushMatrix();
    if (camInvarianceMode_ == cimPosition) {
        GL.glLoadMatrixf(rci.modelViewMatrix ? &rci.modelViewMatrix->V[0].X : &IdentityMatrix.V[0].X);
        GL.glTranslatef(rci.cameraPosition.X, rci.cameraPosition.Y, rci.cameraPosition.Z);
    } else {
        GL.glLoadIdentity();
        GL.glScalef(1, -1, -1);
    }
    GL.glMultMatrixf(&Matrix().V[0].X);
    TMatrix modelView = IdentityMatrix;
    GL.glGetFloatv(GL_MODELVIEW_MATRIX, &modelView.V[0].X);
    TGLAbstractWorldBuffer* buffer = rci.buffer;
    if (buffer) {
        buffer->PushModelViewMatrix(modelView);
    }
    try {
        if (renderSelf) {
            MarkCurrentObject(rci);
            DrawSelf(rci);
        }
        if (renderChildren) {
            RenderChildren(0, Count() - 1, rci);
        }
    } catch (...) {
        if (buffer) {
            buffer->PopModelViewMatrix();
        }
        GL.glPopMatrix();
        throw;
    }
    if (buffer) {
        buffer->PopModelViewMatrix();
    }
    GL.glPopMatrix();
}
