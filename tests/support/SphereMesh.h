#pragma once
// A sphere about the origin as plain triangles facing out, for collision tests and
// benchmarks: `segments` around the Z axis and `rings` from pole to pole give
// 2 * segments * (rings - 1) triangles. Four segments and two rings make an
// octahedron.

#include "scene/objects/meshes/MeshObjects.h"

#include <cmath>
#include <numbers>

namespace testsupport {

inline TMeshObject* AddSphere(TMeshObjectList& owner, float radius, int segments, int rings)
{
    auto* object = new TMeshObject(&owner);
    auto point = [&](int ring, int segment) {
        const double theta = std::numbers::pi * ring / rings;
        const double phi = 2 * std::numbers::pi * segment / segments;
        return TAffineVector{static_cast<float>(radius * std::sin(theta) * std::cos(phi)),
                             static_cast<float>(radius * std::sin(theta) * std::sin(phi)),
                             static_cast<float>(radius * std::cos(theta))};
    };
    object->Vertices().EnsureCapacity(6 * segments * (rings - 1));
    for (int ring = 0; ring < rings; ++ring) {
        for (int s = 0; s < segments; ++s) {
            const TAffineVector a = point(ring, s), b = point(ring + 1, s), c = point(ring + 1, s + 1),
                                d = point(ring, s + 1);
            if (ring > 0) { // the top ring's a and d are both the pole
                object->Vertices().AddTriangle(a, b, d);
            }
            if (ring < rings - 1) { // the bottom ring's b and c are both the pole
                object->Vertices().AddTriangle(b, c, d);
            }
        }
    }
    return object;
}

} // namespace testsupport
