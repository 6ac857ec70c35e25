#pragma once
// A file that replaces its target only when it is complete: the bytes go to a new
// temporary file beside the target, and Commit flushes it to disk and renames it over
// the target. Without Commit (an error, an exception on the way) the temporary file is
// removed and the old file stays as it was. A new file gets the permissions a plain
// create would give it; a replaced one keeps the old file's.

#include "platform/core/Stream.h"

#include <string>

class TAtomicFileStream : public TFileStream {
    KP_CLASS(TAtomicFileStream, TFileStream)
public:
    // EFCreateError when no file can be made in the target's folder.
    explicit TAtomicFileStream(const std::string& fileName);
    ~TAtomicFileStream() override;

    // EWriteError "Cannot save file "<name>". <reason>" when the data cannot be made
    // durable or put in place; the target is then unchanged.
    void Commit();

    const std::string& TargetName() const { return targetName_; }
    bool Committed() const { return committed_; }

private:
    struct TTemporaryFile {
        int fd;
        std::string name;
        std::string target;
    };
    static TTemporaryFile CreateTemporaryBeside(const std::string& fileName);
    explicit TAtomicFileStream(const TTemporaryFile& file);

    std::string targetName_;
    bool committed_ = false;
};
