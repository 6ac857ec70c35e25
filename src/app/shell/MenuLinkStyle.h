#pragma once
// The Help menu's two web items are drawn as links: the caption in blue "MS Sans Serif"
// of size 8, 22 pixels right of and 5 pixels below the item's top left corner, over the
// menu's own background and highlight. The style draws every other item as the menu's
// own style does.

#include <QProxyStyle>
#include <QStringList>

class TMenuLinkStyle : public QProxyStyle {
public:
    // `captions`: the items drawn as links, as their texts stand.
    explicit TMenuLinkStyle(QStringList captions);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

private:
    QStringList FCaptions;
};
