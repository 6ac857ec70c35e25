#pragma once
// A rendering context with no window system behind it, current while it lives, so that
// display-list blocks can be tied to it under the recording OpenGL table.

#include "scene/rendering/GLContext.h"

namespace scenetest {

class TNullContext : public TGLContext {
    KP_CLASS(TNullContext, TGLContext)
public:
    TNullContext()
    {
        CreateContext(1);
        Activate();
    }
    ~TNullContext() override
    {
        SetActive(false);
        DestroyContext();
    }
    bool IsValid() const override { return created_; }
    void SwapBuffers() override {}
    TGLOutputDevice RenderOutputDevice() const override { return 1; }

protected:
    void DoActivate() override {}
    void DoDeactivate() override {}
    void DoCreateContext(TGLOutputDevice) override { created_ = true; }
    void DoCreateMemoryContext(TGLOutputDevice, int, int) override { created_ = true; }
    void DoShareLists(TGLContext*) override {}
    void DoDestroyContext() override { created_ = false; }

private:
    bool created_ = false;
};

} // namespace scenetest
