#include "scene/objects/shapes/ShapeObjectClasses.h"

#include "platform/core/objects/ClassRegistry.h"
#include "scene/objects/shapes/Annulus.h"
#include "scene/objects/shapes/ArrowLine.h"
#include "scene/objects/shapes/Cone.h"
#include "scene/objects/shapes/Cylinder.h"
#include "scene/objects/shapes/Disk.h"
#include "scene/objects/shapes/Frustum.h"
#include "scene/objects/shapes/HeightField.h"
#include "scene/objects/shapes/MultiPolygon.h"
#include "scene/objects/shapes/Plane.h"
#include "scene/objects/shapes/Points.h"
#include "scene/objects/shapes/Polygon.h"
#include "scene/objects/text/SpaceText.h"
#include "scene/objects/shapes/Sphere.h"
#include "scene/objects/shapes/Sprite.h"
#include "scene/objects/shapes/Torus.h"
#include "scene/objects/lines/XYZGrid.h"

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
        RegisterClass<TGLPlane>();
        RegisterClass<TGLSprite>();
        RegisterClass<TGLPoints>();
        RegisterClass<TGLDisk>();
        RegisterClass<TGLAnnulus>();
        RegisterClass<TGLTorus>();
        RegisterClass<TGLFrustrum>();
        RegisterClass<TGLPolygon>();
        RegisterClass<TGLMultiPolygon>();
        return true;
    }();
    (void)registered;
}
