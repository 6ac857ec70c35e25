#pragma once
// Texture images whose pixels come from pictures: one kept in memory with its owner,
// one read from a file at every upload, and the six faces of a cube map.

#include "platform/core/graphics/Picture.h"
#include "scene/materials/TextureImage.h"

#include <array>

// The picture's changes invalidate the image.
class TGLPictureImage : public TGLTextureImage {
    KP_CLASS(TGLPictureImage, TGLTextureImage)
public:
    explicit TGLPictureImage(TPersistent* owner = nullptr);

    TPicture& Picture() { return FPicture; }
    const TPicture& Picture() const { return FPicture; }
    void SetPicture(const TPicture* picture) { FPicture.Assign(picture); }

    int GetWidth() const override { return FPicture.Width(); }
    int GetHeight() const override { return FPicture.Height(); }
    // The picture as RGBA; an empty bitmap for an empty picture.
    TGLBitmap32* GetBitmap32(GLenum target) override;

    // From another picture image: its picture.
    void Assign(const TPersistent* source) override;

protected:
    // Changes the picture without invalidating the image.
    template <class F>
    void Quietly(F&& change);

private:
    void PictureChanged(TObject* sender);

    TPicture FPicture;
};

class TGLPersistentImage : public TGLPictureImage {
    KP_CLASS(TGLPersistentImage, TGLPictureImage)
public:
    using TGLPictureImage::TGLPictureImage;

    std::string FriendlyName() const override { return "Persistent Image"; }
    std::string FriendlyDescription() const override;
    // The picture as a bitmap file.
    void SaveToFile(const std::string& fileName) override;
    // After OnTextureNeeded: a file that does not exist clears the picture and raises
    // ETexture "Could not open file: <name>".
    void LoadFromFile(const std::string& fileName) override;
};

class TGLPicFileImage : public TGLPictureImage {
    KP_CLASS(TGLPicFileImage, TGLPictureImage)
public:
    using TGLPictureImage::TGLPictureImage;

    const std::string& PictureFileName() const { return FPictureFileName; }
    void SetPictureFileName(const std::string& name);

    std::string FriendlyName() const override { return "PicFile Image"; }
    std::string FriendlyDescription() const override { return "Image data is retrieved from a file."; }
    // Reads the file anew at every upload. A missing file gives an empty bitmap and,
    // once until the name changes, ETexture "Could not open file: <name>".
    TGLBitmap32* GetBitmap32(GLenum target) override;

    // The file name is the whole content of the file.
    void SaveToFile(const std::string& fileName) override;
    // A file under 512 bytes holds a picture file name (up to its first NUL); a larger
    // one is taken as the picture file itself.
    void LoadFromFile(const std::string& fileName) override;

    void Assign(const TPersistent* source) override;

private:
    std::string FPictureFileName;
    bool FWarnedMissing = false;
};

enum TGLCubeMapFace { cmtPX, cmtNX, cmtPY, cmtNY, cmtPZ, cmtNZ };

class TGLCubeMapImage : public TGLTextureImage {
    KP_CLASS(TGLCubeMapImage, TGLTextureImage)
public:
    explicit TGLCubeMapImage(TPersistent* owner = nullptr);

    TPicture& Picture(TGLCubeMapFace face) { return FPictures[face]; }
    const TPicture& Picture(TGLCubeMapFace face) const { return FPictures[face]; }
    TPicture& PicturePX() { return FPictures[cmtPX]; }
    TPicture& PictureNX() { return FPictures[cmtNX]; }
    TPicture& PicturePY() { return FPictures[cmtPY]; }
    TPicture& PictureNY() { return FPictures[cmtNY]; }
    TPicture& PicturePZ() { return FPictures[cmtPZ]; }
    TPicture& PictureNZ() { return FPictures[cmtNZ]; }

    int GetWidth() const override { return FPictures[cmtPX].Width(); }
    int GetHeight() const override { return FPictures[cmtPX].Height(); }
    std::string FriendlyName() const override { return "CubeMap Image"; }
    GLenum NativeTextureTarget() const override { return GL_TEXTURE_CUBE_MAP_ARB; }
    // Targets GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB .. NEGATIVE_Z_ARB, rows kept in file
    // order; nullptr for any other target.
    TGLBitmap32* GetBitmap32(GLenum target) override;

    // A version word 256, then the six faces as bitmap files, PX NX PY NY PZ NZ.
    void SaveToFile(const std::string& fileName) override;
    void LoadFromFile(const std::string& fileName) override;

    void Assign(const TPersistent* source) override;

private:
    void PictureChanged(TObject* sender);

    std::array<TPicture, 6> FPictures;
    bool FLoading = false;
};
