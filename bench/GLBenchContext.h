#pragma once
// The off-screen context of a drawing benchmark: a GLX pbuffer (Mesa's software renderer
// under Xvfb) of the given size with a 24-bit depth buffer, made current with its
// viewport set and handed to `prepare` for the state or picture the benchmarks start
// from. Null when there is no display or anything on the way fails.

#include "scene/viewer/GLX11Context.h"

#include <cstdlib>
#include <functional>
#include <memory>

inline std::unique_ptr<TGLX11Context> MakeBenchContext(int width, int height,
                                                       const std::function<void(TGLX11Context&)>& prepare)
{
    if (std::getenv("DISPLAY") == nullptr) {
        return nullptr;
    }
    try {
        RegisterGLX11ContextClass();
        auto made = std::make_unique<TGLX11Context>();
        made->SetDepthBits(24);
        made->CreateMemoryContext(0, width, height);
        made->Activate();
        GL.glViewport(0, 0, width, height);
        prepare(*made);
        return made;
    } catch (...) {
        return nullptr;
    }
}
