#include "scene/materials/TextureImage.h"

#include "scene/materials/Texture.h"

TGLTextureImage::TGLTextureImage(TPersistent* owner) : TGLUpdateAbleObject(owner) {}

TGLTextureImage::~TGLTextureImage() = default;

TGLTexture* TGLTextureImage::Texture() const
{
    return ObjectCast<TGLTexture>(Owner());
}

void TGLTextureImage::ReleaseBitmap32()
{
    FBitmap.reset();
}

void TGLTextureImage::SaveToFile(const std::string& /*fileName*/) {}

void TGLTextureImage::LoadFromFile(const std::string& fileName)
{
    std::string name = fileName;
    DoTextureNeeded(name);
}

void TGLTextureImage::Invalidate()
{
    ReleaseBitmap32();
    NotifyChange(this);
}

void TGLTextureImage::NotifyChange(TObject* sender)
{
    if (TGLTexture* texture = Texture()) {
        texture->NotifyImageChange();
        if (OnNotifyChange) {
            OnNotifyChange(this);
        }
        return;
    }
    TGLUpdateAbleObject::NotifyChange(sender);
}

void TGLTextureImage::DoTextureNeeded(std::string& fileName)
{
    if (OnTextureNeeded) {
        OnTextureNeeded(this, fileName);
    }
}

TGLBitmap32& TGLTextureImage::NewBitmap()
{
    FBitmap = std::make_unique<TGLBitmap32>();
    return *FBitmap;
}
