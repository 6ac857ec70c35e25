#pragma once
// Routes texture coordinates, texture generation and texture enables to the texture
// units the current material wants: geometry calls TexCoordRouter.TexCoord2f(...)
// instead of glTexCoord2f, and one switch decides whether that feeds no unit, unit 0,
// unit 1, units 0 and 1, or a list of units. The decision is made once per switch,
// so each routed call costs one indirect call. Rendering thread only.
//
// The plain-OpenGL mode copies the entry points of `GL` when it is switched on, so a
// render starts with MapTexCoordNowhere then MapTexCoordToUnit0 to pick up the table.

#include "scene/base/OpenGLBinding.h"

#include <cstdint>
#include <vector>

struct TTexCoordRouter {
    decltype(&::glTexCoord2f) TexCoord2f;
    decltype(&::glTexCoord2fv) TexCoord2fv;
    decltype(&::glTexCoord3f) TexCoord3f;
    decltype(&::glTexCoord3fv) TexCoord3fv;
    decltype(&::glTexCoord4f) TexCoord4f;
    decltype(&::glTexCoord4fv) TexCoord4fv;
    decltype(&::glTexGenf) TexGenf;
    decltype(&::glTexGenfv) TexGenfv;
    decltype(&::glTexGeni) TexGeni;
    decltype(&::glTexGeniv) TexGeniv;
    decltype(&::glTexCoordPointer) TexCoordPointer;
    decltype(&::glEnableClientState) EnableClientState;
    decltype(&::glDisableClientState) DisableClientState;
    decltype(&::glEnable) Enable;
    decltype(&::glDisable) Disable;
};

extern TTexCoordRouter TexCoordRouter;

enum TMapTexCoordMode { mtcmUndefined, mtcmNull, mtcmMain, mtcmDual, mtcmSecond, mtcmArbitrary };

TMapTexCoordMode CurrentTexCoordMode();

void MapTexCoordNowhere();
void MapTexCoordToUnit0();
// Needs "GL_ARB_multitexture" (asserted before anything changes).
void MapTexCoordToUnit1();
void MapTexCoordToUnits01();
// Units are texture-unit names (GL_TEXTURE0_ARB + i).
void MapTexCoordToUnitList(const std::vector<GLenum>& units);
void MapTexCoordToUnitMask(std::uint32_t mask);
void MapTexCoordToUnitMaskAdd(std::uint32_t mask);
// Bit i for unit i, of the pending mode while an update is open.
std::uint32_t MappedTexUnitsMask();
// The units of the arbitrary mode as stored.
const std::vector<GLenum>& MappedTexUnitList();

void ForbidSecondTexUnit();
void AllowSecondTexUnit();

// Switches inside a bracket only record the last requested mode; it applies at the end.
void TexCoordMapBeginUpdate();
void TexCoordMapEndUpdate();
