#pragma once
// Registers the quadric and flat shapes, points, polygons, the 3D text, the grid and
// the height field with the class registry, so that streams and AddNewChild can
// create them by name. Safe to call more than once.

void RegisterShapeObjectClasses();
