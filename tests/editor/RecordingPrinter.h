#pragma once
// A printer that records its job as text ("begin", "page", "end", "abort") and draws
// on a recording canvas, with the capabilities of an A4 sheet at 300 dots per inch.

#include "platform/core/services/Printer.h"
#include "../support/RecordingCanvas.h"

#include <string>
#include <vector>

class TRecordingPrinter : public IPrinter {
public:
    explicit TRecordingPrinter(testsupport::TRecordingMetrics metrics = {}) : canvas(std::move(metrics)) {}

    std::string PrinterName() const override { return "recorder"; }
    TPrinterCaps Capabilities() const override { return caps; }
    void SetTitle(const std::string& value) override { title = value; }
    void BeginDoc() override
    {
        if (failBegin) {
            throw EPrinter("Printer \"recorder\" cannot start the job.");
        }
        job.push_back("begin " + title);
        printing = true;
    }
    void NewPage() override { job.push_back("page"); }
    void EndDoc() override
    {
        job.push_back("end");
        printing = false;
    }
    void Abort() override
    {
        job.push_back("abort");
        printing = false;
    }
    bool Printing() const override { return printing; }
    bool Aborted() const override { return false; }
    TCanvas& Canvas() override { return canvas; }

    TPrinterCaps caps{2481, 3507, 2358, 3407, 65, 50, 300, 300};
    testsupport::TRecordingCanvas canvas;
    std::vector<std::string> job;
    std::string title;
    bool printing = false;
    bool failBegin = false;
};
