#pragma once
// What the camera of a frame sees of the points of one object (its lines' nodes, in its
// own coordinates), in double precision: which points OpenGL can draw as they are, and,
// for a segment reaching beyond them, the part of it inside the view's frustum, in eye
// coordinates.
//
// OpenGL transforms and clips in single precision. Where it clips a segment, the error
// is some 1E-7 of the segment's length: a segment ten million times longer than the
// detail the view shows was clipped to the wrong place, and beyond about a billion times
// it was not drawn at all; and a view far from the object's origin (from the bit at
// 1E20) leaves nothing near it the precision of a point drawn through the object's
// matrix. So:
//  - points that lie, with the camera and the object's origin, within DetailReach times
//    the distance to the nearest of them (and to the near plane) are drawn by OpenGL
//    as they are: the common case, where every point of a run is, else where both ends
//    of a segment are;
//  - every other segment is clipped here to the frustum, relative to a reference point
//    near the camera (the origin, or the camera's place rounded to single precision),
//    and drawn in eye coordinates: wholly in view, OpenGL has nothing left to clip.

#include "scene/graph/RenderContextInfo.h"
#include "scene/objects/lines/SegmentClip.h"

#include <algorithm>

class TLineView {
public:
    // How far, in multiples of the distance from the camera to what it shows, OpenGL
    // draws points exactly enough (within a fraction of a pixel).
    static constexpr double DetailReach = 1024;

    // The view of a frame, whose camera's view is `view` and whose projection is
    // `projection`, on an object whose absolute matrix is `local`.
    TLineView(const TMatrix& local, const TMatrix& view, const TMatrix& projection);
    // The same for the frame `rci`, with the projection OpenGL holds.
    TLineView(const TMatrix& local, const TRenderContextInfo& rci);

    // False without a view, a projection of a kind not known, or matrices that do not
    // invert: everything is drawn as it is.
    bool Valid() const { return FValid; }
    // Whether OpenGL draws segments between points within these bounds as the view
    // needs (always, for a view that is not valid).
    bool Direct(const TAffineVector& low, const TAffineVector& high) const;
    // The same for the segments of one point, whatever the others: within DetailReach
    // times the near plane's distance of the camera.
    bool Direct(const TAffineVector& p) const;
    // The segment from a to b: the bounds' test on its own two ends (so every segment of
    // points within bounds that pass passes too), quick where both ends pass alone.
    bool DirectSegment(const TAffineVector& a, const TAffineVector& b) const
    {
        return (Direct(a) && Direct(b)) ||
               Direct({std::min(a.X, b.X), std::min(a.Y, b.Y), std::min(a.Z, b.Z)},
                      {std::max(a.X, b.X), std::max(a.Y, b.Y), std::max(a.Z, b.Z)});
    }

    // The part of the segment from a to b inside the frustum, in eye coordinates; false
    // when none of it is (the view is valid).
    bool ClipToEye(const TAffineVector& a, const TAffineVector& b, TAffineVector& eyeFrom, TAffineVector& eyeTo,
                   bool& fromKept, bool& toKept) const;

    // The camera's place in the object's coordinates.
    const TPoint3d& Camera() const { return FCamera; }

private:
    void Build(const TMatrix& local, const TMatrix& view, const TMatrix& projection);
    TAffineVector Eye(const TPoint3d& relative) const;

    bool FValid = false;
    TPoint3d FCamera{};
    // The near plane's distance (or half the view's width, for a parallel projection),
    // in the object's units.
    double FNear = 0;
    // Points within this of the camera on every axis are drawn directly (with the
    // camera close enough to the origin; else none is).
    double FDirectReach = 0;
    // The reference point (single precision) that clipping is relative to, the frustum
    // relative to it, the reference in eye coordinates and the object's axes in eye
    // coordinates (rows).
    TPoint3d FReference{};
    TClipPlane FPlanes[6]{};
    int FPlaneCount = 0;
    TPoint3d FEyeReference{};
    TPoint3d FAxes[3]{};
};
