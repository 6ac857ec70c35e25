#pragma once
// A QDialog as a modal window of the dialog service (IModalForm): ExecuteModal runs
// exec(), SetField finds the control by its object name, CloseModal clicks the dialog's
// button for the answer (SetModalResult), so a script answers through the same path as
// the user; a dialog without such a button ends by accept() for OK, reject() for Cancel
// (its own close handling runs either way). Results other than OK and Cancel travel as
// dialog codes of their own (ModalResultCode).

#include "platform/core/services/DialogService.h"

#include <QString>

class QAbstractButton;
class QDialog;
class QWidget;

// The QDialog result code of a modal result and back: Accepted is OK, Rejected is
// Cancel (and any unknown code). Not named DialogCode: inside a dialog's members that
// name is QDialog's enum, and DialogCode(result) would silently cast instead.
int ModalResultCode(TModalResult result);
TModalResult ModalResultOf(int dialogCode);

// The button ends its dialog with `result` when clicked, as a platform button with a
// modal result does: accept() for OK, reject() for Cancel, done() with the result's
// code otherwise. CloseModal clicks it for that answer.
void SetModalResult(QAbstractButton& button, QDialog& dialog, TModalResult result);

// Sets the control of that object name inside `root` as a user would: an editable combo
// box or a line edit takes the text, a check box "1" or "0", a combo box that cannot be
// edited or a group box of radio buttons the index of its item. False when no control
// of the name takes such a value.
bool SetWidgetField(QWidget& root, const QString& name, const QString& value);

class TQtModalForm : public IModalForm {
public:
    TQtModalForm(QDialog& dialog, std::string name) : FDialog(dialog), FName(std::move(name)) {}
    std::string FormName() const override { return FName; }
    TModalResult ExecuteModal() override;
    bool SetField(const std::string& name, const std::string& value) override;
    TModalResult CloseModal(TModalResult result) override;

private:
    QDialog& FDialog;
    std::string FName;
};

// Shows the dialog modally through the dialog service under `name`.
TModalResult ShowModalDialog(QDialog& dialog, const std::string& name);
