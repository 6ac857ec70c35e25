#include "platform/core/objects/Filer.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/objects/shapes/Cubes.h"

#include "../../RecordedPrimitives.h"
#include "../../SceneObjectTestSupport.h"

#include <gtest/gtest.h>

using namespace scenetest;

namespace {

class CubesTest : public ::testing::Test {
protected:
    CubesTest() { rci.GLStates = &states; }

    TGLRecorder gl;
    TGLStateCache states;
    TRenderContextInfo rci;
};

TEST_F(CubesTest, FacesNormalsAndWinding)
{
    struct Case {
        TCubeParts parts;
        TNormalDirection dir;
        std::size_t vertices;
    };
    for (const Case& c : {Case{AllCubeParts, ndOutside, 24}, Case{AllCubeParts, ndInside, 24},
                          Case{CubePartBit(cpTop), ndOutside, 4}, Case{0, ndOutside, 0}}) {
        TGLCube cube;
        cube.SetCubeWidth(2);
        cube.SetCubeHeight(4);
        cube.SetCubeDepth(6);
        cube.SetParts(c.parts);
        cube.SetNormalDirection(c.dir);
        gl.Clear();
        cube.BuildList(rci);
        const auto prims = RecordedPrimitives(gl.Calls());
        ASSERT_EQ(prims.size(), 1u);
        EXPECT_EQ(prims[0].mode, GLenum(GL_QUADS));
        ASSERT_EQ(prims[0].vertices.size(), c.vertices);
        for (std::size_t f = 0; f < c.vertices / 4; ++f) {
            const auto& v = prims[0].vertices;
            const TVec3 winding =
                Cross(Sub(v[4 * f + 1].position, v[4 * f].position), Sub(v[4 * f + 2].position, v[4 * f].position));
            const TVec3& n = v[4 * f].normal;
            const double dot = winding[0] * n[0] + winding[1] * n[1] + winding[2] * n[2];
            // Counter-clockwise from outside whatever the normals say.
            EXPECT_EQ(dot > 0, c.dir == ndOutside) << f;
            for (int k = 0; k < 4; ++k) {
                EXPECT_DOUBLE_EQ(std::fabs(v[4 * f + k].position[0]), 1);
                EXPECT_DOUBLE_EQ(std::fabs(v[4 * f + k].position[2]), 3);
            }
        }
    }
}

TEST_F(CubesTest, RayCastOnlyThroughEntryFaces)
{
    struct Case {
        TVector start;
        TVector dir;
        bool hit;
        TVector point;
    };
    const Case cases[] = {
        {{-5, 0, 0, 1}, {1, 0, 0, 0}, true, {-1, 0, 0, 1}},
        {{0, 0, 0, 1}, {1, 0, 0, 0}, false, {}},           // from inside
        {{-5, 0, 0, 1}, {-1, 0, 0, 0}, false, {}},         // pointing away
        {{-5, 1.0001f, 0, 1}, {1, 0, 0, 0}, true, {-1, 1.0001f, 0, 1}}, // grazing within tolerance
        {{-5, 1.01f, 0, 1}, {1, 0, 0, 0}, false, {}},
    };
    TGLCube cube;
    cube.SetCubeWidth(2);
    cube.SetCubeHeight(2);
    for (const Case& c : cases) {
        TVector point{9, 9, 9, 9};
        TVector normal{9, 9, 9, 9};
        EXPECT_EQ(cube.RayCastIntersect(c.start, c.dir, &point, &normal), c.hit) << c.start.X << "," << c.start.Y;
        if (c.hit) {
            EXPECT_NEAR(point.X, c.point.X, 1e-5);
            EXPECT_NEAR(point.Y, c.point.Y, 1e-5);
            EXPECT_FLOAT_EQ(normal.X, -1);
        } else {
            EXPECT_EQ(point.X, 9) << "outputs untouched on a miss";
        }
    }
}

TEST_F(CubesTest, CubeSizeStoredOnlyWhenASizeDiffers)
{
    TGLCube cube;
    const auto none = TBinaryPropertyWriter::Collect(cube);
    EXPECT_EQ(std::count_if(none.begin(), none.end(), [](auto& p) { return p.first == "CubeSize"; }), 0);
    cube.SetCubeDepth(2.5f);
    const auto some = TBinaryPropertyWriter::Collect(cube);
    const auto it = std::find_if(some.begin(), some.end(), [](auto& p) { return p.first == "CubeSize"; });
    ASSERT_NE(it, some.end());
    EXPECT_EQ(it->second, std::string("\x00\x00\x80\x3f\x00\x00\x80\x3f\x00\x00\x20\x40", 12));
    cube.ClearStructureChanged();
    cube.SetCubeDepth(2.5f);
    EXPECT_FALSE(cube.Changes() & ChangeBit(ocStructure)) << "same value rebuilds nothing";
}

TEST_F(CubesTest, DummyCubeExtentsBarycenterAndVisibility)
{
    TGLDummyCube dummy;
    dummy.SetCubeSize(-3);
    EXPECT_FLOAT_EQ(dummy.UnscaledHalfExtents().X, 1.5f);
    dummy.Position().SetPoint(1, 2, 3);
    EXPECT_FLOAT_EQ(dummy.AbsoluteBarycenter().Y, 2);
    EXPECT_FALSE(dummy.RayCastIntersect({0, 0, 0, 1}, {1, 0, 0, 0}));

    dummy.BuildList(rci);
    EXPECT_TRUE(gl.Calls().empty()) << "invisible at run time";
    dummy.SetVisibleAtRunTime(true);
    dummy.BuildList(rci);
    EXPECT_EQ(gl.Count("glLineStipple"), 1);

    auto* child = TGLBaseSceneObject::CreateAsChild<TGLCube>(&dummy);
    child->Position().SetPoint(4, 0, 0);
    EXPECT_FLOAT_EQ(dummy.AbsoluteBarycenter().X, 5);
    dummy.OnVisibilityDetermination = [](TObject*, TRenderContextInfo&) { return false; };
    gl.Clear();
    dummy.DoRender(rci, true, true);
    EXPECT_EQ(gl.Count("glBegin"), 0) << "neither the cube nor its child";
}

TEST_F(CubesTest, AmalgamationCompilesOnceUntilTheStructureChanges)
{
    TNullContext context;
    TGLDummyCube dummy;
    dummy.SetAmalgamate(true);
    auto* child = TGLBaseSceneObject::CreateAsChild<TGLCube>(&dummy);
    struct Frame {
        bool structureChange;
        int newLists;
        int quads;
    };
    // The first frame compiles the children; later ones replay until the dummy cube
    // itself changes (a change of a child alone does not rebuild).
    const Frame frames[] = {{false, 1, 1}, {false, 0, 0}, {true, 1, 1}};
    for (const Frame& f : frames) {
        child->SetCubeWidth(child->CubeWidth() + 1);
        if (f.structureChange) {
            dummy.StructureChanged();
        }
        gl.Clear();
        dummy.DoRender(rci, true, true);
        EXPECT_EQ(gl.Count("glNewList"), f.newLists);
        EXPECT_EQ(gl.Count("glBegin"), f.quads);
        EXPECT_EQ(gl.Count("glCallList"), 1);
        EXPECT_FALSE(rci.amalgamating);
    }
}

} // namespace
