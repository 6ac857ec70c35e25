#include "app/plugins/AboutBox.h"

#include "app/pages/EditorPageHost.h"
#include "app/shell/LinkLabel.h"
#include "app/plugins/MakerLinks.h"

#include "platform/core/services/DialogService.h"
#include "platform/gui/QtModalForm.h"
#include "platform/gui/ShellOpen.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <memory>

namespace {

const QString SafetyWarning = QStringLiteral(
    "WARNING: CNC machines are dangerous, like all power tools. You alone are responsible for operating "
    "this software and your machinery safely, and for whatever you do with the information this software "
    "gives you. Kerfpad and its makers take no responsibility for any injury, damage or loss that comes "
    "from its use. CNC equipment can start without warning and cause serious injury or death: keep clear "
    "of the machine whenever it may move.");

// The product picture: a bit cutting a kerf into a board.
QPixmap ProductPicture()
{
    QPixmap picture(96, 64);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(110, 70, 30), 1));
    p.setBrush(QColor(222, 184, 135));
    p.drawRect(QRectF(4, 40, 88, 18));
    p.setBrush(QColor(90, 60, 25));
    p.drawRect(QRectF(4, 40, 52, 5));
    p.setBrush(QColor(150, 150, 160));
    p.setPen(QPen(Qt::darkGray, 1));
    p.drawRect(QRectF(52, 4, 12, 22));
    QPainterPath bit;
    bit.moveTo(54, 26);
    bit.lineTo(62, 26);
    bit.lineTo(58, 42);
    bit.closeSubpath();
    p.drawPath(bit);
    return picture;
}

// The machine maker's name as a logo.
QPixmap MakerLogo()
{
    QPixmap logo(140, 36);
    logo.fill(Qt::transparent);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0, 70, 140));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, 140, 36), 6, 6);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(20);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 140, 36), Qt::AlignCenter, QStringLiteral("ShopBot"));
    return logo;
}

void OpenWebPage(const QString& address)
{
    if (!ShellOpen(address)) {
        ShowErrorBox("Could not open web browser to " + address.toStdString());
    }
}

void OpenMail(const QString& url)
{
    if (!ShellOpen(url)) {
        ShowErrorBox("Error opening default mail client.");
    }
}

} // namespace

// Watches every key of the application for D going down and up.
class TFAboutBox::TKeyState : public QObject {
public:
    bool DDown = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_D && !key->isAutoRepeat()) {
                DDown = event->type() == QEvent::KeyPress;
            }
        } else if (event->type() == QEvent::ApplicationDeactivate) {
            // A key let go in another program is never seen here.
            DDown = false;
        }
        return QObject::eventFilter(watched, event);
    }
};

QString TellAFriendMailUrl()
{
    return MailtoUrl(QString(), QStringLiteral("New Shopbot code editor with 3D preview - Kerfpad!"),
                     {QStringLiteral("I found a new editor built from the ground up specifically for the shopbot.  It "
                                     "has tons of features like syntax highlighting, multiple document editing, "
                                     "built in 3D previewer and much, much more.  "),
                      QString(), QStringLiteral("Check it out: ") + MakerWebAddress + QLatin1Char('.')});
}

TFAboutBox::TFAboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FAboutBox"));
    setWindowTitle(QStringLiteral("About Kerfpad"));
    setFixedSize(413, 503);

    // Absolute places, as the box was drawn: the OK button may be dragged about in it.
    Image1 = new TLinkLabel(QString(), this, false);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(ProductPicture());
    Image1->setGeometry(16, 12, 96, 64);
    auto* title = new QLabel(QStringLiteral("Kerfpad"), this);
    QFont titleFont = title->font();
    titleFont.setPointSize(18);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setGeometry(128, 14, 270, 32);
    Label4 = new QLabel(QStringLiteral("Version 1.0.0  (Build: 010308)"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(128, 48, 270, 18);
    LabelWebsite = new TLinkLabel(MakerWebAddress, this);
    LabelWebsite->setObjectName(QStringLiteral("LabelWebsite"));
    LabelWebsite->setGeometry(128, 68, 270, 18);

    Label8 = new QLabel(QStringLiteral("Ideas/Enhancements/Support:"), this);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setGeometry(16, 96, 180, 18);
    LabelIdeas = new TLinkLabel(SupportMailAddress, this);
    LabelIdeas->setObjectName(QStringLiteral("LabelIdeas"));
    LabelIdeas->setGeometry(200, 96, 200, 18);
    Label12 = new QLabel(QStringLiteral("Email a Friend:"), this);
    Label12->setObjectName(QStringLiteral("Label12"));
    Label12->setGeometry(16, 118, 180, 18);
    LabelFriend = new TLinkLabel(QStringLiteral("Tell a Friend About Kerfpad!"), this);
    LabelFriend->setObjectName(QStringLiteral("LabelFriend"));
    LabelFriend->setGeometry(200, 118, 200, 18);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(16, 146, 381, 300);
    ScrollBox1->setWidgetResizable(true);
    auto* inside = new QWidget;
    auto* layout = new QVBoxLayout(inside);
    Label2 = new QLabel(QString::fromUtf8("Kerfpad\u2122 was written specifically for the amazing Shopbot\u00AE CNC tool."),
                        inside);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Image3 = new TLinkLabel(QString(), inside, false);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setPixmap(MakerLogo());
    Image3->setAlignment(Qt::AlignCenter);
    Memo1 = new QPlainTextEdit(SafetyWarning, inside);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    QFont small = Memo1->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    Memo1->setFont(small);
    Memo1->setMinimumHeight(150);
    layout->addWidget(Label2);
    layout->addWidget(Image3);
    layout->addWidget(Memo1);
    ScrollBox1->setWidget(inside);

    ButtonOk = new QPushButton(QStringLiteral("&OK"), this);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setGeometry(166, 460, 80, 28);
    ButtonOk->setDefault(true);
    SetModalResult(*ButtonOk, *this, TModalResult::mrOk);

    LabelWebsite->OnClick = [this] { LabelWebsiteClick(); };
    Image1->OnClick = [this] { LabelWebsiteClick(); };
    LabelIdeas->OnClick = [this] { LabelIdeasClick(); };
    LabelFriend->OnClick = [this] { LabelFriendClick(); };
    Image3->OnClick = [this] { Image3Click(); };

    ButtonOk->installEventFilter(this);
    FKeyState = std::make_unique<TKeyState>();
    qApp->installEventFilter(FKeyState.get());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect placed(QPoint(), size());
        placed.moveCenter(screen->availableGeometry().center());
        move(placed.topLeft());
    }
}

TFAboutBox::~TFAboutBox()
{
    qApp->removeEventFilter(FKeyState.get());
}

bool TFAboutBox::DKeyDown() const
{
    return FKeyState->DDown;
}

void TFAboutBox::LabelWebsiteClick()
{
    OpenWebPage(LabelWebsite->text());
}

void TFAboutBox::LabelIdeasClick()
{
    OpenMail(QStringLiteral("mailto:") + LabelIdeas->text());
}

void TFAboutBox::LabelFriendClick()
{
    OpenMail(TellAFriendMailUrl());
}

void TFAboutBox::Image3Click()
{
    OpenWebPage(MachineMakerAddress);
}

bool TFAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == ButtonOk) {
            FPressPoint = static_cast<QMouseEvent*>(event)->position().toPoint();
        }
        break;
    case QEvent::MouseMove:
        if (watched == ButtonOk) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if ((mouse->buttons() & Qt::LeftButton) && DKeyDown()) {
                ButtonOk->move(ButtonOk->pos() + mouse->position().toPoint() - FPressPoint);
            }
        }
        break;
    default: break;
    }
    return QDialog::eventFilter(watched, event);
}

void ExecuteAboutBox()
{
    auto box = std::make_unique<TFAboutBox>(dynamic_cast<QWidget*>(EditorPageHost()));
    ShowModalDialog(*box, "FAboutBox");
}
