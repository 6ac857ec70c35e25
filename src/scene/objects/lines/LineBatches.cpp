#include "scene/objects/lines/LineBatches.h"

#include "scene/graph/SceneObject.h"
#include "scene/objects/lines/LineView.h"

namespace {
constexpr TGLObjectChangeFlags RedrawChanges = ChangeBit(ocStructure) | ChangeBit(ocTransformation);

bool IsIdentity(const TMatrix& m)
{
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            if (m.V[r][c] != IdentityMatrix.V[r][c]) {
                return false;
            }
        }
    }
    return true;
}
} // namespace

bool TLineBatches::Batchable(const TGLBaseSceneObject& child)
{
    if (child.ClassType() != TGLLines::StaticClass()) {
        return false;
    }
    const auto& line = static_cast<const TGLLines&>(child);
    return line.ObjectStyle() == 0 && line.Count() == 0 && !line.ShowAxes() && !line.HasEffects() &&
           line.IsPlainStrip() && (!line.HasPlacement() || IsIdentity(line.Matrix()));
}

std::size_t TLineBatches::FirstChanged(const TGLBaseSceneObject& parent) const
{
    const std::size_t count = static_cast<std::size_t>(parent.Count());
    const std::size_t known = std::min(count, FMembers.size());
    for (std::size_t i = 0; i < known; ++i) {
        const TMember& member = FMembers[i];
        const TGLBaseSceneObject* child = parent.Children(static_cast<int>(i));
        if (member.Child != child || child->Visible() != (member.Kind != TKind::Hidden)) {
            return i;
        }
        switch (member.Kind) {
        case TKind::Hidden: break;
        case TKind::Batched:
            // New nodes, a new style or a move raise a change flag; axes and effects
            // do not, and take the child out of its batch.
            if ((child->Changes() & RedrawChanges) != 0 || child->ShowAxes() || child->HasEffects()) {
                return i;
            }
            break;
        case TKind::Single:
            // It draws itself every frame; only whether it could join a batch counts.
            if (Batchable(*child)) {
                return i;
            }
            break;
        }
    }
    return known;
}

void TLineBatches::TruncateTo(std::size_t member)
{
    if (member >= FMembers.size()) {
        return;
    }
    const TMember& m = FMembers[member];
    FRuns.resize(m.Runs);
    if (!FRuns.empty() && !FRuns.back().Single) {
        TRun& run = FRuns.back();
        run.Bounds.Loose = run.Bounds.Loose || m.Points < run.Points.size();
        run.Points.resize(m.Points);
        run.Firsts.resize(m.Strips);
        run.Counts.resize(m.Strips);
    }
    FMembers.resize(member);
}

void TLineBatches::Append(TGLBaseSceneObject& child)
{
    TMember member{&child, static_cast<std::uint32_t>(FRuns.size()), 0, 0, TKind::Hidden};
    if (!FRuns.empty() && !FRuns.back().Single) {
        member.Strips = static_cast<std::uint32_t>(FRuns.back().Firsts.size());
        member.Points = static_cast<std::uint32_t>(FRuns.back().Points.size());
    }
    if (!child.Visible()) {
        FMembers.push_back(member);
        return;
    }
    child.Matrix(); // clears the transformation flag that a batched child is watched by
    if (!Batchable(child)) {
        member.Kind = TKind::Single;
        FMembers.push_back(member);
        TRun run;
        run.Single = &child;
        FRuns.push_back(std::move(run));
        return;
    }
    member.Kind = TKind::Batched;
    FMembers.push_back(member);
    auto& line = static_cast<TGLLines&>(child);
    // The batch is the line's drawing now: a display list of its own would be stale.
    line.DestroyHandle();
    line.ClearStructureChanged();
    const int count = line.NodeCount();
    if (count < 2) {
        return; // draws nothing, as BuildList does
    }
    const TLineStyle style = line.Style();
    if (FRuns.empty() || FRuns.back().Single || !(FRuns.back().Style == style)) {
        TRun run;
        run.Style = style;
        FRuns.push_back(std::move(run));
    }
    TRun& run = FRuns.back();
    run.Firsts.push_back(static_cast<GLint>(run.Points.size()));
    run.Counts.push_back(static_cast<GLsizei>(count));
    const std::size_t first = run.Points.size();
    if (const TAffineVector* points = line.PointData()) {
        run.Points.insert(run.Points.end(), points, points + count);
    } else {
        for (int i = 0; i < count; ++i) {
            run.Points.push_back(line.NodePoint(i));
        }
    }
    run.Bounds.Add(run.Points.data() + first, static_cast<std::size_t>(count));
    FPointsCopied += static_cast<std::uint64_t>(count);
}

void TLineBatches::DrawRun(const TRun& run)
{
    SetupLineStyle(run.Style);
    GL.glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    GL.glEnableClientState(GL_VERTEX_ARRAY);
    GL.glVertexPointer(3, GL_FLOAT, 0, run.Points.data());
    const auto strips = static_cast<GLsizei>(run.Firsts.size());
    if (GL.glMultiDrawArraysEXT) {
        GL.glMultiDrawArraysEXT(GL_LINE_STRIP, run.Firsts.data(), run.Counts.data(), strips);
    } else {
        for (GLsizei i = 0; i < strips; ++i) {
            GL.glDrawArrays(GL_LINE_STRIP, run.Firsts[static_cast<std::size_t>(i)],
                            run.Counts[static_cast<std::size_t>(i)]);
        }
    }
    GL.glPopClientAttrib();
    RestoreLineStyle();
}

void TLineBatches::Render(const TGLBaseSceneObject& parent, TRenderContextInfo& rci)
{
    TruncateTo(FirstChanged(parent));
    if (FMembers.size() > static_cast<std::size_t>(parent.Count())) {
        TruncateTo(static_cast<std::size_t>(parent.Count()));
    }
    for (int i = static_cast<int>(FMembers.size()); i < parent.Count(); ++i) {
        Append(*parent.Children(i));
    }
    const TLineView view(parent.AbsoluteMatrixRef(), rci);
    for (TRun& run : FRuns) {
        if (run.Single) {
            run.Single->Render(rci);
        } else if (NeedsClip(run, view)) {
            DrawClippedRun(run, view);
        } else {
            DrawRun(run);
        }
    }
}

void TLineBatches::Clear()
{
    FMembers.clear();
    FRuns.clear();
}
