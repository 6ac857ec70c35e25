#include "editor/printing/CodeEditPrintMargins.h"

#include "editor/printing/CodeEditPrinterInfo.h"
#include "platform/core/graphics/Canvas.h"

double MillimetresToUnit(double mm, TUnitSystem unit)
{
    switch (unit) {
    case usMM: break;
    case usCM: return mm / 10;
    case usInch: return mm / 25.4;
    case muThousandthsOfInches: return mm * 1000 / 25.4;
    }
    return mm;
}

double UnitToMillimetres(double value, TUnitSystem unit)
{
    switch (unit) {
    case usMM: break;
    case usCM: return value * 10;
    case usInch: return value * 25.4;
    case muThousandthsOfInches: return value * 25.4 / 1000;
    }
    return value;
}

TCodeEditPrintMargins::TCodeEditPrintMargins() : mm_{25.0, 15.0, 25.0, 25.0, 15.0, 15.0, 2.0, 2.0, 0.5, 0.0} {}

double TCodeEditPrintMargins::Get(TPrintMargin margin) const
{
    return MillimetresToUnit(mm_[Index(margin)], unitSystem_);
}

void TCodeEditPrintMargins::Set(TPrintMargin margin, double value)
{
    const double mm = UnitToMillimetres(value, unitSystem_);
    if (mm != mm_[Index(margin)]) {
        mm_[Index(margin)] = mm;
        Changed();
    }
}

void TCodeEditPrintMargins::SetMirrorMargins(bool value)
{
    if (value != mirrorMargins_) {
        mirrorMargins_ = value;
        Changed();
    }
}

void TCodeEditPrintMargins::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}

void TCodeEditPrintMargins::InitPage(TCanvas& canvas, int pageNumber, TCodeEditPrinterInfo& printerInfo,
                                     bool lineNumbers, bool lineNumbersInMargin, int highestLineNumber)
{
    const double left = Millimetres(TPrintMargin::Left);
    const double right = Millimetres(TPrintMargin::Right);
    const double gutter = Millimetres(TPrintMargin::Gutter);
    if (mirrorMargins_ && pageNumber % 2 == 0) {
        PixelLeft = printerInfo.PixelsFromLeft(right);
        PixelRight = printerInfo.PrintableWidth() - printerInfo.PixelsFromRight(left + gutter);
    } else {
        PixelLeft = printerInfo.PixelsFromLeft(left + gutter);
        PixelRight = printerInfo.PrintableWidth() - printerInfo.PixelsFromRight(right);
    }
    if (lineNumbers && !lineNumbersInMargin) {
        const QString number = QString::number(highestLineNumber) + QStringLiteral(": ");
        PixelLeft += canvas.TextWidth(Utf16View(number));
    }
    PixelTop = printerInfo.PixelsFromTop(Millimetres(TPrintMargin::Top));
    PixelBottom = printerInfo.PrintableHeight() - printerInfo.PixelsFromBottom(Millimetres(TPrintMargin::Bottom));
    PixelHeader = printerInfo.PixelsFromTop(Millimetres(TPrintMargin::Header));
    PixelFooter = printerInfo.PrintableHeight() - printerInfo.PixelsFromBottom(Millimetres(TPrintMargin::Footer));
    const double perMmX = printerInfo.PixelsPerMmX();
    const double perMmY = printerInfo.PixelsPerMmY();
    PixelHFInternalMargin = RoundHalfEven(perMmY * Millimetres(TPrintMargin::HFInternalMargin));
    PixelGutter = RoundHalfEven(perMmX * gutter);
    PixelRightHFTextIndent = PixelRight - RoundHalfEven(perMmX * Millimetres(TPrintMargin::RightHFTextIndent));
    PixelLeftHFTextIndent = RoundHalfEven(perMmX * Millimetres(TPrintMargin::LeftHFTextIndent)) + PixelLeft;
}

void TCodeEditPrintMargins::Assign(const TPersistent* source)
{
    if (const auto* margins = ObjectCast<TCodeEditPrintMargins>(source)) {
        const bool changed = mm_ != margins->mm_ || mirrorMargins_ != margins->mirrorMargins_;
        mm_ = margins->mm_;
        mirrorMargins_ = margins->mirrorMargins_;
        unitSystem_ = margins->unitSystem_;
        if (changed) {
            Changed();
        }
        return;
    }
    TPersistent::Assign(source);
}
