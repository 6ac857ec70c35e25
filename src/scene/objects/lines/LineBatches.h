#pragma once
// Draws the children of one parent with as few OpenGL calls as their looks allow: runs
// of consecutive plain polylines (TGLLines drawn as one strip in their line colour, in
// place, with nothing else on them) that share a line style become one vertex array
// and one multi-draw call per frame; a long one (OwnArrayNodes bare points or more) is
// drawn from its own points, so that it is never copied; any other child draws itself
// as usual, in its place in the order. What each polyline looked like when it was
// copied is kept, and every frame the children are compared with it: from the first
// child that differs (added, removed, changed, shown or hidden) the copy is dropped and
// made again, so a growing last polyline or a new one at the end costs only its own
// nodes, and a long one that only grew or shrank costs nothing. In a scene, the parent
// hears which children changed (TGLWorld::WatchChildChanges) and is told of every edit
// of its child list (ChildrenEdited), so a frame looks only at the children from the
// first that changed on, not at a million unchanged ones.
//
// Each strip is its own primitive, as with separate glBegin/glEnd, so stippled lines
// restart their pattern per polyline exactly as they do when drawn one by one.
//
// A path of millions of nodes takes long to draw, and a step adds or takes away a node
// at its end. So where the buffer keeps pictures part of the way through a frame
// (TGLAbstractWorldBuffer::MayKeepPassPicture), the picture is kept as it stands some
// TailPoints points before the end, and a later frame that changed nothing before that
// place (in the scene or among the children) starts from it and draws only the tail:
// the same strips in the same order onto the same pixels, so the same picture. A strip
// is split there only where that draws the same pixels: a polyline drawn from its own
// points, solid and not smoothed (a stipple pattern would start again at the split).
//
// OpenGL transforms and clips in single precision, which loses a segment far longer than
// what the view shows (LineView.h). The bounds kept of each run's points make it one
// test per run and frame whether all its segments are drawn as they are; where not, each
// segment is tested on its own (LineBatchesClip.cpp), and one that reaches too far is
// clipped in double precision and drawn in eye coordinates. A segment is drawn the same
// way whatever else its run holds, and the parts of a run go in the order of its
// segments wherever that order shows (blending), so the picture before the path's end
// stays exact when a far segment lies before or after its place.

#include "scene/graph/RenderContextInfo.h"
#include "scene/objects/lines/Lines.h"

#include <algorithm>
#include <cstdint>
#include <vector>

class TGLBaseSceneObject;
class TLineView;

class TLineBatches {
public:
    // Draws every child of `parent`, in order; with `blendedLast` (the sorting that draws
    // blended children after the others: polylines never are) a blended child drawn on
    // its own comes after the rest, farthest first. `keepPicture`: the parent draws
    // nothing of its own, so a picture taken while its children draw holds the scene
    // before it as it stands.
    void Render(const TGLBaseSceneObject& parent, TRenderContextInfo& rci, bool blendedLast = false,
                bool keepPicture = false);
    // Forgets every copy (the next frame copies everything again) and the place of the
    // kept picture, and gives their memory back.
    void Clear();
    // The parent's children were added, inserted or removed from `index` on.
    void ChildrenEdited(std::size_t index) { FChangedFrom = std::min(FChangedFrom, index); }

    // Node points copied into batches so far; tests and benchmarks watch it to see
    // that a frame copies only what changed.
    std::uint64_t PointsCopied() const { return FPointsCopied; }
    // Node points handed to OpenGL so far (those of strips drawn as arrays); tests and
    // benchmarks watch it to see what a frame that started from the picture drew.
    std::uint64_t PointsDrawn() const { return FPointsDrawn; }
    // Draw calls of a whole frame: one per batch, per polyline drawn from its own
    // points and per child drawn on its own.
    int Batches() const { return static_cast<int>(FRuns.size()); }

    // True for a child that a batch can draw: a TGLLines (not a derived class) whose
    // drawing is a plain strip, in place, without children, axes, effects or styles
    // that change how it renders.
    static bool Batchable(const TGLBaseSceneObject& child);

    // A polyline of this many bare points or more is drawn from its own points.
    static constexpr int OwnArrayNodes = 4096;
    // About how many points a frame that starts from the kept picture draws again (each
    // polyline counting PointsPerDraw more, for what its own draw costs): what lies after
    // the picture's place, which moves on once twice as much lies after it. Step back
    // may take away that much before a frame draws everything again.
    static constexpr std::uint64_t TailPoints = 32768;
    static constexpr std::uint64_t PointsPerDraw = 64;

private:
    enum class TKind : std::uint8_t { Hidden, Batched, Own, Single };
    // A child as it was copied, and how far the batches reached before it.
    struct TMember {
        const TGLBaseSceneObject* Child;
        std::uint32_t Runs;
        std::uint32_t Strips;
        std::uint32_t Points;
        TKind Kind;
    };
    // The smallest box holding some points, or more than that once points were dropped.
    struct TPointBounds {
        TAffineVector Low{};
        TAffineVector High{};
        bool Empty = true;
        bool Loose = false;
        void Clear();
        void Add(const TAffineVector* points, std::size_t count);
    };
    // One draw: a batch of strips of one style, one polyline's own points, or one child
    // drawn on its own. The bounds hold the batch's points, or the own polyline's first
    // `BoundedNodes` nodes.
    struct TRun {
        TLineStyle Style{};
        TGLBaseSceneObject* Single = nullptr;
        const TGLLines* Own = nullptr;
        std::vector<TAffineVector> Points;
        std::vector<GLint> Firsts;
        std::vector<GLsizei> Counts;
        TPointBounds Bounds;
        int BoundedNodes = 0;
    };
    // What changed since the last frame: the members from `Rebuild` on are made again;
    // `Redrawn` is the first member whose drawing changed at all (a polyline drawn from
    // its own points that only grew or shrank keeps its place), and `Kept` how many of
    // its first nodes are as they were.
    struct TChange {
        std::size_t Rebuild;
        std::size_t Redrawn;
        int Kept;
    };
    // A place in the drawing: every member before `Member`, and of `Member` (drawn from
    // its own points) the strip through node `Node` (0: none of it).
    struct TPlace {
        std::size_t Member = 0;
        int Node = 0;
    };
    // The same place among the runs: run, strip of a batch, node of own points.
    struct TCursor {
        std::size_t Run;
        std::size_t Strip;
        int Node;
    };
    // Where the kept picture stops, and how the parent placed its children then (the
    // matrices its clipping starts from too); the buffer keeps the picture under the
    // serial (another buffer's frame makes another).
    struct TPictureMark {
        bool Set = false;
        std::uint64_t Serial = 0;
        TPlace Place;
        TMatrix ModelView{};
        TMatrix Local{};
        TGLVisibilityCulling Culling = vcInherited;
    };

    // Sees to it that the parent hears which of its children change; where it cannot,
    // or did not before, every child is looked at.
    void WatchChildren(const TGLBaseSceneObject& parent);
    void ChildChanged(const TGLBaseSceneObject& parent, const TGLBaseSceneObject& child);
    TChange FirstChanged(const TGLBaseSceneObject& parent);
    void Update(const TGLBaseSceneObject& parent, TChange& change);
    void TruncateTo(std::size_t member);
    void Append(TGLBaseSceneObject& child);
    // The own polyline's bounds brought up to its nodes now, the first `kept` of them as
    // they were when last counted.
    static void BoundOwn(TRun& run, int kept);
    void DrawRun(const TRun& run, std::size_t firstStrip, std::size_t endStrip);
    void DrawOwn(const TRun& run, int firstNode, int lastNode);
    // Whether the run reaches beyond what the view lets OpenGL draw as it is; bounds
    // grown loose are made tight again only by a frame that draws the run `fromStart`.
    static bool NeedsClip(TRun& run, const TLineView& view, bool fromStart);
    // The strips from `firstStrip` to `endStrip`, or the own nodes from `firstNode` to
    // `lastNode`, each segment that reaches too far clipped to the view
    // (LineBatchesClip.cpp).
    void DrawClippedRun(const TRun& run, const TLineView& view, std::size_t firstStrip, std::size_t endStrip);
    void DrawClippedOwn(const TRun& run, const TLineView& view, int firstNode, int lastNode);

    // The picture part of the way: the frame's drawing from the kept picture's place
    // (or whole), keeping a new picture where the tail has grown too long.
    void DrawKeepingPicture(const TGLBaseSceneObject& parent, TRenderContextInfo& rci, const TChange& change,
                            const TLineView& view);
    // Nothing changed before the mark's place; the parent places its children as then.
    bool KeptBeforeMark(const TChange& change) const;
    bool PlacedAsAtMark(const TPictureMark& now) const;
    TPlace PlaceBeforeTail() const;
    // How many points lie after `place` as TailPoints counts them, counted up to
    // `limit` (a hidden child counts one, so that the count bounds the walk).
    std::uint64_t PointsAfter(const TPlace& place, std::uint64_t limit) const;
    std::uint64_t MemberPoints(const TMember& member) const;
    TCursor CursorAt(const TPlace& place) const;
    TCursor End() const { return {FRuns.size(), 0, 0}; }
    // The runs from `from` to `to`; blended children drawn on their own are left to
    // DrawBlendedLast where `FBlendedLast`.
    void Draw(const TCursor& from, const TCursor& to, TRenderContextInfo& rci, const TLineView& view);
    // The blended children drawn on their own, farthest first, as the scene sorts them.
    void DrawBlendedLast(TRenderContextInfo& rci);

    std::vector<TMember> FMembers;
    std::vector<TRun> FRuns;
    // The runs of children drawn on their own, in order.
    std::vector<std::size_t> FSingles;
    // Own-point members that only grew or shrank this frame: looked at in place.
    std::vector<std::size_t> FRegrown;
    TPictureMark FMark;
    // This frame's sorting draws blended children last.
    bool FBlendedLast = false;
    // No child before this one changed since the last frame.
    static constexpr std::size_t NoChange = static_cast<std::size_t>(-1);
    std::size_t FChangedFrom = 0;
    std::uint64_t FPointsCopied = 0;
    std::uint64_t FPointsDrawn = 0;

public:
    // What drawing one polyline keeps besides the polyline itself, at the most the
    // vectors reach as they double: its member record, its strip entry and its place
    // among the parent's children, a copy of each node, and, where styles alternate
    // (a jog, then a cut), a run of its own whose three arrays take a block of the heap
    // each. A preview counts it for every polyline, since each is drawn one way or another.
    static constexpr std::size_t SmallHeapBlock = 32;
    static constexpr std::size_t BytesPerStrip =
        2 * (sizeof(TMember) + sizeof(GLint) + sizeof(GLsizei) + sizeof(void*) + sizeof(TRun)) + 3 * SmallHeapBlock;
    static constexpr std::size_t BytesPerPoint = 2 * sizeof(TAffineVector);
};
