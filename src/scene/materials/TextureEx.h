#pragma once
// Extra textures of a material on further texture units, each with its own offset
// and scale turned into a texture matrix.

#include "platform/core/objects/Collection.h"
#include "scene/materials/Texture.h"

class TGLMaterial;

class TGLTextureExItem : public TCollectionItem {
    KP_CLASS(TGLTextureExItem, TCollectionItem)
public:
    explicit TGLTextureExItem(TCollection* collection);
    ~TGLTextureExItem() override;

    TGLTexture* Texture() const { return FTexture.get(); }
    void SetTexture(const TGLTexture* value);
    // The texture unit; starts as the item's ID.
    int TextureIndex() const { return FTextureIndex; }
    void SetTextureIndex(int value);
    TGLCoordinates* TextureOffset() const { return FTextureOffset.get(); }
    TGLCoordinates* TextureScale() const { return FTextureScale.get(); }
    void SetTextureOffset(const TGLCoordinates* value);
    void SetTextureScale(const TGLCoordinates* value);

    const TMatrix& TextureMatrix() const { return FTextureMatrix; }
    // Between Apply and UnApply of an enabled texture.
    bool Applied() const { return FApplied; }
    bool TextureMatrixIsIdentity() const { return FTextureMatrixIsIdentity; }

    // The material that owns the collection, nullptr when there is none.
    TGLMaterial* Material() const;

    void Apply(TRenderContextInfo& rci);
    void UnApply(TRenderContextInfo& rci);

    void Assign(const TPersistent* source) override;
    // Tells the collection, which tells its material.
    void NotifyChange(TObject* sender);

protected:
    std::string GetDisplayName() const override;

private:
    void CalculateTextureMatrix();
    void OffsetOrScaleChanged(TObject* sender);

    std::unique_ptr<TGLTexture> FTexture;
    std::unique_ptr<TGLCoordinates> FTextureOffset;
    std::unique_ptr<TGLCoordinates> FTextureScale;
    TMatrix FTextureMatrix = IdentityMatrix;
    int FTextureIndex = 0;
    bool FTextureMatrixIsIdentity = true;
    bool FApplied = false;
};

class TGLTextureEx : public TOwnedCollection {
    KP_CLASS(TGLTextureEx, TOwnedCollection)
public:
    explicit TGLTextureEx(TPersistent* owner);

    TGLTextureExItem* Items(int index) const { return static_cast<TGLTextureExItem*>(TCollection::Items(index)); }
    TGLTextureExItem* Add() { return static_cast<TGLTextureExItem*>(TCollection::Add()); }

    // Only with multitexturing: the items on units the hardware has.
    void Apply(TRenderContextInfo& rci);
    void UnApply(TRenderContextInfo& rci);
    // True when an item on that unit has an enabled texture.
    bool IsTextureEnabled(int index) const;

    void NotifyTexMapChange();

protected:
    void Update(TCollectionItem* item) override;
};
