#pragma once
// What the message and the input box share: a caption, a text (the message or the
// prompt), room for a control below it and a row of buttons, fitted to the available
// area of a screen (BoxFit.h). The text wraps at a readable width, wider when that keeps
// a word whole, and a text too tall for the screen scrolls, so the end of the text and
// the buttons are always in sight. Qt's own boxes do neither: QInputDialog lays its
// prompt out on one line (300 characters made a box 2,045 pixels wide, thousands one of
// 32,767), QMessageBox clips a word wider than its 1,000 pixels and grows as tall as its
// text, its buttons below the screen.
// The text is plain and can be selected by mouse; Tab walks the buttons and the control
// only. Ctrl+C, when the control does not take it, copies the selected text, else the
// whole text.

#include <QDialog>

class QDialogButtonBox;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class TQtBoxTextView;

class TQtTextBox : public QDialog {
public:
    TQtTextBox(QWidget* parent, const QString& caption, const QString& text);

    const QString& Text() const;
    TQtBoxTextView& TextView() const { return *FView; }
    QDialogButtonBox& Buttons() const { return *FButtons; }

    // Sizes the box for a screen whose available area is `available` and places it
    // there, centred over its parent's window when it has one, else on the area.
    void FitTo(const QRect& available);
    // FitTo the available area of the screen that shows the parent, else the primary's.
    void FitToScreen();

protected:
    // An icon left of the text (a message box's).
    void SetIcon(const QPixmap& icon);
    // A control between the text and the buttons (an input box's line edit).
    void SetControl(QWidget& control);

    void keyPressEvent(QKeyEvent* event) override;

private:
    QVBoxLayout* FLayout;
    QHBoxLayout* FTextRow;
    QLabel* FIcon;
    TQtBoxTextView* FView;
    QWidget* FControl = nullptr;
    QDialogButtonBox* FButtons;
};
