#pragma once
// The scene objects every concrete shape builds on: a custom object draws its display
// list once per pass of its material, an immaterial one draws without material, and a
// camera-invariant one can ignore the camera's position or orientation (a sky, a
// compass).

#include "scene/graph/SceneObject.h"

#include <memory>
#include <string>

class TGLMaterial;

class TGLCustomSceneObject : public TGLBaseSceneObject {
    KP_CLASS(TGLCustomSceneObject, TGLBaseSceneObject)
public:
    explicit TGLCustomSceneObject(TComponent* owner = nullptr);
    ~TGLCustomSceneObject() override;

    // Made on first use: objects drawn without material (lines, groups) never pay for one.
    TGLMaterial& Material() const;
    bool HasMaterial() const { return parts_ && parts_->Material; }
    // Copies the given material into the own one.
    void SetMaterial(const TGLMaterial& value);
    const std::string& Hint() const;
    void SetHint(const std::string& value);

    // From a custom object: material and hint; then the base part.
    void Assign(const TPersistent* source) override;
    bool Blended() const override;
    void DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
    // The display list and the material's OpenGL names.
    void DestroyHandle() override;

protected:
    // One draw per material pass; with ignoreMaterials one draw and no material.
    void DrawWithMaterial(TRenderContextInfo& rci);
    // Tells the scene which object is being drawn.
    void MarkCurrentObject(TRenderContextInfo& rci);

private:
    // The material and the hint, made when either is first needed.
    struct TParts {
        std::unique_ptr<TGLMaterial> Material;
        std::string Hint;
    };
    TParts& Parts() const;
    mutable std::unique_ptr<TParts> parts_;
};

// The published form of a custom object.
class TGLWorldObject : public TGLCustomSceneObject {
    KP_CLASS(TGLWorldObject, TGLCustomSceneObject)
public:
    using TGLCustomSceneObject::TGLCustomSceneObject;
};

class TGLImmaterialSceneObject : public TGLCustomSceneObject {
    KP_CLASS(TGLImmaterialSceneObject, TGLCustomSceneObject)
public:
    using TGLCustomSceneObject::TGLCustomSceneObject;
    void DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;
};

enum TGLCameraInvarianceMode : std::uint8_t { cimNone, cimPosition, cimOrientation };

class TGLCameraInvariantObject : public TGLImmaterialSceneObject {
    KP_CLASS(TGLCameraInvariantObject, TGLImmaterialSceneObject)
public:
    using TGLImmaterialSceneObject::TGLImmaterialSceneObject;

    TGLCameraInvarianceMode CamInvarianceMode() const { return camInvarianceMode_; }
    void SetCamInvarianceMode(TGLCameraInvarianceMode value);

    void Assign(const TPersistent* source) override;
    void DoRender(TRenderContextInfo& rci, bool renderSelf, bool renderChildren) override;

private:
    TGLCameraInvarianceMode camInvarianceMode_ = cimNone;
};
