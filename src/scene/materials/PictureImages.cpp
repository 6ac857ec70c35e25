#include "scene/materials/PictureImages.h"

#include "platform/core/Assert.h"
#include "platform/core/graphics/BitmapFile.h"
#include "scene/materials/DataFile.h"

#include <cstring>

// ---- TGLPictureImage ----

TGLPictureImage::TGLPictureImage(TPersistent* owner) : TGLTextureImage(owner)
{
    FPicture.OnChange = MakeDelegate<&TGLPictureImage::PictureChanged>(this);
}

void TGLPictureImage::PictureChanged(TObject* /*sender*/)
{
    Invalidate();
}

template <class F>
void TGLPictureImage::Quietly(F&& change)
{
    const TNotifyEvent saved = FPicture.OnChange;
    FPicture.OnChange = nullptr;
    try {
        change();
    } catch (...) {
        FPicture.OnChange = saved;
        throw;
    }
    FPicture.OnChange = saved;
}

TGLBitmap32* TGLPictureImage::GetBitmap32(GLenum /*target*/)
{
    TGLBitmap32& bitmap = NewBitmap();
    if (const TGraphic* graphic = FPicture.Graphic(); graphic && !graphic->Empty()) {
        Quietly([&] { bitmap.Assign(graphic); });
    }
    return &bitmap;
}

void TGLPictureImage::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TGLPictureImage>(source)) {
        if (other != this) {
            FPicture.Assign(&other->FPicture); // invalidates through OnChange
        }
    } else if (ObjectCast<TGraphic>(source) || ObjectCast<TPicture>(source)) {
        FPicture.Assign(source);
    } else {
        TGLTextureImage::Assign(source);
    }
}

// ---- TGLPersistentImage ----

std::string TGLPersistentImage::FriendlyDescription() const
{
    return "Image data is stored in its original format with other form resources,ie. in the DFM at "
           "design-time, and embedded in the EXE at run-time.";
}

void TGLPersistentImage::SaveToFile(const std::string& fileName)
{
    Picture().SaveToFile(fileName);
}

void TGLPersistentImage::LoadFromFile(const std::string& fileName)
{
    std::string name = fileName;
    DoTextureNeeded(name);
    if (!HookedFileExists(name)) {
        Picture().Clear();
        throw ETexture("Could not open file: " + fileName);
    }
    std::unique_ptr<TGraphic> graphic = CreateGraphicFromFile(name);
    if (!graphic) {
        throw ETexture("Unknown picture file extension: " + name);
    }
    Picture().TakeGraphic(std::move(graphic));
}

// ---- TGLPicFileImage ----

void TGLPicFileImage::SetPictureFileName(const std::string& name)
{
    if (name != FPictureFileName) {
        FPictureFileName = name;
        FWarnedMissing = false;
        Invalidate();
    }
}

TGLBitmap32* TGLPicFileImage::GetBitmap32(GLenum target)
{
    if (Picture().Empty() && !FPictureFileName.empty()) {
        std::string name = FPictureFileName;
        DoTextureNeeded(name);
        std::unique_ptr<TGraphic> graphic = HookedFileExists(name) ? CreateGraphicFromFile(name) : nullptr;
        if (graphic) {
            Quietly([&] { Picture().TakeGraphic(std::move(graphic)); });
        } else {
            Quietly([&] { Picture().Clear(); });
            if (!FWarnedMissing) {
                FWarnedMissing = true;
                throw ETexture("Could not open file: " + name);
            }
        }
    }
    TGLBitmap32* bitmap = TGLPictureImage::GetBitmap32(target);
    // Read anew at the next upload; the pixels are in the bitmap now.
    Quietly([&] { Picture().Clear(); });
    return bitmap;
}

void TGLPicFileImage::SaveToFile(const std::string& fileName)
{
    std::unique_ptr<TStream> stream = CreateFileStream(fileName, fmCreate);
    stream->WriteBuffer(FPictureFileName.data(), static_cast<std::int64_t>(FPictureFileName.size()));
}

void TGLPicFileImage::LoadFromFile(const std::string& fileName)
{
    std::unique_ptr<TStream> stream = CreateFileStream(fileName, fmOpenRead | fmShareDenyNone);
    const std::int64_t size = stream->Size();
    if (size < 512) {
        std::string content(static_cast<std::size_t>(size), '\0');
        stream->ReadBuffer(content.data(), size);
        content.resize(std::strlen(content.c_str()));
        SetPictureFileName(content);
    } else {
        SetPictureFileName(fileName);
    }
}

void TGLPicFileImage::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TGLPicFileImage>(source)) {
        SetPictureFileName(other->FPictureFileName);
    }
    TGLPictureImage::Assign(source);
}

// ---- TGLCubeMapImage ----

namespace {
// Face changes made by the image itself do not invalidate it face by face.
struct TQuietFaces {
    bool& flag;
    explicit TQuietFaces(bool& f) : flag(f) { flag = true; }
    ~TQuietFaces() { flag = false; }
    TQuietFaces(const TQuietFaces&) = delete;
    TQuietFaces& operator=(const TQuietFaces&) = delete;
};
} // namespace

TGLCubeMapImage::TGLCubeMapImage(TPersistent* owner) : TGLTextureImage(owner)
{
    for (TPicture& picture : FPictures) {
        picture.OnChange = MakeDelegate<&TGLCubeMapImage::PictureChanged>(this);
    }
}

void TGLCubeMapImage::PictureChanged(TObject* /*sender*/)
{
    if (!FLoading) {
        Invalidate();
    }
}

TGLBitmap32* TGLCubeMapImage::GetBitmap32(GLenum target)
{
    if (target < GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB || target > GL_TEXTURE_CUBE_MAP_NEGATIVE_Z_ARB) {
        return nullptr;
    }
    const TPicture& picture = FPictures[target - GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB];
    TGLBitmap32& bitmap = NewBitmap();
    bitmap.SetKeepRowOrder(true);
    if (const TGraphic* graphic = picture.Graphic(); graphic && !graphic->Empty()) {
        TQuietFaces quiet{FLoading};
        bitmap.Assign(graphic);
    }
    return &bitmap;
}

namespace {
constexpr std::uint16_t CubeMapFileVersion = 256;
}

void TGLCubeMapImage::SaveToFile(const std::string& fileName)
{
    TMemoryStream memory;
    const std::uint8_t version[2] = {CubeMapFileVersion & 0xFF, CubeMapFileVersion >> 8};
    memory.WriteBuffer(version, 2);
    for (const TPicture& picture : FPictures) {
        picture.SaveToStream(memory);
    }
    // Written whole at the end, so a failure never leaves half a file behind.
    std::unique_ptr<TStream> stream = CreateFileStream(fileName, fmCreate);
    memory.SetPosition(0);
    stream->CopyFrom(memory, 0);
}

void TGLCubeMapImage::LoadFromFile(const std::string& fileName)
{
    std::unique_ptr<TStream> stream = CreateFileStream(fileName, fmOpenRead | fmShareDenyWrite);
    std::uint8_t version[2];
    stream->ReadBuffer(version, 2);
    KP_ASSERT(version[0] == (CubeMapFileVersion & 0xFF) && version[1] == (CubeMapFileVersion >> 8));
    // All six faces are read before any picture changes.
    std::array<std::unique_ptr<TBitmap>, 6> faces;
    for (auto& face : faces) {
        face.reset(TBitmap::Create());
        LoadBitmapFromStream(*face, *stream);
    }
    {
        TQuietFaces quiet{FLoading};
        for (int i = 0; i < 6; ++i) {
            FPictures[i].TakeGraphic(std::move(faces[i]));
        }
    }
    Invalidate();
}

void TGLCubeMapImage::Assign(const TPersistent* source)
{
    if (const auto* other = ObjectCast<TGLCubeMapImage>(source)) {
        if (other != this) {
            {
                TQuietFaces quiet{FLoading};
                for (int i = 0; i < 6; ++i) {
                    FPictures[i].Assign(&other->FPictures[i]);
                }
            }
            Invalidate();
        }
    } else {
        TGLTextureImage::Assign(source);
    }
}
