#include "app/shell/TipIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

const QColor Outline(40, 40, 40);

void DrawBulb(QPainter& p)
{
    p.setPen(QPen(Outline, 1.2));
    p.setBrush(QColor(255, 236, 90));
    p.drawEllipse(QRectF(7, 2, 18, 18));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(11.5, 19, 9, 8));
    p.drawLine(QPointF(11.5, 22), QPointF(20.5, 22));
    p.drawLine(QPointF(11.5, 25), QPointF(20.5, 25));
    p.setBrush(Outline);
    p.drawRect(QRectF(14, 27, 4, 3));
    // The glow of the filament.
    p.setPen(QPen(QColor(230, 140, 0), 1.5));
    p.drawLine(QPointF(13, 13), QPointF(16, 8));
    p.drawLine(QPointF(16, 8), QPointF(19, 13));
}

void DrawClown(QPainter& p)
{
    p.setPen(QPen(Outline, 1.2));
    p.setBrush(QColor(255, 120, 40));
    p.drawEllipse(QRectF(2, 6, 8, 10));
    p.drawEllipse(QRectF(22, 6, 8, 10));
    p.setBrush(QColor(255, 245, 230));
    p.drawEllipse(QRectF(5, 4, 22, 25));
    p.setBrush(Outline);
    p.drawEllipse(QRectF(10.5, 11, 3, 4));
    p.drawEllipse(QRectF(18.5, 11, 3, 4));
    p.setBrush(QColor(220, 20, 20));
    p.drawEllipse(QRectF(13.5, 15, 5, 5));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 0, 0), 1.8));
    p.drawArc(QRectF(9.5, 15, 13, 9), 200 * 16, 140 * 16);
}

void DrawQuestion(QPainter& p)
{
    p.setPen(QPen(QColor(0, 60, 160), 1.2));
    p.setBrush(QColor(40, 110, 220));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(20);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawArrow(QPainter& p)
{
    const QPolygonF arrow({QPointF(3, 12), QPointF(16, 12), QPointF(16, 5), QPointF(29, 16), QPointF(16, 27),
                           QPointF(16, 20), QPointF(3, 20)});
    p.setPen(QPen(QColor(0, 90, 0), 1.2));
    p.setBrush(QColor(40, 170, 60));
    p.drawPolygon(arrow);
}

void DrawTorch(QPainter& p)
{
    // A hand torch pointing up and right, its beam fanning out from the head.
    QPainterPath beam;
    beam.moveTo(18, 14);
    beam.lineTo(22, 1);
    beam.quadTo(31, 1, 31, 10);
    beam.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 236, 110, 210));
    p.drawPath(beam);
    p.setPen(QPen(Outline, 1.2));
    p.translate(12, 20);
    p.rotate(-45);
    p.setBrush(QColor(90, 90, 110));
    p.drawRect(QRectF(-11, -3.5, 14, 7));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(3, -5.5, 5, 11));
    p.setBrush(QColor(255, 230, 80));
    p.drawRect(QRectF(8, -5.5, 1.5, 11));
}

} // namespace

QImage TipIconImage(TGlyphStyle style)
{
    if (style == TGlyphStyle::gsCustom)
        return {};
    QImage image(TipIconSize, TipIconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (style) {
    case TGlyphStyle::gsLightBulb:
        DrawBulb(p);
        break;
    case TGlyphStyle::gsClown:
        DrawClown(p);
        break;
    case TGlyphStyle::gsHelp:
        DrawQuestion(p);
        break;
    case TGlyphStyle::gsArrow:
        DrawArrow(p);
        break;
    case TGlyphStyle::gsTorch:
        DrawTorch(p);
        break;
    case TGlyphStyle::gsCustom:
        break;
    }
    return image;
}

QPixmap TipIcon(TGlyphStyle style)
{
    return QPixmap::fromImage(TipIconImage(style));
}
