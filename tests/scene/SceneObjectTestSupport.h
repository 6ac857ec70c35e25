#pragma once
// A scene and a buffer that record what scene objects ask of them, a context that lets
// display lists be allocated under the recording OpenGL table, and small scene objects
// whose drawing is easy to find in the recorded calls.

#include "NullContext.h"
#include "ErrorTextTestSupport.h"
#include "scene/rendering/GLContext.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/graph/SceneObject.h"
#include "scene/graph/WorldInterfaces.h"
#include "scene/graph/WorldRootObject.h"
#include "scene/base/GLRecordingTable.h"

#include <string>
#include <vector>

namespace scenetest {

class TRecordingWorld : public TGLAbstractWorld {
    KP_CLASS(TRecordingWorld, TGLAbstractWorld)
public:
    TRecordingWorld() : TGLAbstractWorld(nullptr)
    {
        objectRoot_ = new TGLWorldRootObject(this);
        cameraRoot_ = new TGLWorldRootObject(this);
    }
    ~TRecordingWorld() override
    {
        // The roots call back into the scene while they free their trees.
        delete cameraRoot_;
        cameraRoot_ = nullptr;
        delete objectRoot_;
        objectRoot_ = nullptr;
    }

    void NotifyChange(TObject* sender) override
    {
        if (updateCount == 0) {
            changes.push_back(sender);
        }
    }
    void BeginUpdate() override { ++updateCount; }
    void EndUpdate() override
    {
        if (--updateCount == 0) {
            NotifyChange(this);
        }
    }
    TGLBaseSceneObject* ObjectRoot() const override { return objectRoot_; }
    TGLBaseSceneObject* CameraRoot() const override { return cameraRoot_; }
    void AddLights(TGLBaseSceneObject* object) override { lightLog.push_back("add " + object->Name()); }
    void RemoveLights(TGLBaseSceneObject* object) override { lightLog.push_back("remove " + object->Name()); }
    TGLAbstractWorldBuffer* CurrentBuffer() const override { return buffer; }
    float CurrentDepthOfView() const override { return 100; }

    std::vector<TObject*> changes;
    std::vector<std::string> lightLog;
    int updateCount = 0;
    TGLAbstractWorldBuffer* buffer = nullptr;

private:
    TGLWorldRootObject* objectRoot_;
    TGLWorldRootObject* cameraRoot_;
};

class TRecordingBuffer : public TGLAbstractWorldBuffer {
    KP_CLASS(TRecordingBuffer, TGLAbstractWorldBuffer)
public:
    TRecordingBuffer() : TGLAbstractWorldBuffer(nullptr) {}
    bool DepthTest() const override { return depthTest; }
    void PushModelViewMatrix(const TMatrix& matrix) override
    {
        stack.push_back(saved);
        saved = matrix;
    }
    void PopModelViewMatrix() override
    {
        saved = stack.back();
        stack.pop_back();
    }
    void QueueAfterEffect(TGLObjectEffect* effect) override { afterEffects.push_back(effect); }

    bool depthTest = true;
    TMatrix saved = IdentityMatrix;
    std::vector<TMatrix> stack;
    std::vector<TGLObjectEffect*> afterEffects;
};

// Draws glRectf(id, 0, 0, 0) so each object's drawing is recognisable; its blended
// answer and half extents are set by the test.
class TMarkedObject : public TGLBaseSceneObject {
    KP_CLASS(TMarkedObject, TGLBaseSceneObject)
public:
    explicit TMarkedObject(TComponent* owner = nullptr) : TGLBaseSceneObject(owner) {}
    void BuildList(TRenderContextInfo&) override
    {
        ++builds;
        GL.glRectf(static_cast<float>(id), 0, 0, 0);
    }
    bool Blended() const override { return blended; }
    TVector UnscaledHalfExtents() const override { return halfExtents; }
    using TGLBaseSceneObject::IncludeStyle;

    int id = 0;
    int builds = 0;
    bool blended = false;
    TVector halfExtents{0.5f, 0.5f, 0.5f, 0};
};

// The ids of the objects drawn, in drawing order (from the recorded glRectf calls,
// including those compiled into display lists).
inline std::vector<int> DrawnIds(const TGLRecorder& gl)
{
    std::vector<int> ids;
    for (const TGLCall& call : gl.CallsTo("glRectf")) {
        ids.push_back(static_cast<int>(call.Args[0]));
    }
    return ids;
}

} // namespace scenetest
