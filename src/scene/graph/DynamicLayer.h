#pragma once
// The objects of a scene that move while the rest of it stands still: a tool's bit over
// a path of a million lines. Each brings its whole subtree. A buffer draws the rest of
// the scene once, keeps that picture and, while nothing outside the layer changes,
// draws only the layer over it (WorldBuffer.h); changes made by objects of the layer
// do not count as changes of the rest.
//
// So the layer may change only its own pixels: its objects are drawn after the rest,
// its lights shine on the layer only, and no object outside it may draw one inside it
// (a proxy of a layer object belongs to the layer too).

#include <memory>
#include <vector>

class TGLBaseSceneObject;

class TGLDynamicLayer {
public:
    TGLDynamicLayer();
    ~TGLDynamicLayer();
    TGLDynamicLayer(const TGLDynamicLayer&) = delete;
    TGLDynamicLayer& operator=(const TGLDynamicLayer&) = delete;

    // Both answer whether the layer changed. A freed object leaves by itself.
    bool Add(TGLBaseSceneObject* object);
    bool Remove(TGLBaseSceneObject* object);
    bool Empty() const { return objects_.empty(); }

    // The object, or one of its ancestors, belongs to the layer.
    bool Contains(const TGLBaseSceneObject* object) const;
    // The objects of the layer that lie below `root` and below no other object of the
    // layer, in the order they were added.
    std::vector<TGLBaseSceneObject*> TopObjectsUnder(const TGLBaseSceneObject* root) const;

private:
    class TWatch;
    bool Marked(const TGLBaseSceneObject* object) const;

    std::vector<TGLBaseSceneObject*> objects_;
    std::unique_ptr<TWatch> watch_;
};
