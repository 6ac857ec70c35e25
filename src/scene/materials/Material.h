#pragma once
// What a scene object looks like: the colours of its front and back faces, how it
// blends, whether it is culled, lit and fogged, and its textures; or, instead, a link
// to a named material of a material library. The scene calls Apply before drawing an
// object and UnApply after it, drawing again while UnApply asks for another pass.

#include "scene/materials/Color.h"
#include "scene/materials/Texture.h"

#include <cstdint>
#include <memory>
#include <string>

struct TRenderContextInfo;
class TGLLibMaterial;
class TGLMaterialLibrary;
class TGLTextureEx;

enum TPolygonMode { pmFill, pmLines, pmPoints };
// 0..128.
using TShininess = int;
inline constexpr TShininess MaxShininess = 128;
enum TBlendingMode { bmOpaque, bmTransparency, bmAdditive, bmAlphaTest50, bmAlphaTest100, bmModulate };
enum TFaceCulling { fcBufferDefault, fcCull, fcNoCull };
enum TMaterialOption { moIgnoreFog, moNoLighting };
// Bit n for option n.
using TMaterialOptions = std::uint8_t;
constexpr TMaterialOptions MaterialOption(TMaterialOption option)
{
    return static_cast<TMaterialOptions>(1u << option);
}

// GL_FILL, GL_LINE or GL_POINT.
GLenum PolygonModeToGL(TPolygonMode mode);

class TGLFaceProperties : public TGLUpdateAbleObject {
    KP_CLASS(TGLFaceProperties, TGLUpdateAbleObject)
public:
    explicit TGLFaceProperties(TPersistent* owner);
    ~TGLFaceProperties() override;

    TGLColor* Ambient() const { return FAmbient.get(); }
    TGLColor* Diffuse() const { return FDiffuse.get(); }
    TGLColor* Specular() const { return FSpecular.get(); }
    TGLColor* Emission() const { return FEmission.get(); }
    void SetAmbient(const TGLColor* value) { FAmbient->Assign(value); }
    void SetDiffuse(const TGLColor* value) { FDiffuse->Assign(value); }
    void SetSpecular(const TGLColor* value) { FSpecular->Assign(value); }
    void SetEmission(const TGLColor* value) { FEmission->Assign(value); }
    TShininess Shininess() const { return FShininess; }
    // Held to 0..128.
    void SetShininess(TShininess value);
    TPolygonMode PolygonMode() const { return FPolygonMode; }
    void SetPolygonMode(TPolygonMode value);

    // Lit: the material colours and the polygon mode of the face.
    void Apply(TRenderContextInfo& rci, GLenum face);
    // Unlit: the diffuse colour as the current colour, and the polygon mode.
    void ApplyNoLighting(TRenderContextInfo& rci, GLenum face);

    // From face properties: the four colours, shininess and polygon mode; one notification.
    void Assign(const TPersistent* source) override;

private:
    std::unique_ptr<TGLColor> FAmbient;
    std::unique_ptr<TGLColor> FDiffuse;
    std::unique_ptr<TGLColor> FSpecular;
    std::unique_ptr<TGLColor> FEmission;
    TShininess FShininess = 0;
    TPolygonMode FPolygonMode = pmFill;
};

class TGLMaterial : public TGLUpdateAbleObject {
    KP_CLASS(TGLMaterial, TGLUpdateAbleObject)
public:
    // The owner is a scene object (an update-able component) or a library material.
    explicit TGLMaterial(TPersistent* owner);
    ~TGLMaterial() override;

    TGLFaceProperties* FrontProperties() const { return FFrontProperties.get(); }
    void SetFrontProperties(const TGLFaceProperties* value);
    // Made on first read.
    TGLFaceProperties* BackProperties();
    bool HasBackProperties() const { return FBackProperties != nullptr; }
    void SetBackProperties(const TGLFaceProperties* value);

    TBlendingMode BlendingMode() const { return FBlendingMode; }
    void SetBlendingMode(TBlendingMode value);
    TMaterialOptions MaterialOptions() const { return FMaterialOptions; }
    void SetMaterialOptions(TMaterialOptions value);
    TFaceCulling FaceCulling() const { return FFaceCulling; }
    void SetFaceCulling(TFaceCulling value);

    // Made on first read.
    TGLTexture* Texture();
    bool HasTexture() const { return FTexture != nullptr; }
    // nil frees the texture; anything else is assigned to it.
    void SetTexture(const TGLTexture* value);
    // Made on first read; stored only when it has items.
    TGLTextureEx* TextureEx();
    bool HasTextureEx() const { return FTextureEx != nullptr; }
    bool StoreTextureEx() const;
    void SetTextureEx(const TGLTextureEx* value);

    TGLMaterialLibrary* MaterialLibrary() const { return FMaterialLibrary; }
    // Stores the library and looks the current name up in it again.
    void SetMaterialLibrary(TGLMaterialLibrary* library);
    const std::string& LibMaterialName() const { return FLibMaterialName; }
    // Links to the named library material. A link that leads back into a chain of 16
    // or more links fails with "Error: Cyclic material reference detected!" before
    // anything changes; an unknown name leaves the material unlinked.
    void SetLibMaterialName(const std::string& name);
    TGLLibMaterial* LibMaterial() const { return FCurrentLibMaterial; }

    // Tells the owning scene object or library material.
    void NotifyChange(TObject* sender) override;
    // Texture coordinates change: the owning object rebuilds its structure.
    void NotifyTexMapChange();
    bool Blended() const;

    void Apply(TRenderContextInfo& rci);
    // True when the object must be drawn again for another pass.
    bool UnApply(TRenderContextInfo& rci);

    void DestroyHandles();
    void PrepareBuildList();

    // From a material: every property, then one notification.
    void Assign(const TPersistent* source) override;

private:
    friend class TGLLibMaterial;
    friend class TGLMaterialLibrary;
    // Called by a library material being destroyed, and by a library being destroyed.
    void DropLibMaterial();
    void DropLibrary();
    bool IsCyclicReference(const TGLLibMaterial* start) const;
    bool TextureExOnUnit0Enabled() const;

    std::unique_ptr<TGLFaceProperties> FFrontProperties;
    std::unique_ptr<TGLFaceProperties> FBackProperties;
    std::unique_ptr<TGLTexture> FTexture;
    std::unique_ptr<TGLTextureEx> FTextureEx;
    TGLMaterialLibrary* FMaterialLibrary = nullptr;
    TGLLibMaterial* FCurrentLibMaterial = nullptr;
    std::string FLibMaterialName;
    TBlendingMode FBlendingMode = bmOpaque;
    TMaterialOptions FMaterialOptions = 0;
    TFaceCulling FFaceCulling = fcBufferDefault;
};
