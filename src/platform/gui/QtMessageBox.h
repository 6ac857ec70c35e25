#pragma once
// The message box of the running application: a caption, the icon of its type, the text
// fitted to the screen (QtTextBox.h) and the buttons asked for, laid out by the
// platform's rule; the first one offered is the default. As the toolkit's own message
// box: a button's mnemonic letter answers with or without Alt ("y" for "&Yes"), Escape
// and the window's close button answer as Cancel does, else as the only button, else as
// Abort, else as No (a box without such a button closes only by a button), and the box
// is announced to assistive technology as an alert whose value is its text.

#include "platform/core/services/DialogService.h"
#include "platform/gui/QtTextBox.h"

#include <QDialogButtonBox>

class QPushButton;

class TQtMessageBox : public TQtTextBox {
public:
    // No button asked for gives an OK button.
    TQtMessageBox(QWidget* parent, const QString& caption, TMsgDlgType type, const QString& text,
                  TMsgDlgButtons buttons);
    ~TQtMessageBox() override;

    QPushButton* Button(QDialogButtonBox::StandardButton which) const;
    QPushButton* DefaultButton() const { return FDefault; }
    // The answer of the button that closed the box; Cancel while none has.
    TModalResult Answer() const { return FAnswer; }

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* FDefault = nullptr;
    QPushButton* FEscape = nullptr;
    TModalResult FAnswer = TModalResult::mrCancel;
};
