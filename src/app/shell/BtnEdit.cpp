#include "app/shell/BtnEdit.h"

#include "platform/gui/Beep.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <cmath>

int BtnEditButtonWidth(int editHeight)
{
    return std::max(TBtnEditButton::MinimumWidth, static_cast<int>(std::lround(editHeight * 0.6)));
}

QRect BtnEditButtonRect(QSize editSize, int frameWidth)
{
    const int width = BtnEditButtonWidth(editSize.height());
    const int clientHeight = editSize.height() - 2 * frameWidth;
    return QRect(editSize.width() - frameWidth - width - 1, frameWidth, width, std::max(0, clientHeight - 1));
}

int BtnEditMinimumHeight(int fontHeight, int systemFontHeight, int borderHeight)
{
    return fontHeight + std::min(systemFontHeight, fontHeight) / 4 + 4 * borderHeight + 2;
}

QPixmap EllipsisGlyph()
{
    QImage image(11, 3, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    for (int x : {0, 4, 8})
        p.fillRect(x, 1, 3, 2, Qt::black);
    p.end();
    return QPixmap::fromImage(image);
}

TBtnEditButton::TBtnEditButton(QWidget* parent) : QWidget(parent), FButton(new QToolButton(this))
{
    setMinimumWidth(MinimumWidth);
    resize(20, 25);
    FButton->setAutoRaise(true);
    FButton->setFocusPolicy(Qt::NoFocus);
    FButton->setCursor(Qt::ArrowCursor);
    connect(FButton, &QToolButton::clicked, this, [this] { Click(); });
    SetGlyph({});
}

void TBtnEditButton::SetGlyph(const QPixmap& glyph)
{
    FGlyph = glyph.isNull() ? EllipsisGlyph() : glyph;
    FButton->setIcon(QIcon(FGlyph));
    FButton->setIconSize(FGlyph.size());
}

void TBtnEditButton::Click()
{
    if (FocusControl) {
        FClicking = true;
        FocusControl->setFocus(Qt::MouseFocusReason);
        FClicking = false;
    }
    if (OnBtnClick)
        OnBtnClick();
}

void TBtnEditButton::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FButton->setGeometry(rect());
}

TBtnEdit::TBtnEdit(QWidget* parent) : QLineEdit(parent), FButton(new TBtnEditButton(this))
{
    FButton->FocusControl = this;
    FButton->OnBtnClick = [this] { BtnClick(); };
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { TextChanged(text); });
    PlaceButton();
}

void TBtnEdit::BtnClick()
{
    if (isReadOnly())
        Beep();
}

void TBtnEdit::Paste()
{
    if (ClipboardEditsAllowed())
        paste();
}

void TBtnEdit::Cut()
{
    if (ClipboardEditsAllowed())
        cut();
}

void TBtnEdit::TextChanged(const QString& text)
{
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
        QString oneLine = text;
        oneLine.remove(QStringLiteral("\r\n"));
        oneLine.remove(QLatin1Char('\n'));
        oneLine.remove(QLatin1Char('\r'));
        // setText comes back here with the clean text and reports the change then.
        setText(oneLine);
        end(false);
        return;
    }
    if (OnChange)
        OnChange();
}

void TBtnEdit::PlaceButton()
{
    const int frame = hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
    const QRect button = BtnEditButtonRect(size(), frame);
    FButton->setGeometry(button);
    // The text ends one pixel short of the button.
    setTextMargins(0, 0, std::max(0, width() - frame - button.left() + 1), 0);
}

void TBtnEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    if (AutoSize) {
        const int minimum = BtnEditMinimumHeight(fontMetrics().height(),
                                                 QFontMetrics(QApplication::font()).height(), 1);
        if (height() < minimum) {
            resize(width(), minimum);
            return;
        }
    }
    PlaceButton();
}

void TBtnEdit::keyPressEvent(QKeyEvent* event)
{
    if ((event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) && !ClipboardEditsAllowed()) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        end(false);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TBtnEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    if (!ClipboardEditsAllowed()) {
        for (QAction* action : menu->actions())
            if (action->objectName() == QLatin1String("edit-paste") || action->objectName() == QLatin1String("edit-cut"))
                action->setEnabled(false);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TBtnEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button pastes the X11 selection.
    if (event->button() == Qt::MiddleButton && !ClipboardEditsAllowed()) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TBtnEdit::dropEvent(QDropEvent* event)
{
    if (!ClipboardEditsAllowed()) {
        event->ignore();
        return;
    }
    QLineEdit::dropEvent(event);
}

bool BtnEditEntered(Qt::FocusReason reason, bool leftClick)
{
    // The focus coming back from a menu (the macro menu among them) or with the window
    // does not enter the control: selecting then would make the next insert replace
    // everything typed.
    const bool returns = reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason ||
                         reason == Qt::MenuBarFocusReason;
    return !returns && !leftClick;
}

void TBtnEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const bool leftClick = (QApplication::mouseButtons() & Qt::LeftButton) != 0 || FButton->Clicking();
    if (AutoSelect && BtnEditEntered(event->reason(), leftClick))
        selectAll();
}
