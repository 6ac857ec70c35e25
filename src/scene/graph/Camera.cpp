#include "scene/graph/Camera.h"

#include "platform/core/Assert.h"
#include "scene/graph/World.h"
#include "scene/base/VectorGeometry.h"

#include <cmath>

float InfinitePerspectiveEpsilon = 0.0001f;

TGLCamera::TGLCamera(TComponent* owner) : TGLBaseSceneObject(owner)
{
    Direction().SetVector(0, 0, -1);
}

TGLCamera::~TGLCamera()
{
    SetTargetObject(nullptr);
    if (auto* scene = ObjectCast<TGLWorld>(Scene()); scene && scene->CurrentCamera() == this) {
        scene->SetCurrentCamera(nullptr);
    }
}

void TGLCamera::SetFocalLength(float value)
{
    if (!(value > 0)) {
        value = 1;
    }
    if (focalLength_ != value) {
        focalLength_ = value;
        if (!IsLoading()) {
            TransformationChanged();
        }
    }
}

void TGLCamera::SetDepthOfView(float value)
{
    if (depthOfView_ != value) {
        depthOfView_ = value;
        if (!IsLoading()) {
            TransformationChanged();
        }
    }
}

void TGLCamera::SetSceneScale(float value)
{
    if (value == 0) {
        value = 1;
    }
    if (sceneScale_ != value) {
        sceneScale_ = value;
        NotifyChange(this);
    }
}

void TGLCamera::SetNearPlaneBias(float value)
{
    if (!(value > 0)) {
        value = 1;
    }
    if (nearPlaneBias_ != value) {
        nearPlaneBias_ = value;
        NotifyChange(this);
    }
}

void TGLCamera::SetCameraStyle(TGLCameraStyle value)
{
    if (cameraStyle_ != value) {
        cameraStyle_ = value;
        NotifyChange(this);
    }
}

void TGLCamera::SetTargetObject(TGLBaseSceneObject* value)
{
    if (targetObject_ == value) {
        return;
    }
    if (targetObject_) {
        targetObject_->RemoveFreeNotification(this);
    }
    targetObject_ = value;
    if (targetObject_) {
        targetObject_->FreeNotification(this);
    }
    if (!IsLoading()) {
        TransformationChanged();
    }
}

void TGLCamera::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component == targetObject_) {
        targetObject_ = nullptr;
    }
    TGLBaseSceneObject::Notification(component, operation);
}

float TGLCamera::GetFieldOfView(float viewportDimension) const
{
    if (focalLength_ == 0) {
        return 0;
    }
    return RadToDeg(static_cast<float>(2 * std::atan2(double(viewportDimension) / 2, double(focalLength_))));
}

void TGLCamera::SetFieldOfView(float fieldOfView, float viewportDimension)
{
    // Outside 0 < angle < 180 the lens has no focal length (0 would give an infinite one).
    if (!(fieldOfView > 0 && fieldOfView < 180)) {
        return;
    }
    SetFocalLength(static_cast<float>(viewportDimension / (2 * std::tan(double(DegToRad(fieldOfView / 2))))));
}

void TGLCamera::ApplyPerspective(const TRectangle& viewport, int width, int height, int dpi)
{
    if (width < 1 || height < 1) {
        return;
    }
    const double w = width;
    const double h = height;
    const double maxDim = std::max(w, h);
    switch (cameraStyle_) {
    case csOrtho2D:
        GL.gluOrtho2D(0, w, 0, h);
        nearPlane_ = -1;
        viewPortRadius_ = static_cast<float>(std::sqrt(w * w + h * h) / 2);
        return;
    case csCustom:
        viewPortRadius_ = static_cast<float>(std::sqrt(w * w + h * h) / 2);
        if (OnCustomPerspective) {
            OnCustomPerspective(viewport, width, height, dpi, viewPortRadius_);
        }
        return;
    case csPerspective:
    case csOrthogonal:
    case csInfinitePerspective:
        break;
    default:
        KP_ASSERT(false);
    }
    double xScale;
    double yScale;
    if (cameraStyle_ == csOrthogonal) {
        xScale = 100.0 * nearPlaneBias_ / (w * focalLength_ * sceneScale_);
        yScale = 100.0 * nearPlaneBias_ / (h * focalLength_ * sceneScale_);
    } else {
        xScale = nearPlaneBias_ / (w * sceneScale_);
        yScale = nearPlaneBias_ / (h * sceneScale_);
    }
    const double right = w * ((2.0 * viewport.Width + 2.0 * viewport.Left - w) * xScale) / (2 * maxDim);
    const double left = -((w - 2.0 * viewport.Left) * xScale) * w / (2 * maxDim);
    const double top = h * ((2.0 * viewport.Height + 2.0 * viewport.Top - h) * yScale) / (2 * maxDim);
    const double bottom = -((h - 2.0 * viewport.Top) * yScale) * h / (2 * maxDim);
    nearPlane_ = static_cast<float>(focalLength_ * 2.0 * dpi / (25.4 * maxDim) * nearPlaneBias_);
    const double nearPlane = nearPlane_;
    const double farPlane = nearPlane + depthOfView_;
    if (cameraStyle_ == csPerspective) {
        GL.glFrustum(left, right, bottom, top, nearPlane, farPlane);
    } else if (cameraStyle_ == csOrthogonal) {
        GL.glOrtho(left, right, bottom, top, nearPlane, farPlane);
    } else {
        const float eps = InfinitePerspectiveEpsilon;
        TMatrix m = IdentityMatrix;
        m[0].X = static_cast<float>(2 * nearPlane / (right - left));
        m[1].Y = static_cast<float>(2 * nearPlane / (top - bottom));
        m[2].X = static_cast<float>((right + left) / (right - left));
        m[2].Y = static_cast<float>((top + bottom) / (top - bottom));
        m[2].Z = eps - 1;
        m[2].W = -1;
        m[3].Z = static_cast<float>((double(eps) - 2) * nearPlane);
        m[3].W = 0;
        GL.glMultMatrixf(&m[0].X);
    }
    viewPortRadius_ = static_cast<float>(std::sqrt(right * right + top * top) / nearPlane);
}

void TGLCamera::Apply()
{
    if (OnCustomView) {
        OnCustomView(this);
    } else {
        const TVector eye = AbsolutePosition();
        TVector centre;
        TVector up;
        if (targetObject_) {
            centre = targetObject_->AbsolutePosition();
            lastDirection_ = NormalizedVector(SubtractToDirection(centre, eye));
            up = Up().AsVector();
        } else {
            const TMatrix parentMatrix = Parent() ? Parent()->AbsoluteMatrixRef() : IdentityMatrix;
            lastDirection_ = TransformVector(Direction().AsVector(), parentMatrix);
            up = TransformVector(Up().AsVector(), parentMatrix);
            centre = AddVectors(eye, lastDirection_);
        }
        GL.gluLookAt(eye.X, eye.Y, eye.Z, centre.X, centre.Y, centre.Z, up.X, up.Y, up.Z);
    }
    ClearStructureChanged();
}

void TGLCamera::DoRender(TRenderContextInfo& rci, bool /*renderSelf*/, bool renderChildren)
{
    if (renderChildren && Count() > 0) {
        RenderChildren(0, Count() - 1, rci);
    }
}

void TGLCamera::Assign(const TPersistent* source)
{
    if (const auto* camera = ObjectCast<TGLCamera>(source)) {
        focalLength_ = camera->focalLength_;
        depthOfView_ = camera->depthOfView_;
        nearPlaneBias_ = camera->nearPlaneBias_;
        sceneScale_ = camera->sceneScale_;
        cameraStyle_ = camera->cameraStyle_;
    }
    TGLBaseSceneObject::Assign(source);
}
