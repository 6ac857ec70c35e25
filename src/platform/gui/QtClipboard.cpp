#include "platform/gui/QtClipboard.h"

#include <QGuiApplication>
#include <QMimeData>

namespace {

QString MimeType(std::string_view format)
{
    return QString::fromLatin1(format.data(), static_cast<qsizetype>(format.size()));
}

bool IsText(std::string_view format) { return format == ClipboardTextFormat; }

} // namespace

TQtClipboard::TQtClipboard(QClipboard::Mode mode) : mode_(mode) {}

TQtClipboard::~TQtClipboard() = default;

const QMimeData* TQtClipboard::Current() const
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->mimeData(mode_) : nullptr;
}

bool TQtClipboard::Open()
{
    if (open_ || !QGuiApplication::clipboard()) {
        return false;
    }
    open_ = true;
    cleared_ = false;
    changed_ = false;
    pending_ = std::make_unique<QMimeData>();
    return true;
}

void TQtClipboard::Close()
{
    if (!open_) {
        return;
    }
    open_ = false;
    // A reader changes nothing: publishing would take the clipboard from the program
    // that owns it (its data then goes when we exit) and fetch every format it offers.
    if (!changed_) {
        pending_.reset();
        return;
    }
    if (!cleared_) {
        // Formats set without emptying the clipboard join what it holds.
        if (const QMimeData* current = Current()) {
            for (const QString& format : current->formats()) {
                if (!pending_->hasFormat(format)) {
                    pending_->setData(format, current->data(format));
                }
            }
        }
    }
    // The clipboard takes the data over.
    QGuiApplication::clipboard()->setMimeData(pending_.release(), mode_);
}

bool TQtClipboard::Clear()
{
    if (!open_) {
        return false;
    }
    cleared_ = true;
    changed_ = true;
    pending_ = std::make_unique<QMimeData>();
    return true;
}

bool TQtClipboard::HasFormat(std::string_view format) const
{
    const QMimeData* data = Current();
    if (!data) {
        return false;
    }
    return IsText(format) ? data->hasText() : data->hasFormat(MimeType(format));
}

bool TQtClipboard::SetData(std::string_view format, const std::string& bytes)
{
    if (!open_) {
        return false;
    }
    changed_ = true;
    const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (IsText(format)) {
        pending_->setText(QString::fromUtf8(data));
    } else {
        pending_->setData(MimeType(format), data);
    }
    return true;
}

bool TQtClipboard::GetData(std::string_view format, std::string& bytes) const
{
    if (!open_) {
        return false;
    }
    const QMimeData* data = Current();
    if (!data || !HasFormat(format)) {
        return false;
    }
    const QByteArray value = IsText(format) ? data->text().toUtf8() : data->data(MimeType(format));
    bytes.assign(value.constData(), static_cast<std::size_t>(value.size()));
    return true;
}

void InstallQtClipboard()
{
    static TQtClipboard clipboard;
    SetClipboard(&clipboard);
}
