#pragma once
// Compiles the glyphs of a font into a block of display lists, as solid letters: the
// face in the XY plane at z = 0 facing +Z, and, with an extrusion, a back face at
// z = -extrusion facing -Z and the sides between them. Each list ends by moving the
// pen by the glyph's cell increment, so a string is drawn by calling one list per
// character.

#include "platform/core/graphics/Font.h"
#include "scene/base/OpenGLBinding.h"
#include "scene/objects/text/GlyphOutline.h"

#include <string>

// List listBase + k draws code point first + k, for k < count; metrics[k] receives its
// measures (metrics has room for count records). deviation is the largest chord
// error in em (0: the finest). False when the font cannot be had, a glyph cannot be
// read or tessellated; the lists made so far stay and are the caller's to delete.
bool BuildGlyphOutlineLists(TGlyphOutlineProvider& provider, const std::string& fontName, TFontStyles style,
                            int first, int count, GLuint listBase, float deviation, float extrusion,
                            TGlyphMetricsFloat* metrics);

// Draws one glyph's solid (no list, no pen move); false on a tessellation error.
// Exposed so that the faces and sides can be checked on their own.
bool DrawGlyphSolid(const TGlyphOutline& outline, float extrusion);
