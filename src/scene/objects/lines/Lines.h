#pragma once
// Line objects: a style-carrying base (colour, stipple, width, smoothing), a noded
// line that draws a marker at each of its coloured nodes, and the polyline/curve
// object that every tool path of the preview is made of.
//
// A preview holds hundreds of thousands of tool-path polylines of a few nodes each, so
// a line keeps its nodes as bare points (LinePoints.h) and its colour as a vector until
// someone asks for the node collection or the colour objects; those are then made and
// hold the state from then on.

#include "scene/materials/Color.h"
#include "scene/graph/CustomSceneObject.h"
#include "scene/graph/Nodes.h"
#include "scene/base/ScalarLists.h"
#include "scene/objects/lines/LinePoints.h"

#include <cstdint>
#include <memory>
#include <vector>

// Everything a line's drawing state depends on: lines of equal styles draw alike.
struct TLineStyle {
    TVector Color;
    float Width;
    std::uint16_t Pattern;
    bool AntiAliased;

    bool operator==(const TLineStyle& other) const
    {
        return Color.X == other.Color.X && Color.Y == other.Color.Y && Color.Z == other.Color.Z &&
               Color.W == other.Color.W && Width == other.Width && Pattern == other.Pattern &&
               AntiAliased == other.AntiAliased;
    }
};

// The attribute bracket around every line drawing: pushes the colour, enable, line and
// current attributes and sets them up for the style; the restore pops them.
void SetupLineStyle(const TLineStyle& style);
void RestoreLineStyle();

class TGLLinesNodes;
class TGLNodedLines;

// What a tool path never asks for, made on first need by whichever part of a line
// wants it: the colour objects, the node collection and a curve's parameters.
struct TLineParts {
    TLineParts();
    ~TLineParts();
    struct TNodeColor;
    std::unique_ptr<TGLColor> LineColor;
    std::unique_ptr<TGLLinesNodes> Nodes;
    std::unique_ptr<TNodeColor> NodeColor;
    std::unique_ptr<TSingleList> Knots;
    int NURBSOrder = 0;
    float NURBSTolerance = 50.0f;
};

class TGLLineBase : public TGLImmaterialSceneObject {
    KP_CLASS(TGLLineBase, TGLImmaterialSceneObject)
public:
    explicit TGLLineBase(TComponent* owner = nullptr);
    ~TGLLineBase() override;

    // Made on first use.
    TGLColor& LineColor() const;
    // Copies the four components, then always a structure change.
    void SetLineColor(const TGLColor& value);
    void SetLineColor(const TVector& value);
    // The colour, without making the colour object.
    const TVector& LineColorVector() const
    {
        return parts_ && parts_->LineColor ? parts_->LineColor->Color() : lineColorValue_;
    }
    TLineStyle Style() const { return {LineColorVector(), lineWidth_, linePattern_, antiAliased_}; }
    std::uint16_t LinePattern() const { return linePattern_; }
    // 65535 is solid: no stippling.
    void SetLinePattern(std::uint16_t value);
    float LineWidth() const { return lineWidth_; }
    void SetLineWidth(float value);
    bool AntiAliased() const { return antiAliased_; }
    void SetAntiAliased(bool value);

    // From a line base: only the four style properties.
    void Assign(const TPersistent* source) override;

protected:
    // The attribute bracket around every line drawing of this family.
    void SetupLineStyle(TRenderContextInfo& rci);
    void RestoreLineStyle(TRenderContextInfo& rci);

    TLineParts& Parts() const;
    TLineParts* PartsIfAny() const { return parts_.get(); }

private:
    // The colour while there is no colour object.
    TVector lineColorValue_ = ColorWhite;
    mutable std::unique_ptr<TLineParts> parts_;
    float lineWidth_ = 1.0f;
    std::uint16_t linePattern_ = 0xFFFF;
    bool antiAliased_ = false;
};

class TGLLinesNodes;

// A node with a colour. Tool paths hold millions of nodes and nearly all share one
// colour, so the colour is an index into its node list's palette instead of an object
// of its own.
class TGLLinesNode : public TGLNode {
    KP_CLASS(TGLLinesNode, TGLNode)
public:
    // Takes the NodeColor of the line that owns the collection.
    explicit TGLLinesNode(TCollection* collection);

    const TVector& Color() const;
    // Then the collection notifies its line.
    void SetColor(const TVector& value);
    // Stored in a form only when it differs from the line's NodeColor.
    bool StoreColor() const;

    // From a lines node: the colour; then the coordinates.
    void Assign(const TPersistent* source) override;

    // Nodes come from a pool of equal slots: a tool path holds millions of them, and
    // a general allocation would add its own header to each.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size);

private:
    friend class TGLLinesNodes;
    friend class TGLNodedLines;
    std::uint32_t colorIndex_ = 0;
};

class TGLNodedLines;

class TGLLinesNodes : public TGLNodes {
    KP_CLASS(TGLLinesNodes, TGLNodes)
public:
    explicit TGLLinesNodes(TComponent* owner);

    TGLLinesNode* Items(int index) const { return static_cast<TGLLinesNode*>(TGLNodes::Items(index)); }
    TGLLinesNode* operator[](int index) const { return Items(index); }
    TGLLinesNode* Add() { return static_cast<TGLLinesNode*>(TGLNodes::Add()); }

    // The owner rebuilds its drawing.
    void NotifyChange() override;

    // Palette of the node colours; the index of `color`, added when new.
    std::uint32_t ColorIndex(const TVector& color);
    const TVector& PaletteColor(std::uint32_t index) const { return palette_[index]; }
    // Index that new nodes get (the owner's NodeColor).
    std::uint32_t DefaultColorIndex() const { return defaultColorIndex_; }
    void SetDefaultColor(const TVector& color) { defaultColorIndex_ = ColorIndex(color); }

private:
    friend class TGLNodedLines;
    std::vector<TVector> palette_;
    std::uint32_t defaultColorIndex_ = 0;
    // Set while the owner moves its points in: that changes nothing it draws.
    bool filling_ = false;
};

enum TLineNodesAspect : std::uint8_t { lnaInvisible, lnaAxes, lnaCube, lnaDodecahedron };

class TGLNodedLines : public TGLLineBase {
    KP_CLASS(TGLNodedLines, TGLLineBase)
public:
    explicit TGLNodedLines(TComponent* owner = nullptr);
    ~TGLNodedLines() override;

    // The node collection, made on first use from the points held until then; from
    // then on it holds the nodes.
    TGLLinesNodes& Nodes() const;
    bool HasNodeCollection() const { return Collection() != nullptr; }
    void SetNodes(const TGLLinesNodes& value);
    TLineNodesAspect NodesAspect() const { return nodesAspect_; }
    void SetNodesAspect(TLineNodesAspect value);
    // Made on first use.
    TGLColor& NodeColor() const;
    void SetNodeColor(const TGLColor& value);
    float NodeSize() const { return nodeSize_; }
    // A size <= 0 becomes 1.
    void SetNodeSize(float value);

    // Appends a node at (x, y, z, 0) with the node colour: one notification.
    void AddNode(float x, float y, float z);
    // Removes the last node (no-op when there is none).
    void DeleteLastNode();
    // A finished polyline gives back the room its bare points do not use.
    void CompactNodes() { points_.ShrinkToFit(); }
    // What the nodes take on the heap besides the object, and what the next AddNode
    // adds to that (a preview counts its memory as it grows).
    std::size_t NodeBytes() const;
    std::size_t NodeGrowthBytes() const { return Collection() ? NodeObjectBytes : points_.PushGrowth(); }

    // The nodes read without making the collection.
    int NodeCount() const { return Collection() ? Collection()->Count() : static_cast<int>(points_.Count()); }
    // X, Y and Z of node `index` (0 .. NodeCount - 1).
    TAffineVector NodePoint(int index) const
    {
        return Collection() ? Collection()->Items(index)->GetAsAffineVector()
                            : points_[static_cast<std::uint32_t>(index)];
    }
    // All four coordinates (W is 0 for nodes added with AddNode).
    TVector NodeVector(int index) const;
    const TVector& NodeColorOf(int index) const;
    // The points side by side while there is no collection; nullptr after.
    const TAffineVector* PointData() const { return Collection() ? nullptr : points_.Data(); }
    // For the one drawing that shows the line: how many leading nodes are as they were
    // when it last marked them (appending keeps them, deleting the last lowers the count,
    // any other change starts it at 0). Only bare points of more than three keep a count.
    int UnchangedNodes() const { return Collection() ? 0 : static_cast<int>(points_.Unchanged()); }
    void MarkNodesUnchanged() { points_.MarkUnchanged(); }

    void Assign(const TPersistent* source) override;
    // Largest absolute value of each coordinate over the nodes.
    TVector UnscaledHalfExtents() const override;

protected:
    void DrawNode(TRenderContextInfo& rci, float x, float y, float z, const TVector& color);

private:
    friend struct TLineParts;
    // A node object with its place in the collection.
    static constexpr std::size_t NodeObjectBytes = sizeof(TGLLinesNode) + sizeof(void*);
    void OnNodeColorChanged(TObject* sender);
    TGLLinesNodes* Collection() const { return PartsIfAny() ? PartsIfAny()->Nodes.get() : nullptr; }
    // The colour of every node while the nodes are bare points (new nodes take the
    // previous node colour, and a change of it recolours all of them).
    const TVector& PreviousNodeColor() const;

    TLineNodesAspect nodesAspect_ = lnaAxes;
    // The nodes while there is no collection.
    TLinePoints points_;
    float nodeSize_ = 1.0f;
};

enum TLineSplineMode : std::uint8_t { lsmLines, lsmCubicSpline, lsmBezierSpline, lsmNURBSCurve, lsmSegments };
enum TLinesOption : std::uint8_t { loUseNodeColorForLines };
using TLinesOptions = std::uint8_t; // bit n for option n
constexpr TLinesOptions LinesOptionBit(TLinesOption o)
{
    return TLinesOptions(1u << o);
}

class TGLLines : public TGLNodedLines {
    KP_CLASS(TGLLines, TGLNodedLines)
public:
    explicit TGLLines(TComponent* owner = nullptr);
    ~TGLLines() override;

    int Division() const { return division_; }
    // Never below 1.
    void SetDivision(int value);
    TLineSplineMode SplineMode() const { return splineMode_; }
    void SetSplineMode(TLineSplineMode value);
    TLinesOptions Options() const { return options_; }
    void SetOptions(TLinesOptions value);

    // 0 and 50 until set; with the knots (made on first use) they shape a NURBS curve.
    int NURBSOrder() const { return PartsIfAny() ? PartsIfAny()->NURBSOrder : 0; }
    void SetNURBSOrder(int value) { Parts().NURBSOrder = value; }
    float NURBSTolerance() const { return PartsIfAny() ? PartsIfAny()->NURBSTolerance : 50.0f; }
    void SetNURBSTolerance(float value) { Parts().NURBSTolerance = value; }
    TSingleList& NURBSKnots() const;

    void Assign(const TPersistent* source) override;
    void BuildList(TRenderContextInfo& rci) override;

    // A tool path is hundreds of thousands of lines: they come from a pool of equal
    // slots, as the nodes do.
    static void* operator new(std::size_t size);
    static void operator delete(void* p, std::size_t size);
    // The polyline's whole memory: its slot, its nodes and the parts made on first use.
    std::size_t MemoryBytes() const;

    // True when the drawing is one line strip through the nodes in the line colour and
    // nothing else (no curve, no segments, no node colours, no markers).
    bool IsPlainStrip() const
    {
        return NodesAspect() == lnaInvisible && !UseNodeColors() &&
               (splineMode_ == lsmLines || (division_ < 2 && splineMode_ != lsmSegments));
    }

private:
    void DrawCubicSpline();
    void DrawNURBS();
    bool UseNodeColors() const { return (options_ & LinesOptionBit(loUseNodeColorForLines)) != 0; }

    TLineSplineMode splineMode_ = lsmLines;
    TLinesOptions options_ = 0;
    int division_ = 10;
};

// The twelve edges of a cube of edge `size` centred on the origin; dotted when asked.
void RenderWireCube(TRenderContextInfo& rci, bool dotted, const TVector& color, float size);
// A small solid dodecahedron (radius about 0.5) centred on the origin.
void RenderDodecahedron();
