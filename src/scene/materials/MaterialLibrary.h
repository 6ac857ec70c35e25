#pragma once
// Named materials that many scene objects share through TGLMaterial's library and
// name. A library material adds a texture matrix from offset and scale, an optional
// second texture taken from another material of the same library, and an optional
// shader. The library finds texture files along its texture paths ("/" separated
// folders; a name that starts with "/" is absolute and never searched) and saves and
// loads its materials as a stream.

#include "platform/core/objects/Collection.h"
#include "platform/core/objects/Component.h"
#include "scene/materials/Material.h"
#include "scene/base/ValueStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TGLMaterialLibrary;
class TGLShader;
class TGraphic;

class TGLLibMaterial : public TCollectionItem {
    KP_CLASS(TGLLibMaterial, TCollectionItem)
public:
    explicit TGLLibMaterial(TCollection* collection);
    ~TGLLibMaterial() override;

    const std::string& Name() const { return FName; }
    // Made unique within the library unless the library is loading.
    void SetName(const std::string& name);
    std::uint32_t NameHashKey() const { return FNameHashKey; }
    TGLMaterial* Material() const { return FMaterial.get(); }
    void SetMaterial(const TGLMaterial* value) { FMaterial->Assign(value); }
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }
    TGLCoordinates* TextureOffset() const { return FTextureOffset.get(); }
    TGLCoordinates* TextureScale() const { return FTextureScale.get(); }
    void SetTextureOffset(const TGLCoordinates* value);
    void SetTextureScale(const TGLCoordinates* value);
    const TMatrix& TextureMatrix() const { return FTextureMatrix; }
    bool TextureMatrixIsIdentity() const { return FTextureMatrixIsIdentity; }
    const std::string& Texture2Name() const { return FTexture2Name; }
    void SetTexture2Name(const std::string& name);
    // The resolved second-texture material; nullptr until first used.
    TGLLibMaterial* Texture2LibMaterial() const { return FLibMatTexture2; }
    TGLShader* Shader() const { return FShader; }
    void SetShader(TGLShader* shader);

    // The library that holds this material; nullptr outside one.
    TGLMaterialLibrary* Library() const;

    // Materials, library materials and update-able objects or components that refer
    // to this one. A second registration is an assertion failure.
    void RegisterUser(TPersistent* user);
    void UnRegisterUser(TPersistent* user);
    const std::vector<TPersistent*>& Users() const { return FUsers; }
    void NotifyUsers();
    void NotifyUsersOfTexMapChange();

    bool Blended() const { return FMaterial->Blended(); }
    void Apply(TRenderContextInfo& rci);
    // True when the object must be drawn again for another pass.
    bool UnApply(TRenderContextInfo& rci);
    void PrepareBuildList();
    void DestroyHandles();
    void Loaded() {}

    void Assign(const TPersistent* source) override;

    // h := length; for each character, h := 2h + its code (32 bits, wrapping).
    static std::uint32_t ComputeNameHashKey(const std::string& name);

protected:
    std::string GetDisplayName() const override { return FName; }

private:
    friend class TGLShader;
    friend class TGLMaterialLibrary;
    void CalculateTextureMatrix();
    void OffsetOrScaleChanged(TObject* sender);
    // The material's texture asks this library material where its files are.
    void HookTexture();
    void DoOnTextureNeeded(TObject* sender, std::string& textureFileName);
    // Resolves Texture2Name once; nullptr when unset or unknown (an unknown name is
    // cleared).
    TGLLibMaterial* SecondTexture();
    void DropTexture2Link();
    // Called by a shader being freed.
    void DropShader() { FShader = nullptr; }

    std::string FName;
    std::unique_ptr<TGLMaterial> FMaterial;
    std::unique_ptr<TGLCoordinates> FTextureOffset;
    std::unique_ptr<TGLCoordinates> FTextureScale;
    TMatrix FTextureMatrix = IdentityMatrix;
    std::vector<TPersistent*> FUsers;
    std::string FTexture2Name;
    TGLLibMaterial* FLibMatTexture2 = nullptr;
    TGLShader* FShader = nullptr;
    std::uint32_t FNameHashKey = 0;
    int FTag = 0;
    bool FTextureMatrixIsIdentity = true;
    bool FNotifying = false;
};

class TGLLibMaterials : public TOwnedCollection {
    KP_CLASS(TGLLibMaterials, TOwnedCollection)
public:
    explicit TGLLibMaterials(TGLMaterialLibrary* owner);

    TGLLibMaterial* Items(int index) const { return static_cast<TGLLibMaterial*>(TCollection::Items(index)); }
    TGLLibMaterial* Add() { return static_cast<TGLLibMaterial*>(TCollection::Add()); }
    TGLMaterialLibrary* Library() const;

    // Exact name; nullptr when none.
    TGLLibMaterial* GetLibMaterialByName(const std::string& name) const;
    // base, else base + "1", base + "2", ... whichever is unused first.
    std::string MakeUniqueName(const std::string& base) const;
    void PrepareBuildList();
    void DestroyHandles();
    void Loaded();
};

class TGLMaterialLibrary : public TComponent {
    KP_CLASS(TGLMaterialLibrary, TComponent)
public:
    static constexpr int ArchiveVersion = 2;

    explicit TGLMaterialLibrary(TComponent* owner = nullptr);
    ~TGLMaterialLibrary() override;

    TGLLibMaterials* Materials() const { return FMaterials.get(); }
    bool StoreMaterials() const { return FMaterials->Count() > 0; }
    const std::string& TexturePaths() const { return FTexturePaths; }
    // ";"-separated folders, each trimmed and ended with "/"; empty parts are skipped.
    void SetTexturePaths(const std::string& text);
    const std::vector<std::string>& TexturePathList() const { return FTexturePathList; }

    TGLLibMaterial* LibMaterialByName(const std::string& name) const;
    // A material whose texture is enabled, mipmapped, modulated and shows the graphic.
    TGLLibMaterial* AddTextureMaterial(const std::string& name, const TGraphic* graphic);

    bool Loading() const { return FLoading; }
    void Loaded();
    void DestroyHandles();

    void WriteToFiler(TVirtualWriter& writer) const;
    // Versions 0 to 2; another raises the filer error for this class. The old
    // materials are replaced only when the whole stream has been read.
    void ReadFromFiler(TVirtualReader& reader);
    void SaveToStream(TStream& stream) const;
    void LoadFromStream(TStream& stream);
    void SaveToFile(const std::string& fileName) const;
    void LoadFromFile(const std::string& fileName);

    TTextureNeededEvent OnTextureNeeded;

private:
    friend class TGLMaterial;
    // Materials that name this library, told when it is freed.
    void RegisterMaterial(TGLMaterial* material);
    void UnRegisterMaterial(TGLMaterial* material);

    std::unique_ptr<TGLLibMaterials> FMaterials;
    std::string FTexturePaths;
    std::vector<std::string> FTexturePathList;
    std::vector<TGLMaterial*> FMaterialUsers;
    bool FLoading = false;
};

// nullptr for a nil library.
TGLLibMaterial* LibMaterialByName(const TGLMaterialLibrary* library, const std::string& name);

// Registers TGLMaterialLibrary with the class registry (once).
void RegisterMaterialLibraryClass();
