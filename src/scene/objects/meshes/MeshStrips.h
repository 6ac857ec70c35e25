#pragma once
// Triangle strips turned into plain triangle lists (three points a triangle), as the
// mesh objects and face groups hand out their triangles. Even positions of the strip
// keep its winding, odd ones are reversed, so every triangle faces the same side.

#include "scene/base/ScalarLists.h"
#include "scene/base/VectorLists.h"

// Makes room for n more points at the end for the caller to fill (exact growth, no
// zero-fill: extractions of millions of triangles write every item anyway); returns
// the first new index.
int AppendUnfilled(TAffineVectorList& list, int n);

// Appends (count - 2) * 3 points; nothing for fewer than 3.
void ConvertStripToList(const TAffineVectorList& strip, TAffineVectorList& list);
// The same over vertices[indices[i]]; the indices must lie inside vertices.
void ConvertIndexedStripToList(const TAffineVectorList& vertices, const TIntegerList& indices,
                               TAffineVectorList& list);
