#include "scene/rendering/Shader.h"

#include "platform/core/Assert.h"
#include "scene/materials/MaterialLibrary.h"

#include <algorithm>

TGLShader::TGLShader(TComponent* owner) : TGLUpdateAbleComponent(owner)
{
    FHandle.OnAllocate = [](TGLVirtualHandle*, GLuint& handle) { handle = 1; };
    FHandle.OnDestroy = [this](TGLVirtualHandle* sender, GLuint& handle) { HandleDestroyed(sender, handle); };
}

TGLShader::~TGLShader()
{
    Destroying();
    try {
        FinalizeShader();
    } catch (const Exception&) {
        // A context that is gone cannot run the finalisation; the handle goes anyway.
    }
    while (!FUsers.empty()) {
        TGLLibMaterial* user = FUsers.back();
        FUsers.pop_back();
        user->DropShader();
        user->NotifyUsers();
    }
}

void TGLShader::HandleDestroyed(TGLVirtualHandle* /*sender*/, GLuint& /*handle*/)
{
    if (FInitialized) {
        FInitialized = false;
        DoFinalize();
    }
}

void TGLShader::SetEnabled(bool value)
{
    KP_ASSERT_MSG(!FActive, "Shader is active.");
    if (value != FEnabled) {
        FEnabled = value;
        NotifyChange(this);
    }
}

void TGLShader::Apply(TRenderContextInfo& rci, TObject* sender)
{
    KP_ASSERT_MSG(!FActive, "Unbalanced shader application.");
    if (FEnabled) {
        if (FHandle.Handle() == 0) {
            InitializeShader();
        }
        DoApply(rci, sender);
    }
    FActive = true;
}

bool TGLShader::UnApply(TRenderContextInfo& rci)
{
    KP_ASSERT_MSG(FActive, "Unbalanced shader application.");
    if (!FEnabled) {
        FActive = false;
        return false;
    }
    const bool again = DoUnApply(rci);
    if (!again) {
        FActive = false;
    }
    return again;
}

void TGLShader::InitializeShader()
{
    if (FHandle.Handle() == 0) {
        FHandle.AllocateHandle();
    }
    DoInitialize();
    FInitialized = true;
}

void TGLShader::FinalizeShader()
{
    if (FHandle.Handle() == 0 || !FInitialized) {
        return;
    }
    TGLContext* context = FHandle.RenderingContext();
    TGLContext* current = CurrentGLContext();
    if (!context || context == current) {
        FInitialized = false;
        DoFinalize();
        FHandle.DestroyHandle();
        return;
    }
    // The shader's own context must be current; the caller's comes back afterwards.
    TGLContextSuspension suspended(current);
    context->Activate();
    struct TDeactivate {
        TGLContext* context;
        ~TDeactivate()
        {
            try {
                context->Deactivate();
            } catch (const Exception&) {
                // Already gone: nothing left to restore.
            }
        }
    } deactivate{context};
    FInitialized = false;
    DoFinalize();
    FHandle.DestroyHandle();
}

void TGLShader::NotifyChange(TObject* sender)
{
    for (TGLLibMaterial* user : FUsers) {
        user->NotifyUsers();
    }
    FinalizeShader();
    TGLUpdateAbleComponent::NotifyChange(sender);
}

void TGLShader::RegisterUser(TGLLibMaterial* user)
{
    if (std::find(FUsers.begin(), FUsers.end(), user) == FUsers.end()) {
        FUsers.push_back(user);
    }
}

void TGLShader::UnRegisterUser(TGLLibMaterial* user)
{
    FUsers.erase(std::remove(FUsers.begin(), FUsers.end(), user), FUsers.end());
}
