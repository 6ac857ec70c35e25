#include "scene/materials/DataFile.h"

#include "platform/core/Assert.h"
#include "platform/core/text/StringUtils.h"

#include <filesystem>

std::unique_ptr<TStream> CreateFileStream(const std::string& fileName, std::uint16_t mode)
{
    if (mode != fmCreate && !HookedFileExists(fileName)) {
        throw Exception("File not found: \"" + fileName + "\"");
    }
    return std::make_unique<TFileStream>(fileName, mode);
}

bool HookedFileExists(const std::string& fileName)
{
    std::error_code error;
    return !fileName.empty() && std::filesystem::is_regular_file(fileName, error);
}

TDataFile::TDataFile(TPersistent* owner) : FOwner(owner) {}

namespace {

std::string NameWithoutFolder(const std::string& fileName)
{
    return std::filesystem::path(fileName).filename().string();
}

} // namespace

void TDataFile::LoadFromFile(const std::string& fileName)
{
    FResourceName = NameWithoutFolder(fileName);
    std::unique_ptr<TStream> stream = CreateFileStream(fileName, fmOpenRead | fmShareDenyNone);
    LoadFromStream(*stream);
}

void TDataFile::SaveToFile(const std::string& fileName)
{
    FResourceName = NameWithoutFolder(fileName);
    std::unique_ptr<TStream> stream = CreateFileStream(fileName, fmCreate);
    SaveToStream(*stream);
}

void TDataFile::SaveToStream(TStream& stream)
{
    KP_ASSERT_MSG(false, ("Export for " + ClassName() + " to " + stream.ClassName() + " not available.").c_str());
}

const TPictureFormat* GraphicClassForExtension(std::string_view extension)
{
    if (!extension.empty() && extension.front() == '.') {
        extension.remove_prefix(1);
    }
    for (const TPictureFormat& format : PictureFormats()) {
        if (SameText(format.Extension, extension)) {
            return &format;
        }
    }
    return nullptr;
}
