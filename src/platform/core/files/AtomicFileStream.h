#pragma once
// A file that replaces its target only when it is complete: the bytes go to a new
// temporary file beside the target, and Commit flushes it to disk and renames it over
// the target. Without Commit (an error, an exception on the way) the temporary file is
// removed and the old file stays as it was. A new file gets the permissions a plain
// create would give it; a replaced one keeps the old file's, and one that may not be
// written is not replaced.
//
// The target is the file a symbolic link leads to, at the end of every link on the way:
// the link stays a link and its file changes. A target that is no regular file (a
// device, a named pipe, a folder) is refused before anything is written and again
// before the rename, which would otherwise put a regular file in its place.

#include "platform/core/files/Stream.h"

#include <cstddef>
#include <string>
#include <string_view>

// The name pattern (for mkstemp) of the temporary file beside `targetName`: "." + the
// name + ".XXXXXX", the name cut (before a UTF-8 character, never inside one) so that
// the whole is at most `longestName` bytes; a target of 248 to 255 bytes would
// otherwise have no temporary file and could not be saved. The random part keeps it
// unique.
std::string TemporaryFileNamePattern(std::string_view targetName, std::size_t longestName);

class TAtomicFileStream : public TFileStream {
    KP_CLASS(TAtomicFileStream, TFileStream)
public:
    // EFCreateError when no file can be made in the target's folder, and with
    // NotRegularFileMessage (RegularFile.h) when the target is no regular file.
    explicit TAtomicFileStream(const std::string& fileName);
    ~TAtomicFileStream() override;

    // EWriteError "Cannot save file "<name>". <reason>" when the data cannot be made
    // durable or put in place, or NotRegularFileMessage when the target has become
    // something else meanwhile; the target is then unchanged.
    void Commit();

    // The file that Commit replaces: the name given, with its symbolic links followed.
    const std::string& TargetName() const { return targetName_; }
    // The temporary file the bytes go to until Commit, for a writer that must be given
    // a name (FileName is the name the stream was made with).
    const std::string& TemporaryName() const { return temporaryName_; }
    bool Committed() const { return committed_; }

private:
    struct TTemporaryFile {
        TFileDescriptor file;
        std::string name;
        std::string target;
    };
    static TTemporaryFile CreateTemporaryBeside(const std::string& fileName);
    TAtomicFileStream(TTemporaryFile file, const std::string& fileName);
    void RemoveTemporary();

    std::string temporaryName_;
    std::string targetName_;
    bool committed_ = false;
};
