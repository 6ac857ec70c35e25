#pragma once
// A window's restored (normal) bounds and whether it is maximised, as the main settings
// file keeps them for the main window and the plug-in window. The bounds apply only
// when Width and Height are both above 0.

class QWidget;

struct TWindowBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    int Maximized = 0;

    bool HasBounds() const { return Width > 0 && Height > 0; }
    bool operator==(const TWindowBounds&) const = default;
};

// Places `window` at the bounds when there are any, then maximises it when they say so.
void ApplyWindowBounds(QWidget& window, const TWindowBounds& bounds);
// The bounds a maximised `window` comes back to (its own while it is not), and whether
// it is maximised.
TWindowBounds WindowBoundsOf(const QWidget& window);
