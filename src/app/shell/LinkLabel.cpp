#include "app/shell/LinkLabel.h"

#include "platform/gui/ActionList.h"

#include <QMouseEvent>

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent, bool underlined) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
    if (underlined) {
        QFont underlinedFont = font();
        underlinedFont.setUnderline(true);
        setFont(underlinedFont);
        QPalette blue = palette();
        blue.setColor(QPalette::WindowText, Qt::blue);
        setPalette(blue);
    }
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) {
        RunGuarded(OnClick);
    }
}
