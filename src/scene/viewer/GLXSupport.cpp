#include "scene/viewer/GLXSupport.h"

#include "platform/core/services/DebugLog.h"
#include "scene/base/OpenGLBinding.h"

#include <dlfcn.h>

#include <cstring>

TGLXProcs GLX;

namespace {

Display* display = nullptr;
bool ownDisplay = false;
bool handlerInstalled = false;

TXErrorTrap* innermostTrap = nullptr;
int trappedCode = 0;
std::string trappedText;

// Xlib calls this for every error; the default handler would end the process.
int RecordXError(Display* d, XErrorEvent* event)
{
    char text[256] = {};
    XGetErrorText(d, event->error_code, text, sizeof text);
    if (innermostTrap) {
        if (trappedCode == 0) {
            trappedCode = event->error_code;
            trappedText = text;
        }
    } else {
        DebugLog(std::string("X error: ") + text + " (request " + std::to_string(event->request_code) + "." +
                 std::to_string(event->minor_code) + ")");
    }
    return 0;
}

void InstallErrorHandler()
{
    if (!handlerInstalled) {
        XSetErrorHandler(RecordXError);
        handlerInstalled = true;
    }
}

template <class F>
bool FetchGLX(F& slot, const char* name)
{
    slot = reinterpret_cast<F>(dlsym(OpenGLLibraryHandle(), name));
    return slot != nullptr;
}

template <class F>
void FetchGLXExtension(F& slot, const char* name)
{
    slot = reinterpret_cast<F>(GetGLProcAddress(name));
}

std::string ExtensionsString()
{
    Display* d = X11Display();
    if (!d || !GLX.glXQueryExtensionsString) {
        return {};
    }
    const char* text = GLX.glXQueryExtensionsString(d, DefaultScreen(d));
    return text ? text : "";
}

bool HasGLXExtension(const std::string& extensions, const char* name)
{
    // Whole names only: GLX_EXT_swap_control must not match GLX_EXT_swap_control_tear.
    const std::size_t length = std::strlen(name);
    for (std::size_t p = extensions.find(name); p != std::string::npos; p = extensions.find(name, p + 1)) {
        const bool startOk = p == 0 || extensions[p - 1] == ' ';
        const bool endOk = p + length == extensions.size() || extensions[p + length] == ' ';
        if (startOk && endOk) {
            return true;
        }
    }
    return false;
}

void LoadSwapControl()
{
    FetchGLXExtension(GLX.glXSwapIntervalEXT, "glXSwapIntervalEXT");
    FetchGLXExtension(GLX.glXSwapIntervalMESA, "glXSwapIntervalMESA");
    FetchGLXExtension(GLX.glXGetSwapIntervalMESA, "glXGetSwapIntervalMESA");
}

} // namespace

bool LoadGLXEntryPoints()
{
    if (!InitOpenGLLibraries()) {
        return false;
    }
    bool ok = FetchGLX(GLX.glXQueryVersion, "glXQueryVersion");
    ok = FetchGLX(GLX.glXQueryExtensionsString, "glXQueryExtensionsString") && ok;
    ok = FetchGLX(GLX.glXChooseFBConfig, "glXChooseFBConfig") && ok;
    ok = FetchGLX(GLX.glXGetFBConfigAttrib, "glXGetFBConfigAttrib") && ok;
    ok = FetchGLX(GLX.glXGetVisualFromFBConfig, "glXGetVisualFromFBConfig") && ok;
    ok = FetchGLX(GLX.glXCreateNewContext, "glXCreateNewContext") && ok;
    ok = FetchGLX(GLX.glXDestroyContext, "glXDestroyContext") && ok;
    ok = FetchGLX(GLX.glXMakeContextCurrent, "glXMakeContextCurrent") && ok;
    ok = FetchGLX(GLX.glXSwapBuffers, "glXSwapBuffers") && ok;
    ok = FetchGLX(GLX.glXCreatePbuffer, "glXCreatePbuffer") && ok;
    ok = FetchGLX(GLX.glXDestroyPbuffer, "glXDestroyPbuffer") && ok;
    ok = FetchGLX(GLX.glXGetCurrentContext, "glXGetCurrentContext") && ok;
    ok = FetchGLX(GLX.glXGetCurrentDrawable, "glXGetCurrentDrawable") && ok;
    ok = FetchGLX(GLX.glXGetCurrentReadDrawable, "glXGetCurrentReadDrawable") && ok;
    ok = FetchGLX(GLX.glXGetCurrentDisplay, "glXGetCurrentDisplay") && ok;
    LoadSwapControl();
    return ok;
}

Display* X11Display()
{
    if (!display) {
        display = XOpenDisplay(nullptr);
        ownDisplay = display != nullptr;
    }
    if (display) {
        InstallErrorHandler();
    }
    return display;
}

void SetX11Display(Display* d)
{
    if (display && ownDisplay && d != display) {
        // Contexts made on the old connection stay valid until the process ends; the
        // connection is kept open for them.
        ownDisplay = false;
    }
    display = d;
}

int GLXVersion()
{
    Display* d = X11Display();
    int major = 0;
    int minor = 0;
    if (!d || !GLX.glXQueryVersion || !GLX.glXQueryVersion(d, &major, &minor)) {
        return 0;
    }
    return major * 100 + minor;
}

std::string GLXExtensionsInWGLTerms()
{
    const std::string glx = ExtensionsString();
    std::string wgl;
    if (GLX.glXQueryExtensionsString) {
        wgl += "WGL_ARB_extensions_string ";
    }
    if (GLXVersion() >= 103) {
        wgl += "WGL_ARB_pixel_format WGL_ARB_pbuffer ";
    }
    if (HasGLXExtension(glx, "GLX_ARB_multisample")) {
        wgl += "WGL_ARB_multisample ";
    }
    if (HasGLXExtension(glx, "GLX_EXT_swap_control") || HasGLXExtension(glx, "GLX_MESA_swap_control")) {
        wgl += "WGL_EXT_swap_control ";
    }
    if (HasGLXExtension(glx, "GLX_ARB_fbconfig_float")) {
        wgl += "WGL_ATI_pixel_format_float ";
    }
    return wgl;
}

void InstallGLXPlatformHooks()
{
    GLPlatformHooks.ExtensionsString = GLXExtensionsInWGLTerms;
    GLPlatformHooks.LoadEntryPoints = LoadSwapControl;
}

TXErrorTrap::TXErrorTrap(Display* d) : FDisplay(d), FOuter(innermostTrap)
{
    InstallErrorHandler();
    if (FDisplay) {
        XSync(FDisplay, False);
    }
    // Someone (the toolkit) may have replaced our handler since; ours records here.
    FPrevious = XSetErrorHandler(RecordXError);
    if (!FOuter) {
        trappedCode = 0;
        trappedText.clear();
    }
    innermostTrap = this;
}

TXErrorTrap::~TXErrorTrap()
{
    if (FDisplay) {
        XSync(FDisplay, False);
    }
    XSetErrorHandler(FPrevious);
    innermostTrap = FOuter;
}

int TXErrorTrap::Check()
{
    if (FDisplay) {
        XSync(FDisplay, False);
    }
    return trappedCode;
}

std::string TXErrorTrap::Text() const
{
    return trappedText;
}
