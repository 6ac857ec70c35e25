#include "platform/gui/QtPrinter.h"

#include "platform/core/files/AtomicFileStream.h"
#include "platform/gui/QtCanvas.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

TQtPrinter::TQtPrinter(QPrinter& printer) : printer_(printer) {}

TQtPrinter::~TQtPrinter()
{
    if (painter_) {
        Abort();
    }
}

std::string TQtPrinter::PrinterName() const
{
    if (printer_.outputFormat() == QPrinter::PdfFormat) {
        const QString file = target_.isEmpty() ? printer_.outputFileName() : target_;
        return QStringLiteral("PDF (%1)").arg(file).toStdString();
    }
    return printer_.printerName().toStdString();
}

TPrinterCaps TQtPrinter::Capabilities() const
{
    const int resolution = printer_.resolution();
    const QPageLayout layout = printer_.pageLayout();
    const QRect full = layout.fullRectPixels(resolution);
    const QRect paint = layout.paintRectPixels(resolution);
    return {full.width(), full.height(), paint.width(), paint.height(), paint.left(), paint.top(),
            resolution,   resolution};
}

void TQtPrinter::BeginDoc()
{
    if (painter_) {
        throw EPrinter("Printer \"" + PrinterName() + "\" is printing already.");
    }
    aborted_ = false;
    printer_.setDocName(title_);
    if (printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty()) {
        try {
            output_ = std::make_unique<TAtomicFileStream>(printer_.outputFileName().toStdString());
        } catch (const Exception& error) {
            throw EPrinter("Printer \"" + PrinterName() + "\" cannot start: " + error.Message());
        }
        target_ = printer_.outputFileName();
        printer_.setOutputFileName(QString::fromStdString(output_->TemporaryName()));
    }
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(&printer_)) {
        painter_.reset();
        const std::string name = PrinterName();
        FinishPainting();
        output_.reset();
        throw EPrinter("Printer \"" + name + "\" cannot start the job.");
    }
    canvas_ = std::make_unique<TQtCanvas>(*painter_);
}

void TQtPrinter::NewPage()
{
    if (painter_) {
        printer_.newPage();
    }
}

void TQtPrinter::FinishPainting()
{
    canvas_.reset();
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
    if (!target_.isEmpty()) {
        printer_.setOutputFileName(target_);
        target_.clear();
    }
}

void TQtPrinter::EndDoc()
{
    if (!painter_) {
        return;
    }
    const std::string name = PrinterName();
    FinishPainting();
    if (!output_) {
        return;
    }
    const std::unique_ptr<TAtomicFileStream> output = std::move(output_);
    try {
        output->Commit();
    } catch (const Exception& error) {
        throw EPrinter("Printer \"" + name + "\" cannot finish: " + error.Message());
    }
}

void TQtPrinter::Abort()
{
    if (!painter_) {
        return;
    }
    aborted_ = true;
    printer_.abort();
    FinishPainting();
    // Freed without Commit, the temporary file goes and the output file stays.
    output_.reset();
}

TCanvas& TQtPrinter::Canvas()
{
    if (!canvas_) {
        throw EPrinter("Printer \"" + PrinterName() + "\" is not printing.");
    }
    return *canvas_;
}
