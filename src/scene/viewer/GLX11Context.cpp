#include "scene/viewer/GLX11Context.h"

#include "platform/core/services/DebugLog.h"
#include "scene/viewer/GLXSupport.h"

#include <cstdio>
#include <string>

#ifndef GLX_RGBA_FLOAT_TYPE_ARB
#define GLX_RGBA_FLOAT_TYPE_ARB 0x20B9
#endif

namespace {

// The configuration and vendor seen at the last activation: the extension data is
// read again only when they change.
int lastConfigID = -1;
std::string lastVendor;
bool lastVendorKnown = false;

constexpr GLenum MultisampleFilterHintNV = 0x8534;

Display* RequireDisplay()
{
    if (!LoadGLXEntryPoints()) {
        throw Exception("Unable to load the OpenGL libraries (" + std::string(OpenGLLibraryName) + ", " +
                        GLULibraryName + ")");
    }
    Display* display = X11Display();
    if (!display) {
        throw Exception("Unable to open the X display");
    }
    // The window-system flags need no context on GLX.
    InstallGLXPlatformHooks();
    ReadWGLExtensions();
    return display;
}

int ConfigAttribute(Display* display, GLXFBConfig config, int attribute)
{
    int value = 0;
    if (GLX.glXGetFBConfigAttrib(display, config, attribute, &value) != Success) {
        return -1;
    }
    return value;
}

std::string Hex(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}

} // namespace

TGLX11Context::~TGLX11Context()
{
    try {
        if (IsValid()) {
            DestroyContext();
        }
    } catch (const std::exception& e) {
        DebugLog(std::string("Could not destroy a rendering context: ") + e.what());
    }
}

TGLXFramebufferRequest TGLX11Context::Request() const
{
    TGLXFramebufferRequest request;
    request.ColorBits = ColorBits();
    request.AlphaBits = AlphaBits();
    request.DepthBits = DepthBits();
    request.StencilBits = StencilBits();
    request.AccumBits = AccumBits();
    request.AuxBuffers = AuxBuffers();
    request.AntiAliasing = AntiAliasing();
    request.MultisampleSupported = WGLExt.ARB_multisample;
    request.FloatSupported = WGLExt.ATI_pixel_format_float;
    return request;
}

GLXFBConfig TGLX11Context::ChooseConfig(Display* display, VisualID requiredVisual)
{
    std::vector<GLXFBConfig> found;
    const auto choose = [&](const TGLXAttributeList& list) {
        found.clear();
        int count = 0;
        GLXFBConfig* configs = GLX.glXChooseFBConfig(display, DefaultScreen(display), list.Data(), &count);
        for (int i = 0; i < count; ++i) {
            // A window takes only its own visual: a near match ends in BadMatch.
            if (requiredVisual == 0 ||
                static_cast<VisualID>(ConfigAttribute(display, configs[i], GLX_VISUAL_ID)) == requiredVisual) {
                found.push_back(configs[i]);
            }
        }
        if (configs) {
            XFree(configs);
        }
        return static_cast<int>(found.size());
    };
    if (ChooseFramebufferConfig(FAttributes, Request(), choose) == 0 && requiredVisual != 0) {
        // The window's visual decides in the end: an X server may tie each visual to
        // a single configuration, whatever was asked for.
        TGLXAttributeList any;
        any.Add(GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT);
        any.Add(GLX_RENDER_TYPE, GLX_RGBA_BIT);
        if (choose(any) > 0) {
            FAttributes = any;
        }
    }
    if (found.empty()) {
        throw Exception(requiredVisual == 0 ? "Format not supported for pbuffer operation."
                                            : "No OpenGL framebuffer configuration matches the window's visual");
    }
    if (WGLExt.ARB_multisample && (AntiAliasing() == aaDefault || AntiAliasing() == aaNone)) {
        // Without a wish for antialiasing, prefer a configuration without sample buffers.
        for (GLXFBConfig config : found) {
            if (ConfigAttribute(display, config, GLX_SAMPLE_BUFFERS) == 0) {
                return config;
            }
        }
        return found.back();
    }
    return found.front();
}

GLXContext TGLX11Context::NewGLXContext(Display* display, GLXFBConfig config, GLXContext share)
{
    const bool floatColor = (ColorBits() == 64 || ColorBits() == 128) && WGLExt.ATI_pixel_format_float;
    TXErrorTrap trap(display);
    GLXContext context =
        GLX.glXCreateNewContext(display, config, floatColor ? GLX_RGBA_FLOAT_TYPE_ARB : GLX_RGBA_TYPE, share, True);
    if (trap.Check() != 0 && context) {
        GLX.glXDestroyContext(display, context);
        context = nullptr;
    }
    return context;
}

void TGLX11Context::DoCreateContext(TGLOutputDevice outputDevice)
{
    Display* display = RequireDisplay();
    const Window window = static_cast<Window>(outputDevice);
    XWindowAttributes attributes;
    {
        TXErrorTrap trap(display);
        const Status ok = window ? XGetWindowAttributes(display, window, &attributes) : 0;
        if (!ok || trap.Check() != 0) {
            throw EGLContext("Invalid window for a rendering context");
        }
    }
    FAttributes.Clear();
    FAttributes.Add(GLX_X_RENDERABLE, True);
    FAttributes.Add(GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT);
    FAttributes.Add(GLX_STEREO, (Options() & RCOption(rcoStereo)) ? True : False);
    FAttributes.Add(GLX_DOUBLEBUFFER, (Options() & RCOption(rcoDoubleBuffered)) ? True : False);
    const GLXFBConfig config = ChooseConfig(display, XVisualIDFromVisual(attributes.visual));
    GLXContext context = NewGLXContext(display, config, nullptr);
    if (!context) {
        throw Exception("Unable to create a rendering context");
    }
    FDisplay = display;
    FRenderingContext = context;
    FDrawable = window;
    FPbuffer = 0;
    FConfig = config;
    FDoubleBuffered = ConfigAttribute(display, config, GLX_DOUBLEBUFFER) == True;
    FShareGroup = std::make_shared<int>();
    lastConfigID = -1; // the next activation reads the extension data again
}

void TGLX11Context::DoCreateMemoryContext(TGLOutputDevice, int width, int height)
{
    Display* display = RequireDisplay();
    if (!(WGLExt.ARB_pixel_format && WGLExt.ARB_pbuffer)) {
        throw Exception("WGL_ARB_pbuffer support required.");
    }
    FAttributes.Clear();
    FAttributes.Add(GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT);
    const GLXFBConfig config = ChooseConfig(display, 0);
    if (width <= 0 || height <= 0) {
        throw Exception("Unabled to create pbuffer.");
    }
    const int pbufferAttributes[] = {GLX_PBUFFER_WIDTH, width, GLX_PBUFFER_HEIGHT, height, GLX_PRESERVED_CONTENTS,
                                     True, GLX_LARGEST_PBUFFER, False, None};
    GLXPbuffer pbuffer = 0;
    {
        TXErrorTrap trap(display);
        pbuffer = GLX.glXCreatePbuffer(display, config, pbufferAttributes);
        if (trap.Check() != 0) {
            pbuffer = 0;
        }
    }
    if (!pbuffer) {
        throw Exception("Unabled to create pbuffer.");
    }
    GLXContext context = NewGLXContext(display, config, nullptr);
    if (!context) {
        TXErrorTrap trap(display);
        GLX.glXDestroyPbuffer(display, pbuffer);
        throw Exception("Unabled to create pbuffer's RC.");
    }
    FDisplay = display;
    FRenderingContext = context;
    FDrawable = pbuffer;
    FPbuffer = pbuffer;
    FConfig = config;
    FShareGroup = std::make_shared<int>();
    lastConfigID = -1;
}

void TGLX11Context::DoActivate()
{
    FPreviousDisplay = GLX.glXGetCurrentDisplay();
    FPreviousContext = GLX.glXGetCurrentContext();
    FPreviousDraw = GLX.glXGetCurrentDrawable();
    FPreviousRead = GLX.glXGetCurrentReadDrawable();
    {
        TXErrorTrap trap(FDisplay);
        const Bool ok = GLX.glXMakeContextCurrent(FDisplay, FDrawable, FDrawable, FRenderingContext);
        const int code = trap.Check();
        if (!ok || code != 0) {
            throw EGLContext("Context activation failed: " + Hex(code) + ", " +
                             (code ? trap.Text() : std::string("glXMakeContextCurrent failed")));
        }
    }
    const int configID = ConfigAttribute(FDisplay, FConfig, GLX_FBCONFIG_ID);
    if (configID != lastConfigID) {
        const GLubyte* vendorText = GL.glGetString(GL_VENDOR);
        const std::string vendor = vendorText ? reinterpret_cast<const char*>(vendorText) : "";
        if (!lastVendorKnown || vendor != lastVendor) {
            LoadExtensionEntryPoints();
            ReadGLVersionAndExtensions();
            lastVendor = vendor;
            lastVendorKnown = true;
        } else {
            LoadWGLExtensionEntryPoints();
            ReadWGLExtensions();
        }
        lastConfigID = configID;
    }
    if ((AntiAliasing() == aa2xHQ || AntiAliasing() == aa4xHQ) && GLExt.ARB_multisample &&
        GLExt.NV_multisample_filter_hint) {
        GL.glHint(MultisampleFilterHintNV, GL_NICEST);
    }
}

void TGLX11Context::DoDeactivate()
{
    TXErrorTrap trap(FDisplay);
    Bool ok;
    if (FPreviousContext && FPreviousDisplay) {
        ok = GLX.glXMakeContextCurrent(FPreviousDisplay, FPreviousDraw, FPreviousRead, FPreviousContext);
    } else {
        ok = GLX.glXMakeContextCurrent(FDisplay, None, None, nullptr);
    }
    const bool restoring = FPreviousContext && FPreviousDisplay;
    FPreviousDisplay = nullptr;
    FPreviousContext = nullptr;
    FPreviousDraw = 0;
    FPreviousRead = 0;
    if (ok && trap.Check() == 0) {
        return;
    }
    // The context that was current before ours (another toolkit's) would not come
    // back: leaving none current is still a clean state.
    if (restoring && GLX.glXMakeContextCurrent(FDisplay, None, None, nullptr) && trap.Check() == 0) {
        DebugLog("the previous OpenGL context could not be made current again; none is current");
        return;
    }
    throw Exception("Context deactivation failed");
}

void TGLX11Context::SwapBuffers()
{
    // The configuration decides: a window whose visual is double-buffered shows
    // nothing until swapped, even when a single buffer was asked for.
    if (FRenderingContext && !FPbuffer && FDrawable && FDoubleBuffered) {
        GLX.glXSwapBuffers(FDisplay, FDrawable);
    }
}

bool TGLX11Context::SetSwapInterval(int interval)
{
    if (!Active() || FPbuffer || !FDrawable) {
        return false;
    }
    if (GLX.glXSwapIntervalEXT && WGLExt.EXT_swap_control) {
        TXErrorTrap trap(FDisplay);
        GLX.glXSwapIntervalEXT(FDisplay, FDrawable, interval);
        if (trap.Check() == 0) {
            return true;
        }
    }
    return GLX.glXSwapIntervalMESA && WGLExt.EXT_swap_control && GLX.glXSwapIntervalMESA(interval) == 0;
}

void TGLX11Context::DoShareLists(TGLContext* other)
{
    auto* peer = ObjectCast<TGLX11Context>(other);
    if (!peer || !peer->IsValid() || peer->FDisplay != FDisplay) {
        throw Exception("Incompatible contexts");
    }
    if (peer->FRenderingContext == FRenderingContext || peer->FShareGroup == FShareGroup) {
        return;
    }
    // GLX shares only at creation: re-create whichever side holds nothing yet inside
    // the other's share group.
    const auto fresh = [](const TGLX11Context* c) {
        return c->OwnedHandles().empty() && !c->Active() && c->SharedContexts().size() <= 1;
    };
    TGLX11Context* joiner = fresh(this) ? this : (fresh(peer) ? peer : nullptr);
    if (!joiner) {
        throw EGLContext("Lists can only be shared before either context holds display lists or textures");
    }
    TGLX11Context* host = joiner == this ? peer : this;
    GLXContext replacement = NewGLXContext(FDisplay, joiner->FConfig, host->FRenderingContext);
    if (!replacement) {
        throw Exception("Incompatible contexts");
    }
    {
        TXErrorTrap trap(FDisplay);
        GLX.glXDestroyContext(FDisplay, joiner->FRenderingContext);
    }
    joiner->FRenderingContext = replacement;
    joiner->FShareGroup = host->FShareGroup;
}

void TGLX11Context::DoDestroyContext()
{
    int code = 0;
    {
        TXErrorTrap trap(FDisplay);
        if (FRenderingContext) {
            GLX.glXDestroyContext(FDisplay, FRenderingContext);
        }
        if (FPbuffer) {
            GLX.glXDestroyPbuffer(FDisplay, FPbuffer);
        }
        code = trap.Check();
    }
    FRenderingContext = nullptr;
    FPbuffer = 0;
    FDrawable = 0;
    FConfig = nullptr;
    FDoubleBuffered = false;
    FShareGroup.reset();
    if (code != 0) {
        throw EGLContext("Delete context failed");
    }
}

void RegisterGLX11ContextClass()
{
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    InstallGLXPlatformHooks();
    RegisterGLContextClass<TGLX11Context>();
}
