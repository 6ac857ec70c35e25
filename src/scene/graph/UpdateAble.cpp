#include "scene/graph/UpdateAble.h"

void TGLUpdateAbleObject::NotifyChange(TObject* /*sender*/)
{
    if (!owner_) {
        return;
    }
    if (auto* object = ObjectCast<TGLUpdateAbleObject>(owner_)) {
        object->NotifyChange(this);
    } else if (auto* component = ObjectCast<TGLUpdateAbleComponent>(owner_)) {
        component->NotifyChange(this);
    }
    if (OnNotifyChange) {
        OnNotifyChange(this);
    }
}

void TGLUpdateAbleComponent::NotifyChange(TObject* /*sender*/)
{
    if (auto* owner = ObjectCast<TGLUpdateAbleComponent>(Owner())) {
        owner->NotifyChange(this);
    }
}
