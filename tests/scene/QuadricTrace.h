#pragma once
// Replays the recorded matrix and GLU quadric calls of a drawing, so tests can say
// where each cylinder and disk ends up in the object's own frame (instead of which
// calls produced it). Handles translations and rotations about the X axis, which is
// all the quadric shapes use.

#include "scene/base/GLRecordingTable.h"

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace scenetest {

struct TQuadricPart {
    std::string kind; // "cylinder" or "disk"
    double inner = 0; // disk: inner radius; cylinder: base radius
    double outer = 0; // disk: outer radius; cylinder: top radius
    double height = 0;
    std::array<double, 3> from{}; // where the quadric's z = 0 lands
    std::array<double, 3> to{};   // where z = height lands (disks: equal to from)
    int slices = 0, stacksOrLoops = 0;
    GLenum orientation = GLU_OUTSIDE;
};

class TQuadricTrace {
public:
    explicit TQuadricTrace(const std::vector<TGLCall>& calls)
    {
        Matrix m = Identity();
        std::vector<Matrix> stack;
        GLenum orientation = GLU_OUTSIDE;
        for (const TGLCall& call : calls) {
            const auto& a = call.Args;
            if (call.Name == "glPushMatrix") {
                stack.push_back(m);
                ++pushes;
            } else if (call.Name == "glPopMatrix") {
                if (stack.empty()) {
                    unbalanced = true;
                } else {
                    m = stack.back();
                    stack.pop_back();
                }
            } else if (call.Name == "glTranslatef" || call.Name == "glTranslated") {
                Matrix t = Identity();
                t[3] = {a[0], a[1], a[2], 1};
                m = Multiply(t, m);
            } else if (call.Name == "glRotatef" || call.Name == "glRotated") {
                if (a[2] != 0 || a[3] != 0) {
                    unsupported = true;
                }
                const double r = a[0] * 3.14159265358979323846 / 180 * (a[1] < 0 ? -1 : 1);
                const double c = std::cos(r), s = std::sin(r);
                Matrix x = Identity();
                x[1] = {0, c, s, 0};
                x[2] = {0, -s, c, 0};
                m = Multiply(x, m);
            } else if (call.Name == "gluQuadricOrientation") {
                orientation = static_cast<GLenum>(a[1]);
            } else if (call.Name == "gluCylinder") {
                parts.push_back({"cylinder", a[1], a[2], a[3], Apply(m, 0), Apply(m, a[3]), int(a[4]), int(a[5]),
                                 orientation});
            } else if (call.Name == "gluDisk") {
                parts.push_back({"disk", a[1], a[2], 0, Apply(m, 0), Apply(m, 0), int(a[3]), int(a[4]), orientation});
            }
        }
        unbalanced = unbalanced || !stack.empty();
    }

    std::vector<TQuadricPart> parts;
    int pushes = 0;
    bool unbalanced = false;
    bool unsupported = false;

private:
    using Matrix = std::array<std::array<double, 4>, 4>;
    static Matrix Identity() { return {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}}; }
    static Matrix Multiply(const Matrix& a, const Matrix& b)
    {
        Matrix r{};
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j)
                for (int k = 0; k < 4; ++k)
                    r[i][j] += a[i][k] * b[k][j];
        return r;
    }
    static std::array<double, 3> Apply(const Matrix& m, double z)
    {
        std::array<double, 3> r{};
        for (int j = 0; j < 3; ++j) {
            r[j] = z * m[2][j] + m[3][j];
        }
        return r;
    }
};

} // namespace scenetest
