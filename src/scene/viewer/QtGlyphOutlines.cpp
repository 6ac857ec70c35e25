#include "scene/viewer/QtGlyphOutlines.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainterPath>
#include <QString>

#include <memory>

bool TQtGlyphOutlineProvider::SelectFont(const std::string& name, TFontStyles style)
{
    // Qt's font database lives in the GUI application; without one there are no fonts.
    if (!QGuiApplication::instance()) {
        font_ = QRawFont();
        return false;
    }
    QFont font(QString::fromStdString(name));
    font.setBold((style & TFont::fsBold) != 0);
    font.setItalic((style & TFont::fsItalic) != 0);
    // Outlines as the font draws them: hinting would bend them towards one pixel size.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPixelSize(1000);
    font_ = QRawFont::fromFont(font);
    if (!font_.isValid()) {
        return false;
    }
    // At a pixel size of one em in font units the paths carry the design coordinates.
    const qreal unitsPerEm = font_.unitsPerEm() > 0 ? font_.unitsPerEm() : 1000;
    font_.setPixelSize(unitsPerEm);
    emScale_ = 1.0 / unitsPerEm;
    return true;
}

bool TQtGlyphOutlineProvider::GetGlyph(char32_t codePoint, TGlyphOutline& outline)
{
    if (!font_.isValid()) {
        return false;
    }
    const QString text = QString::fromUcs4(&codePoint, 1);
    const QList<quint32> glyphs = font_.glyphIndexesForString(text);
    // A character the face lacks (control characters among them) draws nothing and
    // does not move the pen.
    if (glyphs.size() != 1 || glyphs[0] == 0) {
        return true;
    }
    const quint32 glyph = glyphs[0];
    const auto em = [this](qreal v) { return static_cast<float>(v * emScale_); };

    const QPainterPath path = font_.pathForGlyph(glyph);
    outline.NonZeroWinding = path.fillRule() == Qt::WindingFill;
    // Qt's y axis points down; ours up.
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            outline.MoveTo(em(e.x), -em(e.y));
            break;
        case QPainterPath::LineToElement:
            outline.LineTo(em(e.x), -em(e.y));
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 < path.elementCount()) {
                const QPainterPath::Element c2 = path.elementAt(i + 1);
                const QPainterPath::Element end = path.elementAt(i + 2);
                outline.CubicTo(em(e.x), -em(e.y), em(c2.x), -em(c2.y), em(end.x), -em(end.y));
                i += 2;
            }
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    outline.CloseContour();

    const QRectF box = font_.boundingRect(glyph);
    const QList<QPointF> advances = font_.advancesForGlyphIndexes(QList<quint32>{glyph});
    TGlyphMetricsFloat& m = outline.Metrics;
    m.BlackBoxX = em(box.width());
    m.BlackBoxY = em(box.height());
    m.OriginX = em(box.left());
    m.OriginY = -em(box.top());
    m.CellIncX = advances.isEmpty() ? 0 : em(advances[0].x());
    m.CellIncY = advances.isEmpty() ? 0 : -em(advances[0].y());
    return true;
}

void InstallQtGlyphOutlines()
{
    static const std::unique_ptr<TQtGlyphOutlineProvider> provider = std::make_unique<TQtGlyphOutlineProvider>();
    SetGlyphOutlineProvider(provider.get());
}
