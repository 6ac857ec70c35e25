#pragma once
// The desktop's system colours 0 (scroll bar) to 24 (tool-tip background) as colour
// vectors with alpha 1, for code that draws with a system colour in OpenGL.

#include "scene/base/VectorTypes.h"

constexpr int SystemColorVectorCount = 25;

// Fills the table from the platform's current system colours; the table is filled
// once before first use, call again after the colours changed.
void InitSystemColors();
// Index 0 .. SystemColorVectorCount - 1; assertion otherwise.
const TVector& SystemColorVector(int index);
