#pragma once
// The one place where the scene meets OpenGL. libGL and libGLU are loaded at run time
// and every entry point the scene calls lives in the table `GL`; scene code writes
// GL.glEnable(GL_BLEND), never ::glEnable (the scene does not link libGL, so a direct
// call fails to link). Unit tests swap in a recording table (GLRecordingTable.h).
//
// Version and extension flags are process-wide and valid until the next read. The
// platform context (window system side) supplies the window-system extension string
// and entry points through TGLPlatformHooks, so this layer knows nothing of X11.

#include <GL/gl.h>
#include <GL/glu.h>

#include <string>
#include <string_view>

// The two GLX entry points of GL_NV_vertex_array_range (glxext.h would bring Xlib in).
using TGLXAllocateMemoryNVProc = void* (*)(GLsizei size, GLfloat readFrequency, GLfloat writeFrequency,
                                           GLfloat priority);
using TGLXFreeMemoryNVProc = void (*)(void* pointer);

struct TGLProcTable {
#define KP_GL_CORE(name) decltype(&::name) name = nullptr;
#define KP_GLU(name) decltype(&::name) name = nullptr;
#define KP_GL_EXT(name, type) type name = nullptr;
#include "scene/base/GLEntryPoints.inc"
#undef KP_GL_CORE
#undef KP_GLU
#undef KP_GL_EXT
};

// The active entry points. All scene OpenGL and GLU calls go through it.
extern TGLProcTable GL;

struct TGLVersionFlags {
    bool OpenGL_1_0 = false, OpenGL_1_1 = false, OpenGL_1_2 = false, OpenGL_1_3 = false,
         OpenGL_1_4 = false, OpenGL_1_5 = false;
    bool GLU_1_1 = false, GLU_1_2 = false, GLU_1_3 = false;
};

// One flag per extension, named after it without its "GL_" prefix ("GL_ARB_multitexture"
// is GLExt.ARB_multitexture; names starting with a digit get a leading underscore).
struct TGLExtensionFlags {
#define KP_GL_FLAG(member, text) bool member = false;
#include "scene/base/GLExtensionFlags.inc"
#undef KP_GL_FLAG
};

struct TGLUExtensionFlags {
#define KP_GLU_FLAG(member, text) bool member = false;
#include "scene/base/GLExtensionFlags.inc"
#undef KP_GLU_FLAG
};

// The window-system flags keep their WGL names; the GLX context answers them from the
// GLX counterparts (pixel formats and pbuffers from GLX 1.3, swap control, multisample).
struct TWGLExtensionFlags {
#define KP_WGL_FLAG(member, text) bool member = false;
#include "scene/base/GLExtensionFlags.inc"
#undef KP_WGL_FLAG
};

extern TGLVersionFlags GLVersion;
extern TGLExtensionFlags GLExt;
extern TGLUExtensionFlags GLUExt;
extern TWGLExtensionFlags WGLExt;

// Supplied by the platform rendering context; both may stay null (no window system).
struct TGLPlatformHooks {
    // The window-system extension string in WGL terms; empty when unknown.
    std::string (*ExtensionsString)() = nullptr;
    // Fetches the window-system entry points the platform context needs.
    void (*LoadEntryPoints)() = nullptr;
};
extern TGLPlatformHooks GLPlatformHooks;

// Library names on this platform.
extern const char* const OpenGLLibraryName; // "libGL.so.1"
extern const char* const GLULibraryName;    // "libGLU.so.1"

bool InitOpenGLLibraries();
bool LoadOpenGLLibraries(const std::string& glName, const std::string& gluName);
void UnloadOpenGLLibraries();
bool OpenGLLibrariesLoaded();
// The dlopen handle of libGL, for the platform context's own window-system entry points.
void* OpenGLLibraryHandle();
bool IsMesaOpenGL();
// An entry point by name: glXGetProcAddressARB when libGL offers it, else dlsym.
void* GetGLProcAddress(const char* name);

void LoadExtensionEntryPoints();
void LoadWGLExtensionEntryPoints();
void ReadGLVersionAndExtensions();
void ReadWGLExtensions();

// True when the first occurrence of `name` ends the string or is followed by a blank.
bool HasGLExtension(std::string_view name, std::string_view extensions);
// A plain substring test.
bool HasWGLExtension(std::string_view name, std::string_view extensions);
// "1.5.0 Vendor" gives 1 and 5; malformed text gives 0 and 0.
void SplitVersionString(std::string_view text, int& major, int& minor);
