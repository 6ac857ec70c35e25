#include "engine/SubFileNames.h"

#include "platform/core/FolderLookup.h"
#include "platform/core/StringUtils.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string ResolveSubFileName(std::string_view text, const std::string& mainFileName)
{
    std::string name = Trim(text.substr(0, text.find(',')));
    fs::path path(name);
    if (!path.has_extension()) {
        name += ".sbp";
        path = fs::path(name);
    }
    const fs::path file = path.filename();
    fs::path found;
    if (path.has_parent_path()) {
        const fs::path folder = path.is_absolute() ? path.parent_path() : path.parent_path();
        if (FindInFolder(folder, file.string(), found)) {
            return found.string();
        }
        const fs::path mainFolder = fs::path(mainFileName).parent_path();
        if (path.is_relative() && FindInFolder(mainFolder / path.parent_path(), file.string(), found)) {
            return found.string();
        }
        return name;
    }
    if (FindInFolder(fs::path(), file.string(), found)) {
        return found.string();
    }
    const fs::path mainFolder = fs::path(mainFileName).parent_path();
    if (FindInFolder(mainFolder, file.string(), found)) {
        return found.string();
    }
    return (mainFolder / file).string();
}
