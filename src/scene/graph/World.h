#pragma once
// The scene: two trees of scene objects (the objects and the cameras), the table of
// the eight OpenGL light slots and the buffers that show it. It relays every change
// of an object to those buffers, steps its trees for the cadencer, answers ray picks
// and renders one frame for a buffer. Objects of its dynamic layer (DynamicLayer.h)
// can be drawn apart from the rest, so that a buffer may keep the picture of the rest.

#include "scene/graph/RenderContextInfo.h"
#include "scene/graph/SceneObject.h"
#include "scene/graph/WorldInterfaces.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TGLCamera;
class TGLContext;
class TGLDynamicLayer;
class TGLSubtreeChanges;
class TGLLightSource;
class TGLWorldBuffer;
class TGLWorldRootObject;

// What one pass over the scene draws: everything, everything but the dynamic layer, or
// the dynamic layer alone.
enum TGLLayerPass : std::uint8_t { lpAll, lpStatic, lpDynamic };

class TGLWorld : public TGLAbstractWorld {
    KP_CLASS(TGLWorld, TGLAbstractWorld)
public:
    static constexpr int LightSlotCount = 8;

    explicit TGLWorld(TComponent* owner = nullptr);
    ~TGLWorld() override;

    // ---- Trees ----
    TGLBaseSceneObject* ObjectRoot() const override;
    TGLBaseSceneObject* CameraRoot() const override;
    // The children of the object root, then those of the camera root.
    void GetChildren(const std::function<void(TComponent*)>& proc) const;

    // ---- Change notification ----
    void BeginUpdate() override;
    // Below 1 is an assertion; reaching 0 notifies.
    void EndUpdate() override;
    bool IsUpdating() const { return updateCount_ != 0 || loading_ || IsDestroying(); }
    // Unless updating: every registered buffer's NotifyChange, in order. A change that
    // does not come from an object of the dynamic layer also counts in StaticRevision.
    void NotifyChange(TObject* sender) override;
    // Changes outside the dynamic layer so far: a picture of the rest of the scene
    // stays right while this stays the same (and the view does).
    std::uint64_t StaticRevision() const { return staticRevision_; }
    // Of those, the changes made by `object` or an object below it since it was first
    // asked about: a picture of what is drawn before it stays right while
    // StaticRevision() - ChangesUnder(object) stays the same (and the view does).
    std::uint64_t ChangesUnder(const TGLBaseSceneObject& object);
    // From now on `onChildChanged` hears of every change made under one of the object's
    // children, with that child (TGLSubtreeChanges); whether it is heard so.
    void WatchChildChanges(const TGLBaseSceneObject& object,
                           std::function<void(const TGLBaseSceneObject& child)> onChildChanged);
    bool WatchesChildChanges(const TGLBaseSceneObject& object) const;
    void BeginLoading() { loading_ = true; }
    void Loaded() { loading_ = false; }

    // ---- Lights ----
    void AddLight(TGLLightSource* light);
    void RemoveLight(TGLLightSource* light);
    void AddLights(TGLBaseSceneObject* object) override;
    void RemoveLights(TGLBaseSceneObject* object) override;
    // The light in a slot, nullptr when the slot is free.
    TGLLightSource* Light(int slot) const { return lights_[std::size_t(slot)]; }
    // Enables and positions the lights of the first min(8, maxLights) slots and
    // disables the light numbers above them. For the lpStatic pass the lights of the
    // dynamic layer stay off.
    void SetupLights(int maxLights, TGLLayerPass pass = lpAll);

    // ---- Dynamic layer ----
    // Objects (with their subtrees) that move while the rest of the scene stands still.
    // Joining or leaving counts as a change of the rest.
    void AddToDynamicLayer(TGLBaseSceneObject* object);
    void RemoveFromDynamicLayer(TGLBaseSceneObject* object);
    const TGLDynamicLayer& DynamicLayer() const { return *dynamicLayer_; }
    // Some object of the layer lies in the object tree: whole frames are then drawn as
    // an lpStatic pass followed by an lpDynamic pass.
    bool HasDynamicLayer() const;

    // ---- Buffers ----
    // Registers once; from the second buffer on, lists are shared with the first.
    void AddBuffer(TGLWorldBuffer* buffer);
    void RemoveBuffer(TGLWorldBuffer* buffer);
    const std::vector<TGLWorldBuffer*>& Buffers() const { return buffers_; }
    // The context the buffers share (the first buffer's); nullptr when none.
    TGLContext* RenderingContext() const { return renderingContext_; }

    // ---- Rendering ----
    TGLObjectsSorting ObjectsSorting() const { return objectsSorting_; }
    // osInherited stores osRenderBlendedLast.
    void SetObjectsSorting(TGLObjectsSorting value);
    TGLVisibilityCulling VisibilityCulling() const { return visibilityCulling_; }
    // vcInherited stores vcNone.
    void SetVisibilityCulling(TGLVisibilityCulling value);
    TGLCamera* CurrentCamera() const { return currentCamera_; }
    void SetCurrentCamera(TGLCamera* camera) { currentCamera_ = camera; }
    TGLAbstractWorldBuffer* CurrentBuffer() const override;
    TGLWorldBuffer* CurrentWorldBuffer() const { return currentBuffer_; }
    float CurrentDepthOfView() const override;

    // One pass over the scene (or the subtree of baseObject, lpAll only) for the buffer.
    // The buffer's InitiateRendering opens every pass but lpDynamic, its WrapUpRendering
    // closes every pass but lpStatic. The lpDynamic pass draws the layer's objects under
    // their ancestors' placement, visibility and culling, opaque ones first.
    void RenderScene(TGLWorldBuffer* buffer, int viewPortSizeX, int viewPortSizeY, TDrawState drawState,
                     TGLBaseSceneObject* baseObject, TGLLayerPass pass = lpAll);
    // The current model-view matrix times the current projection matrix, read back.
    TMatrix GetModelViewProjection() const;

    // ---- Time and picking ----
    // Steps the object tree, then the camera tree; never fires OnProgress.
    void Progress(double deltaTime, double newTime);
    void DoProgress(const TProgressTimes& progressTime) override;
    // Streamed with the scene; the scene's own Progress does not fire it.
    TGLProgressEvent OnProgress;

    // The nearest visible object under the object root hit by the ray, or nullptr.
    // The outputs are written only on a hit.
    TGLBaseSceneObject* RayCastIntersect(const TVector& rayStart, const TVector& rayVector,
                                         TVector* intersectPoint = nullptr, TVector* intersectNormal = nullptr);

    // Told by a buffer that is going away, or whose context is going away.
    void BufferContextDestroyed(TGLWorldBuffer* buffer);

private:
    void CastRay(TGLBaseSceneObject* object, const TVector& rayStart, const TVector& rayVector, float& bestSqrDistance,
                 TGLBaseSceneObject*& best, TVector* intersectPoint, TVector* intersectNormal);
    // A change that an object of the dynamic layer made.
    bool IsLayerChange(TObject* sender) const;
    // Shows or hides objects with the scene's notifications held: nobody, another
    // buffer included, may take the static pass's hiding for a change.
    void SetVisibleQuietly(const std::vector<TGLBaseSceneObject*>& objects, bool visible);
    void RenderStaticPass(TRenderContextInfo& rci);
    void RenderDynamicPass(TRenderContextInfo& rci);
    void RenderLayerObject(TGLBaseSceneObject& object, TRenderContextInfo& rci);

    int updateCount_ = 0;
    std::uint64_t staticRevision_ = 0;
    std::unique_ptr<TGLDynamicLayer> dynamicLayer_;
    std::unique_ptr<TGLSubtreeChanges> subtreeChanges_;
    TGLWorldRootObject* objectRoot_ = nullptr;
    TGLWorldRootObject* cameraRoot_ = nullptr;
    TGLContext* renderingContext_ = nullptr;
    std::array<TGLLightSource*, LightSlotCount> lights_{};
    std::vector<TGLWorldBuffer*> buffers_;
    TGLCamera* currentCamera_ = nullptr;
    TGLWorldBuffer* currentBuffer_ = nullptr;
    TGLObjectsSorting objectsSorting_ = osRenderBlendedLast;
    TGLVisibilityCulling visibilityCulling_ = vcNone;
    bool loading_ = false;
};
