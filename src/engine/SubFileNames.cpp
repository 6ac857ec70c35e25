#include "engine/SubFileNames.h"

#include "platform/core/files/FolderLookup.h"
#include "platform/core/text/StringUtils.h"

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
    fs::path found;
    if (FindPathIgnoringCase(fs::path(), path, found)) {
        return found.string();
    }
    if (path.is_absolute()) {
        return name;
    }
    const fs::path mainFolder = fs::path(mainFileName).parent_path();
    if (FindPathIgnoringCase(mainFolder, path, found)) {
        return found.string();
    }
    return path.has_parent_path() ? name : (mainFolder / path).string();
}
