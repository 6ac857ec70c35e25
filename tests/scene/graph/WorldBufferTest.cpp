#include "../WorldTestSupport.h"

#include "platform/core/services/DebugLog.h"
#include "platform/core/Exceptions.h"
#include "scene/materials/GLBitmap32.h"
#include "scene/graph/DirectOpenGL.h"
#include "scene/graph/NonVisualViewer.h"
#include "scene/graph/Behaviours.h"
#include "scene/base/XCollection.h"
#include "scene/materials/Texture.h"

#include <algorithm>
#include <memory>
#include <string>

using namespace worldtest;

namespace {

class WorldBufferTest : public WorldFixture {
protected:
    WorldBufferTest()
    {
        camera = TGLBaseSceneObject::CreateAsChild<TGLCamera>(world.CameraRoot());
        events.Attach(buffer);
        buffer.Resize(200, 100);
    }
    TGLContext* Context() { return buffer.RenderingContext(); }
    // The buffer on the fixture's camera with a context.
    void Ready(TGLWorldBuffer& b)
    {
        b.SetCamera(camera);
        b.CreateRC(0, false);
    }

    TGLWorld world;
    TGLWorldBuffer buffer{nullptr};
    TBufferEvents events;
    TGLCamera* camera = nullptr;
};

TEST_F(WorldBufferTest, ResizeKeepsAtLeastOnePixelAndSetsTheViewportOnlyWithAContext)
{
    recorder.Clear();
    buffer.Resize(10, 10);
    EXPECT_EQ(Count("glViewport"), 0);
    buffer.CreateRC(0, true);
    const int cases[][4] = {{0, -5, 1, 1}, {640, 480, 640, 480}, {-1, 7, 1, 7}, {1, 1, 1, 1}};
    for (const auto& c : cases) {
        recorder.Clear();
        buffer.Resize(c[0], c[1]);
        EXPECT_EQ(buffer.Width(), c[2]) << c[0] << " x " << c[1];
        EXPECT_EQ(buffer.Height(), c[3]) << c[0] << " x " << c[1];
        const auto viewports = Calls("glViewport");
        ASSERT_EQ(viewports.size(), 1u);
        EXPECT_EQ(viewports[0].Args, (std::vector<double>{0, 0, double(c[2]), double(c[3])}));
        EXPECT_FALSE(Context()->Active());
    }
}

TEST_F(WorldBufferTest, PlainOptionsNotifyOnChangeOnly)
{
    buffer.SetBackgroundColor(clBtnFace);
    buffer.SetDepthTest(true);
    buffer.SetFaceCulling(true);
    buffer.SetLighting(true);
    buffer.SetShadeModel(smDefault);
    buffer.SetFogEnable(false);
    EXPECT_EQ(events.changes, 0);
    buffer.SetBackgroundColor(clBlack);
    buffer.SetDepthTest(false);
    buffer.SetFaceCulling(false);
    buffer.SetLighting(false);
    buffer.SetShadeModel(smFlat);
    buffer.SetFogEnable(true);
    EXPECT_EQ(events.changes, 6);
    EXPECT_EQ(events.structural, 0);
}

TEST_F(WorldBufferTest, PixelFormatOptionsAskForANewContextOnce)
{
    buffer.SetContextOptions(buffer.ContextOptions());
    buffer.SetAntiAliasing(aaDefault);
    buffer.SetDepthPrecision(dpDefault);
    buffer.SetColorDepth(cdDefault);
    buffer.SetAccumBufferBits(0);
    EXPECT_EQ(events.structural, 0);
    buffer.SetContextOptions(buffer.ContextOptions() | ContextOption(roStencilBuffer));
    EXPECT_EQ(events.structural, 1);
    buffer.SetAntiAliasing(aa4x);
    buffer.SetDepthPrecision(dp16bits);
    buffer.SetColorDepth(cd16bits);
    buffer.SetAccumBufferBits(16);
    EXPECT_EQ(events.structural, 5);
    EXPECT_EQ(events.changes, 0) << "no repaint: the context is remade first";
}

TEST_F(WorldBufferTest, PixelFormatOptionsBecomeTheContextsWishes)
{
    struct Case {
        TContextOptions options;
        TGLColorDepth colorDepth;
        TGLDepthPrecision depth;
        int colorBits, depthBits, stencilBits, alphaBits;
        TGLRCOptions rcOptions;
    };
    constexpr TContextOptions Double = ContextOption(roDoubleBuffer);
    const Case cases[] = {
        {Double, cdDefault, dpDefault, 24, 24, 0, 0, RCOption(rcoDoubleBuffered)},
        {0, cd16bits, dp16bits, 16, 16, 0, 0, 0},
        {ContextOption(roStencilBuffer) | ContextOption(roDestinationAlpha), cd8bits, dp32bits, 8, 32, 8, 8, 0},
        {ContextOption(roNoColorBuffer) | ContextOption(roStereo), cdFloat128bits, dp24bits, 0, 24, 0, 0,
         RCOption(rcoStereo)},
        {Double, cdFloat64bits, dpDefault, 64, 24, 0, 0, RCOption(rcoDoubleBuffered)}};
    TGLContext* prepared = nullptr;
    buffer.OnPrepareGLContext = [&](TGLContext* context) { prepared = context; };
    buffer.SetAccumBufferBits(32);
    for (const Case& c : cases) {
        SCOPED_TRACE(int(&c - cases));
        buffer.SetContextOptions(c.options);
        buffer.SetColorDepth(c.colorDepth);
        buffer.SetDepthPrecision(c.depth);
        buffer.CreateRC(0, true);
        TGLContext* context = Context();
        ASSERT_NE(context, nullptr);
        EXPECT_EQ(prepared, context);
        EXPECT_EQ(context->ColorBits(), c.colorBits);
        EXPECT_EQ(context->DepthBits(), c.depthBits);
        EXPECT_EQ(context->StencilBits(), c.stencilBits);
        EXPECT_EQ(context->AlphaBits(), c.alphaBits);
        EXPECT_EQ(context->AccumBits(), 32);
        EXPECT_EQ(context->Options(), c.rcOptions);
    }
}

TEST_F(WorldBufferTest, ContextCreationSetsTheInitialStateAndLeavesItInactive)
{
    buffer.SetBackgroundColor(clRed);
    buffer.CreateRC(0, true);
    ASSERT_TRUE(buffer.RCInstantiated());
    EXPECT_FALSE(Context()->Active());
    EXPECT_FALSE(buffer.Rendering());
    EXPECT_EQ(TCountingContext::MemoryContexts, 1);
    EXPECT_EQ(TCountingContext::LastMemoryWidth, 200);
    EXPECT_EQ(TCountingContext::LastMemoryHeight, 100);
    EXPECT_NE(IndexOf("glViewport(0, 0, 200, 100)"), -1);
    EXPECT_NE(IndexOf("glClearColor(1, 0, 0, 1)"), -1);
    EXPECT_NE(IndexOf("glDepthFunc(" + std::to_string(GL_LEQUAL) + ")"), -1);
    EXPECT_NE(IndexOf("glShadeModel(" + std::to_string(GL_SMOOTH) + ")"), -1);
    buffer.CreateRC(0, true);
    EXPECT_EQ(TCountingContext::Freed, 1) << "a second creation replaces the first context";
}

TEST_F(WorldBufferTest, NoRegisteredContextClassIsAnError)
{
    UnregisterGLContextClass(TCountingContext::StaticClass());
    EXPECT_EQ(ErrorText<EGLContext>([&] { buffer.CreateRC(0, true); }), "Failed to create RenderingContext.");
    EXPECT_FALSE(buffer.RCInstantiated());
    EXPECT_FALSE(buffer.Rendering());
    RegisterGLContextClass<TCountingContext>();
}

TEST_F(WorldBufferTest, OpenGLBelow11IsRefusedAndLeavesNoContext)
{
    recorder.Version = "1.0";
    ReadGLVersionAndExtensions();
    EXPECT_EQ(ErrorText<EOpenGLError>([&] { buffer.CreateRC(0, true); }), "Need at least OpenGL version 1.1");
    EXPECT_FALSE(buffer.RCInstantiated());
    EXPECT_FALSE(buffer.Rendering());
    EXPECT_EQ(CurrentGLContext(), nullptr) << "the activation was undone";
    recorder.Version = "1.1";
    ReadGLVersionAndExtensions();
    buffer.CreateRC(0, true);
    EXPECT_TRUE(buffer.RCInstantiated());
}

TEST_F(WorldBufferTest, AFailedPlatformCreationRendersNothingAndCanBeRetried)
{
    TCountingContext::FailCreations = 1;
    EXPECT_THROW(buffer.CreateRC(0, false), EGLContext);
    EXPECT_FALSE(buffer.RCInstantiated());
    EXPECT_FALSE(buffer.Rendering());
    recorder.Clear();
    buffer.RenderWholeScene();
    EXPECT_EQ(recorder.Calls().size(), 0u);
    EXPECT_EQ(buffer.FrameCount(), 0);
    buffer.CreateRC(0, false);
    EXPECT_TRUE(buffer.RCInstantiated());
}

TEST_F(WorldBufferTest, AFrameClearsProjectsLightsDrawsAndSwaps)
{
    auto* light = TGLBaseSceneObject::CreateAsChild<TGLLightSource>(world.ObjectRoot());
    light->SetLightStyle(lsOmni);
    Ready(buffer);
    recorder.Clear();
    buffer.RenderWholeScene();
    const int clear = IndexOf("glClear(" + std::to_string(GL_DEPTH_BUFFER_BIT | GL_COLOR_BUFFER_BIT) + ")");
    const int frustum = IndexOfName("glFrustum");
    const int lookAt = IndexOf("gluLookAt(0, 0, 0, 0, 0, -1, 0, 1, 0)");
    const int lightOn = IndexOf("glEnable(" + std::to_string(GL_LIGHT0) + ")");
    const int alpha = IndexOf("glAlphaFunc(" + std::to_string(GL_GREATER) + ", 0)");
    EXPECT_NE(clear, -1);
    EXPECT_GT(frustum, clear);
    EXPECT_GT(lookAt, frustum);
    EXPECT_GT(lightOn, lookAt);
    EXPECT_GT(alpha, lightOn);
    EXPECT_EQ(TCountingContext::Swaps, 1);
    EXPECT_EQ(buffer.FrameCount(), 1);
    EXPECT_GE(buffer.LastFrameTime(), 0);
    EXPECT_EQ(buffer.RegisteredScene(), &world);
    EXPECT_EQ(world.Buffers().size(), 1u);
    EXPECT_FALSE(Context()->Active());
    EXPECT_EQ(world.CurrentBuffer(), nullptr) << "only during the frame";
}

TEST_F(WorldBufferTest, NoColorBufferNeitherClearsNorWritesColour)
{
    buffer.SetContextOptions(ContextOption(roNoColorBuffer));
    Ready(buffer);
    bool ignored = false;
    buffer.InitiateRendering = [&](TObject*, TRenderContextInfo& rci) { ignored = rci.ignoreMaterials; };
    recorder.Clear();
    buffer.RenderWholeScene();
    EXPECT_TRUE(ignored);
    const auto clears = Calls("glClear");
    ASSERT_EQ(clears.size(), 1u);
    EXPECT_EQ(GLbitfield(clears[0].Args[0]), GLbitfield(GL_DEPTH_BUFFER_BIT));
    const int maskOff = IndexOf("glColorMask(0, 0, 0, 0)");
    const int maskOn = IndexOf("glColorMask(1, 1, 1, 1)");
    EXPECT_NE(maskOff, -1);
    EXPECT_GT(maskOn, maskOff) << "colour writes come back after the scene";
}

TEST_F(WorldBufferTest, ClearBitsFollowTheOptions)
{
    buffer.SetContextOptions(ContextOption(roStencilBuffer) | ContextOption(roNoColorBufferClear));
    buffer.ClearBuffers();
    EXPECT_EQ(GLbitfield(Calls("glClear").at(0).Args[0]), GLbitfield(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT));
}

TEST_F(WorldBufferTest, RenderFromInsideAfterRenderDoesNothing)
{
    buffer.CreateRC(0, false);
    int nested = 0;
    buffer.AfterRender = [&](TObject*) {
        ++nested;
        buffer.RenderWholeScene();
    };
    buffer.RenderWholeScene();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(buffer.FrameCount(), 1);
    EXPECT_EQ(TCountingContext::Swaps, 1);
    buffer.AfterRender = nullptr;
    buffer.RenderWholeScene();
    EXPECT_EQ(buffer.FrameCount(), 2);
}

TEST_F(WorldBufferTest, ChangesDuringAFrameFireNoOnChange)
{
    Ready(buffer);
    events.changes = 0;
    buffer.BeforeRender = [&](TObject*) { camera->NotifyChange(camera); };
    buffer.RenderWholeScene();
    EXPECT_EQ(events.changes, 0);
    camera->NotifyChange(camera);
    EXPECT_EQ(events.changes, 1);
}

TEST_F(WorldBufferTest, ACameraOutsideAnySceneIsNotTaken)
{
    TGLCamera loose;
    buffer.SetCamera(&loose);
    EXPECT_EQ(buffer.Camera(), nullptr);
    buffer.CreateRC(0, false);
    recorder.Clear();
    buffer.RenderWholeScene();
    EXPECT_EQ(Count("glClear"), 1);
    EXPECT_EQ(TCountingContext::Swaps, 1);
    EXPECT_EQ(Count("glFrustum"), 0);
    EXPECT_EQ(Count("gluLookAt"), 0);
    buffer.SetContextOptions(ContextOption(roNoSwapBuffers)); // keeps the back buffer
    buffer.CreateRC(0, false);
    buffer.RenderWholeScene();
    EXPECT_EQ(TCountingContext::Swaps, 1);
}

TEST_F(WorldBufferTest, SwitchingCamerasMovesTheBufferBetweenScenes)
{
    TGLWorld other;
    auto* otherCamera = TGLBaseSceneObject::CreateAsChild<TGLCamera>(other.CameraRoot());
    Ready(buffer);
    buffer.RenderWholeScene();
    EXPECT_EQ(world.Buffers().size(), 1u);
    buffer.SetCamera(otherCamera);
    EXPECT_EQ(world.Buffers().size(), 0u);
    buffer.RenderWholeScene();
    EXPECT_EQ(other.Buffers().size(), 1u);
    EXPECT_EQ(buffer.RegisteredScene(), &other);
    delete otherCamera; // a freed camera leaves the buffer
    EXPECT_EQ(buffer.Camera(), nullptr);
    EXPECT_NO_THROW(buffer.RenderWholeScene());
}

TEST_F(WorldBufferTest, AnOpenGLErrorDuringAFrameUnwindsSoTheNextFrameRenders)
{
    Ready(buffer);
    buffer.BeforeRender = [&](TObject*) { recorder.PendingErrors.push_back(GL_INVALID_OPERATION); };
    EXPECT_THROW(buffer.RenderWholeScene(), EOpenGLError);
    EXPECT_FALSE(buffer.Rendering());
    EXPECT_FALSE(Context()->Active());
    EXPECT_EQ(CurrentGLContext(), nullptr);
    buffer.BeforeRender = nullptr;
    buffer.RenderWholeScene();
    EXPECT_EQ(buffer.FrameCount(), 1) << "the failed frame was not counted, the next one was";
    EXPECT_EQ(TCountingContext::Swaps, 1);
}

TEST_F(WorldBufferTest, ModelViewStackMustBalance)
{
    const std::string unbalanced = ErrorText<EAssertionFailed>([&] { buffer.PopModelViewMatrix(); });
    EXPECT_EQ(unbalanced.rfind("Unbalanced PopModelViewMatrix", 0), 0u) << unbalanced;
    TMatrix m = IdentityMatrix;
    m[3].X = 5;
    const TMatrix saved = buffer.ModelViewMatrix();
    buffer.PushModelViewMatrix(m);
    EXPECT_EQ(buffer.ModelViewMatrix()[3].X, 5);
    buffer.PopModelViewMatrix();
    EXPECT_EQ(buffer.ModelViewMatrix()[3].X, saved[3].X);

    buffer.CreateRC(0, false);
    buffer.PostRender = [&](TObject*) { buffer.PushModelViewMatrix(m); };
    EXPECT_EQ(ErrorText<EAssertionFailed>([&] { buffer.RenderWholeScene(); })
                  .rfind("Unbalance Push/PopModelViewMatrix.", 0),
              0u);
    buffer.PostRender = nullptr;
    EXPECT_NO_THROW(buffer.RenderWholeScene()) << "the next frame starts balanced";
}

TEST_F(WorldBufferTest, SnapshotReadsTheFrameOnlyWithACameraInAScene)
{
    buffer.Resize(4, 2);
    buffer.CreateRC(0, true);
    recorder.FrameWidth = 4;
    recorder.FrameHeight = 2;
    recorder.FramePixels.assign(4 * 2 * 4, 0);
    recorder.FramePixels[(1 * 4 + 3) * 4 + 0] = 200; // top right pixel red
    auto empty = buffer.CreateSnapShot();
    EXPECT_EQ(empty->Width(), 4);
    EXPECT_EQ(empty->Height(), 2);
    EXPECT_EQ(Count("glReadPixels"), 0);
    buffer.SetCamera(camera);
    auto shot = buffer.CreateSnapShot();
    EXPECT_EQ(Count("glReadPixels"), 1);
    ASSERT_EQ(shot->Width(), 4);
    EXPECT_EQ(shot->ScanLine(1)[3 * 4], 200);
    EXPECT_FALSE(Context()->Active());
}

TEST_F(WorldBufferTest, DestroyingTheBufferLeavesItsScene)
{
    auto owned = std::make_unique<TGLWorldBuffer>(nullptr);
    Ready(*owned);
    owned->RenderWholeScene();
    ASSERT_EQ(world.Buffers().size(), 1u);
    EXPECT_EQ(world.RenderingContext(), owned->RenderingContext());
    owned.reset();
    EXPECT_TRUE(world.Buffers().empty());
    EXPECT_EQ(world.RenderingContext(), nullptr) << "no dangling shared context";
}

TEST_F(WorldBufferTest, ASecondBufferSharesListsWithTheFirst)
{
    TGLWorldBuffer second(nullptr);
    Ready(buffer);
    Ready(second);
    buffer.RenderWholeScene();
    second.RenderWholeScene();
    ASSERT_EQ(world.Buffers().size(), 2u);
    EXPECT_EQ(world.RenderingContext(), buffer.RenderingContext());
    const auto& group = buffer.RenderingContext()->SharedContexts();
    EXPECT_NE(std::find(group.begin(), group.end(), second.RenderingContext()), group.end());
    buffer.DestroyRC();
    EXPECT_EQ(world.RenderingContext(), second.RenderingContext()) << "the shared context moves on";
}

TEST_F(WorldBufferTest, ASecondBufferThatCannotShareStillDraws)
{
    std::vector<std::string> log;
    auto previous = SetDebugLogSink([&](std::string_view text) { log.emplace_back(text); });
    TGLWorldBuffer second(nullptr);
    Ready(buffer);
    Ready(second);
    buffer.RenderWholeScene();
    TCountingContext::FailSharing = true;
    EXPECT_NO_THROW(second.RenderWholeScene());
    SetDebugLogSink(previous);
    EXPECT_EQ(second.FrameCount(), 1);
    EXPECT_EQ(world.Buffers().size(), 2u);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("lists are not shared"), std::string::npos);
}

// ---- One pass over the scene ----

class TMarkAfterEffect : public TGLObjectAfterEffect {
    KP_CLASS(TMarkAfterEffect, TGLObjectAfterEffect)
    KP_XCOLLECTION_ITEM(TMarkAfterEffect)
public:
    static std::string ClassTitle() { return "Mark after"; }
    void Render(TGLAbstractWorldBuffer*, TRenderContextInfo&) override { GL.glRectf(-3, 0, 0, 0); }
};

TEST_F(WorldBufferTest, RenderSceneFillsTheRecordAndRunsTheAfterEffectsLast)
{
    camera->SetDepthOfView(40);
    world.SetVisibilityCulling(vcObjectBased);
    buffer.SetFaceCulling(false);
    auto* object = TGLBaseSceneObject::CreateAsChild<TGLDirectOpenGL>(world.ObjectRoot());
    object->OnRender = [](TObject*, TRenderContextInfo&) { GL.glRectf(1, 0, 0, 0); };
    CreateXCollectionItem<TMarkAfterEffect>(&object->Effects());
    Ready(buffer);
    TRenderContextInfo seen{};
    std::vector<std::string> order;
    buffer.InitiateRendering = [&](TObject* sender, TRenderContextInfo& rci) {
        EXPECT_EQ(sender, &buffer);
        seen = rci;
        order.push_back("initiate");
    };
    buffer.WrapUpRendering = [&](TObject*, TRenderContextInfo&) { order.push_back("wrap up"); };
    recorder.Clear();
    buffer.RenderWholeScene();

    EXPECT_EQ(seen.scene, &world);
    EXPECT_EQ(seen.buffer, &buffer);
    EXPECT_EQ(seen.objectsSorting, osRenderBlendedLast);
    EXPECT_EQ(seen.visibilityCulling, vcObjectBased);
    EXPECT_FALSE(seen.faceCulling);
    EXPECT_EQ(seen.drawState, dsRendering);
    EXPECT_EQ(seen.viewPortSize.cx, 200);
    EXPECT_EQ(seen.viewPortSize.cy, 100);
    EXPECT_EQ(seen.renderDPI, 96);
    EXPECT_EQ(seen.cameraDirection.Z, -1);
    EXPECT_EQ(seen.cameraUp.Y, 1);
    EXPECT_NEAR(seen.rcci.farClippingDistance, camera->NearPlane() + 40, 1e-4);
    EXPECT_EQ(seen.sceneAmbientColor.X, 0.2f);
    EXPECT_EQ(seen.modelViewMatrix, &buffer.ModelViewMatrix());
    EXPECT_FALSE(seen.ignoreMaterials);
    EXPECT_EQ(order, (std::vector<std::string>{"initiate", "wrap up"}));

    const int drawn = IndexOf("glRectf(1, 0, 0, 0)");
    const int maskOn = IndexOf("glColorMask(1, 1, 1, 1)", drawn);
    const int after = IndexOf("glRectf(-3, 0, 0, 0)");
    EXPECT_NE(drawn, -1);
    EXPECT_GT(maskOn, drawn);
    EXPECT_GT(after, maskOn) << "after the whole scene";
    EXPECT_GT(IndexOf("glAlphaFunc(" + std::to_string(GL_GREATER) + ", 0)"), after);
    recorder.Clear();
    buffer.RenderWholeScene();
    EXPECT_EQ(Count("glRectf"), 2) << "the queue starts empty each frame";
}

// ---- Copy to a texture ----

class BufferCopyToTexture : public WorldBufferTest {
protected:
    BufferCopyToTexture() { buffer.CreateRC(0, true); }
    // The calls after the texture made its handle.
    std::vector<TGLCall> CallsAfterHandle(const std::string& name)
    {
        std::vector<TGLCall> found;
        bool seenBind = false;
        for (const TGLCall& call : recorder.Calls()) {
            if (call.Name == "glBindTexture" && call.Args[1] == texture.Handle()) {
                seenBind = true;
            }
            if (seenBind && call.Name == name) {
                found.push_back(call);
            }
        }
        return found;
    }
    TGLTexture texture;
};

TEST_F(BufferCopyToTexture, CopiesTheAreaInsideOpenGLAndNothingWithoutAnAreaOrAContext)
{
    recorder.Clear();
    buffer.CopyToTexture(texture, 4, 6, 32, 16, 1, 2);
    ASSERT_NE(texture.Handle(), 0u);
    const auto copies = Calls("glCopyTexSubImage2D");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].Args, (std::vector<double>{GL_TEXTURE_2D, 0, 1, 2, 4, 6, 32, 16}));
    EXPECT_EQ(Count("glReadPixels"), 0);
    EXPECT_FALSE(Context()->Active()) << "activated only for the copy";
    // Nothing without an area or a context.
    buffer.CopyToTexture(texture, 0, 0, 0, 8, 0, 0);
    buffer.DestroyRC();
    recorder.Clear();
    buffer.CopyToTexture(texture, 0, 0, 8, 8, 0, 0);
    EXPECT_EQ(recorder.Calls().size(), 0u);
}

TEST_F(BufferCopyToTexture, ForcedReadBackUploadsTheWholeArea)
{
    recorder.Clear();
    buffer.CopyToTexture(texture, 0, 0, 8, 4, 0, 0, GL_TEXTURE_2D, true);
    const auto reads = CallsAfterHandle("glReadPixels");
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].Args[2], 8);
    EXPECT_EQ(reads[0].Args[3], 4);
    const auto uploads = CallsAfterHandle("glTexImage2D");
    ASSERT_EQ(uploads.size(), 1u);
    EXPECT_EQ(uploads[0].Args[3], 8);
    EXPECT_EQ(uploads[0].Args[4], 4);
    EXPECT_EQ(Count("glCopyTexSubImage2D"), 0);
}

TEST_F(BufferCopyToTexture, CubeFacesBindTheCubeMapAndOtherTargetsAreRefused)
{
    recorder.Clear();
    buffer.CopyToTexture(texture, 0, 0, 8, 8, 0, 0, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y);
    const auto copies = Calls("glCopyTexSubImage2D");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].Args[0], GL_TEXTURE_CUBE_MAP_NEGATIVE_Y);
    EXPECT_NE(IndexOf("glBindTexture(" + std::to_string(GL_TEXTURE_CUBE_MAP) + ", " +
                      std::to_string(texture.Handle()) + ")"),
              -1);
    EXPECT_THROW(buffer.CopyToTexture(texture, 0, 0, 8, 8, 0, 0, GL_TEXTURE_3D), EAssertionFailed);
    EXPECT_FALSE(Context()->Active());
}

// ---- Memory viewer ----

TEST_F(WorldBufferTest, MemoryViewerMakesItsOffscreenContextAtTheFirstFrame)
{
    TGLMemoryViewer viewer;
    EXPECT_EQ(viewer.Width(), 256);
    viewer.SetWidth(0);
    EXPECT_EQ(viewer.Width(), 1);
    viewer.SetWidth(64);
    viewer.SetHeight(32);
    viewer.SetCamera(camera);
    EXPECT_EQ(viewer.Camera(), camera);
    viewer.Render();
    ASSERT_TRUE(viewer.Buffer().RCInstantiated());
    EXPECT_EQ(TCountingContext::LastMemoryWidth, 64);
    EXPECT_EQ(TCountingContext::LastMemoryHeight, 32);
    EXPECT_EQ(viewer.Buffer().FrameCount(), 1);
    viewer.Render();
    EXPECT_EQ(TCountingContext::MemoryContexts, 1) << "made once";
    viewer.Buffer().SetContextOptions(ContextOption(roStencilBuffer));
    EXPECT_FALSE(viewer.Buffer().RCInstantiated()) << "a structural change drops the context";
    viewer.Render();
    EXPECT_EQ(TCountingContext::MemoryContexts, 2);
    delete camera;
    camera = nullptr;
    EXPECT_EQ(viewer.Camera(), nullptr);
}

} // namespace
