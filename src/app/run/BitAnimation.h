#pragma once
// What the preview computes while a program runs, kept apart from the window so it can
// be checked without one: the bit's glide toward the simulator's position, the caret
// line's marker, the collision question and the lines of the variables list.

#include "scene/base/VectorTypes.h"

#include <QString>
#include <QStringList>

#include <string>

class TArrayofCmds;

// One animation tick of the bit at `position` toward `target`: a step of the remaining
// distance times `deltaTime` times `speed`, no axis more than 0.25; on arrival (the
// step reaches or passes the target on every axis, or less than 0.005 is left on
// every axis) the bit snaps onto the target. Returns whether the bit is still moving.
bool MoveBitStep(TAffineVector& position, const TAffineVector& target, double deltaTime, double speed);

// Where the caret line's marker goes: the line's arguments taken as they stand (no
// relative mode, no offsets), axes that the command does not name or whose argument is
// no number keep `current`; shape commands (CA, CC, CG, CP) keep all three.
TAffineVector MarkerPosition(const TArrayofCmds& cmds, const TAffineVector& current);

// The question when the bit hits the clamp `name`.
QString CollisionQuestion(const QString& name);

// The variables list's rows of CR LF ended "name=value" lines, as the list shows each
// (VariablesListItem: "&name = value" on one line, a long one cut); a last line without
// its break is not shown.
QStringList VariablesListItems(const QString& text);
