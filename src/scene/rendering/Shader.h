#pragma once
// A shader runs before, after or instead of a library material. It is initialised
// lazily at its first application in a context and finalised when it changes or is
// freed. This base draws nothing; descendants fill in DoApply and DoUnApply.

#include "scene/rendering/GLContext.h"
#include "scene/graph/UpdateAble.h"

#include <vector>

struct TRenderContextInfo;
class TGLLibMaterial;

enum TShaderApplyStyle { ssBeforeMaterial, ssAfterMaterial, ssReplaceMaterial };

class TGLShader : public TGLUpdateAbleComponent {
    KP_CLASS(TGLShader, TGLUpdateAbleComponent)
public:
    explicit TGLShader(TComponent* owner = nullptr);
    // Finalises, and unlinks every library material that uses it (last first).
    ~TGLShader() override;

    bool Enabled() const { return FEnabled; }
    // Not while the shader is applied ("Shader is active.").
    void SetEnabled(bool value);
    TShaderApplyStyle ShaderStyle() const { return FShaderStyle; }
    void SetShaderStyle(TShaderApplyStyle value) { FShaderStyle = value; }
    bool Active() const { return FActive; }
    bool Initialized() const { return FInitialized; }
    const std::vector<TGLLibMaterial*>& Users() const { return FUsers; }

    // Unbalanced calls fail with "Unbalanced shader application.".
    void Apply(TRenderContextInfo& rci, TObject* sender);
    // True when the object must be drawn again with the shader.
    bool UnApply(TRenderContextInfo& rci);

    void InitializeShader();
    void FinalizeShader();

    // Every user hears of the change; the shader is finalised.
    void NotifyChange(TObject* sender) override;

    void RegisterUser(TGLLibMaterial* user);
    void UnRegisterUser(TGLLibMaterial* user);

protected:
    virtual void DoApply(TRenderContextInfo& /*rci*/, TObject* /*sender*/) {}
    virtual bool DoUnApply(TRenderContextInfo& /*rci*/) { return false; }
    virtual void DoInitialize() {}
    virtual void DoFinalize() {}

private:
    void HandleDestroyed(TGLVirtualHandle* sender, GLuint& handle);

    TGLVirtualHandle FHandle;
    std::vector<TGLLibMaterial*> FUsers;
    TShaderApplyStyle FShaderStyle = ssAfterMaterial;
    bool FEnabled = true;
    bool FActive = false;
    bool FInitialized = false;
};
