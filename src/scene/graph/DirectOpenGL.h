#pragma once
// Objects that hand their drawing to application code: a direct OpenGL object calls
// one render handler, a render point calls every registered pair of render and release
// handlers (the release handler is told when the point goes away).

#include "scene/graph/CustomSceneObject.h"

#include <functional>
#include <vector>

class TGLDirectOpenGL : public TGLImmaterialSceneObject {
    KP_CLASS(TGLDirectOpenGL, TGLImmaterialSceneObject)
public:
    // Draws every frame until UseBuildList is set.
    explicit TGLDirectOpenGL(TComponent* owner = nullptr);

    bool UseBuildList() const { return useBuildList_; }
    // True compiles the drawing into a display list, replayed until StructureChanged.
    void SetUseBuildList(bool value);
    bool Blend() const { return blend_; }
    void SetBlend(bool value);

    TDirectRenderEvent OnRender;

    // From another direct OpenGL object: UseBuildList, OnRender, OnProgress and Blend.
    void Assign(const TPersistent* source) override;
    bool Blended() const override { return blend_; }
    // Texture coordinates to unit 0, then OnRender.
    void BuildList(TRenderContextInfo& rci) override;

private:
    bool useBuildList_ = false;
    bool blend_ = false;
};

using TRenderPointFreedEvent = std::function<void(TObject* sender)>;

class TGLRenderPoint : public TGLImmaterialSceneObject {
    KP_CLASS(TGLRenderPoint, TGLImmaterialSceneObject)
public:
    explicit TGLRenderPoint(TComponent* owner = nullptr);
    // Tells every release handler, the last registered first.
    ~TGLRenderPoint() override;

    // Keeps the two handlers together; returns the key that unregisters them.
    int RegisterCallBack(TDirectRenderEvent render, TRenderPointFreedEvent release);
    // Drops the pair without calling its release handler; an unknown key does nothing.
    void UnRegisterCallBack(int key);
    int CallBackCount() const { return static_cast<int>(pairs_.size()); }

    // Every render handler in registration order.
    void BuildList(TRenderContextInfo& rci) override;

private:
    struct TCallBackPair {
        int key;
        TDirectRenderEvent render;
        TRenderPointFreedEvent release;
    };
    std::vector<TCallBackPair> pairs_;
    int nextKey_ = 1;
};
