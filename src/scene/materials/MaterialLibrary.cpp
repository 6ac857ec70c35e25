#include "scene/materials/MaterialLibrary.h"

#include "platform/core/objects/ClassRegistry.h"
#include "platform/core/text/StringUtils.h"

#include <algorithm>

// ---- TGLLibMaterials ----

TGLLibMaterials::TGLLibMaterials(TGLMaterialLibrary* owner)
    : TOwnedCollection(owner, CollectionItemClassOf<TGLLibMaterial>())
{
}

TGLMaterialLibrary* TGLLibMaterials::Library() const
{
    return ObjectCast<TGLMaterialLibrary>(GetOwner());
}

TGLLibMaterial* TGLLibMaterials::GetLibMaterialByName(const std::string& name) const
{
    const std::uint32_t key = TGLLibMaterial::ComputeNameHashKey(name);
    for (int i = 0; i < Count(); ++i) {
        TGLLibMaterial* item = Items(i);
        if (item->NameHashKey() == key && item->Name() == name) {
            return item;
        }
    }
    return nullptr;
}

std::string TGLLibMaterials::MakeUniqueName(const std::string& base) const
{
    if (!GetLibMaterialByName(base)) {
        return base;
    }
    for (int i = 1;; ++i) {
        std::string candidate = base + std::to_string(i);
        if (!GetLibMaterialByName(candidate)) {
            return candidate;
        }
    }
}

void TGLLibMaterials::PrepareBuildList()
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->PrepareBuildList();
    }
}

void TGLLibMaterials::DestroyHandles()
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->DestroyHandles();
    }
}

void TGLLibMaterials::Loaded()
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->Loaded();
    }
}

// ---- TGLMaterialLibrary ----

TGLMaterialLibrary::TGLMaterialLibrary(TComponent* owner)
    : TComponent(owner), FMaterials(std::make_unique<TGLLibMaterials>(this))
{
}

TGLMaterialLibrary::~TGLMaterialLibrary()
{
    Destroying();
    // Library materials unlink their users as they go.
    FMaterials.reset();
    // Materials that named this library without a match still point at it.
    for (TGLMaterial* material : FMaterialUsers) {
        material->DropLibrary();
    }
}

void TGLMaterialLibrary::RegisterMaterial(TGLMaterial* material)
{
    if (std::find(FMaterialUsers.begin(), FMaterialUsers.end(), material) == FMaterialUsers.end()) {
        FMaterialUsers.push_back(material);
    }
}

void TGLMaterialLibrary::UnRegisterMaterial(TGLMaterial* material)
{
    FMaterialUsers.erase(std::remove(FMaterialUsers.begin(), FMaterialUsers.end(), material), FMaterialUsers.end());
}

void TGLMaterialLibrary::SetTexturePaths(const std::string& text)
{
    FTexturePaths = text;
    FTexturePathList.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(';', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string folder = Trim(std::string_view(text).substr(start, end - start));
        if (!folder.empty()) {
            if (folder.back() != '/') {
                folder += '/';
            }
            FTexturePathList.push_back(std::move(folder));
        }
        start = end + 1;
    }
}

TGLLibMaterial* TGLMaterialLibrary::LibMaterialByName(const std::string& name) const
{
    return FMaterials->GetLibMaterialByName(name);
}

TGLLibMaterial* LibMaterialByName(const TGLMaterialLibrary* library, const std::string& name)
{
    return library ? library->LibMaterialByName(name) : nullptr;
}

TGLLibMaterial* TGLMaterialLibrary::AddTextureMaterial(const std::string& name, const TGraphic* graphic)
{
    TGLLibMaterial* result = FMaterials->Add();
    result->SetName(name);
    TGLTexture* texture = result->Material()->Texture();
    texture->SetMinFilter(miLinearMipmapLinear);
    texture->SetMagFilter(maLinear);
    texture->SetTextureMode(tmModulate);
    texture->SetDisabled(false);
    if (graphic) {
        texture->Image()->Assign(graphic);
    }
    return result;
}

void TGLMaterialLibrary::Loaded()
{
    FMaterials->Loaded();
}

void TGLMaterialLibrary::DestroyHandles()
{
    FMaterials->DestroyHandles();
}

void RegisterMaterialLibraryClass()
{
    RegisterClass<TGLMaterialLibrary>();
}
