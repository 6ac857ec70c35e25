#pragma once
// Clipping a segment to the inside of some planes (a view's frustum) in double
// precision, for segments whose ends lie so far out that single precision cannot clip
// them: OpenGL clips in floats, and a cut to 1E10 seen on a table of 100 lost its place
// on the screen, or vanished.
//
// A point where the segment crosses a plane is computed from both ends at once, through
// the products of their coordinates (each exact to the last bit through a fused
// multiply-add), not by stepping from one end: from an end at 3E38, a step lands within
// 1E22 of the line at best, while the crossing near the origin of a segment from -3E38
// to 3E38 through it comes out where it is. Nor is there a parameter along the segment:
// the part in view of one from -3E38 to 0 is a fraction of 1E-34 of it, which a double
// does not tell from its end.

#include <array>

using TPoint3d = std::array<double, 3>;

// The points p with Normal . p + Offset >= 0.
struct TClipPlane {
    TPoint3d Normal{};
    double Offset = 0;
};

struct TClippedSegment {
    TPoint3d From{};
    TPoint3d To{};
    // Whether each end is the segment's own end (not a crossing of a plane).
    bool FromKept = false;
    bool ToKept = false;
};

// The part of the segment from `a` to `b` inside every plane; false when none of it is
// (or a coordinate is no number).
bool ClipSegment(const TPoint3d& a, const TPoint3d& b, const TClipPlane* planes, int count, TClippedSegment& clipped);
