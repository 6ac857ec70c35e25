#pragma once
// A stand-in for the OpenGL driver in unit tests: while a TGLRecorder lives, the
// table `GL` logs every call (name and arguments) and answers the queries the scene
// makes (strings, errors, integers, generated names, read-back pixels) from fields
// the test sets. No display and no libGL are needed. Only one recorder at a time.

#include "scene/base/OpenGLBinding.h"

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

struct TGLCall {
    std::string Name;
    // Numbers as given; pointer arguments appear as 0 here and in the text as "@".
    std::vector<double> Args;
    // The values behind the first pointer argument for calls whose element count is
    // known (glMaterialfv: 4, glLoadMatrixf: 16, ...); empty otherwise.
    std::vector<double> Data;
    // "glEnable(3042)", "glMaterialfv(1028, 4608, @)".
    std::string Text;
};

class TGLRecorder {
public:
    TGLRecorder();
    ~TGLRecorder();
    TGLRecorder(const TGLRecorder&) = delete;
    TGLRecorder& operator=(const TGLRecorder&) = delete;

    static TGLRecorder* Current();

    // The calls in order, optionally only those with the given name.
    const std::vector<TGLCall>& Calls() const { return FCalls; }
    std::vector<TGLCall> CallsTo(std::string_view name) const;
    std::vector<std::string> Texts() const;
    int Count(std::string_view name) const;
    void Clear() { FCalls.clear(); }

    // Answers.
    std::string Vendor = "Recorder";
    std::string Renderer = "Recorder";
    std::string Version = "1.1";
    std::string Extensions;
    std::string GLUVersion = "1.3";
    std::string GLUExtensions;
    std::deque<GLenum> PendingErrors;     // glGetError pops from the front, then 0
    std::map<GLenum, std::vector<GLint>> Integers; // glGetIntegerv
    std::map<GLenum, std::vector<GLfloat>> Floats; // glGetFloatv and glGetDoublev
    std::vector<GLuint> ExistingTextures; // glIsTexture; glGenTextures adds to it
    GLuint NextName = 1;                  // glGenLists / glGenTextures hand out from here
    // glReadPixels copies from here (RGBA rows from the bottom), Width x Height pixels.
    std::vector<std::uint8_t> FramePixels;
    int FrameWidth = 0;
    int FrameHeight = 0;
    // glXAllocateMemoryNV hands out ordinary heap blocks while this is set (nil
    // otherwise); glXFreeMemoryNV takes them back, the recorder frees what is left.
    bool GrantFastMemory = true;
    int FastBlocksInUse() const { return static_cast<int>(FFastBlocks.size()); }

    // Used by the recording entry points.
    void Record(TGLCall&& call) { FCalls.push_back(std::move(call)); }
    TGLCall& LastCall() { return FCalls.back(); }
    std::set<void*>& FastBlocks() { return FFastBlocks; }

private:
    TGLProcTable FSaved;
    std::vector<TGLCall> FCalls;
    std::set<void*> FFastBlocks;
};
