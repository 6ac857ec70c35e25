#include "platform/core/graphics/Canvas.h"

#include <cmath>
#include <cstdint>

TCanvasFont CanvasFont(const TFont& font) { return TCanvasFont{font.Name(), font.Height(), font.Style()}; }

TCanvasFont CanvasFont(const std::string& name, int points, TFontStyles style, int pixelsPerInch)
{
    const auto height = static_cast<int>(std::lround(static_cast<double>(std::int64_t{points} * pixelsPerInch) / 72.0));
    return TCanvasFont{name, height, style};
}

void TCanvas::SetFont(const TCanvasFont& font)
{
    if (font != state_.font) {
        state_.font = font;
        ++state_.fontSerial;
    }
}

void TCanvas::SetFont(const TFont& font)
{
    SetFont(CanvasFont(font));
    SetTextColor(font.Color());
}

void TCanvas::Save()
{
    saved_.push_back(state_);
    SaveDevice();
}

void TCanvas::Restore()
{
    if (saved_.empty()) {
        return;
    }
    const std::uint32_t serial = state_.fontSerial;
    const bool fontChanged = saved_.back().font != state_.font;
    state_ = saved_.back();
    saved_.pop_back();
    // The serial only grows, so a device never mistakes a restored font for the one
    // it selected last.
    state_.fontSerial = fontChanged ? serial + 1 : serial;
    RestoreDevice();
}

int TCanvas::TextHeight(std::u16string_view) { return TextMetrics().height; }

void TCanvas::FillRect(const TRect& rect)
{
    if (state_.brush.style == TBrushStyle::Solid) {
        FillRect(rect, state_.brush.color);
    }
}

namespace {
IMeasuringCanvasSource*& MeasuringSource()
{
    static IMeasuringCanvasSource* source = nullptr;
    return source;
}
} // namespace

IMeasuringCanvasSource* SetMeasuringCanvasSource(IMeasuringCanvasSource* source)
{
    IMeasuringCanvasSource* previous = MeasuringSource();
    MeasuringSource() = source;
    return previous;
}

std::unique_ptr<TCanvas> CreateMeasuringCanvas()
{
    return MeasuringSource() ? MeasuringSource()->CreateMeasuringCanvas() : nullptr;
}
