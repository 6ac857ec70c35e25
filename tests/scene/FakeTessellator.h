#pragma once
// A stand-in for the GLU tessellator, installed into the OpenGL table (after the
// recorder exists): it remembers what it is given and, at the end of the polygon,
// emits one triangle fan of the given vertices through the callbacks, then asks the
// combine callback for `combines` new vertices, or reports `error` instead.

#include "scene/base/OpenGLBinding.h"

#include <array>
#include <utility>
#include <vector>

namespace scenetest {

struct TFakeTess {
    std::vector<std::pair<GLenum, _GLUfuncptr>> callbacks;
    void* polygonData = nullptr;
    std::vector<std::array<double, 3>> coords;
    std::vector<void*> data;
    int combines = 0;
    GLenum error = 0;
    bool deleted = false;
    // What the combine callback returned, and what was stored there when it did.
    std::vector<const float*> combinedPointers;
    std::vector<std::array<float, 3>> combinedSnapshots;
    // Combined vertices whose storage changed before the polygon ended.
    int movedVertices = 0;

    _GLUfuncptr Get(GLenum which) const
    {
        for (const auto& [w, f] : callbacks) {
            if (w == which) {
                return f;
            }
        }
        return nullptr;
    }

    void Install()
    {
        Current() = this;
        GL.gluNewTess = [] { return reinterpret_cast<GLUtesselator*>(Current()); };
        GL.gluDeleteTess = [](GLUtesselator*) { Current()->deleted = true; };
        GL.gluTessCallback = [](GLUtesselator*, GLenum which, _GLUfuncptr f) {
            Current()->callbacks.emplace_back(which, f);
        };
        GL.gluTessNormal = [](GLUtesselator*, GLdouble, GLdouble, GLdouble) {};
        GL.gluTessProperty = [](GLUtesselator*, GLenum, GLdouble) {};
        GL.gluTessBeginPolygon = [](GLUtesselator*, void* d) { Current()->polygonData = d; };
        GL.gluTessBeginContour = [](GLUtesselator*) {};
        GL.gluTessEndContour = [](GLUtesselator*) {};
        GL.gluTessVertex = [](GLUtesselator*, GLdouble* c, void* d) {
            Current()->coords.push_back({c[0], c[1], c[2]});
            Current()->data.push_back(d);
        };
        GL.gluTessEndPolygon = [](GLUtesselator*) { Current()->EndPolygon(); };
    }

    static TFakeTess*& Current()
    {
        static TFakeTess* current = nullptr;
        return current;
    }

private:
    void EndPolygon()
    {
        using Begin = void(APIENTRY*)(GLenum);
        using Vertex = void(APIENTRY*)(void*);
        using End = void(APIENTRY*)();
        using Combine = void(APIENTRY*)(GLdouble*, void**, GLfloat*, void**, void*);
        using Error = void(APIENTRY*)(GLenum, void*);
        if (error != 0) {
            reinterpret_cast<Error>(Get(GLU_TESS_ERROR_DATA))(error, polygonData);
            return;
        }
        reinterpret_cast<Begin>(Get(GLU_TESS_BEGIN))(GL_TRIANGLE_FAN);
        for (void* d : data) {
            reinterpret_cast<Vertex>(Get(GLU_TESS_VERTEX))(d);
        }
        for (int i = 0; i < combines; ++i) {
            GLdouble c[3] = {double(i), 0.5, -1};
            void* in[4] = {};
            GLfloat w[4] = {};
            void* out = nullptr;
            reinterpret_cast<Combine>(Get(GLU_TESS_COMBINE_DATA))(c, in, w, &out, polygonData);
            combinedPointers.push_back(static_cast<const float*>(out));
            combinedSnapshots.push_back({float(i), 0.5f, -1});
        }
        for (std::size_t i = 0; i < combinedPointers.size(); ++i) {
            if (combinedPointers[i][0] != combinedSnapshots[i][0] || combinedPointers[i][2] != -1) {
                ++movedVertices;
            }
        }
        reinterpret_cast<End>(Get(GLU_TESS_END))();
    }
};

} // namespace scenetest
