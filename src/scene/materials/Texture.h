#pragma once
// The texture of a material: a texture image (where the pixels come from), the
// settings that turn those pixels into an OpenGL texture object, how texture
// coordinates are produced, and the texture object itself, made and uploaded lazily
// at the first use after a change.

#include "scene/materials/Color.h"
#include "scene/graph/Coordinates.h"
#include "scene/rendering/GLContext.h"
#include "scene/materials/TextureFilters.h"
#include "scene/materials/TextureImage.h"

#include <cstdint>
#include <memory>
#include <string>

struct TRenderContextInfo;
class TGLLibMaterial;

enum TGLTextureMode { tmDecal, tmModulate, tmBlend, tmReplace };
enum TGLTextureWrap { twBoth, twNone, twVertical, twHorizontal };
enum TGLTextureFormat {
    tfDefault,
    tfRGB,
    tfRGBA,
    tfRGB16,
    tfRGBA16,
    tfAlpha,
    tfLuminance,
    tfLuminanceAlpha,
    tfIntensity,
    tfNormalMap,
    tfRGBAFloat16,
    tfRGBAFloat32,
};
enum TGLTextureCompression { tcDefault, tcNone, tcStandard, tcHighQuality, tcHighSpeed };
enum TGLTextureFilteringQuality { tfIsotropic, tfAnisotropic };
enum TGLTextureMappingMode {
    tmmUser,
    tmmObjectLinear,
    tmmEyeLinear,
    tmmSphere,
    tmmCubeMapReflection,
    tmmCubeMapNormal,
    tmmCubeMapLight0,
    tmmCubeMapCamera,
};
enum TGLTextureImageAlpha {
    tiaDefault,
    tiaAlphaFromIntensity,
    tiaSuperBlackTransparent,
    tiaLuminance,
    tiaLuminanceSqrt,
    tiaOpaque,
    tiaTopLeftPointColorTransparent,
    tiaInverseLuminance,
    tiaInverseLuminanceSqrt,
};

// What tfDefault and tcDefault stand for.
inline constexpr TGLTextureFormat DefaultTextureFormat = tfRGBA;
inline constexpr TGLTextureCompression DefaultTextureCompression = tcNone;

// The OpenGL internal format for a format and compression, given the extensions.
// May set the compression hint.
GLint OpenGLTextureFormatFor(TGLTextureFormat format, TGLTextureCompression compression);

class TGLTexture : public TGLUpdateAbleObject {
    KP_CLASS(TGLTexture, TGLUpdateAbleObject)
public:
    static constexpr std::uint32_t ImageChanged = 1;
    static constexpr std::uint32_t ParamsChanged = 2;

    explicit TGLTexture(TPersistent* owner = nullptr);
    ~TGLTexture() override;

    // From a texture: the image and the settings that decide its appearance (not the
    // brightness, gamma, environment colour, filtering quality or normal-map scale).
    // From a graphic or picture: into the image. From nil: disabled and cleared.
    void Assign(const TPersistent* source) override;

    std::string ImageClassName() const { return FImage->ClassName(); }
    // Replaces the image by a new one of the registered class of that name. An empty
    // name changes nothing; an unknown one raises ETexture and keeps the image.
    void SetImageClassName(const std::string& name);
    bool StoreImageClassName() const { return ImageClassName() != "TGLPersistentImage"; }

    TGLTextureImage* Image() const { return FImage.get(); }
    // Takes a copy of the image (of its class); nil clears the current image.
    void SetImage(const TGLTextureImage* image);

    TGLTextureImageAlpha ImageAlpha() const { return FImageAlpha; }
    void SetImageAlpha(TGLTextureImageAlpha value);
    float ImageBrightness() const { return FImageBrightness; }
    void SetImageBrightness(float value);
    bool StoreBrightness() const { return FImageBrightness != 1.0f; }
    float ImageGamma() const { return FImageGamma; }
    void SetImageGamma(float value);
    bool StoreGamma() const { return FImageGamma != 1.0f; }
    TGLMagFilter MagFilter() const { return FMagFilter; }
    void SetMagFilter(TGLMagFilter value);
    TGLMinFilter MinFilter() const { return FMinFilter; }
    void SetMinFilter(TGLMinFilter value);
    TGLTextureMode TextureMode() const { return FTextureMode; }
    void SetTextureMode(TGLTextureMode value);
    TGLTextureWrap TextureWrap() const { return FTextureWrap; }
    void SetTextureWrap(TGLTextureWrap value);
    TGLTextureFormat TextureFormat() const { return FTextureFormat; }
    void SetTextureFormat(TGLTextureFormat value);
    TGLTextureCompression Compression() const { return FCompression; }
    void SetCompression(TGLTextureCompression value);
    TGLTextureFilteringQuality FilteringQuality() const { return FFilteringQuality; }
    void SetFilteringQuality(TGLTextureFilteringQuality value);
    TGLTextureMappingMode MappingMode() const { return FMappingMode; }
    void SetMappingMode(TGLTextureMappingMode value);
    // Made on first read.
    TGLCoordinates4* MappingSCoordinates();
    TGLCoordinates4* MappingTCoordinates();
    void SetMappingSCoordinates(const TGLCoordinates* value) { MappingSCoordinates()->Assign(value); }
    void SetMappingTCoordinates(const TGLCoordinates* value) { MappingTCoordinates()->Assign(value); }
    TGLColor* EnvColor() const { return FEnvColor.get(); }
    void SetEnvColor(const TGLColor* value) { FEnvColor->Assign(value); }
    bool Disabled() const { return FDisabled; }
    void SetDisabled(bool value);
    bool Enabled() const { return !FDisabled; }
    void SetEnabled(bool value) { SetDisabled(!value); }
    float NormalMapScale() const { return FNormalMapScale; }
    void SetNormalMapScale(float value);
    bool StoreNormalMapScale() const { return FNormalMapScale != 0.125f; }

    // The texture object, made and uploaded when missing or after a change. Leaves the
    // texture binding of the active unit as it found it.
    GLuint GetHandle();
    GLuint Handle() const { return FHandle.Handle(); }
    void DestroyHandles();
    // Makes the texture object before display lists that use it are compiled.
    void PrepareBuildList() { GetHandle(); }

    std::uint32_t Changes() const { return FChanges; }
    int TexWidth() const { return FTexWidth; }
    int TexHeight() const { return FTexHeight; }
    // Bytes of a compressed upload as OpenGL reports them; -1 when unknown.
    int RequiredMemory() const { return FRequiredMemory; }
    // The internal format an upload uses now.
    GLint OpenGLTextureFormat() const;

    void Apply(TRenderContextInfo& rci);
    void UnApply(TRenderContextInfo& rci);
    // On unit n (1-based); libMaterial (may be nil) supplies the texture matrix.
    void ApplyAsTextureN(int n, TRenderContextInfo& rci, const TGLLibMaterial* libMaterial);
    void UnApplyAsTextureN(int n, TRenderContextInfo& rci, const TGLLibMaterial* libMaterial);
    void ApplyAsTexture2(TRenderContextInfo& rci, const TGLLibMaterial* libMaterial)
    {
        ApplyAsTextureN(2, rci, libMaterial);
    }
    void UnApplyAsTexture2(TRenderContextInfo& rci, const TGLLibMaterial* libMaterial)
    {
        UnApplyAsTextureN(2, rci, libMaterial);
    }
    void ApplyMappingMode();
    void UnApplyMappingMode();

    void NotifyImageChange();
    void NotifyParamsChange();
    // An owning multi-texture item hears first, then the usual owner chain.
    void NotifyChange(TObject* sender) override;

    TTextureNeededEvent OnTextureNeeded;

private:
    void InstallImage(std::unique_ptr<TGLTextureImage> image);
    void ForwardTextureNeeded(TObject* sender, std::string& fileName);
    void NotifyOwnerOfTexMapChange();
    void PrepareParams(GLenum target);
    void PrepareImage(GLenum target);
    void LoadTextureMatrixFromModelView(const TRenderContextInfo& rci);
    template <class T>
    void SetParam(T& field, T value);
    template <class T>
    void SetImageParam(T& field, T value);

    std::unique_ptr<TGLTextureImage> FImage;
    std::unique_ptr<TGLColor> FEnvColor;
    std::unique_ptr<TGLCoordinates4> FMapSCoordinates;
    std::unique_ptr<TGLCoordinates4> FMapTCoordinates;
    TGLTextureHandle FHandle;
    TGLTextureImageAlpha FImageAlpha = tiaDefault;
    float FImageBrightness = 1.0f;
    float FImageGamma = 1.0f;
    TGLMagFilter FMagFilter = maLinear;
    TGLMinFilter FMinFilter = miLinearMipmapLinear;
    TGLTextureMode FTextureMode = tmDecal;
    TGLTextureWrap FTextureWrap = twBoth;
    TGLTextureFormat FTextureFormat = tfDefault;
    TGLTextureCompression FCompression = tcDefault;
    TGLTextureFilteringQuality FFilteringQuality = tfIsotropic;
    TGLTextureMappingMode FMappingMode = tmmUser;
    float FNormalMapScale = 0.125f;
    bool FDisabled = true;
    std::uint32_t FChanges = ImageChanged | ParamsChanged;
    int FTexWidth = 0;
    int FTexHeight = 0;
    int FRequiredMemory = -1;
};
