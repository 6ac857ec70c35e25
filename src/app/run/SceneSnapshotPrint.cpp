#include "app/run/SceneSnapshotPrint.h"

#include "platform/core/graphics/Graphics.h"
#include "platform/core/services/Printer.h"
#include "scene/materials/GLBitmap32.h"
#include "scene/graph/WorldBuffer.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

QImage SceneSnapshotImage(TGLWorldBuffer& buffer)
{
    const std::unique_ptr<TGLBitmap32> shot = buffer.CreateSnapShot();
    if (!shot || shot->IsEmpty()) {
        return {};
    }
    const std::unique_ptr<TBitmap> bitmap = shot->MakeVCLBitmap();
    if (bitmap->Empty()) {
        return {};
    }
    // Blue, green, red, alpha in memory is RGB32 on this byte order; the frame buffer's
    // alpha is not opacity (a context without alpha bits reads 0 there), so it is ignored.
    const QImage view(bitmap->ScanLine(0), bitmap->Width(), bitmap->Height(), bitmap->BytesPerLine(),
                      QImage::Format_RGB32);
    return view.copy();
}

void PrintSceneSnapshot(TGLWorldBuffer& buffer, QPrinter& printer, double scale)
{
    const QImage image = SceneSnapshotImage(buffer);
    // The printer is the one the listings print on too: they keep their orientation.
    struct TOrientationRestore {
        QPrinter& printer;
        QPageLayout::Orientation orientation;
        ~TOrientationRestore() { printer.setPageOrientation(orientation); }
    } restore{printer, printer.pageLayout().orientation()};
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString name = printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName();
        throw EPrinter("Printer \"" + name.toStdString() + "\" cannot start the job.");
    }
    const QSize area = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    if (!image.isNull()) {
        painter.drawImage(QRectF(0, 0, area.width() * scale, area.height() * scale), image);
    }
    painter.end();
}

TWaitCursor::TWaitCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

TWaitCursor::~TWaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}
