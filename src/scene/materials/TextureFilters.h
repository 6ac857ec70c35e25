#pragma once
// Texture minification and magnification filters, in OpenGL's order.

enum TGLMinFilter {
    miNearest,
    miLinear,
    miNearestMipmapNearest,
    miLinearMipmapNearest,
    miNearestMipmapLinear,
    miLinearMipmapLinear,
};

enum TGLMagFilter { maNearest, maLinear };

inline bool IsMipmapFilter(TGLMinFilter filter)
{
    return filter != miNearest && filter != miLinear;
}
