#include "scene/graph/DynamicLayer.h"

#include "scene/graph/SceneObject.h"

#include <algorithm>

// Takes a freed object out of the layer. A component of its own that nobody owns, so
// that it hears of nothing but the frees it asked for.
class TGLDynamicLayer::TWatch : public TComponent {
public:
    explicit TWatch(std::vector<TGLBaseSceneObject*>& objects) : objects_(objects) {}

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        if (operation == TOperation::opRemove) {
            // By address: the object is half destroyed.
            objects_.erase(std::remove_if(objects_.begin(), objects_.end(),
                                          [component](TGLBaseSceneObject* object) {
                                              return static_cast<TComponent*>(object) == component;
                                          }),
                           objects_.end());
        }
        TComponent::Notification(component, operation);
    }

private:
    std::vector<TGLBaseSceneObject*>& objects_;
};

TGLDynamicLayer::TGLDynamicLayer() : watch_(std::make_unique<TWatch>(objects_)) {}

TGLDynamicLayer::~TGLDynamicLayer()
{
    for (TGLBaseSceneObject* object : objects_) {
        watch_->RemoveFreeNotification(object);
    }
}

bool TGLDynamicLayer::Add(TGLBaseSceneObject* object)
{
    if (!object || Marked(object)) {
        return false;
    }
    objects_.push_back(object);
    watch_->FreeNotification(object);
    return true;
}

bool TGLDynamicLayer::Remove(TGLBaseSceneObject* object)
{
    const auto it = std::find(objects_.begin(), objects_.end(), object);
    if (it == objects_.end()) {
        return false;
    }
    objects_.erase(it);
    watch_->RemoveFreeNotification(object);
    return true;
}

bool TGLDynamicLayer::Marked(const TGLBaseSceneObject* object) const
{
    return std::find(objects_.begin(), objects_.end(), object) != objects_.end();
}

bool TGLDynamicLayer::Contains(const TGLBaseSceneObject* object) const
{
    if (objects_.empty()) {
        return false;
    }
    for (const TGLBaseSceneObject* p = object; p; p = p->Parent()) {
        if (Marked(p)) {
            return true;
        }
    }
    return false;
}

std::vector<TGLBaseSceneObject*> TGLDynamicLayer::TopObjectsUnder(const TGLBaseSceneObject* root) const
{
    std::vector<TGLBaseSceneObject*> top;
    for (TGLBaseSceneObject* object : objects_) {
        const TGLBaseSceneObject* p = object->Parent();
        while (p && p != root && !Marked(p)) {
            p = p->Parent();
        }
        if (p && p == root) {
            top.push_back(object);
        }
    }
    return top;
}
