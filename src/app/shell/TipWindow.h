#pragma once
// The "Tip of the Day" window of TTips: a fixed 337 x 231 tool window, always on top,
// with no title-bar button but Close, centred on the screen, modeless. The white panel
// shows the style's icon, the heading "Did you know..." and the tip; below it the
// start-up check box and the Next Tip and Close buttons, which act through the TTips
// object. Escape and a close by the window manager (Alt+F4) are its Close button.

#include <QWidget>

class QCheckBox;
class QCloseEvent;
class QFrame;
class QKeyEvent;
class QLabel;
class QPainter;
class QPushButton;
class TTips;

constexpr int TipWindowWidth = 337;
constexpr int TipWindowHeight = 231;

// The panel on an image of its size: white, a one-pixel black frame along its edges,
// the icon at (8, 8) and the heading with its top left corner at (48, 16).
void PaintTipPanel(QPainter& painter, const QSize& size, const QPixmap& icon, const QFont& headingFont);

class TTipPanel : public QWidget {
public:
    TTipPanel(const TTips& tips, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TTips& FTips;
};

class TTipWindow : public QWidget {
public:
    explicit TTipWindow(TTips& tips);

    // The label's text: the tip, shown as written ('&' is no mnemonic).
    void ShowTip(const QString& text);

    QFrame* Bevel = nullptr;
    TTipPanel* PaintBox = nullptr;
    QLabel* TipLabel = nullptr;
    QCheckBox* CheckBox = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FitCheckBoxText();

    TTips& FTips;
};
