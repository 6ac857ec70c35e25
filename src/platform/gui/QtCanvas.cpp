#include "platform/gui/QtCanvas.h"

#include "platform/core/graphics/Graphics.h"
#include "platform/core/graphics/SystemColors.h"
#include "platform/gui/QtCanvasFonts.h"

#include <QGlyphRun>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QRegion>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

QColor ToQColor(TColor color)
{
    const TColor c = ResolveSystemColor(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

bool IsBlank(char16_t c) { return c == u' '; }

} // namespace

TQtCanvas::TQtCanvas(QPainter& painter) : painter_(painter) {}

TQtCanvas::TQtCanvas(std::unique_ptr<QImage> image, int pixelsPerInch)
    : ownImage_(std::move(image)), ownPainter_(std::make_unique<QPainter>(ownImage_.get())), painter_(*ownPainter_),
      pixelsPerInch_(pixelsPerInch)
{
}

TQtCanvas::~TQtCanvas()
{
    if (ownPainter_) {
        ownPainter_->end();
    }
}

std::unique_ptr<TQtCanvas> TQtCanvas::CreateMeasuring(int pixelsPerInch)
{
    auto image = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
    return std::unique_ptr<TQtCanvas>(new TQtCanvas(std::move(image), pixelsPerInch));
}

int TQtCanvas::PixelsPerInch() const
{
    if (pixelsPerInch_ > 0) {
        return pixelsPerInch_;
    }
    const QPaintDevice* device = painter_.device();
    return device ? device->logicalDpiY() : 96;
}

const TQtCanvasFont& TQtCanvas::CurrentFont()
{
    if (!font_ || fontSerial_ != FontSerial()) {
        font_ = &QtCanvasFont(Font());
        fontSerial_ = FontSerial();
    }
    return *font_;
}

TTextMetrics TQtCanvas::TextMetrics() { return CurrentFont().metrics; }

int TQtCanvas::TextWidth(std::u16string_view text) { return CurrentFont().Width(text); }

int TQtCanvas::CharAdvance(char32_t character) { return CurrentFont().Advance(character); }

void TQtCanvas::ApplyTextPen()
{
    const TColor color = ResolveSystemColor(TextColor());
    if (!textPen_ || color != textPenColor_) {
        painter_.setPen(ToQColor(color));
        textPen_ = true;
        textPenColor_ = color;
    }
}

void TQtCanvas::ApplyShapePen()
{
    textPen_ = false;
    if (Pen().style == TPenStyle::Clear) {
        painter_.setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(Pen().color));
    pen.setWidth(std::max(1, Pen().width));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
}

void TQtCanvas::ExtTextOut(int x, int y, TTextOutOptions options, const TRect* rect, std::u16string_view text,
                           const int* advances)
{
    if (rect && (options & etoOpaque) != 0) {
        FillRect(*rect, BackgroundColor());
    }
    if (text.empty()) {
        return;
    }
    const TQtCanvasFont& font = CurrentFont();
    ApplyTextPen();
    const TRect* clip = rect && (options & etoClipped) != 0 ? rect : nullptr;
    if (!LayOutRun(x, y, text, advances, font)) {
        ClipTo(clip);
        DrawEachCharacter(x, y, text, advances, font);
        EndClip(clip);
        return;
    }
    if (runGlyphs_.isEmpty()) {
        return;
    }
    // Clipping costs a painter state; it is needed only where ink would leave the rectangle.
    if (clip && std::floor(inkLeft_) >= clip->Left && std::ceil(inkRight_) <= clip->Right &&
        std::floor(inkTop_) >= clip->Top && std::ceil(inkBottom_) <= clip->Bottom) {
        clip = nullptr;
    }
    QGlyphRun run;
    run.setRawFont(font.raw);
    run.setGlyphIndexes(runGlyphs_);
    run.setPositions(runPositions_);
    run.setUnderline(font.font.underline());
    run.setStrikeOut(font.font.strikeOut());
    ClipTo(clip);
    painter_.drawGlyphRun(QPointF(0, 0), run);
    EndClip(clip);
}

void TQtCanvas::ClipTo(const TRect* rect)
{
    if (rect) {
        painter_.save();
        painter_.setClipRect(ToQRect(*rect), Qt::IntersectClip);
    }
}

void TQtCanvas::EndClip(const TRect* rect)
{
    if (rect) {
        painter_.restore();
    }
}

// Every glyph at its pixel position, and the ink's bounds; false when the font lacks a
// character (Qt's fallback then draws character by character).
bool TQtCanvas::LayOutRun(int x, int y, std::u16string_view text, const int* advances, const TQtCanvasFont& font)
{
    const auto n = static_cast<int>(text.size());
    const auto* chars = reinterpret_cast<const QChar*>(text.data());
    glyphs_.resize(static_cast<std::size_t>(n));
    int glyphCount = n;
    if (!font.raw.glyphIndexesForChars(chars, n, glyphs_.data(), &glyphCount)) {
        return false;
    }
    const bool decorated = font.font.underline() || font.font.strikeOut();
    runGlyphs_.clear();
    runPositions_.clear();
    inkLeft_ = inkTop_ = std::numeric_limits<qreal>::max();
    inkRight_ = inkBottom_ = std::numeric_limits<qreal>::lowest();
    int pen = x;
    int glyph = 0;
    for (int i = 0; i < n; ++i) {
        const bool pair = QChar::isHighSurrogate(text[i]) && i + 1 < n && QChar::isLowSurrogate(text[i + 1]);
        const char32_t code = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i];
        int advance = advances ? advances[i] : font.Advance(code);
        if (pair && advances) {
            advance += advances[i + 1];
        }
        const quint32 index = glyph < glyphCount ? glyphs_[static_cast<std::size_t>(glyph)] : 0;
        ++glyph;
        if (index == 0 && !QChar::isSpace(code) && !QChar::isNonCharacter(code) && code >= 32) {
            return false;
        }
        if (index != 0 && (decorated || !IsBlank(text[i]))) {
            runGlyphs_.append(index);
            runPositions_.append(QPointF(pen, y));
            const QRectF ink = font.Ink(code, index);
            if (!ink.isEmpty()) {
                inkLeft_ = std::min(inkLeft_, pen + ink.left());
                inkRight_ = std::max(inkRight_, pen + ink.right());
                inkTop_ = std::min(inkTop_, y + ink.top());
                inkBottom_ = std::max(inkBottom_, y + ink.bottom());
            }
        }
        pen += advance;
        i += pair ? 1 : 0;
    }
    if (decorated && !runGlyphs_.isEmpty()) {
        // Lines under or through the text reach from the first origin to the last advance.
        inkLeft_ = std::min(inkLeft_, runPositions_.first().x());
        inkRight_ = std::max(inkRight_, qreal(pen));
        inkBottom_ = std::max(inkBottom_, qreal(y + font.metrics.descent));
    }
    return true;
}

void TQtCanvas::DrawEachCharacter(int x, int y, std::u16string_view text, const int* advances,
                                  const TQtCanvasFont& font)
{
    painter_.setFont(font.font);
    const auto n = static_cast<int>(text.size());
    const auto* chars = reinterpret_cast<const QChar*>(text.data());
    int pen = x;
    for (int i = 0; i < n; ++i) {
        const bool pair = QChar::isHighSurrogate(text[i]) && i + 1 < n && QChar::isLowSurrogate(text[i + 1]);
        const char32_t code = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i];
        painter_.drawText(QPointF(pen, y), QString(chars + i, pair ? 2 : 1));
        pen += advances ? advances[i] + (pair ? advances[i + 1] : 0) : font.Advance(code);
        i += pair ? 1 : 0;
    }
}

void TQtCanvas::FillRect(const TRect& rect, TColor color)
{
    if (rect.Width() <= 0 || rect.Height() <= 0) {
        return;
    }
    painter_.fillRect(ToQRect(rect), ToQColor(color));
}

void TQtCanvas::Rectangle(const TRect& rect)
{
    if (rect.Width() <= 0 || rect.Height() <= 0) {
        return;
    }
    FillRect(rect);
    if (Pen().style == TPenStyle::Clear) {
        return;
    }
    const int w = std::max(1, Pen().width);
    const TColor c = Pen().color;
    FillRect(TRect{rect.Left, rect.Top, rect.Right, std::min(rect.Bottom, rect.Top + w)}, c);
    FillRect(TRect{rect.Left, std::max(rect.Top, rect.Bottom - w), rect.Right, rect.Bottom}, c);
    FillRect(TRect{rect.Left, rect.Top, std::min(rect.Right, rect.Left + w), rect.Bottom}, c);
    FillRect(TRect{std::max(rect.Left, rect.Right - w), rect.Top, rect.Right, rect.Bottom}, c);
}

void TQtCanvas::Line(int x1, int y1, int x2, int y2)
{
    const TPoint points[] = {{x1, y1}, {x2, y2}};
    Polyline(points);
}

void TQtCanvas::Polyline(std::span<const TPoint> points)
{
    if (points.size() < 2 || Pen().style == TPenStyle::Clear) {
        return;
    }
    ApplyShapePen();
    QPolygon polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const TPoint& p : points) {
        polygon.append(QPoint(p.X, p.Y));
    }
    // A flat cap leaves the last point out, as the platform's line drawing does.
    painter_.drawPolyline(polygon);
}

void TQtCanvas::DrawImage(int x, int y, const TBitmap& image, const TRect& source)
{
    if (image.Empty() || source.Width() <= 0 || source.Height() <= 0) {
        return;
    }
    const QImage::Format format = image.PixelFormat() == pf24bit   ? QImage::Format_BGR888
                                  : image.PixelFormat() == pf32bit ? QImage::Format_ARGB32
                                                                   : QImage::Format_RGB32;
    const QImage view(image.ScanLine(0), image.Width(), image.Height(), image.BytesPerLine(), format);
    painter_.drawImage(QPoint(x, y), view, ToQRect(source));
}

QRectF TQtCanvas::LogicalDeviceRect() const
{
    const QPaintDevice* device = painter_.device();
    const QRectF area(0, 0, device ? device->width() : 0, device ? device->height() : 0);
    return painter_.combinedTransform().inverted().mapRect(area);
}

void TQtCanvas::IntersectClipRect(const TRect& rect) { painter_.setClipRect(ToQRect(rect), Qt::IntersectClip); }

void TQtCanvas::ExcludeClipRect(const TRect& rect)
{
    const QRegion current = painter_.hasClipping() ? painter_.clipRegion()
                                                   : QRegion(LogicalDeviceRect().toAlignedRect());
    painter_.setClipRegion(current.subtracted(QRegion(ToQRect(rect))));
}

TRect TQtCanvas::ClipBox() const
{
    const QRect r = painter_.hasClipping() ? painter_.clipBoundingRect().toAlignedRect()
                                           : LogicalDeviceRect().toAlignedRect();
    return TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void TQtCanvas::SetMapping(const TCanvasMapping& mapping)
{
    mapping_ = mapping;
    if (mapping == TCanvasMapping{}) {
        painter_.setViewTransformEnabled(false);
        return;
    }
    painter_.setWindow(mapping.windowOrigin.X, mapping.windowOrigin.Y, mapping.windowExtent.X, mapping.windowExtent.Y);
    painter_.setViewport(mapping.viewportOrigin.X, mapping.viewportOrigin.Y, mapping.viewportExtent.X,
                         mapping.viewportExtent.Y);
    painter_.setViewTransformEnabled(true);
}

void TQtCanvas::SaveDevice()
{
    painter_.save();
    savedMappings_.push_back(mapping_);
}

void TQtCanvas::RestoreDevice()
{
    painter_.restore();
    textPen_ = false;
    mapping_ = savedMappings_.back();
    savedMappings_.pop_back();
}

namespace {
class TQtMeasuringCanvasSource : public IMeasuringCanvasSource {
public:
    std::unique_ptr<TCanvas> CreateMeasuringCanvas() override
    {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const int ppi = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
        return TQtCanvas::CreateMeasuring(ppi > 0 ? ppi : 96);
    }
};
} // namespace

void InstallQtMeasuringCanvas()
{
    static TQtMeasuringCanvasSource source;
    SetMeasuringCanvasSource(&source);
}
