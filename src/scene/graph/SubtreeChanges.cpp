#include "scene/graph/SubtreeChanges.h"

#include "scene/graph/SceneObject.h"

#include <algorithm>

// Takes a freed object out of the counts: a component of its own that nobody owns, as
// the dynamic layer's watch.
class TGLSubtreeChanges::TWatch : public TComponent {
public:
    explicit TWatch(std::vector<TEntry>& entries) : entries_(entries) {}

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        if (operation == TOperation::opRemove) {
            // By address: the object is half destroyed.
            std::erase_if(entries_, [component](const TEntry& entry) {
                return static_cast<const TComponent*>(entry.Object) == component;
            });
        }
        TComponent::Notification(component, operation);
    }

private:
    std::vector<TEntry>& entries_;
};

TGLSubtreeChanges::TGLSubtreeChanges() : watch_(std::make_unique<TWatch>(entries_)) {}

TGLSubtreeChanges::~TGLSubtreeChanges()
{
    for (const TEntry& entry : entries_) {
        watch_->RemoveFreeNotification(const_cast<TGLBaseSceneObject*>(entry.Object));
    }
}

TGLSubtreeChanges::TEntry& TGLSubtreeChanges::EntryOf(const TGLBaseSceneObject& object)
{
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&object](const TEntry& entry) { return entry.Object == &object; });
    if (it != entries_.end()) {
        return *it;
    }
    entries_.push_back({&object, 0, {}});
    watch_->FreeNotification(const_cast<TGLBaseSceneObject*>(&object));
    return entries_.back();
}

std::uint64_t TGLSubtreeChanges::Count(const TGLBaseSceneObject& object)
{
    return EntryOf(object).Changes;
}

void TGLSubtreeChanges::WatchChildren(const TGLBaseSceneObject& object, TChildChanged onChildChanged)
{
    EntryOf(object).OnChildChanged = std::move(onChildChanged);
}

bool TGLSubtreeChanges::WatchesChildren(const TGLBaseSceneObject& object) const
{
    return std::any_of(entries_.begin(), entries_.end(), [&object](const TEntry& entry) {
        return entry.Object == &object && entry.OnChildChanged;
    });
}

void TGLSubtreeChanges::Changed(const TGLBaseSceneObject& sender)
{
    // By index: a listener may watch another object.
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const TGLBaseSceneObject* below = nullptr;
        for (const TGLBaseSceneObject* p = &sender; p; below = p, p = p->Parent()) {
            if (p == entries_[i].Object) {
                ++entries_[i].Changes;
                if (below && entries_[i].OnChildChanged) {
                    entries_[i].OnChildChanged(*below);
                }
                break;
            }
        }
    }
}
