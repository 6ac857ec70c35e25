#pragma once
// Ordered, owned lists of points: the vertex list of every polyline and polygon. A node
// change tells the collection, the collection tells its owner component (unless an
// update bracket is open), and the owner redraws.

#include "platform/core/objects/Collection.h"
#include "platform/core/objects/Delegate.h"
#include "scene/graph/UpdateAble.h"
#include "scene/base/VectorTypes.h"

#include <memory>
#include <string>

class TCubicSpline;
class TGLNodes;

class TGLNode : public TCollectionItem {
    KP_CLASS(TGLNode, TCollectionItem)
public:
    explicit TGLNode(TCollection* collection) : TCollectionItem(collection) {}

    float X() const { return coords_.X; }
    float Y() const { return coords_.Y; }
    float Z() const { return coords_.Z; }
    float W() const { return coords_.W; }
    void SetX(float v) { SetCoordinate(0, v); }
    void SetY(float v) { SetCoordinate(1, v); }
    void SetZ(float v) { SetCoordinate(2, v); }
    // Index 0 X, 1 Y, 2 Z; then the owning node list notifies.
    void SetCoordinate(int index, float value);
    // Published coordinates are stored only when they are not 0.
    bool StoreCoordinate(int index) const { return coords_[index] != 0; }

    const TVector& AsVector() const { return coords_; }
    // All four components; then the owning node list notifies.
    void SetAsVector(const TVector& v);
    TAffineVector GetAsAffineVector() const { return {coords_.X, coords_.Y, coords_.Z}; }
    const TVector* VectorPointer() const { return &coords_; }
    TVector* VectorPointer() { return &coords_; }

    // From another node: the four components, without notification.
    void Assign(const TPersistent* source) override;

protected:
    // "1.0000; 2.5000; -3.0000".
    std::string GetDisplayName() const override;

private:
    void NotifyNodes();

    TVector coords_{0, 0, 0, 0};
};

class TGLNodes : public TOwnedCollection {
    KP_CLASS(TGLNodes, TOwnedCollection)
public:
    // Items are TGLNode unless another node class is given.
    explicit TGLNodes(TPersistent* owner, TCollectionItemClass itemClass = {});

    TGLNode* Items(int index) const { return static_cast<TGLNode*>(TCollection::Items(index)); }
    TGLNode* operator[](int index) const { return Items(index); }
    // A new node at (0, 0, 0, 0).
    TGLNode* Add() { return static_cast<TGLNode*>(TCollection::Add()); }
    TGLNode* AddNode(const TVector& v);
    TGLNode* AddNode(const TAffineVector& v) { return AddNode(TVector{v.X, v.Y, v.Z, 0}); }

    // Tells an update-able owner component, unless an update bracket is open.
    virtual void NotifyChange();
    // The bracket's close notifies through Update and once more itself.
    void EndUpdate() override;

    // Unit normal of the plane through nodes 0, 1 and 2; (0, 0, 0) with fewer nodes.
    TAffineVector PolygonNormal() const;
    // A spline through the nodes' X, Y and Z (not W); the caller owns it.
    std::unique_ptr<TCubicSpline> MakeSpline() const;

    // Draws the node polygon filled, as triangles from the GLU tessellator (more than
    // two nodes; nothing otherwise). Textured: each vertex's X and Y are also its
    // texture coordinates. normal: sent first and given to the tessellator. With
    // splineDivisions > 1 the outline follows the nodes' spline. A tessellation error
    // raises an assertion failure "<code>: <GLU text>" once GLU has finished.
    void DrawTessellatedPolygon(bool textured, const TAffineVector* normal, bool invertOrder,
                                int splineDivisions) const;

protected:
    void Update(TCollectionItem* item) override;
};

// A collection that reports every change through OnNotifyChange; created for an
// update-able component, it reports to that component's NotifyChange.
class TNotifyCollection : public TOwnedCollection {
    KP_CLASS(TNotifyCollection, TOwnedCollection)
public:
    TNotifyCollection(TPersistent* owner, TCollectionItemClass itemClass);

    TNotifyEvent OnNotifyChange;

protected:
    void Update(TCollectionItem* item) override;
};
