#include "platform/core/objects/Component.h"

#include "platform/core/Exceptions.h"
#include "platform/core/text/StringUtils.h"

#include <algorithm>

struct TComponent::TFreeLink {
    TComponent* side[2];
    TFreeLink* prev[2] = {nullptr, nullptr};
    TFreeLink* next[2] = {nullptr, nullptr};

    int SideOf(const TComponent* c) const { return side[0] == c ? 0 : 1; }
    TComponent* Other(const TComponent* c) const { return side[1 - SideOf(c)]; }
};

TComponent::TComponent(TComponent* owner)
{
    if (owner) {
        owner->InsertComponent(this);
    }
}

TComponent::~TComponent()
{
    SendFreeNotifications();
    DestroyComponents();
    if (owner_) {
        owner_->RemoveComponent(this);
    }
}

void TComponent::SendFreeNotifications()
{
    Destroying();
    // Tell everyone who asked that we are going, the last first; they drop their
    // pointers to us.
    while (TFreeLink* link = freeLast_) {
        TComponent* other = link->Other(this);
        UnlinkFreeLink(link);
        other->UnlinkFreeLink(link);
        delete link;
        other->Notification(this, TOperation::opRemove);
    }
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount()) {
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    }
    return components_[static_cast<std::size_t>(index)];
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    if (name.empty()) {
        return nullptr;
    }
    for (TComponent* c : components_) {
        if (SameText(c->name_, name)) {
            return c;
        }
    }
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (component->owner_) {
        component->owner_->RemoveComponent(component);
    }
    Insert(component);
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    Notification(component, TOperation::opRemove);
    Remove(component);
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* last = components_.back();
        Remove(last);
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this) {
        return;
    }
    if (FindFreeLink(component) == nullptr) {
        auto* link = new TFreeLink{{this, component}};
        AppendFreeLink(link);
        component->AppendFreeLink(link);
    }
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (TFreeLink* link = component ? FindFreeLink(component) : nullptr) {
        UnlinkFreeLink(link);
        component->UnlinkFreeLink(link);
        delete link;
    }
}

TComponent::TFreeLink* TComponent::FindFreeLink(const TComponent* other) const
{
    // A link is in both lists: walk the shorter one, from the most recent link, which
    // is also the one most likely to go first.
    const TComponent* list = freeCount_ <= other->freeCount_ ? this : other;
    const TComponent* wanted = list == this ? other : this;
    for (TFreeLink* link = list->freeLast_; link; link = link->prev[link->SideOf(list)]) {
        if (link->Other(list) == wanted) {
            return link;
        }
    }
    return nullptr;
}

void TComponent::AppendFreeLink(TFreeLink* link)
{
    const int k = link->SideOf(this);
    link->prev[k] = freeLast_;
    link->next[k] = nullptr;
    if (freeLast_) {
        freeLast_->next[freeLast_->SideOf(this)] = link;
    }
    freeLast_ = link;
    ++freeCount_;
}

void TComponent::UnlinkFreeLink(TFreeLink* link)
{
    const int k = link->SideOf(this);
    TFreeLink* prev = link->prev[k];
    TFreeLink* next = link->next[k];
    if (prev) {
        prev->next[prev->SideOf(this)] = next;
    }
    (next ? next->prev[next->SideOf(this)] : freeLast_) = prev;
    --freeCount_;
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == TOperation::opRemove && component) {
        RemoveFreeNotification(component);
    }
    // Copy: a handler may free or move owned components.
    const std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned) {
        if (c != component) {
            c->Notification(component, operation);
        }
    }
}

void TComponent::Insert(TComponent* component)
{
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component)
{
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    component->owner_ = nullptr;
}
