#include "platform/core/services/Printer.h"

namespace {
IPrinter* gPrinter = nullptr;
}

IPrinter* SetPrinter(IPrinter* printer)
{
    IPrinter* previous = gPrinter;
    gPrinter = printer;
    return previous;
}

IPrinter* Printer() { return gPrinter; }
