#pragma once
// The base of every object drawn through a GLU quadric (cylinders, cones, disks,
// arrows) and of the sphere: the normal settings they share, applied to a quadric.

#include "scene/graph/CustomSceneObject.h"
#include "scene/objects/shapes/NormalDirection.h"

#include <cstdint>

enum TNormalSmoothing : std::uint8_t { nsFlat, nsSmooth, nsNone };

class TGLQuadricObject : public TGLWorldObject {
    KP_CLASS(TGLQuadricObject, TGLWorldObject)
public:
    explicit TGLQuadricObject(TComponent* owner = nullptr) : TGLWorldObject(owner) {}

    TNormalSmoothing Normals() const { return normals_; }
    TNormalDirection NormalDirection() const { return normalDirection_; }
    // A change rebuilds the drawing.
    void SetNormals(TNormalSmoothing value);
    void SetNormalDirection(TNormalDirection value);

    // From a quadric object: both normal settings; then the custom-object part.
    void Assign(const TPersistent* source) override;

    // Filled, normals as Normals says, oriented as NormalDirection says, with texture
    // coordinates.
    void SetupQuadricParams(GLUquadric* quadric) const;
    void ApplyOrientation(GLUquadric* quadric) const;
    // The opposite orientation, for disks that close a shape from below.
    void ApplyInvertedOrientation(GLUquadric* quadric) const;

private:
    TNormalSmoothing normals_ = nsSmooth;
    TNormalDirection normalDirection_ = ndOutside;
};

// A GLU quadric for the span of one drawing.
class TGLUQuadricScope {
public:
    TGLUQuadricScope() : quadric_(GL.gluNewQuadric()) {}
    ~TGLUQuadricScope()
    {
        if (quadric_) {
            GL.gluDeleteQuadric(quadric_);
        }
    }
    TGLUQuadricScope(const TGLUQuadricScope&) = delete;
    TGLUQuadricScope& operator=(const TGLUQuadricScope&) = delete;

    // nullptr when GLU is out of memory: nothing can be drawn then.
    GLUquadric* Get() const { return quadric_; }

private:
    GLUquadric* quadric_;
};
