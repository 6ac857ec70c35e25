#include "app/shell/WindowBounds.h"

#include "app/shell/WindowFrame.h"
#include "platform/gui/X11WindowState.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// Overlap of [a, a + aLength) and [b, b + bLength), in 64 bits: stored values may be
// anywhere in the int range.
std::int64_t Overlap(std::int64_t a, std::int64_t aLength, std::int64_t b, std::int64_t bLength)
{
    return std::max<std::int64_t>(0, std::min(a + aLength, b + bLength) - std::max(a, b));
}

std::int64_t OverlapArea(const TWindowBounds& area, const TWindowBounds& bounds)
{
    return Overlap(bounds.Left, bounds.Width, area.Left, area.Width) *
           Overlap(bounds.Top, bounds.Height, area.Top, area.Height);
}

TWindowBounds BoundsOf(const QRect& r)
{
    return {r.left(), r.top(), r.width(), r.height(), 0};
}

std::vector<TWindowBounds> ApplicationScreens()
{
    std::vector<TWindowBounds> areas;
    QList<QScreen*> screens = QGuiApplication::screens();
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        screens.removeAll(primary);
        screens.prepend(primary);
    }
    // A window manager without a work area (dwm) leaves its bars in Qt's available area.
    std::vector<TWindowBounds> bars;
    for (const QRect& bar : ReadX11WindowManagerBars()) {
        bars.push_back(BoundsOf(bar));
    }
    for (const QScreen* screen : screens) {
        // Bounds are outer rectangles, frame included: the area holds them as it is.
        const QRect r = screen->availableGeometry();
        if (r.width() > 0 && r.height() > 0) {
            areas.push_back(AreaBesideBars(BoundsOf(r), bars));
        }
    }
    return areas;
}

// The screen that shows most of the window (ScreenShows), else the primary; `screens`
// is not empty.
const TWindowBounds& HomeScreen(const TWindowBounds& bounds, const std::vector<TWindowBounds>& screens)
{
    const TWindowBounds* home = &screens.front();
    std::int64_t best = -1;
    for (const TWindowBounds& area : screens) {
        const std::int64_t shown = OverlapArea(area, bounds);
        if (ScreenShows(area, bounds) && shown > best) {
            best = shown;
            home = &area;
        }
    }
    return *home;
}

} // namespace

TWindowBounds AreaBesideBars(const TWindowBounds& area, const std::vector<TWindowBounds>& bars)
{
    // In 64 bits: edges of any integers.
    const std::int64_t left = area.Left;
    const std::int64_t right = left + area.Width;
    std::int64_t top = area.Top;
    std::int64_t bottom = top + area.Height;
    for (const TWindowBounds& bar : bars) {
        const std::int64_t barTop = bar.Top;
        const std::int64_t barBottom = barTop + bar.Height;
        if (bar.Width <= 0 || bar.Height <= 0 || bar.Left > left || std::int64_t(bar.Left) + bar.Width < right) {
            continue;
        }
        std::int64_t newTop = top;
        std::int64_t newBottom = bottom;
        if (barTop <= top && barBottom > top) {
            newTop = barBottom;
        } else if (barTop < bottom && barBottom >= bottom) {
            newBottom = barTop;
        }
        if ((newBottom - newTop) * 2 >= area.Height) {
            top = newTop;
            bottom = newBottom;
        }
    }
    return {area.Left, int(top), area.Width, int(bottom - top), area.Maximized};
}

bool ScreenShows(const TWindowBounds& area, const TWindowBounds& bounds)
{
    const std::int64_t top = bounds.Top;
    const bool topInside = top >= area.Top && top < std::int64_t(area.Top) + area.Height;
    const std::int64_t wide = Overlap(bounds.Left, bounds.Width, area.Left, area.Width);
    const std::int64_t tall = Overlap(bounds.Top, bounds.Height, area.Top, area.Height);
    return topInside && wide >= std::min(bounds.Width, ScreenHoldMinimum) &&
           tall >= std::min(bounds.Height, ScreenHoldMinimum);
}

TWindowBounds FitWindowBounds(const TWindowBounds& bounds, const std::vector<TWindowBounds>& screens)
{
    if (!bounds.HasBounds()) {
        return bounds;
    }
    if (screens.empty()) {
        // Nothing to fit to; the right and bottom edges must still be integers.
        TWindowBounds kept = bounds;
        kept.Left = int(std::min<std::int64_t>(bounds.Left, std::int64_t(INT_MAX) - bounds.Width));
        kept.Top = int(std::min<std::int64_t>(bounds.Top, std::int64_t(INT_MAX) - bounds.Height));
        return kept;
    }
    const TWindowBounds* home = &HomeScreen(bounds, screens);
    TWindowBounds fitted = bounds;
    fitted.Width = std::min(bounds.Width, home->Width);
    fitted.Height = std::min(bounds.Height, home->Height);
    // A side made smaller comes inside the screen on that axis.
    if (fitted.Width < bounds.Width) {
        fitted.Left = std::clamp(bounds.Left, home->Left, home->Left + home->Width - fitted.Width);
    }
    if (fitted.Height < bounds.Height) {
        fitted.Top = std::clamp(bounds.Top, home->Top, home->Top + home->Height - fitted.Height);
    }
    if (!ScreenShows(*home, fitted)) {
        fitted.Left = home->Left + (home->Width - fitted.Width) / 2;
        fitted.Top = home->Top + (home->Height - fitted.Height) / 2;
    }
    return fitted;
}

namespace {

// `bounds` made no larger than `home` and moved by as little as they must to lie wholly
// inside it.
TWindowBounds ClampedInto(TWindowBounds bounds, const TWindowBounds& home)
{
    bounds.Width = std::min(bounds.Width, home.Width);
    bounds.Height = std::min(bounds.Height, home.Height);
    bounds.Left = std::clamp(bounds.Left, home.Left, home.Left + home.Width - bounds.Width);
    bounds.Top = std::clamp(bounds.Top, home.Top, home.Top + home.Height - bounds.Height);
    return bounds;
}

} // namespace

TWindowBounds InsideScreenBounds(const TWindowBounds& bounds, const std::vector<TWindowBounds>& screens)
{
    const TWindowBounds inside = FitWindowBounds(bounds, screens);
    if (!inside.HasBounds() || screens.empty()) {
        return inside;
    }
    return ClampedInto(inside, HomeScreen(inside, screens));
}

TWindowBounds MovedInsideScreen(const TWindowBounds& bounds, const std::vector<TWindowBounds>& screens)
{
    if (!bounds.HasBounds() || screens.empty()) {
        return bounds;
    }
    const TWindowBounds* home = &screens.front();
    std::int64_t most = 0;
    for (const TWindowBounds& area : screens) {
        if (const std::int64_t shown = OverlapArea(area, bounds); shown > most) {
            most = shown;
            home = &area;
        }
    }
    return ClampedInto(bounds, *home);
}

int FittedPanelWidth(int panelWidth, const TWindowBounds& stored, const TWindowBounds& fitted)
{
    if (stored.Width <= 0 || fitted.Width >= stored.Width || panelWidth <= 0) {
        return panelWidth;
    }
    // In 64 bits: both factors may be near INT_MAX.
    return int(std::int64_t(panelWidth) * fitted.Width / stored.Width);
}

TWindowBounds AskedWindowBounds(const TWindowBounds& stored, int width, int height,
                                const std::vector<TWindowBounds>& screens)
{
    if (stored.HasBounds()) {
        return stored;
    }
    const TWindowBounds corner = screens.empty() ? TWindowBounds{} : screens.front();
    return {corner.Left, corner.Top, width, height, stored.Maximized};
}

namespace {

// Gives `window` its own area for the outer bounds `outer` with the frame `frame`, and
// puts its frame's corner at their corner when `position` says so; the number of the
// request to the window system, where one was made directly. A window not yet
// framed is placed by its frame's corner when the window manager frames it; a framed
// one (`seen`) is asked of the window system directly, and left alone where it has the
// area already: Qt drops a request that what it last read of the window makes look like
// no change, and makes one that what it last read makes look like a change with its own
// idea of the position, in which it counts dwm's border as a frame (a window dwm put at
// the right place moved by the border's width down and right).
std::optional<std::uint32_t> PlaceWindow(QWidget& window, const TWindowBounds& outer, const QMargins& frame,
                                         bool position, const TSeenFrame* seen = nullptr)
{
    const TWindowBounds inner = InnerBounds(outer, frame);
    const QRect own(outer.Left + frame.left(), outer.Top + frame.top(), inner.Width, inner.Height);
    if (seen != nullptr) {
        const QRect target = position ? own : QRect(seen->Inner.topLeft(), own.size());
        if (seen->Inner == target) {
            return std::nullopt;
        }
        if (const std::optional<std::uint32_t> request = ConfigureX11Window(*window.windowHandle(), target, frame)) {
            return request;
        }
    }
    if (window.size() != own.size()) {
        window.resize(own.size());
    }
    if (position && (seen == nullptr || seen->Outer().topLeft() != QPoint(outer.Left, outer.Top))) {
        window.move(outer.Left, outer.Top);
    }
    return std::nullopt;
}

// The window's outer bounds made no larger than its screen's area and, where the
// program placed it, wholly inside it: where it is framed, from its bounds as the X
// server holds them (Qt learns of a request's outcome late: a window just asked for
// bounds with dwm's border was given its old size again with the border added), else
// with the frame it is likely to get, placed by the frame's corner (where a window
// placed before it was ever framed has its corner).
void FitInsideScreen(QWidget& window)
{
    const std::optional<TSeenFrame> seen = SeenFrame(window);
    const QMargins frame = seen ? seen->Frame : NormalFrame(window);
    // Before it is framed a window's position is its frame's corner.
    const TWindowBounds shown =
        seen ? BoundsOf(seen->Outer())
             : TWindowBounds{window.x(), window.y(), window.width() + frame.left() + frame.right(),
                             window.height() + frame.top() + frame.bottom(), 0};
    const TWindowBounds inside = InsideScreenBounds(shown, ApplicationScreens());
    const TWindowBounds inner = InnerBounds(inside, frame);
    const QSize size(inner.Width, inner.Height);
    if (size != QSize(shown.Width, shown.Height).shrunkBy(frame)) {
        // A fixed size is made smaller too, and so is a least size larger than the screen:
        // the window's layout squeezes what it holds rather than run off the screen.
        if (window.minimumSize() == window.maximumSize()) {
            window.setFixedSize(size);
        } else {
            window.setMinimumSize(window.minimumSize().boundedTo(size));
        }
    }
    // A window the program never placed is left where the window manager puts it.
    const bool move =
        window.testAttribute(Qt::WA_Moved) && QPoint(inside.Left, inside.Top) != QPoint(shown.Left, shown.Top);
    PlaceWindow(window, inside, frame, move, seen ? &*seen : nullptr);
}

} // namespace

TPlacedBounds ApplyWindowBounds(QWidget& window, const TWindowBounds& stored)
{
    const std::vector<TWindowBounds> screens = ApplicationScreens();
    TPlacedBounds placed;
    // A window's own size, the one it is made with, is its outer size too.
    placed.Asked = AskedWindowBounds(stored, window.width(), window.height(), screens);
    placed.Fitted = FitWindowBounds(placed.Asked, screens);
    TFramedBounds& framed = FramedBounds(window);
    framed.Wanted = QRect(placed.Fitted.Left, placed.Fitted.Top, placed.Fitted.Width, placed.Fitted.Height);
    framed.WantedPosition = stored.HasBounds();
    framed.Ask = {};
    // Placed anew: where it stood before is no more its place.
    framed.Normal.reset();
    framed.NormalSights.clear();
    PlaceWindow(window, placed.Fitted, NormalFrame(window), framed.WantedPosition);
    if (stored.Maximized != 0) {
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    }
    return placed;
}

TWindowBounds WindowBoundsOf(const QWidget& window)
{
    const TFramedBounds* framed = FindFramedBounds(window);
    TWindowBounds outer;
    // Where it stands, also while the window manager has not said its frame yet.
    const std::optional<TSeenFrame> seen = StandingFrame(window);
    if (framed != nullptr && framed->Wanted && framed->Ask.Tries > 0) {
        // Asked for them, and the window manager has yet to answer: it stands there in a
        // moment.
        outer = BoundsOf(*framed->Wanted);
    } else if (seen && seen->Normal) {
        outer = BoundsOf(StandingBounds(*seen, framed != nullptr ? framed->WindowManagerFrame : std::nullopt));
    } else if (framed != nullptr && framed->Normal) {
        // Maximised or hidden: as last seen in its normal state.
        outer = BoundsOf(*framed->Normal);
    } else if (framed != nullptr && framed->Wanted) {
        // Never seen in its normal state: the bounds it was placed at.
        outer = BoundsOf(*framed->Wanted);
    } else {
        // A window never shown has no normal geometry.
        const QRect normal = window.normalGeometry();
        outer = OuterBounds(BoundsOf(normal.isValid() ? normal : window.geometry()), NormalFrame(window));
    }
    outer.Maximized = window.isMaximized() || (seen && seen->Maximized) ? 1 : 0;
    return FitWindowBounds(outer, ApplicationScreens());
}

void KeepInsideScreen(QWidget& window)
{
    if ((window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) != 0) {
        return;
    }
    FramedBounds(window).KeepInside = true;
    FitInsideScreen(window);
}

bool SettleWindowBounds(QWidget& window, TFramedBounds& framed, const TSeenFrame& seen)
{
    if (framed.Wanted) {
        TWindowBounds outer = BoundsOf(*framed.Wanted);
        bool position = framed.WantedPosition;
        if (!position) {
            // Where the window manager put it, but on the screen and outside its panels:
            // a window as large as the screen is placed with its frame's corner above
            // and left of it, the title bar out of reach.
            const QPoint corner = seen.Outer().topLeft();
            outer = MovedInsideScreen({corner.x(), corner.y(), outer.Width, outer.Height, 0}, ApplicationScreens());
            position = QPoint(outer.Left, outer.Top) != corner;
        } else if (framed.KeepInside) {
            // Asked at once for where it is kept: a second request, made once this one
            // was answered, was waited for by nothing (under fluxbox a window closed at
            // once wrote back the bounds that ran off the screen).
            outer = InsideScreenBounds(outer, ApplicationScreens());
        }
        switch (SettleStep(QRect(outer.Left, outer.Top, outer.Width, outer.Height), seen, framed.Ask)) {
        case TSettleStep::Wait:
            return true;
        case TSettleStep::Ask:
            framed.Ask = {framed.Ask.Tries + 1, seen.Inner, seen.Frame};
            framed.Ask.Request = PlaceWindow(window, outer, seen.Frame, position, &seen);
            return true;
        case TSettleStep::Done:
        case TSettleStep::GiveUp:
            framed.Wanted.reset();
            break;
        }
    }
    if (framed.KeepInside) {
        framed.KeepInside = false;
        FitInsideScreen(window);
    }
    return false;
}
