#pragma once
// The base of polygon objects: the outline's nodes with the division and spline
// settings of the lines. Editing a node rebuilds the drawing.

#include "scene/graph/CustomSceneObject.h"
#include "scene/graph/Nodes.h"
#include "scene/objects/lines/Lines.h"

#include <memory>

class TGLPolygonBase : public TGLWorldObject {
    KP_CLASS(TGLPolygonBase, TGLWorldObject)
public:
    explicit TGLPolygonBase(TComponent* owner = nullptr);
    ~TGLPolygonBase() override;

    TGLNodes& Nodes() const { return *nodes_; }
    int Division() const { return division_; }
    TLineSplineMode SplineMode() const { return splineMode_; }
    // Takes the given nodes and rebuilds.
    void SetNodes(const TGLNodes& value);
    // Below 1 becomes 1; rebuilds on change.
    void SetDivision(int value);
    void SetSplineMode(TLineSplineMode value);

    // From a polygon base: its nodes (through SetNodes), Division and SplineMode; then
    // the custom-object part.
    void Assign(const TPersistent* source) override;
    // A change from the own nodes rebuilds the drawing first.
    void NotifyChange(TObject* sender) override;

protected:
    // The node collection of plain nodes this object owns.
    std::unique_ptr<TGLNodes> CreateNodes();

private:
    std::unique_ptr<TGLNodes> nodes_;
    int division_ = 10;
    TLineSplineMode splineMode_ = lsmLines;
};
