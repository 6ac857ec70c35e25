#pragma once
// Registers the "glwm" mesh format and the mesh classes (free form, mesh objects,
// morph targets, face groups) for creation by name, as mesh files and streams need.
// Safe to call more than once.

void RegisterMeshObjectClasses();
