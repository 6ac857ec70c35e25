#include "app/pages/PageControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>

int PageKeyStep(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    switch (key.key()) {
    case Qt::Key_Tab: return modifiers == Qt::ControlModifier ? 1 : 0;
    case Qt::Key_Backtab:
        return modifiers == (Qt::ControlModifier | Qt::ShiftModifier) || modifiers == Qt::ControlModifier ? -1 : 0;
    case Qt::Key_PageDown: return modifiers == Qt::ControlModifier ? 1 : 0;
    case Qt::Key_PageUp: return modifiers == Qt::ControlModifier ? -1 : 0;
    default: return 0;
    }
}

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
    const int step = PageKeyStep(*event);
    // With one page Ctrl+PgUp and Ctrl+PgDn stay the editor's (page top and bottom), but
    // Ctrl+Tab is taken and does nothing: the editor moved the focus with it, to a
    // control that shows no focus, and the letters typed next were lost.
    const bool tabKey = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (step == 0 || (count() < 2 && !tabKey)) {
        QTabWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (count() < 2) {
        return;
    }
    if (!AllowChange()) {
        return;
    }
    // Round the ends, past the tabs not enabled.
    for (int index = currentIndex(), pass = 1; pass < count(); ++pass) {
        index = (index + step + count()) % count();
        if (isTabEnabled(index)) {
            setCurrentIndex(index);
            return;
        }
    }
}
