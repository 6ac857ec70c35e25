#pragma once
// The platform printer over a QPrinter that the caller keeps alive (the printer set-up
// dialog edits the same object). Page metrics: the sheet is the page layout's full
// rectangle at the printer's resolution, the printable area its paint rectangle, the
// offsets that rectangle's corner.
//
// A PDF printer writes its job into a temporary file beside the output file and renames
// it over the output file when the job ends, so an aborted or failed job leaves the
// output file as it was.

#include "platform/core/services/Printer.h"

#include <QString>

#include <memory>

class QPainter;
class QPrinter;
class TAtomicFileStream;
class TQtCanvas;

class TQtPrinter : public IPrinter {
public:
    explicit TQtPrinter(QPrinter& printer);
    ~TQtPrinter() override;

    QPrinter& Device() { return printer_; }

    std::string PrinterName() const override;
    TPrinterCaps Capabilities() const override;
    void SetTitle(const std::string& title) override { title_ = QString::fromStdString(title); }
    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override { return painter_ != nullptr; }
    bool Aborted() const override { return aborted_; }
    TCanvas& Canvas() override;

private:
    // Ends the painter and gives the printer its output file back.
    void FinishPainting();

    QPrinter& printer_;
    QString title_;
    QString target_;
    std::unique_ptr<TAtomicFileStream> output_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<TQtCanvas> canvas_;
    bool aborted_ = false;
};
