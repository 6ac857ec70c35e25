#pragma once
// The about box, "About Kerfpad": the version, the maker's web site and support mail, a
// tell-a-friend mail, what the program is for and a safety warning. Modal and freed
// after use. The OK button can be dragged with the mouse while the D key is held: an
// event filter on the application keeps the key's state, since Qt can only be asked
// for the modifier keys.

#include <QDialog>
#include <QPoint>

#include <memory>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class TLinkLabel;

class TFAboutBox : public QDialog {
public:
    explicit TFAboutBox(QWidget* parent = nullptr);
    ~TFAboutBox() override;

    TLinkLabel* Image1;
    QLabel* Label4;
    TLinkLabel* LabelWebsite;
    QLabel* Label8;
    TLinkLabel* LabelIdeas;
    QLabel* Label12;
    TLinkLabel* LabelFriend;
    QScrollArea* ScrollBox1;
    QLabel* Label2;
    TLinkLabel* Image3;
    QPlainTextEdit* Memo1;
    QPushButton* ButtonOk;

    void LabelWebsiteClick();
    void LabelIdeasClick();
    void LabelFriendClick();
    void Image3Click();
    // Whether the D key is down now, as far as the application has seen.
    bool DKeyDown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TKeyState;
    std::unique_ptr<TKeyState> FKeyState;
    // Where the mouse went down within the OK button.
    QPoint FPressPoint;
};

// The about box, modal, freed after.
void ExecuteAboutBox();

// The tell-a-friend mail.
QString TellAFriendMailUrl();
