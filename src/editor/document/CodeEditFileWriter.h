#pragma once
// Buffered writers of the text buffer. The base filer collects encoded text in memory
// (its flush keeps the bytes); the file writer flushes them through TAtomicFileStream,
// to a temporary file beside the target renamed over it only in Commit, so a failed
// save never destroys the file that was there, a symbolic link stays one and a device
// or a pipe is refused rather than replaced.

#include "editor/document/CodeEditTextCodec.h"
#include "platform/core/files/AtomicFileStream.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>

// How lines end in a file: CR LF, LF alone or CR alone.
enum TLineBreakStyle : std::uint8_t { lbCRLF = 0, lbLF = 1, lbCR = 2 };

class TCodeEditFiler {
public:
    static constexpr int DefaultBufferSize = 16384;

    TCodeEditFiler() = default;
    TCodeEditFiler(const TCodeEditFiler&) = delete;
    TCodeEditFiler& operator=(const TCodeEditFiler&) = delete;
    virtual ~TCodeEditFiler() = default;

    TLineBreakStyle LineBreakStyle() const { return lineBreakStyle_; }
    void SetLineBreakStyle(TLineBreakStyle style) { lineBreakStyle_ = style; }
    TTextEncoding Encoding() const { return encoding_; }
    void SetEncoding(TTextEncoding encoding) { encoding_ = encoding; }

    void WriteBytes(QByteArrayView bytes);
    void WriteText(QStringView text);
    void WriteLineBreak();

    // The base keeps everything in memory: the bytes written so far.
    QByteArray Bytes() const { return QByteArray(buffer_.constData(), count_); }
    int BufferSize() const { return static_cast<int>(buffer_.size()); }

protected:
    virtual void Flush() {}
    // Room for n more bytes: flushes while they would not fit, grows for a large item.
    char* Reserve(qsizetype n);
    void Commit(qsizetype n) { count_ += n; }

    QByteArray buffer_{DefaultBufferSize, Qt::Uninitialized};
    qsizetype count_ = 0;

private:
    TLineBreakStyle lineBreakStyle_ = lbLF;
    TTextEncoding encoding_ = TTextEncoding::Utf8;
};

class TCodeEditFileWriter : public TCodeEditFiler {
public:
    // Opens a temporary file beside fileName; EFCreateError when that is not possible
    // or fileName is no regular file.
    explicit TCodeEditFileWriter(const QString& fileName);
    // Without Commit the temporary file is removed and the target left untouched.
    ~TCodeEditFileWriter() override = default;

    // Flushes and renames the temporary file over the target; EWriteError on failure.
    void Commit();

protected:
    void Flush() override;

private:
    TAtomicFileStream file_;
};
