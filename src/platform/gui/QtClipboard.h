#pragma once
// The clipboard service over the system clipboard: each format is a MIME type of one
// QMimeData, and the formats set between Open and Close are published together; an
// Open and Close that only read leave the clipboard with its owner.
// "text/plain" travels as the clipboard's text, so other programs read and write it.

#include "platform/core/services/Clipboard.h"

#include <QClipboard>

#include <memory>

class QMimeData;

class TQtClipboard : public IClipboard {
public:
    explicit TQtClipboard(QClipboard::Mode mode = QClipboard::Clipboard);
    ~TQtClipboard() override;

    bool Open() override;
    void Close() override;
    bool Clear() override;
    bool HasFormat(std::string_view format) const override;
    bool SetData(std::string_view format, const std::string& bytes) override;
    bool GetData(std::string_view format, std::string& bytes) const override;

private:
    const QMimeData* Current() const;

    QClipboard::Mode mode_;
    bool open_ = false;
    bool cleared_ = false;
    bool changed_ = false;
    std::unique_ptr<QMimeData> pending_;
};

// Installs one clipboard over the application's system clipboard for the rest of the
// process (a QGuiApplication must exist).
void InstallQtClipboard();
