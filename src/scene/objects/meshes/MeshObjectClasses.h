#pragma once
// Registers the "glwm" mesh format and the mesh classes (free form, actor, skeleton
// parts, mesh objects, morph targets, face groups, animation controller, the simple
// mesh) for creation by name, as mesh files and streams need. Safe to call more than
// once.

void RegisterMeshObjectClasses();
