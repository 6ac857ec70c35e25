#include "app/pages/PageControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>

namespace {
// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgUp and Ctrl+PgDn turn pages of a tab widget.
bool TurnsPage(const QKeyEvent& key)
{
    if (!key.modifiers().testFlag(Qt::ControlModifier)) {
        return false;
    }
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: return true;
    default: return false;
    }
}
} // namespace

TPageControl::TPageControl(QWidget* parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("pctrlMain"));
    setDocumentMode(true);
    tabBar()->installEventFilter(this);
    tabBar()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tabBar(), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (PopupMenu != nullptr) {
            PopupMenu->popup(tabBar()->mapToGlobal(at));
        }
    });
}

bool TPageControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != tabBar()) {
        return QTabWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!AllowChange()) {
            return mouse->button() != Qt::RightButton;
        }
        if (mouse->button() == Qt::RightButton && event->type() == QEvent::MouseButtonPress) {
            // The tab under the mouse becomes the page before the popup shows.
            QMouseEvent press(QEvent::MouseButtonPress, mouse->position(), mouse->globalPosition(), Qt::LeftButton,
                              Qt::LeftButton, mouse->modifiers());
            QApplication::sendEvent(tabBar(), &press);
            QMouseEvent release(QEvent::MouseButtonRelease, mouse->position(), mouse->globalPosition(),
                                Qt::LeftButton, Qt::NoButton, mouse->modifiers());
            QApplication::sendEvent(tabBar(), &release);
        }
        return false;
    }
    case QEvent::Wheel: return !AllowChange();
    case QEvent::KeyPress: return !AllowChange();
    default: return false;
    }
}

void TPageControl::keyPressEvent(QKeyEvent* event)
{
    if (TurnsPage(*event) && !AllowChange()) {
        event->accept();
        return;
    }
    QTabWidget::keyPressEvent(event);
}
