#pragma once
// The page geometry of the print engine: ten distances kept in millimetres and shown to
// callers in the chosen unit, and their device-pixel values for one page, measured from
// the printable area's top-left corner.

#include "editor/printing/CodeEditPrintTypes.h"
#include "platform/core/objects/Delegate.h"
#include "platform/core/objects/Persistent.h"

#include <array>

class TCanvas;
class TCodeEditPrinterInfo;

enum class TPrintMargin : std::uint8_t {
    Left,
    Right,
    Top,
    Bottom,
    Header,
    Footer,
    LeftHFTextIndent,
    RightHFTextIndent,
    HFInternalMargin,
    Gutter,
};

class TCodeEditPrintMargins : public TPersistent {
    KP_CLASS(TCodeEditPrintMargins, TPersistent)
public:
    TCodeEditPrintMargins();

    // In UnitSystem; writing converts to millimetres, reading back from them.
    double Get(TPrintMargin margin) const;
    void Set(TPrintMargin margin, double value);
    double Millimetres(TPrintMargin margin) const { return mm_[Index(margin)]; }

    double Left() const { return Get(TPrintMargin::Left); }
    double Right() const { return Get(TPrintMargin::Right); }
    double Top() const { return Get(TPrintMargin::Top); }
    double Bottom() const { return Get(TPrintMargin::Bottom); }
    double Header() const { return Get(TPrintMargin::Header); }
    double Footer() const { return Get(TPrintMargin::Footer); }
    double LeftHFTextIndent() const { return Get(TPrintMargin::LeftHFTextIndent); }
    double RightHFTextIndent() const { return Get(TPrintMargin::RightHFTextIndent); }
    double HFInternalMargin() const { return Get(TPrintMargin::HFInternalMargin); }
    double Gutter() const { return Get(TPrintMargin::Gutter); }
    void SetLeft(double value) { Set(TPrintMargin::Left, value); }
    void SetRight(double value) { Set(TPrintMargin::Right, value); }
    void SetTop(double value) { Set(TPrintMargin::Top, value); }
    void SetBottom(double value) { Set(TPrintMargin::Bottom, value); }
    void SetHeader(double value) { Set(TPrintMargin::Header, value); }
    void SetFooter(double value) { Set(TPrintMargin::Footer, value); }
    void SetLeftHFTextIndent(double value) { Set(TPrintMargin::LeftHFTextIndent, value); }
    void SetRightHFTextIndent(double value) { Set(TPrintMargin::RightHFTextIndent, value); }
    void SetHFInternalMargin(double value) { Set(TPrintMargin::HFInternalMargin, value); }
    void SetGutter(double value) { Set(TPrintMargin::Gutter, value); }

    bool MirrorMargins() const { return mirrorMargins_; }
    void SetMirrorMargins(bool value);
    // Converts nothing stored.
    TUnitSystem UnitSystem() const { return unitSystem_; }
    void SetUnitSystem(TUnitSystem value) { unitSystem_ = value; }

    // The pixel margins of page pageNumber. With line numbers outside the margin the
    // left margin makes room for the highest number followed by ": ".
    void InitPage(TCanvas& canvas, int pageNumber, TCodeEditPrinterInfo& printerInfo, bool lineNumbers,
                  bool lineNumbersInMargin, int highestLineNumber);

    // The ten millimetre values, MirrorMargins and UnitSystem of another margins object.
    void Assign(const TPersistent* source) override;

    int PixelLeft = 0;
    int PixelRight = 0;
    int PixelTop = 0;
    int PixelBottom = 0;
    int PixelHeader = 0;
    int PixelFooter = 0;
    int PixelLeftHFTextIndent = 0;
    int PixelRightHFTextIndent = 0;
    int PixelHFInternalMargin = 0;
    int PixelGutter = 0;

    // Fired when a stored value or MirrorMargins changes: the layout is out of date.
    TNotifyEvent OnChange;

private:
    static std::size_t Index(TPrintMargin margin) { return static_cast<std::size_t>(margin); }
    void Changed();

    std::array<double, 10> mm_;
    bool mirrorMargins_ = false;
    TUnitSystem unitSystem_ = usMM;
};

// Converts between millimetres and a unit system.
double MillimetresToUnit(double mm, TUnitSystem unit);
double UnitToMillimetres(double value, TUnitSystem unit);
