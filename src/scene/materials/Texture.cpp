#include "scene/materials/Texture.h"

#include "platform/core/Assert.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/materials/Material.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/materials/PictureImages.h"
#include "scene/graph/RenderContextInfo.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/materials/TextureEx.h"
#include "scene/base/MatrixMath.h"
#include "scene/base/VectorProducts.h"

namespace {

constexpr GLenum CompressionHint = 0x84EF;
constexpr GLenum CompressedImageSize = 0x86A0;
constexpr GLenum MaxAnisotropy = 0x84FE;
constexpr GLint FloatRGBA16NV = 0x888A;
constexpr GLint FloatRGBA32NV = 0x888B;

bool IsFloatFormat(TGLTextureFormat format)
{
    return format == tfRGBAFloat16 || format == tfRGBAFloat32;
}

TGLTextureFormat EffectiveFormat(TGLTextureFormat format)
{
    return format == tfDefault ? DefaultTextureFormat : format;
}

struct TFormatEntry {
    GLint plain;
    GLint compressed;
};

TFormatEntry FormatEntry(TGLTextureFormat format)
{
    switch (format) {
    case tfRGB:
        return {GL_RGB8, GL_COMPRESSED_RGB_ARB};
    case tfRGBA:
        return {GL_RGBA8, GL_COMPRESSED_RGBA_ARB};
    case tfRGB16:
        return {GL_RGB5, GL_COMPRESSED_RGB_ARB};
    case tfRGBA16:
        return {GL_RGBA4, GL_COMPRESSED_RGBA_ARB};
    case tfAlpha:
        return {GL_ALPHA8, GL_COMPRESSED_ALPHA_ARB};
    case tfLuminance:
        return {GL_LUMINANCE8, GL_COMPRESSED_LUMINANCE_ARB};
    case tfLuminanceAlpha:
        return {GL_LUMINANCE8_ALPHA8, GL_COMPRESSED_LUMINANCE_ALPHA_ARB};
    case tfIntensity:
        return {GL_INTENSITY8, GL_COMPRESSED_INTENSITY_ARB};
    case tfNormalMap:
        return {GL_RGB8, GL_COMPRESSED_RGB_ARB};
    case tfRGBAFloat16:
        return {GL_RGBA16F_ARB, GL_RGBA16F_ARB};
    case tfRGBAFloat32:
        return {GL_RGBA32F_ARB, GL_RGBA32F_ARB};
    default:
        break;
    }
    KP_ASSERT(false);
    return {0, 0};
}

GLenum ClampMode()
{
    return GLVersion.OpenGL_1_2 || GLExt.EXT_texture_edge_clamp ? GL_CLAMP_TO_EDGE : GL_CLAMP;
}

GLenum BindingQueryOf(GLenum target)
{
    switch (target) {
    case GL_TEXTURE_CUBE_MAP_ARB:
        return GL_TEXTURE_BINDING_CUBE_MAP_ARB;
    case GL_TEXTURE_RECTANGLE_NV:
        return GL_TEXTURE_BINDING_RECTANGLE_NV;
    default:
        return GL_TEXTURE_BINDING_2D;
    }
}

const GLint MinFilterEnums[] = {GL_NEAREST,
                                GL_LINEAR,
                                GL_NEAREST_MIPMAP_NEAREST,
                                GL_LINEAR_MIPMAP_NEAREST,
                                GL_NEAREST_MIPMAP_LINEAR,
                                GL_LINEAR_MIPMAP_LINEAR};
const GLint TextureModeEnums[] = {GL_DECAL, GL_MODULATE, GL_BLEND, GL_REPLACE};

// Loads m transposed into the current matrix.
void LoadTransposed(const TMatrix& m)
{
    if (GLExt.ARB_transpose_matrix && GL.glLoadTransposeMatrixfARB) {
        GL.glLoadTransposeMatrixfARB(&m.V[0].X);
    } else {
        TMatrix t = m;
        TransposeMatrix(t);
        GL.glLoadMatrixf(&t.V[0].X);
    }
}

TMatrix NormalizedModelView(const TRenderContextInfo& rci)
{
    TMatrix m = rci.modelViewMatrix ? *rci.modelViewMatrix : IdentityMatrix;
    NormalizeMatrix(m);
    return m;
}

// Multiplies the current matrix by the transposed orthonormalised model-view.
void MultTransposedModelView(const TRenderContextInfo& rci)
{
    TMatrix m = NormalizedModelView(rci);
    TransposeMatrix(m);
    GL.glMultMatrixf(&m.V[0].X);
}

// Releases the image's bitmap however the upload ends.
struct TBitmapRelease {
    TGLTextureImage* image;
    ~TBitmapRelease() { image->ReleaseBitmap32(); }
};

} // namespace

GLint OpenGLTextureFormatFor(TGLTextureFormat format, TGLTextureCompression compression)
{
    format = EffectiveFormat(format);
    const bool isFloat = IsFloatFormat(format);
    TGLTextureCompression used = tcNone;
    if (GLExt.ARB_texture_compression && !isFloat) {
        used = compression == tcDefault ? DefaultTextureCompression : compression;
    }
    const TFormatEntry entry = FormatEntry(format);
    GLint result = entry.plain;
    switch (used) {
    case tcNone:
        break;
    case tcStandard:
        GL.glHint(CompressionHint, GL_DONT_CARE);
        result = entry.compressed;
        break;
    case tcHighQuality:
        GL.glHint(CompressionHint, GL_NICEST);
        result = entry.compressed;
        break;
    case tcHighSpeed:
        GL.glHint(CompressionHint, GL_FASTEST);
        result = entry.compressed;
        break;
    default:
        KP_ASSERT(false);
    }
    if (isFloat && !GLExt.ATI_texture_float) {
        result = format == tfRGBAFloat16 ? FloatRGBA16NV : FloatRGBA32NV;
    }
    return result;
}

TGLTexture::TGLTexture(TPersistent* owner)
    : TGLUpdateAbleObject(owner), FEnvColor(std::make_unique<TGLColor>(this, ColorTransparent))
{
    InstallImage(std::make_unique<TGLPersistentImage>(this));
}

TGLTexture::~TGLTexture() = default;

void TGLTexture::InstallImage(std::unique_ptr<TGLTextureImage> image)
{
    image->OnTextureNeeded = [this](TObject* sender, std::string& fileName) { ForwardTextureNeeded(sender, fileName); };
    FImage = std::move(image);
}

void TGLTexture::ForwardTextureNeeded(TObject* sender, std::string& fileName)
{
    if (OnTextureNeeded) {
        OnTextureNeeded(sender, fileName);
    }
}

void TGLTexture::Assign(const TPersistent* source)
{
    if (!source) {
        SetDisabled(true);
        SetImage(nullptr);
        FChanges = ImageChanged | ParamsChanged;
        return;
    }
    if (const auto* other = ObjectCast<TGLTexture>(source)) {
        if (other == this) {
            return;
        }
        FImageAlpha = other->FImageAlpha;
        FTextureMode = other->FTextureMode;
        FTextureWrap = other->FTextureWrap;
        FTextureFormat = other->FTextureFormat;
        FCompression = other->FCompression;
        FMinFilter = other->FMinFilter;
        FMagFilter = other->FMagFilter;
        FMappingMode = other->FMappingMode;
        if (other->FMapSCoordinates || FMapSCoordinates) {
            MappingSCoordinates()->SetVectorQuiet(other->FMapSCoordinates ? other->FMapSCoordinates->AsVector()
                                                                          : TVector{1, 0, 0, 0});
        }
        if (other->FMapTCoordinates || FMapTCoordinates) {
            MappingTCoordinates()->SetVectorQuiet(other->FMapTCoordinates ? other->FMapTCoordinates->AsVector()
                                                                          : TVector{1, 0, 0, 0});
        }
        SetDisabled(other->FDisabled);
        SetImage(other->FImage.get());
        FChanges = ImageChanged | ParamsChanged;
        return;
    }
    if (ObjectCast<TGraphic>(source) || ObjectCast<TPicture>(source)) {
        FImage->Assign(source);
        return;
    }
    TGLUpdateAbleObject::Assign(source);
}

void TGLTexture::SetImageClassName(const std::string& name)
{
    if (name.empty() || name == ImageClassName()) {
        return;
    }
    const TGLTextureImageClass* entry = FindGLTextureImageClass(name);
    if (!entry) {
        throw ETexture("Unknown texture image class: " + name);
    }
    InstallImage(std::unique_ptr<TGLTextureImage>(entry->create(this)));
    NotifyImageChange();
}

void TGLTexture::SetImage(const TGLTextureImage* image)
{
    const std::string className = image ? image->ClassName() : ImageClassName();
    if (!image || className != ImageClassName()) {
        const TGLTextureImageClass* entry = FindGLTextureImageClass(className);
        if (!entry) {
            throw ETexture("Unknown texture image class: " + className);
        }
        std::unique_ptr<TGLTextureImage> fresh(entry->create(this));
        if (image) {
            fresh->Assign(image);
        }
        InstallImage(std::move(fresh));
    } else if (image != FImage.get()) {
        FImage->Assign(image);
    }
    NotifyImageChange();
}

template <class T>
void TGLTexture::SetParam(T& field, T value)
{
    if (field != value) {
        field = value;
        NotifyParamsChange();
    }
}

template <class T>
void TGLTexture::SetImageParam(T& field, T value)
{
    if (field != value) {
        field = value;
        NotifyImageChange();
    }
}

void TGLTexture::SetImageAlpha(TGLTextureImageAlpha value) { SetImageParam(FImageAlpha, value); }
void TGLTexture::SetImageBrightness(float value) { SetImageParam(FImageBrightness, value); }
void TGLTexture::SetImageGamma(float value) { SetImageParam(FImageGamma, value); }
void TGLTexture::SetNormalMapScale(float value) { SetImageParam(FNormalMapScale, value); }
void TGLTexture::SetMagFilter(TGLMagFilter value) { SetParam(FMagFilter, value); }
void TGLTexture::SetMinFilter(TGLMinFilter value) { SetParam(FMinFilter, value); }
void TGLTexture::SetTextureMode(TGLTextureMode value) { SetParam(FTextureMode, value); }
void TGLTexture::SetTextureWrap(TGLTextureWrap value) { SetParam(FTextureWrap, value); }
void TGLTexture::SetTextureFormat(TGLTextureFormat value) { SetParam(FTextureFormat, value); }
void TGLTexture::SetCompression(TGLTextureCompression value) { SetParam(FCompression, value); }
void TGLTexture::SetFilteringQuality(TGLTextureFilteringQuality value) { SetParam(FFilteringQuality, value); }

TGLCoordinates4* TGLTexture::MappingSCoordinates()
{
    if (!FMapSCoordinates) {
        FMapSCoordinates = std::make_unique<TGLCoordinates4>(this, TVector{1, 0, 0, 0}, TGLCoordinatesStyle::csUnknown);
    }
    return FMapSCoordinates.get();
}

TGLCoordinates4* TGLTexture::MappingTCoordinates()
{
    if (!FMapTCoordinates) {
        FMapTCoordinates = std::make_unique<TGLCoordinates4>(this, TVector{1, 0, 0, 0}, TGLCoordinatesStyle::csUnknown);
    }
    return FMapTCoordinates.get();
}

void TGLTexture::NotifyOwnerOfTexMapChange()
{
    if (auto* material = ObjectCast<TGLMaterial>(Owner())) {
        material->NotifyTexMapChange();
    } else if (auto* item = ObjectCast<TGLTextureExItem>(Owner())) {
        if (TGLMaterial* material = item->Material()) {
            material->NotifyTexMapChange();
        }
    } else if (!Owner()) {
        NotifyChange(this);
    }
}

void TGLTexture::SetDisabled(bool value)
{
    if (value != FDisabled) {
        FDisabled = value;
        NotifyOwnerOfTexMapChange();
    }
}

void TGLTexture::SetMappingMode(TGLTextureMappingMode value)
{
    if (value == FMappingMode) {
        return;
    }
    FMappingMode = value;
    if (value == tmmUser) {
        if (auto* material = ObjectCast<TGLMaterial>(Owner())) {
            material->NotifyTexMapChange();
            return;
        }
    }
    NotifyChange(this);
}

void TGLTexture::NotifyImageChange()
{
    FChanges |= ImageChanged;
    NotifyChange(this);
}

void TGLTexture::NotifyParamsChange()
{
    FChanges |= ParamsChanged;
    NotifyChange(this);
}

void TGLTexture::NotifyChange(TObject* sender)
{
    if (auto* item = ObjectCast<TGLTextureExItem>(Owner())) {
        item->NotifyChange(this);
    }
    TGLUpdateAbleObject::NotifyChange(sender);
}

GLint TGLTexture::OpenGLTextureFormat() const
{
    return OpenGLTextureFormatFor(FTextureFormat, FCompression);
}

GLuint TGLTexture::GetHandle()
{
    if (FHandle.Handle() != 0 && FChanges == 0) {
        return FHandle.Handle();
    }
    if (FHandle.Handle() == 0) {
        FHandle.AllocateHandle();
        KP_ASSERT(FHandle.Handle() != 0);
    }
    const GLenum target = FImage->NativeTextureTarget();
    const bool isCubeMap = target == GL_TEXTURE_CUBE_MAP_ARB;
    if (isCubeMap && !GLExt.ARB_texture_cube_map) {
        FChanges = 0;
        return FHandle.Handle();
    }
    // The state cache believes in the binding it made last; put it back afterwards.
    GLint previous = 0;
    GL.glGetIntegerv(BindingQueryOf(target), &previous);
    struct TRestoreBinding {
        GLenum target;
        GLint previous;
        ~TRestoreBinding() { GL.glBindTexture(target, static_cast<GLuint>(previous)); }
    } restore{target, previous};
    GL.glBindTexture(target, FHandle.Handle());
    PrepareParams(target);
    FChanges = 0;
    if (isCubeMap) {
        auto* cubeMap = ObjectCast<TGLCubeMapImage>(FImage.get());
        bool uniform = cubeMap != nullptr;
        if (uniform) {
            const int size = cubeMap->Picture(cmtPX).Width();
            for (int face = cmtPX; face <= cmtNZ && uniform; ++face) {
                const TPicture& picture = cubeMap->Picture(static_cast<TGLCubeMapFace>(face));
                uniform = picture.Width() == size && picture.Height() == size && size > 0;
            }
        }
        if (uniform) {
            for (GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB; face <= GL_TEXTURE_CUBE_MAP_NEGATIVE_Z_ARB; ++face) {
                PrepareImage(face);
            }
        }
    } else {
        PrepareImage(target);
    }
    return FHandle.Handle();
}

void TGLTexture::DestroyHandles()
{
    FHandle.DestroyHandle();
    FChanges = ImageChanged | ParamsChanged;
    FRequiredMemory = -1;
}

void TGLTexture::PrepareImage(GLenum target)
{
    TGLBitmap32* bitmap = FImage->GetBitmap32(target);
    TBitmapRelease release{FImage.get()};
    if (!bitmap || bitmap->IsEmpty()) {
        return;
    }
    const GLint internalFormat = OpenGLTextureFormat();
    if (FTextureFormat == tfNormalMap) {
        bitmap->HeightToNormalMap(FTextureWrap == twBoth || FTextureWrap == twHorizontal,
                                  FTextureWrap == twBoth || FTextureWrap == twVertical, FNormalMapScale);
    }
    switch (FImageAlpha) {
    case tiaDefault:
        break;
    case tiaAlphaFromIntensity:
    case tiaLuminance:
        bitmap->AlphaFromIntensity();
        break;
    case tiaSuperBlackTransparent:
        bitmap->AlphaFromColorKey(0, 0, 0);
        break;
    case tiaLuminanceSqrt:
        bitmap->AlphaFromIntensity();
        bitmap->SqrtAlphaChannel();
        break;
    case tiaOpaque:
        bitmap->FillAlpha(255);
        break;
    case tiaTopLeftPointColorTransparent: {
        const std::uint8_t* first = bitmap->Data();
        bitmap->AlphaFromColorKey(first[0], first[1], first[2]);
        break;
    }
    case tiaInverseLuminance:
        bitmap->AlphaFromIntensity();
        bitmap->InvertAlphaChannel();
        break;
    case tiaInverseLuminanceSqrt:
        bitmap->AlphaFromIntensity();
        bitmap->SqrtAlphaChannel();
        bitmap->InvertAlphaChannel();
        break;
    default:
        KP_ASSERT(false);
    }
    if (FImageBrightness != 1.0f) {
        bitmap->BrightnessCorrection(FImageBrightness);
    }
    if (FImageGamma != 1.0f) {
        bitmap->GammaCorrection(FImageGamma);
    }
    CheckOpenGLError();
    bitmap->UploadAsTexture(target, FMinFilter, internalFormat, FTexWidth, FTexHeight);
    GLint size = -1;
    GL.glGetTexLevelParameteriv(target, 0, CompressedImageSize, &size);
    FRequiredMemory = GL.glGetError() == GL_NO_ERROR ? size : -1;
    ClearGLError();
}

void TGLTexture::PrepareParams(GLenum target)
{
    GL.glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    GL.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    GL.glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    GL.glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    GL.glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    const TGLTextureFormat format = EffectiveFormat(FTextureFormat);
    const auto setFilters = [&] {
        GL.glTexParameteri(target, GL_TEXTURE_MIN_FILTER, MinFilterEnums[FMinFilter]);
        GL.glTexParameteri(target, GL_TEXTURE_MAG_FILTER, FMagFilter == maNearest ? GL_NEAREST : GL_LINEAR);
    };
    if (IsFloatFormat(format)) {
        GL.glTexParameteri(target, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        GL.glTexParameteri(target, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        if (GLExt.ATI_texture_float && format == tfRGBAFloat16) {
            setFilters();
        } else {
            GL.glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            GL.glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        }
        return;
    }
    const GLint clamp = static_cast<GLint>(ClampMode());
    GLint wrapS = GL_REPEAT;
    GLint wrapT = GL_REPEAT;
    switch (FTextureWrap) {
    case twBoth:
        break;
    case twNone:
        wrapS = wrapT = clamp;
        break;
    case twVertical:
        wrapS = clamp;
        break;
    case twHorizontal:
        wrapT = clamp;
        break;
    }
    GL.glTexParameteri(target, GL_TEXTURE_WRAP_S, wrapS);
    GL.glTexParameteri(target, GL_TEXTURE_WRAP_T, wrapT);
    setFilters();
    if (GLExt.EXT_texture_filter_anisotropic) {
        GL.glTexParameteri(target, MaxAnisotropy, FFilteringQuality == tfIsotropic ? 1 : 2);
    }
}

void TGLTexture::LoadTextureMatrixFromModelView(const TRenderContextInfo& rci)
{
    GL.glMatrixMode(GL_TEXTURE);
    LoadTransposed(NormalizedModelView(rci));
    GL.glMatrixMode(GL_MODELVIEW);
}

void TGLTexture::Apply(TRenderContextInfo& rci)
{
    KP_ASSERT(rci.GLStates);
    TGLStateCache& states = *rci.GLStates;
    if (FDisabled) {
        states.Disable(stTexture2D);
        states.Disable(stTextureRect);
        MapTexCoordToUnit0();
        return;
    }
    const GLenum target = FImage->NativeTextureTarget();
    if (target == GL_TEXTURE_2D) {
        states.Enable(stTexture2D);
        states.SetTextureBinding(0, GL_TEXTURE_2D, GetHandle());
    } else if (target == GL_TEXTURE_RECTANGLE_NV) {
        states.Enable(stTextureRect);
        states.SetTextureBinding(0, GL_TEXTURE_RECTANGLE_NV, GetHandle());
    } else if (target == GL_TEXTURE_CUBE_MAP_ARB && GLExt.ARB_texture_cube_map) {
        states.Enable(stTextureCubeMap);
        states.SetTextureBinding(0, GL_TEXTURE_CUBE_MAP_ARB, GetHandle());
        switch (FMappingMode) {
        case tmmCubeMapReflection:
        case tmmCubeMapNormal:
            LoadTextureMatrixFromModelView(rci);
            break;
        case tmmCubeMapLight0:
            // Follows the first light of the scene; the render record reaches no light
            // source, so this is the scene without lights, which loads nothing.
            break;
        case tmmCubeMapCamera: {
            const TVector& up = rci.cameraUp;
            const TVector& direction = rci.cameraDirection;
            TMatrix camera;
            camera.V[0] = VectorCrossProduct(up, direction);
            camera.V[0].W = 0;
            camera.V[1] = {-direction.X, -direction.Y, -direction.Z, 0};
            camera.V[2] = {up.X, up.Y, up.Z, 0};
            camera.V[3] = {0, 0, 0, 1};
            GL.glMatrixMode(GL_TEXTURE);
            LoadTransposed(camera);
            MultTransposedModelView(rci);
            GL.glMatrixMode(GL_MODELVIEW);
            break;
        }
        default:
            break;
        }
    }
    GL.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, TextureModeEnums[FTextureMode]);
    GL.glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, FEnvColor->GetAsAddress());
    ApplyMappingMode();
    MapTexCoordToUnit0();
}

void TGLTexture::UnApply(TRenderContextInfo& rci)
{
    if (FDisabled) {
        return;
    }
    KP_ASSERT(rci.GLStates);
    TGLStateCache& states = *rci.GLStates;
    if (states.States() & StateBit(stTextureCubeMap)) {
        states.Disable(stTextureCubeMap);
        GL.glMatrixMode(GL_TEXTURE);
        GL.glLoadIdentity();
        GL.glMatrixMode(GL_MODELVIEW);
    } else if (states.States() & StateBit(stTexture2D)) {
        states.Disable(stTexture2D);
    } else {
        states.Disable(stTextureRect);
    }
    UnApplyMappingMode();
}

void TGLTexture::ApplyAsTextureN(int n, TRenderContextInfo& rci, const TGLLibMaterial* libMaterial)
{
    if (FDisabled) {
        return;
    }
    KP_ASSERT(rci.GLStates && n >= 1 && n <= TGLStateCache::TextureSlots);
    GL.glActiveTextureARB(GL_TEXTURE0_ARB + n - 1);
    const GLenum target = FImage->NativeTextureTarget();
    if (target == GL_TEXTURE_2D) {
        GL.glEnable(target);
        rci.GLStates->SetTextureBinding(n - 1, target, GetHandle());
        if (libMaterial && !libMaterial->TextureMatrixIsIdentity()) {
            GL.glMatrixMode(GL_TEXTURE);
            GL.glLoadMatrixf(&libMaterial->TextureMatrix().V[0].X);
            GL.glMatrixMode(GL_MODELVIEW);
        }
    } else if (target == GL_TEXTURE_CUBE_MAP_ARB && GLExt.ARB_texture_cube_map) {
        GL.glEnable(target);
        rci.GLStates->SetTextureBinding(n - 1, target, GetHandle());
        LoadTextureMatrixFromModelView(rci);
    }
    GL.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, TextureModeEnums[FTextureMode]);
    GL.glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, FEnvColor->GetAsAddress());
    ApplyMappingMode();
    GL.glActiveTextureARB(GL_TEXTURE0_ARB);
}

void TGLTexture::UnApplyAsTextureN(int n, TRenderContextInfo& /*rci*/, const TGLLibMaterial* libMaterial)
{
    GL.glActiveTextureARB(GL_TEXTURE0_ARB + n - 1);
    UnApplyMappingMode();
    const GLenum target = FImage->NativeTextureTarget();
    const bool identity = !libMaterial || libMaterial->TextureMatrixIsIdentity();
    if (target != GL_TEXTURE_2D || !identity) {
        GL.glMatrixMode(GL_TEXTURE);
        GL.glLoadIdentity();
        GL.glMatrixMode(GL_MODELVIEW);
    }
    GL.glDisable(target);
    GL.glActiveTextureARB(GL_TEXTURE0_ARB);
}

void TGLTexture::ApplyMappingMode()
{
    const auto planes = [this](GLint mode, GLenum plane) {
        GL.glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, mode);
        GL.glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, mode);
        GL.glTexGenfv(GL_S, plane, MappingSCoordinates()->AsAddress());
        GL.glTexGenfv(GL_T, plane, MappingTCoordinates()->AsAddress());
        GL.glEnable(GL_TEXTURE_GEN_S);
        GL.glEnable(GL_TEXTURE_GEN_T);
    };
    const auto cubeMap = [](GLint mode) {
        if (!GLExt.ARB_texture_cube_map) {
            return;
        }
        GL.glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, mode);
        GL.glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, mode);
        GL.glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, mode);
        GL.glEnable(GL_TEXTURE_GEN_S);
        GL.glEnable(GL_TEXTURE_GEN_T);
        GL.glEnable(GL_TEXTURE_GEN_R);
    };
    switch (FMappingMode) {
    case tmmUser:
        break;
    case tmmObjectLinear:
        planes(GL_OBJECT_LINEAR, GL_OBJECT_PLANE);
        break;
    case tmmEyeLinear:
        planes(GL_EYE_LINEAR, GL_EYE_PLANE);
        break;
    case tmmSphere:
        GL.glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        GL.glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        GL.glEnable(GL_TEXTURE_GEN_S);
        GL.glEnable(GL_TEXTURE_GEN_T);
        break;
    case tmmCubeMapReflection:
    case tmmCubeMapCamera:
        cubeMap(GL_REFLECTION_MAP_ARB);
        break;
    case tmmCubeMapNormal:
    case tmmCubeMapLight0:
        cubeMap(GL_NORMAL_MAP_ARB);
        break;
    default:
        KP_ASSERT(false);
    }
}

void TGLTexture::UnApplyMappingMode()
{
    if (FMappingMode != tmmUser) {
        GL.glDisable(GL_TEXTURE_GEN_S);
        GL.glDisable(GL_TEXTURE_GEN_T);
        GL.glDisable(GL_TEXTURE_GEN_R);
    }
}
