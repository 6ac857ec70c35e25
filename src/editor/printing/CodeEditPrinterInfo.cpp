#include "editor/printing/CodeEditPrinterInfo.h"

#include "platform/core/services/Printer.h"

#include <cmath>

int RoundHalfEven(double value)
{
    // The default rounding mode rounds ties to even.
    return static_cast<int>(std::nearbyint(value));
}

void TCodeEditPrinterInfo::UpdatePrinter()
{
    updated_ = true;
    TPrinterCaps caps;
    if (IPrinter* printer = Printer()) {
        caps = printer->Capabilities();
    } else {
        caps = {2481, 3507, 2358, 3407, 65, 50, 300, 300};
    }
    physicalWidth_ = caps.PhysicalWidth;
    physicalHeight_ = caps.PhysicalHeight;
    printableWidth_ = caps.PageWidth;
    printableHeight_ = caps.PageHeight;
    leftOffset_ = caps.PhysicalOffsetX;
    topOffset_ = caps.PhysicalOffsetY;
    rightOffset_ = physicalWidth_ - printableWidth_ - leftOffset_;
    bottomOffset_ = physicalHeight_ - printableHeight_ - topOffset_;
    dpiX_ = caps.DpiX;
    dpiY_ = caps.DpiY;
    pixelsPerMmX_ = static_cast<float>(dpiX_ / 25.4);
    pixelsPerMmY_ = static_cast<float>(dpiY_ / 25.4);
}

int TCodeEditPrinterInfo::PixelsFromLeft(double mm)
{
    return RoundHalfEven(double(PixelsPerMmX()) * mm - LeftOffset());
}

int TCodeEditPrinterInfo::PixelsFromRight(double mm)
{
    return RoundHalfEven(double(PixelsPerMmX()) * mm - RightOffset());
}

int TCodeEditPrinterInfo::PixelsFromTop(double mm)
{
    return RoundHalfEven(double(PixelsPerMmY()) * mm - TopOffset());
}

int TCodeEditPrinterInfo::PixelsFromBottom(double mm)
{
    return RoundHalfEven(double(PixelsPerMmY()) * mm - BottomOffset());
}
