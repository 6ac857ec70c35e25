#include "platform/gui/QtTextBox.h"

#include "platform/gui/BoxFit.h"
#include "platform/gui/QtBoxTextView.h"

#include <QBoxLayout>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <cmath>

TQtTextBox::TQtTextBox(QWidget* parent, const QString& caption, const QString& text)
    : QDialog(parent), FLayout(new QVBoxLayout(this)), FTextRow(new QHBoxLayout), FIcon(new QLabel(this)),
      FView(new TQtBoxTextView(text, this)), FButtons(new QDialogButtonBox(this))
{
    setWindowTitle(caption);
    // The box takes the size FitTo gives its parts; the user cannot drag it larger.
    FLayout->setSizeConstraint(QLayout::SetFixedSize);
    FIcon->hide();
    FIcon->setAlignment(Qt::AlignTop);
    FTextRow->addWidget(FIcon, 0, Qt::AlignTop);
    FTextRow->addWidget(FView);
    // A box that its buttons or control make wider keeps its text beside the icon.
    FTextRow->addStretch();
    FLayout->addLayout(FTextRow);
    FLayout->addWidget(FButtons);
}

const QString& TQtTextBox::Text() const
{
    return FView->Text();
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
    // As the text's wrapping measures a line: fractional advances, and the last glyph's
    // ink where it reaches past its advance (an 'A' does). Measured short, a word the box
    // was made wide for would be broken.
    const QFontMetricsF metrics(FView->font());
    const TTextMeasure measure = [&metrics](QStringView piece) {
        const qreal overhang = piece.isEmpty() ? 0.0 : std::max(0.0, -metrics.rightBearing(piece.back()));
        return static_cast<int>(std::ceil(metrics.horizontalAdvance(piece.toString()) + overhang));
    };
    const int line = static_cast<int>(std::ceil(metrics.lineSpacing()));
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, FView->verticalScrollBar());
    const QMargins margins = FLayout->contentsMargins();
    const int beside = FIcon->isVisibleTo(this) ? FIcon->sizeHint().width() + FTextRow->spacing() : 0;
    // Room for a scroll bar is kept whether or not the text will need one.
    const int room = most.width() - margins.left() - margins.right() - beside - scrollBar;
    const int width = WrapWidth(MeasureText(Text(), measure), line, room);
    if (FControl != nullptr) {
        // Room to type in, within the screen.
        FControl->setMinimumWidth(std::min(20 * line, most.width() - margins.left() - margins.right()));
    }
    const int height = FView->WrapAt(width, WordJoins(Text(), width, measure));
    FView->setFixedSize(width, height);
    FLayout->activate();
    const int around = FLayout->sizeHint().height() - height;
    const int shown = ShownTextHeight(height, most.height() - around, line);
    const bool scrolls = shown < height;
    FView->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    FView->setFixedSize(width + (scrolls ? scrollBar : 0), shown);
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

void TQtTextBox::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        const QString selected = FView->SelectedText();
        QGuiApplication::clipboard()->setText(selected.isEmpty() ? Text() : selected);
        return;
    }
    QDialog::keyPressEvent(event);
}
