// The runs whose points reach beyond what OpenGL draws exactly from the frame's view (a
// cut to 1E10 seen on the table, a path seen from a bit at 1E20): segments OpenGL draws
// well go as they are, straight from the run's points; the others are clipped to the box
// around the view in double precision and drawn in eye coordinates. Only such a run pays
// for the test of each segment, in the frames that draw it, and only for the part drawn
// (after the kept picture, the path's end).
//
// Whether a segment goes as it is depends on its own ends and the view only: the same
// test as a run's bounds take, on the segment's, so a run all of whose segments pass
// draws them the same way whole or segment by segment, and a part of a run drawn over the
// kept picture lands on the pixels the whole run lands on.

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

// Where a later fragment blends with an earlier one, the order of the segments shows:
// a colour that is not opaque, or smoothed edges.
bool OrderShows(const TLineStyle& style)
{
    return style.Color.W < 1 || style.AntiAliased;
}

// The strips of one run, or of part of it, sorted out: ranges of its own points, and
// clipped parts. In order, they go in pieces, each change between the two starting a
// new one; otherwise every range of points goes first, then every clipped part.
class TClippedStrips {
public:
    TClippedStrips(const TLineView& view, bool inOrder) : FView(view), FInOrder(inOrder)
    {
        if (!inOrder) {
            FPieces.resize(2);
            FPieces[1].Eye = true;
        }
    }

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
        for (std::size_t i = 0; i + 1 < count; ++i) {
            if (FView.DirectSegment(p[i], p[i + 1])) {
                directFrom = std::min(directFrom, i);
                clippedGoesOn = false;
            } else {
                if (directFrom < count) {
                    Piece(false).Add(first + directFrom, i - directFrom + 1);
                    directFrom = count;
                }
                clippedGoesOn = AddClipped(p[i], p[i + 1], clippedGoesOn);
            }
        }
        if (directFrom < count) {
            Piece(false).Add(first + directFrom, count - directFrom);
        }
    }

    // The ranges from `points`, the clipped parts in eye coordinates.
    void Draw(const TAffineVector* points) const
    {
        for (const TPiece& piece : FPieces) {
            if (!piece.Eye) {
                DrawStrips(points, piece.Strips);
            } else if (!piece.Strips.Firsts.empty()) {
                GL.glPushMatrix();
                GL.glLoadIdentity();
                DrawStrips(FEyePoints.data(), piece.Strips);
                GL.glPopMatrix();
            }
        }
    }

private:
    struct TPiece {
        bool Eye = false;
        TStrips Strips;
    };

    TStrips& Piece(bool eye)
    {
        if (!FInOrder) {
            return FPieces[eye ? 1 : 0].Strips;
        }
        if (FPieces.empty() || FPieces.back().Eye != eye) {
            FPieces.push_back({eye, {}});
        }
        return FPieces.back().Strips;
    }

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
        TStrips& eye = Piece(true);
        if (goesOn && fromKept) {
            eye.Counts.back() += 1;
        } else {
            eye.Add(FEyePoints.size(), 2);
            FEyePoints.push_back(from);
        }
        FEyePoints.push_back(to);
        return toKept;
    }

    const TLineView& FView;
    const bool FInOrder;
    std::vector<TPiece> FPieces;
    std::vector<TAffineVector> FEyePoints;
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

bool TLineBatches::NeedsClip(TRun& run, const TLineView& view, bool fromStart)
{
    if (!view.Valid() || run.Bounds.Empty || view.Direct(run.Bounds.Low, run.Bounds.High)) {
        return false;
    }
    if (run.Bounds.Loose && fromStart) {
        // Points were dropped since: the bounds may be wider than what is left. A frame
        // that draws the whole run can afford to look at every point once.
        run.Bounds.Clear();
        if (run.Own) {
            run.BoundedNodes = 0;
            BoundOwn(run, 0);
        } else {
            run.Bounds.Add(run.Points.data(), run.Points.size());
        }
        return !run.Bounds.Empty && !view.Direct(run.Bounds.Low, run.Bounds.High);
    }
    return true;
}

void TLineBatches::DrawClippedRun(const TRun& run, const TLineView& view, std::size_t firstStrip,
                                  std::size_t endStrip)
{
    if (firstStrip >= endStrip) {
        return;
    }
    TClippedStrips strips(view, OrderShows(run.Style));
    for (std::size_t i = firstStrip; i < endStrip; ++i) {
        strips.Add(run.Points.data(), static_cast<std::size_t>(run.Firsts[i]), static_cast<std::size_t>(run.Counts[i]));
    }
    SetupLineStyle(run.Style);
    strips.Draw(run.Points.data());
    RestoreLineStyle();
    const std::size_t last = endStrip - 1;
    FPointsDrawn += static_cast<std::uint64_t>(run.Firsts[last] + run.Counts[last] - run.Firsts[firstStrip]);
}

void TLineBatches::DrawClippedOwn(const TRun& run, const TLineView& view, int firstNode, int lastNode)
{
    if (lastNode <= firstNode) {
        return;
    }
    const auto count = static_cast<std::size_t>(lastNode - firstNode + 1);
    TClippedStrips strips(view, OrderShows(run.Style));
    strips.Add(run.Own->PointData(), static_cast<std::size_t>(firstNode), count);
    SetupLineStyle(run.Style);
    strips.Draw(run.Own->PointData());
    RestoreLineStyle();
    FPointsDrawn += count;
}
