#include "platform/core/files/FolderLookup.h"

#include "platform/core/text/StringUtils.h"

#include <algorithm>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The other spellings of `name` in `folder`, in byte order.
std::vector<std::string> OtherSpellings(const fs::path& folder, const std::string& name)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (entry != name && SameText(entry, name)) {
            names.push_back(std::move(entry));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class TCaseWalk {
public:
    explicit TCaseWalk(std::vector<std::string> parts) : FParts(std::move(parts)) {}

    // Depth first, so the first spelling at each level that leads to the file wins.
    bool Walk(const fs::path& at, std::size_t i, fs::path& found)
    {
        const std::string& part = FParts[i];
        if (Try(at, part, i, found)) {
            return true;
        }
        if (part == "." || part == "..") {
            return false;
        }
        for (const std::string& name : OtherSpellings(at, part)) {
            if (Try(at, name, i, found)) {
                return true;
            }
        }
        return false;
    }

private:
    bool Try(const fs::path& at, const std::string& name, std::size_t i, fs::path& found)
    {
        // A tree holding many spellings of the same names is not searched through.
        if (++FTries > MaxTries) {
            return false;
        }
        const fs::path next = at / name;
        std::error_code ec;
        if (i + 1 == FParts.size()) {
            if (!fs::is_regular_file(next, ec)) {
                return false;
            }
            found = next;
            return true;
        }
        return fs::is_directory(next, ec) && Walk(next, i + 1, found);
    }

    static constexpr int MaxTries = 10000;
    std::vector<std::string> FParts;
    int FTries = 0;
};

} // namespace

bool FindInFolder(const fs::path& folder, const std::string& name, fs::path& found)
{
    if (name.empty()) {
        return false;
    }
    return TCaseWalk({name}).Walk(folder, 0, found);
}

bool FindPathIgnoringCase(const fs::path& base, const fs::path& path, fs::path& found)
{
    if (!path.has_filename()) {
        return false; // a folder's name
    }
    const fs::path start = path.is_absolute() ? path.root_path() : base;
    std::error_code ec;
    if (fs::is_regular_file(start / path.relative_path(), ec)) {
        found = start / path.relative_path();
        return true;
    }
    std::vector<std::string> parts;
    for (const fs::path& part : path.relative_path()) {
        // Names only: no empty parts.
        if (!part.empty()) {
            parts.push_back(part.string());
        }
    }
    return !parts.empty() && TCaseWalk(std::move(parts)).Walk(start, 0, found);
}
