// The batches whose points reach beyond what OpenGL draws exactly from the frame's view
// (a cut to 1E10 seen on the table, a path seen from a bit at 1E20): segments between
// points OpenGL draws well go as they are, straight from the batch's points; the others
// are clipped to the box around the view in double precision and drawn in eye
// coordinates. Only such a batch pays for the test of each point, in the frames that
// draw it.

#include "scene/objects/lines/LineBatches.h"
#include "scene/objects/lines/LineView.h"

#include <algorithm>

namespace {

struct TStrips {
    std::vector<GLint> Firsts;
    std::vector<GLsizei> Counts;

    void Add(std::size_t first, std::size_t count)
    {
        Firsts.push_back(static_cast<GLint>(first));
        Counts.push_back(static_cast<GLsizei>(count));
    }
};

void DrawStrips(const TAffineVector* points, const TStrips& strips)
{
    const auto count = static_cast<GLsizei>(strips.Firsts.size());
    if (count == 0) {
        return;
    }
    GL.glVertexPointer(3, GL_FLOAT, 0, points);
    if (GL.glMultiDrawArraysEXT) {
        GL.glMultiDrawArraysEXT(GL_LINE_STRIP, strips.Firsts.data(), strips.Counts.data(), count);
    } else {
        for (std::size_t i = 0; i < strips.Firsts.size(); ++i) {
            GL.glDrawArrays(GL_LINE_STRIP, strips.Firsts[i], strips.Counts[i]);
        }
    }
}

// The strips of one batch sorted out: ranges of its own points, and clipped parts.
class TClippedStrips {
public:
    explicit TClippedStrips(const TLineView& view) : FView(view) {}

    // The strip of `count` points from `first` on.
    void Add(const TAffineVector* points, std::size_t first, std::size_t count)
    {
        if (count < 2) {
            return;
        }
        const TAffineVector* p = points + first;
        std::size_t directFrom = count; // none
        // Whether the last clipped part ends on point i itself, so the next one goes on.
        bool clippedGoesOn = false;
        bool fromDirect = FView.Direct(p[0]);
        for (std::size_t i = 0; i + 1 < count; ++i) {
            const bool toDirect = FView.Direct(p[i + 1]);
            if (fromDirect && toDirect) {
                directFrom = std::min(directFrom, i);
                clippedGoesOn = false;
            } else {
                if (directFrom < count) {
                    Direct.Add(first + directFrom, i - directFrom + 1);
                    directFrom = count;
                }
                clippedGoesOn = AddClipped(p[i], p[i + 1], clippedGoesOn);
            }
            fromDirect = toDirect;
        }
        if (directFrom < count) {
            Direct.Add(first + directFrom, count - directFrom);
        }
    }

    TStrips Direct;
    std::vector<TAffineVector> EyePoints;
    TStrips Eye;

private:
    // The part of a..b in view, joined to the strip before when that ended on a; true
    // when the part ends on b.
    bool AddClipped(const TAffineVector& a, const TAffineVector& b, bool goesOn)
    {
        TAffineVector from{};
        TAffineVector to{};
        bool fromKept = false;
        bool toKept = false;
        if (!FView.ClipToEye(a, b, from, to, fromKept, toKept)) {
            return false;
        }
        if (goesOn && fromKept) {
            Eye.Counts.back() += 1;
        } else {
            Eye.Add(EyePoints.size(), 2);
            EyePoints.push_back(from);
        }
        EyePoints.push_back(to);
        return toKept;
    }

    const TLineView& FView;
};

} // namespace

void TLineBatches::TPointBounds::Clear()
{
    *this = TPointBounds();
}

void TLineBatches::TPointBounds::Add(const TAffineVector* points, std::size_t count)
{
    if (count == 0) {
        return;
    }
    if (Empty) {
        Low = High = points[0];
        Empty = false;
    }
    TAffineVector low = Low;
    TAffineVector high = High;
    for (std::size_t i = 0; i < count; ++i) {
        const TAffineVector& p = points[i];
        low.X = p.X < low.X ? p.X : low.X;
        low.Y = p.Y < low.Y ? p.Y : low.Y;
        low.Z = p.Z < low.Z ? p.Z : low.Z;
        high.X = p.X > high.X ? p.X : high.X;
        high.Y = p.Y > high.Y ? p.Y : high.Y;
        high.Z = p.Z > high.Z ? p.Z : high.Z;
    }
    Low = low;
    High = high;
}

bool TLineBatches::NeedsClip(TRun& run, const TLineView& view)
{
    if (!view.Valid() || run.Points.empty() || view.Direct(run.Bounds.Low, run.Bounds.High)) {
        return false;
    }
    if (run.Bounds.Loose) {
        // Points were dropped since: the bounds may be wider than what is left.
        run.Bounds.Clear();
        run.Bounds.Add(run.Points.data(), run.Points.size());
        return !view.Direct(run.Bounds.Low, run.Bounds.High);
    }
    return true;
}

void TLineBatches::DrawClippedRun(const TRun& run, const TLineView& view)
{
    TClippedStrips strips(view);
    for (std::size_t i = 0; i < run.Firsts.size(); ++i) {
        strips.Add(run.Points.data(), static_cast<std::size_t>(run.Firsts[i]), static_cast<std::size_t>(run.Counts[i]));
    }
    SetupLineStyle(run.Style);
    GL.glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    GL.glEnableClientState(GL_VERTEX_ARRAY);
    DrawStrips(run.Points.data(), strips.Direct);
    if (!strips.EyePoints.empty()) {
        // The clipped parts are in eye coordinates already.
        GL.glPushMatrix();
        GL.glLoadIdentity();
        DrawStrips(strips.EyePoints.data(), strips.Eye);
        GL.glPopMatrix();
    }
    GL.glPopClientAttrib();
    RestoreLineStyle();
}
