#include "scene/graph/World.h"

#include "platform/core/Assert.h"
#include "platform/core/services/DebugLog.h"
#include "platform/core/ScopeGuard.h"
#include "scene/graph/Behaviours.h"
#include "scene/graph/Camera.h"
#include "scene/graph/DynamicLayer.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/graph/LightSource.h"
#include "scene/graph/SubtreeChanges.h"
#include "scene/graph/WorldBuffer.h"
#include "scene/graph/WorldRootObject.h"
#include "scene/base/BoundingBoxes.h"
#include "scene/base/GeometryTests.h"
#include "scene/base/VectorGeometry.h"

#include <algorithm>

TGLWorld::TGLWorld(TComponent* owner)
    : TGLAbstractWorld(owner), dynamicLayer_(std::make_unique<TGLDynamicLayer>()),
      subtreeChanges_(std::make_unique<TGLSubtreeChanges>())
{
    objectRoot_ = new TGLWorldRootObject(this);
    objectRoot_->SetName("ObjectRoot");
    cameraRoot_ = new TGLWorldRootObject(this);
    cameraRoot_->SetName("CameraRoot");
}

TGLWorld::~TGLWorld()
{
    Destroying();
    // Buffers outlive scenes often (a viewer switching scenes); they must not call
    // back into this one.
    for (TGLWorldBuffer* buffer : std::vector<TGLWorldBuffer*>(buffers_)) {
        buffer->SceneDestroyed(this);
    }
    buffers_.clear();
    renderingContext_ = nullptr;
    objectRoot_->DestroyHandles();
    currentCamera_ = nullptr;
    // The roots call back into the scene (lights) while they free their trees.
    delete cameraRoot_;
    cameraRoot_ = nullptr;
    lights_.fill(nullptr);
    delete objectRoot_;
    objectRoot_ = nullptr;
}

TGLBaseSceneObject* TGLWorld::ObjectRoot() const
{
    return objectRoot_;
}

TGLBaseSceneObject* TGLWorld::CameraRoot() const
{
    return cameraRoot_;
}

void TGLWorld::GetChildren(const std::function<void(TComponent*)>& proc) const
{
    objectRoot_->GetChildren(proc);
    cameraRoot_->GetChildren(proc);
}

// ---- Change notification ----

void TGLWorld::BeginUpdate()
{
    ++updateCount_;
}

void TGLWorld::EndUpdate()
{
    KP_ASSERT(updateCount_ > 0);
    --updateCount_;
    if (updateCount_ == 0) {
        NotifyChange(this);
    }
}

void TGLWorld::NotifyChange(TObject* sender)
{
    // Counted even while updating: a frame drawn before the update ends must not take
    // the old picture of the rest for a good one.
    if (!IsLayerChange(sender)) {
        ++staticRevision_;
        if (!subtreeChanges_->Empty()) {
            if (const auto* object = ObjectCast<TGLBaseSceneObject>(sender)) {
                subtreeChanges_->Changed(*object);
            }
        }
    }
    if (IsUpdating()) {
        return;
    }
    // By index: a buffer's handler may unregister a buffer.
    for (std::size_t i = 0; i < buffers_.size(); ++i) {
        buffers_[i]->NotifyChange(this);
    }
}

std::uint64_t TGLWorld::ChangesUnder(const TGLBaseSceneObject& object)
{
    return subtreeChanges_->Count(object);
}

void TGLWorld::WatchChildChanges(const TGLBaseSceneObject& object,
                                 std::function<void(const TGLBaseSceneObject& child)> onChildChanged)
{
    subtreeChanges_->WatchChildren(object, std::move(onChildChanged));
}

bool TGLWorld::WatchesChildChanges(const TGLBaseSceneObject& object) const
{
    return subtreeChanges_->WatchesChildren(object);
}

// ---- Lights ----

void TGLWorld::AddLight(TGLLightSource* light)
{
    if (std::find(lights_.begin(), lights_.end(), light) != lights_.end()) {
        return; // already lit: a second slot would light it twice
    }
    const auto slot = std::find(lights_.begin(), lights_.end(), nullptr);
    if (slot == lights_.end()) {
        return;
    }
    *slot = light;
    light->SetLightID(GLenum(GL_LIGHT0 + (slot - lights_.begin())));
}

void TGLWorld::RemoveLight(TGLLightSource* light)
{
    const auto slot = std::find(lights_.begin(), lights_.end(), light);
    if (slot != lights_.end()) {
        *slot = nullptr;
        light->SetLightID(0);
    }
}

void TGLWorld::AddLights(TGLBaseSceneObject* object)
{
    if (auto* light = ObjectCast<TGLLightSource>(object)) {
        AddLight(light);
    }
    for (int i = 0; i < object->Count(); ++i) {
        AddLights(object->Children(i));
    }
}

void TGLWorld::RemoveLights(TGLBaseSceneObject* object)
{
    // By address: a light being destroyed no longer answers as a light.
    const auto slot = std::find_if(lights_.begin(), lights_.end(), [object](TGLLightSource* light) {
        return light != nullptr && static_cast<TGLBaseSceneObject*>(light) == object;
    });
    if (slot != lights_.end()) {
        if (ObjectCast<TGLLightSource>(object)) {
            RemoveLight(*slot);
        } else {
            *slot = nullptr; // mid-destruction: only the slot is ours to touch
        }
    }
    for (int i = 0; i < object->Count(); ++i) {
        RemoveLights(object->Children(i));
    }
}

void TGLWorld::SetupLights(int maxLights, TGLLayerPass pass)
{
    const int n = std::min(LightSlotCount, maxLights);
    GL.glPushMatrix();
    for (int i = 0; i < n; ++i) {
        TGLLightSource* light = lights_[std::size_t(i)];
        if (light == nullptr) {
            GL.glDisable(GLenum(GL_LIGHT0 + i));
            continue;
        }
        const GLenum id = light->LightID();
        if (!light->Shining() || (pass == lpStatic && dynamicLayer_->Contains(light))) {
            GL.glDisable(id);
            continue;
        }
        GL.glEnable(id);
        // Back to the view transform for each light.
        GL.glPopMatrix();
        GL.glPushMatrix();
        light->Matrix();
        if (light->LightStyle() == lsParallel) {
            GL.glMultMatrixf(&light->AbsoluteMatrixRef()[0].X);
            const TVector& d = light->SpotDirection().AsVector();
            const float direction[4] = {d.X, d.Y, d.Z, 0};
            GL.glLightfv(id, GL_POSITION, direction);
        } else {
            const TMatrix& parent = light->Parent() ? light->Parent()->AbsoluteMatrixRef() : IdentityMatrix;
            GL.glMultMatrixf(&parent[0].X);
            const TVector& p = light->Position().AsVector();
            const float position[4] = {p.X, p.Y, p.Z, 1};
            GL.glLightfv(id, GL_POSITION, position);
        }
        GL.glLightfv(id, GL_AMBIENT, light->Ambient().GetAsAddress());
        GL.glLightfv(id, GL_DIFFUSE, light->Diffuse().GetAsAddress());
        GL.glLightfv(id, GL_SPECULAR, light->Specular().GetAsAddress());
        if (light->LightStyle() == lsSpot) {
            if (light->SpotCutOff() != 180) {
                GL.glLightfv(id, GL_SPOT_DIRECTION, &light->SpotDirection().AsVector().X);
                GL.glLightf(id, GL_SPOT_EXPONENT, light->SpotExponent());
            }
            GL.glLightf(id, GL_SPOT_CUTOFF, light->SpotCutOff());
        } else {
            GL.glLightf(id, GL_SPOT_CUTOFF, 180);
        }
        GL.glLightf(id, GL_CONSTANT_ATTENUATION, light->ConstAttenuation());
        GL.glLightf(id, GL_LINEAR_ATTENUATION, light->LinearAttenuation());
        GL.glLightf(id, GL_QUADRATIC_ATTENUATION, light->QuadraticAttenuation());
    }
    GL.glPopMatrix();
    for (int i = n; i < maxLights; ++i) {
        GL.glDisable(GLenum(GL_LIGHT0 + i));
    }
}

// ---- Dynamic layer ----

bool TGLWorld::IsLayerChange(TObject* sender) const
{
    if (dynamicLayer_->Empty()) {
        return false;
    }
    const auto* object = ObjectCast<TGLBaseSceneObject>(sender);
    return object && object->Scene() == this && dynamicLayer_->Contains(object);
}

void TGLWorld::AddToDynamicLayer(TGLBaseSceneObject* object)
{
    if (dynamicLayer_->Add(object)) {
        NotifyChange(this);
    }
}

void TGLWorld::RemoveFromDynamicLayer(TGLBaseSceneObject* object)
{
    if (dynamicLayer_->Remove(object)) {
        NotifyChange(this);
    }
}

bool TGLWorld::HasDynamicLayer() const
{
    return !dynamicLayer_->Empty() && !dynamicLayer_->TopObjectsUnder(objectRoot_).empty();
}

// ---- Buffers ----

void TGLWorld::AddBuffer(TGLWorldBuffer* buffer)
{
    if (std::find(buffers_.begin(), buffers_.end(), buffer) != buffers_.end()) {
        return;
    }
    buffers_.push_back(buffer);
    TGLContext* context = buffer->RenderingContext();
    if (renderingContext_ == nullptr) {
        renderingContext_ = context;
    } else if (context && context != renderingContext_) {
        try {
            renderingContext_->ShareLists(context);
        } catch (const std::exception& e) {
            // The buffer still draws; it only keeps display lists of its own.
            DebugLog(std::string("TGLWorld: lists are not shared with a new buffer: ") + e.what());
        }
    }
}

void TGLWorld::RemoveBuffer(TGLWorldBuffer* buffer)
{
    const auto it = std::find(buffers_.begin(), buffers_.end(), buffer);
    if (it == buffers_.end()) {
        return;
    }
    buffers_.erase(it);
    BufferContextDestroyed(buffer);
    if (currentBuffer_ == buffer) {
        currentBuffer_ = nullptr;
    }
}

void TGLWorld::BufferContextDestroyed(TGLWorldBuffer* buffer)
{
    // The shared context must name a context that still exists.
    if (renderingContext_ == nullptr || renderingContext_ != buffer->RenderingContext()) {
        return;
    }
    renderingContext_ = nullptr;
    for (TGLWorldBuffer* other : buffers_) {
        if (other != buffer && other->RenderingContext()) {
            renderingContext_ = other->RenderingContext();
            break;
        }
    }
}

// ---- Rendering ----

void TGLWorld::SetObjectsSorting(TGLObjectsSorting value)
{
    if (value == osInherited) {
        value = osRenderBlendedLast;
    }
    if (objectsSorting_ != value) {
        objectsSorting_ = value;
        NotifyChange(this);
    }
}

void TGLWorld::SetVisibilityCulling(TGLVisibilityCulling value)
{
    if (value == vcInherited) {
        value = vcNone;
    }
    if (visibilityCulling_ != value) {
        visibilityCulling_ = value;
        NotifyChange(this);
    }
}

TGLAbstractWorldBuffer* TGLWorld::CurrentBuffer() const
{
    return currentBuffer_;
}

float TGLWorld::CurrentDepthOfView() const
{
    return currentCamera_ ? currentCamera_->DepthOfView() : 100.0f;
}

TMatrix TGLWorld::GetModelViewProjection() const
{
    TMatrix modelView = IdentityMatrix;
    TMatrix projection = IdentityMatrix;
    GL.glGetFloatv(GL_MODELVIEW_MATRIX, &modelView[0].X);
    GL.glGetFloatv(GL_PROJECTION_MATRIX, &projection[0].X);
    return MultiplyMatrices(modelView, projection);
}

void TGLWorld::RenderScene(TGLWorldBuffer* buffer, int viewPortSizeX, int viewPortSizeY, TDrawState drawState,
                           TGLBaseSceneObject* baseObject, TGLLayerPass pass)
{
    KP_ASSERT(pass == lpAll || baseObject == nullptr);
    SetCurrentObject(nullptr);
    buffer->ClearAfterEffects();
    currentBuffer_ = buffer;
    // The frame's buffer is only valid during the frame.
    struct TForgetBuffer {
        TGLWorldBuffer*& current;
        ~TForgetBuffer() { current = nullptr; }
    } forget{currentBuffer_};

    TRenderContextInfo rci{};
    rci.scene = this;
    rci.buffer = buffer;
    rci.objectsSorting = objectsSorting_;
    rci.visibilityCulling = visibilityCulling_;
    rci.faceCulling = buffer->FaceCulling();
    rci.drawState = drawState;
    rci.sceneAmbientColor = buffer->AmbientColor().Color();
    rci.cameraPosition = buffer->CameraAbsolutePosition();
    TGLCamera* camera = buffer->Camera();
    if (camera) {
        rci.cameraDirection = NormalizedVector(camera->LastDirection());
        const TVector right = VectorCrossProduct(rci.cameraDirection, camera->Up().AsVector());
        rci.cameraUp = NormalizedVector(VectorCrossProduct(right, rci.cameraDirection));
        rci.rcci.viewPortRadius = camera->ViewPortRadius();
        rci.rcci.farClippingDistance = camera->NearPlane() + camera->DepthOfView();
    }
    rci.rcci.origin = rci.cameraPosition;
    rci.rcci.clippingDirection = rci.cameraDirection;
    rci.rcci.frustum = FrustumFromMatrix(GetModelViewProjection());
    rci.modelViewMatrix = &buffer->ModelViewMatrix();
    rci.viewPortSize = {viewPortSizeX, viewPortSizeY};
    rci.renderDPI = buffer->RenderDPI();
    rci.GLStates = &buffer->GLStates();
    rci.GLStates->ResetAll();
    rci.ignoreMaterials = buffer->HasOption(roNoColorBuffer) || drawState == dsPicking;

    const GLboolean colorWrites = rci.ignoreMaterials ? GL_FALSE : GL_TRUE;
    GL.glColorMask(colorWrites, colorWrites, colorWrites, colorWrites);
    if (buffer->InitiateRendering && pass != lpDynamic) {
        buffer->InitiateRendering(buffer, rci);
    }
    if (baseObject) {
        baseObject->Render(rci);
    } else if (pass == lpStatic) {
        RenderStaticPass(rci);
    } else if (pass == lpDynamic) {
        RenderDynamicPass(rci);
    } else {
        objectRoot_->Render(rci);
    }
    GL.glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    for (TGLObjectEffect* effect : buffer->AfterEffects()) {
        effect->Render(buffer, rci);
    }
    if (buffer->WrapUpRendering && pass != lpStatic) {
        buffer->WrapUpRendering(buffer, rci);
    }
    rci.GLStates->Disable(stBlend);
    rci.GLStates->Disable(stTexture2D);
    rci.GLStates->Disable(stTextureRect);
    rci.GLStates->Enable(stAlphaTest);
    GL.glAlphaFunc(GL_GREATER, 0);
}

void TGLWorld::SetVisibleQuietly(const std::vector<TGLBaseSceneObject*>& objects, bool visible)
{
    ++updateCount_;
    try {
        for (TGLBaseSceneObject* object : objects) {
            object->SetVisible(visible);
        }
    } catch (...) {
        --updateCount_;
        throw;
    }
    --updateCount_;
}

void TGLWorld::RenderStaticPass(TRenderContextInfo& rci)
{
    // The layer is held out by hiding its top objects, which their parents then skip.
    std::vector<TGLBaseSceneObject*> hidden = dynamicLayer_->TopObjectsUnder(objectRoot_);
    hidden.erase(std::remove_if(hidden.begin(), hidden.end(), [](TGLBaseSceneObject* o) { return !o->Visible(); }),
                 hidden.end());
    SetVisibleQuietly(hidden, false);
    struct TShowAgain {
        TGLWorld& world;
        const std::vector<TGLBaseSceneObject*>& objects;
        ~TShowAgain() { world.SetVisibleQuietly(objects, true); }
    } showAgain{*this, hidden};
    objectRoot_->Render(rci);
}

void TGLWorld::RenderDynamicPass(TRenderContextInfo& rci)
{
    const std::vector<TGLBaseSceneObject*> objects = dynamicLayer_->TopObjectsUnder(objectRoot_);
    // As the default sorting draws siblings: blended objects after the opaque ones.
    for (const bool blended : {false, true}) {
        for (TGLBaseSceneObject* object : objects) {
            if (object->Visible() && object->Blended() == blended) {
                RenderLayerObject(*object, rci);
            }
        }
    }
}

void TGLWorld::RenderLayerObject(TGLBaseSceneObject& object, TRenderContextInfo& rci)
{
    std::vector<TGLBaseSceneObject*> ancestors;
    for (TGLBaseSceneObject* p = object.Parent(); p; p = p->Parent()) {
        ancestors.push_back(p);
    }
    GL.glPushMatrix();
    bool depthTestBack = false;
    const TScopeGuard restore([&rci, &depthTestBack, culling = rci.visibilityCulling, sorting = rci.objectsSorting] {
        if (depthTestBack) {
            rci.GLStates->Enable(stDepthTest);
        }
        GL.glPopMatrix();
        rci.visibilityCulling = culling;
        rci.objectsSorting = sorting;
    });
    // What the walk from the object root down does on the way: the same matrices in
    // the same order, the same hiding and culling, the same modes handed down.
    bool ignoreDepth = false;
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        TGLBaseSceneObject* ancestor = *it;
        if (ancestor != objectRoot_ && !ancestor->Visible()) {
            return;
        }
        if (rci.visibilityCulling == vcHierarchical && (ancestor->ObjectStyle() & StyleBit(osNeverCulled)) == 0) {
            TAABB box = ancestor->UnscaledBoundingBox();
            TransformAABB(box, ancestor->AbsoluteMatrixRef());
            if (BoxOutsideFrustum(box.Min, box.Max, rci.rcci.frustum)) {
                return;
            }
        }
        GL.glMultMatrixf(&ancestor->Matrix().V[0].X);
        ignoreDepth = ignoreDepth || (ancestor->ObjectStyle() & StyleBit(osIgnoreDepthBuffer)) != 0;
        if (ancestor->VisibilityCulling() != vcInherited) {
            rci.visibilityCulling = ancestor->VisibilityCulling();
        }
        if (ancestor->ObjectsSorting() != osInherited) {
            rci.objectsSorting = ancestor->ObjectsSorting();
        }
    }
    if (ignoreDepth && (rci.GLStates->States() & StateBit(stDepthTest)) != 0) {
        rci.GLStates->Disable(stDepthTest);
        depthTestBack = true;
    }
    object.Render(rci);
}

// ---- Time and picking ----

void TGLWorld::Progress(double deltaTime, double newTime)
{
    DoProgress(TProgressTimes{deltaTime, newTime});
}

void TGLWorld::DoProgress(const TProgressTimes& progressTime)
{
    objectRoot_->DoProgress(progressTime);
    cameraRoot_->DoProgress(progressTime);
}

TGLBaseSceneObject* TGLWorld::RayCastIntersect(const TVector& rayStart, const TVector& rayVector,
                                               TVector* intersectPoint, TVector* intersectNormal)
{
    float bestSqrDistance = 1e20f;
    TGLBaseSceneObject* best = nullptr;
    CastRay(objectRoot_, rayStart, rayVector, bestSqrDistance, best, intersectPoint, intersectNormal);
    return best;
}

void TGLWorld::CastRay(TGLBaseSceneObject* object, const TVector& rayStart, const TVector& rayVector,
                       float& bestSqrDistance, TGLBaseSceneObject*& best, TVector* intersectPoint,
                       TVector* intersectNormal)
{
    for (int i = 0; i < object->Count(); ++i) {
        TGLBaseSceneObject* child = object->Children(i);
        if (!child->Visible()) {
            continue; // together with everything under it
        }
        TVector point{};
        TVector normal{};
        if (child->RayCastIntersect(rayStart, rayVector, &point, &normal)) {
            const float sqrDistance = static_cast<float>(SquaredAffineDistance(rayStart, point));
            if (sqrDistance < bestSqrDistance) {
                bestSqrDistance = sqrDistance;
                best = child;
                if (intersectPoint) {
                    *intersectPoint = point;
                }
                if (intersectNormal) {
                    *intersectNormal = normal;
                }
            }
        }
        CastRay(child, rayStart, rayVector, bestSqrDistance, best, intersectPoint, intersectNormal);
    }
}
