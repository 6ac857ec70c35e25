#include "scene/objects/shapes/PolygonBase.h"

#include <gtest/gtest.h>

namespace {

bool Rebuilds(const TGLBaseSceneObject& object)
{
    return (object.Changes() & ChangeBit(ocStructure)) != 0;
}

TEST(PolygonBase, NodesAreOfTheBaseNodeClass)
{
    TGLPolygonBase polygon;
    EXPECT_EQ(polygon.Nodes().Add()->ClassType(), TGLNode::StaticClass());
}

TEST(PolygonBase, DivisionIsAtLeastOne)
{
    const int cases[][2] = {{4, 4}, {1, 1}, {0, 1}, {-7, 1}};
    for (const auto& c : cases) {
        TGLPolygonBase polygon;
        polygon.SetDivision(c[0]);
        EXPECT_EQ(polygon.Division(), c[1]) << "given " << c[0];
    }
}

TEST(PolygonBase, EditingOwnNodesRebuildsEditingOthersDoesNot)
{
    TGLPolygonBase polygon, other;
    TGLNode* node = polygon.Nodes().AddNode(TAffineVector{1, 2, 3});
    TGLNode* foreign = other.Nodes().AddNode(TAffineVector{1, 2, 3});
    polygon.ClearStructureChanged();
    foreign->SetX(5);
    EXPECT_FALSE(Rebuilds(polygon));
    node->SetX(5);
    EXPECT_TRUE(Rebuilds(polygon));
}

TEST(PolygonBase, SettersRebuildOnChange)
{
    TGLPolygonBase polygon;
    polygon.ClearStructureChanged();
    polygon.SetDivision(10);
    polygon.SetSplineMode(lsmLines);
    EXPECT_FALSE(Rebuilds(polygon));
    polygon.SetSplineMode(lsmCubicSpline);
    EXPECT_TRUE(Rebuilds(polygon));
    polygon.ClearStructureChanged();
    TGLNodes nodes(nullptr);
    nodes.AddNode(TAffineVector{0, 1, 0});
    polygon.SetNodes(nodes);
    EXPECT_TRUE(Rebuilds(polygon));
    EXPECT_EQ(polygon.Nodes().Count(), 1);
}

TEST(PolygonBase, AssignCopiesNodesDivisionAndSplineMode)
{
    TGLPolygonBase source;
    source.Nodes().AddNode(TAffineVector{1, 0, 0});
    source.Nodes().AddNode(TAffineVector{0, 1, 0});
    source.SetDivision(3);
    source.SetSplineMode(lsmBezierSpline);
    TGLPolygonBase target;
    target.Assign(&source);
    ASSERT_EQ(target.Nodes().Count(), 2);
    EXPECT_EQ(target.Nodes()[1]->Y(), 1);
    EXPECT_EQ(target.Division(), 3);
    EXPECT_EQ(target.SplineMode(), lsmBezierSpline);
    // The copies are the target's own.
    source.Nodes()[1]->SetY(7);
    EXPECT_EQ(target.Nodes()[1]->Y(), 1);
}

} // namespace
