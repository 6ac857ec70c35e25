#include "scene/base/FileStrings.h"

#include "platform/core/files/Stream.h"

#include <filesystem>
#include <system_error>

namespace {

bool IsRegularFile(const std::string& fileName)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(fileName, ec);
}

} // namespace

void SaveStringToFile(const std::string& fileName, const std::string& data)
{
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(data.data(), static_cast<std::int64_t>(data.size()));
}

std::string LoadStringFromFile(const std::string& fileName)
{
    if (!IsRegularFile(fileName)) {
        return {};
    }
    TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
    std::string data(static_cast<std::size_t>(file.Size()), '\0');
    file.ReadBuffer(data.data(), static_cast<std::int64_t>(data.size()));
    return data;
}

std::int64_t SizeOfFile(const std::string& fileName)
{
    if (!IsRegularFile(fileName)) {
        return 0;
    }
    TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
    return file.Size();
}
