#pragma once
// The system printer as the layers below the shell see it: one installed object with a
// job title, a document that begins, gets new pages and ends or is aborted, the canvas
// the pages are drawn on while a document is open, and the page metrics of the device.
// The shell installs the toolkit's printer (platform/gui); with none installed, callers
// fall back to their own defaults.

#include "platform/core/Exceptions.h"
#include "platform/core/InstallScope.h"

#include <string>

class TCanvas;

// A printer that cannot start or finish a job. The message names the printer.
class EPrinter : public Exception {
    using Exception::Exception;
};

// The device capabilities of the printer, in device pixels.
struct TPrinterCaps {
    int PhysicalWidth = 0;  // the whole sheet
    int PhysicalHeight = 0;
    int PageWidth = 0;      // the printable area
    int PageHeight = 0;
    int PhysicalOffsetX = 0; // the printable area's corner on the sheet
    int PhysicalOffsetY = 0;
    int DpiX = 0;
    int DpiY = 0;
};

class IPrinter {
public:
    virtual ~IPrinter() = default;

    virtual std::string PrinterName() const = 0;
    virtual TPrinterCaps Capabilities() const = 0;

    // Taken by the next BeginDoc.
    virtual void SetTitle(const std::string& title) = 0;
    // EPrinter naming the printer when the job cannot start.
    virtual void BeginDoc() = 0;
    virtual void NewPage() = 0;
    // Completes the job; EPrinter when its output cannot be put in place.
    virtual void EndDoc() = 0;
    // Discards the job: nothing of it reaches the output.
    virtual void Abort() = 0;
    virtual bool Printing() const = 0;
    virtual bool Aborted() const = 0;

    // The page's canvas, between BeginDoc and EndDoc or Abort. It measures text as
    // every other canvas does (fonts are sized in pixels), so pages counted on a
    // measuring canvas are the pages printed.
    virtual TCanvas& Canvas() = 0;
};

// Installs `printer` (not owned; nullptr: no printer) and returns the one it replaces.
IPrinter* SetPrinter(IPrinter* printer);
// The installed printer, or nullptr.
IPrinter* Printer();

using TPrinterScope = TInstallScope<IPrinter, SetPrinter>;
