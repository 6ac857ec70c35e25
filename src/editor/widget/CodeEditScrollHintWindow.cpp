#include "editor/widget/CodeEditScrollHintWindow.h"

#include "platform/core/graphics/SystemColors.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPalette>

#include <limits>

namespace {

constexpr int MaxHintWidth = 200;
// Room for the border and the text's margins around the measured text.
constexpr int ExtraWidth = 6;
constexpr int ExtraHeight = 2;

QLabel* gWindow = nullptr;
int gHolders = 0;

QLabel& Window()
{
    if (!gWindow) {
        gWindow = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        gWindow->setAttribute(Qt::WA_ShowWithoutActivating);
        gWindow->setFocusPolicy(Qt::NoFocus);
        gWindow->setWordWrap(true);
        gWindow->setMargin(0);
        gWindow->setContentsMargins(ExtraWidth / 2, ExtraHeight / 2, ExtraWidth / 2, ExtraHeight / 2);
        gWindow->setAutoFillBackground(true);
    }
    return *gWindow;
}

} // namespace

void TCodeEditScrollHintWindow::Hold() { ++gHolders; }

void TCodeEditScrollHintWindow::Release()
{
    if (--gHolders == 0) {
        delete gWindow;
        gWindow = nullptr;
    }
}

QSize TCodeEditScrollHintWindow::Measure(const QString& text)
{
    const QFontMetrics metrics(Window().font());
    const QRect bounds =
        metrics.boundingRect(QRect(0, 0, MaxHintWidth, std::numeric_limits<int>::max() / 2), Qt::TextWordWrap, text);
    return QSize(bounds.width() + ExtraWidth, bounds.height() + ExtraHeight);
}

void TCodeEditScrollHintWindow::Show(const QString& text, QPoint screenPos, TColor color)
{
    QLabel& window = Window();
    const TColor c = ResolveSystemColor(color);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
    palette.setColor(QPalette::WindowText, Qt::black);
    window.setPalette(palette);
    window.setText(text);
    window.setGeometry(QRect(screenPos, Measure(text)));
    window.show();
    window.repaint();
}

void TCodeEditScrollHintWindow::Hide()
{
    if (gWindow) {
        gWindow->hide();
    }
}

bool TCodeEditScrollHintWindow::Visible() { return gWindow && gWindow->isVisible(); }

QString TCodeEditScrollHintWindow::Text() { return gWindow ? gWindow->text() : QString(); }
