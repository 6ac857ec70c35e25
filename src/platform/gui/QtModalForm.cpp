#include "platform/gui/QtModalForm.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {
// Beyond Qt's own Accepted (1) and Rejected (0).
constexpr int FirstOwnCode = 100;
// The property that carries a button's modal result.
constexpr const char* ModalResultProperty = "kerfpadModalResult";

void EndDialog(QDialog& dialog, TModalResult result)
{
    if (result == TModalResult::mrOk) {
        dialog.accept();
    } else if (result == TModalResult::mrCancel) {
        dialog.reject();
    } else {
        dialog.done(ModalResultCode(result));
    }
}

// The enabled button of the dialog that answers `result`, if it has one.
QAbstractButton* ButtonFor(QDialog& dialog, TModalResult result)
{
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        const QVariant value = button->property(ModalResultProperty);
        if (value.isValid() && value.toInt() == static_cast<int>(result) && button->isEnabled()) {
            return button;
        }
    }
    return nullptr;
}

bool ReadIndex(const QString& value, int count, int& index)
{
    bool ok = false;
    index = value.toInt(&ok);
    return ok && index >= 0 && index < count;
}
} // namespace

int ModalResultCode(TModalResult result)
{
    switch (result) {
    case TModalResult::mrOk: return QDialog::Accepted;
    case TModalResult::mrCancel: return QDialog::Rejected;
    default: return FirstOwnCode + static_cast<int>(result);
    }
}

TModalResult ModalResultOf(int dialogCode)
{
    if (dialogCode == QDialog::Accepted) {
        return TModalResult::mrOk;
    }
    const int own = dialogCode - FirstOwnCode;
    if (own >= static_cast<int>(TModalResult::mrNone) && own <= static_cast<int>(TModalResult::mrAll)) {
        return static_cast<TModalResult>(own);
    }
    return TModalResult::mrCancel;
}

bool SetWidgetField(QWidget& root, const QString& name, const QString& value)
{
    QWidget* control = root.objectName() == name ? &root : root.findChild<QWidget*>(name);
    if (auto* check = qobject_cast<QCheckBox*>(control)) {
        if (value != QLatin1String("1") && value != QLatin1String("0")) {
            return false;
        }
        check->setChecked(value == QLatin1String("1"));
        return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->isEditable()) {
            combo->setCurrentText(value);
            return true;
        }
        int index = 0;
        if (!ReadIndex(value, combo->count(), index)) {
            return false;
        }
        combo->setCurrentIndex(index);
        return true;
    }
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(value);
        return true;
    }
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        const QList<QRadioButton*> items = group->findChildren<QRadioButton*>();
        int index = 0;
        if (!ReadIndex(value, static_cast<int>(items.size()), index)) {
            return false;
        }
        items[index]->setChecked(true);
        return true;
    }
    return false;
}

TModalResult TQtModalForm::ExecuteModal()
{
    return ModalResultOf(FDialog.exec());
}

bool TQtModalForm::SetField(const std::string& name, const std::string& value)
{
    return SetWidgetField(FDialog, QString::fromStdString(name), QString::fromStdString(value));
}

void SetModalResult(QAbstractButton& button, QDialog& dialog, TModalResult result)
{
    button.setProperty(ModalResultProperty, static_cast<int>(result));
    QObject::connect(&button, &QAbstractButton::clicked, &dialog, [&dialog, result] { EndDialog(dialog, result); });
}

TModalResult TQtModalForm::CloseModal(TModalResult result)
{
    if (QAbstractButton* button = ButtonFor(FDialog, result)) {
        button->click();
    } else {
        EndDialog(FDialog, result);
    }
    return ModalResultOf(FDialog.result());
}

TModalResult ShowModalDialog(QDialog& dialog, const std::string& name)
{
    TQtModalForm form(dialog, name);
    return ShowModalForm(form);
}
