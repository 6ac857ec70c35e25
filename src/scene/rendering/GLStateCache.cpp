#include "scene/rendering/GLStateCache.h"

#include "platform/core/Assert.h"

#include <cstring>

namespace {

const GLenum stateEnums[GLStateCount] = {
    GL_ALPHA_TEST,     GL_AUTO_NORMAL,    GL_BLEND,          GL_COLOR_MATERIAL, GL_CULL_FACE,   GL_DEPTH_TEST,
    GL_DITHER,         GL_FOG,            GL_LIGHTING,       GL_LINE_SMOOTH,    GL_LINE_STIPPLE,
    0x0BF1, // GL_LOGIC_OP (the index logic op), not GL_COLOR_LOGIC_OP
    GL_NORMALIZE,      GL_POINT_SMOOTH,   GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE, GL_SCISSOR_TEST, GL_STENCIL_TEST,
    GL_TEXTURE_1D,     GL_TEXTURE_2D,     0x8513, // GL_TEXTURE_CUBE_MAP_ARB
    0x84F5,                               // GL_TEXTURE_RECTANGLE_NV
};

// OpenGL's default material.
constexpr TVector DefaultAmbient = {0.2f, 0.2f, 0.2f, 1};
constexpr TVector DefaultDiffuse = {0.8f, 0.8f, 0.8f, 1};
constexpr TVector DefaultBlack = {0, 0, 0, 1};

bool SameRGB(const TVector& a, const TVector& b)
{
    return a.X == b.X && a.Y == b.Y && a.Z == b.Z;
}

bool SameRGBA(const TVector& a, const TVector& b)
{
    return SameRGB(a, b) && a.W == b.W;
}

constexpr GLenum faceEnums[2] = {GL_FRONT, GL_BACK};

} // namespace

GLenum GLStateToGLEnum(TGLState state)
{
    return stateEnums[state];
}

TGLStateCache::TGLStateCache()
{
    // Until ResetAll runs, the cache assumes OpenGL's initial state.
    FMaterials[0] = {DefaultBlack, DefaultAmbient, DefaultDiffuse, DefaultBlack};
    FMaterials[1] = FMaterials[0];
    FShininess[0] = FShininess[1] = 0;
    for (GLuint& binding : FTextureBindings) {
        binding = 0;
    }
    FPolygonModes[0] = FPolygonModes[1] = 0;
}

void TGLStateCache::Enable(TGLState state)
{
    const TGLStates bit = StateBit(state);
    if (!(FStates & bit)) {
        FStates |= bit;
        GL.glEnable(stateEnums[state]);
    }
}

void TGLStateCache::Disable(TGLState state)
{
    const TGLStates bit = StateBit(state);
    if (FStates & bit) {
        FStates &= ~bit;
        GL.glDisable(stateEnums[state]);
    }
}

void TGLStateCache::SetPolygonMode(GLenum face, GLenum mode)
{
    switch (face) {
    case GL_FRONT:
    case GL_BACK: {
        GLenum& cached = FPolygonModes[face == GL_FRONT ? 0 : 1];
        if (cached != mode) {
            cached = mode;
            GL.glPolygonMode(face, mode);
        }
        break;
    }
    case GL_FRONT_AND_BACK:
        if (FPolygonModes[0] != mode || FPolygonModes[1] != mode) {
            FPolygonModes[0] = FPolygonModes[1] = mode;
            GL.glPolygonMode(face, mode);
        }
        break;
    default:
        break;
    }
}

void TGLStateCache::ResetPolygonMode()
{
    FPolygonModes[0] = FPolygonModes[1] = 0;
}

void TGLStateCache::SetFaceMaterial(int face, const TVector& emission, const TVector& ambient, const TVector& diffuse,
                                    const TVector& specular, int shininess)
{
    TFaceMaterial& m = FMaterials[face];
    const GLenum glFace = faceEnums[face];
    if (FShininess[face] != shininess) {
        FShininess[face] = shininess;
        GL.glMateriali(glFace, GL_SHININESS, shininess);
    }
    // Lit alpha comes from the diffuse colour only, so the other alphas are not compared.
    if (!SameRGB(m.Emission, emission)) {
        m.Emission = emission;
        GL.glMaterialfv(glFace, GL_EMISSION, &m.Emission.X);
    }
    if (!SameRGB(m.Ambient, ambient)) {
        m.Ambient = ambient;
        GL.glMaterialfv(glFace, GL_AMBIENT, &m.Ambient.X);
    }
    if (!SameRGBA(m.Diffuse, diffuse)) {
        m.Diffuse = diffuse;
        GL.glMaterialfv(glFace, GL_DIFFUSE, &m.Diffuse.X);
    }
    if (!SameRGB(m.Specular, specular)) {
        m.Specular = specular;
        GL.glMaterialfv(glFace, GL_SPECULAR, &m.Specular.X);
    }
}

void TGLStateCache::SetMaterialColors(GLenum face, const TVector& emission, const TVector& ambient,
                                      const TVector& diffuse, const TVector& specular, int shininess)
{
    if (face == GL_FRONT || face == GL_FRONT_AND_BACK) {
        SetFaceMaterial(0, emission, ambient, diffuse, specular, shininess);
    }
    if (face == GL_BACK || face == GL_FRONT_AND_BACK) {
        SetFaceMaterial(1, emission, ambient, diffuse, specular, shininess);
    }
}

void TGLStateCache::SetFaceAlpha(int face, float alpha)
{
    TVector& diffuse = FMaterials[face].Diffuse;
    if (diffuse.W != alpha) {
        diffuse.W = alpha;
        GL.glMaterialfv(faceEnums[face], GL_DIFFUSE, &diffuse.X);
    }
}

void TGLStateCache::SetMaterialAlpha(GLenum face, float alpha)
{
    if (face == GL_FRONT || face == GL_FRONT_AND_BACK) {
        SetFaceAlpha(0, alpha);
    }
    if (face == GL_BACK || face == GL_FRONT_AND_BACK) {
        SetFaceAlpha(1, alpha);
    }
}

void TGLStateCache::ResetMaterials()
{
    GL.glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &DefaultAmbient.X);
    GL.glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &DefaultDiffuse.X);
    GL.glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, &DefaultBlack.X);
    GL.glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &DefaultBlack.X);
    GL.glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, 0);
    // 0x7F7F7F7F is a float no real colour holds, so every next colour is sent.
    std::memset(static_cast<void*>(FMaterials), 127, sizeof(FMaterials));
    FShininess[0] = FShininess[1] = 0;
}

void TGLStateCache::SetTextureBinding(int slot, GLenum target, GLuint handle)
{
    KP_ASSERT(slot >= 0 && slot < TextureSlots);
    if (FTextureBindings[slot] != handle) {
        FTextureBindings[slot] = handle;
        GL.glBindTexture(target, handle);
    }
}

void TGLStateCache::ResetTextureBindings()
{
    // 0 is a valid name, so "unknown" is a name OpenGL never hands out.
    for (GLuint& binding : FTextureBindings) {
        binding = GLuint(-1);
    }
}

void TGLStateCache::SetTextureMatrix(const TMatrix& matrix)
{
    GL.glMatrixMode(GL_TEXTURE);
    GL.glLoadMatrixf(&matrix.V[0].X);
    GL.glMatrixMode(GL_MODELVIEW);
    FTextureMatrixIsIdentity = false;
}

void TGLStateCache::ResetTextureMatrix()
{
    if (!FTextureMatrixIsIdentity) {
        GL.glMatrixMode(GL_TEXTURE);
        GL.glLoadIdentity();
        GL.glMatrixMode(GL_MODELVIEW);
        FTextureMatrixIsIdentity = true;
    }
}

void TGLStateCache::InvertFrontFace()
{
    FFrontFaceCCW = !FFrontFaceCCW;
    GL.glFrontFace(FFrontFaceCCW ? GL_CCW : GL_CW);
}

void TGLStateCache::ResetFrontFace()
{
    GL.glFrontFace(GL_CCW);
    FFrontFaceCCW = true;
}

void TGLStateCache::ResetAll()
{
    ResetPolygonMode();
    ResetMaterials();
    ResetTextureBindings();
    ResetFrontFace();
}
