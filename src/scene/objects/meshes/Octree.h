#pragma once
// A fixed-depth octree over a mesh's triangles in the mesh's local space: every node
// down to the given depth exists, and each leaf lists the triangles that touch its box
// (a triangle crossing several leaves is listed in each). It answers whether a
// triangle or a box meets a stored triangle, and which stored triangles lie near a box.

#include "scene/base/BoundingBoxes.h"
#include "scene/base/VectorLists.h"
#include "scene/objects/collision/TriTriIntersect.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

struct TOctreeNode {
    TAffineVector MinExtent;
    TAffineVector MaxExtent;
    // For each triangle in the leaf, the index of its first point in the triangle filer.
    std::vector<std::int32_t> TriArray;
    // All nil in a leaf.
    std::array<std::unique_ptr<TOctreeNode>, 8> ChildArray;

    bool IsLeaf() const { return !ChildArray[0]; }
};

class TOctree {
public:
    TOctree() = default;
    TOctree(const TOctree&) = delete;
    TOctree& operator=(const TOctree&) = delete;
    ~TOctree() { DisposeTree(); }

    // Builds the tree over the box to `depth` levels below the root and distributes
    // the triangles (three consecutive points each), which are copied.
    void InitializeTree(const TAffineVector& worldMin, const TAffineVector& worldMax,
                        const TAffineVectorList& triangles, int depth);
    void DisposeTree();

    // Whether the triangle meets any stored triangle of the leaves it touches. A stored
    // triangle whose points all lie clear on one side of the triangle's plane is passed
    // over without the exact test, which would reject it first anyway.
    bool TriangleIntersect(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3);
    // The points of the stored triangles in the leaves that overlap the box, each
    // triangle once, in index order. The box lives in space 1; m1to2 carries space 1
    // into the octree's space and m2to1 back.
    std::unique_ptr<TAffineVectorList> GetTrianglesInBox(const TAABB& aabb, const TMatrix& m1to2,
                                                         const TMatrix& m2to1);
    // Whether a stored triangle, carried into space 1, meets the box. With a list
    // every hit triangle is appended to it (in space 1); without one the search stops
    // at the first hit.
    bool AABBIntersect(const TAABB& aabb, const TMatrix& m1to2, const TMatrix& m2to1,
                       TAffineVectorList* triangles = nullptr);

    // Fills ResultArray with the leaves the triangle touches: a node is entered when
    // the triangle meets one of its faces or a point of it lies in the box (bounds
    // included).
    void WalkTriToLeaf(const TAffineVector& p1, const TAffineVector& p2, const TAffineVector& p3);

    const TAffineVector& WorldMinExtent() const { return worldMin_; }
    const TAffineVector& WorldMaxExtent() const { return worldMax_; }
    const TOctreeNode* RootNode() const { return root_.get(); }
    int MaxOlevel() const { return maxOlevel_; }
    // Nodes below the root.
    int NodeCount() const { return nodeCount_; }
    int TriCountMesh() const { return triCountMesh_; }
    // Triangles that reached at least one leaf.
    int TriCountOctree() const { return triCountOctree_; }
    const std::vector<TOctreeNode*>& ResultArray() const { return resultArray_; }
    const TAffineVectorList* TriangleFiler() const { return triangleFiler_.get(); }

private:
    void Subdivide(TOctreeNode& node, int level);
    void WalkTriToLeaf(TOctreeNode& node, const TAffineVector (&tri)[3], const TAABB& triBox);
    void CollectLeavesInBox(TOctreeNode& node, const TAABB& aabb, const TMatrix& m1to2, const TMatrix& m2to1);

    TAffineVector worldMin_{};
    TAffineVector worldMax_{};
    std::unique_ptr<TOctreeNode> root_;
    int maxOlevel_ = 0;
    int nodeCount_ = 0;
    int triCountMesh_ = 0;
    int triCountOctree_ = 0;
    std::vector<TOctreeNode*> resultArray_;
    std::unique_ptr<TAffineVectorList> triangleFiler_;
};
