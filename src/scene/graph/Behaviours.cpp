#include "scene/graph/Behaviours.h"

#include "platform/core/Assert.h"
#include "scene/graph/SceneObject.h"
#include "scene/graph/WorldInterfaces.h"

// ---- Items ----

void TGLBaseBehaviour::WriteToFiler(TVirtualWriter& writer) const
{
    TXCollectionItem::WriteToFiler(writer);
    writer.WriteInteger(0);
}

void TGLBaseBehaviour::ReadFromFiler(TVirtualReader& reader)
{
    TXCollectionItem::ReadFromFiler(reader);
    const int version = reader.ReadInteger();
    KP_ASSERT(version == 0);
}

TGLBaseSceneObject* TGLBaseBehaviour::OwnerBaseSceneObject() const
{
    TXCollection* collection = Owner();
    return collection ? ObjectCast<TGLBaseSceneObject>(collection->Owner()) : nullptr;
}

void TGLObjectEffect::WriteToFiler(TVirtualWriter& writer) const
{
    TGLBaseBehaviour::WriteToFiler(writer);
    writer.WriteInteger(0);
}

void TGLObjectEffect::ReadFromFiler(TVirtualReader& reader)
{
    TGLBaseBehaviour::ReadFromFiler(reader);
    const int version = reader.ReadInteger();
    KP_ASSERT(version == 0);
}

// ---- Collections ----

namespace {

std::string CollectionPath(const TXCollection& collection, const char* suffix)
{
    if (const TPersistent* owner = collection.Owner()) {
        const std::string path = owner->GetNamePath();
        if (!path.empty()) {
            return path + suffix;
        }
    }
    return collection.ClassName();
}

bool IsEffectClass(const TXCollectionItemClass& cls)
{
    return cls.cls && cls.cls->InheritsFrom(TGLObjectEffect::StaticClass());
}

} // namespace

TGLBehaviours::TGLBehaviours(TPersistent* owner) : TXCollection(owner)
{
    KP_ASSERT(ObjectCast<TGLBaseSceneObject>(owner) != nullptr);
}

bool TGLBehaviours::CanAdd(const TXCollectionItemClass& cls) const
{
    return !IsEffectClass(cls) && TXCollection::CanAdd(cls);
}

std::string TGLBehaviours::GetNamePath() const { return CollectionPath(*this, ".Behaviours"); }

void TGLBehaviours::DoProgress(const TProgressTimes& progressTime)
{
    for (int i = 0; i < Count(); ++i) {
        static_cast<TGLBaseBehaviour*>(Items(i))->DoProgress(progressTime);
    }
}

TGLObjectEffects::TGLObjectEffects(TPersistent* owner) : TXCollection(owner)
{
    KP_ASSERT(ObjectCast<TGLBaseSceneObject>(owner) != nullptr);
}

bool TGLObjectEffects::CanAdd(const TXCollectionItemClass& cls) const
{
    return IsEffectClass(cls) && TXCollection::CanAdd(cls);
}

std::string TGLObjectEffects::GetNamePath() const { return CollectionPath(*this, ".Effects"); }

void TGLObjectEffects::DoProgress(const TProgressTimes& progressTime)
{
    for (int i = 0; i < Count(); ++i) {
        static_cast<TGLBaseBehaviour*>(Items(i))->DoProgress(progressTime);
    }
}

void TGLObjectEffects::RenderPreEffects(TGLAbstractWorldBuffer* sceneBuffer, TRenderContextInfo& rci)
{
    for (int i = 0; i < Count(); ++i) {
        if (auto* effect = ObjectCast<TGLObjectPreEffect>(Items(i))) {
            effect->Render(sceneBuffer, rci);
        }
    }
}

void TGLObjectEffects::RenderPostEffects(TGLAbstractWorldBuffer* sceneBuffer, TRenderContextInfo& rci)
{
    for (int i = 0; i < Count(); ++i) {
        TXCollectionItem* item = Items(i);
        if (auto* effect = ObjectCast<TGLObjectPostEffect>(item)) {
            effect->Render(sceneBuffer, rci);
        } else if (auto* after = ObjectCast<TGLObjectAfterEffect>(item)) {
            if (sceneBuffer) {
                sceneBuffer->QueueAfterEffect(after);
            }
        }
    }
}
