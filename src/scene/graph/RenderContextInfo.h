#pragma once
// What every render operation receives: the scene and buffer being drawn, where the
// camera is, the clipping information for culling, the sorting and culling modes in
// force for the children being drawn, the state cache and the nesting counters with
// which materials switch lighting and fog off and back on. Filled once per frame by
// the scene (zeroed first), then handed down the tree by reference.

#include "scene/base/VectorTypes.h"

#include <cstdint>
#include <functional>

class TObject;
class TGLAbstractWorld;
class TGLAbstractWorldBuffer;
class TGLStateCache;
class TGLMaterialLibrary;

enum TDrawState : std::uint8_t { dsRendering, dsPicking };

// How an object orders its children when rendering them.
enum TGLObjectsSorting : std::uint8_t {
    osInherited,
    osNone,
    osRenderFarthestFirst,
    osRenderBlendedLast,
    osRenderNearestFirst,
};

// How an object decides whether it and its children are in view.
enum TGLVisibilityCulling : std::uint8_t { vcInherited, vcNone, vcObjectBased, vcHierarchical };

struct TRenderContextClippingInfo {
    TVector origin{};
    TVector clippingDirection{};
    float viewPortRadius = 0;
    float farClippingDistance = 0;
    TFrustum frustum{};
};

struct TGLViewPortSize {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
};

struct TRenderContextInfo {
    TGLAbstractWorld* scene = nullptr;
    TGLAbstractWorldBuffer* buffer = nullptr;
    TVector cameraPosition{};
    // Normalised, W 0.
    TVector cameraDirection{};
    // Orthogonal to the direction, normalised.
    TVector cameraUp{};
    // The buffer's saved model-view matrix (the camera's view).
    const TMatrix* modelViewMatrix = nullptr;
    TGLViewPortSize viewPortSize;
    std::int32_t renderDPI = 0;
    std::int32_t lightingDisabledCounter = 0;
    std::int32_t fogDisabledCounter = 0;
    TDrawState drawState = dsRendering;
    TGLObjectsSorting objectsSorting = osInherited;
    TGLVisibilityCulling visibilityCulling = vcInherited;
    TGLStateCache* GLStates = nullptr;
    // The libraries a mesh draws its face groups and light maps from while it renders.
    TGLMaterialLibrary* materialLibrary = nullptr;
    TGLMaterialLibrary* lightmapLibrary = nullptr;
    TRenderContextClippingInfo rcci;
    TVector sceneAmbientColor{};
    bool faceCulling = false;
    bool proxySubObject = false;
    bool ignoreMaterials = false;
    bool ignoreBlending = false;
    bool amalgamating = false;
};

// Application drawing hooked into a render (direct OpenGL objects, buffer events).
using TDirectRenderEvent = std::function<void(TObject* sender, TRenderContextInfo& rci)>;
