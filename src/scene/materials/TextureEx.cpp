#include "scene/materials/TextureEx.h"

#include "scene/materials/Material.h"
#include "scene/graph/RenderContextInfo.h"
#include "scene/rendering/TexCoordRouter.h"
#include "scene/materials/TextureTransform.h"

TGLTextureExItem::TGLTextureExItem(TCollection* collection)
    : TCollectionItem(nullptr),
      FTexture(std::make_unique<TGLTexture>(this)),
      FTextureOffset(std::make_unique<TGLCoordinates>(this, DefaultTextureOffset, TGLCoordinatesStyle::csUnknown)),
      FTextureScale(std::make_unique<TGLCoordinates>(this, DefaultTextureScale, TGLCoordinatesStyle::csUnknown))
{
    FTextureOffset->OnNotifyChange = MakeDelegate<&TGLTextureExItem::OffsetOrScaleChanged>(this);
    FTextureScale->OnNotifyChange = MakeDelegate<&TGLTextureExItem::OffsetOrScaleChanged>(this);
    // Joins the collection only once it is whole, so the collection never sees half an item.
    SetCollection(collection);
    FTextureIndex = ID();
}

TGLTextureExItem::~TGLTextureExItem()
{
    // Leave the collection while the texture still exists.
    SetCollection(nullptr);
}

TGLMaterial* TGLTextureExItem::Material() const
{
    return Collection() ? ObjectCast<TGLMaterial>(Collection()->GetOwner()) : nullptr;
}

void TGLTextureExItem::SetTexture(const TGLTexture* value)
{
    FTexture->Assign(value);
    NotifyChange(this);
}

void TGLTextureExItem::SetTextureIndex(int value)
{
    if (value < 0) {
        value = 0;
    }
    if (value != FTextureIndex) {
        FTextureIndex = value;
        NotifyChange(this);
    }
}

void TGLTextureExItem::SetTextureOffset(const TGLCoordinates* value)
{
    FTextureOffset->Assign(value);
    CalculateTextureMatrix();
}

void TGLTextureExItem::SetTextureScale(const TGLCoordinates* value)
{
    FTextureScale->Assign(value);
    CalculateTextureMatrix();
}

void TGLTextureExItem::OffsetOrScaleChanged(TObject* /*sender*/)
{
    CalculateTextureMatrix();
}

void TGLTextureExItem::CalculateTextureMatrix()
{
    FTextureMatrixIsIdentity = ComputeTextureMatrix(*FTextureOffset, *FTextureScale, FTextureMatrix);
    NotifyChange(this);
}

void TGLTextureExItem::NotifyChange(TObject* /*sender*/)
{
    Changed(false);
}

std::string TGLTextureExItem::GetDisplayName() const
{
    return "Tex [" + std::to_string(FTextureIndex) + "]";
}

void TGLTextureExItem::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TGLTextureExItem>(source)) {
        if (other != this) {
            FTexture->Assign(other->FTexture.get());
            FTextureIndex = other->FTextureIndex;
            FTextureOffset->Assign(other->FTextureOffset.get());
            FTextureScale->Assign(other->FTextureScale.get());
            CalculateTextureMatrix();
        }
        return;
    }
    TCollectionItem::Assign(source);
}

void TGLTextureExItem::Apply(TRenderContextInfo& rci)
{
    FApplied = false;
    if (!FTexture->Enabled()) {
        return;
    }
    GL.glActiveTextureARB(GL_TEXTURE0_ARB + FTextureIndex);
    GL.glMatrixMode(GL_TEXTURE);
    GL.glPushMatrix();
    if (FTextureMatrixIsIdentity) {
        GL.glLoadIdentity();
    } else {
        GL.glLoadMatrixf(&FTextureMatrix.V[0].X);
    }
    GL.glMatrixMode(GL_MODELVIEW);
    GL.glActiveTextureARB(GL_TEXTURE0_ARB);
    if (FTextureIndex == 0) {
        FTexture->Apply(rci);
    } else if (FTextureIndex == 1) {
        FTexture->ApplyAsTexture2(rci, nullptr);
    } else {
        FTexture->ApplyAsTextureN(FTextureIndex + 1, rci, nullptr);
    }
    FApplied = true;
}

void TGLTextureExItem::UnApply(TRenderContextInfo& rci)
{
    if (!FApplied) {
        return;
    }
    if (FTextureIndex == 0) {
        FTexture->UnApply(rci);
    } else if (FTextureIndex == 1) {
        FTexture->UnApplyAsTexture2(rci, nullptr);
    } else {
        FTexture->UnApplyAsTextureN(FTextureIndex + 1, rci, nullptr);
    }
    GL.glActiveTextureARB(GL_TEXTURE0_ARB + FTextureIndex);
    GL.glMatrixMode(GL_TEXTURE);
    GL.glPopMatrix();
    GL.glMatrixMode(GL_MODELVIEW);
    GL.glActiveTextureARB(GL_TEXTURE0_ARB);
    FApplied = false;
}

// ---- TGLTextureEx ----

TGLTextureEx::TGLTextureEx(TPersistent* owner) : TOwnedCollection(owner, CollectionItemClassOf<TGLTextureExItem>()) {}

void TGLTextureEx::Apply(TRenderContextInfo& rci)
{
    if (!GLExt.ARB_multitexture) {
        return;
    }
    GLint units = 0;
    GL.glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &units);
    std::uint32_t mask = 0;
    for (int i = 0; i < Count(); ++i) {
        TGLTextureExItem* item = Items(i);
        if (item->TextureIndex() < units) {
            item->Apply(rci);
            if (item->Applied() && item->TextureIndex() > 0 && item->TextureIndex() < 32 &&
                item->Texture()->MappingMode() == tmmUser) {
                mask |= std::uint32_t(1) << item->TextureIndex();
            }
        }
    }
    if (mask != 0) {
        MapTexCoordToUnitMaskAdd(mask);
    }
}

void TGLTextureEx::UnApply(TRenderContextInfo& rci)
{
    for (int i = 0; i < Count(); ++i) {
        Items(i)->UnApply(rci);
    }
}

bool TGLTextureEx::IsTextureEnabled(int index) const
{
    for (int i = 0; i < Count(); ++i) {
        const TGLTextureExItem* item = Items(i);
        if (item->TextureIndex() == index && item->Texture()->Enabled()) {
            return true;
        }
    }
    return false;
}

void TGLTextureEx::NotifyTexMapChange()
{
    if (auto* material = ObjectCast<TGLMaterial>(GetOwner())) {
        material->NotifyTexMapChange();
    }
}

void TGLTextureEx::Update(TCollectionItem* item)
{
    TOwnedCollection::Update(item);
    if (auto* material = ObjectCast<TGLMaterial>(GetOwner())) {
        material->NotifyChange(this);
    }
}
