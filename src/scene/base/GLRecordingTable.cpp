#include "scene/base/GLRecordingTable.h"

#include "platform/core/Assert.h"
#include "platform/core/text/NumberFormat.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <unordered_map>

namespace {

TGLRecorder* current = nullptr;

enum TEntryIndex {
#define KP_GL_CORE(name) ix_##name,
#define KP_GLU(name) ix_##name,
#define KP_GL_EXT(name, type) ix_##name,
#include "scene/base/GLEntryPoints.inc"
#undef KP_GL_CORE
#undef KP_GLU
#undef KP_GL_EXT
    ixCount
};

const char* const entryNames[] = {
#define KP_GL_CORE(name) #name,
#define KP_GLU(name) #name,
#define KP_GL_EXT(name, type) #name,
#include "scene/base/GLEntryPoints.inc"
#undef KP_GL_CORE
#undef KP_GLU
#undef KP_GL_EXT
};

// How many values stand behind the pointer argument of the calls tests look into.
int DataLength(std::string_view name)
{
    static const std::unordered_map<std::string_view, int> lengths = {
        {"glMaterialfv", 4},      {"glMaterialiv", 4},      {"glLightfv", 4},         {"glLightModelfv", 4},
        {"glFogfv", 4},           {"glColor3fv", 3},        {"glColor4fv", 4},        {"glColor3ubv", 3},
        {"glColor4ubv", 4},       {"glNormal3fv", 3},       {"glVertex2fv", 2},       {"glVertex3fv", 3},
        {"glVertex4fv", 4},       {"glTexCoord1fv", 1},     {"glTexCoord2fv", 2},     {"glTexCoord3fv", 3},
        {"glTexCoord4fv", 4},     {"glMultiTexCoord1fvARB", 1}, {"glMultiTexCoord2fvARB", 2},
        {"glMultiTexCoord3fvARB", 3}, {"glMultiTexCoord4fvARB", 4}, {"glLoadMatrixf", 16},
        {"glMultMatrixf", 16},    {"glLoadMatrixd", 16},    {"glMultMatrixd", 16},    {"glTexGenfv", 4},
        {"glTexGeniv", 4},        {"glTexEnvfv", 4},        {"glTexParameterfv", 4},  {"glClipPlane", 4},
        {"glPointParameterfvARB", 3},
    };
    const auto it = lengths.find(name);
    return it == lengths.end() ? 0 : it->second;
}

template <class T>
void AddArg(TGLCall& call, int length, T value)
{
    if (!call.Text.empty() && call.Text.back() != '(') {
        call.Text += ", ";
    }
    if constexpr (std::is_pointer_v<T>) {
        call.Args.push_back(0);
        call.Text += "@";
        using Pointee = std::remove_pointer_t<T>;
        if constexpr (std::is_arithmetic_v<Pointee>) {
            if (value && call.Data.empty()) {
                for (int i = 0; i < length; ++i) {
                    call.Data.push_back(static_cast<double>(value[i]));
                }
            }
        }
    } else {
        call.Args.push_back(static_cast<double>(value));
        call.Text += FloatToStr(static_cast<double>(value));
    }
}

template <class... A>
void RecordCall(const char* name, A... args)
{
    if (!current) {
        return;
    }
    TGLCall call;
    call.Name = name;
    call.Text = call.Name + "(";
    [[maybe_unused]] const int length = DataLength(call.Name);
    (AddArg(call, length, args), ...);
    call.Text += ")";
    current->Record(std::move(call));
}

template <int Id, class F>
struct TThunk;

template <int Id, class R, class... A>
struct TThunk<Id, R (*)(A...)> {
    static R Call(A... args)
    {
        RecordCall(entryNames[Id], args...);
        if constexpr (!std::is_void_v<R>) {
            return R{};
        }
    }
};

template <int Id, class F>
void Install(F& slot)
{
    slot = &TThunk<Id, F>::Call;
}

// The queries answer from the recorder's fields.

const GLubyte* AsUBytes(const std::string& s)
{
    return reinterpret_cast<const GLubyte*>(s.c_str());
}

const GLubyte* RecGetString(GLenum name)
{
    RecordCall("glGetString", name);
    switch (name) {
    case GL_VENDOR:
        return AsUBytes(current->Vendor);
    case GL_RENDERER:
        return AsUBytes(current->Renderer);
    case GL_VERSION:
        return AsUBytes(current->Version);
    case GL_EXTENSIONS:
        return AsUBytes(current->Extensions);
    default:
        return nullptr;
    }
}

GLenum RecGetError()
{
    RecordCall("glGetError");
    if (current->PendingErrors.empty()) {
        return GL_NO_ERROR;
    }
    const GLenum e = current->PendingErrors.front();
    current->PendingErrors.pop_front();
    return e;
}

void RecGetIntegerv(GLenum name, GLint* values)
{
    RecordCall("glGetIntegerv", name, values);
    const auto it = current->Integers.find(name);
    if (it != current->Integers.end()) {
        std::copy(it->second.begin(), it->second.end(), values);
    } else {
        values[0] = 0;
    }
}

void RecGetFloatv(GLenum name, GLfloat* values)
{
    RecordCall("glGetFloatv", name, values);
    const auto it = current->Floats.find(name);
    if (it != current->Floats.end()) {
        std::copy(it->second.begin(), it->second.end(), values);
    } else {
        values[0] = 0;
    }
}

void RecGetDoublev(GLenum name, GLdouble* values)
{
    RecordCall("glGetDoublev", name, values);
    const auto it = current->Floats.find(name);
    if (it != current->Floats.end()) {
        std::copy(it->second.begin(), it->second.end(), values);
    } else {
        values[0] = 0;
    }
}

GLuint RecGenLists(GLsizei range)
{
    RecordCall("glGenLists", range);
    const GLuint first = current->NextName;
    current->NextName += static_cast<GLuint>(range);
    return first;
}

void RecGenTextures(GLsizei n, GLuint* names)
{
    RecordCall("glGenTextures", n, names);
    for (GLsizei i = 0; i < n; ++i) {
        names[i] = current->NextName++;
        current->ExistingTextures.push_back(names[i]);
    }
}

void RecDeleteTextures(GLsizei n, const GLuint* names)
{
    RecordCall("glDeleteTextures", n, names);
    TGLCall& call = current->LastCall();
    for (GLsizei i = 0; i < n; ++i) {
        call.Data.push_back(names[i]);
        auto& existing = current->ExistingTextures;
        existing.erase(std::remove(existing.begin(), existing.end(), names[i]), existing.end());
    }
}

GLboolean RecIsTexture(GLuint name)
{
    RecordCall("glIsTexture", name);
    const auto& existing = current->ExistingTextures;
    return std::find(existing.begin(), existing.end(), name) != existing.end() ? GL_TRUE : GL_FALSE;
}

const GLubyte* RecGluGetString(GLenum name)
{
    RecordCall("gluGetString", name);
    switch (name) {
    case GLU_VERSION:
        return AsUBytes(current->GLUVersion);
    case GLU_EXTENSIONS:
        return AsUBytes(current->GLUExtensions);
    default:
        return nullptr;
    }
}

const GLubyte* RecGluErrorString(GLenum error)
{
    RecordCall("gluErrorString", error);
    const char* text = "unknown error";
    switch (error) {
    case GL_NO_ERROR:
        text = "no error";
        break;
    case GL_INVALID_ENUM:
        text = "invalid enumerant";
        break;
    case GL_INVALID_VALUE:
        text = "invalid value";
        break;
    case GL_INVALID_OPERATION:
        text = "invalid operation";
        break;
    case GL_STACK_OVERFLOW:
        text = "stack overflow";
        break;
    case GL_STACK_UNDERFLOW:
        text = "stack underflow";
        break;
    case GL_OUT_OF_MEMORY:
        text = "out of memory";
        break;
    }
    return reinterpret_cast<const GLubyte*>(text);
}

// Nearest-pixel scaling of RGBA bytes, enough for tests to follow the pixels.
GLint RecGluScaleImage(GLenum format, GLsizei wIn, GLsizei hIn, GLenum typeIn, const void* dataIn, GLsizei wOut,
                       GLsizei hOut, GLenum typeOut, GLvoid* dataOut)
{
    RecordCall("gluScaleImage", format, wIn, hIn, typeIn, dataIn, wOut, hOut, typeOut, dataOut);
    if (format != GL_RGBA || typeIn != GL_UNSIGNED_BYTE || typeOut != GL_UNSIGNED_BYTE || wOut <= 0 || hOut <= 0) {
        return GLU_INVALID_ENUM;
    }
    const auto* in = static_cast<const std::uint8_t*>(dataIn);
    auto* out = static_cast<std::uint8_t*>(dataOut);
    for (GLsizei y = 0; y < hOut; ++y) {
        const GLsizei sy = y * hIn / hOut;
        for (GLsizei x = 0; x < wOut; ++x) {
            const GLsizei sx = x * wIn / wOut;
            std::memcpy(out + (std::size_t(y) * wOut + x) * 4, in + (std::size_t(sy) * wIn + sx) * 4, 4);
        }
    }
    return 0;
}

void RecReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid* pixels)
{
    RecordCall("glReadPixels", x, y, width, height, format, type, pixels);
    if (format != GL_RGBA || type != GL_UNSIGNED_BYTE) {
        return;
    }
    auto* out = static_cast<std::uint8_t*>(pixels);
    for (GLsizei row = 0; row < height; ++row) {
        for (GLsizei col = 0; col < width; ++col) {
            const int fx = x + col;
            const int fy = y + row;
            std::uint8_t* dst = out + (std::size_t(row) * width + col) * 4;
            if (fx < current->FrameWidth && fy < current->FrameHeight &&
                current->FramePixels.size() >= std::size_t(current->FrameWidth) * current->FrameHeight * 4) {
                std::memcpy(dst, &current->FramePixels[(std::size_t(fy) * current->FrameWidth + fx) * 4], 4);
            } else {
                std::memset(dst, 0, 4);
            }
        }
    }
}

void* RecXAllocateMemoryNV(GLsizei size, GLfloat readFrequency, GLfloat writeFrequency, GLfloat priority)
{
    RecordCall("glXAllocateMemoryNV", size, readFrequency, writeFrequency, priority);
    if (!current->GrantFastMemory) {
        return nullptr;
    }
    void* block = std::malloc(size > 0 ? static_cast<std::size_t>(size) : 1);
    current->FastBlocks().insert(block);
    return block;
}

void RecXFreeMemoryNV(void* pointer)
{
    RecordCall("glXFreeMemoryNV", pointer);
    if (current->FastBlocks().erase(pointer) > 0) {
        std::free(pointer);
    }
}

} // namespace

TGLRecorder::TGLRecorder() : FSaved(GL)
{
    KP_ASSERT_MSG(!current, "Only one OpenGL recorder at a time");
    current = this;
#define KP_GL_CORE(name) Install<ix_##name>(GL.name);
#define KP_GLU(name) Install<ix_##name>(GL.name);
#define KP_GL_EXT(name, type) Install<ix_##name>(GL.name);
#include "scene/base/GLEntryPoints.inc"
#undef KP_GL_CORE
#undef KP_GLU
#undef KP_GL_EXT
    GL.glGetString = RecGetString;
    GL.glGetError = RecGetError;
    GL.glGetIntegerv = RecGetIntegerv;
    GL.glGetFloatv = RecGetFloatv;
    GL.glGetDoublev = RecGetDoublev;
    GL.glGenLists = RecGenLists;
    GL.glGenTextures = RecGenTextures;
    GL.glDeleteTextures = RecDeleteTextures;
    GL.glIsTexture = RecIsTexture;
    GL.gluGetString = RecGluGetString;
    GL.gluErrorString = RecGluErrorString;
    GL.gluScaleImage = RecGluScaleImage;
    GL.glReadPixels = RecReadPixels;
    GL.glXAllocateMemoryNV = RecXAllocateMemoryNV;
    GL.glXFreeMemoryNV = RecXFreeMemoryNV;
}

TGLRecorder::~TGLRecorder()
{
    for (void* block : FFastBlocks) {
        std::free(block);
    }
    GL = FSaved;
    current = nullptr;
}

TGLRecorder* TGLRecorder::Current()
{
    return current;
}

std::vector<TGLCall> TGLRecorder::CallsTo(std::string_view name) const
{
    std::vector<TGLCall> result;
    for (const TGLCall& call : FCalls) {
        if (call.Name == name) {
            result.push_back(call);
        }
    }
    return result;
}

std::vector<std::string> TGLRecorder::Texts() const
{
    std::vector<std::string> result;
    result.reserve(FCalls.size());
    for (const TGLCall& call : FCalls) {
        result.push_back(call.Text);
    }
    return result;
}

int TGLRecorder::Count(std::string_view name) const
{
    return static_cast<int>(std::count_if(FCalls.begin(), FCalls.end(), [&](const TGLCall& c) { return c.Name == name; }));
}
