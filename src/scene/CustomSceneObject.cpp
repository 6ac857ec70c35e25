#include "scene/CustomSceneObject.h"

#include "platform/core/Assert.h"
#include "scene/Material.h"
#include "scene/WorldInterfaces.h"

// ---- Custom ----

TGLCustomSceneObject::TGLCustomSceneObject(TComponent* owner)
    : TGLBaseSceneObject(owner), material_(std::make_unique<TGLMaterial>(this))
{
}

TGLCustomSceneObject::~TGLCustomSceneObject() = default;

void TGLCustomSceneObject::SetMaterial(const TGLMaterial& value)
{
    material_->Assign(&value);
    NotifyChange(this);
}

void TGLCustomSceneObject::Assign(const TPersistent* source)
{
    if (const auto* custom = ObjectCast<TGLCustomSceneObject>(source); custom && custom != this) {
        material_->Assign(custom->material_.get());
        hint_ = custom->hint_;
    }
    TGLBaseSceneObject::Assign(source);
}

bool TGLCustomSceneObject::Blended() const { return material_->Blended(); }

void TGLCustomSceneObject::DestroyHandle()
{
    TGLBaseSceneObject::DestroyHandle();
    material_->DestroyHandles();
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
    material_->Apply(rci);
    bool morePasses = true;
    while (morePasses) {
        try {
            DrawSelf(rci);
        } catch (...) {
            // Leave OpenGL as the material found it; the pass loop ends here.
            material_->UnApply(rci);
            throw;
        }
        morePasses = material_->UnApply(rci);
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
