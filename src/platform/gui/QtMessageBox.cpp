#include "platform/gui/QtMessageBox.h"

#include "platform/gui/QtModalForm.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>

#include <optional>
#include <vector>

namespace {

struct TButtonPair {
    TMsgDlgBtn Flag;
    QDialogButtonBox::StandardButton Button;
    TModalResult Result;
};

// In the order the platform lays the buttons out; the first one offered is the default.
constexpr TButtonPair Buttons[] = {
    {mbYes, QDialogButtonBox::Yes, TModalResult::mrYes},
    {mbNo, QDialogButtonBox::No, TModalResult::mrNo},
    {mbOK, QDialogButtonBox::Ok, TModalResult::mrOk},
    {mbCancel, QDialogButtonBox::Cancel, TModalResult::mrCancel},
    {mbAbort, QDialogButtonBox::Abort, TModalResult::mrAbort},
    {mbRetry, QDialogButtonBox::Retry, TModalResult::mrRetry},
    {mbIgnore, QDialogButtonBox::Ignore, TModalResult::mrIgnore},
};

std::optional<QStyle::StandardPixmap> IconOf(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QStyle::SP_MessageBoxWarning;
    case TMsgDlgType::mtError:
        return QStyle::SP_MessageBoxCritical;
    case TMsgDlgType::mtInformation:
        return QStyle::SP_MessageBoxInformation;
    case TMsgDlgType::mtConfirmation:
        return QStyle::SP_MessageBoxQuestion;
    case TMsgDlgType::mtCustom:
        break;
    }
    return std::nullopt;
}

class TAlertAccessible : public QAccessibleWidget {
public:
    explicit TAlertAccessible(TQtMessageBox& box) : QAccessibleWidget(&box, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text kind) const override
    {
        const QString& message = static_cast<const TQtMessageBox*>(widget())->Text();
        if (kind == QAccessible::Value) {
            return message;
        }
        const QString text = QAccessibleWidget::text(kind);
        return kind == QAccessible::Name && text.isEmpty() ? message : text;
    }
};

QAccessibleInterface* AlertOfMessageBox(const QString&, QObject* object)
{
    auto* box = dynamic_cast<TQtMessageBox*>(object);
    return box != nullptr ? new TAlertAccessible(*box) : nullptr;
}

} // namespace

TQtMessageBox::TQtMessageBox(QWidget* parent, const QString& caption, TMsgDlgType type, const QString& text,
                             TMsgDlgButtons buttons)
    : TQtTextBox(parent, caption, text)
{
    static const bool announced = (QAccessible::installFactory(AlertOfMessageBox), true);
    (void)announced;
    if (const auto icon = IconOf(type)) {
        const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        SetIcon(style()->standardIcon(*icon, nullptr, this).pixmap(side, side));
    }
    if ((buttons & (mbYes | mbNo | mbOK | mbCancel | mbAbort | mbRetry | mbIgnore)) == 0) {
        buttons = mbOK;
    }
    QDialogButtonBox& box = Buttons();
    box.setCenterButtons(style()->styleHint(QStyle::SH_MessageBox_CenterButtons, nullptr, this) != 0);
    std::vector<QPushButton*> offered;
    for (const TButtonPair& pair : ::Buttons) {
        if ((buttons & pair.Flag) == 0) {
            continue;
        }
        QPushButton* button = box.addButton(pair.Button);
        offered.push_back(button);
        const TModalResult result = pair.Result;
        QObject::connect(button, &QPushButton::clicked, this, [this, result] {
            FAnswer = result;
            done(ModalResultCode(result));
        });
    }
    FDefault = offered.front();
    FDefault->setDefault(true);
    FDefault->setFocus();
    // The button Escape stands for, chosen as the toolkit's own message box does.
    FEscape = box.button(QDialogButtonBox::Cancel);
    if (FEscape == nullptr && offered.size() == 1) {
        FEscape = offered.front();
    }
    if (FEscape == nullptr) {
        FEscape = box.button(QDialogButtonBox::Abort);
    }
    if (FEscape == nullptr) {
        FEscape = box.button(QDialogButtonBox::No);
    }
}

QPushButton* TQtMessageBox::Button(QDialogButtonBox::StandardButton which) const
{
    return Buttons().button(which);
}

void TQtMessageBox::reject()
{
    if (FEscape != nullptr) {
        FEscape->click();
    }
}

void TQtMessageBox::keyPressEvent(QKeyEvent* event)
{
    if ((event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) == 0) {
        for (QAbstractButton* button : Buttons().buttons()) {
            const QKeySequence mnemonic = button->shortcut();
            if (!mnemonic.isEmpty() && mnemonic[0].key() == event->key()) {
                button->click();
                return;
            }
        }
    }
    TQtTextBox::keyPressEvent(event);
}

void TQtMessageBox::showEvent(QShowEvent* event)
{
    TQtTextBox::showEvent(event);
    QAccessibleEvent shown(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&shown);
}
