#pragma once
// Reads the recorded OpenGL calls back as primitives (glBegin .. glEnd with their
// vertices and the normal in force at each), so tests can check geometry instead of
// call texts.

#include "scene/base/GLRecordingTable.h"

#include <array>
#include <cmath>
#include <vector>

namespace scenetest {

using TVec3 = std::array<double, 3>;

struct TRecordedVertex {
    TVec3 position;
    TVec3 normal;
    std::array<double, 2> texCoord;
};

struct TRecordedPrimitive {
    GLenum mode;
    std::vector<TRecordedVertex> vertices;
};

inline std::vector<TRecordedPrimitive> RecordedPrimitives(const std::vector<TGLCall>& calls)
{
    std::vector<TRecordedPrimitive> result;
    TVec3 normal{0, 0, 1};
    std::array<double, 2> tex{0, 0};
    bool inside = false;
    for (const TGLCall& call : calls) {
        const auto& a = call.Args;
        const auto& d = call.Data;
        if (call.Name == "glBegin") {
            result.push_back({static_cast<GLenum>(a[0]), {}});
            inside = true;
        } else if (call.Name == "glEnd") {
            inside = false;
        } else if (call.Name == "glNormal3f" || call.Name == "glNormal3d") {
            normal = {a[0], a[1], a[2]};
        } else if (call.Name == "glNormal3fv") {
            normal = {d[0], d[1], d[2]};
        } else if (call.Name == "glTexCoord2f" || call.Name == "glTexCoord2d") {
            tex = {a[0], a[1]};
        } else if (call.Name == "glTexCoord2fv") {
            tex = {d[0], d[1]};
        } else if (inside && (call.Name == "glVertex3f" || call.Name == "glVertex3d")) {
            result.back().vertices.push_back({{a[0], a[1], a[2]}, normal, tex});
        } else if (inside && call.Name == "glVertex2f") {
            result.back().vertices.push_back({{a[0], a[1], 0}, normal, tex});
        } else if (inside && call.Name == "glVertex3fv") {
            result.back().vertices.push_back({{d[0], d[1], d[2]}, normal, tex});
        } else if (inside && call.Name == "glVertex4fv") {
            result.back().vertices.push_back({{d[0] / d[3], d[1] / d[3], d[2] / d[3]}, normal, tex});
        }
    }
    return result;
}

// The triangles of fans, strips and lists, each in the winding OpenGL gives it.
inline std::vector<std::array<TRecordedVertex, 3>> Triangles(const std::vector<TRecordedPrimitive>& primitives)
{
    std::vector<std::array<TRecordedVertex, 3>> result;
    for (const TRecordedPrimitive& p : primitives) {
        const auto& v = p.vertices;
        const std::size_t n = v.size();
        if (p.mode == GL_TRIANGLES) {
            for (std::size_t i = 0; i + 2 < n; i += 3) {
                result.push_back({v[i], v[i + 1], v[i + 2]});
            }
        } else if (p.mode == GL_TRIANGLE_FAN) {
            for (std::size_t i = 1; i + 1 < n; ++i) {
                result.push_back({v[0], v[i], v[i + 1]});
            }
        } else if (p.mode == GL_TRIANGLE_STRIP) {
            for (std::size_t i = 0; i + 2 < n; ++i) {
                if (i % 2 == 0) {
                    result.push_back({v[i], v[i + 1], v[i + 2]});
                } else {
                    result.push_back({v[i + 1], v[i], v[i + 2]});
                }
            }
        }
    }
    return result;
}

inline TVec3 Sub(const TVec3& a, const TVec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
inline TVec3 Cross(const TVec3& a, const TVec3& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
inline double Dot(const TVec3& a, const TVec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline double Length(const TVec3& a) { return std::sqrt(Dot(a, a)); }

// Twice the area vector of a triangle: its direction is the side it faces.
inline TVec3 AreaVector(const std::array<TRecordedVertex, 3>& t)
{
    return Cross(Sub(t[1].position, t[0].position), Sub(t[2].position, t[0].position));
}

} // namespace scenetest
