#include "scene/objects/ShapeObjectClasses.h"

#include "platform/core/ClassRegistry.h"
#include "scene/objects/ArrowLine.h"
#include "scene/objects/Cone.h"
#include "scene/objects/Cylinder.h"
#include "scene/objects/HeightField.h"
#include "scene/objects/SpaceText.h"
#include "scene/objects/Sphere.h"
#include "scene/objects/XYZGrid.h"

void RegisterShapeObjectClasses()
{
    static const bool registered = [] {
        RegisterClass<TGLSphere>();
        RegisterClass<TGLCylinder>();
        RegisterClass<TGLCone>();
        RegisterClass<TGLArrowLine>();
        RegisterClass<TGLSpaceText>();
        RegisterClass<TGLHeightField>();
        RegisterClass<TGLXYZGrid>();
        return true;
    }();
    (void)registered;
}
