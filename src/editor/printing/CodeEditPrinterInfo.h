#pragma once
// The installed printer's page metrics, read once and kept until the next
// UpdatePrinter, and the conversion of distances from the paper's edges (millimetres)
// into device pixels measured from the printable area's corner. With no printer
// installed it answers for an A4 sheet at 300 dots per inch.

class TCodeEditPrinterInfo {
public:
    // Reads the installed printer's capabilities (or the A4 defaults).
    void UpdatePrinter();

    // Each reads the printer first when it has not been read yet.
    int PhysicalWidth() { return Updated().physicalWidth_; }
    int PhysicalHeight() { return Updated().physicalHeight_; }
    int PrintableWidth() { return Updated().printableWidth_; }
    int PrintableHeight() { return Updated().printableHeight_; }
    int LeftOffset() { return Updated().leftOffset_; }
    int TopOffset() { return Updated().topOffset_; }
    // Derived from the sheet, the printable area and the left and top offsets.
    int RightOffset() { return Updated().rightOffset_; }
    int BottomOffset() { return Updated().bottomOffset_; }
    int DpiX() { return Updated().dpiX_; }
    int DpiY() { return Updated().dpiY_; }
    float PixelsPerMmX() { return Updated().pixelsPerMmX_; }
    float PixelsPerMmY() { return Updated().pixelsPerMmY_; }

    // Pixels per millimetre × mm − the edge's unprintable strip, rounded half to even.
    int PixelsFromLeft(double mm);
    int PixelsFromRight(double mm);
    int PixelsFromTop(double mm);
    int PixelsFromBottom(double mm);

private:
    TCodeEditPrinterInfo& Updated()
    {
        if (!updated_) {
            UpdatePrinter();
        }
        return *this;
    }

    int physicalWidth_ = 0;
    int physicalHeight_ = 0;
    int printableWidth_ = 0;
    int printableHeight_ = 0;
    int leftOffset_ = 0;
    int rightOffset_ = 0;
    int topOffset_ = 0;
    int bottomOffset_ = 0;
    int dpiX_ = 0;
    int dpiY_ = 0;
    float pixelsPerMmX_ = 0;
    float pixelsPerMmY_ = 0;
    bool updated_ = false;
};

// Rounds to the nearest integer, ties to even.
int RoundHalfEven(double value);
