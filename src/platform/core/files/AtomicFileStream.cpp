#include "platform/core/files/AtomicFileStream.h"

#include "platform/core/files/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The name at the end of the symbolic links that `fileName` leads through (a dangling
// link's end included, so saving creates the file it names); empty with errno set for a
// loop of links.
std::string FinalTarget(const std::string& fileName)
{
    constexpr int MaxLinks = 40; // as the system follows them
    std::filesystem::path name(fileName);
    for (int followed = 0; followed <= MaxLinks; ++followed) {
        struct stat info {};
        if (::lstat(name.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return name.string();
        }
        std::error_code error;
        const std::filesystem::path link = std::filesystem::read_symlink(name, error);
        if (error) {
            return name.string();
        }
        name = link.is_absolute() ? link : name.parent_path() / link;
    }
    errno = ELOOP;
    return {};
}

// The longest name the folder takes for one of its entries.
std::size_t LongestNameIn(const std::filesystem::path& folder)
{
    const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<std::size_t>(longest) : NAME_MAX;
}

mode_t PermissionsFor(const std::string& target)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
        return info.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::string TemporaryFileNamePattern(std::string_view targetName, std::size_t longestName)
{
    constexpr std::string_view prefix = ".";
    constexpr std::string_view suffix = ".XXXXXX";
    const std::size_t room = longestName > prefix.size() + suffix.size() ? longestName - prefix.size() - suffix.size() : 0;
    std::size_t kept = std::min(targetName.size(), room);
    // Cut before a character, not inside one: a name of broken UTF-8 shows oddly in
    // every file list while it lasts.
    if (kept < targetName.size()) {
        while (kept > 0 && (static_cast<unsigned char>(targetName[kept]) & 0xC0) == 0x80) {
            --kept;
        }
    }
    std::string pattern(prefix);
    pattern += targetName.substr(0, kept);
    pattern += suffix;
    return pattern;
}

TAtomicFileStream::TTemporaryFile TAtomicFileStream::CreateTemporaryBeside(const std::string& fileName)
{
    const std::string target = FinalTarget(fileName);
    if (target.empty()) {
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    }
    // A rename would put a regular file in the place of a device node or a pipe.
    if (const std::string kind = NonRegularFileKind(target); !kind.empty()) {
        throw EFCreateError(NotRegularFileMessage(fileName, kind));
    }
    // A file its owner made read-only is not replaced behind that protection.
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) {
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    }
    const std::filesystem::path path(target);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    const std::string pattern =
        (folder / TemporaryFileNamePattern(path.filename().string(), LongestNameIn(folder))).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    TFileDescriptor file(::mkostemp(name.data(), O_CLOEXEC));
    if (!file.IsOpen()) {
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    }
    file.SetPermissions(PermissionsFor(target));
    return {std::move(file), std::string(name.data()), target};
}

TAtomicFileStream::TAtomicFileStream(const std::string& fileName)
    : TAtomicFileStream(CreateTemporaryBeside(fileName), fileName)
{
}

TAtomicFileStream::TAtomicFileStream(TTemporaryFile file, const std::string& fileName)
    : TFileStream(std::move(file.file), fileName), temporaryName_(std::move(file.name)),
      targetName_(std::move(file.target))
{
}

TAtomicFileStream::~TAtomicFileStream()
{
    if (!committed_) {
        RemoveTemporary();
    }
}

void TAtomicFileStream::RemoveTemporary()
{
    Close();
    ::unlink(temporaryName_.c_str());
}

void TAtomicFileStream::Commit()
{
    if (committed_) {
        return;
    }
    auto fail = [this](const std::string& message) {
        RemoveTemporary();
        committed_ = true; // nothing left to clean up
        throw EWriteError(message);
    };
    auto failWith = [&](int error) { fail("Cannot save file \"" + FileName() + "\". " + std::strerror(error)); };
    if (!File().Sync()) {
        failWith(errno);
    }
    if (!Close()) {
        failWith(errno);
    }
    if (const std::string kind = NonRegularFileKind(targetName_); !kind.empty()) {
        fail(NotRegularFileMessage(FileName(), kind));
    }
    if (::rename(temporaryName_.c_str(), targetName_.c_str()) != 0) {
        failWith(errno);
    }
    committed_ = true;
}
