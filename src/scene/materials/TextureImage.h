#pragma once
// Where a texture's pixels come from. A texture image hands its texture one RGBA
// bitmap per OpenGL target at upload time and keeps it only until the texture
// releases it; any change of the image tells the texture to upload again.

#include "platform/core/Exceptions.h"
#include "scene/materials/GLBitmap32.h"
#include "scene/graph/UpdateAble.h"

#include <functional>
#include <memory>
#include <string>

// A texture file that cannot be used.
class ETexture : public Exception {
    using Exception::Exception;
};

// Lets the application redirect a texture file name before it is opened.
using TTextureNeededEvent = std::function<void(TObject* sender, std::string& textureFileName)>;

class TGLTexture;

class TGLTextureImage : public TGLUpdateAbleObject {
    KP_CLASS(TGLTextureImage, TGLUpdateAbleObject)
public:
    explicit TGLTextureImage(TPersistent* owner);
    ~TGLTextureImage() override;

    // The owning texture, nullptr for a free-standing image.
    TGLTexture* Texture() const;

    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual std::string FriendlyName() const = 0;
    virtual std::string FriendlyDescription() const { return FriendlyName(); }
    virtual GLenum NativeTextureTarget() const { return GL_TEXTURE_2D; }
    // The pixels for one target, valid until ReleaseBitmap32; nullptr when there are none.
    virtual TGLBitmap32* GetBitmap32(GLenum target) = 0;
    virtual void ReleaseBitmap32();

    // The base saves nothing; loading only fires OnTextureNeeded.
    virtual void SaveToFile(const std::string& fileName);
    virtual void LoadFromFile(const std::string& fileName);
    // The pixels changed: drops the cached bitmap and tells the texture.
    virtual void Invalidate();

    // Marks the texture's image changed before the usual notification.
    void NotifyChange(TObject* sender) override;

    TTextureNeededEvent OnTextureNeeded;

protected:
    // Fires OnTextureNeeded; the handler may change the name.
    void DoTextureNeeded(std::string& fileName);
    // A fresh cached bitmap, replacing any earlier one.
    TGLBitmap32& NewBitmap();

    std::unique_ptr<TGLBitmap32> FBitmap;
};

// Texture image classes, by class name, for textures that switch their image class.
using TGLTextureImageFactory = TGLTextureImage* (*)(TPersistent* owner);
struct TGLTextureImageClass {
    TClass cls = nullptr;
    TGLTextureImageFactory create = nullptr;
};

void RegisterGLTextureImageClass(TClass cls, TGLTextureImageFactory create);
template <class T>
void RegisterGLTextureImageClass()
{
    RegisterGLTextureImageClass(T::StaticClass(), [](TPersistent* owner) -> TGLTextureImage* { return new T(owner); });
}
// Exact, case-sensitive name; nullptr when none. The five standard image classes are
// always registered, in the order blank, persistent, picture file, cube map, float data.
const TGLTextureImageClass* FindGLTextureImageClass(const std::string& className);
const std::vector<TGLTextureImageClass>& GLTextureImageClasses();

// Picture-file extensions: which graphic class reads a file, by its lower-case
// extension with the dot. ".bmp" (TBitmap) is always registered first.
using TGraphicFactory = TGraphic* (*)();
void RegisterPictureFileExtension(const std::string& extension, TClass graphicClass, TGraphicFactory create);
// A new graphic loaded from the file; nullptr when the file does not exist or no
// class reads its extension. A graphic that fails to load is freed and the error
// passes on.
std::unique_ptr<TGraphic> CreateGraphicFromFile(const std::string& fileName);
