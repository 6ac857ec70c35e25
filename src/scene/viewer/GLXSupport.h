#pragma once
// The X11 side of OpenGL: the process's X display connection, the GLX entry points
// (fetched from the libGL the binding loaded, like every other OpenGL entry point), an
// Xlib error handler that records errors instead of ending the process, and the
// window-system extension flags answered from their GLX counterparts.

#include <GL/glx.h>

#include <string>

struct TGLXProcs {
    decltype(&::glXQueryVersion) glXQueryVersion = nullptr;
    decltype(&::glXQueryExtensionsString) glXQueryExtensionsString = nullptr;
    decltype(&::glXChooseFBConfig) glXChooseFBConfig = nullptr;
    decltype(&::glXGetFBConfigAttrib) glXGetFBConfigAttrib = nullptr;
    decltype(&::glXGetVisualFromFBConfig) glXGetVisualFromFBConfig = nullptr;
    decltype(&::glXCreateNewContext) glXCreateNewContext = nullptr;
    decltype(&::glXDestroyContext) glXDestroyContext = nullptr;
    decltype(&::glXMakeContextCurrent) glXMakeContextCurrent = nullptr;
    decltype(&::glXSwapBuffers) glXSwapBuffers = nullptr;
    decltype(&::glXCreatePbuffer) glXCreatePbuffer = nullptr;
    decltype(&::glXDestroyPbuffer) glXDestroyPbuffer = nullptr;
    decltype(&::glXGetCurrentContext) glXGetCurrentContext = nullptr;
    decltype(&::glXGetCurrentDrawable) glXGetCurrentDrawable = nullptr;
    decltype(&::glXGetCurrentReadDrawable) glXGetCurrentReadDrawable = nullptr;
    decltype(&::glXGetCurrentDisplay) glXGetCurrentDisplay = nullptr;
    // Swap control, when the driver offers it.
    PFNGLXSWAPINTERVALEXTPROC glXSwapIntervalEXT = nullptr;
    PFNGLXSWAPINTERVALMESAPROC glXSwapIntervalMESA = nullptr;
    PFNGLXGETSWAPINTERVALMESAPROC glXGetSwapIntervalMESA = nullptr;
};

extern TGLXProcs GLX;

// Loads libGL and libGLU when needed and fetches the GLX entry points; false when
// the libraries or the GLX 1.3 core are missing.
bool LoadGLXEntryPoints();

// The display contexts are made on: one connection opened on first use and kept for
// the process, unless the shell hands in its own. nullptr when no X server answers.
Display* X11Display();
void SetX11Display(Display* display);

// Major * 100 + minor of the display's GLX, 0 when unknown.
int GLXVersion();
// The GLX extensions in WGL terms, each name followed by a blank (see ReadWGLExtensions).
std::string GLXExtensionsInWGLTerms();
// Installs the platform hooks of the binding (called by the context class registration).
void InstallGLXPlatformHooks();

// Records the first X error raised while it lives; Xlib errors are asynchronous, so
// Check() syncs first. Nothing is raised from inside Xlib.
class TXErrorTrap {
public:
    explicit TXErrorTrap(Display* display);
    ~TXErrorTrap();
    TXErrorTrap(const TXErrorTrap&) = delete;
    TXErrorTrap& operator=(const TXErrorTrap&) = delete;

    // The X error code (0 when none) after syncing with the server.
    int Check();
    // "BadMatch (invalid parameter attributes)" or similar; empty when none.
    std::string Text() const;

private:
    Display* FDisplay;
    TXErrorTrap* FOuter;
    XErrorHandler FPrevious = nullptr;
};
