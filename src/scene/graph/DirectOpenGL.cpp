#include "scene/graph/DirectOpenGL.h"

#include "scene/rendering/TexCoordRouter.h"

#include <algorithm>

// ---- Direct OpenGL ----

TGLDirectOpenGL::TGLDirectOpenGL(TComponent* owner) : TGLImmaterialSceneObject(owner)
{
    IncludeStyle(osNoDisplayList);
    IncludeStyle(osResetStatesAfterRender);
}

void TGLDirectOpenGL::SetUseBuildList(bool value)
{
    if (useBuildList_ == value) {
        return;
    }
    useBuildList_ = value;
    if (value) {
        ExcludeStyle(osNoDisplayList);
    } else {
        IncludeStyle(osNoDisplayList);
    }
}

void TGLDirectOpenGL::SetBlend(bool value)
{
    if (blend_ != value) {
        blend_ = value;
        StructureChanged();
    }
}

void TGLDirectOpenGL::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TGLDirectOpenGL>(source); other && other != this) {
        SetUseBuildList(other->useBuildList_);
        OnRender = other->OnRender;
        OnProgress = other->OnProgress;
        blend_ = other->blend_;
    }
    TGLImmaterialSceneObject::Assign(source);
}

void TGLDirectOpenGL::BuildList(TRenderContextInfo& rci)
{
    if (OnRender) {
        MapTexCoordToUnit0();
        OnRender(this, rci);
    }
}

// ---- Render point ----

TGLRenderPoint::TGLRenderPoint(TComponent* owner) : TGLImmaterialSceneObject(owner)
{
    IncludeStyle(osNoDisplayList);
    IncludeStyle(osResetStatesAfterRender);
}

TGLRenderPoint::~TGLRenderPoint()
{
    while (!pairs_.empty()) {
        // Dropped before the call, so a handler that unregisters itself finds nothing.
        TRenderPointFreedEvent release = std::move(pairs_.back().release);
        pairs_.pop_back();
        if (release) {
            release(this);
        }
    }
}

int TGLRenderPoint::RegisterCallBack(TDirectRenderEvent render, TRenderPointFreedEvent release)
{
    const int key = nextKey_++;
    pairs_.push_back({key, std::move(render), std::move(release)});
    return key;
}

void TGLRenderPoint::UnRegisterCallBack(int key)
{
    const auto it =
        std::find_if(pairs_.begin(), pairs_.end(), [key](const TCallBackPair& p) { return p.key == key; });
    if (it != pairs_.end()) {
        pairs_.erase(it);
    }
}

void TGLRenderPoint::BuildList(TRenderContextInfo& rci)
{
    // By index and copied: a handler may register or unregister pairs.
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        const TDirectRenderEvent render = pairs_[i].render;
        if (render) {
            render(this, rci);
        }
    }
}
