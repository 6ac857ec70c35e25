#pragma once
// The contours of a multipolygon: each a node list with its own division and spline
// settings. Any change to a contour is reported as a change of the whole collection.

#include "scene/graph/Nodes.h"
#include "scene/objects/lines/Lines.h"

#include <memory>
#include <string>

// Nodes that report their changes through the contour that owns them.
class TGLContourNodes : public TGLNodes {
    KP_CLASS(TGLContourNodes, TGLNodes)
public:
    explicit TGLContourNodes(TPersistent* owner) : TGLNodes(owner) {}
    void NotifyChange() override;
};

class TGLContour : public TCollectionItem {
    KP_CLASS(TGLContour, TCollectionItem)
public:
    explicit TGLContour(TCollection* collection);
    ~TGLContour() override;

    TGLContourNodes& Nodes() const { return *nodes_; }
    int Division() const { return division_; }
    TLineSplineMode SplineMode() const { return splineMode_; }
    const std::string& Description() const { return description_; }
    // Each reports a change to the collection when the value changes; Division below 1
    // becomes 1. The description changes nothing else.
    void SetNodes(const TGLNodes& value);
    void SetDivision(int value);
    void SetSplineMode(TLineSplineMode value);
    void SetDescription(const std::string& value) { description_ = value; }

    // From a contour: nodes, Division, SplineMode and Description.
    void Assign(const TPersistent* source) override;
    // Tells the collection that it changed as a whole.
    void ReportChange() { Changed(true); }

protected:
    // The description, or "GLContour: <n> nodes" without one.
    std::string GetDisplayName() const override;

private:
    std::unique_ptr<TGLContourNodes> nodes_;
    int division_ = 10;
    TLineSplineMode splineMode_ = lsmLines;
    std::string description_;
};

class TGLContours : public TNotifyCollection {
    KP_CLASS(TGLContours, TNotifyCollection)
public:
    explicit TGLContours(TPersistent* owner) : TNotifyCollection(owner, CollectionItemClassOf<TGLContour>()) {}

    TGLContour* Add() { return static_cast<TGLContour*>(TCollection::Add()); }
    TGLContour* Items(int index) const { return static_cast<TGLContour*>(TCollection::Items(index)); }
    TGLContour* operator[](int index) const { return Items(index); }
};
