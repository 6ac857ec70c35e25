#include "engine/SubFileNames.h"

#include "platform/core/StringUtils.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {
// The entry of `folder` whose name equals `name` ignoring case; exact names first.
bool FindInFolder(const fs::path& folder, const std::string& name, fs::path& found)
{
    std::error_code ec;
    const fs::path exact = folder / name;
    if (fs::is_regular_file(exact, ec)) {
        found = exact;
        return true;
    }
    const std::string wanted = UpperCase(name);
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (UpperCase(it->path().filename().string()) == wanted && it->is_regular_file(ec)) {
            found = folder / it->path().filename();
            return true;
        }
    }
    return false;
}
} // namespace

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
