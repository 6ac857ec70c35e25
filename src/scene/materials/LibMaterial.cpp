#include "platform/core/Assert.h"
#include "platform/core/ScopeGuard.h"
#include "scene/materials/DataFile.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/graph/RenderContextInfo.h"
#include "scene/rendering/Shader.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/materials/TextureTransform.h"

#include <algorithm>

TGLLibMaterial::TGLLibMaterial(TCollection* collection)
    : TCollectionItem(nullptr),
      FMaterial(std::make_unique<TGLMaterial>(this)),
      FTextureOffset(std::make_unique<TGLCoordinates>(this, DefaultTextureOffset, TGLCoordinatesStyle::csUnknown)),
      FTextureScale(std::make_unique<TGLCoordinates>(this, DefaultTextureScale, TGLCoordinatesStyle::csUnknown))
{
    HookTexture();
    FTextureOffset->OnNotifyChange = MakeDelegate<&TGLLibMaterial::OffsetOrScaleChanged>(this);
    FTextureScale->OnNotifyChange = MakeDelegate<&TGLLibMaterial::OffsetOrScaleChanged>(this);
    // Named before it joins, so the collection never holds a nameless material.
    if (auto* materials = ObjectCast<TGLLibMaterials>(collection)) {
        FName = materials->MakeUniqueName("LibMaterial");
    } else {
        FName = "LibMaterial";
    }
    FNameHashKey = ComputeNameHashKey(FName);
    SetCollection(collection);
}

TGLLibMaterial::~TGLLibMaterial()
{
    SetShader(nullptr);
    DropTexture2Link();
    // Users let go of this material; they unregister themselves as they do.
    while (!FUsers.empty()) {
        TPersistent* user = FUsers.back();
        FUsers.pop_back();
        if (auto* material = ObjectCast<TGLMaterial>(user)) {
            material->DropLibMaterial();
        } else if (auto* libMaterial = ObjectCast<TGLLibMaterial>(user)) {
            libMaterial->FLibMatTexture2 = nullptr;
            libMaterial->FTexture2Name.clear();
        }
    }
    SetCollection(nullptr);
}

void TGLLibMaterial::HookTexture()
{
    FMaterial->Texture()->OnTextureNeeded = [this](TObject* sender, std::string& name) {
        DoOnTextureNeeded(sender, name);
    };
}

TGLMaterialLibrary* TGLLibMaterial::Library() const
{
    return Collection() ? ObjectCast<TGLMaterialLibrary>(Collection()->GetOwner()) : nullptr;
}

std::uint32_t TGLLibMaterial::ComputeNameHashKey(const std::string& name)
{
    std::uint32_t h = static_cast<std::uint32_t>(name.size());
    for (const char c : name) {
        h = 2 * h + static_cast<std::uint8_t>(c);
    }
    return h;
}

void TGLLibMaterial::SetName(const std::string& name)
{
    if (name == FName) {
        return;
    }
    const TGLMaterialLibrary* library = Library();
    const auto* materials = ObjectCast<TGLLibMaterials>(Collection());
    if ((library && library->Loading()) || !materials || !materials->GetLibMaterialByName(name)) {
        FName = name;
    } else {
        FName = materials->MakeUniqueName(name);
    }
    FNameHashKey = ComputeNameHashKey(FName);
}

void TGLLibMaterial::SetTextureOffset(const TGLCoordinates* value)
{
    FTextureOffset->Assign(value);
    CalculateTextureMatrix();
}

void TGLLibMaterial::SetTextureScale(const TGLCoordinates* value)
{
    FTextureScale->Assign(value);
    CalculateTextureMatrix();
}

void TGLLibMaterial::OffsetOrScaleChanged(TObject* /*sender*/)
{
    CalculateTextureMatrix();
}

void TGLLibMaterial::CalculateTextureMatrix()
{
    FTextureMatrixIsIdentity = ComputeTextureMatrix(*FTextureOffset, *FTextureScale, FTextureMatrix);
    NotifyUsers();
}

void TGLLibMaterial::DropTexture2Link()
{
    if (FLibMatTexture2) {
        FLibMatTexture2->UnRegisterUser(this);
        FLibMatTexture2 = nullptr;
    }
}

void TGLLibMaterial::SetTexture2Name(const std::string& name)
{
    if (name != FTexture2Name) {
        DropTexture2Link();
        FTexture2Name = name;
        NotifyUsers();
    }
}

void TGLLibMaterial::SetShader(TGLShader* shader)
{
    if (shader == FShader) {
        return;
    }
    if (FShader) {
        FShader->UnRegisterUser(this);
    }
    FShader = shader;
    if (shader) {
        shader->RegisterUser(this);
    }
    NotifyUsers();
}

void TGLLibMaterial::RegisterUser(TPersistent* user)
{
    KP_ASSERT(std::find(FUsers.begin(), FUsers.end(), user) == FUsers.end());
    FUsers.push_back(user);
}

void TGLLibMaterial::UnRegisterUser(TPersistent* user)
{
    FUsers.erase(std::remove(FUsers.begin(), FUsers.end(), user), FUsers.end());
}

void TGLLibMaterial::NotifyUsers()
{
    if (FNotifying) {
        return;
    }
    const auto notifying = SetForScope(FNotifying, true);
    for (TPersistent* user : FUsers) {
        if (auto* object = ObjectCast<TGLUpdateAbleObject>(user)) {
            object->NotifyChange(this);
        } else if (auto* component = ObjectCast<TGLUpdateAbleComponent>(user)) {
            component->NotifyChange(this);
        } else if (auto* libMaterial = ObjectCast<TGLLibMaterial>(user)) {
            libMaterial->NotifyUsers();
        } else {
            KP_ASSERT(false);
        }
    }
}

void TGLLibMaterial::NotifyUsersOfTexMapChange()
{
    if (FNotifying) {
        return;
    }
    const auto notifying = SetForScope(FNotifying, true);
    for (TPersistent* user : FUsers) {
        if (auto* material = ObjectCast<TGLMaterial>(user)) {
            material->NotifyTexMapChange();
        } else if (auto* libMaterial = ObjectCast<TGLLibMaterial>(user)) {
            libMaterial->NotifyUsersOfTexMapChange();
        } else if (auto* object = ObjectCast<TGLUpdateAbleObject>(user)) {
            object->NotifyChange(this);
        } else if (auto* component = ObjectCast<TGLUpdateAbleComponent>(user)) {
            component->NotifyChange(this);
        }
    }
}

void TGLLibMaterial::DoOnTextureNeeded(TObject* sender, std::string& textureFileName)
{
    TGLMaterialLibrary* library = Library();
    if (!library) {
        return;
    }
    if (library->OnTextureNeeded) {
        library->OnTextureNeeded(sender, textureFileName);
    }
    // A name that starts with "/" is absolute: nothing to search for.
    if (textureFileName.empty() || textureFileName.front() == '/') {
        return;
    }
    for (const std::string& folder : library->TexturePathList()) {
        const std::string candidate = folder + textureFileName;
        if (HookedFileExists(candidate)) {
            textureFileName = candidate;
            return;
        }
    }
}

TGLLibMaterial* TGLLibMaterial::SecondTexture()
{
    if (FTexture2Name.empty()) {
        return nullptr;
    }
    if (!FLibMatTexture2) {
        TGLLibMaterial* found = LibMaterialByName(Library(), FTexture2Name);
        if (!found || found == this) {
            FTexture2Name.clear();
            return nullptr;
        }
        found->RegisterUser(this);
        FLibMatTexture2 = found;
    }
    return FLibMatTexture2;
}

void TGLLibMaterial::Apply(TRenderContextInfo& rci)
{
    TexCoordMapBeginUpdate();
    struct TEndUpdate {
        ~TEndUpdate() { TexCoordMapEndUpdate(); }
    } endUpdate;
    const TShaderApplyStyle style = FShader ? FShader->ShaderStyle() : ssAfterMaterial;
    if (FShader && style == ssBeforeMaterial) {
        FShader->Apply(rci, this);
    } else if (FShader && style == ssReplaceMaterial) {
        FShader->Apply(rci, this);
        return;
    }
    TGLLibMaterial* second = nullptr;
    if (!FTexture2Name.empty() && GLExt.ARB_multitexture) {
        TGLLibMaterial* resolved = SecondTexture();
        if (resolved && resolved->Material()->HasTexture() && resolved->Material()->Texture()->Enabled()) {
            second = resolved;
        }
    }
    TGLTexture* own = FMaterial->Texture();
    if (second) {
        if (!FTextureMatrixIsIdentity) {
            rci.GLStates->SetTextureMatrix(FTextureMatrix);
        }
        FMaterial->Apply(rci);
        TGLTexture* secondTexture = second->Material()->Texture();
        secondTexture->ApplyAsTexture2(rci, second);
        const bool secondUser = secondTexture->MappingMode() == tmmUser;
        if (own->Disabled()) {
            if (!secondUser) {
                MapTexCoordToUnit0();
            } else {
                MapTexCoordToUnit1();
            }
        } else if (own->MappingMode() != tmmUser) {
            if (!secondUser) {
                MapTexCoordToUnit0();
            } else {
                MapTexCoordToUnit1();
            }
        } else if (!secondUser) {
            MapTexCoordToUnit0();
        } else {
            MapTexCoordToUnits01();
        }
    } else {
        if (own->Enabled() && !FTextureMatrixIsIdentity) {
            rci.GLStates->SetTextureMatrix(FTextureMatrix);
        }
        FMaterial->Apply(rci);
    }
    if (FShader && style == ssAfterMaterial) {
        FShader->Apply(rci, this);
    }
}

bool TGLLibMaterial::UnApply(TRenderContextInfo& rci)
{
    const TShaderApplyStyle style = FShader ? FShader->ShaderStyle() : ssAfterMaterial;
    if (FShader && style == ssAfterMaterial) {
        if (FShader->UnApply(rci)) {
            return true;
        }
    } else if (FShader && style == ssReplaceMaterial) {
        return FShader->UnApply(rci);
    }
    if (FLibMatTexture2 && GLExt.ARB_multitexture) {
        FLibMatTexture2->Material()->Texture()->UnApplyAsTexture2(rci, FLibMatTexture2);
        MapTexCoordToUnit0();
    }
    FMaterial->UnApply(rci);
    if (FMaterial->Texture()->Enabled() && !FTextureMatrixIsIdentity) {
        rci.GLStates->ResetTextureMatrix();
    }
    if (FShader && style == ssBeforeMaterial) {
        return FShader->UnApply(rci);
    }
    return false;
}

void TGLLibMaterial::PrepareBuildList()
{
    FMaterial->PrepareBuildList();
}

void TGLLibMaterial::DestroyHandles()
{
    FMaterial->DestroyHandles();
    if (FLibMatTexture2) {
        FLibMatTexture2->DestroyHandles();
    }
}

void TGLLibMaterial::Assign(const TPersistent* source)
{
    const auto* other = ObjectCast<TGLLibMaterial>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    if (other == this) {
        return;
    }
    const auto* materials = ObjectCast<TGLLibMaterials>(Collection());
    FName = materials ? materials->MakeUniqueName(other->FName) : other->FName;
    FNameHashKey = ComputeNameHashKey(FName);
    FMaterial->Assign(other->FMaterial.get());
    HookTexture(); // a source without a texture leaves ours freed
    FTextureOffset->Assign(other->FTextureOffset.get());
    FTextureScale->Assign(other->FTextureScale.get());
    DropTexture2Link();
    FTexture2Name = other->FTexture2Name;
    CalculateTextureMatrix();
}
