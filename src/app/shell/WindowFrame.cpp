#include "app/shell/WindowFrame.h"

#include "platform/gui/X11WindowState.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <array>
#include <memory>

namespace {

// The frame last seen round a window of the application in its normal state.
bool normalFrameSeen = false;
QMargins lastNormalFrame;

const char* const WatchName = "kerfpadFrameWatch";

bool QtNormalState(const QWidget& window)
{
    return (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) == 0;
}

// Filters the window's events and its native window's (exposure comes there only), and
// hears of the window manager's changes of frame and state, which Qt sends no event for.
class TFrameWatch final : public QObject {
public:
    explicit TFrameWatch(QWidget& window) : QObject(&window), FWindow(window)
    {
        setObjectName(WatchName);
        window.installEventFilter(this);
        WatchNativeWindow();
        // Run after the window shows and after every request for its bounds: what the
        // window manager has not said or answered by then it never will.
        FWaitOver.setSingleShot(true);
        FWaitOver.setInterval(WindowManagerWaitMs);
        connect(&FWaitOver, &QTimer::timeout, this, [this] {
            Bounds.FrameOverdue = true;
            Bounds.Ask.Overdue = true;
            Settle();
        });
    }

    TFramedBounds Bounds;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::Show:
            WatchNativeWindow();
            Bounds.FrameOverdue = false;
            if (Bounds.Ask.Tries == 0) {
                Bounds.Ask = {};
            }
            FWaitOver.start();
            Settle();
            break;
        case QEvent::Expose:
            NoteFirstPlace();
            Settle();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            Settle();
            break;
        case QEvent::Hide:
            if (watched == &FWindow && !event->spontaneous()) {
                RecordUnmanaged();
            }
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void WatchNativeWindow()
    {
        QWindow* native = FWindow.windowHandle();
        if (native != nullptr && native != FNative) {
            native->installEventFilter(this);
            FNative = native;
            // Told where it stands while a request is on its way: the window manager's answer,
            // also one that leaves the window as it was, which Qt reports by no event.
            FStateWatch = std::make_unique<TX11StateWatch>(*native, [this] { Settle(); }, [this] {
                if (Bounds.Wanted && Bounds.Ask.Tries > 0) {
                    Settle();
                }
            });
        }
    }

    // Where the window first stands, in its normal state, while it waits to be asked for
    // its bounds: moved from there before it was asked, it was moved by the user.
    void NoteFirstPlace()
    {
        const QWindow* native = FWindow.windowHandle();
        if (!Bounds.Wanted || Bounds.Ask.Tries > 0 || !Bounds.Ask.InnerBefore.isNull() || native == nullptr ||
            !native->isExposed() || !QtNormalState(FWindow)) {
            return;
        }
        if (const std::optional<TX11WindowState> state = ReadX11WindowState(*native); state && state->Normal) {
            Bounds.Ask.InnerBefore = state->Inner;
        }
    }

    // The window as seen now, when it is in its normal state with its normal frame.
    std::optional<TSeenFrame> SeenNormal()
    {
        std::optional<TSeenFrame> seen = SeenFrame(FWindow);
        if (seen && seen->Maximized) {
            Bounds.Maximised = MaximisedSightTaken(
                *seen, Bounds.Maximised, Bounds.NormalFrameSeen ? std::optional(Bounds.NormalFrame) : std::nullopt);
            ForgetStepsToMaximised(*seen);
        }
        const std::optional<QMargins> normalFrame =
            Bounds.NormalFrameSeen ? std::optional(Bounds.NormalFrame)
                                   : normalFrameSeen ? std::optional(lastNormalFrame) : std::nullopt;
        const std::optional<QMargins> maximisedFrame =
            Bounds.Maximised ? std::optional(Bounds.Maximised->Frame) : std::nullopt;
        if (!seen || !seen->Normal || ShowsMaximisedFrame(*seen, maximisedFrame, normalFrame)) {
            return std::nullopt;
        }
        return seen;
    }

    void Settle()
    {
        // Moving and resizing within its own events: one settling at a time.
        if (FSettling) {
            return;
        }
        const std::optional<TSeenFrame> seen = SeenNormal();
        bool asked = false;
        if (seen) {
            FSettling = true;
            const int tries = Bounds.Ask.Tries;
            Bounds.Ask.Answered = Bounds.Ask.Request && FStateWatch
                                      ? FStateWatch->AnsweredSince(*Bounds.Ask.Request)
                                      : seen->Inner != Bounds.Ask.InnerBefore;
            asked = SettleWindowBounds(FWindow, Bounds, *seen);
            FSettling = false;
            if (Bounds.Ask.Tries != tries) {
                FWaitOver.start();
            }
        }
        // Recorded once the window manager has given the bounds asked, and once the events
        // that came with this one have all come in: a window manager resizes a window it
        // maximises before it says so, or changes its frame first.
        if (!asked && !FRecordPending) {
            FRecordPending = true;
            QTimer::singleShot(0, this, [this] {
                FRecordPending = false;
                RecordNormalBounds();
            });
        }
    }

    void RecordNormalBounds()
    {
        // Not while a request for other bounds is on its way: it stands there in a moment.
        if (Bounds.Wanted && Bounds.Ask.Tries > 0) {
            return;
        }
        const std::optional<TSeenFrame> seen = SeenNormal();
        if (!seen) {
            // While its frame is awaited, where it stands (the user may move it meanwhile),
            // with the frame it is likely to get.
            const std::optional<TSeenFrame> standing = StandingFrame(FWindow);
            if (standing && standing->Normal && !SeenFrame(FWindow)) {
                Bounds.Normal = standing->Outer();
            }
            return;
        }
        if (Bounds.NormalSights.empty() || Bounds.NormalSights.back() != *seen) {
            if (Bounds.NormalSights.size() == KeptNormalSights) {
                Bounds.NormalSights.erase(Bounds.NormalSights.begin());
            }
            Bounds.NormalSights.push_back(*seen);
        }
        RecordNormal(*seen);
    }

    void RecordNormal(const TSeenFrame& seen)
    {
        Bounds.Normal = StandingBounds(seen, Bounds.WindowManagerFrame);
        Bounds.NormalFrameSeen = true;
        Bounds.NormalFrame = seen.Frame;
        if (seen.Managed) {
            Bounds.WindowManagerFrame = seen.Frame;
        }
        normalFrameSeen = true;
        lastNormalFrame = seen.Frame;
    }

    // Now maximised: what was recorded while the window manager was still maximising the
    // window is no normal state of it (under fluxbox and load it was written back moved
    // to the screen's top, as tall as the screen).
    void ForgetStepsToMaximised(const TSeenFrame& maximised)
    {
        const std::optional<TSeenFrame> before = NormalBeforeMaximising(Bounds.NormalSights, maximised);
        if (!before || *before == Bounds.NormalSights.back()) {
            return;
        }
        while (Bounds.NormalSights.back() != *before) {
            Bounds.NormalSights.pop_back();
        }
        RecordNormal(*before);
    }

    // Hidden by the program with no window manager to hold it: where it stands, as the X
    // server holds it, the frame its window manager had drawn round it included. A window
    // manager that exits hands the window back before it goes, the frame it said left on
    // the window (icewm), and what was recorded in between put the window a frame off.
    void RecordUnmanaged()
    {
        const QWindow* native = FWindow.windowHandle();
        if (native == nullptr || !QtNormalState(FWindow)) {
            return;
        }
        const std::optional<TX11WindowState> state = ReadX11WindowState(*native);
        if (!state || state->Managed) {
            return;
        }
        const QMargins border(state->Border, state->Border, state->Border, state->Border);
        Bounds.Normal = StandingBounds(TSeenFrame{border, state->Inner}, Bounds.WindowManagerFrame);
    }

    // Enough for every step a window manager takes to maximise a window.
    static constexpr std::size_t KeptNormalSights = 16;

    QWidget& FWindow;
    QWindow* FNative = nullptr;
    std::unique_ptr<TX11StateWatch> FStateWatch;
    QTimer FWaitOver;
    bool FSettling = false;
    bool FRecordPending = false;
};

TFrameWatch* FindWatch(const QWidget& window)
{
    for (QObject* child : window.children()) {
        // Only a watch carries the name.
        if (child->objectName() == QLatin1String(WatchName)) {
            return static_cast<TFrameWatch*>(child);
        }
    }
    return nullptr;
}

} // namespace

TWindowBounds OuterBounds(const TWindowBounds& inner, const QMargins& frame)
{
    return {inner.Left - frame.left(), inner.Top - frame.top(), inner.Width + frame.left() + frame.right(),
            inner.Height + frame.top() + frame.bottom(), inner.Maximized};
}

TWindowBounds InnerBounds(const TWindowBounds& outer, const QMargins& frame)
{
    return {outer.Left + frame.left(), outer.Top + frame.top(),
            std::max(1, outer.Width - frame.left() - frame.right()),
            std::max(1, outer.Height - frame.top() - frame.bottom()), outer.Maximized};
}

QMargins NormalFrame(const QWidget& window)
{
    if (const TFramedBounds* bounds = FindFramedBounds(window); bounds != nullptr && bounds->NormalFrameSeen) {
        return bounds->NormalFrame;
    }
    return normalFrameSeen ? lastNormalFrame : QMargins();
}

namespace {

// SeenFrame, or with `likely` StandingFrame.
std::optional<TSeenFrame> Seen(const QWidget& window, bool likely)
{
    // The window manager frames a window before it maps it, so the frame is known once
    // the window is exposed and the window manager has said what it drew; without a
    // window manager it is none.
    const QWindow* native = window.windowHandle();
    if (!window.isVisible() || native == nullptr || !native->isExposed()) {
        return std::nullopt;
    }
    TSeenFrame seen{native->frameMargins(), window.geometry(), QtNormalState(window), window.isMaximized()};
    const std::optional<TX11WindowState> state = ReadX11WindowState(*native);
    if (!state) {
        return seen;
    }
    seen.Inner = state->Inner;
    const QMargins border(state->Border, state->Border, state->Border, state->Border);
    // Without a window manager the state is what Qt last wrote for one to read, and the
    // frame none: Qt keeps the one a window manager that has gone said last.
    seen.Frame = border;
    seen.Managed = state->Managed;
    if (state->Managed) {
        if (state->Framed) {
            seen.Frame = state->Frame;
        } else if (const TFramedBounds* framed = FindFramedBounds(window);
                   state->ReportsFrames && (framed == nullptr || !framed->FrameOverdue)) {
            if (!likely) {
                return std::nullopt;
            }
            seen.Frame = NormalFrame(window);
        }
        seen.Normal = seen.Normal && state->Normal;
        seen.Maximized = seen.Maximized || state->Maximized;
    }
    return seen;
}

} // namespace

std::optional<TSeenFrame> SeenFrame(const QWidget& window)
{
    return Seen(window, false);
}

std::optional<TSeenFrame> StandingFrame(const QWidget& window)
{
    return Seen(window, true);
}

bool ShowsMaximisedFrame(const TSeenFrame& seen, const std::optional<QMargins>& maximisedFrame,
                         const std::optional<QMargins>& normalFrame)
{
    return seen.Normal && maximisedFrame && normalFrame && *maximisedFrame != *normalFrame
        && seen.Frame == *maximisedFrame;
}

std::optional<TSeenFrame> MaximisedSightTaken(const TSeenFrame& seen, const std::optional<TSeenFrame>& before,
                                              const std::optional<QMargins>& normalFrame)
{
    if (normalFrame) {
        return seen.Frame == *normalFrame ? before : seen;
    }
    const auto area = [](const QRect& r) { return std::int64_t(r.width()) * r.height(); };
    return before && area(before->Inner) >= area(seen.Inner) ? before : seen;
}

TSettleStep SettleStep(const QRect& wanted, const TSeenFrame& seen, const TBoundsAsk& ask)
{
    if (seen.Outer() == wanted) {
        return TSettleStep::Done;
    }
    if (ask.Tries == 0) {
        const bool movedMeanwhile = ask.Overdue && !ask.InnerBefore.isNull() && seen.Inner != ask.InnerBefore;
        return movedMeanwhile ? TSettleStep::GiveUp : TSettleStep::Ask;
    }
    const TSettleStep again = ask.Tries < MaxBoundsAsks ? TSettleStep::Ask : TSettleStep::GiveUp;
    if (seen.Frame != ask.Frame) {
        return again;
    }
    if (!ask.Answered) {
        return ask.Overdue ? TSettleStep::GiveUp : TSettleStep::Wait;
    }
    return again;
}

namespace {

// Whether `sight` is `before` with some of the values of its place and size, outside or
// inside the frame, those of `maximised`.
bool StepTowards(const TSeenFrame& sight, const TSeenFrame& before, const TSeenFrame& maximised)
{
    const auto values = [](const QRect& r) { return std::array{r.x(), r.y(), r.width(), r.height()}; };
    const auto outer = values(sight.Outer());
    const auto inner = values(sight.Inner);
    const auto outerBefore = values(before.Outer());
    const auto innerBefore = values(before.Inner);
    const auto outerMaximised = values(maximised.Outer());
    const auto innerMaximised = values(maximised.Inner);
    for (std::size_t i = 0; i < outer.size(); ++i) {
        if (outer[i] != outerBefore[i] && outer[i] != outerMaximised[i] && inner[i] != innerBefore[i] &&
            inner[i] != innerMaximised[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<TSeenFrame> NormalBeforeMaximising(const std::vector<TSeenFrame>& recorded,
                                                 const TSeenFrame& maximised)
{
    if (recorded.empty()) {
        return std::nullopt;
    }
    std::size_t last = recorded.size() - 1;
    while (last > 0 && StepTowards(recorded[last], recorded[last - 1], maximised)) {
        --last;
    }
    return recorded[last];
}

QRect StandingBounds(const TSeenFrame& seen, const std::optional<QMargins>& windowManagerFrame)
{
    if (seen.Managed || !windowManagerFrame) {
        return seen.Outer();
    }
    const QMargins& frame = *windowManagerFrame;
    return QRect(seen.Outer().topLeft(),
                 seen.Outer().size().grownBy(QMargins(0, 0, frame.left() + frame.right(), frame.top() + frame.bottom())));
}

TFramedBounds& FramedBounds(QWidget& window)
{
    TFrameWatch* watch = FindWatch(window);
    if (watch == nullptr) {
        watch = new TFrameWatch(window);
    }
    return watch->Bounds;
}

const TFramedBounds* FindFramedBounds(const QWidget& window)
{
    const TFrameWatch* watch = FindWatch(window);
    return watch != nullptr ? &watch->Bounds : nullptr;
}
