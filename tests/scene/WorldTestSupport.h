#pragma once
// Scenes and buffers under the recording OpenGL table: a context class without a
// window system that counts what the buffer does with it, registered for the
// fixture's lifetime, and helpers to find recorded calls.

#include "ErrorTextTestSupport.h"
#include "scene/graph/Camera.h"
#include "scene/rendering/GLContext.h"
#include "scene/graph/LightSource.h"
#include "scene/graph/World.h"
#include "scene/graph/WorldBuffer.h"
#include "scene/base/GLRecordingTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace worldtest {

class TCountingContext : public TGLContext {
    KP_CLASS(TCountingContext, TGLContext)
public:
    TCountingContext() { ++Made; }
    ~TCountingContext() override
    {
        ++Freed;
        if (IsValid()) {
            DestroyContext();
        }
    }
    bool IsValid() const override { return created_; }
    void SwapBuffers() override { ++Swaps; }
    TGLOutputDevice RenderOutputDevice() const override { return 1; }

    static inline int Made = 0;
    static inline int Freed = 0;
    static inline int Swaps = 0;
    static inline int MemoryContexts = 0;
    static inline int LastMemoryWidth = 0;
    static inline int LastMemoryHeight = 0;
    // The next creations raise this many times.
    static inline int FailCreations = 0;
    static inline bool FailSharing = false;

protected:
    void DoActivate() override {}
    void DoDeactivate() override {}
    void DoCreateContext(TGLOutputDevice) override { Create(); }
    void DoCreateMemoryContext(TGLOutputDevice, int width, int height) override
    {
        Create();
        ++MemoryContexts;
        LastMemoryWidth = width;
        LastMemoryHeight = height;
    }
    void DoShareLists(TGLContext*) override
    {
        if (FailSharing) {
            throw EGLContext("Lists can only be shared before either context holds display lists or textures");
        }
    }
    void DoDestroyContext() override { created_ = false; }

private:
    void Create()
    {
        if (FailCreations > 0) {
            --FailCreations;
            throw EGLContext("no pixel format");
        }
        created_ = true;
    }
    bool created_ = false;
};

// Recorder, registered context class, OpenGL 1.1 flags and identity matrices.
class WorldFixture : public ::testing::Test {
protected:
    WorldFixture()
    {
        TCountingContext::Made = TCountingContext::Freed = TCountingContext::Swaps = 0;
        TCountingContext::MemoryContexts = 0;
        TCountingContext::FailCreations = 0;
        TCountingContext::FailSharing = false;
        RegisterGLContextClass<TCountingContext>();
        recorder.Integers[GL_MAX_LIGHTS] = {8};
        recorder.Integers[GL_RED_BITS] = {8};
        const std::vector<GLfloat> identity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        recorder.Floats[GL_MODELVIEW_MATRIX] = identity;
        recorder.Floats[GL_PROJECTION_MATRIX] = identity;
        ReadGLVersionAndExtensions();
    }
    ~WorldFixture() override { UnregisterGLContextClass(TCountingContext::StaticClass()); }

    std::vector<TGLCall> Calls(const std::string& name) const { return recorder.CallsTo(name); }
    int Count(const std::string& name) const { return recorder.Count(name); }
    // The index of the first call with this text at or after `from`; -1 when none.
    int IndexOf(const std::string& text, int from = 0) const
    {
        const auto& calls = recorder.Calls();
        for (int i = from; i < int(calls.size()); ++i) {
            if (calls[std::size_t(i)].Text == text) {
                return i;
            }
        }
        return -1;
    }

    // The index of the first call of this name; -1 when none.
    int IndexOfName(const std::string& name) const
    {
        const auto& calls = recorder.Calls();
        for (int i = 0; i < int(calls.size()); ++i) {
            if (calls[std::size_t(i)].Name == name) {
                return i;
            }
        }
        return -1;
    }

    TGLRecorder recorder;
};

// Counts a buffer's OnChange and OnStructuralChange.
struct TBufferEvents {
    int changes = 0;
    int structural = 0;
    void Attach(TGLWorldBuffer& buffer)
    {
        buffer.OnChange = [this](TObject*) { ++changes; };
        buffer.OnStructuralChange = [this](TObject*) { ++structural; };
    }
};

} // namespace worldtest
