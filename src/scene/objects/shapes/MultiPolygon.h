#pragma once
// A flat polygon with holes in the local XY plane: contour 0 is the outer boundary and
// every further contour a hole. The contours are first reduced by the GLU tessellator
// to a clean outline (closed loops, kept until a contour changes), which is then
// filled at every display-list build.

#include "scene/graph/CustomSceneObject.h"
#include "scene/base/PersistentObjectList.h"
#include "scene/base/VectorLists.h"
#include "scene/objects/shapes/Contours.h"
#include "scene/objects/shapes/Polygon.h"

#include <memory>

// Closed loops of vertices, one list each; owns its lists.
class TPolygonList : public TPersistentObjectList {
    KP_CLASS(TPolygonList, TPersistentObjectList)
public:
    TPolygonList() = default;
    ~TPolygonList() override { FreeAndClear(); }

    // A new empty loop, which becomes the current one; returns its index.
    int Add()
    {
        current_ = new TAffineVectorList();
        return TPersistentObjectList::Add(current_);
    }
    TAffineVectorList* GetList(int index) const { return static_cast<TAffineVectorList*>(GetItems(index)); }
    // The loop added last; nullptr before the first.
    TAffineVectorList* Current() const { return current_; }

private:
    TAffineVectorList* current_ = nullptr;
};

class TMultiPolygonBase : public TGLWorldObject {
    KP_CLASS(TMultiPolygonBase, TGLWorldObject)
public:
    explicit TMultiPolygonBase(TComponent* owner = nullptr);
    ~TMultiPolygonBase() override;

    TGLContours& Contours() const { return *contours_; }
    void SetContours(const TGLContours& value);
    // The nodes of contour index (>= 0, assertion), adding empty contours up to it.
    TGLNodes& GetPath(int index);

    // The outline, built when there is none. A tessellation error raises an
    // assertion failure "<GLU error number> : <GLU's text>" and leaves no outline.
    const TPolygonList& GetOutline();
    bool HasOutline() const { return outline_ != nullptr; }
    // Frees the outline (when there is one) and marks the drawing stale. Every change
    // of a contour's nodes, Division or SplineMode calls it.
    virtual void DropOutline(TObject* sender);

    // Fills the outline: one contour per loop, reversed when invertNormals. With a
    // normal, it is sent first and given to the tessellator. Textured: each vertex's X
    // and Y are also its texture coordinates.
    void RenderTesselatedPolygon(bool textured, const TAffineVector* normal, bool invertNormals);

    // From a multipolygon: the contours; then the custom-object part.
    void Assign(const TPersistent* source) override;

protected:
    // The polygon's plane normal in local coordinates.
    const TAffineVector& Normal() const { return normal_; }
    // Reduces the contours to closed loops: nothing unless contour 0 has more than two
    // nodes. Contour 0 is issued counter-clockwise about the normal and every other
    // contour clockwise, whatever the order of their nodes, so that holes are cut
    // under the positive winding rule.
    void MakeOutline(TPolygonList& outline) const;

private:
    std::unique_ptr<TGLContours> contours_;
    std::unique_ptr<TPolygonList> outline_;
    TAffineVector normal_{0, 0, 1};
};

class TGLMultiPolygon : public TMultiPolygonBase {
    KP_CLASS(TGLMultiPolygon, TMultiPolygonBase)
public:
    explicit TGLMultiPolygon(TComponent* owner = nullptr) : TMultiPolygonBase(owner) {}

    TPolygonParts Parts() const { return parts_; }
    void SetParts(TPolygonParts value);

    // From a multipolygon: Parts; then the multipolygon-base part.
    void Assign(const TPersistent* source) override;
    // The top face facing the normal, the bottom face the other way; both textured.
    void BuildList(TRenderContextInfo& rci) override;

private:
    TPolygonParts parts_ = ppTop | ppBottom;
};
