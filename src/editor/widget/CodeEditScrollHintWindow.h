#pragma once
// The one hint window that every editor shows while its thumb is dragged: a frameless
// tool tip that never takes the focus. Made on first use, it lives while any editor
// widget holds it.

#include "platform/core/graphics/ColorValue.h"

#include <QPoint>
#include <QSize>
#include <QString>

class TCodeEditScrollHintWindow {
public:
    // Each editor widget holds the window for its lifetime.
    static void Hold();
    static void Release();

    // The window's size for a text wrapped at 200 pixels, with its border.
    static QSize Measure(const QString& text);
    // Shown at a screen point and painted at once.
    static void Show(const QString& text, QPoint screenPos, TColor color);
    static void Hide();
    static bool Visible();
    static QString Text();
};
