#include "app/shell/TipWindow.h"

#include "app/shell/Tips.h"

#include "platform/core/services/DebugLog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <exception>

namespace {

constexpr int NextButtonLeft = 160;

// Button handlers run inside Qt's event loop, which no exception may cross.
template <class F>
void Guarded(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        DebugLog(std::string("Tip of the Day: ") + e.what());
    }
}

} // namespace

void PaintTipPanel(QPainter& painter, const QSize& size, const QPixmap& icon, const QFont& headingFont)
{
    // Drawn off screen first, as the window is repainted piecemeal while it is moved.
    QPixmap buffer(size);
    buffer.fill(Qt::white);
    {
        QPainter p(&buffer);
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, size.width() - 1, size.height() - 1);
        if (!icon.isNull())
            p.drawPixmap(8, 8, icon);
        p.setFont(headingFont);
        p.drawText(QPoint(48, 16 + p.fontMetrics().ascent()), QStringLiteral("Did you know..."));
    }
    painter.drawPixmap(0, 0, buffer);
}

TTipPanel::TTipPanel(const TTips& tips, QWidget* parent) : QWidget(parent), FTips(tips) {}

void TTipPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTipPanel(painter, size(), FTips.Icon(), QApplication::font());
}

TTipWindow::TTipWindow(TTips& tips)
    // A window without the close function is one no window manager closes: icewm refuses
    // it Alt+F4, so the title bar keeps its close button.
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::WindowStaysOnTopHint),
      FTips(tips)
{
    setObjectName(QStringLiteral("TDailyTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(TipWindowWidth, TipWindowHeight);

    Bevel = new QFrame(this);
    Bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel->setGeometry(8, 8, 321, 185);

    PaintBox = new TTipPanel(tips, this);
    PaintBox->setGeometry(16, 16, 305, 169);

    TipLabel = new QLabel(this);
    TipLabel->setGeometry(24, 72, 289, 105);
    TipLabel->setTextFormat(Qt::PlainText);
    TipLabel->setWordWrap(true);
    TipLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TipLabel->setAutoFillBackground(true);
    QPalette white = TipLabel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    TipLabel->setPalette(white);
    ShowTip(tips.CurrentTipText());

    CheckBox = new QCheckBox(QStringLiteral("&Show Tips on Startup"), this);
    CheckBox->setGeometry(8, 203, 129, 17);
    FitCheckBoxText();
    CheckBox->setChecked(tips.ShowOnStartup);
    connect(CheckBox, &QCheckBox::clicked, this, [this](bool checked) { FTips.ShowOnStartup = checked; });

    NextButton = new QPushButton(QStringLiteral("&Next Tip"), this);
    NextButton->setGeometry(NextButtonLeft, 200, 81, 23);
    connect(NextButton, &QPushButton::clicked, this, [this] { Guarded([this] { FTips.NextTip(); }); });

    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    CloseButton->setGeometry(248, 200, 81, 23);
    connect(CloseButton, &QPushButton::clicked, this, [this] { Guarded([this] { FTips.CloseDialog(); }); });

    if (const QScreen* screen = QApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TTipWindow::FitCheckBoxText()
{
    // The box is laid out for a small dialog font; a wider desktop font would cut its
    // text, so it may grow up to the Next button and then takes a smaller font.
    const int room = NextButtonLeft - 8 - CheckBox->x();
    CheckBox->resize(std::clamp(CheckBox->sizeHint().width(), CheckBox->width(), room), CheckBox->height());
    QFont font = CheckBox->font();
    while (CheckBox->sizeHint().width() > CheckBox->width() && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        CheckBox->setFont(font);
    }
}

void TTipWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        CloseButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TTipWindow::closeEvent(QCloseEvent* event)
{
    // Closed by the window manager (Alt+F4, the title bar): as by the Close button.
    if (FTips.Window() == this) {
        Guarded([this] { FTips.CloseDialog(); });
    }
    QWidget::closeEvent(event);
}

void TTipWindow::ShowTip(const QString& text)
{
    TipLabel->setText(text);
}
