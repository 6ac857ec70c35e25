#pragma once
// What the mesh tests share: vector lists from literals, mesh objects with face groups
// built in one call, and comparison of point lists.

#include "scene/objects/meshes/BaseMesh.h"
#include "scene/objects/meshes/MeshObjectClasses.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace meshtest {

// A point list written in place: Points({{0, 0, 0}, {1, 0, 0}}).
struct Points : TAffineVectorList {
    Points(std::initializer_list<TAffineVector> points)
    {
        for (const TAffineVector& p : points) {
            Add(p);
        }
    }
};

inline std::vector<TAffineVector> ToVector(const TAffineVectorList& list)
{
    return {list.List(), list.List() + list.Count()};
}

inline void SetIndices(TIntegerList& list, std::initializer_list<int> indices)
{
    list.Clear();
    for (int i : indices) {
        list.Add(i);
    }
}

// A face-group mesh object of the given vertices with one index group per entry.
inline TMeshObject* AddFaceGroupMesh(TMeshObjectList& owner, std::initializer_list<TAffineVector> vertices,
                                     std::initializer_list<std::initializer_list<int>> groups,
                                     TFaceGroupMeshMode mode = fgmmTriangles)
{
    auto* mesh = new TMeshObject(&owner);
    mesh->SetMode(momFaceGroups);
    for (const TAffineVector& v : vertices) {
        mesh->Vertices().Add(v);
    }
    for (const auto& indices : groups) {
        auto* group = new TFGVertexIndexList(&mesh->FaceGroups());
        SetIndices(group->VertexIndices(), indices);
        group->SetMode(mode);
    }
    return mesh;
}

// Two triangles in the planes z = near and z = far over the square -1..1.
inline TMeshObject* AddTwoPlanes(TMeshObjectList& owner, float nearZ, float farZ)
{
    return AddFaceGroupMesh(owner,
                            {{-1, -1, nearZ}, {1, -1, nearZ}, {0, 1, nearZ}, {-1, -1, farZ}, {1, -1, farZ}, {0, 1, farZ}},
                            {{0, 1, 2, 3, 4, 5}});
}

} // namespace meshtest

inline bool operator==(const TAffineVector& a, const TAffineVector& b)
{
    return a.X == b.X && a.Y == b.Y && a.Z == b.Z;
}
inline void PrintTo(const TAffineVector& v, std::ostream* os) { *os << "(" << v.X << ", " << v.Y << ", " << v.Z << ")"; }
