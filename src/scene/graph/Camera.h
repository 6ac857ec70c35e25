#pragma once
// The camera: turns its placement and lens (focal length, depth of view, style) into
// the projection and view transforms of a frame. A camera can look at a target object
// instead of along its own Direction; when the target is freed it looks along its
// Direction again.

#include "scene/graph/SceneObject.h"

#include <cstdint>
#include <functional>

// A viewport: Left, Top, Width, Height in pixels.
struct TRectangle {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

enum TGLCameraStyle { csPerspective, csOrthogonal, csOrtho2D, csCustom, csInfinitePerspective };

class TGLCamera;
// Sets the projection of a csCustom camera itself; may change the viewport radius.
using TOnCustomPerspective =
    std::function<void(const TRectangle& viewport, int width, int height, int dpi, float& viewPortRadius)>;

// The epsilon of the infinite perspective projection.
extern float InfinitePerspectiveEpsilon;

class TGLCamera : public TGLBaseSceneObject {
    KP_CLASS(TGLCamera, TGLBaseSceneObject)
public:
    explicit TGLCamera(TComponent* owner = nullptr);
    ~TGLCamera() override;

    bool IsCamera() const override { return true; }

    float FocalLength() const { return focalLength_; }
    // A value not above 0 (or NaN) becomes 1; the preview zooms with it.
    void SetFocalLength(float value);
    float DepthOfView() const { return depthOfView_; }
    void SetDepthOfView(float value);
    float SceneScale() const { return sceneScale_; }
    // 0 becomes 1.
    void SetSceneScale(float value);
    float NearPlaneBias() const { return nearPlaneBias_; }
    // A value not above 0 becomes 1.
    void SetNearPlaneBias(float value);
    TGLCameraStyle CameraStyle() const { return cameraStyle_; }
    void SetCameraStyle(TGLCameraStyle value);
    TGLBaseSceneObject* TargetObject() const { return targetObject_; }
    void SetTargetObject(TGLBaseSceneObject* value);

    // Computed by ApplyPerspective.
    float NearPlane() const { return nearPlane_; }
    float ViewPortRadius() const { return viewPortRadius_; }
    // Written by Apply (normalised, W 0).
    const TVector& LastDirection() const { return lastDirection_; }

    // Degrees across the given viewport dimension in pixels; 0 when FocalLength is 0.
    float GetFieldOfView(float viewportDimension) const;
    // Angles outside 0 < angle < 180 (and NaN) are ignored.
    void SetFieldOfView(float fieldOfView, float viewportDimension);

    // Multiplies the current projection matrix by the camera's projection.
    void ApplyPerspective(const TRectangle& viewport, int width, int height, int dpi);
    // Multiplies the current model-view matrix by the camera's view transform.
    void Apply();

    // When assigned it replaces the view transform of Apply.
    TNotifyEvent OnCustomView;
    TOnCustomPerspective OnCustomPerspective;

    bool RayCastIntersect(const TVector&, const TVector&, TVector* = nullptr, TVector* = nullptr) override
    {
        return false;
    }
    // Only its children: a camera draws nothing itself.
    void DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    // Focal length, depth of view, near-plane bias, scene scale and style from another camera.
    void Assign(const TPersistent* source) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    float focalLength_ = 50;
    float depthOfView_ = 100;
    float nearPlane_ = 0;
    float nearPlaneBias_ = 1;
    float viewPortRadius_ = 0;
    TGLBaseSceneObject* targetObject_ = nullptr;
    TVector lastDirection_{0, 0, -1, 0};
    TGLCameraStyle cameraStyle_ = csPerspective;
    float sceneScale_ = 1;
};
