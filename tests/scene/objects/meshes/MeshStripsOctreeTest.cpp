#include "../../MeshTestSupport.h"

#include "scene/base/MatrixMath.h"
#include "scene/objects/meshes/MeshStrips.h"
#include "scene/objects/meshes/Octree.h"

#include <algorithm>

using namespace meshtest;

namespace {

const TAffineVector p0{0, 0, 0}, p1{1, 0, 0}, p2{0, 1, 0}, p3{1, 1, 0};

TEST(MeshStrips, EvenPositionsKeepTheWindingOddOnesReverseIt)
{
    Points list({{9, 9, 9}});
    ConvertStripToList(Points({p0, p1, p2, p3}), list);
    EXPECT_EQ(ToVector(list), (std::vector<TAffineVector>{{9, 9, 9}, p0, p1, p2, p3, p2, p1}));

    TAffineVectorList indexed;
    TIntegerList indices;
    SetIndices(indices, {3, 2, 1, 0});
    ConvertIndexedStripToList(Points({p0, p1, p2, p3}), indices, indexed);
    EXPECT_EQ(ToVector(indexed), (std::vector<TAffineVector>{p3, p2, p1, p0, p1, p2}));
}

TEST(MeshStrips, FewerThanThreePointsGiveNothing)
{
    TAffineVectorList list;
    ConvertStripToList(Points({p0, p1}), list);
    TIntegerList indices;
    SetIndices(indices, {0, 1});
    ConvertIndexedStripToList(Points({p0, p1}), indices, list);
    EXPECT_EQ(list.Count(), 0);
}

struct TTriTriCase {
    const char* name;
    TAffineVector a[3];
    TAffineVector b[3];
    bool meet;
};

class TriTriCases : public ::testing::TestWithParam<TTriTriCase> {};

TEST_P(TriTriCases, MeetOrNot)
{
    const TTriTriCase& c = GetParam();
    EXPECT_EQ(TriTriIntersect(c.a[0], c.a[1], c.a[2], c.b[0], c.b[1], c.b[2]), c.meet) << c.name;
    EXPECT_EQ(TriTriIntersect(c.b[0], c.b[1], c.b[2], c.a[0], c.a[1], c.a[2]), c.meet) << c.name << " swapped";
}

INSTANTIATE_TEST_SUITE_P(
    Octree, TriTriCases,
    ::testing::Values(
        TTriTriCase{"crossing", {{0, 0, 0}, {2, 0, 0}, {0, 2, 0}}, {{0.5f, 0.5f, -1}, {0.5f, 0.5f, 1}, {1, 0.2f, 0}}, true},
        TTriTriCase{"touching at one point", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{1, 0, 0}, {2, 0, 1}, {2, 1, -1}}, true},
        TTriTriCase{"apart", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 0, 1}, {1, 0, 2}, {0, 1, 2}}, false},
        TTriTriCase{"parallel 1e-7 apart, overlapping", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
                    {{0.2f, 0.2f, 1e-7f}, {1.2f, 0.2f, 1e-7f}, {0.2f, 1.2f, 1e-7f}}, true},
        TTriTriCase{"parallel 1e-3 apart", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
                    {{0.2f, 0.2f, 1e-3f}, {1.2f, 0.2f, 1e-3f}, {0.2f, 1.2f, 1e-3f}}, false},
        TTriTriCase{"coplanar, one inside the other", {{0, 0, 0}, {4, 0, 0}, {0, 4, 0}},
                    {{0.5f, 0.5f, 0}, {1, 0.5f, 0}, {0.5f, 1, 0}}, true},
        TTriTriCase{"coplanar, side by side", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{2, 0, 0}, {3, 0, 0}, {2, 1, 0}}, false},
        TTriTriCase{"cutting the plane beside the triangle", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}},
                    {{2, 2, -1}, {2, 2, 1}, {3, 2, 0}}, false}),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        return name;
    });

// The cube 0..4 in every axis.
class OctreeTest : public ::testing::Test {
protected:
    void Build(std::initializer_list<TAffineVector> points, int depth)
    {
        octree.InitializeTree({0, 0, 0}, {4, 4, 4}, Points(points), depth);
    }
    std::vector<TAffineVector> LeafMins() const
    {
        std::vector<TAffineVector> mins;
        for (const TOctreeNode* leaf : octree.ResultArray()) {
            mins.push_back(leaf->MinExtent);
        }
        std::sort(mins.begin(), mins.end(),
                  [](const auto& a, const auto& b) { return std::tie(a.X, a.Y, a.Z) < std::tie(b.X, b.Y, b.Z); });
        return mins;
    }

    TOctree octree;
};

TEST_F(OctreeTest, DepthThreeIsAFullTreeOf584NodesWithLeavesOfAnEighthOfTheSide)
{
    Build({}, 3);
    EXPECT_EQ(octree.NodeCount(), 584);
    int leaves = 0;
    auto walk = [&](auto& self, const TOctreeNode& node, int level) -> void {
        if (node.IsLeaf()) {
            EXPECT_EQ(level, 3);
            EXPECT_FLOAT_EQ(node.MaxExtent.X - node.MinExtent.X, 0.5f);
            ++leaves;
            return;
        }
        for (const auto& child : node.ChildArray) {
            self(self, *child, level + 1);
        }
    };
    walk(walk, *octree.RootNode(), 0);
    EXPECT_EQ(leaves, 512);
}

TEST_F(OctreeTest, DepthZeroKeepsEveryTriangleThatMeetsTheWorldInTheRoot)
{
    Build({{1, 1, 1}, {2, 1, 1}, {1, 2, 1}, {10, 10, 10}, {11, 10, 10}, {10, 11, 10}, {3, 3, 3}, {9, 3, 3}, {3, 9, 3}},
          0);
    EXPECT_EQ(octree.NodeCount(), 0);
    EXPECT_TRUE(octree.RootNode()->IsLeaf());
    EXPECT_EQ(octree.TriCountMesh(), 3);
    EXPECT_EQ(octree.TriCountOctree(), 2); // the second lies outside the world box
    EXPECT_EQ(octree.RootNode()->TriArray, (std::vector<std::int32_t>{0, 6}));
}

TEST_F(OctreeTest, ATriangleOnAChildBoundaryGoesIntoEveryLeafItTouches)
{
    // In the plane x = 2 between the two halves, inside the box 0..2 of y and z.
    Build({{2, 0.5f, 0.5f}, {2, 1.5f, 0.5f}, {2, 0.5f, 1.5f}}, 1);
    octree.WalkTriToLeaf({2, 0.5f, 0.5f}, {2, 1.5f, 0.5f}, {2, 0.5f, 1.5f});
    EXPECT_EQ(LeafMins(), (std::vector<TAffineVector>{{0, 0, 0}, {2, 0, 0}}));
    for (const TOctreeNode* leaf : octree.ResultArray()) {
        EXPECT_EQ(leaf->TriArray, (std::vector<std::int32_t>{0}));
    }
    // A point on the corner of four leaves reaches all four.
    octree.WalkTriToLeaf({2, 2, 1}, {2, 2, 1.5f}, {2, 2, 1.2f});
    EXPECT_EQ(octree.ResultArray().size(), 4u);
}

TEST_F(OctreeTest, TriangleIntersectTestsOnlyTheStoredTriangles)
{
    Build({{0.5f, 0.5f, 0.5f}, {1.5f, 0.5f, 0.5f}, {0.5f, 1.5f, 0.5f}}, 2);
    EXPECT_TRUE(octree.TriangleIntersect({1, 1, 0}, {1, 1, 1}, {0.6f, 0.6f, 1}));
    EXPECT_TRUE(octree.TriangleIntersect({1.5f, 0.5f, 0.5f}, {3, 3, 3}, {3, 0.5f, 3})); // a shared corner
    EXPECT_FALSE(octree.TriangleIntersect({3, 3, 0}, {3, 3, 1}, {3.5f, 3.5f, 1}));
}

TEST_F(OctreeTest, BoxQueriesReturnEachTriangleOnceInIndexOrder)
{
    // Triangle 0 spans many leaves; triangle 1 sits in one, triangle 2 far away.
    Build({{0.1f, 0.1f, 0.1f}, {1.9f, 0.1f, 0.1f}, {0.1f, 1.9f, 1.9f}, {0.2f, 0.2f, 0.3f}, {0.4f, 0.2f, 0.3f},
           {0.2f, 0.4f, 0.3f}, {3.5f, 3.5f, 3.5f}, {3.9f, 3.5f, 3.5f}, {3.5f, 3.9f, 3.5f}},
          2);
    const TAABB nearOrigin{{0, 0, 0}, {2, 2, 2}};
    const auto near = octree.GetTrianglesInBox(nearOrigin, IdentityMatrix, IdentityMatrix);
    ASSERT_EQ(near->Count(), 6);
    EXPECT_EQ(near->Get(0), (TAffineVector{0.1f, 0.1f, 0.1f}));
    EXPECT_EQ(near->Get(3), (TAffineVector{0.2f, 0.2f, 0.3f}));

    TAffineVectorList hits;
    EXPECT_TRUE(octree.AABBIntersect(nearOrigin, IdentityMatrix, IdentityMatrix, &hits));
    EXPECT_EQ(hits.Count(), 6); // with a list: every hit
    EXPECT_TRUE(octree.AABBIntersect(nearOrigin, IdentityMatrix, IdentityMatrix));

    // A box in a space shifted by +10 in X: the matrices carry it onto the far triangle.
    const TMatrix toOctree = MakeScaleTranslationMatrix({1, 1, 1}, {-10, 0, 0});
    const TMatrix fromOctree = MakeScaleTranslationMatrix({1, 1, 1}, {10, 0, 0});
    hits.Clear();
    EXPECT_TRUE(octree.AABBIntersect({{13.4f, 3.4f, 3.4f}, {14, 4, 4}}, toOctree, fromOctree, &hits));
    ASSERT_EQ(hits.Count(), 3);
    EXPECT_EQ(hits.Get(0), (TAffineVector{13.5f, 3.5f, 3.5f})); // handed back in the box's space
    EXPECT_FALSE(octree.AABBIntersect({{13.95f, 3.95f, 0}, {14, 4, 1}}, toOctree, fromOctree));
}

} // namespace
