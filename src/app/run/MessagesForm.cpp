#include "app/run/MessagesForm.h"

#include "platform/core/files/AtomicFileStream.h"
#include "platform/core/services/DialogService.h"
#include "platform/gui/ActionList.h"
#include "platform/gui/X11InputFocus.h"
#include "platform/gui/X11WindowState.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

TFMessages* FMessages = nullptr;

TFMessages::TFMessages(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FMessages"));
    setWindowTitle(QStringLiteral("Part File Message Screen"));
    resize(546, 479);

    RichEditMessages = new TMessagesView(FLines, this);
    RichEditMessages->setObjectName(QStringLiteral("RichEditMessages"));
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(15);
    font.setBold(true);
    RichEditMessages->setFont(font);
    QPalette palette = RichEditMessages->palette();
    palette.setColor(QPalette::Text, Qt::darkGreen);
    RichEditMessages->setPalette(palette);

    ButtonSave = new QPushButton(QStringLiteral("&Save"), this);
    ButtonClear = new QPushButton(QStringLiteral("C&lear"), this);
    ButtonClose = new QPushButton(QStringLiteral("&Close"), this);
    connect(ButtonSave, &QPushButton::clicked, this, [this] { RunGuarded([this] { ButtonSaveClick(); }); });
    connect(ButtonClear, &QPushButton::clicked, this, [this] { ButtonClearClick(); });
    connect(ButtonClose, &QPushButton::clicked, this, [this] { ButtonCloseClick(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonSave);
    buttons->addStretch(1);
    buttons->addWidget(ButtonClear);
    buttons->addWidget(ButtonClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RichEditMessages, 1);
    layout->addLayout(buttons);

    // Never early: the window manager has the whole wait.
    FWithdrawWait.setSingleShot(true);
    FWithdrawWait.setTimerType(Qt::PreciseTimer);
    FWithdrawWait.setInterval(WithdrawWaitMs);
    connect(&FWithdrawWait, &QTimer::timeout, this, [this] {
        if (FShowPending) {
            ShowNow();
        }
    });
}

TFMessages::~TFMessages() = default;

void TFMessages::AddMessage(const QString& text)
{
    RichEditMessages->AppendShown(FLines.Append(text));
    if (!isVisible()) {
        ShowWithoutKeyboard();
    }
    raise();
}

void TFMessages::ShowWithoutKeyboard()
{
    if (FShowPending) {
        return;
    }
    const QWindow* handle = windowHandle();
    const std::optional<TX11WindowState> state = handle != nullptr ? ReadX11WindowState(*handle) : std::nullopt;
    if (!state || !state->Managed || !state->Held) {
        ShowNow();
        return;
    }
    FShowPending = true;
    const auto showIfLetGo = [this] {
        const QWindow* window = windowHandle();
        const std::optional<TX11WindowState> now = window != nullptr ? ReadX11WindowState(*window) : std::nullopt;
        if (FShowPending && (!now || !now->Held)) {
            ShowNow();
        }
    };
    if (!FWithdrawWatch) {
        FWithdrawWatch = std::make_unique<TX11StateWatch>(*handle, showIfLetGo);
    }
    FWithdrawWait.start();
}

void TFMessages::ShowNow()
{
    FShowPending = false;
    // A wait ended by the window manager would otherwise cut the next one short.
    FWithdrawWait.stop();
    // To the front without the keyboard: a run's keys (Stop, Run, Step) and what the
    // user types stay with the window they were in. openbox reads the user time Qt
    // gives a window shown so; icewm and fluxbox focus every window that takes the
    // keyboard as it maps, so this one takes it again only once it shows, for a click,
    // Escape or Alt+F4. Its native window is made by show(): one made before (winId)
    // left the preview blank for the rest of the run.
    setAttribute(Qt::WA_ShowWithoutActivating);
    if (windowHandle() != nullptr) {
        windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus, true);
    } else {
        setWindowFlag(Qt::WindowDoesNotAcceptFocus, true);
    }
    show();
    windowHandle()->installEventFilter(this);
    raise();
}

bool TFMessages::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle()) {
        if (event->type() == QEvent::Expose && windowHandle()->isExposed() &&
            windowHandle()->flags().testFlag(Qt::WindowDoesNotAcceptFocus)) {
            windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus, false);
        } else if (event->type() == QEvent::MouseButtonPress) {
            TakeKeyboardOnServer();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFMessages::TakeKeyboardOnServer()
{
    const std::optional<TX11InputFocus> focus = ReadX11InputFocus();
    if (focus && focus->Window != windowHandle()->winId()) {
        GiveX11InputFocus(*windowHandle());
    }
}

void TFMessages::ButtonClearClick()
{
    FLines.Clear();
    RichEditMessages->clear();
}

void TFMessages::ButtonSaveClick()
{
    TFileDialogOptions options;
    options.Filter = "Shopbot Files (*.sbp)|*.sbp|Text Files(*.txt)|*.txt";
    options.DefaultExt = "sbp";
    std::string fileName;
    if (!RunSaveDialog(options, fileName)) {
        return;
    }
    // Written in pieces of about a megabyte: the lines are not held a second time as one
    // text, nor written a system call each.
    constexpr qsizetype PieceSize = 1 << 20;
    TAtomicFileStream file(fileName);
    QByteArray piece;
    for (const QString& line : FLines.Lines()) {
        piece += line.toUtf8();
        piece += "\r\n";
        if (piece.size() >= PieceSize) {
            file.WriteBuffer(piece.constData(), piece.size());
            piece.clear();
        }
    }
    file.WriteBuffer(piece.constData(), piece.size());
    file.Commit();
}

void TFMessages::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        ButtonCloseClick();
        return;
    }
    QWidget::keyPressEvent(event);
}
