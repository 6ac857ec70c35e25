#include "scene/objects/ShapeObjectClasses.h"

#include "platform/core/ClassRegistry.h"
#include "scene/objects/Annulus.h"
#include "scene/objects/ArrowLine.h"
#include "scene/objects/Cone.h"
#include "scene/objects/Cylinder.h"
#include "scene/objects/Disk.h"
#include "scene/objects/Frustum.h"
#include "scene/objects/HeightField.h"
#include "scene/objects/MultiPolygon.h"
#include "scene/objects/Plane.h"
#include "scene/objects/Points.h"
#include "scene/objects/Polygon.h"
#include "scene/objects/SpaceText.h"
#include "scene/objects/Sphere.h"
#include "scene/objects/Sprite.h"
#include "scene/objects/Torus.h"
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
