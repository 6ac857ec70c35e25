#include "platform/gui/QtCanvas.h"

#include "platform/core/SystemColors.h"

#include <QPainter>

void TQtCanvas::FillRect(const TRect& rect, TColor color)
{
    if (rect.Width() <= 0 || rect.Height() <= 0) {
        return;
    }
    const TColor c = ResolveSystemColor(color);
    painter_.fillRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()),
                      QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
}
