#include "platform/gui/QtInputBox.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

TQtInputBox::TQtInputBox(QWidget* parent, const QString& caption, const QString& prompt, const QString& value)
    : TQtTextBox(parent, caption, prompt), FEdit(new QLineEdit(this))
{
    // Any length: a line edit cuts its text to 32,767 characters unless told otherwise,
    // the initial value too.
    FEdit->setMaxLength(std::numeric_limits<int>::max());
    FEdit->setText(value);
    FEdit->selectAll();
    SetControl(*FEdit);
    QDialogButtonBox& buttons = Buttons();
    buttons.setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    // Enter in the line edit clicks the default button.
    buttons.button(QDialogButtonBox::Ok)->setDefault(true);
    QObject::connect(&buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    QObject::connect(&buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    FEdit->setFocus();
}

QString TQtInputBox::Value() const
{
    return FEdit->text();
}
