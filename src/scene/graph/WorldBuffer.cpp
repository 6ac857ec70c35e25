#include "scene/graph/WorldBuffer.h"

#include "platform/core/Assert.h"
#include "platform/core/services/Clock.h"
#include "platform/core/services/DebugLog.h"
#include "platform/core/ScopeGuard.h"
#include "scene/materials/GLBitmap32.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/materials/Texture.h"
#include "scene/graph/World.h"
#include "scene/base/VectorGeometry.h"

#include <GL/glext.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Read once: the counter's frequency does not change while the process runs.
const double gCounterFrequency = [] {
    std::int64_t frequency = 0;
    return QueryPerformanceFrequencyValue(frequency) ? double(frequency) : 0.0;
}();

std::int64_t Counter()
{
    std::int64_t value = 0;
    QueryPerformanceCounterValue(value);
    return value;
}

// One activation level of a context for the scope, undone on every way out.
class TActivation {
public:
    explicit TActivation(TGLContext* context) : FContext(context) { FContext->Activate(); }
    // A destructor may not raise: a deactivation that fails here (another toolkit's
    // context that cannot be made current again, say) is logged instead.
    ~TActivation()
    {
        if (FContext) {
            try {
                Release();
            } catch (const std::exception& error) {
                DebugLog(error.what());
            }
        }
    }
    TActivation(const TActivation&) = delete;
    TActivation& operator=(const TActivation&) = delete;
    // Deactivates now.
    void Release()
    {
        TGLContext* context = FContext;
        FContext = nullptr;
        if (context->Active()) {
            context->Deactivate();
        }
    }

private:
    TGLContext* FContext;
};

TMatrix ReadMatrix(GLenum which)
{
    TMatrix m = IdentityMatrix;
    GL.glGetFloatv(which, &m[0].X);
    return m;
}

} // namespace

// Clears the buffer's camera when the camera component is freed.
class TGLWorldBuffer::TCameraWatch : public TComponent {
public:
    explicit TCameraWatch(TGLWorldBuffer& buffer) : FBuffer(buffer) {}
    void Watch(TGLCamera* oldCamera, TGLCamera* newCamera)
    {
        if (oldCamera) {
            oldCamera->RemoveFreeNotification(this);
        }
        if (newCamera) {
            newCamera->FreeNotification(this);
        }
    }

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        if (operation == TOperation::opRemove && component == FBuffer.camera_) {
            FBuffer.CameraFreed();
        }
        TComponent::Notification(component, operation);
    }

private:
    TGLWorldBuffer& FBuffer;
};

// ---- Construction ----

TGLWorldBuffer::TGLWorldBuffer(TPersistent* owner)
    : TGLAbstractWorldBuffer(owner),
      glStates_(std::make_unique<TGLStateCache>()),
      ambientColor_(std::make_unique<TGLColor>(this, ColorGray20)),
      fogEnvironment_(std::make_unique<TGLFogEnvironment>(this)),
      cameraWatch_(std::make_unique<TCameraWatch>(*this))
{
    ResetPerformanceMonitor();
}

TGLWorldBuffer::~TGLWorldBuffer()
{
    // The frame's OnChange must not reach a half-destroyed viewer.
    OnChange = nullptr;
    OnStructuralChange = nullptr;
    if (camera_) {
        cameraWatch_->Watch(camera_, nullptr);
        camera_ = nullptr;
    }
    try {
        DestroyRC();
    } catch (const std::exception& e) {
        DebugLog(std::string("TGLWorldBuffer: context teardown failed: ") + e.what());
    }
    LeaveScene();
}

void TGLWorldBuffer::ResetPerformanceMonitor()
{
    frameCount_ = 0;
    framesPerSecond_ = 0;
    firstFrameTime_ = 0;
    lastFrameTime_ = 0;
}

// ---- Context ----

void TGLWorldBuffer::SetupRCOptions(TGLContext& context)
{
    TGLRCOptions options = 0;
    if (HasOption(roDoubleBuffer)) {
        options |= RCOption(rcoDoubleBuffered);
    }
    if (HasOption(roStereo)) {
        options |= RCOption(rcoStereo);
    }
    context.SetOptions(options);
    static constexpr int ColorBitsOf[] = {24, 8, 16, 24, 64, 128};
    context.SetColorBits(HasOption(roNoColorBuffer) ? 0 : ColorBitsOf[colorDepth_]);
    static constexpr int DepthBitsOf[] = {24, 16, 24, 32};
    context.SetDepthBits(DepthBitsOf[depthPrecision_]);
    context.SetStencilBits(HasOption(roStencilBuffer) ? 8 : 0);
    context.SetAlphaBits(HasOption(roDestinationAlpha) ? 8 : 0);
    context.SetAccumBits(accumBufferBits_);
    context.SetAuxBuffers(0);
    context.SetAntiAliasing(antiAliasing_);
    if (OnPrepareGLContext) {
        OnPrepareGLContext(&context);
    }
}

void TGLWorldBuffer::CreateRC(TGLOutputDevice outputDevice, bool memoryContext)
{
    DestroyRC();
    // Cleared on every way out, so a context that failed does not block the next frame.
    rendering_ = true;
    const TScopeGuard renderingEnds([this] { rendering_ = false; });
    std::unique_ptr<TGLContext> context(GLContextManager() ? GLContextManager()->CreateContext() : nullptr);
    if (!context) {
        throw EGLContext("Failed to create RenderingContext.");
    }
    SetupRCOptions(*context);
    if (memoryContext) {
        context->CreateMemoryContext(outputDevice, viewport_.Width, viewport_.Height);
    } else {
        context->CreateContext(outputDevice);
    }
    {
        TActivation activation(context.get());
        if (!GLVersion.OpenGL_1_1) {
            throw EOpenGLError("Need at least OpenGL version 1.1");
        }
        GL.glViewport(0, 0, viewport_.Width, viewport_.Height);
        SetupRenderingContext();
        const TVector background = ColorToVector(backgroundColor_, 1);
        GL.glClearColor(background.X, background.Y, background.Z, background.W);
    }
    // Kept only once it works: a half-made context would be activated by every frame.
    renderingContext_ = std::move(context);
    contextCopiesFrames_ = -1;
    staticCopyReuses_ = 0;
    DropStaticCopy();
}

void TGLWorldBuffer::DestroyRC()
{
    if (!renderingContext_) {
        return;
    }
    if (registeredScene_) {
        registeredScene_->BufferContextDestroyed(this);
    }
    std::unique_ptr<TGLContext> context = std::move(renderingContext_);
    if (context->Active()) {
        context->SetActive(false);
    }
    if (context->IsValid()) {
        context->DestroyContext();
    }
    context.reset();
    DropStaticCopy();
    LeaveScene();
}

// ---- Viewport ----

void TGLWorldBuffer::Resize(int width, int height)
{
    viewport_.Width = width < 1 ? 1 : width;
    viewport_.Height = height < 1 ? 1 : height;
    if (renderingContext_) {
        TActivation activation(renderingContext_.get());
        GL.glViewport(0, 0, viewport_.Width, viewport_.Height);
    }
}

void TGLWorldBuffer::SetViewPort(int x, int y, int width, int height)
{
    viewport_ = {x, y, width < 1 ? 1 : width, height < 1 ? 1 : height};
    NotifyChange(this);
}

// ---- Options ----

void TGLWorldBuffer::SetFaceCulling(bool value)
{
    if (faceCulling_ != value) {
        faceCulling_ = value;
        NotifyChange(this);
    }
}

void TGLWorldBuffer::SetFogEnable(bool value)
{
    if (fogEnable_ != value) {
        fogEnable_ = value;
        NotifyChange(this);
    }
}

void TGLWorldBuffer::SetLighting(bool value)
{
    if (lighting_ != value) {
        lighting_ = value;
        NotifyChange(this);
    }
}

void TGLWorldBuffer::SetDepthTest(bool value)
{
    if (depthTest_ != value) {
        depthTest_ = value;
        NotifyChange(this);
    }
}

void TGLWorldBuffer::SetBackgroundColor(TColor value)
{
    if (backgroundColor_ != value) {
        backgroundColor_ = value;
        NotifyChange(this);
    }
}

void TGLWorldBuffer::SetBackgroundAlpha(float value)
{
    if (backgroundAlpha_ != value) {
        backgroundAlpha_ = value;
        NotifyChange(this);
    }
}

void TGLWorldBuffer::SetShadeModel(TGLShadeModel value)
{
    if (shadeModel_ != value) {
        shadeModel_ = value;
        NotifyChange(this);
    }
}

void TGLWorldBuffer::SetFogEnvironment(const TGLFogEnvironment& value)
{
    fogEnvironment_->Assign(&value);
    NotifyChange(this);
}

void TGLWorldBuffer::SetAntiAliasing(TGLAntiAliasing value)
{
    if (antiAliasing_ != value) {
        antiAliasing_ = value;
        DoStructuralChange();
    }
}

void TGLWorldBuffer::SetDepthPrecision(TGLDepthPrecision value)
{
    if (depthPrecision_ != value) {
        depthPrecision_ = value;
        DoStructuralChange();
    }
}

void TGLWorldBuffer::SetColorDepth(TGLColorDepth value)
{
    if (colorDepth_ != value) {
        colorDepth_ = value;
        DoStructuralChange();
    }
}

void TGLWorldBuffer::SetContextOptions(TContextOptions value)
{
    if (contextOptions_ != value) {
        contextOptions_ = value;
        DoStructuralChange();
    }
}

void TGLWorldBuffer::SetAccumBufferBits(int value)
{
    if (accumBufferBits_ != value) {
        accumBufferBits_ = value;
        DoStructuralChange();
    }
}

// ---- Change notification ----

void TGLWorldBuffer::NotifyChange(TObject* sender)
{
    // The scene counts its own changes; anything else is one of the buffer's.
    if (!sender || !sender->Is<TGLWorld>()) {
        ++bufferRevision_;
    }
    if (!rendering_ && OnChange) {
        OnChange(this);
    }
}

void TGLWorldBuffer::DoStructuralChange()
{
    if (OnStructuralChange) {
        OnStructuralChange(this);
    }
}

// ---- Camera and scene ----

TGLWorld* TGLWorldBuffer::CameraScene() const
{
    return camera_ ? ObjectCast<TGLWorld>(camera_->Scene()) : nullptr;
}

void TGLWorldBuffer::LeaveScene()
{
    DropStaticCopy();
    if (registeredScene_) {
        TGLWorld* scene = registeredScene_;
        registeredScene_ = nullptr;
        scene->RemoveBuffer(this);
    }
}

void TGLWorldBuffer::SetCamera(TGLCamera* camera)
{
    if (camera_ == camera) {
        return;
    }
    cameraWatch_->Watch(camera_, nullptr);
    LeaveScene();
    camera_ = nullptr;
    if (camera && ObjectCast<TGLWorld>(camera->Scene())) {
        camera_ = camera;
        cameraWatch_->Watch(nullptr, camera_);
        camera_->TransformationChanged();
    }
    NotifyChange(this);
}

void TGLWorldBuffer::CameraFreed()
{
    camera_ = nullptr;
    LeaveScene();
    NotifyChange(this);
}

void TGLWorldBuffer::SceneDestroyed(TGLWorld* scene)
{
    if (registeredScene_ == scene) {
        registeredScene_ = nullptr;
    }
    // Another scene may come to the same address.
    DropStaticCopy();
}

// ---- Frame state ----

void TGLWorldBuffer::PushModelViewMatrix(const TMatrix& matrix)
{
    modelViewStack_.push_back(modelViewMatrix_);
    modelViewMatrix_ = matrix;
}

void TGLWorldBuffer::PopModelViewMatrix()
{
    KP_ASSERT_MSG(!modelViewStack_.empty(), "Unbalanced PopModelViewMatrix");
    modelViewMatrix_ = modelViewStack_.back();
    modelViewStack_.pop_back();
}

void TGLWorldBuffer::QueueAfterEffect(TGLObjectEffect* effect)
{
    afterEffects_.push_back(effect);
}

// ---- Frames ----

void TGLWorldBuffer::SetupRenderingContext()
{
    GL.glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambientColor_->GetAsAddress());
    GL.glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, HasOption(roTwoSideLighting) ? 1 : 0);
    glStates_->Enable(stNormalize);
    const auto apply = [this](TGLState state, bool on) {
        // The cache and OpenGL both: OpenGL's state is unknown at the start of a frame.
        if (on) {
            glStates_->Enable(state);
            GL.glEnable(GLStateToGLEnum(state));
        } else {
            glStates_->Disable(state);
            GL.glDisable(GLStateToGLEnum(state));
        }
    };
    apply(stDepthTest, depthTest_);
    apply(stCullFace, faceCulling_);
    apply(stLighting, lighting_);
    apply(stFog, fogEnable_);
    GLint redBits = 0;
    GL.glGetIntegerv(GL_RED_BITS, &redBits);
    apply(stDither, redBits < 8);
    GL.glDepthFunc(GL_LEQUAL);
    GL.glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    switch (shadeModel_) {
    case smDefault:
    case smSmooth:
        GL.glShadeModel(GL_SMOOTH);
        break;
    case smFlat:
        GL.glShadeModel(GL_FLAT);
        break;
    default:
        KP_ASSERT(false);
    }
}

void TGLWorldBuffer::ClearBuffers()
{
    GLbitfield bits = GL_DEPTH_BUFFER_BIT;
    if (!HasOption(roNoColorBuffer) && !HasOption(roNoColorBufferClear)) {
        bits |= GL_COLOR_BUFFER_BIT;
    }
    if (HasOption(roStencilBuffer)) {
        bits |= GL_STENCIL_BUFFER_BIT;
    }
    GL.glClear(bits);
}

void TGLWorldBuffer::Render(TGLBaseSceneObject* baseObject)
{
    if (rendering_ || !renderingContext_) {
        return;
    }
    const TVector background = ColorToVector(backgroundColor_, backgroundAlpha_);
    const std::int64_t t0 = Counter();
    if (TGLWorld* scene = CameraScene()) {
        camera_->AbsoluteMatrixRef();
        if (registeredScene_ != scene) {
            LeaveScene();
            registeredScene_ = scene;
            scene->AddBuffer(this);
        }
    }
    {
        // Cleared on every way out, so a frame that raised does not block the next one.
        rendering_ = true;
        const TScopeGuard renderingEnds([this] { rendering_ = false; });
        {
            TActivation activation(renderingContext_.get());
            if (frameCount_ == 0) {
                firstFrameTime_ = t0;
            }
            renderDPI_ = 96;
            ClearGLError();
            SetupRenderingContext();
            GL.glClearColor(background.X, background.Y, background.Z, background.W);
            ClearBuffers();
            CheckOpenGLError();
            DoBaseRender(viewport_, renderDPI_, dsRendering, baseObject);
            CheckOpenGLError();
            if (!HasOption(roNoSwapBuffers)) {
                renderingContext_->SwapBuffers();
            }
            ++frameCount_;
            const std::int64_t t1 = Counter();
            if (gCounterFrequency > 0) {
                lastFrameTime_ = double(t1 - t0) / gCounterFrequency;
                if (t1 - firstFrameTime_ > 0) {
                    framesPerSecond_ = static_cast<float>(frameCount_ * gCounterFrequency / double(t1 - firstFrameTime_));
                }
            }
            CheckOpenGLError();
        }
        // Still flagged as rendering: a Render from inside AfterRender does nothing.
        if (AfterRender) {
            AfterRender(this);
        }
    }
}

void TGLWorldBuffer::DoBaseRender(const TRectangle& viewport, int dpi, TDrawState drawState,
                                  TGLBaseSceneObject* baseObject)
{
    PrepareRenderingMatrices(viewport, dpi);
    MapTexCoordNowhere();
    MapTexCoordToUnit0();
    if (ViewerBeforeRender) {
        ViewerBeforeRender(this);
    }
    if (BeforeRender) {
        BeforeRender(this);
    }
    if (TGLWorld* scene = CameraScene()) {
        if (!baseObject && drawState == dsRendering && scene->HasDynamicLayer()) {
            RenderLayers(*scene, viewport);
        } else {
            lastFrameFromStaticCopy_ = false;
            SetupScenePass(*scene, lpAll);
            scene->RenderScene(this, viewport.Width, viewport.Height, drawState, baseObject);
        }
    }
    if (PostRender) {
        PostRender(this);
    }
    if (!modelViewStack_.empty()) {
        // Emptied first, so that the next frame starts balanced.
        modelViewStack_.clear();
        KP_ASSERT_MSG(false, "Unbalance Push/PopModelViewMatrix.");
    }
}

void TGLWorldBuffer::SetupScenePass(TGLWorld& scene, TGLLayerPass pass)
{
    GLint maxLights = 0;
    GL.glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
    scene.SetupLights(maxLights, pass);
    if (fogEnable_) {
        GL.glEnable(GL_FOG);
        fogEnvironment_->ApplyFog();
    } else {
        GL.glDisable(GL_FOG);
    }
}

// ---- The copy of the scene without its dynamic layer ----

bool TGLWorldBuffer::TStaticCopyKey::operator==(const TStaticCopyKey& other) const
{
    return sceneRevision == other.sceneRevision && SameView(other);
}

bool TGLWorldBuffer::TStaticCopyKey::SameView(const TStaticCopyKey& other) const
{
    // Bitwise: a view that moved by the last bit draws other pixels.
    return scene == other.scene && bufferRevision == other.bufferRevision && width == other.width &&
           height == other.height && std::memcmp(&projection, &other.projection, sizeof(TMatrix)) == 0 &&
           std::memcmp(&modelView, &other.modelView, sizeof(TMatrix)) == 0;
}

bool TGLWorldBuffer::MayKeepStaticCopy()
{
    if (HasOption(roNoColorBuffer) || HasOption(roStencilBuffer) || HasOption(roStereo) ||
        colorDepth_ == cdFloat64bits || colorDepth_ == cdFloat128bits || BeforeRender || InitiateRendering) {
        return false;
    }
    if (contextCopiesFrames_ < 0) {
        contextCopiesFrames_ = TGLFrameCopy::CanCopyFrames() ? 1 : 0;
    }
    return contextCopiesFrames_ == 1;
}

void TGLWorldBuffer::DropStaticCopy()
{
    staticCopy_.Clear();
    staticCopyKey_ = {};
    passPicture_.Clear();
    passPictureOwner_ = nullptr;
    ++bufferRevision_;
}

void TGLWorldBuffer::RenderLayers(TGLWorld& scene, const TRectangle& viewport)
{
    // Taken before anything is drawn: a change made while drawing makes the next frame whole.
    const TStaticCopyKey key{&scene,          scene.StaticRevision(), bufferRevision_,   viewport.Width,
                             viewport.Height, projectionMatrix_,      modelViewMatrix_};
    const bool keep = MayKeepStaticCopy() && TGLFrameCopy::CanCopySize(viewport.Width, viewport.Height);
    lastFrameFromStaticCopy_ = keep && !staticCopy_.Empty() && staticCopyKey_ == key;
    if (lastFrameFromStaticCopy_) {
        staticCopy_.Restore();
        ++staticCopyReuses_;
    } else {
        RenderStaticPass(scene, viewport, keep && staticCopyKey_.SameView(key));
        if (keep) {
            staticCopy_.Save(viewport.Width, viewport.Height);
            staticCopyKey_ = key;
        } else if (!staticCopy_.Empty()) {
            DropStaticCopy();
        }
        // The layer starts from the state a frame from the copy gives it.
        SetupRenderingContext();
    }
    SetupScenePass(scene, lpDynamic);
    scene.RenderScene(this, viewport.Width, viewport.Height, dsRendering, nullptr, lpDynamic);
}

void TGLWorldBuffer::RenderStaticPass(TGLWorld& scene, const TRectangle& viewport, bool keep)
{
    passPictureAllowed_ = keep;
    passFrameKey_ = {&scene,          scene.StaticRevision(), bufferRevision_,  viewport.Width,
                     viewport.Height, projectionMatrix_,      modelViewMatrix_};
    const TScopeGuard closed([this] { passPictureAllowed_ = false; });
    SetupScenePass(scene, lpStatic);
    scene.RenderScene(this, viewport.Width, viewport.Height, dsRendering, nullptr, lpStatic);
}

TGLWorldBuffer::TStaticCopyKey TGLWorldBuffer::PassPictureKey(const TGLBaseSceneObject& owner) const
{
    TStaticCopyKey key = passFrameKey_;
    // What changed outside the owner: the frame's start counts everything before it,
    // the owner's count may have grown since, which only makes the key differ.
    key.sceneRevision -= const_cast<TGLWorld*>(key.scene)->ChangesUnder(owner);
    return key;
}

bool TGLWorldBuffer::RestorePassPicture(const TGLBaseSceneObject& owner, std::uint64_t mark)
{
    if (!passPictureAllowed_ || passPictureOwner_ != &owner || passPictureMark_ != mark || passPicture_.Empty() ||
        !(passPictureKey_ == PassPictureKey(owner))) {
        return false;
    }
    passPicture_.Restore();
    ++passPictureReuses_;
    return true;
}

void TGLWorldBuffer::SavePassPicture(const TGLBaseSceneObject& owner, std::uint64_t mark)
{
    if (!passPictureAllowed_) {
        return;
    }
    passPicture_.Save(viewport_.Width, viewport_.Height);
    passPictureKey_ = PassPictureKey(owner);
    passPictureOwner_ = &owner;
    passPictureMark_ = mark;
}

void TGLWorldBuffer::PrepareRenderingMatrices(const TRectangle& viewport, int dpi, const TPickRectangle* pickRectangle)
{
    GL.glMatrixMode(GL_PROJECTION);
    GL.glLoadIdentity();
    if (pickRectangle) {
        GLint view[4] = {viewport_.Left, viewport_.Top, viewport_.Width, viewport_.Height};
        GL.gluPickMatrix((pickRectangle->Left + pickRectangle->Right) / 2,
                         viewport_.Height - (pickRectangle->Top + pickRectangle->Bottom) / 2,
                         std::abs(pickRectangle->Right - pickRectangle->Left),
                         std::abs(pickRectangle->Bottom - pickRectangle->Top), view);
    }
    baseProjectionMatrix_ = ReadMatrix(GL_PROJECTION_MATRIX);
    projectionMatrix_ = baseProjectionMatrix_;
    if (camera_) {
        camera_->ApplyPerspective(viewport, viewport.Width, viewport.Height, dpi);
        projectionMatrix_ = ReadMatrix(GL_PROJECTION_MATRIX);
    }
    GL.glMatrixMode(GL_MODELVIEW);
    GL.glLoadIdentity();
    if (camera_) {
        if (TGLWorld* scene = CameraScene()) {
            scene->SetCurrentCamera(camera_);
        }
        camera_->Apply();
        cameraAbsolutePosition_ = camera_->AbsolutePosition();
    }
    modelViewMatrix_ = ReadMatrix(GL_MODELVIEW_MATRIX);
}

// ---- Read-back ----

std::unique_ptr<TGLBitmap32> TGLWorldBuffer::CreateSnapShot()
{
    auto bitmap = std::make_unique<TGLBitmap32>();
    bitmap->SetWidth(viewport_.Width);
    bitmap->SetHeight(viewport_.Height);
    if (CameraScene() && renderingContext_) {
        TActivation activation(renderingContext_.get());
        bitmap->ReadPixels(TRect{0, 0, viewport_.Width, viewport_.Height});
    }
    return bitmap;
}

void TGLWorldBuffer::CopyToTexture(TGLTexture& texture, int x, int y, int width, int height, int destX, int destY,
                                   GLenum target, bool forceReadPixels)
{
    if (!renderingContext_ || width < 1 || height < 1) {
        return;
    }
    const bool cubeFace = target >= GL_TEXTURE_CUBE_MAP_POSITIVE_X && target <= GL_TEXTURE_CUBE_MAP_NEGATIVE_Z;
    KP_ASSERT(target == GL_TEXTURE_2D || cubeFace);
    std::unique_ptr<TActivation> activation;
    if (!rendering_) {
        activation = std::make_unique<TActivation>(renderingContext_.get());
    }
    const GLuint handle = texture.GetHandle();
    GL.glBindTexture(cubeFace ? GL_TEXTURE_CUBE_MAP : GL_TEXTURE_2D, handle);
    if (forceReadPixels) {
        std::vector<std::uint8_t> pixels(std::size_t(width) * std::size_t(height) * 4);
        GL.glPixelStorei(GL_PACK_ALIGNMENT, 1);
        GL.glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        if (target == GL_TEXTURE_2D && texture.MinFilter() >= miNearestMipmapNearest && GLExt.SGIS_generate_mipmap) {
            GL.glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP_SGIS, GL_TRUE);
        }
        GL.glTexImage2D(target, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    } else {
        GL.glCopyTexSubImage2D(target, 0, destX, destY, x, y, width, height);
    }
    ClearGLError();
}
