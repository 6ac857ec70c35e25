#include "scene/objects/shapes/QuadricObject.h"

void TGLQuadricObject::SetNormals(TNormalSmoothing value)
{
    if (value != normals_) {
        normals_ = value;
        StructureChanged();
    }
}

void TGLQuadricObject::SetNormalDirection(TNormalDirection value)
{
    if (value != normalDirection_) {
        normalDirection_ = value;
        StructureChanged();
    }
}

void TGLQuadricObject::Assign(const TPersistent* source)
{
    if (const auto* quadric = ObjectCast<TGLQuadricObject>(source)) {
        normals_ = quadric->normals_;
        normalDirection_ = quadric->normalDirection_;
    }
    TGLWorldObject::Assign(source);
}

void TGLQuadricObject::SetupQuadricParams(GLUquadric* quadric) const
{
    static constexpr GLenum normalModes[] = {GLU_FLAT, GLU_SMOOTH, GLU_NONE};
    GL.gluQuadricDrawStyle(quadric, GLU_FILL);
    GL.gluQuadricNormals(quadric, normalModes[normals_]);
    ApplyOrientation(quadric);
    GL.gluQuadricTexture(quadric, static_cast<GLboolean>(255));
}

void TGLQuadricObject::ApplyOrientation(GLUquadric* quadric) const
{
    GL.gluQuadricOrientation(quadric, normalDirection_ == ndInside ? GLU_INSIDE : GLU_OUTSIDE);
}

void TGLQuadricObject::ApplyInvertedOrientation(GLUquadric* quadric) const
{
    GL.gluQuadricOrientation(quadric, normalDirection_ == ndInside ? GLU_OUTSIDE : GLU_INSIDE);
}
