#include "editor/document/CodeEditFileWriter.h"

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

TCodeEditFileWriter::TCodeEditFileWriter(const QString& fileName) : file_(fileName.toStdString()) {}

void TCodeEditFileWriter::Flush()
{
    if (count_ == 0) {
        return;
    }
    // Our buffer is the only one: a failed write raises here with the system's reason
    // ("Error writing file ..."), not later in a commit that cannot tell why.
    file_.WriteBuffer(buffer_.constData(), count_);
    count_ = 0;
}

void TCodeEditFileWriter::Commit()
{
    Flush();
    file_.Commit();
}
