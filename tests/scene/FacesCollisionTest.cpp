#include "../support/SphereMesh.h"

#include "scene/objects/meshes/BaseMesh.h"
#include "scene/objects/collision/Collision.h"
#include "scene/objects/shapes/Cubes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

using testsupport::AddSphere;

namespace {

// An octahedron of radius 2 (|x| + |y| + |z| = 2, box -2..2) and a cube of half size
// `half` at `at`.
class FacesCollisionTest : public ::testing::Test {
protected:
    FacesCollisionTest() { AddSphere(faces.MeshObjects(), 2, 4, 2); }

    TGLCube& Cube(TAffineVector at, float half = 0.5f)
    {
        cube.SetCubeWidth(2 * half);
        cube.SetCubeHeight(2 * half);
        cube.SetCubeDepth(2 * half);
        cube.Position().SetPoint(at.X, at.Y, at.Z);
        return cube;
    }

    TGLFreeForm faces;
    TGLCube cube;
};

TEST_F(FacesCollisionTest, ACubeCollidesWithTheTrianglesNotWithTheirBox)
{
    struct Case {
        const char* name;
        TAffineVector at;
        float half;
        bool expected;
    };
    const Case cases[] = {
        {"inside the solid", {0, 0, 0}, 0.5f, false},
        {"in a corner of the box, outside the solid", {1.6f, 1.6f, 1.6f}, 0.3f, false},
        {"across one face", {1.5f, 0, 0}, 0.5f, true},
        {"on a vertex", {2.5f, 0, 0}, 0.5f, true},
        {"beyond the vertex", {2.6f, 0, 0}, 0.5f, false},
    };
    for (const Case& c : cases) {
        Cube(c.at, c.half);
        EXPECT_EQ(CheckCubeVsFaces(&cube, &faces), c.expected) << c.name;
        EXPECT_EQ(CollisionTestTable[cbmFaces][cbmCube](&faces, &cube), c.expected) << c.name;
    }
    EXPECT_TRUE(CheckBoxVsBox(&Cube({1.6f, 1.6f, 1.6f}, 0.3f), &faces)); // the boxes alone would collide
    // Placed and scaled with its object: the octahedron now reaches x = 14.
    faces.Position().SetPoint(10, 0, 0);
    faces.Scale().SetVector(2, 2, 2);
    EXPECT_TRUE(CheckCubeVsFaces(&Cube({13.5f, 0, 0}), &faces));
    EXPECT_FALSE(CheckCubeVsFaces(&Cube({14.6f, 0, 0}), &faces));
}

TEST_F(FacesCollisionTest, TheFirstTestBuildsADepthThreeOctreeForEveryLaterOne)
{
    EXPECT_EQ(faces.Octree(), nullptr);
    CheckCubeVsFaces(&Cube({0, 0, 0}), &faces);
    ASSERT_NE(faces.Octree(), nullptr);
    EXPECT_EQ(faces.Octree()->MaxOlevel(), 3);
    const TOctreeNode* root = faces.Octree()->RootNode();
    CheckFacesVsCube(&faces, &Cube({1.5f, 0, 0}));
    EXPECT_EQ(faces.Octree()->RootNode(), root);
}

TEST_F(FacesCollisionTest, FreeFormsCollideOnTheirSurfaces)
{
    struct Case {
        const char* name;
        float radius;
        TAffineVector at;
        bool expected;
    };
    const Case cases[] = {
        {"crossing", 1, {2, 0, 0}, true},
        {"nested apart", 0.5f, {0, 0, 0}, false},
        {"nested off centre", 0.5f, {0.4f, 0, 0.3f}, false},
        {"apart within the box", 0.3f, {1.4f, 1.4f, 0}, false},
    };
    for (const Case& c : cases) {
        TGLFreeForm other;
        AddSphere(other.MeshObjects(), c.radius, 16, 9);
        other.Position().SetPoint(c.at.X, c.at.Y, c.at.Z);
        EXPECT_EQ(CheckFacesVsFaces(&faces, &other), c.expected) << c.name;
        EXPECT_EQ(CheckFacesVsFaces(&other, &faces), c.expected) << c.name << ", the other way";
    }
    // A faces object that is not a free form counts as its box.
    EXPECT_TRUE(CheckFacesVsFaces(&faces, &Cube({0, 0, 0})));
    EXPECT_TRUE(CheckCubeVsFaces(&faces, &cube));
}

TEST_F(FacesCollisionTest, AManagerPassReportsTheMeshAndTheCube)
{
    TCollisionManager manager;
    for (TGLBaseSceneObject* object : std::vector<TGLBaseSceneObject*>{&faces, &cube}) {
        auto* collision = CreateXCollectionItem<TGLBCollision>(&object->Behaviours());
        collision->BoundingMode = object == &faces ? cbmFaces : cbmCube;
        collision->SetManager(&manager);
    }
    std::vector<TGLBaseSceneObject*> hit;
    manager.OnCollision = [&](TObject*, TGLBaseSceneObject* a, TGLBaseSceneObject* b) { hit = {a, b}; };
    Cube({0, 0, 0});
    manager.CheckCollisions();
    EXPECT_TRUE(hit.empty());
    Cube({1.5f, 0, 0});
    manager.CheckCollisions();
    EXPECT_EQ(hit, (std::vector<TGLBaseSceneObject*>{&faces, &cube}));
}

} // namespace

namespace {

// The exact test over every stored triangle of the leaves the query reaches, none
// passed over.
bool ExactOverLeaves(TOctree& octree, const TAffineVector (&q)[3])
{
    octree.WalkTriToLeaf(q[0], q[1], q[2]);
    const TAffineVector* p = octree.TriangleFiler()->List();
    for (const TOctreeNode* leaf : octree.ResultArray()) {
        for (const std::int32_t i : leaf->TriArray) {
            if (TriTriIntersect(q[0], q[1], q[2], p[i], p[i + 1], p[i + 2])) {
                return true;
            }
        }
    }
    return false;
}

TEST(OctreeTriangleRejectionTest, PassingOverTrianglesClearOfTheQueryPlaneKeepsEveryAnswer)
{
    TGLFreeForm sphere;
    AddSphere(sphere.MeshObjects(), 1, 24, 13);
    sphere.BuildOctree(3);
    TOctree& octree = *sphere.Octree();
    const TAffineVector* stored = octree.TriangleFiler()->List();
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(-1, 1);
    int hits = 0;
    for (int k = 0; k < 4000; ++k) {
        TAffineVector q[3];
        if (k % 2 == 0) {
            // Anywhere near the surface, of any size from 1/1000 to 1.
            const float size = std::pow(10.0f, -3 * std::fabs(unit(random)));
            const TAffineVector centre{unit(random) * 1.2f, unit(random) * 1.2f, unit(random) * 1.2f};
            for (TAffineVector& point : q) {
                point = {centre.X + unit(random) * size, centre.Y + unit(random) * size, centre.Z + unit(random) * size};
            }
        } else {
            // A stored triangle lifted off its plane by less than the exact test's
            // tolerance, or by a little more, and shifted.
            const int t = static_cast<int>(std::fabs(unit(random)) * float(octree.TriCountMesh() - 1));
            const float lift = std::pow(10.0f, -4 - 4 * std::fabs(unit(random)));
            const TAffineVector shift{unit(random) * 0.05f, unit(random) * 0.05f, unit(random) * 0.05f};
            for (int c = 0; c < 3; ++c) {
                const TAffineVector& s = stored[3 * t + c];
                q[c] = {s.X * (1 + lift) + shift.X, s.Y * (1 + lift) + shift.Y, s.Z * (1 + lift) + shift.Z};
            }
        }
        const bool expected = ExactOverLeaves(octree, q);
        hits += expected;
        ASSERT_EQ(octree.TriangleIntersect(q[0], q[1], q[2]), expected) << "query " << k;
    }
    EXPECT_GT(hits, 400); // both answers are well represented
    EXPECT_LT(hits, 3600);
}

} // namespace
