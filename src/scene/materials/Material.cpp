#include "scene/materials/Material.h"

#include "platform/core/Assert.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/graph/RenderContextInfo.h"
#include "scene/materials/TextureEx.h"

#include <algorithm>

GLenum PolygonModeToGL(TPolygonMode mode)
{
    switch (mode) {
    case pmLines:
        return GL_LINE;
    case pmPoints:
        return GL_POINT;
    default:
        return GL_FILL;
    }
}

// ---- TGLFaceProperties ----

TGLFaceProperties::TGLFaceProperties(TPersistent* owner)
    : TGLUpdateAbleObject(owner),
      FAmbient(std::make_unique<TGLColor>(this, ColorGray20)),
      FDiffuse(std::make_unique<TGLColor>(this, ColorGray80)),
      FSpecular(std::make_unique<TGLColor>(this, ColorBlack)),
      FEmission(std::make_unique<TGLColor>(this, ColorBlack))
{
}

TGLFaceProperties::~TGLFaceProperties() = default;

void TGLFaceProperties::SetShininess(TShininess value)
{
    value = std::clamp(value, 0, MaxShininess);
    if (value != FShininess) {
        FShininess = value;
        NotifyChange(this);
    }
}

void TGLFaceProperties::SetPolygonMode(TPolygonMode value)
{
    if (value != FPolygonMode) {
        FPolygonMode = value;
        NotifyChange(this);
    }
}

void TGLFaceProperties::Apply(TRenderContextInfo& rci, GLenum face)
{
    rci.GLStates->SetMaterialColors(face, FEmission->Color(), FAmbient->Color(), FDiffuse->Color(),
                                    FSpecular->Color(), FShininess);
    rci.GLStates->SetPolygonMode(face, PolygonModeToGL(FPolygonMode));
}

void TGLFaceProperties::ApplyNoLighting(TRenderContextInfo& rci, GLenum face)
{
    GL.glColor4fv(FDiffuse->GetAsAddress());
    rci.GLStates->SetPolygonMode(face, PolygonModeToGL(FPolygonMode));
}

void TGLFaceProperties::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TGLFaceProperties>(source)) {
        FAmbient->Initialize(other->FAmbient->Color());
        FDiffuse->Initialize(other->FDiffuse->Color());
        FSpecular->Initialize(other->FSpecular->Color());
        FEmission->Initialize(other->FEmission->Color());
        FShininess = other->FShininess;
        FPolygonMode = other->FPolygonMode;
        NotifyChange(this);
    } else {
        TGLUpdateAbleObject::Assign(source);
    }
}

// ---- TGLMaterial ----

TGLMaterial::TGLMaterial(TPersistent* owner)
    : TGLUpdateAbleObject(owner), FFrontProperties(std::make_unique<TGLFaceProperties>(this))
{
}

TGLMaterial::~TGLMaterial()
{
    if (FCurrentLibMaterial) {
        FCurrentLibMaterial->UnRegisterUser(this);
    }
    if (FMaterialLibrary) {
        FMaterialLibrary->UnRegisterMaterial(this);
    }
}

void TGLMaterial::SetFrontProperties(const TGLFaceProperties* value)
{
    FFrontProperties->Assign(value);
    NotifyChange(this);
}

TGLFaceProperties* TGLMaterial::BackProperties()
{
    if (!FBackProperties) {
        FBackProperties = std::make_unique<TGLFaceProperties>(this);
    }
    return FBackProperties.get();
}

void TGLMaterial::SetBackProperties(const TGLFaceProperties* value)
{
    BackProperties()->Assign(value);
    NotifyChange(this);
}

void TGLMaterial::SetBlendingMode(TBlendingMode value)
{
    if (value != FBlendingMode) {
        FBlendingMode = value;
        NotifyChange(this);
    }
}

void TGLMaterial::SetMaterialOptions(TMaterialOptions value)
{
    if (value != FMaterialOptions) {
        FMaterialOptions = value;
        NotifyChange(this);
    }
}

void TGLMaterial::SetFaceCulling(TFaceCulling value)
{
    if (value != FFaceCulling) {
        FFaceCulling = value;
        NotifyChange(this);
    }
}

TGLTexture* TGLMaterial::Texture()
{
    if (!FTexture) {
        FTexture = std::make_unique<TGLTexture>(this);
    }
    return FTexture.get();
}

void TGLMaterial::SetTexture(const TGLTexture* value)
{
    if (value) {
        Texture()->Assign(value);
    } else {
        FTexture.reset();
    }
}

TGLTextureEx* TGLMaterial::TextureEx()
{
    if (!FTextureEx) {
        FTextureEx = std::make_unique<TGLTextureEx>(this);
    }
    return FTextureEx.get();
}

bool TGLMaterial::StoreTextureEx() const
{
    return FTextureEx && FTextureEx->Count() > 0;
}

void TGLMaterial::SetTextureEx(const TGLTextureEx* value)
{
    TextureEx()->Assign(value);
}

void TGLMaterial::SetMaterialLibrary(TGLMaterialLibrary* library)
{
    if (library != FMaterialLibrary) {
        if (FMaterialLibrary) {
            FMaterialLibrary->UnRegisterMaterial(this);
        }
        FMaterialLibrary = library;
        if (library) {
            library->RegisterMaterial(this);
        }
    }
    SetLibMaterialName(FLibMaterialName);
}

bool TGLMaterial::IsCyclicReference(const TGLLibMaterial* start) const
{
    constexpr int MaxChain = 16;
    int links = 0;
    for (const TGLLibMaterial* current = start; current; current = current->Material()->LibMaterial()) {
        if (current->Material() == this || ++links >= MaxChain) {
            return true;
        }
    }
    return false;
}

void TGLMaterial::SetLibMaterialName(const std::string& name)
{
    TGLLibMaterial* found = LibMaterialByName(FMaterialLibrary, name);
    if (found) {
        KP_ASSERT_MSG(!IsCyclicReference(found), "Error: Cyclic material reference detected!");
    }
    FLibMaterialName = name;
    if (found != FCurrentLibMaterial) {
        if (FCurrentLibMaterial) {
            FCurrentLibMaterial->UnRegisterUser(this);
        }
        FCurrentLibMaterial = found;
        if (found) {
            found->RegisterUser(this);
        }
        NotifyTexMapChange();
    }
}

void TGLMaterial::DropLibMaterial()
{
    FCurrentLibMaterial = nullptr;
    FLibMaterialName.clear();
    if (FMaterialLibrary) {
        FMaterialLibrary->UnRegisterMaterial(this);
        FMaterialLibrary = nullptr;
    }
}

void TGLMaterial::DropLibrary()
{
    FMaterialLibrary = nullptr;
    FCurrentLibMaterial = nullptr;
}

void TGLMaterial::NotifyChange(TObject* /*sender*/)
{
    if (auto* component = ObjectCast<TGLUpdateAbleComponent>(Owner())) {
        component->NotifyChange(this);
    } else if (auto* libMaterial = ObjectCast<TGLLibMaterial>(Owner())) {
        libMaterial->NotifyUsers();
    }
}

void TGLMaterial::NotifyTexMapChange()
{
    if (auto* component = ObjectCast<TGLUpdateAbleComponent>(Owner())) {
        component->StructureChanged();
    } else if (auto* libMaterial = ObjectCast<TGLLibMaterial>(Owner())) {
        libMaterial->NotifyUsersOfTexMapChange();
    }
}

bool TGLMaterial::Blended() const
{
    if (FCurrentLibMaterial) {
        return FCurrentLibMaterial->Blended();
    }
    return FBlendingMode != bmOpaque && FBlendingMode != bmAlphaTest50 && FBlendingMode != bmAlphaTest100;
}

bool TGLMaterial::TextureExOnUnit0Enabled() const
{
    return FTextureEx && FTextureEx->IsTextureEnabled(0);
}

void TGLMaterial::Apply(TRenderContextInfo& rci)
{
    if (FCurrentLibMaterial) {
        FCurrentLibMaterial->Apply(rci);
        return;
    }
    KP_ASSERT(rci.GLStates);
    TGLStateCache& states = *rci.GLStates;
    const auto enabled = [&states](TGLState state) { return (states.States() & StateBit(state)) != 0; };
    // Nested materials count too, so lighting comes back only with the outermost one.
    if (FMaterialOptions & MaterialOption(moNoLighting)) {
        if (enabled(stLighting)) {
            states.Disable(stLighting);
            ++rci.lightingDisabledCounter;
        } else if (rci.lightingDisabledCounter > 0) {
            ++rci.lightingDisabledCounter;
        }
    }
    if (enabled(stLighting)) {
        FFrontProperties->Apply(rci, GL_FRONT);
    } else {
        FFrontProperties->ApplyNoLighting(rci, GL_FRONT);
    }
    bool applyBack = false;
    if (enabled(stCullFace)) {
        switch (FFaceCulling) {
        case fcBufferDefault:
            if (!rci.faceCulling) {
                states.Disable(stCullFace);
                applyBack = true;
            }
            break;
        case fcCull:
            break;
        case fcNoCull:
            states.Disable(stCullFace);
            applyBack = true;
            break;
        default:
            KP_ASSERT(false);
        }
    } else {
        switch (FFaceCulling) {
        case fcBufferDefault:
            if (rci.faceCulling) {
                states.Enable(stCullFace);
            } else {
                applyBack = true;
            }
            break;
        case fcCull:
            states.Enable(stCullFace);
            break;
        case fcNoCull:
            applyBack = true;
            break;
        default:
            KP_ASSERT(false);
        }
    }
    if (applyBack) {
        BackProperties()->Apply(rci, GL_BACK);
    }
    if (!rci.ignoreBlending) {
        switch (FBlendingMode) {
        case bmOpaque:
            states.Disable(stBlend);
            states.Disable(stAlphaTest);
            break;
        case bmTransparency:
            states.Enable(stBlend);
            states.Enable(stAlphaTest);
            GL.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            break;
        case bmAdditive:
            states.Enable(stBlend);
            states.Enable(stAlphaTest);
            GL.glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            break;
        case bmAlphaTest50:
            states.Disable(stBlend);
            states.Enable(stAlphaTest);
            GL.glAlphaFunc(GL_GEQUAL, 0.5f);
            break;
        case bmAlphaTest100:
            states.Disable(stBlend);
            states.Enable(stAlphaTest);
            GL.glAlphaFunc(GL_GEQUAL, 1.0f);
            break;
        case bmModulate:
            states.Enable(stBlend);
            states.Enable(stAlphaTest);
            GL.glBlendFunc(GL_DST_COLOR, GL_ZERO);
            break;
        default:
            KP_ASSERT(false);
        }
    }
    if (FMaterialOptions & MaterialOption(moIgnoreFog)) {
        if (enabled(stFog)) {
            states.Disable(stFog);
            ++rci.fogDisabledCounter;
        } else if (rci.fogDisabledCounter > 0) {
            ++rci.fogDisabledCounter;
        }
    }
    if (!FTextureEx) {
        if (FTexture) {
            FTexture->Apply(rci);
        }
    } else {
        if (FTexture && !TextureExOnUnit0Enabled()) {
            FTexture->Apply(rci);
        }
        if (FTextureEx->Count() > 0) {
            FTextureEx->Apply(rci);
        }
    }
}

bool TGLMaterial::UnApply(TRenderContextInfo& rci)
{
    if (FCurrentLibMaterial) {
        return FCurrentLibMaterial->UnApply(rci);
    }
    KP_ASSERT(rci.GLStates);
    TGLStateCache& states = *rci.GLStates;
    if (FBlendingMode == bmAlphaTest50 || FBlendingMode == bmAlphaTest100) {
        GL.glAlphaFunc(GL_GREATER, 0);
    }
    if ((FMaterialOptions & MaterialOption(moNoLighting)) && rci.lightingDisabledCounter >= 1) {
        if (--rci.lightingDisabledCounter == 0) {
            states.Enable(stLighting);
        }
    }
    if ((FMaterialOptions & MaterialOption(moIgnoreFog)) && rci.fogDisabledCounter >= 1) {
        if (--rci.fogDisabledCounter == 0) {
            states.Enable(stFog);
        }
    }
    if (FTexture && FTexture->Enabled() && !TextureExOnUnit0Enabled()) {
        FTexture->UnApply(rci);
    }
    if (FTextureEx) {
        FTextureEx->UnApply(rci);
    }
    return false;
}

void TGLMaterial::DestroyHandles()
{
    if (FTexture) {
        FTexture->DestroyHandles();
    }
}

void TGLMaterial::PrepareBuildList()
{
    if (FTexture && FTexture->Enabled()) {
        FTexture->PrepareBuildList();
    }
}

void TGLMaterial::Assign(const TPersistent* source)
{
    const auto* other = ObjectCast<TGLMaterial>(source);
    if (!other) {
        TGLUpdateAbleObject::Assign(source);
        return;
    }
    if (other == this) {
        return;
    }
    if (other->FBackProperties) {
        BackProperties()->Assign(other->FBackProperties.get());
    } else {
        FBackProperties.reset();
    }
    FFrontProperties->Assign(other->FFrontProperties.get());
    FBlendingMode = other->FBlendingMode;
    FMaterialOptions = other->FMaterialOptions;
    if (other->FTexture) {
        Texture()->Assign(other->FTexture.get());
    } else {
        FTexture.reset();
    }
    FFaceCulling = other->FFaceCulling;
    if (other->FMaterialLibrary != FMaterialLibrary) {
        if (FMaterialLibrary) {
            FMaterialLibrary->UnRegisterMaterial(this);
        }
        FMaterialLibrary = other->FMaterialLibrary;
        if (FMaterialLibrary) {
            FMaterialLibrary->RegisterMaterial(this);
        }
    }
    SetLibMaterialName(other->FLibMaterialName);
    if (other->FTextureEx) {
        TextureEx()->Assign(other->FTextureEx.get());
    } else if (FTextureEx) {
        FTextureEx->Clear();
    }
    NotifyChange(this);
}
