#pragma once
// Components own the components created with them as owner and free them when they
// are freed. Any two components can ask to be told when the other is freed
// (FreeNotification), so nobody keeps a dangling pointer to a freed component.
//
// Owned components must live on the heap: the owner deletes them.

#include "platform/core/objects/LazyContainers.h"
#include "platform/core/objects/Persistent.h"

#include <string>
#include <vector>

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
    KP_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    TPersistent* GetOwner() const override { return owner_; }
    // A component's name path is its name.
    std::string GetNamePath() const override { return name_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    TComponent* FindComponent(const std::string& name) const;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, last first.
    void DestroyComponents();

    // Both sides are told (Notification with opRemove) when the other is freed, the
    // last to ask first. Both cost the same with a million components watching one:
    // only the shorter of the two components' lists is searched, from its end.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // True from the moment destruction starts: skip work that would touch the
    // half-destroyed object.
    bool IsDestroying() const { return destroying_; }

protected:
    // Called for insertions into and removals from this component's owned list and
    // for freed components this one asked to be told about. Owners forward it to the
    // components they own. Overrides must call the inherited one.
    virtual void Notification(TComponent* component, TOperation operation);
    // Marks the component as being destroyed; derived destructors may call it early.
    void Destroying() { destroying_ = true; }
    // Tells everyone who asked that this component goes. The destructor does it last; a
    // derived destructor calls it first when those components still reach into it as
    // they let go (detaching themselves from it).
    void SendFreeNotifications();

private:
    // One link per pair of components that watch each other, in both their lists, so
    // either side unlinks it without a search.
    struct TFreeLink;

    void Insert(TComponent* component);
    void Remove(TComponent* component);
    TFreeLink* FindFreeLink(const TComponent* other) const;
    void AppendFreeLink(TFreeLink* link);
    void UnlinkFreeLink(TFreeLink* link);

    TComponent* owner_ = nullptr;
    // Most components have no name and own nothing: one pointer each.
    TLazyString name_;
    TLazyList<TComponent*> components_;
    TFreeLink* freeLast_ = nullptr;
    int freeCount_ = 0;
    bool destroying_ = false;
};
