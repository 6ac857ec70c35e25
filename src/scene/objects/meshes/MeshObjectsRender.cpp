// Drawing a mesh object: vertex arrays declared once per build, immediate mode for
// the plain modes, the face groups (optionally grouped by library material) for the
// indexed mode.

#include "scene/objects/meshes/MeshObjects.h"

#include "platform/core/Assert.h"
#include "scene/rendering/GLStateCache.h"
#include "scene/materials/MaterialLibrary.h"
#include "scene/rendering/TexCoordRouter.h"

#include <algorithm>
#include <vector>

namespace {

// Hands every grouped draw a tag of its own, so a face group drawn in this pass is
// told apart from one drawn in an earlier one.
int gMeshRenderTag = 1;

GLenum ClientUnit(int k) { return static_cast<GLenum>(GL_TEXTURE0_ARB + k); }

// Extra coordinate lists beyond this many units are not drawn (no driver has more).
constexpr int MaxExtraUnits = 16;

} // namespace

void TMeshObject::PrepareBuildList(TRenderContextInfo& rci)
{
    if (mode_ != momFaceGroups || !rci.materialLibrary) {
        return;
    }
    for (int i = 0; i < faceGroups_->Count(); ++i) {
        if (TGLLibMaterial* material = faceGroups_->Items(i)->MaterialCache()) {
            material->PrepareBuildList();
        }
    }
}

void TMeshObject::BuildList(TRenderContextInfo& rci)
{
    arraysDeclared_ = false;
    texUnitsMask_ = 0;
    const bool perVertexColor = Vertices().Count() == colors_.Count();
    if (perVertexColor) {
        GL.glPushAttrib(GL_ENABLE_BIT);
        GL.glEnable(GL_COLOR_MATERIAL);
        GL.glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        if (rci.GLStates) {
            rci.GLStates->ResetMaterials();
        }
    }
    try {
        switch (mode_) {
        case momTriangles:
        case momTriangleStrip:
            BuildImmediate(rci, perVertexColor);
            break;
        case momFaceGroups:
            BuildFaceGroups(rci);
            break;
        default:
            KP_ASSERT(false);
        }
    } catch (...) {
        DisableOpenGLArrays(rci);
        if (perVertexColor) {
            GL.glPopAttrib();
        }
        throw;
    }
    if (perVertexColor) {
        GL.glPopAttrib();
    }
    DisableOpenGLArrays(rci);
}

void TMeshObject::BuildImmediate(TRenderContextInfo& rci, bool perVertexColor)
{
    const int n = Vertices().Count();
    if (n == 0) {
        return;
    }
    DeclareArraysToOpenGL(rci, false);
    const bool sendNormals = Normals().Count() == n;
    const bool sendTexCoords = texCoords_.Count() == n;
    const int extraCount = std::min(TexCoordsExCount(), MaxExtraUnits);
    std::vector<const TVector*> extras(static_cast<std::size_t>(extraCount), nullptr);
    for (int k = 0; k < extraCount; ++k) {
        const TVectorList& list = *texCoordsEx_[static_cast<std::size_t>(k)];
        if (GLExt.ARB_multitexture && CoversVertices(list.Count())) {
            extras[static_cast<std::size_t>(k)] = list.List();
        }
    }
    const TAffineVector* vertices = Vertices().List();
    const TAffineVector* normals = Normals().List();
    const TAffineVector* texCoords = texCoords_.List();
    const TVector* colors = colors_.List();

    GL.glBegin(mode_ == momTriangles ? GL_TRIANGLES : GL_TRIANGLE_STRIP);
    for (int i = 0; i < n; ++i) {
        if (sendNormals) {
            GL.glNormal3fv(&normals[i].X);
        }
        if (perVertexColor) {
            GL.glColor4fv(&colors[i].X);
        }
        if (extraCount > 0) {
            if (extras[0]) {
                GL.glMultiTexCoord4fvARB(ClientUnit(0), &extras[0][i].X);
            } else if (sendTexCoords) {
                TexCoordRouter.TexCoord2fv(&texCoords[i].X);
            }
            for (int k = 1; k < extraCount; ++k) {
                if (extras[static_cast<std::size_t>(k)]) {
                    GL.glMultiTexCoord4fvARB(ClientUnit(k), &extras[static_cast<std::size_t>(k)][i].X);
                }
            }
        } else if (sendTexCoords) {
            TexCoordRouter.TexCoord2fv(&texCoords[i].X);
        }
        GL.glVertex3fv(&vertices[i].X);
    }
    GL.glEnd();
}

void TMeshObject::BuildFaceGroups(TRenderContextInfo& rci)
{
    TFaceGroups& groups = *faceGroups_;
    const int n = groups.Count();
    if (!rci.materialLibrary) {
        for (int i = 0; i < n; ++i) {
            groups.Items(i)->BuildList(rci);
        }
    } else if (renderingOptions_ & (1u << moroGroupByMaterial)) {
        // Every material once: its groups, wherever they are, drawn once per pass.
        const int tag = gMeshRenderTag++;
        std::vector<TFaceGroup*> sameMaterial;
        for (int i = 0; i < n; ++i) {
            if (groups.Items(i)->RenderTag() == tag) {
                continue;
            }
            TGLLibMaterial* material = groups.Items(i)->MaterialCache();
            sameMaterial.clear();
            for (int j = i; j < n; ++j) {
                TFaceGroup* group = groups.Items(j);
                if (group->RenderTag() != tag && group->MaterialCache() == material) {
                    group->SetRenderTag(tag);
                    sameMaterial.push_back(group);
                }
            }
            if (material) {
                material->Apply(rci);
            }
            do {
                for (TFaceGroup* group : sameMaterial) {
                    group->BuildList(rci);
                }
            } while (material && material->UnApply(rci));
        }
    } else {
        // Runs of consecutive groups that share a material, each drawn once per pass.
        int i = 0;
        while (i < n) {
            TGLLibMaterial* material = groups.Items(i)->MaterialCache();
            if (!material) {
                groups.Items(i++)->BuildList(rci);
                continue;
            }
            int end = i + 1;
            while (end < n && groups.Items(end)->MaterialCache() == material) {
                ++end;
            }
            material->Apply(rci);
            do {
                for (int j = i; j < end; ++j) {
                    groups.Items(j)->BuildList(rci);
                }
            } while (material->UnApply(rci));
            i = end;
        }
    }
    // Materials may have switched culling; give back what the object was drawn with.
    if (rci.GLStates) {
        const bool culling = (rci.GLStates->States() & StateBit(stCullFace)) != 0;
        if (rci.faceCulling && !culling) {
            rci.GLStates->Enable(stCullFace);
        } else if (!rci.faceCulling && culling) {
            rci.GLStates->Disable(stCullFace);
        }
    }
}

void TMeshObject::DeclareArraysToOpenGL(TRenderContextInfo& rci, bool evenIfAlreadyDeclared)
{
    const bool texCoordsUsable = CoversVertices(texCoords_.Count());
    if (!evenIfAlreadyDeclared && arraysDeclared_) {
        // Only the units the router feeds can have changed since (a material switch).
        if (!rci.ignoreMaterials && rci.drawState != dsPicking && texCoordsUsable &&
            MappedTexUnitsMask() != texUnitsMask_) {
            TexCoordRouter.EnableClientState(GL_TEXTURE_COORD_ARRAY);
            TexCoordRouter.TexCoordPointer(2, GL_FLOAT, sizeof(TAffineVector), texCoords_.List());
            texUnitsMask_ = MappedTexUnitsMask();
            enabledArrays_ |= abTexCoord;
        }
        return;
    }
    enabledArrays_ = 0;
    const int n = Vertices().Count();
    if (n > 0) {
        GL.glVertexPointer(3, GL_FLOAT, 0, Vertices().List());
        GL.glEnableClientState(GL_VERTEX_ARRAY);
        enabledArrays_ |= abVertex;
    } else {
        GL.glDisableClientState(GL_VERTEX_ARRAY);
    }
    if (rci.ignoreMaterials) {
        GL.glDisableClientState(GL_NORMAL_ARRAY);
        GL.glDisableClientState(GL_COLOR_ARRAY);
        TexCoordRouter.DisableClientState(GL_TEXTURE_COORD_ARRAY);
    } else {
        if (CoversVertices(Normals().Count())) {
            GL.glNormalPointer(GL_FLOAT, 0, Normals().List());
            GL.glEnableClientState(GL_NORMAL_ARRAY);
            enabledArrays_ |= abNormal;
        } else {
            GL.glDisableClientState(GL_NORMAL_ARRAY);
        }
        if (CoversVertices(colors_.Count())) {
            GL.glColorPointer(4, GL_FLOAT, 0, colors_.List());
            GL.glEnableClientState(GL_COLOR_ARRAY);
            enabledArrays_ |= abColor;
        } else {
            GL.glDisableClientState(GL_COLOR_ARRAY);
        }
        if (texCoordsUsable) {
            TexCoordRouter.EnableClientState(GL_TEXTURE_COORD_ARRAY);
            TexCoordRouter.TexCoordPointer(2, GL_FLOAT, sizeof(TAffineVector), texCoords_.List());
            enabledArrays_ |= abTexCoord;
        } else {
            TexCoordRouter.DisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
        if (GLExt.ARB_multitexture) {
            if (CoversVertices(lightMapTexCoords_.Count())) {
                GL.glClientActiveTextureARB(GL_TEXTURE1_ARB);
                GL.glTexCoordPointer(2, GL_FLOAT, sizeof(TTexPoint), lightMapTexCoords_.List());
                GL.glEnableClientState(GL_TEXTURE_COORD_ARRAY);
                enabledArrays_ |= abLightMap;
            }
            for (int k = 0; k < std::min(TexCoordsExCount(), MaxExtraUnits); ++k) {
                const TVectorList& list = *texCoordsEx_[static_cast<std::size_t>(k)];
                if (CoversVertices(list.Count())) {
                    GL.glClientActiveTextureARB(ClientUnit(k));
                    GL.glTexCoordPointer(4, GL_FLOAT, sizeof(TVector), list.List());
                    GL.glEnableClientState(GL_TEXTURE_COORD_ARRAY);
                    enabledArrays_ |= abExtraFirst << k;
                }
            }
            GL.glClientActiveTextureARB(GL_TEXTURE0_ARB);
        }
    }
    if (GLExt.EXT_compiled_vertex_array && lightMapTexCoords_.Count() == 0 && n > 0) {
        GL.glLockArraysEXT(0, n);
        enabledArrays_ |= abLocked;
    }
    lastLightMapIndex_ = -1;
    arraysDeclared_ = true;
    lightMapArrayEnabled_ = false;
    if (rci.drawState != dsPicking) {
        texUnitsMask_ = MappedTexUnitsMask();
    }
}

void TMeshObject::DisableOpenGLArrays(TRenderContextInfo& rci)
{
    if (!arraysDeclared_) {
        return;
    }
    DisableLightMapArray(rci);
    if (enabledArrays_ & abLocked) {
        GL.glUnlockArraysEXT();
    }
    if (enabledArrays_ & abVertex) {
        GL.glDisableClientState(GL_VERTEX_ARRAY);
    }
    if (enabledArrays_ & abNormal) {
        GL.glDisableClientState(GL_NORMAL_ARRAY);
    }
    if (enabledArrays_ & abColor) {
        GL.glDisableClientState(GL_COLOR_ARRAY);
    }
    if (enabledArrays_ & abTexCoord) {
        TexCoordRouter.DisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    const std::uint32_t multiUnit = enabledArrays_ & ~std::uint32_t(abExtraFirst - 1);
    if ((enabledArrays_ & abLightMap) || multiUnit) {
        if (enabledArrays_ & abLightMap) {
            GL.glClientActiveTextureARB(GL_TEXTURE1_ARB);
            GL.glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
        for (int k = 0; k < std::min(TexCoordsExCount(), MaxExtraUnits); ++k) {
            if (enabledArrays_ & (abExtraFirst << k)) {
                GL.glClientActiveTextureARB(ClientUnit(k));
                GL.glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            }
        }
        GL.glClientActiveTextureARB(GL_TEXTURE0_ARB);
    }
    enabledArrays_ = 0;
    arraysDeclared_ = false;
}

void TMeshObject::EnableLightMapArray(TRenderContextInfo& rci)
{
    if (!GLExt.ARB_multitexture || rci.ignoreMaterials) {
        return;
    }
    KP_ASSERT(arraysDeclared_);
    if (!lightMapArrayEnabled_) {
        GL.glActiveTextureARB(GL_TEXTURE1_ARB);
        GL.glEnable(GL_TEXTURE_2D);
        GL.glActiveTextureARB(GL_TEXTURE0_ARB);
        lightMapArrayEnabled_ = true;
    }
}

void TMeshObject::DisableLightMapArray(TRenderContextInfo& rci)
{
    if (!GLExt.ARB_multitexture || rci.ignoreMaterials) {
        return;
    }
    if (lightMapArrayEnabled_) {
        GL.glActiveTextureARB(GL_TEXTURE1_ARB);
        GL.glDisable(GL_TEXTURE_2D);
        GL.glActiveTextureARB(GL_TEXTURE0_ARB);
        lightMapArrayEnabled_ = false;
    }
}
