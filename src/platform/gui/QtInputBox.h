#pragma once
// The input box of the running application: a caption, the prompt fitted to the screen
// (QtTextBox.h), a line edit holding the initial value, all of it selected, and OK and
// Cancel. Enter is OK, Escape and the window's close button are Cancel. The answer may
// be of any length.

#include "platform/gui/QtTextBox.h"

class QLineEdit;

class TQtInputBox : public TQtTextBox {
public:
    TQtInputBox(QWidget* parent, const QString& caption, const QString& prompt, const QString& value);

    QLineEdit& Edit() const { return *FEdit; }
    // What the line edit holds.
    QString Value() const;

private:
    QLineEdit* FEdit;
};
