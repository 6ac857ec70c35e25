#include "scene/rendering/TessellatorCallbacks.h"

#include "platform/core/Assert.h"
#include "scene/rendering/TexCoordRouter.h"

#include <string>

void APIENTRY TessBegin(GLenum mode)
{
    GL.glBegin(mode);
}

void APIENTRY TessEnd()
{
    GL.glEnd();
}

void APIENTRY TessVertex(void* data)
{
    GL.glVertex3fv(static_cast<const GLfloat*>(data));
}

void APIENTRY TessTexturedVertex(void* data)
{
    const auto* xyz = static_cast<const GLfloat*>(data);
    if (TexCoordRouter.TexCoord2fv) {
        TexCoordRouter.TexCoord2fv(xyz);
    }
    GL.glVertex3fv(xyz);
}

TGLUTessellatorScope::TGLUTessellatorScope() : tess_(GL.gluNewTess())
{
    KP_ASSERT_MSG(tess_ != nullptr, "Cannot create a GLU tessellator");
}

TGLUTessellatorScope::~TGLUTessellatorScope()
{
    GL.gluDeleteTess(tess_);
}

void TTessPolygonData::RaiseFirstError(const char* separator) const
{
    if (error == 0) {
        return;
    }
    const GLubyte* text = GL.gluErrorString ? GL.gluErrorString(error) : nullptr;
    const std::string message = std::to_string(error) + separator + (text ? reinterpret_cast<const char*>(text) : "");
    KP_ASSERT_MSG(false, message.c_str());
}

void APIENTRY TessKeepFirstError(GLenum error, void* polygonData)
{
    auto* data = static_cast<TTessPolygonData*>(polygonData);
    if (data->error == 0) {
        data->error = error;
    }
}
