#include "platform/gui/QtMessageBox.h"

#include "platform/gui/QtModalForm.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
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

// The boxes alive, by the address Qt hands the accessibility factory. The factory is
// asked about every object of the process, among them the web engine's, which are built
// without run-time type information: a dynamic_cast of one reads a type record that is
// not there and ends the process. So an object is known by its address alone and
// touched only then.
std::vector<const QObject*>& LiveBoxes()
{
    static std::vector<const QObject*> boxes;
    return boxes;
}

bool IsLiveBox(const QObject* object)
{
    const std::vector<const QObject*>& boxes = LiveBoxes();
    return object != nullptr && std::find(boxes.begin(), boxes.end(), object) != boxes.end();
}

class TAlertAccessible : public QAccessibleWidget {
public:
    explicit TAlertAccessible(TQtMessageBox& box) : QAccessibleWidget(&box, QAccessible::AlertMessage) {}

    QString text(QAccessible::Text kind) const override
    {
        // The widget's own destruction may still ask, after the box's part is gone.
        if (!IsLiveBox(object())) {
            return QAccessibleWidget::text(kind);
        }
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
    if (!IsLiveBox(object)) {
        return nullptr;
    }
    return new TAlertAccessible(*static_cast<TQtMessageBox*>(static_cast<QWidget*>(object)));
}

} // namespace

TQtMessageBox::TQtMessageBox(QWidget* parent, const QString& caption, TMsgDlgType type, const QString& text,
                             TMsgDlgButtons buttons)
    : TQtTextBox(parent, caption, text)
{
    LiveBoxes().push_back(this);
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

TQtMessageBox::~TQtMessageBox()
{
    std::erase(LiveBoxes(), static_cast<const QObject*>(this));
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
