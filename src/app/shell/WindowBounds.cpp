#include "app/shell/WindowBounds.h"

#include <QRect>
#include <QWidget>

void ApplyWindowBounds(QWidget& window, const TWindowBounds& bounds)
{
    if (bounds.HasBounds()) {
        window.setGeometry(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
    }
    if (bounds.Maximized != 0) {
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    }
}

TWindowBounds WindowBoundsOf(const QWidget& window)
{
    // A window never shown has no normal geometry.
    const QRect normal = window.normalGeometry();
    const QRect bounds = normal.isValid() ? normal : window.geometry();
    return {bounds.left(), bounds.top(), bounds.width(), bounds.height(), window.isMaximized() ? 1 : 0};
}
