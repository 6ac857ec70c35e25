#pragma once
// The render target of a scene: one rendering context (for a window or off-screen
// memory), the options that decide its pixel format and initial OpenGL state, the
// camera it shows, its viewport, a state cache, fog settings and the render events.
// Render draws one frame: clear, projection and view from the camera, lights, fog,
// the scene, swap, frame timing.
//
// A scene with a dynamic layer (DynamicLayer.h) is drawn in two passes, the rest of
// the scene first. The buffer keeps a copy of the colour and depth that the first pass
// left; a frame with the same view, options and size, in which nothing outside the
// layer changed, starts from that copy and draws only the layer. No copy is kept where
// it would not come back exactly (multisampling, floating-point colour, a stencil
// buffer, no colour buffer, stereo) or where a hook may draw before the scene
// (BeforeRender, InitiateRendering).
//
// Where it keeps that copy, the first pass may also keep one picture part of the way
// through, for an object that draws what it drew before and more after it (a growing
// tool path, LineBatches.h): taken while the object draws, it holds what was drawn
// before the object. It is good for a later frame with the same view, size and options
// in which nothing changed but what the object and the objects below it changed
// (TGLWorld::ChangesUnder): what is drawn before the object is then the same again.
// What the object draws differently from there on is its own to know. It is kept only
// in a frame whose view, size and options are those of the kept copy, so that a view
// that turns does not pay for it in every frame.
//
// Changes anywhere in the scene arrive as NotifyChange and leave as OnChange (the
// viewer repaints); option changes that need a new pixel format leave as
// OnStructuralChange (the viewer remakes its window and context).

#include "scene/graph/Camera.h"
#include "scene/materials/Color.h"
#include "scene/graph/FogEnvironment.h"
#include "scene/graph/FrameCopy.h"
#include "scene/rendering/GLContext.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/graph/WorldInterfaces.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TGLBitmap32;
class TGLTexture;
class TGLWorld;
class TGLObjectEffect;
enum TGLLayerPass : std::uint8_t;

enum TGLDepthPrecision { dpDefault, dp16bits, dp24bits, dp32bits };
enum TGLColorDepth { cdDefault, cd8bits, cd16bits, cd24bits, cdFloat64bits, cdFloat128bits };
enum TGLShadeModel { smDefault, smSmooth, smFlat };

enum TContextOption {
    roDoubleBuffer,
    roStencilBuffer,
    roRenderToWindow,
    roTwoSideLighting,
    roStereo,
    roDestinationAlpha,
    roNoColorBuffer,
    roNoColorBufferClear,
    roNoSwapBuffers,
};
using TContextOptions = std::uint32_t; // bit n for option n
constexpr TContextOptions ContextOption(TContextOption option)
{
    return TContextOptions(1) << option;
}

// A pick rectangle in window pixels.
struct TPickRectangle {
    int Left, Top, Right, Bottom;
};

using TBufferEvent = std::function<void(TObject* sender)>;

class TGLWorldBuffer : public TGLAbstractWorldBuffer {
    KP_CLASS(TGLWorldBuffer, TGLAbstractWorldBuffer)
public:
    // The owner is the viewer component (may be nullptr).
    explicit TGLWorldBuffer(TPersistent* owner);
    ~TGLWorldBuffer() override;

    // ---- Context ----
    // Makes the context for a window (its X11 id) or, with memoryContext, an
    // off-screen one of the viewport's size. A failed creation leaves no context.
    void CreateRC(TGLOutputDevice outputDevice, bool memoryContext);
    void DestroyRC();
    bool RCInstantiated() const { return renderingContext_ != nullptr; }
    TGLContext* RenderingContext() const { return renderingContext_.get(); }

    // ---- Viewport ----
    // Each at least 1; with a context also glViewport.
    void Resize(int width, int height);
    void SetViewPort(int x, int y, int width, int height);
    const TRectangle& ViewPort() const { return viewport_; }
    int Width() const { return viewport_.Width; }
    int Height() const { return viewport_.Height; }

    // ---- Frames ----
    void Render(TGLBaseSceneObject* baseObject);
    void RenderWholeScene() { Render(nullptr); }
    bool Rendering() const { return rendering_; }
    void ClearBuffers();
    // Projection (camera, optional pick matrix) and view, saved for the frame.
    void PrepareRenderingMatrices(const TRectangle& viewport, int dpi, const TPickRectangle* pickRectangle = nullptr);
    void DoBaseRender(const TRectangle& viewport, int dpi, TDrawState drawState, TGLBaseSceneObject* baseObject);
    // The initial OpenGL state; also set at the start of every frame.
    void SetupRenderingContext();

    // A new bitmap of the viewport's size with the frame's pixels (empty without a
    // camera in a scene); owned by the caller.
    std::unique_ptr<TGLBitmap32> CreateSnapShot();
    // Copies the frame buffer area into the texture's image at (destX, destY); target
    // GL_TEXTURE_2D or a cube-map face. forceReadPixels reads the pixels back and
    // uploads them whole instead of copying inside OpenGL.
    void CopyToTexture(TGLTexture& texture, int x, int y, int width, int height, int destX, int destY,
                       GLenum target = GL_TEXTURE_2D, bool forceReadPixels = false);

    // ---- Camera ----
    TGLCamera* Camera() const { return camera_; }
    // A camera that belongs to no scene is not taken (the buffer then has none).
    void SetCamera(TGLCamera* camera);
    // The scene the buffer registered with at its last frame.
    TGLWorld* RegisteredScene() const { return registeredScene_; }

    // ---- Options ----
    bool FaceCulling() const { return faceCulling_; }
    void SetFaceCulling(bool value);
    bool FogEnable() const { return fogEnable_; }
    void SetFogEnable(bool value);
    bool Lighting() const { return lighting_; }
    void SetLighting(bool value);
    bool DepthTest() const override { return depthTest_; }
    void SetDepthTest(bool value);
    TColor BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor value);
    float BackgroundAlpha() const { return backgroundAlpha_; }
    void SetBackgroundAlpha(float value);
    TGLColor& AmbientColor() { return *ambientColor_; }
    const TGLColor& AmbientColor() const { return *ambientColor_; }
    void SetAmbientColor(const TGLColor& value) { ambientColor_->Assign(&value); }
    TGLAntiAliasing AntiAliasing() const { return antiAliasing_; }
    void SetAntiAliasing(TGLAntiAliasing value);
    TGLDepthPrecision DepthPrecision() const { return depthPrecision_; }
    void SetDepthPrecision(TGLDepthPrecision value);
    TGLColorDepth ColorDepth() const { return colorDepth_; }
    void SetColorDepth(TGLColorDepth value);
    TContextOptions ContextOptions() const { return contextOptions_; }
    bool HasOption(TContextOption option) const { return (contextOptions_ & ContextOption(option)) != 0; }
    void SetContextOptions(TContextOptions value);
    TGLShadeModel ShadeModel() const { return shadeModel_; }
    void SetShadeModel(TGLShadeModel value);
    int AccumBufferBits() const { return accumBufferBits_; }
    void SetAccumBufferBits(int value);
    int RenderDPI() const { return renderDPI_; }
    TGLFogEnvironment& FogEnvironment() { return *fogEnvironment_; }
    void SetFogEnvironment(const TGLFogEnvironment& value);

    // ---- State of the frame ----
    TGLStateCache& GLStates() { return *glStates_; }
    const TMatrix& ProjectionMatrix() const { return projectionMatrix_; }
    const TMatrix& BaseProjectionMatrix() const { return baseProjectionMatrix_; }
    const TMatrix& ModelViewMatrix() const { return modelViewMatrix_; }
    const TVector& CameraAbsolutePosition() const { return cameraAbsolutePosition_; }
    void PushModelViewMatrix(const TMatrix& matrix) override;
    void PopModelViewMatrix() override;
    void QueueAfterEffect(TGLObjectEffect* effect) override;
    const std::vector<TGLObjectEffect*>& AfterEffects() const { return afterEffects_; }

    // ---- The picture part of the way through the first pass ----
    bool MayKeepPassPicture() const override { return passPictureAllowed_; }
    bool RestorePassPicture(const TGLBaseSceneObject& owner, std::uint64_t mark) override;
    void SavePassPicture(const TGLBaseSceneObject& owner, std::uint64_t mark) override;
    void ClearAfterEffects() { afterEffects_.clear(); }

    // ---- Statistics ----
    int FrameCount() const { return frameCount_; }
    float FramesPerSecond() const { return framesPerSecond_; }
    // Seconds of the last frame.
    double LastFrameTime() const { return lastFrameTime_; }
    // Frames that started from the copy of the scene without its dynamic layer, since
    // the context was made; whether the last one did; the bytes the copy holds.
    int StaticCopyReuses() const { return staticCopyReuses_; }
    bool LastFrameFromStaticCopy() const { return lastFrameFromStaticCopy_; }
    std::size_t StaticCopyBytes() const { return staticCopy_.Bytes(); }
    // Frames that started an object's drawing from its picture, and the bytes it holds.
    int PassPictureReuses() const { return passPictureReuses_; }
    std::size_t PassPictureBytes() const { return passPicture_.Bytes(); }
    void ResetPerformanceMonitor();

    // ---- Change notification ----
    // OnChange, unless a frame is being rendered.
    void NotifyChange(TObject* sender) override;
    void DoStructuralChange();

    // ---- Events ----
    TBufferEvent OnChange;
    TBufferEvent OnStructuralChange;
    // Called with the new context after the options were copied to it.
    std::function<void(TGLContext* context)> OnPrepareGLContext;
    TBufferEvent BeforeRender;
    // The viewer's own hook before BeforeRender (the swap interval).
    TBufferEvent ViewerBeforeRender;
    TBufferEvent PostRender;
    TBufferEvent AfterRender;
    TDirectRenderEvent InitiateRendering;
    TDirectRenderEvent WrapUpRendering;

    // Told by the camera watcher and by a scene that is going away.
    void CameraFreed();
    void SceneDestroyed(TGLWorld* scene);

private:
    class TCameraWatch;
    void SetupRCOptions(TGLContext& context);
    // The camera's scene when the camera is set and belongs to a scene.
    TGLWorld* CameraScene() const;
    void LeaveScene();
    // Lights and fog for one pass over the scene.
    void SetupScenePass(TGLWorld& scene, TGLLayerPass pass);
    // The two passes of a scene with a dynamic layer, the first one from the copy
    // when it is still good.
    void RenderLayers(TGLWorld& scene, const TRectangle& viewport);
    bool MayKeepStaticCopy();
    void DropStaticCopy();
    // Runs the first pass, which may keep a picture part of the way when `keep` is.
    void RenderStaticPass(TGLWorld& scene, const TRectangle& viewport, bool keep);

    // What the copy of the first pass shows depends on.
    struct TStaticCopyKey {
        const TGLWorld* scene = nullptr;
        std::uint64_t sceneRevision = 0;
        std::uint64_t bufferRevision = 0;
        int width = 0;
        int height = 0;
        TMatrix projection{};
        TMatrix modelView{};
        bool operator==(const TStaticCopyKey& other) const;
        // The same but for the scene's revision.
        bool SameView(const TStaticCopyKey& other) const;
    };
    // The key of the pass picture of `owner` in this frame.
    TStaticCopyKey PassPictureKey(const TGLBaseSceneObject& owner) const;

    std::unique_ptr<TGLStateCache> glStates_;
    bool rendering_ = false;
    std::unique_ptr<TGLContext> renderingContext_;
    std::vector<TGLObjectEffect*> afterEffects_;
    TMatrix projectionMatrix_ = IdentityMatrix;
    TMatrix modelViewMatrix_ = IdentityMatrix;
    TMatrix baseProjectionMatrix_ = IdentityMatrix;
    std::vector<TMatrix> modelViewStack_;
    TVector cameraAbsolutePosition_{0, 0, 0, 1};
    TRectangle viewport_{0, 0, 1, 1};
    bool faceCulling_ = true;
    bool fogEnable_ = false;
    bool lighting_ = true;
    bool depthTest_ = true;
    TColor backgroundColor_ = clBtnFace;
    float backgroundAlpha_ = 1;
    std::unique_ptr<TGLColor> ambientColor_;
    TGLAntiAliasing antiAliasing_ = aaDefault;
    TGLDepthPrecision depthPrecision_ = dpDefault;
    TGLColorDepth colorDepth_ = cdDefault;
    TContextOptions contextOptions_ = ContextOption(roDoubleBuffer) | ContextOption(roRenderToWindow);
    TGLShadeModel shadeModel_ = smDefault;
    int renderDPI_ = 96;
    std::unique_ptr<TGLFogEnvironment> fogEnvironment_;
    int accumBufferBits_ = 0;
    TGLCamera* camera_ = nullptr;
    std::unique_ptr<TCameraWatch> cameraWatch_;
    TGLWorld* registeredScene_ = nullptr;
    int frameCount_ = 0;
    float framesPerSecond_ = 0;
    std::int64_t firstFrameTime_ = 0;
    double lastFrameTime_ = 0;
    // Counts the buffer's own changes (options, camera, context, scene left).
    std::uint64_t bufferRevision_ = 0;
    TGLFrameCopy staticCopy_;
    TStaticCopyKey staticCopyKey_;
    // Whether the context gives pixels back exactly: -1 until asked.
    int contextCopiesFrames_ = -1;
    int staticCopyReuses_ = 0;
    bool lastFrameFromStaticCopy_ = false;
    TGLFrameCopy passPicture_;
    TStaticCopyKey passPictureKey_;
    const TGLBaseSceneObject* passPictureOwner_ = nullptr;
    std::uint64_t passPictureMark_ = 0;
    // Set during a first pass that may keep one, with that frame's key.
    bool passPictureAllowed_ = false;
    TStaticCopyKey passFrameKey_;
    int passPictureReuses_ = 0;
};
