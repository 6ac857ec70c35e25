#include "scene/base/OpenGLBinding.h"

#include "platform/core/text/NumberFormat.h"

#include <dlfcn.h>

TGLProcTable GL;
TGLVersionFlags GLVersion;
TGLExtensionFlags GLExt;
TGLUExtensionFlags GLUExt;
TWGLExtensionFlags WGLExt;
TGLPlatformHooks GLPlatformHooks;

const char* const OpenGLLibraryName = "libGL.so.1";
const char* const GLULibraryName = "libGLU.so.1";

namespace {

void* glHandle = nullptr;
void* gluHandle = nullptr;

using TGetProcAddress = void (*(*)(const GLubyte*))();
TGetProcAddress getProcAddress = nullptr;

template <class F>
void Fetch(F& slot, void* handle, const char* name)
{
    slot = reinterpret_cast<F>(dlsym(handle, name));
}

template <class F>
void FetchExtension(F& slot, const char* name)
{
    slot = reinterpret_cast<F>(GetGLProcAddress(name));
}

void FetchLibraryEntryPoints()
{
#define KP_GL_CORE(name) Fetch(GL.name, glHandle, #name);
#define KP_GLU(name) Fetch(GL.name, gluHandle, #name);
#include "scene/base/GLEntryPoints.inc"
#undef KP_GL_CORE
#undef KP_GLU
    getProcAddress = reinterpret_cast<TGetProcAddress>(dlsym(glHandle, "glXGetProcAddressARB"));
}

std::string_view SafeText(const GLubyte* text)
{
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool InitOpenGLLibraries()
{
    if (glHandle && gluHandle) {
        return true;
    }
    return LoadOpenGLLibraries(OpenGLLibraryName, GLULibraryName);
}

bool LoadOpenGLLibraries(const std::string& glName, const std::string& gluName)
{
    UnloadOpenGLLibraries();
    glHandle = dlopen(glName.c_str(), RTLD_NOW | RTLD_GLOBAL);
    gluHandle = dlopen(gluName.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (glHandle && gluHandle) {
        FetchLibraryEntryPoints();
        return true;
    }
    UnloadOpenGLLibraries();
    return false;
}

void UnloadOpenGLLibraries()
{
    // The table must not keep addresses into unloaded code.
    if (glHandle || gluHandle) {
        GL = TGLProcTable{};
        getProcAddress = nullptr;
    }
    if (gluHandle) {
        dlclose(gluHandle);
        gluHandle = nullptr;
    }
    if (glHandle) {
        dlclose(glHandle);
        glHandle = nullptr;
    }
}

bool OpenGLLibrariesLoaded()
{
    return glHandle && gluHandle;
}

void* OpenGLLibraryHandle()
{
    return glHandle;
}

bool IsMesaOpenGL()
{
    return glHandle && dlsym(glHandle, "glResizeBuffersMESA");
}

void* GetGLProcAddress(const char* name)
{
    if (getProcAddress) {
        return reinterpret_cast<void*>(getProcAddress(reinterpret_cast<const GLubyte*>(name)));
    }
    return glHandle ? dlsym(glHandle, name) : nullptr;
}

void LoadExtensionEntryPoints()
{
#define KP_GL_EXT(name, type) FetchExtension(GL.name, #name);
#include "scene/base/GLEntryPoints.inc"
#undef KP_GL_EXT
    LoadWGLExtensionEntryPoints();
}

void LoadWGLExtensionEntryPoints()
{
    if (GLPlatformHooks.LoadEntryPoints) {
        GLPlatformHooks.LoadEntryPoints();
    }
}

void SplitVersionString(std::string_view text, int& major, int& minor)
{
    major = 0;
    minor = 0;
    const std::size_t dot = text.find('.');
    // The dot needs a digit on both sides.
    if (dot == std::string_view::npos || dot == 0 || dot + 1 >= text.size() || !IsDigit(text[dot - 1]) ||
        !IsDigit(text[dot + 1])) {
        return;
    }
    std::size_t begin = dot;
    while (begin > 0 && IsDigit(text[begin - 1])) {
        --begin;
    }
    std::size_t end = dot + 1;
    while (end < text.size() && IsDigit(text[end])) {
        ++end;
    }
    int a = 0;
    int b = 0;
    if (TryStrToInt(text.substr(begin, dot - begin), a) && TryStrToInt(text.substr(dot + 1, end - dot - 1), b)) {
        major = a;
        minor = b;
    }
}

bool HasGLExtension(std::string_view name, std::string_view extensions)
{
    const std::size_t p = extensions.find(name);
    if (p == std::string_view::npos || name.empty()) {
        return false;
    }
    const std::size_t after = p + name.size();
    return after == extensions.size() || extensions[after] == ' ';
}

bool HasWGLExtension(std::string_view name, std::string_view extensions)
{
    return extensions.find(name) != std::string_view::npos;
}

void ReadGLVersionAndExtensions()
{
    int major = 0;
    int minor = 0;
    SplitVersionString(GL.glGetString ? SafeText(GL.glGetString(GL_VERSION)) : std::string_view(), major, minor);
    GLVersion.OpenGL_1_0 = true;
    GLVersion.OpenGL_1_1 = minor >= 1 || major > 1;
    GLVersion.OpenGL_1_2 = minor >= 2 || major > 1;
    GLVersion.OpenGL_1_3 = minor >= 3 || major > 1;
    GLVersion.OpenGL_1_4 = minor >= 4 || major > 1;
    GLVersion.OpenGL_1_5 = minor >= 5 || major > 1;

    SplitVersionString(GL.gluGetString ? SafeText(GL.gluGetString(GLU_VERSION)) : std::string_view(), major, minor);
    GLVersion.GLU_1_1 = true;
    GLVersion.GLU_1_2 = minor > 1 || major > 1;
    GLVersion.GLU_1_3 = minor > 2 || major > 1;

    // Copy the strings: the driver's pointers may move with the next query.
    const std::string glExtensions(GL.glGetString ? SafeText(GL.glGetString(GL_EXTENSIONS)) : std::string_view());
#define KP_GL_FLAG(member, text) GLExt.member = HasGLExtension(text, glExtensions);
#include "scene/base/GLExtensionFlags.inc"
#undef KP_GL_FLAG
    // Tested in the OpenGL string, then set again from the window-system string.
    WGLExt.ARB_extensions_string = HasGLExtension("WGL_ARB_extensions_string", glExtensions);

    const std::string gluExtensions(GL.gluGetString ? SafeText(GL.gluGetString(GLU_EXTENSIONS)) : std::string_view());
#define KP_GLU_FLAG(member, text) GLUExt.member = HasGLExtension(text, gluExtensions);
#include "scene/base/GLExtensionFlags.inc"
#undef KP_GLU_FLAG

    ReadWGLExtensions();
}

void ReadWGLExtensions()
{
    const std::string extensions = GLPlatformHooks.ExtensionsString ? GLPlatformHooks.ExtensionsString() : std::string();
#define KP_WGL_FLAG(member, text) WGLExt.member = HasWGLExtension(text, extensions);
#include "scene/base/GLExtensionFlags.inc"
#undef KP_WGL_FLAG
}
