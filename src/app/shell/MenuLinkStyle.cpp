#include "app/shell/MenuLinkStyle.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

TMenuLinkStyle::TMenuLinkStyle(QStringList captions) : FCaptions(std::move(captions)) {}

void TMenuLinkStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || item == nullptr || !FCaptions.contains(item->text)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    QStyleOptionMenuItem background(*item);
    background.text.clear();
    QProxyStyle::drawControl(element, &background, painter, widget);
    painter->save();
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    painter->setFont(font);
    painter->setPen(QColor(0, 0, 255));
    QString caption = item->text;
    caption.remove(QLatin1Char('&'));
    painter->drawText(item->rect.adjusted(22, 5, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
    painter->restore();
}
