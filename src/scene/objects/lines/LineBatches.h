#pragma once
// Draws the children of one parent with as few OpenGL calls as their looks allow: runs
// of consecutive plain polylines (TGLLines drawn as one strip in their line colour, in
// place, with nothing else on them) that share a line style become one vertex array
// and one multi-draw call per frame; any other child draws itself as usual, in its
// place in the order. What each polyline looked like when it was copied is kept, and
// every frame the children are compared with it: from the first child that differs
// (added, removed, changed, shown or hidden) the copy is dropped and made again, so a
// growing last polyline or a new one at the end costs only its own nodes.
//
// Each strip is its own primitive, as with separate glBegin/glEnd, so stippled lines
// restart their pattern per polyline exactly as they do when drawn one by one.
//
// A batch whose points reach beyond what OpenGL draws exactly from the frame's view
// (LineView.h) draws its segments that do through a clip of its own, in double
// precision; the bounds kept of each batch's points make that one test per batch.

#include "scene/graph/RenderContextInfo.h"
#include "scene/objects/lines/Lines.h"

#include <cstdint>
#include <vector>

class TGLBaseSceneObject;
class TLineView;

class TLineBatches {
public:
    // Draws every child of `parent`, in order.
    void Render(const TGLBaseSceneObject& parent, TRenderContextInfo& rci);
    // Forgets every copy (the next frame copies everything again).
    void Clear();

    // Node points copied into batches so far; tests and benchmarks watch it to see
    // that a frame copies only what changed.
    std::uint64_t PointsCopied() const { return FPointsCopied; }
    // Draw calls of the last frame: one per batch and one per child drawn on its own.
    int Batches() const { return static_cast<int>(FRuns.size()); }

    // True for a child that a batch can draw: a TGLLines (not a derived class) whose
    // drawing is a plain strip, in place, without children, axes, effects or styles
    // that change how it renders.
    static bool Batchable(const TGLBaseSceneObject& child);

private:
    enum class TKind : std::uint8_t { Hidden, Batched, Single };
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
    // One draw: a batch of strips of one style, or one child drawn on its own.
    struct TRun {
        TLineStyle Style{};
        TGLBaseSceneObject* Single = nullptr;
        std::vector<TAffineVector> Points;
        std::vector<GLint> Firsts;
        std::vector<GLsizei> Counts;
        TPointBounds Bounds;
    };

    // The index of the first child that no longer looks as it did when copied.
    std::size_t FirstChanged(const TGLBaseSceneObject& parent) const;
    void TruncateTo(std::size_t member);
    void Append(TGLBaseSceneObject& child);
    static void DrawRun(const TRun& run);
    // Whether the batch reaches beyond what the view lets OpenGL draw as it is.
    static bool NeedsClip(TRun& run, const TLineView& view);
    // The batch with every segment that does clipped to the view (LineBatchesClip.cpp).
    static void DrawClippedRun(const TRun& run, const TLineView& view);

    std::vector<TMember> FMembers;
    std::vector<TRun> FRuns;
    std::uint64_t FPointsCopied = 0;

public:
    // What drawing one polyline keeps besides the polyline itself, at the most the
    // vectors reach as they double: its member record, its strip entry and its place
    // among the parent's children, and a copy of each node. A preview counts it for
    // every polyline, since each is drawn one way or another.
    static constexpr std::size_t BytesPerStrip =
        2 * (sizeof(TMember) + sizeof(GLint) + sizeof(GLsizei) + sizeof(void*));
    static constexpr std::size_t BytesPerPoint = 2 * sizeof(TAffineVector);
};
