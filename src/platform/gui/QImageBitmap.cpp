#include "platform/gui/QImageBitmap.h"

#include "platform/core/graphics/PictureFormats.h"
#include "platform/core/files/Stream.h"

#include <QByteArray>
#include <QImageReader>

#include <cstring>

void TQImageBitmap::Reallocate(int width, int height, int bytesPerPixel)
{
    if (width <= 0 || height <= 0) {
        FImage = QImage();
        FBits = nullptr;
        FStride = 0;
        return;
    }
    FImage = QImage(width, height, bytesPerPixel == 3 ? QImage::Format_BGR888 : QImage::Format_ARGB32);
    FImage.fill(0);
    FBits = FImage.bits();
    FStride = static_cast<int>(FImage.bytesPerLine());
}

void TQImageBitmap::SetImage(const QImage& image)
{
    const QImage converted = image.convertToFormat(QImage::Format_ARGB32);
    SetPixelFormat(pf32bit);
    SetSize(0, 0);
    SetSize(converted.width(), converted.height());
    const std::size_t rowBytes = static_cast<std::size_t>(converted.width()) * 4;
    for (int y = 0; y < converted.height(); ++y) {
        std::memcpy(ScanLine(y), converted.constScanLine(y), rowBytes);
    }
}

void TQImageBitmap::LoadFromStream(TStream& stream)
{
    const std::int64_t size = stream.Size() - stream.Position();
    QByteArray bytes(static_cast<qsizetype>(size > 0 ? size : 0), Qt::Uninitialized);
    if (!bytes.isEmpty()) {
        stream.ReadBuffer(bytes.data(), bytes.size());
    }
    QImage image;
    if (!image.loadFromData(bytes)) {
        throw EInvalidGraphic("Unknown picture format or damaged picture");
    }
    SetImage(image);
}

void InstallQtGraphics()
{
    static bool done = false;
    if (done) {
        return;
    }
    done = true;
    TBitmap::SetPlatformFactory([]() -> TBitmap* { return new TQImageBitmap(); });
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString extension = QString::fromLatin1(format).toLower();
        if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg")) {
            continue;
        }
        RegisterPictureFormat<TQImageBitmap>(extension.toStdString(), extension.toUpper().toStdString() + " image");
    }
}
