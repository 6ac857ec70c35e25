// The two process-wide registries of the texture code. Both start with their standard
// entries, so they are complete before anything can look them up.

#include "scene/materials/BlankImages.h"
#include "scene/materials/DataFile.h"
#include "scene/materials/PictureImages.h"

#include "platform/core/text/StringUtils.h"

#include <filesystem>

namespace {

std::vector<TGLTextureImageClass>& ImageClasses()
{
    static std::vector<TGLTextureImageClass> classes = [] {
        std::vector<TGLTextureImageClass> standard;
        auto add = [&standard](TClass cls, TGLTextureImageFactory create) { standard.push_back({cls, create}); };
        add(TGLBlankImage::StaticClass(), [](TPersistent* o) -> TGLTextureImage* { return new TGLBlankImage(o); });
        add(TGLPersistentImage::StaticClass(),
            [](TPersistent* o) -> TGLTextureImage* { return new TGLPersistentImage(o); });
        add(TGLPicFileImage::StaticClass(), [](TPersistent* o) -> TGLTextureImage* { return new TGLPicFileImage(o); });
        add(TGLCubeMapImage::StaticClass(), [](TPersistent* o) -> TGLTextureImage* { return new TGLCubeMapImage(o); });
        add(TGLFloatDataImage::StaticClass(),
            [](TPersistent* o) -> TGLTextureImage* { return new TGLFloatDataImage(o); });
        return standard;
    }();
    return classes;
}

struct TPictureFileEntry {
    std::string extension; // lower case, with its dot
    TClass graphicClass;
    TGraphicFactory create;
};

std::vector<TPictureFileEntry>& PictureFileTable()
{
    static std::vector<TPictureFileEntry> table{
        {".bmp", TBitmap::StaticClass(), []() -> TGraphic* { return TBitmap::Create(); }}};
    return table;
}

} // namespace

void RegisterGLTextureImageClass(TClass cls, TGLTextureImageFactory create)
{
    ImageClasses().push_back({cls, create});
}

const TGLTextureImageClass* FindGLTextureImageClass(const std::string& className)
{
    for (const TGLTextureImageClass& entry : ImageClasses()) {
        if (className == entry.cls->name) {
            return &entry;
        }
    }
    return nullptr;
}

const std::vector<TGLTextureImageClass>& GLTextureImageClasses()
{
    return ImageClasses();
}

void RegisterPictureFileExtension(const std::string& extension, TClass graphicClass, TGraphicFactory create)
{
    PictureFileTable().push_back({LowerCase(extension), graphicClass, create});
}

std::unique_ptr<TGraphic> CreateGraphicFromFile(const std::string& fileName)
{
    if (!HookedFileExists(fileName)) {
        return nullptr;
    }
    const std::string extension = LowerCase(std::filesystem::path(fileName).extension().string());
    std::unique_ptr<TGraphic> graphic;
    for (const TPictureFileEntry& entry : PictureFileTable()) {
        if (entry.extension == extension) {
            graphic.reset(entry.create());
            break;
        }
    }
    if (!graphic) {
        const TPictureFormat* format = extension.size() > 1 ? GraphicClassForExtension(extension) : nullptr;
        if (!format || !format->Create) {
            return nullptr;
        }
        graphic.reset(format->Create());
    }
    std::unique_ptr<TStream> stream = CreateFileStream(fileName, fmOpenRead);
    graphic->LoadFromStream(*stream);
    return graphic;
}
