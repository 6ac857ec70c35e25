#pragma once
// The frame a window manager draws round a window. Stored bounds are a window's outer
// rectangle, frame included, as the platform's window placement gives them; Qt sizes a
// window's own area and learns its frame only once the window manager has framed it. So
// a window is first sized with the frame it is likely to get (the one last seen round a
// window of the application, none before the first or without a window manager) and,
// once shown, brought to the bounds asked with the frame it really has.

#include "app/shell/WindowBounds.h"

#include <QMargins>
#include <QRect>

#include <optional>

class QWidget;

// The outer bounds of a window whose own area is `inner`, and back.
TWindowBounds OuterBounds(const TWindowBounds& inner, const QMargins& frame);
TWindowBounds InnerBounds(const TWindowBounds& outer, const QMargins& frame);

// The frame round `window` in its normal state: as seen round it last, else as seen
// round any window of the application last, else none.
QMargins NormalFrame(const QWidget& window);

// Whether the frame round `window` is known: the window shown and framed. `frame` then
// holds it.
bool KnownFrame(const QWidget& window, QMargins& frame);

// What the application knows of a window's bounds and frame, kept by a watch on the
// window (made with the first call): as soon as the window's frame is known (after every
// show, move, resize and change of state), the frame of its normal state is recorded and
// SettleWindowBounds (WindowBounds.h) runs.
struct TFramedBounds {
    // The outer bounds the program placed the window at, until they hold with the real
    // frame (ApplyWindowBounds); whether the position is the program's.
    std::optional<QRect> Wanted;
    bool WantedPosition = false;
    // Kept inside its screen once its real frame is known (KeepInsideScreen).
    bool KeepInside = false;
    // The frame the window was last seen with in its normal state, where it was.
    bool NormalFrameSeen = false;
    QMargins NormalFrame;
};
TFramedBounds& FramedBounds(QWidget& window);
// The record, nullptr for a window never watched.
const TFramedBounds* FindFramedBounds(const QWidget& window);
