#include "scene/objects/ShapeObjectClasses.h"

#include "platform/core/ClassRegistry.h"
#include "scene/SceneObject.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ShapeObjectClasses : public ::testing::TestWithParam<const char*> {};

TEST_P(ShapeObjectClasses, AreCreatedByName)
{
    RegisterShapeObjectClasses();
    RegisterShapeObjectClasses(); // twice is harmless
    std::unique_ptr<TObject> object(CreateObjectByName(GetParam()));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->ClassName(), GetParam());
    EXPECT_TRUE(object->Is<TGLBaseSceneObject>());
}

INSTANTIATE_TEST_SUITE_P(Names, ShapeObjectClasses,
                         ::testing::Values("TGLSphere", "TGLCylinder", "TGLCone", "TGLArrowLine", "TGLSpaceText",
                                           "TGLHeightField", "TGLXYZGrid"));

} // namespace
