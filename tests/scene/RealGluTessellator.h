#pragma once
// Puts the real GLU tessellator into the recording OpenGL table. Tessellation is pure
// computation (no context, no display), so tests can check the triangles GLU makes
// while every GL call they cause is still recorded. Use after the recorder exists.

#include "scene/base/OpenGLBinding.h"

#include <dlfcn.h>

namespace scenetest {

class TRealGluTessellator {
public:
    TRealGluTessellator()
    {
        library_ = dlopen("libGLU.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!library_) {
            return;
        }
        ok_ = Load(GL.gluNewTess, "gluNewTess") && Load(GL.gluDeleteTess, "gluDeleteTess") &&
              Load(GL.gluTessCallback, "gluTessCallback") && Load(GL.gluTessProperty, "gluTessProperty") &&
              Load(GL.gluTessNormal, "gluTessNormal") && Load(GL.gluTessBeginPolygon, "gluTessBeginPolygon") &&
              Load(GL.gluTessBeginContour, "gluTessBeginContour") && Load(GL.gluTessVertex, "gluTessVertex") &&
              Load(GL.gluTessEndContour, "gluTessEndContour") && Load(GL.gluTessEndPolygon, "gluTessEndPolygon");
    }
    ~TRealGluTessellator()
    {
        // The recorder puts the table back; the library may go once no tessellator is left.
        if (library_) {
            dlclose(library_);
        }
    }
    TRealGluTessellator(const TRealGluTessellator&) = delete;
    TRealGluTessellator& operator=(const TRealGluTessellator&) = delete;

    bool Available() const { return ok_; }

private:
    template <class F>
    bool Load(F& slot, const char* name)
    {
        void* symbol = dlsym(library_, name);
        if (symbol) {
            slot = reinterpret_cast<F>(symbol);
        }
        return symbol != nullptr;
    }

    void* library_ = nullptr;
    bool ok_ = false;
};

} // namespace scenetest
