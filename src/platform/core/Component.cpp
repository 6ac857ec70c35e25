#include "platform/core/Component.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StringUtils.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner)
{
    if (owner) {
        owner->InsertComponent(this);
    }
}

TComponent::~TComponent()
{
    Destroying();
    // Tell everyone who asked that we are going; they drop their pointers to us.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& theirs = other->freeNotifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) {
        owner_->RemoveComponent(this);
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
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
        freeNotifies_.push_back(component);
        component->FreeNotification(this);
    }
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), component);
    if (it != freeNotifies_.end()) {
        freeNotifies_.erase(it);
        component->RemoveFreeNotification(this);
    }
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
