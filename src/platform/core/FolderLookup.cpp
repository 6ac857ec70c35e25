#include "platform/core/FolderLookup.h"

#include "platform/core/StringUtils.h"

namespace fs = std::filesystem;

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
