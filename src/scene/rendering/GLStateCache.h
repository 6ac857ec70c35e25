#pragma once
// Filters redundant OpenGL state changes: remembers enables, polygon modes, material
// colours, texture bindings, winding and the texture matrix, and calls OpenGL only when
// a value really changes. One cache per scene buffer. It trusts that nobody changes the
// cached state behind its back; code that does must call the matching reset.

#include "platform/core/objects/Object.h"
#include "scene/base/OpenGLBinding.h"
#include "scene/base/VectorTypes.h"

#include <cstdint>

enum TGLState {
    stAlphaTest,
    stAutoNormal,
    stBlend,
    stColorMaterial,
    stCullFace,
    stDepthTest,
    stDither,
    stFog,
    stLighting,
    stLineSmooth,
    stLineStipple,
    stLogicOp,
    stNormalize,
    stPointSmooth,
    stPolygonSmooth,
    stPolygonStipple,
    stScissorTest,
    stStencilTest,
    stTexture1D,
    stTexture2D,
    stTextureCubeMap,
    stTextureRect,
};
constexpr int GLStateCount = stTextureRect + 1;

// Bit n stands for state n.
using TGLStates = std::uint32_t;
constexpr TGLStates StateBit(TGLState state)
{
    return TGLStates(1) << state;
}

// The OpenGL enable constant of a state.
GLenum GLStateToGLEnum(TGLState state);

class TGLStateCache : public TObject {
    KP_CLASS(TGLStateCache, TObject)
public:
    static constexpr int TextureSlots = 8;

    TGLStateCache();

    void Enable(TGLState state);
    void Disable(TGLState state);
    TGLStates States() const { return FStates; }

    // Face GL_FRONT, GL_BACK or GL_FRONT_AND_BACK; any other face does nothing.
    void SetPolygonMode(GLenum face, GLenum mode);
    void ResetPolygonMode();

    // Face GL_FRONT or GL_BACK; GL_FRONT_AND_BACK sets both faces, any other does nothing.
    void SetMaterialColors(GLenum face, const TVector& emission, const TVector& ambient, const TVector& diffuse,
                           const TVector& specular, int shininess);
    void SetMaterialAlpha(GLenum face, float alpha);
    void ResetMaterials();

    // Slot 0..7.
    void SetTextureBinding(int slot, GLenum target, GLuint handle);
    void ResetTextureBindings();

    void SetTextureMatrix(const TMatrix& matrix);
    void ResetTextureMatrix();
    bool TextureMatrixIsIdentity() const { return FTextureMatrixIsIdentity; }

    void InvertFrontFace();
    void ResetFrontFace();
    bool FrontFaceCCW() const { return FFrontFaceCCW; }

    // Polygon modes, materials, texture bindings and winding; not the enables.
    void ResetAll();

private:
    struct TFaceMaterial {
        TVector Emission, Ambient, Diffuse, Specular;
    };
    void SetFaceMaterial(int face, const TVector& emission, const TVector& ambient, const TVector& diffuse,
                         const TVector& specular, int shininess);
    void SetFaceAlpha(int face, float alpha);

    TFaceMaterial FMaterials[2];
    int FShininess[2];
    TGLStates FStates = 0;
    GLuint FTextureBindings[TextureSlots];
    GLenum FPolygonModes[2];
    bool FFrontFaceCCW = true;
    bool FTextureMatrixIsIdentity = true;
};
