#pragma once
// An OpenGL table whose calls do nothing, installed while the object lives, so that
// scene benchmarks measure only our side. The texture-coordinate router maps nowhere.

#include "scene/rendering/TexCoordRouter.h"
#include "scene/base/OpenGLBinding.h"

struct NullGLDriver {
    NullGLDriver() : saved(GL)
    {
        GL.glEnable = [](GLenum) {};
        GL.glDisable = [](GLenum) {};
        GL.glMateriali = [](GLenum, GLenum, GLint) {};
        GL.glMaterialfv = [](GLenum, GLenum, const GLfloat*) {};
        GL.glPolygonMode = [](GLenum, GLenum) {};
        GL.glBlendFunc = [](GLenum, GLenum) {};
        GL.glAlphaFunc = [](GLenum, GLclampf) {};
        GL.glColor4fv = [](const GLfloat*) {};
        GL.glBindTexture = [](GLenum, GLuint) {};
        GL.glTexCoord2f = [](GLfloat, GLfloat) {};
        GL.glMultiTexCoord2fARB = [](GLenum, GLfloat, GLfloat) {};
        GL.glMatrixMode = [](GLenum) {};
        GL.glLoadMatrixf = [](const GLfloat*) {};
        GL.glLoadIdentity = [] {};
        GL.glPushMatrix = [] {};
        GL.glPopMatrix = [] {};
        GL.glMultMatrixf = [](const GLfloat*) {};
        MapTexCoordNowhere();
    }
    ~NullGLDriver()
    {
        MapTexCoordNowhere();
        GL = saved;
    }
    NullGLDriver(const NullGLDriver&) = delete;
    NullGLDriver& operator=(const NullGLDriver&) = delete;

    TGLProcTable saved;
};
