#include <gtest/gtest.h>

#include "../support/JpegWriter.h"
#include "../support/OffscreenGL.h"

#include "platform/core/services/DebugLog.h"
#include "platform/core/Exceptions.h"
#include "scene/materials/GLBitmap32.h"
#include "scene/materials/JPEGImage.h"
#include "scene/viewer/GLX11Context.h"
// Raw Xlib and GLX last: their macros (None, Bool, Status) clash with the headers above.
#include "scene/viewer/GLXSupport.h"

#include <cstdlib>
#include <memory>

namespace {

using testsupport::OffscreenGL;
using testsupport::Rgba;

void FillRect(float x0, float y0, float x1, float y1)
{
    GL.glBegin(GL_QUADS);
    GL.glVertex2f(x0, y0);
    GL.glVertex2f(x1, y0);
    GL.glVertex2f(x1, y1);
    GL.glVertex2f(x0, y1);
    GL.glEnd();
}

TEST(GLX11ContextGl, PbufferClearsAndDrawsWhereAskedAndReadsTheFlags)
{
    OffscreenGL gl(64, 32);
    GL.glClearColor(1, 0, 0, 1);
    GL.glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(gl.Pixel(0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(gl.Pixel(63, 31), (Rgba{255, 0, 0, 255}));
    gl.Ortho2D();
    GL.glColor3f(0, 1, 0);
    FillRect(32, 0, 64, 32); // right half
    EXPECT_EQ(gl.Pixel(10, 10), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(gl.Pixel(40, 10), (Rgba{0, 255, 0, 255}));
    EXPECT_TRUE(gl.Context().IsMemoryContext());
    // Activation read the version and extension flags.
    EXPECT_TRUE(GLVersion.OpenGL_1_1);
    EXPECT_TRUE(GLVersion.GLU_1_2);
    EXPECT_TRUE(WGLExt.ARB_pbuffer);
    EXPECT_TRUE(WGLExt.ARB_pixel_format);
    EXPECT_TRUE(WGLExt.ARB_extensions_string);
    EXPECT_TRUE(GLExt.ARB_multitexture);
    ASSERT_NE(GL.glActiveTextureARB, nullptr);
}

TEST(GLX11ContextGl, ManagerCreatesGLXContextsAndAMemoryContextOfNoSizeFails)
{
    RegisterGLX11ContextClass();
    std::unique_ptr<TGLContext> made(GLContextManager()->CreateContext());
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->Is<TGLX11Context>());
    TGLX11Context context;
    try {
        context.CreateMemoryContext(0, 0, 16);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Unabled to create pbuffer.");
    }
    EXPECT_FALSE(context.IsValid());
}

class GLX11WindowGl : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterGLX11ContextClass();
        ASSERT_TRUE(LoadGLXEntryPoints());
        display = X11Display();
        ASSERT_NE(display, nullptr);
        XSetWindowAttributes attributes{};
        attributes.background_pixel = 0;
        window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 48, 24, 0, CopyFromParent, InputOutput,
                               CopyFromParent, CWBackPixel, &attributes);
        XMapWindow(display, window);
        XSync(display, False);
    }
    void TearDown() override
    {
        if (window) {
            XDestroyWindow(display, window);
            XSync(display, False);
        }
    }

    Display* display = nullptr;
    Window window = 0;
};

TEST_F(GLX11WindowGl, WindowContextUsesTheWindowsVisualAndRenders)
{
    TGLX11Context context;
    context.SetOptions(RCOption(rcoDoubleBuffered));
    context.SetDepthBits(24);
    context.CreateContext(window);
    ASSERT_TRUE(context.IsValid());
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    int visual = 0;
    GLX.glXGetFBConfigAttrib(display, context.FramebufferConfig(), GLX_VISUAL_ID, &visual);
    EXPECT_EQ(static_cast<VisualID>(visual), XVisualIDFromVisual(attributes.visual));

    context.Activate();
    GL.glViewport(0, 0, 48, 24);
    GL.glClearColor(0, 0, 1, 1);
    GL.glClear(GL_COLOR_BUFFER_BIT);
    GL.glFinish();
    std::uint8_t p[4] = {};
    GL.glReadPixels(5, 5, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    EXPECT_EQ((Rgba{p[0], p[1], p[2], p[3]}), (Rgba{0, 0, 255, 255}));
    context.SwapBuffers();
    context.Deactivate();
    EXPECT_EQ(GLX.glXGetCurrentContext(), nullptr);
    context.DestroyContext();
    EXPECT_FALSE(context.IsValid());
}

TEST_F(GLX11WindowGl, ContextOutlivingItsWindowIsTornDownWithoutEndingTheProcess)
{
    TGLX11Context context;
    context.SetOptions(0); // a single buffer: the window's visual still decides
    context.CreateContext(window);
    ASSERT_TRUE(context.IsValid());
    TGLListHandle list;
    context.Activate();
    list.AllocateHandle();
    context.Deactivate();
    XDestroyWindow(display, window);
    XSync(display, False);
    window = 0;
    EXPECT_NO_THROW(context.DestroyContext());
    EXPECT_FALSE(context.IsValid());
    EXPECT_EQ(list.Handle(), 0u);
}

TEST_F(GLX11WindowGl, XErrorsAreRecordedInsideATrapAndLoggedOutside)
{
    const Window bogus = window + 0x1000;
    {
        TXErrorTrap trap(display);
        XMapWindow(display, bogus);
        EXPECT_EQ(trap.Check(), BadWindow);
        EXPECT_FALSE(trap.Text().empty());
    }
    std::vector<std::string> reports;
    auto saved = SetDebugLogSink([&](std::string_view m) { reports.emplace_back(m); });
    XMapWindow(display, bogus);
    XSync(display, False);
    SetDebugLogSink(saved);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].rfind("X error: ", 0), 0u);
}

TEST_F(GLX11WindowGl, InvalidWindowIsReportedWithoutEndingTheProcess)
{
    TGLX11Context context;
    EXPECT_THROW(context.CreateContext(window + 0x1000), EGLContext);
    EXPECT_FALSE(context.IsValid());
}

TEST_F(GLX11WindowGl, DeactivationRestoresTheContextThatWasCurrent)
{
    // Stands for the shell's own GLX context (Qt's, say).
    int count = 0;
    const int attributes[] = {GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT, None};
    GLXFBConfig* configs = GLX.glXChooseFBConfig(display, DefaultScreen(display), attributes, &count);
    ASSERT_GT(count, 0);
    GLXContext foreign = GLX.glXCreateNewContext(display, configs[0], GLX_RGBA_TYPE, nullptr, True);
    XFree(configs);
    ASSERT_NE(foreign, nullptr);
    OffscreenGL unused(4, 4); // made current and released below
    unused.Context().Deactivate();
    ASSERT_TRUE(GLX.glXMakeContextCurrent(display, None, None, foreign));

    OffscreenGL gl(4, 4);
    EXPECT_EQ(GLX.glXGetCurrentContext(), gl.Context().GLXHandle());
    gl.Context().Deactivate();
    EXPECT_EQ(GLX.glXGetCurrentContext(), foreign);
    GLX.glXMakeContextCurrent(display, None, None, nullptr);
    GLX.glXDestroyContext(display, foreign);
}

TEST(GLX11ContextGl, SharedDisplayListWorksInBothContextsAndSurvivesItsOwner)
{
    RegisterGLX11ContextClass();
    auto a = std::make_unique<TGLX11Context>();
    auto b = std::make_unique<TGLX11Context>();
    a->CreateMemoryContext(0, 16, 16);
    b->CreateMemoryContext(0, 16, 16);
    b->ShareLists(a.get());
    ASSERT_EQ(a->SharedContexts().size(), 2u);

    TGLListHandle list;
    a->Activate();
    list.AllocateHandle();
    ASSERT_NE(list.Handle(), 0u);
    GL.glNewList(list.Handle(), GL_COMPILE);
    GL.glClearColor(0, 1, 0, 1);
    GL.glClear(GL_COLOR_BUFFER_BIT);
    GL.glEndList();
    a->Deactivate();

    const auto runListIn = [&](TGLX11Context& context) {
        context.Activate();
        GL.glClearColor(0, 0, 0, 1);
        GL.glClear(GL_COLOR_BUFFER_BIT);
        GL.glCallList(list.Handle());
        GL.glFinish();
        std::uint8_t p[4] = {};
        GL.glReadPixels(3, 3, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        const bool isList = GL.glIsList(list.Handle());
        context.Deactivate();
        return std::make_pair(isList, Rgba{p[0], p[1], p[2], p[3]});
    };
    EXPECT_EQ(runListIn(*b), std::make_pair(true, Rgba{0, 255, 0, 255}));

    // The owner goes; the name moves to the survivor and still works there.
    a.reset();
    EXPECT_EQ(list.RenderingContext(), b.get());
    EXPECT_EQ(runListIn(*b), std::make_pair(true, Rgba{0, 255, 0, 255}));
    const GLuint name = list.Handle();
    list.DestroyHandle();
    b->Activate();
    EXPECT_FALSE(GL.glIsList(name));
    b->Deactivate();
}

TEST(GLX11ContextGl, ListsCannotJoinAGroupOnceBothSidesHoldNames)
{
    RegisterGLX11ContextClass();
    TGLX11Context a;
    TGLX11Context b;
    a.CreateMemoryContext(0, 4, 4);
    b.CreateMemoryContext(0, 4, 4);
    TGLListHandle la;
    TGLListHandle lb;
    a.Activate();
    la.AllocateHandle();
    a.Deactivate();
    b.Activate();
    lb.AllocateHandle();
    b.Deactivate();
    EXPECT_THROW(a.ShareLists(&b), EGLContext);
    EXPECT_EQ(a.SharedContexts().size(), 1u);
}

TEST(GLX11ContextGl, JpegTextureUploadsAtThePowerOfTwoSize)
{
    OffscreenGL gl(16, 16);
    const auto bytes = testsupport::SolidJpeg(12, 6, 200, 40, 10);
    TJPEGImage jpeg;
    jpeg.LoadFromMemory(bytes.data(), bytes.size());
    TGLBitmap32 image;
    image.Assign(&jpeg);

    TGLTextureHandle texture;
    texture.AllocateHandle();
    GL.glBindTexture(GL_TEXTURE_2D, texture.Handle());
    GL.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    GL.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    int w = 0;
    int h = 0;
    image.UploadAsTexture(GL_TEXTURE_2D, miNearest, GL_RGBA8, w, h);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 8);
    CheckOpenGLError();

    std::vector<std::uint8_t> texels(std::size_t(w) * h * 4);
    GL.glPixelStorei(GL_PACK_ALIGNMENT, 1);
    GL.glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_NEAR(texels[0], 200, 6);
    EXPECT_NEAR(texels[1], 40, 6);
    EXPECT_NEAR(texels[2], 10, 6);
    EXPECT_EQ(texels[3], 255);
    // Sampling the texture on a quad is covered by the JPEG texture tests.
}

TEST(GLX11ContextGl, ReadPixelsAndSnapshotKeepOrientation)
{
    OffscreenGL gl(8, 4);
    GL.glClearColor(0, 0, 0, 1);
    GL.glClear(GL_COLOR_BUFFER_BIT);
    gl.Ortho2D();
    GL.glColor3f(1, 1, 1);
    FillRect(0, 2, 8, 4); // the upper half, as seen on screen
    TGLBitmap32 image;
    image.ReadPixels(Rect(0, 0, 8, 4));
    ASSERT_EQ(image.Width(), 8);
    EXPECT_EQ(image.ScanLine(0)[0], 0);   // data row 0 is the bottom
    EXPECT_EQ(image.ScanLine(3)[0], 255);
    std::unique_ptr<TBitmap> snapshot = image.MakeVCLBitmap();
    EXPECT_EQ(snapshot->ScanLine(0)[0], 255); // bitmap row 0 is the top
    EXPECT_EQ(snapshot->ScanLine(3)[0], 0);
}

} // namespace
