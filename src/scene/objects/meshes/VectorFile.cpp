#include "scene/objects/meshes/VectorFile.h"

#include "platform/core/Assert.h"
#include "platform/core/objects/ClassRegistry.h"
#include "platform/core/text/StringUtils.h"
#include "scene/objects/meshes/BaseMesh.h"

#include <filesystem>

void TVectorFileFormatsList::Add(std::string_view extension, const std::string& description, int descResID,
                                 TClass cls, TVectorFileFactory create)
{
    formats_.push_back({cls, std::move(create), LowerCase(extension), description, descResID});
}

const TVectorFileFormat* TVectorFileFormatsList::FindExt(std::string_view extension) const
{
    const std::string wanted = LowerCase(extension);
    for (auto it = formats_.rbegin(); it != formats_.rend(); ++it) {
        if (it->Extension == wanted) {
            return &*it;
        }
    }
    return nullptr;
}

const TVectorFileFormat& TVectorFileFormatsList::FindFromFileName(const std::string& fileName) const
{
    std::string extension = std::filesystem::path(fileName).extension().string();
    if (!extension.empty() && extension.front() == '.') {
        extension.erase(0, 1);
    }
    const TVectorFileFormat* format = FindExt(extension);
    if (!format) {
        throw EInvalidVectorFile("Unknown file extension (" + extension +
                                 "), maybe you forgot to add the support unit to your uses? (GLFile" +
                                 UpperCase(extension) + "?)");
    }
    return *format;
}

TVectorFileFormatsList& GetVectorFileFormats()
{
    static TVectorFileFormatsList formats;
    return formats;
}

void RegisterVectorFileFormat(std::string_view extension, const std::string& description, TClass cls,
                              TVectorFileFactory create)
{
    // A format object needs its mesh, so the registry knows the name but cannot make one.
    RegisterClass(cls, nullptr);
    GetVectorFileFormats().Add(extension, description, 0, cls, std::move(create));
}

TVectorFile::TVectorFile(TPersistent* owner) : TDataFile(owner) { KP_ASSERT(owner && owner->Is<TGLBaseMesh>()); }

TGLBaseMesh* TVectorFile::Owner() const { return static_cast<TGLBaseMesh*>(TDataFile::Owner()); }

void TGLGLWMVectorFile::LoadFromStream(TStream& stream)
{
    try {
        Owner()->MeshObjects().LoadFromStream(stream);
    } catch (const EInvalidVectorFile& e) {
        throw EInvalidVectorFile(ResourceName() + ": " + e.what());
    }
}

void TGLGLWMVectorFile::SaveToStream(TStream& stream) { Owner()->MeshObjects().SaveToStream(stream); }
