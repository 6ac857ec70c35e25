#include "scene/objects/lines/LineBatches.h"

#include "scene/graph/SceneObject.h"
#include "scene/graph/World.h"
#include "scene/graph/WorldInterfaces.h"
#include "scene/objects/lines/LineView.h"

#include <cstring>
#include <utility>

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

// How far from the end a changed child is looked for among the parent's children: the
// newest change; one further in means looking at all of them.
constexpr int ChangedChildSearch = 1024;

// A strip of this style drawn in two parts lands on the pixels it lands on whole.
bool Splittable(const TLineStyle& style)
{
    return style.Pattern == 0xFFFF && !style.AntiAliased;
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

void TLineBatches::WatchChildren(const TGLBaseSceneObject& parent)
{
    auto* scene = ObjectCast<TGLWorld>(parent.Scene());
    if (!scene) {
        FChangedFrom = 0;
        return;
    }
    if (!scene->WatchesChildChanges(parent)) {
        scene->WatchChildChanges(parent,
                                 [this, &parent](const TGLBaseSceneObject& child) { ChildChanged(parent, child); });
        FChangedFrom = 0;
    }
}

void TLineBatches::ChildChanged(const TGLBaseSceneObject& parent, const TGLBaseSceneObject& child)
{
    if (FChangedFrom == 0) {
        return;
    }
    const int count = parent.Count();
    for (int i = count - 1; i >= 0 && i >= count - ChangedChildSearch; --i) {
        if (parent.Children(i) == &child) {
            FChangedFrom = std::min(FChangedFrom, static_cast<std::size_t>(i));
            return;
        }
    }
    FChangedFrom = 0;
}

TLineBatches::TChange TLineBatches::FirstChanged(const TGLBaseSceneObject& parent)
{
    FRegrown.clear();
    const std::size_t count = static_cast<std::size_t>(parent.Count());
    const std::size_t known = std::min(count, FMembers.size());
    TChange change{known, known, 0};
    for (std::size_t i = std::min(FChangedFrom, known); i < known; ++i) {
        const TMember& member = FMembers[i];
        const TGLBaseSceneObject* child = parent.Children(static_cast<int>(i));
        if (member.Child != child || child->Visible() != (member.Kind != TKind::Hidden)) {
            change.Rebuild = i;
            break;
        }
        switch (member.Kind) {
        case TKind::Hidden: break;
        case TKind::Batched:
        case TKind::Own:
            // New nodes, a new style or a move raise a change flag; axes and effects
            // do not, and take the child out of its batch.
            if ((child->Changes() & RedrawChanges) != 0 || child->ShowAxes() || child->HasEffects()) {
                const auto& line = static_cast<const TGLLines&>(*child);
                // Own points that only grew or shrank are drawn as they are now.
                if (member.Kind == TKind::Own && Batchable(line) && line.PointData() &&
                    line.Style() == FRuns[member.Runs].Style) {
                    if (i < change.Redrawn) {
                        change.Redrawn = i;
                        change.Kept = line.UnchangedNodes();
                    }
                    FRegrown.push_back(i);
                    break;
                }
                change.Rebuild = i;
            }
            break;
        case TKind::Single:
            // It draws itself every frame; only whether it could join a batch counts to
            // the copies. What it draws may have changed, since a change came from it or
            // a child before it.
            if (Batchable(*child)) {
                change.Rebuild = i;
            } else if (i < change.Redrawn) {
                change.Redrawn = i;
                change.Kept = 0;
            }
            break;
        }
        if (change.Rebuild == i) {
            break;
        }
    }
    if (change.Rebuild < change.Redrawn) {
        change.Redrawn = change.Rebuild;
        change.Kept = 0;
    }
    return change;
}

void TLineBatches::Update(const TGLBaseSceneObject& parent, TChange& change)
{
    for (const std::size_t i : FRegrown) {
        if (i < change.Rebuild) {
            auto& line = const_cast<TGLLines&>(static_cast<const TGLLines&>(*FMembers[i].Child));
            line.Matrix();
            line.ClearStructureChanged();
            BoundOwn(FRuns[FMembers[i].Runs], line.UnchangedNodes());
            line.MarkNodesUnchanged();
        }
    }
    TruncateTo(change.Rebuild);
    if (FMembers.size() > static_cast<std::size_t>(parent.Count())) {
        TruncateTo(static_cast<std::size_t>(parent.Count()));
    }
    for (int i = static_cast<int>(FMembers.size()); i < parent.Count(); ++i) {
        Append(*parent.Children(i));
    }
    FChangedFrom = NoChange;
}

void TLineBatches::TruncateTo(std::size_t member)
{
    if (member >= FMembers.size()) {
        return;
    }
    const TMember& m = FMembers[member];
    FRuns.resize(m.Runs);
    while (!FSingles.empty() && FSingles.back() >= FRuns.size()) {
        FSingles.pop_back();
    }
    if (!FRuns.empty() && !FRuns.back().Single && !FRuns.back().Own) {
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
    if (!FRuns.empty() && !FRuns.back().Single && !FRuns.back().Own) {
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
        FSingles.push_back(FRuns.size());
        TRun run;
        run.Single = &child;
        FRuns.push_back(std::move(run));
        return;
    }
    auto& line = static_cast<TGLLines&>(child);
    // The batch is the line's drawing now: a display list of its own would be stale.
    line.DestroyHandle();
    line.ClearStructureChanged();
    const int count = line.NodeCount();
    if (line.PointData() && count >= OwnArrayNodes) {
        member.Kind = TKind::Own;
        FMembers.push_back(member);
        line.MarkNodesUnchanged();
        TRun run;
        run.Style = line.Style();
        run.Own = &line;
        BoundOwn(run, 0);
        FRuns.push_back(std::move(run));
        return;
    }
    member.Kind = TKind::Batched;
    FMembers.push_back(member);
    if (count < 2) {
        return; // draws nothing, as BuildList does
    }
    const TLineStyle style = line.Style();
    if (FRuns.empty() || FRuns.back().Single || FRuns.back().Own || !(FRuns.back().Style == style)) {
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

void TLineBatches::BoundOwn(TRun& run, int kept)
{
    // Nodes past `kept` that the bounds held may be gone: the bounds still hold them.
    run.Bounds.Loose = run.Bounds.Loose || kept < run.BoundedNodes;
    const int from = std::min(kept, run.BoundedNodes);
    const int count = run.Own->NodeCount();
    if (from < count) {
        run.Bounds.Add(run.Own->PointData() + from, static_cast<std::size_t>(count - from));
    }
    run.BoundedNodes = count;
}

void TLineBatches::DrawRun(const TRun& run, std::size_t firstStrip, std::size_t endStrip)
{
    if (firstStrip >= endStrip) {
        return;
    }
    SetupLineStyle(run.Style);
    GL.glVertexPointer(3, GL_FLOAT, 0, run.Points.data());
    const auto strips = static_cast<GLsizei>(endStrip - firstStrip);
    if (GL.glMultiDrawArraysEXT) {
        GL.glMultiDrawArraysEXT(GL_LINE_STRIP, run.Firsts.data() + firstStrip, run.Counts.data() + firstStrip, strips);
    } else {
        for (std::size_t i = firstStrip; i < endStrip; ++i) {
            GL.glDrawArrays(GL_LINE_STRIP, run.Firsts[i], run.Counts[i]);
        }
    }
    RestoreLineStyle();
    const std::size_t last = endStrip - 1;
    FPointsDrawn += static_cast<std::uint64_t>(run.Firsts[last] + run.Counts[last] - run.Firsts[firstStrip]);
}

void TLineBatches::DrawOwn(const TRun& run, int firstNode, int lastNode)
{
    if (lastNode <= firstNode) {
        return;
    }
    SetupLineStyle(run.Style);
    GL.glVertexPointer(3, GL_FLOAT, 0, run.Own->PointData());
    GL.glDrawArrays(GL_LINE_STRIP, firstNode, lastNode - firstNode + 1);
    RestoreLineStyle();
    FPointsDrawn += static_cast<std::uint64_t>(lastNode - firstNode + 1);
}

void TLineBatches::Render(const TGLBaseSceneObject& parent, TRenderContextInfo& rci, bool blendedLast,
                          bool keepPicture)
{
    WatchChildren(parent);
    TChange change = FirstChanged(parent);
    Update(parent, change);
    FBlendedLast = blendedLast;
    const TLineView view(parent.AbsoluteMatrixRef(), rci);
    if (keepPicture && rci.buffer) {
        DrawKeepingPicture(parent, rci, change, view);
    } else {
        FMark.Set = FMark.Set && KeptBeforeMark(change);
        Draw({0, 0, 0}, End(), rci, view);
    }
    if (FBlendedLast) {
        DrawBlendedLast(rci);
    }
}

void TLineBatches::Clear()
{
    std::vector<TMember>().swap(FMembers);
    std::vector<TRun>().swap(FRuns);
    std::vector<std::size_t>().swap(FSingles);
    std::vector<std::size_t>().swap(FRegrown);
    FMark.Set = false;
    FChangedFrom = 0;
}

// ---- Drawing from the kept picture ----

bool TLineBatches::KeptBeforeMark(const TChange& change) const
{
    const TPlace& place = FMark.Place;
    return change.Redrawn > place.Member ||
           (change.Redrawn == place.Member && (place.Node == 0 || change.Kept > place.Node));
}

bool TLineBatches::PlacedAsAtMark(const TPictureMark& now) const
{
    return now.Culling == FMark.Culling && std::memcmp(&now.ModelView, &FMark.ModelView, sizeof(TMatrix)) == 0 &&
           std::memcmp(&now.Local, &FMark.Local, sizeof(TMatrix)) == 0;
}

void TLineBatches::DrawKeepingPicture(const TGLBaseSceneObject& parent, TRenderContextInfo& rci,
                                      const TChange& change, const TLineView& view)
{
    TGLAbstractWorldBuffer& buffer = *rci.buffer;
    TPictureMark now;
    GL.glGetFloatv(GL_MODELVIEW_MATRIX, &now.ModelView.V[0].X);
    now.Local = parent.AbsoluteMatrixRef();
    now.Culling = rci.visibilityCulling;
    // Whichever buffer draws, the children before the place must have stayed; the picture
    // is this buffer's only when it kept it (another buffer's frame keeps none here).
    FMark.Set = FMark.Set && KeptBeforeMark(change);
    const bool fromPicture =
        FMark.Set && PlacedAsAtMark(now) && buffer.RestorePassPicture(parent, FMark.Serial);
    TPlace from = fromPicture ? FMark.Place : TPlace{};
    if (buffer.MayKeepPassPicture() && (!fromPicture || PointsAfter(from, 2 * TailPoints + 1) > 2 * TailPoints)) {
        const TPlace mark = PlaceBeforeTail();
        Draw(CursorAt(from), CursorAt(mark), rci, view);
        now.Set = true;
        now.Serial = FMark.Serial + 1;
        now.Place = mark;
        buffer.SavePassPicture(parent, now.Serial);
        FMark = now;
        from = mark;
    }
    Draw(CursorAt(from), End(), rci, view);
}

std::uint64_t TLineBatches::MemberPoints(const TMember& member) const
{
    switch (member.Kind) {
    case TKind::Hidden: return 1;
    case TKind::Batched:
    case TKind::Own:
        return PointsPerDraw + static_cast<std::uint64_t>(static_cast<const TGLLines*>(member.Child)->NodeCount());
    case TKind::Single: break;
    }
    return PointsPerDraw;
}

std::uint64_t TLineBatches::PointsAfter(const TPlace& place, std::uint64_t limit) const
{
    std::uint64_t points = 0;
    for (std::size_t i = FMembers.size(); i > place.Member + 1; --i) {
        points += MemberPoints(FMembers[i - 1]);
        if (points > limit) {
            return points;
        }
    }
    if (place.Member < FMembers.size()) {
        // Of the place's own member, the nodes before the place lie in the picture.
        const std::uint64_t own = MemberPoints(FMembers[place.Member]);
        points += own - std::min(own, static_cast<std::uint64_t>(place.Node));
    }
    return points;
}

TLineBatches::TPlace TLineBatches::PlaceBeforeTail() const
{
    std::uint64_t tail = 0;
    for (std::size_t i = FMembers.size(); i-- > 0;) {
        const TMember& member = FMembers[i];
        const std::uint64_t points = MemberPoints(member);
        if (tail + points > TailPoints && member.Kind == TKind::Own && Splittable(FRuns[member.Runs].Style)) {
            // The strip through that node lies in the picture, the rest after it.
            const auto nodes = static_cast<std::uint64_t>(static_cast<const TGLLines*>(member.Child)->NodeCount());
            return {i, static_cast<int>(nodes - std::min(nodes, TailPoints - tail))};
        }
        tail += points;
        if (tail >= TailPoints) {
            return {i, 0};
        }
    }
    return {};
}

TLineBatches::TCursor TLineBatches::CursorAt(const TPlace& place) const
{
    if (place.Member >= FMembers.size()) {
        return End();
    }
    const TMember& member = FMembers[place.Member];
    if (member.Kind == TKind::Own) {
        return {member.Runs, 0, place.Node};
    }
    // A member that joined the batch before it starts at that batch's strip.
    if (member.Runs > 0) {
        const TRun& before = FRuns[member.Runs - 1];
        if (!before.Single && !before.Own && member.Strips < before.Firsts.size()) {
            return {member.Runs - 1, member.Strips, 0};
        }
    }
    return {member.Runs, 0, 0};
}

void TLineBatches::Draw(const TCursor& from, const TCursor& to, TRenderContextInfo& rci, const TLineView& view)
{
    bool arrays = false;
    for (std::size_t r = from.Run; r < FRuns.size() && r <= to.Run; ++r) {
        TRun& run = FRuns[r];
        if (run.Single) {
            if (arrays) {
                GL.glPopClientAttrib();
                arrays = false;
            }
            if (r < to.Run && !(FBlendedLast && run.Single->Blended())) {
                run.Single->Render(rci);
            }
            continue;
        }
        if (!arrays) {
            GL.glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
            GL.glEnableClientState(GL_VERTEX_ARRAY);
            arrays = true;
        }
        const bool fromStart = r != from.Run || (from.Strip == 0 && from.Node == 0);
        const bool clip = NeedsClip(run, view, fromStart);
        if (run.Own) {
            const int first = r == from.Run ? from.Node : 0;
            const int last = r == to.Run ? to.Node : run.Own->NodeCount() - 1;
            if (clip) {
                DrawClippedOwn(run, view, first, last);
            } else {
                DrawOwn(run, first, last);
            }
        } else {
            const std::size_t first = r == from.Run ? from.Strip : 0;
            const std::size_t end = r == to.Run ? to.Strip : run.Firsts.size();
            if (clip) {
                DrawClippedRun(run, view, first, end);
            } else {
                DrawRun(run, first, end);
            }
        }
    }
    if (arrays) {
        GL.glPopClientAttrib();
    }
}

void TLineBatches::DrawBlendedLast(TRenderContextInfo& rci)
{
    std::vector<std::pair<float, TGLBaseSceneObject*>> blended;
    for (const std::size_t r : FSingles) {
        TGLBaseSceneObject* child = FRuns[r].Single;
        if (child->Blended()) {
            blended.emplace_back(child->BarycenterSqrDistanceTo(rci.cameraPosition), child);
        }
    }
    std::stable_sort(blended.begin(), blended.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [distance, child] : blended) {
        child->Render(rci);
    }
}
