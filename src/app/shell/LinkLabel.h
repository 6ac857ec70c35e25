#pragma once
// A label that acts as a link: blue and underlined when asked, the hand cursor over it,
// and OnClick on a left click. Pictures (a QPixmap on the label) click the same way.

#include <QLabel>

#include <functional>

class TLinkLabel : public QLabel {
public:
    explicit TLinkLabel(const QString& text, QWidget* parent = nullptr, bool underlined = true);

    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
