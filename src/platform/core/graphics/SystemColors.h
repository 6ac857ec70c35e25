#pragma once
// The desktop's system colours by index (scroll bar 0 ... menu bar 30). There is no
// desktop theme to ask on our side, so these are the long-standing default values;
// an unknown index gives black.

#include "platform/core/graphics/ColorValue.h"

TColor GetSysColor(int index);
// A system colour (negative value) becomes its current RGB value; others are returned
// unchanged.
TColor ResolveSystemColor(TColor color);
