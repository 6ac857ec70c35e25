#include "platform/gui/QtTextBox.h"

#include "platform/gui/BoxFit.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

TQtTextBox::TQtTextBox(QWidget* parent, const QString& caption, const QString& text)
    : QDialog(parent), FText(text), FLayout(new QVBoxLayout(this)), FTextRow(new QHBoxLayout),
      FIcon(new QLabel(this)), FArea(new QScrollArea(this)), FLabel(new QLabel), FButtons(new QDialogButtonBox(this))
{
    setWindowTitle(caption);
    // The box takes the size FitTo gives its parts; the user cannot drag it larger.
    FLayout->setSizeConstraint(QLayout::SetFixedSize);
    FIcon->hide();
    FIcon->setAlignment(Qt::AlignTop);
    FLabel->setTextFormat(Qt::PlainText);
    FLabel->setWordWrap(true);
    FLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    FLabel->setText(text);
    FArea->setFrameShape(QFrame::NoFrame);
    FArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FArea->setWidget(FLabel);
    FTextRow->addWidget(FIcon, 0, Qt::AlignTop);
    FTextRow->addWidget(FArea);
    // A box that its buttons or control make wider keeps its text beside the icon.
    FTextRow->addStretch();
    FLayout->addLayout(FTextRow);
    FLayout->addWidget(FButtons);
}

void TQtTextBox::SetIcon(const QPixmap& icon)
{
    FIcon->setPixmap(icon);
    FIcon->setVisible(!icon.isNull());
}

void TQtTextBox::SetControl(QWidget& control)
{
    FControl = &control;
    FLayout->insertWidget(1, &control);
}

void TQtTextBox::FitTo(const QRect& available)
{
    const QSize most = MaxBoxSize(available.size());
    // As the label's wrapping measures a line: fractional advances, and the last glyph's
    // ink where it reaches past its advance (an 'A' does). Measured short, a piece
    // would stick out of the label.
    const QFontMetricsF metrics(FLabel->font());
    const TTextMeasure measure = [&metrics](QStringView piece) {
        const qreal overhang = piece.isEmpty() ? 0.0 : std::max(0.0, -metrics.rightBearing(piece.back()));
        return static_cast<int>(std::ceil(metrics.horizontalAdvance(piece.toString()) + overhang));
    };
    const int line = static_cast<int>(std::ceil(metrics.lineSpacing()));
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, FArea->verticalScrollBar());
    const QMargins margins = FLayout->contentsMargins();
    const int beside = FIcon->isVisibleTo(this) ? FIcon->sizeHint().width() + FTextRow->spacing() : 0;
    // Room for a scroll bar is kept whether or not the text will need one.
    const int width =
        WrapWidth(MeasureLines(FText, measure), line, most.width() - margins.left() - margins.right() - beside - scrollBar);
    if (FControl != nullptr) {
        // Room to type in, within the screen.
        FControl->setMinimumWidth(std::min(20 * line, most.width() - margins.left() - margins.right()));
    }
    FLabel->setText(BreakLongWords(FText, width, measure));
    const int height = FLabel->heightForWidth(width);
    FLabel->setFixedSize(width, height);

    FArea->setFixedSize(width, height);
    FLayout->activate();
    const int around = FLayout->sizeHint().height() - height;
    const int shown = ShownTextHeight(height, most.height() - around, line);
    const bool scrolls = shown < height;
    FArea->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    FArea->setFixedSize(width + (scrolls ? scrollBar : 0), shown);
    FLayout->activate();
    adjustSize();

    const QWidget* over = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    const QPoint centre = over != nullptr ? over->frameGeometry().center() : available.center();
    move(BoxTopLeft(available, size() + QSize(BoxFrameWidth, BoxFrameHeight), centre));
}

void TQtTextBox::FitToScreen()
{
    QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    FitTo(screen->availableGeometry());
}
