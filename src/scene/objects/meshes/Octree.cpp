#include "scene/objects/meshes/Octree.h"

#include "scene/base/MatrixMath.h"
#include "scene/base/ScalarLists.h"
#include "scene/objects/meshes/MeshStrips.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Per child, per axis: the parent's min (0), midpoint (1) or max (2); min then max.
constexpr std::uint8_t cChildSelectors[8][2][3] = {
    {{0, 1, 1}, {1, 2, 2}}, {{1, 1, 1}, {2, 2, 2}}, {{0, 1, 0}, {1, 2, 1}}, {{1, 1, 0}, {2, 2, 1}},
    {{0, 0, 1}, {1, 1, 2}}, {{1, 0, 1}, {2, 1, 2}}, {{0, 0, 0}, {1, 1, 1}}, {{1, 0, 0}, {2, 1, 1}},
};

// The box faces as four corners each; per axis min (0) or max (2).
constexpr std::uint8_t cFaceCorners[6][4][3] = {
    {{0, 2, 2}, {2, 2, 2}, {2, 0, 2}, {0, 0, 2}}, {{0, 2, 0}, {2, 2, 0}, {2, 0, 0}, {0, 0, 0}},
    {{0, 2, 2}, {2, 2, 2}, {2, 2, 0}, {0, 2, 0}}, {{0, 0, 2}, {2, 0, 2}, {2, 0, 0}, {0, 0, 0}},
    {{0, 2, 2}, {0, 0, 2}, {0, 0, 0}, {0, 2, 0}}, {{2, 0, 2}, {2, 2, 2}, {2, 2, 0}, {2, 0, 0}},
};

float Select(const TAffineVector& min, const TAffineVector& max, int axis, int selector)
{
    switch (selector) {
    case 0:
        return min[axis];
    case 1:
        return min[axis] / 2 + max[axis] / 2;
    default:
        return max[axis];
    }
}

TAffineVector Corner(const TOctreeNode& node, const std::uint8_t (&selectors)[3])
{
    return {Select(node.MinExtent, node.MaxExtent, 0, selectors[0]),
            Select(node.MinExtent, node.MaxExtent, 1, selectors[1]),
            Select(node.MinExtent, node.MaxExtent, 2, selectors[2])};
}

bool PointInNode(const TAffineVector& p, const TOctreeNode& node)
{
    return p.X >= node.MinExtent.X && p.X <= node.MaxExtent.X && p.Y >= node.MinExtent.Y &&
           p.Y <= node.MaxExtent.Y && p.Z >= node.MinExtent.Z && p.Z <= node.MaxExtent.Z;
}

bool BoxTouchesNode(const TAABB& box, const TOctreeNode& node)
{
    return box.Min.X <= node.MaxExtent.X && box.Max.X >= node.MinExtent.X && box.Min.Y <= node.MaxExtent.Y &&
           box.Max.Y >= node.MinExtent.Y && box.Min.Z <= node.MaxExtent.Z && box.Max.Z >= node.MinExtent.Z;
}

bool TriangleMeetsFaces(const TOctreeNode& node, const TAffineVector (&tri)[3])
{
    for (const auto& face : cFaceCorners) {
        const TAffineVector c0 = Corner(node, face[0]);
        const TAffineVector c1 = Corner(node, face[1]);
        const TAffineVector c2 = Corner(node, face[2]);
        const TAffineVector c3 = Corner(node, face[3]);
        if (TriTriIntersect(tri[0], tri[1], tri[2], c0, c1, c2) ||
            TriTriIntersect(tri[0], tri[1], tri[2], c0, c2, c3)) {
            return true;
        }
    }
    return false;
}

TAABB TriangleBox(const TAffineVector (&tri)[3])
{
    TAABB box{tri[0], tri[0]};
    for (int i = 1; i < 3; ++i) {
        for (int a = 0; a < 3; ++a) {
            box.Min[a] = std::min(box.Min[a], tri[i][a]);
            box.Max[a] = std::max(box.Max[a], tri[i][a]);
        }
    }
    return box;
}

// The plane of a triangle exactly as TriTriIntersect computes it (unnormalised normal
// n, offset d), to pass over stored triangles before the exact test. That test counts
// a signed distance n.p + d below 1e-6 as 0 and rejects a triangle whose three points
// all lie on one side; a triangle whose points all lie beyond that, plus what rounding
// can add over the octree's coordinates, is one it rejects.
class TQueryPlane {
public:
    TQueryPlane(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3, double coordinateBound)
    {
        const double e1[3] = {double(p2.X) - p1.X, double(p2.Y) - p1.Y, double(p2.Z) - p1.Z};
        const double e2[3] = {double(p3.X) - p1.X, double(p3.Y) - p1.Y, double(p3.Z) - p1.Z};
        n_[0] = e1[1] * e2[2] - e1[2] * e2[1];
        n_[1] = e1[2] * e2[0] - e1[0] * e2[2];
        n_[2] = e1[0] * e2[1] - e1[1] * e2[0];
        d_ = -(n_[0] * p1.X + n_[1] * p1.Y + n_[2] * p1.Z);
        const double magnitude =
            std::fabs(d_) + (std::fabs(n_[0]) + std::fabs(n_[1]) + std::fabs(n_[2])) * coordinateBound;
        margin_ = 1e-6 + 64 * std::numeric_limits<double>::epsilon() * magnitude;
    }
    // The triangle's three points all lie clearly on one side.
    bool Clears(const TAffineVector* tri) const
    {
        const double a = Distance(tri[0]);
        if (a > margin_) {
            return Distance(tri[1]) > margin_ && Distance(tri[2]) > margin_;
        }
        return a < -margin_ && Distance(tri[1]) < -margin_ && Distance(tri[2]) < -margin_;
    }

private:
    double Distance(const TAffineVector& p) const { return n_[0] * p.X + n_[1] * p.Y + n_[2] * p.Z + d_; }

    double n_[3];
    double d_;
    double margin_;
};

} // namespace

void TOctree::InitializeTree(const TAffineVector& worldMin, const TAffineVector& worldMax,
                             const TAffineVectorList& triangles, int depth)
{
    worldMin_ = worldMin;
    worldMax_ = worldMax;
    if (!triangleFiler_) {
        triangleFiler_ = std::make_unique<TAffineVectorList>();
    }
    triangleFiler_->Assign(&triangles);

    root_ = std::make_unique<TOctreeNode>();
    root_->MinExtent = worldMin;
    root_->MaxExtent = worldMax;
    nodeCount_ = 0;
    maxOlevel_ = depth;
    Subdivide(*root_, 0);

    const int points = triangleFiler_->Count();
    triCountMesh_ = points / 3;
    triCountOctree_ = 0;
    const TAffineVector* p = triangleFiler_->List();
    for (int i = 0; i + 2 < points; i += 3) {
        WalkTriToLeaf(p[i], p[i + 1], p[i + 2]);
        if (resultArray_.empty()) {
            continue;
        }
        for (TOctreeNode* leaf : resultArray_) {
            leaf->TriArray.push_back(i);
        }
        ++triCountOctree_;
    }
    // The lists stay as they are until the next build: give back the growth slack.
    auto trim = [](auto& self, TOctreeNode& node) -> void {
        node.TriArray.shrink_to_fit();
        if (!node.IsLeaf()) {
            for (auto& child : node.ChildArray) {
                self(self, *child);
            }
        }
    };
    trim(trim, *root_);
}

void TOctree::Subdivide(TOctreeNode& node, int level)
{
    if (level >= maxOlevel_) {
        return;
    }
    for (int k = 0; k < 8; ++k) {
        auto child = std::make_unique<TOctreeNode>();
        child->MinExtent = Corner(node, cChildSelectors[k][0]);
        child->MaxExtent = Corner(node, cChildSelectors[k][1]);
        ++nodeCount_;
        Subdivide(*child, level + 1);
        node.ChildArray[static_cast<std::size_t>(k)] = std::move(child);
    }
}

void TOctree::DisposeTree()
{
    root_.reset();
    triangleFiler_.reset();
    resultArray_.clear();
}

void TOctree::WalkTriToLeaf(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3)
{
    resultArray_.clear();
    const TAffineVector tri[3] = {p1, p2, p3};
    WalkTriToLeaf(*root_, tri, TriangleBox(tri));
}

void TOctree::WalkTriToLeaf(TOctreeNode& node, const TAffineVector (&tri)[3], const TAABB& triBox)
{
    // A triangle whose own box misses the node can neither meet a face nor have a
    // point inside: this rejects most nodes without the twelve triangle tests.
    if (!BoxTouchesNode(triBox, node)) {
        return;
    }
    if (!PointInNode(tri[0], node) && !PointInNode(tri[1], node) && !PointInNode(tri[2], node) &&
        !TriangleMeetsFaces(node, tri)) {
        return;
    }
    if (node.IsLeaf()) {
        resultArray_.push_back(&node);
        return;
    }
    for (auto& child : node.ChildArray) {
        WalkTriToLeaf(*child, tri, triBox);
    }
}

bool TOctree::TriangleIntersect(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3)
{
    WalkTriToLeaf(p1, p2, p3);
    if (resultArray_.empty()) {
        return false;
    }
    double bound = 0;
    for (int a = 0; a < 3; ++a) {
        bound = std::max({bound, std::fabs(double(worldMin_[a])), std::fabs(double(worldMax_[a]))});
    }
    const TQueryPlane plane(p1, p2, p3, bound);
    const TAffineVector* p = triangleFiler_->List();
    for (const TOctreeNode* leaf : resultArray_) {
        for (const std::int32_t i : leaf->TriArray) {
            if (plane.Clears(p + i)) {
                continue;
            }
            if (TriTriIntersect(p1, p2, p3, p[i], p[i + 1], p[i + 2])) {
                return true;
            }
        }
    }
    return false;
}

void TOctree::CollectLeavesInBox(TOctreeNode& node, const TAABB& aabb, const TMatrix& m1to2, const TMatrix& m2to1)
{
    if (!IntersectAABBs(aabb, TAABB{node.MinExtent, node.MaxExtent}, m1to2, m2to1)) {
        return;
    }
    if (node.IsLeaf()) {
        resultArray_.push_back(&node);
        return;
    }
    for (auto& child : node.ChildArray) {
        CollectLeavesInBox(*child, aabb, m1to2, m2to1);
    }
}

std::unique_ptr<TAffineVectorList> TOctree::GetTrianglesInBox(const TAABB& aabb, const TMatrix& m1to2,
                                                              const TMatrix& m2to1)
{
    resultArray_.clear();
    CollectLeavesInBox(*root_, aabb, m1to2, m2to1);
    TIntegerList indices;
    std::size_t total = 0;
    for (const TOctreeNode* leaf : resultArray_) {
        total += leaf->TriArray.size();
    }
    indices.EnsureCapacity(static_cast<int>(total));
    for (const TOctreeNode* leaf : resultArray_) {
        indices.AppendIntegers(leaf->TriArray.data(), static_cast<int>(leaf->TriArray.size()));
    }
    indices.SortUnique();

    auto result = std::make_unique<TAffineVectorList>();
    AppendUnfilled(*result, indices.Count() * 3);
    const TAffineVector* p = triangleFiler_->List();
    TAffineVector* out = result->List();
    for (int k = 0; k < indices.Count(); ++k) {
        const std::int32_t i = indices[k];
        out[3 * k] = p[i];
        out[3 * k + 1] = p[i + 1];
        out[3 * k + 2] = p[i + 2];
    }
    return result;
}

bool TOctree::AABBIntersect(const TAABB& aabb, const TMatrix& m1to2, const TMatrix& m2to1,
                            TAffineVectorList* triangles)
{
    const std::unique_ptr<TAffineVectorList> near = GetTrianglesInBox(aabb, m1to2, m2to1);
    const TAffineVector* p = near->List();
    bool hit = false;
    for (int i = 0; i + 2 < near->Count(); i += 3) {
        const TAffineVector a = TransformAffinePoint(p[i], m2to1);
        const TAffineVector b = TransformAffinePoint(p[i + 1], m2to1);
        const TAffineVector c = TransformAffinePoint(p[i + 2], m2to1);
        if (!IntersectTriangleBox(aabb, a, b, c)) {
            continue;
        }
        hit = true;
        if (!triangles) {
            break;
        }
        triangles->AddTriangle(a, b, c);
    }
    return hit;
}
