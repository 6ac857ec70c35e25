#pragma once
// Registers the quadric shapes, the 3D text, the grid and the height field with the
// class registry, so that streams and AddNewChild can create them by name. Safe to
// call more than once.

void RegisterShapeObjectClasses();
