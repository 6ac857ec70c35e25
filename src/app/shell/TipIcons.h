#pragma once
// The 32 x 32 icons of the tip window's styles, drawn by us: a light bulb, a clown's
// face, a question mark, an arrow and a torch. gsCustom has none (the tips' own glyph
// serves).

#include "app/shell/Tips.h"

#include <QImage>
#include <QPixmap>

constexpr int TipIconSize = 32;

// Transparent outside the drawing; null for gsCustom.
QImage TipIconImage(TGlyphStyle style);
QPixmap TipIcon(TGlyphStyle style);
