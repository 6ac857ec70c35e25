#include "platform/core/AtomicFileStream.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A symbolic link is kept: the file it points to is the one replaced.
std::string ResolvedTarget(const std::string& fileName)
{
    std::error_code error;
    if (std::filesystem::is_symlink(fileName, error)) {
        const std::filesystem::path resolved = std::filesystem::canonical(fileName, error);
        if (!error) {
            return resolved.string();
        }
    }
    return fileName;
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

TAtomicFileStream::TTemporaryFile TAtomicFileStream::CreateTemporaryBeside(const std::string& fileName)
{
    const std::string target = ResolvedTarget(fileName);
    const std::filesystem::path path(target);
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    }
    ::fchmod(fd, PermissionsFor(target));
    return {fd, std::string(name.data()), target};
}

TAtomicFileStream::TAtomicFileStream(const std::string& fileName)
    : TAtomicFileStream(CreateTemporaryBeside(fileName))
{
}

TAtomicFileStream::TAtomicFileStream(const TTemporaryFile& file)
    : TFileStream(file.fd, file.name), targetName_(file.target)
{
}

TAtomicFileStream::~TAtomicFileStream()
{
    if (!committed_) {
        Close();
        ::unlink(FileName().c_str());
    }
}

void TAtomicFileStream::Commit()
{
    if (committed_) {
        return;
    }
    auto fail = [this](int error) {
        Close();
        ::unlink(FileName().c_str());
        committed_ = true; // nothing left to clean up
        throw EWriteError("Cannot save file \"" + targetName_ + "\". " + std::strerror(error));
    };
    if (::fsync(Handle()) != 0) {
        fail(errno);
    }
    if (!Close()) {
        fail(errno);
    }
    if (::rename(FileName().c_str(), targetName_.c_str()) != 0) {
        fail(errno);
    }
    committed_ = true;
}
