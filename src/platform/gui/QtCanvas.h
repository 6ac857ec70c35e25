#pragma once
// TCanvas over a QPainter that the caller keeps alive while the canvas is used, or, for
// measuring, over a painter and a one-pixel image of its own.
//
// Text is placed in whole pixels: every character at the sum of the advances before it
// (the caller's, or the font's own rounded to pixels), as one positioned glyph run.
// Characters the font lacks are drawn one by one through Qt's font fallback.

#include "platform/core/graphics/Canvas.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QPointF>

#include <memory>
#include <vector>

struct TQtCanvasFont;

class TQtCanvas : public TCanvas {
public:
    explicit TQtCanvas(QPainter& painter);
    // A measuring canvas: metrics for a device of `pixelsPerInch`; drawing goes nowhere.
    static std::unique_ptr<TQtCanvas> CreateMeasuring(int pixelsPerInch);
    ~TQtCanvas() override;

    QPainter& Painter() { return painter_; }

    int PixelsPerInch() const override;

    TTextMetrics TextMetrics() override;
    int TextWidth(std::u16string_view text) override;
    int CharAdvance(char32_t character) override;
    void ExtTextOut(int x, int y, TTextOutOptions options, const TRect* rect, std::u16string_view text,
                    const int* advances) override;

    void FillRect(const TRect& rect, TColor color) override;
    using TCanvas::FillRect;
    void Rectangle(const TRect& rect) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void Polyline(std::span<const TPoint> points) override;
    void DrawImage(int x, int y, const TBitmap& image, const TRect& source) override;

    void IntersectClipRect(const TRect& rect) override;
    void ExcludeClipRect(const TRect& rect) override;
    TRect ClipBox() const override;

    void SetMapping(const TCanvasMapping& mapping) override;
    TCanvasMapping Mapping() const override { return mapping_; }

protected:
    void SaveDevice() override;
    void RestoreDevice() override;

private:
    TQtCanvas(std::unique_ptr<QImage> image, int pixelsPerInch);
    const TQtCanvasFont& CurrentFont();
    void ApplyTextPen();
    void ApplyShapePen();
    QRectF LogicalDeviceRect() const;
    bool LayOutRun(int x, int y, std::u16string_view text, const int* advances, const TQtCanvasFont& font);
    void DrawEachCharacter(int x, int y, std::u16string_view text, const int* advances, const TQtCanvasFont& font);
    void ClipTo(const TRect* rect);
    void EndClip(const TRect* rect);

    std::unique_ptr<QImage> ownImage_;
    std::unique_ptr<QPainter> ownPainter_;
    QPainter& painter_;
    int pixelsPerInch_ = 0; // 0: the device's
    const TQtCanvasFont* font_ = nullptr;
    std::uint32_t fontSerial_ = 0;
    TCanvasMapping mapping_;
    std::vector<TCanvasMapping> savedMappings_;
    bool textPen_ = false;
    TColor textPenColor_ = clNone;
    // Reused between text calls.
    std::vector<quint32> glyphs_;
    QList<quint32> runGlyphs_;
    QList<QPointF> runPositions_;
    qreal inkLeft_ = 0;
    qreal inkTop_ = 0;
    qreal inkRight_ = 0;
    qreal inkBottom_ = 0;
};

// Makes measuring canvases of the screen's resolution the platform's measuring canvas.
void InstallQtMeasuringCanvas();
