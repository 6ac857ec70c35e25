#pragma once
// What every filled outline of the scene shares around the GLU tessellator: the
// callbacks that feed OpenGL directly, a tessellator deleted on every way out, and the
// text of a tessellation error. Callbacks never raise: an exception cannot unwind
// through GLU's C frames, so errors are kept in the polygon data and raised after GLU
// has returned.

#include "scene/base/OpenGLBinding.h"

void APIENTRY TessBegin(GLenum mode);
void APIENTRY TessEnd();
// The vertex data is three floats.
void APIENTRY TessVertex(void* data);
// The same, with its X and Y also sent as texture coordinates.
void APIENTRY TessTexturedVertex(void* data);

template <class F>
_GLUfuncptr TessCallback(F* function)
{
    return reinterpret_cast<_GLUfuncptr>(function);
}

// A new GLU tessellator (an assertion when GLU cannot make one), deleted with the scope.
class TGLUTessellatorScope {
public:
    TGLUTessellatorScope();
    ~TGLUTessellatorScope();
    TGLUTessellatorScope(const TGLUTessellatorScope&) = delete;
    TGLUTessellatorScope& operator=(const TGLUTessellatorScope&) = delete;

    GLUtesselator* Get() const { return tess_; }
    // Hands the callback to GLU.
    template <class F>
    void SetCallback(GLenum which, F* function) const
    {
        GL.gluTessCallback(tess_, which, TessCallback(function));
    }

private:
    GLUtesselator* tess_;
};

// What every tessellation's polygon data starts from: the first error GLU reported.
// Give GLU a pointer to this base (not to the derived data), so that each callback can
// cast back to the derived data through it.
struct TTessPolygonData {
    GLenum error = 0;
    // Raises the assertion failure "<error number><separator><GLU's text for it>" when
    // GLU reported an error.
    void RaiseFirstError(const char* separator) const;
};

// The error callback (GLU_TESS_ERROR_DATA) for polygon data of that kind.
void APIENTRY TessKeepFirstError(GLenum error, void* polygonData);
