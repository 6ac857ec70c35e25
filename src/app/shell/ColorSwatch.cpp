#include "app/shell/ColorSwatch.h"

#include "platform/core/services/DialogService.h"
#include "platform/core/graphics/SystemColors.h"
#include "platform/gui/ActionList.h"

#include <QMouseEvent>
#include <QPainter>

TColorSwatch::TColorSwatch(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setCursor(Qt::PointingHandCursor);
    setMinimumWidth(60);
    setFixedHeight(21);
}

void TColorSwatch::SetColor(TColor color)
{
    if (color != FColor) {
        FColor = color;
        update();
    }
}

void TColorSwatch::PickColor()
{
    TColor color = FColor;
    if (ColorQuery(color)) {
        SetColor(color);
    }
}

void TColorSwatch::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        const TColor shown = ResolveSystemColor(FColor);
        painter.fillRect(contentsRect(), FColor == clNone ? palette().window().color()
                                                          : QColor(GetRValue(shown), GetGValue(shown), GetBValue(shown)));
    }
    QFrame::paintEvent(event);
}

void TColorSwatch::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        RunGuarded([this] { PickColor(); });
    }
}
