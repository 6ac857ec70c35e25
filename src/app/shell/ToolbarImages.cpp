#include "app/shell/ToolbarImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

const QColor Ink(40, 40, 40);
const QColor Paper(255, 255, 255);
const QColor Folder(230, 190, 60);
const QColor Blue(40, 90, 200);
const QColor Green(30, 150, 60);
const QColor Red(210, 40, 40);
const QColor Grey(150, 150, 150);

void Page(QPainter& p, const QRectF& r)
{
    QPolygonF sheet;
    sheet << r.topLeft() << QPointF(r.right() - 3, r.top()) << QPointF(r.right(), r.top() + 3) << r.bottomRight()
          << r.bottomLeft();
    p.setPen(Ink);
    p.setBrush(Paper);
    p.drawPolygon(sheet);
}

void Lines(QPainter& p, double left, double right, double top, int count)
{
    p.setPen(QPen(Grey, 1));
    for (int i = 0; i < count; ++i) {
        p.drawLine(QPointF(left, top + i * 2.5), QPointF(right, top + i * 2.5));
    }
}

void Triangle(QPainter& p, QPointF a, QPointF b, QPointF c, const QColor& fill)
{
    p.setPen(fill.darker(140));
    p.setBrush(fill);
    p.drawPolygon(QPolygonF() << a << b << c);
}

void Magnifier(QPainter& p, QPointF centre, double radius)
{
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(Ink, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(radius * 0.7, radius * 0.7), centre + QPointF(radius * 1.7, radius * 1.7));
}

void Arrow(QPainter& p, double y, double from, double to, const QColor& colour)
{
    p.setPen(QPen(colour, 1.5));
    p.drawLine(QPointF(from, y), QPointF(to, y));
    const double head = to > from ? -3 : 3;
    Triangle(p, QPointF(to + (to > from ? 1 : -1), y), QPointF(to + head, y - 3), QPointF(to + head, y + 3), colour);
}

void Disc(QPainter& p, QPointF centre, double radius, const QColor& colour)
{
    p.setPen(colour.darker(150));
    p.setBrush(colour);
    p.drawEllipse(centre, radius, radius);
}

void Text(QPainter& p, const QRectF& r, const QString& text, const QColor& colour, int pixels)
{
    QFont font = p.font();
    font.setPixelSize(pixels);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, text);
}

bool Draw(QPainter& p, int index)
{
    switch (index) {
    case 0: // new
        Page(p, QRectF(3, 1, 10, 14));
        return true;
    case 1: // open
        p.setPen(Ink);
        p.setBrush(Folder.darker(115));
        p.drawRect(QRectF(1, 3, 13, 11));
        p.setBrush(Folder);
        p.drawPolygon(QPolygonF() << QPointF(3, 7) << QPointF(15, 7) << QPointF(13, 14) << QPointF(1, 14));
        return true;
    case 2: // save
        p.setPen(Ink);
        p.setBrush(Blue);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Paper);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(Grey);
        p.drawRect(QRectF(4, 9.5, 8, 5));
        return true;
    case 3: // print
        Page(p, QRectF(4, 1, 8, 6));
        p.setBrush(Grey);
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        Page(p, QRectF(4, 10, 8, 5));
        return true;
    case 4: { // undo
        QPainterPath path;
        path.moveTo(4, 7);
        path.cubicTo(8, 2, 15, 5, 12, 13);
        p.setPen(QPen(Blue, 2));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        Triangle(p, QPointF(1, 8), QPointF(7, 4), QPointF(7, 10), Blue);
        return true;
    }
    case 5: // cut
        p.setPen(QPen(Ink, 1.5));
        p.drawLine(QPointF(5, 1), QPointF(10, 10));
        p.drawLine(QPointF(11, 1), QPointF(6, 10));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(5, 12), 2.5, 2.5);
        p.drawEllipse(QPointF(11, 12), 2.5, 2.5);
        return true;
    case 6: // copy
        Page(p, QRectF(1, 1, 9, 11));
        Page(p, QRectF(6, 4, 9, 11));
        return true;
    case 7: // paste
        p.setPen(Ink);
        p.setBrush(Folder.darker(130));
        p.drawRect(QRectF(1.5, 2.5, 10, 12));
        p.setBrush(Grey);
        p.drawRect(QRectF(4, 1, 5, 3));
        Page(p, QRectF(7, 6, 8, 9));
        return true;
    case 15: // replace
        Text(p, QRectF(0, 0, 9, 9), QStringLiteral("a"), Ink, 9);
        Text(p, QRectF(7, 7, 9, 9), QStringLiteral("b"), Blue, 9);
        Arrow(p, 12, 2, 7, Red);
        return true;
    case 16: // find
        Magnifier(p, QPointF(6, 6), 4);
        return true;
    case 17: // find next
        Magnifier(p, QPointF(5, 5), 3.5);
        Arrow(p, 13, 6, 14, Green);
        return true;
    case 18: // find previous
        Magnifier(p, QPointF(10, 5), 3.5);
        Arrow(p, 13, 10, 2, Green);
        return true;
    case 20: // indent
        Lines(p, 7, 15, 2, 5);
        Arrow(p, 7, 1, 5, Blue);
        return true;
    case 21: // un-indent
        Lines(p, 7, 15, 2, 5);
        Arrow(p, 7, 5, 1, Blue);
        return true;
    case 22: // code insert
        Text(p, QRectF(0, 0, 16, 16), QStringLiteral("{}"), Blue, 13);
        return true;
    case 23: // close
        Page(p, QRectF(2, 1, 10, 14));
        p.setPen(QPen(Red, 2));
        p.drawLine(QPointF(8, 8), QPointF(14, 14));
        p.drawLine(QPointF(14, 8), QPointF(8, 14));
        return true;
    case 24: // print preview
        Page(p, QRectF(2, 1, 10, 14));
        Magnifier(p, QPointF(9, 9), 3);
        return true;
    case 25: // plug-ins
        p.setPen(Ink);
        p.setBrush(Green);
        p.drawRoundedRect(QRectF(2, 5, 9, 9), 2, 2);
        p.drawRect(QRectF(11, 7.5, 4, 4));
        p.drawRect(QRectF(4.5, 1, 4, 4));
        return true;
    case 26: // help
        Disc(p, QPointF(8, 8), 7, Blue);
        Text(p, QRectF(0, 0, 16, 16), QStringLiteral("?"), Paper, 12);
        return true;
    case 27: // run
        Triangle(p, QPointF(4, 2), QPointF(14, 8), QPointF(4, 14), Green);
        return true;
    case 28: // step
        Triangle(p, QPointF(2, 2), QPointF(10, 8), QPointF(2, 14), Green);
        p.fillRect(QRectF(11, 2, 3, 12), Green.darker(140));
        return true;
    case 29: // pause
        p.fillRect(QRectF(3, 2, 4, 12), Blue);
        p.fillRect(QRectF(9, 2, 4, 12), Blue);
        return true;
    case 30: // stop
        p.setPen(Red.darker(150));
        p.setBrush(Red);
        p.drawRect(QRectF(2.5, 2.5, 11, 11));
        return true;
    case 37: // toggle breakpoint
        Disc(p, QPointF(8, 8), 5.5, Red);
        return true;
    case 38: // clear breakpoints
        Disc(p, QPointF(8, 8), 5.5, Red);
        p.setPen(QPen(Ink, 2));
        p.drawLine(QPointF(2, 2), QPointF(14, 14));
        return true;
    case 39: // step back
        p.fillRect(QRectF(2, 2, 3, 12), Green.darker(140));
        Triangle(p, QPointF(14, 2), QPointF(6, 8), QPointF(14, 14), Green);
        return true;
    case 40: // comment
        Lines(p, 7, 15, 3, 5);
        Text(p, QRectF(0, 0, 7, 16), QStringLiteral("'"), Green, 14);
        return true;
    case 41: // un-comment
        Lines(p, 3, 15, 3, 5);
        p.setPen(QPen(Red, 1.5));
        p.drawLine(QPointF(1, 14), QPointF(6, 2));
        return true;
    case 42: // editor options
        Page(p, QRectF(1, 1, 10, 14));
        Lines(p, 3, 9, 5, 3);
        Disc(p, QPointF(11.5, 11.5), 3.5, Grey);
        return true;
    case 43: // preview options
        p.setPen(Ink);
        p.setBrush(QColor(180, 210, 240));
        p.drawPolygon(QPolygonF() << QPointF(2, 5) << QPointF(8, 2) << QPointF(14, 5) << QPointF(8, 8));
        p.setBrush(QColor(120, 160, 210));
        p.drawPolygon(QPolygonF() << QPointF(2, 5) << QPointF(8, 8) << QPointF(8, 15) << QPointF(2, 12));
        p.setBrush(QColor(80, 120, 180));
        p.drawPolygon(QPolygonF() << QPointF(8, 8) << QPointF(14, 5) << QPointF(14, 12) << QPointF(8, 15));
        return true;
    case 44: // quick view
        p.setPen(Ink);
        p.setBrush(Paper);
        p.drawEllipse(QPointF(8, 8), 7, 4);
        Disc(p, QPointF(8, 8), 2.5, Blue);
        return true;
    default:
        return false;
    }
}

} // namespace

QImage ToolbarPicture(int index)
{
    QImage image(ToolbarImageSize, ToolbarImageSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool drawn = Draw(painter, index);
    painter.end();
    return drawn ? image : QImage();
}

QIcon ToolbarImage(int index)
{
    const QImage picture = ToolbarPicture(index);
    return picture.isNull() ? QIcon() : QIcon(QPixmap::fromImage(picture));
}
