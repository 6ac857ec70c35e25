#include "editor/document/CodeEditFileWriter.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Stream.h"

#include <cstring>

char* TCodeEditFiler::Reserve(qsizetype n)
{
    if (count_ + n > buffer_.size() && count_ > 0) {
        Flush();
    }
    if (count_ + n > buffer_.size()) {
        buffer_.resize(count_ + n > 2 * buffer_.size() ? count_ + n : 2 * buffer_.size());
    }
    return buffer_.data() + count_;
}

void TCodeEditFiler::WriteBytes(QByteArrayView bytes)
{
    if (bytes.isEmpty()) {
        return;
    }
    char* out = Reserve(bytes.size());
    std::memcpy(out, bytes.data(), static_cast<std::size_t>(bytes.size()));
    Commit(bytes.size());
}

void TCodeEditFiler::WriteText(QStringView text)
{
    char* out = Reserve(MaxEncodedSize(text.size(), encoding_));
    Commit(EncodeText(text, encoding_, out) - out);
}

void TCodeEditFiler::WriteLineBreak()
{
    switch (lineBreakStyle_) {
    case lbCRLF:
        WriteBytes("\r\n");
        break;
    case lbLF:
        WriteBytes("\n");
        break;
    case lbCR:
        WriteBytes("\r");
        break;
    }
}

TCodeEditFileWriter::TCodeEditFileWriter(const QString& fileName) : fileName_(fileName), file_(fileName)
{
    // Unbuffered: our buffer is the only one, so a failed write is seen in Flush with
    // the system's reason, not later in a commit that cannot tell why.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw EFCreateError("Cannot create file \"" + fileName.toStdString() + "\". " +
                          file_.errorString().toStdString());
    }
}

TCodeEditFileWriter::~TCodeEditFileWriter()
{
    if (file_.isOpen()) {
        file_.cancelWriting();
    }
}

void TCodeEditFileWriter::Flush()
{
    if (count_ == 0) {
        return;
    }
    // A short write (a full disk, a file-size limit) is no error yet: the system tells
    // why only when the next write fails, so write on until it does.
    const char* from = buffer_.constData();
    qsizetype left = count_;
    while (left > 0) {
        const qint64 written = file_.write(from, left);
        if (written <= 0) {
            throw EWriteError("Error writing file \"" + fileName_.toStdString() + "\". " +
                              file_.errorString().toStdString());
        }
        from += written;
        left -= written;
    }
    count_ = 0;
}

void TCodeEditFileWriter::Commit()
{
    Flush();
    if (!file_.commit()) {
        throw EWriteError("Error writing file \"" + fileName_.toStdString() + "\". " +
                          file_.errorString().toStdString());
    }
}
