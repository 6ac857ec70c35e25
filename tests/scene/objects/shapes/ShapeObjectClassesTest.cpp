#include "scene/objects/shapes/ShapeObjectClasses.h"

#include "platform/core/objects/ClassRegistry.h"
#include "scene/graph/SceneObject.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ShapeObjectClasses, AreCreatedByName)
{
    RegisterShapeObjectClasses();
    RegisterShapeObjectClasses(); // twice is harmless
    for (const char* name :
         {"TGLSphere", "TGLCylinder", "TGLCone", "TGLArrowLine", "TGLSpaceText", "TGLHeightField", "TGLXYZGrid",
          "TGLPlane", "TGLSprite", "TGLPoints", "TGLDisk", "TGLAnnulus", "TGLTorus", "TGLFrustrum", "TGLPolygon",
          "TGLMultiPolygon"}) {
        std::unique_ptr<TObject> object(CreateObjectByName(name));
        ASSERT_NE(object, nullptr) << name;
        EXPECT_EQ(object->ClassName(), name);
        EXPECT_TRUE(object->Is<TGLBaseSceneObject>()) << name;
    }
}

} // namespace
